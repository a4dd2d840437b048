// SPDX-License-Identifier: GPL-3.0-or-later
// Question banks: the record layout, the draw and the choice of file.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include <unistd.h>

#include "game/asked.hpp"
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
  // (Each draw is remembered in a file written safely, some milliseconds on
  // a busy disk: a few rounds through a bank are enough, since a round
  // never repeats a question.)
  std::set<std::string> draws(std::string_view file, int times = 300) {
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
  EXPECT_EQ(draws("Questions\\Single\\szamtech.lmk", 60), (std::set<std::string>{"Q1", " *", "**"}));
}

TEST_F(Banks, ABankWithoutTerminatorHoldsAllHundred) {
  write_bank("Questions/x.lmk", bank_of(100));
  EXPECT_EQ(draws("Questions\\x.lmk").size(), 100U);
  EXPECT_GE(game::KERDESEK, 1);
  EXPECT_LE(game::KERDESEK, 100);
}

TEST_F(Banks, QuestionsWithoutAUsableRightAnswerAreNeverDrawn) {
  auto bank = bank_of(4);
  bank[0].JOVALASZ.assign("e");
  bank[1].JOVALASZ.assign("");
  bank[2].JOVALASZ.assign("B");
  write_bank("Questions/x.lmk", bank);
  EXPECT_EQ(draws("Questions\\x.lmk", 60), (std::set<std::string>{"Q3", "Q4"}));
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
  for (const auto& game_questions : play(30)) {
    const std::set<std::string> distinct(game_questions.begin(), game_questions.end());
    ASSERT_EQ(distinct.size(), 10U) << ::testing::PrintToString(game_questions);
    ever.insert(distinct.begin(), distinct.end());
  }
  EXPECT_EQ(ever.size(), 12U) << "every question still comes up";

  // Ten questions: each game asks all ten, so nothing carries over from
  // the game before.
  write_bank("Questions/Single/szamtech.lmk", bank_of(10));
  for (const auto& game_questions : play(20)) {
    ASSERT_EQ(std::set<std::string>(game_questions.begin(), game_questions.end()).size(), 10U);
  }
}

