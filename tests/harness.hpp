// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs the whole program headless in a scratch working folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>

#include "platform/headless.hpp"
#include "platform/recorder.hpp"
#include "platform/settings.hpp"
#include "shell/settings.hpp"

namespace platform {

// The recorder's events as test failures show them.
void PrintTo(const Recorder::TextDraw& e, std::ostream* out);
void PrintTo(const Recorder::Delay& e, std::ostream* out);
void PrintTo(const Recorder::KeyWait& e, std::ostream* out);
void PrintTo(const Recorder::KeyRead& e, std::ostream* out);
void PrintTo(const Recorder::Sound& e, std::ostream* out);

}  // namespace platform

namespace testing_support {

platform::Date date(int year, int month, int day);

// A scratch folder that is the working folder while it lives.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

std::vector<std::uint8_t> read_file(const std::filesystem::path& path);
std::string read_text(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// The factory settings, and a settings file holding a record.
settings::BEALLITASOK factory_settings();
void write_settings_file(const std::filesystem::path& path, const settings::BEALLITASOK& record = factory_settings());

// Succeeds when `call` throws an I/O error with this number, and then gives
// its message in `what`; fails, saying what happened instead, otherwise.
::testing::AssertionResult fails_with_io_error(int code, const std::function<void()>& call,
                                               std::string* what = nullptr);

// What `call` returned and wrote to standard error meanwhile.
struct Captured {
  int code;
  std::string err;
};
Captured capture_stderr(const std::function<int()>& call);

// Runs a command through the shell; its exit code, or -1 when it did not exit.
int shell_run(const std::string& command);

// A local user other than the one running the tests, for what only another
// user can do: made with useradd (no home, no login) when the tests run as
// root; nothing, with the reason in `why`, elsewhere.
struct TestUser {
  uid_t uid = 0;
  gid_t gid = 0;
  std::string name;
};
std::optional<TestUser> test_user(const std::string& name, std::string* why);

// Runs a command through the shell as that user, in the working folder;
// its exit code, or -1 when it did not exit.
int run_as(const TestUser& user, const std::string& command);

// A fresh program state on the headless backend, with a recorder, in a
// scratch working folder holding Data/ and the factory settings (also in CONFIG).
// Bank files for every set in the working folder, in which the right answer
// is always `right`.
void write_banks(char right = 'a');
// A game's folder as staging leaves it: FOLDER/Data with the factory
// settings and the reset high-score list, and banks whose right answer is 'a'.
void write_game_folder(const std::filesystem::path& folder);

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // A new backend and recorder with these keys, installed.
  void start(std::string_view keys = "", platform::Date on = date(2005, 1, 5));
  void write_settings(const settings::BEALLITASOK& record);
  settings::BEALLITASOK factory() const;

  // Texts drawn, as UTF-8, with where and how.
  bool drew(std::string_view utf8, int x, int y, int colour = -1, int magnification = -1) const;
  // How many times this exact text was drawn: anywhere, or here and so.
  int times_drawn(std::string_view utf8) const;
  int times_drawn(std::string_view utf8, int x, int y, int colour = -1, int magnification = -1) const;
  // How many lines of the log hold this fragment.
  int count_lines(std::string_view fragment) const;
  // How many texts drawn hold, begin or end with this fragment.
  int count_texts(std::string_view fragment) const;
  int texts_starting(std::string_view prefix) const;
  int texts_ending(std::string_view suffix) const;
  std::string log() const { return recorder->joined(); }

  std::unique_ptr<ScratchDir> dir;
  std::unique_ptr<platform::HeadlessBackend> backend;
  std::unique_ptr<platform::Recorder> recorder;
};

// Runs the whole program.
class GameTest : public HeadlessTest {
 protected:
  // Runs the program until it quits or the keys run out; returns its exit code.
  int run(std::string_view keys, platform::Date on = date(2005, 1, 5));

  std::string captured_stderr;
};

}  // namespace testing_support
