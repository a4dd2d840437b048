// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Marking the chosen answer and revealing the right one.

namespace screen {

// Paints the box of the answer in VALASZ in the marking colour.
void JELOL();
// Plays the verdict sound and flashes the box of the right answer.
void VILLOG();

}  // namespace screen
