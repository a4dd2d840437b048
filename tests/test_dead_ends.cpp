// SPDX-License-Identifier: GPL-3.0-or-later
// Where a player could get stuck: no display, the game's command line, the
// message box a failure shows, and exceptions no one expected.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "harness.hpp"
#include "platform/backend.hpp"
#include "platform/files.hpp"
#include "platform/window.hpp"
#include "shell/menu.hpp"
#include "shell/messages.hpp"

namespace fs = std::filesystem;
using namespace testing_support;
using namespace std::chrono_literals;

namespace {

// Runs a shell command in the working folder; its exit code, with standard
// output and error left in out.txt and err.txt.
int run_logged(const std::string& command) { return shell_run(command + " >out.txt 2>err.txt"); }

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void write_factory_settings() {
  fs::create_directories("Data");
  write_settings_file("Data/Config.cfg");
}

// The whole program on this backend, with the failures it reports handed to
// `on_failure`; its exit code and what it wrote to standard error.
Captured run_program(platform::HeadlessBackend& backend, std::function<void(const platform::Fatal&)> on_failure) {
  platform::use_backend(&backend);
  shell::set_failure_listener(std::move(on_failure));
  Captured out = capture_stderr(shell::program);
  shell::set_failure_listener(nullptr);
  platform::use_backend(nullptr);
  return out;
}

TEST(GameCommandLine, HelpVersionAndUnknownOptions) {
  ScratchDir dir;
  const std::string game = ZELVANOS_GAME;
  EXPECT_EQ(run_logged(game + " --help"), 0);
  const std::string help = read_text("out.txt");
  EXPECT_NE(help.find("Használat: zelvanos"), std::string::npos);
  EXPECT_NE(help.find("Usage: zelvanos"), std::string::npos);
  EXPECT_NE(help.find("F11"), std::string::npos);
  EXPECT_EQ(run_logged(game + " -h"), 0);
  EXPECT_EQ(read_text("out.txt"), help);

  EXPECT_EQ(run_logged(game + " --version"), 0);
  EXPECT_EQ(read_text("out.txt").rfind("zelvanos ", 0), 0U);
  EXPECT_EQ(lines_of(read_text("out.txt")).size(), 1U);

  EXPECT_EQ(run_logged(game + " --nonsense"), 64) << "not started";
  EXPECT_NE(read_text("err.txt").find("ismeretlen kapcsoló / unknown option: --nonsense"), std::string::npos);
  EXPECT_EQ(run_logged(game + " \"$(printf '\\033[2J')\""), 64);
  EXPECT_EQ(read_text("err.txt").find('\033'), std::string::npos) << "the argument is echoed without its escape";
  EXPECT_NE(read_text("err.txt").find("\\x1b[2J"), std::string::npos);
  EXPECT_FALSE(fs::exists("zelvanos.log"));
}

TEST(NoDisplay, OnlyADriverAskedForMayDrawNowhere) {
  EXPECT_TRUE(platform::refuse_video_driver("offscreen", nullptr));
  EXPECT_TRUE(platform::refuse_video_driver("dummy", nullptr));
  EXPECT_TRUE(platform::refuse_video_driver("offscreen", ""));
  EXPECT_TRUE(platform::refuse_video_driver("offscreen", "x11,wayland"));
  EXPECT_FALSE(platform::refuse_video_driver("offscreen", "offscreen"));
  EXPECT_FALSE(platform::refuse_video_driver("dummy", "x11,DUMMY"));
  EXPECT_FALSE(platform::refuse_video_driver("x11", nullptr));
  EXPECT_FALSE(platform::refuse_video_driver("wayland", "offscreen"));
  EXPECT_FALSE(platform::refuse_video_driver("KMSDRM", nullptr));
}

// The game started with no display at all, as over ssh or on a text console
// (where XDG_RUNTIME_DIR may be unset too): its one line, and nothing else.
TEST(NoDisplay, TheGameStopsWithOneLineAndExitCode1) {
  ScratchDir dir;
  write_factory_settings();
  for (const std::string runtime_dir : {"-u XDG_RUNTIME_DIR", "XDG_RUNTIME_DIR=/tmp"}) {
    const int code = run_logged("env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER " + runtime_dir +
                                " SDL_AUDIODRIVER=dummy timeout 20 " + std::string(ZELVANOS_GAME));
    if (code == 124) GTEST_SKIP() << "this machine has a display the game can use without DISPLAY (a console?)";
    EXPECT_EQ(code, 1);
    const std::string err = read_text("err.txt");
    ASSERT_EQ(lines_of(err).size(), 1U) << runtime_dir << ":\n" << err;
    EXPECT_EQ(err.rfind("zelvanos: ", 0), 0U) << err;
    EXPECT_NE(err.find("no display"), std::string::npos) << err;
    EXPECT_NE(err.find("nincs kijelző"), std::string::npos) << err;
  }
}

// Without a sound card (SDL's real audio drivers, none chosen) the game says
// so in its one line and goes on; nothing the sound libraries print about
// looking for one reaches standard error.
TEST(NoSoundCard, OneLineAndTheGameGoesOn) {
  ScratchDir dir;
  write_factory_settings();
  // The window drawing nowhere, as asked for; the game waits in its title
  // screen until it is killed, once its line is there (or 20 s passed).
  const int code = shell_run(
      "env -u SDL_AUDIODRIVER -u XDG_RUNTIME_DIR SDL_VIDEODRIVER=offscreen " + std::string(ZELVANOS_GAME) +
      " >out.txt 2>err.txt & game=$!; for i in $(seq 200); do grep -q 'no sound' err.txt && break; sleep 0.1; done; "
      "kill -0 $game; running=$?; kill -9 $game; exit $running");
  const std::string err = read_text("err.txt");
  if (err.empty()) GTEST_SKIP() << "this machine's sound opened";
  EXPECT_EQ(code, 0) << "the game went on without sound";
  ASSERT_EQ(lines_of(err).size(), 1U) << err;
  EXPECT_EQ(err.rfind("zelvanos: no sound: ", 0), 0U) << err;
}

// The box's text with its lines joined again, for looking up phrases.
std::string flat(std::string text) {
  std::replace(text.begin(), text.end(), '\n', ' ');
  return text;
}

TEST(ErrorBox, SaysWhichFileWhatIsWrongAndWhatToDo) {
  ScratchDir dir;
  const std::string here = fs::current_path().lexically_normal().string();
  const auto box = shell::error_box(platform::IoError(100, platform::game_path("Data\\Config.cfg"), "too short"));
  EXPECT_EQ(box.title, "Zelvanos – hiba");
  const std::string t = flat(box.text);
  EXPECT_NE(t.find("Fájl: " + here + "/Data/Config.cfg (a játék beállításai)"), std::string::npos) << t;
  EXPECT_NE(t.find("(I/O hiba 100)"), std::string::npos) << t;
  EXPECT_NE(t.find("sérült"), std::string::npos) << t;
  EXPECT_NE(t.find("Törölje ezt a fájlt"), std::string::npos) << t;
  EXPECT_NE(t.find("gyári beállításokat"), std::string::npos) << t;
  for (const auto& line : lines_of(box.text)) {
    std::size_t chars = 0;
    for (const char c : line) chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    if (line.rfind("Fájl: ", 0) != 0) {
      EXPECT_LE(chars, 70U) << line;
    }
  }

  const auto missing = shell::error_box(platform::IoError(2, "/srv/game/Data/Config.cfg", "file not found"));
  EXPECT_NE(flat(missing.text).find("Fájl: /srv/game/Data/Config.cfg"), std::string::npos);
  EXPECT_NE(flat(missing.text).find("a fájl nem található"), std::string::npos);
  EXPECT_NE(flat(missing.text).find("indító létrehozza"), std::string::npos) << missing.text;

  const auto bank = shell::error_box(platform::IoError(2, "Questions/Default/03.lmk", "file not found"));
  EXPECT_NE(flat(bank.text).find("kérdéssor"), std::string::npos);
  EXPECT_NE(flat(bank.text).find("Telepítse újra"), std::string::npos) << bank.text;

  const auto full_disk = shell::error_box(platform::IoError(101, "Data/HighScores.cfg", "disk write error"));
  EXPECT_NE(flat(full_disk.text).find("az eredménylista"), std::string::npos);
  EXPECT_NE(flat(full_disk.text).find("helyet a lemezen"), std::string::npos) << full_disk.text;

  const auto other = shell::error_box(platform::Fatal(1, "the game's window cannot open: no GL"));
  EXPECT_NE(flat(other.text).find("Hiba: the game's window cannot open: no GL"), std::string::npos);
  EXPECT_EQ(flat(other.text).find("Fájl:"), std::string::npos);
}

// What the real window's box would show comes from the failure the program
// reports, here a damaged settings file at start-up.
TEST(ErrorBox, TheProgramHandsItsFailureToTheBox) {
  ScratchDir dir;
  fs::create_directories("Data");
  write_file("Data/Config.cfg", std::vector<std::uint8_t>(75, 1));
  platform::reset_state();
  shell::reset_layers();
  platform::HeadlessBackend backend;
  std::string shown;
  const auto [code, err] = run_program(backend, [&](const platform::Fatal& e) { shown = shell::error_box(e).text; });
  EXPECT_EQ(code, 100);
  EXPECT_EQ(lines_of(err).size(), 1U) << err;
  EXPECT_NE(shown.find(fs::current_path().string() + "/Data/Config.cfg"), std::string::npos) << shown;
  EXPECT_FALSE(backend.window_open());
}

TEST(TerminalSafe, ControlCharactersAndBrokenBytesBecomeVisible) {
  EXPECT_EQ(shell::terminal_safe("Kovács Éva"), "Kovács Éva");
  EXPECT_EQ(shell::terminal_safe("a\033[31mb\tc\x7f"), "a\\x1b[31mb\\x09c\\x7f");
  EXPECT_EQ(shell::terminal_safe("\xC2\2332J"), "\\u009b2J") << "the one-character CSI";
  EXPECT_EQ(shell::terminal_safe("\xFF\xC3"), "\\xff\\xc3");
}

// A tracer that fails at its first text: an exception the game never expects.
struct Sabotage : platform::Tracer {
  void text(int, int, int, int, std::string_view) override { throw std::runtime_error("sabotaged"); }
};

class LastResort : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    platform::reset_state();
    shell::reset_layers();
  }
  void TearDown() override {
    platform::set_tracer(nullptr);
    platform::reset_state();
  }
};

