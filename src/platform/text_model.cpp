// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text_model.hpp"

#include <algorithm>

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
  ++revision_;
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

void TextModel::outline(int x1, int y1, int x2, int y2, int colour) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  const Rect r{x1, y1, x2, y2};
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
  for (const Box& b : outlines_) {
    if (b.rect.left < e.left && b.rect.top < e.top && e.right < b.rect.right && e.bottom < b.rect.bottom &&
        (colour < 0 || b.rect.area() < best)) {
      colour = b.colour;
      best = b.rect.area();
    }
  }
  return colour;
}

}  // namespace platform
