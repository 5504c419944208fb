// GDI painting over engine bitmaps: fills and frames, text through DrawTextW into a grey mask,
// and pictures drawn plain, blended by their alpha, and stretched.
#include "win/framework/paint.h"

#include <gtest/gtest.h>

#include <optional>

#include "core/graphics/bitmap.h"
#include "win/framework/dib.h"
#include "win/framework/handles.h"

namespace sapala::win {
namespace {


// A 32-bit DIB canvas filled with one colour, selected into a memory DC.
struct Canvas {
  explicit Canvas(int w, int h, std::uint32_t fill) : bitmap((InstallDibSections(), graphics::NewBitmap32(w, h))) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) bitmap.SetRawPixel(x, y, fill);
    dc.reset(::CreateCompatibleDC(nullptr));
    selected.emplace(dc.get(), DibHandle(bitmap));
  }
  std::uint32_t At(int x, int y) { ::GdiFlush(); return bitmap.RawPixel(x, y) & 0xFFFFFF; }
  graphics::Bitmap bitmap;
  MemoryDC dc;
  std::optional<SelectedObject> selected;
};

TEST(Paint, SolidRectAndFrame) {
  Canvas c(10, 10, 0xFFFFFFFF);
  PaintSolidRect(c.dc.get(), {1, 1, 3, 3}, graphics::clRed);
  EXPECT_EQ(c.At(1, 1), 0xFF0000u);
  EXPECT_EQ(c.At(3, 3), 0xFFFFFFu) << "right and bottom are outside";
  PaintSolidRect(c.dc.get(), {5, 5, 5, 9}, graphics::clRed);   // empty: nothing
  EXPECT_EQ(c.At(5, 5), 0xFFFFFFu);
  Canvas f(10, 10, 0xFFFFFFFF);
  PaintSolidFrame(f.dc.get(), {0, 0, 10, 10}, 1, 2, 3, 4, graphics::clBlue);
  EXPECT_EQ(f.At(5, 1), 0x0000FFu) << "top strip, 2 rows";
  EXPECT_EQ(f.At(5, 2), 0xFFFFFFu);
  EXPECT_EQ(f.At(0, 5), 0x0000FFu) << "left strip, 1 column";
  EXPECT_EQ(f.At(1, 5), 0xFFFFFFu);
  EXPECT_EQ(f.At(7, 4), 0x0000FFu) << "right strip, 3 columns";
  EXPECT_EQ(f.At(6, 4), 0xFFFFFFu);
  EXPECT_EQ(f.At(5, 6), 0x0000FFu) << "bottom strip, 4 rows";
  EXPECT_EQ(f.At(5, 5), 0xFFFFFFu);
}

TEST(Paint, TextPainterDrawsBlackGlyphsInsideItsRectOnly) {
  graphics::Bitmap mask(40, 20, graphics::PixelFormat::pf8bit);
  for (int i = 0; i < 256; ++i) mask.Palette().push_back(graphics::PaletteRgb(i, i, i));
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) mask.SetRawPixel(x, y, 255);
  Font font(::CreateFontW(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, L"Arial"));
  GdiTextPainter painter(font.get());
  painter.PaintText(mask, u"WW", {0, 0, 20, 20}, DT_LEFT | DT_TOP | DT_SINGLELINE);
  int dark_inside = 0, changed_outside = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 40; ++x) {
      const auto v = mask.RawPixel(x, y);
      if (x < 20 && v == 0) ++dark_inside;
      if (x >= 20 && v != 255) ++changed_outside;
    }
  }
  EXPECT_GT(dark_inside, 10);
  EXPECT_EQ(changed_outside, 0) << "DrawTextW clips nothing by itself, but the rect ends at 20";
}

TEST(Paint, PicturesBlendByTheirAlpha) {
  // A 2 x 1 picture: opaque green, then half-transparent blue, over red.
  graphics::Bitmap picture = graphics::NewBitmap32(2, 1);
  picture.SetRawPixel(0, 0, 0xFF00FF00);
  picture.SetRawPixel(1, 0, 0x800000FF);
  Canvas c(4, 1, 0xFFFF0000);
  DrawPicture(c.dc.get(), {1, 0, 3, 1}, picture);
  EXPECT_EQ(c.At(0, 0), 0xFF0000u) << "outside the rectangle";
  // channel := ((source - dest) * a + dest * 256) >> 8
  auto mix = [](int s, int d, int a) { return static_cast<std::uint32_t>(((s - d) * a + d * 256) >> 8) & 0xFF; };
  EXPECT_EQ(c.At(1, 0), mix(0, 255, 255) << 16 | mix(255, 0, 255) << 8 | mix(0, 0, 255));
  EXPECT_EQ(c.At(2, 0), mix(0, 255, 128) << 16 | mix(0, 0, 128) << 8 | mix(255, 0, 128));
  EXPECT_EQ(c.At(3, 0), 0xFF0000u);

  // Stretched: a 1 x 1 opaque picture fills the rectangle; a transparent one leaves it alone.
  graphics::Bitmap dot = graphics::NewBitmap32(1, 1);
  dot.SetRawPixel(0, 0, 0xFF0000FF);
  Canvas s(4, 4, 0xFFFFFFFF);
  DrawPicture(s.dc.get(), {0, 0, 3, 3}, dot);
  EXPECT_EQ(s.At(2, 2), 0x0000FFu);
  EXPECT_EQ(s.At(3, 3), 0xFFFFFFu);
  dot.SetRawPixel(0, 0, 0x000000FF);
  Canvas t(4, 4, 0xFFFFFFFF);
  DrawPicture(t.dc.get(), {0, 0, 3, 3}, dot);
  EXPECT_EQ(t.At(1, 1), 0xFFFFFFu);

  // Not 32-bit: copied as it is.
  graphics::Bitmap rgb(1, 1, graphics::PixelFormat::pf24bit);
  rgb.SetRawPixel(0, 0, 0xFF123456);
  Canvas u(2, 2, 0xFFFFFFFF);
  DrawPicture(u.dc.get(), {0, 0, 2, 2}, rgb);
  EXPECT_EQ(u.At(1, 1), 0x123456u);
}

}  // namespace
}  // namespace sapala::win
