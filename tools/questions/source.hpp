// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The readable source of a question bank, and its translation to and from
// the bank file. A source is UTF-8 text (a byte-order mark at its start is
// allowed), with LF or CR LF line ends:
//
//   # A comment line.
//   # Becslés: 85% 90%
//   ? Melyik a legnagyobb bolygó a Naprendszerben?
//   - Mars
//   + Jupiter
//   - Vénusz
//   - Szaturnusz
//
// "? " starts a question; exactly four answer lines follow, in the order
// A, B, C, D, "+ " before the right one and "- " before the others. Blank
// lines (or lines of spaces) separate questions. A question or an answer
// of blanks alone (spaces, no-break spaces) is refused, as an empty one is. Questions and answers hold
// only characters of code page 852; no line holds a control character (a
// tab, a lone carriage return, NUL ...). What compiles dumps back to a
// source that compiles to the same bank.
//
// Two kinds of comment line belong to a question: those of its block (the
// lines up to the blank line after it; comments above it with a blank line
// between belong to it too, as they would to no other):
//
//   # Becslés: 85% 90%              readers' estimates of the share of
//                                   players who answer it right, each a
//                                   whole percent, at most one such line
//   # Nyugtázva: ezres-tagolas    the author has checked the named
//                                   warning on this question: it is right
//                                   as it stands (see questions/wording.hpp)
//
// "Becsles" and "Nyugtazva" are read alike; anything else after "#" is a
// free comment.

#include <string>
#include <string_view>
#include <vector>

#include "game/questions.hpp"

namespace questions {

struct Diagnostic {
  int line = 0;    // 0: about the whole file
  int column = 0;  // 1-based, in characters; 0: about the whole line
  bool error = true;
  std::string message;  // Hungarian, then " / ", then English
  // The warning's name for "# Nyugtázva:", when a question may
  // acknowledge it; empty otherwise.
  std::string kind = {};
};

// A question's text made comparable: lower case, letters and digits only,
// words separated by one space.
std::string normalised(std::string_view utf8);

// The most diagnostics a compile keeps: the rest are only counted, so that
// a file of nothing but bad bytes is told in bounded time and memory.
inline constexpr std::size_t kMaxDiagnostics = 100;

struct Compiled {
  game::KERDESEKFULL bank{};
  int count = 0;
  // The first kMaxDiagnostics, in the order found; how many more errors and
  // warnings there were.
  std::vector<Diagnostic> diagnostics;
  int errors_left_out = 0;
  int warnings_left_out = 0;
  // Each question's normalised text and line, in source order.
  std::vector<std::pair<std::string, int>> questions;
  // Each question in the bank, in order: its line and its estimates.
  struct Entry {
    int line = 0;
    std::vector<int> estimates;
  };
  std::vector<Entry> entries;
  bool ok() const;
};

inline constexpr int kMaxQuestions = 99;
inline constexpr std::size_t kMaxQuestionLength = 100;
inline constexpr std::size_t kMaxAnswerLength = 50;
inline constexpr std::size_t kAnswerBoxLength = 25;
inline constexpr std::size_t kFirstLineLength = 55;
// The largest source read: far above any real one (a full bank's source is
// some 60 kB), low enough to refuse an endless device or a wrong file.
inline constexpr std::size_t kMaxSourceSize = 4 * 1024 * 1024;

// Compiles a source: the questions, the "*" terminator after the last one
// and empty records to the end. Errors make the result unusable; warnings
// point at what shows badly on screen or reads badly in a quiz.
Compiled compile(std::string_view source);

// One source among several checked together.
struct NamedSource {
  std::string file;
  const Compiled* compiled = nullptr;
};

// A diagnostic about one of several sources.
struct FileDiagnostic {
  std::string file;
  Diagnostic diagnostic;
};

// A question of one source that repeats one of an earlier source: a warning
// on the later one, naming the earlier. (Repeats inside one source are
// compile's own warnings.)
using Repeat = FileDiagnostic;
std::vector<Repeat> repeats_across(const std::vector<NamedSource>& sources);

// The source of a bank's questions (those before its terminator, or all 100
// without one). What a source cannot express (a missing right answer, a
// control character, an empty text) comes back as diagnostics naming the
// record.
std::string dump(const game::KERDESEKFULL& bank, std::vector<Diagnostic>* problems = nullptr);

// "file:line:column: hiba / error: message", as compilers write it, and a
// warning that can be acknowledged ends with its name: " [ezres-tagolas]".
std::string format(std::string_view file, const Diagnostic& d);

}  // namespace questions
