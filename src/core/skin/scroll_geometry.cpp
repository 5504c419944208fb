// Scroll-bar geometry (see the header).
#include "core/skin/scroll_geometry.h"

#include <algorithm>
#include <climits>

namespace sapala::skin {

int MulDivRound(int a, int b, int c) {
  if (c == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const std::int64_t half = (c < 0 ? -static_cast<std::int64_t>(c) : c) / 2;
  const bool negative = (product < 0) != (c < 0);
  const std::int64_t magnitude = (product < 0 ? -product : product) + half;
  std::int64_t q = magnitude / (c < 0 ? -static_cast<std::int64_t>(c) : c);
  if (negative) q = -q;
  if (q > INT_MAX || q < INT_MIN) return -1;
  return static_cast<int>(q);
}

ScrollBarLayout LayoutScrollBar(int start, int length, int arrowLength, const ScrollRange& range,
                                int minThumb) {
  ScrollBarLayout bar;
  bar.Start = start;
  bar.Length = std::max(0, length);
  bar.Arrow = std::max(0, arrowLength);
  if (2 * bar.Arrow >= bar.Length) {
    bar.Arrow = bar.Length / 2;
    return bar;
  }
  const int track = bar.TrackLength();
  const std::int64_t r64 = static_cast<std::int64_t>(range.Max) - range.Min;
  int thumb;
  if (range.Page != 0 && r64 <= 0x7FFFFFFE) {
    const int page = static_cast<int>(std::min<unsigned>(range.Page, INT_MAX));
    const int r = static_cast<int>(std::max<std::int64_t>(r64, INT_MIN + 1));
    thumb = std::max(MulDivRound(page, track, r + 1), minThumb);
  } else {
    thumb = bar.Arrow;
  }
  if (thumb >= track) return bar;  // no room to move: no thumb
  const std::int64_t denominator = r64 - std::max<std::int64_t>(1, range.Page) + 1;
  const std::int64_t numerator = static_cast<std::int64_t>(range.Pos) - range.Min;
  int offset = -1;
  if (denominator >= INT_MIN && denominator <= INT_MAX && numerator >= INT_MIN &&
      numerator <= INT_MAX) {
    offset = MulDivRound(static_cast<int>(numerator), track - thumb, static_cast<int>(denominator));
  }
  offset = std::clamp(offset, 0, track - thumb);
  bar.HasThumb = true;
  bar.ThumbLength = thumb;
  bar.ThumbStart = bar.TrackStart() + offset;
  return bar;
}

ScrollElement ScrollHitTest(const ScrollBarLayout& bar, int along) {
  const int end = bar.Start + bar.Length;
  if (along < bar.Start || along >= end) return kScrollNone;
  if (along < bar.Start + bar.Arrow) return kScrollFirstArrow;
  if (along >= end - bar.Arrow) return kScrollLastArrow;
  if (!bar.HasThumb) return kScrollNone;
  if (along < bar.ThumbStart) return kScrollPageFirst;
  if (along < bar.ThumbStart + bar.ThumbLength) return kScrollThumb;
  return kScrollPageLast;
}

int ClampThumbStart(const ScrollBarLayout& bar, int wantedStart) {
  const int last = bar.TrackEnd() - bar.ThumbLength;
  return std::clamp(wantedStart, bar.TrackStart(), std::max(bar.TrackStart(), last));
}

int ThumbTrackPosition(const ScrollBarLayout& bar, const ScrollRange& range, int thumbStart) {
  const std::int64_t r64 = static_cast<std::int64_t>(range.Max) - range.Min;
  const std::int64_t page = range.Page;
  const std::int64_t span = std::clamp<std::int64_t>(r64 - page + 1, 0, INT_MAX);
  const int free = bar.TrackLength() - bar.ThumbLength;
  int pos = MulDivRound(thumbStart - bar.TrackStart(), static_cast<int>(span), free);
  if (pos < 0) pos = 0;
  const std::int64_t last = std::max<std::int64_t>(
      range.Min, static_cast<std::int64_t>(range.Max) - std::max<std::int64_t>(page - 1, 0));
  return static_cast<int>(
      std::clamp<std::int64_t>(static_cast<std::int64_t>(range.Min) + pos, range.Min, last));
}

ScrollSpace ReserveScrollSpace(const ScrollSpaceInput& in) {
  ScrollSpace s;
  s.Client = in.Client;
  s.EdgeLeft = in.Client.left - in.Window.left;
  s.EdgeTop = in.Client.top - in.Window.top;
  s.EdgeRight = in.Window.right - in.Client.right;
  s.EdgeBottom = in.Window.bottom - in.Client.bottom;
  if (in.HasHorz && s.Client.height() >= in.HorzThickness) {
    s.Client.bottom -= in.HorzThickness;
    s.HorzShown = true;
  }
  if (in.HasVert && s.Client.width() >= in.VertThickness) {
    if (in.LeftBar)
      s.Client.left += in.VertThickness;
    else
      s.Client.right -= in.VertThickness;
    s.VertShown = true;
  }
  return s;
}

ScrollBarRects ScrollBarRectangles(int width, int height, const ScrollSpace& space,
                                   int horzThickness, int vertThickness, bool leftBar) {
  ScrollBarRects r;
  const int innerLeft = space.EdgeLeft;
  const int innerRight = width - space.EdgeRight;
  const int innerBottom = height - space.EdgeBottom;
  const int vert = space.VertShown ? vertThickness : 0;
  const int horz = space.HorzShown ? horzThickness : 0;
  if (space.HorzShown) {
    r.Horz = {innerLeft + (leftBar ? vert : 0), innerBottom - horzThickness,
              innerRight - (leftBar ? 0 : vert), innerBottom};
  }
  if (space.VertShown) {
    const int left = leftBar ? innerLeft : innerRight - vertThickness;
    r.Vert = {left, space.EdgeTop, left + vertThickness, innerBottom - horz};
  }
  if (space.HorzShown && space.VertShown) {
    r.Corner = {r.Vert.left, r.Horz.top, r.Vert.right, r.Horz.bottom};
  }
  return r;
}

}  // namespace sapala::skin
