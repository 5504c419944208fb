// Pixel primitives: the stated formulas byte for byte, and their clipping.
#include "core/graphics/pixels.h"

#include <gtest/gtest.h>

#include <vector>

namespace sapala::graphics {
namespace {

Bitmap Filled(int w, int h, std::uint32_t word) {
  Bitmap b = NewBitmap32(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) b.Row32(y)[x] = word;
  }
  return b;
}

std::uint32_t Gray(std::uint8_t v, std::uint8_t a) {
  return std::uint32_t{a} << 24 | v * 0x010101u;
}

TEST(Pixels, BlendRectBytes) {
  struct Case {
    std::uint8_t dest, source, alpha, want;
  };
  const std::vector<Case> cases = {
      {100, 200, 255, 100},  // (25500 + 200 + 127) >> 8: the destination almost unchanged
      {0, 200, 0, 199},      // (51000 + 127) >> 8: the source up to rounding
      {50, 255, 0, 254},    {10, 20, 128, 15},  // (1280 + 2540 + 127) >> 8
      {255, 255, 255, 254},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    Bitmap d = Filled(3, 3, Gray(c.dest, c.dest));
    const Bitmap s = Filled(3, 3, Gray(c.source, c.source));
    BlendRect(d, s, c.alpha, {0, 0}, {0, 0, 3, 3});
    EXPECT_EQ(d.Row32(2)[2], Gray(c.want, c.want)) << "case " << i;  // alpha byte alike
  }
}

TEST(Pixels, BlendRectEveryByteAndAlpha) {
  // All byte pairs at a few weights, over rows whose length is not a multiple of eight bytes.
  for (unsigned alpha : {0u, 1u, 127u, 128u, 254u, 255u}) {
    Bitmap d = NewBitmap32(257, 64);
    Bitmap s = NewBitmap32(257, 64);
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 257; ++x) {
        const std::uint32_t v = static_cast<std::uint32_t>(y * 257 + x);
        d.Row32(y)[x] = (v & 0xFF) * 0x01010101u ^ 0x00FF00FFu;
        s.Row32(y)[x] = (v >> 8 & 0xFF) * 0x01010101u ^ static_cast<std::uint32_t>(x);
      }
    }
    const Bitmap before = d.Clone();
    BlendRect(d, s, static_cast<std::uint8_t>(alpha), {0, 0}, {0, 0, 257, 64});
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 257; ++x) {
        for (int b = 0; b < 32; b += 8) {
          const unsigned dv = before.Row32(y)[x] >> b & 0xFF, sv = s.Row32(y)[x] >> b & 0xFF;
          ASSERT_EQ(d.Row32(y)[x] >> b & 0xFF, (dv * alpha + sv * (255 - alpha) + 127) >> 8)
              << "case alpha " << alpha << " at " << x << "," << y << " byte " << b / 8;
        }
      }
    }
  }
}

TEST(Pixels, BlendRectClipping) {
  const Bitmap s = Filled(4, 4, 0xFFFFFFFFu);
  struct Case {
    Point origin;
    Rect sourceRect;
    std::vector<Point> changed;  // dest is 3 × 3
  };
  const std::vector<Case> cases = {
      {{-1, -1}, {0, 0, 2, 2}, {{0, 0}}},  // negative origin eats the source
      {{2, 2}, {0, 0, 4, 4}, {{2, 2}}},    // fits the destination
      {{0, 0}, {3, 3, 9, 9}, {{0, 0}}},    // clipped to the source
      {{3, 0}, {0, 0, 4, 4}, {}},          // origin outside
      {{0, 0}, {2, 2, 2, 5}, {}},          // empty
      {{1, 0}, {-1, 0, 1, 1}, {{2, 0}}},   // negative source start moves dest
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    Bitmap d = Filled(3, 3, 0);
    BlendRect(d, s, 0, cases[i].origin, cases[i].sourceRect);
    int changed = 0;
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 3; ++x) {
        if (d.Row32(y)[x] != 0) ++changed;
      }
    }
    EXPECT_EQ(changed, static_cast<int>(cases[i].changed.size())) << "case " << i;
    for (const Point& p : cases[i].changed) EXPECT_NE(d.Row32(p.y)[p.x], 0u) << "case " << i;
  }
}

