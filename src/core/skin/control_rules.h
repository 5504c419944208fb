// The rules of the control skin state that need no window: kind-code sets, the default section
// of a control kind, the background kind of a section, the colour answers and the "own
// background" test behind the simple-background flag. TsCommonData (Win32 half) applies them.
#pragma once

#include <string>
#include <string_view>

#include "core/skin/skin_colors.h"
#include "core/skin/skin_data.h"

namespace sapala::skin {

// Kinds whose skin colours are given to the owner's Color and font colour.
bool IsColorApplyingKind(int kind);
// Kinds for which hovering does not make the control active.
bool IsHoverInactiveKind(int kind);
// Kinds that never glow.
bool IsNeverGlowingKind(int kind);

// The section of a control kind when its SkinSection is empty; unlisted kinds take the owner's
// class name as written.
std::string DefaultSectionForKind(int kind, std::string_view className);

// The section a hook paints with when the skin has no section `section`: a combo box looks like
// an edit, its drop button and a list view's column headers like push buttons. Empty when there
// is none: the element is then left to the system.
std::string_view FallbackSection(std::string_view section);

// Bit set from the section's normal look: +4 when ImagePercent > 0; with GradientPercent > 0 and
// at least one stop: +2 for a first-stop Mode 0, +1 for Mode 1, +3 for Mode 2.
int BackgroundKindOf(const TsGeneralData& section);

// The state whose colours are used: 1 only when hot is asked and the section has States > 1.
int ColorState(const TsGeneralData& section, bool hot);

// The effective background colour (BackgroundColor(state)) of a skinned owner. `parentColor` is
// what lies under it (fuchsia without a parent; the caller passes clBtnFace when there is
// neither a control nor a window); `ownColor` is the owner's own colour (used when not skinned
// or CustomColor). All colours RGB.
TColor EffectiveBackgroundColor(const TsGeneralData* section, bool hot, bool skinnedNotCustom,
                                TColor parentColor, TColor ownColor);

// The answer to cmdGetBackgroundColor of a skinned owner: t = 0 the section colour; t = 100 the
// parent's answer (a fuchsia answer becomes `parentOwnColor`), without a parent the owner's
// colour; 0 < t < 100: per channel (t × (p − c) + 256 × c) >> 8, clamped.
TColor BackgroundColorAnswer(const TsGeneralData& section, bool hasParent, TColor parentAnswer,
                             TColor parentOwnColor, TColor ownColor);

// True when an owner paints its own background, which keeps the simple-background flag off:
// border widths over 20 on one axis; 0 < Transparency < 100; Transparency 100 with a border mask
// of DrawMode 10, without a parent control, or over a parent without the flag; Transparency 0
// with an image or gradient percent.
bool BackgroundIsOwn(const TsGeneralData& section, const TsMaskData* borderMask,
                     bool hasParentControl, bool parentHasSimpleFlag);

}  // namespace sapala::skin
