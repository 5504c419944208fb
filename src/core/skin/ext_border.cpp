#include "core/skin/ext_border.h"

#include <algorithm>

#include "core/graphics/pixels.h"
#include "core/skin/skin_data.h"
#include "core/skin/skin_tables.h"

namespace sapala::skin {

using graphics::Bitmap;
using graphics::Rect;

ExtBorderFrame ExtBorderFrameOf(int windowWidth, int windowHeight, BorderWidths e) {
  ExtBorderFrame f;
  const int w = std::max(0, windowWidth), h = std::max(0, windowHeight);
  f.Width = std::min(Bitmap::kMaxDimension, w + std::max(0, e.left) + std::max(0, e.right));
  f.Height = std::min(Bitmap::kMaxDimension, h + std::max(0, e.top) + std::max(0, e.bottom));
  f.Form = graphics::RectOfSize(std::max(0, e.left), std::max(0, e.top), w, h);
  return f;
}

BorderWidths ExtBorderMargins(const SkinTables& tables) {
  const ExtBorderPictures& e = tables.ExtBorders;
  return {std::max(0, e.Left), std::max(0, e.Top), std::max(0, e.Right), std::max(0, e.Bottom)};
}

BorderWidths ExtBorderSlices(const SkinTables& tables) {
  const ExtBorderPictures& e = tables.ExtBorders;
  BorderWidths b;
  if (const TsMaskData* m = tables.Image(tables.Cache.ExBorder)) {
    b = {LeftWidth(*m), TopWidth(*m), RightWidth(*m), BottomWidth(*m)};
  } else {
    // The built-in shadow is cut where its plateau begins; the margins the desktop composition
    // widens place it, they do not cut it.
    b = {11, 10, 11, 12};
  }
  return FitBorders(b, e.Active.Width(), e.Active.Height());
}

std::uint32_t ComposePixelOver(std::uint32_t src, std::uint32_t dst) {
  const std::uint32_t sa = src >> 24;
  if (sa == 255) return src;
  if (sa == 0) return dst;
  const std::uint32_t da = dst >> 24;
  // What of the destination shows through, in 0..255 x 255.
  const std::uint32_t through = da * (255 - sa);
  const std::uint32_t outA255 = sa * 255 + through;  // alpha x 255
  std::uint32_t out = ((outA255 + 127) / 255) << 24;
  for (int shift = 0; shift < 24; shift += 8) {
    const std::uint32_t sc = (src >> shift) & 0xFF, dc = (dst >> shift) & 0xFF;
    const std::uint32_t c = (sc * sa * 255 + dc * through + outA255 / 2) / outA255;
    out |= std::min<std::uint32_t>(c, 255) << shift;
  }
  return out;
}

void PaintExtBorderRing(Bitmap& dest, const Bitmap& picture, BorderWidths slices) {
  if (picture.Empty() || dest.Empty() || picture.Format() != graphics::PixelFormat::pf32bit ||
      dest.Format() != graphics::PixelFormat::pf32bit) {
    return;
  }
  NinePartLayout layout;
  const BorderWidths fitted = FitBorders(slices, dest.Width(), dest.Height());
  if (!LayoutNineParts(dest.Bounds(), picture.Bounds(), picture.Height(), fitted, layout)) return;
  for (int i = 0; i < kPieceCount; ++i) {
    if (i == kPieceCenter) continue;
    const Rect to = layout.dest[static_cast<std::size_t>(i)].intersect(dest.Bounds());
    const Rect from = layout.source[static_cast<std::size_t>(i)];
    if (to.empty() || from.empty()) continue;
    // The piece at its place's size, then composed over the destination pixel by pixel.
    Bitmap piece = graphics::NewBitmap32(layout.dest[static_cast<std::size_t>(i)].width(),
                                         layout.dest[static_cast<std::size_t>(i)].height());
    graphics::StretchBitmapRect(piece, piece.Bounds(), picture, from);
    const graphics::Point origin = layout.dest[static_cast<std::size_t>(i)].topLeft();
    for (int y = to.top; y < to.bottom; ++y) {
      std::uint32_t* row = dest.Row32(y);
      const std::uint32_t* src = piece.Row32(y - origin.y);
      for (int x = to.left; x < to.right; ++x) row[x] = ComposePixelOver(src[x - origin.x], row[x]);
    }
  }
}

}  // namespace sapala::skin
