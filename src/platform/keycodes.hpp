// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bytes ReadKey returns for the keys that are not characters. Enter,
// Esc, Backspace and Tab are one control byte; a cursor or function key is
// two reads, kExtended and then its code.

#include <cstdint>

namespace platform::keycode {

inline constexpr std::uint8_t kBackspace = 8;
inline constexpr std::uint8_t kTab = 9;
inline constexpr std::uint8_t kEnter = 13;
inline constexpr std::uint8_t kEsc = 27;

// The first byte of a cursor or function key.
inline constexpr std::uint8_t kExtended = 0;
// Their second bytes. The arrows up and down read as "H" and "P".
inline constexpr std::uint8_t kHome = 71;
inline constexpr std::uint8_t kUp = 72;
inline constexpr std::uint8_t kPageUp = 73;
inline constexpr std::uint8_t kLeft = 75;
inline constexpr std::uint8_t kRight = 77;
inline constexpr std::uint8_t kEnd = 79;
inline constexpr std::uint8_t kDown = 80;
inline constexpr std::uint8_t kPageDown = 81;
inline constexpr std::uint8_t kInsert = 82;
inline constexpr std::uint8_t kDelete = 83;
inline constexpr std::uint8_t kF1 = 59;      // F1 .. F10 in order
inline constexpr std::uint8_t kCtrlF1 = 94;  // Ctrl+F1 .. Ctrl+F10 in order

}  // namespace platform::keycode
