// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings screens' small widgets: the red "[KI]" / green "[BE]"
// switch indicator and the colour-scheme sample.

#include <cstdint>

namespace shell {

// "[KI]" in red on row Y when SZVG equals the off-value X, else "[BE]" in green.
void PIROS_ZOLD(std::int16_t SZVG, std::int16_t X, std::int16_t Y);
// Plays a scheme's marking-and-flash sequence in the sample field (2 000 ms).
void PELDA_SZIN(std::uint16_t JELOLOSZIN, std::uint16_t VILLOGOSZIN);

}  // namespace shell
