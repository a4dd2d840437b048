// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings menu and its five sub-screens.

namespace shell {

// The settings menu; returns when it is left (Esc, "Vissza" or a quit).
void settings_menu();

}  // namespace shell
