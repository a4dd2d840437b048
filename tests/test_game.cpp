// SPDX-License-Identifier: GPL-3.0-or-later
// Whole games through the headless backend: endings, lifelines, type-ahead,
// timings and the high-score list.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <set>
#include <variant>

#include "game/game.hpp"
#include "game/highscores.hpp"
#include "game/ladder.hpp"
#include "game/lifelines.hpp"
#include "game/outcomes.hpp"
#include "game/questions.hpp"
#include "harness.hpp"
#include "platform/graph.hpp"
#include "screen/gamescreen.hpp"
#include "shell/menu.hpp"

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

// Keys that answer `levels` questions right, each followed by a key for the prompt.
std::string climb(int levels) {
  std::string keys;
  for (int i = 0; i < levels; ++i) keys += " a n";
  return keys;
}

game::EREDMENYLISTA stored_list() {
  const auto bytes = read_file("Data/HighScores.cfg");
  EXPECT_EQ(bytes.size(), 730U);
  return game::decode(std::span<const std::uint8_t, 730>(bytes.data(), 730));
}

class Game : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    write_banks();
  }
  void sound(bool on) {
    auto s = factory();
    s.HANGOK = on ? 1 : 0;
    write_settings(s);
  }
  // The high-score list screen showed this place's row (from 1): its number
  // with the name, and the level reached.
  bool listed(int place, std::string_view name, std::string_view level) const {
    const int y = 60 + 10 * place;
    const std::string label = (place < 10 ? " " : "") + std::to_string(place) + ". " + std::string(name);
    return drew(label, 100, y) && drew(level, 340, y);
  }
};

TEST_F(Game, TheTopPrizeEntersTheListAndShowsIt) {
  EXPECT_EQ(run("Enter" + climb(9) + " a n Esc", date(2005, 3, 7)), 0);
  EXPECT_EQ(times_drawn("A következő kérdéshez nyomjon meg egy billentyűt."), 9);
  EXPECT_EQ(times_drawn("A menühöz lépéshez nyomjon meg egy billentyűt", 100, 160, 15, 1), 1);
  EXPECT_EQ(times_drawn("Gratulálok! Felkerült az eredménylistára."), 1);
  EXPECT_EQ(game::X, 11);
  const auto list = stored_list();
  EXPECT_EQ(list.NEV[0].view(), "ZorvinSoft");
  EXPECT_EQ(list.X[0], 10);
  EXPECT_EQ(list.PONT[0].view(), "1 500 000 000");
  EXPECT_EQ(list.DATUM[0].view(), "2005. 3. 7");
  EXPECT_EQ(list.X[1], 0) << "nine empty places after a first entry without a file";
  // The list screen follows at once, with the highlight left on its item.
  EXPECT_TRUE(listed(1, "ZorvinSoft", "10"));
  EXPECT_TRUE(drew("1 500 000 000", 380, 70));
  EXPECT_TRUE(drew("2005. 3. 7", 524, 70));
  EXPECT_EQ(shell::HOL, 3);
}

TEST_F(Game, TheHostNamesTheGuaranteedSumAndTheTopPrizeFromTheLadder) {
  // Every phrase of the two, over many seeds, as the host says it.
  std::string keys;
  for (int i = 0; i < 250; ++i) keys += " n";
  start(keys);
  for (int i = 0; i < 100; ++i) {
    platform::Delay(7);
    game::X = game::kGuaranteedLevel;
    game::OK_GARANTALT1();
    game::X = game::kTopLevel;
    game::OK_VEGE();
    EXPECT_EQ(game::X, 11);
    EXPECT_EQ(game::NYEREMENY, "1 500 000 000");
  }
  std::set<std::string> said;
  for (const auto& t : recorder->texts()) {
    if (t.x == 100 && (t.y == 130 || t.y == 140)) said.insert(t.utf8);
  }
  EXPECT_EQ(said,
            (std::set<std::string>{
                "Ön most már nem távozik üres kézzel. Gratulálok!", "Megvan a garantált 100 000 000Ft.",
                "Ezt is helyesen fejtette meg. 1 500 000 000Ft.", "Mire fog tudni ennyi pénzt elkölteni? :-)",
                "Még ezt is azonnal tudta, mondja, ön kitől tanulta ezeket?",
                "1 500 000 000Ft. Bárcsak én nyertem volna ennyi pénzt! :-)", "Gratulálok!", "1 500 000 000Ft az Öné.",
                "Mától Ön másfél-zelvanos.", "Gratulálok ehhez a \"csekély\" összeghez."}));
}

