// The edit hook: the skinned border over the window's non-client edge, focused and hot.
#include "win/skin/edit_hook.h"

#include "win/controls/skin_link.h"
#include "win/skin/hook_paint.h"
#include "win/skin/skin_manager.h"

namespace sapala::win {

int TlcEditWnd::State() const noexcept {
  TsSkinManager* mgr = Manager();
  return ::GetFocus() == hwnd_ || (mgr && mgr->HotControl() == hwnd_) ? 1 : 0;
}

void TlcEditWnd::PaintBorder() noexcept {
  const auto* tables = Tables();
  if (!Installed() || !tables || !SectionData() || !::IsWindowVisible(hwnd_)) return;
  RECT wr{};
  ::GetWindowRect(hwnd_, &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (w <= 0 || h <= 0) return;
  // The client rectangle in window coordinates: everything around it is the edge.
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  ::MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&client), 2);
  ::OffsetRect(&client, -wr.left, -wr.top);
  if (client.left <= 0 && client.top <= 0 && client.right >= w && client.bottom >= h) return;
  try {
    border_.Resize(w, h);
  } catch (...) {
    return;
  }
  graphics::Bitmap& picture = border_.Pixels();
  ClearPicture(picture);
  RECT local{};
  ::GetClientRect(hwnd_, &local);
  TsBackgroundInfo info;
  const auto bg = ParentBackgroundFor(local, info);
  POINT origin{wr.left, wr.top};
  if (HWND parent = ::GetParent(hwnd_)) ::ScreenToClient(parent, &origin);
  sapala::skin::PaintElement(*tables, Element(), bg, true, picture, {origin.x, origin.y},
                             picture.Bounds(), State());
  MakeOpaque(picture);
  WindowDC dc(hwnd_, true);
  if (!dc.get()) return;
  SavedDC saved(dc.get());
  ::ExcludeClipRect(dc.get(), client.left, client.top, client.right, client.bottom);
  for (int k = 0; k < 2; ++k) {
    if (!Bar(k).Shown) continue;
    const RECT b = BarRect(k);
    ::ExcludeClipRect(dc.get(), b.left, b.top, b.right, b.bottom);
  }
  if (Bar(0).Shown && Bar(1).Shown) {
    // The corner square between the bars belongs to the scroll engine.
    const RECT hb = BarRect(0), vb = BarRect(1);
    ::ExcludeClipRect(dc.get(), vb.left, hb.top, vb.right, hb.bottom);
  }
  ::BitBlt(dc.get(), 0, 0, w, h, border_.DC(), 0, 0, SRCCOPY);
}

void TlcEditWnd::WndProc(Message& m) {
  switch (m.Msg) {
    case WM_NCPAINT:
      // The system's edge and the engine's bars first, then the skin's border over the edge.
      TlcScrollWnd::WndProc(m);
      PaintBorder();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TlcScrollWnd::WndProc(m);
      PaintBorder();
      return;
    case WM_MOUSEMOVE: {
      TsSkinManager* mgr = Manager();
      const bool wasHot = mgr && mgr->HotControl() == hwnd_;
      TlcScrollWnd::WndProc(m);  // makes the window the manager's hot control
      if (!wasHot && mgr && mgr->HotControl() == hwnd_) {
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, hwnd_, 0};
        ::TrackMouseEvent(&t);
        PaintBorder();
      }
      return;
    }
    case WM_MOUSELEAVE:
      TlcScrollWnd::WndProc(m);
      if (TsSkinManager* mgr = Manager(); mgr && mgr->HotControl() == hwnd_) {
        mgr->SetHotControl(nullptr);
        PaintBorder();
      }
      return;
    case skin::SM_LUMOCMD:
      TlcScrollWnd::WndProc(m);
      if (HIWORD(m.WParam) == skin::cmdRefresh && Installed()) PaintBorder();
      return;
    default:
      break;
  }
  TlcScrollWnd::WndProc(m);
}

}  // namespace sapala::win
