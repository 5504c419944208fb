// TlcEditWnd: the hook of an edit, a memo or a list box. The window's non-client edge is
// painted from the skin section ("EDIT" unless set) — its border in the focused (or hot) state
// when the window has the focus or the pointer — and its standard scroll bars by the scroll
// engine it derives from. The client area and the behaviour (typing, selection, the keyboard)
// stay the control's own.
#pragma once

#include "win/skin/scroll_hook.h"

namespace sapala::win {

class TlcEditWnd : public TlcScrollWnd {
 public:
  using TlcScrollWnd::TlcScrollWnd;

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
};

}  // namespace sapala::win
