// SPDX-License-Identifier: GPL-3.0-or-later
#include "questions/source.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <optional>

#include "platform/cp852.hpp"
#include "questions/text.hpp"
#include "questions/wording.hpp"

namespace questions {
namespace {

using text::lower;
using text::utf8_of;

// Hungarian, then English.
std::string both(const std::string& hu, const std::string& en) { return hu + " / " + en; }

std::string hex(char32_t cp) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(cp));
  return buf;
}

bool digit(char c) { return c >= '0' && c <= '9'; }

bool is_control(char32_t cp) { return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F); }

std::string describe_control(char32_t cp) {
  switch (cp) {
    case 0x00: return both("vezérlőkarakter: U+0000 (NUL)", "control character U+0000 (NUL)");
    case 0x09: return both("vezérlőkarakter: U+0009 (tabulátor)", "control character U+0009 (tab)");
    case 0x0D:
      return both("vezérlőkarakter: U+000D (kocsivissza, nem sorvégen)",
                  "control character U+000D (carriage return, not at a line end)");
    default: return both("vezérlőkarakter: " + hex(cp), "control character " + hex(cp));
  }
}

// What to write instead of a typographic character that code page 852 lacks.
const char* replacement(char32_t cp) {
  switch (cp) {
    case 0x201E:  // „
    case 0x201D:  // ”
    case 0x201C:  // “
    case 0x201F:
    case 0x2033: return "\"";
    case 0x2019:  // ’
    case 0x2018:
    case 0x201A:
    case 0x2032: return "'";
    case 0x2013:  // –
    case 0x2014:  // —
    case 0x2010:
    case 0x2011:
    case 0x2212: return "-";
    case 0x2026: return "...";  // …
    case 0x2009:
    case 0x202F: return " ";
    default: return nullptr;
  }
}

std::string describe_missing(char32_t cp) {
  const std::string shown = utf8_of(cp) + " (" + hex(cp) + ")";
  if (cp == 0xFEFF) {
    return both("a(z) " + hex(cp) + " bájtsorrendjel csak a fájl elején állhat; törölje",
                "the byte-order mark " + hex(cp) + " may only start the file; remove it");
  }
  if (const char* instead = replacement(cp)) {
    return both("a(z) " + shown + " karakter nincs a 852-es kódlapon; helyette ezt írja: " + instead,
                "the character " + shown + " has no code page 852 byte; use " + instead + " instead");
  }
  return both("a(z) " + shown + " karakter nincs a 852-es kódlapon",
              "the character " + shown + " has no code page 852 byte");
}

// Lower case with runs of separators as one space; separators are white
// space, and with `punctuation` also the marks that do not change a
// question's meaning.
std::string fold(std::string_view utf8, bool punctuation) {
  static constexpr std::u32string_view kMarks = U".,;:!?\"'()-\u00AB\u00BB\u201E\u201D\u201C\u2019\u2013\u2014\u2026";
  std::string out;
  bool gap = false;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const cp852::Decoded d = cp852::decode_utf8(utf8, pos);
    const char32_t cp = d.length == 0 ? 0xFFFD : d.cp;
    pos += d.length == 0 ? 1 : d.length;
    const bool separator = cp == ' ' || cp == 0xA0 || is_control(cp) ||
                           (punctuation && kMarks.find(cp) != std::u32string_view::npos);
    if (separator) {
      gap = !out.empty();
      continue;
    }
    if (gap) out.push_back(' ');
    gap = false;
    out += utf8_of(lower(cp));
  }
  return out;
}

// A text of code page 852 bytes that shows nothing: spaces and no-break
// spaces (0xFF) alone.
bool all_blanks(std::string_view cp852) { return cp852.find_first_not_of(" \xFF") == std::string_view::npos; }

// A "# Becslés:" or "# Nyugtázva:" line, waiting for the question it
// belongs to.
struct Note {
  int line = 0;
  std::vector<int> estimates;                             // a Becslés line's
  std::vector<std::pair<std::string, int>> acknowledged;  // an Nyugtázva line's names, with their columns
};

// The 1-based character column of byte `at` of a line.
int column_of(std::string_view line, std::size_t at) {
  return static_cast<int>(text::decode(line.substr(0, at)).size()) + 1;
}

