// SPDX-License-Identifier: GPL-3.0-or-later
// The record files in a hostile folder: planted links and pipes, linked
// settings, a second copy of the game, full disks and failing reads; the
// leftovers a write clears, the syncs that make it last, and the lock files.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "game/game.hpp"
#include "game/highscores.hpp"
#include "harness.hpp"
#include "platform/backend.hpp"
#include "platform/files.hpp"
#include "platform/graph.hpp"
#include "platform/settings.hpp"
#include "shell/settings.hpp"
#include "syscall_spy.hpp"

extern char** environ;

namespace fs = std::filesystem;
using namespace testing_support;
using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

namespace {

const Bytes kVictim = {'v', 'i', 'c', 't', 'i', 'm', ' ', 's', 'e', 'c', 'r', 'e', 't'};

Bytes settings_bytes(const char* name = "ZorvinSoft") {
  settings::BEALLITASOK s;
  shell::apply_factory_values(s);
  s.NEV.assign(name);
  const auto b = settings::encode(s);
  return {b.begin(), b.end()};
}

mode_t mode_of(const fs::path& p) {
  struct stat st = {};
  EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
  return st.st_mode & 07777;
}

// A program run with a time limit; its exit code, or -1 when it had to be
// killed, and what it wrote on standard error.
struct Outcome {
  int code = -1;
  std::string err;
};

pid_t spawn(std::vector<std::string> args, const char* err_file, const std::vector<std::string>& env = {}) {
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> envs(env);
  for (char** e = environ; *e != nullptr; ++e) envs.emplace_back(*e);
  std::vector<char*> envp;
  for (auto& e : envs) envp.push_back(e.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, err_file, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  EXPECT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()), 0);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

int wait_for(pid_t pid, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > end) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(5ms);
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
}

Outcome run(std::vector<std::string> args, std::chrono::milliseconds limit = 20s,
            const std::vector<std::string>& env = {}) {
  Outcome r;
  r.code = wait_for(spawn(std::move(args), "stderr.txt", env), limit);
  r.err = read_text("stderr.txt");
  return r;
}

Outcome replay(const std::string& keys) {
  return run({ZELVANOS_REPLAY, "--dir", "game", "--type", keys, "--out", "out", "--shots", "none"});
}

int lines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    write_game_folder("game");
    write_file("victim", kVictim);
  }
  ScratchDir dir;
};

TEST_F(Files, WritesNeverGoThroughPlantedNames) {
  // Links under every name a write used to take (the target's name and a
  // process number) lead to the victim; a pipe lies among them.
  const fs::path list = "game/Data/HighScores.cfg";
  for (int pid = ::getpid() - 20; pid <= ::getpid() + 20; ++pid) {
    fs::create_symlink(fs::absolute("victim"), list.string() + ".tmp" + std::to_string(pid));
  }
  ASSERT_EQ(::mkfifo("game/Data/HighScores.cfg.tmpfifo", 0600), 0);
  game::EREDMENYLISTA l;
  game::reset_list(l);
  const auto bytes = game::encode(l);
  for (int i = 0; i < 3; ++i) platform::write_record(list, bytes);
  EXPECT_EQ(read_file("victim"), kVictim);
  EXPECT_EQ(read_file(list), Bytes(bytes.begin(), bytes.end()));
  EXPECT_EQ(std::distance(fs::directory_iterator("game/Data"), fs::directory_iterator{}), 2 + 41 + 1)
      << "no temporary left behind, nothing planted removed";

  // Someone else's link in place of the list is replaced, never followed.
  if (::geteuid() != 0) GTEST_SKIP() << "a link of another user needs root to make";
  fs::remove(list);
  fs::create_symlink(fs::absolute("victim"), list);
  ASSERT_EQ(::lchown(list.c_str(), 65534, 65534), 0);
  platform::write_record(list, bytes);
  EXPECT_EQ(read_file("victim"), kVictim);
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(list)));
  EXPECT_EQ(read_file(list), Bytes(bytes.begin(), bytes.end()));
}

