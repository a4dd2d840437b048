// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main program: start-up, the main menu and its widgets, shutdown.

#include <cstdint>
#include <functional>
#include <string_view>

#include "platform/errors.hpp"
#include "platform/graph.hpp"

namespace shell {

extern std::int16_t HOL;        // highlighted item of the menu on screen
extern std::uint8_t FOMENU;     // last key read in the main menu
extern std::uint8_t MENU;       // last key read in the settings menu and the about screen
extern std::uint8_t KISMENU;    // last key read in a settings sub-screen or the list screen
extern std::int16_t VEZERLO;    // graphics driver: 8 bits per pixel
extern std::int16_t FELBONTAS;  // graphics mode: 800 x 600

// Draws item X's label at row Y, yellow when it is the highlighted one.
// The menu pass declares each item drawn as a place a tap chooses.
void MENUK(std::int16_t X, std::int16_t Y, std::string_view SZVG);
// Moves the highlight on "H" (up) and "P" (down), wrapping over X items.
void FEL_LE(std::string_view SZVG, std::int16_t X);
// Ends every open menu: all three key variables become Esc.
void KILEPES();

// A clear screen with the header on it: how every menu and page begins.
void new_page();
// One pass of the main menu's picture: the page and its five items.
void draw_main_menu();
// A menu screen, pass after pass: `draw` paints it, a key is read into `key`,
// Enter runs `act`, the highlight moves over `items` (Up and Down), then
// `after_key` runs; until the key is Esc.
void menu_passes(std::uint8_t& key, std::int16_t items, const std::function<void()>& draw,
                 const std::function<void()>& act, const std::function<void()>& after_key = {});

// A key of the menu on screen besides its items and arrows, declared with
// them for the pass's key read (called while the pass draws).
void offer_menu_key(platform::OfferedKey key);

// The whole program from start-up to shutdown; returns the exit code. A
// failure that ends it is one line on standard error; any exception other
// than Fatal ends it the same way with exit code 1.
int program();

// Called on the game thread with each failure that ends program(), after
// its line on standard error (the real window shows it to the player).
void set_failure_listener(std::function<void(const platform::Fatal&)> listener);

// Every subsystem's state as at program start, the machine's surface, key
// queue and random numbers included (for the tests, the replay tool and the
// benchmarks; it stands beside the entries, in shell/reset.cpp).
void reset_all();

}  // namespace shell
