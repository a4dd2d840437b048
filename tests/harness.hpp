// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs the whole program headless in a scratch working folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/headless.hpp"
#include "platform/recorder.hpp"
#include "shell/settings.hpp"

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

// A fresh program state on the headless backend, with a recorder, in a
// scratch working folder holding Data/ and the factory settings (also in CONFIG).
// Bank files for every set in the working folder, in which the right answer
// is always `right`.
void write_banks(char right = 'a');

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // A new backend and recorder with these keys, installed.
  void start(std::string_view keys = "", platform::Date on = date(2005, 1, 5));
  void write_settings(const shell::BEALLITASOK& settings);
  shell::BEALLITASOK factory() const;

  // Texts drawn, as UTF-8, with where and how.
  bool drew(std::string_view utf8, int x, int y, int colour = -1, int magnification = -1) const;
  int count_lines(std::string_view fragment) const;
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