TEST(Pixels, ComposeOverByAlpha) {
  struct Case {
    std::uint32_t source, dest, want;
  };
  const std::vector<Case> cases = {
      // channel ((200 − 100) × 128 + 25600) >> 8 = 150; alpha 100 + 128 × 155 div 255 = 177
      {Gray(200, 128), Gray(100, 100), Gray(150, 177)},
      {Gray(200, 0), Gray(100, 100), Gray(100, 100)},  // a = 0: nothing moves
      {Gray(200, 255), Gray(100, 0), Gray(199, 255)},  // (255 × 200 + 100) >> 8
      {0x80FF0000u, 0xFF0000FFu, 0xFF7F007Fu},         // (−255 × 128 + 65280) >> 8 = 127
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const Bitmap s = Filled(2, 2, cases[i].source);
    Bitmap d = Filled(2, 2, cases[i].dest);
    ComposeOver({0, 0, 2, 2}, {0, 0, 2, 2}, s, false, {}, d);
    EXPECT_EQ(d.Row32(1)[1], cases[i].want) << "case " << i;
  }
}

TEST(Pixels, ComposeOverKeyPixelsAndClipping) {
  Bitmap s = Filled(2, 1, Gray(10, 255));
  s.Row32(0)[0] = kKeyPixel;
  const Bitmap back = Filled(4, 4, Gray(77, 0));
  const BackgroundSource bg{&back, {1, 1}, clFuchsia};
  Bitmap d = Filled(3, 1, Gray(5, 5));
  ComposeOver({1, 0, 3, 1}, {0, 0, 2, 1}, s, true, bg, d);
  EXPECT_EQ(d.Row32(0)[1], Gray(77, 255));  // key pixel: the background, alpha 255
  EXPECT_EQ(d.Row32(0)[2], Gray(9, 255));   // (255 × 10 + 5) >> 8
  d = Filled(3, 1, Gray(5, 5));
  ComposeOver({1, 0, 3, 1}, {0, 0, 2, 1}, s, false, bg, d);
  EXPECT_EQ(d.Row32(0)[1], Gray(5, 5));  // left alone
  // Negative destination coordinates shift the source.
  d = Filled(3, 1, Gray(5, 5));
  ComposeOver({-1, 0, 1, 1}, {0, 0, 2, 1}, s, false, bg, d);
  EXPECT_EQ(d.Row32(0)[0], Gray(9, 255));
  EXPECT_EQ(d.Row32(0)[1], Gray(5, 5));
}

TEST(Pixels, MaskedPieceCopy) {
  // Image 3 × 2: row 0 the picture, row 1 its mask (mask offset 1).
  Bitmap image = NewBitmap32(3, 2);
  const std::uint32_t pics[3] = {Gray(100, 0), Gray(100, 0), kKeyPixel};
  const std::uint32_t masks[3] = {Gray(0, 0), Gray(255, 0), Gray(128, 0)};
  for (int x = 0; x < 3; ++x) {
    image.Row32(0)[x] = pics[x];
    image.Row32(1)[x] = masks[x];
  }
  Bitmap d = Filled(3, 1, Gray(200, 9));
  CopyMaskedPiece(d, {0, 0}, image, {0, 0, 3, 1}, 1, kKeyPixel, nullptr);
  EXPECT_EQ(d.Row32(0)[0], Gray(100, 255));  // mask 0 takes the image
  EXPECT_EQ(d.Row32(0)[1], Gray(199, 255));  // mask 255: ((200 − 100) × 255 + 25600) >> 8
  EXPECT_EQ(d.Row32(0)[2], Gray(200, 9));    // key skipped
  const BackgroundSource parent{nullptr, {}, RgbColor(1, 2, 3)};
  CopyMaskedPiece(d, {0, 0}, image, {2, 0, 3, 1}, 1, kKeyPixel, &parent);
  EXPECT_EQ(d.Row32(0)[0], 0xFF010203u);  // key replaced by the parent's colour
  // A piece whose mask would lie below the image is cut, not read past the end.
  Bitmap d2 = Filled(3, 2, 0);
  CopyMaskedPiece(d2, {0, 0}, image, {0, 0, 3, 2}, 1, kKeyPixel, nullptr);
  EXPECT_EQ(d2.Row32(1)[0], 0u);
}

