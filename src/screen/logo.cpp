// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen/logo.hpp"

#include "platform/cp852.hpp"
#include "platform/graph.hpp"
#include "platform/settings.hpp"
#include "screen/gamescreen.hpp"

using namespace cp852::literals;  // the _cp literal

namespace screen {

using namespace platform;
using settings::CONFIG;

std::uint16_t YEAR = 0;
std::uint16_t MONTH = 0;
std::uint16_t DAY = 0;
std::uint16_t WDAY = 0;
std::string EV;
std::string HONAP;
std::string NAP;

void reset_state() {
  reset_gamescreen();
  YEAR = MONTH = DAY = WDAY = 0;
  EV.clear();
  HONAP.clear();
  NAP.clear();
}

namespace {

struct Segment {
  std::int16_t x1, y1, x2, y2;
};

void lines(std::initializer_list<Segment> segments) {
  for (const Segment& s : segments) Line(s.x1, s.y1, s.x2, s.y2);
}

void April1() {
  Rectangle(279, 208, 522, 389);
  Rectangle(281, 210, 297, 226);
  Rectangle(466, 210, 482, 226);
  Rectangle(485, 210, 501, 226);
  Rectangle(504, 210, 520, 226);
  Line(280, 228, 521, 228);
  // A smiling face in the left button.
  Rectangle(284, 216, 285, 217);
  Rectangle(284, 219, 285, 220);
  lines({{287, 218, 289, 218}, {291, 213, 292, 214}, {291, 222, 292, 221}, {293, 214, 293, 221}, {294, 216, 294, 219}});
  // Minimise, restore and close.
  lines({{468, 222, 476, 222}, {468, 223, 476, 223}});
  Rectangle(488, 217, 494, 223);
  Rectangle(491, 214, 497, 220);
  SetFillStyle(1, 0);
  Bar(489, 218, 493, 222);
  SetColor(15);
  lines({{506, 212, 518, 224}, {507, 212, 518, 223}, {506, 223, 517, 212}, {506, 224, 518, 212}});
  OutTextXY(305, 215, cp852::join({EV, ". április 1."_cp}));
  OutTextXY(293, 249, "ápr. 1., a bolondok napja."_cp);
  OutTextXY(293, 279, "Ma megbolondult a programom."_cp);
  OutTextXY(293, 289, "A hiba kijavítása 24 órán"_cp);
  OutTextXY(293, 299, "belül garantáltan"_cp);
  OutTextXY(293, 309, "megtörténik."_cp);
  OutTextXY(313, 339, "Addig is megértésüket"_cp);
  OutTextXY(340, 349, "KÖSZÖNÖM :D !!!."_cp);
}

}  // namespace

void FOLOGO() {
  Circle(393, 301, 150);
  SetFillStyle(1, 0);
  Rectangle(243, 151, 384, 292);
  Rectangle(404, 312, 544, 452);
  Bar(244, 152, 384, 292);
  Bar(404, 312, 543, 451);
  SetTextStyle(0, 0, 3);
  OutTextXY(255, 50, "Legyen Ön is"_cp);
  OutTextXY(270, 290, "Zelvanos"_cp);
  SetTextStyle(0, 0, 1);
  OutTextXY(251, 489, "Üdvözlöm a \"Legyem Ön is Zelvanos\"-ban"_cp);
  OutTextXY(216, 505, cp852::join({"Az arénában már várja önt, a müsorvezetö: "_cp, CONFIG.MUSORVEZETO.view()}));
  Delay(5000);
}

void LOGO() {
  SetTextStyle(0, 0, 2);
  Rectangle(30, 10, 600, 40);
  OutTextXY(100, 20, "Legyen On is Zelvanos Béta 3"_cp);
  Rectangle(216, 16, 217, 17);
  Rectangle(220, 16, 221, 17);
  SetTextStyle(0, 0, 1);
  if (CONFIG.MINILOGO == 1) {
    Circle(715, 495, 66);
    SetTextStyle(0, 0, 2);
    OutTextXY(684, 488, "Qavo"_cp);
    SetTextStyle(0, 0, 1);
  }
  if (CONFIG.ZORVINLOGO == 1) {
    Line(0, 585, 342, 585);
    Line(462, 585, 800, 585);
    OutTextXY(360, 582, "2005 Zorvin"_cp);
  }
  if (CONFIG.DATUM == 1) DATUM();
  if (CONFIG.MADE_IN_HUNGARY == 1) {
    Rectangle(4, 492, 72, 515);
    Rectangle(4, 515, 72, 538);
    Rectangle(4, 538, 72, 561);
    SetFillStyle(1, 4);
    Bar(5, 493, 71, 514);
    SetFillStyle(1, 15);
    Bar(5, 516, 71, 537);
    SetFillStyle(1, 2);
    Bar(5, 539, 71, 560);
    SetColor(0);
    OutTextXY(22, 500, "Made"_cp);
    OutTextXY(30, 523, "in"_cp);
    OutTextXY(11, 547, "Hungary"_cp);
    SetColor(15);
  }
}

void DATUM() {
  Rectangle(671, 10, 780, 26);
  GetDate(YEAR, MONTH, DAY, WDAY);
  EV = std::to_string(YEAR);
  HONAP = std::to_string(MONTH);
  NAP = std::to_string(DAY);
  const auto gap = [](const std::string& number) { return number.size() == 2 ? ". " : ".  "; };
  OutTextXY(675, 15, cp852::join({EV, gap(HONAP), HONAP, gap(NAP), NAP, "."}));
  if (MONTH == 1 && DAY == 1) {
    Rectangle(671, 26, 780, 40);
    OutTextXY(675, 30, cp852::join({"B.U.É.K. "_cp, EV}));
  }
  if (MONTH == 4 && DAY == 1) April1();
  if (MONTH == 12 && (DAY == 25 || DAY == 26)) KARACSONY();
  if (MONTH == 12 && DAY == 31) {
    Rectangle(671, 26, 780, 40);
    OutTextXY(682, 30, "Szilveszter"_cp);
  }
}

void KARACSONY() {
  SetColor(14);
  // clang-format off
  lines({{401, 342, 416, 357}, {417, 357, 432, 342}, {432, 343, 432, 368}, {432, 368, 463, 373},
         {463, 374, 432, 379}, {432, 379, 432, 405}, {432, 405, 417, 390}, {416, 390, 401, 405},
         {401, 405, 401, 379}, {401, 379, 370, 374}, {370, 373, 401, 368}, {401, 368, 401, 342},
         {401, 342, 416, 357}});
  SetColor(2);
  lines({{401, 390, 379, 402}, {379, 403, 400, 412}, {400, 412, 363, 424}, {363, 424, 400, 436},
         {400, 436, 346, 450}, {347, 450, 400, 465}, {400, 465, 297, 493}, {297, 494, 400, 523},
         {432, 523, 535, 494}, {535, 493, 432, 456}, {432, 456, 487, 450}, {487, 450, 432, 436},
         {432, 436, 469, 424}, {469, 424, 432, 412}, {432, 412, 453, 402}, {453, 402, 432, 391}});
  // clang-format on
  SetColor(6);
  lines({{400, 523, 400, 575}, {400, 575, 432, 575}, {432, 575, 432, 523}});
  SetColor(15);
  Line(281, 575, 541, 575);
  struct Letter {
    std::string_view text;
    std::int16_t x, y;
  };
  // clang-format off
  static constexpr Letter kGreeting[] = {
      {"B", 273, 474}, {"o", 289, 444}, {"l", 308, 419}, {"d", 330, 387}, {"o", 354, 355}, {"g", 373, 334},
      {"K", 423, 310}, {"a", 443, 324}, {"r", 458, 339}, {"á"_cp, 472, 356},
      {"c", 484, 375}, {"s", 495, 392}, {"o", 505, 407}, {"n", 513, 425}, {"y", 523, 442}, {"t", 531, 458}};
  // clang-format on
  for (const Letter& l : kGreeting) OutTextXY(l.x, l.y, l.text);
  SetTextStyle(0, 0, 5);
  OutTextXY(346, 524, "\x01");
  OutTextXY(447, 526, "\x02");
  SetTextStyle(0, 0, 1);
}

}  // namespace screen
