// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The audio output the sound unit plays through: open it, make a sound
// from an MP3 file, play it from the start without waiting, stop it, free
// it, close. Without a device (tests, replays) the sound unit stays silent
// and only traces what it would do.

#include <cstdint>
#include <filesystem>
#include <string>

namespace sound {

class AudioDevice {
 public:
  virtual ~AudioDevice() = default;
  // Returns false (with a reason) when there is no output to play on.
  virtual bool open(int frequency, std::string* why) = 0;
  virtual void close() = 0;
  // A handle for the file's sound, or 0 when it cannot be read.
  virtual std::uint32_t load(const std::filesystem::path& file) = 0;
  // Plays from the start; a sound still playing starts over.
  virtual void play(std::uint32_t handle) = 0;
  virtual void stop(std::uint32_t handle) = 0;
  virtual void free(std::uint32_t handle) = 0;
};

// The device the sound unit uses; the caller keeps it alive while in use.
void use_audio_device(AudioDevice* device);

}  // namespace sound