// Every channel on its own, with colours whose channels differ: masked copies under grey and
// coloured masks of every weight, and mixes of 32- and 24-bit pixels.
TEST(Pixels, MaskedCopiesAndMixesWorkOnEachChannel) {
  auto word = [](int r, int g, int b, int a) {
    return static_cast<std::uint32_t>(a) << 24 | static_cast<std::uint32_t>(r & 255) << 16 |
           static_cast<std::uint32_t>(g & 255) << 8 | static_cast<std::uint32_t>(b & 255);
  };
  auto channel = [](std::uint32_t w, int shift) { return static_cast<int>(w >> shift & 0xFF); };
  Bitmap image = NewBitmap32(512, 2);
  Bitmap d = NewBitmap32(512, 1);
  for (int x = 0; x < 512; ++x) {
    const int v = x & 255;
    image.Row32(0)[x] = word(v, 255 - v, v * 7, 3);
    // Grey masks of every weight in the first half, then masks with one channel unlike the
    // other two (red, then green).
    image.Row32(1)[x] = x < 256   ? word(v, v, v, 0)
                        : x < 384 ? word(255 - v, v, v, 0)
                                  : word(v, 255 - v, v, 0);
    d.Row32(0)[x] = word(v * 3, v * 5, 255 - v, 9);
    // Key pixels (whatever their alpha) here and there, alone and side by side.
    if (x % 37 == 5 || x % 37 == 6) image.Row32(0)[x] = kKeyPixel | (x & 1 ? 0xFF000000u : 0u);
  }
  const Bitmap before = d.Clone();
  // 509 pixels wide: runs of four and a tail.
  CopyMaskedPiece(d, {0, 0}, image, {0, 0, 509, 1}, 1, kKeyPixel, nullptr);
  for (int x = 0; x < 512; ++x) {
    if (x >= 509 || x % 37 == 5 || x % 37 == 6) {
      ASSERT_EQ(d.Row32(0)[x], before.Row32(0)[x]) << "x = " << x;
      continue;
    }
    std::uint32_t want = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
      const int dv = channel(before.Row32(0)[x], shift), iv = channel(image.Row32(0)[x], shift);
      const int mv = channel(image.Row32(1)[x], shift);
      want |= static_cast<std::uint32_t>((dv * mv + iv * (256 - mv)) / 256) << shift;
    }
    ASSERT_EQ(d.Row32(0)[x], want) << "x = " << x;
  }

  const TColor color = RgbColor(10, 200, 99);
  Bitmap b32 = NewBitmap32(256, 1);
  Bitmap b24(256, 1, PixelFormat::pf24bit);
  for (int x = 0; x < 256; ++x) {
    b32.Row32(0)[x] = word(x, 255 - x, x * 11, 0x5A);
    b24.SetRawPixel(x, 0, word(x, 255 - x, x * 11, 0));
  }
  MixRectWithColor(b32, {0, 0, 255, 0}, 37, color);
  MixRectWithColor(b24, {0, 0, 255, 0}, 37, color);
  for (int x = 0; x < 256; ++x) {
    // 37 % of the pixel and 63 % of the colour, rounded half to even.
    auto mix = [](int v, int c) { return static_cast<int>(RoundEven(0.37 * v + (1 - 0.37) * c)); };
    const std::uint32_t want = word(mix(x, 10), mix(255 - x, 200), mix(x * 11 & 255, 99), 0x5A);
    ASSERT_EQ(b32.Row32(0)[x], want) << "x = " << x;
    ASSERT_EQ(b24.PixelWord(x, 0), want | 0xFF000000u) << "x = " << x;
  }
}

TEST(Pixels, KeyedCopies) {
  Bitmap s24(2, 1, PixelFormat::pf24bit);
  s24.SetRawPixel(0, 0, 0xFF00FF);  // fuchsia
  s24.SetRawPixel(1, 0, 0x123456);
  Bitmap d = Filled(3, 3, 0);
  CopyKeyed(d, s24, 1, 2, kKeyPixel);
  EXPECT_EQ(d.Row32(2)[1], 0u);
  EXPECT_EQ(d.Row32(2)[2], 0xFF123456u);
  const Bitmap parentBits = Filled(5, 5, Gray(66, 0));
  const BackgroundSource parent{&parentBits, {2, 2}, clNone};
  CopyKeyedWithBackground(d, {-1, 0}, s24, s24.Bounds(), kKeyPixel, &parent);
  EXPECT_EQ(d.Row32(0)[0], 0xFF123456u);
  CopyKeyedWithBackground(d, {0, 1}, s24, s24.Bounds(), kKeyPixel, &parent);
  EXPECT_EQ(d.Row32(1)[0], Gray(66, 255));
}

