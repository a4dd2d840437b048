// SPDX-License-Identifier: GPL-3.0-or-later
// The settings menu and its sub-screens, the about screens, and the names
// program, driven through the whole program.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/wait.h>

#include "game/game.hpp"
#include "game/questions.hpp"
#include "harness.hpp"
#include "platform/cp852.hpp"
#include "shell/indicators.hpp"
#include "shell/menu.hpp"

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
  shell::BEALLITASOK stored() {
    const auto bytes = read_file("Data/Config.cfg");
    EXPECT_EQ(bytes.size(), 76U);
    return shell::decode(std::span<const std::uint8_t, 76>(bytes.data(), 76));
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
  EXPECT_EQ(count_lines("Biztos benne? (I)gen/(N)em"), 2);
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
  EXPECT_EQ(count_lines("Ezt a beállítást csak a \\\"Beállítások\\\" programban"), 0);
  EXPECT_TRUE(drew("Ezt a beállítást csak a \"Beállítások\" programban változtathatja meg", 100, 60));
  EXPECT_TRUE(drew("Müsorvezetö", 200, 70, 14)) << "the arrow's code moved the settings highlight";

  run(settings(10) + " Enter Up Esc Esc");
  EXPECT_TRUE(drew("K. kiírása előtt várakozás", 200, 140, 14)) << "Up cancelled the reset and moved to item 9";
  EXPECT_EQ(count_lines("visszaállítva"), 0);
}

TEST_F(Settings, LifelinesSwitchedOffForExactlyOneGame) {
  write_banks();
  // Switch all three off, toggle the telephone twice more, leave, play.
  run(settings(5) + " Enter Enter Enter Enter Down Enter Down Enter Esc Esc Enter t f k z Enter t z");
  EXPECT_EQ(count_lines("elhasználtad"), 3) << "none available in the next game";
  EXPECT_EQ(count_lines("Szerintem"), 1) << "all available in the game after";
  EXPECT_TRUE(drew("az összes segítség. ", 200, 170));
}

TEST_F(Settings, TheColourSampleTimeline) {
  run(settings(6) + " Enter Down Down Right Esc Esc");
  std::vector<std::string> delays;
  for (const auto& l : recorder->lines()) {
    if (l.find(" delay ") != std::string::npos && l.rfind("0 delay 5000", 0) != 0) delays.push_back(l);
  }
  EXPECT_EQ(delays, (std::vector<std::string>{"5000 delay 1000", "6000 delay 200", "6200 delay 200",
                                              "6400 delay 200", "6600 delay 200", "6800 delay 200"}));
  EXPECT_EQ(count_lines("text 415,90 colour 0 size 1 \"A:\""), 4);
  EXPECT_EQ(count_lines("text 415,90 colour 15 size 1 \"A:\""), 7 + 2) << "seven passes, two black phases";
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

class About : public GameTest {};

TEST_F(About, KeysAndScreens) {
  run("Up Up Enter A");
  EXPECT_EQ(shell::HOL, 1);
  EXPECT_TRUE(drew("Legyen Ön is ZELVANOS", 100, 60));
  EXPECT_TRUE(drew(cp852::to_utf8(std::string(21, '\xC4')), 100, 67)) << "the title underlined with ─";
  EXPECT_EQ(count_lines("Köszönet\""), 1);

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
  EXPECT_EQ(count_lines(" delay 125"), 30);
  const auto& texts = recorder->texts();
  std::uint32_t first_cell = 0;
  std::uint32_t prompt = 0;
  for (const auto& t : texts) {
    if (t.y == 60 && t.x == 150 && first_cell == 0) first_cell = t.ms;
    if (t.utf8 == "A visszalépéshez nyomjon" && t.y == 120) prompt = t.ms;
  }
  EXPECT_EQ(prompt - first_cell, 4250U);
  EXPECT_EQ(count_lines("9250 key 120"), 1) << "the x typed during the animation closes it at once";
  EXPECT_TRUE(drew("     meg egy gombot     ", 200, 130));
  EXPECT_TRUE(drew(",,,,,", 150, 60)) << "Z's top";
}

// The names program, run as a program.
class NamesProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory("Data");
    shell::BEALLITASOK s;
    shell::apply_factory_values(s);
    s.KERETSZIN = 13;
    original = shell::encode(s);
    write_file("Data/Config.cfg", {original.begin(), original.end()});
  }
  int names(const std::string& args) {
    const std::string cmd = std::string(ZELVANOS_NAMES) + " " + args + " >out.txt 2>err.txt";
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  ScratchDir dir;
  shell::SettingsBytes original;
};

TEST_F(NamesProgram, ShowsSetsAndRefuses) {
  EXPECT_EQ(names(""), 0);
  EXPECT_NE(testing_support::read_text("out.txt").find("\"Ravasz Ödön\""), std::string::npos);
  EXPECT_EQ(read_file("Data/Config.cfg"), std::vector<std::uint8_t>(original.begin(), original.end()));

  EXPECT_EQ(names("--nev 'Kovács Őrs' --host 'Nagy Ű'"), 0);
  auto bytes = read_file("Data/Config.cfg");
  ASSERT_EQ(bytes.size(), 76U);
  const auto s = shell::decode(std::span<const std::uint8_t, 76>(bytes.data(), 76));
  EXPECT_EQ(s.NEV.view(), "Kov\xA0" "cs \x8Ars");
  EXPECT_EQ(s.MUSORVEZETO.view(), "Nagy \xEB");
  EXPECT_EQ(s.KERETSZIN, 13) << "every other field kept";
  EXPECT_EQ(bytes[1 + 12], original[1 + 12]) << "bytes beyond the new name's length kept";

  const auto before = read_file("Data/Config.cfg");
  EXPECT_EQ(names("--player 'Ez a név bizony huszonhat betű'"), 1);
  EXPECT_NE(testing_support::read_text("err.txt").find("25"), std::string::npos);
  EXPECT_EQ(names("--host 'Euro €'"), 1);
  EXPECT_EQ(read_file("Data/Config.cfg"), before) << "a refused name writes nothing";

  EXPECT_EQ(names("--help"), 0);
  EXPECT_NE(testing_support::read_text("out.txt").find("Használat"), std::string::npos);
  EXPECT_NE(testing_support::read_text("out.txt").find("Usage"), std::string::npos);
  EXPECT_EQ(names("--bogus x"), 64);
  EXPECT_EQ(names("--file nincs.cfg"), 2);
  write_file("short.cfg", std::vector<std::uint8_t>(40, 1));
  EXPECT_EQ(names("--file short.cfg --nev x"), 100);
  EXPECT_EQ(read_file("short.cfg").size(), 40U);
}

}  // namespace
