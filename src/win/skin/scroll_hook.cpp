// The scroll engine: bar space, painting, hit tests and the mouse on the bars.
#include "win/skin/scroll_hook.h"

#include <algorithm>

#include "win/controls/skin_link.h"
#include "win/skin/skin_manager.h"

namespace sapala::win {

namespace {

using sapala::skin::ScrollBarLayout;
using sapala::skin::ScrollElement;

constexpr UINT_PTR kHoverTimer = 0xFFF2;
constexpr UINT_PTR kFirstRepeatTimer = 0xFFFD;
constexpr UINT_PTR kRepeatTimer = 0xFFFE;
constexpr UINT kHoverMs = 20, kFirstRepeatMs = 300, kRepeatMs = 55;

// The one press of the process (only one bar can hold the mouse); valid while captured.
struct TrackRecord {
  TlcScrollWnd* wnd = nullptr;
  int bar = -1;
  int pressed = sapala::skin::kScrollNone;
  bool thumb = false;
  bool over = false;   // the pointer is on the pressed element
  int grab = 0;        // pointer − thumb start when the thumb was taken
  int thumbStart = 0;  // where the dragged thumb stands
  int lastPos = 0;     // the last position sent while dragging
  POINT cursor{};      // the pointer (window coordinates) by the last mouse message
};
TrackRecord g_track;

// Section names per bar kind: first track part, second track part, first arrow, last arrow,
// thumb.
constexpr const char* kSections[2][5] = {
    {"SCROLLBAR1H", "SCROLLBAR2H", "SCROLLBTNLEFT", "SCROLLBTNRIGHT", "SCROLLSLIDERH"},
    {"SCROLLBAR1V", "SCROLLBAR2V", "SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLSLIDERV"}};

graphics::Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

TlcScrollWnd::TlcScrollWnd(HWND hwnd, TsSkinManager* manager, std::string section,
                           bool subclassMode)
    : TlcMainWnd(hwnd, manager, std::move(section)), subclass_mode_(subclassMode) {
  for (int k = 0; k < 2; ++k) {
    bars_[static_cast<std::size_t>(k)].Kind = k;
    bars_[static_cast<std::size_t>(k)].Owner = this;
  }
}

TlcScrollWnd::~TlcScrollWnd() {
  if (g_track.wnd == this) {
    g_track = TrackRecord{};
    if (::GetCapture() == hwnd_) ::ReleaseCapture();
  }
  const bool wasInstalled = Installed();
  Remove();
  if (wasInstalled && ::IsWindow(hwnd_) && !WindowDestroyed()) {
    ::KillTimer(hwnd_, kHoverTimer);
    ::KillTimer(hwnd_, kFirstRepeatTimer);
    ::KillTimer(hwnd_, kRepeatTimer);
    // The system takes the bars' space back.
    ::SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

bool TlcScrollWnd::InstallScroll() {
  if (!Install()) return false;
  ReadInfo();
  if (subclass_mode_) {
    ::SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return true;
}

void TlcScrollWnd::SetEngineTimer(UINT_PTR id, UINT ms) noexcept {
  if (ms > 0)
    ::SetTimer(hwnd_, id, ms, nullptr);
  else
    ::KillTimer(hwnd_, id);
}

int TlcScrollWnd::Thickness(int kind) const noexcept {
  const TlcScrollBar& b = Bar(kind);
  if (b.Thickness >= 0) return b.Thickness;
  return ::GetSystemMetrics(kind == 0 ? SM_CYHSCROLL : SM_CXVSCROLL);
}

int TlcScrollWnd::Arrow(int kind) const noexcept {
  const TlcScrollBar& b = Bar(kind);
  if (b.ArrowLength >= 0) return b.ArrowLength;
  const int metric = ::GetSystemMetrics(SM_CXHSCROLL);
  const auto* t = Tables();
  if (!t || !Active()) return metric;
  const int mask = t->Cache.ScrollMasks[kind == 0 ? 2 : 0];
  if (mask < 0 || mask >= static_cast<int>(t->Images.size())) return metric;
  const auto& image = t->Images[static_cast<std::size_t>(mask)];
  const int frame = kind == 0 ? image.Rect.width() / std::max<int>(1, image.FrameCount)
                              : image.Rect.height() / (image.MaskKind != 0 ? 2 : 1);
  return std::max(metric, frame);
}

bool TlcScrollWnd::BarEnabled(int kind) const noexcept {
  SCROLLBARINFO sbi{};
  sbi.cbSize = sizeof sbi;
  if (::GetScrollBarInfo(hwnd_, kind == 0 ? OBJID_HSCROLL : OBJID_VSCROLL, &sbi))
    return !(sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
  return (Bar(kind).Flags & TlcScrollBar::kInStyle) != 0;
}

bool TlcScrollWnd::ReadInfo() noexcept {
  bool changed = false;
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_STYLE);
  for (int k = 0; k < 2; ++k) {
    TlcScrollBar& b = bars_[static_cast<std::size_t>(k)];
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    if (!::GetScrollInfo(hwnd_, k == 0 ? SB_HORZ : SB_VERT, &si))
      si = {sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    unsigned flags =
        (style & (k == 0 ? WS_HSCROLL : WS_VSCROLL)) ? unsigned{TlcScrollBar::kInStyle} : 0u;
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof sbi;
    if (::GetScrollBarInfo(hwnd_, k == 0 ? OBJID_HSCROLL : OBJID_VSCROLL, &sbi)) {
      if (sbi.rgstate[1] & STATE_SYSTEM_UNAVAILABLE) flags |= TlcScrollBar::kFirstArrowOff;
      if (sbi.rgstate[5] & STATE_SYSTEM_UNAVAILABLE) flags |= TlcScrollBar::kSecondArrowOff;
    }
    if (si.nMin != b.Info.nMin || si.nMax != b.Info.nMax || si.nPage != b.Info.nPage ||
        si.nPos != b.Info.nPos || flags != b.Flags) {
      changed = true;
    }
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    b.Info = si;
    b.Flags = flags;
  }
  return changed;
}

RECT TlcScrollWnd::BarRect(int kind) const noexcept {
  RECT w{};
  ::GetWindowRect(hwnd_, &w);
  const auto r = sapala::skin::ScrollBarRectangles(w.right - w.left, w.bottom - w.top, space_,
                                                   Thickness(0), Thickness(1), left_bar_);
  const graphics::Rect& g = kind == 0 ? r.Horz : r.Vert;
  return {g.left, g.top, g.right, g.bottom};
}

ScrollBarLayout TlcScrollWnd::Layout(int kind) const noexcept {
  const RECT r = BarRect(kind);
  const int start = kind == 0 ? r.left : r.top;
  const int length = kind == 0 ? r.right - r.left : r.bottom - r.top;
  ScrollBarLayout layout = sapala::skin::LayoutScrollBar(start, length, Arrow(kind),
                                                         Bar(kind).Range(), Bar(kind).MinThumb);
  if (g_track.wnd == this && g_track.bar == kind && g_track.thumb && layout.HasThumb)
    layout.ThumbStart = g_track.thumbStart;
  return layout;
}

int TlcScrollWnd::BarAt(POINT p) const noexcept {
  for (int k = 0; k < 2; ++k) {
    if (!Bar(k).Shown) continue;
    const RECT r = BarRect(k);
    if (::PtInRect(&r, p)) return k;
  }
  return -1;
}

POINT TlcScrollWnd::CursorInWindow() const noexcept {
  POINT p{};
  RECT w{};
  ::GetCursorPos(&p);
  ::GetWindowRect(hwnd_, &w);
  return {p.x - w.left, p.y - w.top};
}

const graphics::Bitmap* TlcScrollWnd::BarPicture(int kind) noexcept {
  DibSurface& s = pictures_[static_cast<std::size_t>(kind)];
  return s.Width() > 0 ? &s.Pixels() : nullptr;
}

// ---------------------------------------------------------------- frame and hit tests

void TlcScrollWnd::CalcSize(Message& m) noexcept {
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_STYLE);
  const LONG_PTR bits = style & (WS_HSCROLL | WS_VSCROLL);
  RECT* rect = m.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0]
                        : reinterpret_cast<RECT*>(m.LParam);
  if (!rect) {
    CallPrevious(m);
    return;
  }
  const RECT window = *rect;
  if (bits) {
    style_guard_ = true;
    ::SetWindowLongPtrW(hwnd_, GWL_STYLE, style & ~bits);
  }
  CallPrevious(m);
  if (bits) {
    ::SetWindowLongPtrW(hwnd_, GWL_STYLE, style);
    style_guard_ = false;
  }
  left_bar_ = (::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  space_ = sapala::skin::ReserveScrollSpace({ToRect(window), ToRect(*rect),
                                             (style & WS_HSCROLL) != 0, (style & WS_VSCROLL) != 0,
                                             Thickness(0), Thickness(1), left_bar_});
  *rect = {space_.Client.left, space_.Client.top, space_.Client.right, space_.Client.bottom};
  bars_[0].Shown = space_.HorzShown;
  bars_[1].Shown = space_.VertShown;
}

void TlcScrollWnd::HitTest(Message& m) noexcept {
  RECT w{};
  ::GetWindowRect(hwnd_, &w);
  const POINT p{static_cast<short>(LOWORD(m.LParam)) - w.left,
                static_cast<short>(HIWORD(m.LParam)) - w.top};
  const int kind = BarAt(p);
  if (kind >= 0 && BarEnabled(kind)) {
    m.Result = kind == 0 ? HTHSCROLL : HTVSCROLL;
    return;
  }
  if (Bar(0).Shown && Bar(1).Shown) {
    const auto r = sapala::skin::ScrollBarRectangles(w.right - w.left, w.bottom - w.top, space_,
                                                     Thickness(0), Thickness(1), left_bar_);
    if (r.Corner.contains({p.x, p.y})) {
      if (CornerMeetsTopClient()) {
        m.Result = HTBOTTOMRIGHT;
        return;
      }
    }
  }
  CallPrevious(m);
}

bool TlcScrollWnd::CornerMeetsTopClient() const noexcept {
  HWND top = ::GetAncestor(hwnd_, GA_ROOT);
  if (!top || top == hwnd_) return false;
  RECT w{}, client{};
  ::GetWindowRect(hwnd_, &w);
  ::GetClientRect(top, &client);
  ::MapWindowPoints(top, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return w.bottom == client.bottom && (left_bar_ ? w.left == client.left : w.right == client.right);
}

// ---------------------------------------------------------------- the mouse

void TlcScrollWnd::SendScroll(int kind, int code, int pos) noexcept {
  const UINT msg = kind == 0 ? WM_HSCROLL : WM_VSCROLL;
  if (SendLumo(hwnd_, skin::cmdBeforeScroll, static_cast<WORD>(code), msg) == 1) return;
  if (code == SB_THUMBTRACK) {
    SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, pos, 0};
    ::SetScrollInfo(hwnd_, kind == 0 ? SB_HORZ : SB_VERT, &si, FALSE);
  }
  ::SendMessageW(hwnd_, msg, MAKEWPARAM(code, std::clamp(pos, 0, 0xFFFF)), 0);
  SendLumo(hwnd_, skin::cmdAfterScroll, static_cast<WORD>(code), msg);
  ReadInfo();
  PaintBars();
}

void TlcScrollWnd::Press(int kind, POINT p) noexcept {
  if (kind < 0 || !Bar(kind).Shown) return;
  const ScrollBarLayout layout = Layout(kind);
  const int element = sapala::skin::ScrollHitTest(layout, kind == 0 ? p.x : p.y);
  if (element == sapala::skin::kScrollNone) return;
  const unsigned flags = Bar(kind).Flags;
  if ((element == sapala::skin::kScrollFirstArrow && (flags & TlcScrollBar::kFirstArrowOff)) ||
      (element == sapala::skin::kScrollLastArrow && (flags & TlcScrollBar::kSecondArrowOff)))
    return;
  g_track = TrackRecord{};
  g_track.wnd = this;
  g_track.bar = kind;
  g_track.pressed = element;
  g_track.cursor = p;
  ::SetCapture(hwnd_);
  if (element == sapala::skin::kScrollThumb) {
    g_track.thumb = true;
    g_track.over = true;
    g_track.grab = (kind == 0 ? p.x : p.y) - layout.ThumbStart;
    g_track.thumbStart = layout.ThumbStart;
    g_track.lastPos = Bar(kind).Info.nPos;
    bars_[static_cast<std::size_t>(kind)].Info.nTrackPos = Bar(kind).Info.nPos;
    PaintBars();
    return;
  }
  g_track.over = true;
  PaintBars();
  SendScroll(kind, element, Bar(kind).Info.nPos);
  SetEngineTimer(kFirstRepeatTimer, kFirstRepeatMs);
}

void TlcScrollWnd::Repeat(UINT_PTR id) noexcept {
  if (g_track.wnd != this || g_track.thumb) return;
  if (id == kFirstRepeatTimer) {
    SetEngineTimer(kFirstRepeatTimer, 0);
    SetEngineTimer(kRepeatTimer, kRepeatMs);
  }
  const int kind = g_track.bar;
  // The captured pointer's last move: the system's cursor position may lag behind it.
  const POINT p = g_track.cursor;
  const bool onBar = BarAt(p) == kind;
  const int element = onBar ? sapala::skin::ScrollHitTest(Layout(kind), kind == 0 ? p.x : p.y) : -1;
  const bool over = element == g_track.pressed;
  if (over != g_track.over) {
    g_track.over = over;
    PaintBars();
  }
  if (over) SendScroll(kind, g_track.pressed, Bar(kind).Info.nPos);
}

void TlcScrollWnd::Track(POINT p) noexcept {
  const int kind = g_track.bar;
  g_track.thumb = false;  // the plain layout, to measure the track
  const ScrollBarLayout layout = Layout(kind);
  g_track.thumb = true;
  if (!layout.HasThumb) return;
  const int start = sapala::skin::ClampThumbStart(layout, (kind == 0 ? p.x : p.y) - g_track.grab);
  g_track.thumbStart = start;
  const int pos = sapala::skin::ThumbTrackPosition(layout, Bar(kind).Range(), start);
  PaintBars();
  if (pos != g_track.lastPos) {
    g_track.lastPos = pos;
    bars_[static_cast<std::size_t>(kind)].Info.nTrackPos = pos;
    SendScroll(kind, SB_THUMBTRACK, pos);
  }
}

void TlcScrollWnd::Release() noexcept {
  if (g_track.wnd != this) return;
  const TrackRecord done = g_track;
  g_track = TrackRecord{};  // first: ReleaseCapture comes back as WM_CAPTURECHANGED
  SetEngineTimer(kFirstRepeatTimer, 0);
  SetEngineTimer(kRepeatTimer, 0);
  if (::GetCapture() == hwnd_) ::ReleaseCapture();
  if (done.thumb) SendScroll(done.bar, SB_THUMBPOSITION, done.lastPos);
  SendScroll(done.bar, SB_ENDSCROLL, Bar(done.bar).Info.nPos);
  PaintBars();
}

void TlcScrollWnd::HoverTick() noexcept {
  const POINT p = CursorInWindow();
  const int kind = BarAt(p);
  if (kind < 0) {
    SetEngineTimer(kHoverTimer, 0);
    const bool was = hot_bar_ >= 0;
    hot_bar_ = -1;
    hot_element_ = sapala::skin::kScrollNone;
    if (was) PaintBars();
    return;
  }
  const int element = sapala::skin::ScrollHitTest(Layout(kind), kind == 0 ? p.x : p.y);
  if (kind != hot_bar_ || element != hot_element_) {
    hot_bar_ = kind;
    hot_element_ = element;
    PaintBars();
  }
}

// ---------------------------------------------------------------- painting

void TlcScrollWnd::PaintBar(int kind, HDC dc, const ScrollBarLayout& layout) noexcept {
  const auto* t = Tables();
  if (!t) return;
  int index[5];
  for (int i = 0; i < 5; ++i) index[i] = t->FindSection(kSections[kind][i]);
  if (index[0] < 0) return;  // the skin does not draw scroll bars: the system's stay
  const RECT r = BarRect(kind);
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  DibSurface& pic = pictures_[static_cast<std::size_t>(kind)];
  try {
    pic.Resize(w, h);
  } catch (...) {
    return;
  }
  graphics::Bitmap& bmp = pic.Pixels();
  for (int y = 0; y < bmp.Height(); ++y) std::fill(bmp.Row32(y), bmp.Row32(y) + bmp.Width(), 0u);

  TsBackgroundInfo info;
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  const auto bg = ParentBackgroundFor(client, info);
  POINT origin{0, 0};
  RECT wr{};
  ::GetWindowRect(hwnd_, &wr);
  if (HWND parent = ::GetParent(hwnd_)) {
    POINT tl{wr.left, wr.top};
    ::ScreenToClient(parent, &tl);
    origin = tl;
  }
  const int base = kind == 0 ? r.left : r.top;
  auto along = [&](int from, int to) -> graphics::Rect {
    return kind == 0 ? graphics::Rect{from - base, 0, to - base, h}
                     : graphics::Rect{0, from - base, w, to - base};
  };
  auto stateOf = [&](int element) {
    if (g_track.wnd == this && g_track.bar == kind && g_track.pressed == element && g_track.over)
      return 2;
    return hot_bar_ == kind && hot_element_ == element ? 1 : 0;
  };
  auto paint = [&](int section, graphics::Rect rect, int state) {
    if (section < 0 || rect.empty()) return;
    const graphics::Point offset{origin.x + r.left, origin.y + r.top};
    sapala::skin::PaintSection(*t, section, bg, -1, -1, bmp, offset, rect, state, state);
  };
  const int start = layout.Start, end = layout.Start + layout.Length;
  const int middle =
      layout.HasThumb ? layout.ThumbStart + layout.ThumbLength / 2 : start + layout.Length / 2;
  paint(index[0], along(start, middle), stateOf(sapala::skin::kScrollPageFirst));
  paint(index[1], along(middle, end), stateOf(sapala::skin::kScrollPageLast));
  paint(index[2], along(start, start + layout.Arrow), stateOf(sapala::skin::kScrollFirstArrow));
  paint(index[3], along(end - layout.Arrow, end), stateOf(sapala::skin::kScrollLastArrow));
  if (layout.HasThumb) {
    paint(index[4], along(layout.ThumbStart, layout.ThumbStart + layout.ThumbLength),
          stateOf(sapala::skin::kScrollThumb));
  }
  ::GdiFlush();
  ::BitBlt(dc, r.left, r.top, w, h, pic.DC(), 0, 0, SRCCOPY);
}

void TlcScrollWnd::PaintCorner(HDC dc) noexcept {
  RECT w{};
  ::GetWindowRect(hwnd_, &w);
  const auto r = sapala::skin::ScrollBarRectangles(w.right - w.left, w.bottom - w.top, space_,
                                                   Thickness(0), Thickness(1), left_bar_);
  if (r.Corner.empty()) return;
  TsBackgroundInfo info;
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  const auto bg = ParentBackgroundFor(client, info);
  const RECT corner{r.Corner.left, r.Corner.top, r.Corner.right, r.Corner.bottom};
  const auto* t = Tables();
  const int grip = t ? t->Cache.GripImage : -1;
  if (grip >= 0 && grip < static_cast<int>(t->Images.size()) && CornerMeetsTopClient()) {
    // The grip image (frame 0) in the corner's bottom-right, over the parent's colour.
    const auto& image = t->Images[static_cast<std::size_t>(grip)];
    const int cw = r.Corner.width(), ch = r.Corner.height();
    try {
      corner_.Resize(cw, ch);
    } catch (...) {
      return;
    }
    graphics::Bitmap& bmp = corner_.Pixels();
    const std::uint32_t fill =
        0xFF000000u | ((bg.Color & 0xFF) << 16) | (bg.Color & 0xFF00) | ((bg.Color >> 16) & 0xFF);
    for (int y = 0; y < ch; ++y) std::fill(bmp.Row32(y), bmp.Row32(y) + cw, fill);
    const int fw = image.Rect.width() / std::max<int>(1, image.FrameCount);
    const int fh = image.Rect.height() / (image.MaskKind != 0 ? 2 : 1);
    sapala::skin::PaintImageAt(bmp, {cw - fw, ch - fh}, 0,
                               sapala::skin::ParentBackground::FromColor(bg.Color), image, true);
    ::GdiFlush();
    ::BitBlt(dc, corner.left, corner.top, cw, ch, corner_.DC(), 0, 0, SRCCOPY);
    return;
  }
  Brush brush(::CreateSolidBrush(static_cast<COLORREF>(bg.Color & 0xFFFFFF)));
  ::FillRect(dc, &corner, brush.get());
}

void TlcScrollWnd::PaintBars() noexcept {
  if (!Installed() || !Active() || !::IsWindowVisible(hwnd_)) return;
  WindowDC dc(hwnd_, true);
  if (!dc.get()) return;
  for (int k = 0; k < 2; ++k) {
    if (Bar(k).Shown) PaintBar(k, dc.get(), Layout(k));
  }
  if (Bar(0).Shown && Bar(1).Shown) PaintCorner(dc.get());
}

// ---------------------------------------------------------------- messages

void TlcScrollWnd::WndProc(Message& m) {
  const bool onBar = m.WParam == HTHSCROLL || m.WParam == HTVSCROLL;
  switch (m.Msg) {
    case WM_NCCALCSIZE:
      CalcSize(m);
      return;
    case WM_NCHITTEST:
      HitTest(m);
      return;
    case WM_NCPAINT:
      CallPrevious(m);
      PaintBars();
      return;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (!onBar) break;
      {
        RECT w{};
        ::GetWindowRect(hwnd_, &w);
        const POINT p{static_cast<short>(LOWORD(m.LParam)) - w.left,
                      static_cast<short>(HIWORD(m.LParam)) - w.top};
        Press(m.WParam == HTHSCROLL ? 0 : 1, p);
      }
      m.Result = 0;
      return;
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
    case WM_NCMBUTTONDBLCLK:
    case WM_NCXBUTTONDOWN:
    case WM_NCXBUTTONUP:
    case WM_NCXBUTTONDBLCLK:
    case WM_NCLBUTTONUP:
      if (!onBar) break;
      m.Result = 0;
      return;
    case WM_SYSCOMMAND:
      if ((m.WParam & 0xFFF0) == SC_HSCROLL || (m.WParam & 0xFFF0) == SC_VSCROLL) {
        m.Result = 0;
        return;
      }
      break;
    case WM_NCMOUSEMOVE:
      if (onBar && hot_bar_ < 0) SetEngineTimer(kHoverTimer, kHoverMs);
      if (onBar) HoverTick();
      break;
    case WM_MOUSEMOVE:
      if (g_track.wnd == this) {
        POINT p = m.MousePoint();
        RECT w{};
        ::GetWindowRect(hwnd_, &w);
        ::ClientToScreen(hwnd_, &p);
        g_track.cursor = {p.x - w.left, p.y - w.top};
        if (g_track.thumb) {
          Track(g_track.cursor);
        } else {
          // The pressed element is drawn pressed only while the pointer is on it.
          const bool onPressedBar = BarAt(g_track.cursor) == g_track.bar;
          const int element =
              onPressedBar
                  ? sapala::skin::ScrollHitTest(
                        Layout(g_track.bar), g_track.bar == 0 ? g_track.cursor.x : g_track.cursor.y)
                  : -1;
          if ((element == g_track.pressed) != g_track.over) {
            g_track.over = element == g_track.pressed;
            PaintBars();
          }
        }
        m.Result = 0;
        return;
      }
      break;
    case WM_LBUTTONUP:
      if (g_track.wnd == this) {
        Release();
        m.Result = 0;
        return;
      }
      break;
    case WM_CAPTURECHANGED:
      // Capture taken away mid-press ends the press: no repeat may outlive the mouse.
      if (g_track.wnd == this && reinterpret_cast<HWND>(m.LParam) != hwnd_) Release();
      break;
    case WM_TIMER:
      if (m.WParam == kHoverTimer) {
        HoverTick();
        m.Result = 0;
        return;
      }
      if (m.WParam == kFirstRepeatTimer || m.WParam == kRepeatTimer) {
        Repeat(m.WParam);
        m.Result = 0;
        return;
      }
      CallPrevious(m);
      if (g_track.wnd != this) {
        ReadInfo();
        PaintBars();
      }
      return;
    case WM_STYLECHANGED:
      CallPrevious(m);
      if (!style_guard_ && ReadInfo()) PaintBars();
      return;
    case WM_STYLECHANGING:
      if (style_guard_) {
        CallPrevious(m);
        return;
      }
      break;
    case skin::SM_LUMOCMD:
      if (HIWORD(m.WParam) == skin::cmdRemoveSkin) {
        TsSkinManager* mgr = Manager();
        TlcMainWnd::WndProc(m);
        if (mgr && m.LParam == mgr->Id() && ::IsWindow(hwnd_)) {
          if (g_track.wnd == this) g_track = TrackRecord{};
          ::SetWindowPos(
              hwnd_, nullptr, 0, 0, 0, 0,
              SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return;
      }
      break;
    default:
      break;
  }
  TlcMainWnd::WndProc(m);
  // Whatever the window did (a key, a message from its owner) may have moved its bars.
  if (Installed() && m.Msg != WM_PAINT && ReadInfo()) PaintBars();
}

}  // namespace sapala::win
