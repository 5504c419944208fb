// The contact sheet's label font: text is clipped at every edge of the bitmap (nothing written
// past a row's end into the next row), lower case draws as upper case, and a character the font
// lacks shows as a hollow box rather than nothing.
#include "tools/skinsheet/label_font.h"

#include <gtest/gtest.h>

namespace sapala::skinsheet {
namespace {

int Set(const graphics::Bitmap& b) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) n += b.Row32(y)[x] != 0 ? 1 : 0;
  }
  return n;
}

TEST(SkinSheetFont, ClipsAtEveryEdge) {
  // "I" has a full top row: drawn at x = 8 in a 10-pixel-wide bitmap, its columns 10..12 must
  // not wrap into the start of the next row.
  graphics::Bitmap b = graphics::NewBitmap32(10, 9);
  DrawLabel(b, 8, 1, "I", graphics::clWhite);
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(b.Row32(y)[x], 0u) << "case " << x << "," << y;
  }
  EXPECT_EQ(b.Row32(1)[8], 0xFFFFFFFFu);
  // Off the top and the left: only the part inside is drawn.
  graphics::Bitmap c = graphics::NewBitmap32(4, 4);
  DrawLabel(c, -2, -5, "H", graphics::RgbColor(1, 2, 3));
  // Rows 5 and 6 of "H" are "#   #": column 0 falls at x = -2 (cut), column 4 at x = 2.
  EXPECT_EQ(c.Row32(0)[2], 0xFF010203u);
  EXPECT_EQ(c.Row32(1)[2], 0xFF010203u);
  EXPECT_EQ(Set(c), 2);
}

TEST(SkinSheetFont, CaseAndMissingCharacters) {
  graphics::Bitmap lower = graphics::NewBitmap32(LabelWidth("ab"), kGlyphHeight);
  graphics::Bitmap upper = graphics::NewBitmap32(LabelWidth("AB"), kGlyphHeight);
  DrawLabel(lower, 0, 0, "ab", graphics::clWhite);
  DrawLabel(upper, 0, 0, "AB", graphics::clWhite);
  for (int y = 0; y < kGlyphHeight; ++y) {
    for (int x = 0; x < upper.Width(); ++x) EXPECT_EQ(lower.Row32(y)[x], upper.Row32(y)[x]);
  }
  graphics::Bitmap missing = graphics::NewBitmap32(kGlyphWidth, kGlyphHeight);
  DrawLabel(missing, 0, 0, "#", graphics::clWhite);
  EXPECT_EQ(Set(missing), 2 * kGlyphWidth + 2 * (kGlyphHeight - 2));
  EXPECT_EQ(LabelWidth(""), 0);
  EXPECT_EQ(LabelWidth("AB"), 2 * kAdvance - 1);
}

}  // namespace
}  // namespace sapala::skinsheet
