// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/audio_sdl.hpp"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>

#include <unordered_map>

namespace sound {
namespace {

// ALSA, which SDL loads when it looks for a sound card, writes lines of its
// own on standard error when there is none; the game says so in its one
// line. Its handler is silenced in the same library SDL then uses (loaded
// once per process, and kept loaded).
void silent_alsa_error(const char* /*file*/, int /*line*/, const char* /*function*/, int /*err*/,
                       const char* /*format*/, ...) {}

void quiet_alsa() {
  static const bool done = [] {
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (alsa == nullptr) return false;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    const auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (set != nullptr) set(&silent_alsa_error);
    return true;
  }();
  (void)done;
}

class SdlMixerDevice final : public AudioDevice {
 public:
  ~SdlMixerDevice() override { close(); }

  bool open(int frequency, std::string* why) override {
    quiet_alsa();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return fail(why);
    Mix_Init(MIX_INIT_MP3);
    if (Mix_OpenAudio(frequency, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
      fail(why);
      Mix_Quit();
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return false;
    }
    Mix_AllocateChannels(16);
    open_ = true;
    return true;
  }

  void close() override {
    if (!open_) return;
    Mix_HaltChannel(-1);
    for (auto& [handle, sound] : sounds_) Mix_FreeChunk(sound.chunk);
    sounds_.clear();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    open_ = false;
  }

  std::uint32_t load(const std::filesystem::path& file) override {
    if (!open_) return 0;
    // A pipe or a device in place of a sound would be waited on for ever.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return 0;
    Mix_Chunk* chunk = Mix_LoadWAV(file.string().c_str());
    if (chunk == nullptr) return 0;
    const std::uint32_t handle = next_++;
    sounds_[handle] = {chunk, -1};
    return handle;
  }

  void play(std::uint32_t handle) override {
    Sound* s = find(handle);
    if (s == nullptr) return;
    // The same channel again when it still holds this sound: it starts over.
    const int channel = playing(*s) ? s->channel : -1;
    if (Mix_AllocateChannels(-1) <= static_cast<int>(sounds_.size())) {
      Mix_AllocateChannels(static_cast<int>(sounds_.size()) + 4);
    }
    s->channel = Mix_PlayChannel(channel, s->chunk, 0);
  }

  void stop(std::uint32_t handle) override {
    Sound* s = find(handle);
    if (s != nullptr && playing(*s)) Mix_HaltChannel(s->channel);
  }

  void free(std::uint32_t handle) override {
    Sound* s = find(handle);
    if (s == nullptr) return;
    if (playing(*s)) Mix_HaltChannel(s->channel);
    Mix_FreeChunk(s->chunk);
    sounds_.erase(handle);
  }

 private:
  struct Sound {
    Mix_Chunk* chunk;
    int channel;
  };

  static bool fail(std::string* why) {
    if (why != nullptr) *why = SDL_GetError();
    return false;
  }

  Sound* find(std::uint32_t handle) {
    const auto it = sounds_.find(handle);
    return it == sounds_.end() ? nullptr : &it->second;
  }

  static bool playing(const Sound& s) {
    return s.channel >= 0 && Mix_Playing(s.channel) != 0 && Mix_GetChunk(s.channel) == s.chunk;
  }

  bool open_ = false;
  std::uint32_t next_ = 1;
  std::unordered_map<std::uint32_t, Sound> sounds_;
};

}  // namespace

std::unique_ptr<AudioDevice> make_sdl_mixer_device() { return std::make_unique<SdlMixerDevice>(); }

}  // namespace sound
