// PNG writer: signature, IHDR, one IDAT, IEND; chunk CRCs and the stream from zlib.
#include "core/codecs/png_writer.h"

#include <zlib.h>

#include <limits>
#include <stdexcept>

namespace sapala::codecs {
namespace {

using graphics::Bitmap;
using graphics::PixelFormat;

void PutBe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void Chunk(std::vector<std::uint8_t>& out, const char* type,
           const std::vector<std::uint8_t>& data) {
  PutBe32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
  PutBe32(out, static_cast<std::uint32_t>(crc));
}

}  // namespace

std::vector<std::uint8_t> WritePng(const Bitmap& bitmap) {
  if (bitmap.Empty()) throw std::length_error("WritePng: empty bitmap");
  const bool rgba = bitmap.Format() == PixelFormat::pf32bit;
  const std::size_t w = static_cast<std::size_t>(bitmap.Width());
  const std::size_t h = static_cast<std::size_t>(bitmap.Height());
  const std::size_t channels = rgba ? 4 : 3;
  const std::size_t rowBytes = 1 + w * channels;
  // zlib takes 32-bit lengths on every platform we build for.
  if (rowBytes * h > std::numeric_limits<uInt>::max() / 2) {
    throw std::length_error("WritePng: picture too large");
  }
  std::vector<std::uint8_t> raw;
  raw.reserve(rowBytes * h);
  for (int y = 0; y < bitmap.Height(); ++y) {
    raw.push_back(0);  // filter type None
    for (int x = 0; x < bitmap.Width(); ++x) {
      const std::uint32_t v = bitmap.PixelWord(x, y);  // 0xAARRGGBB
      raw.push_back(static_cast<std::uint8_t>(v >> 16));
      raw.push_back(static_cast<std::uint8_t>(v >> 8));
      raw.push_back(static_cast<std::uint8_t>(v));
      if (rgba) raw.push_back(static_cast<std::uint8_t>(v >> 24));
    }
  }
  uLongf zlen = compressBound(static_cast<uLong>(raw.size()));
  std::vector<std::uint8_t> z(zlen);
  if (compress2(z.data(), &zlen, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION) !=
      Z_OK) {
    throw std::length_error("WritePng: compression failed");
  }
  z.resize(zlen);

  std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> ihdr;
  PutBe32(ihdr, static_cast<std::uint32_t>(w));
  PutBe32(ihdr, static_cast<std::uint32_t>(h));
  // 8 bits per sample, colour type, deflate, filter method 0, no interlace.
  ihdr.insert(ihdr.end(), {8, static_cast<std::uint8_t>(rgba ? 6 : 2), 0, 0, 0});
  Chunk(out, "IHDR", ihdr);
  Chunk(out, "IDAT", z);
  Chunk(out, "IEND", {});
  return out;
}

}  // namespace sapala::codecs
