// Points and rectangles in integer pixel units, the shape every painting routine works in.
// A Rect is half-open: it covers columns left..right-1 and rows top..bottom-1, so its width is
// right - left. A rect whose right <= left or bottom <= top is empty and contains no pixel.
#pragma once

#include <algorithm>
#include <array>

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

// The four border strips of a frame of widths left, top, right, bottom inside `r`, in painting
// order: top (full width), left (below the top strip, down to the bottom), bottom (right of the
// left strip), right (between the top and bottom strips). PaintSolidFrame fills these.
constexpr std::array<Rect, 4> FrameStrips(const Rect& r, int left, int top, int right, int bottom) {
  return {Rect{r.left, r.top, r.right, r.top + top},
          Rect{r.left, r.top + top, r.left + left, r.bottom},
          Rect{r.left + left, r.bottom - bottom, r.right, r.bottom},
          Rect{r.right - right, r.top + top, r.right, r.bottom - bottom}};
}

}  // namespace sapala::graphics
