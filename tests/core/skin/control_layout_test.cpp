// The common-control hooks' layout rules: tab side by style, where tabs and body are painted,
// part states, the arrows of an up-down control, and the track bar's thumb and ticks.
#include "core/skin/control_layout.h"

#include <gtest/gtest.h>

#include <limits>

namespace sapala::skin {
namespace {

using graphics::Rect;

TEST(ControlLayout, TabSideBySectionAndStyle) {
  const struct {
    std::uint32_t style;
    TabSide side;
    std::string_view section;
  } cases[] = {
      {0x0, TabSide::top, "TABTOP"},
      {0x2, TabSide::bottom, "TABBOTTOM"},
      {0x80, TabSide::left, "TABLEFT"},
      {0x82, TabSide::right, "TABRIGHT"},
      {0x54010000, TabSide::top, "TABTOP"},
      {0x54010002 | 0x200, TabSide::bottom, "TABBOTTOM"},
      {0x80 | 0x200, TabSide::left, "TABLEFT"},
  };
  int n = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(TabSideOfStyle(c.style), c.side) << "case " << n;
    EXPECT_EQ(TabSectionName(TabSideOfStyle(c.style)), c.section) << "case " << n;
    ++n;
  }
}

TEST(ControlLayout, SelectedTabStandsOutAwayFromTheBodyAndJoinsIt) {
  const Rect client{0, 0, 200, 100};
  const struct {
    Rect item;
    TabSide side;
    bool selected;
    Rect want;
  } cases[] = {
      {{10, 2, 60, 20}, TabSide::top, false, {10, 2, 60, 20}},
      {{10, 2, 60, 20}, TabSide::top, true, {8, 0, 62, 21}},
      {{10, 80, 60, 98}, TabSide::bottom, true, {8, 79, 62, 100}},
      {{2, 10, 20, 40}, TabSide::left, true, {0, 8, 21, 42}},
      {{180, 10, 198, 40}, TabSide::right, true, {179, 8, 200, 42}},
      // Cut to the client area.
      {{0, 0, 60, 20}, TabSide::top, true, {0, 0, 62, 21}},
      {{300, 0, 360, 20}, TabSide::top, false, {}},
  };
  int n = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(TabPaintRect(c.item, c.side, c.selected, 2, client), c.want) << "case " << n;
    ++n;
  }
}

TEST(ControlLayout, TabBodyIsTheClientWithoutTheRows) {
  const Rect client{0, 0, 200, 100};
  const struct {
    TabSide side;
    int edge;
    bool hasTabs;
    Rect want;
  } cases[] = {
      {TabSide::top, 22, true, {0, 22, 200, 100}},
      {TabSide::bottom, 78, true, {0, 0, 200, 78}},
      {TabSide::left, 24, true, {24, 0, 200, 100}},
      {TabSide::right, 170, true, {0, 0, 170, 100}},
      {TabSide::top, 22, false, client},
      // Rows reaching past the client leave an empty body, never a reversed one.
      {TabSide::top, 130, true, {0, 100, 200, 100}},
      {TabSide::bottom, -5, true, {0, 0, 200, 0}},
  };
  int n = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(TabBodyRect(client, c.side, c.edge, c.hasTabs), c.want) << "case " << n;
    ++n;
  }
}

TEST(ControlLayout, PartStates) {
  const struct {
    bool enabled, pressed, hot;
    int want;
  } cases[] = {
      {true, false, false, 0}, {true, false, true, 1}, {true, true, false, 2},
      {true, true, true, 2},   {false, true, true, 0}, {false, false, true, 0},
  };
  int n = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(PartState(c.enabled, c.pressed, c.hot), c.want) << "case " << n;
    ++n;
  }
}

TEST(ControlLayout, SpinArrowsAndTheirHitTest) {
  const struct {
    int w, h;
    bool horizontal;
    Rect first, second;
  } cases[] = {
      {16, 22, false, {0, 0, 16, 11}, {0, 11, 16, 22}},
      {16, 23, false, {0, 0, 16, 11}, {0, 11, 16, 23}},
      {31, 14, true, {0, 0, 15, 14}, {15, 0, 31, 14}},
      {-4, 10, true, {0, 0, 0, 10}, {0, 0, 0, 10}},
  };
  int n = 0;
  for (const auto& c : cases) {
    const SpinArrows a = SplitSpin(c.w, c.h, c.horizontal);
    EXPECT_EQ(a.First, c.first) << "case " << n;
    EXPECT_EQ(a.Second, c.second) << "case " << n;
    ++n;
  }
  const SpinArrows v = SplitSpin(16, 22, false);
  EXPECT_EQ(SpinArrowAt(v, {5, 0}), 1);
  EXPECT_EQ(SpinArrowAt(v, {5, 10}), 1);
  EXPECT_EQ(SpinArrowAt(v, {5, 11}), 2);
  EXPECT_EQ(SpinArrowAt(v, {15, 21}), 2);
  EXPECT_EQ(SpinArrowAt(v, {16, 5}), 0);
  EXPECT_EQ(SpinArrowAt(v, {5, 22}), 0);
}

