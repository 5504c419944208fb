// Window-free layout rules of the hooks that skin the common controls: which side a tab
// control's tabs stand on and where its tabs and body are painted, the state index of a part
// (tab, tool button, spin arrow), the two arrows of an up-down control, and where a track bar's
// thumb and ticks lie along its channel. The Win32 hooks read the control's own geometry
// (item rectangles, channel, range) and apply these rules to it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "core/graphics/geometry.h"

namespace sapala::skin {

// The side of a tab control its tabs stand on; the values index StdPartCache::Tabs.
enum class TabSide : int { top = 0, bottom = 1, left = 2, right = 3 };

// From the tab control's style: TCS_VERTICAL (0x80) puts the tabs at the left, or with
// TCS_RIGHT (0x2) at the right; without it TCS_BOTTOM (0x2) puts them at the bottom.
TabSide TabSideOfStyle(std::uint32_t style);
// "TABTOP", "TABBOTTOM", "TABLEFT", "TABRIGHT".
std::string_view TabSectionName(TabSide side);

// The rectangle a tab is painted in: its item rectangle, the selected tab grown by `lift`
// pixels sideways and away from the body, and over the body's edge by one pixel so that it
// joins the body. Cut to `client`.
graphics::Rect TabPaintRect(graphics::Rect item, TabSide side, bool selected, int lift,
                            graphics::Rect client);

// The body of a tab control: the client rectangle without the rows of tabs, whose edge towards
// the body is `rowsEdge` (the largest bottom of the items for top tabs, the smallest top for
// bottom tabs, and so on). Without tabs (`hasTabs` false) the whole client rectangle.
graphics::Rect TabBodyRect(graphics::Rect client, TabSide side, int rowsEdge, bool hasTabs);

// The state index of a part of a control (a tab, a tool button, an arrow of an up-down
// control) in its section: pressed or selected 2, hot 1, else 0; a disabled part is always 0
// (it is faded instead).
int PartState(bool enabled, bool pressed, bool hot);

// The two arrows of an up-down control of width × height: up over down, or, `horizontal`
// (UDS_HORZ), left beside right. An odd length gives the extra pixel to the second arrow.
struct SpinArrows {
  graphics::Rect First;   // up, or left
  graphics::Rect Second;  // down, or right
};
SpinArrows SplitSpin(int width, int height, bool horizontal);
// Which arrow lies under `p`: 1 first, 2 second, 0 none.
int SpinArrowAt(const SpinArrows& arrows, graphics::Point p);

// A track bar's range and channel along its axis (pixels from the client edge).
struct TrackAxis {
  int Min = 0;
  int Max = 0;
  int ChannelStart = 0;   // the channel's first pixel along the axis
  int ChannelLength = 0;  // its length along the axis
  int ThumbLength = 0;    // the thumb's length along the axis
};

// The first pixel of the thumb for `pos` (limited to the range): the thumb travels the channel
// less its own length, in proportion to pos − Min over the range; an empty or reversed range
// keeps it at the channel's start.
int TrackThumbStart(const TrackAxis& axis, int pos);

// The values a track bar shows ticks for: its two ends, every `frequency`-th value from the
// minimum when `autoTicks` (frequency ≤ 0 counts as 1), and the explicit ticks inside the range;
// ascending, each once. Empty for an empty or reversed range. At most `limit` values: a huge
// range with a small frequency keeps the ends and the explicit ticks only.
std::vector<int> TrackTickValues(int min, int max, int frequency, bool autoTicks,
                                 std::span<const int> explicitTicks, std::size_t limit = 4096);

// The pixel along the axis of the tick for `value`: the thumb's centre when the thumb stands at
// that value.
int TrackTickPixel(const TrackAxis& axis, int value);

// The runs of a link control's text: plain text and the text of its links. A link is written
// <a ...>text</a> (tag names in either case, any attributes); an opening tag without its closing
// '>' is plain text, and a link without "</a>" runs to the end. The runs point into `text`;
// empty runs are left out.
struct LinkRun {
  std::u16string_view Text;
  bool Link = false;
  bool operator==(const LinkRun&) const = default;
};
std::vector<LinkRun> SplitLinkMarkup(std::u16string_view text);

}  // namespace sapala::skin
