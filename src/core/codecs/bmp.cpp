// BMP reader and writer. The file is in memory; every field is checked against the file's
// size before use, and sizes are computed in 64 bits.
#include "core/codecs/bmp.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "core/base/endian.h"
#include "core/graphics/errors.h"

namespace sapala::codecs {

using graphics::Bitmap;
using graphics::EInvalidGraphic;
using graphics::PixelFormat;

namespace {

constexpr const char* kInvalidFormat = "Cannot load image. Invalid or unexpected BMP image format.";
constexpr const char* kUnsupported =
    "Cannot load image. The compression scheme is not supported for BMP files.";
constexpr const char* kTooLarge = "Cannot load image. The BMP image is larger than allowed.";

// Compression codes of the info header (not the <wingdi.h> macro names, which would clash).
constexpr std::uint32_t kCompressionRgb = 0;
constexpr std::uint32_t kCompressionBitfields = 3;
constexpr std::uint32_t kCompressionAlphaBitfields = 6;

// Callers check each field against the file's size first.
inline std::uint16_t Le16(const std::uint8_t* p) { return LoadLe16(p); }
inline std::uint32_t Le32(const std::uint8_t* p) { return LoadLe32(p); }

// A channel described by a bit mask: extracts the field and widens it to 8 bits.
struct MaskChannel {
  std::uint32_t mask = 0;
  int shift = 0;
  int width = 0;

  explicit MaskChannel(std::uint32_t m) : mask(m) {
    if (m == 0) return;
    while (!((m >> shift) & 1u)) ++shift;
    const std::uint32_t max = m >> shift;
    // Fields must be contiguous runs of bits.
    if ((max & (max + 1)) != 0) throw EInvalidGraphic(kInvalidFormat);
    while (width < 32 && (max >> width) != 0) ++width;
  }
  // Widened by bit replication (5 bits abcde -> abcdeabc), as GDI does; wider fields keep
  // their top 8 bits.
  std::uint8_t Get(std::uint32_t v) const {
    if (mask == 0) return 0;
    const std::uint32_t x = (v & mask) >> shift;
    std::uint64_t result = 0;
    int bits = 0;
    while (bits < 8) {
      result = result << width | x;
      bits += width;
    }
    return static_cast<std::uint8_t>(result >> (bits - 8));
  }
};

}  // namespace

bool IsBmp(std::span<const std::uint8_t> data) {
  return data.size() >= 2 && data[0] == 'B' && data[1] == 'M';
}

Bitmap ReadBmp(std::span<const std::uint8_t> data, const DecodeLimits& limits) {
  if (!IsBmp(data) || data.size() < 14 + 12) throw EInvalidGraphic(kInvalidFormat);
  const std::uint8_t* file = data.data();
  const std::uint32_t offBits = Le32(file + 10);
  const std::uint32_t headerSize = Le32(file + 14);
  const bool core = headerSize == 12;
  if (!core && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 64 &&
      headerSize != 108 && headerSize != 124) {
    throw EInvalidGraphic(kInvalidFormat);
  }
  if (data.size() - 14 < headerSize) throw EInvalidGraphic(kInvalidFormat);
  const std::uint8_t* h = file + 14;

  std::int64_t width, height;
  int bitCount;
  std::uint32_t compression = kCompressionRgb;
  std::uint32_t colorsUsed = 0;
  if (core) {
    width = Le16(h + 4);
    height = Le16(h + 6);
    bitCount = Le16(h + 10);
  } else {
    width = static_cast<std::int32_t>(Le32(h + 4));
    height = static_cast<std::int32_t>(Le32(h + 8));
    bitCount = Le16(h + 14);
    compression = Le32(h + 16);
    colorsUsed = Le32(h + 32);
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0) throw EInvalidGraphic(kInvalidFormat);
  if (width > limits.maxWidth || height > limits.maxHeight) throw EInvalidGraphic(kTooLarge);
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
      bitCount != 32) {
    throw EInvalidGraphic(kInvalidFormat);
  }
  const bool bitfields =
      compression == kCompressionBitfields || compression == kCompressionAlphaBitfields;
  if (compression != kCompressionRgb && !bitfields) throw EInvalidGraphic(kUnsupported);
  if (bitfields && bitCount != 16 && bitCount != 32) throw EInvalidGraphic(kInvalidFormat);

  // Channel masks: inside the larger headers, or right after the 40-byte one.
  std::size_t afterHeader = 14 + headerSize;
  std::uint32_t masks[4] = {0, 0, 0, 0};  // R, G, B, A
  if (bitfields) {
    const int count = compression == kCompressionAlphaBitfields ? 4 : 3;
    if (headerSize >= 52) {
      for (int i = 0; i < 4 && 40 + 4 * i + 4 <= static_cast<int>(headerSize); ++i)
        masks[i] = Le32(h + 40 + 4 * i);
    } else {
      if (data.size() - afterHeader < static_cast<std::size_t>(4 * count))
        throw EInvalidGraphic(kInvalidFormat);
      for (int i = 0; i < count; ++i) masks[i] = Le32(file + afterHeader + 4 * i);
      afterHeader += static_cast<std::size_t>(4 * count);
    }
  } else if (bitCount == 16) {
    masks[0] = 0x7C00;
    masks[1] = 0x03E0;
    masks[2] = 0x001F;
  }