TEST_F(Game, WrongAnswersBeforeAndAfterTheGuarantee) {
  run("Enter" + climb(2) + " b x");
  EXPECT_EQ(
      count_texts("sajnál") + count_texts("Úgy hiszem") + count_texts("Sajnálom, hogy") + count_texts("Lehet, hogy"),
      1);
  EXPECT_EQ(count_texts("garantált százmillió"), 0);
  EXPECT_FALSE(fs::exists("Data/HighScores.cfg")) << "no entry before the guarantee";
  EXPECT_EQ(shell::HOL, 1);
  EXPECT_EQ(game::VALASZ, "99");

  run("Enter" + climb(4) + " d x", date(2005, 3, 7));
  EXPECT_EQ(count_texts("garantált százmillió"), 0) << "level 5 is not yet guaranteed";
  EXPECT_FALSE(fs::exists("Data/HighScores.cfg"));

  run("Enter" + climb(6) + " c x Esc", date(2005, 3, 7));
  EXPECT_EQ(count_texts("garantált százmillió az Öné."), 1);
  const auto list = stored_list();
  EXPECT_EQ(list.X[0], 6);
  EXPECT_EQ(list.PONT[0].view(), "200 000 000");
  EXPECT_TRUE(drew(" H. Név                       Ksz. Pontszám          Dátum", 100, 55));
}

TEST_F(Game, StoppingKeepsWhatWasWon) {
  run("Enter m a x");
  EXPECT_TRUE(drew("Játékon kívül, kérem jelöljön meg egy választ.", 100, 130));
  EXPECT_TRUE(drew("Az ön nyereménye 0Ft", 100, 70));
  EXPECT_TRUE(drew("A menühöz lépéshez nyomjon meg egy gombot.", 100, 90));
  EXPECT_FALSE(fs::exists("Data/HighScores.cfg")) << "nothing answered, nothing recorded";
  EXPECT_EQ(shell::HOL, 1);

  // The key marked after stopping is a wrong letter: no second outcome.
  run("Enter" + climb(3) + " m b x Esc");
  EXPECT_TRUE(drew("Az ön nyereménye 25 000 000Ft", 100, 70));
  EXPECT_EQ(texts_ending("nyomjon meg egy billentyűt."), 3) << "three praises";
  EXPECT_EQ(texts_ending("nyomjon meg egy billentyűt"), 0) << "no wrong-answer prompt";
  EXPECT_EQ(stored_list().X[0], 3);
  EXPECT_EQ(stored_list().PONT[0].view(), "25 000 000");
  EXPECT_EQ(game::VALASZ, "99");
}

TEST_F(Game, UnrecognisedKeysEndTheGameSilently) {
  for (const char* key : {"z", "A", "Enter", "Up"}) {
    run(std::string("Enter a n ") + key);
    EXPECT_EQ(recorder->texts_at(100, 130).size(), 1U) << key << ": only the first praise";
    EXPECT_EQ(count_texts("Játékon kívül"), 0) << key;
    EXPECT_FALSE(fs::exists("Data/HighScores.cfg")) << key;
    // An arrow's 0 ends the game; its code then moves the menu's highlight.
    EXPECT_EQ(shell::HOL, std::string(key) == "Up" ? 5 : 1) << key;
  }
}

TEST_F(Game, LifelinesInTheirOrderOnly) {
  sound(true);
  run("Enter t f k a n z");
  EXPECT_EQ(recorder->count_sounds("play", 7), 1);
  EXPECT_EQ(recorder->count_sounds("play", 1), 2) << "the menu music and the 50:50";
  EXPECT_EQ(recorder->count_sounds("play", 5), 1);
  EXPECT_EQ(count_texts("Ez a helyes") + count_texts("Ön \"egy") + count_texts("Lenyűgöző") + texts_starting("Helyes") +
                count_texts("Szép megfejtés") + count_texts("Gratulálok, ") + count_texts("Hát perszeee") +
                count_texts("Jól van") + count_texts("kitűnő logikával") + count_texts("Remek!"),
            1)
      << "the answer after the three lifelines counts";
  // The telephone's line moved the praise down.
  const bool long_line = count_texts("Szerintem is az") == 1;
  EXPECT_EQ(recorder->texts_at(100, long_line ? 170 : 150).size(), 1U);

  run("Enter f t a");
  EXPECT_TRUE(recorder->texts_at(100, 130).empty()) << "t after f is no answer and ends the game";

  run("Enter t t a");
  EXPECT_EQ(count_texts("Szerintem"), 1);
}

