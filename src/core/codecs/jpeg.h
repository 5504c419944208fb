// JPEG decoding through libjpeg into a 32-bit bitmap (B, G, R, alpha 255). Greyscale, YCbCr,
// RGB, CMYK and YCCK pictures, baseline and progressive. The declared size is checked against
// the limits before any pixel memory is taken, and libjpeg's own working memory is capped.
// Errors: EInvalidGraphic with libjpeg's message ("Cannot load image. JPEG error: ...").
#pragma once

#include <cstdint>
#include <span>

#include "core/codecs/limits.h"
#include "core/graphics/bitmap.h"

namespace sapala::codecs {

bool IsJpeg(std::span<const std::uint8_t> data);
graphics::Bitmap ReadJpeg(std::span<const std::uint8_t> data, const DecodeLimits& limits = {});

}  // namespace sapala::codecs
