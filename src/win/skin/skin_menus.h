// TsSkinableMenus: paints popup menus and the skinned system menu with the skin. Items become
// owner-drawn; each item is measured by the rules of core/skin/menu_layout.h and drawn into an
// off-screen picture over a background built once per popup, and the popup window gets a region
// cut from the skin's menu border.
//
// Ownership: the painter owns the popup backgrounds and the regions it gives popup windows until
// it hands them to SetWindowRgn; it takes them back (no region) when the skin goes or the painter
// is freed. It attaches its handlers only to items without handlers of their own and removes
// only its own. The skin manager that it paints for must outlive it.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/graphics/bitmap.h"
#include "core/skin/menu_layout.h"
#include "win/framework/graphics.h"
#include "win/framework/menus.h"

namespace sapala::win {
class TsSkinManager;
class TlcMnuWnd;
}  // namespace sapala::win

namespace sapala::win::skin {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// Called after an item is drawn into its picture and before the picture reaches the screen.
// `kind`: 0 title, 1 separator, 2 normal item.
using TsMenuManagerDrawItemEvent =
    std::function<void(TMenuItem& item, HDC canvas, graphics::Bitmap& picture, int kind, UINT state,
                       const RECT& rect)>;

class TsSkinableMenus {
 public:
  explicit TsSkinableMenus(TsSkinManager& manager);
  ~TsSkinableMenus();
  TsSkinableMenus(const TsSkinableMenus&) = delete;
  TsSkinableMenus& operator=(const TsSkinableMenus&) = delete;

  // --- Published ---
  TAlignment Alignment = TAlignment::taLeftJustify;
  int BevelWidth = 0;
  int BorderWidth = 3;
  TFont CaptionFont;
  int Margin = 2;
  int Spacing = 8;
  TsMenuManagerDrawItemEvent OnDrawItem;

  // The width of the skin's popup frame, measured once per skin.
  int SkinBorderWidth();
  // A new skin is coming or the skin went: measure the border again, free the backgrounds and
  // take the regions back from the popup windows.
  void SkinChanged() noexcept;

  bool Active() const noexcept { return active_; }
  // Walks every menu of the process: with `value` (and the manager skinning popups) items
  // without handlers get the painter's; otherwise the painter's handlers are removed.
  void SetActive(bool value);

  // Brings the handlers of every menu in line with the painter's state again (a menu made since
  // the painter was switched on gets its handlers): run before a context menu opens. Main menus
  // whose items changed are built again.
  void SyncMenus();

  // The item handlers.
  void MeasureItem(TMenuItem& item, HDC dc, int& width, int& height);
  void DrawItem(TMenuItem& item, HDC dc, const RECT& rect, UINT state) noexcept;

  // A top item of a main menu's bar, drawn over the form's menu-line picture (`menuLine`, the
  // item at `offset` in it) and copied to `dc` at `rect`. Needs the provider's picture, so the
  // provider calls it while it paints its menu line.
  void DrawBarItem(TMenuItem& item, HDC dc, const RECT& rect, UINT state,
                   const graphics::Bitmap& menuLine, POINT offset) noexcept;
  // The handlers of a main menu's top item: measured by the bar's height and the caption, drawn
  // over the menu-line picture of the provider of the menu's window (`rect` in window
  // coordinates); without a provider's picture the item is drawn plainly in the system's colours.
  void MeasureBarItem(TMenuItem& item, HDC dc, int& width, int& height);
  void DrawBarItemOfWindow(TMenuItem& item, HDC dc, const RECT& rect, UINT state) noexcept;

  struct Background {
    TMenu* menu = nullptr;
    TMenuItem* firstItem = nullptr;
    graphics::Bitmap bitmap;
    HWND window = nullptr;
    bool extraLine = false;
    int glyphWidth = 16;
  };
  // The background of the popup that begins with `firstItem`, made on first use; a size of
  // 0 × 0 only makes sure the entry exists. Null without an item and a window.
  Background* PopupBackground(TMenuItem* firstItem, int width, int height, HWND window);
  // Gives the popup window its region (the bitmap's rectangle minus the border cutouts).
  void ApplyRegion(HWND window, const Background& background);
  std::size_t BackgroundCount() const noexcept { return backgrounds_.size(); }
  // The background of the popup shown in `window`, nullptr when none was built for it.
  const Background* BackgroundOf(HWND window);

  // A popup menu window is being created (the window-creation hook): it gets a popup hook.
  void HookPopupWindow(HWND window);
  // Lets every popup window go (the skin is being removed): procedures and regions given back.
  void ReleasePopups() noexcept;
  // The hook of a popup window, nullptr when it has none.
  TlcMnuWnd* PopupHook(HWND window) const noexcept;
  // Popup hooks alive (not yet freed).
  std::size_t PopupHookCount() const noexcept { return popup_hooks_.size(); }
  // The application window's request: paint a popup menu (item in `what`) or window.
  void PaintPopup(LPARAM what, bool isWindow) noexcept;
  // Set while an item's 0xBCB3 request is pending.
  bool PaintPending() const noexcept { return paint_pending_; }

  // Extra-line data of the popup being measured (as the manager's handler left it).
  const std::wstring& ExtraLineText() const noexcept { return extra_line_text_; }

 private:
  bool SkinActive() const;
  bool Owns(const TMenuItem& item) const noexcept { return item.HandlerOwner == this; }
  void Attach(TMenuItem& item);
  void Detach(TMenuItem& item);
  Background* Find(const TMenuItem* firstItem, HWND window);
  bool Alive(const Background& b) const;
  void AskExtraLine(Background& b);
  void PaintExtraLine(Background& b);
  HFONT ItemFont(const TMenuItem& item, win::Font& holder) const;
  sapala::skin::MenuSize Glyph(const TMenuItem& item) const;
  void DrawFrameStrips(HWND window, const Background& b, bool first, bool last) noexcept;
  bool IsBarItem(const TMenuItem& item) const noexcept;
  void FreeReleasedHooks() noexcept;

  TsSkinManager& manager_;
  bool active_ = false;
  int skin_border_ = -1;
  bool applying_region_ = false;
  bool paint_pending_ = false;
  std::vector<std::unique_ptr<Background>> backgrounds_;
  std::vector<HWND> regioned_;  // popup windows given a region
  std::vector<HWND> popups_;    // popup windows announced by the hook
  std::vector<std::unique_ptr<TlcMnuWnd>> popup_hooks_;
  std::wstring extra_line_text_;
  std::string extra_line_section_ = "EXTRALINE";
  HBITMAP extra_line_glyph_ = nullptr;
};

// Copies `src` of an engine picture to the DC at (x, y) as it is (no alpha).
void CopyPictureToDC(HDC dc, int x, int y, const graphics::Bitmap& picture,
                     graphics::Rect src) noexcept;

// Points the manager's plug-ins (hookPopupMenu, setPopupsSkinned, paintPopup, menuSkinChanged)
// at `menus`; ClearMenuPlugIns undoes it.
void InstallMenuPlugIns(TsSkinableMenus& menus);
void ClearMenuPlugIns() noexcept;

}  // namespace sapala::win::skin
