// SPDX-License-Identifier: GPL-3.0-or-later
// Zelvanos in a web page: the same program on the web backend. Data/ is
// kept in the browser's storage; a first visit (or a cleared browser) gets
// the factory settings and the reset high-score list there, written by the
// same function as the desktop's. The question banks and the sounds are
// fetched from the site when the game first needs them. The page sets the
// player's and the host's names with the names program's rules.

#include <emscripten.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/files.hpp"
#include "platform/settings.hpp"
#include "platform/web_backend.hpp"
#include "shell/factory_files.hpp"
#include "shell/menu.hpp"
#include "shell/name_rules.hpp"
#include "shell/settings.hpp"
#include "sound/audio_web.hpp"

// The page's side, in web_library.js: what came of a task the page asked for.
extern "C" void zelvanos_web_task_done(const char* result_utf8);

namespace {

// The game's working folder in the page's file system.
constexpr const char* kGameFolder = "/zelvanos";

std::string g_answer;  // what the last call below returns to the page

}  // namespace

int main() {
  std::error_code ec;
  std::filesystem::create_directories(kGameFolder, ec);
  std::filesystem::current_path(kGameFolder, ec);
  if (ec) {
    std::fprintf(stderr, "zelvanos: the page's files are missing (%s)\n", ec.message().c_str());
    return 3;
  }
  platform::mount_browser_storage(std::string(kGameFolder) + "/Data");
  platform::fetch_files_when_read();
  platform::WebBackend backend(platform::web_options());
  int code = 0;
  try {
    shell::write_factory_files("Data");
  } catch (const platform::Fatal& e) {
    std::fprintf(stderr, "zelvanos: %s\n", e.what());
    code = e.code();
  }
  if (code == 0) {
    const auto audio = sound::make_web_audio_device();
    sound::use_audio_device(audio.get());
    platform::use_backend(&backend);
    code = shell::program();
    platform::use_backend(nullptr);
    sound::use_audio_device(nullptr);
  }
  backend.finished(code);
  return code;
}

// The names as the settings file holds them: {"player": ..., "host": ...},
// or {"error": ...}.
extern "C" EMSCRIPTEN_KEEPALIVE const char* zelvanos_web_names() {
  try {
    const settings::BEALLITASOK s = settings::read_settings(platform::game_path(settings::kConfigFile));
    g_answer = "{\"player\":" + platform::json_string(s.NEV.view()) +
               ",\"host\":" + platform::json_string(s.MUSORVEZETO.view()) + "}";
  } catch (const platform::Fatal& e) {
    g_answer = "{\"error\":" + platform::json_string(e.what()) + "}";
  }
  return g_answer.c_str();
}

// Why the name (UTF-8) is refused, in Hungarian and English; empty when it
// is a good name.
extern "C" EMSCRIPTEN_KEEPALIVE const char* zelvanos_web_check_name(const char* utf8) {
  g_answer.clear();
  if (!shell::checked_name(utf8, &g_answer)) return g_answer.c_str();
  g_answer.clear();
  return g_answer.c_str();
}

// Sets both names, as the names program does: checked by its rules, the
// rest of the record kept, the file replaced safely. Returns at once why a
// name is refused (Hungarian / English), or empty when both are good: the
// game's side then writes them (and stores the file in the browser) at its
// next chance and tells the page (zelvanos_web_task_done) what came of it.
// The running game uses them from its next read of the settings on, and
// the title screen at the next start.
extern "C" EMSCRIPTEN_KEEPALIVE const char* zelvanos_web_set_names(const char* player_utf8, const char* host_utf8) {
  std::string why;
  const auto player = shell::checked_name(player_utf8, &why);
  if (!player) {
    g_answer = "A játékos neve / the player's name: " + why;
    return g_answer.c_str();
  }
  const auto host = shell::checked_name(host_utf8, &why);
  if (!host) {
    g_answer = "A műsorvezető neve / the host's name: " + why;
    return g_answer.c_str();
  }
  platform::run_for_page([player = *player, host = *host] {
    std::string result;
    try {
      const settings::BEALLITASOK s = settings::set_names(platform::game_path(settings::kConfigFile), player, host);
      // As save_config takes them from the file: the game's next read.
      settings::CONFIG.NEV = s.NEV;
      settings::CONFIG.MUSORVEZETO = s.MUSORVEZETO;
    } catch (const platform::Fatal& e) {
      result = e.what();
    }
    zelvanos_web_task_done(result.c_str());
  });
  g_answer.clear();
  return g_answer.c_str();
}

// The colours that carry a meaning on the game screen now: the marked
// answer's fill and the right answer's flash.
extern "C" EMSCRIPTEN_KEEPALIVE const char* zelvanos_web_colours() {
  g_answer = "{\"mark\":" + std::to_string(settings::CONFIG.JELOLOSZIN & 0xFF) +
             ",\"flash\":" + std::to_string(settings::CONFIG.VILLOGOSZIN & 0xFF) + "}";
  return g_answer.c_str();
}
