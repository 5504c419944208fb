// The skin generator's canvas: shapes aligned to pixels cover exactly their pixels, the mask
// row blends like the alpha it stands for through the engine's masked-copy rule, keys stay keys
// and drawn pixels never turn into keys.
#include "tools/skingen/paint.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/graphics/color.h"

namespace sapala::skingen {
namespace {

TEST(SkinGenPaint, AlignedShapesCoverExactlyTheirPixels) {
  Canvas c(6, 5);
  // A one-pixel outline of the rectangle 1..5 × 1..4: exactly its border pixels, fully.
  c.Draw(Outline(RoundRect(1, 1, 5, 4, 0), 1), Solid(Hex(0x102030)));
  const char* want[] = {"......", ".####.", ".#..#.", ".####.", "......"};
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 6; ++x) {
      const float a = c.Alpha(x, y);
      EXPECT_FLOAT_EQ(a, want[y][x] == '#' ? 1.0f : 0.0f) << "case " << x << "," << y;
    }
  }
  // A round corner of radius 4 leaves its corner pixel bare and the next one on the diagonal
  // partly covered.
  Canvas r(8, 8);
  r.Draw(RoundRect(0, 0, 8, 8, 4), Solid(Hex(0xFFFFFF)));
  EXPECT_EQ(r.Alpha(0, 0), 0.0f);
  EXPECT_GT(r.Alpha(1, 1), 0.0f);
  EXPECT_LT(r.Alpha(1, 1), 1.0f);
  EXPECT_FLOAT_EQ(r.Alpha(4, 4), 1.0f);
}

TEST(SkinGenPaint, MaskRowBlendsLikeItsAlpha) {
  // Every opacity a drawn pixel can have, composited by the engine's rule
  // dest := ((dest − picture) × mask + picture × 256) >> 8, lands within one level of
  // picture × a + dest × (1 − a).
  for (int step = 0; step <= 16; ++step) {
    const float a = static_cast<float>(step) / 16;
    Canvas c(1, 1);
    c.Draw(RoundRect(0, 0, 1, 1, 0), Solid(Hex(0xC08040)), a);
    const graphics::Bitmap b = ToPictureAndMask(c);
    ASSERT_EQ(b.Height(), 2);
    const std::uint32_t picture = b.Row32(0)[0], mask = b.Row32(1)[0];
    const int m = static_cast<int>(mask & 0xFF);
    EXPECT_EQ((mask >> 8) & 0xFF, mask & 0xFF) << "case " << step << ": the mask is grey";
    for (int dest : {0, 77, 255}) {
      for (int shift : {0, 8, 16}) {
        const int p = static_cast<int>((picture >> shift) & 0xFF);
        const int engine = ((dest - p) * m + p * 256) >> 8;
        const float want = static_cast<float>(p) * a + static_cast<float>(dest) * (1 - a);
        EXPECT_LE(std::abs(static_cast<float>(engine) - want), 1.5f)
            << "case " << step << " dest " << dest << ": have " << engine << ", want " << want;
      }
    }
  }
}

TEST(SkinGenPaint, KeysAndColours) {
  Canvas c(3, 1);
  c.Draw(RoundRect(0, 0, 3, 1, 0), Solid(Hex(0xFF00FF)));  // fuchsia drawn on purpose
  c.SetKey(2, 0);
  const graphics::Bitmap pm = ToPictureAndMask(c);
  EXPECT_NE(pm.Row32(0)[0] & 0xFFFFFFu, 0xFF00FFu) << "a drawn pixel must not read as the key";
  EXPECT_EQ(pm.Row32(0)[2], graphics::kKeyPixel);
  EXPECT_EQ(pm.Row32(1)[2] & 0xFF, 0xFFu) << "a key keeps what lies under it";
  const graphics::Bitmap opaque = ToOpaque(c, Hex(0x000000));
  EXPECT_EQ(opaque.Row32(0)[2], graphics::kKeyPixel);
  EXPECT_EQ(opaque.Row32(0)[1] >> 24, 0xFFu);

  // KeyOutside keys what a shape covers less than half and clears what was drawn there.
  Canvas k(4, 1);
  k.Draw(RoundRect(0, 0, 4, 1, 0), Solid(Hex(0x123456)));
  k.KeyOutside(RoundRect(0, 0, 1.2f, 1, 0));  // a quarter of pixel 1
  EXPECT_FALSE(k.IsKey(0, 0));
  EXPECT_TRUE(k.IsKey(1, 0));
  EXPECT_EQ(k.Alpha(1, 0), 0.0f);

  // Straight alpha for PNG pictures: colour kept, alpha scaled, nothing where nothing is drawn.
  Canvas g(2, 1);
  g.Draw(RoundRect(0, 0, 1, 1, 0), Solid(Hex(0x204080)), 0.5f);
  const graphics::Bitmap rgba = ToRgba(g);
  EXPECT_EQ(rgba.Row32(0)[0], 0x80204080u);
  EXPECT_EQ(rgba.Row32(0)[1], 0u);
}

TEST(SkinGenPaint, TransposedSwapsTheAxes) {
  Canvas c(3, 2);
  c.Draw(RoundRect(2, 0, 3, 1, 0), Solid(Hex(0xFFFFFF)));
  c.SetKey(0, 1);
  const Canvas t = c.Transposed();
  ASSERT_EQ(t.Width(), 2);
  ASSERT_EQ(t.Height(), 3);
  EXPECT_FLOAT_EQ(t.Alpha(0, 2), 1.0f);
  EXPECT_TRUE(t.IsKey(1, 0));
}

}  // namespace
}  // namespace sapala::skingen
