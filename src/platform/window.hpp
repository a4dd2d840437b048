#pragma once
// The real window. The calling (main) thread becomes the window thread: it
// opens and closes the window when the game asks, presents the surface and
// turns key events into bytes of the key queue, while `game` runs on a
// thread of its own. Returns the game's exit code.

#include <chrono>
#include <functional>

namespace platform {

int run_windowed(const std::function<int()>& game);

// Asks the open window to close, as its close button does.
void post_window_close();

// When the window first showed a frame (zero before that); for measuring
// start-up.
std::chrono::steady_clock::time_point first_present_time();

}  // namespace platform
