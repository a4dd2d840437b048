// SPDX-License-Identifier: GPL-3.0-or-later
// The question-set tool's source format, and the question sets we ship.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <list>
#include <map>
#include <set>
#include <sstream>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "game/question_sets.hpp"
#include "harness.hpp"
#include "questions/difficulty.hpp"
#include "questions/source.hpp"
#include "questions/wording.hpp"

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
  const auto c = questions::compile(question("Jó?", 0) +                              // 1-5
                                    "? Két jó?\n+ a\n+ b\n- c\n- d\n" +               // 6-10: line 8
                                    "? Nincs jó?\n- a\n- b\n- c\n- d\n" +             // 11-15
                                    "? " + long_q + "\n+ a\n- b\n- c\n- d\n" +        // 16-20
                                    "? Hosszú?\n+ " + long_a + "\n- b\n- c\n- d\n" +  // 21-25: line 22
                                    "? Euró: €?\n+ a\n- b\n- c\n- d\n" +              // 26-30
                                    "? Három?\n+ a\n- b\n- c\n" +                     // 31-34
                                    "? Öt?\n+ a\n- b\n- c\n- d\n- e\n" +              // 35-40: line 40
                                    "Valami\n" +                                      // 41
                                    "? *\n+ a\n- b\n- c\n- d\n");                     // 42
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

// A question or an answer of blanks alone would show nothing on screen.
TEST(QuestionSource, BlankTextsAreRefused) {
  const auto c = questions::compile("?    \n+ a\n-  \n- \u00A0\n- d\n\n? Jó?\n+ \u00A0a\n- b \n- c\n- d\n");
  EXPECT_FALSE(c.ok());
  EXPECT_TRUE(has(c, 1, true, "the question is all blanks")) << ::testing::PrintToString(messages(c));
  EXPECT_TRUE(has(c, 3, true, "answer B is all blanks"));
  EXPECT_TRUE(has(c, 4, true, "answer C is all blanks")) << "a no-break space is a blank too";
  EXPECT_EQ(std::count_if(c.diagnostics.begin(), c.diagnostics.end(), [](const auto& d) { return d.error; }), 3)
      << ::testing::PrintToString(messages(c)) << ": texts with blanks around letters are fine";
}

// A file of nothing but bad bytes gives millions of diagnostics: the first
// hundred are kept, the rest only counted, and the result still fails.
TEST(QuestionSource, DiagnosticsAreKeptToAHundred) {
  const auto c = questions::compile(std::string(1 << 20, '\xFF'));
  EXPECT_FALSE(c.ok());
  EXPECT_EQ(c.diagnostics.size(), questions::kMaxDiagnostics);
  EXPECT_EQ(c.errors_left_out, (1 << 20) + 2 - 100) << "every bad byte, the line and the empty bank";
  EXPECT_EQ(c.diagnostics.back().column, 100);
}

