// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The audio output over SDL2_mixer: every sound is decoded once into
// memory and played on a mixing channel of its own, so several sound at
// once and a second play starts the sound over.

#include <memory>

#include "sound/audio.hpp"

namespace sound {

std::unique_ptr<AudioDevice> make_sdl_mixer_device();

}  // namespace sound
