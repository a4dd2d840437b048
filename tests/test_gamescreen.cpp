// SPDX-License-Identifier: GPL-3.0-or-later
// The quiz screen's geometry: boxes, ends, ladder, question and answers.

#include <gtest/gtest.h>

#include <array>
#include <set>

#include "game/game.hpp"
#include "game/lifelines.hpp"
#include "game/questions.hpp"
#include "harness.hpp"
#include "platform/backend.hpp"
#include "screen/gamescreen.hpp"
#include "screen/reveal.hpp"

using namespace testing_support;
using platform::surface;

namespace {

class GameScreen : public HeadlessTest {
 protected:
  int px(int x, int y) const { return surface().pixel(x, y); }
  void question(std::string q, int level = 1) {
    game::X = static_cast<std::int16_t>(level);
    screen::SZVG = std::to_string(level);
    game::KERDES = std::move(q);
    game::A = "Alma";
    game::B = "Barack";
    game::C = "Citrom";
    game::D = "Dinnye";
    screen::KIIRAS();
  }
};

TEST_F(GameScreen, BoxesHaveErasedSidesAndKeepTheirCorners) {
  screen::KERETEK();
  EXPECT_EQ(surface().color(), 15);
  // The question box: corners kept, sides gone, points drawn.
  for (const auto& [x, y] : {std::pair{95, 48}, {95, 76}, {575, 48}, {575, 76}, {81, 62}, {589, 62}}) {
    EXPECT_EQ(px(x, y), 9) << x << "," << y;
  }
  for (int y = 49; y <= 75; ++y) {
    EXPECT_EQ(px(95, y), 0) << y;
    EXPECT_EQ(px(575, y), 0) << y;
  }
  // Answer boxes and the links between them.
  for (const int x : {95, 325, 345, 575}) {
    for (const int top : {85, 105}) {
      EXPECT_EQ(px(x, top), 9);
      EXPECT_EQ(px(x, top + 14), 9);
      for (int y = top + 1; y <= top + 13; ++y) EXPECT_EQ(px(x, y), 0) << x << "," << y;
    }
  }
  for (int x = 333; x <= 337; ++x) {
    EXPECT_EQ(px(x, 92), 9);
    EXPECT_EQ(px(x, 112), 9);
  }
  for (const auto& [x, y] : {std::pair{88, 92}, {332, 92}, {338, 92}, {582, 92}, {88, 112}, {582, 112}}) {
    EXPECT_EQ(px(x, y), 9) << x << "," << y;
  }
}

TEST_F(GameScreen, EndsAndMiddleFillEachBoxInsideItsOutline) {
  screen::KERETEK();
  const platform::Pixels outline = surface().snapshot();
  const struct {
    void (*ends)();
    int left, right, mid;
  } boxes[] = {{screen::OLDAL_A, 96, 324, 92},
               {screen::OLDAL_B, 346, 574, 92},
               {screen::OLDAL_C, 96, 324, 112},
               {screen::OLDAL_D, 346, 574, 112}};
  for (const auto& b : boxes) {
    platform::SetColor(14);
    b.ends();
    platform::SetFillStyle(1, 14);
    platform::Bar(static_cast<std::int16_t>(b.left), static_cast<std::int16_t>(b.mid - 6),
                  static_cast<std::int16_t>(b.right), static_cast<std::int16_t>(b.mid + 6));
    platform::SetColor(15);
  }
  const platform::Pixels filled = surface().snapshot();
  for (std::size_t i = 0; i < outline.size(); ++i) {
    if (outline[i] == 9) {
      ASSERT_EQ(filled[i], 9) << "outline pixel " << i % 800 << "," << i / 800 << " painted";
    }
  }
  // Between the outline's two sides every row of every box is filled.
  for (const auto& b : boxes) {
    for (int y = b.mid - 6; y <= b.mid + 6; ++y) {
      int first = -1;
      int last = -1;
      for (int x = b.left - 10; x <= b.right + 10; ++x) {
        if (px(x, y) == 9) {
          if (first < 0) first = x;
          last = x;
        }
      }
      ASSERT_LT(first, last) << y;
      for (int x = first + 1; x < last; ++x) {
        if (px(x, y) == 9) continue;  // the link line of the middle row lies outside
        ASSERT_EQ(px(x, y), 14) << x << "," << y;
      }
    }
  }
}

// Marking, flashing and the 50:50 all work on one box: whatever they paint
// stays between that box's points, its outline stands, and the blanking
// takes its answer's text away and no other.
TEST_F(GameScreen, EachAnswerIsPaintedAndBlankedWithinItsOwnBox) {
  const auto inside = [](const screen::PointedBox& b, int x, int y) {
    return x > b.left_tip && x < b.right_tip && y > b.outline.top && y < b.outline.bottom;
  };
  constexpr std::array<void (*)(), 4> kBlank = {game::FELEZ_A, game::FELEZ_B, game::FELEZ_C, game::FELEZ_D};
  for (std::size_t i = 0; i < screen::kAnswerBoxes.size(); ++i) {
    const screen::AnswerBox& box = screen::kAnswerBoxes[i];
    SCOPED_TRACE(box.prefix);
    const auto fresh = [&] {
      start();
      screen::KERETEK();
      question("Kérdés?");
    };
    fresh();
    const platform::Pixels before = surface().snapshot();

    game::VALASZ = std::string(box.letter);
    screen::JELOL();
    const platform::Pixels marked = surface().snapshot();
    int painted = 0;
    for (int y = 0; y < 600; ++y) {
      for (int x = 0; x < 800; ++x) {
        const auto at = static_cast<std::size_t>(y) * 800 + static_cast<std::size_t>(x);
        if (marked[at] == before[at]) continue;
        ++painted;
        ASSERT_TRUE(inside(box.box, x, y)) << "marking painted " << x << "," << y;
        ASSERT_NE(before[at], 9) << "marking painted over the outline at " << x << "," << y;
      }
    }
    EXPECT_GT(painted, 13 * 200);

    fresh();
    game::JOVALASZ = std::string(box.letter);
    screen::VILLOG();
    const platform::Pixels flashed = surface().snapshot();
    for (std::size_t at = 0; at < flashed.size(); ++at) {
      const int x = static_cast<int>(at % 800);
      const int y = static_cast<int>(at / 800);
      if (!inside(box.box, x, y)) {
        ASSERT_EQ(flashed[at], before[at]) << "flash painted " << x << "," << y;
      }
    }

    fresh();
    kBlank[i]();
    const screen::Rect strip = box.box.strip();
    for (int y = strip.top - 2; y <= strip.bottom + 2; ++y) {
      for (int x = 80; x < 600; ++x) {
        const auto at = static_cast<std::size_t>(y) * 800 + static_cast<std::size_t>(x);
        const bool in_strip = x >= strip.left && x <= strip.right && y >= strip.top && y <= strip.bottom;
        if (in_strip) {
          ASSERT_EQ(surface().pixel(x, y), 0) << "text left at " << x << "," << y;
        } else {
          ASSERT_EQ(surface().pixel(x, y), before[at]) << "blanking reached " << x << "," << y;
        }
      }
    }
  }
}

TEST_F(GameScreen, TheQuestionIsCutAfterCharacter55) {
  const std::string q55(55, 'q');
  question(q55);
  EXPECT_TRUE(drew("1. " + q55, 100, 53, 15));
  EXPECT_TRUE(drew("1  ", 100, 65, 15));
  EXPECT_TRUE(drew("1", 100, 65, 0)) << "the level number erased from line 2";
  EXPECT_EQ(game::KERDES, q55);

  start();
  const std::string q56 = std::string(54, 'q') + "ab";
  question(q56);
  EXPECT_TRUE(drew("1. " + std::string(54, 'q') + "a ", 100, 53));
  EXPECT_TRUE(drew("1  b", 100, 65));
  EXPECT_EQ(game::KERDES.size(), 56U);
  EXPECT_EQ(game::KERDES.back(), ' ');

  start();
  const std::string q100 = std::string(55, 'x') + std::string(45, 'y');
  question(q100, 10);
  EXPECT_TRUE(drew("10. " + std::string(55, 'x') + std::string(45, ' '), 100, 53));
  EXPECT_TRUE(drew("10  " + std::string(45, 'y'), 100, 65));
  EXPECT_TRUE(drew("10", 100, 65, 0));
  // Line 2's text starts under the question's first character.
  for (int y = 65; y < 73; ++y) {
    for (int x = 100; x < 132; ++x) ASSERT_EQ(px(x, y), 0) << x << "," << y;
  }
  int continuation = 0;
  for (int y = 65; y < 73; ++y) {
    for (int x = 132; x < 140; ++x) continuation += px(x, y) != 0 ? 1 : 0;
  }
  EXPECT_GT(continuation, 0) << "the continuation begins at x = 132";
  EXPECT_TRUE(drew("A: Alma", 100, 90));
  EXPECT_TRUE(drew("B: Barack", 350, 90));
  EXPECT_TRUE(drew("C: Citrom", 100, 110));
  EXPECT_TRUE(drew("D: Dinnye", 350, 110));
  EXPECT_EQ(surface().color(), 15);
}

TEST_F(GameScreen, SlowWriteOutTimeline) {
  settings::CONFIG.VARAKOZAS = 1;
  question("Kérdés?");
  std::vector<std::uint32_t> at;
  for (const auto& t : recorder->texts()) {
    if (t.utf8.size() > 1 && t.utf8[1] == ':') at.push_back(t.ms);
  }
  EXPECT_EQ(at, (std::vector<std::uint32_t>{2000, 3000, 4000, 5000}));

  start();
  settings::CONFIG.VARAKOZAS = 2;
  question("Kérdés?");
  EXPECT_EQ(backend->now(), 0U) << "only 1 means slow";
}

TEST_F(GameScreen, TheLadder) {
  platform::SetColor(15);
  screen::TABLAZAT();
  EXPECT_TRUE(drew("10", 650, 66, 15));
  EXPECT_TRUE(drew("1 500 000 000", 670, 66, 15));
  EXPECT_TRUE(drew(" 9", 650, 81, 14));
  EXPECT_TRUE(drew(" 5", 650, 141, 15));
  EXPECT_TRUE(drew("  100 000 000", 670, 141, 15));
  EXPECT_TRUE(drew(" 1", 650, 201, 14));
  EXPECT_TRUE(drew("    5 000 000", 670, 201, 14));
  for (int y = 61; y <= 211; y += 15) {
    EXPECT_EQ(px(700, y), 15) << "row border " << y;
  }
  EXPECT_EQ(px(665, 100), 15) << "number column";
  EXPECT_EQ(px(780, 100), 15);
  EXPECT_EQ(surface().color(), 15);
  // Amounts end at x = 773.
  int rightmost = 0;
  for (int x = 760; x < 780; ++x) {
    for (int y = 66; y < 74; ++y) rightmost = px(x, y) != 0 ? std::max(rightmost, x) : rightmost;
  }
  EXPECT_LE(rightmost, 773);
}

TEST_F(GameScreen, AnnouncementsPickOneOfFiveEachTime) {
  game::X = 1;
  game::PENZ = "5 000 000";
  std::set<std::string> seen;
  for (int i = 0; i < 200; ++i) {
    platform::Delay(7);
    screen::KERDESSZOVEG();
    seen.insert(recorder->texts().back().utf8);
    EXPECT_EQ(recorder->texts().back().x, 100);
    EXPECT_EQ(recorder->texts().back().y, 60);
  }
  EXPECT_EQ(seen, (std::set<std::string>{"Lássuk az 1. kérdést, 5 000 000Ft-ért.",
                                         "Jöjjön, aminek jönnie kell 5 000 000Ft-ért.",
                                         "Most pedig nyerjen 5 000 000Ft-ot.", "5 000 000Ft-ért jön a 1. kérdés.",
                                         "A következő kérdés 5 000 000Ft-ért megy. Ez érdekes lesz."}));
  EXPECT_EQ(screen::SZVG, "1");
}

}  // namespace
