// SPDX-License-Identifier: GPL-3.0-or-later
// The replay tool, run as a program: shots, log and exit codes.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "harness.hpp"
#include "platform/recorder.hpp"
#include "shell/settings.hpp"

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

int run_replay(const std::string& args) {
  return shell_run(std::string(ZELVANOS_REPLAY) + " " + args + " 2>replay-stderr.txt");
}

class Replay : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories("game/Data");
    write_settings_file("game/Data/Config.cfg");
  }
  ScratchDir dir;
};

// Each event is kept twice, as a record and as a log line, both stamped with
// the virtual time at which it happened.
TEST(Recorder, KeepsEachEventAsARecordAndALogLine) {
  using R = platform::Recorder;
  platform::HeadlessBackend clock;
  R recorder(clock);
  std::vector<int> waits;
  std::vector<int> delays;
  recorder.on_key_wait = [&](int n) { waits.push_back(n); };
  recorder.on_delay = [&](int n) { delays.push_back(n); };

  recorder.sound("init", 0, "");
  recorder.sound("load", 2, "Sounds\\lose2.mp3");
  recorder.text(100, 53, 14, 2, "Kov\240cs \212rs");
  recorder.delay(250);
  platform::KeyQueue no_keys;
  clock.delay(250, no_keys);
  recorder.key_wait();
  recorder.key_read(0);
  recorder.key_read(72);
  recorder.text(100, 53, 15, 1, "Kovács");  // bytes above 127 as code page 852
  recorder.delay(0);
  recorder.key_wait();

  EXPECT_EQ(recorder.events(),
            (std::vector<R::Event>{R::Sound{0, "init", 0, ""}, R::Sound{0, "load", 2, "Sounds\\lose2.mp3"},
                                   R::TextDraw{0, 100, 53, 14, 2, "Kovács Őrs", "Kov\240cs \212rs"}, R::Delay{0, 250},
                                   R::KeyWait{250, 1}, R::KeyRead{250, 0}, R::KeyRead{250, 72},
                                   R::TextDraw{250, 100, 53, 15, 1, "Kov├ícs", "Kovács"}, R::Delay{250, 0},
                                   R::KeyWait{250, 2}}));
  EXPECT_EQ(recorder.joined(),
            "0 sound init\n"
            "0 sound load 2 Sounds\\lose2.mp3\n"
            "0 text 100,53 colour 14 size 2 \"Kovács Őrs\"\n"
            "0 delay 250\n"
            "250 key-wait 1\n"
            "250 key 0\n"
            "250 key 72\n"
            "250 text 100,53 colour 15 size 1 \"Kov├ícs\"\n"
            "250 delay 0\n"
            "250 key-wait 2\n");
  EXPECT_EQ(waits, (std::vector<int>{1, 2}));
  EXPECT_EQ(delays, (std::vector<int>{1, 2}));

  // The queries over them.
  EXPECT_EQ(recorder.texts().size(), 2U);
  ASSERT_TRUE(recorder.find_text("Kovács Őrs"));
  EXPECT_EQ(recorder.find_text("Kovács Őrs")->colour, 14);
  EXPECT_FALSE(recorder.find_text("Kovács"));
  EXPECT_EQ(recorder.texts_at(100, 53).size(), 2U);
  EXPECT_TRUE(recorder.texts_at(53, 100).empty());
  EXPECT_EQ(recorder.count_texts("Kov"), 2);
  EXPECT_EQ(recorder.count_sounds("load"), 1);
  EXPECT_EQ(recorder.count_sounds("load", 2, "Sounds\\lose2.mp3"), 1);
  EXPECT_EQ(recorder.count_sounds("load", 1), 0);
  EXPECT_EQ(recorder.count_sounds("load", 2, "Sounds\\lose1.mp3"), 0);
  EXPECT_EQ(recorder.count_delays(250), 1);
  EXPECT_EQ(recorder.delays(), (std::vector<R::Delay>{{0, 250}, {250, 0}}));
  EXPECT_EQ(recorder.keys(), (std::vector<R::KeyRead>{{250, 0}, {250, 72}}));
  EXPECT_EQ(recorder.waits().size(), 2U);
  EXPECT_EQ(recorder.key_waits(), 2);
}

TEST_F(Replay, WritesShotsAndALogOfTheRun) {
  EXPECT_EQ(run_replay("--dir game --type 'Down Esc' --date 2005-12-25 --out out --delay-shots"), 0);
  for (const char* f :
       {"shot-001.png", "shot-002.png", "shot-003.png", "delay-001.png", "delay-002.png", "final.png"}) {
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
  EXPECT_NE(testing_support::read_text("out/log.txt").find(" exit 0\n"), std::string::npos)
      << "keys ran out: a clean end";

  EXPECT_EQ(run_replay("--dir game --type 'byte:300' --out out"), 64);
  EXPECT_NE(testing_support::read_text("replay-stderr.txt").find("byte:300"), std::string::npos);
  EXPECT_EQ(run_replay("--dir game --date 2005-02-30"), 64);
  EXPECT_EQ(run_replay("--type Esc"), 64) << "no folder";

  fs::remove("game/Data/Config.cfg");
  EXPECT_EQ(run_replay("--dir game --type Esc --out out"), 2);
  EXPECT_NE(testing_support::read_text("replay-stderr.txt").find("Data/Config.cfg"), std::string::npos);
}

}  // namespace
