// SPDX-License-Identifier: GPL-3.0-or-later
// Zelvanos in a web page: the same program on the web backend. Data/ is
// kept in the browser's storage; a first visit (or a cleared browser) gets
// the factory settings and the reset high-score list there, written by the
// same function as the desktop's. The question banks and the sounds are
// fetched from the site when the game first needs them, an author's own
// source standing in for a set's bank (shell/own_questions_web.hpp). The
// page sets the player's and the host's names with the names program's
// rules.

#include <emscripten.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "game/questions.hpp"
#include "platform/files.hpp"
#include "platform/settings.hpp"
#include "platform/web_backend.hpp"
#include "questions/source.hpp"
#include "shell/factory_files.hpp"
#include "shell/menu.hpp"
#include "shell/name_rules.hpp"
#include "shell/own_questions_web.hpp"
#include "shell/settings.hpp"
#include "sound/audio_web.hpp"

// The page's side, in web_library.js: what came of a task the page asked
// for, and the storage sync.
extern "C" {
void zelvanos_web_task_done(const char* result_utf8);
void zelvanos_web_own_done(const char* result_utf8);
int zelvanos_web_store();  // async
}

namespace {

// The game's working folder in the page's file system.
constexpr const char* kGameFolder = "/zelvanos";

std::string g_answer;  // what the last call below returns to the page
std::string g_bytes;   // the bytes the last call below returns to the page

std::string_view bytes_of(const char* bytes, int length) {
  return length > 0 && bytes != nullptr ? std::string_view(bytes, static_cast<std::size_t>(length))
                                        : std::string_view();
}

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
  platform::fetch_files_when_read(shell::stand_in_own_bank);
  platform::WebBackend backend(platform::web_options());
  int code = 0;
  try {
    shell::write_factory_files("Data");
    platform::store_each_write();
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

// --- An author's own questions (shell/own_questions_web.hpp) ---------------

// The checker's verdict on the source `bytes`, as JSON (shell::own_verdict).
extern "C" EMSCRIPTEN_KEEPALIVE const char* zelvanos_web_check_source(const char* bytes, int length) {
  questions::Compiled compiled;
  g_answer = shell::own_verdict(bytes_of(bytes, length), &compiled);
  return g_answer.c_str();
}

// The largest source the checker takes: the page passes no more than one
// byte over it (the checker then refuses it).
extern "C" EMSCRIPTEN_KEEPALIVE int zelvanos_web_source_limit() { return static_cast<int>(questions::kMaxSourceSize); }

// The bank the source compiles to (game::kBankSize bytes; see
// zelvanos_web_own_length), or null when it has errors.
extern "C" EMSCRIPTEN_KEEPALIVE const char* zelvanos_web_compile_source(const char* bytes, int length) {
  questions::Compiled compiled;
  shell::own_verdict(bytes_of(bytes, length), &compiled);
  if (!compiled.ok()) return nullptr;
  const auto bank = game::encode_bank(compiled.bank);
  g_bytes.assign(bank.begin(), bank.end());
  return g_bytes.data();
}

// The sets an own source may stand in for, as JSON: [{"key", "name",
// "own": whether one does now}].
extern "C" EMSCRIPTEN_KEEPALIVE const char* zelvanos_web_own_sets() {
  g_answer = shell::own_sets_json();
  return g_answer.c_str();
}

// The own source of the set `key` as stored (see zelvanos_web_own_length),
// or null when it has none.
extern "C" EMSCRIPTEN_KEEPALIVE const char* zelvanos_web_own_source(const char* key) {
  const auto bytes = shell::read_own_source(key);
  if (!bytes) return nullptr;
  g_bytes = *bytes;
  return g_bytes.data();
}

// How many bytes the last call above returned.
extern "C" EMSCRIPTEN_KEEPALIVE int zelvanos_web_own_length() { return static_cast<int>(g_bytes.size()); }

// Checks the source `bytes` and, when it has no error, makes it the set
// `key`'s own: returns the verdict at once; the game's side stores the
// source at its next chance and tells the page (zelvanos_web_own_done, an
// empty text when it is stored). The game reads it at its next read of
// that set's bank.
extern "C" EMSCRIPTEN_KEEPALIVE const char* zelvanos_web_own_put(const char* key, const char* bytes, int length) {
  const auto path = shell::own_source_path(key);
  if (!path) {
    g_answer =
        R"({"ok":false,"count":0,"messages":[{"line":0,"column":0,"error":true,"text":"nincs ilyen kérdéscsomag"}]})";
    return g_answer.c_str();
  }
  questions::Compiled compiled;
  g_answer = shell::own_verdict(bytes_of(bytes, length), &compiled);
  if (!compiled.ok()) return g_answer.c_str();
  platform::run_for_page([path = *path, source = std::string(bytes_of(bytes, length))] {
    std::string result;
    try {
      std::error_code ec;
      std::filesystem::create_directories(path.parent_path(), ec);
      platform::write_record(
          path, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(source.data()), source.size()));
    } catch (const platform::Fatal& e) {
      result = e.what();
    }
    zelvanos_web_own_done(result.c_str());
  });
  return g_answer.c_str();
}

// Gives the set `key` its shipped bank back: the game's side removes the
// own source at its next chance and tells the page (zelvanos_web_own_done).
extern "C" EMSCRIPTEN_KEEPALIVE int zelvanos_web_own_remove(const char* key) {
  const auto path = shell::own_source_path(key);
  if (!path) return 0;
  platform::run_for_page([path = *path] {
    std::error_code ec;
    std::filesystem::remove(path, ec);
    std::string result;
    if (ec) {
      result = "nem törölhető: " + ec.message();
    } else if (zelvanos_web_store() != 0) {
      result = "a böngésző tárolójába nem sikerült menteni";
    }
    zelvanos_web_own_done(result.c_str());
  });
  return 1;
}