TEST_F(NoRepeats, ABankSmallerThanAGameAsksEachBeforeAnyAgain) {
  auto bank = bank_of(5);
  bank[2].JOVALASZ.assign("x");  // never drawn
  write_bank("Questions/Single/kelvarion.lmk", bank);
  use_set(4);
  for (const auto& game_questions : play(20)) {
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
  for (const auto& game_questions : play(40)) {
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

namespace {

// Questions asked from one bank of `size` questions, in order, never repeat
// one before every question has been asked since the bank last started over.
::testing::AssertionResult rounds_never_repeat(const std::vector<std::string>& asked, std::size_t size) {
  std::set<std::string> round;
  for (std::size_t i = 0; i < asked.size(); ++i) {
    if (round.size() == size) round.clear();
    if (!round.insert(asked[i]).second) {
      return ::testing::AssertionFailure() << "question " << i << " (" << asked[i] << ") again after only "
                                           << round.size() << " of " << size << ": " << ::testing::PrintToString(asked);
    }
  }
  return ::testing::AssertionSuccess();
}

std::vector<std::string> joined(const std::vector<std::vector<std::string>>& games) {
  std::vector<std::string> out;
  for (const auto& g : games) out.insert(out.end(), g.begin(), g.end());
  return out;
}

int lines_holding(const std::string& text, std::string_view fragment) {
  std::istringstream in(text);
  int n = 0;
  for (std::string line; std::getline(in, line);) n += line.find(fragment) != std::string::npos ? 1 : 0;
  return n;
}

game::AskedMemory memory_in(const fs::path& file) {
  const auto bytes = read_file(file);
  game::AskedMemory memory;
  EXPECT_EQ(bytes.size(), game::kAskedSize) << file;
  if (bytes.size() != game::kAskedSize) return memory;
  EXPECT_EQ(game::decode_asked(std::span<const std::uint8_t, game::kAskedSize>(bytes.data(), bytes.size()), memory),
            game::AskedFileState::kGood);
  return memory;
}

void write_memory(const fs::path& file, const game::AskedMemory& memory) {
  const auto bytes = game::encode_asked(memory);
  write_file(file, {bytes.begin(), bytes.end()});
}

const fs::path kMemoryFile = "Data/AskedQuestions.cfg";

}  // namespace

TEST(AskedMemory, RecordLayoutAndEveryDamageFound) {
  game::AskedMemory m;
  m.clock = 0x01020304;
  m.banks[0].fingerprint = 0x1122334455667788ULL;
  m.banks[0].used = 7;
  m.banks[0].asked.set(0);   // record 1
  m.banks[0].asked.set(99);  // record 100
  m.banks[31].fingerprint = 5;
  m.banks[31].asked.set(8);  // record 9
  const auto bytes = game::encode_asked(m);
  ASSERT_EQ(bytes.size(), 1040U);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), "ZVASKED1");
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 8, bytes.begin() + 12), (std::vector<std::uint8_t>{4, 3, 2, 1}));
  EXPECT_EQ(bytes[16], 0x88);
  EXPECT_EQ(bytes[23], 0x11);
  EXPECT_EQ(bytes[24], 7);
  EXPECT_EQ(bytes[32], 0x01);
  EXPECT_EQ(bytes[32 + 12], 0x08);
  EXPECT_EQ(bytes[16 + 31 * 32], 5);
  EXPECT_EQ(bytes[16 + 31 * 32 + 17], 0x01);
  std::size_t nonzero = 0;
  for (const auto b : bytes) nonzero += b != 0 ? 1 : 0;
  EXPECT_LE(nonzero, 8U + 4 + 4 + 8 + 1 + 2 + 1 + 1) << "nothing else is written";

  game::AskedMemory back;
  ASSERT_EQ(game::decode_asked(bytes, back), game::AskedFileState::kGood);
  EXPECT_EQ(back.clock, m.clock);
  EXPECT_EQ(back.banks[0].fingerprint, m.banks[0].fingerprint);
  EXPECT_EQ(back.banks[0].used, 7U);
  EXPECT_EQ(back.banks[0].asked, m.banks[0].asked);
  EXPECT_EQ(back.banks[31].asked, m.banks[31].asked);
  EXPECT_EQ(game::encode_asked(back), bytes);

  // Any one byte changed anywhere is found; another kind of file is foreign.
  for (std::size_t i = 8; i < bytes.size(); ++i) {
    auto changed = bytes;
    changed[i] ^= 0x20;
    ASSERT_EQ(game::decode_asked(changed, back), game::AskedFileState::kDamaged) << "byte " << i;
    EXPECT_EQ(back.banks[0].fingerprint, 0U) << "nothing of a damaged file is kept";
  }
  auto foreign = bytes;
  foreign[7] = '2';
  EXPECT_EQ(game::decode_asked(foreign, back), game::AskedFileState::kForeign);
}

TEST(AskedMemory, FingerprintsFollowWhatTheGameReads) {
  const auto bank = bank_of(5);
  EXPECT_EQ(game::bank_fingerprint(bank), game::bank_fingerprint(bank_of(5)));
  auto reworded = bank;
  reworded[4].KERDES.assign("Q5?");
  EXPECT_NE(game::bank_fingerprint(reworded), game::bank_fingerprint(bank));
  auto answer = bank;
  answer[0].JOVALASZ.assign("b");
  EXPECT_NE(game::bank_fingerprint(answer), game::bank_fingerprint(bank));
  // Bytes past a text's length or past the terminator are never shown:
  // they change nothing.
  auto bytes = game::encode_bank(bank);
  bytes[50] = 0x7A;
  bytes[101] = 0x7A;
  bytes[312 * 5 + 4] = 0x7A;
  bytes[312 * 7] = 0x02;
  EXPECT_EQ(game::bank_fingerprint(game::decode_bank(std::span<const std::uint8_t, 31200>(bytes.data(), 31200))),
            game::bank_fingerprint(bank));
}

// A bank's memory is found by its content, the file keeps 32 banks, and the
// one drawn from longest ago gives way.
TEST_F(Banks, TheMemoryFollowsContentAndKeepsTheLatestBanks) {
  write_bank("Questions/a.lmk", bank_of(3));
  write_bank("Questions/b.lmk", bank_of(3));
  std::set<std::string> seen;
  for (int i = 0; i < 2; ++i) {
    platform::Delay(7);
    game::KERDEZ_BETOLT("Questions\\a.lmk");
    seen.insert(game::KERDES);
  }
  platform::Delay(7);
  game::KERDEZ_BETOLT("Questions\\b.lmk");
  seen.insert(game::KERDES);
  EXPECT_EQ(seen.size(), 3U) << "the same questions under another name are the same questions";

  for (std::uint64_t f = 100; f < 132; ++f) game::remember_questions(f, game::AskedSet().set(1));
  game::remember_questions(100, game::AskedSet().set(2));  // used again: now the latest
  game::remember_questions(200, game::AskedSet().set(3));  // a 33rd bank
  game::reset_asked_memory();                              // read back from the file, as a new run does
  EXPECT_EQ(game::remembered_questions(100), game::AskedSet().set(2));
  EXPECT_EQ(game::remembered_questions(101), game::AskedSet()) << "the bank used longest ago made room";
  EXPECT_EQ(game::remembered_questions(131), game::AskedSet().set(1));
  EXPECT_EQ(game::remembered_questions(200), game::AskedSet().set(3));
  EXPECT_EQ(game::remembered_questions(game::bank_fingerprint(bank_of(3))), game::AskedSet())
      << "the first bank was the oldest";
}

