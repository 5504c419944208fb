// The press and release state machine of a skinned form's caption buttons. It knows hit codes
// (frame_hit_test.h) and the form's rights, and answers which buttons to repaint in which state
// and which command a release asks for; the window side sends the commands and repaints.
//
// One code at a time is hot or pressed. A release acts only over the button that was pressed:
// pressing minimize and releasing over close does nothing.
#pragma once

#include <vector>

#include "core/skin/system_menu_rules.h"

namespace sapala::skin {

enum class CaptionAction {
  None,
  Minimize,     // SC_MINIMIZE
  Restore,      // SC_RESTORE
  Maximize,     // SC_MAXIMIZE
  Close,        // SC_CLOSE
  ContextHelp,  // SC_CONTEXTHELP
  MdiClose,     // SC_CLOSE to the active MDI child
  MdiRestore,   // SC_RESTORE to the active MDI child
  MdiMinimize,  // SC_MINIMIZE to the active MDI child
  UserDown,     // the user button's OnMouseDown
  UserUp,       // the user button's OnMouseUp
};

// A button to repaint: its hit code and its new state (0 normal, 1 hot, 2 pressed).
struct ButtonRepaint {
  int HitCode = 0;
  int State = 0;
  bool operator==(const ButtonRepaint&) const = default;
};

struct CaptionStep {
  CaptionAction Action = CaptionAction::None;
  int UserIndex = -1;  // for UserDown / UserUp
  std::vector<ButtonRepaint> Repaints;
};

// WM_NCLBUTTONDBLCLK with its hit code: on the caption, maximize or restore when the maximize
// button shows and may act (a minimized borderless form too); a minimized form without those
// rights restores. On the icon, close. Anything else: None.
CaptionAction CaptionDoubleClick(int code, const FormRulesInput& f);

class CaptionButtonTracker {
 public:
  // The hot or pressed code, 0 for none.
  int Current() const { return current_; }
  bool PressPending() const { return pending_; }
  // 0, 1 or 2 for `code`.
  int StateOf(int code) const;

  // WM_NCMOUSEMOVE with the code under the pointer. A caption button code becomes hot; any
  // other code clears the hot button. While a press is pending only the pressed button changes:
  // pressed while the pointer is over it, normal while it is away.
  CaptionStep Hover(int code);
  // WM_NCLBUTTONDOWN. A caption button the form allows to be pressed becomes pressed and the
  // press is pending; a user button also reports UserDown. Any other code clears the hot button.
  CaptionStep Press(int code, const FormRulesInput& f);
  // WM_NCLBUTTONUP / WM_LBUTTONUP with the code at the release point; acts only while a press is
  // pending, and then only when the code is the pressed one. Always ends the press.
  CaptionStep Release(int code, const FormRulesInput& f);
  // The pointer left the window (CM_MOUSELEAVE, WM_MOUSELEAVE or WM_NCMOUSELEAVE): clears the
  // hot or pressed button and the pending press.
  CaptionStep Leave();

 private:
  void SetCurrent(int code, int state, CaptionStep& step);
  int current_ = 0;
  int state_ = 0;
  int pressed_ = 0;
  bool pending_ = false;
};

}  // namespace sapala::skin
