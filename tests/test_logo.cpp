// SPDX-License-Identifier: GPL-3.0-or-later
// The title screen, the header and the special days.

#include <gtest/gtest.h>

#include "harness.hpp"
#include "platform/backend.hpp"
#include "platform/settings.hpp"
#include "screen/logo.hpp"
#include "shell/settings.hpp"

using namespace testing_support;
using platform::surface;

namespace {

class Header : public GameTest {
 protected:
  // Draws the first menu pass on the given day; the screen stays as drawn.
  void menu_on(int y, int m, int d) { run("", date(y, m, d)); }
  bool star() const { return surface().pixel(401, 342) == 14 && surface().pixel(463, 373) == 14; }
  bool tree() const { return surface().pixel(297, 493) == 2 && surface().pixel(400, 560) == 6; }
};

TEST_F(Header, AnOrdinaryDay) {
  menu_on(2005, 1, 5);
  EXPECT_TRUE(drew("Legyen On is Zelvanos Béta 3", 100, 20, 15, 2));
  EXPECT_TRUE(drew("2005.  1.  5.", 675, 15, 15, 1));
  EXPECT_TRUE(drew("Qavo", 684, 488, 15, 2));
  EXPECT_TRUE(drew("2005 Zorvin", 360, 582));
  EXPECT_EQ(count_texts("B.U.É.K."), 0);
  EXPECT_EQ(count_texts("Szilveszter"), 0);
  EXPECT_FALSE(star());
  EXPECT_EQ(surface().pixel(671, 26), 15) << "the date box";
  EXPECT_EQ(surface().pixel(671, 33), 0) << "no second box";
  // The two dots turning the O into Ö.
  for (int x : {216, 217, 220, 221}) {
    EXPECT_EQ(surface().pixel(x, 16), 15);
    EXPECT_EQ(surface().pixel(x, 17), 15);
  }
  EXPECT_EQ(surface().pixel(218, 16), 0);
  EXPECT_EQ(screen::EV, "2005");
  EXPECT_EQ(screen::HONAP, "1");
  EXPECT_EQ(screen::NAP, "5");
  EXPECT_EQ(screen::WDAY, 3);
  EXPECT_EQ(surface().color(), 15);
  EXPECT_EQ(surface().magnification(), 1);
}

TEST_F(Header, TheSpecialDays) {
  menu_on(2005, 1, 1);
  EXPECT_TRUE(drew("B.U.É.K. 2005", 675, 30));
  EXPECT_EQ(surface().pixel(671, 33), 15);

  menu_on(2005, 12, 31);
  EXPECT_TRUE(drew("2005. 12. 31.", 675, 15));
  EXPECT_TRUE(drew("Szilveszter", 682, 30));
  EXPECT_FALSE(star());

  menu_on(2005, 12, 24);
  EXPECT_FALSE(star());
  EXPECT_FALSE(tree());

  for (int day : {25, 26}) {
    menu_on(2005, 12, day);
    EXPECT_TRUE(star()) << day;
    EXPECT_TRUE(tree()) << day;
    EXPECT_EQ(times_drawn("B", 273, 474, 15, 1), 1) << "the tree once per header";
    EXPECT_TRUE(drew("á", 472, 356));
    EXPECT_TRUE(drew("\x01", 346, 524, 15, 5));
    EXPECT_TRUE(drew("\x02", 447, 526, 15, 5));
  }

  menu_on(2005, 4, 1);
  EXPECT_TRUE(drew("2005. április 1.", 305, 215));
  for (const auto& [text, x, y] : {std::tuple{"ápr. 1., a bolondok napja.", 293, 249},
                                   {"Ma megbolondult a programom.", 293, 279},
                                   {"A hiba kijavítása 24 órán", 293, 289},
                                   {"belül garantáltan", 293, 299},
                                   {"megtörténik.", 293, 309},
                                   {"Addig is megértésüket", 313, 339},
                                   {"KÖSZÖNÖM :D !!!.", 340, 349}}) {
    EXPECT_TRUE(drew(text, x, y)) << text;
  }
  EXPECT_EQ(surface().pixel(490, 219), 0) << "the back square is hidden inside the front one";
  EXPECT_EQ(surface().pixel(488, 217), 15);
}

TEST_F(Header, SwitchesOffAndOn) {
  auto s = factory();
  s.MINILOGO = 0;
  s.ZORVINLOGO = 2;
  s.DATUM = 0;
  write_settings(s);
  menu_on(2005, 4, 1);
  EXPECT_EQ(count_texts("április"), 0) << "no special day without the date line";
  EXPECT_EQ(screen::YEAR, 0);
  EXPECT_EQ(count_texts("Qavo"), 0);
  EXPECT_EQ(texts_ending("Zorvin"), 0);
  EXPECT_EQ(surface().pixel(649, 495), 0);

  s.MADE_IN_HUNGARY = 1;
  write_settings(s);
  menu_on(2005, 1, 5);
  EXPECT_EQ(surface().pixel(5, 493), 4);
  EXPECT_EQ(surface().pixel(71, 537), 15);
  EXPECT_EQ(surface().pixel(5, 560), 2);
  EXPECT_EQ(surface().pixel(4, 515), 15);
  EXPECT_TRUE(drew("Made", 22, 500, 0));
  EXPECT_TRUE(drew("Hungary", 11, 547, 0));
  EXPECT_EQ(surface().color(), 15);
}

class TitleScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::reset_state();
    platform::use_backend(&backend);
    shell::apply_factory_values(settings::CONFIG = {});
  }
  void TearDown() override { platform::use_backend(nullptr); }
  platform::HeadlessBackend backend;
};

TEST_F(TitleScreen, CircleWithSquaredCornersAndTheHostsName) {
  settings::CONFIG.MUSORVEZETO.assign("Abcdefghijklmnopqrstuvwxy");
  screen::FOLOGO();
  EXPECT_EQ(backend.now(), 5000U);
  EXPECT_EQ(surface().pixel(243, 301), 15) << "the circle's left end";
  EXPECT_EQ(surface().pixel(287, 195), 0) << "the arc inside the first square is blanked";
  EXPECT_EQ(surface().pixel(243, 200), 15) << "the first square keeps its left side";
  EXPECT_EQ(surface().pixel(384, 200), 0) << "and loses its right side";
  EXPECT_EQ(surface().pixel(544, 400), 15) << "the second keeps its right side";
  EXPECT_EQ(surface().pixel(404, 400), 0);
  int rightmost = 0;
  for (int y = 505; y < 513; ++y) {
    for (int x = 700; x < 800; ++x) rightmost = surface().pixel(x, y) != 0 ? std::max(rightmost, x) : rightmost;
  }
  EXPECT_LE(rightmost, 751);
  EXPECT_GE(rightmost, 744);
  EXPECT_EQ(surface().fill_color(), 0);
  EXPECT_EQ(surface().magnification(), 1);
  EXPECT_EQ(surface().color(), 15);
}

}  // namespace
