// Snapping a moving form to the work-area edges.
#include "core/skin/screen_snap.h"

#include <gtest/gtest.h>

namespace sapala::skin {
namespace {

using graphics::Point;

TEST(ScreenSnap, WithinTheBufferOnly) {
  const graphics::Rect work{0, 0, 1024, 740};
  const SnapSettings on{true, 10};
  struct Case {
    Point pos;
    int shadow;
    Point want;
  };
  // A 300 × 200 form.
  const Case cases[] = {
      {{9, 100}, 0, {0, 100}},      {{-9, 100}, 0, {0, 100}},    {{10, 100}, 0, {10, 100}},
      {{100, 5}, 0, {100, 0}},      {{720, 100}, 0, {724, 100}}, {{714, 100}, 0, {714, 100}},
      {{100, 535}, 0, {100, 540}},  {{728, 545}, 0, {724, 540}}, {{20, 100}, 12, {12, 100}},
      {{705, 100}, 12, {712, 100}},
  };
  for (const Case& c : cases) {
    const Point have = SnapToWorkArea(on, c.pos, 300, 200, work, c.shadow);
    EXPECT_EQ(have, c.want) << "from " << c.pos.x << "," << c.pos.y << " shadow " << c.shadow;
  }
  // A form wider than the buffer allows snaps both ways: the left edge wins.
  EXPECT_EQ(SnapToWorkArea(on, {3, 3}, 1020, 738, work, 0), (Point{0, 0}));
}

TEST(ScreenSnap, OffByDefault) {
  const SnapSettings defaults;
  EXPECT_FALSE(defaults.ScreenSnap);
  EXPECT_EQ(defaults.SnapBuffer, 10);
  EXPECT_EQ(SnapToWorkArea(defaults, {3, 4}, 300, 200, {0, 0, 1024, 740}, 0), (Point{3, 4}));
}

}  // namespace
}  // namespace sapala::skin
