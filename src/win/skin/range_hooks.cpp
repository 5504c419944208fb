// The up-down and track bar hooks.
#include "win/skin/range_hooks.h"

#include <commctrl.h>

#include <algorithm>

#include "win/controls/skin_link.h"
#include "win/skin/skin_manager.h"

namespace sapala::win {

namespace sk = sapala::skin;

namespace {

enum class Direction { up, down, left, right };

// The font colour of a section for a state, as a GDI colour.
COLORREF FontColorOf(const sk::SkinTables& t, int section, int state) noexcept {
  if (section < 0 || section >= static_cast<int>(t.Sections.size())) {
    return ::GetSysColor(COLOR_BTNTEXT);
  }
  const auto& s = t.Sections[static_cast<std::size_t>(section)];
  const TColor c = state > 0 ? s.HotFontColors[0] : s.FontColors[0];
  return static_cast<COLORREF>(graphics::ColorToRGB(c) & 0xFFFFFF);
}

// A filled triangle pointing `d`, centred in `r`, about a third of its smaller side.
void DrawArrow(HDC dc, const graphics::Rect& r, Direction d, COLORREF color) noexcept {
  const int size = std::max(2, std::min(r.width(), r.height()) / 3);
  const int cx = r.left + r.width() / 2, cy = r.top + r.height() / 2;
  POINT p[3];
  switch (d) {
    case Direction::up:
      p[0] = {cx - size, cy + size / 2};
      p[1] = {cx + size, cy + size / 2};
      p[2] = {cx, cy - size / 2 - 1};
      break;
    case Direction::down:
      p[0] = {cx - size, cy - size / 2};
      p[1] = {cx + size, cy - size / 2};
      p[2] = {cx, cy + size / 2 + 1};
      break;
    case Direction::left:
      p[0] = {cx + size / 2, cy - size};
      p[1] = {cx + size / 2, cy + size};
      p[2] = {cx - size / 2 - 1, cy};
      break;
    case Direction::right:
      p[0] = {cx - size / 2, cy - size};
      p[1] = {cx - size / 2, cy + size};
      p[2] = {cx + size / 2 + 1, cy};
      break;
  }
  Brush brush(::CreateSolidBrush(color));
  Pen pen(::CreatePen(PS_SOLID, 1, color));
  if (!brush || !pen) return;
  SelectedObject b(dc, brush.get()), q(dc, pen.get());
  ::Polygon(dc, p, 3);
}

}  // namespace

// ---------------------------------------------------------------- up-down

sk::SpinArrows TlcSpinWnd::Arrows() const noexcept {
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  const bool horizontal = (::GetWindowLongPtrW(hwnd_, GWL_STYLE) & UDS_HORZ) != 0;
  return sk::SplitSpin(client.right, client.bottom, horizontal);
}

bool TlcSpinWnd::Changes(const Message& m) {
  const int hot = hot_, pressed = pressed_;
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      const POINT p = m.MousePoint();
      hot_ = sk::SpinArrowAt(Arrows(), {p.x, p.y});
      TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, hwnd_, 0};
      ::TrackMouseEvent(&t);
      break;
    }
    case WM_MOUSELEAVE:
      hot_ = 0;
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const POINT p = m.MousePoint();
      // Only a press the control took (it captures the mouse while an arrow is held).
      pressed_ = ::GetCapture() == hwnd_ ? sk::SpinArrowAt(Arrows(), {p.x, p.y}) : 0;
      break;
    }
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      pressed_ = 0;
      break;
    case UDM_SETPOS:
    case UDM_SETPOS32:
    case UDM_SETRANGE:
    case UDM_SETRANGE32:
    case WM_KEYDOWN:
    case WM_KEYUP:
      return true;
    default:
      return false;
  }
  return hot != hot_ || pressed != pressed_;
}