TEST(QuestionSource, WarnsAboutWhatShowsBadly) {
  const auto c = questions::compile(question("Q1", 0, "Huszonöt karakternél hosszabb ") + question("Q2", 0) +
                                    question("Q3", 0) + question("Q4", 1) + question("Q5", 2) +
                                    question(std::string(54, 'a') + "bc", 3));
  EXPECT_TRUE(c.ok());
  EXPECT_TRUE(has(c, 2, false, "runs out of its box"));
  EXPECT_TRUE(has(c, 0, false, "lean on one letter (A 3, B 1, C 1, D 1)"));
  EXPECT_TRUE(has(c, 26, false, "word is split"));
  const auto fine = questions::compile(question(std::string(54, 'a') + " b", 0) + question("x", 1) + question("y", 2) +
                                       question("z", 3) + question("w", 0));
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

// Every character a text cannot hold is reported, each with its column,
// and a typographic one with the plain character to write instead.
TEST(QuestionSource, EveryBadCharacterWithItsColumn) {
  const auto c = questions::compile(
      "\xEF\xBB\xBF# „megjegyzés” – bármi állhat benne…\n"  // 1
      "? „Idézet” – és…\n"                                  // 2
      "+ a’b€€\n"                                           // 3
      "- b\xC3\n"                                           // 4
      "- c\xEF\xBB\xBF\n"                                   // 5
      "- d\n");
  EXPECT_FALSE(c.ok());
  const auto at = [&](int line, int column, std::string_view fragment) {
    for (const auto& d : c.diagnostics) {
      if (d.line == line && d.column == column && d.error && d.message.find(fragment) != std::string::npos) return true;
    }
    return false;
  };
  EXPECT_TRUE(at(2, 3, "U+201E) has no code page 852 byte; use \" instead"));
  EXPECT_TRUE(at(2, 10, "U+201D) has no code page 852 byte; use \" instead"));
  EXPECT_TRUE(at(2, 12, "U+2013) has no code page 852 byte; use - instead"));
  EXPECT_TRUE(at(2, 16, "use ... instead"));
  EXPECT_TRUE(at(3, 4, "U+2019) has no code page 852 byte; use ' instead"));
  EXPECT_TRUE(at(3, 6, "U+20AC"));
  EXPECT_TRUE(at(3, 7, "U+20AC")) << "the second of two on one line too";
  EXPECT_TRUE(at(4, 4, "malformed UTF-8 (byte 0xC3)"));
  EXPECT_TRUE(at(5, 4, "byte-order mark"));
  EXPECT_EQ(c.diagnostics.size(), 9U) << ::testing::PrintToString(messages(c))
                                      << ": the comment may hold any character; the leading mark is skipped";
  EXPECT_EQ(questions::format("x.txt", c.diagnostics.front()).rfind("x.txt:2:3: hiba / error: a(z) „ (U+201E)", 0), 0U);
  for (const auto& d : c.diagnostics) EXPECT_NE(d.message.find(" / "), std::string::npos) << "Hungarian / English";
}

// A source holds no control character anywhere, comments included; CR LF
// line ends are fine, and a line of spaces is a blank line.
TEST(QuestionSource, ControlCharactersAndLineEnds) {
  const std::string lf = "# x\n" + question("Mennyi?", 1) + "   \n" + question("Másik?", 3);
  std::string crlf;
  for (const char ch : lf) crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
  const auto a = questions::compile(lf);
  const auto b = questions::compile(crlf);
  ASSERT_TRUE(a.ok()) << ::testing::PrintToString(messages(a));
  ASSERT_TRUE(b.ok()) << ::testing::PrintToString(messages(b));
  EXPECT_EQ(game::encode_bank(a.bank), game::encode_bank(b.bank));
  EXPECT_TRUE(questions::compile(lf.substr(0, lf.size() - 1)).ok()) << "no line end after the last line";

  const auto c = questions::compile(std::string("# a\ttab\n? Q\r\r\n+ a") + '\0' + "b\n- b\x1B[1m\n- c\x7F\n- d\r \n");
  EXPECT_FALSE(c.ok());
  EXPECT_TRUE(has(c, 1, true, "U+0009 (tab)"));
  EXPECT_EQ(c.diagnostics[0].column, 4);
  EXPECT_TRUE(has(c, 2, true, "U+000D (carriage return, not at a line end)")) << "only one CR ends a line";
  EXPECT_TRUE(has(c, 3, true, "U+0000 (NUL)"));
  EXPECT_TRUE(has(c, 4, true, "U+001B"));
  EXPECT_TRUE(has(c, 5, true, "U+007F"));
  EXPECT_TRUE(has(c, 6, true, "U+000D"));
  EXPECT_EQ(c.count, 1) << "the question is still counted, its texts refused";
}

// Whatever compiles dumps back to a source that compiles to the same bank,
// with nothing the dump cannot express: the fuzz corpus, the regressions
// among it included.
TEST(QuestionSource, AcceptedSourcesDumpBackToThemselves) {
  int accepted = 0;
  int refused = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(ZELVANOS_FUZZ_CORPUS) / "source")) {
    const std::string text = testing_support::read_text(entry.path());
    const auto c = questions::compile(text);
    if (entry.path().filename().string().rfind("regression-", 0) == 0) {
      EXPECT_FALSE(c.ok()) << entry.path() << " holds control characters";
    }
    if (!c.ok()) {
      ++refused;
      continue;
    }
    ++accepted;
    std::vector<questions::Diagnostic> problems;
    const std::string source = questions::dump(c.bank, &problems);
    EXPECT_TRUE(problems.empty()) << entry.path();
    const auto again = questions::compile(source);
    EXPECT_TRUE(again.ok()) << entry.path();
    EXPECT_EQ(game::encode_bank(again.bank), game::encode_bank(c.bank)) << entry.path();
    EXPECT_EQ(questions::dump(again.bank), source) << entry.path();
  }
  EXPECT_GE(accepted, 3);
  EXPECT_GE(refused, 4);

  // A bank from elsewhere can hold what a source cannot: the dump says so.
  game::KERDESEKFULL bank = questions::compile(question("Q", 0)).bank;
  bank[0].B.assign("b\tc");
  bank[0].C.assign("");
  bank[1] = bank[0];
  bank[1].KERDES.assign("R");
  bank[1].JOVALASZ.assign("x");
  for (std::size_t i = 2; i < 100; ++i) bank[i] = bank[1];
  std::vector<questions::Diagnostic> problems;
  questions::dump(bank, &problems);
  const auto said = [&](int line, std::string_view fragment) {
    return std::any_of(problems.begin(), problems.end(),
                       [&](const auto& d) { return d.line == line && d.message.find(fragment) != std::string::npos; });
  };
  EXPECT_TRUE(said(1, "answer B holds a control character"));
  EXPECT_TRUE(said(1, "answer C is empty"));
  EXPECT_TRUE(said(2, "no right answer"));
  EXPECT_TRUE(said(0, "100 questions"));
}

