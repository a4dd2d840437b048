// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A tracer that keeps what a headless run did: every text drawn (decoded to
// UTF-8), every delay, key read and sound operation, stamped with the
// virtual clock. The replay tool writes it out as its log; tests read it.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/headless.hpp"

namespace platform {

class Recorder : public Tracer {
 public:
  struct TextDraw {
    std::uint32_t ms;
    int x, y, colour, magnification;
    std::string utf8;
  };

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

  const std::vector<std::string>& lines() const { return lines_; }
  const std::vector<TextDraw>& texts() const { return texts_; }
  int key_waits() const { return key_waits_; }
  std::string joined() const;

 private:
  void add(const std::string& line);

  const HeadlessBackend& clock_;
  std::vector<std::string> lines_;
  std::vector<TextDraw> texts_;
  int key_waits_ = 0;
  int delays_ = 0;
};

}  // namespace platform
