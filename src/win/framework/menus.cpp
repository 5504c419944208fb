// Menus; see menus.h.
#include "win/framework/menus.h"

#include <algorithm>

namespace sapala::win {

namespace {

constexpr wchar_t kWindowClass[] = L"TPUtilWindow";  // not skinned by the window-creation hook
constexpr wchar_t kMenuProperty[] = L"SapalaPopupMenu";

}  // namespace

// ---------------------------------------------------------------- TMenuItem

TMenuItem::~TMenuItem() {
  destroying_ = true;
  for (auto& item : items_) item->destroying_ = true;
}

TMenuItem& TMenuItem::Add(std::wstring caption) {
  items_.push_back(std::make_unique<TMenuItem>(menu_, this));
  items_.back()->Caption = std::move(caption);
  return *items_.back();
}

int TMenuItem::IndexOf(const TMenuItem& item) const noexcept {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].get() == &item) return static_cast<int>(i);
  }
  return -1;
}

void TMenuItem::ForEach(const std::function<void(TMenuItem&)>& visit) {
  for (auto& item : items_) {
    visit(*item);
    item->ForEach(visit);
  }
}

// ---------------------------------------------------------------- TMenu

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(this) { All().push_back(this); }

TMenu::~TMenu() {
  auto& all = All();
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

std::vector<TMenu*>& TMenu::All() {
  static std::vector<TMenu*> all;
  return all;
}

HMENU TMenu::Rebuild() {
  handle_.reset();
  commands_.clear();
  win::Menu menu(::CreatePopupMenu());
  if (!menu) return nullptr;
  Build(menu.get(), items_);
  handle_ = std::move(menu);
  return handle_.get();
}

void TMenu::Build(HMENU into, TMenuItem& parent) {
  for (auto& owned : parent.items_) {
    TMenuItem& item = *owned;
    if (!item.Visible) continue;
    commands_.push_back(&item);
    item.command_ = static_cast<UINT>(commands_.size());
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA;
    mi.wID = item.command_;
    mi.dwItemData = reinterpret_cast<ULONG_PTR>(&item);
    const bool separator = item.Caption == L"-";
    if (item.OnDrawItem) {
      mi.fType = MFT_OWNERDRAW | (separator ? MFT_SEPARATOR : 0);
    } else if (separator) {
      mi.fType = MFT_SEPARATOR;
    } else {
      mi.fType = MFT_STRING;
      mi.fMask |= MIIM_STRING;
    }
    std::wstring text = item.Caption;
    if (!item.ShortCut.empty()) text += L"\t" + item.ShortCut;
    mi.dwTypeData = text.data();
    if (item.RadioItem) mi.fType |= MFT_RADIOCHECK;
    if (item.Break == TMenuBreak::mbBreak) mi.fType |= MFT_MENUBREAK;
    if (item.Break == TMenuBreak::mbBarBreak) mi.fType |= MFT_MENUBARBREAK;
    mi.fState = (item.Checked ? MFS_CHECKED : 0u) | (item.Enabled ? 0u : MFS_DISABLED) |
                (item.Default ? MFS_DEFAULT : 0u);
    if (item.Bitmap() && !item.OnDrawItem) {
      mi.fMask |= MIIM_BITMAP;
      mi.hbmpItem = item.Bitmap();
    }
    if (item.Count() > 0) {
      // The submenu belongs to `into` from here on (DestroyMenu frees it with its parent).
      HMENU sub = ::CreatePopupMenu();
      if (sub) {
        Build(sub, item);
        mi.fMask |= MIIM_SUBMENU;
        mi.hSubMenu = sub;
      }
    }
    ::InsertMenuItemW(into, ::GetMenuItemCount(into), TRUE, &mi);
  }
}

TMenuItem* TMenu::FindItem(UINT command) noexcept {
  if (command == 0 || command > commands_.size()) return nullptr;
  return commands_[command - 1];
}

bool TMenu::Dispatch(UINT msg, LPARAM lParam) {
  if (msg == WM_MEASUREITEM) {
    auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (m->CtlType != ODT_MENU) return false;
    TMenuItem* item = FindItem(m->itemID);
    if (item == nullptr || reinterpret_cast<ULONG_PTR>(item) != m->itemData) return false;
    if (item->OnMeasureItem) {
      WindowDC screen(nullptr);
      int w = 0, h = 0;
      item->OnMeasureItem(*item, screen.get(), w, h);
      m->itemWidth = static_cast<UINT>(std::max(w, 0));
      m->itemHeight = static_cast<UINT>(std::max(h, 0));
    }
    return true;
  }
  if (msg == WM_DRAWITEM) {
    auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
    if (d->CtlType != ODT_MENU) return false;
    TMenuItem* item = FindItem(d->itemID);
    if (item == nullptr || reinterpret_cast<ULONG_PTR>(item) != d->itemData) return false;
    if (item->OnDrawItem) item->OnDrawItem(*item, d->hDC, d->rcItem, d->itemState);
    return true;
  }
  return false;
}

// ---------------------------------------------------------------- TPopupMenu

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) { SetClassName("TPopupMenu"); }

TPopupMenu::~TPopupMenu() {
  if (window_) ::RemovePropW(window_.get(), kMenuProperty);
}

LRESULT CALLBACK TPopupMenu::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  if (msg == WM_MEASUREITEM || msg == WM_DRAWITEM) {
    auto* menu = static_cast<TPopupMenu*>(::GetPropW(hwnd, kMenuProperty));
    try {
      if (menu != nullptr && menu->Dispatch(msg, lp)) return TRUE;
    } catch (...) {
      // Painting and measuring never throw into the menu loop; the item keeps the system's look.
    }
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

TMenuItem* TPopupMenu::Popup(int x, int y) {
  if (tracking_) return nullptr;
  if (OnPopup) OnPopup(*this);
  if (!window_) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    if (!::GetClassInfoExW(instance, kWindowClass, &wc)) {
      wc = {};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = &TPopupMenu::WindowProc;
      wc.hInstance = instance;
      wc.lpszClassName = kWindowClass;
      ::RegisterClassExW(&wc);
    }
    window_ = win::Window(::CreateWindowExW(0, kWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                            nullptr, instance, nullptr));
    if (!window_) return nullptr;
    ::SetPropW(window_.get(), kMenuProperty, this);
  }
  HMENU menu = Rebuild();
  if (menu == nullptr) return nullptr;
  tracking_ = true;
  const UINT command = static_cast<UINT>(::TrackPopupMenuEx(
      menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, window_.get(), nullptr));
  tracking_ = false;
  TMenuItem* chosen = FindItem(command);
  if (chosen != nullptr && chosen->OnClick) chosen->OnClick(*chosen);
  return chosen;
}

}  // namespace sapala::win
