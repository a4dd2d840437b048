// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/menu.hpp"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "game/game.hpp"
#include "game/highscores.hpp"
#include "platform/cp852.hpp"
#include "platform/files.hpp"
#include "platform/graph.hpp"
#include "platform/keycodes.hpp"
#include "platform/settings.hpp"
#include "screen/logo.hpp"
#include "shell/about.hpp"
#include "shell/settings_screens.hpp"
#include "sound/sound.hpp"

using namespace cp852::literals;  // the _cp literal

namespace shell {

using namespace platform;

std::int16_t HOL = 0;
std::uint8_t FOMENU = 0;
std::uint8_t MENU = 0;
std::uint8_t KISMENU = 0;
std::int16_t VEZERLO = 0;
std::int16_t FELBONTAS = 0;

namespace {

using keycode::kEnter;
using keycode::kEsc;

std::function<void(const Fatal&)> g_failure_listener;

// The items of the innermost menu on screen, and the keys a screen adds to
// its menu's declaration while the pass draws.
const MenuItems* g_menu = nullptr;
std::vector<OfferedKey> g_extra_keys;

// The arrows that take the highlight from `from` to item `to` (as FEL_LE
// moves it), the fewer of up or down, then Enter.
std::string keys_to_choose(std::int16_t from, std::int16_t to, std::int16_t items) {
  const auto steps = [&](std::uint8_t arrow) {
    std::int16_t saved = HOL;
    HOL = from;
    int n = 0;
    while (HOL != to && n <= items) {
      FEL_LE(cp852::one_char(arrow), items);
      ++n;
    }
    HOL = saved;
    return n;
  };
  const int down = steps(keycode::kDown);
  const int up = steps(keycode::kUp);
  std::string out;
  for (int i = 0; i < std::min(down, up); ++i) {
    out += static_cast<char>(keycode::kExtended);
    out += static_cast<char>(down <= up ? keycode::kDown : keycode::kUp);
  }
  return out + static_cast<char>(kEnter);
}

std::int16_t count(const MenuItems& items) { return static_cast<std::int16_t>(items.size()); }

void draw_items(const MenuItems& items) {
  for (std::int16_t n = 1; n <= count(items); ++n) {
    const MenuItem& item = items[static_cast<std::size_t>(n - 1)];
    MENUK(n, item.y, item.label);
  }
}

// What a menu pass's key read asks for: each item (a tap on its label
// chooses it), the arrows, Esc but in the main menu, and the screen's own keys.
void offer_menu(const MenuItems& items, bool main) {
  KeyOffer offer;
  offer.asking = Asking::kMenu;
  for (std::int16_t n = 1; n <= count(items); ++n) {
    const MenuItem& item = items[static_cast<std::size_t>(n - 1)];
    const Place place{200, item.y, static_cast<std::int16_t>(200 + 8 * item.label.size() - 1),
                      static_cast<std::int16_t>(item.y + 7)};
    offer.keys.push_back({keys_to_choose(HOL, n, count(items)), "", place, false});
  }
  const std::string extended(1, static_cast<char>(keycode::kExtended));
  offer.keys.push_back({extended + static_cast<char>(keycode::kUp), "Fel", {}, false});
  offer.keys.push_back({extended + static_cast<char>(keycode::kDown), "Le", {}, false});
  if (!main) offer.keys.push_back({std::string(1, static_cast<char>(kEsc)), "Vissza", {}, false});
  for (OfferedKey& key : g_extra_keys) offer.keys.push_back(std::move(key));
  offer_keys(std::move(offer));
}

void play_game() {
  sound::STOP_SONG(1);
  ClearDevice();
  const game::AfterGame after = game::START();
  game::TEL = 0;
  game::FELEZ = 0;
  game::KOZONSEG = 0;
  // A result offered to the list is shown there at once, its item highlighted.
  if (after == game::AfterGame::kHighScores) go_on_to(game::highscore_screen);
}

void open_settings() {
  settings_menu();
  HOL = 1;
}

void open_about() {
  about_screen();
  HOL = 1;
}

}  // namespace

void new_page() {
  ClearDevice();
  screen::LOGO();
}

const MenuItems& main_menu_items() {
  static const MenuItems kItems = {
      {"Játék kezdése"_cp, 60, play_game},
      {"Beállítások"_cp, 70, open_settings},
      {"Eredménylista"_cp, 80, game::highscore_screen},
      {"Névjegy"_cp, 100, open_about},
      {"Kilépés"_cp, 120, KILEPES},
  };
  return kItems;
}

void draw_main_menu() {
  new_page();
  draw_items(main_menu_items());
}

void main_menu(const MenuItems& items) { menu_passes(FOMENU, items); }

void menu_passes(std::uint8_t& key, const MenuItems& items, const std::function<void()>& extras,
                 const std::function<void()>& after_key) {
  menu_passes(
      key, [&] { return items; }, extras, after_key);
}

void menu_passes(std::uint8_t& key, const std::function<MenuItems()>& items_now, const std::function<void()>& extras,
                 const std::function<void()>& after_key) {
  // The menu on screen is this one until it is left, however it is left.
  struct OnScreen {
    const MenuItems* outer = g_menu;
    ~OnScreen() { g_menu = outer; }
  } on_screen;
  do {
    g_extra_keys.clear();
    new_page();
    const MenuItems items = items_now();
    g_menu = &items;
    draw_items(items);
    if (extras) extras();
    offer_menu(items, &key == &FOMENU);
    key = ReadKey();
    if (key == kEnter && HOL >= 1 && HOL <= count(items)) items[static_cast<std::size_t>(HOL - 1)].action();
    FEL_LE(cp852::one_char(key), count(items));
    if (after_key) after_key();
  } while (key != kEsc);
}

void offer_menu_key(platform::OfferedKey key) { g_extra_keys.push_back(std::move(key)); }

void go_on_to(void (*action)()) {
  if (g_menu == nullptr) return;
  for (std::int16_t n = 1; n <= count(*g_menu); ++n) {
    if ((*g_menu)[static_cast<std::size_t>(n - 1)].action == action) {
      HOL = n;
      action();
      return;
    }
  }
}

void MENUK(std::int16_t X, std::int16_t Y, std::string_view SZVG) {
  OutTextXY(200, Y, SZVG);
  SetColor(14);
  if (X == HOL) OutTextXY(200, Y, SZVG);
  SetColor(15);
}

void FEL_LE(std::string_view SZVG, std::int16_t X) {
  if (SZVG == cp852::one_char(keycode::kUp)) {
    HOL = static_cast<std::int16_t>(HOL - 1);
    if (HOL < 1) HOL = X;
  }
  if (SZVG == cp852::one_char(keycode::kDown)) {
    HOL = static_cast<std::int16_t>(HOL + 1);
    if (HOL > X) HOL = 1;
  }
}

void KILEPES() {
  FOMENU = kEsc;
  MENU = kEsc;
  KISMENU = kEsc;
}

int program() {
  bool window_open = false;
  bool audio_open = false;
  const auto close_all = [&] {
    if (audio_open) sound::DONE_STUFF();
    if (window_open) CloseGraph();
    audio_open = window_open = false;
  };
  const auto failed = [&](const Fatal& e) {
    std::fprintf(stderr, "zelvanos: %s\n", e.what());
    try {
      close_all();
    } catch (...) {
      // Already stopping; the first failure is the one reported.
    }
    if (g_failure_listener) g_failure_listener(e);
    return e.code();
  };
  try {
    SetWindowTitle("Legyen On is Zelvanos");
    // One copy of the game per folder, for as long as it runs.
    const platform::GameFolderLock folder_lock(platform::game_path(platform::kLockFile));
    settings::load_config();
    VEZERLO = 15;
    FELBONTAS = 30010;
    InitGraph(VEZERLO, FELBONTAS, "");
    window_open = true;
    sound::INIT_STUFF();
    audio_open = true;
    if (sound::enabled()) sound::LOAD_SONG("Sounds\\Main.mp3", 1);
    if (sound::enabled()) sound::PLAY_SONG(1);
    screen::FOLOGO();
    HOL = 1;
    main_menu(main_menu_items());

    ClearDevice();
    SetTextStyle(0, 0, 3);
    OutTextXY(10, 10, "Viszlát!"_cp);
    Delay(500);
    close_all();
    return 0;
  } catch (const SessionEnded&) {
    // The window was closed (or a replay's keys ran out): a normal quit.
    close_all();
    return 0;
  } catch (const Fatal& e) {
    return failed(e);
  } catch (const std::exception& e) {
    return failed(Fatal(1, std::string("váratlan hiba / unexpected error: ") + e.what()));
  } catch (...) {
    return failed(Fatal(1, "váratlan hiba / unexpected error (unknown exception)"));
  }
}

void set_failure_listener(std::function<void(const platform::Fatal&)> listener) {
  g_failure_listener = std::move(listener);
}

}  // namespace shell
