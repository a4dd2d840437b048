// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The type-ahead key queue: a ring of 32 byte slots holding at most 31
// bytes. When a byte arrives at a full ring the oldest entry is dropped, a
// 0-and-code pair as a whole. Nothing ever empties it but reading.

#include <array>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>

namespace platform {

class KeyQueue {
 public:
  static constexpr int kSlots = 32;

  // Appends one byte; the window thread's path for characters.
  void push(std::uint8_t byte);
  // Appends a 0 and a code (cursor and function keys) in one go, so a reader
  // never sees the two halves of a pair torn apart by a third byte.
  void push_extended(std::uint8_t code);

  std::optional<std::uint8_t> try_pop();

  // Blocks until a byte is waiting or `stop` has been raised through
  // interrupt(); returns false when stopped with the queue empty.
  bool wait_nonempty();
  // Raises the stop flag and wakes every waiter; stays raised until reset().
  void interrupt();
  bool interrupted() const;

  int size() const;
  // Empty ring, stop flag lowered: a fresh queue (tests and new sessions).
  void reset();

 private:
  void append_locked(std::uint8_t byte);

  mutable std::mutex mutex_;
  std::condition_variable cv_;
  std::array<std::uint8_t, kSlots> ring_{};
  int read_ = 0;
  int write_ = 0;
  bool stop_ = false;
};

}  // namespace platform