TEST_F(Game, AUsedLifelineSaysSoAndStillTakesItsTurn) {
  run("Enter t a n t a n f k a n z");
  const std::string used_up = "Sajnálom, de ezt a segítséget már elhasználtad.";
  EXPECT_EQ(times_drawn(used_up), 1);
  EXPECT_EQ(times_drawn(used_up, 100, 130, 15, 1), 1);
  // The used-up telephone moves the next lines 40 pixels down.
  const auto& texts = recorder->texts();
  std::size_t used = 0;
  while (used < texts.size() && texts[used].utf8 != used_up) ++used;
  std::vector<platform::Recorder::TextDraw> host_lines;
  for (std::size_t i = used + 1; i < texts.size() && host_lines.size() < 2; ++i) {
    if (texts[i].x == 100 && texts[i].y >= 100 && texts[i].y < 200) host_lines.push_back(texts[i]);
  }
  ASSERT_EQ(host_lines.size(), 2U);
  EXPECT_EQ(host_lines[0].y, 170) << host_lines[0].utf8;
  EXPECT_EQ(host_lines[1].y, 190);
  EXPECT_EQ(host_lines[1].colour, 15);
  EXPECT_TRUE(host_lines[1].utf8.starts_with("A következő kérdéshez")) << host_lines[1].utf8;
}

// The right answer's letter picks the wrong answers, the box the 50:50
// spares and the audience's tallest column; a right answer that names no box
// leaves all three alone.
TEST_F(Game, TheRightLetterDecidesWhatTheAnswerStepsTouch) {
  const std::array<std::string, 4> letters = {"a", "b", "c", "d"};
  for (std::size_t right = 0; right < 4; ++right) {
    start();
    game::JOVALASZ = letters[right];
    game::ROSSZVALASZ();
    std::set<std::string> wrong = {game::ROSSZVALASZ1, game::ROSSZVALASZ2, game::ROSSZVALASZ3};
    wrong.insert(letters[right]);
    EXPECT_EQ(wrong.size(), 4U) << letters[right];

    // Every box holds text; the 50:50 leaves the right one and one other.
    for (const auto& box : screen::kAnswerBoxes) screen::fill_strip(box.box, 15);
    game::SEGITSEG2();
    int kept = 0;
    for (std::size_t i = 0; i < 4; ++i) {
      const screen::Rect strip = screen::kAnswerBoxes[i].box.strip();
      const bool lit = platform::surface().pixel(strip.left + 10, strip.top + 5) == 15;
      kept += lit ? 1 : 0;
      if (i == right) {
        EXPECT_TRUE(lit) << letters[right];
      }
    }
    EXPECT_EQ(kept, 2) << letters[right];

    game::SEGITSEG3();
    int tallest = -1;
    int most = -1;
    for (int column = 0; column < 4; ++column) {
      int height = 0;
      for (int y = 340; y > 240 && platform::surface().pixel(664 + 24 * column, y) == 15; --y) ++height;
      if (height > most) {
        most = height;
        tallest = column;
      }
    }
    EXPECT_EQ(tallest, static_cast<int>(right)) << letters[right];
  }
  for (const std::string& odd : std::array<std::string, 4>{"", "e", "ab", std::string(1, '\0')}) {
    start();
    game::JOVALASZ = odd;
    game::ROSSZVALASZ1 = "x";
    game::ROSSZVALASZ();
    EXPECT_EQ(game::ROSSZVALASZ1, "x");
    for (const auto& box : screen::kAnswerBoxes) screen::fill_strip(box.box, 15);
    game::SEGITSEG2();
    for (const auto& box : screen::kAnswerBoxes) {
      EXPECT_EQ(platform::surface().pixel(box.box.strip().left, box.box.strip().top), 15);
    }
    EXPECT_EQ(game::FELEZ, game::kLifelineUsed) << "spent all the same";
  }
}

TEST_F(Game, LifelinesAreAvailableAgainInTheNextGame) {
  run("Enter t z Enter t z");
  EXPECT_EQ(count_texts("Szerintem"), 2);
  EXPECT_EQ(count_texts("elhasználtad"), 0);
}

TEST_F(Game, ALifelineSwitchedOffBeforeTheGame) {
  start("f a n z");
  game::FELEZ = 5;
  game::START();
  EXPECT_TRUE(drew("Sajnálom, de ezt a segítséget már elhasználtad.", 100, 130));
  EXPECT_EQ(recorder->texts_at(100, 150).size(), 1U) << "the answer after it is praised one line lower";
  EXPECT_EQ(recorder->count_sounds("play", 1), 0) << "no 50:50 sound";
}

