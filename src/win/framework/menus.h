// Menus in the classic shape: TMenuItem (a tree of items with caption, shortcut text, check
// marks, column breaks, a bitmap and handlers), TMenu (the root item of a menu) and TPopupMenu
// (builds a real HMENU and tracks it with TrackPopupMenuEx).
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

class TMenu : public TComponent {
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;

  TMenuItem& Items() noexcept { return items_; }
  // The built menu, nullptr before the first build.
  HMENU Handle() const noexcept { return handle_.get(); }
  // Builds the HMENU again from the items.
  HMENU Rebuild();
  // The item with a command identifier of the built menu, nullptr when none.
  TMenuItem* FindItem(UINT command) noexcept;
  // Hands WM_MEASUREITEM / WM_DRAWITEM of one of this menu's items to its handlers; false when
  // the request is not for one of them.
  bool Dispatch(UINT msg, LPARAM lParam);

  // Every live menu of the process, oldest first (the skin painter walks them).
  static std::vector<TMenu*>& All();

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

}  // namespace sapala::win
