// PNG writer for the program's own generated pictures (skin pieces, shadows): 32-bit bitmaps
// become 8-bit RGBA (colour type 6) with their alpha as written, every other format 8-bit RGB
// (colour type 2). One IDAT chunk, filter type None on every row, zlib at its best compression,
// no ancillary chunks: the same bitmap always gives the same bytes.
#pragma once

#include <cstdint>
#include <vector>

#include "core/graphics/bitmap.h"

namespace sapala::codecs {

// Throws std::length_error for an empty bitmap or one whose data would not fit a PNG.
std::vector<std::uint8_t> WritePng(const graphics::Bitmap& bitmap);

}  // namespace sapala::codecs
