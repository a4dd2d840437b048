// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/recorder.hpp"

#include "platform/cp852.hpp"

namespace platform {

void Recorder::add(const std::string& line) { lines_.push_back(std::to_string(clock_.now()) + " " + line); }

void Recorder::text(int x, int y, int colour, int magnification, std::string_view bytes) {
  std::string utf8 = cp852::to_utf8(bytes);
  add("text " + std::to_string(x) + "," + std::to_string(y) + " colour " + std::to_string(colour) + " size " +
      std::to_string(magnification) + " \"" + utf8 + "\"");
  texts_.push_back({clock_.now(), x, y, colour, magnification, std::move(utf8)});
}

void Recorder::delay(unsigned ms) {
  ++delays_;
  add("delay " + std::to_string(ms));
  if (on_delay) on_delay(delays_);
}

void Recorder::key_wait() {
  ++key_waits_;
  add("key-wait " + std::to_string(key_waits_));
  if (on_key_wait) on_key_wait(key_waits_);
}

void Recorder::key_read(std::uint8_t byte) { add("key " + std::to_string(byte)); }

void Recorder::sound(std::string_view operation, int slot, std::string_view file) {
  std::string line = "sound " + std::string(operation);
  if (slot != 0) line.append(" ").append(std::to_string(slot));
  if (!file.empty()) line.append(" ").append(file);
  add(line);
}

std::string Recorder::joined() const {
  std::string out;
  for (const std::string& l : lines_) out += l + "\n";
  return out;
}

}  // namespace platform
