// SPDX-License-Identifier: GPL-3.0-or-later
// The settings record from any bytes: decoding never reads past a field,
// and a decoded record encodes and decodes back to itself.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/settings.hpp"
#include "shell/settings_screens.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < settings::kSettingsSize) return 0;
  const auto record = settings::decode(
      std::span<const std::uint8_t, settings::kSettingsSize>(data, settings::kSettingsSize));
  if (record.NEV.view().size() > 25 || record.MUSORVEZETO.view().size() > 25) std::abort();
  const auto bytes = settings::encode(record);
  if (settings::encode(settings::decode(bytes)) != bytes) std::abort();
  (void)shell::current_scheme(record);
  return 0;
}