// What a quiz editor would flag: answers alike, a question asked twice, and
// number answers that do not stand in ascending order.
TEST(QuestionSource, QuizWarnings) {
  const auto answers = [](const std::string& q, std::initializer_list<const char*> four) {
    std::string out = "? " + q + "\n";
    bool first = true;
    for (const char* a : four) {
      out += std::string(first ? "+ " : "- ") + a + "\n";
      first = false;
    }
    return out;
  };
  const auto c = questions::compile(answers("Egy?", {"Alma", "körte", "KÖRTE ", "szilva"}) +  // 1-5: line 4
                                    answers("Kettő?", {"C", "C++", "C#", "c--"}) +            // 6-10
                                    answers("egy", {"1", "2", "3", "4"}) +                    // 11-15
                                    answers("Három?", {"3", "1", "2", "4"}) +                 // 16
                                    answers("Négy?", {"1 500 000", "2 000 000", "12 000 000", "100 000 000"}) +
                                    answers("Öt?", {"-1,5", "0", "1,25", "1,3"}) +                  // 26
                                    answers("Hat?", {"3 km", "12 km", "100 km", "1 500 km"}) +      // 31
                                    answers("Hét?", {"1 500 000", "150 000", "15 000 000", "2"}) +  // 36
                                    answers("Nyolc?", {"3 km", "2 m", "1 cm", "4 mm"}) +            // 41
                                    answers("Kilenc?", {"1956", "1848", "1867", "1989"}) +          // 46
                                    answers("Tíz?", {"2", "2", "3", "4"}) +                         // 51
                                    answers("Tizenegy?", {"1,5", "1,25", "2", "3"}) +               // 56
                                    answers("Tizenkettő?", {"4 km", "3 km", "2", "1"}) +            // 61
                                    answers("Tizenhárom?", {"12 34", "1", "2", "3"}));              // 66
  ASSERT_TRUE(c.ok()) << ::testing::PrintToString(messages(c));
  EXPECT_TRUE(has(c, 4, false, "answers B and C are the same"));
  EXPECT_TRUE(has(c, 11, false, "repeats the one on line 1")) << "case and punctuation aside";
  EXPECT_TRUE(has(c, 53, false, "answers A and B are the same"));
  const std::string order = "not in strictly ascending order";
  std::vector<int> unordered;
  for (const auto& d : c.diagnostics) {
    if (d.message.find(order) != std::string::npos) unordered.push_back(d.line);
  }
  EXPECT_EQ(unordered, (std::vector<int>{16, 36, 46, 51, 56}))
      << ::testing::PrintToString(messages(c)) << ": units differing or a non-number answer skip the check";
  EXPECT_TRUE(has(c, 35, false, "four-digit number with a group space: \"1 500\"")) << "1 500 km is 1500 km";
  EXPECT_EQ(c.diagnostics.size(), 10U) << ::testing::PrintToString(messages(c));
}

TEST(QuestionSource, RepeatsAcrossSources) {
  const auto one = questions::compile(question("Ki írta a Himnuszt?", 0) + question("Első?", 1));
  const auto two = questions::compile(question("Más", 2) + question("ki írta a  himnuszt", 3));
  const auto three = questions::compile(question("Első", 0) + question("Ki írta a Himnuszt?", 1));
  const auto repeats = questions::repeats_across({{"a.txt", &one}, {"b.txt", &two}, {"c.txt", &three}});
  std::vector<std::string> got;
  for (const auto& r : repeats) got.push_back(questions::format(r.file, r.diagnostic));
  EXPECT_EQ(got,
            (std::vector<std::string>{
                "b.txt:6: figyelmeztetés / warning: a kérdés megismétli ezt: a.txt:1 / the question repeats a.txt:1",
                "c.txt:1: figyelmeztetés / warning: a kérdés megismétli ezt: a.txt:6 / the question repeats a.txt:6",
                "c.txt:6: figyelmeztetés / warning: a kérdés megismétli ezt: a.txt:1 / the question repeats a.txt:1"}));
}

// The command-line tool: regular files only, never waiting on one, a size
// cap, help on every command, a clear line and exit code for each failure.
class QuestionTool : public ::testing::Test {
 protected:
  int tool(const std::string& args) {
    return testing_support::shell_run("timeout 20 " + std::string(ZELVANOS_QUESTIONS) + " " + args +
                                      " >out.txt 2>err.txt");
  }
  std::string err() { return testing_support::read_text("err.txt"); }
  std::string out() { return testing_support::read_text("out.txt"); }
  testing_support::ScratchDir dir;
};

