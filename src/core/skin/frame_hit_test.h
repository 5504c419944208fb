// The hit-test map of a skinned frame: which hit code (the WM_NCHITTEST answer) a point of the
// window gets, from the frame geometry computed by form_geometry.h. The window side asks only
// when it draws the non-client area and the caption height is not 0.
#pragma once

#include <array>
#include <optional>

#include "core/graphics/geometry.h"
#include "core/skin/form_geometry.h"

namespace sapala::skin {

// Hit codes of the platform that the map answers besides the caption buttons.
inline constexpr int kHitClient = 1;
inline constexpr int kHitCaption = 2;
inline constexpr int kHitSysMenu = 3;
inline constexpr int kHitMenu = 5;
inline constexpr int kHitLeft = 10;
inline constexpr int kHitRight = 11;
inline constexpr int kHitTop = 12;
inline constexpr int kHitTopLeft = 13;
inline constexpr int kHitTopRight = 14;
inline constexpr int kHitBottom = 15;
inline constexpr int kHitBottomLeft = 16;
inline constexpr int kHitBottomRight = 17;

struct FrameHitInput {
  graphics::Point Point;  // window-relative
  int Width = 0, Height = 0;
  int Frame = 0;       // FormFrameWidth
  int Caption = 0;     // CaptionHeight
  int MenuHeight = 0;  // menu rows × row height, 0 without a menu line
  bool ThickFrame = false;
  bool ExtendedBorders = false;  // the companion window answers for buttons and borders
  FormRulesInput Rules;
  graphics::Rect Icon;  // IconRect, empty without an icon
  const CaptionButtonLayout* Buttons = nullptr;
  // The grip picture's place at the client's bottom-right, when a size grip is shown or both of
  // the form's scroll bars show and the skin has a grip image.
  std::optional<graphics::Rect> Grip;
  // A maximized MDI child's buttons in the menu line: close, restore, minimize.
  bool MdiChildMaximized = false;
  std::array<graphics::Rect, 3> MdiButtons;
};

int FrameHitTest(const FrameHitInput& in);

// Codes the platform keeps handling itself: the answer goes to the old window procedure.
constexpr bool HitGoesToDefault(int code) { return code < kHitSysMenu || code == kHitMenu; }
// The codes that make a caption button hot: 8, 9, 20, 21, 101-103 and user buttons 1000-1100.
constexpr bool IsCaptionButtonHit(int code) {
  return code == kHitMinButton || code == kHitMaxButton || code == kHitClose || code == kHitHelp ||
         (code >= kHitMdiClose && code <= kHitMdiMinimize) ||
         (code >= kHitUserButton && code <= kHitUserButton + 100);
}

}  // namespace sapala::skin
