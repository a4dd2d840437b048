// SPDX-License-Identifier: GPL-3.0-or-later
// Question banks: the record layout, the draw and the choice of file.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "game/game.hpp"
#include "game/questions.hpp"
#include "harness.hpp"
#include "platform/files.hpp"
#include "platform/graph.hpp"

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

game::KERDESREKORD record(const std::string& question, const std::string& right = "a") {
  game::KERDESREKORD r;
  r.KERDES.assign(question);
  r.A.assign("A " + question);
  r.B.assign("B " + question);
  r.C.assign("C " + question);
  r.D.assign("D " + question);
  r.JOVALASZ.assign(right);
  return r;
}

// A bank of `count` questions "Q1" ... and a terminator after them.
game::KERDESEKFULL bank_of(int count, const std::string& prefix = "Q") {
  game::KERDESEKFULL bank{};
  for (int i = 0; i < count; ++i) bank[static_cast<std::size_t>(i)] = record(prefix + std::to_string(i + 1));
  if (count < 100) bank[static_cast<std::size_t>(count)].KERDES.assign("*");
  return bank;
}

void write_bank(const fs::path& path, const game::KERDESEKFULL& bank) {
  fs::create_directories(path.parent_path());
  write_file(path, game::encode_bank(bank));
}

class Banks : public HeadlessTest {
 protected:
  // The questions drawn from a file over many draws at different times.
  std::set<std::string> draws(std::string_view file, int times = 3000) {
    std::set<std::string> seen;
    for (int i = 0; i < times; ++i) {
      platform::Delay(3);
      game::KERDEZ_BETOLT(file);
      seen.insert(game::KERDES);
    }
    return seen;
  }
};

TEST(QuestionRecord, LayoutWithAlignmentBytes) {
  game::KERDESREKORD r = record("Kerdes", "c");
  const auto bytes = game::encode_record(r);
  EXPECT_EQ(bytes[0], 6);
  EXPECT_EQ(bytes[1], 'K');
  EXPECT_EQ(bytes[102], 8);  // "A Kérdés"
  EXPECT_EQ(bytes[103], 'A');
  EXPECT_EQ(bytes[154], 8);
  EXPECT_EQ(bytes[155], 'B');
  EXPECT_EQ(bytes[206], 8);
  EXPECT_EQ(bytes[258], 8);
  EXPECT_EQ(bytes[259], 'D');
  EXPECT_EQ(bytes[310], 1);
  EXPECT_EQ(bytes[311], 'c');
  for (const std::size_t gap : {101U, 153U, 205U, 257U, 309U}) EXPECT_EQ(bytes[gap], 0) << gap;

  auto raw = bytes;
  raw[0] = 250;  // longer than the field
  raw[101] = 0x77;
  const auto back = game::decode_record(raw);
  EXPECT_EQ(back.KERDES.view().size(), 100U);
  EXPECT_EQ(game::decode_record(bytes).C.view(), "C Kerdes");
  const auto bank_bytes = game::encode_bank(bank_of(3));
  ASSERT_EQ(bank_bytes.size(), 31200U);
  EXPECT_EQ(game::encode_bank(game::decode_bank(std::span<const std::uint8_t, 31200>(bank_bytes.data(), 31200))),
            bank_bytes);
}

TEST_F(Banks, TheDrawCoversEveryQuestionBeforeTheTerminator) {
  auto bank = bank_of(99);
  write_bank("Questions/Single/szamtech.lmk", bank);
  const auto seen = draws("Questions\\Single\\szamtech.lmk");
  EXPECT_EQ(seen.size(), 99U);
  EXPECT_EQ(seen.count("*"), 0U);

  // " *" and "**" are ordinary questions; a later "*" changes nothing.
  bank = bank_of(3);
  bank[1].KERDES.assign(" *");
  bank[2].KERDES.assign("**");
  bank[5].KERDES.assign("*");
  bank[4] = record("after the terminator");
  write_bank("Questions/Single/szamtech.lmk", bank);
  EXPECT_EQ(draws("Questions\\Single\\szamtech.lmk", 500), (std::set<std::string>{"Q1", " *", "**"}));
}

TEST_F(Banks, ABankWithoutTerminatorHoldsAllHundred) {
  write_bank("Questions/x.lmk", bank_of(100));
  EXPECT_EQ(draws("Questions\\x.lmk", 5000).size(), 100U);
  EXPECT_GE(game::KERDESEK, 1);
  EXPECT_LE(game::KERDESEK, 100);
}

