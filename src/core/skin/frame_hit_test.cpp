#include "core/skin/frame_hit_test.h"

namespace sapala::skin {

namespace {

// The button code for a point over a visible button, 0 over none (or a disabled user button).
int ButtonHit(const FrameHitInput& in) {
  if (in.Buttons == nullptr) return 0;
  const FormRulesInput& f = in.Rules;
  const bool minimized = f.WindowState == TWindowState::wsMinimized;
  for (const CaptionButtonInfo& b : in.Buttons->System) {
    if (!b.Visible || !b.Rect.contains(in.Point)) continue;
    switch (b.HitCode) {
      case kHitClose:
        return kHitClose;
      case kHitMaxButton:
        if (EnabledMax(f) || (EnabledRestore(f) && !minimized)) return kHitMaxButton;
        return kHitCaption;
      case kHitMinButton:
        return minimized || EnabledMin(f) ? kHitMinButton : kHitCaption;
      case kHitHelp:
        return kHitHelp;
      default:
        return 0;
    }
  }
  for (const CaptionButtonInfo& b : in.Buttons->User) {
    if (b.Visible && b.Enabled && b.Rect.contains(in.Point)) return b.HitCode;
  }
  return 0;
}

}  // namespace

int FrameHitTest(const FrameHitInput& in) {
  const int x = in.Point.x;
  const int y = in.Point.y;
  if (!in.ExtendedBorders) {
    if (const int code = ButtonHit(in); code != 0) return code;
  }

  // Border pixels are the half-open strips [0, b) and [size - b, size).
  const bool maximized = in.Rules.WindowState == TWindowState::wsMaximized;
  if (!maximized && in.ThickFrame && !in.ExtendedBorders) {
    const int b = in.Frame;
    const bool left = x < b;
    const bool right = x >= in.Width - b;
    if (y >= in.Height - b) return left ? kHitBottomLeft : right ? kHitBottomRight : kHitBottom;
    if (y < b) return left ? kHitTopLeft : right ? kHitTopRight : kHitTop;
    if (left) return kHitLeft;
    if (right) return kHitRight;
  }

  const int captionBottom = in.Frame + in.Caption;
  if (y < captionBottom) return in.Icon.contains(in.Point) ? kHitSysMenu : kHitCaption;
  if (y < captionBottom + in.MenuHeight) {
    if (in.MdiChildMaximized) {
      static constexpr int kCodes[3] = {kHitMdiClose, kHitMdiRestore, kHitMdiMinimize};
      for (int i = 0; i < 3; ++i) {
        if (in.MdiButtons[static_cast<std::size_t>(i)].contains(in.Point)) return kCodes[i];
      }
    }
    return kHitMenu;
  }
  if (in.Grip && x >= in.Grip->left && y >= in.Grip->top) return kHitBottomRight;
  return kHitClient;
}

}  // namespace sapala::skin
