// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/keys.hpp"

#include "platform/cp852.hpp"
#include "platform/keycodes.hpp"

namespace platform {

bool push_key(KeyQueue& queue, Key key, bool ctrl) {
  namespace kc = keycode;
  switch (key) {
    case Key::kEnter: queue.push(kc::kEnter); return true;
    case Key::kEsc: queue.push(kc::kEsc); return true;
    case Key::kBackspace: queue.push(kc::kBackspace); return true;
    case Key::kTab: queue.push(kc::kTab); return true;
    case Key::kUp: queue.push_extended(kc::kUp); return true;
    case Key::kDown: queue.push_extended(kc::kDown); return true;
    case Key::kLeft: queue.push_extended(kc::kLeft); return true;
    case Key::kRight: queue.push_extended(kc::kRight); return true;
    case Key::kHome: queue.push_extended(kc::kHome); return true;
    case Key::kEnd: queue.push_extended(kc::kEnd); return true;
    case Key::kPageUp: queue.push_extended(kc::kPageUp); return true;
    case Key::kPageDown: queue.push_extended(kc::kPageDown); return true;
    case Key::kInsert: queue.push_extended(kc::kInsert); return true;
    case Key::kDelete: queue.push_extended(kc::kDelete); return true;
    case Key::kOther: return false;
    default: break;
  }
  const int n = static_cast<int>(key) - static_cast<int>(Key::kF1);
  queue.push_extended(static_cast<std::uint8_t>((ctrl ? kc::kCtrlF1 : kc::kF1) + n));
  return true;
}

void push_text(KeyQueue& queue, std::string_view utf8) {
  for (std::size_t pos = 0; pos < utf8.size();) {
    const cp852::Decoded d = cp852::decode_utf8(utf8, pos);
    if (d.length == 0) return;
    const int byte = cp852::byte_for(d.cp);
    if (byte >= 32) queue.push(static_cast<std::uint8_t>(byte));
    pos += d.length;
  }
}

namespace {

struct DomKey {
  std::string_view name;
  Key key;
};

// clang-format off
constexpr DomKey kDomKeys[] = {
    {"Enter", Key::kEnter},      {"Escape", Key::kEsc},        {"Backspace", Key::kBackspace},
    {"Tab", Key::kTab},          {"ArrowUp", Key::kUp},        {"ArrowDown", Key::kDown},
    {"ArrowLeft", Key::kLeft},   {"ArrowRight", Key::kRight},  {"Home", Key::kHome},
    {"End", Key::kEnd},          {"PageUp", Key::kPageUp},     {"PageDown", Key::kPageDown},
    {"Insert", Key::kInsert},    {"Delete", Key::kDelete},     {"F1", Key::kF1},
    {"F2", Key::kF2},            {"F3", Key::kF3},             {"F4", Key::kF4},
    {"F5", Key::kF5},            {"F6", Key::kF6},             {"F7", Key::kF7},
    {"F8", Key::kF8},            {"F9", Key::kF9},             {"F10", Key::kF10},
};
// clang-format on

}  // namespace

bool push_dom_key(KeyQueue& queue, std::string_view key, bool ctrl, bool alt, bool meta) {
  if (alt || meta || key.empty()) return false;
  for (const DomKey& k : kDomKeys) {
    if (k.name == key) return push_key(queue, k.key, ctrl);
  }
  // A character is one code point; longer values name keys the game has no use for.
  const cp852::Decoded d = cp852::decode_utf8(key, 0);
  if (ctrl || d.length != key.size() || cp852::byte_for(d.cp) < 32) return false;
  push_text(queue, key);
  return true;
}

}  // namespace platform
