// The default skin manager's hook on the application's main window: it sees the window's
// messages before the window does and handles a few of them for the whole engine:
//
//   WM_SYSCOMMAND       remembers the last command (minimize 2, restore 1, anything else 0)
//                       and passes it on; with a skin in force, a minimize of the window runs
//                       its provider's minimize animation (when Minimizing is active), and the
//                       restore of a window minimized that way runs it backwards;
//   WM_THEMECHANGED     swallowed (the skin, not the system theme, draws the windows);
//   WM_COPYDATA         a skin editor's preview record (kind 7) after the window's own
//                       handling, never re-entrantly: validated to the byte, applied, answered
//                       1; anything malformed is ignored and answered 0;
//   0x323, 0x326        the task bar's preview requests, answered by the window's provider;
//   0xB000              every form of the application, last first, gets cmdAppNotify;
//   0xBCB3, 0xBCB4      with SkinnedPopups: a popup menu item or a popup window to paint with
//                       the skin, handed to the menu painter; swallowed.
// Every other message passes on unchanged.
//
// The hook is an owner: it replaces the window's WindowProc and puts the previous one back when
// freed, if the window still runs through the hook. The window must outlive the hook.
#pragma once

#include <windows.h>

#include <functional>

#include "win/framework/controls.h"

namespace sapala::win {
class TsSkinManager;
}

namespace sapala::win::skin {

class TlcAppWindowHook {
 public:
  static constexpr UINT kAppNotify = 0xB000;
  static constexpr UINT kPaintPopupItem = 0xBCB3;
  static constexpr UINT kPaintPopupWindow = 0xBCB4;

  TlcAppWindowHook(TWinControl& window, TsSkinManager& manager);
  ~TlcAppWindowHook();
  TlcAppWindowHook(const TlcAppWindowHook&) = delete;
  TlcAppWindowHook& operator=(const TlcAppWindowHook&) = delete;

  TWinControl& Window() const noexcept { return window_; }

 private:
  struct Thunk {
    TlcAppWindowHook* hook;
    void operator()(Message& m) const { hook->WndProc(m); }
  };
  void WndProc(Message& m);
  void CopyData(Message& m);
  bool MinimizeOrRestore(Message& m);

  TWinControl& window_;
  TsSkinManager& manager_;
  std::function<void(Message&)> previous_;
  bool inCopyData_ = false;
};

}  // namespace sapala::win::skin