// One transparent-pixel rule: fuchsia colour bytes, whatever the alpha. Pictures converted to
// 32 bits carry fuchsia as 0xFFFF00FF; every routine that honours the key must skip it.
TEST(Pixels, KeyPixelsAreKnownByTheirColourBytes) {
  constexpr std::uint32_t kOpaqueKey = 0xFFFF00FFu;
  EXPECT_TRUE(IsKeyPixel(kOpaqueKey));
  EXPECT_TRUE(IsKeyPixel(kKeyPixel));
  EXPECT_FALSE(IsKeyPixel(0xFFFF00FEu));
  Bitmap b = Filled(2, 2, kOpaqueKey);
  b.Row32(1)[1] = 0xFF0000FFu;
  ChangeBitmapHue(&b, 120);
  ChangeBitmapSaturation(&b, -50);
  TintBitmap(b, RgbColor(0, 255, 0), 0.5);
  EXPECT_EQ(b.Row32(0)[0], kOpaqueKey);
  EXPECT_NE(b.Row32(1)[1], 0xFF0000FFu);
  SetOpacityRect(b, b.Bounds(), 7, true);
  EXPECT_EQ(b.Row32(0)[0], kOpaqueKey);
  // Keyed and masked copies see the key.
  Bitmap d = Filled(2, 2, Gray(9, 255));
  CopyKeyed(d, b, 0, 0, kKeyPixel);
  EXPECT_EQ(d.Row32(0)[0], Gray(9, 255));
  Bitmap image = Filled(1, 2, 0);
  image.Row32(0)[0] = kOpaqueKey;
  CopyMaskedPiece(d, {0, 0}, image, {0, 0, 1, 1}, 1, kKeyPixel, nullptr);
  EXPECT_EQ(d.Row32(0)[0], Gray(9, 255));
  const Bitmap background = Filled(1, 1, Gray(50, 255));
  const BackgroundSource bg{&background, {0, 0}, clNone};
  ComposeOver({0, 0, 1, 1}, {0, 0, 1, 1}, b, true, bg, d);
  EXPECT_EQ(d.Row32(0)[0], Gray(50, 255));
  Bitmap faded = Filled(1, 1, Gray(9, 255));
  FadeToBackground(faded, 0, 0, kKeyPixel, 0.5, {0, 0, 1, 1}, b);
  EXPECT_EQ(faded.Row32(0)[0], Gray(9, 255));
}

TEST(Pixels, SameRectComparesEveryByteOfThePiece) {
  Bitmap b = Filled(5, 4, Gray(10, 255));
  b.Row32(2)[3] = Gray(11, 255);
  Bitmap piece = Filled(2, 2, Gray(10, 255));
  EXPECT_TRUE(SameRect(b, {0, 0, 2, 2}, piece));
  EXPECT_FALSE(SameRect(b, {2, 1, 4, 3}, piece));  // the last pixel of the last row differs
  piece.Row32(1)[1] = Gray(11, 255);
  EXPECT_TRUE(SameRect(b, {2, 1, 4, 3}, piece));
  b.Row32(2)[3] = Gray(11, 254);  // alpha counts too
  EXPECT_FALSE(SameRect(b, {2, 1, 4, 3}, piece));
  EXPECT_FALSE(SameRect(b, {4, 3, 6, 5}, piece));  // not wholly inside
  EXPECT_FALSE(SameRect(b, {0, 0, 3, 2}, piece));  // another size
}

TEST(Pixels, FillsOpacityAndMixes) {
  Bitmap b = Filled(4, 3, Gray(100, 7));
  FillBitmapRect(b, {1, 1, 3, 9}, RgbColor(1, 2, 3));
  EXPECT_EQ(b.Row32(2)[2], 0xFF010203u);
  EXPECT_EQ(b.Row32(0)[1], Gray(100, 7));
  Bitmap line = Filled(4, 1, 0);
  FillBitmapRect(line, {2, 5, 3, 6}, clBtnFace);  // height 1: from left to the row's end
  EXPECT_EQ(line.Row32(0)[3], 0xFFF0F0F0u);
  EXPECT_EQ(line.Row32(0)[1], 0u);

  b = Filled(2, 1, kKeyPixel);
  b.Row32(0)[1] = Gray(5, 5);
  SetOpacityRect(b, b.Bounds(), 200, true);
  EXPECT_EQ(b.Row32(0)[0], kKeyPixel);
  EXPECT_EQ(b.Row32(0)[1], Gray(5, 200));

  // Inclusive rectangle; p × pixel + (1 − p) × colour, half to even.
  b = Filled(3, 3, Gray(100, 9));
  MixRectWithColor(b, {0, 0, 0, 0}, 25, RgbColor(200, 200, 200));
  EXPECT_EQ(b.Row32(0)[0], Gray(175, 9));
  EXPECT_EQ(b.Row32(0)[1], Gray(100, 9));
  b = Filled(2, 1, Gray(1, 0));
  b.Row32(0)[1] = Gray(3, 0);
  MixRectWithColor(b, {0, 0, 5, 5}, 50, RgbColor(2, 2, 2));
  EXPECT_EQ(b.Row32(0)[0], Gray(2, 0));  // 1.5 -> 2
  EXPECT_EQ(b.Row32(0)[1], Gray(2, 0));  // 2.5 -> 2
}

