// The gradient button's figures: the scheme table as stored, the gradient line colours (double
// accumulation, half to even, raw bytes of system colours) and the glyph/caption placement.
#include "core/controls/glaze.h"

#include <gtest/gtest.h>

namespace sapala::controls {
namespace {

TEST(GlazeSchemes, TableValues) {
  struct Case {
    TColorScheme scheme;
    int slot;
    TColor want;
  };
  const Case cases[] = {
      {TColorScheme::csNeoDesert, kColorFace, 0xC6ECFF},
      {TColorScheme::csNeoDesert, kDownColorLight, 0x0077B7},
      {TColorScheme::csNeoDesert, kColorFocusRect, 0x4080FF},
      {TColorScheme::csNeoSky, kOverColorGrad, 0xFFA346},
      {TColorScheme::csNeoGrass, kColorFace, 0xDDF9E8},
      {TColorScheme::csNeoGrass, kColorGrad, 0x5EDF8E},
      {TColorScheme::csNeoGrass, kOverColorBorder, 0x17793D},
      {TColorScheme::csNeoGrass, kDownColorBorder, 0x167439},
      {TColorScheme::csNeoSilver, kDownColorDark, 0xE9E9E9},
      {TColorScheme::csNeoRose, kColorBorder, 0x00009D},
      {TColorScheme::csNeoRose, kDownColorFace, 0xA6A6FF},
      {TColorScheme::csNeoRose, kColorFocusRect, 0x5E5EFF},
      {TColorScheme::csNeoSun, kDownColorGrad, 0x66F0FB},
      {TColorScheme::csNeoSun, kDisabledColorFace, 0xEEEEEE},
      {TColorScheme::csNeoSun, kDisabledColorGrad, 0xFFFFFF},
      {TColorScheme::csNeoSun, kDisabledColorDark, 0xD2D2D2},
      {TColorScheme::csDesert, kColorFace, 0x95DDFF},
      {TColorScheme::csGrass, kColorFocusRect, 0x00A421},
      {TColorScheme::csSky, kDownColorLight, 0xFF9122},
      {TColorScheme::csSky, kColorFocusRect, 0xDC9B14},
      {TColorScheme::csSun, kDownColorFace, 0x22EEFF},
      {TColorScheme::csSun, kColorFocusRect, 0x008CF4},
      {TColorScheme::csRose, kDownColorDark, 0x8888FF},
      {TColorScheme::csSilver, kOverColorDark, 0x797979},
      {TColorScheme::csSilver, kDisabledColorLight, 0xEAEAEA},
      {TColorScheme::csSilver, kDisabledColorBorder, 0xC4C4C4},
      {TColorScheme::csSilver, kDisabledColorText, 0x808080},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    const SchemeColors s = SchemeTable(c.scheme);
    EXPECT_TRUE(s.writes[c.slot]) << "case " << i;
    EXPECT_EQ(s.colors[c.slot], c.want)
        << "case " << i << ": have " << std::hex << s.colors[c.slot] << ", want " << c.want;
  }
}

TEST(GlazeSchemes, RulesCommonToAllSchemes) {
  for (int o = 0; o < 12; ++o) {
    const SchemeColors s = SchemeTable(static_cast<TColorScheme>(o));
    const bool neo = o < 6;
    EXPECT_EQ(s.gradient, neo) << "scheme " << kSchemeNames[o];
    for (int slot = 0; slot < kColorSlotCount; ++slot) {
      const bool grad = slot == kColorGrad || slot == kOverColorGrad || slot == kDownColorGrad ||
                        slot == kDisabledColorGrad;
      EXPECT_EQ(s.writes[slot], neo || !grad)
          << "scheme " << kSchemeNames[o] << " slot " << kColorSlotNames[slot];
    }
    for (int slot : {kColorText, kOverColorText, kDownColorText})
      EXPECT_EQ(s.colors[slot], 0) << kSchemeNames[o];
    // Pressed looks sunken: the down "light" is darker than the down "dark".
    auto sum = [](TColor c) {
      return graphics::RedOf(c) + graphics::GreenOf(c) + graphics::BlueOf(c);
    };
    EXPECT_LT(sum(s.colors[kDownColorLight]), sum(s.colors[kDownColorDark])) << kSchemeNames[o];
  }
  const SchemeColors custom = SchemeTable(TColorScheme::csCustom);
  for (bool w : custom.writes) EXPECT_FALSE(w);
}

TEST(GlazeGradient, LineColours) {
  struct Case {
    TColor face, grad;
    int height;
    std::vector<TColor> want;
  };
  const Case cases[] = {
      // Top line exactly Face; Grad would be reached at y = H, one line below the button.
      {0x000000, 0x0000C8, 4, {0x000000, 0x000032, 0x000064, 0x000096, 0x0000C8}},
      // Halves go to the even neighbour: 2.5 -> 2, 3.5 -> 4.
      {0x000000, 0x000005, 2, {0x000000, 0x000002, 0x000005}},
      {0x000000, 0x000007, 2, {0x000000, 0x000004, 0x000007}},
      // Falling channels, each channel on its own.
      {0xFF8000, 0x000080, 2, {0xFF8000, 0x804040, 0x000080}},
      // A system colour's raw bytes: clBtnFace is FF00000F, its "red" byte is 0x0F.
      {graphics::clBtnFace, 0x00000F, 3, {0x0F, 0x0F, 0x0F, 0x0F}},
      {graphics::clBtnFace, 0x000000, 2, {0x0F, 0x08, 0x00}},  // 7.5 -> 8
      {0x123456, 0xABCDEF, 0, {}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    EXPECT_EQ(GradientLineColors(c.face, c.grad, c.height), c.want) << "case " << i;
  }
  // The main window's search button: its bottom row (y = 24) is one step short of Grad.
  const auto lines = GradientLineColors(0xDDF9E8, 0x5EDF8E, 25);
  ASSERT_EQ(lines.size(), 26u);
  EXPECT_EQ(lines.front(), 0xDDF9E8);
  EXPECT_EQ(lines.back(), 0x5EDF8E);
  // Red E8 -> 8E over 25 lines: 232 - 24 * 90 / 25 = 145.6 -> 146 (0x92).
  EXPECT_EQ(graphics::RedOf(lines[24]), 0x92);
}

TEST(GlazeLayout, GlyphAndCaption) {
  using L = TButtonLayout;
  struct Case {
    int w, h, tw, th;
    bool caption;
    int gw, gh;
    L layout;
    int s;
    bool down;
    FaceLayout want;
  };
  const Case cases[] = {
      // No glyph: the caption is centred; the down state moves it by (1, 1).
      {75, 25, 30, 13, true, 0, 0, L::blGlyphLeft, 4, false, {0, 0, 22, 6}},
      {75, 25, 30, 13, true, 0, 0, L::blGlyphLeft, 4, true, {0, 0, 23, 7}},
      // Glyph left, even and odd spacing (S div 2 + S mod 2 to the glyph, S div 2 to the text).
      {75, 25, 30, 13, true, 16, 16, L::blGlyphLeft, 4, false, {12, 4, 32, 6}},
      {75, 25, 30, 13, true, 16, 16, L::blGlyphLeft, 5, false, {11, 4, 32, 6}},
      {75, 25, 30, 13, true, 16, 16, L::blGlyphLeft, 5, true, {12, 5, 33, 7}},
      // Without a caption Spacing is ignored and the glyph is centred on its own.
      {75, 25, 0, 13, false, 16, 16, L::blGlyphLeft, 9, false, {29, 4, 45, 6}},
      {75, 25, 30, 13, true, 16, 16, L::blGlyphRight, 5, false, {47, 4, 12, 6}},
      // Odd glyph height on top: TY − GH div 2 − GH mod 2.
      {75, 40, 30, 13, true, 15, 15, L::blGlyphTop, 4, false, {30, 3, 22, 22}},
      {75, 40, 30, 13, true, 15, 15, L::blGlyphBottom, 3, false, {30, 21, 22, 5}},
      // Caption wider than the button: div truncates toward zero.
      {10, 9, 31, 13, true, 7, 7, L::blGlyphLeft, 3, false, {-15, 1, -6, -2}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    const FaceLayout f =
        LayoutFace(c.w, c.h, c.tw, c.th, c.caption, c.gw, c.gh, c.layout, c.s, c.down);
    EXPECT_EQ(f.glyph_x, c.want.glyph_x) << "case " << i;
    EXPECT_EQ(f.glyph_y, c.want.glyph_y) << "case " << i;
    EXPECT_EQ(f.text_x, c.want.text_x) << "case " << i;
    EXPECT_EQ(f.text_y, c.want.text_y) << "case " << i;
  }
}

}  // namespace
}  // namespace sapala::controls
