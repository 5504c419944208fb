// The provider's menu line: the form's main menu bar drawn into the window image (the
// "MENULINE" section under the bar's items, each item drawn by the menu painter where the
// system placed it), its row count, and the repaint after the menu changed.
#include <algorithm>

#include "core/graphics/pixels.h"
#include "core/skin/skin_manager.h"
#include "core/skin/skin_paint.h"
#include "win/framework/dib.h"
#include "win/framework/handles.h"
#include "win/framework/menus.h"
#include "win/skin/skin_manager.h"
#include "win/skin/skin_menus.h"
#include "win/skin/skin_provider.h"

namespace sapala::win {

namespace sk = sapala::skin;
using graphics::Rect;

TMainMenu* TsSkinProvider::ShownMenu() const {
  TMainMenu* menu = form_.Menu();
  if (menu == nullptr || menu->AutoMerge || menu->Items().Count() == 0) return nullptr;
  if (menu->Handle() == nullptr || ::GetMenu(form_.WindowHandle()) != menu->Handle())
    return nullptr;
  if (form_.GetBorderStyle() == BorderStyle::bsDialog) return nullptr;
  if (::GetWindowLongPtrW(form_.WindowHandle(), GWL_EXSTYLE) & WS_EX_MDICHILD) return nullptr;
  return menu;
}

int TsSkinProvider::MenuLineRows() {
  if (menu_rows_ >= 0) return menu_rows_;
  HWND hwnd = form_.WindowHandle();
  sk::MenuLineInput in;
  TMainMenu* menu = hwnd != nullptr ? ShownMenu() : nullptr;
  in.HasMenu = menu != nullptr;
  in.Minimized = hwnd != nullptr && ::IsIconic(hwnd);
  in.MenuMetric = ::GetSystemMetrics(SM_CYMENU);
  if (menu != nullptr) {
    RECT item{};
    POINT client{0, 0};
    in.ItemRectKnown = ::GetMenuItemRect(hwnd, menu->Handle(), 0, &item) != 0 &&
                       ::ClientToScreen(hwnd, &client) != 0;
    in.FirstItemBottom = item.bottom;
    in.ClientTop = client.y;
  }
  menu_rows_ = sk::MenuLineRows(in);
  return menu_rows_;
}

int TsSkinProvider::MenuLineHeight() {
  const int rows = MenuLineRows();
  return rows > 0 ? rows * sk::MenuRowHeight(::GetSystemMetrics(SM_CYMENU)) : 0;
}

void TsSkinProvider::PaintMenuLine(graphics::Bitmap& cache, int frame, int caption) {
  menu_line_ = graphics::Bitmap();
  TsSkinManager* manager = SkinData.SkinManagerOf();
  TMainMenu* menu = ShownMenu();
  HWND hwnd = form_.WindowHandle();
  if (manager == nullptr || menu == nullptr) return;
  const int rows = MenuLineRows();
  if (rows <= 0) return;
  // The frame is ours, so the system never draws the bar: without skinned popups the line
  // shows the system's menu colours and plain items instead of the skin.
  const bool skinned = manager->Core().SkinnedPopups();
  const sk::SkinTables& tables = manager->Core().Tables;
  const int height = rows * sk::MenuRowHeight(::GetSystemMetrics(SM_CYMENU)) + 1;
  const Rect line =
      Rect{frame, frame + caption, cache.Width() - frame, frame + caption + height}.intersect(
          cache.Bounds());
  if (line.empty()) return;
  const int section =
      skinned ? tables.FindSection(MenuLineSkin.empty() ? "MENULINE" : MenuLineSkin) : -1;
  if (section >= 0) {
    const int state = FormActive() ? 1 : 0;
    sk::PaintSection(tables, section, sk::ParentBackground::FromBitmap(&cache, 0, 0), -1, -1, cache,
                     {line.left, line.top}, line, state, state);
  } else if (!skinned) {
    graphics::FillBitmapRect(cache, line, static_cast<TColor>(::GetSysColor(COLOR_MENU)));
  }
  graphics::SetOpacityRect(cache, line, 255, false);
  // What a hot or pressed item is drawn over later: the line without items.
  menu_line_ = graphics::NewBitmap32(line.width(), line.height());
  graphics::CopyBitmapRect(menu_line_, {0, 0}, cache, line);
  menu_line_origin_ = {line.left, line.top};

  // The items where the system placed them, drawn into the window image through GDI.
  HBITMAP dib = ImageDib();
  if (dib == nullptr) return;
  MemoryDC dc(::CreateCompatibleDC(nullptr));
  if (!dc) return;
  SelectedObject selected(dc.get(), dib);
  RECT wr{};
  ::GetWindowRect(hwnd, &wr);
  skin::TsSkinableMenus& painter = manager->Menus();
  const int count = ::GetMenuItemCount(menu->Handle());
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_ID | MIIM_STATE;
    RECT r{};
    if (!::GetMenuItemInfoW(menu->Handle(), static_cast<UINT>(i), TRUE, &mi) ||
        !::GetMenuItemRect(hwnd, menu->Handle(), static_cast<UINT>(i), &r)) {
      continue;
    }
    TMenuItem* item = menu->FindItem(mi.wID);
    if (item == nullptr) continue;
    ::OffsetRect(&r, -wr.left, -wr.top);
    RECT clipped{};
    const RECT lineRect{line.left, line.top, line.right, line.bottom};
    if (!::IntersectRect(&clipped, &r, &lineRect)) continue;
    const UINT state = (mi.fState & MFS_DISABLED) ? ODS_DISABLED | ODS_GRAYED : 0u;
    if (skinned) {
      painter.DrawBarItem(*item, dc.get(), r, state, menu_line_,
                          {r.left - line.left, r.top - line.top});
    } else {
      DrawPlainMenuItem(*item, dc.get(), r, state);
    }
  }
  ::GdiFlush();
  graphics::SetOpacityRect(cache, line, 255, false);
}

void TsSkinProvider::MenuChanged() {
  menu_rows_ = -1;
  InvalidateWindowImage();
  if (FrameSkinned() && ::IsWindowVisible(form_.WindowHandle())) {
    ::SendMessageW(form_.WindowHandle(), WM_NCPAINT, 1, 0);
  }
}

}  // namespace sapala::win
