// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The memory of asked questions: which questions of each bank earlier games
// have asked, so that a new game draws from those not yet asked until the
// bank is used up. It is a record file of its own, Data\AskedQuestions.cfg,
// written after every question drawn (so a question counts as asked however
// the game ends afterwards; renamed into place whole, without waiting for
// the disk) and never touching the settings or the high-score list. It
// follows a bank's content, not its name: each entry is keyed by a
// fingerprint of the bank's questions, so a bank compiled anew starts
// afresh, and identical banks share what they asked.
//
// Layout, 1 040 bytes, numbers little-endian:
//   0   8  "ZVASKED1" (what the file is, and its version)
//   8   4  the use clock: one more at every question remembered
//  12   4  checksum: 32-bit FNV-1a of the whole record, these four bytes as 0
//  16  32 entries of 32 bytes each:
//        0   8  the bank's fingerprint (0: a free entry)
//        8   4  the use clock when the bank last had a question drawn
//       12   4  zero
//       16  16  the records asked: bit (n - 1) % 8 of byte (n - 1) / 8 for
//               record n, 1 to 100; the rest zero
// With all 32 entries taken, the bank used longest ago gives its entry up.
//
// A missing file, or one of another kind (not beginning "ZVASKED1"), is an
// empty memory, without a word; the next write replaces it. One of this
// kind cut short (or empty) or failing its checksum is damaged, never
// fatal: the memory starts afresh, and standard error says so once. A file
// that cannot be written is said once too; the game goes on and remembers
// for as long as it runs.

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "game/questions.hpp"

namespace game {

inline constexpr std::string_view kAskedFile = "Data\\AskedQuestions.cfg";
inline constexpr std::size_t kAskedBanks = 32;
inline constexpr std::size_t kAskedHeaderSize = 16;
inline constexpr std::size_t kAskedEntrySize = 32;
inline constexpr std::size_t kAskedSize = kAskedHeaderSize + kAskedBanks * kAskedEntrySize;  // 1 040

// Bit n - 1 stands for record n of a bank.
using AskedSet = std::bitset<kBankRecords>;

struct AskedMemory {
  struct Bank {
    std::uint64_t fingerprint = 0;
    std::uint32_t used = 0;
    AskedSet asked;
  };
  std::uint32_t clock = 0;
  std::array<Bank, kAskedBanks> banks{};
};

using AskedBytes = std::array<std::uint8_t, kAskedSize>;

// A 64-bit FNV-1a of the questions as the game reads them: the texts and
// right answers of the records before the terminator (what lies past a
// text's length, or past the terminator, is never shown). Never 0.
std::uint64_t bank_fingerprint(const KERDESEKFULL& bank);

AskedBytes encode_asked(const AskedMemory& memory);

enum class AskedFileState { kGood, kForeign, kDamaged };
// The memory the bytes hold, or why they hold none (`memory` is then empty).
AskedFileState decode_asked(std::span<const std::uint8_t, kAskedSize> bytes, AskedMemory& memory);

// What has been asked from the bank with this fingerprint, as far as the
// memory knows. The file is read at the first call of a run.
AskedSet remembered_questions(std::uint64_t fingerprint);

// Sets what has been asked from that bank, and writes the file at once.
void remember_questions(std::uint64_t fingerprint, const AskedSet& asked);

// Forgets the memory read and the problems already said: the next call
// reads the file again, as a new run does.
void reset_asked_memory();

}  // namespace game
