// One place that makes and installs the hook of a standard window by its kind, for the
// provider's adapter (by class-name list) and for the skinning of dialogs (by window class and
// style).
//
// MakeHook makes the hook of `kind` for `hwnd`, with `section` ("" for the hook's default
// section) and `manager` (nullptr for the default manager), and installs it. It answers nullptr
// when the kind has no hook here, the window is gone or already has a hook. The caller owns the
// hook; freeing it gives the window back. Scrollable kinds (scroll, edit) recalculate the
// window's frame at once, as a window that is already shown needs.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "win/skin/hook_base.h"

namespace sapala::win {

class TsSkinManager;

enum class HookKind {
  none,
  button,       // TlcBtnWnd, "BUTTON"
  bitBtn,       // TlcBitBtnWnd, "BUTTON": a push button that shows its image as a glyph
  checkBox,     // TlcCheckBoxWnd, "CHECKBOX": check boxes, three-state boxes, radio buttons
  groupBox,     // TlcGroupBoxWnd, "GROUPBOX"
  edit,         // TlcEditWnd, "EDIT": edits, memos, list boxes
  scroll,       // TlcScrollWnd: the scroll bars only, no section
  tabControl,   // TlcTabControlWnd, "PAGECONTROL" body, "TABTOP" ... tabs
  pageControl,  // TlcPageControlWnd: a tab control whose windowed children are its pages
  page,         // TlcPageWnd: one page of a page control
  spin,         // TlcSpinWnd, "SPEEDBUTTON_SMALL"
  trackBar,     // TlcTrackWnd, "TRACKBAR"
  sizer,        // TlcSizerWnd: a size grip, the skin's grip image
  edge,         // TlcEdgeWnd, "EDIT": a picture static with a static edge
  link,         // TlcLinkWnd, "CHECKBOX": a link control
  panel,        // TlcPanelWnd, "PANEL" or "PANEL_LOW"
  silentPanel,  // TlcPanelWnd without caption
  transPanel,   // TlcTransPanelWnd: shows what its parent shows
  toolBar,      // TlcToolBarWnd, "TOOLBAR", buttons "TOOLBUTTON"
  statusBar,    // TlcStatusBarWnd, "STATUSBAR"
  comboBox,     // TlcComboBoxWnd, "COMBOBOX" (and its drop-down list); not for owner-drawn combos
  listView,     // TlcListViewWnd, "EDIT", with its column header ("COLHEADER")
  treeView,     // TlcTreeViewWnd, "EDIT"
  grid,         // TlcGridWnd, "EDIT"
};

// `dialogMode`: the window is a control of a system dialog (see TlcEditWnd); it matters to the
// edit-like kinds.
std::unique_ptr<TlcMainWnd> MakeHook(HookKind kind, HWND hwnd, TsSkinManager* manager,
                                     const std::string& section, bool dialogMode = false);

// The hook kind a standard BUTTON window gets by its style: push button, check box or radio
// button, group box; none for owner-drawn buttons, split buttons and command links.
HookKind ButtonHookKindOf(HWND hwnd) noexcept;

}  // namespace sapala::win
