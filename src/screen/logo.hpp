// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's identity on screen: the title screen, the header drawn at
// the top of almost every screen, the date line and the special days.

#include <cstdint>
#include <string>

namespace screen {

// The local date as the date line last read it.
extern std::uint16_t YEAR;
extern std::uint16_t MONTH;
extern std::uint16_t DAY;
extern std::uint16_t WDAY;
extern std::string EV;
extern std::string HONAP;
extern std::string NAP;

void FOLOGO();
void LOGO();
void DATUM();
void KARACSONY();

// The screens' globals back to their state at program start.
void reset_state();

}  // namespace screen
