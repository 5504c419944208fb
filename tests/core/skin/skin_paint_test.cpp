// Element painting, pixel by pixel: nine-part border masks from tiny hand-made pictures (odd
// sizes, borders wider than the element, mask rows, fuchsia corners over a parent bitmap), every
// texture mode, gradients, the transparency layering table and state limiting.
#include "core/skin/skin_paint.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/graphics/pixels.h"
#include "paint_test_support.h"

namespace sapala::skin {
namespace {

using graphics::Bitmap;
using graphics::Rect;
using testing::AddImage;
using testing::Filled;
using testing::GridPixel;
using testing::ReadGrid;
using Grid = std::vector<std::string>;

TColor ColorOf(char c) { return graphics::ColorFromPixel(GridPixel(c)) & 0xFFFFFF; }

const Grid kOdd = {"abcde", "fghij", "klmno", "pqrst"};  // 5 x 4, one frame

TEST(PaintBorderMask, TiledNinePartsOfAnOddPicture) {
  SkinTables t;
  const int centre = AddImage(t, kOdd, 1, 0, {2, 1, 1, 2}, kBorderPaintCenter);
  const int edges = AddImage(t, kOdd, 1, 0, {2, 1, 1, 2}, 0);
  Bitmap b = Filled(9, 6, 'z');
  PaintBorderMask(b, b.Bounds(), false, 0, t.Images[centre], ParentBackground::None());
  EXPECT_EQ(ReadGrid(b),
            (Grid{"abcdcdcde", "fghihihij", "fghihihij", "fghihihij", "klmnmnmno", "pqrsrsrst"}));
  b = Filled(9, 6, 'z');
  PaintBorderMask(b, b.Bounds(), false, 0, t.Images[edges], ParentBackground::None());
  EXPECT_EQ(ReadGrid(b),
            (Grid{"abcdcdcde", "fgzzzzzzj", "fgzzzzzzj", "fgzzzzzzj", "klmnmnmno", "pqrsrsrst"}));
  // At an offset inside a larger bitmap nothing around the rect is touched.
  b = Filled(7, 5, 'z');
  PaintBorderMask(b, {1, 1, 5, 4}, false, 0, t.Images[centre], ParentBackground::None());
  EXPECT_EQ(ReadGrid(b), (Grid{"zzzzzzz", "zabcezz", "zklmozz", "zpqrtzz", "zzzzzzz"}));
}

TEST(PaintBorderMask, BordersWiderThanTheElementAreReducedSymmetrically) {
  SkinTables t;
  const int i = AddImage(t, {"abcdef", "ghijkl", "mnopqr"}, 1, 0, {2, 1, 2, 1}, kBorderPaintCenter);
  Bitmap b = Filled(3, 3, 'z');
  PaintBorderMask(b, b.Bounds(), false, 0, t.Images[i], ParentBackground::None());
  // Width 3 < 2 + 2: the right border is the one that loses the odd pixel.
  EXPECT_EQ(ReadGrid(b), (Grid{"abf", "ghl", "mnr"}));
  const int odd = AddImage(t, kOdd, 1, 0, {2, 1, 1, 2}, kBorderPaintCenter);
  b = Filled(2, 2, 'z');
  PaintBorderMask(b, b.Bounds(), false, 0, t.Images[odd], ParentBackground::None());
  EXPECT_EQ(ReadGrid(b), (Grid{"ab", "pq"}));
  // A rectangle one pixel wide or high draws no border mask at all.
  b = Filled(1, 6, 'z');
  PaintBorderMask(b, b.Bounds(), false, 0, t.Images[odd], ParentBackground::None());
  EXPECT_EQ(ReadGrid(b), Grid(6, "z"));
}

TEST(PaintBorderMask, MaskRowsAndFuchsiaCornersOverAParentBitmap) {
  SkinTables t;
  // Picture above its mask. Key pixels: both left corners... the top-left corner, the top edge
  // and the bottom-right corner. Mask 0 takes the picture.
  const int i = AddImage(t, {"..b", "cde", "fg.", "000", "000", "000"}, 1, 1, {1, 1, 1, 1},
                         kBorderPaintCenter);
  t.Images[i].TransparentCorners = 1;
  const Bitmap parent =
      testing::GridBitmap({"abcdef", "ghijkl", "mnopqr", "stuvwx", "yzabcd", "efghij"});
  const ParentBackground bg = ParentBackground::FromBitmap(&parent, 1, 1);
  Bitmap b = Filled(4, 4, 'z');
  PaintBorderMask(b, b.Bounds(), true, 0, t.Images[i], bg);
  // Corners show the parent at the element's offset; the edge's key pixels never do.
  EXPECT_EQ(ReadGrid(b), (Grid{"hzzb", "cdde", "cdde", "fggc"}));
  b = Filled(4, 4, 'z');
  PaintBorderMask(b, b.Bounds(), false, 0, t.Images[i], bg);
  EXPECT_EQ(ReadGrid(b), (Grid{"zzzb", "cdde", "cdde", "fggz"}));
  // Without TransparentCorners the parent is not consulted.
  t.Images[i].TransparentCorners = 0;
  b = Filled(4, 4, 'z');
  PaintBorderMask(b, b.Bounds(), true, 0, t.Images[i], bg);
  EXPECT_EQ(ReadGrid(b)[0], "zzzb");
  // A parent colour shows the same way.
  t.Images[i].TransparentCorners = 1;
  b = Filled(4, 4, 'z');
  PaintBorderMask(b, b.Bounds(), true, 0, t.Images[i], ParentBackground::FromColor(ColorOf('y')));
  EXPECT_EQ(ReadGrid(b)[0], "yzzb");
}

TEST(PaintBorderMask, MaskValuesMixPictureAndTarget) {
  SkinTables t;
  const int i = AddImage(t, {"aaa", "aaa", "aaa", "0W0", "W0W", "0W0"}, 1, 1, {1, 1, 1, 1},
                         kBorderPaintCenter);
  Bitmap b = Filled(3, 3, 'z');
  PaintBorderMask(b, b.Bounds(), false, 0, t.Images[i], ParentBackground::None());
  const std::uint32_t a = GridPixel('a'), z = GridPixel('z');
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 3; ++x) {
      const bool keep = (x + y) % 2 == 1;
      std::uint32_t want = 0xFF000000u;
      for (int s = 0; s < 24; s += 8) {
        const int d = static_cast<int>(z >> s & 0xFF), p = static_cast<int>(a >> s & 0xFF);
        want |= static_cast<std::uint32_t>(((d - p) * (keep ? 255 : 0) + p * 256) >> 8) << s;
      }
      EXPECT_EQ(b.Row32(y)[x], want) << x << "," << y;
    }
  }
}

