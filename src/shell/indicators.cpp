// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/indicators.hpp"

#include "platform/graph.hpp"

namespace shell {

using namespace platform;

void PIROS_ZOLD(std::int16_t SZVG, std::int16_t X, std::int16_t Y) {
  if (SZVG == X) {
    SetColor(4);
    OutTextXY(200, Y, "                           [KI]");
  } else {
    SetColor(2);
    OutTextXY(200, Y, "                           [BE]");
  }
  SetColor(15);
}

void PELDA_SZIN(std::uint16_t JELOLOSZIN, std::uint16_t VILLOGOSZIN) {
  struct Step {
    std::uint16_t field, letters, wait;
  };
  const Step steps[] = {{JELOLOSZIN, 0, 1000}, {VILLOGOSZIN, 0, 200}, {0, 15, 200},
                        {VILLOGOSZIN, 0, 200}, {0, 15, 200},          {VILLOGOSZIN, 0, 200}};
  for (const Step& s : steps) {
    SetFillStyle(1, s.field);
    Bar(412, 87, 525, 99);
    SetColor(s.letters);
    OutTextXY(415, 90, "A:");
    Delay(s.wait);
  }
  SetColor(15);
}

}  // namespace shell