struct Pending {
  int line = 0;
  bool usable = true;  // false: a text with a bad character, already reported
  std::vector<int> estimates;
  int estimate_line = 0;
  // Acknowledged warnings: name, line and column of the acknowledgement,
  // and whether a warning used it.
  struct Acknowledgement {
    std::string kind;
    int line = 0;
    int column = 0;
    bool used = false;
  };
  std::vector<Acknowledgement> acknowledged;
  std::string question_utf8;
  std::string question;
  std::array<std::string, 4> answers_utf8;
  std::array<std::string, 4> answers;
  std::array<int, 4> answer_lines{};
  int answer_count = 0;
  int right = -1;
};

class Compiler {
 public:
  explicit Compiler(Compiled& out) : out_(out) {}

  void error(int line, std::string message, int column = 0) { add({line, column, true, std::move(message)}); }
  void warning(int line, std::string message, int column = 0) { add({line, column, false, std::move(message)}); }
  void add(Diagnostic d) {
    if (out_.diagnostics.size() < kMaxDiagnostics) {
      out_.diagnostics.push_back(std::move(d));
    } else {
      ++(d.error ? out_.errors_left_out : out_.warnings_left_out);
    }
  }

  // A warning of a kind the question's block may acknowledge: dropped when
  // it does.
  void check_warning(std::string_view kind, int line, int column, std::string message) {
    for (auto& a : pending_.acknowledged) {
      if (a.kind != kind) continue;
      a.used = true;
      return;
    }
    add({line, column, false, std::move(message), std::string(kind)});
  }

  // A comment line: an estimate line or an acknowledgement belongs to a
  // question; any other comment is free text.
  void comment(int line_no, std::string_view line) {
    std::size_t at = 1;
    while (at < line.size() && line[at] == ' ') ++at;
    std::size_t end = at;
    while (end < line.size() && line[end] != ':' && line[end] != ' ') ++end;
    const std::u32string keyword = text::plain(text::decode(line.substr(at, end - at)));
    const bool estimate = keyword == U"becsles";
    if (!estimate && keyword != U"nyugtazva") return;
    const std::string name = estimate ? "Becslés" : "Nyugtázva";
    if (end >= line.size() || line[end] != ':') {
      // Without its colon it is one only when what follows reads as one:
      // "# Becslés 85%", "# Nyugtázva ezres-tagolas"; "# Becslés szerint ..."
      // is a free comment.
      std::size_t next = end;
      while (next < line.size() && line[next] == ' ') ++next;
      std::size_t after = next;
      while (after < line.size() && line[after] != ' ' && line[after] != ',') ++after;
      const std::u32string following = text::plain(text::decode(line.substr(next, after - next)));
      const bool reads_as_one = next < line.size() &&
                                (estimate
                                     ? digit(line[next])
                                     : std::any_of(kAcknowledgeable.begin(), kAcknowledgeable.end(),
                                                   [&](std::string_view k) { return text::decode(k) == following; }));
      if (!reads_as_one) return;
      error(line_no,
            both("a(z) „" + name + "” után kettőspont kell, pl. " +
                     (estimate ? "„# Becslés: 85% 90%”" : "„# Nyugtázva: ezres-tagolas”"),
                 "a colon must follow \"" + name + "\", as in " +
                     (estimate ? "\"# Becslés: 85% 90%\"" : "\"# Nyugtázva: ezres-tagolas\"")),
            column_of(line, end));
      return;
    }
    Note note;
    note.line = line_no;
    bool ok = true;
    // The words after the colon, separated by spaces (and, for names, commas).
    for (std::size_t pos = end + 1; pos < line.size();) {
      if (line[pos] == ' ' || (!estimate && line[pos] == ',')) {
        ++pos;
        continue;
      }
      std::size_t stop = pos;
      while (stop < line.size() && line[stop] != ' ' && (estimate || line[stop] != ',')) ++stop;
      const std::string_view word = line.substr(pos, stop - pos);
      const int column = column_of(line, pos);
      pos = stop;
      if (estimate) {
        if (const auto value = percent(line_no, word, column)) {
          note.estimates.push_back(*value);
        } else {
          ok = false;
        }
        continue;
      }
      const std::u32string plain = text::plain(text::decode(word));
      const auto known = std::find_if(kAcknowledgeable.begin(), kAcknowledgeable.end(),
                                      [&](std::string_view k) { return text::decode(k) == plain; });
      if (known == kAcknowledgeable.end()) {
        std::string names;
        for (const auto k : kAcknowledgeable) names += (names.empty() ? "" : ", ") + std::string(k);
        error(line_no,
              both("ismeretlen figyelmeztetés: „" + std::string(word) + "” (nyugtázható: " + names + ")",
                   "unknown warning \"" + std::string(word) + "\" (those that can be acknowledged: " + names + ")"),
              column);
        ok = false;
        continue;
      }
      note.acknowledged.emplace_back(std::string(*known), column);
    }
    if (ok && note.estimates.empty() && note.acknowledged.empty()) {
      error(line_no,
            estimate ? both("üres a Becslés sor; így írja: # Becslés: 85% 90%",
                            "the Becslés line holds no estimate; write it as # Becslés: 85% 90%")
                     : both("üres a Nyugtázva sor; írja utána a figyelmeztetés nevét",
                            "the Nyugtázva line names no warning; write the warning's name after it"),
            column_of(line, end) + 1);
      return;
    }
    if (ok) notes_.push_back(std::move(note));
  }

