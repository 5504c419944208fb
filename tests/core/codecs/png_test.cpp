// PNG reader: differential decoding of pictures written by ImageMagick against libpng, crafted
// files for the edge cases no encoder writes, and damaged files with their exact messages.
#include "core/codecs/png.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/graphics/errors.h"
#include "png_builder.h"

#ifdef SAPALA_HAVE_LIBPNG
#include <png.h>
#endif

namespace sapala::codecs {
namespace {

using graphics::Bitmap;
using graphics::PixelFormat;
using testing::Bytes;
using testing::Chunk;
using testing::Ihdr;
using testing::SimplePng;

std::string MessageOf(const Bytes& png, const DecodeLimits& limits = {}) {
  try {
    ReadPng(png, limits);
  } catch (const graphics::EGraphicError& e) {
    return e.what();
  }
  return "(no error)";
}

// Filters one row as an encoder would (the inverse of the reader's unfiltering).
Bytes FilterRow(const Bytes& row, const Bytes& prior, int filter, std::size_t bpp) {
  Bytes out{static_cast<std::uint8_t>(filter)};
  for (std::size_t i = 0; i < row.size(); ++i) {
    const int a = i >= bpp ? row[i - bpp] : 0;
    const int b = prior.empty() ? 0 : prior[i];
    const int c = (i >= bpp && !prior.empty()) ? prior[i - bpp] : 0;
    int pred = 0;
    switch (filter) {
      case 1:
        pred = a;
        break;
      case 2:
        pred = b;
        break;
      case 3:
        pred = (a + b) / 2;
        break;
      case 4: {
        const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
        pred = (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
        break;
      }
      default:
        break;
    }
    out.push_back(static_cast<std::uint8_t>(row[i] - pred));
  }
  return out;
}

// Raw image rows (without filter bytes) -> interlaced or plain filtered stream, each row of
// each pass filtered with filterOf(rowIndexInPass).
Bytes Encode(const std::vector<Bytes>& rows, int width, int bitsPerPixel, bool interlaced,
             const std::function<int(int)>& filterOf) {
  const std::size_t bpp = static_cast<std::size_t>(std::max(1, bitsPerPixel / 8));
  Bytes out;
  auto emit = [&](const std::vector<Bytes>& passRows) {
    Bytes prior;
    for (std::size_t r = 0; r < passRows.size(); ++r) {
      const Bytes f = FilterRow(passRows[r], prior, filterOf(static_cast<int>(r)), bpp);
      out.insert(out.end(), f.begin(), f.end());
      prior = passRows[r];
    }
  };
  if (!interlaced) {
    emit(rows);
    return out;
  }
  // Only whole-byte pixels here (8 bits per sample or more).
  const int bytes = bitsPerPixel / 8;
  const int starts[7][4] = {{0, 0, 8, 8}, {0, 4, 8, 8}, {4, 0, 8, 4}, {0, 2, 4, 4},
                            {2, 0, 4, 2}, {0, 1, 2, 2}, {1, 0, 2, 1}};
  for (const auto& p : starts) {
    if (p[1] >= width) continue;
    std::vector<Bytes> passRows;
    for (int y = p[0]; y < static_cast<int>(rows.size()); y += p[2]) {
      Bytes r;
      for (int x = p[1]; x < width; x += p[3]) {
        r.insert(r.end(), rows[static_cast<std::size_t>(y)].begin() + x * bytes,
                 rows[static_cast<std::size_t>(y)].begin() + (x + 1) * bytes);
      }
      passRows.push_back(r);
    }
    emit(passRows);
  }
  return out;
}

// A zlib stream that stops (flushed) before its end, as in a file whose image data is cut.
Bytes DeflateUnfinished(const Bytes& raw) {
  z_stream zs{};
  deflateInit(&zs, 9);
  Bytes out(raw.size() + 64);
  zs.next_in = const_cast<Bytef*>(raw.data());
  zs.avail_in = static_cast<uInt>(raw.size());
  zs.next_out = out.data();
  zs.avail_out = static_cast<uInt>(out.size());
  deflate(&zs, Z_SYNC_FLUSH);
  out.resize(out.size() - zs.avail_out);
  deflateEnd(&zs);
  return out;
}

std::vector<std::uint32_t> Words(const Bitmap& b) {
  std::vector<std::uint32_t> out;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) out.push_back(b.PixelWord(x, y));
  }
  return out;
}

TEST(PngReader, InterlacedFirstRowFiltersMatchPlainFile) {
  // 13 × 11 RGBA with varied bytes; every pass's rows use filter 2, 3 or 4 from their first row
  // (where the prior row must count as zeros).
  const int w = 13, h = 11;
  std::vector<Bytes> rows;
  for (int y = 0; y < h; ++y) {
    Bytes r;
    for (int x = 0; x < w * 4; ++x)
      r.push_back(static_cast<std::uint8_t>((x * 37 + y * 91 + x * y) & 0xFF));
    rows.push_back(r);
  }
  const Bitmap plain =
      ReadPng(SimplePng(Ihdr(w, h, 8, 6), Encode(rows, w, 32, false, [](int) { return 0; })));
  for (int filter : {1, 2, 3, 4}) {
    const Bitmap inter = ReadPng(SimplePng(
        Ihdr(w, h, 8, 6, 1),
        Encode(rows, w, 32, true, [filter](int r) { return r == 0 ? filter : (r % 5); })));
    EXPECT_EQ(Words(inter), Words(plain)) << "case filter " << filter;
  }
  EXPECT_EQ(plain.Format(), PixelFormat::pf32bit);
  // B, G, R, A from R, G, B, A.
  EXPECT_EQ(plain.PixelWord(1, 0), std::uint32_t{rows[0][7]} << 24 |
                                       std::uint32_t{rows[0][4]} << 16 |
                                       std::uint32_t{rows[0][5]} << 8 | rows[0][6]);
}

TEST(PngReader, SmallInterlacedPicturesSkipEmptyPasses) {
  // Every size up to 9 × 9: passes without columns or rows are skipped, the others decode.
  for (int w = 1; w <= 9; ++w) {
    for (int h = 1; h <= 9; ++h) {
      std::vector<Bytes> rows;
      for (int y = 0; y < h; ++y) {
        Bytes r;
        for (int x = 0; x < w * 3; ++x) r.push_back(static_cast<std::uint8_t>(x * 11 + y * 29 + 1));
        rows.push_back(r);
      }
      const auto filters = [](int r) { return r % 5; };
      const Bitmap plain =
          ReadPng(SimplePng(Ihdr(w, h, 8, 2), Encode(rows, w, 24, false, filters)));
      const Bitmap inter =
          ReadPng(SimplePng(Ihdr(w, h, 8, 2, 1), Encode(rows, w, 24, true, filters)));
      ASSERT_EQ(Words(inter), Words(plain)) << "case " << w << " x " << h;
      ASSERT_EQ(plain.PixelWord(w - 1, h - 1) & 0xFF, rows[h - 1][3 * (w - 1) + 2])
          << "case " << w << " x " << h;
    }
  }
}

TEST(PngReader, SampleConversionsByDepth) {
  struct Case {
    int depth, colorType;
    Bytes row;  // one row of 4 pixels (filter byte added here)
    PixelFormat format;
    std::vector<std::uint32_t> raw;  // RawPixel of the 4 pixels
  };
  const std::vector<Case> cases = {
      // 2-bit grey: 4-bit bitmap, levels 0, 5, 10, 15.
      {2, 0, {0x1B}, PixelFormat::pf4bit, {0, 5, 10, 15}},
      {1, 0, {0xA0}, PixelFormat::pf1bit, {1, 0, 1, 0}},
      {4, 0, {0x0F, 0x7A}, PixelFormat::pf4bit, {0, 15, 7, 10}},
      // 16-bit grey: v × 255 div 65535 (65535 -> 255, 257 -> 1, 256 -> 0, 32896 -> 128).
      {16,
       0,
       {0xFF, 0xFF, 0x01, 0x01, 0x01, 0x00, 0x80, 0x80},
       PixelFormat::pf8bit,
       {255, 1, 0, 128}},
      // 2-bit indices stay indices.
      {2, 3, {0x1B}, PixelFormat::pf4bit, {0, 1, 2, 3}},
      // Grey with alpha: alpha dropped.
      {8, 4, {10, 0, 20, 255, 30, 7, 40, 128}, PixelFormat::pf8bit, {10, 20, 30, 40}},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    Bytes filtered{0};
    filtered.insert(filtered.end(), c.row.begin(), c.row.end());
    Bytes extra;
    if (c.colorType == 3) extra = Chunk("PLTE", Bytes(12, 0x40));
    const Bitmap b = ReadPng(SimplePng(Ihdr(4, 1, c.depth, c.colorType), filtered, extra));
    ASSERT_EQ(b.Format(), c.format) << "case " << i;
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(b.RawPixel(x, 0), c.raw[static_cast<std::size_t>(x)])
          << "case " << i << " pixel " << x;
    }
  }
}

