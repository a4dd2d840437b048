// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings.hpp"

#include <filesystem>
#include <system_error>
#include <type_traits>
#include <variant>

#include "platform/files.hpp"

namespace settings {

BEALLITASOK CONFIG;

namespace {

// The record's layout: each field's offset follows from the one before.
constexpr std::size_t kNevAt = 0;
constexpr std::size_t kMusorvezetoAt = kNevAt + 26;
constexpr std::size_t kNumbersAt = kMusorvezetoAt + 26;
static_assert(kMusorvezetoAt == 26);
static_assert(kNumbersAt == 52);
static_assert(kNumbersAt + 2 * kNumberFields.size() == kSettingsSize);
constexpr std::array<std::size_t, 2> kNamesAt = {kNevAt, kMusorvezetoAt};
static_assert(kNamesAt.size() == kNameFields.size());

}  // namespace

int value_of(const BEALLITASOK& record, const NumberField& field) {
  return std::visit([&](auto member) { return static_cast<int>(record.*member); }, field.member);
}

std::uint16_t bits_of(const BEALLITASOK& record, const NumberField& field) {
  return std::visit([&](auto member) { return static_cast<std::uint16_t>(record.*member); }, field.member);
}

void set_bits(BEALLITASOK& record, const NumberField& field, std::uint16_t bits) {
  std::visit(
      [&](auto member) {
        using Type = std::remove_reference_t<decltype(record.*member)>;
        record.*member = static_cast<Type>(bits);
      },
      field.member);
}

SettingsBytes encode(const BEALLITASOK& record) {
  SettingsBytes out{};
  for (std::size_t i = 0; i < kNameFields.size(); ++i) {
    (record.*kNameFields[i].member).store(&out[kNamesAt[i]]);
  }
  std::size_t at = kNumbersAt;
  for (const NumberField& field : kNumberFields) {
    const std::uint16_t bits = bits_of(record, field);
    out[at++] = static_cast<std::uint8_t>(bits & 0xFF);
    out[at++] = static_cast<std::uint8_t>(bits >> 8);
  }
  return out;
}

BEALLITASOK decode(std::span<const std::uint8_t, kSettingsSize> bytes) {
  BEALLITASOK s;
  for (std::size_t i = 0; i < kNameFields.size(); ++i) {
    s.*kNameFields[i].member = ShortString<25>::load(&bytes[kNamesAt[i]]);
  }
  std::size_t at = kNumbersAt;
  for (const NumberField& field : kNumberFields) {
    set_bits(s, field, static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8)));
    at += 2;
  }
  return s;
}

BEALLITASOK read_settings(const std::filesystem::path& file) {
  const auto bytes = platform::read_record(file, kSettingsSize);
  return decode(std::span<const std::uint8_t, kSettingsSize>(bytes.data(), kSettingsSize));
}

void load_config() { CONFIG = read_settings(platform::game_path(kConfigFile)); }

void save_config() {
  // The names and MUSORVEZETO_EGYEB belong to the names program, which may
  // have changed them while the game runs: they are taken as the file holds
  // them now (CONFIG follows), unless there is no whole record to take them from.
  const auto path = platform::game_path(kConfigFile);
  const platform::RecordLock lock(path);  // the names program waits meanwhile, and we for it
  try {
    const BEALLITASOK on_disk = read_settings(path);
    CONFIG.NEV = on_disk.NEV;
    CONFIG.MUSORVEZETO = on_disk.MUSORVEZETO;
    CONFIG.MUSORVEZETO_EGYEB = on_disk.MUSORVEZETO_EGYEB;
  } catch (const platform::IoError& e) {
    // Missing: the write below makes it. Damaged since the start (too short
    // or unreadable): kept as it is beside it, as the high-score list's is,
    // and the game's settings are written afresh. A pipe, device or folder
    // in its place is refused as at the start.
    std::error_code ec;
    if (e.code() == 100 || e.code() == 5) {
      if (!std::filesystem::is_regular_file(path, ec)) throw;
      if (!platform::set_aside_damaged(
              path, e.what(),
              {.what_hu = "a sérült beállításfájl",
               .what_en = "the damaged settings file",
               .then = "a játék a mostani beállításait írja újra / the game writes its present settings afresh"})) {
        throw;
      }
    } else if (e.code() != 2 && e.code() != 3) {
      throw;
    }
  }
  const SettingsBytes bytes = encode(CONFIG);
  platform::write_record(path, bytes);
}

namespace {

// The record of a file that must be a settings file and nothing else: one of
// another size is refused, so that no file given by mistake is ever cut to a
// record.
BEALLITASOK read_exact_settings(const std::filesystem::path& file) {
  const BEALLITASOK record = read_settings(file);
  std::error_code ec;
  const auto size = std::filesystem::file_size(file, ec);
  if (!ec && size != kSettingsSize) {
    const std::string n = std::to_string(size);
    throw platform::IoError(
        100, file, "not a settings file: " + n + " bytes, where the settings record has 76; nothing was changed",
        "nem beállításfájl: " + n + " bájt, a beállítások rekordja 76; semmi sem változott");
  }
  return record;
}

}  // namespace

BEALLITASOK set_names(const std::filesystem::path& file, const std::optional<std::string>& player,
                      const std::optional<std::string>& host) {
  // Anything but a settings file is refused before a lock file is made beside it.
  platform::refuse_foreign_folder_link(file);
  read_exact_settings(file);
  // No change made meanwhile is lost; a lock that cannot be had is told.
  const platform::RecordLock lock(file, platform::WithoutLock::kFail);
  BEALLITASOK record = read_exact_settings(file);
  if (player) record.NEV.assign(*player);
  if (host) record.MUSORVEZETO.assign(*host);
  if (player || host) platform::write_record(file, encode(record));
  return record;
}

}  // namespace settings
