// Row conversion from PNG samples to bitmap rows.
#include "core/codecs/color_manager.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/graphics/color.h"
#include "core/graphics/errors.h"

namespace sapala::codecs {

using graphics::EColorConversionError;
using graphics::PaletteEntry;

namespace {

bool ValidDepth(int bits) { return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16; }

int SamplesOf(ColorScheme scheme) {
  switch (scheme) {
    case ColorScheme::csG:
    case ColorScheme::csIndexed:
      return 1;
    case ColorScheme::csGA:
      return 2;
    case ColorScheme::csRGB:
    case ColorScheme::csBGR:
      return 3;
    case ColorScheme::csRGBA:
    case ColorScheme::csBGRA:
      return 4;
    case ColorScheme::csUnknown:
      break;
  }
  return 0;
}

// Sample i of a packed row of b-bit samples (b < 8: most significant bits first).
inline unsigned PackedSample(const std::uint8_t* row, int i, int bits) {
  const int bit = i * bits;
  return (row[bit >> 3] >> (8 - bits - (bit & 7))) & ((1u << bits) - 1u);
}

// Stores value v into target pixel x of a row of b-bit pixels (b in 1, 4, 8).
inline void StorePacked(std::uint8_t* row, int x, int bits, unsigned v) {
  if (bits == 8) {
    row[x] = static_cast<std::uint8_t>(v);
    return;
  }
  const int bit = x * bits;
  const int shift = 8 - bits - (bit & 7);
  const unsigned mask = ((1u << bits) - 1u) << shift;
  std::uint8_t& b = row[bit >> 3];
  b = static_cast<std::uint8_t>((b & ~mask) | ((v << shift) & mask));
}

inline unsigned Sample16(const std::uint8_t* p, bool swap) {
  return swap ? (unsigned{p[0]} << 8 | p[1]) : (unsigned{p[1]} << 8 | p[0]);
}

inline std::uint8_t Down16(unsigned v) { return static_cast<std::uint8_t>(v * 255u / 65535u); }

}  // namespace

void TColorManager::SetSource(ColorScheme scheme, int bitsPerSample, int samplesPerPixel,
                              bool needsByteSwap) {
  sourceScheme_ = scheme;
  sourceBits_ = bitsPerSample;
  sourceSamples_ = samplesPerPixel;
  byteSwap_ = needsByteSwap;
  converter_ = Converter::none;
}

void TColorManager::SetTarget(ColorScheme scheme, int bitsPerSample, int samplesPerPixel) {
  targetScheme_ = scheme;
  targetBits_ = bitsPerSample;
  targetSamples_ = samplesPerPixel;
  converter_ = Converter::none;
}

void TColorManager::SetGamma(double mainGamma, double displayGamma) {
  mainGamma_ = mainGamma;
  displayGamma_ = displayGamma;
  applyGamma_ = true;
  const std::vector<std::uint8_t> table = GammaTable(255);
  std::memcpy(gamma8_.data(), table.data(), gamma8_.size());
  converter_ = Converter::none;
}

std::vector<std::uint8_t> TColorManager::GammaTable(int maxValue) const {
  std::vector<std::uint8_t> table(static_cast<std::size_t>(maxValue) + 1);
  const double exponent = 1.0 / (mainGamma_ * displayGamma_);
  for (int i = 0; i <= maxValue; ++i) {
    const double v = std::pow(static_cast<double>(i) / maxValue, exponent) * maxValue;
    table[static_cast<std::size_t>(i)] =
        static_cast<std::uint8_t>(std::clamp<std::int64_t>(graphics::RoundEven(v), 0, maxValue));
  }
  return table;
}

void TColorManager::SelectConversion() {
  converter_ = Converter::none;
  if (!ValidDepth(sourceBits_) || !ValidDepth(targetBits_)) {
    throw EColorConversionError(
        "Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.");
  }
  if (SamplesOf(sourceScheme_) != sourceSamples_ || SamplesOf(targetScheme_) != targetSamples_) {
    throw EColorConversionError(
        "Sample count per pixel does not correspond to the given color scheme.");
  }
  if ((sourceScheme_ == ColorScheme::csIndexed) != (targetScheme_ == ColorScheme::csIndexed)) {
    throw EColorConversionError(
        "Conversion between indexed and non-indexed pixel formats is not supported.");
  }
  const bool packedTarget = targetBits_ == 1 || targetBits_ == 4 || targetBits_ == 8;
  const bool wide = sourceBits_ == 8 || sourceBits_ == 16;
  switch (sourceScheme_) {
    case ColorScheme::csG:
      if (targetScheme_ == ColorScheme::csG && packedTarget) converter_ = Converter::grey;
      break;
    case ColorScheme::csGA:
      if (targetScheme_ == ColorScheme::csG && targetBits_ == 8 && wide) {
        converter_ = Converter::greyAlpha;
      }
      break;
    case ColorScheme::csIndexed:
      if (packedTarget && targetBits_ >= sourceBits_ && sourceBits_ <= 8) {
        converter_ = Converter::indexed;
      }
      break;
    case ColorScheme::csRGB:
      if (targetScheme_ == ColorScheme::csBGR && targetBits_ == 8 && wide) {
        converter_ = sourceBits_ == 8 ? Converter::rgbToBgr8 : Converter::rgbToBgr16;
      }
      break;
    case ColorScheme::csRGBA:
      if (targetScheme_ == ColorScheme::csBGRA && targetBits_ == 8 && wide) {
        converter_ = sourceBits_ == 8 ? Converter::rgbaToBgra8 : Converter::rgbaToBgra16;
      }
      break;
    default:
      break;
  }
  if (converter_ == Converter::none) {
    throw EColorConversionError("Color conversion failed. Could not find a proper method.");
  }
}

void TColorManager::ConvertRow(const std::uint8_t* src, std::uint8_t* dst, int count, int firstX,
                               int step) const {
  const bool gamma = applyGamma_;
  const std::uint8_t* g = gamma8_.data();
  switch (converter_) {
    case Converter::none:
      return;
    case Converter::grey:
    case Converter::indexed: {
      const int sb = sourceBits_, tb = targetBits_;
      if (sb == tb && step == 1 && firstX == 0 && sb <= 8) {
        // Same packing: whole bytes; padding bits past the last pixel land in row padding.
        std::memcpy(dst, src, (static_cast<std::size_t>(count) * sb + 7) / 8);
        return;
      }
      if (sb == 16) {
        for (int i = 0, x = firstX; i < count; ++i, x += step) {
          StorePacked(dst, x, tb, Down16(Sample16(src + 2 * i, byteSwap_)));
        }
        return;
      }
      if (converter_ == Converter::indexed || sb == tb) {
        for (int i = 0, x = firstX; i < count; ++i, x += step) {
          StorePacked(dst, x, tb, PackedSample(src, i, sb));
        }
        return;
      }
      const unsigned num = (1u << tb) - 1u, den = (1u << sb) - 1u;
      for (int i = 0, x = firstX; i < count; ++i, x += step) {
        StorePacked(dst, x, tb, PackedSample(src, i, sb) * num / den);
      }
      return;
    }
    case Converter::greyAlpha:
      if (sourceBits_ == 8) {
        for (int i = 0, x = firstX; i < count; ++i, x += step) dst[x] = src[2 * i];
      } else {
        for (int i = 0, x = firstX; i < count; ++i, x += step) {
          dst[x] = Down16(Sample16(src + 4 * i, byteSwap_));
        }
      }
      return;
    case Converter::rgbToBgr8: {
      std::uint8_t* d = dst + 3 * static_cast<std::ptrdiff_t>(firstX);
      const std::ptrdiff_t dstep = 3 * static_cast<std::ptrdiff_t>(step);
      if (gamma) {
        for (int i = 0; i < count; ++i, src += 3, d += dstep) {
          d[0] = g[src[2]];
          d[1] = g[src[1]];
          d[2] = g[src[0]];
        }
      } else {
        for (int i = 0; i < count; ++i, src += 3, d += dstep) {
          d[0] = src[2];
          d[1] = src[1];
          d[2] = src[0];
        }
      }
      return;
    }
    case Converter::rgbToBgr16: {
      std::uint8_t* d = dst + 3 * static_cast<std::ptrdiff_t>(firstX);
      const std::ptrdiff_t dstep = 3 * static_cast<std::ptrdiff_t>(step);
      for (int i = 0; i < count; ++i, src += 6, d += dstep) {
        std::uint8_t r = Down16(Sample16(src, byteSwap_));
        std::uint8_t gg = Down16(Sample16(src + 2, byteSwap_));
        std::uint8_t b = Down16(Sample16(src + 4, byteSwap_));
        if (gamma) {
          r = g[r];
          gg = g[gg];
          b = g[b];
        }
        d[0] = b;
        d[1] = gg;
        d[2] = r;
      }
      return;
    }
    case Converter::rgbaToBgra8: {
      std::uint8_t* d = dst + 4 * static_cast<std::ptrdiff_t>(firstX);
      const std::ptrdiff_t dstep = 4 * static_cast<std::ptrdiff_t>(step);
      if (gamma) {
        for (int i = 0; i < count; ++i, src += 4, d += dstep) {
          d[0] = g[src[2]];
          d[1] = g[src[1]];
          d[2] = g[src[0]];
          d[3] = src[3];
        }
      } else if (step == 1) {
        for (int i = 0; i < count; ++i, src += 4, d += 4) {
          std::uint32_t w;
          std::memcpy(&w, src, 4);  // R, G, B, A -> 0xAABBGGRR
          w = (w & 0xFF00FF00u) | (w & 0xFFu) << 16 | (w >> 16 & 0xFFu);
          std::memcpy(d, &w, 4);
        }
      } else {
        for (int i = 0; i < count; ++i, src += 4, d += dstep) {
          d[0] = src[2];
          d[1] = src[1];
          d[2] = src[0];
          d[3] = src[3];
        }
      }
      return;
    }
    case Converter::rgbaToBgra16: {
      std::uint8_t* d = dst + 4 * static_cast<std::ptrdiff_t>(firstX);
      const std::ptrdiff_t dstep = 4 * static_cast<std::ptrdiff_t>(step);
      for (int i = 0; i < count; ++i, src += 8, d += dstep) {
        std::uint8_t r = Down16(Sample16(src, byteSwap_));
        std::uint8_t gg = Down16(Sample16(src + 2, byteSwap_));
        std::uint8_t b = Down16(Sample16(src + 4, byteSwap_));
        if (gamma) {
          r = g[r];
          gg = g[gg];
          b = g[b];
        }
        d[0] = b;
        d[1] = gg;
        d[2] = r;
        d[3] = Down16(Sample16(src + 6, byteSwap_));
      }
      return;
    }
  }
}

std::vector<PaletteEntry> TColorManager::GrayscalePalette(int bits) const {
  const int entries = 1 << std::min(bits, 8);
  const int maxLevel = entries - 1;
  const int scale = 255 / maxLevel;
  std::vector<std::uint8_t> table;
  if (applyGamma_) table = GammaTable(maxLevel);
  std::vector<PaletteEntry> palette(static_cast<std::size_t>(entries));
  for (int i = 0; i < entries; ++i) {
    const int level = applyGamma_ ? table[static_cast<std::size_t>(i)] : i;
    const auto grey = static_cast<std::uint8_t>(level * scale);
    palette[static_cast<std::size_t>(i)] = graphics::PaletteRgb(grey, grey, grey);
  }
  return palette;
}

std::vector<PaletteEntry> TColorManager::PaletteFromRgb(std::span<const std::uint8_t> rgb) const {
  const std::size_t entries = std::min<std::size_t>(rgb.size() / 3, 256);
  std::vector<PaletteEntry> palette(entries);
  for (std::size_t i = 0; i < entries; ++i) {
    std::uint8_t r = rgb[3 * i], g = rgb[3 * i + 1], b = rgb[3 * i + 2];
    if (applyGamma_) {
      r = gamma8_[r];
      g = gamma8_[g];
      b = gamma8_[b];
    }
    palette[i] = graphics::PaletteRgb(r, g, b);
  }
  return palette;
}

}  // namespace sapala::codecs
