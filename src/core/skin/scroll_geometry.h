// Geometry of skinned scroll bars: the space a window's bars take in its non-client area, the
// rectangles of the two bars and the corner square, the arrows and the thumb along one bar, what
// lies under a point of a bar, and the position a dragged thumb stands for.
//
// Everything here is arithmetic on the window's scroll information; the window half applies
// it. Coordinates are window coordinates (origin at the window's top-left corner). A bar's
// length is counted along its axis, its thickness across it.
#pragma once

#include <cstdint>

#include "core/graphics/geometry.h"

namespace sapala::skin {

// MulDiv as the platform defines it: a × b / c with a 64-bit product, rounded half away from
// zero; −1 when c is 0 or the result does not fit in 32 bits.
int MulDivRound(int a, int b, int c);

// The part of a window's scroll information the geometry depends on.
struct ScrollRange {
  int Min = 0;
  int Max = 0;
  unsigned Page = 0;
  int Pos = 0;
};

// What lies under a point of a bar; the values are the scroll codes the element sends
// (SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN, SB_THUMBTRACK).
enum ScrollElement : int {
  kScrollNone = -1,
  kScrollFirstArrow = 0,
  kScrollLastArrow = 1,
  kScrollPageFirst = 2,
  kScrollPageLast = 3,
  kScrollThumb = 5,
};

// The minimum thumb length of every bar.
inline constexpr int kMinThumbLength = 10;

// The layout of one bar along its axis.
struct ScrollBarLayout {
  int Start = 0;        // the bar's first pixel
  int Length = 0;       // the bar's length
  int Arrow = 0;        // length of each arrow
  int ThumbStart = 0;   // the thumb's first pixel (valid with HasThumb)
  int ThumbLength = 0;  // 0 without a thumb
  bool HasThumb = false;

  int TrackStart() const { return Start + Arrow; }
  int TrackEnd() const { return Start + Length - Arrow; }
  int TrackLength() const { return Length - 2 * Arrow; }
};

// Lays out a bar from `start` over `length` pixels with arrows of `arrowLength` (clipped to
// half the bar each, and then there is no thumb). Thumb length: MulDiv(page, track, range + 1)
// but at least `minThumb` while a page is set and the range is at most 0x7FFFFFFE; the arrow's
// length with a page of 0. Thumb offset: MulDiv(pos − min, track − thumb, range − max(1, page)
// + 1) clamped into the track. A thumb that does not fit into the track is not shown.
ScrollBarLayout LayoutScrollBar(int start, int length, int arrowLength, const ScrollRange& range,
                                int minThumb = kMinThumbLength);

// The element at `along` (a coordinate on the bar's axis, the point already known to lie on
// the bar across it).
ScrollElement ScrollHitTest(const ScrollBarLayout& bar, int along);

// A thumb moved to start at `wantedStart` (cursor − grab offset) is kept inside the track; the
// result is the thumb's new start.
int ClampThumbStart(const ScrollBarLayout& bar, int wantedStart);
// The position a thumb standing at `thumbStart` gives: min + MulDiv(thumbStart − track start,
// range − page + 1, track − thumb), kept within min .. max − max(page − 1, 0).
int ThumbTrackPosition(const ScrollBarLayout& bar, const ScrollRange& range, int thumbStart);

// The space the bars take in a window's non-client area.
struct ScrollSpaceInput {
  graphics::Rect Window;  // the window rectangle (any origin)
  graphics::Rect Client;  // the client rectangle the window's own procedure left, same origin
  bool HasHorz = false;   // WS_HSCROLL
  bool HasVert = false;   // WS_VSCROLL
  int HorzThickness = 0;
  int VertThickness = 0;
  bool LeftBar = false;  // WS_EX_LEFTSCROLLBAR
};

struct ScrollSpace {
  graphics::Rect Client;  // the client rectangle after the bars took their space
  // The window's edges around the original client area: left, top, right, bottom.
  int EdgeLeft = 0, EdgeTop = 0, EdgeRight = 0, EdgeBottom = 0;
  bool HorzShown = false;
  bool VertShown = false;
};

// A bar takes its thickness only when the client area is at least that thick: the horizontal
// bar from the bottom first, then the vertical bar from the right (the left with LeftBar).
ScrollSpace ReserveScrollSpace(const ScrollSpaceInput& in);

// The rectangles of the horizontal bar, the vertical bar and the corner square between them, in
// window coordinates of a window `width` × `height` whose space is `space` (empty when the
// bar is not shown).
struct ScrollBarRects {
  graphics::Rect Horz;
  graphics::Rect Vert;
  graphics::Rect Corner;
};
ScrollBarRects ScrollBarRectangles(int width, int height, const ScrollSpace& space,
                                   int horzThickness, int vertThickness, bool leftBar);

}  // namespace sapala::skin
