// SPDX-License-Identifier: GPL-3.0-or-later
// What another local user can do to a player's game through the lock files:
// hold a lock, plant a lock file, keep an old one open, or be the one whose
// folder the player's links to. These run where the tests run as root,
// which can make the users; elsewhere they are skipped.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "game/highscores.hpp"
#include "harness.hpp"
#include "platform/settings.hpp"

namespace fs = std::filesystem;
using namespace testing_support;
using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

namespace {

mode_t mode_of(const fs::path& p) {
  struct stat st = {};
  EXPECT_EQ(::lstat(p.c_str(), &st), 0) << p;
  return st.st_mode & 07777;
}

// A process of `user` that opens `file` (read-only) and holds an exclusive
// flock on it until the end of the scope. `opened` tells whether it could.
class HeldBy {
 public:
  HeldBy(const TestUser& user, const fs::path& file) {
    int ready[2];
    EXPECT_EQ(::pipe(ready), 0);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(ready[0]);
      char answer = 'n';
      if (::setgroups(0, nullptr) == 0 && ::setgid(user.gid) == 0 && ::setuid(user.uid) == 0) {
        const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) answer = 'y';
      }
      if (::write(ready[1], &answer, 1) != 1) _exit(1);
      for (;;) ::pause();
    }
    ::close(ready[1]);
    char answer = 'n';
    if (::read(ready[0], &answer, 1) != 1) answer = 'n';
    ::close(ready[0]);
    opened_ = answer == 'y';
  }
  ~HeldBy() {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  HeldBy(const HeldBy&) = delete;
  HeldBy& operator=(const HeldBy&) = delete;
  bool opened() const { return opened_; }

 private:
  pid_t pid_ = -1;
  bool opened_ = false;
};

class OtherUsers : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    auto p = test_user("zelvanos-player", &why);
    auto o = p ? test_user("zelvanos-other", &why) : std::nullopt;
    if (!p || !o) GTEST_SKIP() << why;
    player = *p;
    other = *o;
    // A folder the users may pass through and write their logs and pictures
    // into; the game's folder inside it is the player's.
    ::chmod(dir.path().c_str(), 0777);
    write_game_folder("game");
  }

  // The game's folder made the player's own.
  void give_to_player(const fs::path& folder) {
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      ASSERT_EQ(::lchown(entry.path().c_str(), player.uid, player.gid), 0);
    }
    ASSERT_EQ(::lchown(folder.c_str(), player.uid, player.gid), 0);
  }

  // Runs a program as `user` with a time limit; its exit code (124 when the
  // time ran out), its standard error in `err`.
  int run(const TestUser& user, const std::string& command) {
    const std::string log = "err-" + user.name + ".txt";
    const int code = run_as(user, "timeout -s KILL 30 " + command + " >/dev/null 2>" + log);
    err = read_text(log);
    return code;
  }
  std::string replay(const std::string& keys) {
    return std::string(ZELVANOS_REPLAY) + " --dir game --type '" + keys + "' --out out --shots none";
  }
  std::string names(const std::string& args) { return std::string(ZELVANOS_NAMES) + " " + args; }

  ScratchDir dir;
  TestUser player;
  TestUser other;
  TestUser root{0, 0, "root"};
  std::string err;
};

int lines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

// `flock -x DIR/Data sleep 600` by another user froze the settings menu, the
// end of a winning game and the names program. The locks are now lock files
// only the player can open, so another user can neither freeze them nor
// hold them.
TEST_F(OtherUsers, CannotFreezeTheGameOrTheNamesProgram) {
  const HeldBy data_folder(other, "game/Data");
  ASSERT_TRUE(data_folder.opened()) << "the other user could not lock the Data folder";

  // The settings menu writes the settings (sound off); a game won at the
  // first question and stopped enters the list.
  std::string keys = "Down Enter";
  for (int i = 0; i < 7; ++i) keys += " Down";
  keys += " Enter Esc Enter a n m a x Esc";
  EXPECT_EQ(run(root, replay(keys)), 0) << err;
  EXPECT_EQ(lines(err), 0) << err;
  const auto config = read_file("game/Data/Config.cfg");
  ASSERT_EQ(config.size(), 76U);
  EXPECT_EQ(settings::decode(std::span<const std::uint8_t, 76>(config.data(), 76)).HANGOK, 0);
  const auto list = read_file("game/Data/HighScores.cfg");
  ASSERT_EQ(list.size(), 730U);
  EXPECT_EQ(game::decode(std::span<const std::uint8_t, 730>(list.data(), 730)).PONT[0].view(), "5 000 000");
  EXPECT_EQ(run(root, names("--fajl game/Data/Config.cfg --nev Feri")), 0) << err;

  for (const char* lock : {"game/Data/Config.cfg.lock", "game/Data/HighScores.cfg.lock", "game/Data/Zelvanos.lock"}) {
    EXPECT_EQ(mode_of(lock), 0600U) << lock;
    const HeldBy held(other, lock);
    EXPECT_FALSE(held.opened()) << "another user could hold " << lock;
  }
}