TEST(PngReader, TwoBitGreyHasSixteenLevelPalette) {
  const Bitmap b = ReadPng(SimplePng(Ihdr(4, 1, 2, 0), Bytes{0, 0x1B}));
  ASSERT_EQ(b.Palette().size(), 16u);
  for (std::uint32_t i = 0; i < 16; ++i) {
    EXPECT_EQ(b.Palette()[i], i * 17 * 0x010101u) << "case " << i;
  }
}

TEST(PngReader, AncillaryChunksSetTransparencyAndBackground) {
  TPNGGraphic g;
  // RGB 8-bit with tRNS and bKGD, one row cut short so the background shows on row 1.
  const Bytes trns = Chunk("tRNS", {0, 10, 0, 20, 0, 30});
  const Bytes bkgd = Chunk("bKGD", {0, 200, 0, 100, 0, 50});
  g.LoadFromMemory(testing::Concat({testing::Signature(), Ihdr(2, 2, 8, 2), trns, bkgd,
                                    Chunk("IDAT", DeflateUnfinished(Bytes{0, 1, 2, 3, 4, 5, 6})),
                                    Chunk("IEND", {})}));
  EXPECT_EQ(g.TransparentColor(), graphics::RgbColor(10, 20, 30));
  EXPECT_EQ(g.BackgroundColor(), graphics::RgbColor(200, 100, 50));
  EXPECT_TRUE(g.Picture().transparent);
  EXPECT_EQ(g.Picture().transparentColor, graphics::RgbColor(10, 20, 30));
  EXPECT_EQ(g.Picture().PixelWord(0, 0), 0xFF010203u);
  EXPECT_EQ(g.Picture().PixelWord(1, 1), 0xFFC86432u);  // background under the missing row

  // Indexed: tRNS fills the table, the rest 255; the pixels keep their indices.
  g.LoadFromMemory(
      SimplePng(Ihdr(2, 1, 8, 3), Bytes{0, 1, 2},
                testing::Concat({Chunk("PLTE", Bytes(9, 7)), Chunk("tRNS", {0, 128})})));
  EXPECT_EQ(g.TransparencyTable()[0], 0);
  EXPECT_EQ(g.TransparencyTable()[1], 128);
  EXPECT_EQ(g.TransparencyTable()[2], 255);
  EXPECT_EQ(g.Picture().RawPixel(1, 0), 2u);
  EXPECT_EQ(g.TransparentColor(), graphics::clNone);

  // 16-bit grey tRNS scaled by 255 / 65535; RGBA ignores tRNS.
  g.LoadFromMemory(SimplePng(Ihdr(1, 1, 16, 0), Bytes{0, 0, 0}, Chunk("tRNS", {0x80, 0x80})));
  EXPECT_EQ(g.TransparentColor(), graphics::RgbColor(128, 128, 128));
  g.LoadFromMemory(
      SimplePng(Ihdr(1, 1, 8, 6), Bytes{0, 1, 2, 3, 4}, Chunk("tRNS", {0, 1, 0, 2, 0, 3})));
  EXPECT_EQ(g.TransparentColor(), graphics::clNone);
  EXPECT_EQ(g.Picture().PixelWord(0, 0), 0x04010203u);
}

