// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text_model.hpp"

#include <algorithm>

#include "platform/cp852.hpp"
#include "platform/surface.hpp"

namespace platform {
namespace {

// Only so many fills and outlines are remembered; the oldest go first.
constexpr std::size_t kMaxBoxes = 96;

bool same_colour(int a, int b) {
  const Rgb x = palette()[static_cast<std::size_t>(a & 0xFF)];
  const Rgb y = palette()[static_cast<std::size_t>(b & 0xFF)];
  return x.r == y.r && x.g == y.g && x.b == y.b;
}

TextModel::Rect cell(int x, int y, int magnification, std::size_t index) {
  const int size = 8 * magnification;
  const int left = x + size * static_cast<int>(index);
  return {left, y, left + size - 1, y + size - 1};
}

// The letter with a diaeresis over `letter`, or 0 when it has none in code page 852.
char with_diaeresis(char letter) {
  char32_t cp = 0;
  switch (letter) {
    case 'A': cp = U'\u00C4'; break;
    case 'a': cp = U'\u00E4'; break;
    case 'E': cp = U'\u00CB'; break;
    case 'e': cp = U'\u00EB'; break;
    case 'O': cp = U'\u00D6'; break;
    case 'o': cp = U'\u00F6'; break;
    case 'U': cp = U'\u00DC'; break;
    case 'u': cp = U'\u00FC'; break;
    default: return 0;
  }
  const int byte = cp852::byte_for(cp);
  return byte < 0 ? '\0' : static_cast<char>(byte);
}

void remember(std::vector<TextModel::Box>& boxes, TextModel::Box box) {
  boxes.push_back(box);
  if (boxes.size() > kMaxBoxes) boxes.erase(boxes.begin());
}

}  // namespace

TextModel::Rect TextModel::Text::extent() const {
  const std::size_t first = bytes.find_first_not_of(' ');
  const std::size_t last = bytes.find_last_not_of(' ');
  if (first == std::string::npos) return {x, y, x - 1, y - 1};
  const Rect a = cell(x, y, magnification, first);
  const Rect b = cell(x, y, magnification, last);
  return {a.left, a.top, b.right, b.bottom};
}

void TextModel::clear() {
  texts_.clear();
  fills_.clear();
  outlines_.clear();
  dots_.clear();
  ++revision_;
  ++screen_;
}

void TextModel::drop_blank_texts() {
  std::erase_if(texts_, [](const Text& t) { return t.bytes.find_first_not_of(' ') == std::string::npos; });
}

void TextModel::fill(int x1, int y1, int x2, int y2, int colour) {
  if (y1 > y2) std::swap(y1, y2);
  const Rect r{std::max(x1, 0), std::max(y1, 0), std::min(x2, kWidth - 1), std::min(y2, kHeight - 1)};
  if (r.left > r.right || r.top > r.bottom) return;
  for (Text& t : texts_) {
    for (std::size_t i = 0; i < t.bytes.size(); ++i) {
      if (r.contains(cell(t.x, t.y, t.magnification, i))) t.bytes[i] = ' ';
    }
  }
  drop_blank_texts();
  std::erase_if(fills_, [&](const Box& b) { return r.contains(b.rect); });
  std::erase_if(outlines_, [&](const Box& b) {
    return r.left < b.rect.left && r.top < b.rect.top && b.rect.right < r.right && b.rect.bottom < r.bottom;
  });
  remember(fills_, {r, colour});
  ++revision_;
}

bool TextModel::accent_dot(const Rect& r) {
  if (r.right - r.left > 2 || r.bottom - r.top > 2) return false;
  for (Text& t : texts_) {
    for (std::size_t i = 0; i < t.bytes.size(); ++i) {
      const Rect c = cell(t.x, t.y, t.magnification, i);
      // Over the letter's cell, at most half a cell above it.
      if (r.left < c.left || r.right > c.right || r.bottom >= c.top || r.bottom < c.top - 4 * t.magnification) {
        continue;
      }
      const auto pair = std::find_if(dots_.begin(), dots_.end(), [&](const Rect& d) {
        return c.left <= d.left && d.right <= c.right && d.bottom < c.top && d.bottom >= c.top - 4 * t.magnification &&
               (d.right < r.left || r.right < d.left);
      });
      if (pair == dots_.end()) {
        dots_.push_back(r);
        return true;
      }
      dots_.erase(pair);
      if (const char marked = with_diaeresis(t.bytes[i]); marked != 0) {
        t.bytes[i] = marked;
        ++revision_;
      }
      return true;
    }
  }
  return false;
}

void TextModel::outline(int x1, int y1, int x2, int y2, int colour) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  const Rect r{x1, y1, x2, y2};
  if (accent_dot(r)) return;
  std::erase_if(outlines_, [&](const Box& b) {
    return b.rect.left == r.left && b.rect.top == r.top && b.rect.right == r.right && b.rect.bottom == r.bottom;
  });
  remember(outlines_, {r, colour});
  ++revision_;
}

void TextModel::blank_cells(int x, int y, int magnification, std::string_view bytes) {
  const int size = 8 * magnification;
  for (Text& t : texts_) {
    if (t.y != y || t.magnification != magnification || (t.x - x) % size != 0) continue;
    for (std::size_t j = 0; j < bytes.size(); ++j) {
      if (bytes[j] == ' ') continue;
      const int offset = x + size * static_cast<int>(j) - t.x;
      if (offset < 0) continue;
      const auto i = static_cast<std::size_t>(offset / size);
      if (i < t.bytes.size()) t.bytes[i] = ' ';
    }
  }
  drop_blank_texts();
}

void TextModel::text(int x, int y, int colour, int magnification, std::string_view bytes) {
  // As the surface draws: nothing when the anchor lies off the surface.
  if (bytes.empty() || x < 0 || y < 0 || x >= kWidth || y >= kHeight) return;
  magnification = std::clamp(magnification, 1, 10);
  // What lies under the first character: the newest fill around it.
  int background = 0;
  const Rect first = cell(x, y, magnification, 0);
  for (auto it = fills_.rbegin(); it != fills_.rend(); ++it) {
    if (it->rect.contains(first)) {
      background = it->colour;
      break;
    }
  }
  ++drawn_;
  ++revision_;
  if (same_colour(colour, background)) {
    // Written over in the colour under it: what it covers is erased.
    blank_cells(x, y, magnification, bytes);
    return;
  }
  for (Text& t : texts_) {
    if (t.x == x && t.y == y && t.magnification == magnification && t.bytes == bytes) {
      // The same text again at its place: it shows in the new colour.
      t.colour = colour;
      t.background = background;
      t.drawn = drawn_;
      return;
    }
  }
  if (bytes.find_first_not_of(' ') == std::string_view::npos) return;
  blank_cells(x, y, magnification, bytes);
  texts_.push_back({x, y, magnification, colour, background, std::string(bytes), drawn_});
}

int TextModel::frame_of(const Text& text) const {
  const Rect e = text.extent();
  int colour = -1;
  long best = 0;
  // A text drawn from an outline's edge (the ladder's labels) stands in it
  // too: a glyph's first column is blank.
  for (const Box& b : outlines_) {
    if (b.rect.contains(e) && (colour < 0 || b.rect.area() < best)) {
      colour = b.colour;
      best = b.rect.area();
    }
  }
  return colour;
}

}  // namespace platform
