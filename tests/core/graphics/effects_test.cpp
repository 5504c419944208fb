// Blur, glowing text and resampling.
#include "core/graphics/effects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/graphics/errors.h"

namespace sapala::graphics {
namespace {

Bitmap Gray8(int w, int h, std::uint8_t v) {
  Bitmap b(w, h, PixelFormat::pf8bit);
  for (int y = 0; y < h; ++y) std::memset(b.ScanLine(y), v, static_cast<std::size_t>(w));
  return b;
}

TEST(Blur, ConstantImagesStayAndOtherFormatsAreLeftAlone) {
  for (double r : {0.5, 1.0, 2.0, 5.0, 12.0}) {
    Bitmap white = Gray8(17, 9, 255);
    BlurGray8(white, r);
    for (int y = 0; y < 9; ++y) {
      for (int x = 0; x < 17; ++x)
        ASSERT_EQ(white.ScanLine(y)[x], 255) << "case radius " << r << " at " << x << "," << y;
    }
  }
  Bitmap rgb(4, 4, PixelFormat::pf24bit);
  rgb.ScanLine(1)[3] = 200;
  BlurGray8(rgb, 3);
  EXPECT_EQ(rgb.ScanLine(1)[3], 200);
  EXPECT_EQ(rgb.ScanLine(1)[0], 0);
}

TEST(Blur, SpreadsSymmetricallyAndSeparably) {
  Bitmap b = Gray8(21, 21, 255);
  b.ScanLine(10)[10] = 0;
  BlurGray8(b, 2);
  const std::uint8_t centre = b.ScanLine(10)[10];
  EXPECT_GT(centre, 200);  // a single dark pixel is spread thin
  EXPECT_LT(centre, 255);
  for (int d = 1; d <= 3; ++d) {
    EXPECT_EQ(b.ScanLine(10)[10 - d], b.ScanLine(10)[10 + d]) << "case distance " << d;
    EXPECT_EQ(b.ScanLine(10 - d)[10], b.ScanLine(10 + d)[10]) << "case distance " << d;
    EXPECT_EQ(b.ScanLine(10)[10 + d], b.ScanLine(10 + d)[10]) << "case distance " << d;
    EXPECT_GE(b.ScanLine(10)[10 + d], b.ScanLine(10)[10 + d - 1]) << "case distance " << d;
  }
  EXPECT_EQ(b.ScanLine(0)[0], 255);  // far corner untouched
  // A black column: every row the same after the blur; edges repeat (no darkening from outside).
  Bitmap col = Gray8(9, 5, 255);
  for (int y = 0; y < 5; ++y) col.ScanLine(y)[0] = 0;
  BlurGray8(col, 1);
  for (int y = 1; y < 5; ++y)
    EXPECT_EQ(std::memcmp(col.ScanLine(y), col.ScanLine(0), 9), 0) << "case row " << y;
  EXPECT_LT(col.ScanLine(0)[0], 128);
}

// The blur as written out step by step (kernel of 201 taps, tail cut at 1/510, rows then
// columns, edges repeated, truncation after each pass), for comparing the optimised code
// against. Sums run in another order, so single values may differ by one.
std::vector<std::uint8_t> ReferenceBlur(const std::vector<std::uint8_t>& in, int w, int h,
                                        double r) {
  std::vector<float> wt(201);
  double sum = 0;
  for (int i = 0; i <= 200; ++i)
    sum += (wt[static_cast<std::size_t>(i)] =
                static_cast<float>(std::exp(-std::pow((i - 100) / r, 2) / 2)));
  for (float& v : wt) v = static_cast<float>(v / sum);
  int j = 100;
  double tail = 0;
  while (tail < 1.0 / 510 && j > 1) {
    tail += 2.0 * wt[static_cast<std::size_t>(100 + j)];
    --j;
  }
  double kept = 0;
  for (int k = -j; k <= j; ++k) kept += wt[static_cast<std::size_t>(100 + k)];
  auto pass = [&](const std::vector<std::uint8_t>& src, bool rows) {
    std::vector<std::uint8_t> out(src.size());
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        double s = 0;
        for (int k = -j; k <= j; ++k) {
          const int sx = rows ? std::clamp(x - k, 0, w - 1) : x;
          const int sy = rows ? y : std::clamp(y - k, 0, h - 1);
          s += wt[static_cast<std::size_t>(100 + k)] / kept *
               src[static_cast<std::size_t>(sy * w + sx)];
        }
        out[static_cast<std::size_t>(y * w + x)] =
            static_cast<std::uint8_t>(std::clamp(s, 0.0, 255.0));
      }
    }
    return out;
  };
  return pass(pass(in, true), false);
}

