// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/asked.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/errors.hpp"
#include "platform/files.hpp"

namespace game {
namespace {

constexpr std::string_view kMagic = "ZVASKED1";
constexpr std::size_t kClockAt = 8;
constexpr std::size_t kChecksumAt = 12;
constexpr std::size_t kEntryUsedAt = 8;
constexpr std::size_t kEntryAskedAt = 16;
static_assert(kEntryAskedAt + (kBankRecords + 7) / 8 <= kAskedEntrySize);

// The memory of this run, read at its first use.
std::optional<AskedMemory> g_memory;
bool g_said_unreadable = false;
bool g_said_unwritable = false;

template <typename T>
void put(std::span<std::uint8_t> out, std::size_t at, T value) {
  for (std::size_t i = 0; i < sizeof(T); ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

template <typename T>
T get(std::span<const std::uint8_t> in, std::size_t at) {
  T value = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) value |= static_cast<T>(static_cast<T>(in[at + i]) << (8 * i));
  return value;
}

std::uint32_t checksum(std::span<const std::uint8_t> bytes) {
  std::uint32_t h = 2166136261U;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const bool field = i >= kChecksumAt && i < kChecksumAt + 4;
    h = (h ^ (field ? 0U : bytes[i])) * 16777619U;
  }
  return h;
}

std::filesystem::path file() { return platform::game_path(kAskedFile); }

void say_unreadable(const std::string& problem) {
  if (g_said_unreadable) return;
  g_said_unreadable = true;
  std::fprintf(stderr,
               "zelvanos: %s; a feltett kérdések emlékezete elölről kezdődik / "
               "the memory of asked questions starts afresh\n",
               problem.c_str());
}

void load() {
  if (g_memory) return;
  g_memory.emplace();
  const std::string name = file().generic_string();
  // No file yet (or no Data folder): nothing asked so far. Looked at before
  // reading, as is a file too short, so that neither throws: the web page
  // runs without catching exceptions.
  std::error_code ec;
  const auto status = std::filesystem::status(file(), ec);
  if (status.type() == std::filesystem::file_type::not_found) return;
  if (status.type() == std::filesystem::file_type::regular) {
    const auto size = std::filesystem::file_size(file(), ec);
    if (!ec && size < kAskedSize) {
      // Cut short: said when it begins as this file does (an empty one too,
      // as a crash of the system may leave it); a short file of another
      // kind is simply no memory, and the next write replaces it.
      std::vector<std::uint8_t> start;
      try {
        if (size > 0) start = platform::read_record(file(), std::min<std::size_t>(size, kMagic.size()));
      } catch (const platform::IoError&) {
        start.assign(kMagic.begin(), kMagic.end());  // unreadable as well: said
      }
      if (std::equal(start.begin(), start.end(), kMagic.begin())) {
        say_unreadable(name + ": túl rövid, " + std::to_string(size) + " bájt / too short: " + std::to_string(size) +
                       " of " + std::to_string(kAskedSize) + " bytes");
      }
      return;
    }
  }
  try {
    const auto bytes = platform::read_record(file(), kAskedSize);
    // Another kind of file is no memory, replaced at the next write.
    if (decode_asked(std::span<const std::uint8_t, kAskedSize>(bytes.data(), kAskedSize), *g_memory) ==
        AskedFileState::kDamaged) {
      say_unreadable(name + ": sérült, az ellenőrzőösszege nem egyezik / damaged: its checksum does not match");
    }
  } catch (const platform::IoError& e) {
    if (e.code() != 2 && e.code() != 3) say_unreadable(e.what());  // 2, 3: gone meanwhile
  }
}

void save() {
  try {
    // After every question: renamed into place whole, without waiting for
    // the disk each time (a crash of the whole system may cost the latest
    // questions, or leave a file the next run finds damaged and starts afresh).
    platform::write_record(file(), encode_asked(*g_memory), platform::Durability::kAtomic);
  } catch (const platform::IoError& e) {
    if (g_said_unwritable) return;
    g_said_unwritable = true;
    std::fprintf(stderr,
                 "zelvanos: %s; a játék csak futás közben emlékszik a feltett kérdésekre / "
                 "the game remembers the questions asked only while it runs\n",
                 e.what());
  }
}

}  // namespace

std::uint64_t bank_fingerprint(const KERDESEKFULL& bank) {
  std::uint64_t h = 14695981039346656037ULL;
  const auto add = [&](std::string_view text) {
    h = (h ^ text.size()) * 1099511628211ULL;
    for (const char c : text) h = (h ^ static_cast<std::uint8_t>(c)) * 1099511628211ULL;
  };
  for (const KERDESREKORD& r : bank) {
    if (r.KERDES.view() == "*") break;
    for (const std::string_view text :
         {r.KERDES.view(), r.A.view(), r.B.view(), r.C.view(), r.D.view(), r.JOVALASZ.view()}) {
      add(text);
    }
  }
  return h == 0 ? 1 : h;
}

AskedBytes encode_asked(const AskedMemory& memory) {
  AskedBytes out{};
  std::copy(kMagic.begin(), kMagic.end(), out.begin());
  put<std::uint32_t>(out, kClockAt, memory.clock);
  for (std::size_t e = 0; e < kAskedBanks; ++e) {
    const AskedMemory::Bank& bank = memory.banks[e];
    const std::span<std::uint8_t> entry = std::span(out).subspan(kAskedHeaderSize + e * kAskedEntrySize,
                                                                 kAskedEntrySize);
    put<std::uint64_t>(entry, 0, bank.fingerprint);
    put<std::uint32_t>(entry, kEntryUsedAt, bank.used);
    for (std::size_t n = 0; n < kBankRecords; ++n) {
      if (bank.asked.test(n)) entry[kEntryAskedAt + n / 8] |= static_cast<std::uint8_t>(1U << (n % 8));
    }
  }
  put<std::uint32_t>(out, kChecksumAt, checksum(out));
  return out;
}

AskedFileState decode_asked(std::span<const std::uint8_t, kAskedSize> bytes, AskedMemory& memory) {
  memory = AskedMemory{};
  if (!std::equal(kMagic.begin(), kMagic.end(), bytes.begin())) return AskedFileState::kForeign;
  if (get<std::uint32_t>(bytes, kChecksumAt) != checksum(bytes)) return AskedFileState::kDamaged;
  memory.clock = get<std::uint32_t>(bytes, kClockAt);
  for (std::size_t e = 0; e < kAskedBanks; ++e) {
    AskedMemory::Bank& bank = memory.banks[e];
    const auto entry = bytes.subspan(kAskedHeaderSize + e * kAskedEntrySize, kAskedEntrySize);
    bank.fingerprint = get<std::uint64_t>(entry, 0);
    bank.used = get<std::uint32_t>(entry, kEntryUsedAt);
    for (std::size_t n = 0; n < kBankRecords; ++n) {
      if ((entry[kEntryAskedAt + n / 8] >> (n % 8)) & 1U) bank.asked.set(n);
    }
  }
  return AskedFileState::kGood;
}

AskedSet remembered_questions(std::uint64_t fingerprint) {
  load();
  for (const AskedMemory::Bank& bank : g_memory->banks) {
    if (bank.fingerprint == fingerprint) return bank.asked;
  }
  return {};
}

void remember_questions(std::uint64_t fingerprint, const AskedSet& asked) {
  load();
  auto& banks = g_memory->banks;
  auto it = std::find_if(banks.begin(), banks.end(), [&](const auto& b) { return b.fingerprint == fingerprint; });
  if (it == banks.end())
    it = std::find_if(banks.begin(), banks.end(), [](const auto& b) { return b.fingerprint == 0; });
  // Every entry taken: the bank drawn from longest ago makes room.
  if (it == banks.end()) {
    it = std::min_element(banks.begin(), banks.end(), [](const auto& a, const auto& b) { return a.used < b.used; });
  }
  it->fingerprint = fingerprint;
  it->asked = asked;
  it->used = ++g_memory->clock;
  save();
}

void reset_asked_memory() {
  g_memory.reset();
  g_said_unreadable = false;
  g_said_unwritable = false;
}

}  // namespace game