TEST(ControlLayout, ThumbTravelsTheChannelLessItsLength) {
  // Channel from 8, 100 long; thumb 11 long: 89 pixels of travel.
  const TrackAxis axis{0, 10, 8, 100, 11};
  const struct {
    TrackAxis axis;
    int pos;
    int want;
  } cases[] = {
      {axis, 0, 8},
      {axis, 10, 97},
      {axis, 5, 8 + 44},  // 89 * 5 / 10, cut
      {axis, 3, 8 + 26},
      {axis, -7, 8},  // limited to the range
      {axis, 99, 97},
      {{5, 5, 8, 100, 11}, 5, 8},        // empty range
      {{9, 2, 8, 100, 11}, 5, 8},        // reversed range
      {{0, 10, 8, 6, 11}, 10, 8},        // thumb longer than the channel
      {{-100, 100, 0, 201, 1}, 0, 100},  // negative minimum
      // The whole int range does not overflow.
      {{std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), 0, 1001, 1},
       std::numeric_limits<int>::max(),
       1000},
      {{std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), 0, 1001, 1}, 0, 500},
  };
  int n = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(TrackThumbStart(c.axis, c.pos), c.want) << "case " << n;
    ++n;
  }
  // A tick lies at the thumb's centre for its value.
  EXPECT_EQ(TrackTickPixel(axis, 0), 8 + 5);
  EXPECT_EQ(TrackTickPixel(axis, 10), 97 + 5);
  EXPECT_EQ(TrackTickPixel(axis, 5), TrackThumbStart(axis, 5) + 5);
}

TEST(ControlLayout, TickValues) {
  const int some[] = {4, 4, -3, 50, 7};
  const struct {
    int min, max, frequency;
    bool autoTicks;
    std::span<const int> explicitTicks;
    std::vector<int> want;
  } cases[] = {
      {0, 10, 1, false, {}, {0, 10}},
      {0, 10, 3, true, {}, {0, 3, 6, 9, 10}},
      {0, 10, 0, true, {}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
      {0, 10, 5, true, {}, {0, 5, 10}},
      {-4, 4, 4, true, {}, {-4, 0, 4}},
      // Explicit ticks inside the range, each once, in order.
      {0, 10, 1, false, some, {0, 4, 7, 10}},
      {0, 10, 5, true, some, {0, 4, 5, 7, 10}},
      {3, 3, 1, true, some, {}},
      {9, 1, 1, true, {}, {}},
  };
  int n = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(TrackTickValues(c.min, c.max, c.frequency, c.autoTicks, c.explicitTicks), c.want)
        << "case " << n;
    ++n;
  }
  // A huge range with frequency 1 does not make millions of ticks: the ends remain.
  const auto huge = TrackTickValues(std::numeric_limits<int>::min(),
                                    std::numeric_limits<int>::max(), 1, true, some, 100);
  EXPECT_EQ(huge, (std::vector<int>{std::numeric_limits<int>::min(), -3, 4, 7, 50,
                                    std::numeric_limits<int>::max()}));
}

TEST(ControlLayout, LinkMarkupRuns) {
  using R = std::vector<LinkRun>;
  const struct {
    std::u16string_view text;
    R want;
  } cases[] = {
      {u"plain", {{u"plain", false}}},
      {u"Visit <a href=\"x\">our page</a> now",
       {{u"Visit ", false}, {u"our page", true}, {u" now", false}}},
      {u"<A>one</A><a id=2>two</a>", {{u"one", true}, {u"two", true}}},
      // A link without its end runs to the end; an opening tag without '>' is plain text.
      {u"see <a>here", {{u"see ", false}, {u"here", true}}},
      {u"see <a href=", {{u"see <a href=", false}}},
      // Not a link tag: <abbr>, a bare "<", a tag at the very end.
      {u"<abbr>x</a> < y <a", {{u"<abbr>x</a> < y <a", false}}},
      {u"<a></a>", {}},
      {u"", {}},
  };
  int n = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(SplitLinkMarkup(c.text), c.want) << "case " << n;
    ++n;
  }
}

}  // namespace
}  // namespace sapala::skin
