// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/keyscript.hpp"

#include <charconv>
#include <utility>

#include "platform/cp852.hpp"
#include "platform/keycodes.hpp"

namespace platform {
namespace {

struct NamedKey {
  std::string_view name;
  bool extended;
  std::uint8_t code;
};

namespace kc = keycode;

constexpr NamedKey kNamedKeys[] = {
    {"Enter", false, kc::kEnter}, {"Esc", false, kc::kEsc},      {"Backspace", false, kc::kBackspace},
    {"Tab", false, kc::kTab},     {"Space", false, ' '},         {"Hash", false, '#'},
    {"Up", true, kc::kUp},        {"Down", true, kc::kDown},     {"Left", true, kc::kLeft},
    {"Right", true, kc::kRight},  {"Home", true, kc::kHome},     {"End", true, kc::kEnd},
    {"PgUp", true, kc::kPageUp},  {"PgDn", true, kc::kPageDown}, {"Ins", true, kc::kInsert},
    {"Del", true, kc::kDelete},
};

std::optional<std::uint8_t> function_key(std::string_view token) {
  std::uint8_t base = kc::kF1;
  if (token.starts_with("Ctrl")) {
    base = kc::kCtrlF1;
    token.remove_prefix(4);
  }
  if (token.size() < 2 || token[0] != 'F') return std::nullopt;
  int n = 0;
  const auto [p, ec] = std::from_chars(token.data() + 1, token.data() + token.size(), n);
  if (ec != std::errc{} || p != token.data() + token.size() || n < 1 || n > 10) return std::nullopt;
  return static_cast<std::uint8_t>(base + n - 1);
}

bool parse_number(std::string_view s, std::uint32_t max, std::uint32_t& out) {
  const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc{} && p == s.data() + s.size() && !s.empty() && out <= max;
}

}  // namespace

std::optional<std::vector<ScriptedKey>> parse_key_script(std::string_view text, std::string* error) {
  std::vector<ScriptedKey> keys;
  std::optional<std::uint32_t> pending_time;
  int line_no = 1;
  const auto fail = [&](std::string_view token, std::string_view why) {
    if (error != nullptr) {
      *error = "line " + std::to_string(line_no) + ": '" + std::string(token) + "': " + std::string(why);
    }
    return std::nullopt;
  };
  std::size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    if (c == '\n') ++line_no;
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++pos;
      continue;
    }
    std::size_t end = text.find_first_of(" \t\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view token = text.substr(pos, end - pos);
    if (token[0] == '#' && token.size() == 1) {  // comment
      const std::size_t eol = text.find('\n', pos);
      pos = eol == std::string_view::npos ? text.size() : eol;
      continue;
    }
    pos = end;
    const auto add = [&](std::vector<std::uint8_t> bytes) {
      keys.push_back({std::move(bytes), pending_time});
      pending_time.reset();
    };
    if (token[0] == '@' && token.size() > 1) {
      std::uint32_t ms = 0;
      if (!parse_number(token.substr(1), 0xFFFFFFFFU, ms)) return fail(token, "not a time in milliseconds");
      pending_time = ms;
      continue;
    }
    if (token.starts_with("byte:")) {
      std::uint32_t value = 0;
      if (!parse_number(token.substr(5), 255, value)) return fail(token, "not a byte 0 to 255");
      add({static_cast<std::uint8_t>(value)});
      continue;
    }
    bool named = false;
    for (const NamedKey& k : kNamedKeys) {
      if (token == k.name) {
        add(k.extended ? std::vector<std::uint8_t>{kc::kExtended, k.code} : std::vector<std::uint8_t>{k.code});
        named = true;
        break;
      }
    }
    if (named) continue;
    if (const auto fkey = function_key(token)) {
      add({kc::kExtended, *fkey});
      continue;
    }
    const auto bytes = cp852::from_utf8(token);
    if (!bytes) return fail(token, "has a character without a code page 852 byte");
    for (const char b : *bytes) add({static_cast<std::uint8_t>(b)});
  }
  if (pending_time) return fail("@", "a time with no key after it");
  return keys;
}

}  // namespace platform
