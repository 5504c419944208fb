// The skinned system menu of a form: TsCustomSysMenu declares the six visibility and enabling
// rules shared with the caption buttons; TsSystemMenu ("SysMenu") holds the six system commands
// (each carries its command in Tag), the items the application added to the platform's system
// menu, and optionally a skin chooser. Clicking an item posts WM_SYSCOMMAND with its Tag to the
// form's window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/skin/system_menu_rules.h"
#include "win/framework/menus.h"

namespace sapala::win {
class TForm;
class TsSkinManager;
}  // namespace sapala::win

namespace sapala::win::skin {

class TsCustomSysMenu : public TPopupMenu {
 public:
  using TPopupMenu::TPopupMenu;
  virtual bool VisibleClose() const = 0;
  virtual bool VisibleMax() const = 0;
  virtual bool VisibleMin() const = 0;
  virtual bool EnabledMax() const = 0;
  virtual bool EnabledMin() const = 0;
  virtual bool EnabledRestore() const = 0;
};

class TsSystemMenu : public TsCustomSysMenu {
 public:
  explicit TsSystemMenu(TComponent* owner);

  bool VisibleClose() const override { return sapala::skin::VisibleClose(rules_); }
  bool VisibleMax() const override { return sapala::skin::VisibleMax(rules_); }
  bool VisibleMin() const override { return sapala::skin::VisibleMin(rules_); }
  bool EnabledMax() const override { return sapala::skin::EnabledMax(rules_); }
  bool EnabledMin() const override { return sapala::skin::EnabledMin(rules_); }
  bool EnabledRestore() const override { return sapala::skin::EnabledRestore(rules_); }

  // Rebuilds the items for the window: the rows of the rules (captions and added items from the
  // window's platform system menu) and, with `manager`, the "SkinSelectItem" chooser first.
  void Refresh(HWND window, const sapala::skin::FormRulesInput& rules, TsSkinManager* manager);
  // The item that carries a system command, nullptr when none.
  TMenuItem* ItemByTag(UINT command);

 private:
  HWND window_ = nullptr;
  sapala::skin::FormRulesInput rules_;
};

// The platform system menu of a window as the rules read it.
std::vector<sapala::skin::PlatformMenuItem> ReadPlatformSystemMenu(HWND window);

// Refreshes the form's skinned system menu (made on first use and owned by the form) and pops it
// up at a screen point. Returns false, showing nothing, when the default manager does not skin
// popup menus (the caller then tracks the platform's own system menu).
bool OpenSkinnedSystemMenu(TForm& form, HWND window, POINT screen,
                           const sapala::skin::FormRulesInput& rules, bool makeSkinMenu);

}  // namespace sapala::win::skin
