// TColorManager: turns rows of PNG samples into bitmap rows. The PNG reader sets the source
// (colour scheme, bits per sample, samples per pixel, byte order) and the target, optionally
// a gamma, and then converts one row at a time; interlaced passes convert only every step-th
// target pixel.
//
// Supported conversions (anything else raises EColorConversionError):
//   grey b -> grey t (t in 1, 4, 8): v × (2^t − 1) div (2^b − 1), 16-bit after the byte swap
//   grey with alpha 8/16 -> grey 8 (alpha dropped)
//   indexed b -> indexed t (t >= b, t in 1, 4, 8): indices keep their value
//   RGB 8/16 -> BGR 8, RGBA 8/16 -> BGRA 8 (colour samples through the gamma table when gamma
//   application is on; alpha never)
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/graphics/bitmap.h"

namespace sapala::codecs {

enum class ColorScheme { csUnknown, csG, csGA, csRGB, csRGBA, csIndexed, csBGR, csBGRA };

class TColorManager {
 public:
  void SetSource(ColorScheme scheme, int bitsPerSample, int samplesPerPixel, bool needsByteSwap);
  void SetTarget(ColorScheme scheme, int bitsPerSample, int samplesPerPixel);
  // Main (file) gamma and display gamma; turns gamma application on. The table maps sample s
  // of 0..max to the nearest integer of (s / max)^(1 / (main × display)) × max.
  void SetGamma(double mainGamma, double displayGamma);
  bool ApplyGamma() const { return applyGamma_; }

  // Validates the settings and chooses the row converter. Throws EColorConversionError.
  void SelectConversion();

  // Converts `count` source pixels (packed as in the PNG row, filter byte removed) into the
  // target row, writing target pixels firstX, firstX + step, ... only. SelectConversion must
  // have succeeded.
  void ConvertRow(const std::uint8_t* source, std::uint8_t* target, int count, int firstX,
                  int step) const;

  // A grey palette of 2^min(bits, 8) entries, entry i = grey i × (255 div (entries − 1)), the
  // level going through a gamma table of that many entries when gamma application is on.
  std::vector<graphics::PaletteEntry> GrayscalePalette(int bits) const;
  // Palette from PLTE bytes (R, G, B triples; at most 256 entries), each channel through the
  // 8-bit gamma table when gamma application is on.
  std::vector<graphics::PaletteEntry> PaletteFromRgb(std::span<const std::uint8_t> rgb) const;

 private:
  enum class Converter {
    none,
    grey,
    greyAlpha,
    indexed,
    rgbToBgr8,
    rgbToBgr16,
    rgbaToBgra8,
    rgbaToBgra16
  };
  std::vector<std::uint8_t> GammaTable(int maxValue) const;

  ColorScheme sourceScheme_ = ColorScheme::csUnknown;
  ColorScheme targetScheme_ = ColorScheme::csUnknown;
  int sourceBits_ = 8, targetBits_ = 8;
  int sourceSamples_ = 3, targetSamples_ = 3;
  bool byteSwap_ = false;
  bool applyGamma_ = false;
  double mainGamma_ = 1.0, displayGamma_ = 1.0;
  Converter converter_ = Converter::none;
  std::array<std::uint8_t, 256> gamma8_{};  // gamma table for 8-bit colour samples
};

}  // namespace sapala::codecs
