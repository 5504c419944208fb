// Menus in the classic shape: TMenuItem (a tree of items with caption, shortcut text, check
// marks, column breaks, a bitmap and handlers), TMenu (the root item of a menu) and TPopupMenu
// (builds a real HMENU and tracks it with TrackPopupMenuEx) and TMainMenu (a form's menu bar).
//
// Ownership: an item owns its sub-items and its bitmap; a menu owns its root item and the HMENU
// it builds (submenus belong to that HMENU). The HMENU is built again for every Popup, so
// changes to the items show the next time the menu opens.
//
// Owner drawing: an item with an OnDrawItem handler is owner-drawn. WM_MEASUREITEM and
// WM_DRAWITEM reach the menu's own message window during tracking and are handed to the item's
// handlers (OnMeasureItem may be empty: the item then keeps the size the menu gives it).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "win/framework/component.h"
#include "win/framework/handles.h"

namespace sapala::win {

class TMenu;
class TMenuItem;

// Sent to the window of a main menu after its bar was built again (items added, renamed,
// hidden, made owner-drawn): whoever paints the window's frame repaints the menu line.
inline constexpr UINT CM_MENUCHANGED = 0xB034;

// `width` and `height` come in as 0 × 0 and go back as the item's size.
using TMenuMeasureItemEvent = std::function<void(TMenuItem& item, HDC dc, int& width, int& height)>;
// `state` holds the ODS_* bits of the draw request; `rect` is in the menu window's client.
using TMenuDrawItemEvent =
    std::function<void(TMenuItem& item, HDC dc, const RECT& rect, UINT state)>;

enum class TMenuBreak { mbNone, mbBreak, mbBarBreak };

class TMenuItem : public TObject {
 public:
  explicit TMenuItem(TMenu* menu, TMenuItem* parent = nullptr) : menu_(menu), parent_(parent) {}
  ~TMenuItem() override;
  TMenuItem(const TMenuItem&) = delete;
  TMenuItem& operator=(const TMenuItem&) = delete;

  std::string Name;
  std::wstring Caption;   // "-" is a separator
  std::wstring ShortCut;  // shortcut text shown right-aligned ("Ctrl+O")
  bool Checked = false;
  bool RadioItem = false;
  bool Default = false;
  bool Enabled = true;
  bool Visible = true;
  TMenuBreak Break = TMenuBreak::mbNone;
  INT_PTR Tag = 0;

  std::function<void(TMenuItem& item)> OnClick;
  TMenuMeasureItemEvent OnMeasureItem;
  TMenuDrawItemEvent OnDrawItem;
  // Who attached the two drawing handlers (nullptr: the application); a skin painter removes
  // only its own.
  const void* HandlerOwner = nullptr;

  // The item's own bitmap (owned), nullptr when none.
  HBITMAP Bitmap() const noexcept { return bitmap_.get(); }
  void SetBitmap(win::Bitmap bitmap) noexcept { bitmap_ = std::move(bitmap); }

  // Adds a sub-item at the end; the reference lives as long as this item keeps it.
  TMenuItem& Add(std::wstring caption = {});
  void Clear() noexcept { items_.clear(); }
  int Count() const noexcept { return static_cast<int>(items_.size()); }
  TMenuItem& Items(int i) const noexcept { return *items_[static_cast<std::size_t>(i)]; }
  int IndexOf(const TMenuItem& item) const noexcept;
  TMenuItem* Parent() const noexcept { return parent_; }
  TMenu* GetParentMenu() const noexcept { return menu_; }
  bool Destroying() const noexcept { return destroying_; }
  // The command identifier of the item in the built HMENU (0 before the first build).
  UINT Command() const noexcept { return command_; }

  // Calls every item of the tree under this one (not this one), parents before children.
  void ForEach(const std::function<void(TMenuItem&)>& visit);

