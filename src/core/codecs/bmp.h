// BMP ("BM" files, Windows DIB layout) reader and writer.
//
// Reads 1-, 4- and 8-bit palette pictures, 16-, 24- and 32-bit ones, bottom-up (positive
// height) and top-down (negative height), uncompressed (BI_RGB) or with channel masks
// (BI_BITFIELDS), with the 40-, 52-, 56-, 108- and 124-byte info headers and the 12-byte core
// header. Palette pictures keep their format and palette; 16-bit ones become 24-bit; 32-bit
// BI_RGB keeps its fourth byte as alpha; BI_BITFIELDS without an alpha mask gives alpha 255.
// Errors: EInvalidGraphic ("Cannot load image. Invalid or unexpected BMP image format." and
// the limit and truncation messages).
//
// Writes 32-bit bitmaps as 32-bit BI_RGB files (alpha in the fourth byte) and every other
// format as 24-bit, bottom-up with a 40-byte header.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/codecs/limits.h"
#include "core/graphics/bitmap.h"

namespace sapala::codecs {

bool IsBmp(std::span<const std::uint8_t> data);
graphics::Bitmap ReadBmp(std::span<const std::uint8_t> data, const DecodeLimits& limits = {});
std::vector<std::uint8_t> WriteBmp(const graphics::Bitmap& bitmap);

}  // namespace sapala::codecs