TEST(PngReader, ChunkRightAfterTheImageDataIsPassedOver) {
  const Bytes rows{0, 1, 2, 3, 4, 5, 6};  // RGB 2 × 1
  auto file = [&](std::initializer_list<Bytes> after) {
    Bytes out = testing::Concat(
        {testing::Signature(), Ihdr(2, 1, 8, 2), Chunk("IDAT", testing::Deflate(rows))});
    for (const Bytes& c : after) out.insert(out.end(), c.begin(), c.end());
    const Bytes end = Chunk("IEND", {});
    out.insert(out.end(), end.begin(), end.end());
    return out;
  };
  TPNGGraphic g;
  // A transparency there would name a transparent colour the picture does not have.
  g.LoadFromMemory(file({Chunk("tRNS", {0, 1, 0, 2, 0, 3})}));
  EXPECT_EQ(g.TransparentColor(), graphics::clNone);
  EXPECT_FALSE(g.Picture().transparent);
  EXPECT_EQ(g.Picture().PixelWord(0, 0), 0xFF010203u);
  // Passed over unchecked: a broken CRC there is no error.
  Bytes broken = Chunk("tRNS", {0, 1, 0, 2, 0, 3});
  broken.back() ^= 0xFF;
  EXPECT_NO_THROW(g.LoadFromMemory(file({broken})));
  EXPECT_EQ(g.TransparentColor(), graphics::clNone);
  // A palette there is a critical chunk out of place, not a new palette.
  const Bytes indexed =
      testing::Concat({testing::Signature(), Ihdr(2, 1, 8, 3), Chunk("PLTE", Bytes(6, 7)),
                       Chunk("IDAT", testing::Deflate(Bytes{0, 0, 1})), Chunk("PLTE", Bytes(6, 9)),
                       Chunk("IEND", {})});
  EXPECT_EQ(MessageOf(indexed), "Cannot load PNG image. Unexpected but critical chunk detected.");
}

TEST(PngReader, GammaChunkAppliesToColourSamplesNotAlpha) {
  // gAMA 0.5 with display gamma 2.2: exponent 1 / 1.1.
  const Bytes gama = Chunk("gAMA", {0x00, 0x00, 0xC3, 0x50});
  TPNGGraphic g;
  g.LoadFromMemory(SimplePng(Ihdr(1, 1, 8, 6), Bytes{0, 64, 128, 255, 100}, gama));
  auto expect = [](int v) {
    return static_cast<std::uint32_t>(std::nearbyint(std::pow(v / 255.0, 1 / 1.1) * 255));
  };
  EXPECT_EQ(g.Picture().PixelWord(0, 0),
            100u << 24 | expect(64) << 16 | expect(128) << 8 | expect(255));
  EXPECT_DOUBLE_EQ(g.Properties().fileGamma, 0.5);
  EXPECT_DOUBLE_EQ(
      ReadPngProperties(SimplePng(Ihdr(1, 1, 8, 6), Bytes{0, 0, 0, 0, 0}, gama)).fileGamma, 0.5);
  // A gamma of 1 / 2.2 cancels the display gamma: samples unchanged.
  g.LoadFromMemory(
      SimplePng(Ihdr(1, 1, 8, 2), Bytes{0, 1, 128, 254}, Chunk("gAMA", {0, 0, 0xB1, 0x8F})));
  EXPECT_EQ(g.Picture().PixelWord(0, 0), 0xFF0180FEu);
}

