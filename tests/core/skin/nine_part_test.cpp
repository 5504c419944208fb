// Nine-part geometry: fitting borders, laying out the pieces, tiling runs, texture coverage and
// rectangle lists.
#include "core/skin/nine_part.h"

#include <gtest/gtest.h>

namespace sapala::skin {
namespace {

using graphics::Rect;

TEST(NinePart, FitBordersShrinksSymmetricallyAndTheFarSideLosesTheOddPixel) {
  struct Case {
    BorderWidths in;
    int w, h;
    BorderWidths want;
  } cases[] = {
      {{2, 2, 2, 2}, 10, 10, {2, 2, 2, 2}},  // fits
      {{2, 2, 2, 2}, 4, 4, {2, 2, 2, 2}},    // exactly
      {{2, 2, 2, 2}, 3, 3, {2, 2, 1, 1}},    // odd excess: right and bottom lose it
      {{3, 3, 3, 3}, 2, 2, {1, 1, 1, 1}},    // even excess: both lose 2
      {{5, 1, 0, 1}, 2, 1, {2, 1, 0, 0}},    // far side never negative
      // Unequal borders: after the symmetric cut (right 6 - 1 - 1 = 4, top 4 - 1 = 3) they would
      // still reach outside the element; they are trimmed to it.
      {{0, 4, 6, 0}, 3, 2, {0, 2, 3, 0}},
  };
  int n = 0;
  for (const Case& c : cases) {
    const BorderWidths have = FitBorders(c.in, c.w, c.h);
    EXPECT_EQ(have, c.want) << "case " << n << ": have " << have.left << "," << have.top << ","
                            << have.right << "," << have.bottom;
    ++n;
  }
}

TEST(NinePart, LayoutOfAnOddFrame) {
  NinePartLayout l;
  // Frame 5 x 4 at (10, 20) in its bitmap; borders 2, 1, 1, 2; element 9 x 6 at (3, 4).
  ASSERT_TRUE(LayoutNineParts({3, 4, 12, 10}, {10, 20, 15, 24}, 24, {2, 1, 1, 2}, l));
  EXPECT_EQ(l.dest[kPieceTopLeft], (Rect{3, 4, 5, 5}));
  EXPECT_EQ(l.source[kPieceTopLeft], (Rect{10, 20, 12, 21}));
  EXPECT_EQ(l.dest[kPieceTop], (Rect{5, 4, 11, 5}));
  EXPECT_EQ(l.source[kPieceTop], (Rect{12, 20, 14, 21}));
  EXPECT_EQ(l.dest[kPieceRight], (Rect{11, 5, 12, 8}));
  EXPECT_EQ(l.source[kPieceRight], (Rect{14, 21, 15, 22}));
  EXPECT_EQ(l.dest[kPieceBottomRight], (Rect{11, 8, 12, 10}));
  EXPECT_EQ(l.source[kPieceBottomRight], (Rect{14, 22, 15, 24}));
  EXPECT_EQ(l.dest[kPieceCenter], (Rect{5, 5, 11, 8}));
  EXPECT_EQ(l.source[kPieceCenter], (Rect{12, 21, 14, 22}));
  // Bottom pieces come from `sourceBottom`, not from the frame's height.
  ASSERT_TRUE(LayoutNineParts({0, 0, 9, 6}, {0, 0, 5, 4}, 30, {2, 1, 1, 2}, l));
  EXPECT_EQ(l.source[kPieceBottomLeft], (Rect{0, 28, 2, 30}));
  // A centre of negative size draws nothing.
  EXPECT_FALSE(LayoutNineParts({0, 0, 9, 6}, {0, 0, 3, 4}, 4, {2, 1, 2, 2}, l));
}

TEST(NinePart, TileRuns) {
  EXPECT_EQ(TileRuns(2, 8, 2), (std::vector<TileRun>{{2, 2}, {4, 2}, {6, 2}}));
  EXPECT_EQ(TileRuns(0, 7, 3), (std::vector<TileRun>{{0, 3}, {3, 3}, {6, 1}}));
  EXPECT_EQ(TileRuns(0, 2, 5), (std::vector<TileRun>{{0, 2}}));
  EXPECT_TRUE(TileRuns(0, 9, 0).empty());
  EXPECT_TRUE(TileRuns(4, 4, 2).empty());
  EXPECT_EQ(WholeTileRuns(0, 7, 3), (std::vector<TileRun>{{0, 3}, {3, 3}}));
  EXPECT_EQ(WholeTileRuns(0, 6, 3), (std::vector<TileRun>{{0, 3}, {3, 3}}));
}

TEST(NinePart, TextureCoverageByMode) {
  const Rect r{0, 0, 5, 5};
  const Rect want[11] = {r,
                         r,
                         {0, 0, 5, 2},
                         {0, 0, 2, 5},
                         {0, 0, 5, 2},
                         {0, 0, 2, 5},
                         {0, 3, 5, 5},
                         {3, 0, 5, 5},
                         {3, 0, 5, 5},
                         {3, 0, 5, 5},
                         {0, 0, 5, 4}};
  for (int mode = 0; mode <= 10; ++mode) {
    EXPECT_EQ(TextureCoverage(mode, r, 2, 2), want[mode]) << "mode " << mode;
  }
  EXPECT_TRUE(TextureCoverage(11, r, 2, 2).empty());
  EXPECT_TRUE(TextureCoverage(10, {0, 0, 5, 1}, 2, 2).empty());
}

TEST(NinePart, RectsAroundCoverExactlyTheRest) {
  const Rect clip{0, 0, 10, 8};
  // Overlapping, nested (a child inside another) and outside rectangles.
  const std::vector<std::vector<Rect>> lists = {
      {{2, 2, 5, 5}, {4, 3, 7, 9}, {-5, -5, -1, -1}},
      {{1, 1, 6, 6}, {2, 2, 3, 3}},
  };
  for (const auto& excluded : lists) {
    const auto parts = RectsAround(clip, excluded);
    // Every pixel of the clip is covered once exactly when it lies in no excluded rect.
    for (int y = clip.top; y < clip.bottom; ++y) {
      for (int x = clip.left; x < clip.right; ++x) {
        int covered = 0;
        for (const Rect& p : parts) covered += p.contains({x, y}) ? 1 : 0;
        bool inside = false;
        for (const Rect& e : excluded) inside |= e.contains({x, y});
        EXPECT_EQ(covered, inside ? 0 : 1) << x << "," << y;
      }
    }
  }
  const auto box = GroupBoxFrameParts({10, 10, 30, 40}, 6, 2, 3, 4);
  ASSERT_EQ(box.size(), 4u);
  EXPECT_EQ(box[0], (Rect{10, 10, 30, 16}));
  EXPECT_EQ(box[2], (Rect{27, 16, 30, 40}));
  EXPECT_EQ(GroupBoxFrameParts({0, 0, 5, 5}, 0, 0, 0, 0).size(), 0u);
}

}  // namespace
}  // namespace sapala::skin
