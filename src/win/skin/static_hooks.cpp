// The static and icon hooks of system dialogs.
#include "win/skin/static_hooks.h"

#include <algorithm>

#include "core/graphics/color.h"
#include "core/skin/skin_text_paint.h"
#include "win/controls/skin_link.h"
#include "win/skin/hook_paint.h"

namespace sapala::win {

UINT TlcStaticWnd::TextFlags(LONG_PTR style, LONG_PTR exStyle) noexcept {
  UINT flags = DT_WORDBREAK | DT_EXPANDTABS | DT_NOCLIP;
  if (style & SS_NOPREFIX) flags |= DT_NOPREFIX;
  if (exStyle & WS_EX_RIGHT) flags |= DT_RIGHT;
  return flags;
}

bool TlcStaticWnd::LeftToItself() const noexcept {
  return (::GetWindowLongPtrW(hwnd_, GWL_STYLE) & 0x10000) ||
         (::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_STATICEDGE);
}

bool TlcStaticWnd::PaintCache() {
  const auto* tables = Tables();
  if (!tables || !SectionData()) return false;
  RECT client;
  graphics::Bitmap* started = StartClientPicture(client);
  if (!started) return false;
  graphics::Bitmap& picture = *started;
  TsBackgroundInfo info;
  const auto bg = ParentBackgroundFor(client, info);
  const POINT origin = OriginInParent();
  FillFromParent(picture, picture.Bounds(), bg, origin);
  const bool painted = PaintContent(cache_.DC(), client);
  FinishClientPicture();
  return painted;
}

bool TlcStaticWnd::PaintContent(HDC dc, const RECT& client) {
  if (text_.empty()) return true;
  HFONT font = reinterpret_cast<HFONT>(CallPrevious(WM_GETFONT, 0, 0));
  SelectedObject selected(dc,
                          font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
  const UINT flags =
      TextFlags(::GetWindowLongPtrW(hwnd_, GWL_STYLE), ::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
  CacheTextCanvas canvas(dc);
  sapala::skin::SkinnedTextOwner owner;
  owner.Element = Element();
  owner.Skinned = true;
  owner.Cache = &cache_.Pixels();
  sapala::skin::WriteSkinnedText(
      canvas, std::u16string_view(reinterpret_cast<const char16_t*>(text_.data()), text_.size()),
      ::IsWindowEnabled(hwnd_) != FALSE, false, *Tables(), owner, flags,
      {client.left, client.top, client.right, client.bottom});
  return true;
}

bool TlcIconWnd::PaintContent(HDC dc, const RECT& client) {
  auto icon = reinterpret_cast<HICON>(CallPrevious(STM_GETICON, 0, 0));
  if (icon) {
    ICONINFO ii{};
    int w = client.right, h = client.bottom;
    if (::GetIconInfo(icon, &ii)) {
      // GetIconInfo hands out copies of the icon's bitmaps: they are ours to free.
      Bitmap mask(ii.hbmMask), colour(ii.hbmColor);
      BITMAP bm{};
      if (::GetObjectW(ii.hbmMask, sizeof bm, &bm)) {
        w = bm.bmWidth;
        h = ii.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
      }
    }
    return ::DrawIconEx(dc, 0, 0, icon, w, h, 0, nullptr, DI_NORMAL) != FALSE;
  }
  if (!bitmap_) bitmap_ = reinterpret_cast<HBITMAP>(CallPrevious(STM_GETIMAGE, IMAGE_BITMAP, 0));
  if (!bitmap_) return false;
  BITMAP bm{};
  if (!::GetObjectW(bitmap_, sizeof bm, &bm)) return false;
  MemoryDC source(::CreateCompatibleDC(dc));
  SelectedObject selected(source.get(), bitmap_);
  return ::BitBlt(dc, 0, 0, std::min<int>(bm.bmWidth, client.right),
                  std::min<int>(bm.bmHeight, client.bottom), source.get(), 0, 0, SRCCOPY) != FALSE;
}

void TlcStaticWnd::Paint(HDC dc) noexcept {
  // Drawn anew every time: what lies under it may have changed without a message.
  try {
    if (!PaintCache()) return;
  } catch (...) {
    return;
  }
  CopyCacheTo(dc);
}

void TlcStaticWnd::RedrawNow() noexcept {
  ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOERASE);
}

void TlcStaticWnd::WndProc(Message& m) {
  if (m.Msg == skin::SM_LUMOCMD || LeftToItself()) {
    TlcMainWnd::WndProc(m);
    return;
  }
  const bool visible = ::IsWindowVisible(hwnd_) != FALSE;
  switch (m.Msg) {
    case WM_MOVE:
    case WM_ENABLE:
      if (!visible) break;
      stale_ = true;
      CallPrevious(m);
      RedrawNow();
      return;
    case WM_SETTEXT:
      if (!visible) break;
      CallPrevious(WM_SETREDRAW, FALSE, 0);
      CallPrevious(m);
      CallPrevious(WM_SETREDRAW, TRUE, 0);
      ReadText();
      stale_ = true;
      RedrawNow();
      return;
    case WM_ERASEBKGND:
      if (!visible) break;
      m.Result = 1;
      return;
    case WM_NCPAINT:
      m.Result = 0;
      return;
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : ::BeginPaint(hwnd_, &ps);
      if (visible && dc) Paint(dc);
      if (!m.WParam) ::EndPaint(hwnd_, &ps);
      m.Result = 0;
      return;
    }
    case WM_PRINT:
    case WM_PRINTCLIENT:
      if (m.WParam) Paint(reinterpret_cast<HDC>(m.WParam));
      m.Result = 0;
      return;
    default:
      break;
  }
  TlcMainWnd::WndProc(m);
}

}  // namespace sapala::win
