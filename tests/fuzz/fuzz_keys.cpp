// SPDX-License-Identifier: GPL-3.0-or-later
// The replay tool's key scripts from any text: the parser never crashes,
// refuses with a message, gives each key one byte or a 0-and-code pair, and
// what it reads comes out the same when written back as raw bytes and times.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/keyscript.hpp"

namespace {

using Flat = std::vector<std::pair<std::uint8_t, std::optional<std::uint32_t>>>;

Flat flatten(const std::vector<platform::ScriptedKey>& keys) {
  Flat out;
  for (const auto& k : keys) {
    if (k.bytes.empty() || k.bytes.size() > 2 || (k.bytes.size() == 2 && k.bytes[0] != 0)) std::abort();
    for (std::size_t i = 0; i < k.bytes.size(); ++i) out.emplace_back(k.bytes[i], i == 0 ? k.at_ms : std::nullopt);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string error;
  const auto keys = platform::parse_key_script(text, &error);
  if (!keys) {
    if (error.rfind("line ", 0) != 0) std::abort();
    return 0;
  }
  const Flat flat = flatten(*keys);
  std::string again;
  for (const auto& [byte, at] : flat) {
    if (at) again += "@" + std::to_string(*at) + " ";
    again += "byte:" + std::to_string(byte) + "\n";
  }
  const auto reread = platform::parse_key_script(again, &error);
  if (!reread || flatten(*reread) != flat) std::abort();
  return 0;
}