TEST_F(Game, KeysTypedAheadAreReadInOrder) {
  // "a" arrives during the announcement, "n" during the flash, the second "a"
  // during the next announcement: the game goes on without waiting.
  run("Enter @6000 a @9000 n @12000 a @16000 n z");
  EXPECT_EQ(recorder->texts_at(100, 130).size(), 2U) << "two right answers";
  const auto keys = recorder->keys();
  EXPECT_EQ(std::count(keys.begin(), keys.end(), platform::Recorder::KeyRead{8000, 'a'}), 1)
      << "read when the question stands";
}

TEST_F(Game, TimelineOfARightAnswerOnLevelFive) {
  sound(true);
  run("Enter" + climb(4) + " a n z");
  // From the key on level 5: marking, 1 000 ms, slot 9, 3 000 ms, five 200 ms phases.
  using R = platform::Recorder;
  const auto& events = recorder->events();
  std::size_t at = 0;
  for (std::size_t i = 0; i < events.size(); ++i) {
    const auto* t = std::get_if<R::TextDraw>(&events[i]);
    if (t != nullptr && t->x == 100 && t->y == 53 && t->utf8.find("5. Question") != std::string::npos) at = i;
  }
  ASSERT_GT(at, 0U);
  std::vector<R::Event> seen;
  for (std::size_t i = at; i < events.size(); ++i) {
    if (std::holds_alternative<R::TextDraw>(events[i]) || std::holds_alternative<R::KeyWait>(events[i])) continue;
    seen.push_back(events[i]);
    if (const auto* k = std::get_if<R::KeyRead>(&events[i]); k != nullptr && k->byte == 'n') break;
  }
  ASSERT_FALSE(seen.empty());
  const std::uint32_t t = std::visit([](const auto& e) { return e.ms; }, seen.front());
  const std::vector<R::Event> expected = {
      R::KeyRead{t, 'a'},      R::Delay{t, 1000},        R::Sound{t + 1000, "play", 9, ""}, R::Delay{t + 1000, 3000},
      R::Delay{t + 4000, 200}, R::Delay{t + 4200, 200},  R::Delay{t + 4400, 200},           R::Delay{t + 4600, 200},
      R::Delay{t + 4800, 200}, R::KeyRead{t + 5000, 'n'}};
  EXPECT_EQ(seen, expected);

  sound(false);
  run("Enter" + climb(4) + " a n z");
  EXPECT_EQ(recorder->count_delays(3000), 2) << "only the announcements of levels 1 and 6";
  EXPECT_EQ(recorder->count_delays(1500), 4) << "those of levels 2 to 5";
}

TEST_F(Game, ReachingLevelSixLoadsTheSecondSetAndMarksWithSound) {
  sound(true);
  run("Enter" + climb(5) + " a n z");
  EXPECT_EQ(recorder->count_sounds("load", 2, "Sounds\\lose2.mp3"), 1);
  EXPECT_EQ(recorder->count_sounds("play", 4), 3) << "entering levels 1, 6 and 7";
  EXPECT_EQ(recorder->count_sounds("play", 3), 1) << "marking from level 6 on";
  EXPECT_EQ(recorder->count_sounds("play", 8), 5);
  EXPECT_EQ(recorder->count_delays(1500), 4 + 1);
}

class HighScores : public Game {
 protected:
  void write_list(const game::EREDMENYLISTA& list) {
    const auto bytes = game::encode(list);
    write_file("Data/HighScores.cfg", {bytes.begin(), bytes.end()});
  }
  game::EREDMENYLISTA scores(std::initializer_list<int> xs) {
    game::EREDMENYLISTA list;
    std::size_t i = 0;
    for (const int x : xs) {
      list.NEV[i].assign(std::string("P").append(std::to_string(i + 1)));
      list.X[i] = static_cast<std::int16_t>(x);
      list.PONT[i].assign(std::to_string(x));
      list.DATUM[i].assign("2004. 1. 1.");
      ++i;
    }
    return list;
  }
};

