// A 5 × 7 pixel font for the labels of the contact sheet: upper-case letters, digits and the
// few signs that section and image names use. Drawn pixel by pixel into a 32-bit bitmap, so
// the sheet needs no font engine and looks the same on every machine.
#pragma once

#include <string_view>

#include "core/graphics/bitmap.h"
#include "core/graphics/color.h"

namespace sapala::skinsheet {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kAdvance = kGlyphWidth + 1;

// Width in pixels of `text` drawn with DrawLabel.
int LabelWidth(std::string_view text);
// Draws `text` with its top-left at (x, y) in `color` (RGB colour value), clipped to the bitmap.
// Lower-case letters are drawn as upper-case; characters the font lacks as a hollow box.
void DrawLabel(graphics::Bitmap& bitmap, int x, int y, std::string_view text,
               graphics::TColor color);

}  // namespace sapala::skinsheet
