// SPDX-License-Identifier: GPL-3.0-or-later
// The seam between the game and the machine: what the game's calls do with
// no backend chosen, how a backend meets the key queue, the sound unit's
// trace, and that the game's folders stay on their side of it.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/backend.hpp"
#include "platform/headless.hpp"

namespace fs = std::filesystem;

namespace {

TEST(Seam, WithNoBackendTheGameStillRunsToItsEnd) {
  platform::reset_state();
  platform::use_backend(nullptr);
  platform::set_tracer(nullptr);
  std::int16_t driver = 0, mode = 0;
  platform::InitGraph(driver, mode, "");
  platform::Delay(1000);
  EXPECT_EQ(platform::TickCount(), 0U);
  std::uint16_t y = 0, m = 0, d = 0, w = 0;
  platform::GetDate(y, m, d, w);
  EXPECT_EQ(y * 10000 + m * 100 + d, 20050101);
  EXPECT_THROW(platform::ReadKey(), platform::SessionEnded) << "nothing would ever bring a key";
  platform::key_queue().push('x');
  EXPECT_EQ(platform::ReadKey(), 'x') << "a key already waiting is read";
  platform::CloseGraph();
}

TEST(Seam, TheBackendPutsKeysIntoTheQueueItIsHanded) {
  // Both the key wait and the delay deliver into the queue they are given,
  // never into one of their own choosing.
  platform::reset_state();
  std::string error;
  auto script = platform::parse_key_script("@100 a b @500 c", &error);
  ASSERT_TRUE(script) << error;
  platform::HeadlessBackend backend(platform::Date{}, std::move(*script));
  platform::KeyQueue mine;
  backend.delay(200, mine);
  EXPECT_EQ(mine.try_pop(), std::optional<std::uint8_t>('a'));
  EXPECT_EQ(mine.size(), 0) << "'b' waits for a key read";
  backend.wait_for_key(mine);
  EXPECT_EQ(mine.try_pop(), std::optional<std::uint8_t>('b'));
  backend.delay(300, mine);
  EXPECT_EQ(mine.try_pop(), std::optional<std::uint8_t>('c'));
  EXPECT_EQ(platform::key_queue().size(), 0) << "the program's queue was never touched";
  EXPECT_THROW(backend.wait_for_key(mine), platform::SessionEnded);
}

TEST(Seam, TheSoundUnitsTraceReachesTheTracerInUse) {
  struct Sounds : platform::Tracer {
    std::vector<std::string> seen;
    void sound(std::string_view operation, int slot, std::string_view file) override {
      seen.push_back(std::string(operation) + " " + std::to_string(slot) + " " + std::string(file));
    }
  } sounds;
  platform::set_tracer(nullptr);
  platform::trace_sound("play", 1, "");  // no tracer: nothing to tell
  platform::set_tracer(&sounds);
  platform::trace_sound("load", 3, "Sounds\\Main.mp3");
  platform::set_tracer(nullptr);
  EXPECT_EQ(sounds.seen, std::vector<std::string>{"load 3 Sounds\\Main.mp3"});
}

TEST(Seam, TheGamesFoldersIncludeOnlyTheGamesSideOfTheSeam) {
  // The entries (the program's main, the web page's) stand on the machine's
  // side and may.
  const fs::path src = fs::path(ZELVANOS_TESTS_DIR).parent_path() / "src";
  const std::vector<std::string> machine_side = {
      "platform/backend.hpp",  "platform/keyqueue.hpp", "platform/surface.hpp",     "platform/headless.hpp",
      "platform/recorder.hpp", "platform/window.hpp",   "platform/web_backend.hpp", "platform/keys.hpp",
      "platform/scaler.hpp",   "platform/png.hpp",      "platform/keyscript.hpp"};
  const std::vector<std::string> entries = {"main.cpp", "main_web.cpp"};
  int read = 0;
  for (const char* folder : {"game", "screen", "sound", "shell"}) {
    for (const auto& entry : fs::recursive_directory_iterator(src / folder)) {
      const fs::path& p = entry.path();
      if (p.extension() != ".cpp" && p.extension() != ".hpp") continue;
      if (std::string(folder) == "shell" &&
          std::find(entries.begin(), entries.end(), p.filename().string()) != entries.end()) {
        continue;
      }
      std::ifstream in(p);
      std::ostringstream text;
      text << in.rdbuf();
      ++read;
      for (const std::string& header : machine_side) {
        EXPECT_EQ(text.str().find("#include \"" + header + "\""), std::string::npos)
            << p.lexically_relative(src).string() << " includes " << header;
      }
    }
  }
  EXPECT_GT(read, 20) << "the source folders were not found under " << src;
}

}  // namespace
