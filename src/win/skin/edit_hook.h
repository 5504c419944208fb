// TlcEditWnd: the hook of an edit, a memo or a list box. The window's non-client edge is
// painted from the skin section ("EDIT" unless set) — its border in the focused (or hot) state
// when the window has the focus or the pointer — and its standard scroll bars by the scroll
// engine it derives from. The client area and the behaviour (typing, selection, the keyboard)
// stay the control's own.
//
// Dialog mode is for the edits, list boxes, list views and tree views of system dialogs: such a
// window has no control object, and the dialog it lies on is painted by the dialog hook in the
// skin's form colour. A read-only or disabled edit asks its dialog for its colours
// (WM_CTLCOLORSTATIC), which the system answers with its own face colour; in dialog mode the
// dialog hook answers for the hooked window with the form colour instead, so such a field shows
// the dialog's background like every other part of the dialog. The border's corners show what
// the dialog answers to the background request, in either mode.
#pragma once

#include "win/skin/scroll_hook.h"

namespace sapala::win {

class TlcEditWnd : public TlcScrollWnd {
 public:
  using TlcScrollWnd::TlcScrollWnd;

  // Set before installing; see the file comment.
  void SetDialogMode(bool on) noexcept { dialog_mode_ = on; }
  bool DialogMode() const noexcept { return dialog_mode_; }
  // 1 when the window has the focus or is the manager's hot control, else 0.
  int State() const noexcept;
  // Paints the border into the window now (nothing while the window is hidden).
  void PaintBorder() noexcept;
  // The whole window's picture the border was last painted from (window coordinates; only
  // what lies outside the client area and the bars reaches the screen). nullptr before.
  const graphics::Bitmap* BorderPicture() noexcept {
    return border_.Width() > 0 ? &border_.Pixels() : nullptr;
  }

 protected:
  void WndProc(Message& m) override;
  std::string DefaultSection() const override { return "EDIT"; }

 private:
  DibSurface border_;
  bool dialog_mode_ = false;
};

}  // namespace sapala::win
