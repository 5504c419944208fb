// Colour manager: conversion set-up errors, and rows converted into every other target pixel
// as interlaced passes need.
#include "core/codecs/color_manager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/graphics/errors.h"

namespace sapala::codecs {
namespace {

TEST(ColorManager, ConversionSetUpErrors) {
  struct Case {
    ColorScheme src;
    int srcBits, srcSamples;
    ColorScheme dst;
    int dstBits, dstSamples;
    std::string message;  // empty: accepted
  };
  const std::vector<Case> cases = {
      {ColorScheme::csG, 3, 1, ColorScheme::csG, 8, 1,
       "Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16."},
      {ColorScheme::csRGB, 8, 3, ColorScheme::csBGR, 5, 3,
       "Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16."},
      {ColorScheme::csRGB, 8, 4, ColorScheme::csBGR, 8, 3,
       "Sample count per pixel does not correspond to the given color scheme."},
      {ColorScheme::csIndexed, 8, 1, ColorScheme::csBGR, 8, 3,
       "Conversion between indexed and non-indexed pixel formats is not supported."},
      {ColorScheme::csG, 8, 1, ColorScheme::csIndexed, 8, 1,
       "Conversion between indexed and non-indexed pixel formats is not supported."},
      {ColorScheme::csRGB, 8, 3, ColorScheme::csBGRA, 8, 4,
       "Color conversion failed. Could not find a proper method."},
      {ColorScheme::csIndexed, 8, 1, ColorScheme::csIndexed, 4, 1,
       "Color conversion failed. Could not find a proper method."},
      {ColorScheme::csRGB, 16, 3, ColorScheme::csBGR, 8, 3, ""},
      {ColorScheme::csG, 2, 1, ColorScheme::csG, 4, 1, ""},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    TColorManager m;
    m.SetSource(c.src, c.srcBits, c.srcSamples, true);
    m.SetTarget(c.dst, c.dstBits, c.dstSamples);
    std::string have;
    try {
      m.SelectConversion();
    } catch (const graphics::EColorConversionError& e) {
      have = e.what();
    }
    EXPECT_EQ(have, c.message) << "case " << i;
  }
}

TEST(ColorManager, SteppedRowsWriteOnlyTheirPixels) {
  // 2-bit grey levels 3, 1 into a 4-bit row at x = 1 and x = 3 (step 2): 15 and 5, the other
  // nibbles kept.
  TColorManager m;
  m.SetSource(ColorScheme::csG, 2, 1, true);
  m.SetTarget(ColorScheme::csG, 4, 1);
  m.SelectConversion();
  const std::uint8_t src[1] = {0xD0};  // 11 01 00 00
  std::uint8_t row[2] = {0xAA, 0xAA};
  m.ConvertRow(src, row, 2, 1, 2);
  EXPECT_EQ(row[0], 0xAF);
  EXPECT_EQ(row[1], 0xA5);
  // 16-bit RGBA, byte-swapped, into pixel 1 of a BGRA row: v × 255 div 65535 per sample.
  TColorManager rgba;
  rgba.SetSource(ColorScheme::csRGBA, 16, 4, true);
  rgba.SetTarget(ColorScheme::csBGRA, 8, 4);
  rgba.SelectConversion();
  const std::uint8_t px[8] = {0xFF, 0xFF, 0x01, 0x01, 0x80, 0x80, 0x00, 0xFF};
  std::uint8_t out[8] = {};
  rgba.ConvertRow(px, out, 1, 1, 1);
  EXPECT_EQ(out[4], 128);  // B from 0x8080
  EXPECT_EQ(out[5], 1);    // G from 0x0101
  EXPECT_EQ(out[6], 255);  // R from 0xFFFF
  EXPECT_EQ(out[7], 0);    // A from 0x00FF
  EXPECT_EQ(out[0], 0);
}

TEST(ColorManager, GreyPaletteThroughGamma) {
  TColorManager m;
  EXPECT_EQ(m.GrayscalePalette(1), (std::vector<graphics::PaletteEntry>{0x000000u, 0xFFFFFFu}));
  // Gamma 1 / 2.2 with display gamma 2.2 is the identity; main gamma 1 brightens mid greys.
  m.SetGamma(1.0, 2.2);
  const auto palette = m.GrayscalePalette(2);
  ASSERT_EQ(palette.size(), 4u);
  // Level 1 of 3: (1/3)^(1/2.2) × 3 = 1.82 -> 2, times 85.
  EXPECT_EQ(palette[1], 170u * 0x010101u);
  EXPECT_EQ(palette[3], 0xFFFFFFu);
}

}  // namespace
}  // namespace sapala::codecs
