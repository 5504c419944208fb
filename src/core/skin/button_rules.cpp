// The BUTTON hooks' window-free rules.
#include "core/skin/button_rules.h"

#include <algorithm>

namespace sapala::skin {

namespace {

// Button types (the low four bits of a BUTTON's style).
enum : std::uint32_t {
  kPushButton = 0x0,
  kDefPushButton = 0x1,
  kCheckBox = 0x2,
  kAutoCheckBox = 0x3,
  kRadioButton = 0x4,
  k3State = 0x5,
  kAuto3State = 0x6,
  kGroupBox = 0x7,
  kAutoRadioButton = 0x9,
};
constexpr std::uint32_t kPushLike = 0x1000;

}  // namespace

ButtonHookKind HookKindForButtonStyle(std::uint32_t style) {
  switch (style & 0xF) {
    case kPushButton:
    case kDefPushButton:
      return ButtonHookKind::pushButton;
    case kCheckBox:
    case kAutoCheckBox:
    case kRadioButton:
    case k3State:
    case kAuto3State:
    case kAutoRadioButton:
      // A push-like box shows its check state as a pressed face, not as a glyph.
      return (style & kPushLike) ? ButtonHookKind::none : ButtonHookKind::checkBox;
    case kGroupBox:
      return ButtonHookKind::groupBox;
    default:
      return ButtonHookKind::none;
  }
}

bool IsRadioStyle(std::uint32_t style) {
  const std::uint32_t type = style & 0xF;
  return type == kRadioButton || type == kAutoRadioButton;
}

int CheckGlyphImage(std::uint32_t style, int checkState, const std::array<int, 9>& images) {
  if (IsRadioStyle(style)) {
    return images[checkState != 0 ? kRadioChecked : kRadioUnchecked];
  }
  if (checkState == 2) {
    return images[kBoxGrayed] >= 0 ? images[kBoxGrayed] : images[kBoxChecked];
  }
  return images[checkState != 0 ? kBoxChecked : kBoxUnchecked];
}

CheckBoxLayout LayoutCheckBox(int width, int height, int glyphWidth, int glyphHeight,
                              bool glyphRight, int gap) {
  width = std::max(0, width);
  height = std::max(0, height);
  glyphWidth = std::clamp(glyphWidth, 0, width);
  glyphHeight = std::max(0, glyphHeight);
  CheckBoxLayout out;
  const int top = (height - glyphHeight) / 2;
  const int textWidth = std::max(0, width - glyphWidth - gap);
  if (glyphRight) {
    out.Glyph = {width - glyphWidth, top, width, top + glyphHeight};
    out.TextArea = {0, 0, textWidth, height};
  } else {
    out.Glyph = {0, top, glyphWidth, top + glyphHeight};
    out.TextArea = {width - textWidth, 0, width, height};
  }
  return out;
}

GroupBoxLayout LayoutGroupBox(int width, int height, int textWidth, int textHeight, int indent,
                              bool right) {
  width = std::max(0, width);
  height = std::max(0, height);
  GroupBoxLayout out;
  const int frameTop = std::min(height, std::max(0, textHeight) / 2);
  out.Frame = {0, frameTop, width, height};
  if (textWidth <= 0 || textHeight <= 0) return out;
  const int w = std::min(textWidth, std::max(0, width - 2 * indent));
  if (w <= 0) return out;
  const int left = right ? width - indent - w : indent;
  out.Caption = {left, 0, left + w, std::min(height, textHeight)};
  return out;
}

}  // namespace sapala::skin
