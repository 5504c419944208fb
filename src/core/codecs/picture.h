// One entry point for pictures whose format is known only by their first bytes (skin files,
// the picture converter): PNG, BMP or JPEG by signature.
#pragma once

#include <cstdint>
#include <span>

#include "core/codecs/limits.h"
#include "core/graphics/bitmap.h"

namespace sapala::codecs {

enum class PictureKind { unknown, png, bmp, jpeg };

PictureKind DetectPicture(std::span<const std::uint8_t> data);
// Decodes by signature; EInvalidGraphic("Cannot load image. Unknown picture format.") for
// anything else.
graphics::Bitmap ReadPicture(std::span<const std::uint8_t> data, const DecodeLimits& limits = {});

}  // namespace sapala::codecs
