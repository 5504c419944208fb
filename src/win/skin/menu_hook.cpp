// The popup menu window hook; see menu_hook.h.
#include "win/skin/menu_hook.h"

#include <algorithm>

#include "win/controls/skin_link.h"
#include "win/skin/skin_manager.h"
#include "win/skin/skin_menus.h"

namespace sapala::win {

namespace {

constexpr UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU: the menu a popup window shows

}  // namespace

TlcMnuWnd::TlcMnuWnd(HWND hwnd, TsSkinManager* manager, skin::TsSkinableMenus& painter)
    : TlcScrollWnd(hwnd, manager, "MAINMENU", false), painter_(painter) {}

TlcMnuWnd::~TlcMnuWnd() {
  GiveRegionBack();
  Remove();
}

void TlcMnuWnd::GiveRegionBack() noexcept {
  if (!region_given_) return;
  region_given_ = false;
  if (::IsWindow(hwnd_) && !WindowDestroyed()) ::SetWindowRgn(hwnd_, nullptr, FALSE);
}

RECT TlcMnuWnd::ItemArea() const noexcept {
  RECT area{0, 0, 0, 0};
  const auto menu = reinterpret_cast<HMENU>(::SendMessageW(hwnd_, kGetMenuHandle, 0, 0));
  if (menu == nullptr || !::IsMenu(menu)) return area;
  RECT wr{};
  ::GetWindowRect(hwnd_, &wr);
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    RECT r{};
    if (!::GetMenuItemRect(hwnd_, menu, static_cast<UINT>(i), &r)) continue;
    ::OffsetRect(&r, -wr.left, -wr.top);
    ::UnionRect(&area, &area, &r);
  }
  return area;
}

void TlcMnuWnd::PaintFrame() noexcept {
  const auto* b = painter_.BackgroundOf(hwnd_);
  if (b == nullptr || b->bitmap.Empty()) return;
  RECT wr{};
  ::GetWindowRect(hwnd_, &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (b->bitmap.Width() != w || b->bitmap.Height() != h) return;
  // Everything of the window outside the items is frame: the system's edge (in the client
  // under Wine, in the non-client area under Windows) gives way to the skin's.
  RECT items = ItemArea();
  if (::IsRectEmpty(&items)) {
    POINT origin{0, 0};
    ::ClientToScreen(hwnd_, &origin);
    RECT cr{};
    ::GetClientRect(hwnd_, &cr);
    items = {origin.x - wr.left, origin.y - wr.top, origin.x - wr.left + cr.right,
             origin.y - wr.top + cr.bottom};
  }
  items.left = std::clamp<int>(items.left, 0, w);
  items.right = std::clamp<int>(items.right, items.left, w);
  items.top = std::clamp<int>(items.top, 0, h);
  items.bottom = std::clamp<int>(items.bottom, items.top, h);
  HDC dc = ::GetWindowDC(hwnd_);
  if (dc == nullptr) return;
  const graphics::Rect strips[4] = {{0, 0, w, items.top},
                                    {0, items.bottom, w, h},
                                    {0, items.top, items.left, items.bottom},
                                    {items.right, items.top, w, items.bottom}};
  for (const graphics::Rect& s : strips) {
    if (!s.empty()) skin::CopyPictureToDC(dc, s.left, s.top, b->bitmap, s);
  }
  ::ReleaseDC(hwnd_, dc);
}

void TlcMnuWnd::WndProc(Message& m) {
  switch (m.Msg) {
    case skin::SM_LUMOCMD:
      if (HIWORD(m.WParam) == kCmdOwnRegion) {
        m.Result = 0;
        return;
      }
      if (HIWORD(m.WParam) == kCmdPrepareRegion) {
        region_given_ = true;
        m.Result = 0;
        return;
      }
      if (HIWORD(m.WParam) == skin::cmdRemoveSkin) GiveRegionBack();
      break;
    case WM_NCPAINT:
      // Windows draws the popup's edge here; ours replaces it when the popup has a background.
      if (painter_.BackgroundOf(hwnd_) != nullptr) {
        PaintFrame();
        m.Result = 0;
        return;
      }
      break;
    case WM_PAINT:
      CallPrevious(m);
      PaintFrame();
      return;
    case WM_MOUSEMOVE:
      // A menu is never the manager's hot control: the painter sends the hot control
      // WM_MOUSELEAVE while it draws.
      CallPrevious(m);
      return;
    default:
      break;
  }
  TlcScrollWnd::WndProc(m);
}

}  // namespace sapala::win
