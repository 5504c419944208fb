// Where a minimized form goes: the application's button on the task bar, or, when that button
// cannot be found, a point on the task bar's inner edge level with the window's centre.
//
// The button is read from the classic task bar (Shell_TrayWnd → ReBarWindow32 →
// MSTaskSwWClass → ToolbarWindow32): the tool bar's buttons live in the task bar's process, so
// they are fetched through a buffer allocated there. Everything read from that process is
// bounded and validated before it is believed; a task bar of another word size, one that does
// not answer within a short time, or an implausible answer means "not found". Task bars that
// draw their buttons differently (a button list instead of a tool bar) are not searched.
#pragma once

#include <windows.h>

namespace sapala::win::skin {

// What a search saw, step by step (diagnostics and tests).
struct TaskbarSearch {
  bool tray = false;        // Shell_TrayWnd
  bool rebar = false;       // ReBarWindow32 inside it
  bool taskSwitch = false;  // MSTaskSwWClass inside that
  bool toolbar = false;     // ToolbarWindow32 inside that
  bool processOpened = false;
  int buttons = -1;  // buttons the tool bar reported (-1: not asked)
  RECT button{};     // the application's button (screen), empty when not found
};

// Searches the task bar for the button of `appWindow` (the application's unowned top-level
// window). Never throws; every handle and remote buffer it makes is freed before it returns.
TaskbarSearch SearchTaskbarButton(HWND appWindow) noexcept;

// The zero-size rectangle on the task bar's inner edge for a window at `window` (screen): the
// task bar's edge from the shell's app-bar query, else from the window's monitor and its work
// area; a monitor without a task bar gives its bottom edge.
RECT TaskbarInnerEdgePoint(RECT window) noexcept;

// The rectangle a minimize animation of `window` shrinks into: the button of `appWindow`, else
// the inner-edge point.
RECT MinimizeTarget(HWND appWindow, RECT window) noexcept;

}  // namespace sapala::win::skin
