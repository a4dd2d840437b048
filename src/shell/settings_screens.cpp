// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/settings_screens.hpp"

#include <algorithm>
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

// 1 becomes 0, every other value 1.
void toggle(std::int16_t& field) { field = field == 1 ? 0 : 1; }
// Used becomes available (0), every other value used.
void toggle_lifeline(std::int16_t& state) { state = state == game::kLifelineUsed ? 0 : game::kLifelineUsed; }

// One sub-screen: its passes read KISMENU; it is entered and left with the
// first item highlighted.
void sub_screen(const std::function<MenuItems()>& items, const std::function<void()>& extras,
                const std::function<void()>& after_key = {}) {
  HOL = 1;
  menu_passes(KISMENU, items, extras, after_key);
  HOL = 1;
}

void sub_screen(const MenuItems& items, const std::function<void()>& extras,
                const std::function<void()>& after_key = {}) {
  sub_screen([&] { return items; }, extras, after_key);
}

void back() { KISMENU = kEsc; }

// The row of a sub-screen's row-th item (from 0) in a list drawn from a
// table: from y = 60 down, 10 apart.
std::int16_t list_row(std::size_t row) { return static_cast<std::int16_t>(60 + 10 * row); }

// "Vissza" and "Kilépés" after a blank row below a sub-screen's last item.
void add_back_and_quit(MenuItems& items) {
  const auto y = static_cast<std::int16_t>(items.back().y + 20);
  items.push_back({"Vissza"_cp, y, back});
  items.push_back({"Kilépés"_cp, static_cast<std::int16_t>(y + 10), KILEPES});
}

void header_switches() {
  static const MenuItems kItems = {
      {"MiniLogó kijelzése"_cp, 60, [] { toggle(CONFIG.MINILOGO); }},
      {"ZorvinLogó kijelzése"_cp, 70, [] { toggle(CONFIG.ZORVINLOGO); }},
      {"Dátum kijelzése"_cp, 80, [] { toggle(CONFIG.DATUM); }},
      {"Származási hely k. :)"_cp, 90, [] { toggle(CONFIG.MADE_IN_HUNGARY); }},
      {"Vissza"_cp, 110, back},
      {"Kilépés"_cp, 120, KILEPES},
  };
  sub_screen(kItems, [] {
    PIROS_ZOLD(CONFIG.MINILOGO, 0, kItems[0].y);
    PIROS_ZOLD(CONFIG.ZORVINLOGO, 0, kItems[1].y);
    PIROS_ZOLD(CONFIG.DATUM, 0, kItems[2].y);
    PIROS_ZOLD(CONFIG.MADE_IN_HUNGARY, 0, kItems[3].y);
  });
}

void game_mode() {
  static const MenuItems kItems = {
      {"Normál játékmód"_cp, 60, [] { CONFIG.JATEKMOD = 1; }},
      {"Véletlen kérdések"_cp, 70, [] { CONFIG.JATEKMOD = 0; }},
      {"Vissza"_cp, 90, back},
      {"Kilépés"_cp, 100, KILEPES},
  };
  sub_screen(kItems, [] {
    // The mode in force in green: "Normál" only for 1.
    const MenuItem& current = kItems[CONFIG.JATEKMOD == 1 ? 0 : 1];
    SetColor(2);
    OutTextXY(200, current.y, current.label);
    SetColor(15);
  });
}

void lifelines() {
  static const MenuItems kItems = {
      {"Telefon"_cp, 60, [] { toggle_lifeline(game::TEL); }},
      {"Felezö"_cp, 70, [] { toggle_lifeline(game::FELEZ); }},
      {"Közönség"_cp, 80, [] { toggle_lifeline(game::KOZONSEG); }},
      {"Vissza"_cp, 100, back},
      {"Kilépés"_cp, 110, KILEPES},
  };
  sub_screen(kItems, [] {
    OutTextXY(200, 130, "FIGYELEM:           "_cp);
    OutTextXY(200, 140, "Minden játék        "_cp);
    OutTextXY(200, 150, "befejezése után     "_cp);
    OutTextXY(200, 160, "újra elérhető lesz  "_cp);
    OutTextXY(200, 170, "az összes segítség. "_cp);
    PIROS_ZOLD(game::TEL, game::kLifelineUsed, kItems[0].y);
    PIROS_ZOLD(game::FELEZ, game::kLifelineUsed, kItems[1].y);
    PIROS_ZOLD(game::KOZONSEG, game::kLifelineUsed, kItems[2].y);
  });
}

