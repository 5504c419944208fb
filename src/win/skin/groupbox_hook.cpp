// The group-box hook: painting into the cache and the box's messages.
#include "win/skin/groupbox_hook.h"

#include "core/skin/button_rules.h"
#include "win/controls/skin_link.h"
#include "win/skin/hook_paint.h"
#include "win/skin/skin_manager.h"

namespace sapala::win {

namespace {

// The caption's distance from the frame's side, and the parent's background kept free on each
// side of it so that the frame line does not touch the letters.
constexpr int kCaptionIndent = 8;
constexpr int kCaptionPad = 2;

}  // namespace

bool TlcGroupBoxWnd::PaintCache() {
  const auto* tables = Tables();
  if (!tables || !SectionData()) return false;
  RECT client;
  graphics::Bitmap* started = StartClientPicture(client);
  if (!started) return false;
  graphics::Bitmap& picture = *started;

  HDC dc = cache_.DC();
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(hwnd_, WM_GETFONT, 0, 0));
  if (control_) font = control_->Font().Handle();
  SelectedObject selected(dc,
                          font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
  const LONG_PTR exStyle = ::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_STYLE);
  const bool right = (exStyle & WS_EX_RIGHT) || (style & BS_RIGHT) == BS_RIGHT;
  UINT flags = DT_SINGLELINE | DT_EXPANDTABS | DT_TOP | (right ? DT_RIGHT : DT_LEFT);
  if (exStyle & WS_EX_RTLREADING) flags |= DT_RTLREADING;
  // The frame starts half a line down even without caption, as the system draws it.
  TEXTMETRICW tm{};
  ::GetTextMetricsW(dc, &tm);
  RECT measured{0, 0, 0, 0};
  if (!text_.empty()) {
    ::DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &measured, flags | DT_CALCRECT);
  }
  const auto layout =
      sapala::skin::LayoutGroupBox(client.right, client.bottom, measured.right - measured.left,
                                   tm.tmHeight, kCaptionIndent, right);
  frame_rect_ = {layout.Frame.left, layout.Frame.top, layout.Frame.right, layout.Frame.bottom};
  caption_rect_ = {layout.Caption.left, layout.Caption.top, layout.Caption.right,
                   layout.Caption.bottom};

  // The parent above the frame and behind the caption, the section as the frame.
  TsBackgroundInfo info;
  const auto bg = ParentBackgroundFor(client, info);
  const POINT origin = OriginInParent();
  FillFromParent(picture, {0, 0, client.right, layout.Frame.top}, bg, origin);
  if (!layout.Frame.empty()) {
    sapala::skin::PaintElement(*tables, Element(), bg, true, picture, {origin.x, origin.y},
                               layout.Frame, 0);
  }
  if (!layout.Caption.empty()) {
    auto gap = layout.Caption;
    gap.left -= kCaptionPad;
    gap.right += kCaptionPad;
    FillFromParent(picture, gap, bg, origin);
    CacheTextCanvas canvas(dc);
    sapala::skin::SkinnedTextOwner owner;
    owner.Element = Element();
    owner.Skinned = true;
    owner.Cache = &picture;
    sapala::skin::WriteSkinnedText(canvas, AsU16(text_), ::IsWindowEnabled(hwnd_) != FALSE, false,
                                   *tables, owner, flags, layout.Caption);
  }
  FinishClientPicture();
  return true;
}

void TlcGroupBoxWnd::PassQuietly(Message& m, bool rereadText) noexcept {
  const bool visible = ::IsWindowVisible(hwnd_) != FALSE;
  if (visible) CallPrevious(WM_SETREDRAW, FALSE, 0);
  CallPrevious(m);
  if (visible) CallPrevious(WM_SETREDRAW, TRUE, 0);
  if (rereadText) ReadText();
  stale_ = true;
  RepaintNow();
}

void TlcGroupBoxWnd::WndProc(Message& m) {
  if (AnswerCachePaintMessages(hwnd_, m, [this](HDC dc) { PaintFromCache(dc); })) return;
  switch (m.Msg) {
    case WM_ENABLE:
    case BM_SETSTYLE:
      PassQuietly(m);
      return;
    case WM_SETTEXT:
      PassQuietly(m, true);
      return;
    case WM_MOVE:
      CallPrevious(m);
      stale_ = true;
      RepaintNow();
      return;
    default:
      break;
  }
  TlcMainWnd::WndProc(m);
}

}  // namespace sapala::win
