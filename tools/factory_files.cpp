// SPDX-License-Identifier: GPL-3.0-or-later
// zelvanos-factory-files DATA_FOLDER: writes the factory settings
// (Config.cfg) and the reset high-score list (HighScores.cfg) into the
// folder, each only where no such file is there yet: a player's settings
// and scores are never overwritten.

#include <cstdio>
#include <filesystem>
#include <span>

#include "game/highscores.hpp"
#include "platform/files.hpp"
#include "shell/settings.hpp"

namespace {

int write_if_missing(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) return 0;
  try {
    platform::write_record(path, bytes);
  } catch (const platform::Fatal& e) {
    std::fprintf(stderr, "zelvanos-factory-files: %s\n", e.what());
    return e.code();
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zelvanos-factory-files DATA_FOLDER\n");
    return 64;
  }
  const std::filesystem::path data = argv[1];
  shell::BEALLITASOK settings;
  shell::apply_factory_values(settings);
  game::EREDMENYLISTA list;
  game::reset_list(list);
  if (const int code = write_if_missing(data / "Config.cfg", shell::encode(settings)); code != 0) return code;
  return write_if_missing(data / "HighScores.cfg", game::encode(list));
}
