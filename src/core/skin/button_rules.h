// Window-free rules of the hooks that skin standard BUTTON windows: which hook a button style
// gets, which of the skin's check glyphs a check box or radio button shows, and where glyph,
// caption and group frame lie. The Win32 hooks apply them.
#pragma once

#include <array>
#include <cstdint>

#include "core/graphics/geometry.h"

namespace sapala::skin {

// The kinds of hook a standard BUTTON window can get.
enum class ButtonHookKind { none, pushButton, checkBox, groupBox };

// By the button type (the style's low four bits): push and default push buttons are push
// buttons; check boxes, three-state boxes and radio buttons (plain and automatic) are check
// boxes; a group box is a group box. Owner-drawn buttons, user buttons, split buttons, command
// links and push-like check boxes and radio buttons get no hook: they draw something of their own
// (a face, a note, a pressed look for the check state) that a skinned face or glyph would cover.
ButtonHookKind HookKindForButtonStyle(std::uint32_t style);

// Whether the button type is a radio button (plain or automatic).
bool IsRadioStyle(std::uint32_t style);

// The slots of StdPartCache::CheckBoxes.
enum CheckGlyphSlot : int {
  kBoxChecked = 0,
  kBoxUnchecked = 1,
  kBoxGrayed = 2,
  kRadioChecked = 3,
  kRadioUnchecked = 4,
  kRadioGrayed = 5,
};

// The image index of the glyph a check box or radio button shows for `checkState` (BM_GETCHECK:
// 0 unchecked, 1 checked, 2 indeterminate), from the skin's cached check images. A missing
// grayed image falls back to the checked one; a radio button has no third state and shows
// checked for any state but 0. -1 when the skin has no such image.
int CheckGlyphImage(std::uint32_t style, int checkState, const std::array<int, 9>& images);

// Where a check box's parts lie in its client area (width × height): the glyph (glyphWidth ×
// glyphHeight) at the left edge, or the right one when `glyphRight` (BS_LEFTTEXT, right-to-left
// reading), centred vertically; the caption's area beside it after `gap` pixels, full height.
struct CheckBoxLayout {
  graphics::Rect Glyph;
  graphics::Rect TextArea;
};
CheckBoxLayout LayoutCheckBox(int width, int height, int glyphWidth, int glyphHeight,
                              bool glyphRight, int gap);

// A group box of width × height whose caption is textWidth × textHeight (0 × 0 without
// caption): the frame starts half a caption line down, the caption sits `indent` pixels in on
// the top line (right-aligned with `right`), cut to the frame's inner width.
struct GroupBoxLayout {
  graphics::Rect Frame;
  graphics::Rect Caption;  // empty without caption
};
GroupBoxLayout LayoutGroupBox(int width, int height, int textWidth, int textHeight, int indent,
                              bool right);

}  // namespace sapala::skin