  // One estimate, "85%": a whole percent from 0 to 100.
  std::optional<int> percent(int line, std::string_view word, int column) {
    std::size_t digits = 0;
    while (digits < word.size() && digit(word[digits])) ++digits;
    const std::string shown(word);
    if (digits > 0 && digits <= 3 && digits + 1 == word.size() && word.back() == '%') {
      const int value = std::stoi(shown.substr(0, digits));
      if (value <= 100) return value;
      error(line, both("a becslés legfeljebb 100% lehet: " + shown, "an estimate is at most 100%: " + shown), column);
      return std::nullopt;
    }
    if (digits > 0 && digits == word.size()) {
      error(line, both("a(z) „" + shown + "” után hiányzik a % jel", "\"" + shown + "\" lacks its % sign"), column);
      return std::nullopt;
    }
    error(line,
          both("hibás becslés: „" + shown + "”; egész százalékok kellenek szóközzel elválasztva, pl. 85% 90%",
               "malformed estimate \"" + shown + "\"; write whole percents separated by spaces, as 85% 90%"),
          column);
    return std::nullopt;
  }

  // The end of a block of lines: what it noted belongs to the question it
  // holds, or else to the next question.
  void blank() {
    if (block_question_) attach_notes();
    block_question_ = false;
  }

  void attach_notes() {
    if (!open_) return;
    for (Note& note : notes_) {
      if (!note.estimates.empty()) {
        if (pending_.estimate_line != 0) {
          const std::string first = std::to_string(pending_.estimate_line);
          error(note.line, both("a kérdésnek már van Becslés sora (" + first + ". sor)",
                                "the question already has a Becslés line (line " + first + ")"));
        } else {
          pending_.estimates = std::move(note.estimates);
          pending_.estimate_line = note.line;
        }
      }
      for (const auto& [kind, column] : note.acknowledged) pending_.acknowledged.push_back({kind, note.line, column});
    }
    notes_.clear();
  }

