// SPDX-License-Identifier: GPL-3.0-or-later
// zelvanos-beallitasok: shows the game's settings record and sets the
// player's and the quiz host's names, which the game itself never edits.
// For a player who has not started the installed game yet, it first
// prepares the player's folder as the launcher does.

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <tuple>

#include "platform/cp852.hpp"
#include "platform/files.hpp"
#include "platform/settings.hpp"
#include "shell/factory_files.hpp"
#include "shell/messages.hpp"
#include "shell/name_rules.hpp"

namespace fs = std::filesystem;

namespace {

constexpr const char* kHelp =
    "Használat: zelvanos-beallitasok [--fajl FÁJL] [--nev NÉV] [--musorvezeto NÉV]\n"
    "\n"
    "Megmutatja a Zelvanos játék beállításait, és beállítja a játékos nevét\n"
    "(--nev) és a műsorvezető nevét (--musorvezeto); a kapcsolók „--nev=NÉV”\n"
    "alakban is megadhatók. A fájl alapból a munkakönyvtár Data/Config.cfg fájlja,\n"
    "ha az nincs, a játékos mappájáé: $XDG_DATA_HOME/zelvanos (ha az abszolút\n"
    "útvonal), különben $HOME/.local/share/zelvanos. Ha a játékos még nem indította\n"
    "a játékot, a program előkészíti a mappát, ahogy az indító: gyári beállítások,\n"
    "üres eredménylista, hivatkozás a telepített kérdésekre és hangokra.\n"
    "Egy név 1–25 karakter, nem lehet üres vagy csupa szóköz, nem tartalmazhat\n"
    "vezérlőkaraktert, és csak olyan betűt, amelyet a játék meg tud jeleníteni\n"
    "(852-es kódlap). A rekord többi része változatlan marad; a fájl biztonságosan,\n"
    "egy ideiglenes fájlon keresztül íródik felül. Csak 76 bájtos beállításfájlt\n"
    "fogad el: más fájlhoz nem nyúl.\n"
    "\n"
    "Usage: zelvanos-beallitasok [--file FILE] [--player NAME] [--host NAME]\n"
    "\n"
    "Shows the Zelvanos game's settings and sets the player's name (--player, or\n"
    "--nev) and the quiz host's name (--host, or --musorvezeto); \"--player=NAME\"\n"
    "works too. The file is Data/Config.cfg in the working folder, else the\n"
    "player's folder's: $XDG_DATA_HOME/zelvanos (when that is an absolute path),\n"
    "else $HOME/.local/share/zelvanos. For a player who has not started the game\n"
    "yet it prepares that folder as the launcher does: factory settings, a reset\n"
    "high-score list, links to the installed question sets and sounds.\n"
    "A name has 1 to 25 characters, is not empty or all blanks, has no control\n"
    "characters, and only characters the game can show (code page 852). Every\n"
    "other byte of the record is kept; the file is replaced safely, through a\n"
    "temporary file. Only a 76-byte settings file is taken: any other file is\n"
    "left untouched.\n"
    "\n"
    "Kilépési kód / exit code: 0 kész / done; 1 a név elutasítva vagy a HOME\n"
    "használhatatlan / a name was refused or HOME is unusable; 64 hibás használat /\n"
    "wrong usage; a játék I/O hibaszáma / the game's I/O error number (2 nincs ilyen\n"
    "fájl / no such file, 3 nincs ilyen mappa / no such folder, 5 hozzáférés\n"
    "megtagadva / access denied, 33 a fájlt egy másik program zárolja / another\n"
    "program keeps the file locked, 100 nem 76 bájtos beállításfájl / not a 76-byte\n"
    "settings file, 101 lemezírási hiba / disk write error).\n";

constexpr const char* kMe = "zelvanos-beallitasok: ";

std::string full(const fs::path& path) { return shell::terminal_safe(platform::full_path(path)); }

// One line for an I/O failure, in Hungarian and English, with the full path:
// the texts of the table the game and the question tool use too.
std::string io_line(const platform::IoError& e) {
  const std::string hu = e.problem_hu().empty() ? platform::code_text(e.code()).hu : e.problem_hu();
  return full(e.path()) + ": " + shell::terminal_safe(hu) + " / " + shell::terminal_safe(e.problem()) +
         " (I/O hiba / I/O error " + std::to_string(e.code()) + ")";
}

void show(const fs::path& file, const settings::BEALLITASOK& s) {
  const auto row = [](std::string_view label, std::string_view field, const std::string& value) {
    std::string text = label.empty() ? std::string(field) : std::string(label) + " (" + std::string(field) + ")";
    text += ":";
    std::size_t width = 0;  // in characters, not bytes
    for (const char c : text) width += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    std::cout << "  " << text << std::string(width < 44 ? 44 - width : 1, ' ') << value << "\n";
  };
  std::cout << full(file) << "\n";
  for (const settings::NameField& field : settings::kNameFields) {
    const std::string_view bytes = (s.*field.member).view();
    row(field.label, field.name, "\"" + shell::terminal_safe(cp852::to_utf8(bytes)) + "\"");
  }
  for (const settings::NumberField& field : settings::kNumberFields) {
    row(field.label, field.name, std::to_string(settings::value_of(s, field)));
  }
}

int usage(const std::string& message) {
  std::cerr << kMe << message << "\n\n" << kHelp;
  return 64;
}

// The player's folder of the installed game: $XDG_DATA_HOME/zelvanos when
// that is absolute, else $HOME/.local/share/zelvanos.
std::optional<fs::path> player_folder(std::string* why) {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && fs::path(xdg).is_absolute()) {
    return fs::path(xdg) / "zelvanos";
  }
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') {
    *why =
        "a HOME környezeti változó nincs beállítva, így a játékos mappája nem található / HOME is not set, so "
        "the player's folder cannot be found";
    return std::nullopt;
  }
  if (!fs::path(home).is_absolute()) {
    *why = "a HOME nem abszolút útvonal / HOME is not an absolute path: \"" + shell::terminal_safe(home) + "\"";
    return std::nullopt;
  }
  return fs::path(home) / ".local" / "share" / "zelvanos";
}

