// The built-in title icon: which size an icon rectangle gets, and the picture at both sizes.
#include "core/skin/title_icon.h"

#include <gtest/gtest.h>

namespace sapala::skin {
namespace {

TEST(TitleIcon, TheLargerPictureOnlyAboveSixteenPixels) {
  const struct {
    int height, want;
  } cases[] = {{1, 16}, {8, 16}, {16, 16}, {17, 32}, {32, 32}, {48, 32}};
  int i = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(BuiltInTitleIconSize(c.height), c.want) << "case " << i;
    ++i;
  }
}

TEST(TitleIcon, EachSizeIsDrawnWholeWithAlpha) {
  const struct { int size, want; } cases[] = {{16, 16}, {32, 32}, {4, 8}, {1000, 256}};
  int i = 0;
  for (const auto& c : cases) {
    const graphics::Bitmap b = BuiltInTitleIconPicture(c.size);
    ASSERT_EQ(b.Width(), c.want) << "case " << i;
    ASSERT_EQ(b.Height(), c.want) << "case " << i;
    int opaque = 0, clear = 0;
    for (int y = 0; y < b.Height(); ++y) {
      for (int x = 0; x < b.Width(); ++x) {
        const std::uint32_t a = b.PixelWord(x, y) >> 24;
        EXPECT_TRUE(a == 0 || a == 255) << "case " << i << " at " << x << "," << y;
        (a == 255 ? opaque : clear)++;
      }
    }
    // The corners stay clear; the book covers most of the square at every size.
    EXPECT_EQ(b.PixelWord(0, 0) >> 24, 0u) << "case " << i;
    EXPECT_EQ(b.PixelWord(c.want - 1, 0) >> 24, 0u) << "case " << i;
    EXPECT_EQ(b.PixelWord(c.want / 2, c.want / 2) >> 24, 255u) << "case " << i;
    EXPECT_GT(opaque, c.want * c.want / 2) << "case " << i;
    EXPECT_GT(clear, 0) << "case " << i;
  }
  // Drawn at the size, not scaled: the large book has its lines of writing too.
  const graphics::Bitmap small = BuiltInTitleIconPicture(16);
  const graphics::Bitmap large = BuiltInTitleIconPicture(32);
  int smallColours = 0, largeColours = 0;
  for (int y = 0; y < 16; ++y) {
    smallColours += small.PixelWord(4, y) != small.PixelWord(4, 0);
  }
  for (int y = 0; y < 32; ++y) {
    largeColours += large.PixelWord(8, y) != large.PixelWord(8, 0);
  }
  EXPECT_GT(smallColours, 0);
  EXPECT_GT(largeColours, smallColours);
}

}  // namespace
}  // namespace sapala::skin
