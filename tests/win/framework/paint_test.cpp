// GDI painting over engine bitmaps: fills and frames, text through DrawTextW into a grey mask,
// and pictures drawn plain, blended by their alpha, and stretched.
#include "win/framework/paint.h"

#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "core/graphics/bitmap.h"
#include "win/framework/dib.h"
#include "win/framework/handles.h"

namespace sapala::win {
namespace {

// A 32-bit DIB canvas filled with one colour, selected into a memory DC.
struct Canvas {
  explicit Canvas(int w, int h, std::uint32_t fill)
      : bitmap((InstallDibSections(), graphics::NewBitmap32(w, h))) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) bitmap.SetRawPixel(x, y, fill);
    dc.reset(::CreateCompatibleDC(nullptr));
    selected.emplace(dc.get(), DibHandle(bitmap));
  }
  std::uint32_t At(int x, int y) {
    ::GdiFlush();
    return bitmap.RawPixel(x, y) & 0xFFFFFF;
  }
  graphics::Bitmap bitmap;
  MemoryDC dc;
  std::optional<SelectedObject> selected;
};

TEST(Paint, SolidRectAndFrame) {
  Canvas c(10, 10, 0xFFFFFFFF);
  PaintSolidRect(c.dc.get(), {1, 1, 3, 3}, graphics::clRed);
  EXPECT_EQ(c.At(1, 1), 0xFF0000u);
  EXPECT_EQ(c.At(3, 3), 0xFFFFFFu) << "right and bottom are outside";
  PaintSolidRect(c.dc.get(), {5, 5, 5, 9}, graphics::clRed);  // empty: nothing
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
  Font font(::CreateFontW(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0,
                          NONANTIALIASED_QUALITY, 0, L"Arial"));
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
  auto mix = [](int s, int d, int a) {
    return static_cast<std::uint32_t>(((s - d) * a + d * 256) >> 8) & 0xFF;
  };
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

// A pixel-buffer factory that makes DIB sections until allocation number g_fail_at (counted
// from 0 since g_made was reset) and fails from then on, as an exhausted system would.
int g_made = 0;
int g_fail_at = 0;
std::unique_ptr<graphics::PixelBuffer> FailingDibs(int width, int height,
                                                   graphics::PixelFormat format) {
  if (g_made++ >= g_fail_at) return nullptr;  // the Bitmap raises std::bad_alloc
  return MakeDibBuffer(width, height, format);
}

// Each allocation of reading a picture and widening it to 32 bits failing in turn: a clean
// std::bad_alloc every time, no section or DC left behind, and the picture once memory suffices.
TEST(Dib, AllocationFailuresGiveACleanErrorAndLeaveNothing) {
  // A 2 × 1 palette PNG: index 0 red, index 1 blue.
  const std::vector<std::uint8_t> png = {
      0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44,
      0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x08, 0x03, 0x00, 0x00, 0x00, 0xC3,
      0xFC, 0x8F, 0xB8, 0x00, 0x00, 0x00, 0x06, 0x50, 0x4C, 0x54, 0x45, 0xFF, 0x00, 0x00, 0x00,
      0x00, 0xFF, 0x6C, 0xA1, 0xFD, 0x8E, 0x00, 0x00, 0x00, 0x0B, 0x49, 0x44, 0x41, 0x54, 0x78,
      0x9C, 0x63, 0x60, 0x60, 0x04, 0x00, 0x00, 0x04, 0x00, 0x02, 0xBF, 0x7A, 0x3F, 0x4A, 0x00,
      0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
  std::optional<graphics::Bitmap> wide;
  for (g_fail_at = 0; g_fail_at < 8 && !wide; ++g_fail_at) {
    const HandleCensus census;
    g_made = 0;
    graphics::SetPixelBufferFactory(&FailingDibs);
    try {
      const graphics::Bitmap picture = LoadPicture(png.data(), png.size());
      wide = graphics::ConvertTo32(picture);
    } catch (const std::bad_alloc&) {
      EXPECT_FALSE(wide) << "case " << g_fail_at;
    }
    InstallDibSections();
    if (!wide) {
      EXPECT_EQ(census.Difference(), "") << "case " << g_fail_at;
    }
  }
  ASSERT_TRUE(wide) << "never got its memory";
  EXPECT_EQ(g_fail_at, 3) << "two allocations: the picture and its 32-bit copy";
  EXPECT_NE(DibHandle(*wide), nullptr);
  EXPECT_EQ(wide->RawPixel(0, 0) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(wide->RawPixel(1, 0) & 0xFFFFFF, 0x0000FFu);
}

}  // namespace
}  // namespace sapala::win