TEST(PaintBorderMask, FramesStatesAndDrawModeBits) {
  SkinTables t;
  // Two frames of 3 x 3 side by side.
  const Grid two = {"abcjkl", "defmno", "ghipqr"};
  const int i = AddImage(t, two, 2, 0, {1, 1, 1, 1}, kBorderPaintCenter);
  Bitmap b = Filled(3, 3, 'z');
  PaintBorderMask(b, b.Bounds(), false, 1, t.Images[i], ParentBackground::None());
  EXPECT_EQ(ReadGrid(b), (Grid{"jkl", "mno", "pqr"}));
  b = Filled(3, 3, 'z');
  PaintBorderMask(b, b.Bounds(), false, 5, t.Images[i], ParentBackground::None());  // limited
  EXPECT_EQ(ReadGrid(b), (Grid{"jkl", "mno", "pqr"}));
  // Bit 2: nothing in state 0, the hot frame still paints.
  t.Images[i].DrawMode = kBorderPaintCenter | kBorderNoNormal;
  b = Filled(3, 3, 'z');
  PaintBorderMask(b, b.Bounds(), false, 0, t.Images[i], ParentBackground::None());
  EXPECT_EQ(ReadGrid(b), Grid(3, "zzz"));
  PaintBorderMask(b, b.Bounds(), false, 1, t.Images[i], ParentBackground::None());
  EXPECT_EQ(ReadGrid(b)[1], "mno");
  // Bit 1: edges and centre stretched from one-pixel pieces.
  t.Images[i].DrawMode = kBorderPaintCenter | kBorderStretch;
  b = Filled(5, 4, 'z');
  PaintBorderMask(b, b.Bounds(), false, 0, t.Images[i], ParentBackground::None());
  EXPECT_EQ(ReadGrid(b), (Grid{"abbbc", "deeef", "deeef", "ghhhi"}));
  // An image that lost its owner draws nothing.
  t.Images[i].Owner = nullptr;
  b = Filled(5, 4, 'z');
  PaintBorderMask(b, b.Bounds(), false, 0, t.Images[i], ParentBackground::None());
  EXPECT_EQ(ReadGrid(b), Grid(4, "zzzzz"));
}

