// How the core draws text into its bitmaps. Fonts, shaping and layout belong to the platform:
// the Win32 half implements TextPainter with DrawTextW on a DIB section; native tests fake it.
#pragma once

#include <string_view>

#include "core/graphics/bitmap.h"
#include "core/graphics/geometry.h"

namespace sapala::graphics {

class TextPainter {
 public:
  virtual ~TextPainter() = default;
  // Draws `text` (UTF-16) in black with the painter's current font into the 8-bit bitmap
  // `target`, whose palette is the grey ramp (index = grey level), laid out in `rect` by the
  // Windows DT_* flags in `format`. Pixels outside the glyphs are left as they are.
  virtual void PaintText(Bitmap& target, std::u16string_view text, const Rect& rect,
                         unsigned format) = 0;
};

}  // namespace sapala::graphics