// Where others may write into the player's Data folder, a lock file that
// is another user's own is never used: the game refuses to start on such a
// one-copy lock, and the names program on such a record lock, each with one
// clear line; the game's own record writes go on without it and say so.
TEST_F(OtherUsers, TheirLockFilesAreRefusedWithAClearLine) {
  give_to_player("game");
  ::chmod("game/Data", 0777);
  for (const char* lock : {"Zelvanos.lock", "Config.cfg.lock", "HighScores.cfg.lock"}) {
    ASSERT_EQ(run_as(other, std::string("umask 022; : >game/Data/") + lock), 0) << lock;
  }

  EXPECT_EQ(run(player, replay("Esc")), 5) << err;
  EXPECT_EQ(lines(err), 1) << err;
  EXPECT_NE(err.find("Zelvanos.lock: access denied: the lock file belongs to another user (zelvanos-other)"),
            std::string::npos)
      << err;
  EXPECT_EQ(err.find("already running"), std::string::npos) << err;

  const auto before = read_file("game/Data/Config.cfg");
  EXPECT_EQ(run(player, names("--fajl game/Data/Config.cfg --nev Feri")), 5) << err;
  EXPECT_NE(err.find("Config.cfg.lock: hozzáférés megtagadva: a zárolófájl egy másik felhasználóé (zelvanos-other)"),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("the lock file belongs to another user (zelvanos-other)"), std::string::npos) << err;
  EXPECT_EQ(read_file("game/Data/Config.cfg"), before);

  // Without the one-copy lock in the way, a game that enters the list says
  // once that it writes without the record lock, and its result is kept.
  ASSERT_EQ(run_as(other, "rm game/Data/Zelvanos.lock"), 0);
  EXPECT_EQ(run(player, replay("Enter a n m a x Esc")), 0) << err;
  EXPECT_EQ(lines(err), 1) << err;
  EXPECT_NE(err.find("HighScores.cfg.lock"), std::string::npos) << err;
  EXPECT_NE(err.find("the change is written without the lock"), std::string::npos) << err;
  const auto list = read_file("game/Data/HighScores.cfg");
  ASSERT_EQ(list.size(), 730U);
  EXPECT_EQ(game::decode(std::span<const std::uint8_t, 730>(list.data(), 730)).PONT[0].view(), "5 000 000");
}

// A lock file left readable by an older version lets another user hold it
// open. That hold is never taken for a copy of the game: the game starts,
// says who holds it, and the file becomes the player's alone.
TEST_F(OtherUsers, TheirHoldOnAnOldLockFileIsNotAnotherCopy) {
  give_to_player("game");
  ASSERT_EQ(run_as(player, "umask 022; : >game/Data/Zelvanos.lock"), 0);
  const HeldBy held(other, "game/Data/Zelvanos.lock");
  ASSERT_TRUE(held.opened());

  EXPECT_EQ(run(player, replay("Esc")), 0) << err;
  EXPECT_EQ(lines(err), 1) << err;
  EXPECT_NE(err.find("of another user (zelvanos-other); the game runs without its one-copy guard"), std::string::npos)
      << err;
  EXPECT_EQ(err.find("already running"), std::string::npos) << err;
  EXPECT_EQ(mode_of("game/Data/Zelvanos.lock"), 0600U);
}

// A player whose folder is a link to another player's folder: the game
// refuses the other player's lock file (which it used to hold, keeping its
// owner from starting) instead of running on their files.
TEST_F(OtherUsers, AFolderLinkedToAnotherPlayersFolderIsRefused) {
  ASSERT_EQ(::chown("game", other.uid, other.gid), 0);
  for (const auto& entry : fs::recursive_directory_iterator("game")) {
    ASSERT_EQ(::lchown(entry.path().c_str(), other.uid, other.gid), 0);
  }
  ASSERT_EQ(run_as(other, "umask 022; : >game/Data/Zelvanos.lock"), 0);  // as older versions made it
  fs::create_directory("mine");
  fs::create_directory_symlink(fs::absolute("game"), "mine/game");
  give_to_player("mine");

  const int code = run_as(player, "cd mine && timeout -s KILL 30 " + replay("Esc") + " >/dev/null 2>../err-mine.txt");
  err = read_text("err-mine.txt");
  EXPECT_EQ(code, 5) << err;
  EXPECT_NE(err.find("belongs to another user (zelvanos-other)"), std::string::npos) << err;

  // Its owner still starts: nothing of the player's holds it.
  EXPECT_EQ(run(other, replay("Esc")), 0) << err;
}

}  // namespace