TEST(Pixels, FadeTintGreyAndColourShifts) {
  Bitmap target = Filled(3, 3, Gray(201, 3));
  Bitmap back = Filled(2, 2, Gray(100, 0));
  back.Row32(0)[0] = kKeyPixel;
  FadeToBackground(target, 1, 1, kKeyPixel, 0.5, back.Bounds(), back);
  EXPECT_EQ(target.Row32(1)[1], Gray(201, 3));  // under the key
  EXPECT_EQ(target.Row32(2)[2], Gray(150, 3));  // 100 − (−101) × 0.5 = 150.5 -> 150
  EXPECT_EQ(target.Row32(0)[0], Gray(201, 3));  // outside the offset rect

  Bitmap t = Filled(2, 1, Gray(100, 4));
  t.Row32(0)[0] = kKeyPixel;
  TintBitmap(t, RgbColor(200, 200, 200), 0.5);
  EXPECT_EQ(t.Row32(0)[0], kKeyPixel);
  EXPECT_EQ(t.Row32(0)[1], Gray(150, 4));

  Bitmap g = Filled(1, 1, 0x7F0A141Fu);  // B 0x1F, G 0x14, R 0x0A
  GrayscaleBitmap(g);
  EXPECT_EQ(g.Row32(0)[0], 0x7F000000u | ((0x1F + 0x14 + 0x0A) / 3) * 0x010101u);

  Bitmap h = Filled(3, 1, 0x40FF0000u);  // red, alpha 0x40
  h.Row32(0)[1] = kKeyPixel;
  h.Row32(0)[2] = Gray(90, 1);
  ChangeBitmapHue(&h, 120);
  EXPECT_EQ(h.Row32(0)[0], 0x4000FF00u);
  EXPECT_EQ(h.Row32(0)[1], kKeyPixel);
  EXPECT_EQ(h.Row32(0)[2], Gray(90, 1));
  ChangeBitmapHue(nullptr, 10);
  ChangeBitmapSaturation(nullptr, 10);
  Bitmap s = Filled(1, 1, 0x00C86432u);  // R 200, G 100, B 50
  ChangeBitmapSaturation(&s, 50);
  EXPECT_EQ(s.Row32(0)[0], 0x00F25C11u);  // 242, 92, 17
}

TEST(Pixels, BlendBitmaps) {
  const Bitmap a = Filled(2, 2, Gray(200, 200));
  const Bitmap b = Filled(3, 1, Gray(100, 100));
  Bitmap r = Filled(2, 2, 0);
  BlendBitmaps(r, a, b, 128, nullptr);
  EXPECT_EQ(r.Row32(0)[1], Gray(150, 150));  // (128 × 100 + 25600) >> 8
  EXPECT_EQ(r.Row32(1)[0], 0u);              // outside the common size
  BlendBitmaps(r, b, a, 128, nullptr);
  EXPECT_EQ(r.Row32(0)[0], Gray(150, 150));  // (128 × −100 + 51200) >> 8
  Bitmap mask = Filled(2, 2, 0x00FF8000u);   // B 0, G 128, R 255, A 0
  BlendBitmaps(r, a, b, 0, &mask);
  EXPECT_EQ(r.Row32(0)[0], 0x64C79664u);  // A: b; R: 199; G: 150; B: b
}

