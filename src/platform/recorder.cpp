// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/recorder.hpp"

#include "platform/cp852.hpp"

namespace platform {

void Recorder::add(const std::string& line) { lines_.push_back(std::to_string(clock_.now()) + " " + line); }

void Recorder::text(int x, int y, int colour, int magnification, std::string_view bytes) {
  std::string utf8 = cp852::to_utf8(bytes);
  add("text " + std::to_string(x) + "," + std::to_string(y) + " colour " + std::to_string(colour) + " size " +
      std::to_string(magnification) + " \"" + utf8 + "\"");
  events_.emplace_back(TextDraw{clock_.now(), x, y, colour, magnification, std::move(utf8), std::string(bytes)});
}

void Recorder::delay(unsigned ms) {
  ++delays_;
  add("delay " + std::to_string(ms));
  events_.emplace_back(Delay{clock_.now(), ms});
  if (on_delay) on_delay(delays_);
}

void Recorder::key_wait() {
  ++key_waits_;
  add("key-wait " + std::to_string(key_waits_));
  events_.emplace_back(KeyWait{clock_.now(), key_waits_});
  if (on_key_wait) on_key_wait(key_waits_);
}

void Recorder::key_read(std::uint8_t byte) {
  add("key " + std::to_string(byte));
  events_.emplace_back(KeyRead{clock_.now(), byte});
}

void Recorder::sound(std::string_view operation, int slot, std::string_view file) {
  std::string line = "sound " + std::string(operation);
  if (slot != 0) line.append(" ").append(std::to_string(slot));
  if (!file.empty()) line.append(" ").append(file);
  add(line);
  events_.emplace_back(Sound{clock_.now(), std::string(operation), slot, std::string(file)});
}

std::optional<Recorder::TextDraw> Recorder::find_text(std::string_view utf8) const {
  for (const Event& e : events_) {
    const TextDraw* t = std::get_if<TextDraw>(&e);
    if (t != nullptr && t->utf8 == utf8) return *t;
  }
  return std::nullopt;
}

std::vector<Recorder::TextDraw> Recorder::texts_at(int x, int y) const {
  std::vector<TextDraw> out = texts();
  std::erase_if(out, [&](const TextDraw& t) { return t.x != x || t.y != y; });
  return out;
}

int Recorder::count_texts(std::string_view fragment) const {
  int n = 0;
  for (const Event& e : events_) {
    const TextDraw* t = std::get_if<TextDraw>(&e);
    n += t != nullptr && t->utf8.find(fragment) != std::string::npos ? 1 : 0;
  }
  return n;
}

int Recorder::count_sounds(std::string_view operation, int slot, std::string_view file) const {
  int n = 0;
  for (const Event& e : events_) {
    const Sound* s = std::get_if<Sound>(&e);
    n += s != nullptr && s->operation == operation && (slot == 0 || s->slot == slot) &&
                 (file.empty() || s->file == file)
             ? 1
             : 0;
  }
  return n;
}

int Recorder::count_delays(unsigned length) const {
  int n = 0;
  for (const Event& e : events_) {
    const Delay* d = std::get_if<Delay>(&e);
    n += d != nullptr && d->length == length ? 1 : 0;
  }
  return n;
}

std::string Recorder::joined() const {
  std::string out;
  for (const std::string& l : lines_) out += l + "\n";
  return out;
}

}  // namespace platform