TEST(PaintBorderMask, StretchedPiecesWithAMaskRow) {
  SkinTables t;
  // Uniform picture over a mask that takes it everywhere: stretched edges and centre must give
  // the picture's colour on every pixel, the mask read from the lower half. The centre goes
  // through the filtered resampler, whose rounded weights may lose one step.
  const int i = AddImage(t, {"aaaa", "aaaa", "aaaa", "aaaa", "0000", "0000", "0000", "0000"}, 1, 1,
                         {1, 1, 1, 1}, kBorderStretch | kBorderPaintCenter);
  auto nearA = [](const Bitmap& b) {
    for (int y = 0; y < b.Height(); ++y) {
      for (int x = 0; x < b.Width(); ++x) {
        for (int sh = 0; sh < 24; sh += 8) {
          const int have = static_cast<int>(b.Row32(y)[x] >> sh & 0xFF);
          const int want = static_cast<int>(GridPixel('a') >> sh & 0xFF);
          if (std::abs(have - want) > 1) return false;
        }
      }
    }
    return true;
  };
  Bitmap b = Filled(9, 7, 'z');
  PaintBorderMask(b, b.Bounds(), false, 0, t.Images[i], ParentBackground::None());
  EXPECT_TRUE(nearA(b));
  EXPECT_EQ(ReadGrid(b)[0], "aaaaaaaaa");  // corners and stretched top edge exactly
  // Shrinking along one axis (the filtered path too).
  b = Filled(3, 4, 'z');
  PaintBorderMask(b, b.Bounds(), false, 0, t.Images[i], ParentBackground::None());
  EXPECT_TRUE(nearA(b));
}

TEST(PaintBorderMask, MasterBitmapImages) {
  SkinTables t;
  t.MasterBitmap = testing::GridBitmap({"zzzzz", "zabcz", "zdefz", "zghiz"});
  TsMaskData m;
  m.Rect = {1, 1, 4, 4};
  m.LeftBorder = m.TopBorder = m.RightBorder = m.BottomBorder = 1;
  m.DrawMode = kBorderPaintCenter;
  m.Owner = &t;
  t.Images.push_back(m);
  Bitmap b = Filled(4, 3, 'y');
  PaintBorderMask(b, b.Bounds(), false, 0, t.Images[0], ParentBackground::None());
  EXPECT_EQ(ReadGrid(b), (Grid{"abbc", "deef", "ghhi"}));
  // A rectangle reaching past the master bitmap reads nothing outside it.
  t.Images[0].Rect = {3, 2, 60, 90};
  b = Filled(4, 3, 'y');
  PaintBorderMask(b, b.Bounds(), false, 0, t.Images[0], ParentBackground::None());
  SUCCEED();
}

const Grid kTex = {"ab", "cd"};

TEST(PaintTexture, EveryFillMode) {
  const Grid want[12] = {
      {"ababa", "cdcdc", "ababa", "cdcdc", "ababa"},  // 0 tiled, last column and row cut
      {"aabbb", "aabbb", "ccddd", "ccddd", "ccddd"},  // 1 stretched
      {"ababa", "cdcdc", "zzzzz", "zzzzz", "zzzzz"},  // 2 top row
      {"abzzz", "cdzzz", "abzzz", "cdzzz", "abzzz"},  // 3 left column
      {"aabbb", "ccddd", "zzzzz", "zzzzz", "zzzzz"},  // 4 stretched along the top
      {"abzzz", "abzzz", "cdzzz", "cdzzz", "cdzzz"},  // 5 stretched down the left
      {"zzzzz", "zzzzz", "zzzzz", "ababa", "cdcdc"},  // 6 bottom row
      {"zzzab", "zzzcd", "zzzab", "zzzcd", "zzzab"},  // 7 right column
      {"zzzab", "zzzcd", "zzzab", "zzzcd", "zzzab"},  // 8
      {"zzzab", "zzzcd", "zzzab", "zzzcd", "zzzab"},  // 9
      {"ababa", "cdcdc", "ababa", "cdcdc", "zzzzz"},  // 10 whole rows only
      {"zzzzz", "zzzzz", "zzzzz", "zzzzz", "zzzzz"},  // unknown mode
  };
  for (int mode = 0; mode < 12; ++mode) {
    SkinTables t;
    const int i = AddImage(t, kTex, 1, 0, {}, mode, 1, "S", "PATTERN");
    Bitmap b = Filled(5, 5, 'z');
    PaintTexture(b, b.Bounds(), t.Images[i], mode, ParentBackground::None());
    EXPECT_EQ(ReadGrid(b), want[mode]) << "mode " << mode;
  }
}