TEST(Blur, MatchesTheStepByStepDefinition) {
  const int w = 23, h = 19;
  for (double r : {1.0, 3.0, 7.5}) {
    Bitmap b(w, h, PixelFormat::pf8bit);
    std::vector<std::uint8_t> in;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const auto v = static_cast<std::uint8_t>((x * 53 + y * 97 + x * y * 7) % 256);
        b.ScanLine(y)[x] = v;
        in.push_back(v);
      }
    }
    BlurGray8(b, r);
    const std::vector<std::uint8_t> want = ReferenceBlur(in, w, h, r);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        ASSERT_NEAR(b.ScanLine(y)[x], want[static_cast<std::size_t>(y * w + x)], 1)
            << "case radius " << r << " at " << x << "," << y;
      }
    }
  }
}

// Paints a 2 × 2 black block at the text rectangle's top-left and records the calls.
struct FakePainter : TextPainter {
  std::vector<Rect> calls;
  void PaintText(Bitmap& target, std::u16string_view, const Rect& rect, unsigned) override {
    calls.push_back(rect);
    for (int y = rect.top; y < rect.top + 2; ++y) {
      for (int x = rect.left; x < rect.left + 2; ++x) target.ScanLine(y)[x] = 0;
    }
  }
};

TEST(GlowText, MaskIsDrawnOnceBlurredAndComposited) {
  Bitmap dest = NewBitmap32(40, 30);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) dest.Row32(y)[x] = 0x00FFFFFFu;  // white, alpha 0
  }
  Bitmap cache;
  FakePainter painter;
  const Rect rect{10, 10, 20, 16};
  DrawGlowText(dest, u"Sapala", rect, cache, RgbColor(255, 0, 0), 2, 15, 0, painter);
  ASSERT_EQ(cache.Format(), PixelFormat::pf8bit);
  EXPECT_EQ(cache.Width(), 10 + 2 * 6);
  EXPECT_EQ(cache.Height(), 6 + 2 * 6);
  // Four moved copies (left, up, right, down) and then in place, at (r + 4, r + 4).
  const std::vector<Rect> want = {
      {5, 6, 15, 12}, {6, 5, 16, 11}, {7, 6, 17, 12}, {6, 7, 16, 13}, {6, 6, 16, 12}};
  EXPECT_EQ(painter.calls, want);
  // Under the text: tinted toward red and made visible; far away: untouched.
  const std::uint32_t under = dest.Row32(10)[10];
  EXPECT_EQ(under >> 16 & 0xFF, 255u);  // R stays 255 (c = 255)
  EXPECT_LT(under & 0xFF, 255u);        // B pulled toward 0
  EXPECT_GT(under >> 24, 0u);           // alpha grows
  EXPECT_EQ(dest.Row32(29)[39], 0x00FFFFFFu);
  // Same cache size: reused, no more painting.
  DrawGlowText(dest, u"Sapala", rect, cache, RgbColor(255, 0, 0), 2, 15, 0, painter);
  EXPECT_EQ(painter.calls.size(), 5u);
  // Cache pixel m, dest channel d, colour c: c + (d − c) × m div 255 (checked on one pixel).
  Bitmap one = NewBitmap32(40, 30);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) one.Row32(y)[x] = 0x40C86432u;
  }
  DrawGlowText(one, u"x", rect, cache, RgbColor(10, 20, 30), 2, 15, 0, painter);
  const int m = cache.ScanLine(6)[6];
  ASSERT_LT(m, 255);
  const std::uint32_t px = one.Row32(10)[10];
  EXPECT_EQ(static_cast<int>(px >> 16 & 0xFF), 10 + (0xC8 - 10) * m / 255);
  EXPECT_EQ(static_cast<int>(px & 0xFF), 30 + (0x32 - 30) * m / 255);
  EXPECT_EQ(static_cast<int>(px >> 24), 0x40 + (255 - m) * (255 - 0x40) / 255);
  // A glow too large for any bitmap draws nothing and raises nothing.
  Bitmap fresh;
  EXPECT_NO_THROW(DrawGlowText(one, u"x", rect, fresh, 0, 1 << 20, 15, 0, painter));
  EXPECT_TRUE(fresh.Empty());
}

TEST(Resample, ErrorsAndTrivialCases) {
  const Bitmap thin = NewBitmap32(1, 5);
  Bitmap out;
  try {
    Resample(thin, out, 3, 1, 3);
    ADD_FAILURE() << "no error";
  } catch (const EGraphicError& e) {
    EXPECT_STREQ(e.what(), "Source bitmap is too small");
  }
  Bitmap src = NewBitmap32(3, 3);
  src.Row32(1)[1] = 0x12345678u;
  Resample(src, out, 5, 1, 0);  // height 0: nothing
  EXPECT_TRUE(out.Empty());
  Resample(src, out, 3, 6, 3);  // equal size: a copy
  ASSERT_EQ(out.Width(), 3);
  EXPECT_EQ(out.Row32(1)[1], 0x12345678u);
  EXPECT_THROW(Resample(src, out, 4, 7, 4), std::invalid_argument);
}

