#include "sound/sound.hpp"

#include <string>

#include "platform/graph.hpp"

namespace sound {

// Until the audio output exists the slots only remember what the game asked
// for, and every operation shows in the trace.
std::array<std::uint32_t, MAXSND + 1> STREAM{};

namespace {

std::uint32_t g_next_handle = 1;

void trace(std::string_view operation, int slot, std::string_view file = {}) {
  if (platform::Tracer* t = platform::tracer()) t->sound(operation, slot, file);
}

}  // namespace

void reset_state() {
  STREAM.fill(0);
  g_next_handle = 1;
}

void INIT_STUFF() {
  for (int IS = 1; IS <= MAXSND; ++IS) STREAM[static_cast<std::size_t>(IS)] = 0;
  trace("init", 0);
}

void DONE_STUFF() {
  for (int IS = 1; IS <= MAXSND; ++IS) STREAM[static_cast<std::size_t>(IS)] = 0;
  trace("done", 0);
}

void LOAD_SONG(const char* P, std::int16_t HNDNO) {
  if (HNDNO < 1 || HNDNO > MAXSND) return;
  STREAM[static_cast<std::size_t>(HNDNO)] = g_next_handle++;
  trace("load", HNDNO, P);
}

void PLAY_SONG(std::int16_t HNDNO) {
  if (HNDNO < 1 || HNDNO > MAXSND) return;
  trace("play", HNDNO);
}

void STOP_SONG(std::int16_t HNDNO) {
  if (HNDNO < 1 || HNDNO > MAXSND) return;
  trace("stop", HNDNO);
}

}  // namespace sound