TEST_F(Files, AFileOfThePlayersOwnLinkIsWrittenInPlaceWithItsMode) {
  // Settings kept elsewhere through a relative link, the scores through two
  // links in a row; both private to the player.
  fs::create_directories("store");
  write_file("store/Config.cfg", settings_bytes());
  fs::permissions("store/Config.cfg", fs::perms::owner_read | fs::perms::owner_write);
  fs::remove("game/Data/Config.cfg");
  fs::create_symlink("../../store/Config.cfg", "game/Data/Config.cfg");
  game::EREDMENYLISTA l;
  game::reset_list(l);
  const auto reset = game::encode(l);
  write_file("store/scores", {reset.begin(), reset.end()});
  ::chmod("store/scores", 0640);
  fs::create_symlink(fs::absolute("store/scores"), "store/scores-link");
  fs::remove("game/Data/HighScores.cfg");
  fs::create_symlink(fs::absolute("store/scores-link"), "game/Data/HighScores.cfg");

  // A game stopped after one right answer enters the list; the names
  // program renames the player.
  const Outcome game = replay("Enter a n m a x");
  EXPECT_EQ(game.code, 0) << game.err;
  const Outcome names = run({ZELVANOS_NAMES, "--fajl", "game/Data/Config.cfg", "--nev", "Kovács Éva"});
  EXPECT_EQ(names.code, 0) << names.err;

  EXPECT_TRUE(fs::is_symlink("game/Data/Config.cfg"));
  EXPECT_TRUE(fs::is_symlink("game/Data/HighScores.cfg"));
  EXPECT_TRUE(fs::is_symlink("store/scores-link"));
  const auto settings = read_file("store/Config.cfg");
  ASSERT_EQ(settings.size(), 76U);
  EXPECT_EQ(std::string(settings.begin() + 1, settings.begin() + 1 + settings[0]), "Kov\240cs \x90va");
  const auto scores = read_file("store/scores");
  ASSERT_EQ(scores.size(), 730U);
  EXPECT_EQ(game::decode(std::span<const std::uint8_t, 730>(scores.data(), 730)).PONT[0].view(), "5 000 000");
  EXPECT_EQ(mode_of("store/Config.cfg"), 0600U);
  EXPECT_EQ(mode_of("store/scores"), 0640U);
  EXPECT_EQ(std::distance(fs::directory_iterator("store"), fs::directory_iterator{}), 3) << "no temporary left";

  // A plain file keeps its mode too; a new one gets the umask's.
  fs::remove("game/Data/HighScores.cfg");
  write_file("game/Data/HighScores.cfg", {reset.begin(), reset.end()});
  ::chmod("game/Data/HighScores.cfg", 0604);
  platform::write_record("game/Data/HighScores.cfg", reset);
  EXPECT_EQ(mode_of("game/Data/HighScores.cfg"), 0604U);
  const mode_t mask = ::umask(022);
  ::umask(mask);
  platform::write_record("game/Data/new.cfg", reset);
  EXPECT_EQ(mode_of("game/Data/new.cfg"), 0666U & ~mask);
}

TEST_F(Files, APipeOrADeviceInPlaceOfAGameFileIsRefusedAtOnce) {
  // Each run would wait for ever on the pipe; each must end at once with
  // one line and the code for a file it may not use.
  struct Case {
    const char* file;
    const char* keys;
  };
  for (const Case c : {Case{"Data/Config.cfg", "Esc"}, Case{"Data/HighScores.cfg", "Down Down Enter"},
                       Case{"Questions/Default/01.lmk", "Enter"}}) {
    const fs::path file = fs::path("game") / c.file;
    fs::rename(file, "kept");
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    const Outcome r = replay(c.keys);
    EXPECT_EQ(r.code, 5) << c.file << ": " << r.err;
    EXPECT_EQ(lines(r.err), 1) << r.err;
    EXPECT_NE(r.err.find("named pipe"), std::string::npos) << r.err;
    fs::remove(file);
    fs::create_symlink("/dev/zero", file);
    const Outcome z = replay(c.keys);
    EXPECT_EQ(z.code, 5) << c.file << " as a link to /dev/zero: " << z.err;
    EXPECT_NE(z.err.find("device"), std::string::npos) << z.err;
    fs::remove(file);
    fs::rename("kept", file);
  }
  std::string what;
  EXPECT_TRUE(fails_with_io_error(
      5, [] { platform::read_record("game/Data", 76); }, &what))
      << "a folder was read";
  EXPECT_NE(what.find("folder"), std::string::npos) << what;
}

