// Rect arithmetic and the frame strips of PaintSolidFrame.
#include "core/graphics/geometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace sapala::graphics {
namespace {

TEST(Geometry, RectOperations) {
  const Rect r{10, 20, 30, 25};
  EXPECT_EQ(r.width(), 20);
  EXPECT_EQ(r.height(), 5);
  EXPECT_TRUE(r.contains({10, 20}));
  EXPECT_FALSE(r.contains({30, 20}));  // half-open
  EXPECT_EQ(r.offset(-10, 5), (Rect{0, 25, 20, 30}));
  EXPECT_EQ(r.inflate(2, -1), (Rect{8, 21, 32, 24}));
  EXPECT_EQ(r.intersect({25, 0, 100, 22}), (Rect{25, 20, 30, 22}));
  EXPECT_EQ(r.intersect({30, 0, 100, 100}), Rect{});  // touching edges do not overlap
  EXPECT_TRUE((Rect{5, 5, 5, 9}).empty());
  EXPECT_TRUE(r.inflate(-11, 0).empty());
}

TEST(Geometry, FrameStripsCoverTheBorderOnce) {
  const Rect r{0, 0, 10, 8};
  const auto strips = FrameStrips(r, 2, 1, 3, 2);
  EXPECT_EQ(strips[0], (Rect{0, 0, 10, 1}));  // top
  EXPECT_EQ(strips[1], (Rect{0, 1, 2, 8}));   // left, below the top
  EXPECT_EQ(strips[2], (Rect{2, 6, 10, 8}));  // bottom, right of the left strip
  EXPECT_EQ(strips[3], (Rect{7, 1, 10, 6}));  // right, between top and bottom
  // Every border pixel is painted exactly once, the inside never.
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 10; ++x) {
      int count = 0;
      for (const Rect& s : strips) count += s.contains({x, y}) ? 1 : 0;
      const bool border = x < 2 || x >= 7 || y < 1 || y >= 6;
      EXPECT_EQ(count, border ? 1 : 0) << "case " << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace sapala::graphics
