// Colour routines: pixel-exact tables of the stated formulas (half-to-even rounding included).
#include "core/graphics/color.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace sapala::graphics {
namespace {

struct Mix {
  TColor a, b;
  double p;
  TColor want;
};

TEST(Color, MixColorsTable) {
  const std::vector<Mix> cases = {
      {0x102030, 0xF0E0D0, 1.0, 0x102030},
      {ColorFromBits(0x05102030), 0xF0E0D0, 0.0, ColorFromBits(0x05F0E0D0)},  // top byte from a
      {0x102030, ColorFromBits(0x7FF0E0D0), 0.5, 0x808080},
      {RgbColor(1, 2, 0), RgbColor(2, 3, 0), 0.5, RgbColor(2, 2, 0)},  // 1.5 -> 2, 2.5 -> 2
      {RgbColor(255, 0, 10), RgbColor(0, 255, 20), 0.25,
       RgbColor(64, 191, 18)},  // 63.75, 191.25, 17.5
      // Blue 15 × 0.3 + 170 × (1 − 0.3) is 123.49999999999999 in doubles, but exactly 123.5 in
      // x87 registers, which round it to 124: every build must do its sums in doubles.
      {ColorFromBits(0xE20F9E14), ColorFromBits(0xECAAF3C1), 0.3, ColorFromBits(0xE27BDA8D)},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(MixColors(cases[i].a, cases[i].b, cases[i].p), cases[i].want) << "case " << i;
  }
}

TEST(Color, ChannelHelpersAtTheirEdges) {
  // Every pair of 8-bit fractions against the exact quotient rounded.
  for (unsigned a = 0; a < 256; ++a) {
    for (unsigned b = 0; b < 256; ++b) {
      const auto want = static_cast<unsigned>(std::floor(a * b / 255.0 + 0.5));
      ASSERT_EQ(MulDiv255(a, b), want) << "case " << a << " x " << b;
    }
  }
  EXPECT_EQ(ClampByte(-1), 0);
  EXPECT_EQ(ClampByte(256), 255);
  EXPECT_EQ(ClampByte(std::int64_t{1} << 40), 255) << "no wrap through the low byte";
  EXPECT_EQ(RoundToByte(254.5), 254);  // half to even
  EXPECT_EQ(RoundToByte(255.5), 255);
  EXPECT_EQ(RoundToByte(-0.5), 0);
  EXPECT_EQ(RoundToByte(std::nan("")), 0);
}

struct Shift {
  TColor color;
  int amount;
  TColor want;
};

TEST(Color, ChangeHueTable) {
  const std::vector<Shift> cases = {
      {RgbColor(128, 128, 128), 90, RgbColor(128, 128, 128)},  // grey unchanged
      {0x000000, 200, 0x000000},                               // black unchanged
      {RgbColor(200, 100, 50), 0, RgbColor(200, 100, 50)},
      {RgbColor(255, 0, 0), 120, RgbColor(0, 255, 0)},
      {RgbColor(255, 0, 0), 240, RgbColor(0, 0, 255)},
      {RgbColor(255, 0, 0), 360, RgbColor(255, 0, 0)},  // a full turn
      {RgbColor(200, 100, 50), 360, RgbColor(200, 100, 50)},
      {RgbColor(255, 0, 0), 60, RgbColor(255, 255, 0)},
      {RgbColor(255, 128, 0), 30, RgbColor(255, 255, 0)},  // H 30.1 + 30 rounds to 60
      // H 20 + 90 = 110: sector 1, f = 5/6, S = 0.75: (q, V, p) = (75, 200, 50).
      {RgbColor(200, 100, 50), 90, RgbColor(75, 200, 50)},
      {ColorFromBits(0x7F0000FF), 120, ColorFromBits(0x7F00FF00)},  // top byte kept
      {RgbColor(255, 0, 0), -120, RgbColor(0, 0, 255)},       // negative shifts turn the other way
      {RgbColor(200, 100, 50), -380, RgbColor(200, 50, 50)},  // H 20 − 380 = −360 -> 0: (V, t, p)
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(ChangeHue(cases[i].color, cases[i].amount), cases[i].want) << "case " << i;
  }
}

TEST(Color, ChangeSaturationTable) {
  const std::vector<Shift> cases = {
      {RgbColor(200, 100, 50), 0, RgbColor(200, 100, 50)},
      {RgbColor(200, 100, 50), 50, RgbColor(242, 92, 17)},  // avg 116.67
      {RgbColor(200, 100, 50), -100, RgbColor(117, 117, 117)},
      {RgbColor(200, 100, 50), 200, RgbColor(255, 67, 0)},  // clamped
      // R 30, G 20, B 10 (avg 20) by 10 %: 31, 20, 9; the top byte stays.
      {ColorFromBits(0xAB0A141E), 10, ColorFromBits(0xAB09141F)},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(ChangeSaturation(cases[i].color, cases[i].amount), cases[i].want) << "case " << i;
  }
}

TEST(Color, SwapRedBlueAndSystemColors) {
  EXPECT_EQ(SwapRedBlue(ColorFromBits(0x12345678)), ColorFromBits(0x12785634));
  EXPECT_EQ(ColorToRGB(clBtnFace), RgbColor(240, 240, 240));
  EXPECT_EQ(ColorToRGB(clNone), clNone);
  EXPECT_EQ(ColorToRGB(0x123456), 0x123456);

  struct Table : SystemColorTable {
    TColor SysColor(int index) const override { return index == 15 ? 0x010203 : 0; }
  } table;
  SetSystemColorTable(&table);
  EXPECT_EQ(ColorToRGB(clBtnFace), 0x010203);
  SetSystemColorTable(nullptr);
  EXPECT_EQ(ColorToRGB(clBtnFace), RgbColor(240, 240, 240));
}

TEST(Color, PixelWordConversions) {
  EXPECT_EQ(PixelFromColor(RgbColor(0x11, 0x22, 0x33), 0x44), 0x44112233u);
  EXPECT_EQ(ColorFromPixel(0x44112233u), ColorFromBits(0x44332211u));
  EXPECT_EQ(RoundEven(0.5), 0);
  EXPECT_EQ(RoundEven(1.5), 2);
  EXPECT_EQ(RoundEven(-2.5), -2);
  EXPECT_EQ(RoundEven(std::nan("")), 0);
  EXPECT_GT(RoundEven(1e300), 0);
  EXPECT_EQ(MixColors(0x102030, 0x000000, 1e300), 0xFFFFFF);  // saturates per channel
}

}  // namespace
}  // namespace sapala::graphics
