// SPDX-License-Identifier: GPL-3.0-or-later
// Killing the game in the middle of its writes: the settings and the
// high-score files are always a whole old or a whole new record.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
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

using Bytes = std::vector<std::uint8_t>;

// The replay tool on game/, stopping itself at each key wait: the test knows
// where the game is when it looks at the files, lets it go on, or kills it.
class SteppedReplay {
 public:
  explicit SteppedReplay(const std::string& keys) {
    const std::string replay = ZELVANOS_REPLAY;
    std::vector<std::string> args = {replay,       "--dir", "game", "--type",  keys,   "--date",
                                     "2005-03-07", "--out", "out",  "--shots", "none", "--stop-at-key-waits"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    EXPECT_EQ(posix_spawn(&pid_, replay.c_str(), nullptr, nullptr, argv.data(), environ), 0);
  }
  ~SteppedReplay() { kill_now(); }
  SteppedReplay(const SteppedReplay&) = delete;
  SteppedReplay& operator=(const SteppedReplay&) = delete;

  // Lets the game go on to its next key wait; false when it ended instead.
  bool next() {
    if (pid_ <= 0) return false;
    if (waits_ > 0) kill(pid_, SIGCONT);
    int status = 0;
    if (waitpid(pid_, &status, WUNTRACED) != pid_ || !WIFSTOPPED(status)) {
      pid_ = 0;
      return false;
    }
    ++waits_;
    return true;
  }
  bool run_to(int wait) {
    while (waits_ < wait) {
      if (!next()) return false;
    }
    return true;
  }
  // Lets the game go on from its key wait and kills it `after` later,
  // wherever it is then (it stops again at the next key wait).
  void kill_in_flight(std::chrono::microseconds after) {
    if (pid_ <= 0) return;
    kill(pid_, SIGCONT);
    std::this_thread::sleep_for(after);
    kill_now();
  }
  void kill_now() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = 0;
  }

 private:
  pid_t pid_ = 0;
  int waits_ = 0;
};

// How many kills in the middle of the game's work each test makes:
// ZELVANOS_KILLS, or 200.
int kills_in_flight() {
  const char* text = std::getenv("ZELVANOS_KILLS");
  const long n = text != nullptr ? std::strtol(text, nullptr, 10) : 0;
  return n > 0 && n < 100000 ? static_cast<int>(n) : 200;
}

// Runs the keys and kills the game, after every kill looking at `file`,
// which must be `whole` (`describe` says what it held otherwise):
//  - first, one run steps through the key waits until the file has changed
//    `changes` times (and one wait more), measuring how long the game works
//    from each wait to the next, and the file is looked at at each wait;
//  - then a run killed at each of these key waits, twice in a row, where
//    the game has finished everything it did for the keys before;
//  - then kills_in_flight() runs, each let go at a random one of these key
//    waits and killed a random time later within the work that follows
//    (measured above), often in the middle of a write.
// Returns the contents seen. Which contents are seen depends only on the
// keys; where the kills in flight land depends on time, and any place must
// leave the file whole.
std::set<Bytes> kill_during_writes(const std::string& keys, int changes, const char* file, unsigned seed,
                                   const std::function<bool(const Bytes&)>& whole,
                                   const std::function<std::string(const Bytes&)>& describe) {
  std::set<Bytes> seen;
  const auto check = [&](const std::string& when) {
    const auto now = read_file(file);
    if (!whole(now)) {
      ADD_FAILURE() << when << ": " << now.size() << " bytes\n" << describe(now);
      return false;
    }
    seen.insert(now);
    return true;
  };
  // work[w]: how long the game worked to reach key wait w (1: from its start).
  std::vector<std::chrono::microseconds> work(1);
  {
    SteppedReplay replay(keys);
    auto last = read_file(file);
    int changed = 0;
    while (changed <= changes) {
      const auto start = std::chrono::steady_clock::now();
      if (!replay.next() || work.size() > 400) {
        ADD_FAILURE() << "the file changed only " << changed << " times in " << work.size() - 1 << " key waits";
        return seen;
      }
      work.push_back(std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start));
      if (!check("at key wait " + std::to_string(work.size() - 1))) return seen;
      const auto now = read_file(file);
      if (now != last || changed == changes) ++changed;
      last = now;
    }
  }
  // From here on, work[w]: from key wait w to w + 1 (0: the start).
  const int waits = static_cast<int>(work.size()) - 1;
  work.erase(work.begin());
  for (int wait = 1; wait <= waits; ++wait) {
    for (int again = 0; again < 2; ++again) {
      SteppedReplay replay(keys);
      if (!replay.run_to(wait)) ADD_FAILURE() << "the game ended before key wait " << wait;
      replay.kill_now();
      if (!check("killed at key wait " + std::to_string(wait))) return seen;
    }
  }
  std::mt19937 rng(seed);
  const int kills = kills_in_flight();
  for (int i = 0; i < kills; ++i) {
    const int wait = 1 + static_cast<int>(rng() % static_cast<unsigned>(waits - 1));
    const auto span = work[static_cast<std::size_t>(wait)].count() + 1;
    SteppedReplay replay(keys);
    if (!replay.run_to(wait)) ADD_FAILURE() << "the game ended before key wait " << wait;
    replay.kill_in_flight(std::chrono::microseconds(static_cast<long>(rng() % static_cast<unsigned>(span))));
    if (!check("kill " + std::to_string(i) + ", let go at key wait " + std::to_string(wait))) return seen;
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
      keys, 3, "game/Data/Config.cfg", 7, [&](const Bytes& now) { return valid.count(now) == 1; },
      [](const Bytes&) { return std::string("neither the old nor the new record"); });
  EXPECT_EQ(seen.size(), 2U) << "both records were seen between the writes";
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
  // The entry is written at the end of the game, the reset at "t".
  const auto seen = kill_during_writes(keys, 2, "game/Data/HighScores.cfg", 11, whole, describe);
  EXPECT_GE(std::count_if(seen.begin(), seen.end(), [](const auto& b) { return b[281] == '5'; }), 1)
      << "some kills came after an entry was written";
  EXPECT_GE(seen.size(), 3U) << "the reset list, one entry, and two (a run killed before its reset)";
}

}  // namespace
