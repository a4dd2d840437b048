// SPDX-License-Identifier: GPL-3.0-or-later
// Zelvanos in a web page: the same program on the web backend. The page's
// virtual file system holds Questions/ and Sounds/ (loaded with the page)
// and the factory files; Data/ is kept in the browser's storage.

#include <emscripten.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/files.hpp"
#include "platform/web_backend.hpp"
#include "shell/menu.hpp"
#include "sound/audio_web.hpp"

namespace {

// The page's files: the game's working folder and the factory files.
constexpr const char* kGameFolder = "/zelvanos";
constexpr const char* kFactoryFolder = "/factory";

// A first visit (or a cleared browser) gets the factory settings and the
// reset high-score list; files already stored are the player's and stay.
int give_factory_files() {
  for (const char* name : {"Config.cfg", "HighScores.cfg"}) {
    const std::filesystem::path target = std::filesystem::path("Data") / name;
    std::error_code ec;
    if (std::filesystem::exists(target, ec)) continue;
    const std::filesystem::path source = std::filesystem::path(kFactoryFolder) / name;
    try {
      const auto size = static_cast<std::size_t>(std::filesystem::file_size(source, ec));
      if (ec) throw platform::IoError(2, source, "file not found");
      platform::write_record(target, platform::read_record(source, size));
    } catch (const platform::Fatal& e) {
      std::fprintf(stderr, "zelvanos: %s\n", e.what());
      return e.code();
    }
  }
  return 0;
}

}  // namespace

int main() {
  std::error_code ec;
  std::filesystem::current_path(kGameFolder, ec);
  if (ec) {
    std::fprintf(stderr, "zelvanos: the page's files are missing (%s)\n", ec.message().c_str());
    return 3;
  }
  platform::mount_browser_storage(std::string(kGameFolder) + "/Data");
  platform::WebBackend backend(platform::web_options());
  int code = give_factory_files();
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
