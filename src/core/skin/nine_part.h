// Geometry of nine-part painting and of tiling: pure functions over Rect, no pixels.
//
// A bordered skin image is cut into nine pieces: four fixed corners, four edges that are tiled
// or stretched along the element, and a centre. These functions say where each piece comes from
// in the image and where it goes in the element, and how an edge or a texture is covered by
// whole tiles and one cut tile. Painting (skin_paint.h) only copies what they lay out.
#pragma once

#include <array>
#include <vector>

#include "core/graphics/geometry.h"

namespace sapala::skin {

// Widths of the fixed borders, in pixels.
struct BorderWidths {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend constexpr bool operator==(const BorderWidths&, const BorderWidths&) = default;
};

// Borders fitted into an element of width × height. When the element is narrower than
// left + right, both lose d = (left + right − width) div 2; with an odd excess the right border
// loses one pixel more; neither goes below 0. The same for the height with top and bottom (the
// bottom loses the extra pixel). Borders so unequal that they still exceed the size after that
// cut are trimmed to it (near side first), so no piece reaches outside the element.
BorderWidths FitBorders(BorderWidths borders, int width, int height);

// The nine pieces in painting order.
enum NinePiece : int {
  kPieceTopLeft = 0,
  kPieceLeft,
  kPieceTop,
  kPieceBottomLeft,
  kPieceBottom,
  kPieceBottomRight,
  kPieceTopRight,
  kPieceRight,
  kPieceCenter,
  kPieceCount
};

// Where each piece lies in the element (`dest`) and in the image (`source`). Corner pieces have
// the same size in both; edges and the centre differ along the axes they are tiled or stretched.
struct NinePartLayout {
  std::array<graphics::Rect, kPieceCount> dest;
  std::array<graphics::Rect, kPieceCount> source;
};

// Lays out the nine pieces of one frame. `frame` is the frame's rectangle in its bitmap (width
// fw, height fh); `sourceBottom` is the row where the frame's bottom border ends (the frame's
// bottom for images with a mask row, the image rectangle's bottom otherwise). `borders` are the
// fitted widths (FitBorders). Returns false, leaving `out` alone, when the centre source size
// fw − l − r or fh − t − b would be negative: such an image draws nothing.
bool LayoutNineParts(graphics::Rect dest, graphics::Rect frame, int sourceBottom,
                     BorderWidths borders, NinePartLayout& out);

// One placement of a tile along an axis: destination start and length; the tile is taken from
// the start of its source piece, cut to `length`.
struct TileRun {
  int pos = 0;
  int length = 0;
  friend constexpr bool operator==(const TileRun&, const TileRun&) = default;
};

// Covers from..to with pieces of `piece` pixels: whole pieces while the next one ends before
// `to` (pos < to − piece), then one piece cut to what remains. Nothing for piece <= 0 or an
// empty range.
std::vector<TileRun> TileRuns(int from, int to, int piece);
// Only whole pieces that fit completely (texture mode 10's rows).
std::vector<TileRun> WholeTileRuns(int from, int to, int piece);

// The part of `rect` a texture of texW × texH covers in fill mode `mode` (the texture modes of
// skin_paint.h): the whole rect for 0 and 1, a band along one side for 2-9, the whole rows for
// 10; empty for unknown modes or an empty texture.
graphics::Rect TextureCoverage(int mode, graphics::Rect rect, int texW, int texH);

// `clip` minus every rectangle of `excluded`, as disjoint rectangles (row bands, left to right).
// Used to copy a cache around child controls and to fill what a texture leaves uncovered.
std::vector<graphics::Rect> RectsAround(graphics::Rect clip,
                                        const std::vector<graphics::Rect>& excluded);

// A group box child is excluded only along its frame: its caption band (captionHeight high), its
// left, right and bottom border strips. Empty strips are left out.
std::vector<graphics::Rect> GroupBoxFrameParts(graphics::Rect box, int captionHeight, int left,
                                               int right, int bottom);

}  // namespace sapala::skin
