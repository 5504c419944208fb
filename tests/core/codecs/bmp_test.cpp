// BMP reader and writer: ImageMagick's BMPs against ImageMagick's PNGs of the same files (read
// by our PNG reader, itself checked against libpng), patched headers, truncations, round trips.
#include "core/codecs/bmp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/codecs/png.h"
#include "core/graphics/errors.h"
#include "png_builder.h"

namespace sapala::codecs {
namespace {

using graphics::Bitmap;
using graphics::PixelFormat;
using testing::Bytes;

std::string MessageOf(const Bytes& bmp, const DecodeLimits& limits = {}) {
  try {
    ReadBmp(bmp, limits);
  } catch (const graphics::EGraphicError& e) {
    return e.what();
  }
  return "(no error)";
}

// A 40-byte-header BMP of the given rows (bottom row first, each already padded).
Bytes MakeBmp(int width, int height, int bits, const Bytes& palette, const Bytes& rows,
              std::uint32_t compression = 0, const Bytes& masks = {}) {
  Bytes out{'B', 'M'};
  auto le32 = [&out](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  auto le16 = [&out](unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  const std::uint32_t off = static_cast<std::uint32_t>(54 + masks.size() + palette.size());
  le32(static_cast<std::uint32_t>(off + rows.size()));
  le32(0);
  le32(off);
  le32(40);
  le32(static_cast<std::uint32_t>(width));
  le32(static_cast<std::uint32_t>(height));
  le16(1);
  le16(static_cast<unsigned>(bits));
  le32(compression);
  le32(static_cast<std::uint32_t>(rows.size()));
  le32(0);
  le32(0);
  le32(static_cast<std::uint32_t>(palette.size() / 4));
  le32(0);
  out.insert(out.end(), masks.begin(), masks.end());
  out.insert(out.end(), palette.begin(), palette.end());
  out.insert(out.end(), rows.begin(), rows.end());
  return out;
}

TEST(BmpReader, LayoutsByHand) {
  // 1-bit, 3 × 2 bottom-up: bottom row 101, top row 010.
  const Bytes pal1 = {0, 0, 0, 0, 255, 255, 255, 0};
  Bitmap b = ReadBmp(MakeBmp(3, 2, 1, pal1, {0xA0, 0, 0, 0, 0x40, 0, 0, 0}));
  EXPECT_EQ(b.Format(), PixelFormat::pf1bit);
  EXPECT_EQ(b.RawPixel(1, 0), 1u);
  EXPECT_EQ(b.RawPixel(0, 1), 1u);
  EXPECT_EQ(b.PixelWord(1, 0), 0xFFFFFFFFu);
  // Top-down (negative height): the first row in the file is the top.
  b = ReadBmp(MakeBmp(3, -2, 1, pal1, {0xA0, 0, 0, 0, 0x40, 0, 0, 0}));
  EXPECT_EQ(b.RawPixel(0, 0), 1u);
  EXPECT_EQ(b.RawPixel(1, 1), 1u);
  // 24-bit with row padding.
  b = ReadBmp(MakeBmp(1, 2, 24, {}, {1, 2, 3, 0, 4, 5, 6, 0}));
  EXPECT_EQ(b.PixelWord(0, 0), 0xFF060504u);
  EXPECT_EQ(b.PixelWord(0, 1), 0xFF030201u);
  // 32-bit BI_RGB keeps the fourth byte; BI_BITFIELDS without alpha mask gives 255.
  b = ReadBmp(MakeBmp(1, 1, 32, {}, {1, 2, 3, 4}));
  EXPECT_EQ(b.Row32(0)[0], 0x04030201u);
  const Bytes masks = {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0};  // R, G, B
  b = ReadBmp(MakeBmp(1, 1, 32, {}, {1, 2, 3, 4}, 3, masks));
  EXPECT_EQ(b.Row32(0)[0], 0xFF030201u);
  // 16-bit 5-5-5: white 0x7FFF and pure red 0x7C00.
  b = ReadBmp(MakeBmp(2, 1, 16, {}, {0xFF, 0x7F, 0x00, 0x7C}));
  EXPECT_EQ(b.Format(), PixelFormat::pf24bit);
  EXPECT_EQ(b.PixelWord(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(b.PixelWord(1, 0), 0xFFFF0000u);
}

// The reader takes memory it does not zero first: the bytes past each row's pixels must still
// come out as zeros, whatever the memory held before (here: a freed block of the same size
// filled with 0xAA, which the heap hands out again).
TEST(BmpReader, RowPaddingIsZeroInReusedMemory) {
  struct Case {
    int bits;
    std::size_t pixelBytes;  // bytes of pixels in each row of the bitmap made
    Bytes fileRow;           // one row of a 1-pixel-wide file, padding bytes 0xEE
  } cases[] = {
      {1, 1, {0x80, 0xEE, 0xEE, 0xEE}},
      {8, 1, {0x01, 0xEE, 0xEE, 0xEE}},
      {16, 3, {0xFF, 0x7F, 0xEE, 0xEE}},  // read as 24-bit
      {24, 3, {1, 2, 3, 0xEE}},
  };
  constexpr int kRows = 16;
  for (const Case& c : cases) {
    Bytes rows;
    for (int y = 0; y < kRows; ++y) rows.insert(rows.end(), c.fileRow.begin(), c.fileRow.end());
    const Bytes file = MakeBmp(1, kRows, c.bits, c.bits <= 8 ? Bytes(8, 0x40) : Bytes(), rows);
    { std::vector<std::uint8_t> junk(4 * kRows, 0xAA); }
    const Bitmap b = ReadBmp(file);
    ASSERT_EQ(b.Height(), kRows);
    for (int y = 0; y < kRows; ++y) {
      for (std::size_t i = c.pixelBytes; i < 4; ++i)
        EXPECT_EQ(b.ScanLine(y)[i], 0) << c.bits << " bits, row " << y << ", byte " << i;
    }
  }
}

TEST(BmpReader, DamagedFilesAndLimits) {
  const Bytes good = MakeBmp(2, 2, 24, {}, Bytes(16, 7));
  const std::string invalid = "Cannot load image. Invalid or unexpected BMP image format.";
  auto patched = [&](std::size_t at, std::uint8_t v) {
    Bytes b = good;
    b.at(at) = v;
    return b;
  };
  struct Case {
    Bytes file;
    std::string message;
  };
  const std::vector<Case> cases = {
      {patched(0, 'X'), invalid},
      {patched(14, 41), invalid},  // header size
      {patched(18, 0), invalid},   // width 0
      {patched(28, 7), invalid},   // 7 bits per pixel
      {patched(30, 1), "Cannot load image. The compression scheme is not supported for BMP files."},
      {patched(10, 200), invalid},                                 // pixel data past the end
      {MakeBmp(2, 2, 8, Bytes(8, 0), Bytes(8, 0)), "(no error)"},  // 2 palette entries used
      {MakeBmp(2, 2, 8, Bytes(4, 0), Bytes(8, 0)), "(no error)"},
      {MakeBmp(1, 1, 32, {}, {1, 2, 3, 4}, 3, {1, 1, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0}),
       invalid},  // broken mask
  };
  for (std::size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(MessageOf(cases[i].file), cases[i].message) << "case " << i;
  // Palette entries claimed but missing.
  Bytes shortPal = MakeBmp(2, 2, 8, Bytes(8, 0), Bytes(8, 0));
  shortPal[46] = 200;
  EXPECT_EQ(MessageOf(shortPal), invalid);
  for (std::size_t n = 0; n < good.size(); ++n) {
    EXPECT_THROW(ReadBmp(Bytes(good.begin(), good.begin() + static_cast<long>(n))),
                 graphics::EInvalidGraphic)
        << "case length " << n;
  }
  DecodeLimits small;
  small.maxWidth = 1;
  EXPECT_EQ(MessageOf(good, small), "Cannot load image. The BMP image is larger than allowed.");
  // A header claiming 2^31 − 1 × 2^31 − 1 pixels, with no data: refused before allocation.
  Bytes huge = good;
  for (int i = 0; i < 8; ++i) huge[18 + i] = i % 4 == 3 ? 0x7F : 0xFF;
  EXPECT_EQ(MessageOf(huge), "Cannot load image. The BMP image is larger than allowed.");
}

TEST(BmpWriter, RoundTrips) {
  Bitmap b32 = graphics::NewBitmap32(3, 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x)
      b32.Row32(y)[x] =
          0x10203040u * static_cast<std::uint32_t>(x + 1) + static_cast<std::uint32_t>(y);
  }
  const Bitmap back32 = ReadBmp(WriteBmp(b32));
  ASSERT_EQ(back32.Format(), PixelFormat::pf32bit);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x)
      EXPECT_EQ(back32.Row32(y)[x], b32.Row32(y)[x]) << "case " << x << "," << y;
  }
  Bitmap pal(5, 3, PixelFormat::pf4bit);
  pal.Palette() = {0x00112233u, 0x00445566u};
  pal.SetRawPixel(4, 2, 1);
  const Bytes file = WriteBmp(pal);
  EXPECT_EQ(file.size(), 54u + 16u * 3u);
  const Bitmap back24 = ReadBmp(file);
  ASSERT_EQ(back24.Format(), PixelFormat::pf24bit);
  EXPECT_EQ(back24.PixelWord(4, 2), 0xFF445566u);
  EXPECT_EQ(back24.PixelWord(0, 0), 0xFF112233u);
}

TEST(BmpDifferential, ImageMagickBmpsMatchItsPngs) {
  const std::string convert = testing::FindProgram("convert", {"/usr/bin/convert-im6.q16"});
  if (convert.empty()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  testing::TempDir dir("bmpdiff");
  const std::string src = (dir.path() / "src.png").string();
  ASSERT_EQ(testing::Run(
                convert +
                " -seed 3 -size 29x17 plasma:green-yellow \\( -size 29x17 gradient:white-black \\) "
                "-alpha off -compose CopyOpacity -composite -depth 8 " +
                src + " >/dev/null 2>&1"),
            0);
  struct Case {
    std::string name, options;
    int bits;
    bool alpha;  // compare alpha too
  };
  const std::vector<Case> cases = {
      {"v3-24", "-alpha off BMP3:", 24, false},
      {"core-24", "-alpha off BMP2:", 24, false},
      {"v5-32-bitfields", "-alpha set BMP:", 32, true},
      {"v3-8", "-alpha off -type palette -compress none BMP3:", 8, false},
      {"v3-4", "-alpha off -colors 16 -type palette -compress none BMP3:", 4, false},
      {"v3-1", "-alpha off -type bilevel BMP3:", 1, false},
      {"v5-16-argb1555", "-alpha set -define bmp:subtype=ARGB1555 BMP:", 16, false},
      {"v5-16-rgb565", "-alpha off -define bmp:subtype=RGB565 BMP:", 16, false},
  };
  for (const Case& c : cases) {
    const std::string bmp = (dir.path() / (c.name + ".bmp")).string();
    const std::string png = (dir.path() / (c.name + ".png")).string();
    const std::string prefix = c.options.substr(c.options.rfind(' ') + 1);
    const std::string opts = c.options.substr(0, c.options.rfind(' '));
    ASSERT_EQ(
        testing::Run(convert + " " + src + " " + opts + " " + prefix + bmp + " >/dev/null 2>&1"), 0)
        << c.name;
    ASSERT_EQ(testing::Run(convert + " " + bmp + " -depth 8 PNG32:" + png + " >/dev/null 2>&1"), 0)
        << c.name;
    const Bytes file = testing::ReadFileBytes(bmp);
    ASSERT_GE(file.size(), 30u);
    EXPECT_EQ(file[14] == 12 ? file[24] : file[28], c.bits)
        << "case " << c.name << ": ImageMagick wrote another depth";
    const Bitmap ours = graphics::ConvertTo32(ReadBmp(file));
    const Bitmap theirs = ReadPng(testing::ReadFileBytes(png));
    ASSERT_EQ(ours.Width(), theirs.Width()) << c.name;
    ASSERT_EQ(ours.Height(), theirs.Height()) << c.name;
    const std::uint32_t mask = c.alpha ? 0xFFFFFFFFu : 0x00FFFFFFu;
    int diffs = 0;
    for (int y = 0; y < ours.Height(); ++y) {
      for (int x = 0; x < ours.Width(); ++x) {
        if ((ours.Row32(y)[x] & mask) != (theirs.PixelWord(x, y) & mask) && diffs++ == 0) {
          ADD_FAILURE() << "case " << c.name << " at " << x << "," << y << ": have " << std::hex
                        << ours.Row32(y)[x] << ", want " << theirs.PixelWord(x, y);
        }
      }
    }
    EXPECT_EQ(diffs, 0) << c.name;
  }
}

}  // namespace
}  // namespace sapala::codecs
