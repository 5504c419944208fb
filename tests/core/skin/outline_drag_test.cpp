// Where the outline of a move or size drag lies for a cursor position.
#include "core/skin/outline_drag.h"

#include <gtest/gtest.h>

namespace sapala::skin {
namespace {

using graphics::Rect;

TEST(OutlineDrag, EdgesFollowTheCursorWithinTheTrackLimits) {
  // A 300 x 200 window at (100, 80); the drag starts at (150, 90) in every case.
  struct Case {
    int hit;
    int dx, dy;
    int minW, minH, maxW, maxH;
    Rect want;
  };
  const Case cases[] = {
      {2, 40, -30, 0, 0, 0, 0, {140, 50, 440, 250}},        // caption: moved, same size
      {2, 40, -30, 500, 500, 10, 10, {140, 50, 440, 250}},  // a move ignores the limits
      {10, -20, 33, 0, 0, 0, 0, {80, 80, 400, 280}},        // left: only the left edge
      {11, 25, 5, 0, 0, 0, 0, {100, 80, 425, 280}},         // right
      {12, 7, -10, 0, 0, 0, 0, {100, 70, 400, 280}},        // top
      {15, 7, 12, 0, 0, 0, 0, {100, 80, 400, 292}},         // bottom
      {13, -5, -6, 0, 0, 0, 0, {95, 74, 400, 280}},         // top-left
      {14, 5, -6, 0, 0, 0, 0, {100, 74, 405, 280}},         // top-right
      {16, -5, 6, 0, 0, 0, 0, {95, 80, 400, 286}},          // bottom-left
      {17, 5, 6, 0, 0, 0, 0, {100, 80, 405, 286}},          // bottom-right
      // The left edge dragged past the minimum stops there; the right edge stays.
      {10, 250, 0, 120, 0, 0, 0, {280, 80, 400, 280}},
      // Past the opposite edge without a minimum: nothing left, never inside out.
      {11, -400, 0, 0, 0, 0, 0, {100, 80, 100, 280}},
      {12, 0, 500, -5, -5, 0, 0, {100, 280, 400, 280}},
      // The maximum holds the far edge back.
      {17, 300, 300, 0, 0, 350, 230, {100, 80, 450, 310}},
      // A maximum below the minimum: the minimum wins.
      {11, 100, 0, 320, 0, 310, 0, {100, 80, 420, 280}},
      // Client, nowhere, system menu: the window stays.
      {1, 50, 50, 0, 0, 0, 0, {100, 80, 400, 280}},
      {3, 50, 50, 0, 0, 0, 0, {100, 80, 400, 280}},
      {18, 50, 50, 0, 0, 0, 0, {100, 80, 400, 280}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    OutlineDragInput in;
    in.HitCode = c.hit;
    in.Start = {100, 80, 400, 280};
    in.Anchor = {150, 90};
    in.Cursor = {150 + c.dx, 90 + c.dy};
    in.MinWidth = c.minW;
    in.MinHeight = c.minH;
    in.MaxWidth = c.maxW;
    in.MaxHeight = c.maxH;
    const Rect have = OutlineDragRect(in);
    EXPECT_EQ(have, c.want) << "case " << i << ": have " << have.left << "," << have.top << ","
                            << have.right << "," << have.bottom;
  }
}

}  // namespace
}  // namespace sapala::skin
