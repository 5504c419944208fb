// The window-free half of the effect label's shadow: the margins the shadow needs around the
// text, the byte grid that spreads the text's mask by repeated stamping and in-place blurring,
// and the composition of the shadow colour over the label's background. The Win32 label
// (win/controls/label_fx.h) draws the text masks and hands them here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/graphics/bitmap.h"

namespace sapala::controls {

using graphics::TColor;

// Margins around the text for a shadow moved by `distance` and spread by `blur` pixels:
// top-left TL = min(0, D − B) (zero or negative), bottom-right BR = max(0, D + B).
struct ShadowMargins {
  int top_left = 0;
  int bottom_right = 0;
  // What auto size adds to the text's width and height.
  int Growth() const noexcept { return bottom_right - top_left; }
};
ShadowMargins MarginsFor(int distance, int blur) noexcept;

// A byte per mask pixel with a one-cell zero border: (width + 2) × (rows + 2) cells. The buffer
// only grows (it lives as long as its label); Build reuses it for every paint.
class ShadowGrid {
 public:
  // Largest grid, in cells; a mask that would need more is refused with std::length_error.
  static constexpr std::size_t kMaxCells = std::size_t{1} << 28;

  // Clears the grid for `mask` (a 32-bit bitmap whose non-zero blue bytes are the text) and runs
  // `passes` rounds of: stamp every text cell to 255, then replace every inner cell, row by row
  // from the top and left to right, by (up + down + left + right) div 4 in place (up and left
  // already hold this pass's values). passes <= 0 leaves the grid all zero.
  void Build(const graphics::Bitmap& mask, int passes);

  int Width() const noexcept { return width_; }
  int Height() const noexcept { return height_; }
  // The value for mask pixel (x, y); (x, y) must lie inside the mask.
  std::uint8_t At(int x, int y) const noexcept {
    return buffer_[static_cast<std::size_t>(y + 1) * Stride() + static_cast<std::size_t>(x + 1)];
  }
  std::size_t Capacity() const noexcept { return capacity_; }

 private:
  std::size_t Stride() const noexcept { return static_cast<std::size_t>(width_) + 2; }

  std::unique_ptr<std::uint8_t[]> buffer_;
  std::size_t capacity_ = 0;
  int width_ = 0, height_ = 0;
};

// Blends the shadow colour (an RGB value, not a system colour) into every pixel of `mask` by the
// grid's value a: over the pixel's own colour when `over_mask` (the mask then holds what lies
// under the label), c := (c × (255 − a) + s × a) div 256; else over `background` (RGB),
// c := (s × a + (255 − a) × g) div 256. The alpha byte is left alone.
void ComposeShadow(graphics::Bitmap& mask, const ShadowGrid& grid, TColor shadow, bool over_mask,
                   TColor background);

}  // namespace sapala::controls