void TlcSpinWnd::PaintPicture(Canvas& c) {
  FillBehind(c, c.Client);
  const sk::SpinArrows arrows = Arrows();
  const bool horizontal =
      arrows.First.top == arrows.Second.top && arrows.First.right > 0 && arrows.Second.left > 0;
  // An arrow that cannot move the value further is shown disabled.
  int low = 0, high = 0;
  CallPrevious(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
  // The value the control holds (its error flag speaks of the buddy's text only).
  BOOL buddyError = FALSE;
  const int pos =
      static_cast<int>(CallPrevious(UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&buddyError)));
  const bool wraps = (::GetWindowLongPtrW(hwnd_, GWL_STYLE) & UDS_WRAP) != 0;
  // The first arrow (up, or left for a horizontal control) goes towards the range's upper
  // limit, the second towards its lower one, whichever is larger.
  const bool upEnabled = wraps || pos != high;
  const bool downEnabled = wraps || pos != low;
  const struct {
    graphics::Rect rect;
    int which;
    bool enabled;
    Direction dir;
  } parts[2] = {
      {arrows.First, 1, upEnabled, horizontal ? Direction::left : Direction::up},
      {arrows.Second, 2, downEnabled, horizontal ? Direction::right : Direction::down},
  };
  for (int i = 0; i < 2; ++i) {
    const auto& p = parts[i];
    const bool enabled = c.Enabled && p.enabled;
    const int state = sk::PartState(enabled, pressed_ == p.which, hot_ == p.which);
    states_[i] = state;
    PaintPart(c, section_index_, p.rect, state);
    COLORREF color = FontColorOf(c.Tables, section_index_, state);
    if (!enabled && c.Enabled) color = ::GetSysColor(COLOR_GRAYTEXT);
    DrawArrow(c.DC, p.rect.offset(state == 2 ? 1 : 0, state == 2 ? 1 : 0), p.dir, color);
  }
}

// ---------------------------------------------------------------- track bar

bool TlcTrackWnd::Vertical() const noexcept {
  return (::GetWindowLongPtrW(hwnd_, GWL_STYLE) & TBS_VERT) != 0;
}

RECT TlcTrackWnd::ControlThumb() noexcept {
  RECT r{};
  CallPrevious(TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
  return r;
}

void TlcTrackWnd::WndProc(Message& m) {
  if (m.Msg == TBM_SETTICFREQ) frequency_ = std::max(1, static_cast<int>(m.WParam));
  TlcPaintedWnd::WndProc(m);
}

bool TlcTrackWnd::Changes(const Message& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      const RECT thumb = ControlThumb();
      const bool hot = ::PtInRect(&thumb, m.MousePoint()) != FALSE;
      TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, hwnd_, 0};
      ::TrackMouseEvent(&t);
      if (hot == thumb_hot_) return false;
      thumb_hot_ = hot;
      return true;
    }
    case WM_MOUSELEAVE:
      if (!thumb_hot_) return false;
      thumb_hot_ = false;
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      return true;
    default:
      return false;
  }
}