TEST_F(Banks, QuestionsWithoutAUsableRightAnswerAreNeverDrawn) {
  auto bank = bank_of(4);
  bank[0].JOVALASZ.assign("e");
  bank[1].JOVALASZ.assign("");
  bank[2].JOVALASZ.assign("B");
  write_bank("Questions/x.lmk", bank);
  EXPECT_EQ(draws("Questions\\x.lmk", 300), (std::set<std::string>{"Q3", "Q4"}));
  game::KERDEZ_BETOLT("Questions\\x.lmk");
  EXPECT_TRUE(game::JOVALASZ == "a" || game::JOVALASZ == "b");
  while (game::KERDES != "Q3") {
    platform::Delay(1);
    game::KERDEZ_BETOLT("Questions\\x.lmk");
  }
  EXPECT_EQ(game::JOVALASZ, "b") << "an upper-case letter counts as its lower-case one";
  EXPECT_EQ(game::KERDESEK, 3) << "the index of the record drawn";
}

TEST_F(Banks, UnaskableAndDamagedBanksEndTheProgram) {
  const auto expect_fail = [](int code, const char* why) {
    std::string what;
    EXPECT_TRUE(fails_with_io_error(
        code, [] { game::KERDEZ_BETOLT("Questions\\x.lmk"); }, &what))
        << why;
    EXPECT_NE(what.find("Questions/x.lmk"), std::string::npos) << what;
  };
  expect_fail(3, "no Questions folder");
  fs::create_directory("Questions");
  expect_fail(2, "missing");
  write_bank("Questions/x.lmk", bank_of(0));
  expect_fail(100, "the terminator first");
  auto bank = bank_of(2);
  bank[0].JOVALASZ.assign("x");
  bank[1].JOVALASZ.assign("");
  write_bank("Questions/x.lmk", bank);
  expect_fail(100, "nothing answerable");
  auto bytes = game::encode_bank(bank_of(5));
  bytes.resize(31199);
  write_file("Questions/x.lmk", bytes);
  expect_fail(100, "short");
  bytes = game::encode_bank(bank_of(5));
  bytes.resize(40000, 0xEE);
  write_file("Questions/x.lmk", bytes);
  EXPECT_NO_THROW(game::KERDEZ_BETOLT("Questions\\x.lmk")) << "a longer file loads; its tail is ignored";
}

TEST_F(Banks, TheSetModeAndLevelChooseTheFile) {
  for (int level = 1; level <= 10; ++level) {
    const std::string nn = (level < 10 ? "0" : "") + std::to_string(level);
    write_bank("Questions/Default/" + nn + ".lmk", bank_of(5, "Default " + nn + " #"));
    write_bank("Questions/Children/" + nn + ".lmk", bank_of(5, "Children " + nn + " #"));
  }
  write_bank("Questions/Single/szamtech.lmk", bank_of(5, "szamtech #"));
  write_bank("Questions/Single/kelvarion.lmk", bank_of(5, "kelvarion #"));
  write_bank("Questions/Single/labdarugas.lmk", bank_of(5, "labdarugas #"));

  const auto ask = [](int set, int mode, int level) {
    settings::CONFIG.KERDESEK = static_cast<std::int16_t>(set);
    settings::CONFIG.JATEKMOD = static_cast<std::int16_t>(mode);
    game::X = static_cast<std::int16_t>(level);
    platform::Delay(13);
    game::KERDEZ();
    return game::KERDES.substr(0, game::KERDES.find(" #"));
  };
  EXPECT_EQ(ask(1, 1, 7), "Default 07");
  EXPECT_EQ(ask(1, 1, 10), "Default 10");
  EXPECT_EQ(ask(2, 1, 3), "Children 03");
  for (int level : {1, 6, 10}) {
    EXPECT_EQ(ask(3, 1, level), "szamtech");
    EXPECT_EQ(ask(4, 0, level), "kelvarion");
    EXPECT_EQ(ask(5, 0, level), "labdarugas");
  }
  std::set<std::string> random_files;
  for (int i = 0; i < 300; ++i) {
    const std::string got = ask(1, 0, 2);
    const std::string nn = (game::VELETLEN < 10 ? "0" : "") + std::to_string(game::VELETLEN);
    EXPECT_EQ(got, "Default " + nn) << "the random file is the one drawn";
    random_files.insert(got);
  }
  EXPECT_EQ(random_files.size(), 10U);
  for (int i = 0; i < 50; ++i) random_files.insert(ask(2, 7, 1));
  EXPECT_GT(random_files.size(), 10U) << "any mode but 1 is random";

  const std::string before = ask(3, 1, 1);
  const std::string answer = game::JOVALASZ;
  EXPECT_EQ(ask(6, 1, 1), before) << "an unknown set keeps the previous question";
  EXPECT_EQ(ask(0, 1, 1), before);
  EXPECT_EQ(game::JOVALASZ, answer);
}