TEST(PngReader, ChunkTypesIgnoreCaseAndAncillaryChunksSkipUnchecked) {
  const Bytes rows{0, 9, 8, 7};
  const Bitmap ref = ReadPng(SimplePng(Ihdr(1, 1, 8, 2), rows));
  // Lower-case "idat" and "iend" are image data and end.
  Bytes lower = testing::Concat({testing::Signature(), Ihdr(1, 1, 8, 2),
                                 Chunk("idat", testing::Deflate(rows)), Chunk("iend", {})});
  EXPECT_EQ(Words(ReadPng(lower)), Words(ref));
  // An ancillary chunk with a broken CRC is skipped without a check.
  Bytes anc = Chunk("teXt", {'a', 'b'});
  anc.back() ^= 0xFF;
  EXPECT_EQ(Words(ReadPng(SimplePng(Ihdr(1, 1, 8, 2), rows, anc))), Words(ref));
  // Image data split over several IDAT chunks, some empty.
  const Bytes z = testing::Deflate(rows);
  Bytes split = testing::Signature();
  for (const Bytes& part :
       {Ihdr(1, 1, 8, 2), Chunk("IDAT", {}), Chunk("IDAT", Bytes(z.begin(), z.begin() + 3)),
        Chunk("IDAT", {}), Chunk("IDAT", Bytes(z.begin() + 3, z.end())), Chunk("IEND", {})}) {
    split.insert(split.end(), part.begin(), part.end());
  }
  EXPECT_EQ(Words(ReadPng(split)), Words(ref));
}

TEST(PngReader, DamagedFilesGiveTheirMessages) {
  const Bytes rows{0, 9, 8, 7};
  const Bytes good = SimplePng(Ihdr(1, 1, 8, 2), rows);
  auto patched = [&](std::size_t offset, std::uint8_t value) {
    Bytes b = good;
    b.at(offset) = value;
    return b;
  };
  auto withIhdr = [&](const Bytes& ihdr) { return SimplePng(ihdr, rows); };
  const std::string invalid = "Cannot load image. Invalid or unexpected PNG image format.";
  struct Case {
    Bytes file;
    std::string message;
  };
  Bytes trailing = rows;
  const std::vector<Case> cases = {
      {patched(0, 0x88), invalid},  // signature
      {patched(12, 'J'), invalid},  // first chunk not IHDR
      {patched(29, 0x00), "Cannot load image. CRC error found in PNG file."},  // IHDR CRC
      {withIhdr(Ihdr(0, 1, 8, 2)), invalid},                                   // zero width
      {withIhdr(Ihdr(1, 1, 8, 2, 0, 1)),
       "Cannot load image. The compression scheme is not supported for PNG files."},
      {withIhdr(Ihdr(1, 1, 8, 5)), "Invalid color format in PNG file."},
      {withIhdr(Ihdr(1, 1, 3, 2)), "Invalid color format in PNG file."},
      {withIhdr(Ihdr(1, 1, 16, 3)), "Invalid color format in PNG file."},
      {SimplePng(Ihdr(1, 1, 8, 3), Bytes{0, 0}, Chunk("PLTE", Bytes(8, 0))),
       "Cannot load image. Palette in PNG file is invalid."},
      {SimplePng(Ihdr(1, 1, 8, 2), rows, Chunk("ABCD", {})),
       "Cannot load PNG image. Unexpected but critical chunk detected."},
      {SimplePng(Ihdr(1, 1, 8, 2), rows, Ihdr(1, 1, 8, 2)),
       "Cannot load PNG image. Unexpected but critical chunk detected."},
      {testing::Concat({testing::Signature(), Ihdr(1, 1, 8, 2),
                        Chunk("IDAT", Bytes{0x78, 0x9C, 0xFF, 0xFF, 0xFF}), Chunk("IEND", {})}),
       "Cannot load image. Compression error found in PNG file."},
      // The zlib stream ends with input left over in the chunk.
      {testing::Concat({testing::Signature(), Ihdr(1, 1, 8, 2),
                        Chunk("IDAT", testing::Concat({testing::Deflate(rows), Bytes{1, 2, 3}})),
                        Chunk("IEND", {})}),
       "Cannot load image. Extra compressed data found in PNG file."},
      // The zlib stream ends before the image is complete.
      {SimplePng(Ihdr(1, 2, 8, 2), rows),
       "Cannot load image. Extra compressed data found in PNG file."},
      // A second run of image data after another chunk.
      {testing::Concat({testing::Signature(), Ihdr(1, 1, 8, 2),
                        Chunk("IDAT", testing::Deflate(rows)), Chunk("teXt", {}),
                        Chunk("IDAT", testing::Deflate(rows)), Chunk("IEND", {})}),
       "Cannot load image. Extra compressed data found in PNG file."},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(MessageOf(cases[i].file), cases[i].message) << "case " << i;
  }
  // The image data's CRC.
  Bytes badIdat = good;
  const auto chunks = testing::ListChunks(good);
  badIdat[chunks[1].offset + 8] ^= 1;
  EXPECT_EQ(MessageOf(badIdat), "Cannot load image. CRC error found in PNG file.");
}

