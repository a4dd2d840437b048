// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, the main menu and shutdown, driven by keys through the whole program.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "harness.hpp"
#include "platform/graph.hpp"
#include "shell/menu.hpp"

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

class MainMenu : public GameTest {};

TEST_F(MainMenu, StartsWithTheTitleScreenAndQuitsThroughTheGoodbye) {
  EXPECT_EQ(run("Esc"), 0);
  EXPECT_EQ(backend->title(), "Legyen On is Zelvanos");
  EXPECT_EQ(backend->times_opened(), 1);
  EXPECT_FALSE(backend->window_open()) << "closed at the end";
  using R = platform::Recorder;
  const auto& events = recorder->events();
  ASSERT_GE(events.size(), 3U);
  EXPECT_EQ(std::vector<R::Event>(events.begin(), events.begin() + 3),
            (std::vector<R::Event>{R::Sound{0, "init", 0, ""}, R::Sound{0, "load", 1, "Sounds\\Main.mp3"},
                                   R::Sound{0, "play", 1, ""}}));
  EXPECT_TRUE(drew("Az arénában már várja önt, a müsorvezetö: Ravasz Ödön", 216, 505));
  ASSERT_FALSE(recorder->waits().empty());
  EXPECT_EQ(recorder->waits()[0], (R::KeyWait{5000, 1})) << "the menu reads its first key after 5 000 ms";
  EXPECT_TRUE(drew("Játék kezdése", 200, 60, 14));
  EXPECT_TRUE(drew("Beállítások", 200, 70, 15));
  EXPECT_TRUE(drew("Eredménylista", 200, 80, 15));
  EXPECT_TRUE(drew("Névjegy", 200, 100, 15));
  EXPECT_TRUE(drew("Kilépés", 200, 120, 15));
  EXPECT_TRUE(drew("Viszlát!", 10, 10, 15, 3));
  EXPECT_EQ(events[events.size() - 2], R::Event(R::Delay{5000, 500}));
  EXPECT_EQ(events.back(), R::Event(R::Sound{5500, "done", 0, ""}));
  EXPECT_EQ(shell::FOMENU, 27);
}

TEST_F(MainMenu, TheHighlightMovesAndWraps) {
  const struct {
    const char* keys;
    int hol;
  } cases[] = {
      {"Up", 5}, {"Down Down Down Down Down", 1}, {"H", 5}, {"P P", 3}, {"h p x byte:0 M K", 1}, {"Up Up Down", 5},
  };
  for (const auto& c : cases) {
    run(c.keys);
    EXPECT_EQ(shell::HOL, c.hol) << c.keys;
  }
  run("Down Down");
  EXPECT_EQ(recorder->key_waits(), 5) << "an arrow is two reads, each a full pass";
  EXPECT_EQ(times_drawn("Játék kezdése"), 5 + 2) << "redrawn on every pass, and in yellow while highlighted";
  EXPECT_TRUE(drew("Eredménylista", 200, 80, 14));
}

TEST_F(MainMenu, ItemsActInTheirOrder) {
  EXPECT_EQ(run("Up Enter"), 0) << "Kilépés quits";
  EXPECT_TRUE(drew("Viszlát!", 10, 10));

  run("Down Enter Up Enter");
  EXPECT_EQ(shell::HOL, 1) << "back from the settings (its Kilépés ends them) on the first item";
  EXPECT_EQ(times_drawn("Vissza"), 3) << "the settings menu drawn on entry and after each of Up's two bytes";
  EXPECT_TRUE(drew("Viszlát!", 10, 10));
  run("Down Down Enter");
  EXPECT_EQ(shell::HOL, 3) << "the list keeps its item";
  run("Up Up Enter x");
  EXPECT_EQ(shell::HOL, 1) << "back from the about screen on the first item";

  run("Enter");
  EXPECT_EQ(recorder->count_sounds("stop", 1), 1) << "a game stops the menu music";
}

int g_extra_chosen = 0;

