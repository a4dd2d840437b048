// SPDX-License-Identifier: GPL-3.0-or-later
// The seam between the game and the machine: what the game's calls do with
// no backend chosen, how a backend meets the key queue, the sound unit's
// trace, and that the game's folders stay on their side of it.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <set>
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

// What a file of the game's folders may include: the game's side of the
// platform, the game's own folders and the standard library but for what
// reaches the machine past the seam (the clock, the date, sleeping, threads,
// randomness and signals go through Delay, TickCount, GetDate and Random).
// Anything else is named here first.
struct IncludeRules {
  std::set<std::string> platform = {"platform/graph.hpp",    "platform/errors.hpp",     "platform/files.hpp",
                                    "platform/cp852.hpp",    "platform/keycodes.hpp",   "platform/shortstring.hpp",
                                    "platform/settings.hpp", "platform/io_messages.hpp"};
  std::set<std::string> folders = {"game", "screen", "sound", "shell"};
  std::set<std::string> standard = {"algorithm",   "any",      "array",         "bit",           "bitset",
                                    "cctype",      "cerrno",   "charconv",      "cinttypes",     "climits",
                                    "cmath",       "compare",  "concepts",      "cstddef",       "cstdint",
                                    "cstdio",      "cstdlib",  "cstring",       "deque",         "exception",
                                    "filesystem",  "format",   "fstream",       "functional",    "initializer_list",
                                    "iomanip",     "ios",      "iosfwd",        "istream",       "iterator",
                                    "limits",      "list",     "map",           "memory",        "new",
                                    "numbers",     "numeric",  "optional",      "ostream",       "queue",
                                    "ranges",      "set",      "span",          "sstream",       "stack",
                                    "stdexcept",   "string",   "string_view",   "system_error",  "tuple",
                                    "type_traits", "typeinfo", "unordered_map", "unordered_set", "utility",
                                    "variant",     "vector"};
  // The machine's side inside the game's folders: the entries (the
  // program's main, the web page's with its own-questions glue, built into
  // the page alone) and the sound unit's devices.
  std::set<std::string> machine_side = {
      "shell/main.cpp",      "shell/main_web.cpp",  "shell/own_questions_web.cpp", "shell/own_questions_web.hpp",
      "sound/audio_sdl.cpp", "sound/audio_sdl.hpp", "sound/audio_web.cpp",         "sound/audio_web.hpp"};

  // Each include of `text`: whether it is in angle brackets, and the name.
  static std::vector<std::pair<bool, std::string>> includes_of(const std::string& text) {
    static const std::regex include(R"(^\s*#\s*include\s*([<"])([^>"]*)[>"])");
    std::vector<std::pair<bool, std::string>> out;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
      std::smatch m;
      if (std::regex_search(line, m, include)) out.emplace_back(m[1] == "<", m[2]);
    }
    return out;
  }

  // The includes of `text` that are not allowed, as written.
  std::vector<std::string> refused(const std::string& text) const {
    std::vector<std::string> out;
    for (const auto& [system, name] : includes_of(text)) {
      if (!(system ? standard.count(name) != 0 : allowed_local(name))) out.push_back(name);
    }
    return out;
  }

  // The floors from the ground up; a folder includes its own floor and those
  // below, and upward only where named here (see docs/ARCHITECTURE.md).
  std::vector<std::string> floors = {"platform", "sound", "screen", "game", "shell"};
  std::set<std::pair<std::string, std::string>> upward = {{"screen", "game"}};

  // The folders above its own that a file in folder `from` includes from
  // without their being named.
  std::vector<std::string> upward_from(const std::string& from, const std::string& text) const {
    const auto floor = [&](const std::string& folder) {
      return std::find(floors.begin(), floors.end(), folder) - floors.begin();
    };
    std::vector<std::string> out;
    for (const auto& [system, name] : includes_of(text)) {
      const std::string to = name.substr(0, name.find('/'));
      if (!system && floor(to) < static_cast<std::ptrdiff_t>(floors.size()) && floor(to) > floor(from) &&
          upward.count({from, to}) == 0) {
        out.push_back(to);
      }
    }
    return out;
  }

  bool allowed_local(const std::string& name) const {
    if (platform.count(name) != 0) return true;
    const auto slash = name.find('/');
    return slash != std::string::npos && folders.count(name.substr(0, slash)) != 0 && machine_side.count(name) == 0;
  }
};

