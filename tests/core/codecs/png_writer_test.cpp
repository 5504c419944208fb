// PNG writer: what it writes reads back through our reader pixel for pixel, in the format the
// reader maps it to (RGBA -> 32-bit with alpha, RGB -> 24-bit), and the same bitmap always gives
// the same bytes.
#include "core/codecs/png_writer.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "core/codecs/png.h"

namespace sapala::codecs {
namespace {

using graphics::Bitmap;
using graphics::PixelFormat;

// A bitmap whose every pixel differs from its neighbours in every byte, so a swapped channel,
// a shifted row or a dropped alpha shows.
Bitmap Pattern(int w, int h, PixelFormat f) {
  Bitmap b(w, h, f);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const std::uint32_t v = 0x01000000u * static_cast<std::uint32_t>((x * 37 + y * 11) & 0xFF) |
                              0x00010000u * static_cast<std::uint32_t>((x * 5 + y * 71) & 0xFF) |
                              0x00000100u * static_cast<std::uint32_t>((x * 13 + 3 * y) & 0xFF) |
                              static_cast<std::uint32_t>((x + y * 29) & 0xFF);
      b.SetRawPixel(x, y, v);
    }
  }
  return b;
}

TEST(PngWriter, RoundTripsThroughTheReader) {
  // Odd widths catch row padding taken from the DIB layout; the 32-bit case keeps its alpha.
  for (PixelFormat f : {PixelFormat::pf32bit, PixelFormat::pf24bit}) {
    for (int w : {1, 3, 17}) {
      const Bitmap src = Pattern(w, 5, f);
      const Bitmap back = ReadPng(WritePng(src));
      ASSERT_EQ(back.Format(), f) << "width " << w;
      ASSERT_EQ(back.Width(), w);
      ASSERT_EQ(back.Height(), 5);
      for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < w; ++x) {
          ASSERT_EQ(back.PixelWord(x, y), src.PixelWord(x, y))
              << "format " << static_cast<int>(f) << " at " << x << "," << y;
        }
      }
    }
  }
}

TEST(PngWriter, PaletteBitmapsAreWrittenAsRgbAndEmptyOnesAreRefused) {
  Bitmap pal(2, 1, PixelFormat::pf8bit);
  pal.Palette() = {graphics::PaletteRgb(10, 20, 30), graphics::PaletteRgb(200, 100, 50)};
  pal.SetRawPixel(1, 0, 1);
  const Bitmap back = ReadPng(WritePng(pal));
  EXPECT_EQ(back.Format(), PixelFormat::pf24bit);
  EXPECT_EQ(back.PixelWord(0, 0), 0xFF0A141Eu);
  EXPECT_EQ(back.PixelWord(1, 0), 0xFFC86432u);
  EXPECT_THROW(WritePng(Bitmap()), std::length_error);
}

}  // namespace
}  // namespace sapala::codecs