TEST_F(HighScores, TheFileAfterAnEntryIsExactlyTheRecord) {
  game::EREDMENYLISTA list;
  game::reset_list(list);
  write_list(list);
  run("Enter" + climb(3) + " m a x Esc", date(2005, 12, 24));
  game::EREDMENYLISTA expected = list;
  for (std::size_t i = 9; i > 0; --i) {
    expected.NEV[i] = list.NEV[i - 1];
    expected.X[i] = list.X[i - 1];
    expected.PONT[i] = list.PONT[i - 1];
    expected.DATUM[i] = list.DATUM[i - 1];
  }
  expected.NEV[0].assign("ZorvinSoft");
  expected.X[0] = 3;
  expected.PONT[0].assign("25 000 000");
  expected.DATUM[0].assign("2005. 12. 24");
  const auto bytes = game::encode(expected);
  EXPECT_EQ(read_file("Data/HighScores.cfg"), std::vector<std::uint8_t>(bytes.begin(), bytes.end()))
      << "X2 is neither moved nor refreshed by an entry";
}

TEST_F(HighScores, TiesGoAboveAndTheTenthPlaceCounts) {
  write_list(scores({9, 8, 7, 3, 3, 3, 2, 2, 2, 1}));
  run("Enter" + climb(3) + " m a x Esc");
  auto list = stored_list();
  EXPECT_EQ(list.NEV[3].view(), "ZorvinSoft") << "above the equal entries";
  EXPECT_EQ(list.NEV[4].view(), "P4");
  EXPECT_EQ(list.NEV[9].view(), "P9") << "the old tenth leaves";

  write_list(scores({9, 9, 9, 9, 9, 9, 9, 9, 9, 0}));
  run("Enter" + climb(2) + " m a x Esc");
  list = stored_list();
  EXPECT_EQ(list.NEV[9].view(), "ZorvinSoft") << "beating only the tenth entry still enters";
  EXPECT_EQ(list.X[9], 2);
  EXPECT_EQ(count_texts("Felkerült"), 1);

  write_list(scores({9, 9, 9, 9, 9, 9, 9, 9, 9, 9}));
  run("Enter" + climb(2) + " m a x Esc");
  EXPECT_EQ(stored_list().NEV[9].view(), "P10");
  EXPECT_EQ(count_texts("Felkerült"), 0);
  EXPECT_EQ(texts_starting(" H. Név"), 1) << "the list follows the game anyway";
}

TEST_F(HighScores, TheListScreenAndItsReset) {
  write_list(scores({7, 5}));
  run("Down Down Enter T Enter t Esc");
  EXPECT_EQ(texts_starting(" H. Név"), 2);
  const auto list = stored_list();
  for (std::size_t i = 0; i < 10; ++i) {
    EXPECT_EQ(list.NEV[i].view(), "ZorvinSoft");
    EXPECT_EQ(list.X[i], 1);
    EXPECT_EQ(list.PONT[i].view(), "0");
    EXPECT_EQ(list.DATUM[i].view(), "2005. 1. 1.");
  }
  EXPECT_TRUE(drew("T - Összes eredmény törlése", 200, 180));
  EXPECT_TRUE(drew("A visszalépéshez nyomjon meg egy gombot", 150, 190));
  EXPECT_TRUE(listed(2, "P2", "5"));
  EXPECT_TRUE(drew("10. ", 100, 160));
  EXPECT_EQ(shell::HOL, 3);
}

TEST_F(HighScores, AMissingFileShowsTheListOfThisRun) {
  EXPECT_EQ(run("Down Down Enter x Esc"), 0) << "no file: the empty list of this run";
  EXPECT_TRUE(drew(" 1. ", 100, 70));
  EXPECT_FALSE(fs::exists("Data/HighScores.cfg"));

  auto longer = game::encode(scores({4}));
  std::vector<std::uint8_t> bytes(longer.begin(), longer.end());
  bytes.resize(800, 0x11);
  write_file("Data/HighScores.cfg", bytes);
  run("Down Down Enter t Esc");
  EXPECT_EQ(read_file("Data/HighScores.cfg").size(), 730U) << "the next write cuts it to one record";
}

// The files a damaged list was set aside as.
std::vector<fs::path> set_aside() {
  std::vector<fs::path> kept;
  for (const auto& e : fs::directory_iterator("Data")) {
    if (e.path().filename().string().rfind("HighScores.cfg.damaged-", 0) == 0) kept.push_back(e.path());
  }
  return kept;
}