TEST(Seam, TheGamesFoldersIncludeOnlyWhatTheGamesSideMay) {
  const IncludeRules rules;
  // The rules themselves: each kind of include a game file must not make.
  EXPECT_EQ(rules.refused("#include \"platform/keyqueue.hpp\"\n"
                          "#include \"game/game.hpp\"\n"
                          "  #  include <chrono>\n"
                          "#include <SDL.h>\n"
                          "#include <vector>\n"
                          "#include \"sound/audio_sdl.hpp\"\n"
                          "#include \"tools/anything.hpp\"\n"
                          "#include \"gamescreen.hpp\"\n"),
            (std::vector<std::string>{"platform/keyqueue.hpp", "chrono", "SDL.h", "sound/audio_sdl.hpp",
                                      "tools/anything.hpp", "gamescreen.hpp"}));

  const fs::path src = fs::path(ZELVANOS_TESTS_DIR).parent_path() / "src";
  for (const std::string& name : rules.machine_side) {
    EXPECT_TRUE(fs::exists(src / name)) << name << " is named as the machine's side but is no longer there";
  }
  int read = 0;
  for (const std::string& folder : rules.folders) {
    for (const auto& entry : fs::recursive_directory_iterator(src / folder)) {
      const fs::path& p = entry.path();
      if (p.extension() != ".cpp" && p.extension() != ".hpp") continue;
      const std::string name = p.lexically_relative(src).generic_string();
      if (rules.machine_side.count(name) != 0) continue;
      std::ifstream in(p);
      std::ostringstream text;
      text << in.rdbuf();
      ++read;
      for (const std::string& header : rules.refused(text.str())) {
        ADD_FAILURE() << name << " includes " << header
                      << ", which the game's side of the seam does not allow (see tests/test_seam.cpp)";
      }
    }
  }
  EXPECT_GT(read, 20) << "the source folders were not found under " << src;
}

TEST(Seam, TheFloorsIncludeUpwardOnlyWhereNamed) {
  const IncludeRules rules;
  EXPECT_EQ(rules.upward_from("game", "#include \"shell/menu.hpp\"\n#include \"screen/logo.hpp\"\n"),
            std::vector<std::string>{"shell"});
  EXPECT_EQ(rules.upward_from("sound", "#include \"screen/logo.hpp\"\n#include \"platform/graph.hpp\"\n"),
            std::vector<std::string>{"screen"});
  EXPECT_TRUE(rules.upward_from("screen", "#include \"game/game.hpp\"\n").empty());

  const fs::path src = fs::path(ZELVANOS_TESTS_DIR).parent_path() / "src";
  int read = 0;
  for (const std::string& folder : rules.floors) {
    for (const auto& entry : fs::recursive_directory_iterator(src / folder)) {
      const fs::path& p = entry.path();
      if (p.extension() != ".cpp" && p.extension() != ".hpp") continue;
      std::ifstream in(p);
      std::ostringstream text;
      text << in.rdbuf();
      ++read;
      for (const std::string& to : rules.upward_from(folder, text.str())) {
        ADD_FAILURE() << p.lexically_relative(src).generic_string() << " includes from " << to
                      << ", a floor above its own (the layers include downward; see docs/ARCHITECTURE.md)";
      }
    }
  }
  EXPECT_GT(read, 40) << "the source folders were not found under " << src;
}

}  // namespace
