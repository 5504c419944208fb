// The hooks of standard tool bars and status bars.
// - TlcToolBarWnd: the bar with its section ("TOOLBAR" unless set; dialogs give "BAR" or
//   "CHECKBOX"), each button with "TOOLBUTTON" in its state (2 pressed or checked, 1 hot, else 0;
//   a flat bar shows no face for state 0), separators with "DIVIDER" (an etched line when the skin
//   has none), the buttons' images from the bar's image lists (the hot and disabled lists where
//   the bar has them) and their text in the button section's font colours.
// - TlcStatusBarWnd: the bar with its section ("STATUSBAR" unless set), each part framed with the
//   section's "STATUSPANELMASK" image (a sunken edge when the skin has none) and its text (a
//   leading tab centres it, two right-align it); owner-drawn parts are handed to the bar's parent
//   with WM_DRAWITEM over the skinned part; the size grip with the skin's grip image.
// Buttons, commands, tool tips, parts and text stay with the controls.
#pragma once

#include <vector>

#include "win/skin/painted_hook.h"

namespace sapala::win {

class TlcToolBarWnd : public TlcPaintedWnd {
 public:
  using TlcPaintedWnd::TlcPaintedWnd;

  // The state each button was last painted in (-1 for separators and hidden buttons).
  const std::vector<int>& ButtonStates() const noexcept { return states_; }

 protected:
  std::string DefaultSection() const override { return "TOOLBAR"; }
  void PaintPicture(Canvas& c) override;
  bool Changes(const Message& m) override;

 private:
  std::vector<int> states_;
};

class TlcStatusBarWnd : public TlcPaintedWnd {
 public:
  using TlcPaintedWnd::TlcPaintedWnd;

  // The part rectangles of the last paint (client coordinates).
  const std::vector<RECT>& PartRects() const noexcept { return parts_; }

 protected:
  std::string DefaultSection() const override { return "STATUSBAR"; }
  void PaintPicture(Canvas& c) override;

 private:
  std::vector<RECT> parts_;
};

}  // namespace sapala::win
