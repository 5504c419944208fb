#include "core/controls/label_shadow.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace sapala::controls {

ShadowMargins MarginsFor(int distance, int blur) noexcept {
  // Distances and blur counts come from descriptions and skins: widen before adding.
  const long long d = distance, b = blur;
  auto clamp = [](long long v) {
    return static_cast<int>(std::clamp<long long>(v, -(1 << 20), 1 << 20));
  };
  return {clamp(std::min(0LL, d - b)), clamp(std::max(0LL, d + b))};
}

void ShadowGrid::Build(const graphics::Bitmap& mask, int passes) {
  const std::size_t stride = static_cast<std::size_t>(std::max(0, mask.Width())) + 2;
  const std::size_t rows = static_cast<std::size_t>(std::max(0, mask.Height())) + 2;
  if (stride > kMaxCells / rows) throw std::length_error("shadow grid too large");
  // Twice the cells, as the label always asked for; only the first half is the grid.
  const std::size_t needed = 2 * stride * rows;
  if (needed > capacity_) {
    buffer_ = std::make_unique<std::uint8_t[]>(needed);
    capacity_ = needed;
  }
  std::memset(buffer_.get(), 0, needed);
  width_ = std::max(0, mask.Width());
  height_ = std::max(0, mask.Height());
  if (width_ == 0 || height_ == 0) return;

  std::uint8_t* grid = buffer_.get();
  for (int pass = 0; pass < passes; ++pass) {
    for (int y = 0; y < height_; ++y) {
      const std::uint8_t* px = mask.ScanLine(y);
      std::uint8_t* cell = grid + (static_cast<std::size_t>(y) + 1) * stride + 1;
      for (int x = 0; x < width_; ++x) {
        if (px[4 * x] != 0) cell[x] = 255;  // blue byte of a B, G, R, A pixel
      }
    }
    for (std::size_t y = 1; y + 1 < rows; ++y) {
      std::uint8_t* row = grid + y * stride;
      for (std::size_t x = 1; x + 1 < stride; ++x) {
        const unsigned sum = unsigned{row[x - stride]} + row[x + stride] + row[x - 1] + row[x + 1];
        row[x] = static_cast<std::uint8_t>(sum / 4);
      }
    }
  }
}

void ComposeShadow(graphics::Bitmap& mask, const ShadowGrid& grid, TColor shadow, bool over_mask,
                   TColor background) {
  const int w = std::min(mask.Width(), grid.Width()), h = std::min(mask.Height(), grid.Height());
  const unsigned s[3] = {graphics::BlueOf(shadow), graphics::GreenOf(shadow),
                         graphics::RedOf(shadow)};
  const unsigned g[3] = {graphics::BlueOf(background), graphics::GreenOf(background),
                         graphics::RedOf(background)};
  for (int y = 0; y < h; ++y) {
    std::uint8_t* px = mask.ScanLine(y);
    for (int x = 0; x < w; ++x, px += 4) {
      const unsigned a = grid.At(x, y);
      for (int c = 0; c < 3; ++c) {
        px[c] = over_mask ? static_cast<std::uint8_t>((px[c] * (255 - a) + s[c] * a) / 256)
                          : static_cast<std::uint8_t>((s[c] * a + (255 - a) * g[c]) / 256);
      }
    }
  }
}

}  // namespace sapala::controls
