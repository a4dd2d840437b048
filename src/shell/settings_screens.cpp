// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/settings_screens.hpp"

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "game/game.hpp"
#include "game/question_sets.hpp"
#include "game/questions.hpp"
#include "platform/cp852.hpp"
#include "platform/graph.hpp"
#include "platform/keycodes.hpp"
#include "shell/indicators.hpp"
#include "shell/menu.hpp"
#include "shell/settings.hpp"

using namespace cp852::literals;  // the _cp literal

namespace shell {

using namespace platform;
using settings::CONFIG;

namespace {

// Whether another scheme has the same frame colour as scheme `i`.
constexpr bool frame_is_shared(std::size_t i) {
  for (std::size_t j = 0; j < kColourSchemes.size(); ++j) {
    if (j != i && kColourSchemes[j].KERETSZIN == kColourSchemes[i].KERETSZIN) return true;
  }
  return false;
}

// The frame and marking colours tell every scheme apart.
constexpr bool schemes_are_told_apart() {
  for (std::size_t i = 0; i < kColourSchemes.size(); ++i) {
    for (std::size_t j = i + 1; j < kColourSchemes.size(); ++j) {
      if (kColourSchemes[i].KERETSZIN == kColourSchemes[j].KERETSZIN &&
          kColourSchemes[i].JELOLOSZIN == kColourSchemes[j].JELOLOSZIN) {
        return false;
      }
    }
  }
  return true;
}
static_assert(schemes_are_told_apart());

}  // namespace

int current_scheme(const settings::BEALLITASOK& record) {
  // A scheme is known by its frame colour alone, and where schemes share
  // a frame colour, by the marking colour too; the flash colour is never
  // looked at.
  for (std::size_t i = 0; i < kColourSchemes.size(); ++i) {
    const ColourScheme& scheme = kColourSchemes[i];
    if (record.KERETSZIN != scheme.KERETSZIN) continue;
    if (frame_is_shared(i) && record.JELOLOSZIN != scheme.JELOLOSZIN) continue;
    return static_cast<int>(i + 1);
  }
  return 0;
}

namespace {

using keycode::kEsc;

struct Item {
  std::string_view label;
  std::int16_t y;
};

void draw_items(std::initializer_list<Item> items) {
  std::int16_t number = 1;
  for (const Item& item : items) MENUK(number++, item.y, item.label);
}

// 1 becomes 0, every other value 1.
void toggle(std::int16_t& field) { field = field == 1 ? 0 : 1; }
// Used becomes available (0), every other value used.
void toggle_lifeline(std::int16_t& state) { state = state == game::kLifelineUsed ? 0 : game::kLifelineUsed; }

// One sub-screen: its passes read KISMENU; it is entered and left with the
// first item highlighted.
void sub_screen(std::int16_t items, const std::function<void()>& draw, const std::function<void()>& act,
                const std::function<void()>& after_key = {}) {
  HOL = 1;
  menu_passes(
      KISMENU, items,
      [&] {
        new_page();
        draw();
      },
      act, after_key);
  HOL = 1;
}

void back() { KISMENU = kEsc; }

void header_switches() {
  sub_screen(
      6,
      [] {
        draw_items({{"MiniLogó kijelzése"_cp, 60},
                    {"ZorvinLogó kijelzése"_cp, 70},
                    {"Dátum kijelzése"_cp, 80},
                    {"Származási hely k. :)"_cp, 90},
                    {"Vissza"_cp, 110},
                    {"Kilépés"_cp, 120}});
        PIROS_ZOLD(CONFIG.MINILOGO, 0, 60);
        PIROS_ZOLD(CONFIG.ZORVINLOGO, 0, 70);
        PIROS_ZOLD(CONFIG.DATUM, 0, 80);
        PIROS_ZOLD(CONFIG.MADE_IN_HUNGARY, 0, 90);
      },
      [] {
        if (HOL == 1) toggle(CONFIG.MINILOGO);
        if (HOL == 2) toggle(CONFIG.ZORVINLOGO);
        if (HOL == 3) toggle(CONFIG.DATUM);
        if (HOL == 4) toggle(CONFIG.MADE_IN_HUNGARY);
        if (HOL == 5) back();
        if (HOL == 6) KILEPES();
      });
}

void game_mode() {
  sub_screen(
      4,
      [] {
        draw_items({{"Normál játékmód"_cp, 60}, {"Véletlen kérdések"_cp, 70}, {"Vissza"_cp, 90}, {"Kilépés"_cp, 100}});
        SetColor(2);
        if (CONFIG.JATEKMOD == 1) {
          OutTextXY(200, 60, "Normál játékmód"_cp);
        } else {
          OutTextXY(200, 70, "Véletlen kérdések"_cp);
        }
        SetColor(15);
      },
      [] {
        if (HOL == 1) CONFIG.JATEKMOD = 1;
        if (HOL == 2) CONFIG.JATEKMOD = 0;
        if (HOL == 3) back();
        if (HOL == 4) KILEPES();
      });
}

void lifelines() {
  sub_screen(
      5,
      [] {
        draw_items(
            {{"Telefon"_cp, 60}, {"Felezö"_cp, 70}, {"Közönség"_cp, 80}, {"Vissza"_cp, 100}, {"Kilépés"_cp, 110}});
        OutTextXY(200, 130, "FIGYELEM:           "_cp);
        OutTextXY(200, 140, "Minden játék        "_cp);
        OutTextXY(200, 150, "befejezése után     "_cp);
        OutTextXY(200, 160, "újra elérhető lesz  "_cp);
        OutTextXY(200, 170, "az összes segítség. "_cp);
        PIROS_ZOLD(game::TEL, game::kLifelineUsed, 60);
        PIROS_ZOLD(game::FELEZ, game::kLifelineUsed, 70);
        PIROS_ZOLD(game::KOZONSEG, game::kLifelineUsed, 80);
      },
      [] {
        if (HOL == 1) toggle_lifeline(game::TEL);
        if (HOL == 2) toggle_lifeline(game::FELEZ);
        if (HOL == 3) toggle_lifeline(game::KOZONSEG);
        if (HOL == 4) back();
        if (HOL == 5) KILEPES();
      });
}

constexpr std::array<Item, 6> kSchemes = {{{"Alapérték (sárga-zöld)"_cp, 60},
                                           {"Barna-sárga"_cp, 70},
                                           {"Fekete-fehér"_cp, 80},
                                           {"Lila alap"_cp, 90},
                                           {"Sárga-fehér"_cp, 100},
                                           {"Világoskék-piros"_cp, 110}}};

void colours() {
  sub_screen(
      8,
      [] {
        for (std::size_t i = 0; i < kSchemes.size(); ++i) {
          MENUK(static_cast<std::int16_t>(i + 1), kSchemes[i].y, kSchemes[i].label);
        }
        MENUK(7, 130, "Vissza"_cp);
        MENUK(8, 140, "Kilépés"_cp);
        OutTextXY(415, 90, "A:");
        const std::string right{static_cast<char>(keycode::kExtended), static_cast<char>(keycode::kRight)};
        offer_menu_key({right, "Minta", {}, false});
        if (const int scheme = current_scheme(CONFIG); scheme != 0) {
          const Item& item = kSchemes[static_cast<std::size_t>(scheme - 1)];
          SetColor(2);
          OutTextXY(200, item.y, item.label);
          SetColor(15);
        }
      },
      [] {
        if (HOL >= 1 && HOL <= 6) {
          const ColourScheme& c = kColourSchemes[static_cast<std::size_t>(HOL - 1)];
          CONFIG.KERETSZIN = c.KERETSZIN;
          CONFIG.JELOLOSZIN = c.JELOLOSZIN;
          CONFIG.VILLOGOSZIN = c.VILLOGOSZIN;
        }
        if (HOL == 7) back();
        if (HOL == 8) KILEPES();
      },
      [] {
        // The right arrow's code plays the highlighted scheme's sample.
        if (KISMENU == keycode::kRight && HOL >= 1 && HOL <= 6) {
          const ColourScheme& c = kColourSchemes[static_cast<std::size_t>(HOL - 1)];
          PELDA_SZIN(c.JELOLOSZIN, c.VILLOGOSZIN);
        }
      });
}

// A question set's label: its name padded to 18 characters, the number of
// questions its banks hold now with "db" padded to 7, and its author.
std::string question_set_label(std::string_view name, int count, std::string_view author) {
  std::string label(name);
  label.resize(std::max<std::size_t>(label.size(), 18), ' ');
  std::string pieces = std::to_string(count) + "db";
  pieces.resize(std::max<std::size_t>(pieces.size(), 7), ' ');
  return label + pieces + std::string(author);
}

// The rows of the question-set screen: one for each set from y = 60 down,
// with a blank row between the graded sets and the others.
std::int16_t question_set_row(std::size_t index) {
  std::int16_t y = 60;
  for (std::size_t i = 1; i <= index; ++i) {
    y = static_cast<std::int16_t>(y + 10);
    if (game::kQuestionSets[i - 1].graded() && !game::kQuestionSets[i].graded()) y = static_cast<std::int16_t>(y + 10);
  }
  return y;
}

void question_sets() {
  constexpr auto kSets = static_cast<std::int16_t>(game::kQuestionSets.size());
  sub_screen(
      static_cast<std::int16_t>(kSets + 2),
      [] {
        for (std::size_t i = 0; i < game::kQuestionSets.size(); ++i) {
          const game::QuestionSet& set = game::kQuestionSets[i];
          const auto number = static_cast<std::int16_t>(i + 1);
          MENUK(number, question_set_row(i),
                question_set_label(set.name, game::set_question_count(number), set.author));
        }
        const auto below = static_cast<std::int16_t>(question_set_row(game::kQuestionSets.size() - 1) + 20);
        MENUK(kSets + 1, below, "Vissza"_cp);
        MENUK(kSets + 2, static_cast<std::int16_t>(below + 10), "Kilépés"_cp);
        if (const game::QuestionSet* set = game::question_set(CONFIG.KERDESEK)) {
          SetColor(2);
          OutTextXY(200, question_set_row(static_cast<std::size_t>(CONFIG.KERDESEK - 1)), set->name);
          SetColor(15);
        }
      },
      [] {
        if (HOL >= 1 && HOL <= kSets) CONFIG.KERDESEK = HOL;
        if (HOL == kSets + 1) back();
        if (HOL == kSets + 2) KILEPES();
      });
}

// Items 1 and 2: the names are edited by the separate settings program.
void names_message() {
  new_page();
  OutTextXY(100, 60, "Ezt a beállítást csak a \"Beállítások\" programban változtathatja meg"_cp);
  OutTextXY(100, 70, "(Start Menü\\Programok\\ZorvinSoft\\Qavo\\Beállítások)"_cp);
  OutTextXY(100, 90, "A visszalépéshez nyomjon meg egy billentyűt."_cp);
  offer_keys({Asking::kPrompt, {{"\r", "Vissza", {}, false}}, {}, "names"});
  ReadKey();
}

void reset_confirmation() {
  new_page();
  OutTextXY(200, 60, "Biztos benne? (I)gen/(N)em"_cp);
  offer_keys({Asking::kChoice, {{"i", "Igen", {}, false}, {"n", "Nem", {}, false}}, {}, {}});
  KISMENU = ReadKey();
  if (KISMENU == 'i') ALAPBEALLIT();
}

}  // namespace

void settings_menu() {
  HOL = 1;
  menu_passes(
      MENU, 12,
      [] {
        new_page();
        draw_items({{"Játékos neve"_cp, 60},
                    {"Müsorvezetö"_cp, 70},
                    {"Müködés"_cp, 80},
                    {"Játékmód"_cp, 90},
                    {"Segítségek"_cp, 100},
                    {"Színek"_cp, 110},
                    {"Kérdések"_cp, 120},
                    {"Hangok"_cp, 130},
                    {"K. kiírása előtt várakozás"_cp, 140},
                    {"Beállítások visszaállítása"_cp, 160},
                    {"Vissza"_cp, 180},
                    {"Kilépés"_cp, 190}});
        PIROS_ZOLD(CONFIG.HANGOK, 0, 130);
        PIROS_ZOLD(CONFIG.VARAKOZAS, 0, 140);
        settings::save_config();
      },
      [] {
        if (HOL == 1) names_message();
        if (HOL == 2) names_message();
        if (HOL == 3) header_switches();
        if (HOL == 4) game_mode();
        if (HOL == 5) lifelines();
        if (HOL == 6) colours();
        if (HOL == 7) question_sets();
        if (HOL == 8) toggle(CONFIG.HANGOK);
        if (HOL == 9) toggle(CONFIG.VARAKOZAS);
        if (HOL == 10) reset_confirmation();
        if (HOL == 11) MENU = kEsc;
        if (HOL == 12) KILEPES();
      });
}

}  // namespace shell