  const PixelFormat format = bitCount <= 8    ? static_cast<PixelFormat>(bitCount)
                             : bitCount == 32 ? PixelFormat::pf32bit
                                              : PixelFormat::pf24bit;
  const std::uint64_t outBytes =
      static_cast<std::uint64_t>(graphics::RowBytes(static_cast<int>(width), format)) *
      static_cast<std::uint64_t>(height);
  if (outBytes > limits.maxPictureBytes) throw EInvalidGraphic(kTooLarge);

  // Palette.
  std::vector<graphics::PaletteEntry> palette;
  if (bitCount <= 8) {
    const std::uint32_t maxEntries = 1u << bitCount;
    std::uint32_t entries = colorsUsed == 0 ? maxEntries : std::min(colorsUsed, maxEntries);
    const std::size_t entrySize = core ? 3 : 4;
    const std::size_t available =
        data.size() > afterHeader ? (data.size() - afterHeader) / entrySize : 0;
    if (available < entries) throw EInvalidGraphic(kInvalidFormat);
    palette.resize(entries);
    for (std::uint32_t i = 0; i < entries; ++i) {
      const std::uint8_t* p = file + afterHeader + i * entrySize;
      palette[i] = graphics::PaletteRgb(p[2], p[1], p[0]);
    }
  }

  // Pixel rows.
  const std::uint64_t stride =
      (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitCount) + 31) / 32 * 4;
  if (offBits < afterHeader || offBits > data.size() ||
      (data.size() - offBits) / stride < static_cast<std::uint64_t>(height)) {
    throw EInvalidGraphic(kInvalidFormat);
  }
  // Each row is written whole below: its pixels, then zeros up to the row's padded length.
  Bitmap out = Bitmap::ForOverwrite(static_cast<int>(width), static_cast<int>(height), format);
  const auto rowBytes = static_cast<std::size_t>(graphics::RowBytes(out.Width(), format));
  out.Palette() = std::move(palette);
  const std::uint8_t* pixels = file + offBits;
  const int w = static_cast<int>(width);
  const MaskChannel r(masks[0]), g(masks[1]), b(masks[2]), a(masks[3]);
  for (int y = 0; y < static_cast<int>(height); ++y) {
    const std::uint8_t* src =
        pixels + static_cast<std::size_t>(topDown ? y : height - 1 - y) * stride;
    std::uint8_t* dst = out.ScanLine(y);
    std::size_t written;
    if (bitCount <= 8 || bitCount == 24 || (bitCount == 32 && !bitfields)) {
      written = static_cast<std::size_t>((static_cast<std::uint64_t>(w) * bitCount + 7) / 8);
      std::memcpy(dst, src, written);
    } else if (bitCount == 16) {
      written = 3 * static_cast<std::size_t>(w);
      for (int x = 0; x < w; ++x) {
        const std::uint32_t v = Le16(src + 2 * x);
        dst[3 * x] = b.Get(v);
        dst[3 * x + 1] = g.Get(v);
        dst[3 * x + 2] = r.Get(v);
      }
    } else {
      written = 4 * static_cast<std::size_t>(w);
      for (int x = 0; x < w; ++x) {
        const std::uint32_t v = Le32(src + 4 * x);
        dst[4 * x] = b.Get(v);
        dst[4 * x + 1] = g.Get(v);
        dst[4 * x + 2] = r.Get(v);
        dst[4 * x + 3] = masks[3] ? a.Get(v) : 255;
      }
    }
    if (rowBytes > written) std::memset(dst + written, 0, rowBytes - written);
  }
  return out;
}

std::vector<std::uint8_t> WriteBmp(const Bitmap& bitmap) {
  const bool is32 = bitmap.Format() == PixelFormat::pf32bit;
  const int bits = is32 ? 32 : 24;
  const int w = bitmap.Width(), h = bitmap.Height();
  const std::size_t stride = static_cast<std::size_t>(
      graphics::RowBytes(w, is32 ? PixelFormat::pf32bit : PixelFormat::pf24bit));
  const std::size_t imageBytes = stride * static_cast<std::size_t>(h);
  std::vector<std::uint8_t> out;
  out.reserve(54 + imageBytes);
  out.push_back('B');
  out.push_back('M');
  AppendLe32(out, static_cast<std::uint32_t>(54 + imageBytes));
  AppendLe32(out, 0);
  AppendLe32(out, 54);
  AppendLe32(out, 40);
  AppendLe32(out, static_cast<std::uint32_t>(w));
  AppendLe32(out, static_cast<std::uint32_t>(h));  // positive: bottom-up
  AppendLe16(out, 1);
  AppendLe16(out, static_cast<unsigned>(bits));
  AppendLe32(out, kCompressionRgb);
  AppendLe32(out, static_cast<std::uint32_t>(imageBytes));
  AppendLe32(out, 2835);  // 72 dpi
  AppendLe32(out, 2835);
  AppendLe32(out, 0);
  AppendLe32(out, 0);
  for (int y = h - 1; y >= 0; --y) {
    const std::size_t start = out.size();
    if (is32) {
      const std::uint8_t* row = bitmap.ScanLine(y);
      out.insert(out.end(), row, row + 4 * static_cast<std::size_t>(w));
    } else if (bitmap.Format() == PixelFormat::pf24bit) {
      const std::uint8_t* row = bitmap.ScanLine(y);
      out.insert(out.end(), row, row + 3 * static_cast<std::size_t>(w));
    } else {
      for (int x = 0; x < w; ++x) {
        const std::uint32_t v = bitmap.PixelWord(x, y);
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
        out.push_back(static_cast<std::uint8_t>(v >> 16));
      }
    }
    out.resize(start + stride, 0);
  }
  return out;
}

}  // namespace sapala::codecs