TEST(PngReader, EveryTruncationFailsCleanly) {
  const Bytes good = SimplePng(Ihdr(5, 3, 8, 6), Bytes(3 * 21, 0));
  ASSERT_EQ(Words(ReadPng(good)).size(), 15u);
  for (std::size_t n = 0; n < good.size(); ++n) {
    const Bytes cut(good.begin(), good.begin() + static_cast<long>(n));
    EXPECT_THROW(ReadPng(cut), graphics::EInvalidGraphic) << "case length " << n;
  }
}

TEST(PngReader, LimitsAreCheckedBeforeAllocation) {
  DecodeLimits small;
  small.maxWidth = 100;
  small.maxHeight = 100;
  const std::string tooLarge = "Cannot load image. The PNG image is larger than allowed.";
  EXPECT_EQ(MessageOf(SimplePng(Ihdr(101, 1, 8, 2), Bytes(304, 0)), small), tooLarge);
  EXPECT_EQ(MessageOf(SimplePng(Ihdr(1, 101, 8, 2), Bytes(404, 0)), small), tooLarge);
  // A header claiming 2^31 - 1 square pixels is refused by the default limits.
  EXPECT_EQ(MessageOf(SimplePng(Ihdr(0x7FFFFFFF, 0x7FFFFFFF, 8, 6), Bytes{0})), tooLarge);
  DecodeLimits bytes;
  bytes.maxPictureBytes = 1000;
  EXPECT_EQ(MessageOf(SimplePng(Ihdr(16, 16, 8, 6), Bytes(16 * 65, 0)), bytes), tooLarge);
  // Inflated bytes: 16 rows of a filter byte and 16 × 4 samples, 1040; interlaced, the seven
  // passes' rows with their filter bytes come to 1054.
  DecodeLimits inflated;
  inflated.maxInflatedBytes = 16 * 65 - 1;
  EXPECT_EQ(MessageOf(SimplePng(Ihdr(16, 16, 8, 6), Bytes(16 * 65, 0)), inflated), tooLarge);
  inflated.maxInflatedBytes = 16 * 65;
  EXPECT_EQ(MessageOf(SimplePng(Ihdr(16, 16, 8, 6), Bytes(16 * 65, 0)), inflated), "(no error)");
  EXPECT_EQ(MessageOf(SimplePng(Ihdr(16, 16, 8, 6, 1), Bytes(1054, 0)), inflated), tooLarge);
  inflated.maxInflatedBytes = 1054;
  EXPECT_EQ(MessageOf(SimplePng(Ihdr(16, 16, 8, 6, 1), Bytes(1054, 0)), inflated), "(no error)");
  DecodeLimits chunk;
  chunk.maxChunkLength = 10;
  EXPECT_EQ(
      MessageOf(SimplePng(Ihdr(1, 1, 8, 2), Bytes{0, 1, 2, 3}, Chunk("teXt", Bytes(11, 0))), chunk),
      tooLarge);
}

TEST(PngReader, ClearTransparentWhiteTouchesOnlyInvisibleWhite) {
  Bitmap b = graphics::NewBitmap32(4, 1);
  const std::uint32_t in[4] = {0x00FFFFFFu, 0x01FFFFFFu, 0x00FFFFFEu, 0xFFFFFFFFu};
  for (int x = 0; x < 4; ++x) b.Row32(0)[x] = in[x];
  ClearTransparentWhite(b);
  EXPECT_EQ(b.Row32(0)[0], 0u);
  for (int x = 1; x < 4; ++x) EXPECT_EQ(b.Row32(0)[x], in[x]) << "case " << x;
}

}  // namespace
}  // namespace sapala::codecs

