// SPDX-License-Identifier: GPL-3.0-or-later
// zelvanos-factory-files DATA_FOLDER: writes the factory settings
// (Config.cfg) and the reset high-score list (HighScores.cfg) into the
// folder, each only where no such file is there yet: a player's settings
// and scores are never overwritten.

#include <cstdio>
#include <filesystem>

#include "platform/files.hpp"
#include "shell/factory_files.hpp"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zelvanos-factory-files DATA_FOLDER\n");
    return 64;
  }
  try {
    shell::write_factory_files(argv[1]);
  } catch (const platform::IoError& e) {
    std::fprintf(stderr, "zelvanos-factory-files: %s\n", e.what());
    return e.code();
  }
  return 0;
}
