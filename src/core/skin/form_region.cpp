#include "core/skin/form_region.h"

#include <algorithm>

#include "core/graphics/color.h"
#include "core/skin/skin_tables.h"

namespace sapala::skin {

namespace {

const graphics::Bitmap* PictureOf(const TsMaskData& image) {
  if (image.Image) return image.Image.get();
  if (image.Owner && !image.Owner->MasterBitmap.Empty()) return &image.Owner->MasterBitmap;
  return nullptr;
}

// Key runs of the source piece (sx, sy, w, h) placed at (dx, dy).
void ScanPiece(const graphics::Bitmap& pic, int sx, int sy, int w, int h, int dx, int dy,
               std::vector<graphics::Rect>& out) {
  for (int y = 0; y < h; ++y) {
    const int py = sy + y;
    if (py < 0 || py >= pic.Height()) continue;
    int runStart = -1;
    for (int x = 0; x <= w; ++x) {
      const int px = sx + x;
      const bool key =
          x < w && px >= 0 && px < pic.Width() && graphics::IsKeyPixel(pic.PixelWord(px, py));
      if (key && runStart < 0) runStart = x;
      if (!key && runStart >= 0) {
        out.push_back({dx + runStart, dy + y, dx + x, dy + y + 1});
        runStart = -1;
      }
    }
  }
}

}  // namespace

std::vector<graphics::Rect> CornerCutRects(const TsMaskData& image, int state, graphics::Rect dest,
                                           bool top, bool bottom) {
  std::vector<graphics::Rect> out;
  const graphics::Bitmap* pic = PictureOf(image);
  const int fw = FrameWidth(image), fh = FrameHeight(image);
  if (!pic || fw <= 0 || fh <= 0 || dest.empty()) return out;
  const int frames = std::max<int>(1, image.FrameCount);
  state = std::clamp(state, 0, frames - 1);
  const int fx = image.Rect.left + state * fw, fy = image.Rect.top;
  // Corner sizes limited to the frame and to half the destination, so the four never overlap.
  const int l = std::min({LeftWidth(image), fw, dest.width() / 2});
  const int r = std::min({RightWidth(image), fw, dest.width() - l});
  const int t = std::min({TopWidth(image), fh, dest.height() / 2});
  const int b = std::min({BottomWidth(image), fh, dest.height() - t});
  if (top) {
    ScanPiece(*pic, fx, fy, l, t, dest.left, dest.top, out);
    ScanPiece(*pic, fx + fw - r, fy, r, t, dest.right - r, dest.top, out);
  }
  if (bottom) {
    ScanPiece(*pic, fx, fy + fh - b, l, b, dest.left, dest.bottom - b, out);
    ScanPiece(*pic, fx + fw - r, fy + fh - b, r, b, dest.right - r, dest.bottom - b, out);
  }
  return out;
}

}  // namespace sapala::skin
