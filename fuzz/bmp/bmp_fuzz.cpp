// Fuzz target: the BMP reader, and the writer on what it read (read back and compared).
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/codecs/bmp.h"
#include "core/graphics/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  sapala::codecs::DecodeLimits limits;
  limits.maxWidth = 4096;
  limits.maxHeight = 4096;
  limits.maxPictureBytes = 32u << 20;
  try {
    const sapala::graphics::Bitmap picture = sapala::codecs::ReadBmp({data, size}, limits);
    if (picture.Width() * static_cast<std::int64_t>(picture.Height()) > (1 << 16)) return 0;
    const auto file = sapala::codecs::WriteBmp(picture);
    const sapala::graphics::Bitmap back = sapala::codecs::ReadBmp(file);
    for (int y = 0; y < picture.Height(); ++y) {
      for (int x = 0; x < picture.Width(); ++x) {
        const std::uint32_t mask =
            picture.Format() == sapala::graphics::PixelFormat::pf32bit ? 0xFFFFFFFFu : 0x00FFFFFFu;
        if ((picture.PixelWord(x, y) & mask) != (back.PixelWord(x, y) & mask)) std::abort();
      }
    }
  } catch (const sapala::graphics::EGraphicError&) {
  }
  return 0;
}
