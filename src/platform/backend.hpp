// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The machine's side of the seam: what a backend implements, how the
// program's entry (the real program, the web page, the replay tool, the
// tests) chooses one and a tracer, and the state the game's calls of
// platform/graph.hpp work on: the surface and the key queue. Game code never
// includes this header.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/graph.hpp"
#include "platform/keyqueue.hpp"
#include "platform/surface.hpp"
#include "platform/text_model.hpp"

namespace platform {

struct Date {
  std::uint16_t year = 2005;
  std::uint16_t month = 1;
  std::uint16_t day = 1;
  std::uint16_t weekday = 6;  // 0 = Sunday
};

// The weekday (0 = Sunday) of a date of the Gregorian calendar.
std::uint16_t weekday_of(int year, int month, int day);

// The machine's local date now.
Date local_date();

// Receives what a run does, for the replay log and for tests. Called on the
// game thread.
class Tracer {
 public:
  virtual ~Tracer() = default;
  virtual void text(int /*x*/, int /*y*/, int /*colour*/, int /*magnification*/, std::string_view /*bytes*/) {}
  virtual void delay(unsigned /*ms*/) {}
  virtual void key_wait() {}
  virtual void key_read(std::uint8_t /*byte*/) {}
  virtual void sound(std::string_view /*operation*/, int /*slot*/, std::string_view /*file*/) {}
};

// A backend. Every method is called on the game thread. The drawing itself
// never reaches the backend: the game's calls paint surface(), and a backend
// that shows the picture listens to it (Surface::set_change_listener).
class Backend {
 public:
  virtual ~Backend() = default;
  // InitGraph: shows the window (or its stand-in) with this title (code
  // page 852 bytes) and returns once it exists. May throw SessionEnded or
  // Fatal when it cannot.
  virtual void open(const std::string& title) = 0;
  // CloseGraph: takes the window away again. Must not throw.
  virtual void close() = 0;
  // ReadKey found `queue` empty: returns once it holds a byte, or throws
  // SessionEnded when the session is over. Need not guarantee a byte on
  // return: ReadKey asks again.
  virtual void wait_for_key(KeyQueue& queue) = 0;
  // Delay: lets `ms` milliseconds pass on the backend's clock. Keys that
  // arrive meanwhile go into `queue`, to be read later (type-ahead). May
  // throw SessionEnded when the session ends meanwhile.
  virtual void delay(unsigned ms, KeyQueue& queue) = 0;
  // TickCount: milliseconds on the backend's clock, from any fixed start.
  virtual std::uint32_t ticks() = 0;
  // GetDate: today's date.
  virtual Date today() = 0;
};

// The backend every call goes to (none: no window, ReadKey ends the
// session, Delay returns at once, the date is 2005-01-01 and the tick count
// 0); the caller keeps it alive while in use.
void use_backend(Backend* backend);

void set_tracer(Tracer* tracer);
Tracer* tracer();

// The model of the texts on screen that the drawing calls keep up to date
// (cleared by InitGraph and ClearDevice), or nullptr for none; the caller
// keeps it alive while in use.
void set_text_model(TextModel* model);

// What the key read under way asks for (offer_keys), until it returns.
const KeyOffer& key_offer();

Surface& surface();
// The one key queue: a backend's own event handling (the window thread, the
// page's key events) pushes into it, and the game reads it.
KeyQueue& key_queue();

// Fresh surface, key queue, random generator and key declaration.
void reset_state();

}  // namespace platform
