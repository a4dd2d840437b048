// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the game sees of the machine: the drawing operations on the surface,
// the blocking key read, the delay, the local date and random numbers. Every
// call goes to the backend in use: the window of a real run, or the headless
// backend with its virtual clock for tests and replays.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/keyqueue.hpp"
#include "platform/surface.hpp"

namespace platform {

struct Date {
  std::uint16_t year = 2005;
  std::uint16_t month = 1;
  std::uint16_t day = 1;
  std::uint16_t weekday = 6;  // 0 = Sunday
};

// The weekday (0 = Sunday) of a date of the Gregorian calendar.
std::uint16_t weekday_of(int year, int month, int day);

// The machine's local date now, and the local time as "YYYYMMDD-HHMMSS".
Date local_date();
std::string local_timestamp();

// A failure that ends the program with the given exit code, after one clear
// line on standard error (the exception's text).
class Fatal : public std::runtime_error {
 public:
  Fatal(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

// Thrown out of ReadKey and Delay when the session is over: the window was
// closed, or a headless run's key script has run out. The main program
// catches it and shuts down cleanly.
struct SessionEnded {};

// Receives what a run does, for the replay log and for tests. Called on the
// game thread.
class Tracer {
 public:
  virtual ~Tracer() = default;
  virtual void text(int /*x*/, int /*y*/, int /*colour*/, int /*magnification*/,
                    std::string_view /*bytes*/) {}
  virtual void delay(unsigned /*ms*/) {}
  virtual void key_wait() {}
  virtual void key_read(std::uint8_t /*byte*/) {}
  virtual void sound(std::string_view /*operation*/, int /*slot*/, std::string_view /*file*/) {}
};

class Backend {
 public:
  virtual ~Backend() = default;
  // Opens the window (or its stand-in) and returns once it exists.
  virtual void open(const std::string& title) = 0;
  virtual void close() = 0;
  // Returns when the key queue holds a byte; throws SessionEnded.
  virtual void wait_for_key(KeyQueue& queue) = 0;
  virtual void delay(unsigned ms) = 0;
  virtual std::uint32_t ticks() = 0;
  virtual Date today() = 0;
};

// The backend every call goes to; the caller keeps it alive while in use.
void use_backend(Backend* backend);
Backend* backend();

void set_tracer(Tracer* tracer);
Tracer* tracer();

Surface& surface();
KeyQueue& key_queue();

// Fresh surface, key queue and random generator.
void reset_state();

// The operations, under the names the game uses.
void SetWindowTitle(std::string_view title);
const std::string& WindowTitle();
void InitGraph(std::int16_t& driver, std::int16_t& mode, std::string_view font_path);
void CloseGraph();
void ClearDevice();
void SetColor(std::uint16_t colour);
void SetFillStyle(std::uint16_t pattern, std::uint16_t colour);
void Bar(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2);
void Rectangle(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2);
void Line(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2);
void Circle(std::int16_t x, std::int16_t y, std::uint16_t radius);
void SetTextStyle(std::int16_t font, std::int16_t direction, std::uint16_t magnification);
void OutTextXY(std::int16_t x, std::int16_t y, std::string_view text);
std::uint8_t ReadKey();
void Delay(std::uint16_t ms);
void GetDate(std::uint16_t& year, std::uint16_t& month, std::uint16_t& day, std::uint16_t& weekday);
void Randomize();
std::int32_t Random(std::int32_t n);
// The tick count Randomize seeds from (milliseconds).
std::uint32_t TickCount();

}  // namespace platform
