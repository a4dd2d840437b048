// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/about.hpp"

#include <array>
#include <string>
#include <string_view>

#include "platform/cp852.hpp"
#include "platform/graph.hpp"
#include "shell/menu.hpp"

using namespace cp852::literals;  // the _cp literal

namespace shell {

using namespace platform;

namespace {

void back_prompt(std::int16_t y) {
  OutTextXY(200, y, "A visszalépéshez nyomjon"_cp);
  OutTextXY(200, static_cast<std::int16_t>(y + 10), "     meg egy gombot     "_cp);
  offer_any_key("Vissza");
}

// ZORVIN in letters of commas, five rows of five columns each.
constexpr std::array<std::array<std::string_view, 5>, 6> kLetters = {{
    {",,,,,", "   , ", "  ,  ", " ,   ", ",,,,,"},  // Z
    {" ,,, ", ",   ,", ",   ,", ",   ,", " ,,, "},  // O
    {",,,, ", ",   ,", ",,,, ", ",  , ", ",   ,"},  // R
    {",   ,", ",   ,", ",   ,", " , , ", "  ,  "},  // V
    {",,,,,", "  ,  ", "  ,  ", "  ,  ", ",,,,,"},  // I
    {",   ,", ",,  ,", ", , ,", ",  ,,", ",   ,"},  // N
}};

void animation() {
  new_page();
  for (std::size_t row = 0; row < 5; ++row) {
    for (std::size_t letter = 0; letter < kLetters.size(); ++letter) {
      OutTextXY(static_cast<std::int16_t>(150 + 50 * letter), static_cast<std::int16_t>(60 + 10 * row),
                kLetters[letter][row]);
      Delay(125);
    }
  }
  Delay(500);
  back_prompt(120);
  ReadKey();
}

void licence() {
  new_page();
  OutTextXY(100, 60, "Zelvanos, 2005-2026. Készítette: Zorvin."_cp);
  OutTextXY(100, 70, "Ez a program FreeWare. Szabadon másolható,"_cp);
  OutTextXY(100, 80, "terjeszthető, de a készítő SEMMILYEN FELELŐSSÉGET nem"_cp);
  OutTextXY(100, 90, "vállal az esetleges károkért, vagy tartalmi hibákért."_cp);
  OutTextXY(100, 100, "Készült C++ nyelven, az SDL2 könyvtárral."_cp);
  OutTextXY(100, 110, "Programozás, kérdések, hangok: a Zelvanos csapata."_cp);
  back_prompt(130);
  ReadKey();
}

std::string boxed(std::string_view text) {
  std::string line;
  line += "│ "_cp;
  line += text;
  line.resize(2 + 41, ' ');
  line += " │"_cp;
  return line;
}

std::string rule(std::string_view left, std::string_view fill, std::string_view right, int count) {
  std::string line(left);
  for (int i = 0; i < count; ++i) line += fill;
  line += right;
  return line;
}

void thanks() {
  new_page();
  const std::string top = rule("┌"_cp, "─"_cp, "┐"_cp, 43);
  const std::string separator = rule("├"_cp, "─"_cp, "┤"_cp, 43);
  const std::string bottom = rule("└"_cp, "─"_cp, "┘"_cp, 43);
  const std::array<std::string, 14> lines = {
      top,
      boxed("Szüleimnek, akik nélkül én sem lennék."_cp),
      separator,
      boxed("Barátaimnak, akik minden korai"_cp),
      boxed("változatot végigjátszottak, és"_cp),
      boxed("türelmesen jelezték a hibákat."_cp),
      separator,
      boxed("Az eredeti televíziós vetélkedőnek,"_cp),
      boxed("ami nélkül ez sem jöhetett volna létre."_cp),
      separator,
      boxed("A kérdések szerzőinek a sok ötletért."_cp),
      separator,
      boxed("És neked, hogy ezzel a játékkal játszol!"_cp),
      bottom,
  };
  for (std::size_t i = 0; i < lines.size(); ++i) {
    OutTextXY(100, static_cast<std::int16_t>(60 + 8 * i), lines[i]);
  }
  OutTextXY(100, 172, cp852::join({"  ", rule("╔"_cp, "═"_cp, "╗"_cp, 39), "  "}));
  OutTextXY(100, 180, "  ║ És valakinek, aki mire ezt elolvassa, ║  "_cp);
  OutTextXY(100, 188, "  ║      remélem felépült... :-)          ║  "_cp);
  OutTextXY(100, 196, cp852::join({"  ", rule("╚"_cp, "═"_cp, "╝"_cp, 39), "  "}));
  back_prompt(210);
  ReadKey();
}

}  // namespace

void about_screen() {
  new_page();
  const std::string_view title = "Legyen Ön is ZELVANOS"_cp;
  OutTextXY(100, 60, title);
  OutTextXY(100, 67, rule("", "─"_cp, "", static_cast<int>(title.size())));
  OutTextXY(100, 74, "verzió 1.0 Béta 3"_cp);
  OutTextXY(100, 90, "(C) 2005 Zorvin. Minden jog fenntartva."_cp);
  OutTextXY(100, 110, "*** FREEWARE ***");
  OutTextXY(100, 130, "Internet: http://zelvanos.example"_cp);
  OutTextXY(100, 140, "Wap:      wap.zelvanos.example"_cp);
  OutTextXY(100, 150, "E-mail:   zorvin@zelvanos.example"_cp);
  OutTextXY(100, 170, "A - Animáció"_cp);
  OutTextXY(100, 180, "L - Licensz"_cp);
  OutTextXY(100, 190, "K - Köszönet"_cp);
  OutTextXY(100, 210, "A visszalépéshez nyomjon meg egy billentyüt"_cp);
  offer_keys({Asking::kChoice,
              {{"a", std::string("Animáció"_cp), {}, false},
               {"l", "Licensz", {}, false},
               {"k", std::string("Köszönet"_cp), {}, false},
               {"\r", "Vissza", {}, false}},
              {},
              {}});
  MENU = ReadKey();
  if (MENU == 'a') animation();
  if (MENU == 'l') licence();
  if (MENU == 'k') thanks();
}

}  // namespace shell
