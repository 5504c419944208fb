// The glow picture: size from the control and the image's borders, transparent inside, cut at
// the hidden sides, and the window position.
#include "core/skin/glow_picture.h"

#include <gtest/gtest.h>

#include "paint_test_support.h"

namespace sapala::skin {
namespace {

using graphics::Rect;

struct Glow {
  SkinTables t;
  int image = -1;
  Glow() {
    // 6 x 6 glow image, borders 3: a ring of alpha 128 with a transparent centre (no bit 4).
    image = testing::AddImage(t, {"aaaaaa", "aaaaaa", "aaaaaa", "aaaaaa", "aaaaaa", "aaaaaa"}, 1, 0,
                              {3, 3, 3, 3}, 0, 0, "BUTTON", "GLOW0");
    graphics::Bitmap& pic = *t.Images[static_cast<std::size_t>(image)].Image;
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 6; ++x) pic.Row32(y)[x] = 0x80FFFFFFu;
    }
  }
};

TEST(GlowPicture, SizePositionAndInside) {
  Glow g;
  EXPECT_EQ(FindGlowImage(g.t, "BUTTON", "GLOW"), g.image);
  EXPECT_EQ(FindGlowImage(g.t, "SPEEDBUTTON", "GLOW"), -1);  // exact: no parent chain
  EXPECT_EQ(FindGlowImage(g.t, "", "GLOW"), -1);
  // Control 20 x 10 at (100, 50), margin 1: 20 + 3 + 3 − 2 = 24 by 14, at (98, 48).
  const GlowPicture p = BuildGlowPicture(g.t, g.image, {100, 50, 120, 60}, {0, 0, 20, 10}, 1);
  ASSERT_EQ(p.Picture.Width(), 24);
  ASSERT_EQ(p.Picture.Height(), 14);
  EXPECT_EQ(p.Position, (graphics::Point{98, 48}));
  EXPECT_EQ(p.Picture.Row32(0)[0], 0x80FFFFFFu);  // ring, not premultiplied
  EXPECT_EQ(p.Picture.Row32(7)[12], 0u);          // inside stays transparent black
  EXPECT_EQ(p.Picture.Row32(13)[23], 0x80FFFFFFu);
  EXPECT_TRUE(BuildGlowPicture(g.t, -1, {0, 0, 9, 9}, {0, 0, 9, 9}, 0).Picture.Empty());
}

TEST(GlowPicture, CutAtTheHiddenSides) {
  Glow g;
  // Left half hidden: visible columns 10..19 of a 20 x 10 control.
  GlowPicture p = BuildGlowPicture(g.t, g.image, {100, 50, 120, 60}, {10, 0, 20, 10}, 1);
  // cl = 3 + 10 − 1 = 12; cr = 0 (visible to the right edge): 24 − 12 = 12 wide.
  EXPECT_EQ(p.Picture.Width(), 12);
  EXPECT_EQ(p.Picture.Height(), 14);
  EXPECT_EQ(p.Position, (graphics::Point{110, 48}));
  // Bottom hidden: visible rows 0..3. cb = 10 + 3 − 4 − 1 = 8.
  p = BuildGlowPicture(g.t, g.image, {100, 50, 120, 60}, {0, 0, 20, 4}, 1);
  EXPECT_EQ(p.Picture.Width(), 24);
  EXPECT_EQ(p.Picture.Height(), 6);
  EXPECT_EQ(p.Position, (graphics::Point{98, 48}));
  EXPECT_EQ(p.Picture.Row32(5)[12], 0u);  // the cut runs through the transparent inside
}

}  // namespace
}  // namespace sapala::skin
