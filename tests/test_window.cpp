// SPDX-License-Identifier: GPL-3.0-or-later
// The real window thread, on SDL's dummy video driver: the game on its own
// thread, keys arriving from another, the window closed under the game, a
// record lock waited for, and the F12 screenshot in a hostile folder.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include "harness.hpp"
#include "platform/backend.hpp"
#include "platform/files.hpp"
#include "platform/notice.hpp"
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

// Opens the window on the game thread, runs `work` there and closes it.
int with_window(const std::function<int()>& work) {
  return run_windowed([&] {
    std::int16_t driver = 15;
    std::int16_t mode = 30010;
    InitGraph(driver, mode, "");
    const int code = work();
    CloseGraph();
    return code;
  });
}

// Polls `done` for up to 20 s; whether it came true.
bool eventually(const std::function<bool()>& done) {
  for (int i = 0; i < 2000; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(10ms);
  }
  return done();
}

// F12 in a folder where someone planted links at the names a screenshot
// takes: the picture goes to a new file of another name, and nothing is
// created where the links lead.
TEST_F(Window, AScreenshotIsANewFileNeverWrittenThroughALink) {
  testing_support::ScratchDir dir;
  const auto stamp = [](std::time_t t) {
    char text[32];
    std::tm local = {};
    localtime_r(&t, &local);
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return std::string(text);
  };
  // Every second for longer than the test may run, so that however slowly
  // the window opens, the first name its picture takes is a planted one.
  const std::time_t now = std::time(nullptr);
  for (std::time_t t = now - 1; t <= now + 400; ++t) {
    std::filesystem::create_symlink("planted-" + stamp(t), "zelvanos-" + stamp(t) + ".png");
  }
  std::filesystem::path saved;
  const int code = with_window([&] {
    post_screenshot();
    const bool done = eventually([&] {
      for (const auto& e : std::filesystem::directory_iterator(".")) {
        if (std::filesystem::is_regular_file(std::filesystem::symlink_status(e.path()))) saved = e.path();
      }
      return !saved.empty();
    });
    return done ? 0 : 1;
  });
  ASSERT_EQ(code, 0) << "no screenshot was saved";
  EXPECT_TRUE(saved.filename().string().starts_with("zelvanos-")) << saved;
  EXPECT_TRUE(saved.filename().string().ends_with("-2.png")) << saved;
  EXPECT_GT(std::filesystem::file_size(saved), 100U);
  for (const auto& e : std::filesystem::directory_iterator(".")) {
    EXPECT_FALSE(e.path().filename().string().starts_with("planted-")) << "written through the link " << e.path();
  }
  EXPECT_EQ(window_notice(), "");
}

// A screenshot that cannot be saved is told in the window itself, over the
// picture and not in it: the game's picture stays as it was, and the
// notice goes after a few seconds.
TEST_F(Window, AScreenshotThatFailsIsToldInTheWindow) {
  testing_support::ScratchDir dir;
  std::filesystem::create_directory("gone");
  std::filesystem::current_path("gone");
  std::filesystem::remove(std::filesystem::current_path());  // the working folder is no more
  std::string shown;
  bool picture_kept = false;
  bool went = false;
  const auto [code, err] = testing_support::capture_stderr([&] {
    return with_window([&] {
      SetColor(14);
      Bar(10, 10, 100, 100);
      const Pixels before = surface().snapshot();
      post_screenshot();
      eventually([&] { return !(shown = window_notice()).empty(); });
      picture_kept = surface().snapshot() == before;
      went = eventually([] { return window_notice().empty(); });
      return 0;
    });
  });
  std::filesystem::current_path(dir.path());
  EXPECT_EQ(code, 0);
  EXPECT_EQ(shown, "A képernyőkép nem menthető: nem létezik");
  EXPECT_TRUE(picture_kept) << "the notice was drawn into the game's picture";
  EXPECT_TRUE(went) << "the notice stayed";
  EXPECT_NE(err.find("could not save the screenshot: nem létezik / does not exist"), std::string::npos) << err;
}

TEST(Notice, IsDrawnOnABandAtTheBottomOfTheWindowOnly) {
  constexpr int kW = 1000;
  constexpr int kH = 700;
  constexpr int kPitch = 1010;
  std::vector<std::uint32_t> frame(static_cast<std::size_t>(kPitch) * kH, 0x123456);
  draw_notice(frame.data(), kW, kH, kPitch, "A kepernyokep");
  const auto at = [&](int x, int y) {
    return frame[static_cast<std::size_t>(y) * kPitch + static_cast<std::size_t>(x)];
  };
  EXPECT_EQ(at(500, 0), 0x123456U);
  EXPECT_EQ(at(500, kH - 33), 0x123456U) << "the band is 32 rows at twice the font's size";
  EXPECT_EQ(at(999, kH - 32), 0xA80000U);
  EXPECT_EQ(at(999, kH - 1), 0xA80000U);
  EXPECT_EQ(at(1005, kH - 1), 0x123456U) << "nothing beyond the width";
  int white = 0;
  for (int y = kH - 32; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) white += at(x, y) == 0xFCFCFCU ? 1 : 0;
  }
  EXPECT_GT(white, 13 * 4 * 4) << "the letters";
  std::vector<std::uint32_t> tiny(20 * 5, 0);
  draw_notice(tiny.data(), 20, 5, 20, "long text cut");  // smaller than one letter: cut, never outside
  EXPECT_EQ(tiny[0], 0xA80000U);
}

// A record lock held by another program of the player's: the game waits
// for it a bounded time only, and closing the window ends the wait at once.
// Runs in a child process, so that a wait without end fails the test
// instead of hanging it.
TEST_F(Window, ClosingTheWindowEndsTheWaitForARecordLock) {
  testing_support::ScratchDir dir;
  std::filesystem::create_directory("Data");
  testing_support::write_settings_file("Data/Config.cfg");
  // Held the way older versions locked (the folder) and the way this one
  // does (the record's lock file).
  const int folder = ::open("Data", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_EQ(::flock(folder, LOCK_EX), 0);
  { const RecordLock made(std::filesystem::path("Data/Config.cfg")); }
  const int file = ::open("Data/Config.cfg.lock", O_RDWR | O_CLOEXEC);
  ASSERT_EQ(::flock(file, LOCK_EX), 0);

  const auto in_child = [](bool close_window) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      const int code = with_window([close_window] {
        std::thread closer;
        if (close_window) {
          closer = std::thread([] {
            std::this_thread::sleep_for(100ms);
            post_window_close();
          });
        }
        int result = 1;
        try {
          const RecordLock lock(std::filesystem::path("Data/Config.cfg"));
          result = 3;  // went on without it
        } catch (const SessionEnded&) {
          result = 7;
        }
        if (closer.joinable()) closer.join();
        return result;
      });
      _exit(code);
    }
    for (int i = 0; i < 3000; ++i) {
      int status = 0;
      if (::waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
      std::this_thread::sleep_for(10ms);
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return -1;  // waited without end
  };
  EXPECT_EQ(in_child(true), 7) << "closing the window did not end the wait";
  const auto [code, err] = testing_support::capture_stderr([&] { return in_child(false); });
  EXPECT_EQ(code, 3) << "the wait had no bound";
  EXPECT_NE(err.find("Config.cfg.lock: zárolási hiba: egy másik program"), std::string::npos) << err;
  EXPECT_NE(err.find("lock violation: another program"), std::string::npos) << err;
  EXPECT_NE(err.find("has held it for more than 5 seconds; the change is written without the lock"), std::string::npos)
      << err;
  ::close(file);
  ::close(folder);
}

}  // namespace
