// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the quiz screen's boxes stand. One table serves everything drawn in
// or around an answer box: the outline with its pointed ends (KERETEK), the
// filled ends and the strip inside (marking, flashing, the 50:50 blanking)
// and the answer's text.

#include <array>
#include <cstdint>
#include <string_view>

namespace screen {

struct Rect {
  std::int16_t left, top, right, bottom;
};

// A rectangle whose left and right sides end in points.
struct PointedBox {
  Rect outline;
  std::int16_t left_tip, right_tip;  // x of the two points, on the middle row

  constexpr std::int16_t mid() const { return static_cast<std::int16_t>((outline.top + outline.bottom) / 2); }
  // What lies inside the outline: marking, flashing and blanking paint it.
  constexpr Rect strip() const {
    return {static_cast<std::int16_t>(outline.left + 1), static_cast<std::int16_t>(outline.top + 1),
            static_cast<std::int16_t>(outline.right - 1), static_cast<std::int16_t>(outline.bottom - 1)};
  }
};

struct AnswerBox {
  std::string_view letter;  // the key that chooses it
  std::string_view prefix;  // drawn before the answer
  PointedBox box;

  constexpr std::int16_t text_x() const { return static_cast<std::int16_t>(box.outline.left + 5); }
  constexpr std::int16_t text_y() const { return static_cast<std::int16_t>(box.outline.top + 5); }
};

inline constexpr PointedBox kQuestionBox = {{95, 48, 575, 76}, 81, 589};

// A, B in the upper row, C, D in the lower.
inline constexpr std::array<AnswerBox, 4> kAnswerBoxes = {{
    {"a", "A: ", {{95, 85, 325, 99}, 88, 332}},
    {"b", "B: ", {{345, 85, 575, 99}, 338, 582}},
    {"c", "C: ", {{95, 105, 325, 119}, 88, 332}},
    {"d", "D: ", {{345, 105, 575, 119}, 338, 582}},
}};

}  // namespace screen
