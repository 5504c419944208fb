// The static and icon hooks of system dialogs.
#include "win/skin/static_hooks.h"

#include <algorithm>

#include "core/graphics/color.h"
#include "core/skin/skin_text_paint.h"
#include "win/controls/skin_link.h"

namespace sapala::win {

namespace {

// Skinned text drawn with GDI into the cache's DC.
class CacheText final : public sapala::skin::SkinTextCanvas {
 public:
  explicit CacheText(HDC dc) noexcept : dc_(dc) {}
  void DrawText(std::u16string_view text, const graphics::Rect& rect, unsigned format, TColor color,
                const graphics::Rect& clip) override {
    SavedDC saved(dc_);
    ::IntersectClipRect(dc_, clip.left, clip.top, clip.right, clip.bottom);
    ::SetBkMode(dc_, TRANSPARENT);
    ::SetTextColor(dc_, static_cast<COLORREF>(graphics::ColorToRGB(color) & 0xFFFFFF));
    RECT r{rect.left, rect.top, rect.right, rect.bottom};
    ::DrawTextW(dc_, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()),
                &r, format);
  }
  int TextWidth(std::u16string_view text) override {
    SIZE size{};
    ::GetTextExtentPoint32W(dc_, reinterpret_cast<const wchar_t*>(text.data()),
                            static_cast<int>(text.size()), &size);
    return size.cx;
  }
  void SetUnderline(bool) override {}

 private:
  HDC dc_;
};

// Every pixel opaque: GDI leaves the alpha bytes of what it drew at 0.
void MakeOpaque(graphics::Bitmap& picture) {
  for (int y = 0; y < picture.Height(); ++y) {
    std::uint32_t* row = picture.Row32(y);
    for (int x = 0; x < picture.Width(); ++x) row[x] |= 0xFF000000u;
  }
}

}  // namespace

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
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  if (client.right <= 0 || client.bottom <= 0) return false;
  cache_.Resize(client.right, client.bottom);
  graphics::Bitmap& picture = cache_.Pixels();
  TsBackgroundInfo info;
  const auto bg = ParentBackgroundFor(client, info);
  POINT origin{0, 0};
  if (HWND parent = ::GetParent(hwnd_)) ::MapWindowPoints(hwnd_, parent, &origin, 1);
  for (int y = 0; y < picture.Height(); ++y) {
    std::uint32_t* row = picture.Row32(y);
    for (int x = 0; x < picture.Width(); ++x) {
      TColor c = bg.Color;
      if (bg.IsBitmap && bg.Bitmap) {
        const int bx = x + origin.x + bg.OffsetX, by = y + origin.y + bg.OffsetY;
        if (bx >= 0 && by >= 0 && bx < bg.Bitmap->Width() && by < bg.Bitmap->Height()) {
          row[x] = bg.Bitmap->PixelWord(bx, by) | 0xFF000000u;
          continue;
        }
      }
      c = graphics::ColorToRGB(c);
      row[x] = 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }
  }
  const bool painted = PaintContent(cache_.DC(), client);
  ::GdiFlush();
  MakeOpaque(picture);
  stale_ = false;
  return painted;
}

bool TlcStaticWnd::PaintContent(HDC dc, const RECT& client) {
  if (text_.empty()) return true;
  HFONT font = reinterpret_cast<HFONT>(CallPrevious(WM_GETFONT, 0, 0));
  SelectedObject selected(dc,
                          font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
  const UINT flags =
      TextFlags(::GetWindowLongPtrW(hwnd_, GWL_STYLE), ::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
  CacheText canvas(dc);
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
  bool painted = false;
  try {
    painted = PaintCache();
  } catch (...) {
    return;
  }
  if (painted && cache_.DC()) {
    ::BitBlt(dc, 0, 0, cache_.Width(), cache_.Height(), cache_.DC(), 0, 0, SRCCOPY);
  }
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