  // Reports every malformed sequence and control character of a line;
  // returns whether it had none.
  bool scan(int line, std::string_view text) {
    bool clean = true;
    int column = 0;
    for (std::size_t pos = 0; pos < text.size();) {
      ++column;
      const cp852::Decoded d = cp852::decode_utf8(text, pos);
      if (d.length == 0) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "0x%02X", static_cast<unsigned char>(text[pos]));
        error(line,
              both(std::string("hibás UTF-8 (") + buf + " bájt)", std::string("malformed UTF-8 (byte ") + buf + ")"),
              column);
        clean = false;
        ++pos;
        continue;
      }
      if (is_control(d.cp)) {
        error(line, describe_control(d.cp), column);
        clean = false;
      }
      pos += d.length;
    }
    return clean;
  }

  // A text of a question or answer line (after its two-character mark) in
  // code page 852, every character without a byte reported.
  bool convert(int line, std::string_view utf8, std::string& out) {
    bool clean = true;
    int column = 2;
    out.clear();
    for (std::size_t pos = 0; pos < utf8.size();) {
      ++column;
      const cp852::Decoded d = cp852::decode_utf8(utf8, pos);
      pos += d.length;
      const int byte = cp852::byte_for(d.cp);
      if (byte < 0) {
        error(line, describe_missing(d.cp), column);
        clean = false;
      } else {
        out.push_back(static_cast<char>(byte));
      }
    }
    return clean;
  }

  void start_question(int line, std::string_view text, bool clean) {
    finish();
    pending_ = Pending{};
    pending_.line = line;
    open_ = true;
    block_question_ = true;
    attach_notes();
    pending_.question_utf8 = text;
    if (!clean || !convert(line, text, pending_.question)) {
      pending_.usable = false;
      return;
    }
    if (pending_.question.empty()) {
      error(line, both("üres a kérdés", "the question is empty"));
    } else if (all_blanks(pending_.question)) {
      error(line, both("a kérdés csupa szóköz", "the question is all blanks"));
    }
    if (pending_.question == "*") {
      error(line, both("a csak „*” kérdés lezárná a bankot", "a question of just \"*\" would end the bank"));
    }
    const std::string length = std::to_string(pending_.question.size());
    if (pending_.question.size() > kMaxQuestionLength) {
      const std::string most = std::to_string(kMaxQuestionLength);
      error(line, both("a kérdés " + length + " karakter; legfeljebb " + most + " fér el",
                       "the question is " + length + " characters long; at most " + most + " fit"));
    } else if (pending_.question.size() > kFirstLineLength) {
      const char last = pending_.question[kFirstLineLength - 1];
      const char next = pending_.question[kFirstLineLength];
      if (last != ' ' && next != ' ') {
        warning(line, both("egy szó kettétörik a kérdés két sora között (55. és 56. karakter)",
                           "a word is split between the two lines of the question (characters 55 and 56)"));
      }
    }
  }

  void answer(int line, bool right, std::string_view text, bool clean) {
    if (!open_) {
      error(line, both("válasz kérdés nélkül", "an answer without a question before it"));
      return;
    }
    if (pending_.answer_count == 4) {
      error(line, both("ötödik válasz; egy kérdésnek négy van", "a fifth answer; a question has four"));
      return;
    }
    const auto index = static_cast<std::size_t>(pending_.answer_count++);
    pending_.answer_lines[index] = line;
    if (right) {
      if (pending_.right >= 0) error(line, both("második jó válasz", "a second right answer"));
      pending_.right = static_cast<int>(index);
    }
    pending_.answers_utf8[index] = text;
    std::string& bytes = pending_.answers[index];
    if (!clean || !convert(line, text, bytes)) {
      pending_.usable = false;
      return;
    }
    const std::string letter(1, static_cast<char>('A' + index));
    const std::string length = std::to_string(bytes.size());
    if (bytes.empty()) {
      error(line, both("üres a(z) " + letter + " válasz", "answer " + letter + " is empty"));
    } else if (all_blanks(bytes)) {
      error(line, both("a(z) " + letter + " válasz csupa szóköz", "answer " + letter + " is all blanks"));
    }
    if (bytes.size() > kMaxAnswerLength) {
      const std::string most = std::to_string(kMaxAnswerLength);
      error(line, both("a(z) " + letter + " válasz " + length + " karakter; legfeljebb " + most + " fér el",
                       "answer " + letter + " is " + length + " characters long; at most " + most + " fit"));
    } else if (bytes.size() > kAnswerBoxLength) {
      const std::string box = std::to_string(kAnswerBoxLength);
      warning(line, both("a(z) " + letter + " válasz " + length + " karakter, kilóg a dobozából (" + box + " fér el)",
                         "answer " + letter + " is " + length + " characters long and runs out of its box (" + box +
                             " fit)"));
    }
  }

  void finish() {
    if (!open_) return;
    open_ = false;
    if (pending_.answer_count < 4) {
      const std::string n = std::to_string(pending_.answer_count);
      error(pending_.line,
            both("a kérdésnek " + n + " válasza van, négy kell", "the question has " + n + " answers; it needs four"));
    }
    if (pending_.right < 0) {
      error(pending_.line, both("a kérdésnek nincs jó válasza („+ ” kezdetű sor)",
                                "the question has no right answer (a line starting with \"+ \")"));
    }
    if (pending_.usable && pending_.answer_count == 4) {
      quiz_checks();
      // An acknowledgement no warning used is stale: the text it was for
      // has changed.
      for (const auto& a : pending_.acknowledged) {
        if (a.used) continue;
        warning(a.line,
                both("a(z) „" + a.kind + "” figyelmeztetést a kérdés nem kapja; törölje a nyugtázást",
                     "the question does not get the \"" + a.kind + "\" warning; remove the acknowledgement"),
                a.column);
      }
    }
    ++out_.count;
    if (out_.count == kMaxQuestions + 1) {
      const std::string most = std::to_string(kMaxQuestions);
      error(pending_.line,
            both("több mint " + most + " kérdés egy bankban", "more than " + most + " questions in one bank"));
    }
    if (out_.count > kMaxQuestions) return;
    game::KERDESREKORD& r = out_.bank[static_cast<std::size_t>(out_.count - 1)];
    r.KERDES.assign(pending_.question);
    r.A.assign(pending_.answers[0]);
    r.B.assign(pending_.answers[1]);
    r.C.assign(pending_.answers[2]);
    r.D.assign(pending_.answers[3]);
    if (pending_.right >= 0) r.JOVALASZ.assign(cp852::one_char(static_cast<std::uint8_t>('a' + pending_.right)));
    out_.entries.push_back({pending_.line, pending_.estimates});
    ++letters_[static_cast<std::size_t>(std::max(pending_.right, 0))];
  }

  // What a quiz editor would flag: a question asked twice, two answers the
  // same, numbers out of order.
  void quiz_checks() {
    const int line = pending_.line;
    std::string key = normalised(pending_.question_utf8);
    if (const auto [at, fresh] = seen_.emplace(key, line); !fresh) {
      const std::string first = std::to_string(at->second);
      warning(line, both("a kérdés megismétli a(z) " + first + ". sor kérdését",
                         "the question repeats the one on line " + first));
    }
    out_.questions.emplace_back(std::move(key), line);

    for (std::size_t i = 1; i < 4; ++i) {
      for (std::size_t j = 0; j < i; ++j) {
        if (fold(pending_.answers_utf8[i], false) != fold(pending_.answers_utf8[j], false)) continue;
        const std::string pair = cp852::one_char(static_cast<std::uint8_t>('A' + j)) + " és " +
                                 static_cast<char>('A' + i);
        const std::string pair_en = cp852::one_char(static_cast<std::uint8_t>('A' + j)) + " and " +
                                    static_cast<char>('A' + i);
        warning(pending_.answer_lines[i],
                both("a(z) " + pair + " válasz azonos", "answers " + pair_en + " are the same"));
        break;
      }
    }

    std::array<std::optional<Number>, 4> numbers;
    for (std::size_t i = 0; i < 4; ++i) numbers[i] = number(pending_.answers_utf8[i]);
    const bool all = std::all_of(numbers.begin(), numbers.end(),
                                 [&](const auto& n) { return n.has_value() && n->unit == numbers[0]->unit; });
    for (std::size_t i = 1; all && i < 4; ++i) {
      if (numbers[i]->value > numbers[i - 1]->value) continue;
      check_warning(kOrder, line, 0,
                    both("a számválaszok nem szigorúan növekvő sorrendben állnak (A-tól D-ig)",
                         "the number answers are not in strictly ascending order (A to D)"));
      break;
    }

    // What the wording shows: give-aways, grouping, forms, agreement.
    for (auto& f : wording_findings(pending_.question_utf8, pending_.answers_utf8, pending_.right)) {
      const int at = f.field == 0 ? line : pending_.answer_lines[static_cast<std::size_t>(f.field - 1)];
      check_warning(f.kind, at, f.column + 2, std::move(f.message));
    }
  }

  void close() {
    if (block_question_) attach_notes();
    finish();
    for (const Note& note : notes_) {
      error(note.line, both("a sor egyetlen kérdéshez sem tartozik; tegye a kérdés megjegyzései közé",
                            "the line belongs to no question; put it among the question's comments"));
    }
    if (out_.count == 0) error(0, both("a bankban nincs kérdés", "the bank holds no question"));
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
        warning(0, both("a jó válaszok egy betűre húznak (" + spread + ")",
                        "the right answers lean on one letter (" + spread + ")"));
      }
    }
  }

 private:
  Compiled& out_;
  Pending pending_;
  bool open_ = false;
  std::array<int, 4> letters_{};
  std::map<std::string, int> seen_;
  std::vector<Note> notes_;
  bool block_question_ = false;  // the block of lines read holds a question
};

}  // namespace

