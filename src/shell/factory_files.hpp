// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The files a new player's Data folder starts with.

#include <filesystem>

namespace shell {

// Writes the factory settings (Config.cfg) and the reset high-score list
// (HighScores.cfg) into `data_folder`, each only where nothing of that name
// is there yet. Whatever is there stays as it is: a player's file, and a
// link too, even one that names nothing (its file may be on a drive that
// is not mounted now). Throws platform::IoError when a file cannot be
// written.
void write_factory_files(const std::filesystem::path& data_folder);

}  // namespace shell
