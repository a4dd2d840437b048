// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/menu.hpp"

#include <cstdio>
#include <exception>
#include <string>
#include <utility>

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
    draw();
    key = ReadKey();
    if (key == kEnter) act();
    FEL_LE(cp852::one_char(key), items);
    if (after_key) after_key();
  } while (key != kEsc);
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
