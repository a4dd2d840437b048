// SPDX-License-Identifier: GPL-3.0-or-later
// zelvanos-factory-files DATA_FOLDER: writes the factory settings
// (Config.cfg) and the reset high-score list (HighScores.cfg) into the
// folder, each only where no such file is there yet: a player's settings
// and scores are never overwritten.
// zelvanos-factory-files --player FOLDER SHARE: prepares a player's folder
// as the launcher does before every start (shell::prepare_player_folder,
// the same rules the names program follows).

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/files.hpp"
#include "shell/factory_files.hpp"

int main(int argc, char** argv) {
  const bool player = argc == 4 && std::string(argv[1]) == "--player";
  if (argc != 2 && !player) {
    std::fprintf(stderr, "usage: zelvanos-factory-files DATA_FOLDER | --player FOLDER SHARE\n");
    return 64;
  }
  try {
    if (player) {
      shell::prepare_player_folder(argv[2], std::filesystem::path(argv[3]));
    } else {
      shell::write_factory_files(argv[1]);
    }
  } catch (const platform::IoError& e) {
    std::fprintf(stderr, "zelvanos: %s: %s / %s (I/O hiba / I/O error %d)\n", platform::full_path(e.path()).c_str(),
                 e.problem_hu().c_str(), e.problem().c_str(), e.code());
    return e.code();
  }
  return 0;
}
