// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/menu.hpp"

#include <algorithm>
#include <array>
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

// The items MENUK drew in this pass (by number, from 1) and the keys a
// screen adds to its menu's declaration: what the pass's key read asks for.
struct DrawnItem {
  std::int16_t y = -1;
  std::size_t length = 0;
};
std::array<DrawnItem, 16> g_items;
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

// What a menu pass's key read asks for: each item drawn (a tap chooses it),
// the arrows, Esc and the screen's own keys.
void offer_menu(std::int16_t items, bool main) {
  KeyOffer offer;
  offer.asking = Asking::kMenu;
  for (std::int16_t n = 1; n <= items && n <= static_cast<std::int16_t>(g_items.size()); ++n) {
    const DrawnItem& item = g_items[static_cast<std::size_t>(n - 1)];
    if (item.y < 0) continue;
    const Place place{200, item.y, static_cast<std::int16_t>(200 + 8 * item.length - 1),
                      static_cast<std::int16_t>(item.y + 7)};
    offer.keys.push_back({keys_to_choose(HOL, n, items), "", place, false});
  }
  const std::string extended(1, static_cast<char>(keycode::kExtended));
  offer.keys.push_back({extended + static_cast<char>(keycode::kUp), "Fel", {}, false});
  offer.keys.push_back({extended + static_cast<char>(keycode::kDown), "Le", {}, false});
  if (!main) offer.keys.push_back({std::string(1, static_cast<char>(kEsc)), "Vissza", {}, false});
  for (OfferedKey& key : g_extra_keys) offer.keys.push_back(std::move(key));
  offer_keys(std::move(offer));
}

void main_menu() {
  menu_passes(FOMENU, 5, draw_main_menu, [] {
    // Five tests one after the other: a game that leaves HOL at 3 goes on
    // to the high-score list in the same pass.
    if (HOL == 1) {
      sound::STOP_SONG(1);
      ClearDevice();
      game::START();
      game::TEL = 0;
      game::FELEZ = 0;
      game::KOZONSEG = 0;
    }
    if (HOL == 2) {
      settings_menu();
      HOL = 1;
    }
    if (HOL == 3) game::highscore_screen();
    if (HOL == 4) {
      about_screen();
      HOL = 1;
    }
    if (HOL == 5) KILEPES();
  });
}

}  // namespace

void new_page() {
  ClearDevice();
  screen::LOGO();
}

void draw_main_menu() {
  new_page();
  MENUK(1, 60, "Játék kezdése"_cp);
  MENUK(2, 70, "Beállítások"_cp);
  MENUK(3, 80, "Eredménylista"_cp);
  MENUK(4, 100, "Névjegy"_cp);
  MENUK(5, 120, "Kilépés"_cp);
}

void menu_passes(std::uint8_t& key, std::int16_t items, const std::function<void()>& draw,
                 const std::function<void()>& act, const std::function<void()>& after_key) {
  do {
    g_items.fill({});
    g_extra_keys.clear();
    draw();
    offer_menu(items, &key == &FOMENU);
    key = ReadKey();
    if (key == kEnter) act();
    FEL_LE(cp852::one_char(key), items);
    if (after_key) after_key();
  } while (key != kEsc);
}

void offer_menu_key(platform::OfferedKey key) { g_extra_keys.push_back(std::move(key)); }

void MENUK(std::int16_t X, std::int16_t Y, std::string_view SZVG) {
  if (X >= 1 && X <= static_cast<std::int16_t>(g_items.size()))
    g_items[static_cast<std::size_t>(X - 1)] = {Y, SZVG.size()};
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
    main_menu();

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
