// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A tracer that keeps what a headless run did: every text drawn (decoded to
// UTF-8), every delay, key read and sound operation, stamped with the
// virtual clock. The replay tool writes it out as its log; tests query the
// same events as records.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/headless.hpp"

namespace platform {

class Recorder : public Tracer {
 public:
  struct TextDraw {
    std::uint32_t ms;
    int x, y, colour, magnification;
    std::string utf8;
    std::string bytes;  // as drawn, in code page 852
    bool operator==(const TextDraw&) const = default;
  };
  struct Delay {
    std::uint32_t ms;
    unsigned length;  // in ms
    bool operator==(const Delay&) const = default;
  };
  struct KeyWait {
    std::uint32_t ms;
    int number;  // from 1
    bool operator==(const KeyWait&) const = default;
  };
  struct KeyRead {
    std::uint32_t ms;
    std::uint8_t byte;
    bool operator==(const KeyRead&) const = default;
  };
  struct Sound {
    std::uint32_t ms;
    std::string operation;  // init, load, play, stop, done
    int slot;               // 0 where the operation has none
    std::string file;       // as the game named it; empty where none
    bool operator==(const Sound&) const = default;
  };
  using Event = std::variant<TextDraw, Delay, KeyWait, KeyRead, Sound>;

  explicit Recorder(const HeadlessBackend& clock) : clock_(clock) {}

  void text(int x, int y, int colour, int magnification, std::string_view bytes) override;
  void delay(unsigned ms) override;
  void key_wait() override;
  void key_read(std::uint8_t byte) override;
  void sound(std::string_view operation, int slot, std::string_view file) override;

  // Called at every key read, before the game waits; numbered from 1.
  std::function<void(int)> on_key_wait;
  // Called at every delay, before it starts; numbered from 1.
  std::function<void(int)> on_delay;

  // Everything in the order it happened.
  const std::vector<Event>& events() const { return events_; }
  std::vector<TextDraw> texts() const { return all<TextDraw>(); }
  std::vector<Delay> delays() const { return all<Delay>(); }
  std::vector<KeyWait> waits() const { return all<KeyWait>(); }
  std::vector<KeyRead> keys() const { return all<KeyRead>(); }
  std::vector<Sound> sounds() const { return all<Sound>(); }
  int key_waits() const { return key_waits_; }

  // The first text drawn exactly so, if any.
  std::optional<TextDraw> find_text(std::string_view utf8) const;
  // The texts drawn at this place, in order.
  std::vector<TextDraw> texts_at(int x, int y) const;
  // How many texts hold this fragment.
  int count_texts(std::string_view fragment) const;
  // How many sound operations of this kind on this slot (0: any slot) with
  // this file (empty: any file).
  int count_sounds(std::string_view operation, int slot = 0, std::string_view file = {}) const;
  // How many delays of this length.
  int count_delays(unsigned length) const;

  // The log, one line per event: "<ms> <what>".
  const std::vector<std::string>& lines() const { return lines_; }
  std::string joined() const;

 private:
  template <typename T>
  std::vector<T> all() const {
    std::vector<T> out;
    for (const Event& e : events_) {
      if (const T* t = std::get_if<T>(&e)) out.push_back(*t);
    }
    return out;
  }
  void add(const std::string& line);

  const HeadlessBackend& clock_;
  std::vector<Event> events_;
  std::vector<std::string> lines_;
  int key_waits_ = 0;
  int delays_ = 0;
};

}  // namespace platform
