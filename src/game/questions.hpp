// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The question banks: files of 100 fixed-size question records, one file
// per level for the two level-graded sets and one file for each single set.
// Every level loads its bank afresh and draws one question at random, one
// not yet asked in this game while the bank holds such a one, and not asked
// by an earlier game until the bank is used up (game/asked.hpp).

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/shortstring.hpp"

namespace game {

struct KERDESREKORD {
  platform::ShortString<100> KERDES;
  platform::ShortString<50> A;
  platform::ShortString<50> B;
  platform::ShortString<50> C;
  platform::ShortString<50> D;
  platform::ShortString<1> JOVALASZ;
};

inline constexpr std::size_t kRecordSize = 312;
inline constexpr std::size_t kBankRecords = 100;
inline constexpr std::size_t kBankSize = kRecordSize * kBankRecords;  // 31 200

using KERDESEKFULL = std::array<KERDESREKORD, kBankRecords>;

// Field by field; the five alignment bytes are written as zero.
std::array<std::uint8_t, kRecordSize> encode_record(const KERDESREKORD& record);
KERDESREKORD decode_record(std::span<const std::uint8_t, kRecordSize> bytes);
std::vector<std::uint8_t> encode_bank(const KERDESEKFULL& bank);
KERDESEKFULL decode_bank(std::span<const std::uint8_t, kBankSize> bytes);

// Which answer a one-letter string "a" to "d" names, 0 to 3; -1 for any other string.
int answer_index(std::string_view letter);

// The letter "a" to "d" a right-answer field stands for ("A" to "D" count as
// their lower-case letters), or 0 when it stands for none.
char answer_letter(std::string_view field);

// The records a bank asks: those before the first "*" record (all 100 when
// there is none) whose right answer is a letter "a" to "d". 1-based indexes.
std::vector<int> drawable_questions(const KERDESEKFULL& bank);

// The questions a set (numbered as CONFIG.KERDESEK, game/question_sets.hpp)
// can ask: the drawable records of all its bank files, read now. A bank that
// is missing or cannot be read counts as none; any other number has none.
int set_question_count(int number);

// The bank in memory and the current question.
extern KERDESEKFULL K;
extern std::string KERDES;
extern std::string A;
extern std::string B;
extern std::string C;
extern std::string D;
extern std::string JOVALASZ;
extern std::string ROSSZVALASZ1;
extern std::string ROSSZVALASZ2;
extern std::string ROSSZVALASZ3;
// During a load the bank's question count, then the index drawn.
extern std::int16_t KERDESEK;
// The level file drawn in random-questions mode.
extern std::int16_t VELETLEN;

void KERDEZ();
void KERDEZ_BETOLT(std::string_view SZVG);
void VELETLENKERDESEK();
void ROSSZVALASZ();

// A game never asks one question twice while the bank it draws from still
// holds one it has not asked: KERDEZ_BETOLT keeps what it drew in this game
// until this is called, at the start of every game. (What earlier games
// asked is kept in the memory of asked questions, game/asked.hpp.)
void forget_asked_questions();

void reset_questions();

}  // namespace game
