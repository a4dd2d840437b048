// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An author's own questions in the web page: a question source (the
// question tool's text format, compiled by the tool's own code) kept in the
// browser's storage as Data/Own/NAME.txt stands in for a single-file set's
// bank, as a bank compiled over Questions/ does on the desktop. The page
// calls the zelvanos_web_own_* exports; the game reads the own bank
// whenever it reads that set's bank, and the shipped one again once the
// source is removed.

#include <filesystem>

namespace shell {

// For platform::fetch_files_when_read: puts the own bank in place of the
// bank `path` before it is read, or takes a stood-in one away again.
void stand_in_own_bank(const std::filesystem::path& path);

}  // namespace shell