// A section with the given look, added to `t`.
int AddSection(SkinTables& t, const std::string& name, char color, int transparency = 0) {
  TsGeneralData g;
  g.SectionName = name;
  g.Color = ColorOf(color);
  g.Transparency = transparency;
  g.States = 1;
  g.FillProps();
  t.Sections.push_back(g);
  return static_cast<int>(t.Sections.size()) - 1;
}

TEST(PaintElementBackground, TextureModesLeaveTheRestInTheSectionColour) {
  SkinTables t;
  const int s = AddSection(t, "S", 'y');
  t.Sections[s].ImagePercent = 100;
  const int tex = AddImage(t, kTex, 1, 0, {}, kTextureTopRow, 1, "S", "PATTERN");
  t.Sections[s].TextureIndex = tex;
  Bitmap b = Filled(5, 4, 'z');
  PaintElementBackground(t, s, ParentBackground::None(), kFuchsia, -1, -1, b, {}, b.Bounds(), 0);
  EXPECT_EQ(ReadGrid(b), (Grid{"ababa", "cdcdc", "yyyyy", "yyyyy"}));
  // The texture is found by name when the section holds no index.
  t.Sections[s].TextureIndex = -1;
  b = Filled(5, 4, 'z');
  PaintElementBackground(t, s, ParentBackground::None(), kFuchsia, -1, -1, b, {}, b.Bounds(), 0);
  EXPECT_EQ(ReadGrid(b)[0], "ababa");
  // A colour override paints that colour alone.
  b = Filled(5, 4, 'z');
  PaintElementBackground(t, s, ParentBackground::None(), ColorOf('q'), -1, -1, b, {}, b.Bounds(),
                         0);
  EXPECT_EQ(ReadGrid(b), Grid(4, "qqqqq"));
}

TEST(PaintElementBackground, TransparencyLayering) {
  SkinTables t;
  const TColor c = ColorOf('c'), p = ColorOf('p');
  const Bitmap parent = Filled(8, 8, 'p');
  struct Case {
    int transparency;
    ParentBackground bg;
    std::uint32_t want;
  } cases[] = {
      {0, ParentBackground::FromColor(p), GridPixel('c')},
      {100, ParentBackground::FromColor(p), GridPixel('p')},
      {100, ParentBackground::FromBitmap(&parent, 2, 2), GridPixel('p')},
      // 40 % over a plain parent colour: MixColors(parent, colour, 0.4).
      {40, ParentBackground::FromColor(p),
       graphics::PixelFromColor(graphics::MixColors(p, c, 0.4))},
      // Nothing known under the element: opaque.
      {40, ParentBackground::None(), GridPixel('c')},
  };
  int n = 0;
  for (const Case& k : cases) {
    const int s = AddSection(t, "S" + std::to_string(n), 'c', k.transparency);
    Bitmap b = Filled(4, 4, 'z');
    PaintElementBackground(t, s, k.bg, kFuchsia, -1, -1, b, {}, b.Bounds(), 0);
    EXPECT_EQ(b.Row32(2)[1], k.want) << "case " << n;
    ++n;
  }
  // 40 % over a parent bitmap: the opaque look blended over it, parent weight 40 % of 255.
  const int s = AddSection(t, "B", 'c', 40);
  Bitmap b = Filled(4, 4, 'z');
  PaintElementBackground(t, s, ParentBackground::FromBitmap(&parent, 1, 1), kFuchsia, -1, -1, b, {},
                         b.Bounds(), 0);
  std::uint32_t want = 0;
  for (int sh = 0; sh < 32; sh += 8) {
    const std::uint32_t pv = GridPixel('p') >> sh & 0xFF, cv = GridPixel('c') >> sh & 0xFF;
    want |= ((pv * 102 + cv * 153 + 127) >> 8) << sh;
  }
  EXPECT_EQ(b.Row32(3)[3], want);
}