void TlcTrackWnd::PaintPicture(Canvas& c) {
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_STYLE);
  const bool vertical = Vertical();
  FillBehind(c, c.Client);
  PaintPart(c, section_index_, c.Client, 0);

  // The control keeps its channel as if it lay horizontally; turned for a vertical bar.
  RECT ch{};
  CallPrevious(TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&ch));
  if (vertical && ch.right - ch.left > ch.bottom - ch.top)
    ch = {ch.top, ch.left, ch.bottom, ch.right};
  const RECT control = ControlThumb();
  const int min = static_cast<int>(CallPrevious(TBM_GETRANGEMIN, 0, 0));
  const int max = static_cast<int>(CallPrevious(TBM_GETRANGEMAX, 0, 0));
  const int pos = static_cast<int>(CallPrevious(TBM_GETPOS, 0, 0));
  sk::TrackAxis axis;
  axis.Min = min;
  axis.Max = max;
  axis.ChannelStart = vertical ? ch.top : ch.left;
  axis.ChannelLength = vertical ? ch.bottom - ch.top : ch.right - ch.left;
  axis.ThumbLength = vertical ? control.bottom - control.top : control.right - control.left;

  // The channel.
  const graphics::Rect channel{ch.left, ch.top, ch.right, ch.bottom};
  const int channelSection = SectionOf("SLIDERCHANNEL");
  if (channelSection >= 0) {
    PaintPart(c, channelSection, channel, 0);
  } else {
    ::GdiFlush();
    ::DrawEdge(c.DC, &ch, EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
  }

  // The ticks, beside the thumb on the sides the style asks for.
  ticks_.clear();
  if (!(style & TBS_NOTICKS)) {
    std::vector<int> explicitTicks;
    const auto n =
        static_cast<std::size_t>(std::clamp<LRESULT>(CallPrevious(TBM_GETNUMTICS, 0, 0), 0, 4098));
    const auto* tics = reinterpret_cast<const DWORD*>(CallPrevious(TBM_GETPTICS, 0, 0));
    for (std::size_t i = 0; tics && i + 2 < n; ++i)
      explicitTicks.push_back(static_cast<int>(tics[i]));
    const auto values =
        sk::TrackTickValues(min, max, frequency_, (style & TBS_AUTOTICKS) != 0, explicitTicks);
    const bool both = (style & TBS_BOTH) != 0;
    const bool before = both || (style & TBS_TOP);  // TBS_LEFT for a vertical bar
    const bool after = both || !(style & TBS_TOP);
    const int image = ImageOf(section_index_, vertical ? "TICKVERT" : "TICKHORZ");
    const auto* tick = c.Tables.Image(image);
    const COLORREF color = FontColorOf(c.Tables, section_index_, 0);
    constexpr int kTickLength = 3, kTickGap = 2;
    for (int v : values) {
      const int at = sk::TrackTickPixel(axis, v);
      ticks_.push_back(at);
      for (int side = 0; side < 2; ++side) {
        if ((side == 0 && !before) || (side == 1 && !after)) continue;
        // Across the axis: just outside the thumb.
        const int from = side == 0
                             ? (vertical ? control.left : control.top) - kTickGap - kTickLength
                             : (vertical ? control.right : control.bottom) + kTickGap;
        graphics::Rect r = vertical ? graphics::Rect{from, at, from + kTickLength, at + 1}
                                    : graphics::Rect{at, from, at + 1, from + kTickLength};
        if (tick) {
          const int w = sk::FrameWidth(*tick), h = sk::FrameHeight(*tick);
          const graphics::Point p =
              vertical ? graphics::Point{from, at - h / 2} : graphics::Point{at - w / 2, from};
          sk::PaintImageAt(c.Picture, p, 0, c.Behind, *tick, true);
        } else {
          ::GdiFlush();
          Brush brush(::CreateSolidBrush(color));
          RECT gr{r.left, r.top, r.right, r.bottom};
          if (brush) ::FillRect(c.DC, &gr, brush.get());
        }
      }
    }
  }

  // The thumb at the position, across the axis where the control keeps it.
  const int start = sk::TrackThumbStart(axis, pos);
  thumb_ = vertical ? RECT{control.left, start, control.right, start + axis.ThumbLength}
                    : RECT{start, control.top, start + axis.ThumbLength, control.bottom};
  thumb_state_ = sk::PartState(c.Enabled, ::GetCapture() == hwnd_, thumb_hot_);
  if (!(style & TBS_NOTHUMB)) {
    const int image = ImageOf(section_index_, vertical ? "SLIDERVMASK" : "SLIDERMASK");
    if (const auto* mask = c.Tables.Image(image)) {
      const int w = sk::FrameWidth(*mask), h = sk::FrameHeight(*mask);
      const graphics::Point p{thumb_.left + (thumb_.right - thumb_.left - w) / 2,
                              thumb_.top + (thumb_.bottom - thumb_.top - h) / 2};
      // Its transparent pixels show what is painted under it.
      ::GdiFlush();
      graphics::Bitmap under = c.Picture.Clone();
      sk::PaintImageAt(c.Picture, p, thumb_state_, sk::ParentBackground::FromBitmap(&under, 0, 0),
                       *mask, true);
    } else {
      ::GdiFlush();
      RECT r = thumb_;
      ::DrawFrameControl(c.DC, &r, DFC_BUTTON,
                         DFCS_BUTTONPUSH | (thumb_state_ == 2 ? DFCS_PUSHED : 0));
    }
  }
  if (::GetFocus() == hwnd_) {
    RECT f{0, 0, c.Client.right, c.Client.bottom};
    ::SetTextColor(c.DC, RGB(0, 0, 0));
    ::SetBkColor(c.DC, RGB(255, 255, 255));
    ::DrawFocusRect(c.DC, &f);
  }
}

}  // namespace sapala::win
