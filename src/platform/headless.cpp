// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/headless.hpp"

#include <utility>

#include "platform/keycodes.hpp"

namespace platform {

HeadlessBackend::HeadlessBackend(Date date, std::vector<ScriptedKey> script)
    : date_(date), script_(std::move(script)) {}

void HeadlessBackend::open(const std::string& title) {
  title_ = title;
  open_ = true;
  ++opened_;
}

void HeadlessBackend::close() { open_ = false; }

void HeadlessBackend::deliver(KeyQueue& queue, const ScriptedKey& key) {
  if (key.bytes.size() == 2 && key.bytes[0] == keycode::kExtended) {
    queue.push_extended(key.bytes[1]);
  } else {
    for (const std::uint8_t b : key.bytes) queue.push(b);
  }
}

void HeadlessBackend::deliver_due(KeyQueue& queue) {
  while (next_ < script_.size() && script_[next_].at_ms && *script_[next_].at_ms <= now_) {
    deliver(queue, script_[next_++]);
  }
}

void HeadlessBackend::wait_for_key(KeyQueue& queue) {
  if (next_ >= script_.size()) throw SessionEnded{};
  const ScriptedKey& key = script_[next_++];
  // The game sits in its key read until the key arrives.
  if (key.at_ms && *key.at_ms > now_) now_ = *key.at_ms;
  deliver(queue, key);
  deliver_due(queue);
}

void HeadlessBackend::delay(unsigned ms, KeyQueue& queue) {
  now_ += ms;
  deliver_due(queue);
}

}  // namespace platform