TEST(PaintElementBackground, ParentBitmapAtTheOffsetAndTexturesUnderGradients) {
  SkinTables t;
  const Bitmap parent = testing::GridBitmap({"abcd", "efgh", "ijkl", "mnop"});
  const int clear = AddSection(t, "CLEAR", 'c', 100);
  Bitmap b = Filled(3, 3, 'z');
  // The background offset (1, 0) plus the element offset (0, 1).
  PaintElementBackground(t, clear, ParentBackground::FromBitmap(&parent, 1, 0), kFuchsia, -1, -1, b,
                         {0, 1}, {1, 1, 3, 3}, 0);
  EXPECT_EQ(ReadGrid(b), (Grid{"zzz", "zkl", "zop"}));
  // Texture and gradient: the gradient is blended over the texture, which keeps its image
  // percent of weight (60 × 255 div 100 = 153 for the texture).
  const int s = AddSection(t, "MIX", 'c');
  t.Sections[s].ImagePercent = 60;
  t.Sections[s].GradientPercent = 40;
  t.Sections[s].Gradient->push_back({0x000000, 0x000000, 100, 0});
  t.Sections[s].TextureIndex = AddImage(t, {"w"}, 1, 0, {}, kTextureTile, 1, "MIX", "PATTERN");
  b = Filled(2, 2, 'z');
  PaintElementBackground(t, s, ParentBackground::None(), kFuchsia, -1, -1, b, {}, b.Bounds(), 0);
  const std::uint32_t w = GridPixel('w');
  std::uint32_t want = 0;
  for (int sh = 0; sh < 32; sh += 8) {
    const std::uint32_t tv = w >> sh & 0xFF, gv = sh == 24 ? 0xFFu : 0u;
    want |= ((tv * 153 + gv * 102 + 127) >> 8) << sh;
  }
  EXPECT_EQ(b.Row32(1)[1], want);
}

// A gradient (or the plain colour) mixed with the section colour: the same pixels as painting
// the gradient and mixing every pixel, for each gradient direction, inside a larger bitmap.
TEST(PaintElementBackground, MixedGradientsMatchPixelByPixelMixing) {
  for (int mode = -1; mode <= 2; ++mode) {
    SkinTables t;
    const int s = AddSection(t, "G", 'c');
    t.Sections[s].GradientPercent = 37;
    if (mode >= 0) {
      t.Sections[s].Gradient->push_back({0x102030, 0xF0E0D0, 45, mode});
      t.Sections[s].Gradient->push_back({0x00FF80, 0x8000FF, 55, mode});
    }
    const graphics::Rect r{2, 1, 11, 8};
    Bitmap b = Filled(13, 10, 'z');
    PaintElementBackground(t, s, ParentBackground::None(), kFuchsia, -1, -1, b, {}, r, 0);
    Bitmap want = Filled(13, 10, 'z');
    if (mode >= 0) {
      PaintGradient(want, r, *t.Sections[s].Gradient);
    } else {
      graphics::FillBitmapRect(want, r, t.Sections[s].Color);
    }
    graphics::MixRectWithColor(want, {r.left, r.top, r.right - 1, r.bottom - 1}, 37,
                               graphics::ColorToRGB(t.Sections[s].Color));
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 13; ++x) {
        ASSERT_EQ(b.Row32(y)[x], want.Row32(y)[x]) << "mode " << mode << " at " << x << "," << y;
      }
    }
  }
}

