// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The files a new player's Data folder starts with, and the player's folder
// of the installed game as the launcher and the names program prepare it.

#include <filesystem>
#include <optional>

namespace shell {

// Writes the factory settings (Config.cfg) and the reset high-score list
// (HighScores.cfg) into `data_folder`, each only where nothing of that name
// is there yet. Whatever is there stays as it is: a player's file, and a
// link too, even one that names nothing (its file may be on a drive that
// is not mounted now). Throws platform::IoError when a file cannot be
// written.
void write_factory_files(const std::filesystem::path& data_folder);

// Prepares a player's folder of the installed game, as every start of the
// launcher does and the names program before a first start: the Data
// folder and its factory files where missing, and, with the installed
// data folder `share`, links Questions and Sounds to its question sets and
// sounds where nothing of that name is there. A player's own folder or
// link is kept, even one that names nothing now; only a link left dangling
// by an earlier installation (naming a missing ".../zelvanos/Questions" or
// ".../zelvanos/Sounds") is pointed at `share`. Returns whether the Data
// folder was created. Throws platform::IoError.
bool prepare_player_folder(const std::filesystem::path& folder, const std::optional<std::filesystem::path>& share);

}  // namespace shell
