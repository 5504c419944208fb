// The window region's cut: key pixels of a frame mask's corner pieces, placed at the corners of
// the window, one run per row.
#include "core/skin/form_region.h"

#include <gtest/gtest.h>

#include "paint_test_support.h"

namespace sapala::skin {
namespace {

using graphics::Rect;
using testing::AddImage;

TEST(CornerCutRects, KeyRunsOfTheCornersAtTheWindowCorners) {
  SkinTables t;
  const int i = AddImage(t, {"..ab....", ".cdefghi", "a..bklmn"}, 2, 0, {2, 1, 2, 1});
  const TsMaskData& m = t.Images[i];
  struct Case {
    int state;
    bool top, bottom;
    std::vector<Rect> want;
  } cases[] = {
      // Top-left "..", top-right (piece columns 2-3 of row 0) "ab": one run in the top-left.
      {0, true, false, {{10, 20, 12, 21}}},
      // Bottom row of frame 0 is "a..b": the left corner piece "a." has a run at x 1, the right
      // corner piece ".b" one at its first column (window x 110 - 2).
      {0, false, true, {{11, 49, 12, 50}, {108, 49, 109, 50}}},
      {0, true, true, {{10, 20, 12, 21}, {11, 49, 12, 50}, {108, 49, 109, 50}}},
      // Frame 1: top row "...." all key; bottom row "klmn" none.
      {1, true, true, {{10, 20, 12, 21}, {108, 20, 110, 21}}},
      // A state past the frames is limited to the last frame.
      {5, true, false, {{10, 20, 12, 21}, {108, 20, 110, 21}}},
  };
  int n = 0;
  for (const Case& c : cases) {
    const auto have = CornerCutRects(m, c.state, Rect{10, 20, 110, 50}, c.top, c.bottom);
    ASSERT_EQ(have.size(), c.want.size()) << "case " << n;
    for (std::size_t k = 0; k < have.size(); ++k) {
      EXPECT_EQ(have[k].left, c.want[k].left) << "case " << n << " run " << k;
      EXPECT_EQ(have[k].top, c.want[k].top) << "case " << n << " run " << k;
      EXPECT_EQ(have[k].right, c.want[k].right) << "case " << n << " run " << k;
      EXPECT_EQ(have[k].bottom, c.want[k].bottom) << "case " << n << " run " << k;
    }
    ++n;
  }
}

TEST(CornerCutRects, CornersNeverOverlapOnATinyWindowAndNothingWithoutAPicture) {
  SkinTables t;
  const int i = AddImage(t, {"....", "....", "...."}, 1, 0, {3, 1, 3, 1});
  // 4 wide: the left corner takes 2 columns, the right one the other 2 — four pixels, not six.
  const auto runs = CornerCutRects(t.Images[i], 0, Rect{0, 0, 4, 10}, true, false);
  int pixels = 0;
  for (const Rect& r : runs) pixels += r.width() * r.height();
  EXPECT_EQ(pixels, 4);
  TsMaskData bare = t.Images[i];
  bare.Image.reset();
  bare.Owner = nullptr;
  EXPECT_TRUE(CornerCutRects(bare, 0, Rect{0, 0, 40, 10}, true, true).empty());
}

}  // namespace
}  // namespace sapala::skin
