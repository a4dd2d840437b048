// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings.hpp"

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
  } catch (const platform::IoError&) {
    // Missing or unreadable: the write below reports what matters.
  }
  const SettingsBytes bytes = encode(CONFIG);
  platform::write_record(path, bytes);
}

BEALLITASOK set_names(const std::filesystem::path& file, const std::optional<std::string>& player,
                      const std::optional<std::string>& host) {
  const platform::RecordLock lock(file);  // no change made meanwhile is lost
  BEALLITASOK record = read_settings(file);
  if (player) record.NEV.assign(*player);
  if (host) record.MUSORVEZETO.assign(*host);
  if (player || host) platform::write_record(file, encode(record));
  return record;
}

}  // namespace settings
