// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An author's own questions in the web page: a question source (the
// question tool's text format, compiled by the tool's own code) kept in the
// browser's storage as Data/Own/NAME.txt stands in for a single-file set's
// bank, as a bank compiled over Questions/ does on the desktop. The web
// entry (main_web.cpp) offers these to the page; the game reads the own
// bank whenever it reads that set's bank, and the shipped one again once
// the source is removed.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "questions/source.hpp"

namespace shell {

// The checker's verdict on a source as JSON: {"ok", "count", "messages":
// [{"line", "column", "error", "text"}]}, each text the Hungarian half of
// the question tool's message; a source over the tool's size limit is
// refused as the tool refuses it. `compiled` gets the result.
std::string own_verdict(std::string_view source, questions::Compiled* compiled);

// The sets an own source may stand in for, as JSON: [{"key", "name" (as
// the question-set screen names it), "own": whether one does now}].
std::string own_sets_json();

// Where the own source of the set `key` is kept; nothing for no such set.
std::optional<std::filesystem::path> own_source_path(std::string_view key);

// The own source of the set `key` as stored, byte for byte; nothing when
// it has none.
std::optional<std::string> read_own_source(std::string_view key);

// For platform::fetch_files_when_read: puts the own bank in place of the
// bank `path` before it is read, or takes a stood-in one away again.
void stand_in_own_bank(const std::filesystem::path& path);

}  // namespace shell
