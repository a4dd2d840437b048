// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/audio_web.hpp"

// The page's side, in audio_web.js.
extern "C" {
int zelvanos_audio_open();
void zelvanos_audio_close();
int zelvanos_audio_load(const char* path);
void zelvanos_audio_play(int handle);
void zelvanos_audio_stop(int handle);
void zelvanos_audio_free(int handle);
}

namespace sound {
namespace {

class WebAudioDevice final : public AudioDevice {
 public:
  ~WebAudioDevice() override { close(); }

  bool open(int /*frequency*/, std::string* why) override {
    open_ = zelvanos_audio_open() != 0;
    if (!open_ && why != nullptr) *why = "Web Audio is not available in this browser";
    return open_;
  }

  void close() override {
    if (open_) zelvanos_audio_close();
    open_ = false;
  }

  // The page fetches the file from the site (once) and decodes it; a play
  // asked for before it has arrived starts when it has.
  std::uint32_t load(const std::filesystem::path& file) override {
    if (!open_) return 0;
    return static_cast<std::uint32_t>(zelvanos_audio_load(file.lexically_normal().generic_string().c_str()));
  }

  void play(std::uint32_t handle) override { zelvanos_audio_play(static_cast<int>(handle)); }
  void stop(std::uint32_t handle) override { zelvanos_audio_stop(static_cast<int>(handle)); }
  void free(std::uint32_t handle) override { zelvanos_audio_free(static_cast<int>(handle)); }

 private:
  bool open_ = false;
};

}  // namespace

std::unique_ptr<AudioDevice> make_web_audio_device() { return std::make_unique<WebAudioDevice>(); }

}  // namespace sound
