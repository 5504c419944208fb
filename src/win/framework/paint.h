// GDI-side painting helpers over engine bitmaps: solid fills and frames on a DC, text drawn into
// an engine bitmap with DrawTextW (the core's TextPainter), and a picture drawn onto a DC, a
// 32-bit one alpha-blended over what is already there.
#pragma once

#include <windows.h>

#include "core/graphics/bitmap.h"
#include "core/graphics/geometry.h"
#include "core/graphics/text.h"

namespace sapala::win {

// Fills `rect` with ColorToRGB(color); the DC's state is saved and restored.
void PaintSolidRect(HDC dc, const graphics::Rect& rect, graphics::TColor color) noexcept;
// Fills the four border strips of `rect` that are left, top, right and bottom pixels wide.
void PaintSolidFrame(HDC dc, const graphics::Rect& rect, int left, int top, int right, int bottom,
                     graphics::TColor color) noexcept;

// Draws into 8-bit grey-ramp bitmaps with DrawTextW and the font it is given (not owned; it
// must outlive the painter's use).
class GdiTextPainter final : public graphics::TextPainter {
 public:
  explicit GdiTextPainter(HFONT font) noexcept : font_(font) {}
  void PaintText(graphics::Bitmap& target, std::u16string_view text, const graphics::Rect& rect,
                 unsigned format) override;

 private:
  HFONT font_;
};

// Draws `picture` into `rect` of the DC. A picture that is not 32-bit is copied (stretched to
// the rectangle). A 32-bit one is blended by its own alpha over the DC's pixels: at its own size
// directly; otherwise its colours are stretched with COLORONCOLOR and its alpha separately with
// HALFTONE, then joined and blended. Never throws: a failure draws nothing.
void DrawPicture(HDC dc, const graphics::Rect& rect, const graphics::Bitmap& picture) noexcept;

}  // namespace sapala::win
