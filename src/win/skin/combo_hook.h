// TlcComboBoxWnd: the hook of a standard combo box (COMBOBOX and the extended ComboBoxEx32 shell
// around one). The combo's client area is painted from the hook's cache: the skin section
// ("COMBOBOX" unless set) over the whole control in the normal or the focused/hot state, the drop
// button from "COMBOBTN" (state 0 normal, 1 hot or focused, 2 while the list is dropped; a skin
// without that section gets a push button with an arrow in the button's font colour), and for
// a drop-down list combo the chosen item's text in the section's font colour (the system's
// selection colours while the combo has the focus and the list is closed). A disabled combo is
// faded 40 % into its background. Child windows — the edit of a drop-down combo, the list of a
// simple one, the combo inside a ComboBoxEx32 — are clipped out and stay their own.
//
// The drop-down list window is hooked as an edit-like window with the combo's section: its border
// and its scroll bars come from the skin. The combo hook owns that list hook and gives the list
// back with itself.
//
// The combo keeps all of its behaviour: the keyboard (Alt+Down and F4 drop the list, arrows move,
// Enter chooses, Escape closes the list), the mouse and the CB_* messages go to its own
// procedure. The system combo also draws parts of itself outside WM_PAINT (on focus changes,
// presses, selection changes); after each such message the hook paints its picture again.
//
// Owner-drawn combos are not hooked (their items are their owner's to draw); see
// ComboIsHookable. A combo has no scroll bars of its own (the system hands WS_VSCROLL of a
// combo to its list), so the hook does not run the scroll engine on the combo window.
#pragma once

#include <memory>

#include "win/skin/edit_hook.h"
#include "win/skin/hook_base.h"

namespace sapala::win {

class TlcComboBoxWnd : public TlcMainWnd {
 public:
  using TlcMainWnd::TlcMainWnd;
  ~TlcComboBoxWnd() override;

  // Install, then the drop-down list's hook.
  bool InstallCombo();
  void Remove() noexcept override;

  // The section's state: 1 when the combo (or its edit) has the focus or the pointer, else 0;
  // 0 when disabled.
  int State() const noexcept;
  // The drop button's state: 2 while the list is dropped, 1 hot or focused, else 0.
  int ButtonState() const noexcept;
  bool Dropped() const noexcept;
  // Rebuilds the cache now; false when there is nothing to paint with.
  bool PaintCache() override;
  // The drop-down list's hook, nullptr when the combo has none (simple combos, ComboBoxEx32).
  TlcEditWnd* ListHook() const noexcept { return list_.get(); }
  // Where the drop button lies in the last picture (client coordinates; empty when none).
  RECT ButtonRect() const noexcept { return button_rect_; }
  int ButtonSectionIndex() const noexcept { return button_index_; }

 protected:
  void WndProc(Message& m) override;
  std::string DefaultSection() const override { return "COMBOBOX"; }
  void SkinChanged() override;

 private:
  void Paint(HDC dc) noexcept;
  void HookList();
  void SetHot(bool hot) noexcept;
  // What the look depends on, to tell whether the system changed it behind the hook's back.
  struct Look {
    bool dropped, focused, hot, enabled;
    LRESULT selection;
    bool operator==(const Look&) const = default;
  };
  Look CurrentLook() const noexcept;

  std::unique_ptr<TlcEditWnd> list_;
  int button_index_ = -1;
  bool button_fallback_ = false;  // the button is painted from a stand-in section
  RECT button_rect_{};
};

// False for owner-drawn combos, which the hooks leave to their owner.
bool ComboIsHookable(HWND hwnd) noexcept;

}  // namespace sapala::win
