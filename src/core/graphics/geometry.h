// Points and rectangles in integer pixel units, the shape every painting routine works in.
// A Rect is half-open: it covers columns left..right-1 and rows top..bottom-1, so its width is
// right - left. A rect whose right <= left or bottom <= top is empty and contains no pixel.
#pragma once

#include <algorithm>

namespace sapala::graphics {

struct Point {
  int x = 0;
  int y = 0;

  friend constexpr bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  constexpr int width() const { return right - left; }
  constexpr int height() const { return bottom - top; }
  constexpr bool empty() const { return right <= left || bottom <= top; }
  constexpr bool contains(Point p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  constexpr Point topLeft() const { return {left, top}; }

  // Moved by (dx, dy).
  [[nodiscard]] constexpr Rect offset(int dx, int dy) const {
    return {left + dx, top + dy, right + dx, bottom + dy};
  }
  // Grown by dx on the left and right and by dy on the top and bottom (negative values shrink).
  [[nodiscard]] constexpr Rect inflate(int dx, int dy) const {
    return {left - dx, top - dy, right + dx, bottom + dy};
  }
  // The common part of both; an empty rect (all zero) when they do not overlap.
  [[nodiscard]] constexpr Rect intersect(const Rect& o) const {
    Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
           std::min(bottom, o.bottom)};
    return r.empty() ? Rect{} : r;
  }
  constexpr bool intersects(const Rect& o) const { return !intersect(o).empty(); }

  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

constexpr Rect RectOfSize(int left, int top, int width, int height) {
  return {left, top, left + width, top + height};
}

}  // namespace sapala::graphics
