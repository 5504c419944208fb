// The common-control hooks' layout rules.
#include "core/skin/control_layout.h"

#include <algorithm>

namespace sapala::skin {

using graphics::Rect;

TabSide TabSideOfStyle(std::uint32_t style) {
  constexpr std::uint32_t kVertical = 0x80, kBottomOrRight = 0x2;
  if (style & kVertical) return (style & kBottomOrRight) ? TabSide::right : TabSide::left;
  return (style & kBottomOrRight) ? TabSide::bottom : TabSide::top;
}

std::string_view TabSectionName(TabSide side) {
  switch (side) {
    case TabSide::bottom:
      return "TABBOTTOM";
    case TabSide::left:
      return "TABLEFT";
    case TabSide::right:
      return "TABRIGHT";
    case TabSide::top:
      break;
  }
  return "TABTOP";
}

Rect TabPaintRect(Rect item, TabSide side, bool selected, int lift, Rect client) {
  Rect r = item;
  if (selected) {
    switch (side) {
      case TabSide::top:
        r = {r.left - lift, r.top - lift, r.right + lift, r.bottom + 1};
        break;
      case TabSide::bottom:
        r = {r.left - lift, r.top - 1, r.right + lift, r.bottom + lift};
        break;
      case TabSide::left:
        r = {r.left - lift, r.top - lift, r.right + 1, r.bottom + lift};
        break;
      case TabSide::right:
        r = {r.left - 1, r.top - lift, r.right + lift, r.bottom + lift};
        break;
    }
  }
  return r.intersect(client);
}

Rect TabBodyRect(Rect client, TabSide side, int rowsEdge, bool hasTabs) {
  if (!hasTabs) return client;
  Rect r = client;
  switch (side) {
    case TabSide::top:
      r.top = std::clamp(rowsEdge, client.top, client.bottom);
      break;
    case TabSide::bottom:
      r.bottom = std::clamp(rowsEdge, client.top, client.bottom);
      break;
    case TabSide::left:
      r.left = std::clamp(rowsEdge, client.left, client.right);
      break;
    case TabSide::right:
      r.right = std::clamp(rowsEdge, client.left, client.right);
      break;
  }
  return r;
}

int PartState(bool enabled, bool pressed, bool hot) {
  if (!enabled) return 0;
  if (pressed) return 2;
  return hot ? 1 : 0;
}

SpinArrows SplitSpin(int width, int height, bool horizontal) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (horizontal) {
    const int half = width / 2;
    return {{0, 0, half, height}, {half, 0, width, height}};
  }
  const int half = height / 2;
  return {{0, 0, width, half}, {0, half, width, height}};
}

int SpinArrowAt(const SpinArrows& arrows, graphics::Point p) {
  if (arrows.First.contains(p)) return 1;
  if (arrows.Second.contains(p)) return 2;
  return 0;
}

namespace {

// The travel of the thumb's start for `value`, in 64 bits: ranges and channels come from the
// control and may be anything.
int Travel(const TrackAxis& axis, int value) {
  if (axis.Max <= axis.Min) return 0;
  const long long range = static_cast<long long>(axis.Max) - axis.Min;
  const long long room = std::max(0, axis.ChannelLength - axis.ThumbLength);
  const long long v = std::clamp(value, axis.Min, axis.Max) - static_cast<long long>(axis.Min);
  return static_cast<int>(room * v / range);
}

}  // namespace

int TrackThumbStart(const TrackAxis& axis, int pos) {
  return axis.ChannelStart + Travel(axis, pos);
}

int TrackTickPixel(const TrackAxis& axis, int value) {
  return axis.ChannelStart + std::max(0, axis.ThumbLength) / 2 + Travel(axis, value);
}

std::vector<int> TrackTickValues(int min, int max, int frequency, bool autoTicks,
                                 std::span<const int> explicitTicks, std::size_t limit) {
  std::vector<int> out;
  if (max <= min) return out;
  out.push_back(min);
  out.push_back(max);
  for (int t : explicitTicks) {
    if (t > min && t < max) out.push_back(t);
  }
  if (autoTicks) {
    const long long step = frequency > 0 ? frequency : 1;
    const long long count = (static_cast<long long>(max) - min) / step;
    if (count + out.size() <= limit) {
      for (long long v = min + step; v < max; v += step) out.push_back(static_cast<int>(v));
    }
  }
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  if (out.size() > limit) out.resize(limit);
  return out;
}

namespace {

bool StartsWithNoCase(std::u16string_view text, std::size_t at, std::u16string_view word) {
  if (text.size() - at < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    char16_t c = text[at + i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != word[i]) return false;
  }
  return true;
}

// Whether an opening tag "<a" starts at `at` (followed by '>' or white space).
bool OpensLink(std::u16string_view text, std::size_t at) {
  if (!StartsWithNoCase(text, at, u"<a")) return false;
  if (at + 2 >= text.size()) return false;
  const char16_t next = text[at + 2];
  return next == u'>' || next == u' ' || next == u'\t' || next == u'\r' || next == u'\n';
}

}  // namespace

std::vector<LinkRun> SplitLinkMarkup(std::u16string_view text) {
  std::vector<LinkRun> runs;
  auto add = [&](std::size_t from, std::size_t to, bool link) {
    if (to > from) runs.push_back({text.substr(from, to - from), link});
  };
  std::size_t plain = 0, i = 0;
  while (i < text.size()) {
    if (text[i] != u'<' || !OpensLink(text, i)) {
      ++i;
      continue;
    }
    const std::size_t close = text.find(u'>', i);
    if (close == std::u16string_view::npos) break;  // the rest is plain text
    add(plain, i, false);
    std::size_t end = close + 1;
    while (end < text.size() && !StartsWithNoCase(text, end, u"</a>")) ++end;
    add(close + 1, end, true);
    i = plain = std::min(end + 4, text.size());
  }
  add(plain, text.size(), false);
  return runs;
}

}  // namespace sapala::skin
