// zelvanos-questions: compiles readable question sources into the game's
// bank files, dumps bank files back to sources, and checks sources.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>

#include "game/questions.hpp"
#include "platform/files.hpp"
#include "questions/source.hpp"

namespace {

constexpr const char* kUsage =
    "usage: zelvanos-questions compile SOURCE BANK   compile a source into a bank file\n"
    "       zelvanos-questions dump BANK [SOURCE]    write a bank's source (to standard output)\n"
    "       zelvanos-questions check SOURCE...       check sources without writing anything\n"
    "\n"
    "A source is UTF-8 text, one question per block:\n"
    "\n"
    "  # a comment\n"
    "  ? Melyik a legnagyobb bolygó a Naprendszerben?\n"
    "  - Mars\n"
    "  + Jupiter\n"
    "  - Vénusz\n"
    "  - Szaturnusz\n"
    "\n"
    "\"? \" starts the question (at most 100 characters; the screen breaks it after\n"
    "character 55), then four answers A to D (at most 50 characters; 25 fit their\n"
    "box), \"+ \" before the right one. At most 99 questions. A bank file is 31 200\n"
    "bytes: 100 records of 312, the questions, a \"*\" record after them, then\n"
    "empty records.\n"
    "\n"
    "Exit codes: 0 done (warnings allowed), 1 the source has errors, 2 a file\n"
    "could not be read or written, 64 wrong usage.\n";

std::optional<std::string> read_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Prints the diagnostics; returns false when any is an error.
bool report(const std::string& file, const questions::Compiled& c) {
  for (const auto& d : c.diagnostics) std::cerr << questions::format(file, d) << "\n";
  return c.ok();
}

int check(const std::string& file, questions::Compiled* result) {
  const auto text = read_text(file);
  if (!text) {
    std::cerr << file << ": error: cannot read the file\n";
    return 2;
  }
  *result = questions::compile(*text);
  return report(file, *result) ? 0 : 1;
}

int compile(const std::string& source, const std::string& bank_path) {
  questions::Compiled c;
  if (const int code = check(source, &c); code != 0) return code;
  try {
    platform::write_record(bank_path, game::encode_bank(c.bank));
  } catch (const platform::Fatal& e) {
    std::cerr << "zelvanos-questions: " << e.what() << "\n";
    return 2;
  }
  return 0;
}

int dump(const std::string& bank_path, const char* out_path) {
  std::vector<std::uint8_t> bytes;
  try {
    bytes = platform::read_record(bank_path, game::kBankSize);
  } catch (const platform::Fatal& e) {
    std::cerr << "zelvanos-questions: " << e.what() << "\n";
    return 2;
  }
  const auto bank = game::decode_bank(std::span<const std::uint8_t, game::kBankSize>(bytes.data(), bytes.size()));
  std::vector<questions::Diagnostic> problems;
  const std::string text = questions::dump(bank, &problems);
  for (const auto& p : problems) std::cerr << bank_path << ": warning: " << p.message << "\n";
  if (out_path == nullptr) {
    std::cout << text;
    return std::cout ? 0 : 2;
  }
  std::ofstream out(out_path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out.flush()) {
    std::cerr << out_path << ": error: cannot write the file\n";
    return 2;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kUsage;
    return 0;
  }
  if (command == "compile" && argc == 4) return compile(argv[2], argv[3]);
  if (command == "dump" && (argc == 3 || argc == 4)) return dump(argv[2], argc == 4 ? argv[3] : nullptr);
  if (command == "check" && argc >= 3) {
    int worst = 0;
    for (int i = 2; i < argc; ++i) {
      questions::Compiled c;
      worst = std::max(worst, check(argv[i], &c));
    }
    return worst;
  }
  std::cerr << kUsage;
  return 64;
}
