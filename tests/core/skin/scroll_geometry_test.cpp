// Scroll-bar geometry: MulDiv rounding, thumb length and offset, short bars, hit tests, the
// position a dragged thumb gives, and the space and rectangles of the two bars.
#include "core/skin/scroll_geometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace sapala::skin {
namespace {

TEST(ScrollGeometry, MulDivRoundsHalfAwayFromZeroAndFailsLikeThePlatform) {
  struct Case {
    int a, b, c, want;
  } cases[] = {
      {7, 3, 2, 11}, {-7, 3, 2, -11},     {5, -3, 2, -8},           {10, 66, 100, 7},
      {1, 1, 0, -1}, {INT_MAX, 2, 1, -1}, {INT_MAX, 2, 2, INT_MAX}, {-6, 1, -4, 2},
  };
  int n = 0;
  for (const Case& k : cases) {
    EXPECT_EQ(MulDivRound(k.a, k.b, k.c), k.want) << "case " << n;
    ++n;
  }
}

TEST(ScrollGeometry, ThumbLengthAndOffset) {
  // A 100-pixel bar from 0 with 17-pixel arrows: a 66-pixel track from 17.
  struct Case {
    ScrollRange range;
    int thumbStart, thumbLength;
  } cases[] = {
      {{0, 99, 10, 0}, 17, 10},             // MulDiv(10, 66, 100) = 7, raised to the minimum 10
      {{0, 99, 10, 90}, 73, 10},            // the last position puts the thumb at the track's end
      {{0, 99, 0, 99}, 66, 17},             // no page: the thumb is as long as an arrow
      {{0, 9, 5, 1}, 24, 33},               // MulDiv(1, 33, 5) = 6.6 rounds to 7
      {{0, 9, 5, 100}, 50, 33},             // a position past the end is clamped to the track
      {{0, 9, 5, -40}, 17, 33},             // and one before the start too
      {{10, 109, 10, 100}, 73, 10},         // a range that does not start at 0
      {{INT_MIN, INT_MAX, 10, 0}, 17, 17},  // a range too wide for a page: arrow-long thumb
  };
  int n = 0;
  for (const Case& k : cases) {
    const ScrollBarLayout bar = LayoutScrollBar(0, 100, 17, k.range);
    EXPECT_TRUE(bar.HasThumb) << "case " << n;
    EXPECT_EQ(bar.ThumbStart, k.thumbStart) << "case " << n;
    EXPECT_EQ(bar.ThumbLength, k.thumbLength) << "case " << n;
    ++n;
  }
}

TEST(ScrollGeometry, ShortBarsGetHalfArrowsAndNoThumb) {
  struct Case {
    int length, arrow;
    bool thumb;
  } cases[] = {{30, 15, false}, {34, 17, false}, {35, 17, false}, {60, 17, true}};
  for (const Case& k : cases) {
    const ScrollBarLayout bar = LayoutScrollBar(5, k.length, 17, {0, 99, 10, 0});
    EXPECT_EQ(bar.Arrow, k.arrow) << "length " << k.length;
    EXPECT_EQ(bar.HasThumb, k.thumb) << "length " << k.length;
  }
  // A 35-pixel bar has a one-pixel track: no thumb fits, so a click on it does nothing.
  const ScrollBarLayout bar = LayoutScrollBar(0, 35, 17, {0, 99, 10, 0});
  EXPECT_EQ(ScrollHitTest(bar, 17), kScrollNone);
}

TEST(ScrollGeometry, HitTestAlongTheBar) {
  const ScrollBarLayout bar = LayoutScrollBar(10, 100, 17, {0, 9, 5, 1});  // thumb 34..66
  struct Case {
    int along;
    ScrollElement want;
  } cases[] = {{9, kScrollNone},       {10, kScrollFirstArrow}, {26, kScrollFirstArrow},
               {27, kScrollPageFirst}, {33, kScrollPageFirst},  {34, kScrollThumb},
               {66, kScrollThumb},     {67, kScrollPageLast},   {92, kScrollPageLast},
               {93, kScrollLastArrow}, {109, kScrollLastArrow}, {110, kScrollNone}};
  for (const Case& k : cases) EXPECT_EQ(ScrollHitTest(bar, k.along), k.want) << "at " << k.along;
  const ScrollBarLayout halves = LayoutScrollBar(0, 30, 17, {0, 9, 5, 5});
  EXPECT_EQ(ScrollHitTest(halves, 14), kScrollFirstArrow);
  EXPECT_EQ(ScrollHitTest(halves, 15), kScrollLastArrow);
}

TEST(ScrollGeometry, DraggedThumbStaysInTheTrackAndGivesPositions) {
  const ScrollRange range{0, 99, 10, 0};
  const ScrollBarLayout bar = LayoutScrollBar(0, 100, 17, range);
  struct Case {
    int wanted, start, pos;
  } cases[] = {{-20, 17, 0}, {17, 17, 0}, {45, 45, 45}, {73, 73, 90}, {200, 73, 90}};
  for (const Case& k : cases) {
    const int start = ClampThumbStart(bar, k.wanted);
    EXPECT_EQ(start, k.start) << "wanted " << k.wanted;
    EXPECT_EQ(ThumbTrackPosition(bar, range, start), k.pos) << "wanted " << k.wanted;
  }
  const ScrollRange shifted{10, 109, 10, 10};
  EXPECT_EQ(ThumbTrackPosition(LayoutScrollBar(0, 100, 17, shifted), shifted, 73), 100);
}

TEST(ScrollGeometry, SpaceAndRectanglesOfTheBars) {
  const graphics::Rect window{0, 0, 100, 80};
  struct Case {
    graphics::Rect client;
    bool horz, vert, left;
    graphics::Rect wantClient, wantHorz, wantVert, wantCorner;
  } cases[] = {
      {{2, 2, 98, 78},
       true,
       true,
       false,
       {2, 2, 81, 61},
       {2, 61, 81, 78},
       {81, 2, 98, 61},
       {81, 61, 98, 78}},
      {{2, 2, 98, 78},
       true,
       true,
       true,
       {19, 2, 98, 61},
       {19, 61, 98, 78},
       {2, 2, 19, 61},
       {2, 61, 19, 78}},
      {{2, 2, 98, 78}, false, true, false, {2, 2, 81, 78}, {}, {81, 2, 98, 78}, {}},
      // A client area thinner than a bar keeps it: no space is taken and the bar is not shown.
      {{2, 2, 98, 12}, true, true, false, {2, 2, 81, 12}, {}, {81, 2, 98, 12}, {}},
      {{2, 2, 12, 78}, true, true, false, {2, 2, 12, 61}, {2, 61, 12, 78}, {}, {}},
  };
  int n = 0;
  for (const Case& k : cases) {
    const ScrollSpace s = ReserveScrollSpace({window, k.client, k.horz, k.vert, 17, 17, k.left});
    const ScrollBarRects r = ScrollBarRectangles(100, 80, s, 17, 17, k.left);
    auto same = [](graphics::Rect a, graphics::Rect b) {
      return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    };
    EXPECT_TRUE(same(s.Client, k.wantClient)) << "case " << n << " client";
    EXPECT_TRUE(same(r.Horz, k.wantHorz)) << "case " << n << " horizontal";
    EXPECT_TRUE(same(r.Vert, k.wantVert)) << "case " << n << " vertical";
    EXPECT_TRUE(same(r.Corner, k.wantCorner)) << "case " << n << " corner";
    ++n;
  }
}

}  // namespace
}  // namespace sapala::skin
