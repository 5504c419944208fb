#include "core/skin/caption_buttons.h"

#include "core/skin/frame_hit_test.h"

namespace sapala::skin {

CaptionAction CaptionDoubleClick(int code, const FormRulesInput& f) {
  if (code == kHitSysMenu) return CaptionAction::Close;
  if (code != kHitCaption) return CaptionAction::None;
  const bool minimized = f.WindowState == TWindowState::wsMinimized;
  const bool maximized = f.WindowState == TWindowState::wsMaximized;
  const bool rights = (VisibleMax(f) && (EnabledMax(f) || EnabledRestore(f))) ||
                      (f.BorderStyle == TFormBorderStyle::bsNone && minimized);
  if (rights) return maximized || minimized ? CaptionAction::Restore : CaptionAction::Maximize;
  return minimized ? CaptionAction::Restore : CaptionAction::None;
}

int CaptionButtonTracker::StateOf(int code) const {
  return code != 0 && code == current_ ? state_ : 0;
}

void CaptionButtonTracker::SetCurrent(int code, int state, CaptionStep& step) {
  if (code == current_ && state == state_) return;
  if (current_ != 0 && code != current_) step.Repaints.push_back({current_, 0});
  current_ = code;
  state_ = code != 0 ? state : 0;
  if (code != 0) step.Repaints.push_back({code, state_});
}

CaptionStep CaptionButtonTracker::Hover(int code) {
  CaptionStep step;
  if (pending_) {
    if (code == pressed_) {
      SetCurrent(pressed_, 2, step);
    } else if (current_ == pressed_ && state_ == 2) {
      // Shown normal while away; still the pressed one for the release.
      step.Repaints.push_back({pressed_, 0});
      state_ = 0;
    }
    return step;
  }
  SetCurrent(IsCaptionButtonHit(code) ? code : 0, 1, step);
  return step;
}

CaptionStep CaptionButtonTracker::Press(int code, const FormRulesInput& f) {
  CaptionStep step;
  const bool maximized = f.WindowState == TWindowState::wsMaximized;
  bool allowed = IsCaptionButtonHit(code);
  if (code == kHitMdiMinimize) allowed = EnabledMin(f);
  if (code == kHitMdiRestore) allowed = EnabledRestore(f);
  if (code == kHitMaxButton) allowed = EnabledMax(f) || (maximized && EnabledRestore(f));
  if (!allowed) {
    pending_ = false;
    pressed_ = 0;
    SetCurrent(0, 0, step);
    return step;
  }
  SetCurrent(code, 2, step);
  pressed_ = code;
  pending_ = true;
  if (code >= kHitUserButton) {
    step.Action = CaptionAction::UserDown;
    step.UserIndex = code - kHitUserButton;
  }
  return step;
}

CaptionStep CaptionButtonTracker::Release(int code, const FormRulesInput& f) {
  CaptionStep step;
  if (!pending_) return step;
  const int pressed = pressed_;
  pending_ = false;
  pressed_ = 0;
  SetCurrent(0, 0, step);
  if (code != pressed) return step;

  const bool minimized = f.WindowState == TWindowState::wsMinimized;
  const bool maximized = f.WindowState == TWindowState::wsMaximized;
  switch (code) {
    case kHitMinButton:
      step.Action = minimized ? CaptionAction::Restore : CaptionAction::Minimize;
      break;
    case kHitMaxButton:
      if (EnabledMax(f) || (maximized && EnabledRestore(f))) {
        step.Action = maximized ? CaptionAction::Restore : CaptionAction::Maximize;
      }
      break;
    case kHitClose:
      step.Action = CaptionAction::Close;
      break;
    case kHitHelp:
      step.Action = CaptionAction::ContextHelp;
      break;
    case kHitMdiClose:
      step.Action = CaptionAction::MdiClose;
      break;
    case kHitMdiRestore:
      step.Action = CaptionAction::MdiRestore;
      break;
    case kHitMdiMinimize:
      step.Action = CaptionAction::MdiMinimize;
      break;
    default:
      if (code >= kHitUserButton) {
        step.Action = CaptionAction::UserUp;
        step.UserIndex = code - kHitUserButton;
      }
      break;
  }
  return step;
}

CaptionStep CaptionButtonTracker::Leave() {
  CaptionStep step;
  pending_ = false;
  pressed_ = 0;
  SetCurrent(0, 0, step);
  return step;
}

}  // namespace sapala::skin
