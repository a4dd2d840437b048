// SPDX-License-Identifier: GPL-3.0-or-later
// The settings record from any bytes: decoding never reads past a field,
// and a decoded record encodes and decodes back to itself.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "shell/settings.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < shell::kSettingsSize) return 0;
  const auto record = shell::decode(std::span<const std::uint8_t, shell::kSettingsSize>(data, shell::kSettingsSize));
  if (record.NEV.view().size() > 25 || record.MUSORVEZETO.view().size() > 25) std::abort();
  const auto bytes = shell::encode(record);
  if (shell::encode(shell::decode(bytes)) != bytes) std::abort();
  (void)shell::current_scheme(record);
  return 0;
}