TEST(WrongLetters, AreTheOtherThreeInOrder) {
  const std::pair<const char*, std::array<const char*, 3>> cases[] = {
      {"a", {"b", "c", "d"}}, {"b", {"a", "c", "d"}}, {"c", {"a", "b", "d"}}, {"d", {"a", "b", "c"}}};
  for (const auto& [right, wrong] : cases) {
    game::JOVALASZ = right;
    game::ROSSZVALASZ();
    EXPECT_EQ(game::ROSSZVALASZ1, wrong[0]);
    EXPECT_EQ(game::ROSSZVALASZ2, wrong[1]);
    EXPECT_EQ(game::ROSSZVALASZ3, wrong[2]);
  }
  for (const char* odd : {"A", "", "e", "ab"}) {
    game::JOVALASZ = odd;
    game::ROSSZVALASZ();
    EXPECT_EQ(game::ROSSZVALASZ1, "a") << odd;
    EXPECT_EQ(game::ROSSZVALASZ3, "c") << odd;
  }
}

}  // namespace

// One game never asks a question twice while its bank holds one not yet
// asked; every game starts with nothing asked.
class NoRepeats : public GameTest {
 protected:
  // The questions of every game, in the order asked: `games` games that each
  // climb to the top prize, played one after the other in one session.
  std::vector<std::vector<std::string>> play(int games) {
    std::string keys;
    for (int g = 0; g < games; ++g) {
      keys += " Enter";
      for (int level = 0; level < 10; ++level) keys += " a n";
      keys += " Esc Up Up";  // from the list back to the first menu item
    }
    run(keys);
    std::vector<std::vector<std::string>> out;
    for (const auto& text : recorder->texts_at(100, 53)) {
      // "N. question", padded with blanks.
      std::string question = text.utf8.substr(text.utf8.find(". ") + 2);
      question.erase(question.find_last_not_of(' ') + 1);
      if (out.empty() || out.back().size() == 10) out.emplace_back();
      out.back().push_back(question);
    }
    EXPECT_EQ(out.size(), static_cast<std::size_t>(games));
    if (!out.empty()) {
      EXPECT_EQ(out.back().size(), 10U);
    }
    return out;
  }
  void use_set(int set, int mode = 1) {
    auto s = factory();
    s.KERDESEK = static_cast<std::int16_t>(set);
    s.JATEKMOD = static_cast<std::int16_t>(mode);
    write_settings(s);
  }
};

TEST_F(NoRepeats, ASmallSingleFileSetOverManyGames) {
  write_bank("Questions/Single/szamtech.lmk", bank_of(12));
  use_set(3);
  std::set<std::string> ever;
  for (const auto& game_questions : play(100)) {
    const std::set<std::string> distinct(game_questions.begin(), game_questions.end());
    ASSERT_EQ(distinct.size(), 10U) << ::testing::PrintToString(game_questions);
    ever.insert(distinct.begin(), distinct.end());
  }
  EXPECT_EQ(ever.size(), 12U) << "every question still comes up";

  // Ten questions: each game asks all ten, so nothing carries over from
  // the game before.
  write_bank("Questions/Single/szamtech.lmk", bank_of(10));
  for (const auto& game_questions : play(50)) {
    ASSERT_EQ(std::set<std::string>(game_questions.begin(), game_questions.end()).size(), 10U);
  }
}

TEST_F(NoRepeats, ABankSmallerThanAGameAsksEachBeforeAnyAgain) {
  auto bank = bank_of(5);
  bank[2].JOVALASZ.assign("x");  // never drawn
  write_bank("Questions/Single/kelvarion.lmk", bank);
  use_set(4);
  for (const auto& game_questions : play(50)) {
    EXPECT_EQ(std::set<std::string>(game_questions.begin(), game_questions.begin() + 4),
              (std::set<std::string>{"Q1", "Q2", "Q4", "Q5"}));
    EXPECT_EQ(std::count(game_questions.begin(), game_questions.end(), "Q3"), 0);
  }
}

TEST_F(NoRepeats, RandomModeRemembersEachFile) {
  // Random-questions mode draws a level file for every level; a file's
  // question comes back only once all of that file's have been asked.
  for (int level = 1; level <= 10; ++level) {
    const std::string nn = (level < 10 ? "0" : "") + std::to_string(level);
    write_bank("Questions/Children/" + nn + ".lmk", bank_of(level == 1 ? 1 : 2, "F" + nn + "-Q"));
  }
  use_set(2, 0);
  int repeats = 0;
  for (const auto& game_questions : play(100)) {
    std::set<std::string> asked;
    for (const auto& q : game_questions) {
      if (asked.count(q) != 0) {
        ++repeats;
        const std::string file = q.substr(0, q.find('-'));
        const bool single = file == "F01";
        EXPECT_TRUE(single || (asked.count(file + "-Q1") != 0 && asked.count(file + "-Q2") != 0))
            << ::testing::PrintToString(game_questions);
      }
      asked.insert(q);
    }
  }
  EXPECT_GT(repeats, 0) << "with ten levels and small files, some file runs out";
}
