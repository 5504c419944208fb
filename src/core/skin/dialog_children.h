// Which hook a child window of a skinned system dialog gets, by its window class and style, and
// when a newly shown system dialog is skinned at all. Pure rules; the dialog hook on the Win32
// side applies them while it walks the dialog's children.
#pragma once

#include <cstdint>
#include <string_view>

namespace sapala::skin {

// The hook kinds a dialog child can get. `none` leaves the child as the system draws it.
enum class DialogHookKind {
  none,
  edge,         // framed static with a static edge
  icon,         // icon or bitmap static
  staticText,   // any other static that is not a plain rectangle or owner-drawn
  transPanel,   // a nested dialog or the folder browser's panel
  panel,        // a platform panel: its labels follow the skin, its children are hooked
  silentPanel,  // a platform panel that paints nothing of its own, caption cleared
  edit,         // edit, list box and drop-down list in their dialog mode
  groupBox,
  checkBox,  // check boxes and radio buttons (and the other non-push button styles)
  button,    // push buttons
  comboBox,
  sizer,  // the size grip of a sizeable dialog
  tabControl,
  listView,
  spin,
  trackBar,
  link,
  toolBar,
  treeView,
};

struct DialogChildHook {
  DialogHookKind Kind = DialogHookKind::none;
  std::string_view Section;  // the hook's skin section, empty for none
  bool operator==(const DialogChildHook&) const = default;
};

// The hook of a dialog child. `className` is compared without regard to case; `visible` is
// WS_VISIBLE of the child (an invisible edit is not hooked).
DialogChildHook ClassifyDialogChild(std::string_view className, std::uint32_t style,
                                    std::uint32_t exStyle, bool visible);

// Whether a system dialog that is being shown gets skinned: only when the skinning rules cover
// system dialogs, and while more than one skinned dialog is already visible only a dialog that
// has a tool bar among its descendants (the shell's file dialogs) is taken.
bool SkinsNewDialog(bool rulesCoverDialogs, int visibleSkinnedDialogs, bool hasToolBarDescendant);

}  // namespace sapala::skin