// Games in a row, in one run, after a restart of the program state and in
// new processes, never repeat a question before the bank is used up.
TEST_F(NoRepeats, NoQuestionComesBackUntilTheBankIsUsedUpAlsoAcrossRestarts) {
  write_bank("Questions/Single/szamtech.lmk", bank_of(23));
  use_set(3);
  std::vector<std::string> asked = joined(play(2));
  const auto more = joined(play(2));  // run() starts the program afresh
  asked.insert(asked.end(), more.begin(), more.end());
  std::string keys = "Enter";
  for (int level = 0; level < 10; ++level) keys += " a n";
  for (int process = 0; process < 2; ++process) {
    const int code = shell_run(std::string(ZELVANOS_REPLAY) + " --dir . --type '" + keys +
                               "' --out replay --shots none >/dev/null 2>&1");
    ASSERT_EQ(code, 0);
    std::ifstream log("replay/log.txt");
    const std::regex question(R"(^\d+ text 100,53 colour \d+ size \d+ "\d+\. (.*?) *"$)");
    int found = 0;
    for (std::string line; std::getline(log, line);) {
      std::smatch m;
      if (!std::regex_match(line, m, question)) continue;
      asked.push_back(m[1]);
      ++found;
    }
    EXPECT_EQ(found, 10);
  }
  ASSERT_EQ(asked.size(), 60U);
  EXPECT_TRUE(rounds_never_repeat(asked, 23));
  EXPECT_EQ(std::set<std::string>(asked.begin(), asked.end()).size(), 23U);
  EXPECT_EQ(lines_holding(captured_stderr, "AskedQuestions"), 0) << captured_stderr;
  const auto memory = memory_in(kMemoryFile);
  EXPECT_EQ(memory.banks[0].fingerprint, game::bank_fingerprint(bank_of(23)));
  EXPECT_EQ(memory.banks[0].asked.count(), 60U - 2 * 23) << "the third round so far";
  EXPECT_EQ(memory.clock, 60U);
}

