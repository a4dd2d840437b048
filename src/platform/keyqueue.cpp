// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/keyqueue.hpp"

#include "platform/keycodes.hpp"

namespace platform {

void KeyQueue::append_locked(std::uint8_t byte) {
  ring_[static_cast<std::size_t>(write_)] = byte;
  write_ = (write_ + 1) % kSlots;
  if (write_ == read_) {
    const int drop = ring_[static_cast<std::size_t>(read_)] == keycode::kExtended ? 2 : 1;
    read_ = (read_ + drop) % kSlots;
  }
}

void KeyQueue::push(std::uint8_t byte) {
  {
    std::lock_guard lock(mutex_);
    append_locked(byte);
  }
  cv_.notify_all();
}

void KeyQueue::push_extended(std::uint8_t code) {
  {
    std::lock_guard lock(mutex_);
    append_locked(keycode::kExtended);
    append_locked(code);
  }
  cv_.notify_all();
}

std::optional<std::uint8_t> KeyQueue::try_pop() {
  std::lock_guard lock(mutex_);
  if (read_ == write_) return std::nullopt;
  const std::uint8_t byte = ring_[static_cast<std::size_t>(read_)];
  read_ = (read_ + 1) % kSlots;
  return byte;
}

bool KeyQueue::wait_nonempty() {
  std::unique_lock lock(mutex_);
  cv_.wait(lock, [this] { return read_ != write_ || stop_; });
  return read_ != write_;
}

void KeyQueue::interrupt() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  cv_.notify_all();
}

bool KeyQueue::interrupted() const {
  std::lock_guard lock(mutex_);
  return stop_;
}

int KeyQueue::size() const {
  std::lock_guard lock(mutex_);
  return (write_ - read_ + kSlots) % kSlots;
}

void KeyQueue::reset() {
  std::lock_guard lock(mutex_);
  read_ = write_ = 0;
  stop_ = false;
}

}  // namespace platform