TEST_F(MainMenu, AGameEndsOnTheListWhereverItsItemStands) {
  // A main menu with one more item above the list's: a game that ends with
  // an entry goes on to the list all the same, its item highlighted, and the
  // new item is never run.
  write_banks('a');
  start("Enter a n a n m a n n Esc");  // two right, stop, mark, the stop's prompt, the list's key
  auto items = shell::main_menu_items();
  ASSERT_EQ(items.size(), 5U);
  items.insert(items.begin() + 2, {"Próba", 75, [] { ++g_extra_chosen; }});
  shell::HOL = 1;
  shell::main_menu(items);
  EXPECT_EQ(g_extra_chosen, 0);
  EXPECT_TRUE(drew(" H. Név                       Ksz. Pontszám          Dátum", 100, 55));
  EXPECT_TRUE(drew(" 1. ZorvinSoft", 100, 70));
  EXPECT_EQ(shell::HOL, 4) << "the list's item";
  EXPECT_TRUE(drew("Eredménylista", 200, 80, 14)) << "highlighted in the menu after the list";
  EXPECT_EQ(shell::FOMENU, 27);

  // A game that ends without an entry comes back to the menu on its first item.
  start("Enter b n Esc");
  shell::HOL = 1;
  shell::main_menu(items);
  EXPECT_EQ(times_drawn(" H. Név                       Ksz. Pontszám          Dátum"), 0);
  EXPECT_EQ(shell::HOL, 1);
  EXPECT_EQ(g_extra_chosen, 0);
}

TEST_F(MainMenu, SoundSwitchedOffMeansNoMusicButTheStopStillHappens) {
  auto s = factory();
  s.HANGOK = 2;
  write_settings(s);
  run("Enter Esc");
  const auto sounds = recorder->sounds();
  EXPECT_EQ(
      std::count_if(sounds.begin(), sounds.end(), [](const auto& sound) { return sound.file.ends_with("Main.mp3"); }),
      0);
  EXPECT_EQ(recorder->count_sounds("play"), 0);
  EXPECT_EQ(recorder->count_sounds("load", 1, "Sounds\\5050.mp3"), 1) << "the game's sounds load all the same";
  EXPECT_EQ(recorder->count_sounds("stop", 1), 1);
}

TEST_F(MainMenu, KeysTypedDuringTheTitleWaitForTheMenu) {
  run("@100 Down @4000 Enter Esc");
  EXPECT_EQ(shell::HOL, 1) << "Down, then Enter on the settings, which come back on item 1";
  ASSERT_FALSE(recorder->waits().empty());
  EXPECT_EQ(recorder->waits()[0].ms, 5000U);
  const auto keys = recorder->keys();
  EXPECT_EQ(std::count_if(keys.begin(), keys.end(), [](const auto& k) { return k.byte == 13; }), 1);
}

TEST_F(MainMenu, ABadSettingsFileEndsTheProgramBeforeTheWindowOpens) {
  fs::remove("Data/Config.cfg");
  EXPECT_EQ(run("Esc"), 2);
  EXPECT_EQ(backend->times_opened(), 0);
  EXPECT_NE(captured_stderr.find("Data/Config.cfg"), std::string::npos) << captured_stderr;
  EXPECT_NE(captured_stderr.find("not found"), std::string::npos);

  auto bytes = read_file(fs::path(ZELVANOS_GAME).parent_path() / "run" / "Data" / "Config.cfg");
  ASSERT_EQ(bytes.size(), 76U) << "the staged factory file";
  bytes.pop_back();
  write_file("Data/Config.cfg", bytes);
  EXPECT_EQ(run("Esc"), 100);
  EXPECT_EQ(backend->times_opened(), 0);
  EXPECT_NE(captured_stderr.find("75 of 76"), std::string::npos) << captured_stderr;
}

TEST_F(MainMenu, TheStagedFactoryFileIsTheResetRecord) {
  const auto staged = read_file(fs::path(ZELVANOS_GAME).parent_path() / "run" / "Data" / "Config.cfg");
  const auto bytes = settings::encode(factory());
  EXPECT_EQ(staged, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

TEST(MenuWidgets, FelLeOnATwelveItemMenu) {
  shell::HOL = 1;
  shell::FEL_LE("H", 12);
  EXPECT_EQ(shell::HOL, 12);
  shell::FEL_LE("P", 12);
  EXPECT_EQ(shell::HOL, 1);
  for (const char* s : {"h", "p", "", "HH", "\x00"}) {
    shell::FEL_LE(s, 12);
    EXPECT_EQ(shell::HOL, 1) << s;
  }
  shell::FEL_LE(std::string_view("\0", 1), 12);
  EXPECT_EQ(shell::HOL, 1);
}

}  // namespace
