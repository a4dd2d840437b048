// SPDX-License-Identifier: GPL-3.0-or-later
// The settings menu and its sub-screens, driven through the whole program.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "game/game.hpp"
#include "game/questions.hpp"
#include "harness.hpp"
#include "shell/indicators.hpp"
#include "shell/menu.hpp"
#include "shell/settings_screens.hpp"

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

// From the main menu into the settings menu; "Down" n times moves to item n + 1.
std::string settings(int item) {
  std::string keys = "Down Enter";
  for (int i = 1; i < item; ++i) keys += " Down";
  return keys;
}

class Settings : public GameTest {
 protected:
  settings::BEALLITASOK stored() {
    const auto bytes = read_file("Data/Config.cfg");
    EXPECT_EQ(bytes.size(), 76U);
    return settings::decode(std::span<const std::uint8_t, 76>(bytes.data(), 76));
  }
};

TEST_F(Settings, EnteringAndLeavingRewritesTheSameRecord) {
  auto bytes = read_file("Data/Config.cfg");
  auto longer = bytes;
  longer.resize(100, 0x42);
  write_file("Data/Config.cfg", longer);
  run("Down Enter Esc Esc");
  EXPECT_EQ(read_file("Data/Config.cfg"), bytes) << "one pass wrote exactly the record read";
  EXPECT_TRUE(drew("Játékos neve", 200, 60, 14));
  EXPECT_TRUE(drew("                           [BE]", 200, 130, 2));
  EXPECT_TRUE(drew("                           [KI]", 200, 140, 4));
}

TEST_F(Settings, TogglesOnTheSpot) {
  auto s = factory();
  s.HANGOK = 2;
  write_settings(s);
  run(settings(8) + " Enter Down Enter Esc Esc");
  EXPECT_EQ(stored().HANGOK, 1) << "2 counts as off and becomes 1";
  EXPECT_EQ(stored().VARAKOZAS, 1);
  run(settings(8) + " Enter Esc Esc");
  EXPECT_EQ(stored().HANGOK, 0);
}

TEST_F(Settings, HeaderSwitchesShowAtOnceAndReachTheFileOnTheNextPass) {
  run(settings(3) + " Enter Enter Down Enter Down Enter Down Enter Down Enter Esc Esc");
  const auto s = stored();
  EXPECT_EQ(s.MINILOGO, 0);
  EXPECT_EQ(s.ZORVINLOGO, 0);
  EXPECT_EQ(s.DATUM, 0);
  EXPECT_EQ(s.MADE_IN_HUNGARY, 1);
  EXPECT_TRUE(drew("Made", 22, 500, 0)) << "the badge shows on the sub-screen's next pass";
  EXPECT_TRUE(drew("Játékos neve", 200, 60, 14)) << "back in the settings menu on item 1";
}

TEST_F(Settings, GameModeColoursAndQuestionSets) {
  run(settings(4) + " Enter Down Enter Down Enter Esc Esc");
  EXPECT_EQ(stored().JATEKMOD, 0);
  EXPECT_TRUE(drew("Véletlen kérdések", 200, 70, 2));

  for (int scheme = 1; scheme <= 6; ++scheme) {
    std::string keys = settings(6) + " Enter";
    for (int i = 1; i < scheme; ++i) keys += " Down";
    run(keys + " Enter Esc Esc");
    const auto& c = shell::kColourSchemes[static_cast<std::size_t>(scheme - 1)];
    EXPECT_EQ(stored().KERETSZIN, c.KERETSZIN) << scheme;
    EXPECT_EQ(stored().JELOLOSZIN, c.JELOLOSZIN) << scheme;
    EXPECT_EQ(stored().VILLOGOSZIN, c.VILLOGOSZIN) << scheme;
  }
  EXPECT_TRUE(drew("Világoskék-piros", 200, 110, 2)) << "the scheme in force is green";

  for (int set = 1; set <= 5; ++set) {
    std::string keys = settings(7) + " Enter";
    for (int i = 1; i < set; ++i) keys += " Down";
    run(keys + " Enter Esc Esc");
    EXPECT_EQ(stored().KERDESEK, set);
  }
  EXPECT_TRUE(drew("Labdarúgás", 200, 110, 2));
}

// The labels count the questions the banks hold each time the screen is
// drawn; a bank that is missing or cannot be read counts as none.
TEST_F(Settings, QuestionSetLabelsCountTheBanks) {
  write_banks();  // three questions in every bank
  game::KERDESEKFULL bank{};
  for (std::size_t i = 0; i < 99; ++i) {
    bank[i].KERDES.assign("Q" + std::to_string(i));
    bank[i].JOVALASZ.assign(i == 7 ? "x" : "b");  // record 8 cannot be asked
  }
  write_file("Questions/Single/kelvarion.lmk", game::encode_bank(bank));
  fs::remove("Questions/Default/04.lmk");
  auto bytes = read_file("Questions/Children/02.lmk");
  bytes.resize(100);
  write_file("Questions/Children/02.lmk", bytes);
  fs::remove("Questions/Single/labdarugas.lmk");
  fs::create_directory("Questions/Single/labdarugas.lmk");

  run(settings(7) + " Enter Esc Esc Esc");
  EXPECT_TRUE(drew("Alapértelmezett   27db   ZorvinSoft", 200, 60, 14));
  EXPECT_TRUE(drew("Gyerek (könnyű)   27db   Morfan", 200, 70, 15));
  EXPECT_TRUE(drew("Számítástechnika  3db    PeldeSoft", 200, 90, 15));
  EXPECT_TRUE(drew("Kelvarion         98db   PeldeSoft", 200, 100, 15));
  EXPECT_TRUE(drew("Labdarúgás        0db    Ravlik", 200, 110, 15));
  EXPECT_TRUE(drew("Alapértelmezett", 200, 60, 2)) << "the set in force, name only";

  // Counted anew at every pass: a bank written while the screen is open
  // shows on the next key; no Questions folder at all counts nothing.
  for (int i = 0; i < 99; ++i) bank[static_cast<std::size_t>(i)].JOVALASZ.assign("a");
  for (int n = 1; n <= 10; ++n) {
    write_file(fs::path("Questions/Default") / ((n < 10 ? "0" : "") + std::to_string(n) + ".lmk"),
               game::encode_bank(bank));
  }
  run(settings(7) + " Enter Down Esc Esc Esc");
  EXPECT_TRUE(drew("Alapértelmezett   990db  ZorvinSoft", 200, 60, 15));
  fs::remove_all("Questions");
  run(settings(7) + " Enter Esc Esc Esc");
  EXPECT_TRUE(drew("Alapértelmezett   0db    ZorvinSoft", 200, 60, 14));
  EXPECT_TRUE(drew("Gyerek (könnyű)   0db    Morfan", 200, 70, 15));
}

