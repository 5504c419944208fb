// Blur, glowing text and filtered resampling.
#pragma once

#include <string_view>

#include "core/graphics/bitmap.h"
#include "core/graphics/color.h"
#include "core/graphics/geometry.h"
#include "core/graphics/text.h"

namespace sapala::graphics {

// Gaussian blur of an 8-bit bitmap with radius (standard deviation) `radius` in pixels, rows
// then columns, edge pixels repeated. Any other format, or radius <= 0, is left alone.
void BlurGray8(Bitmap& bitmap, double radius);

// Glowing text into a 32-bit bitmap: a blurred mask of `text` (moved by one pixel toward each
// side bit of `sides`: 1 left, 2 up, 4 right, 8 down, then in place) tints dest toward `color`.
// The mask is kept in `cache` (an 8-bit bitmap the size of rect grown by radius + 4); when it
// already has that size it is reused as is. The caller draws the text itself afterwards.
void DrawGlowText(Bitmap& dest, std::u16string_view text, Rect rect, Bitmap& cache, TColor color,
                  int radius, unsigned sides, unsigned format, TextPainter& painter);

// Filters of Resample, by index 0..6: box, triangle, Hermite, bell, B-spline, Lanczos-3 like,
// Mitchell.
enum ResampleFilter : int {
  kFilterBox = 0,
  kFilterTriangle = 1,
  kFilterHermite = 2,
  kFilterBell = 3,
  kFilterSpline = 4,
  kFilterLanczos3 = 5,
  kFilterMitchell = 6
};

// Resizes `source` to width × height into `dest` (made 32-bit when the source is, else 24-bit)
// with the filter of that index: horizontally first, then vertically. height 0 does nothing;
// equal sizes copy. Throws EGraphicError("Source bitmap is too small") for a source smaller
// than 2 × 2 and std::invalid_argument for an unknown filter or negative sizes.
void Resample(const Bitmap& source, Bitmap& dest, int width, int filter, int height);

}  // namespace sapala::graphics
