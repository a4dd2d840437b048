// SPDX-License-Identifier: GPL-3.0-or-later
#include "screen/gamescreen.hpp"

#include <array>
#include <string_view>

#include "game/game.hpp"
#include "game/ladder.hpp"
#include "game/questions.hpp"
#include "platform/cp852.hpp"
#include "platform/graph.hpp"
#include "platform/settings.hpp"
#include "screen/logo.hpp"

using namespace cp852::literals;  // the _cp literal

namespace screen {

using namespace platform;

std::string SZVG;
std::int16_t SZOVEG = 0;

namespace {

// One pointed end: a column per x, one pixel taller up and down per step
// towards the box.
void fill_end(int from, int to, int mid, bool widening_right) {
  for (int x = from; x <= to; ++x) {
    const int reach = widening_right ? x - from : to - x;
    Line(static_cast<std::int16_t>(x), static_cast<std::int16_t>(mid - reach), static_cast<std::int16_t>(x),
         static_cast<std::int16_t>(mid + reach));
  }
}

// The question box first, then A to D.
constexpr std::array<const PointedBox*, 5> kFrames = {&kQuestionBox, &kAnswerBoxes[0].box, &kAnswerBoxes[1].box,
                                                      &kAnswerBoxes[2].box, &kAnswerBoxes[3].box};

// The short line joining the facing points of two boxes in a row.
void link(const PointedBox& left, const PointedBox& right) {
  Line(static_cast<std::int16_t>(left.right_tip + 1), left.mid(), static_cast<std::int16_t>(right.left_tip - 1),
       right.mid());
}

const std::string& answer_text(const AnswerBox& box) {
  static constexpr std::array<std::string* const, 4> kTexts = {&game::A, &game::B, &game::C, &game::D};
  return *kTexts[static_cast<std::size_t>(game::answer_index(box.letter))];
}

}  // namespace

void KERETEK() {
  SetColor(settings::CONFIG.KERETSZIN);
  for (const PointedBox* b : kFrames) Rectangle(b->outline.left, b->outline.top, b->outline.right, b->outline.bottom);
  for (const PointedBox* b : kFrames) {
    const Rect& r = b->outline;
    Line(b->left_tip, b->mid(), r.left, r.top);
    Line(b->left_tip, b->mid(), r.left, r.bottom);
    Line(r.right, r.top, b->right_tip, b->mid());
    Line(r.right, r.bottom, b->right_tip, b->mid());
  }
  link(kAnswerBoxes[0].box, kAnswerBoxes[1].box);
  link(kAnswerBoxes[2].box, kAnswerBoxes[3].box);
  // The sides go; the points stand in for them.
  SetColor(0);
  for (const PointedBox* b : kFrames) {
    const Rect& r = b->outline;
    Line(r.left, static_cast<std::int16_t>(r.top + 1), r.left, static_cast<std::int16_t>(r.bottom - 1));
    Line(r.right, static_cast<std::int16_t>(r.top + 1), r.right, static_cast<std::int16_t>(r.bottom - 1));
  }
  SetColor(15);
}

// Each end reaches from beside its tip to the box's side, as tall there as
// the strip inside.
void fill_ends(const PointedBox& box) {
  fill_end(box.left_tip + 1, box.outline.left, box.mid(), true);
  fill_end(box.outline.right, box.right_tip - 1, box.mid(), false);
}

void fill_strip(const PointedBox& box, std::uint16_t colour) {
  const Rect strip = box.strip();
  SetFillStyle(1, colour);
  Bar(strip.left, strip.top, strip.right, strip.bottom);
}

void OLDAL_A() { fill_ends(kAnswerBoxes[0].box); }
void OLDAL_B() { fill_ends(kAnswerBoxes[1].box); }
void OLDAL_C() { fill_ends(kAnswerBoxes[2].box); }
void OLDAL_D() { fill_ends(kAnswerBoxes[3].box); }

void draw_answer(const AnswerBox& box) {
  OutTextXY(box.text_x(), box.text_y(), cp852::join({box.prefix, answer_text(box)}));
}

namespace {

// The ladder's rows, the top prize first: each row 15 pixels high, a
// narrow cell for the level's number and a wide one for its amount, both
// written flush right; the guaranteed level and the top prize in white,
// the others in yellow.
constexpr std::int16_t kLadderLeft = 650;
constexpr std::int16_t kLadderDivider = 665;
constexpr std::int16_t kLadderRight = 780;
constexpr std::int16_t kLadderAmountX = 670;
constexpr std::int16_t kLadderTop = 61;
constexpr std::int16_t kLadderRowHeight = 15;
constexpr std::size_t kLadderAmountWidth = game::prize(game::kTopLevel).size();

std::int16_t ladder_row_top(int level) {
  return static_cast<std::int16_t>(kLadderTop + kLadderRowHeight * (game::kTopLevel - level));
}

std::string flush_right(std::string_view text, std::size_t width) {
  return std::string(width > text.size() ? width - text.size() : 0, ' ').append(text);
}

// A level's row: its number and its amount as drawn.
std::string ladder_label(int level) { return flush_right(std::to_string(level), 2); }
std::string ladder_amount(int level) { return flush_right(game::prize(level), kLadderAmountWidth); }

std::uint16_t ladder_colour(int level) { return game::is_milestone(level) ? 15 : 14; }

}  // namespace

void TABLAZAT() {
  for (int level = game::kTopLevel; level >= 1; --level) {
    const auto top = ladder_row_top(level);
    Rectangle(kLadderLeft, top, kLadderRight, static_cast<std::int16_t>(top + kLadderRowHeight));
  }
  Rectangle(kLadderLeft, kLadderTop, kLadderDivider, ladder_row_top(0));
  for (int level = game::kTopLevel; level >= 1; --level) {
    SetColor(ladder_colour(level));
    OutTextXY(kLadderLeft, static_cast<std::int16_t>(ladder_row_top(level) + 5), ladder_label(level));
  }
  for (int level = game::kTopLevel; level >= 1; --level) {
    SetColor(ladder_colour(level));
    OutTextXY(kLadderAmountX, static_cast<std::int16_t>(ladder_row_top(level) + 5), ladder_amount(level));
  }
  SetColor(15);
}

void ladder_highlight(int level) {
  const auto top = ladder_row_top(level);
  const auto bottom = static_cast<std::int16_t>(top + kLadderRowHeight);
  SetColor(settings::CONFIG.KERETSZIN);
  Rectangle(kLadderLeft, top, kLadderRight, bottom);
  Rectangle(kLadderLeft, top, kLadderDivider, bottom);
  if (!game::is_milestone(level)) {
    OutTextXY(kLadderLeft, static_cast<std::int16_t>(top + 5), ladder_label(level));
    OutTextXY(kLadderAmountX, static_cast<std::int16_t>(top + 5), ladder_amount(level));
  }
  SetColor(15);
}

void KERDESSZOVEG() {
  LOGO();
  TABLAZAT();
  SZVG = std::to_string(game::X);
  Randomize();
  SZOVEG = static_cast<std::int16_t>(Random(5) + 1);
  const std::string& p = game::PENZ;
  std::string text;
  switch (SZOVEG) {
    case 1: text = cp852::join({"Lássuk az "_cp, SZVG, ". kérdést, "_cp, p, "Ft-ért."_cp}); break;
    case 2: text = cp852::join({"Jöjjön, aminek jönnie kell "_cp, p, "Ft-ért."_cp}); break;
    case 3: text = cp852::join({"Most pedig nyerjen "_cp, p, "Ft-ot."_cp}); break;
    case 4: text = cp852::join({p, "Ft-ért jön a "_cp, SZVG, ". kérdés."_cp}); break;
    default: text = cp852::join({"A következő kérdés "_cp, p, "Ft-ért megy. Ez érdekes lesz."_cp}); break;
  }
  OutTextXY(100, 60, text);
}

void KIIRAS() {
  KERETEK();
  std::string second = " ";
  std::string& question = game::KERDES;
  for (std::size_t i = 56; i <= question.size(); ++i) {
    second += question[i - 1];
    question[i - 1] = ' ';
  }
  OutTextXY(100, 53, cp852::join({SZVG, ". ", question}));
  OutTextXY(100, 65, cp852::join({SZVG, " ", second}));
  SetColor(0);
  OutTextXY(100, 65, SZVG);
  SetColor(15);
  const bool slow = settings::CONFIG.VARAKOZAS == 1;
  std::uint16_t wait = 2000;  // before A; a second before each of the others
  for (const AnswerBox& box : kAnswerBoxes) {
    if (slow) Delay(wait);
    wait = 1000;
    draw_answer(box);
  }
}

void reset_gamescreen() {
  SZVG.clear();
  SZOVEG = 0;
}

}  // namespace screen