TEST_F(QuestionTool, RefusesWhatIsNotARegularFile) {
  fs::create_directory("folder");
  ASSERT_EQ(::mkfifo("fifo", 0600), 0);
  const std::pair<std::string, std::string> cases[] = {
      {"check folder", "folder: hiba / error: ez egy mappa, nem fájl / this is a folder, not a file"},
      {"check /dev/zero", "/dev/zero: hiba / error: nem közönséges fájl"},
      {"check fifo", "fifo: hiba / error: nem közönséges fájl"},
      {"compile fifo x.lmk", "fifo: hiba / error: nem közönséges fájl"},
      {"dump fifo", "fifo: hiba / error: nem közönséges fájl"},
      {"dump /dev/zero", "/dev/zero: hiba / error: nem közönséges fájl"},
      {"dump folder", "folder: hiba / error: ez egy mappa"},
      {"check missing.txt", "missing.txt: hiba / error: a fájl nem található / file not found"},
  };
  for (const auto& [args, line] : cases) {
    EXPECT_EQ(tool(args), 2) << args;
    const std::string said = err();
    EXPECT_EQ(said.rfind(line, 0), 0U) << args << ": " << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << args;
  }
  EXPECT_FALSE(fs::exists("x.lmk"));

  std::string big = question("Q", 0);
  big += "# " + std::string(4 * 1024 * 1024, 'x') + "\n";
  std::ofstream("big.txt", std::ios::binary) << big;
  EXPECT_EQ(tool("check big.txt"), 2);
  EXPECT_NE(err().find("larger than 4194304 bytes"), std::string::npos) << err();
  std::ofstream("short.lmk", std::ios::binary) << "abc";
  EXPECT_EQ(tool("dump short.lmk"), 2);
  EXPECT_NE(err().find("file too short: 3 of 31200 bytes"), std::string::npos) << err();
}

TEST_F(QuestionTool, CompilesChecksDumpsAndHelps) {
  std::ofstream("a.txt", std::ios::binary) << "\xEF\xBB\xBF" + question("Első?", 0) + "\n" + question("Második?", 1);
  std::ofstream("b.txt", std::ios::binary) << question("első", 2) + question("Harmadik?", 3);
  std::ofstream("bad.txt", std::ios::binary) << "? Hibás\t\n+ a\n- b\n- c\n- d\n";
  EXPECT_EQ(tool("compile a.txt a.lmk"), 0) << err();
  EXPECT_EQ(fs::file_size("a.lmk"), 31200U);
  EXPECT_EQ(tool("dump a.lmk"), 0);
  EXPECT_EQ(out(), question("Első?", 0) + "\n" + question("Második?", 1));
  EXPECT_EQ(tool("dump a.lmk again.txt"), 0);
  EXPECT_EQ(testing_support::read_text("again.txt"), question("Első?", 0) + "\n" + question("Második?", 1));
  EXPECT_EQ(tool("check a.txt b.txt"), 0);
  EXPECT_EQ(err(),
            "b.txt:1: figyelmeztetés / warning: a kérdés megismétli ezt: a.txt:1 / the question repeats a.txt:1\n");
  EXPECT_EQ(tool("check a.txt bad.txt missing.txt"), 2) << "the worst code of all";
  EXPECT_NE(err().find("bad.txt:1:8: hiba / error: vezérlőkarakter: U+0009"), std::string::npos) << err();
  EXPECT_EQ(tool("compile bad.txt bad.lmk"), 1);
  EXPECT_FALSE(fs::exists("bad.lmk"));
  EXPECT_EQ(tool("dump /dev/full"), 2) << "not a regular file";

  for (const char* command : {"compile", "dump", "check"}) {
    EXPECT_EQ(tool(std::string(command) + " --help"), 0) << command;
    EXPECT_EQ(out().rfind(std::string("Használat / usage: zelvanos-questions ") + command, 0), 0U) << out();
    EXPECT_EQ(tool(std::string(command) + " a.txt -h"), 0) << command;
  }
  EXPECT_EQ(tool("--help"), 0);
  EXPECT_NE(out().find("Kilépési kódok / exit codes"), std::string::npos);
  for (const char* wrong : {"", "frobnicate a.txt", "compile a.txt", "dump", "check", "check --verbose a.txt"}) {
    EXPECT_EQ(tool(wrong), 64) << wrong;
    EXPECT_EQ(err().rfind("zelvanos-questions: ", 0), 0U) << wrong;
  }
  EXPECT_EQ(tool("check -- a.txt"), 0);
  // Standard output that cannot be written is a failure, not a success.
  EXPECT_EQ(testing_support::shell_run(std::string(ZELVANOS_QUESTIONS) + " dump a.lmk >/dev/full 2>err.txt"), 2);
  EXPECT_NE(err().find("standard output"), std::string::npos);
}

