// The effect label's shadow on tiny masks, byte for byte: margins, stamping and the in-place
// four-neighbour blur, the grow-only buffer, and both compositions.
#include "core/controls/label_shadow.h"

#include <gtest/gtest.h>

#include <vector>

namespace sapala::controls {
namespace {

graphics::Bitmap Mask(int w, int h, const std::vector<std::pair<int, int>>& text) {
  graphics::Bitmap m = graphics::NewBitmap32(w, h);
  for (auto [x, y] : text) m.Row32(y)[x] = 0xFFFFFFFF;
  return m;
}

std::vector<int> Cells(const ShadowGrid& g) {
  std::vector<int> v;
  for (int y = 0; y < g.Height(); ++y)
    for (int x = 0; x < g.Width(); ++x) v.push_back(g.At(x, y));
  return v;
}

TEST(LabelShadow, Margins) {
  struct Case {
    int d, b, tl, br, growth;
  };
  const Case cases[] = {
      {1, 4, -3, 5, 8},  // the defaults: auto size adds 8
      {0, 0, 0, 0, 0},     {3, 0, 0, 3, 3}, {-2, 4, -6, 2, 8},
      {-6, 4, -10, 0, 10},  // distance beyond the blur, up and left: TL is the larger margin
      {5, 2, 0, 7, 7},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto m = MarginsFor(cases[i].d, cases[i].b);
    EXPECT_EQ(m.top_left, cases[i].tl) << "case " << i;
    EXPECT_EQ(m.bottom_right, cases[i].br) << "case " << i;
    EXPECT_EQ(m.Growth(), cases[i].growth) << "case " << i;
  }
  // Extreme stored values do not overflow.
  EXPECT_LE(MarginsFor(INT_MIN, INT_MAX).top_left, 0);
  EXPECT_GE(MarginsFor(INT_MAX, INT_MAX).bottom_right, 0);
}

TEST(LabelShadow, GridByteForByte) {
  struct Case {
    int w, h;
    std::vector<std::pair<int, int>> text;
    int passes;
    std::vector<int> want;
  };
  const Case cases[] = {
      // One row, text in the middle. Pass 1: left cell sees the stamped 255 on its right (63),
      // the text cell then sees its new left neighbour (63 / 4 = 15), the right one 15 / 4.
      {3, 1, {{1, 0}}, 1, {63, 15, 3}},
      // Pass 2 stamps again first.
      {3, 1, {{1, 0}}, 2, {63, 16, 4}},
      // A lone text pixel in the top-left corner is averaged away before any neighbour reads it.
      {2, 2, {{0, 0}}, 1, {0, 0, 0, 0}},
      // Text in the bottom-right corner spreads up and left only through values not yet updated.
      {2, 2, {{1, 1}}, 1, {0, 63, 63, 31}},
      {3, 1, {{1, 0}}, 0, {0, 0, 0}},
      {2, 1, {}, 3, {0, 0}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    ShadowGrid g;
    g.Build(Mask(c.w, c.h, c.text), c.passes);
    EXPECT_EQ(Cells(g), c.want) << "case " << i;
  }
}

TEST(LabelShadow, BufferOnlyGrowsAndIsClearedEachTime) {
  ShadowGrid g;
  g.Build(Mask(10, 4, {{5, 2}}), 4);
  EXPECT_EQ(g.Capacity(), 2u * 12 * 6);
  g.Build(Mask(2, 1, {}), 4);  // smaller: the buffer stays, the old values are gone
  EXPECT_EQ(g.Capacity(), 2u * 12 * 6);
  EXPECT_EQ(Cells(g), (std::vector<int>{0, 0}));
  g.Build(graphics::Bitmap(), 2);  // empty mask
  EXPECT_EQ(g.Width(), 0);
  g.Build(Mask(20, 2, {}), 1);
  EXPECT_EQ(g.Capacity(), 2u * 22 * 4);
}

TEST(LabelShadow, Compose) {
  ShadowGrid g;
  g.Build(Mask(3, 1, {{1, 0}}), 1);  // a = 63, 15, 3
  const TColor maroon = 0x000080;    // shadow: red 128
  // Over what lay under the label: pixels B, G, R = 200, 100, 0 with alpha 0x7F.
  graphics::Bitmap m = graphics::NewBitmap32(3, 1);
  for (int x = 0; x < 3; ++x) m.Row32(0)[x] = 0x7F0064C8;
  ComposeShadow(m, g, maroon, true, graphics::clWhite);
  // x = 0: B 200*192/256 = 150, G 100*192/256 = 75, R (0*192 + 128*63)/256 = 31.
  EXPECT_EQ(m.Row32(0)[0], 0x7F1F4B96u);
  // x = 2, a = 3: B 200*252/256 = 196, G 98, R 384/256 = 1.
  EXPECT_EQ(m.Row32(0)[2], 0x7F0162C4u);

  // Over the label's own colour (white): the mask's pixels do not count.
  graphics::Bitmap o = graphics::NewBitmap32(3, 1);
  o.Row32(0)[1] = 0x12345678;
  ComposeShadow(o, g, maroon, false, graphics::clWhite);
  // x = 0: B, G (192*255)/256 = 191, R (128*63 + 192*255)/256 = 222; alpha untouched (0).
  EXPECT_EQ(o.Row32(0)[0], 0x00DEBFBFu);
  // x = 1, a = 15: B, G 240*255/256 = 239, R (1920 + 61200)/256 = 246; alpha 0x12 kept.
  EXPECT_EQ(o.Row32(0)[1], 0x12F6EFEFu);
}

}  // namespace
}  // namespace sapala::controls
