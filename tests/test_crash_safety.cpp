// SPDX-License-Identifier: GPL-3.0-or-later
// Killing the game in the middle of its writes: the settings and the
// high-score files are always a whole old or a whole new record.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <thread>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include "game/highscores.hpp"
#include "harness.hpp"
#include "platform/settings.hpp"
#include "shell/settings.hpp"

extern char** environ;

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

// Starts the replay tool on the folder and kills it after `after`, or, when
// `watch` is given, as soon as that file has changed; returns how long it ran.
std::chrono::microseconds run_and_kill(const std::string& keys, std::chrono::microseconds after,
                                       const char* watch = nullptr) {
  const std::string replay = ZELVANOS_REPLAY;
  std::vector<std::string> args = {replay,       "--dir", "game", "--type",  keys,  "--date",
                                   "2005-03-07", "--out", "out",  "--shots", "none"};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const auto before = watch != nullptr ? read_file(watch) : std::vector<std::uint8_t>{};
  pid_t pid = 0;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(posix_spawn(&pid, replay.c_str(), nullptr, nullptr, argv.data(), environ), 0);
  if (watch != nullptr) {
    while (read_file(watch) == before && std::chrono::steady_clock::now() - start < std::chrono::seconds(20)) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  } else {
    std::this_thread::sleep_for(after);
  }
  kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
}

// Kill times spread from a little before the first write to well into the
// run (a slow build, under a sanitizer, takes longer to get there).
std::chrono::microseconds kill_time(std::mt19937& rng, std::chrono::microseconds first_write) {
  const auto from = first_write.count() / 2;
  return std::chrono::microseconds(from +
                                   static_cast<long>(rng() % static_cast<unsigned>(first_write.count() + 30000)));
}

using Bytes = std::vector<std::uint8_t>;

// Runs the keys 300 times, each run killed at a different moment around and
// after the first write of `file`; after every kill the file must be `whole`
// (`describe` says what it held otherwise). Returns the contents seen.
std::set<Bytes> kill_during_writes(const std::string& keys, const char* file, unsigned seed,
                                   const std::function<bool(const Bytes&)>& whole,
                                   const std::function<std::string(const Bytes&)>& describe) {
  std::mt19937 rng(seed);
  const auto first_write = run_and_kill(keys, {}, file);
  std::set<Bytes> seen;
  for (int i = 0; i < 300; ++i) {
    run_and_kill(keys, kill_time(rng, first_write));
    const auto now = read_file(file);
    if (!whole(now)) {
      ADD_FAILURE() << "kill " << i << ": " << now.size() << " bytes\n" << describe(now);
      break;
    }
    seen.insert(now);
  }
  return seen;
}

std::vector<std::uint8_t> bytes_of(const settings::BEALLITASOK& s) {
  const auto b = settings::encode(s);
  return {b.begin(), b.end()};
}

std::vector<std::uint8_t> bytes_of(const game::EREDMENYLISTA& l) {
  const auto b = game::encode(l);
  return {b.begin(), b.end()};
}

class CrashSafety : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories("game/Data");
    shell::apply_factory_values(record);
    write_file("game/Data/Config.cfg", bytes_of(record));
    fs::current_path("game");
    write_banks('a');
    fs::current_path("..");
  }
  ScratchDir dir;
  settings::BEALLITASOK record;
};

TEST_F(CrashSafety, SettingsSurviveKillsDuringWrites) {
  // Into the settings, to "Hangok", and toggle it again and again: every
  // pass writes the file, alternating between two records.
  std::string keys = "Down Enter Down Down Down Down Down Down Down";
  for (int i = 0; i < 3000; ++i) keys += " Enter";
  auto off = record;
  off.HANGOK = 0;
  const std::set<Bytes> valid = {bytes_of(record), bytes_of(off)};
  const auto seen = kill_during_writes(
      keys, "game/Data/Config.cfg", 7, [&](const Bytes& now) { return valid.count(now) == 1; },
      [](const Bytes&) { return std::string("neither the old nor the new record"); });
  EXPECT_EQ(seen.size(), 2U) << "the kills landed between writes of both kinds";
}

TEST_F(CrashSafety, HighScoresSurviveKillsDuringWrites) {
  game::EREDMENYLISTA reset;
  game::reset_list(reset);
  write_file("game/Data/HighScores.cfg", bytes_of(reset));
  // A game stopped on level 2 enters the list; the list screen then shows
  // it (refreshing the count texts) and "t" resets it. Over and over.
  std::string keys;
  for (int i = 0; i < 400; ++i) keys += " Enter a n m a x t";
  // Every complete record on the way is the reset list with the game's
  // entries (left by earlier runs cut short before their reset) at its top;
  // name bytes beyond their lengths vary.
  const auto whole = [](const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() != 730) return false;
    const auto list = game::decode(std::span<const std::uint8_t, 730>(bytes.data(), 730));
    bool in_entries = true;
    for (std::size_t i = 0; i < 10; ++i) {
      const bool entry = list.PONT[i].view() == "5 000 000";
      if (entry && !in_entries) return false;
      in_entries = entry;
      if (!entry && list.PONT[i].view() != "0") return false;
      if (list.DATUM[i].view() != (entry ? "2005. 3. 7" : "2005. 1. 1.")) return false;
      if (list.NEV[i].view() != "ZorvinSoft" || list.X[i] != 1) return false;
      if (list.X2[i].view() != list.X2[0].view()) return false;
    }
    return true;
  };
  const auto describe = [](const Bytes& now) {
    std::string shown;
    if (now.size() != 730) return shown;
    const auto l = game::decode(std::span<const std::uint8_t, 730>(now.data(), 730));
    for (std::size_t k = 0; k < 10; ++k) {
      shown += std::string(l.NEV[k].view()) + "|" + std::to_string(l.X[k]) + "|" + std::string(l.PONT[k].view()) + "|" +
               std::string(l.DATUM[k].view()) + "|" + std::string(l.X2[k].view()) + "\n";
    }
    return shown;
  };
  const auto seen = kill_during_writes(keys, "game/Data/HighScores.cfg", 11, whole, describe);
  EXPECT_GE(std::count_if(seen.begin(), seen.end(), [](const auto& b) { return b[281] == '5'; }), 1)
      << "some kills came after an entry was written";
  EXPECT_GE(seen.size(), 3U);
}

}  // namespace
