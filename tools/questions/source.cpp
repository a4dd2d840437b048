#include "questions/source.hpp"

#include <algorithm>
#include <array>
#include <cstdio>

#include "platform/cp852.hpp"

namespace questions {
namespace {

struct Pending {
  int line = 0;
  std::string question;
  std::array<std::string, 4> answers;
  std::array<int, 4> answer_lines{};
  int answer_count = 0;
  int right = -1;
  bool second_right = false;
};

std::string describe_char(char32_t cp) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
  return buf;
}

class Compiler {
 public:
  explicit Compiler(Compiled& out) : out_(out) {}

  void error(int line, std::string message) { out_.diagnostics.push_back({line, true, std::move(message)}); }
  void warning(int line, std::string message) { out_.diagnostics.push_back({line, false, std::move(message)}); }

  // The line's text in code page 852, or an error.
  bool convert(int line, std::string_view utf8, std::string& out) {
    cp852::ConversionError e;
    if (auto bytes = cp852::from_utf8(utf8, &e)) {
      out = std::move(*bytes);
      return true;
    }
    if (e.malformed) {
      error(line, "malformed UTF-8");
    } else {
      error(line, "the character " + describe_char(e.cp) + " has no code page 852 byte");
    }
    return false;
  }

  void start_question(int line, std::string_view text) {
    finish();
    pending_ = Pending{};
    pending_.line = line;
    open_ = true;
    if (!convert(line, text, pending_.question)) return;
    if (pending_.question.empty()) error(line, "the question is empty");
    if (pending_.question == "*") error(line, "a question of just \"*\" would end the bank");
    if (pending_.question.size() > kMaxQuestionLength) {
      error(line, "the question is " + std::to_string(pending_.question.size()) + " characters long; at most " +
                      std::to_string(kMaxQuestionLength) + " fit");
    } else if (pending_.question.size() > kFirstLineLength) {
      const char last = pending_.question[kFirstLineLength - 1];
      const char next = pending_.question[kFirstLineLength];
      if (last != ' ' && next != ' ') {
        warning(line, "a word is split between the two lines of the question (characters 55 and 56)");
      }
    }
  }

  void answer(int line, bool right, std::string_view text) {
    if (!open_) {
      error(line, "an answer without a question before it");
      return;
    }
    if (pending_.answer_count == 4) {
      error(line, "a fifth answer; a question has four");
      return;
    }
    const int index = pending_.answer_count++;
    pending_.answer_lines[static_cast<std::size_t>(index)] = line;
    if (right) {
      if (pending_.right >= 0) {
        error(line, "a second right answer");
        pending_.second_right = true;
      }
      pending_.right = index;
    }
    std::string& bytes = pending_.answers[static_cast<std::size_t>(index)];
    if (!convert(line, text, bytes)) return;
    const char letter = static_cast<char>('A' + index);
    if (bytes.empty()) error(line, std::string("answer ") + letter + " is empty");
    if (bytes.size() > kMaxAnswerLength) {
      error(line, std::string("answer ") + letter + " is " + std::to_string(bytes.size()) +
                      " characters long; at most " + std::to_string(kMaxAnswerLength) + " fit");
    } else if (bytes.size() > kAnswerBoxLength) {
      warning(line, std::string("answer ") + letter + " is " + std::to_string(bytes.size()) +
                        " characters long and runs out of its box (" + std::to_string(kAnswerBoxLength) + " fit)");
    }
  }