// A missing, foreign, short or damaged memory file, or a folder in its
// place, never ends the game: the memory starts afresh, said once for a
// damaged file or a folder, not at all for a missing or foreign one.
TEST_F(NoRepeats, AnUnusableMemoryFileOnlyStartsTheMemoryAfresh) {
  const auto bank = bank_of(23);
  write_bank("Questions/Single/szamtech.lmk", bank);
  use_set(3);
  const std::vector<std::string> fresh = play(1).at(0);
  EXPECT_EQ(lines_holding(captured_stderr, "AskedQuestions"), 0) << "a missing file is simply no memory yet";

  // A memory of 20 of the 23: the next game starts with the other three.
  game::AskedMemory known;
  known.clock = 20;
  known.banks[4].fingerprint = game::bank_fingerprint(bank);
  known.banks[4].used = 20;
  for (std::size_t n = 0; n < 20; ++n) known.banks[4].asked.set(n);
  write_memory(kMemoryFile, known);
  const auto next = play(1).at(0);
  EXPECT_EQ(std::set<std::string>(next.begin(), next.begin() + 3), (std::set<std::string>{"Q21", "Q22", "Q23"}));

  const auto good = game::encode_asked(known);
  std::vector<std::uint8_t> damaged(good.begin(), good.end());
  damaged[9] ^= 1;  // the clock
  std::vector<std::uint8_t> foreign(good.begin(), good.end());
  std::copy_n("ZVASKED9", 8, foreign.begin());
  // Damaged (cut short, empty as a crash of the system may leave it, or
  // failing its checksum): said once. Another kind of file: no word.
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
    int said;
  };
  const std::vector<Case> cases = {
      {"too short", std::vector<std::uint8_t>(good.begin(), good.end() - 1), 1},
      {"empty", {}, 1},
      {"a changed byte", damaged, 1},
      {"another kind of file", foreign, 0},
      {"a short file of another kind", {'a', 'b', 'c', '\n'}, 0},
  };
  for (const auto& [what, bytes, said] : cases) {
    write_file(kMemoryFile, bytes);
    EXPECT_EQ(play(1).at(0), fresh) << what << ": the memory starts afresh";
    EXPECT_EQ(lines_holding(captured_stderr, "AskedQuestions.cfg"), said) << what << ": " << captured_stderr;
    EXPECT_EQ(lines_holding(captured_stderr, "starts afresh"), said) << what << ": " << captured_stderr;
    const auto memory = memory_in(kMemoryFile);
    EXPECT_EQ(memory.banks[0].asked.count(), 10U) << what << ": rewritten with this game's questions";
  }

  // A folder in its place can be neither read nor written; each is said once.
  fs::remove(kMemoryFile);
  fs::create_directory(kMemoryFile);
  const auto settings = read_file("Data/Config.cfg");
  const auto games = play(2);
  ASSERT_EQ(games.size(), 2U);
  EXPECT_EQ(games[0], fresh);
  EXPECT_TRUE(rounds_never_repeat(joined(games), 23)) << "remembered while the program runs";
  EXPECT_EQ(lines_holding(captured_stderr, "AskedQuestions.cfg"), 2) << captured_stderr;
  EXPECT_EQ(lines_holding(captured_stderr, "it is a folder (I/O error 5); a feltett"), 1) << captured_stderr;
  EXPECT_EQ(lines_holding(captured_stderr, "only while it runs"), 1) << captured_stderr;
  EXPECT_TRUE(fs::is_empty(kMemoryFile));
  EXPECT_EQ(read_file("Data/Config.cfg"), settings);
  EXPECT_EQ(read_file("Data/HighScores.cfg").size(), 730U) << "the results are entered as ever";
}

// A folder that cannot be written at all: the game goes on without the
// memory, says so once, and leaves the player's files as they are.
TEST_F(NoRepeats, AReadOnlyFolderKeepsTheGameGoing) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into a read-only folder";
  write_bank("Questions/Single/szamtech.lmk", bank_of(23));
  use_set(3);
  const auto settings = read_file("Data/Config.cfg");
  fs::permissions("Data", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  // Three games, each lost on its third question before any result is due.
  const int code = run(" Enter a n a n b n Enter a n a n b n Enter a n a n b n");
  fs::permissions("Data", fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(code, 0) << captured_stderr;
  std::vector<std::string> asked;
  for (const auto& text : recorder->texts_at(100, 53)) {
    std::string question = text.utf8.substr(text.utf8.find(". ") + 2);
    asked.push_back(question.erase(question.find_last_not_of(' ') + 1));
  }
  EXPECT_EQ(asked.size(), 9U);
  EXPECT_TRUE(rounds_never_repeat(asked, 23)) << "remembered while the program runs";
  EXPECT_EQ(lines_holding(captured_stderr, "only while it runs"), 1) << captured_stderr;
  EXPECT_FALSE(fs::exists(kMemoryFile));
  EXPECT_EQ(read_file("Data/Config.cfg"), settings);
}

// A bank compiled anew starts afresh; its old content's memory stays for
// when it comes back.
TEST_F(NoRepeats, ABankCompiledAnewStartsAfresh) {
  auto changed = bank_of(23);
  changed[22].KERDES.assign("Q23 reworded");
  write_bank("Questions/Single/szamtech.lmk", changed);
  use_set(3);
  const auto reference = play(1).at(0);
  fs::remove(kMemoryFile);

  write_bank("Questions/Single/szamtech.lmk", bank_of(23));
  const auto first = play(1).at(0);
  write_bank("Questions/Single/szamtech.lmk", changed);
  EXPECT_EQ(play(1).at(0), reference) << "nothing of the old content's memory steers the new";
  write_bank("Questions/Single/szamtech.lmk", bank_of(23));
  auto both = first;
  const auto third = play(1).at(0);
  both.insert(both.end(), third.begin(), third.end());
  EXPECT_TRUE(rounds_never_repeat(both, 23));
  const auto memory = memory_in(kMemoryFile);
  EXPECT_EQ(std::count_if(memory.banks.begin(), memory.banks.end(), [](const auto& b) { return b.fingerprint != 0; }),
            2);
}