std::string normalised(std::string_view utf8) { return fold(utf8, true); }

bool Compiled::ok() const {
  return errors_left_out == 0 &&
         std::none_of(diagnostics.begin(), diagnostics.end(), [](const Diagnostic& d) { return d.error; });
}

Compiled compile(std::string_view source) {
  Compiled out;
  Compiler c(out);
  if (source.substr(0, 3) == "\xEF\xBB\xBF") source.remove_prefix(3);
  int line_no = 0;
  std::size_t pos = 0;
  while (pos < source.size()) {
    std::size_t end = source.find('\n', pos);
    if (end == std::string_view::npos) end = source.size();
    std::string_view line = source.substr(pos, end - pos);
    pos = end + 1;
    ++line_no;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const bool clean = c.scan(line_no, line);
    if (line.find_first_not_of(' ') == std::string_view::npos) {
      c.blank();
      continue;
    }
    if (line[0] == '#') {
      if (clean) c.comment(line_no, line);
      continue;
    }
    if (line.size() >= 2 && line[1] == ' ' && (line[0] == '?' || line[0] == '+' || line[0] == '-')) {
      const std::string_view text = line.substr(2);
      if (line[0] == '?') {
        c.start_question(line_no, text, clean);
      } else {
        c.answer(line_no, line[0] == '+', text, clean);
      }
      continue;
    }
    c.error(line_no,
            both("várt sor: „? kérdés”, „+ jó válasz”, „- rossz válasz”, megjegyzés („#”) vagy üres sor",
                 "expected \"? question\", \"+ right answer\", \"- wrong answer\", a comment or a blank line"));
  }
  c.close();
  return out;
}