// The highlighted item of the colours page, when it is a scheme.
const ColourScheme* highlighted_scheme() {
  if (HOL < 1 || HOL > static_cast<std::int16_t>(kColourSchemes.size())) return nullptr;
  return &kColourSchemes[static_cast<std::size_t>(HOL - 1)];
}

void colours() {
  static const MenuItems kItems = [] {
    MenuItems items;
    for (std::size_t i = 0; i < kColourSchemes.size(); ++i) {
      items.push_back({std::string(kColourSchemes[i].label), list_row(i), [] {
                         const ColourScheme& c = *highlighted_scheme();
                         CONFIG.KERETSZIN = c.KERETSZIN;
                         CONFIG.JELOLOSZIN = c.JELOLOSZIN;
                         CONFIG.VILLOGOSZIN = c.VILLOGOSZIN;
                       }});
    }
    add_back_and_quit(items);
    return items;
  }();
  sub_screen(
      kItems,
      [] {
        OutTextXY(415, 90, "A:");
        const std::string right{static_cast<char>(keycode::kExtended), static_cast<char>(keycode::kRight)};
        offer_menu_key({right, "Minta", {}, false});
        if (const int scheme = current_scheme(CONFIG); scheme != 0) {
          const MenuItem& item = kItems[static_cast<std::size_t>(scheme - 1)];
          SetColor(2);
          OutTextXY(200, item.y, item.label);
          SetColor(15);
        }
      },
      [] {
        // The right arrow's code plays the highlighted scheme's sample.
        if (const ColourScheme* c = highlighted_scheme(); KISMENU == keycode::kRight && c != nullptr) {
          PELDA_SZIN(c->JELOLOSZIN, c->VILLOGOSZIN);
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

// The rows of the question-set screen: a list from the table, with a blank
// row between the graded sets and the others.
std::int16_t question_set_row(std::size_t index) {
  std::size_t row = index;
  for (std::size_t i = 1; i <= index; ++i) {
    if (game::kQuestionSets[i - 1].graded() && !game::kQuestionSets[i].graded()) ++row;
  }
  return list_row(row);
}

// The question-set screen's items, the questions of each set counted now.
MenuItems question_set_items() {
  MenuItems items;
  for (std::size_t i = 0; i < game::kQuestionSets.size(); ++i) {
    const game::QuestionSet& set = game::kQuestionSets[i];
    const int number = static_cast<int>(i + 1);
    items.push_back({question_set_label(set.name, game::set_question_count(number), set.author), question_set_row(i),
                     [] { CONFIG.KERDESEK = HOL; }});
  }
  add_back_and_quit(items);
  return items;
}

void question_sets() {
  sub_screen(question_set_items, [] {
    // The set in force in green, its name alone.
    if (const game::QuestionSet* set = game::question_set(CONFIG.KERDESEK)) {
      SetColor(2);
      OutTextXY(200, question_set_row(static_cast<std::size_t>(CONFIG.KERDESEK - 1)), set->name);
      SetColor(15);
    }
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
  static const MenuItems kItems = {
      {"Játékos neve"_cp, 60, names_message},
      {"Müsorvezetö"_cp, 70, names_message},
      {"Müködés"_cp, 80, header_switches},
      {"Játékmód"_cp, 90, game_mode},
      {"Segítségek"_cp, 100, lifelines},
      {"Színek"_cp, 110, colours},
      {"Kérdések"_cp, 120, question_sets},
      {"Hangok"_cp, 130, [] { toggle(CONFIG.HANGOK); }},
      {"K. kiírása előtt várakozás"_cp, 140, [] { toggle(CONFIG.VARAKOZAS); }},
      {"Beállítások visszaállítása"_cp, 160, reset_confirmation},
      {"Vissza"_cp, 180, [] { MENU = kEsc; }},
      {"Kilépés"_cp, 190, KILEPES},
  };
  HOL = 1;
  menu_passes(MENU, kItems, [] {
    PIROS_ZOLD(CONFIG.HANGOK, 0, kItems[7].y);
    PIROS_ZOLD(CONFIG.VARAKOZAS, 0, kItems[8].y);
    // Every pass writes the settings: what a sub-screen changed reaches the file.
    settings::save_config();
  });
}

}  // namespace shell