TEST_F(Files, FailuresAreNamedAsTheyAreWithTheClassicNumbers) {
  const auto check = [](platform::FileStep step, int err, int code, const char* words) {
    const std::string what = platform::io_error(step, err, "game/Data/HighScores.cfg").what();
    EXPECT_NE(what.find("(I/O error " + std::to_string(code) + ")"), std::string::npos) << what;
    EXPECT_NE(what.find(words), std::string::npos) << what;
    if (code != 5) {
      EXPECT_EQ(what.find("access denied"), std::string::npos) << what;
    }
  };
  using platform::FileStep;
  check(FileStep::kCreate, ENOSPC, 101, "no space left");
  check(FileStep::kWrite, ENOSPC, 101, "no space left");
  check(FileStep::kCreate, EDQUOT, 101, "quota");
  check(FileStep::kCreate, EIO, 101, "input/output");
  check(FileStep::kRead, EIO, 100, "disk read error: input/output");
  check(FileStep::kOpen, EMFILE, 4, "too many open files");
  check(FileStep::kCreate, EACCES, 5, "access denied");
  check(FileStep::kCreate, EROFS, 5, "read-only");
  check(FileStep::kOpen, ENOENT, 2, "file not found");
  // Whether a missing file is 2 or 3 is decided by its folder.
  EXPECT_EQ(platform::io_error(FileStep::kOpen, ENOENT, "game/Data/x").code(), 2);
  EXPECT_EQ(platform::io_error(FileStep::kOpen, ENOENT, "game/None/x").code(), 3);

  // A read that fails is a read error, not a short file.
  std::string what;
  EXPECT_TRUE(fails_with_io_error(
      100, [] { platform::read_record("/proc/self/mem", 76); }, &what))
      << "read unmapped memory";
  EXPECT_NE(what.find("disk read error"), std::string::npos) << what;
  EXPECT_EQ(what.find("too short"), std::string::npos) << what;

  // A full disk, for real where this run may mount a small one.
  fs::create_directory("full");
  if (::mount("tmpfs", "full", "tmpfs", 0, "size=16k") != 0) GTEST_SKIP() << "cannot mount a small disk here";
  fs::create_directory("full/Data");
  write_file("full/Data/Config.cfg", settings_bytes());
  write_file("full/filler", Bytes(64 * 1024, 1));
  EXPECT_TRUE(fails_with_io_error(
      101, [] { platform::write_record("full/Data/Config.cfg", settings_bytes("Kiss Béla")); }, &what))
      << "wrote on a full disk";
  EXPECT_NE(what.find("no space left on the disk; the old file is kept"), std::string::npos) << what;
  EXPECT_EQ(read_file("full/Data/Config.cfg"), settings_bytes());
  EXPECT_EQ(std::distance(fs::directory_iterator("full/Data"), fs::directory_iterator{}), 1);
  ::umount("full");
}