TEST(PaintElementBackground, MaskedTexturesOverlayTheNormalLookOnly) {
  SkinTables t;
  const int s = AddSection(t, "S", 'c');
  t.Sections[s].States = 2;
  t.Sections[s].HotColor = ColorOf('h');
  t.Sections[s].HotImagePercent = 100;
  t.Sections[s].FillProps();
  // A texture with a mask row in whole-rows mode: its key pixel shows the parent.
  const int tex = AddImage(t, {"a.", "00"}, 1, 1, {}, kTextureWholeRows, 1, "S", "PATTERN");
  Bitmap b = Filled(3, 2, 'z');
  PaintElementBackground(t, s, ParentBackground::FromColor(ColorOf('p')), kFuchsia, -1, tex, b, {},
                         b.Bounds(), 0);
  EXPECT_EQ(ReadGrid(b), (Grid{"apa", "apa"}));
  // The hot look refuses a texture with a mask row; its colour takes the texture's share rather
  // than leaving the element unpainted.
  b = Filled(3, 2, 'z');
  PaintElementBackground(t, s, ParentBackground::FromColor(ColorOf('p')), kFuchsia, tex, -1, b, {},
                         b.Bounds(), 1);
  EXPECT_EQ(ReadGrid(b), Grid(2, "hhh"));
}

TEST(PaintElementBackground, LargeTexturesComeFromThePatternTable) {
  SkinTables t;
  const int s = AddSection(t, "S", 'c');
  t.Sections[s].ImagePercent = 100;
  t.Patterns.push_back(
      TsPatternData{std::make_shared<Bitmap>(testing::GridBitmap({"ab", "cd"})), "S", "PATTERN"});
  Bitmap b = Filled(3, 3, 'z');
  PaintElementBackground(t, s, ParentBackground::None(), kFuchsia, -1, -1, b, {}, b.Bounds(), 0);
  EXPECT_EQ(ReadGrid(b), (Grid{"aba", "cdc", "aba"}));
}

TEST(PaintElement, HueAndSaturationShiftTheWholeElement) {
  SkinTables t;
  const int s = AddSection(t, "S", 'c');
  t.Sections[s].Color = 0x0000FF;  // red
  t.Sections[s].FillProps();
  ElementRef e;
  e.SectionIndex = s;
  e.HueShift = 120;
  e.SaturationShift = -50;
  Bitmap b = Filled(2, 2, 'z');
  PaintElement(t, e, ParentBackground::None(), false, b, {}, b.Bounds(), 0);
  EXPECT_EQ(b.Row32(0)[0], graphics::PixelFromColor(graphics::ShiftedColor(0x0000FF, 120, -50)));
}

TEST(PaintSection, FullyTransparentSectionShowsTheParentColourUnderItsBorder) {
  SkinTables t;
  const int s = AddSection(t, "S", 'c', 100);
  t.Sections[s].MaskIndex = AddImage(t, {"aba", "b.b", "aba"}, 1, 0, {1, 1, 1, 1}, 0);
  Bitmap b = Filled(4, 3, 'z');
  PaintSection(t, s, ParentBackground::FromColor(ColorOf('p')), -1, -1, b, {}, b.Bounds(), 0, 0);
  EXPECT_EQ(ReadGrid(b), (Grid{"abba", "bppb", "abba"}));
}

TEST(PaintElement, StateIsLimitedToTheSectionsStates) {
  SkinTables t;
  const int s = AddSection(t, "S", 'c');
  t.Sections[s].States = 2;
  t.Sections[s].HotColor = ColorOf('h');
  t.Sections[s].FillProps();
  ElementRef e;
  e.SectionIndex = s;
  Bitmap b = Filled(3, 3, 'z');
  PaintElement(t, e, ParentBackground::None(), false, b, {}, b.Bounds(), 5);
  EXPECT_EQ(ReadGrid(b), Grid(3, "hhh"));
  PaintElement(t, e, ParentBackground::None(), false, b, {}, b.Bounds(), 0);
  EXPECT_EQ(ReadGrid(b), Grid(3, "ccc"));
  // A rect reaching outside the bitmap draws nothing.
  b = Filled(3, 3, 'z');
  PaintElement(t, e, ParentBackground::None(), false, b, {}, {1, 1, 4, 3}, 0);
  EXPECT_EQ(ReadGrid(b), Grid(3, "zzz"));
}

