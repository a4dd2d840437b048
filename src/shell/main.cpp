// Zelvanos: a quiz game in the manner of a television quiz show.

#include "platform/window.hpp"
#include "shell/menu.hpp"
#include "sound/audio_sdl.hpp"

int main() {
  const auto audio = sound::make_sdl_mixer_device();
  sound::use_audio_device(audio.get());
  const int code = platform::run_windowed(shell::program);
  sound::use_audio_device(nullptr);
  return code;
}