std::vector<int> RowBytesOf(const Bitmap& b, int y, int channel, int bpp) {
  std::vector<int> v;
  for (int x = 0; x < b.Width(); ++x) v.push_back(b.ScanLine(y)[x * bpp + channel]);
  return v;
}

TEST(Resample, PixelExactSmallCases) {
  // 2 × 2 rows (0, 255) widened to 4 with the triangle filter: centres 0, 0.5, 1, 1.5; the
  // last one mirrors index 2 to 1. Height kept: the vertical pass is the identity.
  Bitmap src(2, 2, PixelFormat::pf24bit);
  for (int y = 0; y < 2; ++y) {
    for (int c = 0; c < 3; ++c) src.ScanLine(y)[3 + c] = 255;
  }
  Bitmap out;
  Resample(src, out, 4, kFilterTriangle, 2);
  ASSERT_EQ(out.Format(), PixelFormat::pf24bit);
  EXPECT_EQ(RowBytesOf(out, 1, 2, 3), (std::vector<int>{0, 127, 255, 255}));

  // 4 × 2 (0, 100, 200, 40) halved with the box filter: (in0 + in1) / 2, (in1 + in2) / 2
  // (the tap at signed distance −0.5 is left out).
  Bitmap wide = NewBitmap32(4, 2);
  const std::uint8_t values[4] = {0, 100, 200, 40};
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) wide.Row32(y)[x] = values[x] * 0x01010101u;
  }
  Resample(wide, out, 2, kFilterBox, 2);
  ASSERT_EQ(out.Format(), PixelFormat::pf32bit);
  EXPECT_EQ(out.Row32(0)[0], 50u * 0x01010101u);  // all four bytes resampled
  EXPECT_EQ(out.Row32(1)[1], 150u * 0x01010101u);

  // Wide filters on a 2 × 2 source (one white pixel) shrunk to 1 × 1: the mirrored support
  // stays in bounds and every tap counts (values worked out by hand from the weights).
  Bitmap two = NewBitmap32(2, 2);
  two.Row32(0)[0] = 0xFFFFFFFFu;
  const std::pair<int, std::uint32_t> shrunk[] = {{kFilterLanczos3, 50},
                                                  {kFilterMitchell, 46},
                                                  {kFilterSpline, 29},
                                                  {kFilterBell, 35},
                                                  {kFilterHermite, 63}};
  for (const auto& [f, want] : shrunk) {
    Resample(two, out, 1, f, 1);
    ASSERT_EQ(out.Width(), 1) << "case filter " << f;
    EXPECT_EQ(out.Row32(0)[0], want * 0x01010101u) << "case filter " << f;
  }
  // Palette sources are resampled as 24-bit, through their palette's colours.
  Bitmap pal(2, 2, PixelFormat::pf8bit);
  pal.Palette() = {0x00000000u, 0x00FFFFFFu};
  pal.ScanLine(0)[1] = 1;
  Resample(pal, out, 3, kFilterMitchell, 3);
  EXPECT_EQ(out.Format(), PixelFormat::pf24bit);
  EXPECT_EQ(RowBytesOf(out, 0, 1, 3), (std::vector<int>{24, 147, 226}));
  EXPECT_EQ(RowBytesOf(out, 1, 1, 3), (std::vector<int>{9, 57, 88}));
  EXPECT_EQ(RowBytesOf(out, 2, 1, 3), (std::vector<int>{0, 0, 0}));
}

TEST(Resample, EqualSizesCopyPaletteSourcesAsTheyAre) {
  for (PixelFormat format : {PixelFormat::pf1bit, PixelFormat::pf4bit, PixelFormat::pf8bit}) {
    Bitmap pal(3, 2, format);
    pal.Palette() = {0x00102030u, 0x00405060u};
    pal.ScanLine(1)[0] = 0x40;  // in every format, a pixel of index 1 in row 1
    Bitmap out;
    Resample(pal, out, 3, kFilterTriangle, 2);
    EXPECT_EQ(out.Format(), format) << "case " << static_cast<int>(format);
    EXPECT_EQ(out.Palette(), pal.Palette()) << "case " << static_cast<int>(format);
    ASSERT_EQ(out.Height(), 2);
    EXPECT_EQ(out.ScanLine(1)[0], 0x40) << "case " << static_cast<int>(format);
  }
}

}  // namespace
}  // namespace sapala::graphics
