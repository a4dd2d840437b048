#pragma once
// The readable source of a question bank, and its translation to and from
// the bank file. A source is UTF-8 text:
//
//   # A comment line.
//   ? Melyik a legnagyobb bolygó a Naprendszerben?
//   - Mars
//   + Jupiter
//   - Vénusz
//   - Szaturnusz
//
// "? " starts a question; exactly four answer lines follow, in the order
// A, B, C, D, "+ " before the right one and "- " before the others. Blank
// lines separate questions.

#include <string>
#include <string_view>
#include <vector>

#include "game/questions.hpp"

namespace questions {

struct Diagnostic {
  int line = 0;  // 0: about the whole file
  bool error = true;
  std::string message;
};

struct Compiled {
  game::KERDESEKFULL bank{};
  int count = 0;
  std::vector<Diagnostic> diagnostics;
  bool ok() const;
};

inline constexpr int kMaxQuestions = 99;
inline constexpr std::size_t kMaxQuestionLength = 100;
inline constexpr std::size_t kMaxAnswerLength = 50;
inline constexpr std::size_t kAnswerBoxLength = 25;
inline constexpr std::size_t kFirstLineLength = 55;

// Compiles a source: the questions, the "*" terminator after the last one
// and empty records to the end. Errors make the result unusable; warnings
// point at what shows badly on screen.
Compiled compile(std::string_view source);

// The source of a bank's questions (those before its terminator, or all 100
// without one). Problems that a source cannot express (a missing right
// answer, for one) come back as diagnostics naming the record.
std::string dump(const game::KERDESEKFULL& bank, std::vector<Diagnostic>* problems = nullptr);

// "file:line: error: message", as compilers write it.
std::string format(std::string_view file, const Diagnostic& d);

}  // namespace questions
