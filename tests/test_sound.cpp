// SPDX-License-Identifier: GPL-3.0-or-later
// The sound unit's slots over an audio device, and the real SDL2_mixer
// device on SDL's dummy audio driver with the sounds we ship.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <variant>

#include "game/game.hpp"
#include "game/lifelines.hpp"
#include "game/questions.hpp"
#include "harness.hpp"
#include "sound/audio.hpp"
#include "sound/audio_sdl.hpp"
#include "sound/sound.hpp"
#include "sound/soundsets.hpp"

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

// Remembers what the sound unit asked of it.
class FakeDevice : public sound::AudioDevice {
 public:
  bool open(int frequency, std::string* why) override {
    calls.push_back("open " + std::to_string(frequency));
    if (!can_open) *why = "no device here";
    return can_open;
  }
  void close() override { calls.push_back("close"); }
  std::uint32_t load(const fs::path& file) override {
    calls.push_back("load " + file.generic_string());
    if (file.filename() == "missing.mp3") return 0;
    live[next] = file.generic_string();
    return next++;
  }
  void play(std::uint32_t h) override { calls.push_back("play " + std::to_string(h)); }
  void stop(std::uint32_t h) override { calls.push_back("stop " + std::to_string(h)); }
  void free(std::uint32_t h) override {
    calls.push_back("free " + std::to_string(h));
    live.erase(h);
  }

  bool can_open = true;
  std::uint32_t next = 1;
  std::vector<std::string> calls;
  std::map<std::uint32_t, std::string> live;
};

class Sound : public HeadlessTest {
 protected:
  void TearDown() override {
    sound::use_audio_device(nullptr);
    HeadlessTest::TearDown();
  }
  FakeDevice device;
};

TEST_F(Sound, SlotsLoadPlayStopAndFree) {
  sound::use_audio_device(&device);
  sound::INIT_STUFF();
  sound::LOAD_SONG("Sounds\\Main.mp3", 1);
  sound::PLAY_SONG(1);
  sound::HANGOK_BETOLTESE();
  EXPECT_EQ(device.live.size(), 9U) << "the menu tune was freed when the 50:50 took its slot";
  sound::HANGOK_BETOLTESE2();
  sound::HANGOK_BETOLTESE();
  EXPECT_EQ(device.live.size(), 9U) << "a hundred games would not grow this";
  sound::PLAY_SONG(10);
  sound::STOP_SONG(10);
  sound::PLAY_SONG(0);
  sound::LOAD_SONG("Sounds\\missing.mp3", 3);
  sound::PLAY_SONG(3);
  EXPECT_EQ(sound::STREAM[3], 0U);
  sound::STOP_SONG(2);
  sound::DONE_STUFF();
  EXPECT_TRUE(device.live.empty());
  EXPECT_EQ(device.calls.front(), "open 44100");
  EXPECT_EQ(device.calls[1], "load " + (fs::path("Sounds") / "Main.mp3").generic_string());
  EXPECT_EQ(device.calls[2], "play 1");
  EXPECT_EQ(device.calls.back(), "close");
  EXPECT_EQ(std::count(device.calls.begin(), device.calls.end(), "play 1"), 1) << "empty slots play nothing";
}

// The two sets fill the game's nine slots with sounds we ship; the second
// has its own wrong answer, new question and right answers. No other set
// number loads anything.
TEST_F(Sound, TheSoundSetsLoadShippedFilesIntoSlotsOneToNine) {
  sound::use_audio_device(&device);
  sound::INIT_STUFF();
  const auto loaded = [&](int set) {
    device.calls.clear();
    sound::load_sound_set(set);
    std::vector<std::string> files;
    for (const std::string& call : device.calls) {
      if (call.rfind("load ", 0) == 0) files.push_back(fs::path(call.substr(5)).filename().string());
    }
    return files;
  };
  const std::vector<std::string> first = loaded(1);
  const std::vector<std::string> second = loaded(2);
  ASSERT_EQ(first.size(), 9U);
  ASSERT_EQ(second.size(), 9U);
  for (int slot = 1; slot <= 9; ++slot) EXPECT_NE(sound::STREAM[static_cast<std::size_t>(slot)], 0U) << slot;
  std::vector<int> differ;
  for (std::size_t i = 0; i < 9; ++i) {
    EXPECT_TRUE(fs::exists(fs::path(ZELVANOS_DATA_DIR) / "Sounds" / first[i])) << first[i];
    EXPECT_TRUE(fs::exists(fs::path(ZELVANOS_DATA_DIR) / "Sounds" / second[i])) << second[i];
    if (first[i] != second[i]) differ.push_back(static_cast<int>(i + 1));
  }
  EXPECT_EQ(differ, (std::vector<int>{2, 4, 8, 9}));
  EXPECT_TRUE(loaded(0).empty());
  EXPECT_TRUE(loaded(3).empty());
  sound::DONE_STUFF();
}

