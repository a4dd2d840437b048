// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main program: start-up, the main menu and its widgets, shutdown.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/errors.hpp"
#include "platform/graph.hpp"

namespace shell {

extern std::int16_t HOL;        // highlighted item of the menu on screen
extern std::uint8_t FOMENU;     // last key read in the main menu
extern std::uint8_t MENU;       // last key read in the settings menu and the about screen
extern std::uint8_t KISMENU;    // last key read in a settings sub-screen or the list screen
extern std::int16_t VEZERLO;    // graphics driver: 8 bits per pixel
extern std::int16_t FELBONTAS;  // graphics mode: 800 x 600

// One item of a menu: its label, drawn at (200, y) by MENUK, and what Enter
// on it does. A menu is the table of its items, numbered from 1 in order:
// the number of items, the drawing, what Enter does and what the menu's key
// read declares all come from it.
struct MenuItem {
  MenuItem(std::string_view label_, std::int16_t y_, void (*action_)()) : label(label_), y(y_), action(action_) {}
  std::string label;  // code page 852
  std::int16_t y;
  void (*action)();
};
using MenuItems = std::vector<MenuItem>;

// Draws item X's label at row Y, yellow when it is the highlighted one.
void MENUK(std::int16_t X, std::int16_t Y, std::string_view SZVG);
// Moves the highlight on "H" (up) and "P" (down), wrapping over X items.
void FEL_LE(std::string_view SZVG, std::int16_t X);
// Ends every open menu: all three key variables become Esc.
void KILEPES();

// A clear screen with the header on it: how every menu and page begins.
void new_page();
// One pass of the main menu's picture: the page and its items.
void draw_main_menu();

// A menu screen, pass after pass, until its key is Esc: a new page, the
// items, then `extras` (indicators, notes, marks of the setting in force);
// the pass's key read declares the items with the keys that choose them,
// the arrows and, but in the main menu, Esc; the key is read into `key`
// (FOMENU, MENU or KISMENU); Enter runs the highlighted item's action; the
// highlight moves over the items (Up and Down); then `after_key` runs. A menu
// whose items change from pass to pass (labels that count something) gives
// them as a function, called on every pass once the page is new.
void menu_passes(std::uint8_t& key, const MenuItems& items, const std::function<void()>& extras = {},
                 const std::function<void()>& after_key = {});
void menu_passes(std::uint8_t& key, const std::function<MenuItems()>& items, const std::function<void()>& extras = {},
                 const std::function<void()>& after_key = {});

// A key of the menu on screen besides its items and arrows, declared with
// them for the pass's key read (called while the pass draws).
void offer_menu_key(platform::OfferedKey key);

// Highlights the item of the menu on screen whose action this is and runs
// it, as if it had been chosen (when the menu has no such item, nothing):
// how the end of a game goes on to the high-score list, wherever the list's
// item stands in the main menu.
void go_on_to(void (*action)());

// The main menu's items: "Játék kezdése", "Beállítások", "Eredménylista",
// "Névjegy", "Kilépés".
const MenuItems& main_menu_items();
// The main menu over these items, until it is left; program() runs it over
// main_menu_items() with the first item highlighted.
void main_menu(const MenuItems& items);

// The whole program from start-up to shutdown; returns the exit code. A
// failure that ends it is one line on standard error; any exception other
// than Fatal ends it the same way with exit code 1.
int program();

// Called on the game thread with each failure that ends program(), after
// its line on standard error (the real window shows it to the player).
void set_failure_listener(std::function<void(const platform::Fatal&)> listener);

// Every layer of the game as at program start (shell, game, screen, sound
// and the settings record), for the tests, the replay tool and the
// benchmarks, in shell/reset.cpp. It reaches no backend: whoever owns the
// backend resets the machine's side (platform::reset_state) first.
void reset_layers();

}  // namespace shell
