// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The audio output of the web page, over Web Audio: the page fetches each
// MP3 from the site when the game first loads it (the game never waits for
// a sound: a play asked for before its file has arrived starts when it
// has), the browser decodes it once; every play starts a new source from
// the start and stops the one before. Browsers start audio only after the player's first key or
// tap: until then nothing sounds, and at that gesture the sound played last,
// when it was not stopped since, starts from its beginning (the menu tune,
// when the game is still at the menu).

#include <memory>

#include "sound/audio.hpp"

namespace sound {

std::unique_ptr<AudioDevice> make_web_audio_device();

}  // namespace sound