TEST_F(Sound, NoDeviceMeansSilenceSaidOnce) {
  device.can_open = false;
  sound::use_audio_device(&device);
  const std::string err = capture_stderr([] {
                            sound::INIT_STUFF();
                            sound::LOAD_SONG("Sounds\\Main.mp3", 1);
                            sound::PLAY_SONG(1);
                            sound::DONE_STUFF();
                            sound::INIT_STUFF();
                            sound::DONE_STUFF();
                            return 0;
                          }).err;
  EXPECT_EQ(err, "zelvanos: no sound: no device here\n");
  EXPECT_EQ(device.calls, (std::vector<std::string>{"open 44100", "open 44100"}));
  EXPECT_EQ(recorder->count_sounds("play", 1), 1) << "the trace still shows what the game asked for";
}

// The sound and pause operations of a run, in order.
std::vector<platform::Recorder::Event> schedule(const platform::Recorder& recorder) {
  std::vector<platform::Recorder::Event> out;
  for (const auto& e : recorder.events()) {
    if (std::holds_alternative<platform::Recorder::Sound>(e) || std::holds_alternative<platform::Recorder::Delay>(e)) {
      out.push_back(e);
    }
  }
  return out;
}

TEST_F(Sound, TheAudienceSchedule) {
  using R = platform::Recorder;
  settings::CONFIG.HANGOK = 1;
  game::JOVALASZ = "c";
  game::SEGITSEG3();
  EXPECT_EQ(schedule(*recorder),
            (std::vector<R::Event>{R::Sound{0, "play", 5, ""}, R::Delay{0, 2500}, R::Sound{2500, "stop", 5, ""},
                                   R::Sound{2500, "play", 6, ""}, R::Delay{2500, 500}, R::Sound{3000, "play", 6, ""}}));
  start();
  settings::CONFIG.HANGOK = 0;
  game::SEGITSEG3();
  EXPECT_EQ(schedule(*recorder), (std::vector<R::Event>{R::Delay{0, 2500}, R::Delay{2500, 500}}));
}

// The fourteen sounds we ship, through SDL2_mixer on whatever output SDL
// finds (CI sets the dummy driver).
TEST(ShippedSounds, DecodeAndPlayThroughSdlMixer) {
  const fs::path sounds = fs::path(ZELVANOS_DATA_DIR) / "Sounds";
  const auto device = sound::make_sdl_mixer_device();
  std::string why;
  if (!device->open(44100, &why)) GTEST_SKIP() << "no audio output here: " << why;
  std::uintmax_t bytes = 0;
  for (const char* name : {"Main", "5050", "lose1", "lose2", "mark1", "next1", "next2", "public1", "public2", "tel",
                           "win1", "win2", "win4", "win5"}) {
    const fs::path file = sounds / (std::string(name) + ".mp3");
    ASSERT_TRUE(fs::exists(file)) << file;
    bytes += fs::file_size(file);
    const std::uint32_t handle = device->load(file);
    ASSERT_NE(handle, 0U) << file << " does not decode";
    device->play(handle);
    device->play(handle);  // starts over
    device->stop(handle);
    device->free(handle);
  }
  EXPECT_LT(bytes, 1500U * 1000U) << "all fourteen together stay small";
  EXPECT_EQ(device->load(sounds / "no-such-file.mp3"), 0U);
  // A pipe in place of a sound is skipped, not waited on.
  testing_support::ScratchDir dir;
  ASSERT_EQ(::mkfifo("Main.mp3", 0600), 0);
  EXPECT_EQ(device->load("Main.mp3"), 0U);
  device->close();
}

}  // namespace
