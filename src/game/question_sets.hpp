// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The question sets: what CONFIG.KERDESEK numbers, what the question-set
// screen shows, and the bank files each set's questions come from. A new set
// is one more row of kQuestionSets (and its banks under data/Questions).

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace game {

struct QuestionSet {
  std::string_view name;    // as the question-set screen shows it (code page 852)
  std::string_view author;  // likewise
  // A graded set has one bank file per level in this folder,
  // FOLDER\01.lmk to FOLDER\10.lmk; every other set has one file for all levels.
  std::string_view folder;
  std::string_view file;

  bool graded() const { return !folder.empty(); }
  // The bank a level (1 to 10) is asked from.
  std::string bank(int level) const;
  // Every bank file of the set, in order.
  std::vector<std::string> banks() const;
};

// Numbered from 1, in the order of CONFIG.KERDESEK and of the screen, where a
// blank row stands between the graded sets and the others.
extern const std::array<QuestionSet, 5> kQuestionSets;

// Set `number` (as CONFIG.KERDESEK holds it), or nullptr when there is no
// such set: then no question is loaded.
const QuestionSet* question_set(int number);

}  // namespace game