std::vector<Repeat> repeats_across(const std::vector<NamedSource>& sources) {
  std::vector<Repeat> out;
  std::map<std::string, std::pair<std::size_t, int>> first;  // text: source, line
  for (std::size_t s = 0; s < sources.size(); ++s) {
    std::map<std::string, std::pair<std::size_t, int>> here;
    for (const auto& [text, line] : sources[s].compiled->questions) {
      here.emplace(text, std::make_pair(s, line));
      const auto it = first.find(text);
      if (it == first.end() || it->second.first == s) continue;
      const std::string where = sources[it->second.first].file + ":" + std::to_string(it->second.second);
      out.push_back({sources[s].file,
                     {line, 0, false, both("a kérdés megismétli ezt: " + where, "the question repeats " + where)}});
    }
    first.merge(here);
  }
  return out;
}

std::string dump(const game::KERDESEKFULL& bank, std::vector<Diagnostic>* problems) {
  std::string out;
  const auto problem = [&](std::size_t record, const std::string& hu, const std::string& en) {
    if (problems == nullptr) return;
    const std::string n = std::to_string(record + 1);
    problems->push_back(
        {static_cast<int>(record + 1), 0, false, both("a(z) " + n + ". rekord: " + hu, "record " + n + ": " + en)});
  };
  std::size_t i = 0;
  for (; i < bank.size(); ++i) {
    const game::KERDESREKORD& r = bank[i];
    if (r.KERDES.view() == "*") break;
    const char right = game::answer_letter(r.JOVALASZ.view());
    if (right == 0) problem(i, "nincs „a”–„d” jó válasza", "no right answer \"a\" to \"d\"");
    const std::array<std::string_view, 5> texts = {r.KERDES.view(), r.A.view(), r.B.view(), r.C.view(), r.D.view()};
    for (std::size_t t = 0; t < texts.size(); ++t) {
      const std::string field = t == 0 ? "a kérdés"
                                       : "a(z) " + cp852::one_char(static_cast<std::uint8_t>('A' + t - 1)) + " válasz";
      const std::string field_en = t == 0 ? "the question"
                                          : "answer " + cp852::one_char(static_cast<std::uint8_t>('A' + t - 1));
      if (texts[t].empty()) problem(i, field + " üres", field_en + " is empty");
      const bool control = std::any_of(texts[t].begin(), texts[t].end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
      if (control) {
        problem(i, field + " vezérlőkaraktert tartalmaz, amit forrás nem tartalmazhat",
                field_en + " holds a control character, which a source cannot hold");
      }
    }
    if (!out.empty()) out += "\n";
    out += "? " + cp852::to_utf8(r.KERDES.view()) + "\n";
    for (std::size_t a = 1; a < texts.size(); ++a) {
      out += (right == static_cast<char>('a' + a - 1) ? "+ " : "- ") + cp852::to_utf8(texts[a]) + "\n";
    }
  }
  if (i > static_cast<std::size_t>(kMaxQuestions) && problems != nullptr) {
    problems->push_back({0, 0, false,
                         both("a bankban nincs „*” lezáró és 100 kérdés van; egy forrásban legfeljebb 99 lehet",
                              "the bank has no \"*\" terminator and 100 questions; a source holds at most 99")});
  }
  return out;
}

std::string format(std::string_view file, const Diagnostic& d) {
  std::string out(file);
  if (d.line > 0) out.append(":").append(std::to_string(d.line));
  if (d.line > 0 && d.column > 0) out.append(":").append(std::to_string(d.column));
  out += d.error ? ": hiba / error: " : ": figyelmeztetés / warning: ";
  out += d.message;
  if (!d.kind.empty()) out += " [" + d.kind + "]";
  return out;
}

}  // namespace questions
