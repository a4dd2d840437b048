// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The about screen and the three screens it leads to: the ZORVIN
// animation, the licence and the thanks.

namespace shell {

void about_screen();

}  // namespace shell