TEST_F(HighScores, ADamagedFileIsSetAsideAndTheListStartsAfresh) {
  // The list screen: the damaged file is kept, the reset list shown, "t" works.
  const std::vector<std::uint8_t> short_file(729, 0x42);
  write_file("Data/HighScores.cfg", short_file);
  const fs::path decoy = "Data/HighScores.cfg.damaged-" + platform::local_timestamp();
  write_file(decoy, {'d'});
  EXPECT_EQ(run("Down Down Enter t Esc"), 0);
  EXPECT_EQ(read_file(decoy), std::vector<std::uint8_t>{'d'}) << "an older file of that name is never replaced";
  fs::remove(decoy);
  EXPECT_TRUE(drew(" 1. ZorvinSoft", 100, 70));
  EXPECT_TRUE(drew("10. ZorvinSoft", 100, 160));
  auto kept = set_aside();
  ASSERT_EQ(kept.size(), 1U);
  EXPECT_EQ(read_file(kept[0]), short_file) << "kept as it was";
  EXPECT_NE(captured_stderr.find("HighScores.cfg"), std::string::npos);
  EXPECT_NE(captured_stderr.find(fs::absolute(kept[0]).string()), std::string::npos) << captured_stderr;
  EXPECT_EQ(std::count(captured_stderr.begin(), captured_stderr.end(), '\n'), 1) << captured_stderr;
  EXPECT_EQ(stored_list().NEV[0].view(), "ZorvinSoft") << "t wrote the reset list";
  EXPECT_EQ(stored_list().X[9], 1);

  // A game's result, with a damaged file again (the same second, maybe):
  // the result enters a fresh list, and neither damaged file is replaced.
  const std::vector<std::uint8_t> other_short(10, 0x17);
  write_file("Data/HighScores.cfg", other_short);
  EXPECT_EQ(run("Enter" + climb(2) + " m a x Esc"), 0);
  kept = set_aside();
  ASSERT_EQ(kept.size(), 2U);
  std::vector<std::vector<std::uint8_t>> contents = {read_file(kept[0]), read_file(kept[1])};
  std::sort(contents.begin(), contents.end(), [](const auto& a, const auto& b) { return a.size() < b.size(); });
  EXPECT_EQ(contents[0], other_short);
  EXPECT_EQ(contents[1], short_file);
  auto list = stored_list();
  EXPECT_EQ(list.X[0], 2) << "the result at place 1 of a fresh list";
  EXPECT_EQ(list.NEV[1].view(), "ZorvinSoft");
  EXPECT_EQ(list.X[1], 1);
  EXPECT_EQ(count_texts("Felkerült"), 1);
  EXPECT_TRUE(listed(1, "ZorvinSoft", "2")) << "the list screen follows with the fresh list";

  // Not a file at all (here a folder in its place): refused as such, and
  // left where it is.
  fs::remove("Data/HighScores.cfg");
  fs::create_directories("Data/HighScores.cfg/inside");
  EXPECT_EQ(run("Down Down Enter x Esc"), 5);
  EXPECT_EQ(set_aside().size(), 2U);
  EXPECT_TRUE(fs::is_directory("Data/HighScores.cfg/inside"));
}

// Thousands of games with random keys: nothing crashes, each game ends at
// most once, and the list on disk stays whole and sorted.
TEST_F(HighScores, RandomGamesKeepTheInvariants) {
  std::mt19937 rng(20261207);
  const std::string keys = "abcdabcdabcdtfkmxA";
  int games = 0;
  for (int run_no = 0; run_no < 40; ++run_no) {
    std::string script;
    for (int k = 0; k < 600; ++k) {
      if (rng() % 8 == 0) {
        script += " Enter";  // a new game, when the menu is on screen
      } else {
        script += std::string(" ") + keys[rng() % keys.size()];
      }
    }
    for (char right : {'a', 'c'}) {
      write_banks(right);
      ASSERT_EQ(run(script), 0) << run_no;
      games += recorder->count_sounds("stop", 1);
      // At most one ending per game: each game's texts between two stops of the menu music.
      int endings = 0;
      for (const auto& event : recorder->events()) {
        if (const auto* s = std::get_if<platform::Recorder::Sound>(&event);
            s && s->operation == "stop" && s->slot == 1) {
          ASSERT_LE(endings, 1);
          endings = 0;
        }
        if (const auto* t = std::get_if<platform::Recorder::TextDraw>(&event);
            t && t->utf8.starts_with("A menühöz lépéshez")) {
          ++endings;
        }
      }
      ASSERT_LE(endings, 1);
      if (fs::exists("Data/HighScores.cfg")) {
        const auto list = stored_list();
        for (std::size_t i = 1; i < 10; ++i) ASSERT_GE(list.X[i - 1], list.X[i]) << "sorted";
      }
    }
  }
  EXPECT_GT(games, 2000);
}

}  // namespace
