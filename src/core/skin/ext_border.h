// Extended borders: the shadowed outer border a skinned form shows in a layered companion
// window around its own. The companion's picture is the form's window image grown by the four
// margins of the skin's extended-border pictures; these functions place the form in it and draw
// the border ring from the active or inactive extended-border picture. Pure pixels, no window.
#pragma once

#include "core/graphics/bitmap.h"
#include "core/graphics/geometry.h"
#include "core/skin/nine_part.h"

namespace sapala::skin {

class SkinTables;

// The picture the companion shows for a window of width x height with the extended-border
// margins around it: its size, and the rectangle the form's window takes in it.
struct ExtBorderFrame {
  int Width = 0, Height = 0;
  graphics::Rect Form;
};
ExtBorderFrame ExtBorderFrameOf(int windowWidth, int windowHeight, BorderWidths margins);
// The margins of the tables' extended-border pictures (all 0 when they are not in effect).
BorderWidths ExtBorderMargins(const SkinTables& tables);

// The nine-part borders the extended-border picture is cut by: the skin's "EXBORDER" image's
// own border widths, or for the built-in shadow its margins without the one pixel the desktop
// composition adds. Fitted to the picture's size.
BorderWidths ExtBorderSlices(const SkinTables& tables);

// Draws the eight border pieces of `picture` (cut by `slices`) stretched around the whole of
// `dest`, composed over what `dest` holds with the pieces' own alpha (colours are not
// premultiplied, neither in `picture` nor in `dest`). The centre is left alone, so the form's
// window image under it keeps its pixels. Nothing happens for an empty or non-32-bit picture.
void PaintExtBorderRing(graphics::Bitmap& dest, const graphics::Bitmap& picture,
                        BorderWidths slices);

// One pixel `src` composed over `dst` (both 0xAARRGGBB words, colours not premultiplied).
std::uint32_t ComposePixelOver(std::uint32_t src, std::uint32_t dst);

}  // namespace sapala::skin
