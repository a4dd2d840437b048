// SPDX-License-Identifier: GPL-3.0-or-later
// Zelvanos: a quiz game in the manner of a television quiz show.

#include <cstdio>
#include <optional>
#include <string>

#include "platform/window.hpp"
#include "shell/menu.hpp"
#include "shell/messages.hpp"
#include "sound/audio_sdl.hpp"

namespace {

constexpr const char* kHelp =
    "Használat: zelvanos [--help] [--version]\n"
    "\n"
    "A „Legyen Ön is Zelvanos” kvízjáték. Fájljait a munkakönyvtárban keresi:\n"
    "Data/Config.cfg (beállítások), Data/HighScores.cfg (eredménylista),\n"
    "Questions/ és Sounds/. Telepítve a „zelvanos” indító minden játékosnak saját\n"
    "mappát készít ($XDG_DATA_HOME/zelvanos, általában ~/.local/share/zelvanos),\n"
    "és ott indítja a játékot. A nevek a zelvanos-beallitasok programmal állíthatók.\n"
    "Billentyűk: nyilak és Enter a menükben, Esc vissza; játékban a b c d a válasz,\n"
    "t f k a segítségek, m megállás; F11 teljes képernyő, F12 képernyőkép.\n"
    "\n"
    "Usage: zelvanos [--help] [--version]\n"
    "\n"
    "The quiz game \"Legyen Ön is Zelvanos\". It finds its files in the working\n"
    "folder: Data/Config.cfg (settings), Data/HighScores.cfg (high scores),\n"
    "Questions/ and Sounds/. Installed, the \"zelvanos\" launcher gives each player\n"
    "a folder of their own ($XDG_DATA_HOME/zelvanos, normally\n"
    "~/.local/share/zelvanos) and starts the game there. The names are set with\n"
    "zelvanos-beallitasok. Keys: arrows and Enter in the menus, Esc back; in a\n"
    "game a b c d answer, t f k are the lifelines, m stops; F11 fullscreen, F12\n"
    "screenshot.\n"
    "\n"
    "Kilépési kód / exit code: 0 rendben / normal quit; 1 nincs kijelző, ablakhiba\n"
    "vagy váratlan hiba / no display, window failure or unexpected error; 2, 3, 4,\n"
    "5, 100, 101 fájlhiba (I/O hibaszám) / file error (I/O error number); 32 a\n"
    "játék már fut ebben a mappában / the game already runs in this folder; 64\n"
    "hibás használat / wrong usage.\n";

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h" || arg == "--sugo") {
      std::fputs(kHelp, stdout);
      return 0;
    }
    if (arg == "--version" || arg == "--verzio") {
      std::puts("zelvanos " ZELVANOS_VERSION);
      return 0;
    }
    std::fprintf(stderr,
                 "zelvanos: ismeretlen kapcsoló / unknown option: %s\n"
                 "Súgó / help: zelvanos --help\n",
                 shell::terminal_safe(arg).c_str());
    return 64;
  }

  // The player may have started the game from a menu and never see
  // standard error: a failure that ends it is also shown in a message box.
  std::optional<shell::ErrorBox> box;
  bool no_display = false;
  shell::set_failure_listener([&](const platform::Fatal& failure) {
    if (dynamic_cast<const platform::NoDisplay*>(&failure) != nullptr) {
      no_display = true;
    } else {
      box = shell::error_box(failure);
    }
  });
  const auto audio = sound::make_sdl_mixer_device();
  sound::use_audio_device(audio.get());
  const int code = platform::run_windowed(shell::program);
  sound::use_audio_device(nullptr);
  shell::set_failure_listener(nullptr);
  if (code != 0 && !no_display && !platform::display_failed()) {
    if (!box) box = shell::error_box(platform::Fatal(code, platform::unexpected_failure()));
    platform::show_error_box(box->title, box->text);
  }
  return code;
}
