// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real window. The calling (main) thread becomes the window thread: it
// opens and closes the window when the game asks, presents the surface and
// turns key events into bytes of the key queue, while `game` runs on a
// thread of its own. Returns the game's exit code.

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

#include "platform/errors.hpp"

namespace platform {

// The window cannot open because there is no display to show it on: SDL
// found only a driver that draws nowhere.
class NoDisplay : public Fatal {
 public:
  using Fatal::Fatal;
};

// An exception other than the game's own failures, on the game thread or
// the window thread, ends run_windowed with one line on standard error and
// exit code 1.
int run_windowed(const std::function<int()>& game);

// The line run_windowed wrote for such an exception (empty when none).
std::string unexpected_failure();

// Whether the last run_windowed ended because its display failed (an X
// error, the connection lost, the window destroyed from outside): no
// message box then, for the display that would show it is the one that failed.
bool display_failed();

// Asks the open window to close, as its close button does.
void post_window_close();

// Saves a screenshot as F12 does, on the window thread (for tests).
void post_screenshot();

// The notice the window shows over its picture now (a screenshot that could
// not be saved), UTF-8; empty when none.
std::string window_notice();

// Runs `task` on the window thread while the window is open (for tests).
void post_to_window_thread(std::function<void()> task);

// When the window first showed a frame (zero before that); for measuring
// start-up.
std::chrono::steady_clock::time_point first_present_time();

// Whether the video driver SDL chose draws nowhere ("offscreen", "dummy")
// without SDL_VIDEODRIVER (`requested`, a comma-separated list, or null)
// asking for it.
bool refuse_video_driver(std::string_view driver, const char* requested);

// Shows a message box without the game's window, unless SDL_VIDEODRIVER
// asks for a driver that draws nowhere (tests). UTF-8 texts.
void show_error_box(const std::string& title, const std::string& text);

}  // namespace platform