// The installed question sets and sounds, found from this program's own place.
std::optional<fs::path> installed_data() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return std::nullopt;
  const fs::path data = (self.parent_path() / ZELVANOS_DATA_FROM_BIN).lexically_normal();
  if (!fs::is_directory(data / "Questions", ec) || !fs::is_directory(data / "Sounds", ec)) return std::nullopt;
  return data;
}

}  // namespace

int main(int argc, char** argv) {
  std::optional<fs::path> file;
  std::optional<std::string> player;
  std::optional<std::string> host;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h" || arg == "--sugo") {
      std::cout << kHelp;
      return 0;
    }
    const std::size_t equals = arg.find('=');
    const std::string name = arg.rfind("--", 0) == 0 && equals != std::string::npos ? arg.substr(0, equals) : arg;
    std::optional<std::string>* target = nullptr;
    bool is_file = false;
    if (name == "--fajl" || name == "--file") {
      is_file = true;
    } else if (name == "--nev" || name == "--player") {
      target = &player;
    } else if (name == "--musorvezeto" || name == "--host") {
      target = &host;
    } else if (name.starts_with('-')) {
      return usage("ismeretlen kapcsoló / unknown option: " + shell::terminal_safe(name));
    } else {
      return usage("váratlan argumentum / unexpected argument: \"" + shell::terminal_safe(arg) + "\"");
    }
    std::string value;
    if (name.size() < arg.size()) {
      value = arg.substr(name.size() + 1);
    } else if (i + 1 < argc) {
      value = argv[++i];
    } else {
      return usage("hiányzik az érték / missing value: " + name);
    }
    if (is_file) {
      file = fs::path(value);
    } else {
      *target = value;
    }
  }

  // Check the names before anything is written.
  std::string player_bytes;
  std::string host_bytes;
  for (auto [given, what, out] : {std::tuple{&player, "a játékos neve / the player's name", &player_bytes},
                                  std::tuple{&host, "a műsorvezető neve / the host's name", &host_bytes}}) {
    if (!*given) continue;
    std::string why;
    const auto name = shell::checked_name(**given, &why);
    if (!name) {
      std::cerr << kMe << what << " \"" << shell::terminal_safe(**given) << "\" " << why << "\n";
      return 1;
    }
    *out = *name;
  }

  std::error_code ec;
  if (!file) {
    const fs::path here = platform::game_path(settings::kConfigFile);
    if (fs::exists(here, ec)) {
      file = here;
    } else {
      std::string why;
      const auto folder = player_folder(&why);
      if (!folder) {
        std::cerr << kMe << why << "\n";
        return 1;
      }
      bool created = false;
      try {
        created = shell::prepare_player_folder(*folder, installed_data());
      } catch (const platform::IoError& e) {
        std::cerr << kMe << io_line(e) << "\n";
        return e.code();
      }
      if (created) {
        std::cout << "A játékos mappája elkészült / the player's folder is ready: " << full(*folder) << "\n";
      }
      file = *folder / platform::game_path(settings::kConfigFile);
    }
  }

  try {
    show(*file, settings::set_names(*file, player ? std::optional(player_bytes) : std::nullopt,
                                    host ? std::optional(host_bytes) : std::nullopt));
  } catch (const platform::IoError& e) {
    std::cerr << kMe << io_line(e) << "\n";
    return e.code();
  }
  return 0;
}
