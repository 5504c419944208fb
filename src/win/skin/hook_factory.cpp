// Making the standard windows' hooks by kind.
#include "win/skin/hook_factory.h"

#include "core/skin/button_rules.h"
#include "win/skin/bar_hooks.h"
#include "win/skin/button_hook.h"
#include <type_traits>

#include "win/skin/checkbox_hook.h"
#include "win/skin/combo_hook.h"
#include "win/skin/edit_hook.h"
#include "win/skin/frame_hooks.h"
#include "win/skin/groupbox_hook.h"
#include "win/skin/list_hooks.h"
#include "win/skin/panel_hooks.h"
#include "win/skin/range_hooks.h"
#include "win/skin/scroll_hook.h"
#include "win/skin/tab_hook.h"

namespace sapala::win {

namespace {

template <typename Hook>
std::unique_ptr<TlcMainWnd> Installed(HWND hwnd, TsSkinManager* manager,
                                      const std::string& section) {
  auto hook = std::make_unique<Hook>(hwnd, manager, section);
  if (!hook->Install()) return nullptr;
  return hook;
}

template <typename Hook>
std::unique_ptr<TlcMainWnd> InstalledScroll(HWND hwnd, TsSkinManager* manager,
                                            const std::string& section) {
  auto hook = std::make_unique<Hook>(hwnd, manager, section, true);
  if (!hook->InstallScroll()) return nullptr;
  return hook;
}

template <typename Hook>
std::unique_ptr<TlcMainWnd> InstalledEditLike(HWND hwnd, TsSkinManager* manager,
                                              const std::string& section, bool dialogMode) {
  auto hook = std::make_unique<Hook>(hwnd, manager, section, true);
  hook->SetDialogMode(dialogMode);
  bool installed = false;
  if constexpr (std::is_same_v<Hook, TlcListViewWnd>) {
    installed = hook->InstallListView();
  } else {
    installed = hook->InstallScroll();
  }
  if (!installed) return nullptr;
  return hook;
}

}  // namespace

std::unique_ptr<TlcMainWnd> MakeHook(HookKind kind, HWND hwnd, TsSkinManager* manager,
                                     const std::string& section, bool dialogMode) {
  switch (kind) {
    case HookKind::button:
      return Installed<TlcBtnWnd>(hwnd, manager, section);
    case HookKind::bitBtn:
      return Installed<TlcBitBtnWnd>(hwnd, manager, section);
    case HookKind::checkBox:
      return Installed<TlcCheckBoxWnd>(hwnd, manager, section);
    case HookKind::groupBox:
      return Installed<TlcGroupBoxWnd>(hwnd, manager, section);
    case HookKind::edit:
      return InstalledEditLike<TlcEditWnd>(hwnd, manager, section, dialogMode);
    case HookKind::listView:
      return InstalledEditLike<TlcListViewWnd>(hwnd, manager, section, dialogMode);
    case HookKind::treeView:
      return InstalledEditLike<TlcTreeViewWnd>(hwnd, manager, section, dialogMode);
    case HookKind::grid:
      return InstalledEditLike<TlcGridWnd>(hwnd, manager, section, dialogMode);
    case HookKind::comboBox: {
      if (!ComboIsHookable(hwnd)) return nullptr;
      auto hook = std::make_unique<TlcComboBoxWnd>(hwnd, manager, section);
      if (!hook->InstallCombo()) return nullptr;
      return hook;
    }
    case HookKind::scroll:
      return InstalledScroll<TlcScrollWnd>(hwnd, manager, section);
    case HookKind::tabControl:
      return Installed<TlcTabControlWnd>(hwnd, manager, section);
    case HookKind::pageControl:
      return Installed<TlcPageControlWnd>(hwnd, manager, section);
    case HookKind::page:
      return Installed<TlcPageWnd>(hwnd, manager, section);
    case HookKind::spin:
      return Installed<TlcSpinWnd>(hwnd, manager, section);
    case HookKind::trackBar:
      return Installed<TlcTrackWnd>(hwnd, manager, section);
    case HookKind::sizer:
      return Installed<TlcSizerWnd>(hwnd, manager, section);
    case HookKind::edge:
      return Installed<TlcEdgeWnd>(hwnd, manager, section);
    case HookKind::link:
      return Installed<TlcLinkWnd>(hwnd, manager, section);
    case HookKind::panel:
      return Installed<TlcPanelWnd>(hwnd, manager, section);
    case HookKind::silentPanel: {
      auto hook = std::make_unique<TlcPanelWnd>(hwnd, manager, section, true);
      if (!hook->Install()) return nullptr;
      return hook;
    }
    case HookKind::transPanel:
      return Installed<TlcTransPanelWnd>(hwnd, manager, section);
    case HookKind::toolBar:
      return Installed<TlcToolBarWnd>(hwnd, manager, section);
    case HookKind::statusBar:
      return Installed<TlcStatusBarWnd>(hwnd, manager, section);
    case HookKind::none:
      break;
  }
  return nullptr;
}

HookKind ButtonHookKindOf(HWND hwnd) noexcept {
  const auto style = static_cast<std::uint32_t>(::GetWindowLongPtrW(hwnd, GWL_STYLE));
  switch (sapala::skin::HookKindForButtonStyle(style)) {
    case sapala::skin::ButtonHookKind::pushButton:
      return HookKind::button;
    case sapala::skin::ButtonHookKind::checkBox:
      return HookKind::checkBox;
    case sapala::skin::ButtonHookKind::groupBox:
      return HookKind::groupBox;
    case sapala::skin::ButtonHookKind::none:
      break;
  }
  return HookKind::none;
}

}  // namespace sapala::win