TEST(PaintElement, MixedColourStaysInsideTheElement) {
  SkinTables t;
  const int s = AddSection(t, "S", 'c');
  t.Sections[s].GradientPercent = 30;  // no stops: the section colour, then mixed at 30 %
  ElementRef e;
  e.SectionIndex = s;
  Bitmap b = Filled(5, 5, 'z');
  PaintElement(t, e, ParentBackground::None(), false, b, {}, {1, 1, 3, 3}, 0);
  EXPECT_EQ(ReadGrid(b)[3], "zzzzz");  // the row below the element
  EXPECT_EQ(ReadGrid(b)[1],
            "zccz"
            "z");
}

TEST(PaintGradient, BandsAndTriangles) {
  Bitmap b = Filled(1, 5, 'z');
  PaintGradient(b, b.Bounds(), {{0x000000, 0x0000FF, 100, 0}});
  const std::uint8_t reds[5] = {0, 64, 128, 191, 255};  // 63.75, 127.5 (half to even), 191.25
  for (int y = 0; y < 5; ++y)
    EXPECT_EQ(b.Row32(y)[0], 0xFF000000u | std::uint32_t{reds[y]} << 16) << y;
  // Two vertical stops: the first ends at Round(50 × 6 / 100); the last reaches the edge.
  b = Filled(7, 1, 'z');
  PaintGradient(b, b.Bounds(), {{0x0000FF, 0x0000FF, 50, 1}, {0x00FF00, 0x00FF00, 10, 0}});
  EXPECT_EQ(b.Row32(0)[2], 0xFFFF0000u);
  EXPECT_EQ(b.Row32(0)[3], 0xFFFF0000u);
  EXPECT_EQ(b.Row32(0)[4], 0xFF00FF00u);
  EXPECT_EQ(b.Row32(0)[6], 0xFF00FF00u);
  // Triangles: the centre takes stop 1's colour, the top-left corner stop 0's.
  b = Filled(9, 9, 'z');
  PaintGradient(b, b.Bounds(), {{0x0000FF, 0, 0, 2}, {0xFF0000, 0, 0, 0}});
  EXPECT_EQ(b.Row32(4)[4] & 0xFFFFFF, 0x0000FFu);  // blue (0xFF0000 as a colour value)
  EXPECT_GT(b.Row32(0)[0] >> 16 & 0xFF, 0xE0u);    // red
  // Any other mode paints nothing.
  b = Filled(3, 3, 'z');
  PaintGradient(b, b.Bounds(), {{0x0000FF, 0x0000FF, 100, 7}});
  EXPECT_EQ(ReadGrid(b), Grid(3, "zzz"));
}

TEST(PaintImageAt, FramesAtAPointWithNegativeCoordinates) {
  SkinTables t;
  const int i = AddImage(t, {"a.bc.d", "efghij"}, 2, 0, {}, 1, 2);
  t.Images[i].Image.reset();  // a rectangle of the master bitmap
  t.MasterBitmap = testing::GridBitmap({"a.bc.d", "efghij"});
  Bitmap b = Filled(4, 3, 'z');
  const Bitmap parent = Filled(8, 8, 'p');
  PaintImageAt(b, {-1, 1}, 1, ParentBackground::FromBitmap(&parent, 0, 0), t.Images[i], true);
  EXPECT_EQ(ReadGrid(b), (Grid{"zzzz", "pdzz", "ijzz"}));
}

TEST(RefreshCacheCorners, CornersShowTheNewParent) {
  SkinTables t;
  const int s = AddSection(t, "S", 'c');
  const int m = AddImage(t, {".b.", "bcb", ".b.", "000", "000", "000"}, 1, 1, {1, 1, 1, 1},
                         kBorderPaintCenter);
  t.Images[m].TransparentCorners = 1;
  ElementRef e;
  e.SectionIndex = s;
  e.BorderMaskIndex = m;
  Bitmap cache = Filled(4, 4, 'z');
  RefreshCacheCorners(t, e, cache, 0, ParentBackground::FromColor(ColorOf('q')));
  EXPECT_EQ(ReadGrid(cache), (Grid{"qzzq", "zzzz", "zzzz", "qzzq"}));
  t.Images[m].TransparentCorners = 0;
  cache = Filled(4, 4, 'z');
  RefreshCacheCorners(t, e, cache, 0, ParentBackground::FromColor(ColorOf('q')));
  EXPECT_EQ(ReadGrid(cache), Grid(4, "zzzz"));
}

}  // namespace
}  // namespace sapala::skin
