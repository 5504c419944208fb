// What a skinned form's caption buttons and system menu may show and do: the form's shape as the
// rules see it, the six visibility and enabling rules shared by the caption buttons and the
// system menu, and the rows of the skinned system menu built from the platform's own menu.
//
// Everything here is a pure function of values the window side reads from the form and its
// window; nothing touches a window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sapala::skin {

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

enum TBorderIcon : std::uint8_t {
  biSystemMenu = 1 << 0,
  biMinimize = 1 << 1,
  biMaximize = 1 << 2,
  biHelp = 1 << 3,
};
using TBorderIcons = std::uint8_t;  // set of TBorderIcon

// A form as the caption rules see it.
struct FormRulesInput {
  TFormBorderStyle BorderStyle = TFormBorderStyle::bsSizeable;
  TBorderIcons BorderIcons = biSystemMenu | biMinimize | biMaximize;
  TWindowState WindowState = TWindowState::wsNormal;
  // The provider's remembered system-menu flag (it takes WS_SYSMENU off the window and keeps
  // the fact here).
  bool HasSystemMenu = true;
  bool MdiChild = false;
};

// True for bsSingle and bsSizeable: the forms with large caption images, an icon and
// minimize / maximize buttons.
bool HasLargeCaption(TFormBorderStyle style);
bool IsToolWindow(TFormBorderStyle style);

bool VisibleClose(const FormRulesInput& f);
bool VisibleMax(const FormRulesInput& f);
bool VisibleMin(const FormRulesInput& f);
bool VisibleHelp(const FormRulesInput& f);
bool EnabledMax(const FormRulesInput& f);
bool EnabledMin(const FormRulesInput& f);
bool EnabledRestore(const FormRulesInput& f);

// System commands carried by the menu rows (the WM_SYSCOMMAND values).
inline constexpr std::uint32_t kScSize = 0xF000;
inline constexpr std::uint32_t kScMove = 0xF010;
inline constexpr std::uint32_t kScMinimize = 0xF020;
inline constexpr std::uint32_t kScMaximize = 0xF030;
inline constexpr std::uint32_t kScClose = 0xF060;
inline constexpr std::uint32_t kScRestore = 0xF120;
inline constexpr std::uint32_t kScContextHelp = 0xF180;

// One item of the platform's system menu as GetMenuItemInfo reports it.
struct PlatformMenuItem {
  std::uint32_t Id = 0;  // 0 for separators
  std::wstring Text;     // "&Close\tAlt+F4"; empty for separators and picture items
  bool Separator = false;
  bool HasSubmenu = false;
  bool OwnerDrawn = false;  // owner-drawn or bitmap item: it has no text to copy
};

// One row of the skinned system menu. Tag is the system command posted when it is clicked.
struct SystemMenuRow {
  std::uint32_t Tag = 0;
  std::wstring Caption;   // text before the first tab
  std::wstring ShortCut;  // text after the first tab, empty when none
  bool Visible = true;
  bool Enabled = true;
  bool Copied = false;  // an item the application added to the platform's menu
};

// The rows in menu order: restore, move, size, minimize, maximize, the copied items (in the
// platform menu's order), close. Captions of the six come from the platform item with the same
// command, else from built-in English texts. Copied are the platform items with an identifier
// from 1 to 0xEFFF that carry text; separators, submenus and picture items are not copied (they
// would become blank rows that post no known command).
std::vector<SystemMenuRow> BuildSystemMenuRows(const FormRulesInput& f,
                                               const std::vector<PlatformMenuItem>& platform);

}  // namespace sapala::skin
