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

// The machine's local time as "YYYYMMDD-HHMMSS".
std::string local_timestamp();

// Tells the tracer in use, if any, what the sound unit does (an operation
// such as "load" or "play", its slot, the file).
void trace_sound(std::string_view operation, int slot, std::string_view file);

}  // namespace platform
