// The program's own title-bar icon, for windows that have no icon of their own and belong to an
// application without one: an open book, drawn here at the size asked for rather than scaled,
// as a 32-bit picture with alpha (not premultiplied).
#pragma once

#include "core/graphics/bitmap.h"

namespace sapala::skin {

// The size of the built-in icon for an icon rectangle `iconHeight` pixels high: the larger
// picture (32) when the height exceeds 16, else the small one (16).
int BuiltInTitleIconSize(int iconHeight);

// The book at `size` × `size` pixels (clamped to 8..256): fully opaque on the book, fully
// transparent around it.
graphics::Bitmap BuiltInTitleIconPicture(int size);

}  // namespace sapala::skin