// An author's files are never lost: compiling a source onto itself (also
// through a link or another path to it) or onto anything but a bank file is
// refused and the file left as it was; neither a device nor a pipe that a
// link of the author's own leads to is ever replaced by a file.
TEST_F(QuestionTool, WritesOnlyNewFilesAndBanks) {
  const std::string source = "# Forrás: a lexikon.\n" + question("Első?", 0);
  std::ofstream("q.txt", std::ios::binary) << source;
  fs::create_directory("sub");
  fs::create_symlink("../q.txt", "sub/link.lmk");
  ASSERT_EQ(::link("q.txt", "hard.lmk"), 0);
  for (const char* out : {"q.txt", "./q.txt", "sub/../q.txt", "sub/link.lmk", "hard.lmk"}) {
    EXPECT_EQ(tool(std::string("compile q.txt ") + out), 2) << out;
    EXPECT_NE(err().find("this is the input (q.txt) itself"), std::string::npos) << out << ": " << err();
    EXPECT_EQ(testing_support::read_text("q.txt"), source) << out;
  }
  std::ofstream("notes.txt", std::ios::binary) << "my notes";
  EXPECT_EQ(tool("compile q.txt notes.txt"), 2);
  EXPECT_EQ(err(),
            "notes.txt: hiba / error: nem bankfájl (8 bájt, egy bank 31 200 bájt), ezért nem íródik felül; adjon meg "
            "új fájlnevet vagy egy meglévő bankot / not a bank file (8 bytes, a bank has 31 200), so it is not "
            "overwritten; give a new file name or an existing bank\n");
  EXPECT_EQ(testing_support::read_text("notes.txt"), "my notes");

  // A new file, and an existing bank, are written.
  EXPECT_EQ(tool("compile q.txt new.lmk"), 0) << err();
  EXPECT_EQ(tool("compile q.txt new.lmk"), 0) << err();
  EXPECT_EQ(fs::file_size("new.lmk"), 31200U);

  // A link of the author's own to a pipe or a device, as either output.
  ASSERT_EQ(::mkfifo("fifo", 0600), 0);
  fs::create_symlink("fifo", "to-fifo.lmk");
  fs::create_symlink("/dev/null", "to-null.txt");
  EXPECT_EQ(tool("compile q.txt to-fifo.lmk"), 2);
  EXPECT_NE(err().find("not a regular file (a device, FIFO or socket), so it is not overwritten"), std::string::npos)
      << err();
  EXPECT_EQ(tool("dump new.lmk to-null.txt"), 2);
  EXPECT_NE(err().find("to-null.txt: hiba / error: nem közönséges fájl"), std::string::npos) << err();
  EXPECT_EQ(tool("dump new.lmk new.lmk"), 2) << "a bank dumped onto itself";
  EXPECT_EQ(fs::file_size("new.lmk"), 31200U);
  struct stat st = {};
  EXPECT_TRUE(::stat("fifo", &st) == 0 && S_ISFIFO(st.st_mode));
  EXPECT_TRUE(::stat("/dev/null", &st) == 0 && S_ISCHR(st.st_mode));
  EXPECT_TRUE(fs::is_symlink("to-fifo.lmk") && fs::is_symlink("to-null.txt"));

  // "-" is standard output.
  EXPECT_EQ(tool("dump new.lmk -"), 0) << err();
  EXPECT_EQ(out(), question("Első?", 0));
  EXPECT_FALSE(fs::exists("-"));
}

