// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/settings.hpp"

#include "platform/cp852.hpp"
#include "platform/files.hpp"
#include "platform/graph.hpp"

using cp852::literals::operator""_cp;

namespace shell {

BEALLITASOK CONFIG;

namespace {

// The record's layout: each field's offset follows from the one before.
constexpr std::size_t kNevAt = 0;
constexpr std::size_t kMusorvezetoAt = kNevAt + 26;
constexpr std::size_t kNumbersAt = kMusorvezetoAt + 26;
constexpr std::size_t kNumberCount = 12;
static_assert(kMusorvezetoAt == 26);
static_assert(kNumbersAt == 52);
static_assert(kNumbersAt + 2 * kNumberCount == kSettingsSize);

// The twelve number fields in record order, as 16-bit patterns.
template <typename Record, typename F>
void for_each_number(Record& s, F&& f) {
  f(s.MUSORVEZETO_EGYEB);
  f(s.MINILOGO);
  f(s.ZORVINLOGO);
  f(s.DATUM);
  f(s.MADE_IN_HUNGARY);
  f(s.JATEKMOD);
  f(s.KERDESEK);
  f(s.HANGOK);
  f(s.VARAKOZAS);
  f(s.KERETSZIN);
  f(s.JELOLOSZIN);
  f(s.VILLOGOSZIN);
}

constexpr std::array<std::uint16_t, kNumberCount> kFactoryNumbers = {1, 1, 1, 1, 0, 1, 1, 1, 0, 9, 14, 2};

}  // namespace

SettingsBytes encode(const BEALLITASOK& settings) {
  SettingsBytes out{};
  settings.NEV.store(&out[kNevAt]);
  settings.MUSORVEZETO.store(&out[kMusorvezetoAt]);
  std::size_t at = kNumbersAt;
  for_each_number(settings, [&](auto value) {
    const auto bits = static_cast<std::uint16_t>(value);
    out[at++] = static_cast<std::uint8_t>(bits & 0xFF);
    out[at++] = static_cast<std::uint8_t>(bits >> 8);
  });
  return out;
}

BEALLITASOK decode(std::span<const std::uint8_t, kSettingsSize> bytes) {
  BEALLITASOK s;
  s.NEV = ShortString<25>::load(&bytes[kNevAt]);
  s.MUSORVEZETO = ShortString<25>::load(&bytes[kMusorvezetoAt]);
  std::size_t at = kNumbersAt;
  for_each_number(s, [&](auto& field) {
    const auto bits = static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
    field = static_cast<std::remove_reference_t<decltype(field)>>(bits);
    at += 2;
  });
  return s;
}

void apply_factory_values(BEALLITASOK& settings) {
  settings.NEV.assign("ZorvinSoft"_cp);
  settings.MUSORVEZETO.assign("Ravasz Ödön"_cp);
  std::size_t i = 0;
  for_each_number(settings, [&](auto& field) {
    field = static_cast<std::remove_reference_t<decltype(field)>>(kFactoryNumbers[i++]);
  });
}

int current_scheme(const BEALLITASOK& s) {
  if (s.KERETSZIN == 9) return 1;
  if (s.KERETSZIN == 0) return 3;
  if (s.KERETSZIN == 13) return 4;
  if (s.KERETSZIN == 15) {
    if (s.JELOLOSZIN == 6) return 2;
    if (s.JELOLOSZIN == 15) return 5;
    if (s.JELOLOSZIN == 9) return 6;
  }
  return 0;
}

void load_config() {
  const auto bytes = platform::read_record(platform::game_path(kConfigFile), kSettingsSize);
  CONFIG = decode(std::span<const std::uint8_t, kSettingsSize>(bytes.data(), kSettingsSize));
}

void save_config() {
  // The names and MUSORVEZETO_EGYEB belong to the names program, which may
  // have changed them while the game runs: they are taken as the file holds
  // them now (CONFIG follows), unless there is no whole record to take them from.
  const auto path = platform::game_path(kConfigFile);
  const platform::RecordLock lock(path);  // the names program waits meanwhile, and we for it
  try {
    const auto stored = platform::read_record(path, kSettingsSize);
    const BEALLITASOK on_disk = decode(std::span<const std::uint8_t, kSettingsSize>(stored.data(), kSettingsSize));
    CONFIG.NEV = on_disk.NEV;
    CONFIG.MUSORVEZETO = on_disk.MUSORVEZETO;
    CONFIG.MUSORVEZETO_EGYEB = on_disk.MUSORVEZETO_EGYEB;
  } catch (const platform::IoError&) {
    // Missing or unreadable: the write below reports what matters.
  }
  const SettingsBytes bytes = encode(CONFIG);
  platform::write_record(path, bytes);
}

void ALAPBEALLIT() {
  apply_factory_values(CONFIG);
  save_config();
  platform::OutTextXY(200, 80, "Beállítások visszaállítva"_cp);
  platform::Delay(2000);
}

}  // namespace shell
