// Drawing for the skin generator: a float RGBA canvas (premultiplied while drawing) with
// anti-aliased shapes sampled 4 × 4 per pixel, and the conversions to what the skin stores:
// a picture row with its mask row (mask 0 shows the picture, 255 keeps what lies under it),
// an opaque picture, or a straight-alpha picture for a PNG file.
//
// Coordinates are real pixel units: pixel (x, y) covers [x, x + 1) × [y, y + 1).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/graphics/bitmap.h"

namespace sapala::skingen {

struct Rgb {
  float r = 0, g = 0, b = 0;  // 0..255
};
// From 0xRRGGBB as written in art notes.
constexpr Rgb Hex(std::uint32_t rgb) {
  return {static_cast<float>(rgb >> 16 & 0xFF), static_cast<float>(rgb >> 8 & 0xFF),
          static_cast<float>(rgb & 0xFF)};
}
Rgb Mix(Rgb a, Rgb b, float t);  // a at t = 0, b at t = 1

// Signed distance to a shape: negative inside.
using Sdf = std::function<float(float x, float y)>;
// Colour at a point.
using Paint = std::function<Rgb(float x, float y)>;

Sdf RoundRect(float x0, float y0, float x1, float y1, float radius);
Sdf Circle(float cx, float cy, float r);
// A stroke of half-width `hw` around the segment a–b, with round ends.
Sdf Capsule(float ax, float ay, float bx, float by, float hw);
// An ellipse with semi-axes a (along `angle` radians) and b; an approximate distance, exact
// enough for inside tests and one-pixel outlines.
Sdf Ellipse(float cx, float cy, float a, float b, float angle);
Sdf Union(Sdf a, Sdf b);
Sdf Minus(Sdf a, Sdf b);          // a without b
Sdf Inset(Sdf a, float by);       // shrunk by `by` pixels
Sdf Outline(Sdf a, float width);  // the band of `width` just inside the edge of a

Paint Solid(Rgb c);
Paint VGrad(float y0, Rgb c0, float y1, Rgb c1);  // clamped beyond y0 and y1
Paint HGrad(float x0, Rgb c0, float x1, Rgb c1);

class Canvas {
 public:
  Canvas(int width, int height);

  int Width() const { return w_; }
  int Height() const { return h_; }

  // Composites `paint` over every pixel by the shape's coverage × opacity.
  void Draw(const Sdf& shape, const Paint& paint, float opacity = 1.0f);
  // Composites `paint` with a per-pixel opacity sampled at the pixel's centre.
  void DrawAlpha(const std::function<float(float x, float y)>& alpha, const Paint& paint);
  // Marks a pixel as the skin's transparent key (the parent shows there); drawing clears it.
  void SetKey(int x, int y, bool key = true);
  // Marks every pixel whose coverage of `shape` is below one half as key, and clears all
  // drawing there.
  void KeyOutside(const Sdf& shape);
  bool IsKey(int x, int y) const { return key_[Index(x, y)]; }
  float Alpha(int x, int y) const { return px_[Index(x, y)].a; }
  // Straight colour of a pixel (black where nothing was drawn).
  Rgb Color(int x, int y) const;

  // This canvas copied in at (x, y) of `dest`, pixel for pixel (key flags too).
  void CopyTo(Canvas& dest, int x, int y) const;
  // A copy mirrored along the main diagonal (x and y swapped): the horizontal twin of a
  // vertical piece.
  Canvas Transposed() const;

 private:
  struct Px {
    float r = 0, g = 0, b = 0, a = 0;  // premultiplied
  };
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(w_) + static_cast<std::size_t>(x);
  }
  int w_, h_;
  std::vector<Px> px_;
  std::vector<bool> key_;
};

// Coverage of a shape over one pixel, 0..1, from 4 × 4 samples.
float Coverage(const Sdf& shape, int x, int y);

// Storage forms. Key pixels become the key word 0x00FF00FF; every other pixel has alpha 255.
// The picture row keeps drawn colours (black where nothing was drawn); the mask row below it has
// grey m = min(255, round(256 × (1 − alpha))), since the engine blends a piece as
// dest := ((dest − picture) × m + picture × 256) >> 8.
graphics::Bitmap ToPictureAndMask(const Canvas& c);
// Every pixel composited over `base` (key pixels stay keys).
graphics::Bitmap ToOpaque(const Canvas& c, Rgb base);
// Straight alpha, for PNG files (fully transparent pixels become 0).
graphics::Bitmap ToRgba(const Canvas& c);

}  // namespace sapala::skingen
