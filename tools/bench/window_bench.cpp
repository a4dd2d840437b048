// SPDX-License-Identifier: GPL-3.0-or-later
// zelvanos-window-bench: measures the real window in a running X server.
//  - start-up: from main() to the first frame the window presents, with the
//    main menu drawn;
//  - key latency: from an X key event (XTest) to ReadKey's return on the
//    game thread;
//  - the CPU the process uses while the game waits for a key;
//  - resident memory with the main menu on screen.
// Run it on a desktop or under Xvfb (with a window manager, so the window
// gets the keyboard focus). Exits 77 without an X display.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/backend.hpp"
#include "platform/graph.hpp"
#include "platform/settings.hpp"
#include "platform/window.hpp"
#include "shell/menu.hpp"
#include "shell/settings.hpp"

using Clock = std::chrono::steady_clock;

namespace {

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double cpu_seconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

Window find_window(Display* x, Window at, const char* title) {
  char* name = nullptr;
  if (XFetchName(x, at, &name) != 0 && name != nullptr) {
    const bool match = std::strcmp(name, title) == 0;
    XFree(name);
    if (match) return at;
  }
  Window root = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  if (XQueryTree(x, at, &root, &parent, &children, &count) == 0) return 0;
  Window found = 0;
  for (unsigned int i = 0; i < count && found == 0; ++i) found = find_window(x, children[i], title);
  if (children != nullptr) XFree(children);
  return found;
}

// Resident memory of this process, in MB.
double resident_mb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}

}  // namespace

int main() {
  const auto started = Clock::now();
  Display* x = XOpenDisplay(nullptr);
  if (x == nullptr) {
    std::puts("zelvanos-window-bench: needs an X display (DISPLAY)");
    return 77;
  }
  double startup = 0;
  std::vector<double> latencies;
  double idle_cpu = 0;
  double menu_rss = 0;
  const int code = platform::run_windowed([&] {
    platform::reset_state();
    shell::reset_layers();
    shell::apply_factory_values(settings::CONFIG);
    platform::SetWindowTitle("Legyen On is Zelvanos");
    std::int16_t driver = 15, mode = 30010;
    platform::InitGraph(driver, mode, "");
    shell::HOL = 1;
    shell::draw_main_menu();
    while (platform::first_present_time() == Clock::time_point{})
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    startup = ms(platform::first_present_time() - started);

    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    menu_rss = resident_mb();
    const Window w = find_window(x, DefaultRootWindow(x), "Legyen On is Zelvanos");
    if (w != 0) {
      XRaiseWindow(x, w);
      XSetInputFocus(x, w, RevertToParent, CurrentTime);
      XSync(x, False);
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    const KeyCode a = XKeysymToKeycode(x, XK_a);
    for (int i = 0; i < 200; ++i) {
      const auto sent = Clock::now();
      XTestFakeKeyEvent(x, a, True, CurrentTime);
      XTestFakeKeyEvent(x, a, False, CurrentTime);
      XFlush(x);
      platform::ReadKey();
      latencies.push_back(ms(Clock::now() - sent));
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    // Waiting for a key that does not come, for five seconds.
    const double cpu_before = cpu_seconds();
    const auto wait_start = Clock::now();
    std::thread closer([] {
      std::this_thread::sleep_for(std::chrono::seconds(5));
      platform::post_window_close();
    });
    try {
      platform::ReadKey();
    } catch (const platform::SessionEnded&) {
    }
    closer.join();
    idle_cpu = (cpu_seconds() - cpu_before) / std::chrono::duration<double>(Clock::now() - wait_start).count();
    platform::CloseGraph();
    return 0;
  });
  XCloseDisplay(x);
  std::sort(latencies.begin(), latencies.end());
  if (latencies.empty()) return 1;
  std::printf("start-up to the first presented frame: %.1f ms (from main())\n", startup);
  std::printf("X key event to ReadKey: median %.2f ms, 95th percentile %.2f ms, worst %.2f ms (%zu keys)\n",
              latencies[latencies.size() / 2], latencies[latencies.size() * 95 / 100], latencies.back(),
              latencies.size());
  std::printf("CPU while waiting for a key: %.2f %% of one core\n", idle_cpu * 100);
  std::printf("resident memory at the main menu: %.1f MB\n", menu_rss);
  return code;
}