// 4 MiB of bad bytes: the first hundred diagnostics and a count, quickly and
// in little memory (once 4.19 million lines and 663 MB).
TEST_F(QuestionTool, DiagnosticsAreBounded) {
  std::ofstream("ff.txt", std::ios::binary) << std::string(4 * 1024 * 1024, '\xFF');
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int fd = ::open("err.txt", O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ::dup2(fd, 2);
    // Under AddressSanitizer freed memory is held back (256 MB by default)
    // to catch late uses; that is the sanitizer's, not the tool's.
    const char* asan = std::getenv("ASAN_OPTIONS");
    const std::string options = std::string(asan != nullptr ? asan : "") + ":quarantine_size_mb=16";
    ::setenv("ASAN_OPTIONS", options.c_str(), 1);
    ::execl(ZELVANOS_QUESTIONS, ZELVANOS_QUESTIONS, "check", "ff.txt", static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  struct rusage usage = {};
  ASSERT_EQ(::wait4(pid, &status, 0, &usage), pid);
  EXPECT_EQ(WEXITSTATUS(status), 1);
  const std::string said = err();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 101) << said.substr(0, 2000);
  EXPECT_NE(said.find("ff.txt: ... és még 4194206 hiba és 0 figyelmeztetés, amelyet a program nem ír ki / and 4194206 "
                      "more errors and 0 more warnings, not shown\n"),
            std::string::npos)
      << said.substr(said.size() > 500 ? said.size() - 500 : 0);
  EXPECT_LT(usage.ru_maxrss, 200 * 1024) << "kB at most, sanitizers included";
}

// A hostile bank's control characters reach a terminal only as visible
// escapes; into a file or a pipe the source goes as it is.
TEST_F(QuestionTool, DumpToATerminalEscapesControlCharacters) {
  game::KERDESEKFULL bank{};
  bank[0].KERDES.assign("Q\x1b]0;owned\x07\x1b[2J?");
  bank[0].A.assign("a");
  bank[0].B.assign("b");
  bank[0].C.assign("c");
  bank[0].D.assign("d");
  bank[0].JOVALASZ.assign("a");
  bank[1].KERDES.assign("*");
  const auto bytes = game::encode_bank(bank);
  testing_support::write_file("hostile.lmk", {bytes.begin(), bytes.end()});

  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(::grantpt(master), 0);
  ASSERT_EQ(::unlockpt(master), 0);
  const std::string terminal = ::ptsname(master);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int slave = ::open(terminal.c_str(), O_RDWR);
    ::dup2(slave, 1);
    const int log = ::open("err.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(log, 2);
    ::execl(ZELVANOS_QUESTIONS, ZELVANOS_QUESTIONS, "dump", "hostile.lmk", static_cast<char*>(nullptr));
    _exit(127);
  }
  std::string shown;
  char buf[4096];
  for (;;) {
    const ssize_t n = ::read(master, buf, sizeof buf);
    if (n <= 0) break;  // EIO once the program has closed the terminal
    shown.append(buf, static_cast<std::size_t>(n));
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  ::close(master);
  EXPECT_EQ(WEXITSTATUS(status), 0) << err();
  EXPECT_EQ(shown.find('\x1b'), std::string::npos) << "raw escape on the terminal";
  EXPECT_NE(shown.find("? Q\\x1b]0;owned\\x07\\x1b[2J?"), std::string::npos) << shown;
  EXPECT_NE(shown.find("+ a"), std::string::npos) << shown;

  EXPECT_EQ(tool("dump hostile.lmk"), 0);
  EXPECT_EQ(out().rfind("? Q\x1b]0;owned\x07\x1b[2J?\n", 0), 0U) << "a file gets the bytes as they are";
  EXPECT_NE(err().find("control character"), std::string::npos) << err();
}

// check reports each file's difficulty on standard output and warns about
// a graded series out of order; a malformed estimate is an error.
TEST_F(QuestionTool, CheckReportsDifficultyAndASeriesOrder) {
  fs::create_directory("D");
  std::ofstream("D/01.txt", std::ios::binary)
      << "# Becslés: 90% 80%\n" + question("Első?", 0) + "\n# Becslés: 20%\n" + question("Második?", 1);
  std::ofstream("D/02.txt", std::ios::binary)
      << "# Becslés: 95%\n" + question("Harmadik?", 2) + "\n# Becslés: 85%\n" + question("Negyedik?", 3);
  std::ofstream("D/03.txt", std::ios::binary) << "# Becslés: 95\n" + question("Ötödik?", 0);
  EXPECT_EQ(tool("check D/02.txt D/01.txt"), 0) << err();
  EXPECT_EQ(out(),
            "D/02.txt: nehézség: 2 kérdésből 2 becsült; medián 90%, kvartilisek 87,5–92,5%, legkisebb–legnagyobb "
            "85–95% / difficulty: 2 of 2 questions estimated; median 90%, quartiles 87.5–92.5%, lowest–highest "
            "85–95%\n"
            "D/01.txt: nehézség: 2 kérdésből 2 becsült; medián 52,5%, kvartilisek 36,3–68,8%, legkisebb–legnagyobb "
            "20–85% / difficulty: 2 of 2 questions estimated; median 52.5%, quartiles 36.3–68.8%, lowest–highest "
            "20–85%\n");
  EXPECT_EQ(err(),
            "D/02.txt: figyelmeztetés / warning: a szint becsült mediánja 90%, nem kisebb az előző szinténél "
            "(D/01.txt: 52,5%) / the level's median estimate is 90%, not below the level before (D/01.txt: 52.5%)\n");
  EXPECT_EQ(tool("check D/02.txt"), 0);
  EXPECT_EQ(err(), "") << "one file is no series";
  EXPECT_EQ(tool("check D/01.txt D/02.txt D/03.txt"), 1);
  EXPECT_NE(err().find("D/03.txt:1:12: hiba / error: a(z) „95” után hiányzik a % jel / \"95\" lacks its % sign"),
            std::string::npos)
      << err();
  EXPECT_NE(out().find("D/03.txt: nehézség: 1 kérdés, egyiknek sincs becslése"), std::string::npos) << out();
  EXPECT_EQ(tool("check --help"), 0);
  for (const char* said : {"# Becslés: 85% 90%", "# Nyugtázva: ezres-tagolas", "szo-a-kerdesben", "ragegyeztetes"}) {
    EXPECT_NE(out().find(said), std::string::npos) << said;
  }
}

// What a quiz editor would refuse in question sets laid out as we ship them
// (Default and Children with 01.txt ... 10.txt, Single with its three
// files), one line each: a level short of 50 questions or a single-file set
// short of 99; a graded question with fewer than two estimates; a level
// whose median estimate is not below the level before; a question more than
// one level from where its estimate puts it (by rank, as the checker places
// it); a file whose right letters lean (any letter outside 15-35 %); a
// question repeated across the sets; any error, unacknowledged warning or
// needless acknowledgement of the checker.
std::vector<std::string> set_problems(const fs::path& root) {
  std::vector<std::string> problems;
  std::list<std::pair<std::string, questions::Compiled>> all;
  const auto take = [&](const fs::path& file, int least) -> const questions::Compiled* {
    const std::string name = fs::relative(file, root).generic_string();
    if (!fs::is_regular_file(file)) {
      problems.push_back(name + ": missing");
      return nullptr;
    }
    const auto& c = all.emplace_back(name, questions::compile(testing_support::read_text(file))).second;
    for (const auto& d : c.diagnostics) problems.push_back(questions::format(name, d));
    if (c.count < least) problems.push_back(name + ": " + std::to_string(c.count) + " questions");
    std::map<char, int> letters;
    for (int i = 0; i < c.count; ++i) ++letters[c.bank[static_cast<std::size_t>(i)].JOVALASZ.view().at(0)];
    for (const char letter : {'a', 'b', 'c', 'd'}) {
      const int share = c.count == 0 ? 0 : 100 * letters[letter] / c.count;
      if (share < 15 || share > 35) {
        problems.push_back(name + ": right letter " + letter + " " + std::to_string(share) + " %");
      }
    }
    return &c;
  };
  for (const char* set : {"Default", "Children"}) {
    std::vector<questions::NamedSource> series;
    for (int level = 1; level <= 10; ++level) {
      const fs::path file = root / set / ((level < 10 ? "0" : "") + std::to_string(level) + ".txt");
      const auto* c = take(file, 50);
      if (c == nullptr) continue;
      for (const auto& e : c->entries) {
        if (e.estimates.size() < 2) {
          problems.push_back(all.back().first + ":" + std::to_string(e.line) + ": " +
                             std::to_string(e.estimates.size()) + " estimates");
        }
      }
      if (!series.empty() && questions::spread(*c).median >= questions::spread(*series.back().compiled).median) {
        problems.push_back(all.back().first + ": median not below the level before");
      }
      series.push_back({all.back().first, c});
    }
    std::vector<std::string> names;
    for (const auto& s : series) names.push_back(s.file);
    const auto levels = questions::series_levels(names);
    if (levels.size() != 10) problems.push_back(std::string(set) + ": not a series of ten levels");
    for (const auto& w : questions::series_warnings(series, levels)) {
      problems.push_back(questions::format(w.file, w.diagnostic));
    }
  }
  int singles = 0;
  for (const auto& entry : fs::directory_iterator(root / "Single")) {
    if (entry.path().extension() != ".txt") continue;
    ++singles;
    take(entry.path(), questions::kMaxQuestions);
  }
  if (singles != 3) problems.push_back("Single: " + std::to_string(singles) + " files");
  std::vector<questions::NamedSource> named;
  for (const auto& [file, compiled] : all) named.push_back({file, &compiled});
  for (const auto& r : questions::repeats_across(named)) problems.push_back(questions::format(r.file, r.diagnostic));
  return problems;
}

// A source's question blocks (and the comment block at its top), split at
// blank lines, and joined back.
std::vector<std::string> blocks(const std::string& text) {
  std::vector<std::string> out;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = std::min(text.find("\n\n", at), text.size());
    out.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return out;
}

std::string joined(const std::vector<std::string>& parts) {
  std::string out;
  for (const auto& p : parts) out += p + "\n\n";
  return out;
}

class ShippedSets : public QuestionTool {
 protected:
  const fs::path data = ZELVANOS_DATA_DIR;
};

// The sets we ship meet the standard, and the checker itself says nothing
// about them.
TEST_F(ShippedSets, MeetTheEditorialStandard) {
  for (const auto& problem : set_problems(data / "Questions")) ADD_FAILURE() << problem;
  const std::string questions = (data / "Questions").string();
  EXPECT_EQ(tool("check " + questions + "/Default/*.txt"), 0);
  EXPECT_EQ(tool("check " + questions + "/Children/*.txt"), 0);
  EXPECT_EQ(tool("check " + questions + "/*/*.txt") + err().size(), 0U) << err();
  EXPECT_NE(out().find("Default/10.txt: nehézség: 50 kérdésből 50 becsült"), std::string::npos) << out();
}

// The standard catches each kind of regression, made in a copy of the sets.
TEST_F(ShippedSets, ARegressionInACopyIsCaught) {
  fs::copy(data / "Questions", "Q", fs::copy_options::recursive);
  ASSERT_EQ(set_problems("Q"), std::vector<std::string>{});
  struct Case {
    const char* what;
    std::function<void()> change;
    std::string said;
  };
  const auto edit = [](const fs::path& file, const std::function<void(std::vector<std::string>&)>& change) {
    auto parts = blocks(testing_support::read_text(file));
    change(parts);
    std::ofstream(file, std::ios::binary) << joined(parts);
  };
  const auto replace = [](const fs::path& file, const std::string& from, const std::string& to) {
    std::string text = testing_support::read_text(file);
    const auto at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    std::ofstream(file, std::ios::binary) << text.replace(at, from.size(), to);
  };
  const std::vector<Case> cases = {
      {"an easy and a hard question swapped",
       [&] {
         std::string easy;
         edit("Q/Default/01.txt", [&](auto& parts) { std::swap(easy, parts.at(1)); });
         edit("Q/Default/10.txt", [&](auto& parts) { std::swap(easy, parts.at(1)); });
         edit("Q/Default/01.txt", [&](auto& parts) { parts.at(1) = easy; });
       },
       "places it at level"},
      {"two levels swapped",
       [&] {
         fs::rename("Q/Children/04.txt", "Q/x");
         fs::rename("Q/Children/05.txt", "Q/Children/04.txt");
         fs::rename("Q/x", "Q/Children/05.txt");
       },
       "Children/05.txt: median not below the level before"},
      {"one reader's estimate left", [&] { replace("Q/Children/07.txt", "# Becslés: 60% 60%", "# Becslés: 60%"); },
       ": 1 estimates"},
      {"a question too few", [&] { edit("Q/Default/03.txt", [](auto& parts) { parts.pop_back(); }); },
       "Default/03.txt: 49 questions"},
      {"a single-file set short",
       [&] { edit("Q/Single/szamtech.txt", [](auto& parts) { parts.erase(parts.begin() + 5); }); },
       "Single/szamtech.txt: 98 questions"},
      {"the right answer moved to A",
       [&] {
         edit("Q/Default/06.txt", [](auto& parts) {
           for (std::size_t i = 1; i < 30; ++i) {
             auto& p = parts.at(i);
             const auto right = p.find("\n+ ");
             const auto first = p.find('\n', p.find("\n? ") + 1);
             const auto end = p.find('\n', right + 1);
             const std::string line = p.substr(right, (end == std::string::npos ? p.size() : end) - right);
             p.erase(right, line.size());
             p.insert(first, line);
           }
         });
       },
       "Default/06.txt: right letter a "},
      {"a question repeated in another set",
       [&] {
         const auto first = blocks(testing_support::read_text("Q/Default/02.txt")).at(1);
         const auto from = first.find("\n? ") + 1;
         const std::string asked = first.substr(from, first.find('\n', from) - from);
         edit("Q/Single/kelvarion.txt", [&](auto& parts) {
           auto& p = parts.at(1);
           const auto at = p.find("\n? ") + 1;
           p.replace(at, p.find('\n', at) - at, asked);
         });
       },
       "the question repeats Default/02.txt"},
      {"a give-away",
       [&] {
         replace("Q/Single/labdarugas.txt", "Melyik német klub otthona az Allianz Arena?",
                 "Melyik klub otthona a müncheni Allianz Arena?");
       },
       "[szo-a-kerdesben]"},
  };
  for (const auto& c : cases) {
    fs::remove_all("Q");
    fs::copy(data / "Questions", "Q", fs::copy_options::recursive);
    c.change();
    const auto problems = set_problems("Q");
    EXPECT_TRUE(std::any_of(problems.begin(), problems.end(),
                            [&](const std::string& p) { return p.find(c.said) != std::string::npos; }))
        << c.what << ": " << ::testing::PrintToString(problems);
  }
}

// The staged bank files are those of the sources, and dump back to them;
// the sources are the banks of the question-set table, no more and no fewer.
TEST_F(ShippedSets, StagedBanksMatchTheirSources) {
  const fs::path run = fs::path(ZELVANOS_GAME).parent_path() / "run";
  int banks = 0;
  std::set<std::string> shipped;
  for (const auto& entry : fs::recursive_directory_iterator(data / "Questions")) {
    if (entry.path().extension() != ".txt") continue;
    ++banks;
    const auto relative = fs::relative(entry.path(), data);
    const auto c = questions::compile(testing_support::read_text(entry.path()));
    fs::path bank_file = run / relative;
    bank_file.replace_extension(".lmk");
    shipped.insert(fs::path(relative).replace_extension(".lmk").generic_string());
    const auto bytes = testing_support::read_file(bank_file);
    ASSERT_EQ(bytes.size(), 31200U) << bank_file;
    EXPECT_EQ(bytes, game::encode_bank(c.bank)) << bank_file << " is stale";
    const auto bank = game::decode_bank(std::span<const std::uint8_t, 31200>(bytes.data(), bytes.size()));
    EXPECT_EQ(game::encode_bank(questions::compile(questions::dump(bank)).bank), bytes) << bank_file;
  }
  EXPECT_EQ(banks, 23);
  std::set<std::string> listed;
  for (const game::QuestionSet& set : game::kQuestionSets) {
    for (std::string bank : set.banks()) {
      std::replace(bank.begin(), bank.end(), '\\', '/');
      listed.insert(bank);
    }
  }
  EXPECT_EQ(shipped, listed);
}

}  // namespace
