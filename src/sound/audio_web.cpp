// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/audio_web.hpp"

#include <cstdio>
#include <vector>

// The page's side, in audio_web.js.
extern "C" {
int zelvanos_audio_open();
void zelvanos_audio_close();
int zelvanos_audio_load(const unsigned char* bytes, int size);
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

  std::uint32_t load(const std::filesystem::path& file) override {
    if (!open_) return 0;
    std::FILE* f = std::fopen(file.string().c_str(), "rb");
    if (f == nullptr) return 0;
    std::vector<unsigned char> bytes;
    unsigned char chunk[16384];
    std::size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    std::fclose(f);
    if (bytes.empty()) return 0;
    return static_cast<std::uint32_t>(zelvanos_audio_load(bytes.data(), static_cast<int>(bytes.size())));
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
