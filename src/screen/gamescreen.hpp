// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The quiz screen's furniture: the question and answer boxes with their
// pointed ends, the prize ladder, the host's announcement and the question.

#include <cstdint>
#include <string>
#include <string_view>

#include "screen/boxes.hpp"

namespace screen {

// The level number as text, set by the announcement and used by the question.
extern std::string SZVG;
// Which of the five announcements was drawn last.
extern std::int16_t SZOVEG;

void KERETEK();
// The two pointed ends of a box, filled in the current colour.
void fill_ends(const PointedBox& box);
// The strip inside a box's outline, filled in a colour.
void fill_strip(const PointedBox& box, std::uint16_t colour);
void OLDAL_A();
void OLDAL_B();
void OLDAL_C();
void OLDAL_D();
// The prize ladder (game/ladder.hpp), the top prize uppermost.
void TABLAZAT();
// The frame around a level's row of the ladder, in the frame colour, and
// the row's label and amount in that colour too, but on the two white rows
// (the guaranteed level and the top prize). Leaves white.
void ladder_highlight(int level);
void KERDESSZOVEG();
void KIIRAS();
// The answer of a box (game::A .. game::D) after its letter, in the current colour.
void draw_answer(const AnswerBox& box);

void reset_gamescreen();

}  // namespace screen
