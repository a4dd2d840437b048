// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A model of the texts that stand on the surface, kept from the drawing
// calls alone: a text drawn adds one; a bar, a clear, or a text in the
// colour of what lies under it (the classic way to erase) removes what it
// covers; the same text drawn again at its place takes the new colour. Each
// text knows the colour of the fill under it and, through the outlines
// drawn, the frame around it. The web page reads it after each frame and
// shows the texts as real text: large enough on a phone, and to screen
// readers. It never looks at the game's own state.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class TextModel {
 public:
  struct Rect {
    int left, top, right, bottom;  // inclusive
    bool contains(const Rect& r) const {
      return left <= r.left && top <= r.top && r.right <= right && r.bottom <= bottom;
    }
    long area() const { return static_cast<long>(right - left + 1) * (bottom - top + 1); }
  };
  struct Text {
    int x, y, magnification;
    int colour;           // palette index it was drawn in
    int background;       // palette index of the fill under it (0 on a cleared screen)
    std::string bytes;    // code page 852; a character something erased is a blank
    std::uint32_t drawn;  // when it was drawn, counting every text drawn
    // The cells of its characters, first to last that are not blank.
    Rect extent() const;
  };
  struct Box {
    Rect rect;
    int colour;
  };

  void clear();
  // Bar: every character cell inside the rectangle goes.
  void fill(int x1, int y1, int x2, int y2, int colour);
  // Rectangle: an outline that may frame texts.
  void outline(int x1, int y1, int x2, int y2, int colour);
  void text(int x, int y, int colour, int magnification, std::string_view bytes);

  // The texts standing now, in the order they were first drawn.
  const std::vector<Text>& texts() const { return texts_; }
  // The colour of the smallest outline around the text, or -1 for none.
  int frame_of(const Text& text) const;
  // Grows with every change.
  std::uint32_t revision() const { return revision_; }

 private:
  // Blanks the characters of other texts in these cells (aligned to the
  // same grid); drops the texts left blank.
  void blank_cells(int x, int y, int magnification, std::string_view bytes);
  void drop_blank_texts();

  std::vector<Text> texts_;
  std::vector<Box> fills_;
  std::vector<Box> outlines_;
  std::uint32_t revision_ = 0;
  std::uint32_t drawn_ = 0;
};

}  // namespace platform
