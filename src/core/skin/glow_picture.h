// The picture of a glow: the section's glow image painted in nine parts around a control's size,
// cropped to the part of the control that is visible, and where the glow window goes. The
// window itself (layered, click-through, non-activating) is the Win32 half's; it premultiplies
// the picture only when handing it to UpdateLayeredWindow.
#pragma once

#include <string_view>

#include "core/graphics/bitmap.h"
#include "core/graphics/geometry.h"
#include "core/skin/skin_tables.h"

namespace sapala::skin {

// The glow image of a section: key `imageName` followed by "0" ("GLOW0" for controls), exact
// look-up without the parent chain; -1 when there is none.
int FindGlowImage(const SkinTables& tables, std::string_view sectionName,
                  std::string_view imageName);

struct GlowPicture {
  graphics::Bitmap Picture;  // 32-bit, not premultiplied; empty when there is nothing to show
  graphics::Point Position;  // top-left of the glow window, in the coordinates of controlRect
};

// `controlRect`: the control in screen coordinates; `visibleRect`: its visible part in the
// control's own coordinates; `margin`: how far the image's borders reach back under the control
// (the section's GlowMargin). The picture is W × H = control size + the image's border widths −
// 2 × margin, transparent black with the image painted over it in state 0 without a parent
// background, then cut at the hidden sides.
GlowPicture BuildGlowPicture(const SkinTables& tables, int maskIndex, graphics::Rect controlRect,
                             graphics::Rect visibleRect, int margin);

}  // namespace sapala::skin
