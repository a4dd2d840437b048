// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The headless backend: the same surface and key queue with no window, a
// virtual clock that Delay advances at once, a date of the caller's choice
// and keys from a script. When the script has run out, the next key read
// ends the session cleanly.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/backend.hpp"
#include "platform/keyscript.hpp"

namespace platform {

class HeadlessBackend : public Backend {
 public:
  explicit HeadlessBackend(Date date = {}, std::vector<ScriptedKey> script = {});

  void open(const std::string& title) override;
  void close() override;
  void wait_for_key(KeyQueue& queue) override;
  void delay(unsigned ms, KeyQueue& queue) override;
  std::uint32_t ticks() override { return now_; }
  Date today() override { return date_; }

  std::uint32_t now() const { return now_; }
  bool window_open() const { return open_; }
  int times_opened() const { return opened_; }
  const std::string& title() const { return title_; }
  std::size_t keys_left() const { return script_.size() - next_; }

 private:
  void deliver(KeyQueue& queue, const ScriptedKey& key);
  void deliver_due(KeyQueue& queue);

  Date date_;
  std::vector<ScriptedKey> script_;
  std::size_t next_ = 0;
  std::uint32_t now_ = 0;
  bool open_ = false;
  int opened_ = 0;
  std::string title_;
};

}  // namespace platform
