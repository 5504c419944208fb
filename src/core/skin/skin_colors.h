// Colour values as the skin tables hold them (graphics::TColor, 0x00BBGGRR) and the two special
// answers of the skin queries: fuchsia for "no colour known" and -1 for "none". System colours
// go through graphics::ColorToRGB, whose table the Win32 side installs.
#pragma once

#include "core/graphics/color.h"

namespace sapala::skin {

using graphics::ColorToRGB;
using graphics::TColor;

inline constexpr TColor kFuchsia = graphics::clFuchsia;
inline constexpr TColor kNoColor = -1;
inline constexpr TColor kWhite = graphics::clWhite;

}  // namespace sapala::skin