TEST_F(LastResort, AnUnexpectedExceptionInTheProgramIsOneLineAndExitCode1) {
  ScratchDir dir;
  write_factory_settings();
  platform::HeadlessBackend backend;
  Sabotage sabotage;
  platform::set_tracer(&sabotage);
  int reported = 0;
  const auto [code, err] = run_program(backend, [&](const platform::Fatal& e) { reported = e.code(); });
  EXPECT_EQ(code, 1);
  EXPECT_EQ(reported, 1);
  EXPECT_EQ(err, "zelvanos: váratlan hiba / unexpected error: sabotaged\n");
  EXPECT_FALSE(backend.window_open()) << "closed on the way out";
}

TEST_F(LastResort, AnExceptionOnEitherThreadEndsTheRunWithExitCode1) {
  const Captured game = capture_stderr(
      [] { return platform::run_windowed([]() -> int { throw std::logic_error("game broke"); }); });
  EXPECT_EQ(game.code, 1);
  EXPECT_EQ(game.err, "zelvanos: váratlan hiba / unexpected error (game thread): game broke\n");
  EXPECT_EQ(platform::unexpected_failure(), "váratlan hiba / unexpected error (game thread): game broke");

  // The window thread fails while the game waits for a key: the game's
  // session ends and the run returns 1.
  bool session_ended = false;
  const auto start = std::chrono::steady_clock::now();
  const auto run_window = [&session_ended] {
    std::int16_t driver = 15;
    std::int16_t mode = 30010;
    platform::InitGraph(driver, mode, "");
    platform::post_to_window_thread([] { throw std::runtime_error("window broke"); });
    try {
      platform::ReadKey();
    } catch (const platform::SessionEnded&) {
      session_ended = true;
    }
    platform::CloseGraph();
    return 0;
  };
  const Captured window = capture_stderr([&] { return platform::run_windowed(run_window); });
  EXPECT_EQ(window.code, 1);
  EXPECT_TRUE(session_ended);
  EXPECT_EQ(window.err, "zelvanos: váratlan hiba / unexpected error (window thread): window broke\n");
  EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
}

}  // namespace