TEST_F(Settings, QuittingFromASubScreenLosesItsChanges) {
  const auto before = read_file("Data/Config.cfg");
  EXPECT_EQ(run(settings(4) + " Enter Down Enter Down Down Enter"), 0);
  EXPECT_TRUE(drew("Viszlát!", 10, 10));
  EXPECT_EQ(read_file("Data/Config.cfg"), before);
}

TEST_F(Settings, TheResetAsksAndOnlyLowerCaseIConfirms) {
  auto s = factory();
  s.KERETSZIN = 0;
  s.HANGOK = 0;
  s.NEV.assign("Valaki");
  write_settings(s);
  const auto before = read_file("Data/Config.cfg");
  run(settings(10) + " Enter I Enter n Esc Esc");
  EXPECT_EQ(read_file("Data/Config.cfg"), before);
  EXPECT_EQ(count_texts("Biztos benne? (I)gen/(N)em"), 2);
  EXPECT_TRUE(drew("Beállítások visszaállítása", 200, 160, 14)) << "item 10 stays highlighted";

  run(settings(10) + " Enter i Esc Esc");
  const auto after = stored();
  EXPECT_EQ(after.KERETSZIN, 9);
  EXPECT_EQ(after.HANGOK, 1);
  EXPECT_EQ(after.NEV.view(), "Valaki") << "the names are the names program's, kept by the reset";
  EXPECT_TRUE(drew("Beállítások visszaállítva", 200, 80));
}

TEST_F(Settings, KeysOfTwoBytesSplitBetweenScreens) {
  run(settings(1) + " Enter Down Esc Esc");
  // The log writes a text's quotes as they are.
  EXPECT_EQ(count_lines("Ezt a beállítást csak a \\\"Beállítások\\\" programban"), 0);
  EXPECT_TRUE(drew("Ezt a beállítást csak a \"Beállítások\" programban változtathatja meg", 100, 60));
  EXPECT_TRUE(drew("Müsorvezetö", 200, 70, 14)) << "the arrow's code moved the settings highlight";

  run(settings(10) + " Enter Up Esc Esc");
  EXPECT_TRUE(drew("K. kiírása előtt várakozás", 200, 140, 14)) << "Up cancelled the reset and moved to item 9";
  EXPECT_EQ(count_texts("visszaállítva"), 0);
}

TEST_F(Settings, LifelinesSwitchedOffForExactlyOneGame) {
  write_banks();
  // Switch all three off, toggle the telephone twice more, leave, play.
  run(settings(5) + " Enter Enter Enter Enter Down Enter Down Enter Esc Esc Enter t f k z Enter t z");
  EXPECT_EQ(count_texts("elhasználtad"), 3) << "none available in the next game";
  EXPECT_EQ(count_texts("Szerintem"), 1) << "all available in the game after";
  EXPECT_TRUE(drew("az összes segítség. ", 200, 170));
}

TEST_F(Settings, TheColourSampleTimeline) {
  run(settings(6) + " Enter Down Down Right Esc Esc");
  using D = platform::Recorder::Delay;
  auto delays = recorder->delays();
  ASSERT_FALSE(delays.empty());
  EXPECT_EQ(delays.front(), (D{0, 5000})) << "the title screen";
  delays.erase(delays.begin());
  EXPECT_EQ(delays, (std::vector<D>{{5000, 1000}, {6000, 200}, {6200, 200}, {6400, 200}, {6600, 200}, {6800, 200}}));
  EXPECT_EQ(times_drawn("A:", 415, 90, 0, 1), 4);
  EXPECT_EQ(times_drawn("A:", 415, 90, 15, 1), 7 + 2) << "seven passes, two black phases";
  EXPECT_EQ(stored().KERETSZIN, 9) << "a sample changes nothing";
}

TEST(Indicators, RedOffGreenOn) {
  platform::reset_state();
  platform::HeadlessBackend backend;
  platform::Recorder recorder(backend);
  platform::set_tracer(&recorder);
  shell::PIROS_ZOLD(2, 0, 60);
  shell::PIROS_ZOLD(5, 5, 70);
  platform::set_tracer(nullptr);
  ASSERT_EQ(recorder.texts().size(), 2U);
  EXPECT_EQ(recorder.texts()[0].colour, 2);
  EXPECT_EQ(recorder.texts()[0].utf8, std::string(27, ' ') + "[BE]");
  EXPECT_EQ(recorder.texts()[1].colour, 4);
  EXPECT_EQ(platform::surface().color(), 15);
  EXPECT_EQ(platform::surface().pixel(416 + 1, 72), 4) << "the bracket starts at x = 416";
}

}  // namespace