#ifdef SAPALA_HAVE_LIBPNG
namespace sapala::codecs {
namespace {

using testing::Bytes;

// A PNG decoded by libpng without transforms except unpacking to one byte per sample below 8
// bits: the samples as stored, for checking our conversion rules against.
struct Reference {
  std::uint32_t width = 0, height = 0;
  int depth = 0, colorType = 0;
  std::vector<std::vector<std::uint8_t>> rows;
  std::vector<png_color> palette;
  bool hasTrns = false;
  png_color_16 trnsColor{};
  bool hasBkgd = false;
  png_color_16 bkgd{};
  bool hasGamma = false;
  png_fixed_point gamma = 0;
};

struct ReadState {
  const Bytes* data;
  std::size_t pos;
};

Reference DecodeWithLibpng(const Bytes& file) {
  Reference ref;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  ReadState st{&file, 0};
  png_set_read_fn(png, &st, [](png_structp p, png_bytep out, png_size_t n) {
    auto* s = static_cast<ReadState*>(png_get_io_ptr(p));
    if (s->data->size() - s->pos < n) png_error(p, "short");
    std::memcpy(out, s->data->data() + s->pos, n);
    s->pos += n;
  });
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    ADD_FAILURE() << "libpng refused the file";
    return ref;
  }
  png_read_png(png, info, PNG_TRANSFORM_PACKING, nullptr);
  ref.width = png_get_image_width(png, info);
  ref.height = png_get_image_height(png, info);
  ref.depth = file[24];  // as stored: libpng reports 8 after unpacking
  ref.colorType = file[25];
  png_bytepp rows = png_get_rows(png, info);
  const std::size_t rowBytes = png_get_rowbytes(png, info);
  for (std::uint32_t y = 0; y < ref.height; ++y) ref.rows.emplace_back(rows[y], rows[y] + rowBytes);
  png_colorp pal = nullptr;
  int n = 0;
  if (png_get_PLTE(png, info, &pal, &n)) ref.palette.assign(pal, pal + n);
  png_bytep trnsAlpha = nullptr;
  int nt = 0;
  png_color_16p trnsColor = nullptr;
  if (png_get_tRNS(png, info, &trnsAlpha, &nt, &trnsColor) && trnsColor) {
    ref.hasTrns = true;
    ref.trnsColor = *trnsColor;
  }
  png_color_16p bk = nullptr;
  if (png_get_bKGD(png, info, &bk)) {
    ref.hasBkgd = true;
    ref.bkgd = *bk;
  }
  ref.hasGamma = png_get_gAMA_fixed(png, info, &ref.gamma) != 0;
  png_destroy_read_struct(&png, &info, nullptr);
  return ref;
}

std::uint8_t Gamma(int v, int maxValue, const Reference& r) {
  if (!r.hasGamma || r.gamma == 0) return static_cast<std::uint8_t>(v);
  const double exponent = 1.0 / (r.gamma / 100000.0 * 2.2);
  return static_cast<std::uint8_t>(
      std::nearbyint(std::pow(double(v) / maxValue, exponent) * maxValue));
}

// Our reader's rules applied to libpng's samples: the expected 32-bit word of every pixel.
std::vector<std::uint32_t> Expected(const Reference& r) {
  std::vector<std::uint32_t> out;
  const int d = r.depth;
  auto sample = [&](const std::vector<std::uint8_t>& row, std::size_t i) -> unsigned {
    return d == 16 ? (unsigned{row[2 * i]} << 8 | row[2 * i + 1]) : row[i];
  };
  auto to8 = [&](unsigned v) { return d == 16 ? v * 255u / 65535u : v; };
  for (const auto& row : r.rows) {
    for (std::uint32_t x = 0; x < r.width; ++x) {
      std::uint32_t word = 0;
      switch (r.colorType) {
        case 0:
        case 4: {
          const std::size_t spp = r.colorType == 0 ? 1 : 2;
          const int targetBits = d == 1 ? 1 : d <= 4 ? 4 : 8;
          const unsigned maxT = (1u << targetBits) - 1u;
          unsigned level =
              d >= 8 ? to8(sample(row, x * spp)) : sample(row, x) * maxT / ((1u << d) - 1u);
          const unsigned grey =
              Gamma(static_cast<int>(level), static_cast<int>(maxT), r) * (255u / maxT);
          word = 0xFF000000u | grey * 0x010101u;
          break;
        }
        case 2: {
          word = 0xFF000000u;
          for (int c = 0; c < 3; ++c)
            word |= std::uint32_t{Gamma(static_cast<int>(to8(sample(row, 3 * x + c))), 255, r)}
                    << (16 - 8 * c);
          break;
        }
        case 6: {
          word = to8(sample(row, 4 * x + 3)) << 24;
          for (int c = 0; c < 3; ++c)
            word |= std::uint32_t{Gamma(static_cast<int>(to8(sample(row, 4 * x + c))), 255, r)}
                    << (16 - 8 * c);
          break;
        }
        case 3: {
          const unsigned i = row[x];
          word = 0xFF000000u;
          if (i < r.palette.size()) {
            word |= std::uint32_t{Gamma(r.palette[i].red, 255, r)} << 16 |
                    std::uint32_t{Gamma(r.palette[i].green, 255, r)} << 8 |
                    Gamma(r.palette[i].blue, 255, r);
          }
          break;
        }
        default:
          break;
      }
      out.push_back(word);
    }
  }
  return out;
}

struct CorpusCase {
  std::string name;
  std::string options;  // ImageMagick output options
  int colorType, depth;
  std::string extraChunk;  // "", "tRNS", "bKGD", "gAMA"
};

std::vector<CorpusCase> CorpusCases() {
  std::vector<CorpusCase> cases;
  struct TypeDepth {
    int type, depth;
    std::string prep;
  };
  const std::vector<TypeDepth> combos = {
      {0, 1, "-alpha off -colorspace Gray -threshold 50%"},
      {0, 2, "-alpha off -colorspace Gray -posterize 4 -depth 8"},
      {0, 4, "-alpha off -colorspace Gray -posterize 16 -depth 8"},
      {0, 8, "-alpha off -colorspace Gray -depth 8"},
      {0, 16, "-alpha off -colorspace Gray -depth 16"},
      {2, 8, "-alpha off -depth 8"},
      {2, 16, "-alpha off -depth 16"},
      {3, 1, "-alpha off -depth 8 +dither -colors 2"},
      {3, 2, "-alpha off -depth 8 +dither -colors 4"},
      {3, 4, "-alpha off -depth 8 +dither -colors 16"},
      {3, 8, "-alpha off -depth 8 +dither -colors 200"},
      {4, 8, "-colorspace Gray -depth 8"},
      {4, 16, "-colorspace Gray -depth 16"},
      {6, 8, "-depth 8"},
      {6, 16, "-depth 16"}};
  for (const TypeDepth& c : combos) {
    for (bool interlace : {false, true}) {
      for (const std::string extra : {"", "tRNS", "bKGD", "gAMA"}) {
        if (extra == "tRNS" && (c.type == 4 || c.type == 6)) continue;
        CorpusCase k;
        k.colorType = c.type;
        k.depth = c.depth;
        k.extraChunk = extra;
        k.name = "t" + std::to_string(c.type) + "d" + std::to_string(c.depth) +
                 (interlace ? "i" : "") + extra;
        // ImageMagick picks the palette depth itself from the number of colours.
        k.options = c.prep + " -define png:color-type=" + std::to_string(c.type) +
                    (c.type == 3 ? "" : " -define png:bit-depth=" + std::to_string(c.depth)) +
                    " -define png:exclude-chunks=date,time,tEXt,zTXt,gAMA,cHRM,sRGB,bKGD,tRNS" +
                    (interlace ? " -interlace PNG" : " -interlace none");
        cases.push_back(k);
      }
    }
  }
  return cases;
}

Bytes ExtraChunkFor(const CorpusCase& c, const Reference& r) {
  using testing::Chunk;
  const unsigned maxV = (1u << std::min(c.depth, 16)) - 1u;
  auto be16 = [](unsigned v) {
    return Bytes{static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
  };
  if (c.extraChunk == "gAMA") return Chunk("gAMA", {0, 0, 0x9C, 0x40});  // 0.4
  if (c.extraChunk == "bKGD") {
    if (c.colorType == 3) return Chunk("bKGD", {static_cast<std::uint8_t>(r.palette.size() - 1)});
    if (c.colorType == 0 || c.colorType == 4) return Chunk("bKGD", be16(maxV * 2 / 3));
    return Chunk("bKGD", testing::Concat({be16(maxV / 3), be16(maxV / 2), be16(maxV)}));
  }
  if (c.extraChunk == "tRNS") {
    if (c.colorType == 3) return Chunk("tRNS", {0, 64});
    const auto& row = r.rows[0];
    if (c.colorType == 0)
      return Chunk("tRNS", be16(c.depth == 16 ? (unsigned{row[0]} << 8 | row[1]) : row[0]));
    return Chunk("tRNS", c.depth == 16 ? Bytes(row.begin(), row.begin() + 6)
                                       : Bytes{0, row[0], 0, row[1], 0, row[2]});
  }
  return {};
}

TEST(PngDifferential, ImageMagickCorpusMatchesLibpng) {
  const std::string convert = testing::FindProgram("convert", {"/usr/bin/convert-im6.q16"});
  if (convert.empty()) GTEST_SKIP() << "ImageMagick's convert is not installed";
  testing::TempDir dir("pngdiff");
  const std::filesystem::path source = dir.path() / "source.png";
  // 37 × 23: odd sizes exercise partial Adam7 passes; plasma gives varied colours and alpha.
  ASSERT_EQ(
      testing::Run(
          convert +
          " -seed 7 -size 37x23 plasma:red-blue \\( -size 37x23 gradient:white-black -rotate 0 \\) "
          "-alpha off -compose CopyOpacity -composite " +
          source.string() + " >/dev/null 2>&1"),
      0);
  int checked = 0;
  for (const CorpusCase& c : CorpusCases()) {
    const std::filesystem::path out = dir.path() / (c.name + ".png");
    const std::string cmd = convert + " " + source.string() + " " + c.options + " " + out.string();
    ASSERT_EQ(testing::Run(cmd + " >/dev/null 2>&1"), 0) << cmd;
    Bytes file = testing::ReadFileBytes(out);
    Reference r = DecodeWithLibpng(file);
    if (r.colorType != c.colorType || r.depth != c.depth) {
      ADD_FAILURE() << "case " << c.name << ": ImageMagick wrote type " << r.colorType << " depth "
                    << r.depth;
      continue;
    }
    if (!c.extraChunk.empty()) {
      // gAMA goes before PLTE (the palette is read through it); the others before IDAT.
      const std::string before = c.extraChunk == "gAMA" && c.colorType == 3 ? "PLTE" : "IDAT";
      file = testing::InsertChunk(file, ExtraChunkFor(c, r), before);
      r = DecodeWithLibpng(file);
    }
    TPNGGraphic g;
    g.LoadFromMemory(file);
    const Bitmap& b = g.Picture();
    ASSERT_EQ(b.Width(), static_cast<int>(r.width)) << "case " << c.name;
    ASSERT_EQ(b.Height(), static_cast<int>(r.height)) << "case " << c.name;
    const std::vector<std::uint32_t> want = Expected(r);
    const std::vector<std::uint32_t> have = Words(b);
    std::size_t diffs = 0, first = 0;
    for (std::size_t i = 0; i < want.size(); ++i) {
      if (want[i] != have[i] && diffs++ == 0) first = i;
    }
    EXPECT_EQ(diffs, 0u) << "case " << c.name << ": first difference at pixel " << first
                         << ": have " << std::hex << have[first] << ", want " << want[first];
    if (r.hasTrns && c.colorType != 3) {
      const unsigned g8 = c.depth == 16  ? r.trnsColor.gray * 255u / 65535u
                          : c.depth == 2 ? r.trnsColor.gray * 5u
                                         : r.trnsColor.gray;
      const graphics::TColor want_t =
          c.colorType == 0
              ? graphics::RgbColor(static_cast<std::uint8_t>(g8), static_cast<std::uint8_t>(g8),
                                   static_cast<std::uint8_t>(g8))
              : graphics::RgbColor(
                    static_cast<std::uint8_t>(c.depth == 16 ? r.trnsColor.red * 255u / 65535u
                                                            : r.trnsColor.red),
                    static_cast<std::uint8_t>(c.depth == 16 ? r.trnsColor.green * 255u / 65535u
                                                            : r.trnsColor.green),
                    static_cast<std::uint8_t>(c.depth == 16 ? r.trnsColor.blue * 255u / 65535u
                                                            : r.trnsColor.blue));
      EXPECT_EQ(g.TransparentColor(), want_t) << "case " << c.name;
      EXPECT_TRUE(b.transparent) << "case " << c.name;
    }
    if (r.hasBkgd) {
      graphics::TColor want_bg;
      if (c.colorType == 3)
        want_bg = r.bkgd.index;
      else if (c.colorType == 0 || c.colorType == 4)
        want_bg = static_cast<graphics::TColor>(c.depth == 16  ? r.bkgd.gray * 255u / 65535u
                                                : c.depth == 2 ? r.bkgd.gray * 5u
                                                               : r.bkgd.gray);
      else
        want_bg = graphics::RgbColor(
            static_cast<std::uint8_t>(c.depth == 16 ? r.bkgd.red * 255u / 65535u : r.bkgd.red),
            static_cast<std::uint8_t>(c.depth == 16 ? r.bkgd.green * 255u / 65535u : r.bkgd.green),
            static_cast<std::uint8_t>(c.depth == 16 ? r.bkgd.blue * 255u / 65535u : r.bkgd.blue));
      EXPECT_EQ(g.BackgroundColor(), want_bg) << "case " << c.name;
    }
    ++checked;
  }
  EXPECT_GE(checked, 100);
}

}  // namespace
}  // namespace sapala::codecs
#endif

