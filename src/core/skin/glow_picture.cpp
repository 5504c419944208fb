// The glow picture; see glow_picture.h.
#include "core/skin/glow_picture.h"

#include <string>

#include "core/graphics/pixels.h"
#include "core/skin/skin_paint.h"

namespace sapala::skin {

using graphics::Bitmap;
using graphics::Rect;

int FindGlowImage(const SkinTables& tables, std::string_view sectionName,
                  std::string_view imageName) {
  if (sectionName.empty()) return -1;
  return tables.FindImageExact(sectionName, std::string(imageName) + "0");
}

GlowPicture BuildGlowPicture(const SkinTables& tables, int maskIndex, Rect controlRect,
                             Rect visibleRect, int margin) {
  GlowPicture g;
  const TsMaskData* m = tables.Image(maskIndex);
  if (m == nullptr) return g;
  const int lw = LeftWidth(*m), tw = TopWidth(*m), rw = RightWidth(*m), bw = BottomWidth(*m);
  const std::int64_t w64 = std::int64_t{controlRect.width()} + lw + rw - 2 * std::int64_t{margin};
  const std::int64_t h64 = std::int64_t{controlRect.height()} + tw + bw - 2 * std::int64_t{margin};
  if (w64 <= 0 || h64 <= 0 || w64 > Bitmap::kMaxDimension || h64 > Bitmap::kMaxDimension) return g;
  int w = static_cast<int>(w64), h = static_cast<int>(h64);
  try {
    Bitmap pic = graphics::NewBitmap32(w, h);  // transparent black
    PaintBorderMask(pic, pic.Bounds(), false, 0, *m, ParentBackground::None());

    // Cut at the hidden sides when only part of the control shows.
    int cl = 0, ct = 0, cr = 0, cb = 0;
    if (visibleRect.width() != controlRect.width() ||
        visibleRect.height() != controlRect.height()) {
      cl = visibleRect.left != 0 ? lw + visibleRect.left - margin : 0;
      ct = visibleRect.top != 0 ? tw + visibleRect.top - margin : 0;
      if (visibleRect.right != controlRect.width()) {
        cr = cl != 0 ? w - cl - visibleRect.width()
                     : controlRect.width() + rw - visibleRect.width() - margin;
      }
      if (visibleRect.bottom != controlRect.height()) {
        cb = ct != 0 ? h - ct - visibleRect.height()
                     : controlRect.height() + bw - visibleRect.height() - margin;
      }
      // A cut larger than the picture (a control scrolled wholly out of sight) leaves nothing.
      cl = std::max(cl, 0);
      ct = std::max(ct, 0);
      cr = std::max(cr, 0);
      cb = std::max(cb, 0);
      w -= cl + cr;
      h -= ct + cb;
      if (w <= 0 || h <= 0) return g;
      if (cl != 0 || ct != 0 || cr != 0 || cb != 0) {
        Bitmap part = graphics::NewBitmap32(w, h);
        graphics::CopyBitmapRect(part, {0, 0}, pic, graphics::RectOfSize(cl, ct, w, h));
        pic = std::move(part);
      }
    }
    g.Picture = std::move(pic);
    g.Position = {controlRect.left + cl + margin - lw, controlRect.top + ct + margin - tw};
  } catch (...) {
    g = GlowPicture{};
  }
  return g;
}

}  // namespace sapala::skin
