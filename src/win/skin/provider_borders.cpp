// The provider's extended borders and outline drag. Extended borders: while the manager offers
// them, a form with a border shows its frame inside a larger image whose margins hold the
// skin's outer border or shadow; a layered companion window (TlcBorderForm) shows that image
// under the form, and the form copies its own frame strips from it. The outline drag
// (ResizeMode rmBorder): moving and sizing show an XOR outline on the screen, and the window
// takes the outline's place once, on release.
#include <algorithm>

#include "core/skin/ext_border.h"
#include "core/skin/outline_drag.h"
#include "core/skin/skin_manager.h"
#include "win/skin/border_form.h"
#include "win/skin/skin_manager.h"
#include "win/skin/skin_provider.h"

namespace sapala::win {

namespace sk = sapala::skin;

// ---------------------------------------------------------------- extended borders

bool TsSkinProvider::WantsBorderForm() const {
  if (!AllowExtBorders || !FrameSkinned()) return false;
  TsSkinManager* m = SkinData.SkinManagerOf();
  if (!m || !m->Core().ExtendedBorders() || !m->Core().ExtendedBordersInEffect()) return false;
  HWND hwnd = form_.WindowHandle();
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
  const LONG_PTR ex = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  // A child window or an MDI child lives inside its parent: there is nothing to shadow.
  if (form_.Parent() || (style & WS_CHILD) || (ex & WS_EX_MDICHILD)) return false;
  return form_.GetBorderStyle() != BorderStyle::bsNone;
}

void TsSkinProvider::SyncBorderForm() {
  const bool want = WantsBorderForm();
  if (want == (border_form_ != nullptr)) return;
  HWND hwnd = form_.WindowHandle();
  if (want) {
    auto border = std::make_unique<skin::TlcBorderForm>(hwnd);
    if (!border->Handle()) return;
    border->OnBorderPress = [this](int code, POINT screen) { return BorderPressed(code, screen); };
    border_form_ = std::move(border);
    border_picture_stale_ = true;
  } else {
    DropBorderForm();
  }
  // The frame has other sizes now: the client area, layout, image and region follow.
  title_text_ = {};
  UpdateLayout();
  InvalidateWindowImage();
  region_changed_ = true;
  if (hwnd) {
    ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TsSkinProvider::DropBorderForm() noexcept {
  border_form_.reset();
  border_picture_stale_ = false;
}

POINT TsSkinProvider::ImageOrigin() const noexcept {
  if (!border_form_) return {0, 0};
  TsSkinManager* m = SkinData.SkinManagerOf();
  if (!m) return {0, 0};
  const sk::BorderWidths e = sk::ExtBorderMargins(m->Core().Tables);
  return {e.left, e.top};
}

void TsSkinProvider::ShowBorderPicture() {
  if (!border_form_ || !border_picture_stale_) return;
  const graphics::Bitmap* cache = SkinData.Cache.get();
  if (!cache || cache->Empty()) return;
  border_picture_stale_ = false;
  border_form_->Update(*cache, BorderMargins(), FormOpacity());
}

bool TsSkinProvider::CalcExtendedClient(Message& m) {
  HWND hwnd = form_.WindowHandle();
  if (!border_form_ || ::IsIconic(hwnd) || !m.LParam) return false;
  // The window rectangle the system proposes is the first rectangle in both forms of the
  // message; the client area is cut from it by the skin's frame and caption.
  auto* r = reinterpret_cast<RECT*>(m.LParam);
  const RECT window = *r;
  const int frame = FrameWidth();
  const int caption = CaptionHeight();
  RECT client{window.left + frame, window.top + frame + caption, window.right - frame,
              window.bottom - frame};
  client.right = std::max(client.left, client.right);
  client.bottom = std::max(client.top, client.bottom);
  *r = client;
  m.Result = 0;
  return true;
}

HWND TsSkinProvider::BorderWindow() const noexcept {
  return border_form_ ? border_form_->Handle() : nullptr;
}

RECT TsSkinProvider::BorderMargins() const noexcept {
  if (!border_form_) return {};
  TsSkinManager* m = SkinData.SkinManagerOf();
  if (!m) return {};
  const sk::BorderWidths e = sk::ExtBorderMargins(m->Core().Tables);
  return {e.left, e.top, e.right, e.bottom};
}

Window TsSkinProvider::ReleaseBorderWindow() noexcept {
  if (!border_form_) return Window();
  Window w = border_form_->Release();
  DropBorderForm();
  return w;
}

graphics::Bitmap TsSkinProvider::BorderWindowPicture() {
  graphics::Bitmap* image = ComposedImage();
  return image ? image->Clone() : graphics::Bitmap();
}

void TsSkinProvider::BorderWindowRestored() noexcept {
  if (!border_form_) return;
  border_picture_stale_ = true;
  ShowBorderPicture();
}

bool TsSkinProvider::BorderPressed(int hitCode, POINT screen) {
  HWND hwnd = form_.WindowHandle();
  if (!hwnd) return true;
  ::SetForegroundWindow(hwnd);
  if (OutlineDrag(hitCode, screen)) return true;
  return false;  // the companion gives the form the system's size command
}

// ---------------------------------------------------------------- outline drag

TsSkinProvider::OutlineHooks& TsSkinProvider::OutlineDragHooks() {
  static OutlineHooks hooks;
  return hooks;
}

namespace {

// An outline three pixels wide inverted on the screen; drawn twice it is gone. The four strips
// never overlap, so every pixel is inverted once.
void InvertOutline(const RECT& r) {
  WindowDC dc(nullptr);
  if (!dc.get()) return;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  const int t = std::min({3, w / 2 + w % 2, h / 2 + h % 2});
  ::PatBlt(dc.get(), r.left, r.top, w, t, DSTINVERT);
  if (h > t) ::PatBlt(dc.get(), r.left, r.bottom - t, w, std::min(t, h - t), DSTINVERT);
  const int side = h - 2 * t;
  if (side > 0) {
    ::PatBlt(dc.get(), r.left, r.top + t, t, side, DSTINVERT);
    if (w > t) ::PatBlt(dc.get(), r.right - t, r.top + t, std::min(t, w - t), side, DSTINVERT);
  }
}

RECT ToRECT(const graphics::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

bool TsSkinProvider::OutlineDrag(int hitCode, POINT screen) {
  HWND hwnd = form_.WindowHandle();
  if (ResizeMode != TsResizeMode::rmBorder || !hwnd || !::IsWindowEnabled(hwnd)) return false;
  if (::IsZoomed(hwnd) || ::IsIconic(hwnd)) return false;
  const bool sizeable = (::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_THICKFRAME) != 0;
  if (!sk::IsOutlineMoveCode(hitCode) && !(sk::IsOutlineSizeCode(hitCode) && sizeable)) {
    return false;
  }
  // Without full-window dragging the system draws its own outline.
  BOOL fullDrag = FALSE;
  ::SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &fullDrag, 0);
  if (!fullDrag) return false;

  RECT wr{};
  ::GetWindowRect(hwnd, &wr);
  // The window's own track limits (the system's, and whatever the form asks for).
  MINMAXINFO mmi{};
  mmi.ptMinTrackSize = {::GetSystemMetrics(SM_CXMINTRACK), ::GetSystemMetrics(SM_CYMINTRACK)};
  mmi.ptMaxTrackSize = {::GetSystemMetrics(SM_CXMAXTRACK), ::GetSystemMetrics(SM_CYMAXTRACK)};
  ::SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  sk::OutlineDragInput in;
  in.HitCode = hitCode;
  in.Start = {wr.left, wr.top, wr.right, wr.bottom};
  in.Anchor = in.Cursor = {screen.x, screen.y};
  in.MinWidth = mmi.ptMinTrackSize.x;
  in.MinHeight = mmi.ptMinTrackSize.y;
  in.MaxWidth = mmi.ptMaxTrackSize.x;
  in.MaxHeight = mmi.ptMaxTrackSize.y;

  const OutlineHooks& hooks = OutlineDragHooks();
  RECT outline = wr;
  bool drawn = false;
  auto draw = [&] {
    InvertOutline(outline);
    drawn = !drawn;
    if (drawn && hooks.onOutline) hooks.onOutline(outline);
  };
  ::SetCapture(hwnd);
  draw();
  bool apply = false;
  MSG msg{};
  // Our own loop, like the system's move and size loop: mouse and keys end or steer the drag,
  // everything else is dispatched. Losing the capture cancels.
  while (::GetCapture() == hwnd) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got < 0) break;
    bool done = false;
    switch (msg.message) {
      case WM_MOUSEMOVE:
      case WM_LBUTTONUP:
      case WM_NCMOUSEMOVE:
      case WM_NCLBUTTONUP: {
        POINT p{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
        // Client messages carry client coordinates of the window they went to.
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
          ::ClientToScreen(msg.hwnd, &p);
        }
        in.Cursor = {p.x, p.y};
        const RECT next = ToRECT(sk::OutlineDragRect(in));
        if (!::EqualRect(&next, &outline)) {
          draw();  // off
          outline = next;
          draw();
        }
        if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) {
          apply = true;
          done = true;
        }
        break;
      }
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        if (msg.wParam == VK_ESCAPE) done = true;
        break;
      case WM_KEYUP:
      case WM_SYSKEYUP:
      case WM_CHAR:
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_RBUTTONUP:
        break;  // swallowed while the drag runs
      default:
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
        break;
    }
    if (done) break;
  }
  draw();  // off
  if (::GetCapture() == hwnd) ::ReleaseCapture();
  if (apply && !::EqualRect(&outline, &wr)) {
    ::MoveWindow(hwnd, outline.left, outline.top, outline.right - outline.left,
                 outline.bottom - outline.top, TRUE);
  }
  return true;
}

}  // namespace sapala::win