TEST(Pixels, PlainAndStretchedCopies) {
  Bitmap src = NewBitmap32(4, 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) src.Row32(y)[x] = static_cast<std::uint32_t>(10 * y + x);
  }
  Bitmap d = Filled(3, 3, 0xEEu);
  CopyBitmapRect(d, {-1, 1}, src, {1, 0, 4, 2});  // clipped on the left and at the bottom
  EXPECT_EQ(d.Row32(1)[0], 2u);
  EXPECT_EQ(d.Row32(1)[1], 3u);
  EXPECT_EQ(d.Row32(1)[2], 0xEEu);
  EXPECT_EQ(d.Row32(2)[0], 12u);
  EXPECT_EQ(d.Row32(0)[0], 0xEEu);
  // Doubling 2 × 1 to 4 × 2: each source pixel covers two columns; halving takes centres.
  Bitmap big = Filled(5, 3, 0xEEu);
  StretchBitmapRect(big, {1, 1, 5, 3}, src, {0, 0, 2, 1});
  const std::vector<std::uint32_t> want = {0xEE, 0, 0, 1, 1};
  for (int x = 0; x < 5; ++x)
    EXPECT_EQ(big.Row32(2)[x], want[static_cast<std::size_t>(x)]) << "case " << x;
  Bitmap half = Filled(2, 1, 0xEEu);
  StretchBitmapRect(half, {0, 0, 2, 1}, src, {0, 0, 4, 2});
  EXPECT_EQ(half.Row32(0)[0], 11u);  // centre of rows 0..1 is row 1, of columns 0..1 column 1
  EXPECT_EQ(half.Row32(0)[1], 13u);
  Bitmap other(2, 2, PixelFormat::pf24bit);  // formats differ: nothing
  CopyBitmapRect(other, {0, 0}, src, src.Bounds());
  EXPECT_EQ(other.ScanLine(0)[0], 0);
}

TEST(Pixels, AlphaChannelHelpers) {
  Bitmap b = Filled(2, 2, 0x80FF4020u);
  b.Row32(1)[1] = 0x00FFFFFFu;
  Bitmap alpha = ExtractAlpha(b);
  ASSERT_EQ(alpha.Format(), PixelFormat::pf8bit);
  EXPECT_EQ(alpha.ScanLine(0)[0], 0x80);
  EXPECT_EQ(alpha.ScanLine(1)[1], 0x00);
  EXPECT_EQ(alpha.PixelWord(0, 0), 0xFF808080u);  // grey palette
  alpha.ScanLine(0)[1] = 0x11;
  ReplaceAlpha(b, alpha);
  EXPECT_EQ(b.Row32(0)[1], 0x11FF4020u);
  PremultiplyAlpha(b);
  // (255 × 128 + 127) div 255 = 128; (64 × 128 + 127) div 255 = 32; (32 × 128 + 127) div 255 = 16
  EXPECT_EQ(b.Row32(0)[0], 0x80802010u);
  EXPECT_EQ(b.Row32(1)[1], 0u);
  EXPECT_TRUE(ExtractAlpha(Bitmap(2, 2, PixelFormat::pf24bit)).Empty());
}

TEST(Pixels, FastAccessObjects) {
  Bitmap one = NewBitmap32(5, 1);
  TlcFast32 f;
  EXPECT_FALSE(f.Attach(&one));
  EXPECT_EQ(f.Width, 0);
  std::vector<std::uint32_t> memory(6, 0);
  Bitmap up = Bitmap::Wrap(reinterpret_cast<std::uint8_t*>(memory.data()) + 16, 2, 3, -8,
                           PixelFormat::pf32bit);
  ASSERT_TRUE(f.Attach(&up));
  EXPECT_EQ(f.Delta, -8);
  f.SetPixel(1, 0, ColorFromBits(0x80332211));  // A 0x80, B 0x33, G 0x22, R 0x11
  EXPECT_EQ(memory[5], 0x80112233u);
  EXPECT_EQ(f.Pixel(1, 0), ColorFromBits(0x80332211));
  f.FillRect({0, 1, 9, 9}, 0x0000FF);
  EXPECT_EQ(memory[0], 0x00FF0000u);
  EXPECT_EQ(memory[4], 0u);

  TlcFastSum32 sum;
  EXPECT_FALSE(sum.Attach(&one, &up));
  Bitmap src = Filled(4, 4, Gray(200, 200));
  Bitmap dst = Filled(3, 3, 0);
  ASSERT_TRUE(sum.Attach(&src, &dst));
  EXPECT_EQ(sum.Width, 3);
  sum.DestWeight = 0;
  sum.DestX1 = 1;
  sum.DestY1 = 1;
  sum.DestX2 = 3;
  sum.DestY2 = 2;
  sum.SourceX1 = 0;
  sum.SourceY1 = 0;
  sum.SourceX2 = 4;
  sum.SourceY2 = 4;
  sum.BlendRect();
  EXPECT_EQ(dst.Row32(1)[2], Gray(199, 199));
  EXPECT_EQ(dst.Row32(2)[2], 0u);
}

}  // namespace
}  // namespace sapala::graphics
