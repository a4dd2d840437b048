// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/question_sets.hpp"

#include "game/ladder.hpp"
#include "platform/cp852.hpp"

using namespace cp852::literals;  // the _cp literal

namespace game {

const std::array<QuestionSet, 5> kQuestionSets = {{
    {"Alapértelmezett"_cp, "ZorvinSoft", "Questions\\Default", {}},
    {"Gyerek (könnyű)"_cp, "Morfan", "Questions\\Children", {}},
    {"Számítástechnika"_cp, "PeldeSoft", {}, "Questions\\Single\\szamtech.lmk"},
    {"Kelvarion"_cp, "PeldeSoft", {}, "Questions\\Single\\kelvarion.lmk"},
    {"Labdarúgás"_cp, "Ravlik", {}, "Questions\\Single\\labdarugas.lmk"},
}};

std::string QuestionSet::bank(int level) const {
  if (!graded()) return std::string(file);
  const std::string number = std::to_string(level);
  return cp852::join({folder, "\\", number.size() < 2 ? "0" : "", number, ".lmk"});
}

std::vector<std::string> QuestionSet::banks() const {
  if (!graded()) return {std::string(file)};
  std::vector<std::string> out;
  for (int level = 1; level <= kTopLevel; ++level) out.push_back(bank(level));
  return out;
}

const QuestionSet* question_set(int number) {
  if (number < 1 || number > static_cast<int>(kQuestionSets.size())) return nullptr;
  return &kQuestionSets[static_cast<std::size_t>(number - 1)];
}

}  // namespace game
