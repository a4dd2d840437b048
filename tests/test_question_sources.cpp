// The question-set tool's source format, and the question sets we ship.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "harness.hpp"
#include "questions/source.hpp"

namespace fs = std::filesystem;

namespace {

std::string question(const std::string& q, int right, const std::string& answer_prefix = "") {
  std::string out = "? " + q + "\n";
  for (int i = 0; i < 4; ++i) out += std::string(i == right ? "+ " : "- ") + answer_prefix + char('A' + i) + "\n";
  return out;
}

// The messages of the diagnostics, as "line: error|warning: text".
std::vector<std::string> messages(const questions::Compiled& c) {
  std::vector<std::string> out;
  for (const auto& d : c.diagnostics) {
    out.push_back(std::to_string(d.line) + (d.error ? ": error: " : ": warning: ") + d.message);
  }
  return out;
}

bool has(const questions::Compiled& c, int line, bool error, std::string_view fragment) {
  for (const auto& d : c.diagnostics) {
    if (d.line == line && d.error == error && d.message.find(fragment) != std::string::npos) return true;
  }
  return false;
}

TEST(QuestionSource, CompilesIntoTheBankLayout) {
  const auto c = questions::compile("# comment\n\n? Mennyi 2 + 2?\n- 3\n+ 4\r\n- 5\n- 22\n\n" + question("Másik?", 3));
  ASSERT_TRUE(c.ok()) << ::testing::PrintToString(messages(c));
  EXPECT_EQ(c.count, 2);
  EXPECT_EQ(c.bank[0].KERDES.view(), "Mennyi 2 + 2?");
  EXPECT_EQ(c.bank[0].B.view(), "4") << "a Windows line end is not part of the text";
  EXPECT_EQ(c.bank[0].JOVALASZ.view(), "b");
  EXPECT_EQ(c.bank[1].KERDES.view(), "M\xA0sik?");
  EXPECT_EQ(c.bank[1].JOVALASZ.view(), "d");
  EXPECT_EQ(c.bank[2].KERDES.view(), "*");
  EXPECT_EQ(c.bank[3].KERDES.view(), "");
  const auto bytes = game::encode_bank(c.bank);
  EXPECT_EQ(bytes.size(), 31200U);
  for (std::size_t i = 3 * 312; i < bytes.size(); ++i) ASSERT_EQ(bytes[i], 0) << i;
}

TEST(QuestionSource, RefusesWhatTheGameCannotShow) {
  const std::string long_q(101, 'x');
  const std::string long_a(51, 'y');
  const auto c = questions::compile(question("Jó?", 0) +                                   // 1-5
                                    "? Két jó?\n+ a\n+ b\n- c\n- d\n" +                   // 6-10: line 8
                                    "? Nincs jó?\n- a\n- b\n- c\n- d\n" +                 // 11-15
                                    "? " + long_q + "\n+ a\n- b\n- c\n- d\n" +            // 16-20
                                    "? Hosszú?\n+ " + long_a + "\n- b\n- c\n- d\n" +      // 21-25: line 22
                                    "? Euró: €?\n+ a\n- b\n- c\n- d\n" +                  // 26-30
                                    "? Három?\n+ a\n- b\n- c\n" +                         // 31-34
                                    "? Öt?\n+ a\n- b\n- c\n- d\n- e\n" +                  // 35-40: line 40
                                    "Valami\n" +                                          // 41
                                    "? *\n+ a\n- b\n- c\n- d\n");                         // 42
  EXPECT_FALSE(c.ok());
  EXPECT_TRUE(has(c, 8, true, "second right answer"));
  EXPECT_TRUE(has(c, 11, true, "no right answer"));
  EXPECT_TRUE(has(c, 16, true, "101 characters"));
  EXPECT_TRUE(has(c, 22, true, "51 characters"));
  EXPECT_TRUE(has(c, 26, true, "U+20AC"));
  EXPECT_TRUE(has(c, 31, true, "3 answers"));
  EXPECT_TRUE(has(c, 40, true, "fifth answer"));
  EXPECT_TRUE(has(c, 41, true, "expected"));
  EXPECT_TRUE(has(c, 42, true, "end the bank"));
  EXPECT_EQ(questions::format("x.txt", c.diagnostics.front()).rfind("x.txt:", 0), 0U);

  std::string hundred;
  for (int i = 0; i < 100; ++i) hundred += question(std::string("Q").append(std::to_string(i)), i % 4);
  EXPECT_TRUE(has(questions::compile(hundred), 496, true, "more than 99"));
  EXPECT_TRUE(has(questions::compile("# nothing\n"), 0, true, "no question"));
  EXPECT_TRUE(has(questions::compile("- a\n"), 1, true, "without a question"));
}

TEST(QuestionSource, WarnsAboutWhatShowsBadly) {
  const auto c = questions::compile(question("Q1", 0, "Huszonöt karakternél hosszabb ") + question("Q2", 0) +
                                    question("Q3", 0) + question("Q4", 1) + question("Q5", 2) +
                                    question(std::string(54, 'a') + "bc", 3));
  EXPECT_TRUE(c.ok());
  EXPECT_TRUE(has(c, 2, false, "runs out of its box"));
  EXPECT_TRUE(has(c, 0, false, "lean on one letter (A 3, B 1, C 1, D 1)"));
  EXPECT_TRUE(has(c, 26, false, "word is split"));
  const auto fine = questions::compile(question(std::string(54, 'a') + " b", 0) + question("x", 1) +
                                       question("y", 2) + question("z", 3) + question("w", 0));
  EXPECT_TRUE(fine.diagnostics.empty()) << ::testing::PrintToString(messages(fine));
}

TEST(QuestionSource, DumpAndCompileRoundTrip) {
  const std::string source = question("Első kérdés: ŐŰőű?", 2) + "\n" + question("Második", 0);
  const auto c = questions::compile(source);
  ASSERT_TRUE(c.ok());
  EXPECT_EQ(questions::dump(c.bank), source);
  const auto again = questions::compile(questions::dump(c.bank));
  EXPECT_EQ(game::encode_bank(again.bank), game::encode_bank(c.bank));

  game::KERDESEKFULL odd = c.bank;
  odd[1].JOVALASZ.assign("q");
  std::vector<questions::Diagnostic> problems;
  questions::dump(odd, &problems);
  ASSERT_EQ(problems.size(), 1U);
  EXPECT_EQ(problems[0].line, 2);
}

// The sets we ship: the counts the settings screen promises, every bank
// clean of errors and warnings, and the staged bank files round-tripping.
TEST(ShippedSets, CountsQualityAndRoundTrip) {
  const fs::path data = ZELVANOS_DATA_DIR;
  const fs::path run = fs::path(ZELVANOS_GAME).parent_path() / "run";
  std::map<std::string, int> per_set;
  int banks = 0;
  for (const auto& entry : fs::recursive_directory_iterator(data / "Questions")) {
    if (entry.path().extension() != ".txt") continue;
    ++banks;
    const auto relative = fs::relative(entry.path(), data);
    const auto c = questions::compile(testing_support::read_text(entry.path()));
    EXPECT_TRUE(c.diagnostics.empty()) << relative << ": " << ::testing::PrintToString(messages(c));
    const std::string set = relative.parent_path().filename().string();
    const std::string name = relative.stem().string();
    per_set[set == "Single" ? name : set] += c.count;
    if (set == "Default") {
      EXPECT_GE(c.count, 5) << relative;
    }
    if (set == "Children") {
      EXPECT_GE(c.count, 10) << relative;
    }

    fs::path bank_file = run / relative;
    bank_file.replace_extension(".lmk");
    const auto bytes = testing_support::read_file(bank_file);
    ASSERT_EQ(bytes.size(), 31200U) << bank_file;
    EXPECT_EQ(bytes, game::encode_bank(c.bank)) << bank_file << " is stale";
    const auto bank = game::decode_bank(std::span<const std::uint8_t, 31200>(bytes.data(), bytes.size()));
    EXPECT_EQ(game::encode_bank(questions::compile(questions::dump(bank)).bank), bytes) << bank_file;
  }
  EXPECT_EQ(banks, 23);
  EXPECT_EQ(per_set["Default"], 51);
  EXPECT_EQ(per_set["Children"], 106);
  EXPECT_EQ(per_set["szamtech"], 30);
  EXPECT_EQ(per_set["kelvarion"], 45);
  EXPECT_EQ(per_set["labdarugas"], 25);
}

}  // namespace
