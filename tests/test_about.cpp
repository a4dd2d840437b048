// SPDX-License-Identifier: GPL-3.0-or-later
// The about screens reached from the main menu: their texts, the keys that
// leave them and the animation's timing.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "harness.hpp"
#include "platform/cp852.hpp"
#include "shell/menu.hpp"

using namespace testing_support;

namespace {

class About : public GameTest {};

TEST_F(About, KeysAndScreens) {
  run("Up Up Enter A");
  EXPECT_EQ(shell::HOL, 1);
  EXPECT_TRUE(drew("Legyen Ön is ZELVANOS", 100, 60));
  EXPECT_TRUE(drew(cp852::to_utf8(std::string(21, '\xC4')), 100, 67)) << "the title underlined with ─";
  EXPECT_EQ(texts_ending("Köszönet"), 1);

  run("Up Up Enter k x");
  EXPECT_EQ(shell::HOL, 1);
  std::vector<std::string> box;
  for (const auto& t : recorder->texts()) {
    if (t.x == 100 && t.y >= 60 && t.y <= 196 && (t.y - 60) % 8 == 0) box.push_back(t.utf8);
  }
  ASSERT_GE(box.size(), 18U);
  box.erase(box.begin(), box.end() - 18);  // the about screen's own lines came first
  for (const auto& line : box) {
    const auto bytes = cp852::from_utf8(line);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), 45U) << line;
  }
  EXPECT_EQ(box[1], "│ Szüleimnek, akik nélkül én sem lennék.    │");
  EXPECT_EQ(box[15], "  ║ És valakinek, aki mire ezt elolvassa, ║  ");
  EXPECT_EQ(box[0].substr(0, 3), "┌");

  run("Up Up Enter l x");
  EXPECT_TRUE(drew("vállal az esetleges károkért, vagy tartalmi hibákért.", 100, 90));

  // The up arrow on the about screen: its 0 ends it, its code moves the menu.
  run("Up Up Enter Up");
  EXPECT_EQ(shell::HOL, 5);
}

TEST_F(About, TheAnimationTakes4250MsAndKeepsKeysTypedMeanwhile) {
  run("Up Up Enter a @6000 x Esc");
  EXPECT_EQ(recorder->count_delays(125), 30);
  const auto& texts = recorder->texts();
  std::uint32_t first_cell = 0;
  std::uint32_t prompt = 0;
  for (const auto& t : texts) {
    if (t.y == 60 && t.x == 150 && first_cell == 0) first_cell = t.ms;
    if (t.utf8 == "A visszalépéshez nyomjon" && t.y == 120) prompt = t.ms;
  }
  EXPECT_EQ(prompt - first_cell, 4250U);
  const auto keys = recorder->keys();
  EXPECT_EQ(std::count(keys.begin(), keys.end(), platform::Recorder::KeyRead{9250, 'x'}), 1)
      << "the x typed during the animation closes it at once";
  EXPECT_TRUE(drew("     meg egy gombot     ", 200, 130));
  EXPECT_TRUE(drew(",,,,,", 150, 60)) << "Z's top";
}

}  // namespace
