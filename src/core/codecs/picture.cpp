// Picture decoding by signature.
#include "core/codecs/picture.h"

#include "core/codecs/bmp.h"
#include "core/codecs/jpeg.h"
#include "core/codecs/png.h"
#include "core/graphics/errors.h"

namespace sapala::codecs {

PictureKind DetectPicture(std::span<const std::uint8_t> data) {
  if (IsPng(data)) return PictureKind::png;
  if (IsBmp(data)) return PictureKind::bmp;
  if (IsJpeg(data)) return PictureKind::jpeg;
  return PictureKind::unknown;
}

graphics::Bitmap ReadPicture(std::span<const std::uint8_t> data, const DecodeLimits& limits) {
  switch (DetectPicture(data)) {
    case PictureKind::png:
      return ReadPng(data, limits);
    case PictureKind::bmp:
      return ReadBmp(data, limits);
    case PictureKind::jpeg:
      return ReadJpeg(data, limits);
    case PictureKind::unknown:
      break;
  }
  throw graphics::EInvalidGraphic("Cannot load image. Unknown picture format.");
}

}  // namespace sapala::codecs
