// PNG reader (TPNGGraphic): every colour type and bit depth, Adam7 interlacing, gamma, PLTE,
// tRNS and bKGD, CRC checks on every chunk it reads. Chunk types compare without regard to
// letter case; an unknown ancillary chunk is skipped unchecked, an unknown critical one is an
// error.
//
// The picture keeps the format the PNG maps to, not always 32 bits:
//   grey 1 -> 1-bit, grey 2 and 4 -> 4-bit, grey 8 and 16 -> 8-bit (grey palette);
//   RGB -> 24-bit; indexed 1, 2, 4, 8 -> 1-, 4-, 4-, 8-bit with the PLTE palette;
//   grey with alpha -> 8-bit grey (alpha dropped); RGBA -> 32-bit B, G, R, A.
// 16-bit samples become v × 255 div 65535; 2-bit samples become 4-bit ones of the same level.
// A gAMA chunk turns gamma correction on (display gamma 2.2). tRNS gives the transparent colour
// (grey, RGB) or the transparency table (indexed; not applied to the pixels).
//
// Errors: EInvalidGraphic with the reader's messages for damaged or unexpected data (a file
// cut short too), EGraphicCompression for inflater set-up failures, EColorConversionError from
// the colour manager.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <utility>

#include "core/codecs/limits.h"
#include "core/graphics/bitmap.h"
#include "core/graphics/color.h"

namespace sapala::codecs {

// The header values of a PNG picture.
struct PngProperties {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint8_t bitsPerSample = 0;  // IHDR bit depth
  std::uint8_t colorType = 0;      // IHDR colour type
  int samplesPerPixel = 0;         // 0 for an unknown colour type
  int bitsPerPixel = 0;
  bool compressionSupported = false;  // compression method 0 (deflate)
  std::uint8_t filterMethod = 0;
  bool interlaced = false;
  bool hasAlpha = false;   // grey with alpha, RGBA
  double fileGamma = 1.0;  // from gAMA (value / 100000), 1 without it
};

// How the picture class is registered with the platform's picture loading.
inline constexpr const char* kPngExtension = "png";
inline constexpr const char* kPngDescription = "Portable network graphics (LumoControls)";

// True when the data starts with the PNG signature.
bool IsPng(std::span<const std::uint8_t> data);

// Reads the signature, IHDR and (if it comes before IEND) gAMA. Throws EInvalidGraphic
// ("Cannot load image. Invalid or unexpected PNG image format.") when they are not there.
PngProperties ReadPngProperties(std::span<const std::uint8_t> data);

class TPNGGraphic {
 public:
  explicit TPNGGraphic(DecodeLimits limits = {}) : limits_(limits) {}

  // Decodes a whole PNG file held in memory, replacing the previous picture. On an exception
  // the picture is left empty.
  void LoadFromMemory(std::span<const std::uint8_t> data);

  graphics::Bitmap& Picture() { return bitmap_; }
  const graphics::Bitmap& Picture() const { return bitmap_; }
  // Moves the picture out (the graphic is empty afterwards).
  graphics::Bitmap TakePicture() { return std::move(bitmap_); }

  const PngProperties& Properties() const { return props_; }
  // bKGD: a colour value for RGB pictures, the palette index (or grey level) for palette ones.
  graphics::TColor BackgroundColor() const { return background_; }
  // tRNS of grey and RGB pictures, clNone without it.
  graphics::TColor TransparentColor() const { return transparent_color_; }
  // tRNS of indexed pictures: alpha per palette index, 255 past the stored entries.
  const std::array<std::uint8_t, 256>& TransparencyTable() const { return transparency_; }

  // Draw the picture mirrored below itself (used by the Win32 drawing code).
  bool reflected = false;

 private:
  DecodeLimits limits_;
  graphics::Bitmap bitmap_;
  PngProperties props_;
  graphics::TColor background_ = graphics::clWhite;
  graphics::TColor transparent_color_ = graphics::clNone;
  std::array<std::uint8_t, 256> transparency_{};
};

// Decodes a PNG picture (see TPNGGraphic).
graphics::Bitmap ReadPng(std::span<const std::uint8_t> data, const DecodeLimits& limits = {});

// For a 32-bit bitmap: every pixel whose colour bytes are all 255 and whose alpha is 0 becomes
// all zeros (so that filtering and blending cannot bleed white from fully transparent areas).
// Other formats are left alone.
void ClearTransparentWhite(graphics::Bitmap& bitmap);

}  // namespace sapala::codecs
