// The window region of a skinned form: the pixels of its frame masks' corner pieces that the skin
// marks transparent (key colour) are cut out of the window, row by row.
#pragma once

#include <vector>

#include "core/graphics/geometry.h"
#include "core/skin/skin_data.h"

namespace sapala::skin {

// The transparent pixels of the corner pieces of `image` (frame `state`) laid over `dest` in
// nine parts, as runs one pixel high in dest's coordinates. `top` scans the two top corners,
// `bottom` the two bottom ones. An image without a picture (no own picture and no owner's master
// bitmap) or too small a `dest` gives none.
std::vector<graphics::Rect> CornerCutRects(const TsMaskData& image, int state, graphics::Rect dest,
                                           bool top, bool bottom);

}  // namespace sapala::skin
