// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/sound.hpp"

#include <cstdio>
#include <string>

#include "platform/files.hpp"
#include "platform/graph.hpp"
#include "platform/settings.hpp"
#include "sound/audio.hpp"

namespace sound {

std::array<std::uint32_t, MAXSND + 1> STREAM{};

namespace {

AudioDevice* g_device = nullptr;
bool g_open = false;
bool g_warned = false;

void trace(std::string_view operation, int slot, std::string_view file = {}) {
  platform::trace_sound(operation, slot, file);
}

bool valid(std::int16_t slot) { return slot >= 1 && slot <= MAXSND; }

}  // namespace

bool enabled() { return settings::CONFIG.HANGOK == 1; }

void use_audio_device(AudioDevice* device) { g_device = device; }

void reset_state() {
  STREAM.fill(0);
  g_open = false;
}

void INIT_STUFF() {
  for (int IS = 1; IS <= MAXSND; ++IS) STREAM[static_cast<std::size_t>(IS)] = 0;
  trace("init", 0);
  if (g_device == nullptr) return;
  std::string why;
  g_open = g_device->open(44100, &why);
  if (!g_open && !g_warned) {
    // Said once; the game then runs on without sound.
    std::fprintf(stderr, "zelvanos: no sound: %s\n", why.c_str());
    g_warned = true;
  }
}

void DONE_STUFF() {
  for (int IS = 1; IS <= MAXSND; ++IS) {
    std::uint32_t& handle = STREAM[static_cast<std::size_t>(IS)];
    if (handle != 0 && g_open) g_device->free(handle);
    handle = 0;
  }
  trace("done", 0);
  if (g_open) g_device->close();
  g_open = false;
}

void LOAD_SONG(const char* P, std::int16_t HNDNO) {
  if (!valid(HNDNO)) return;
  trace("load", HNDNO, P);
  std::uint32_t& handle = STREAM[static_cast<std::size_t>(HNDNO)];
  // The sound replaced is freed at once, so memory does not grow game by game.
  const std::uint32_t old = handle;
  handle = g_open ? g_device->load(platform::game_path(P)) : 0;
  if (old != 0) g_device->free(old);
}

void PLAY_SONG(std::int16_t HNDNO) {
  if (!valid(HNDNO)) return;
  trace("play", HNDNO);
  const std::uint32_t handle = STREAM[static_cast<std::size_t>(HNDNO)];
  if (handle != 0) g_device->play(handle);
}

void STOP_SONG(std::int16_t HNDNO) {
  if (!valid(HNDNO)) return;
  trace("stop", HNDNO);
  const std::uint32_t handle = STREAM[static_cast<std::size_t>(HNDNO)];
  if (handle != 0) g_device->stop(handle);
}

}  // namespace sound
