// Fuzz target: the JPEG wrapper around libjpeg (error recovery by longjmp, limits, CMYK).
#include <cstddef>
#include <cstdint>

#include "core/codecs/jpeg.h"
#include "core/graphics/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  sapala::codecs::DecodeLimits limits;
  limits.maxWidth = 2048;
  limits.maxHeight = 2048;
  limits.maxPictureBytes = 16u << 20;
  try {
    sapala::codecs::ReadJpeg({data, size}, limits);
  } catch (const sapala::graphics::EGraphicError&) {
  }
  return 0;
}
