// The extended border's picture: the form's place in it, the ring drawn from the shadow
// picture, and the pixel composition the ring uses.
#include "core/skin/ext_border.h"

#include <gtest/gtest.h>

#include "core/skin/skin_tables.h"

namespace sapala::skin {
namespace {

using graphics::Bitmap;
using graphics::Rect;

TEST(ExtBorder, ComposingAPixelOverAnother) {
  struct Case {
    std::uint32_t src, dst, want;
  };
  const Case cases[] = {
      {0xFF102030u, 0xFFFFFFFFu, 0xFF102030u},  // opaque source covers
      {0x00102030u, 0xFF405060u, 0xFF405060u},  // transparent source leaves the pixel
      // Over nothing, a half-transparent pixel keeps its colour (it is not premultiplied).
      {0x80204060u, 0x00000000u, 0x80204060u},
      {0x80FFFFFFu, 0x00123456u, 0x80FFFFFFu},
      // Half white over opaque black: half grey, opaque.
      {0x80FFFFFFu, 0xFF000000u, 0xFF808080u},
      // Half white over half black: alpha 0.75, colour two thirds white.
      {0x80FFFFFFu, 0x80000000u, 0xC0AAAAAAu},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const std::uint32_t have = ComposePixelOver(cases[i].src, cases[i].dst);
    EXPECT_EQ(have, cases[i].want) << "case " << i << ": have " << std::hex << have;
  }
}

TEST(ExtBorder, TheFormSitsInsideTheMargins) {
  BorderWidths e{11, 10, 12, 13};
  const ExtBorderFrame f = ExtBorderFrameOf(300, 200, e);
  EXPECT_EQ(f.Width, 323);
  EXPECT_EQ(f.Height, 223);
  EXPECT_EQ(f.Form, (Rect{11, 10, 311, 210}));
  // No extended borders: the picture is the window.
  const ExtBorderFrame none = ExtBorderFrameOf(300, 200, BorderWidths{});
  EXPECT_EQ(none.Form, (Rect{0, 0, 300, 200}));
  EXPECT_EQ(none.Width, 300);
  // Margins from a broken skin never move the form out of the picture.
  e.left = -7;
  EXPECT_EQ(ExtBorderFrameOf(300, 200, e).Form.left, 0);
  SkinTables t;
  t.ExtBorders.Left = -3;
  t.ExtBorders.Bottom = 12;
  EXPECT_EQ(ExtBorderMargins(t), (BorderWidths{0, 0, 0, 12}));
}

// A 6 x 6 picture cut 2 pixels from each side: each of the nine pieces has its own colour.
Bitmap NinePiecePicture() {
  Bitmap p = graphics::NewBitmap32(6, 6);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 6; ++x) {
      const int col = x < 2 ? 0 : x < 4 ? 1 : 2;
      const int row = y < 2 ? 0 : y < 4 ? 1 : 2;
      p.Row32(y)[x] = 0xFF000000u | static_cast<std::uint32_t>(row * 3 + col + 1);
    }
  }
  return p;
}

TEST(ExtBorder, TheRingStretchesTheEdgesAndLeavesTheCentre) {
  Bitmap dest = graphics::NewBitmap32(20, 14);
  for (int y = 0; y < 14; ++y) std::fill_n(dest.Row32(y), 20, 0xFF777777u);
  PaintExtBorderRing(dest, NinePiecePicture(), {2, 2, 2, 2});
  auto at = [&](int x, int y) { return dest.Row32(y)[x]; };
  // Corners at their own size, edges stretched along the side, the centre untouched.
  const struct {
    int x, y;
    std::uint32_t want;
  } probes[] = {
      {0, 0, 0xFF000001u},   {1, 1, 0xFF000001u},  {18, 0, 0xFF000003u}, {19, 13, 0xFF000009u},
      {0, 12, 0xFF000007u},  {2, 0, 0xFF000002u},  {17, 1, 0xFF000002u}, {10, 13, 0xFF000008u},
      {0, 7, 0xFF000004u},   {19, 2, 0xFF000006u}, {2, 2, 0xFF777777u},  {10, 7, 0xFF777777u},
      {17, 11, 0xFF777777u},
  };
  for (std::size_t i = 0; i < std::size(probes); ++i) {
    EXPECT_EQ(at(probes[i].x, probes[i].y), probes[i].want)
        << "probe " << i << " at " << probes[i].x << "," << probes[i].y;
  }
}

TEST(ExtBorder, TheBuiltInShadowIsCutWhereItsPlateauBegins) {
  SkinTables t;
  t.ExtBorders.Active = graphics::NewBitmap32(32, 32);
  t.ExtBorders.Left = t.ExtBorders.Top = t.ExtBorders.Right = t.ExtBorders.Bottom = 12;
  EXPECT_EQ(ExtBorderSlices(t), (BorderWidths{11, 10, 11, 12}));
  // A picture too small for those cuts is cut to fit.
  t.ExtBorders.Active = graphics::NewBitmap32(8, 8);
  const BorderWidths small = ExtBorderSlices(t);
  EXPECT_LE(small.left + small.right, 8);
  EXPECT_LE(small.top + small.bottom, 8);
}

}  // namespace
}  // namespace sapala::skin