 private:
  friend class TMenu;
  TMenu* menu_;
  TMenuItem* parent_;
  std::vector<std::unique_ptr<TMenuItem>> items_;
  win::Bitmap bitmap_;
  UINT command_ = 0;
  bool destroying_ = false;
};

// Draws an item as the system would without owner drawing (menu colours, highlight when
// selected, grey when disabled): for owner-drawn items whose handler went away while the menu
// was open, and for skinned items with nothing to draw over.
void DrawPlainMenuItem(const TMenuItem& item, HDC dc, const RECT& rect, UINT state) noexcept;

class TMenu : public TComponent {
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;

  TMenuItem& Items() noexcept { return items_; }
  const TMenuItem& Items() const noexcept { return items_; }
  // The built menu, nullptr before the first build.
  HMENU Handle() const noexcept { return handle_.get(); }
  // Builds the HMENU again from the items.
  HMENU Rebuild();
  // The item with a command identifier of the built menu, nullptr when none.
  TMenuItem* FindItem(UINT command) noexcept;
  // Hands WM_MEASUREITEM / WM_DRAWITEM of one of this menu's items to its handlers; false when
  // the request is not for one of them.
  bool Dispatch(UINT msg, LPARAM lParam);
  // WM_MENUCHAR for `menu` (one of this menu's HMENUs): the system finds no mnemonics in
  // owner-drawn items, so the item whose caption has "&" + `key` is chosen here. False when
  // `menu` is not one of ours; else `result` is the answer (MNC_EXECUTE or MNC_IGNORE).
  bool MenuChar(HMENU menu, wchar_t key, LRESULT& result);

  // Every live menu of the process, oldest first (the skin painter walks them).
  static std::vector<TMenu*>& All();

 protected:
  // The empty root the items are built into: a popup menu here, a menu bar for a main menu.
  virtual HMENU CreateRoot() { return ::CreatePopupMenu(); }
  // The new root was built; the old one is freed right after this returns.
  virtual void Installed(HMENU) {}

 private:
  void Build(HMENU into, TMenuItem& parent);

  TMenuItem items_;
  win::Menu handle_;
  std::vector<TMenuItem*> commands_;
};

class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;

  // Builds and tracks the menu at a screen point until it closes; runs the chosen item's
  // OnClick afterwards. Returns the chosen item or nullptr.
  TMenuItem* Popup(int x, int y);
  bool Tracking() const noexcept { return tracking_; }
  // The message window that owns the menu while it is tracked.
  HWND Window() const noexcept { return window_.get(); }

  std::function<void(TPopupMenu&)> OnPopup;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  win::Window window_;
  bool tracking_ = false;
};

// A form's menu bar. The top items are the bar's items; their sub-items open as popups.
// Alt+letter, F10, the arrows, Enter and Escape are the system's menu-bar handling: the menu is
// a real menu bar of its window (SetMenu).
//
// Ownership: the menu owns its HMENU even while a window shows it; the window is given another
// bar (or none) before the old one is freed, and is cleared before the window goes (a window
// destroys the menu it shows).
class TMainMenu : public TMenu {
 public:
  explicit TMainMenu(TComponent* owner);
  ~TMainMenu() override;

  // The form merges this menu into another one (then it draws no menu line of its own).
  bool AutoMerge = false;

  // The window showing the bar, nullptr when none.
  HWND WindowHandle() const noexcept { return window_; }
  // Shows the bar in `window` (built again); nullptr takes it off the window it is in.
  void AttachTo(HWND window);
  // Builds the bar again after changes to the items and shows it; the window gets
  // CM_MENUCHANGED.
  void Changed();
  // A WM_COMMAND from the bar or its popups: runs the chosen item's OnClick. False when the
  // command is not one of this menu's.
  bool Click(UINT command);

  // The main menu shown in `window`, nullptr when none.
  static TMainMenu* Of(HWND window) noexcept;

 protected:
  HMENU CreateRoot() override { return ::CreateMenu(); }
  void Installed(HMENU menu) override;

 private:
  HWND window_ = nullptr;
};

}  // namespace sapala::win
