// Bitmaps: row layout, borrowed bottom-up memory, packed pixel access, limits, conversions.
#include "core/graphics/bitmap.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace sapala::graphics {
namespace {

TEST(Bitmap, RowBytesArePaddedToFourBytes) {
  struct Case {
    int width;
    PixelFormat format;
    std::ptrdiff_t want;
  };
  const std::vector<Case> cases = {
      {1, PixelFormat::pf1bit, 4},   {33, PixelFormat::pf1bit, 8},  {9, PixelFormat::pf4bit, 8},
      {5, PixelFormat::pf8bit, 8},   {1, PixelFormat::pf24bit, 4},  {3, PixelFormat::pf24bit, 12},
      {5, PixelFormat::pf24bit, 16}, {7, PixelFormat::pf32bit, 28}, {0, PixelFormat::pf32bit, 0},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(RowBytes(cases[i].width, cases[i].format), cases[i].want) << "case " << i;
    const Bitmap b(cases[i].width, 2, cases[i].format);
    if (cases[i].width > 0) {
      EXPECT_EQ(b.Stride(), cases[i].want) << "case " << i;
    }
  }
}

TEST(Bitmap, NewBitmapsAreZeroAndSizesAreBounded) {
  Bitmap b = NewBitmap32(3, 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(b.Row32(y)[x], 0u);
  }
  EXPECT_TRUE(Bitmap(0, 5, PixelFormat::pf32bit).Empty());
  EXPECT_THROW(Bitmap(-1, 5, PixelFormat::pf32bit), std::length_error);
  EXPECT_THROW(Bitmap(Bitmap::kMaxDimension + 1, 1, PixelFormat::pf8bit), std::length_error);
  EXPECT_THROW(Bitmap(60000, 60000, PixelFormat::pf32bit), std::length_error);  // > 2 GiB
}

// A factory that counts its bitmaps and marks them as the platform's.
int g_factoryCalls = 0;
class MarkedBuffer final : public PixelBuffer {
 public:
  explicit MarkedBuffer(std::size_t bytes) : memory_(bytes, 0) {}
  std::uint8_t* Row0() noexcept override { return memory_.data(); }
  std::ptrdiff_t Stride() const noexcept override {
    return static_cast<std::ptrdiff_t>(memory_.size());
  }
  void* NativeHandle() const noexcept override { return const_cast<MarkedBuffer*>(this); }

 private:
  std::vector<std::uint8_t> memory_;
};
std::unique_ptr<PixelBuffer> MarkedFactory(int width, int height, PixelFormat format) {
  ++g_factoryCalls;
  return std::make_unique<MarkedBuffer>(static_cast<std::size_t>(RowBytes(width, format)) *
                                        static_cast<std::size_t>(height));
}

TEST(Bitmap, ScratchBitmapsNeverComeFromTheFactory) {
  SetPixelBufferFactory(&MarkedFactory);
  g_factoryCalls = 0;
  const Bitmap platform = NewBitmap32(4, 1);
  Bitmap scratch = NewScratchBitmap32(5, 3);
  SetPixelBufferFactory(nullptr);
  EXPECT_EQ(g_factoryCalls, 1);
  ASSERT_NE(platform.Buffer(), nullptr);
  EXPECT_NE(platform.Buffer()->NativeHandle(), nullptr);
  ASSERT_NE(scratch.Buffer(), nullptr);
  EXPECT_EQ(scratch.Buffer()->NativeHandle(), nullptr);
  ASSERT_EQ(scratch.Width(), 5);
  ASSERT_EQ(scratch.Height(), 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(scratch.Row32(y)[x], 0u) << x << "," << y;
  }
  EXPECT_TRUE(NewScratchBitmap32(0, 3).Empty());
  EXPECT_THROW(NewScratchBitmap32(-1, 3), std::length_error);
  EXPECT_THROW(NewScratchBitmap32(60000, 60000), std::length_error);
}

TEST(Bitmap, WrapsBottomUpMemoryWithNegativeStride) {
  // A 2 × 3 bottom-up DIB: the last row in memory is the top row.
  std::vector<std::uint32_t> memory = {0x30, 0x31, 0x20, 0x21, 0x10, 0x11};
  auto* base = reinterpret_cast<std::uint8_t*>(memory.data());
  Bitmap b = Bitmap::Wrap(base + 2 * 8, 2, 3, -8, PixelFormat::pf32bit);
  EXPECT_EQ(b.Row32(0)[0], 0x10u);
  EXPECT_EQ(b.Row32(2)[1], 0x31u);
  b.Row32(0)[1] = 0x99;
  EXPECT_EQ(memory[5], 0x99u);  // written through, not copied
  const Bitmap copy = b.Clone();
  EXPECT_GT(copy.Stride(), 0);
  EXPECT_EQ(copy.Row32(0)[1], 0x99u);
  Bitmap moved = std::move(b);
  EXPECT_TRUE(b.Empty());  // NOLINT(bugprone-use-after-move): moved-from state is specified
  EXPECT_EQ(moved.Row32(2)[0], 0x30u);
}

TEST(Bitmap, PackedPixelsAndPaletteLookUp) {
  Bitmap one(10, 1, PixelFormat::pf1bit);
  one.Palette() = {PaletteRgb(0, 0, 0), PaletteRgb(255, 255, 255)};
  one.SetRawPixel(0, 0, 1);
  one.SetRawPixel(9, 0, 1);
  EXPECT_EQ(one.ScanLine(0)[0], 0x80);
  EXPECT_EQ(one.ScanLine(0)[1], 0x40);
  EXPECT_EQ(one.PixelWord(9, 0), 0xFFFFFFFFu);
  EXPECT_EQ(one.PixelWord(8, 0), 0xFF000000u);

  Bitmap four(3, 1, PixelFormat::pf4bit);
  four.Palette() = {PaletteRgb(1, 2, 3), PaletteRgb(4, 5, 6)};
  four.SetRawPixel(1, 0, 1);
  four.SetRawPixel(2, 0, 15);  // past the palette's end: black
  EXPECT_EQ(four.ScanLine(0)[0], 0x01);
  EXPECT_EQ(four.ScanLine(0)[1], 0xF0);
  EXPECT_EQ(four.PixelWord(1, 0), 0xFF040506u);
  EXPECT_EQ(four.PixelWord(2, 0), 0xFF000000u);

  Bitmap rgb(2, 1, PixelFormat::pf24bit);
  rgb.SetRawPixel(1, 0, 0x00ABCDEF);
  EXPECT_EQ(rgb.ScanLine(0)[3], 0xEF);
  EXPECT_EQ(rgb.PixelWord(1, 0), 0xFFABCDEFu);

  const Bitmap all = ConvertTo32(four);
  EXPECT_EQ(all.Format(), PixelFormat::pf32bit);
  EXPECT_EQ(all.Row32(0)[0], 0xFF010203u);
  EXPECT_EQ(ConvertTo24(four).PixelWord(1, 0), 0xFF040506u);
  const Bitmap shape = CloneBitmapShape(four);
  EXPECT_EQ(shape.Format(), PixelFormat::pf4bit);
  EXPECT_EQ(shape.Palette().size(), 2u);
  EXPECT_EQ(shape.RawPixel(1, 0), 0u);
}

}  // namespace
}  // namespace sapala::graphics
