// TlcMnuWnd: the hook on a popup menu window (class "#32768") while the menu painter skins
// popups. The painter draws the items; the hook gives the window the rest of its look from the
// popup's background picture: the frame around the items (drawn by the system inside the client
// area under Wine, in the non-client area under Windows) and, through the painter, the region
// cut from the skin's menu border.
//
// A popup whose items the painter does not draw (the system's own edit menu, a menu of another
// component) has no background: its hook passes everything on and the window keeps the system's
// look.
//
// Ownership: the painter makes one hook per popup window when the window-creation hook sees the
// window, and frees it once it has let the window go — when the window is destroyed, or when
// the skin is removed while the menu is open. The hook never frees itself.
#pragma once

#include <windows.h>

#include "win/skin/scroll_hook.h"

namespace sapala::win::skin {
class TsSkinableMenus;
}

namespace sapala::win {

class TlcMnuWnd : public TlcScrollWnd {
 public:
  // The popup hook's commands (SM_LUMOCMD high word), sent by the menu painter before it gives
  // the window a region: kCmdOwnRegion is answered 1 by a popup that cuts its region itself
  // (none of ours does); kCmdPrepareRegion tells the hook a region is coming, which it takes
  // back when it lets the window go.
  static constexpr WORD kCmdOwnRegion = 8;
  static constexpr WORD kCmdPrepareRegion = 14;

  TlcMnuWnd(HWND hwnd, TsSkinManager* manager, skin::TsSkinableMenus& painter);
  ~TlcMnuWnd() override;

  // The painter gave the window a region through this hook.
  bool RegionGiven() const noexcept { return region_given_; }
  // Paints the frame around the items from the popup's background now (nothing without one).
  void PaintFrame() noexcept;

 protected:
  void WndProc(Message& m) override;
  std::string DefaultSection() const override { return "MAINMENU"; }

 private:
  // The rectangle of window coordinates the items cover, empty when none is known.
  RECT ItemArea() const noexcept;
  void GiveRegionBack() noexcept;

  skin::TsSkinableMenus& painter_;
  bool region_given_ = false;
};

}  // namespace sapala::win
