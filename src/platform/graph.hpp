// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the game sees of the machine: the drawing operations, the blocking
// key read, the delay, the local date and time and random numbers. This is
// the game's whole side of the seam; every call goes to the backend in use
// (the window of a real run, or the headless backend with its virtual clock
// for tests and replays), which the program's entry chooses through
// platform/backend.hpp.
//
// ReadKey and Delay throw SessionEnded when the session is over (the window
// was closed, a replay's keys ran out).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/errors.hpp"

namespace platform {

void SetWindowTitle(std::string_view title);
// Opens the window (or its stand-in) with a fresh surface; the driver, mode
// and font path are accepted for the game's sake and not used.
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
// The oldest byte of the key queue, waiting for one when it is empty.
std::uint8_t ReadKey();
void Delay(std::uint16_t ms);
void GetDate(std::uint16_t& year, std::uint16_t& month, std::uint16_t& day, std::uint16_t& weekday);
// Seeds the random numbers from the tick count.
void Randomize();
// Uniform over 0 .. n - 1 (0 when n <= 0).
std::int32_t Random(std::int32_t n);
// The tick count Randomize seeds from (milliseconds).
std::uint32_t TickCount();

// What the screen that reads the next key asks for, declared where the game
// reads it, for a player without a keyboard: the web page offers exactly
// these keys on a touch screen, and nothing that would end a game by
// mistake. A declaration changes nothing the game draws or does; the key
// read that follows ends it, and a backend without touch never looks at it.
enum class Asking {
  kNothing,   // no declaration: the next key read is not described
  kMenu,      // a menu: its items, and moving over them
  kQuestion,  // a question waits for its answer
  kPrompt,    // any key goes on
  kChoice,    // a few keys, each with its own meaning; any other goes on
};

// A place on the 800 x 600 picture (inclusive); empty when right < left.
struct Place {
  std::int16_t left = 0, top = 0, right = -1, bottom = -1;
  bool empty() const { return right < left || bottom < top; }
};

struct OfferedKey {
  std::string bytes;     // what ReadKey returns for it, in order (an arrow: 0 and its code)
  std::string label;     // its name on a button (code page 852); empty for a place alone
  Place place;           // what it stands for on the picture: a menu item, an answer's box
  bool confirm = false;  // it ends something (a game, the list): asked twice
};

struct KeyOffer {
  Asking asking = Asking::kNothing;
  std::vector<OfferedKey> keys;
  Place focus;        // what the screen is about: the question's box
  std::string topic;  // a tool of the page this screen concerns ("names")
};

// Declares what the next ReadKey asks for.
void offer_keys(KeyOffer offer);
// A prompt: any key goes on; the page offers Enter by this label.
void offer_any_key(std::string_view label);

// The machine's local time as "YYYYMMDD-HHMMSS".
std::string local_timestamp();

// Tells the tracer in use, if any, what the sound unit does (an operation
// such as "load" or "play", its slot, the file).
void trace_sound(std::string_view operation, int slot, std::string_view file);

}  // namespace platform