TEST_F(Files, ADamagedFileIsSetAsideUnderAFreeNameAndSaysWhere) {
  // The names of this second are taken already: the file goes to the next
  // free one, and nothing that stood under a taken name is replaced.
  const fs::path damaged = "game/Data/Config.cfg";
  write_file(damaged, {'d'});
  const std::string stamp = platform::local_timestamp();
  const std::string base = damaged.string() + ".damaged-" + stamp;
  write_file(base, {'1'});
  write_file(base + "-2", {'2'});
  ::testing::internal::CaptureStderr();
  const auto kept = platform::set_aside_damaged(damaged, "what went wrong",
                                                {.what_hu = "a hu", .what_en = "the en", .then = "then / so"});
  const std::string err = ::testing::internal::GetCapturedStderr();
  ASSERT_TRUE(kept);
  if (platform::local_timestamp() == stamp) {  // else the second turned meanwhile, and the name is free
    EXPECT_EQ(kept->string(), base + "-3");
  }
  EXPECT_EQ(read_file(*kept), Bytes{'d'});
  EXPECT_FALSE(fs::exists(damaged));
  EXPECT_EQ(read_file(base), Bytes{'1'});
  EXPECT_EQ(read_file(base + "-2"), Bytes{'2'});
  EXPECT_EQ(err, "zelvanos: what went wrong; a hu félretéve ide / the en is kept as " + platform::full_path(*kept) +
                     "; then / so\n");

  // Nothing there to move: nothing said.
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(platform::set_aside_damaged(damaged, "why", {.what_hu = "a", .what_en = "b", .then = "c"}));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST_F(Files, ASecondCopyOnTheSameFolderIsRefusedUntilTheFirstEnds) {
  // The real game (waiting on its title screen on a window that shows
  // nothing) holds the folder.
  const std::vector<std::string> env = {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"};
  const auto start_game = [&](const char* err) {
    const fs::path here = fs::current_path();
    fs::current_path("game");
    const pid_t pid = spawn({ZELVANOS_GAME}, (here / err).c_str(), env);
    fs::current_path(here);
    return pid;
  };
  // Whether some process holds the lock (without taking it, which could
  // turn a copy away while it starts).
  const auto held = [] {
    struct stat st = {};
    if (::stat("game/Data/Zelvanos.lock", &st) != 0) return false;
    const std::string inode = ":" + std::to_string(st.st_ino) + " ";
    const std::string locks = read_text("/proc/locks");
    return locks.find("FLOCK") != std::string::npos && locks.find(inode) != std::string::npos;
  };
  const pid_t first = start_game("first.txt");
  for (int i = 0; i < 2000 && !held(); ++i) std::this_thread::sleep_for(5ms);
  if (!held()) {
    ::kill(first, SIGKILL);
    ::waitpid(first, nullptr, 0);
    FAIL() << "the game never took the folder: " << read_text("first.txt");
  }

  const pid_t second = start_game("second.txt");
  EXPECT_EQ(wait_for(second, 10s), 32);
  const std::string err = read_text("second.txt");
  EXPECT_EQ(lines(err), 1) << err;
  EXPECT_NE(err.find("A játék már fut ebben a mappában"), std::string::npos) << err;
  EXPECT_NE(err.find("The game is already running in this folder"), std::string::npos) << err;
  EXPECT_EQ(replay("Esc").code, 32) << "the replay tool plays in the folder too";

  // The names program keeps working meanwhile.
  const Outcome names = run({ZELVANOS_NAMES, "--fajl", "game/Data/Config.cfg", "--musorvezeto", "Nagy Ödön"});
  EXPECT_EQ(names.code, 0) << names.err;

  // A copy that dies leaves the folder free.
  ::kill(first, SIGKILL);
  int status = 0;
  ::waitpid(first, &status, 0);
  EXPECT_FALSE(held());
  EXPECT_NO_THROW(platform::GameFolderLock("game/Data/Zelvanos.lock"));
  EXPECT_EQ(replay("Esc").code, 0);
}

TEST_F(Files, EntriesWrittenAtOnceByTwoProcessesAreAllKept) {
  // Two processes enter five results each into the list at the same moment,
  // ten rounds over: every round's ten entries must all be on it.
  game::EREDMENYLISTA reset;
  game::reset_list(reset);
  const auto reset_bytes = game::encode(reset);
  fs::current_path("game");
  int complete = 0;
  for (int round = 0; round < 10; ++round) {
    write_file("Data/HighScores.cfg", {reset_bytes.begin(), reset_bytes.end()});
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    std::vector<pid_t> children;
    for (int child = 0; child < 2; ++child) {
      const pid_t pid = ::fork();
      if (pid == 0) {
        ::close(go[1]);
        char c = 0;
        if (::read(go[0], &c, 1) != 0) _exit(3);
        int code = 0;
        try {
          platform::reset_state();
          platform::HeadlessBackend backend;
          platform::use_backend(&backend);
          settings::CONFIG.NEV.assign("Process " + std::to_string(child));
          for (int i = 0; i < 5; ++i) {
            game::X = 3;
            game::NYEREMENY = std::to_string(child) + "-" + std::to_string(i);
            game::EREDMENY();
          }
        } catch (...) {
          code = 1;
        }
        _exit(code);
      }
      children.push_back(pid);
    }
    ::close(go[0]);
    ::close(go[1]);  // both start now
    for (const pid_t pid : children) EXPECT_EQ(wait_for(pid, 20s), 0);
    const auto bytes = read_file("Data/HighScores.cfg");
    ASSERT_EQ(bytes.size(), 730U);
    const auto list = game::decode(std::span<const std::uint8_t, 730>(bytes.data(), 730));
    int entries = 0;
    for (std::size_t i = 0; i < 10; ++i) entries += list.X[i] == 2 ? 1 : 0;
    if (entries == 10) ++complete;
  }
  fs::current_path("..");
  EXPECT_EQ(complete, 10) << "rounds in which no entry was lost";
}

// A crash can leave a temporary file behind; the next write clears it. Only
// the names a write itself makes are cleared: never a file a person named
// like a temporary (a backup "Config.cfg.tmp1"), nor a link, nor a write
// that may still be going on.
TEST_F(Files, OnlyTheGamesOwnTemporariesAreClearedAsLeftovers) {
  const fs::path data = "game/Data";
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
  const std::vector<std::string> the_players = {
      "Config.cfg.tmp1",        "Config.cfg.tmp4242",           "Config.cfg.tmpbackup01",
      "Config.cfg.tmpAbCdEfGh", "Config.cfg.zelvanos-tmp-mine", "Config.cfg.zelvanos-tmp-ABCDEFGHIJK"};
  for (const auto& name : the_players) {
    write_file(data / name, {1, 2, 3});
    fs::last_write_time(data / name, old);
  }
  write_file(data / "Config.cfg.zelvanos-tmp-Ab3dE5gH9k", {1});  // a crash's leftover
  fs::last_write_time(data / "Config.cfg.zelvanos-tmp-Ab3dE5gH9k", old);
  write_file(data / "Config.cfg.zelvanos-tmp-Zz0yY1xX2w", {1});  // a write going on now
  fs::create_symlink(fs::absolute("victim"), data / "Config.cfg.zelvanos-tmp-LinkLinkLi");

  platform::write_record(data / "Config.cfg", settings_bytes("Kiss Béla"));
  for (const auto& name : the_players) EXPECT_TRUE(fs::exists(data / name)) << name << " was removed";
  EXPECT_FALSE(fs::exists(data / "Config.cfg.zelvanos-tmp-Ab3dE5gH9k")) << "the leftover stays";
  EXPECT_TRUE(fs::exists(data / "Config.cfg.zelvanos-tmp-Zz0yY1xX2w"));
  EXPECT_TRUE(fs::is_symlink(data / "Config.cfg.zelvanos-tmp-LinkLinkLi"));
  EXPECT_EQ(read_file("victim"), kVictim);
}

// A power loss right after a save must not bring back the old file: the
// new file's bytes are synced before the rename, and the folder after it.
TEST_F(Files, ASaveIsSyncedFileFirstThenItsFolder) {
  const fs::path file = fs::absolute("game/Data/HighScores.cfg").lexically_normal();
  game::EREDMENYLISTA l;
  game::reset_list(l);
  spy::start_recording();
  platform::write_record("game/Data/HighScores.cfg", game::encode(l));
  spy::stop_recording();
  const auto calls = spy::calls();
  const auto at = [&](const std::string& prefix) {
    return std::find_if(calls.begin(), calls.end(), [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
  };
  const auto synced = at("fsync " + file.string() + ".zelvanos-tmp-");
  const auto renamed = at("rename " + file.string() + ".zelvanos-tmp-");
  const auto folder = std::find(calls.begin(), calls.end(), "fsync " + file.parent_path().string() + "/");
  ASSERT_NE(synced, calls.end()) << ::testing::PrintToString(calls);
  ASSERT_NE(renamed, calls.end()) << ::testing::PrintToString(calls);
  ASSERT_NE(folder, calls.end()) << "the folder is never synced: " << ::testing::PrintToString(calls);
  EXPECT_LT(synced, renamed);
  EXPECT_LT(renamed, folder);
  EXPECT_NE(renamed->find(" " + file.string()), std::string::npos) << *renamed;
}

// Another user's link in place of the game's Data folder is never followed:
// the game, the replay tool and the names program refuse it with one line,
// and nothing is written or created where it leads.
TEST_F(Files, AnotherUsersLinkInPlaceOfTheDataFolderIsNotFollowed) {
  if (::geteuid() != 0) GTEST_SKIP() << "a link of another user needs root to make";
  fs::create_directory("elsewhere");
  const Bytes theirs(576, 7);
  write_file("elsewhere/Config.cfg", theirs);
  fs::copy_file("game/Data/HighScores.cfg", "elsewhere/HighScores.cfg");
  fs::remove_all("game/Data");
  fs::create_directory_symlink(fs::absolute("elsewhere"), "game/Data");
  ASSERT_EQ(::lchown("game/Data", 65534, 65534), 0);

  const Outcome game = replay("Esc");
  EXPECT_EQ(game.code, 5) << game.err;
  EXPECT_EQ(lines(game.err), 1) << game.err;
  EXPECT_NE(game.err.find("its folder Data is a symbolic link of another user"), std::string::npos) << game.err;
  const Outcome names = run({ZELVANOS_NAMES, "--fajl", "game/Data/Config.cfg", "--nev", "Kiss"});
  EXPECT_EQ(names.code, 5) << names.err;
  EXPECT_NE(names.err.find("a(z) Data mappa egy másik felhasználó"), std::string::npos) << names.err;
  EXPECT_TRUE(fails_with_io_error(5, [] { platform::write_record("game/Data/Config.cfg", settings_bytes()); }));

  EXPECT_EQ(read_file("elsewhere/Config.cfg"), theirs);
  EXPECT_EQ(std::distance(fs::directory_iterator("elsewhere"), fs::directory_iterator{}), 2)
      << "no lock file or temporary made there";
}

// The one-copy guard takes only a regular file of the player's own, made
// readable and writable by the player alone; anything else in its place is
// refused with one clear line instead of silently turning the guard off.
TEST_F(Files, TheOneCopyGuardRefusesWhatIsNotItsOwnLockFile) {
  const fs::path lock = "game/Data/Zelvanos.lock";
  EXPECT_EQ(replay("Esc").code, 0);
  EXPECT_EQ(mode_of(lock), 0600U) << "made private";
  ::chmod(lock.c_str(), 0644);  // as older versions made it
  EXPECT_EQ(replay("Esc").code, 0);
  EXPECT_EQ(mode_of(lock), 0600U) << "an older, readable one made private";
  fs::remove(lock);

  struct Case {
    const char* what;
    std::function<void()> make;
    const char* says;
  };
  const Case cases[] = {
      {"a folder", [&] { fs::create_directory(lock); }, "it is a folder, not the game's own lock file"},
      {"a pipe", [&] { ::mkfifo(lock.c_str(), 0600); }, "it is a named pipe, not a file, not the game's own lock file"},
      {"a dangling link", [&] { fs::create_symlink("nowhere", lock); },
       "it is a symbolic link, not the game's own lock file"},
      {"a looping link", [&] { fs::create_symlink("Zelvanos.lock", lock); },
       "it is a symbolic link, not the game's own lock file"},
  };
  for (const auto& c : cases) {
    c.make();
    const Outcome r = replay("Esc");
    EXPECT_EQ(r.code, 5) << c.what << ": " << r.err;
    EXPECT_EQ(lines(r.err), 1) << c.what << ": " << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << c.what << ": " << r.err;
    EXPECT_NE(r.err.find("Zelvanos.lock"), std::string::npos) << c.what << ": " << r.err;
    EXPECT_FALSE(fs::exists("nowhere")) << c.what;
    fs::remove_all(lock);
  }
}

// A file system without locks: results can be lost to another program
// writing at the same time, and the player is told so, once.
TEST_F(Files, AFileSystemWithoutLocksIsToldOnce) {
  fs::current_path("game");
  spy::fail_flock_with(ENOLCK);
  const auto [code, err] = capture_stderr([] {
    { const platform::GameFolderLock folder(platform::game_path(platform::kLockFile)); }
    for (int i = 0; i < 3; ++i) {
      const platform::RecordLock scores(platform::game_path("Data\\HighScores.cfg"));
      const platform::RecordLock names(platform::game_path("Data\\Config.cfg"), platform::WithoutLock::kFail);
    }
    return 0;
  });
  spy::fail_flock_with(0);
  fs::current_path("..");
  EXPECT_EQ(code, 0);
  EXPECT_EQ(lines(err), 1) << err;
  EXPECT_NE(err.find("this file system has no locks, so the high-score list and the settings are not protected"),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("nem ismeri a zárolást"), std::string::npos) << err;
}

}  // namespace
