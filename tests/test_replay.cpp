// SPDX-License-Identifier: GPL-3.0-or-later
// The replay tool, run as a program: shots, log and exit codes.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/wait.h>

#include "harness.hpp"
#include "shell/settings.hpp"

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

int run_replay(const std::string& args) {
  const std::string command = std::string(ZELVANOS_REPLAY) + " " + args + " 2>replay-stderr.txt";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class Replay : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories("game/Data");
    shell::BEALLITASOK s;
    shell::apply_factory_values(s);
    const auto bytes = shell::encode(s);
    write_file("game/Data/Config.cfg", {bytes.begin(), bytes.end()});
  }
  ScratchDir dir;
};

TEST_F(Replay, WritesShotsAndALogOfTheRun) {
  EXPECT_EQ(run_replay("--dir game --type 'Down Esc' --date 2005-12-25 --out out --delay-shots"), 0);
  for (const char* f : {"shot-001.png", "shot-002.png", "shot-003.png", "delay-001.png", "delay-002.png",
                        "final.png"}) {
    const std::string png = testing_support::read_text(fs::path("out") / f);
    ASSERT_GT(png.size(), 33U) << f;
    EXPECT_EQ(png.substr(1, 3), "PNG") << f;
    EXPECT_EQ(png.substr(16, 8), std::string("\0\0\x03\x20\0\0\x02\x58", 8)) << f << " is 800 x 600";
  }
  EXPECT_FALSE(fs::exists("out/shot-004.png"));
  const std::string log = testing_support::read_text("out/log.txt");
  EXPECT_NE(log.find("0 sound load 1 Sounds\\Main.mp3\n"), std::string::npos);
  EXPECT_NE(log.find("5000 text 200,70 colour 14 size 1 \"Beállítások\"\n"), std::string::npos);
  EXPECT_NE(log.find("text 273,474 colour 15 size 1 \"B\""), std::string::npos) << "Christmas";
  EXPECT_NE(log.find("5000 text 10,10 colour 15 size 3 \"Viszlát!\"\n"), std::string::npos);
  EXPECT_NE(log.find("5500 exit 0\n"), std::string::npos);
  EXPECT_EQ(testing_support::read_text("game/Data/Config.cfg").size(), 76U);
}

TEST_F(Replay, ShotsOnRequestAndErrors) {
  EXPECT_EQ(run_replay("--dir game --type 'Up Up Down' --shots 2,5 --out out"), 0);
  EXPECT_TRUE(fs::exists("out/shot-002.png"));
  EXPECT_TRUE(fs::exists("out/shot-005.png"));
  EXPECT_FALSE(fs::exists("out/shot-001.png"));
  EXPECT_NE(testing_support::read_text("out/log.txt").find(" exit 0\n"), std::string::npos) << "keys ran out: a clean end";

  EXPECT_EQ(run_replay("--dir game --type 'byte:300' --out out"), 64);
  EXPECT_NE(testing_support::read_text("replay-stderr.txt").find("byte:300"), std::string::npos);
  EXPECT_EQ(run_replay("--dir game --date 2005-02-30"), 64);
  EXPECT_EQ(run_replay("--type Esc"), 64) << "no folder";

  fs::remove("game/Data/Config.cfg");
  EXPECT_EQ(run_replay("--dir game --type Esc --out out"), 2);
  EXPECT_NE(testing_support::read_text("replay-stderr.txt").find("Data/Config.cfg"), std::string::npos);
}

}  // namespace
