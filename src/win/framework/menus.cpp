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

void DrawPlainMenuItem(const TMenuItem& item, HDC dc, const RECT& rect, UINT state) noexcept {
  const bool hot = (state & (ODS_SELECTED | ODS_HOTLIGHT)) != 0;
  const bool enabled = item.Enabled && !(state & (ODS_DISABLED | ODS_GRAYED));
  ::FillRect(dc, &rect, ::GetSysColorBrush(hot ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (item.Caption == L"-") {
    RECT line{rect.left + 2, (rect.top + rect.bottom) / 2, rect.right - 2, 0};
    line.bottom = line.top + 1;
    ::FillRect(dc, &line, ::GetSysColorBrush(COLOR_BTNSHADOW));
    return;
  }
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
  if (item.Default) ncm.lfMenuFont.lfWeight = FW_BOLD;
  win::Font font(::CreateFontIndirectW(&ncm.lfMenuFont));
  SelectedObject selected(dc, font ? font.get() : ::GetStockObject(DEFAULT_GUI_FONT));
  const int mode = ::SetBkMode(dc, TRANSPARENT);
  const COLORREF old = ::SetTextColor(dc, ::GetSysColor(!enabled ? COLOR_GRAYTEXT
                                                        : hot    ? COLOR_HIGHLIGHTTEXT
                                                                 : COLOR_MENUTEXT));
  const UINT prefix = (state & ODS_NOACCEL) ? DT_HIDEPREFIX : 0u;
  const bool bar = dynamic_cast<const TMainMenu*>(item.GetParentMenu()) != nullptr &&
                   item.Parent() == &item.GetParentMenu()->Items();
  RECT r = rect;
  if (bar) {
    ::DrawTextW(dc, item.Caption.c_str(), static_cast<int>(item.Caption.size()), &r,
                DT_SINGLELINE | DT_VCENTER | DT_CENTER | prefix);
  } else {
    r.left += ::GetSystemMetrics(SM_CXMENUCHECK) + 4;
    r.right -= 8;
    ::DrawTextW(dc, item.Caption.c_str(), static_cast<int>(item.Caption.size()), &r,
                DT_SINGLELINE | DT_VCENTER | DT_LEFT | prefix);
    if (!item.ShortCut.empty()) {
      ::DrawTextW(dc, item.ShortCut.c_str(), static_cast<int>(item.ShortCut.size()), &r,
                  DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
  }
  ::SetTextColor(dc, old);
  ::SetBkMode(dc, mode);
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
  win::Menu menu(CreateRoot());
  if (!menu) return nullptr;
  commands_.clear();
  Build(menu.get(), items_);
  // The old root stays alive until whoever shows it has been given the new one.
  std::swap(handle_, menu);
  Installed(handle_.get());
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
      // The caption stays with the item: the system looks for mnemonics in it.
      if (!separator) mi.fMask |= MIIM_STRING;
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
    if (item->OnDrawItem) {
      item->OnDrawItem(*item, d->hDC, d->rcItem, d->itemState);
    } else {
      // Built owner-drawn, its handler gone since (a skin removed while the menu is open).
      DrawPlainMenuItem(*item, d->hDC, d->rcItem, d->itemState);
    }
    return true;
  }
  return false;
}

namespace {

// The mnemonic of a caption: the character after the first "&" that is not "&&"; 0 for none.
wchar_t Mnemonic(const std::wstring& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] != L'&') return caption[i + 1];
    ++i;
  }
  return 0;
}

}  // namespace

bool TMenu::MenuChar(HMENU menu, wchar_t key, LRESULT& result) {
  if (menu == nullptr) return false;
  const int count = ::GetMenuItemCount(menu);
  bool ours = false;
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_ID | MIIM_DATA;
    if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mi)) continue;
    TMenuItem* item = FindItem(mi.wID);
    if (item == nullptr || reinterpret_cast<ULONG_PTR>(item) != mi.dwItemData) continue;
    ours = true;
    const wchar_t m = Mnemonic(item->Caption);
    if (m != 0 && item->Enabled &&
        ::CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(m))) ==
            ::CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(key)))) {
      result = MAKELRESULT(i, MNC_EXECUTE);
      return true;
    }
  }
  result = MAKELRESULT(0, MNC_IGNORE);
  return ours;
}

// ---------------------------------------------------------------- TPopupMenu

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) { SetClassName("TPopupMenu"); }

TPopupMenu::~TPopupMenu() {
  if (window_) ::RemovePropW(window_.get(), kMenuProperty);
}

LRESULT CALLBACK TPopupMenu::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  if (msg == WM_MENUCHAR) {
    auto* menu = static_cast<TPopupMenu*>(::GetPropW(hwnd, kMenuProperty));
    LRESULT result = 0;
    if (menu != nullptr &&
        menu->MenuChar(reinterpret_cast<HMENU>(lp), static_cast<wchar_t>(LOWORD(wp)), result)) {
      return result;
    }
  }
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

// ---------------------------------------------------------------- TMainMenu

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) { SetClassName("TMainMenu"); }

TMainMenu::~TMainMenu() { AttachTo(nullptr); }

TMainMenu* TMainMenu::Of(HWND window) noexcept {
  if (window == nullptr) return nullptr;
  for (TMenu* menu : All()) {
    auto* main = dynamic_cast<TMainMenu*>(menu);
    if (main != nullptr && main->window_ == window) return main;
  }
  return nullptr;
}

void TMainMenu::AttachTo(HWND window) {
  if (window_ != nullptr && window_ != window && ::IsWindow(window_) &&
      ::GetMenu(window_) == Handle()) {
    ::SetMenu(window_, nullptr);
  }
  window_ = nullptr;
  if (window == nullptr || !::IsWindow(window)) return;
  if (TMainMenu* other = Of(window)) other->AttachTo(nullptr);
  window_ = window;
  Changed();
}

void TMainMenu::Installed(HMENU menu) {
  if (window_ == nullptr || !::IsWindow(window_)) return;
  ::SetMenu(window_, menu);
  ::DrawMenuBar(window_);
}

void TMainMenu::Changed() {
  Rebuild();
  if (window_ != nullptr && ::IsWindow(window_)) ::SendMessageW(window_, CM_MENUCHANGED, 0, 0);
}

bool TMainMenu::Click(UINT command) {
  TMenuItem* item = FindItem(command);
  if (item == nullptr) return false;
  if (item->OnClick && item->Enabled) item->OnClick(*item);
  return true;
}

}  // namespace sapala::win
