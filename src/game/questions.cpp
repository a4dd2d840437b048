// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/questions.hpp"

#include <algorithm>
#include <map>

#include "game/asked.hpp"
#include "game/game.hpp"
#include "game/ladder.hpp"
#include "game/question_sets.hpp"
#include "platform/cp852.hpp"
#include "platform/files.hpp"
#include "platform/graph.hpp"
#include "platform/settings.hpp"
#include "screen/gamescreen.hpp"

namespace game {

KERDESEKFULL K{};
std::string KERDES;
std::string A;
std::string B;
std::string C;
std::string D;
std::string JOVALASZ;
std::string ROSSZVALASZ1;
std::string ROSSZVALASZ2;
std::string ROSSZVALASZ3;
std::int16_t KERDESEK = 0;
std::int16_t VELETLEN = 0;

namespace {

// Field offsets: every string starts at an even offset.
constexpr std::size_t kKerdesAt = 0;
constexpr std::size_t kAAt = 102;
constexpr std::size_t kBAt = 154;
constexpr std::size_t kCAt = 206;
constexpr std::size_t kDAt = 258;
constexpr std::size_t kJovalaszAt = 310;
static_assert(kAAt == kKerdesAt + 101 + 1 && kBAt == kAAt + 51 + 1 && kCAt == kBAt + 51 + 1);
static_assert(kDAt == kCAt + 51 + 1 && kJovalaszAt == kDAt + 51 + 1 && kJovalaszAt + 2 == kRecordSize);

// The questions asked in this game, by file name.
std::map<std::string, AskedSet, std::less<>> g_asked;

// Redraws of a question already asked before the next unasked record is
// taken instead.
constexpr int kRedraws = 3;

bool covers(const AskedSet& set, const std::vector<int>& questions) {
  return std::all_of(questions.begin(), questions.end(),
                     [&](int q) { return set.test(static_cast<std::size_t>(q - 1)); });
}

void load_level_file(const QuestionSet& set, int level) {
  if (level < 1 || level > kTopLevel) return;
  KERDEZ_BETOLT(set.bank(level));
}

}  // namespace

std::array<std::uint8_t, kRecordSize> encode_record(const KERDESREKORD& r) {
  std::array<std::uint8_t, kRecordSize> out{};
  r.KERDES.store(&out[kKerdesAt]);
  r.A.store(&out[kAAt]);
  r.B.store(&out[kBAt]);
  r.C.store(&out[kCAt]);
  r.D.store(&out[kDAt]);
  r.JOVALASZ.store(&out[kJovalaszAt]);
  return out;
}

KERDESREKORD decode_record(std::span<const std::uint8_t, kRecordSize> in) {
  KERDESREKORD r;
  r.KERDES = platform::ShortString<100>::load(&in[kKerdesAt]);
  r.A = platform::ShortString<50>::load(&in[kAAt]);
  r.B = platform::ShortString<50>::load(&in[kBAt]);
  r.C = platform::ShortString<50>::load(&in[kCAt]);
  r.D = platform::ShortString<50>::load(&in[kDAt]);
  r.JOVALASZ = platform::ShortString<1>::load(&in[kJovalaszAt]);
  return r;
}

std::vector<std::uint8_t> encode_bank(const KERDESEKFULL& bank) {
  std::vector<std::uint8_t> out;
  out.reserve(kBankSize);
  for (const KERDESREKORD& r : bank) {
    const auto bytes = encode_record(r);
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
  return out;
}

KERDESEKFULL decode_bank(std::span<const std::uint8_t, kBankSize> bytes) {
  KERDESEKFULL bank;
  for (std::size_t i = 0; i < kBankRecords; ++i) {
    bank[i] = decode_record(bytes.subspan(i * kRecordSize).first<kRecordSize>());
  }
  return bank;
}

int answer_index(std::string_view letter) {
  if (letter.size() != 1 || letter[0] < 'a' || letter[0] > 'd') return -1;
  return letter[0] - 'a';
}

char answer_letter(std::string_view field) {
  if (field.size() != 1) return 0;
  const char c = field[0];
  if (answer_index(field) >= 0) return c;
  if (c >= 'A' && c <= 'D') return static_cast<char>(c - 'A' + 'a');
  return 0;
}

std::vector<int> drawable_questions(const KERDESEKFULL& bank) {
  std::vector<int> out;
  for (std::size_t i = 0; i < kBankRecords; ++i) {
    if (bank[i].KERDES.view() == "*") break;
    if (answer_letter(bank[i].JOVALASZ.view()) != 0) out.push_back(static_cast<int>(i + 1));
  }
  return out;
}

int set_question_count(int number) {
  const QuestionSet* set = question_set(number);
  if (set == nullptr) return 0;
  int count = 0;
  for (const std::string& file : set->banks()) {
    try {
      const auto bytes = platform::read_record(platform::game_path(file), kBankSize);
      count += static_cast<int>(
          drawable_questions(decode_bank(std::span<const std::uint8_t, kBankSize>(bytes.data(), kBankSize))).size());
    } catch (const std::exception&) {
      // A missing or damaged bank holds nothing that can be asked.
    }
  }
  return count;
}

void KERDEZ() {
  // A set that is not graded asks every level from its one file; a graded
  // one from the level's own file, or in random-questions mode (JATEKMOD
  // other than 1) from a level file drawn at random.
  if (const QuestionSet* set = question_set(settings::CONFIG.KERDESEK)) {
    if (!set->graded()) {
      KERDEZ_BETOLT(set->bank(X));
    } else if (settings::CONFIG.JATEKMOD == 1) {
      load_level_file(*set, X);
    } else {
      VELETLENKERDESEK();
    }
  }
  ROSSZVALASZ();
  screen::KIIRAS();
}

void VELETLENKERDESEK() {
  platform::Randomize();
  VELETLEN = static_cast<std::int16_t>(platform::Random(kTopLevel) + 1);
  if (const QuestionSet* set = question_set(settings::CONFIG.KERDESEK); set != nullptr && set->graded()) {
    load_level_file(*set, VELETLEN);
  }
}

void KERDEZ_BETOLT(std::string_view SZVG) {
  const std::filesystem::path path = platform::game_path(SZVG);
  const auto bytes = platform::read_record(path, kBankSize);
  K = decode_bank(std::span<const std::uint8_t, kBankSize>(bytes.data(), kBankSize));
  // Records with no usable right answer can never be answered right, and a
  // bank that opens with its terminator has nothing to ask: neither is drawn.
  const std::vector<int> questions = drawable_questions(K);
  if (questions.empty()) {
    throw platform::IoError(100, path, "the question bank holds no question that can be asked");
  }
  KERDESEK = static_cast<std::int16_t>(questions.size());
  // What not to draw: the questions this game has asked from the file, and
  // those earlier games asked from a bank of this content. A bank whose
  // every question has been asked starts over; when this game has asked
  // them all (a bank smaller than a game), only the memory counts.
  const std::uint64_t fingerprint = bank_fingerprint(K);
  AskedSet remembered = remembered_questions(fingerprint);
  if (covers(remembered, questions)) remembered.reset();
  AskedSet& in_game = g_asked[std::string(SZVG)];
  AskedSet avoid = remembered | in_game;
  if (covers(avoid, questions)) avoid = remembered;
  platform::Randomize();
  std::size_t drawn = static_cast<std::size_t>(platform::Random(KERDESEK));
  // A question to avoid is drawn again while the bank still holds another.
  // The redraws go on from the same seed (a reseed within the same
  // millisecond would only repeat the draw); after a few, the next record
  // in the bank's order not to avoid is taken.
  const auto avoided = [&](std::size_t i) { return avoid.test(static_cast<std::size_t>(questions[i] - 1)); };
  const std::size_t count = questions.size();
  if (!covers(avoid, questions)) {
    for (int redraw = 0; redraw < kRedraws && avoided(drawn); ++redraw) {
      drawn = static_cast<std::size_t>(platform::Random(KERDESEK));
    }
    while (avoided(drawn)) drawn = (drawn + 1) % count;
  }
  KERDESEK = static_cast<std::int16_t>(questions[drawn]);
  const auto record = static_cast<std::size_t>(KERDESEK - 1);
  in_game.set(record);
  // Remembered at once: the question counts as asked however the game ends.
  remembered.set(record);
  remember_questions(fingerprint, remembered);
  const KERDESREKORD& r = K[static_cast<std::size_t>(KERDESEK - 1)];
  KERDES = r.KERDES.view();
  A = r.A.view();
  B = r.B.view();
  C = r.C.view();
  D = r.D.view();
  JOVALASZ = cp852::one_char(static_cast<std::uint8_t>(answer_letter(r.JOVALASZ.view())));
}

void ROSSZVALASZ() {
  static constexpr std::array<std::array<std::string_view, 3>, 4> kWrong = {
      {{"b", "c", "d"}, {"a", "c", "d"}, {"a", "b", "d"}, {"a", "b", "c"}}};
  const int right = answer_index(JOVALASZ);
  if (right < 0) return;
  const auto& wrong = kWrong[static_cast<std::size_t>(right)];
  ROSSZVALASZ1 = wrong[0];
  ROSSZVALASZ2 = wrong[1];
  ROSSZVALASZ3 = wrong[2];
}

void forget_asked_questions() { g_asked.clear(); }

void reset_questions() {
  forget_asked_questions();
  reset_asked_memory();
  K = {};
  KERDES.clear();
  A.clear();
  B.clear();
  C.clear();
  D.clear();
  JOVALASZ.clear();
  ROSSZVALASZ1.clear();
  ROSSZVALASZ2.clear();
  ROSSZVALASZ3.clear();
  KERDESEK = 0;
  VELETLEN = 0;
}

}  // namespace game
