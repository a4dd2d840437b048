// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Key translation shared by the backends with a real keyboard (the window
// and the web page): a key as the backend names it becomes the bytes the
// game reads. Characters become their code page 852 bytes; Enter, Esc,
// Backspace and Tab their control bytes; cursor and function keys a 0 and a
// code. Each backend maps its own key names to Key and decides itself what
// to swallow (everything while Alt is held, its own fullscreen keys).

#include <string_view>

#include "platform/keyqueue.hpp"

namespace platform {

enum class Key {
  kOther,
  kEnter,
  kEsc,
  kBackspace,
  kTab,
  kUp,
  kDown,
  kLeft,
  kRight,
  kHome,
  kEnd,
  kPageUp,
  kPageDown,
  kInsert,
  kDelete,
  kF1,  // kF1 .. kF10 in order
  kF2,
  kF3,
  kF4,
  kF5,
  kF6,
  kF7,
  kF8,
  kF9,
  kF10,
};

// Puts the key's bytes into the queue; returns false (and puts nothing) for
// a key the game has no bytes for.
bool push_key(KeyQueue& queue, Key key, bool ctrl);

// Puts the code page 852 bytes of typed text into the queue; characters
// outside the code page and control characters are dropped.
void push_text(KeyQueue& queue, std::string_view utf8);

// A key of a web page's keydown event, by its DOM `key` value ("ArrowUp",
// "Enter", "F3", "ő", "A"): its bytes go into the queue. Nothing while Alt
// or Meta is held, and no characters while Ctrl is; returns whether the key
// was the game's (the page then keeps it from the browser).
bool push_dom_key(KeyQueue& queue, std::string_view key, bool ctrl, bool alt, bool meta);

}  // namespace platform
