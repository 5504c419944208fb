// The check-box hook: glyph choice, painting into the cache and the control's messages.
#include "win/skin/checkbox_hook.h"

#include <algorithm>

#include "core/skin/button_rules.h"
#include "win/controls/skin_link.h"
#include "win/skin/hook_paint.h"
#include "win/skin/skin_manager.h"

namespace sapala::win {

namespace {

// Pixels between the glyph and the caption.
constexpr int kGlyphGap = 4;

DWORD StyleOf(HWND hwnd) noexcept {
  return static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_STYLE));
}

}  // namespace

int TlcCheckBoxWnd::State() const noexcept {
  if (!::IsWindowEnabled(hwnd_)) return 0;
  if (::SendMessageW(hwnd_, BM_GETSTATE, 0, 0) & BST_PUSHED) return 2;
  TsSkinManager* mgr = Manager();
  return ::GetFocus() == hwnd_ || (mgr && mgr->HotControl() == hwnd_) ? 1 : 0;
}

int TlcCheckBoxWnd::GlyphImage() const noexcept {
  const auto* t = Tables();
  if (!t) return -1;
  const int check = static_cast<int>(::SendMessageW(hwnd_, BM_GETCHECK, 0, 0));
  return sapala::skin::CheckGlyphImage(StyleOf(hwnd_), check, t->Cache.CheckBoxes);
}

bool TlcCheckBoxWnd::PaintCache() {
  const auto* tables = Tables();
  if (!tables || !SectionData()) return false;
  RECT client;
  graphics::Bitmap* started = StartClientPicture(client);
  if (!started) return false;
  graphics::Bitmap& picture = *started;
  const int state = State();
  const bool enabled = ::IsWindowEnabled(hwnd_) != FALSE;

  // The section over what the parent shows under the control.
  TsBackgroundInfo info;
  const auto bg = ParentBackgroundFor(client, info);
  const POINT origin = OriginInParent();
  sapala::skin::PaintElement(*tables, Element(), bg, true, picture, {origin.x, origin.y},
                             picture.Bounds(), state);

  // The glyph, in the frame of the state, over what was painted so far.
  const DWORD style = StyleOf(hwnd_);
  const LONG_PTR exStyle = ::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
  const int image = GlyphImage();
  const auto* glyph = tables->Image(image);
  const int gw = glyph ? sapala::skin::FrameWidth(*glyph) : 0;
  const int gh = glyph ? sapala::skin::FrameHeight(*glyph) : 0;
  const bool glyphRight = (style & BS_LEFTTEXT) || (exStyle & WS_EX_RIGHT);
  const auto layout = sapala::skin::LayoutCheckBox(client.right, client.bottom, gw, gh, glyphRight,
                                                   glyph ? kGlyphGap : 0);
  glyph_rect_ = {layout.Glyph.left, layout.Glyph.top, layout.Glyph.right, layout.Glyph.bottom};
  if (glyph) {
    // The glyph's transparent pixels show the parent.
    auto behind = bg;
    behind.OffsetX += origin.x;
    behind.OffsetY += origin.y;
    sapala::skin::PaintImageAt(picture, layout.Glyph.topLeft(), state, behind, *glyph, true);
  }

  // The caption, vertically centred in its area; wrapped only for multi-line controls.
  HDC dc = cache_.DC();
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(hwnd_, WM_GETFONT, 0, 0));
  if (control_) font = control_->Font().Handle();
  SelectedObject selected(dc,
                          font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
  UINT flags = DT_EXPANDTABS | (glyphRight ? DT_RIGHT : DT_LEFT);
  flags |= (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
  if (exStyle & WS_EX_RTLREADING) flags |= DT_RTLREADING;
  const auto& area = layout.TextArea;
  RECT measured{0, 0, area.width(), 0};
  ::DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &measured, flags | DT_CALCRECT);
  const int w = std::min<int>(measured.right - measured.left, area.width());
  const int h = measured.bottom - measured.top;
  RECT r{glyphRight ? area.right - w : area.left, area.top + (area.height() - h) / 2, 0, 0};
  r.right = r.left + w;
  r.bottom = r.top + h;
  text_rect_ = r;
  if (!text_.empty() && w > 0) {
    CacheTextCanvas canvas(dc);
    sapala::skin::SkinnedTextOwner owner;
    owner.Element = Element();
    owner.Skinned = true;
    owner.Cache = &picture;
    sapala::skin::WriteSkinnedText(canvas, AsU16(text_), enabled, state > 0, *tables, owner, flags,
                                   {r.left, r.top, r.right, r.bottom});
  }
  const LRESULT bst = ::SendMessageW(hwnd_, BM_GETSTATE, 0, 0);
  focus_shown_ = enabled && (bst & BST_FOCUS) && !text_.empty() && w > 0;
  if (focus_shown_) {
    RECT focus = r;
    ::InflateRect(&focus, 1, 1);
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkColor(dc, RGB(255, 255, 255));
    ::DrawFocusRect(dc, &focus);
  }
  FinishClientPicture(enabled, &bg, origin);
  return true;
}

void TlcCheckBoxWnd::PassQuietly(Message& m, bool rereadText) noexcept {
  const bool visible = ::IsWindowVisible(hwnd_) != FALSE;
  if (visible) CallPrevious(WM_SETREDRAW, FALSE, 0);
  CallPrevious(m);
  if (visible) CallPrevious(WM_SETREDRAW, TRUE, 0);
  if (rereadText) ReadText();
  stale_ = true;
  ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOERASE);
}

void TlcCheckBoxWnd::SetHot(bool hot) noexcept {
  TsSkinManager* mgr = Manager();
  if (!mgr || (mgr->HotControl() == hwnd_) == hot) return;
  mgr->SetHotControl(hot ? hwnd_ : nullptr);
  if (hot) {
    TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, hwnd_, 0};
    ::TrackMouseEvent(&t);
  }
  stale_ = true;
  RepaintNow();
}

void TlcCheckBoxWnd::WndProc(Message& m) {
  if (AnswerCachePaintMessages(hwnd_, m, [this](HDC dc) { PaintFromCache(dc); })) return;
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case BM_SETCHECK:
    case BM_SETSTATE:
    case BM_SETSTYLE:
      PassQuietly(m);
      return;
    case WM_SETTEXT:
      PassQuietly(m, true);
      return;
    case WM_MOUSEMOVE: {
      CallPrevious(m);
      // Where the message says the pointer is: the system's cursor position may lag behind it.
      const POINT p = m.MousePoint();
      RECT r{};
      ::GetClientRect(hwnd_, &r);
      SetHot(::PtInRect(&r, p) && ::IsWindowEnabled(hwnd_));
      return;
    }
    case WM_MOUSELEAVE:
      CallPrevious(m);
      SetHot(false);
      return;
    case WM_MOVE: {
      CallPrevious(m);
      // The check box shows its parent through: a new place shows a new background.
      stale_ = true;
      RepaintNow();
      return;
    }
    default:
      break;
  }
  TlcMainWnd::WndProc(m);
}

}  // namespace sapala::win