namespace sapala::codecs {
namespace {

// libpng's pngfix re-cuts the image data into 7-byte IDAT chunks and re-chooses the zlib
// window: every picture of the seed corpus must decode to the same pixels.
TEST(PngDifferential, PngfixRechunkedFilesDecodeTheSame) {
  const std::string pngfix = testing::FindProgram("pngfix");
  if (pngfix.empty()) GTEST_SKIP() << "libpng's pngfix is not installed";
  testing::TempDir dir("pngfix");
  const std::filesystem::path corpus =
      std::filesystem::path(SAPALA_SOURCE_DIR) / "fuzz/corpus/png_fuzz";
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    const std::string name = entry.path().filename().string();
    if (name == "bad-crc.png" || name == "lowercase.png")
      continue;  // pngfix would mend or refuse these
    const std::filesystem::path out = dir.path() / name;
    const int rc =
        testing::Run(pngfix + " --quiet --quiet --optimize --max=7 --out=" + out.string() + " " +
                     entry.path().string());
    ASSERT_LT(rc & 0xFF, 16) << "case " << name;
    const Bytes original = testing::ReadFileBytes(entry.path());
    const Bytes rechunked = testing::ReadFileBytes(out);
    int idats = 0;
    for (const auto& c : testing::ListChunks(rechunked)) idats += c.type == "IDAT" ? 1 : 0;
    EXPECT_GE(idats, 2) << "case " << name;
    EXPECT_EQ(Words(ReadPng(rechunked)), Words(ReadPng(original))) << "case " << name;
    ++checked;
  }
  EXPECT_GE(checked, 15);
}

}  // namespace
}  // namespace sapala::codecs
