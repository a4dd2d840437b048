// SPDX-License-Identifier: GPL-3.0-or-later
// The real window thread, on SDL's dummy video driver: the game on its own
// thread, keys arriving from another, the window closed under the game.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "harness.hpp"
#include "platform/backend.hpp"
#include "platform/window.hpp"
#include "shell/menu.hpp"

using namespace platform;
using namespace std::chrono_literals;

namespace {

class Window : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 0);  // asked for: the window draws nowhere
    platform::reset_state();
    shell::reset_layers();
  }
  void TearDown() override { reset_state(); }
};

TEST_F(Window, TheGameThreadDrawsReadsKeysAndReturnsItsCode) {
  const int code = run_windowed([] {
    std::int16_t driver = 15;
    std::int16_t mode = 30010;
    SetWindowTitle("Legyen On is Zelvanos");
    InitGraph(driver, mode, "");
    std::thread typist([] {
      std::this_thread::sleep_for(20ms);
      key_queue().push('x');
      key_queue().push_extended(72);
    });
    for (int i = 0; i < 200; ++i) {
      SetColor(static_cast<std::uint16_t>(i % 16));
      Line(0, static_cast<std::int16_t>(i), 799, static_cast<std::int16_t>(i));
    }
    const int a = ReadKey();
    const int b = ReadKey();
    const int c = ReadKey();
    typist.join();
    Delay(30);
    CloseGraph();
    return a == 'x' && b == 0 && c == 72 ? 7 : 1;
  });
  EXPECT_EQ(code, 7);
}

TEST_F(Window, ClosingTheWindowEndsAKeyReadAndADelay) {
  for (const bool in_delay : {false, true}) {
    reset_state();
    const auto start = std::chrono::steady_clock::now();
    const int code = run_windowed([in_delay] {
      std::int16_t driver = 15;
      std::int16_t mode = 30010;
      InitGraph(driver, mode, "");
      std::thread closer([] {
        std::this_thread::sleep_for(50ms);
        post_window_close();
      });
      int result = 1;
      try {
        if (in_delay) {
          Delay(60000);
        } else {
          ReadKey();
        }
      } catch (const SessionEnded&) {
        result = 0;
      }
      closer.join();
      CloseGraph();
      return result;
    });
    EXPECT_EQ(code, 0) << (in_delay ? "delay" : "key read");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
  }
}

TEST_F(Window, TheProgramClosedDuringItsTitleScreenExitsCleanly) {
  testing_support::ScratchDir dir;
  std::filesystem::create_directory("Data");
  settings::BEALLITASOK s;
  shell::apply_factory_values(s);
  const auto bytes = settings::encode(s);
  testing_support::write_file("Data/Config.cfg", {bytes.begin(), bytes.end()});
  std::atomic<bool> done{false};
  std::thread closer([&done] {
    // Like a player clicking the close button until the window goes.
    while (!done) {
      std::this_thread::sleep_for(100ms);
      post_window_close();
    }
  });
  const auto start = std::chrono::steady_clock::now();
  const int code = run_windowed(shell::program);
  done = true;
  closer.join();
  EXPECT_EQ(code, 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 4s) << "long before the title's 5 000 ms";
  EXPECT_EQ(testing_support::read_file("Data/Config.cfg"), std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

}  // namespace
