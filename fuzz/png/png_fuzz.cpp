// Fuzz target: the PNG reader, then the routines that consume its pictures (conversion to
// 32 bits, clearing transparent white, a small resample).
#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "core/codecs/png.h"
#include "core/graphics/effects.h"
#include "core/graphics/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  sapala::codecs::DecodeLimits limits;
  limits.maxWidth = 4096;
  limits.maxHeight = 4096;
  limits.maxPictureBytes = 32u << 20;
  limits.maxInflatedBytes = 64u << 20;
  try {
    sapala::codecs::TPNGGraphic png(limits);
    png.LoadFromMemory({data, size});
    const sapala::graphics::Bitmap& picture = png.Picture();
    if (picture.Empty() ||
        picture.Width() * static_cast<std::int64_t>(picture.Height()) > (1 << 16))
      return 0;
    sapala::graphics::Bitmap all = sapala::graphics::ConvertTo32(picture);
    sapala::codecs::ClearTransparentWhite(all);
    if (all.Width() >= 2 && all.Height() >= 2) {
      sapala::graphics::Bitmap small;
      sapala::graphics::Resample(all, small, 3, (size % 7), 2);
    }
  } catch (const sapala::graphics::EGraphicError&) {
  }
  return 0;
}