  void finish() {
    if (!open_) return;
    open_ = false;
    if (pending_.answer_count < 4) {
      error(pending_.line, "the question has " + std::to_string(pending_.answer_count) + " answers; it needs four");
    }
    if (pending_.right < 0) error(pending_.line, "the question has no right answer (a line starting with \"+ \")");
    ++out_.count;
    if (out_.count == kMaxQuestions + 1) {
      error(pending_.line, "more than " + std::to_string(kMaxQuestions) + " questions in one bank");
    }
    if (out_.count > kMaxQuestions) return;
    game::KERDESREKORD& r = out_.bank[static_cast<std::size_t>(out_.count - 1)];
    r.KERDES.assign(pending_.question);
    r.A.assign(pending_.answers[0]);
    r.B.assign(pending_.answers[1]);
    r.C.assign(pending_.answers[2]);
    r.D.assign(pending_.answers[3]);
    if (pending_.right >= 0) r.JOVALASZ.assign(std::string(1, static_cast<char>('a' + pending_.right)));
    ++letters_[static_cast<std::size_t>(std::max(pending_.right, 0))];
  }

  void close() {
    finish();
    if (out_.count == 0) error(0, "the bank holds no question");
    if (out_.count <= kMaxQuestions) out_.bank[static_cast<std::size_t>(out_.count)].KERDES.assign("*");
    // Right answers that lean on one letter make a set easy to guess.
    if (out_.count >= 5) {
      const int most = *std::max_element(letters_.begin(), letters_.end());
      if (most * 5 > out_.count * 2) {
        std::string spread;
        for (int i = 0; i < 4; ++i) {
          spread += std::string(i ? ", " : "") + static_cast<char>('A' + i) + " " +
                    std::to_string(letters_[static_cast<std::size_t>(i)]);
        }
        warning(0, "the right answers lean on one letter (" + spread + ")");
      }
    }
  }

 private:
  Compiled& out_;
  Pending pending_;
  bool open_ = false;
  std::array<int, 4> letters_{};
};

}  // namespace

bool Compiled::ok() const {
  return std::none_of(diagnostics.begin(), diagnostics.end(), [](const Diagnostic& d) { return d.error; });
}

Compiled compile(std::string_view source) {
  Compiled out;
  Compiler c(out);
  int line_no = 0;
  std::size_t pos = 0;
  while (pos < source.size()) {
    std::size_t end = source.find('\n', pos);
    if (end == std::string_view::npos) end = source.size();
    std::string_view line = source.substr(pos, end - pos);
    pos = end + 1;
    ++line_no;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == '#') continue;
    if (line.size() >= 2 && line[1] == ' ' && (line[0] == '?' || line[0] == '+' || line[0] == '-')) {
      const std::string_view text = line.substr(2);
      if (line[0] == '?') {
        c.start_question(line_no, text);
      } else {
        c.answer(line_no, line[0] == '+', text);
      }
      continue;
    }
    c.error(line_no, "expected \"? question\", \"+ right answer\", \"- wrong answer\", a comment or a blank line");
  }
  c.close();
  return out;
}

std::string dump(const game::KERDESEKFULL& bank, std::vector<Diagnostic>* problems) {
  std::string out;
  for (std::size_t i = 0; i < bank.size(); ++i) {
    const game::KERDESREKORD& r = bank[i];
    if (r.KERDES.view() == "*") break;
    const char right = game::answer_letter(r.JOVALASZ.view());
    if (right == 0 && problems != nullptr) {
      problems->push_back({static_cast<int>(i + 1), true, "record " + std::to_string(i + 1) +
                                                              " has no right answer \"a\" to \"d\""});
    }
    if (!out.empty()) out += "\n";
    out += "? " + cp852::to_utf8(r.KERDES.view()) + "\n";
    const std::array<std::string_view, 4> answers = {r.A.view(), r.B.view(), r.C.view(), r.D.view()};
    for (int a = 0; a < 4; ++a) {
      out += (right == 'a' + a ? "+ " : "- ") + cp852::to_utf8(answers[static_cast<std::size_t>(a)]) + "\n";
    }
  }
  return out;
}

std::string format(std::string_view file, const Diagnostic& d) {
  std::string out(file);
  if (d.line > 0) out.append(":").append(std::to_string(d.line));
  out += d.error ? ": error: " : ": warning: ";
  out += d.message;
  return out;
}

}  // namespace questions
