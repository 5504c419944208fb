// The skin tables built from skin text: global values, sections with inheritance, gradients,
// every image value form, the corner scan, look-ups through parent chains, common sections, hue
// and saturation, the standard-part cache and the extended-border pictures.
#include "core/skin/skin_tables.h"

#include <gtest/gtest.h>

#include "core/codecs/bmp.h"
#include "core/skin/skin_build_detail.h"
#include "core/skin/skin_error.h"
#include "core/skin/skin_pack.h"
#include "core/skin/skin_text.h"
#include "skin_test_support.h"

namespace sapala::skin {
namespace {

using testing::FakePlatform;
using testing::MakeBmp24;
using testing::MemoryFileSystem;

constexpr const char* kPath = "C:\\Skins\\T\\";

struct Fixture {
  MemoryFileSystem fs;
  FakePlatform platform;
  BuiltInShadows shadows;
  SkinTables t;
  BuildSettings settings;

  Fixture() { settings.skinName = "T"; }

  // Builds from `text`; returns the error message, or "" on success.
  std::string Build(const std::string& text, const std::string& common = "") {
    const SkinText parsed = SkinText::Parse(text);
    const SkinText commonText = SkinText::Parse(common);
    settings.commonSections = common.empty() ? nullptr : &commonText;
    SkinSource src;
    src.text = &parsed;
    src.skinPath = kPath;
    try {
      t.Build(src, settings, BuildEnvironment{fs, platform, &shadows});
    } catch (const std::exception& e) {
      return e.what();
    }
    return "";
  }
  const TsGeneralData& S(const char* name) {
    const int i = t.FindSection(name);
    EXPECT_GE(i, 0) << name;
    return t.Sections.at(static_cast<std::size_t>(std::max(i, 0)));
  }
  const TsMaskData& I(const char* section, const char* key) {
    const int i = t.FindImageExact(section, key);
    EXPECT_GE(i, 0) << section << "/" << key;
    return t.Images.at(static_cast<std::size_t>(std::max(i, 0)));
  }
  // A 24-bit master bitmap `w` x `h`, grey with the given pixels.
  void Master(int w, int h, std::vector<std::pair<int, int>> fuchsia = {}) {
    fs.Add(std::string(kPath) + "m.bmp", MakeBmp24(w, h, [&](int x, int y) -> std::uint32_t {
             for (auto [fx, fy] : fuchsia) {
               if (fx == x && fy == y) return 0xFF00FF;
             }
             return 0x808080;
           }));
  }
};

TEST(SkinTables, GlobalValuesAndTheirDefaults) {
  Fixture f;
  f.platform.frameWidth = 7;
  ASSERT_EQ(f.Build("[OTHER]\nx=1\n"), "");
  const TsSkinData& d = f.t.SkinData;
  EXPECT_EQ(d.Version, 0);
  EXPECT_EQ(d.Shadow1Blur, -1);
  EXPECT_EQ(d.ExtBorderWidth, 4);
  EXPECT_EQ(d.ExtTitleHeight, 30);
  EXPECT_EQ(d.ExtMaxHeight, 30);  // absent: the title height
  EXPECT_EQ(d.ExtFormOffset, 7);  // the sizing frame
  EXPECT_EQ(d.SkinPath, "");      // Build does not invent a path

  ASSERT_EQ(f.Build("[GLOBALINFO]\nVERSION=7.2\nAUTHOR=A B\nTITLEHEIGHT=22\nMAXHEIGHT=0\n"
                    "BORDERWIDTH=abc\nSHADOW1OFFSET=-2\nBICONMINGLOWMARGIN=$10\nBORDERCOLOR=$FF\n"),
            "");
  EXPECT_DOUBLE_EQ(d.Version, 7.2);
  EXPECT_EQ(d.Author, "A B");
  EXPECT_EQ(d.ExtMaxHeight, 22);
  EXPECT_EQ(d.ExtBorderWidth, 4);  // lenient keys fall back on bad text
  EXPECT_EQ(d.Shadow1Offset, -2);
  EXPECT_EQ(d.MinGlowMargin, 16);
  EXPECT_EQ(d.BorderColor, 0xFF);
}

TEST(SkinTables, StrictGlobalKeysEndTheLoad) {
  const char* keys[] = {"SHADOW1OFFSET",      "SHADOW1BLUR",          "SHADOW1TRANSPARENCY",
                        "BICONCLOSEGLOW",     "BICONCLOSEGLOWMARGIN", "BICONMAXGLOW",
                        "BICONMAXGLOWMARGIN", "BICONMINGLOW",         "BICONMINGLOWMARGIN"};
  for (const char* key : keys) {
    Fixture f;
    EXPECT_EQ(f.Build(std::string("[GLOBALINFO]\n") + key + "=1.5\n"),
              "'1.5' is not a valid integer value")
        << key;
  }
}

TEST(SkinTables, VersionNotices) {
  struct Case {
    const char* version;
    std::vector<std::string> args;
    bool design;
    const char* startsWith;  // nullptr: no message
  };
  const Case cases[] = {
      {"7.2", {}, false, nullptr},
      {"7.99", {}, false, nullptr},
      {"8", {}, false, "This version of the skin have not complete support"},
      {"6.5", {}, false, nullptr},
      {"6.5", {"/LcTest"}, false, "You are using an old version of the \"T\" skin."},
      {"6.5", {"/lctestx"}, false, nullptr},
      {"6.5", {}, true, "You are using an old version"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Fixture f;
    f.platform.arguments = cases[i].args;
    f.platform.design = cases[i].design;
    ASSERT_EQ(f.Build(std::string("[GLOBALINFO]\nVERSION=") + cases[i].version + "\n"), "");
    if (cases[i].startsWith == nullptr) {
      EXPECT_TRUE(f.platform.messages.empty()) << "case " << i << ": have a message";
    } else {
      ASSERT_EQ(f.platform.messages.size(), 1u) << "case " << i;
      EXPECT_EQ(f.platform.messages[0].rfind(cases[i].startsWith, 0), 0u)
          << "case " << i << ": have " << f.platform.messages[0];
    }
  }
}

TEST(SkinTables, SectionValuesColoursStatesAndGradients) {
  Fixture f;
  ASSERT_EQ(f.Build("[A]\nCOLOR=0x0A0B0C\n"
                    "[B]\nCOLOR=$0A0B0C\nSTATES=1\nHOTCOLOR=$123456\nGRADIENTDATA= \n"
                    "GRADIENTPERCENT=80\n"
                    "[C]\nCOLOR=-16777201\nGRADIENTDATA=1;2;3;4;5;6;7\nGRADIENTPERCENT=80\n"
                    "[D]\nGRADIENTDATA=-5;300;250;9;x;1;2;-3;4;y\nHOTGRADIENTDATA=1;2\n"
                    "HOTGRADIENTPERCENT=9\nGIVEOWNFONT=True\nSHOWFOCUS=1\nFADINGENABLED=yes\n"
                    "GSIZE=300\n"),
            "");
  EXPECT_EQ(f.S("A").Color, 0x0A0B0C);
  EXPECT_EQ(f.S("B").Color, f.S("A").Color);                             // "$" = "0x"
  EXPECT_EQ(f.S("C").Color, graphics::ColorToRGB(graphics::clBtnFace));  // a system colour
  const TsGeneralData& b = f.S("B");
  EXPECT_EQ(b.States, 1);
  EXPECT_EQ(b.HotColor, 0);  // hot keys are not read with fewer than two states
  EXPECT_EQ(b.Props[1].Color, b.Props[0].Color);
  EXPECT_EQ(b.Props[1].FontColors, b.Props[0].FontColors);
  EXPECT_EQ(b.Props[1].Gradient, b.Props[0].Gradient);
  EXPECT_EQ(b.GradientData, "");  // a value of blanks is trimmed to nothing
  EXPECT_EQ(b.GradientPercent, 0);

  const TsGeneralData& c = f.S("C");
  EXPECT_EQ(c.GradientPercent, 80);
  ASSERT_EQ(c.Gradient->size(), 1u);  // seven words: one stop
  EXPECT_EQ((*c.Gradient)[0], (GradientStop{1, 2, 3, 4}));
  EXPECT_EQ(c.Props[0].Gradient.get(), c.Gradient.get());  // shared, not copied
  EXPECT_EQ(c.States, 4);
  EXPECT_EQ(c.HotColor, 0xFFFFFF);
  EXPECT_EQ(c.FontColors, (FontColorArray{0, -1, -1, -1, -1}));

  const TsGeneralData& d = f.S("D");
  ASSERT_EQ(d.Gradient->size(), 2u);  // the fifth word of a group is never converted
  EXPECT_EQ((*d.Gradient)[0], (GradientStop{0, 300, 100, 9}));
  EXPECT_EQ((*d.Gradient)[1], (GradientStop{1, 2, 0, 4}));
  EXPECT_EQ(d.HotGradientPercent, 9);    // "1;2" is long enough to keep the percent
  EXPECT_EQ(d.HotGradient->size(), 0u);  // but too short for a stop
  EXPECT_TRUE(d.GiveOwnFont);
  EXPECT_TRUE(d.ShowFocus);
  EXPECT_FALSE(d.FadingEnabled);
  EXPECT_EQ(d.GlowSize, 300 & 0xFF);
  EXPECT_EQ(d.Props[1].Gradient.get(), d.HotGradient.get());
}

TEST(SkinTables, GradientWordsMustBeNumbers) {
  Fixture f;
  EXPECT_EQ(f.Build("[A]\nGRADIENTDATA=1;x;3;4;5\n"), "'x' is not a valid integer value");
}

TEST(SkinTables, InheritanceThroughParentClass) {
  Fixture f;
  ASSERT_EQ(f.Build("[BASE]\nCOLOR=$111111\nGLOW=3\nGRADIENTDATA=1;2;3;4;5\nFONTCOLOR=$222222\n"
                    "[CHILD]\nPARENTCLASS=BASE\nGLOW=-1\nGRADIENTDATA=?\nFONTCOLOR=$333333\n"
                    "[GRANDCHILD]\nPARENTCLASS=CHILD\n"
                    "[SELF]\nPARENTCLASS=SELF\n"
                    "[ORPHAN]\nPARENTCLASS=?\n"
                    "[X]\nPARENTCLASS=Y\nCOLOR=-1\n[Y]\nPARENTCLASS=X\n"),
            "");
  EXPECT_EQ(f.S("CHILD").Color, 0x111111);
  EXPECT_EQ(f.S("CHILD").Glow, 3);                    // -1 asks the parent
  EXPECT_EQ(f.S("CHILD").GradientData, "1;2;3;4;5");  // "?" asks the parent
  EXPECT_EQ(f.S("CHILD").FontColors[0], 0x333333);
  EXPECT_EQ(f.S("GRANDCHILD").Color, 0x111111);  // two steps up
  EXPECT_EQ(f.S("GRANDCHILD").FontColors[0], 0x333333);
  EXPECT_EQ(f.S("GRANDCHILD").ParentClass, "CHILD");
  EXPECT_EQ(f.S("SELF").Color, 0xFFFFFF);
  EXPECT_EQ(f.S("ORPHAN").Color, 0xFFFFFF);
  EXPECT_EQ(f.S("X").Color, 0xFFFFFF);  // a cycle ends with the default
}

TEST(SkinTables, FixedPositionImageForms) {
  Fixture f;
  f.Master(128, 64, {{0, 0}});
  ASSERT_EQ(f.Build("[GLOBALINFO]\nMASTERBITMAP=m.bmp\nVERSION=7.2\n"
                    "[S]\nAT=@0010,0020,0110,0060,3,1\n"
                    "CARET=^0000,0000,0024,0016,0002,0002,0002,0002,3,1,0,0\n"
                    "ONEPX=^0000,0000,0015,0006,0002,0002,0002,0000,3,1,0,0\n"
                    "BW=^0000,0000,0024,0016,0000,0000,0000,0000,3,1,1,5\n"
                    "THIRDS=^0000,0000,0024,0016,0000,0000,0000,0000,3,1,1,0\n"
                    "TILDE=~0032,0000,0064,0032,12,2\n"
                    "SHORT=~0032,0000,0064,0032,05\n"
                    "HASH=# (0,16,12,24) (2,1,0,3)\n"
                    "HASHBW=#(0,16,12,24)(1,0,2)\n"
                    "ONLY=#\n"),
            "");
  const TsMaskData& at = f.I("S", "AT");
  EXPECT_EQ(at.Rect, (graphics::Rect{10, 20, 110, 60}));
  EXPECT_EQ(at.FrameCount, 3);
  EXPECT_EQ(at.MaskKind, 1);
  EXPECT_EQ(at.ImageKind, 2);
  EXPECT_EQ(at.LeftBorder + at.TopBorder + at.RightBorder + at.BottomBorder, 0);
  EXPECT_FALSE(at.Image);

  const TsMaskData& caret = f.I("S", "CARET");
  EXPECT_EQ(caret.ImageKind, 0);
  EXPECT_EQ(caret.LeftBorder, 2);
  EXPECT_EQ(caret.DrawMode, 0);            // version below 7.4, middle 4 x 4: bit 0 cleared
  EXPECT_EQ(caret.TransparentCorners, 1);  // fuchsia at the master's (0, 0)
  // Middle 15/3 - 2 - 2 = 1 wide and 6/2 - 2 - 0 = 1 high: bit 0 set.
  EXPECT_EQ(f.I("S", "ONEPX").DrawMode, 1);
  const TsMaskData& bw = f.I("S", "BW");
  EXPECT_EQ(bw.BorderWidth, 5);
  EXPECT_EQ(bw.LeftBorder, 5);
  EXPECT_EQ(bw.BottomBorder, 5);
  const TsMaskData& thirds = f.I("S", "THIRDS");
  EXPECT_EQ(thirds.LeftBorder, 24 / 9);
  EXPECT_EQ(thirds.TopBorder, 16 / 6);

  const TsMaskData& tilde = f.I("S", "TILDE");
  EXPECT_EQ(tilde.ImageKind, 1);
  EXPECT_EQ(tilde.FrameCount, 1);
  EXPECT_EQ(tilde.DrawMode, 12);
  EXPECT_EQ(tilde.MaskKind, 2);
  EXPECT_EQ(f.I("S", "SHORT").MaskKind, 0);  // shorter than 25 characters

  const TsMaskData& hash = f.I("S", "HASH");  // "#" form: upper-cased names
  EXPECT_EQ(hash.Rect, (graphics::Rect{0, 16, 12, 24}));
  EXPECT_EQ(hash.FrameCount, 2);
  EXPECT_EQ(hash.MaskKind, 1);
  EXPECT_EQ(hash.DrawMode, 3);
  EXPECT_EQ(hash.LeftBorder, 12 / 6);
  EXPECT_EQ(hash.TopBorder, 8 / 6);
  const TsMaskData& hbw = f.I("S", "HASHBW");
  EXPECT_EQ(hbw.BorderWidth, 2);
  EXPECT_EQ(hbw.TopBorder, 2);
  EXPECT_EQ(hbw.DrawMode, 1);
  EXPECT_EQ(f.t.FindImageExact("S", "ONLY"), -1);
  EXPECT_EQ(f.t.FindImageExact("GLOBALINFO", "MASTERBITMAP"), -1);
  EXPECT_EQ(f.t.MasterBitmap.Width(), 128);
  EXPECT_TRUE(f.t.MasterBitmap.transparent);
  EXPECT_EQ(f.t.MasterBitmap.transparentColor, graphics::clFuchsia);
}

TEST(SkinTables, DrawModeRuleOnlyBelowVersion74) {
  Fixture f;
  ASSERT_EQ(f.Build("[GLOBALINFO]\nVERSION=7.4\n"
                    "[S]\nONEPX=^0000,0000,0015,0006,0002,0002,0002,0000,3,1,0,0\n"),
            "");
  EXPECT_EQ(f.I("S", "ONEPX").DrawMode, 0);
}

TEST(SkinTables, MalformedFixedFieldsEndTheLoad) {
  const char* values[] = {"@00x0,0020,0110,0060,3,1",  "@0010,0020",
                          "^0000,0000,0024,0016,000a", "~0032,0000,0064,0032,zz",
                          "#(0,1,x,3)(1,0)",           "#(0,1,2)"};
  for (const char* v : values) {
    Fixture f;
    EXPECT_NE(f.Build(std::string("[S]\nK=") + v + "\n"), "") << v;
  }
}

TEST(SkinTables, PictureFileForms) {
  Fixture f;
  const std::string dir = kPath;
  f.fs.Add(dir + "p.bmp", MakeBmp24(18, 12, [](int x, int y) -> std::uint32_t {
             return (x == 17 && y == 11) ? 0xFF00FF : 0x102030;  // fuchsia in a corner area
           }));
  f.fs.Add(dir + "Pic.BMP", MakeBmp24(12, 8, [](int, int) { return 0x102030u; }));
  f.fs.Add(dir + "lower.bmp", MakeBmp24(4, 4, [](int, int) { return 0u; }));
  f.fs.Add(dir + "zero.BMP", MakeBmp24(0, 4, [](int, int) { return 0u; }));
  ASSERT_EQ(f.Build("[Sec]\nplain=p.bmp\n"
                    "bang=!Pic.BMP!2!1!0\n"
                    "bangfull=!Pic.BMP!2!0!9!1!2!3!4!7\n"
                    "bangzero=!Pic.BMP!0!0!0\n"
                    "ignored=!lower.bmp!1!0!0\n"
                    "missing=!none.BMP!1!0!0\n"
                    "empty=!zero.BMP!1!0!0\n"
                    "notpic=just text\n"),
            "");
  const TsMaskData& plain = f.I("SEC", "PLAIN");  // plain form: upper-cased names
  EXPECT_EQ(plain.Rect, (graphics::Rect{0, 0, 18, 12}));
  EXPECT_EQ(plain.FrameCount, 3);
  EXPECT_EQ(plain.MaskKind, 1);
  EXPECT_EQ(plain.LeftBorder, 2);
  EXPECT_EQ(plain.TopBorder, 2);
  // Bottom-right area: columns 18/3-2 = 4..5, rows 12/2-2 = 4..5: (17, 11) is outside.
  EXPECT_EQ(plain.TransparentCorners, 0);
  ASSERT_TRUE(plain.Image);
  EXPECT_EQ(plain.Image->Format(), graphics::PixelFormat::pf32bit);
  EXPECT_EQ(plain.Image->Row32(0)[0] >> 24, 255u);  // alpha 255 after the conversion

  const TsMaskData& bang = f.I("Sec", "bang");  // "!" form: names as read
  EXPECT_EQ(bang.FrameCount, 2);
  EXPECT_EQ(bang.MaskKind, 1);
  EXPECT_EQ(bang.LeftBorder, 12 / 6);
  EXPECT_EQ(bang.TopBorder, 8 / 6);
  EXPECT_EQ(bang.DrawMode, 1);
  const TsMaskData& full = f.I("Sec", "bangfull");
  EXPECT_EQ(full.ImageKind, 4);  // min(9, 4)
  EXPECT_EQ(full.LeftBorder, 1);
  EXPECT_EQ(full.BottomBorder, 4);
  EXPECT_EQ(full.DrawMode, 7);
  const TsMaskData& zero = f.I("Sec", "bangzero");  // FrameCount 0 must not divide by zero
  EXPECT_EQ(zero.FrameCount, 0);
  EXPECT_EQ(zero.LeftBorder, 12 / 3);
  EXPECT_EQ(FrameWidth(zero), 0);
  EXPECT_EQ(LeftWidth(zero), 4);
  EXPECT_EQ(f.t.FindImageExact("Sec", "ignored"), -1);
  EXPECT_EQ(f.t.FindImageExact("Sec", "missing"), -1);
  EXPECT_EQ(f.t.FindImageExact("Sec", "empty"), -1);
  EXPECT_EQ(f.t.Images.size(), 4u);
}

TEST(SkinTables, DecodedPicturesHaveABudget) {
  Fixture f;
  f.fs.Add(std::string(kPath) + "P.BMP", MakeBmp24(16, 16, [](int, int) { return 0x10u; }));
  f.settings.maxDecodedBytes = 16 * 16 * 4 * 3;  // three decodes of the picture
  std::string text = "[S]\n";
  for (int i = 0; i < 3; ++i) text += "K" + std::to_string(i) + "=!P.BMP!1!0!0\n";
  EXPECT_EQ(f.Build(text), "");
  text += "K3=!P.BMP!1!0!0\n";  // the same file named once more is one decode too many
  EXPECT_EQ(f.Build(text), "The skin's pictures are too large");
}

TEST(SkinTables, CornerScanStaysInsideTheBitmap) {
  Fixture f;
  // Rectangles that reach past the master bitmap, and one far outside it.
  f.Master(8, 8, {{6, 6}});
  ASSERT_EQ(
      f.Build("[GLOBALINFO]\nMASTERBITMAP=m.bmp\n"
              "[S]\nBIG=^0000,0000,0100,0100,0050,0050,0050,0050,1,0,0,0\n"
              "FAR=^9000,9000,9100,9100,0010,0010,0010,0010,1,0,0,0\n"
              "NEG=^-100,-100,0008,0008,0200,0200,0000,0000,1,0,0,0\n"
              "[BUTTON_HUGE]\nBORDERSMASK=^0000,0000,0004,0004,0001,0001,0001,0001,1,0,0,0\n"),
      "");
  EXPECT_EQ(f.I("S", "BIG").TransparentCorners, 1);
  EXPECT_EQ(f.I("S", "FAR").TransparentCorners, 0);
  EXPECT_EQ(f.I("S", "NEG").TransparentCorners, 1);
  // The huge button's mask is marked 2 by rule, whatever its corners hold.
  EXPECT_EQ(f.I("BUTTON_HUGE", "BORDERSMASK").TransparentCorners, 2);
}

TEST(SkinTables, WidthQueries) {
  struct Case {
    int w, h;
    std::int16_t fc, mk, bw, l, t, r, b;
    int frameW, frameH, left, top, right, bottom;
  };
  const Case cases[] = {
      {30, 20, 3, 1, 0, 2, 3, 4, 5, 10, 10, 2, 3, 4, 5},
      {30, 20, 3, 1, 6, 0, 0, 0, 0, 10, 10, 6, 6, 6, 6},
      {30, 20, 1, 0, 0, 0, 0, 0, 0, 30, 20, 30, 20, 30, 20},
      {30, 21, 0, 2, 0, 0, 0, 0, 0, 0, 7, 30, 7, 30, 7},    // FrameCount 0
      {30, 20, 3, -1, 0, 0, 0, 0, 0, 10, 0, 10, 0, 10, 0},  // no height
      {30, 20, -2, -5, 0, 0, 0, 0, 0, 0, 0, 30, 0, 30, 0},  // damaged counts
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    TsMaskData m;
    m.Rect = graphics::Rect{0, 0, c.w, c.h};
    m.FrameCount = c.fc;
    m.MaskKind = c.mk;
    m.BorderWidth = c.bw;
    m.LeftBorder = c.l;
    m.TopBorder = c.t;
    m.RightBorder = c.r;
    m.BottomBorder = c.b;
    EXPECT_EQ(FrameWidth(m), c.frameW) << "case " << i;
    EXPECT_EQ(FrameHeight(m), c.frameH) << "case " << i;
    EXPECT_EQ(LeftWidth(m), c.left) << "case " << i;
    EXPECT_EQ(TopWidth(m), c.top) << "case " << i;
    EXPECT_EQ(RightWidth(m), c.right) << "case " << i;
    EXPECT_EQ(BottomWidth(m), c.bottom) << "case " << i;
  }
}

TEST(SkinTables, LookUpsFollowTheParentChain) {
  Fixture f;
  ASSERT_EQ(
      f.Build("[BASE]\nPATTERN=~0000,0000,0004,0004,01,0\nBORDERSMASK=@0000,0000,0004,0004,1,0\n"
              "[MID]\nPARENTCLASS=BASE\n"
              "[LEAF]\nPARENTCLASS=MID\nBORDERSMASK=@0001,0001,0004,0004,1,0\n"
              "[LOOPA]\nPARENTCLASS=LOOPB\n[LOOPB]\nPARENTCLASS=LOOPA\n"
              "[MISSINGPARENT]\nPARENTCLASS=NOWHERE\n"),
      "");
  const int base = f.t.FindSection("BASE");
  const int leaf = f.t.FindSection("LEAF");
  const int basePattern = f.t.FindImageExact("BASE", "PATTERN");
  ASSERT_GE(basePattern, 0);
  EXPECT_EQ(f.t.FindImage(leaf, "LEAF", "PATTERN"), basePattern);
  EXPECT_EQ(f.t.FindTexture(leaf, "LEAF", "PATTERN"), basePattern);
  EXPECT_EQ(f.t.FindImage(leaf, "LEAF", "BORDERSMASK"), f.t.FindImageExact("LEAF", "BORDERSMASK"));
  EXPECT_EQ(f.t.FindTexture(base, "BASE", "BORDERSMASK"), -1);  // not a texture
  EXPECT_EQ(f.t.FindImageExact("LEAF", "PATTERN"), -1);
  EXPECT_EQ(f.t.FindImage(-1, "LEAF", "PATTERN"), -1);
  EXPECT_EQ(f.t.FindImage(leaf, "", "PATTERN"), -1);
  EXPECT_EQ(f.t.FindImage(f.t.FindSection("LOOPA"), "LOOPA", "PATTERN"), -1);
  EXPECT_EQ(f.t.FindImage(f.t.FindSection("MISSINGPARENT"), "MISSINGPARENT", "PATTERN"), -1);
  EXPECT_EQ(f.t.FindPattern(leaf, "LEAF", "PATTERN"), -1);  // empty pattern table
  EXPECT_EQ(f.t.FindSection("base"), -1);
  // Section records point at their images.
  EXPECT_EQ(f.S("MID").TextureIndex, basePattern);
  EXPECT_EQ(f.S("MID").MaskIndex, f.t.FindImageExact("BASE", "BORDERSMASK"));
  EXPECT_EQ(f.S("LEAF").CornerIndex, (std::array<std::int32_t, 4>{-1, -1, -1, -1}));
}

// The indices a load gives each section are what the look-ups answer for it: the first image
// of a key, a texture only where the image is one, up the parent chain, cycles cut.
TEST(SkinTables, SectionIndicesAgreeWithTheLookUps) {
  Fixture f;
  ASSERT_EQ(f.Build("[BASE]\nPATTERN=~0000,0000,0004,0004,01,0\n"
                    "BORDERSMASK=@0000,0000,0004,0004,1,0\nIMGTOPLEFT=@0001,0000,0004,0004,1,0\n"
                    "[MID]\nPARENTCLASS=BASE\nPATTERN=@0000,0000,0002,0002,1,0\n"
                    "[LEAF]\nPARENTCLASS=MID\nBORDERSMASK=@0001,0001,0004,0004,1,0\n"
                    "BORDERSMASK=@0002,0002,0004,0004,1,0\nIMGBTMRIGHT=@0000,0001,0003,0003,1,0\n"
                    "[TWICE]\nPATTERN=@0000,0000,0003,0003,1,0\nPATTERN=~0001,0001,0004,0004,01,0\n"
                    "[LOOPA]\nPARENTCLASS=LOOPB\n[LOOPB]\nPARENTCLASS=LOOPA\n"
                    "IMGTOPRIGHT=@0000,0000,0001,0001,1,0\n"
                    "[SELF]\nPARENTCLASS=SELF\n[GONE]\nPARENTCLASS=NOWHERE\n"),
            "");
  static constexpr const char* kCorners[4] = {"IMGTOPLEFT", "IMGTOPRIGHT", "IMGBTMLEFT",
                                              "IMGBTMRIGHT"};
  for (std::size_t i = 0; i < f.t.Sections.size(); ++i) {
    const TsGeneralData& g = f.t.Sections[i];
    const int si = static_cast<int>(i);
    SCOPED_TRACE(g.SectionName);
    EXPECT_EQ(g.MaskIndex, f.t.FindImage(si, g.SectionName, "BORDERSMASK"));
    EXPECT_EQ(g.TextureIndex, f.t.FindTexture(si, g.SectionName, "PATTERN"));
    for (std::size_t c = 0; c < 4; ++c)
      EXPECT_EQ(g.CornerIndex[c], f.t.FindImage(si, g.SectionName, kCorners[c])) << kCorners[c];
  }
  // The cases above that an index could get wrong.
  EXPECT_EQ(f.S("LEAF").MaskIndex, f.t.FindImageExact("LEAF", "BORDERSMASK"));  // the first
  EXPECT_EQ(f.S("MID").TextureIndex, f.t.FindImageExact("BASE", "PATTERN"));
  EXPECT_EQ(f.S("LEAF").CornerIndex[0], f.t.FindImageExact("BASE", "IMGTOPLEFT"));
  EXPECT_GT(f.S("TWICE").TextureIndex, f.t.FindImageExact("TWICE", "PATTERN"));
  EXPECT_GE(f.S("LOOPA").CornerIndex[1], 0);
}

TEST(SkinTables, CommonSectionsMerge) {
  Fixture f;
  ASSERT_EQ(f.Build("[BUTTON]\nCOLOR=$010101\nFONTCOLOR=$020202\nGRADIENTDATA=1;2;3;4;5\n"
                    "[EDIT]\nCOLOR=$030303\n",
                    "[EDIT]\nFONTCOLOR=$0A0A0A\n"
                    "[MYBUTTON]\nPARENTCLASS=button\nCOLOR=$0B0B0B\n"
                    "[LONER]\nGLOW=2\n"),
            "");
  EXPECT_EQ(f.S("EDIT").Color, 0x030303);          // kept
  EXPECT_EQ(f.S("EDIT").FontColors[0], 0x0A0A0A);  // replaced
  EXPECT_EQ(f.S("EDIT").Props[0].FontColors[0], 0x0A0A0A);
  const TsGeneralData& my = f.S("MYBUTTON");
  EXPECT_EQ(my.Color, 0x0B0B0B);
  EXPECT_EQ(my.FontColors[0], 0x020202);  // from the parent found upper-cased
  ASSERT_EQ(my.Gradient->size(), 1u);
  EXPECT_NE(my.Gradient.get(), f.S("BUTTON").Gradient.get());  // its own stops
  EXPECT_EQ(my.Props[0].Gradient.get(), my.Gradient.get());
  EXPECT_EQ(f.S("LONER").States, 3);
  EXPECT_EQ(f.S("LONER").Glow, 2);
  EXPECT_EQ(f.t.Sections.back().SectionName, "LONER");
}

TEST(SkinTables, CommonSectionPicturesComeFromFilesOnly) {
  Fixture f;
  f.fs.Add(std::string(kPath) + "c.bmp", MakeBmp24(9, 6, [](int, int) { return 0x0u; }));
  // Without a master bitmap the "#" form of a common section is not read.
  ASSERT_EQ(
      f.Build("[A]\nx=1\n", "[A]\nPIC=c.bmp\nHASH=#(0,0,4,4)(1,0)\nAT=@0000,0000,0004,0004,1,0\n"),
      "");
  EXPECT_GE(f.t.FindImageExact("A", "PIC"), 0);
  EXPECT_EQ(f.t.FindImageExact("A", "HASH"), -1);
  EXPECT_EQ(f.t.FindImageExact("A", "AT"), -1);
}

// A picture named under many keys is read once per load, yet every image owns its own copy: a
// change made to one image's picture (here a pixel painted over) shows in no other image.
TEST(SkinTables, EachPictureFileIsReadOncePerLoad) {
  Fixture f;
  f.fs.Add(std::string(kPath) + "P.BMP", MakeBmp24(6, 6, [](int, int) { return 0x20u; }));
  f.fs.Add(std::string(kPath) + "Q.BMP", MakeBmp24(6, 6, [](int, int) { return 0x30u; }));
  ASSERT_EQ(f.Build("[A]\nK1=!P.BMP!1!0!0\nK2=!P.BMP!1!0!0\nK3=P.BMP\nK4=P.BMP\n"
                    "K5=!Q.BMP!1!0!0\nK6=!Q.BMP!1!0!0\nK7=!none.BMP!1!0!0\nK8=!none.BMP!1!0!0\n"
                    "[B]\nK1=!P.BMP!1!0!0\n"),
            "");
  // P.BMP once for the "!" form and once for the plain form, Q.BMP once.
  EXPECT_EQ(f.fs.reads, 3);
  ASSERT_EQ(f.t.Images.size(), 7u);
  const std::uint32_t p = f.I("A", "K1").Image->Row32(0)[0];
  f.t.Images[0].Image->Row32(0)[0] = 0xFF123456u;
  for (const TsMaskData& m : f.t.Images) {
    if (m.Key == "K5" || m.Key == "K6" || &m == &f.t.Images[0]) continue;
    EXPECT_EQ(m.Image->Row32(0)[0], p) << m.Section << "/" << m.Key;
    EXPECT_EQ(m.Image->Width(), 6);
  }
  EXPECT_EQ(f.I("A", "K6").Image->Row32(0)[0], 0xFF000030u);
  EXPECT_NE(f.I("A", "K5").Image.get(), f.I("A", "K6").Image.get());
}

TEST(SkinTables, HueRotationKeepsIconsAndShiftsEveryColourOnce) {
  Fixture f;
  // Master: red everywhere; the close icon lives in columns 0..7.
  f.fs.Add(std::string(kPath) + "m.bmp", MakeBmp24(16, 8, [](int, int) { return 0xFF0000u; }));
  f.fs.Add(std::string(kPath) + "own.BMP", MakeBmp24(4, 4, [](int, int) { return 0xFF0000u; }));
  f.settings.hueOffset = 120;
  ASSERT_EQ(f.Build("[GLOBALINFO]\nMASTERBITMAP=m.bmp\nBIKEEPHUE=1\nSHADOW1COLOR=$0000FF\n"
                    "BICONCLOSE=@0000,0000,0008,0008,1,0\n"
                    "SICONMAX=!own.BMP!1!0!2\nSICONMAXGLOW0=!own.BMP!1!0!2\nOTHER=!own.BMP!1!0!2\n"
                    "[S]\nSTATES=1\nCOLOR=$0000FF\nTCLEFT=-1\nGRADIENTDATA=255;255;0;0;0\n"),
            "");
  const std::uint32_t red = 0xFFFF0000u;            // B, G, R, A = 00, 00, FF, FF
  const std::uint32_t green = 0xFF00FF00u;          // red rotated by 120 degrees
  EXPECT_EQ(f.t.MasterBitmap.Row32(0)[3], red);     // kept icon copied back
  EXPECT_EQ(f.t.MasterBitmap.Row32(0)[12], green);  // the rest rotated
  EXPECT_EQ(f.I("GLOBALINFO", "SICONMAX").Image->Row32(0)[0], red);
  EXPECT_EQ(f.I("GLOBALINFO", "SICONMAXGLOW0").Image->Row32(0)[0], red);
  EXPECT_EQ(f.I("GLOBALINFO", "OTHER").Image->Row32(0)[0], green);
  const TsGeneralData& s = f.S("S");
  EXPECT_EQ(s.Color, 0x00FF00);
  EXPECT_EQ(s.Props[0].Color, 0x00FF00);
  EXPECT_EQ(s.Props[1].Color, 0x00FF00);
  EXPECT_EQ(s.FontColors[1], -1);  // "none" stays none
  EXPECT_EQ(s.Props[0].FontColors[1], -1);
  ASSERT_EQ(s.Gradient->size(), 1u);
  EXPECT_EQ((*s.Gradient)[0].Color1, 0x00FF00);  // shared stops rotated once, not twice
  EXPECT_EQ(f.t.SkinData.Shadow1Color, 0x00FF00);
}

TEST(SkinTables, KeptIconsDependOnTheKeepHueValue) {
  struct Case {
    const char* keep;
    bool closeKept, maxKept;
  };
  const Case cases[] = {{"0", false, false}, {"1", true, true}, {"2", true, false}};
  const std::uint32_t red = 0xFFFF0000u;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Fixture f;
    f.fs.Add(std::string(kPath) + "own.BMP", MakeBmp24(4, 4, [](int, int) { return 0xFF0000u; }));
    f.settings.hueOffset = 120;
    ASSERT_EQ(f.Build(std::string("[GLOBALINFO]\nBIKEEPHUE=") + cases[i].keep +
                      "\nSICONCLOSE=!own.BMP!1!0!2\nBICONMAX=!own.BMP!1!0!2\n"),
              "");
    EXPECT_EQ(f.I("GLOBALINFO", "SICONCLOSE").Image->Row32(0)[0] == red, cases[i].closeKept)
        << "case " << i;
    EXPECT_EQ(f.I("GLOBALINFO", "BICONMAX").Image->Row32(0)[0] == red, cases[i].maxKept)
        << "case " << i;
  }
}

TEST(SkinTables, SaturationAppliesModulo101) {
  Fixture f;
  f.settings.saturation = 101;  // modulo 101: nothing
  ASSERT_EQ(f.Build("[S]\nCOLOR=$204080\n"), "");
  EXPECT_EQ(f.S("S").Color, 0x204080);
  Fixture g;
  g.settings.saturation = 150;  // 49
  ASSERT_EQ(g.Build("[S]\nCOLOR=$204080\n"), "");
  EXPECT_EQ(g.S("S").Color, graphics::ChangeSaturation(0x204080, 49));
}

TEST(SkinTables, ExtendedBorderPictures) {
  Fixture f;
  f.shadows.Active = graphics::NewBitmap32(32, 32);
  f.shadows.Inactive = graphics::NewBitmap32(31, 31);
  f.settings.extendedBorders = true;
  ASSERT_EQ(f.Build("[GLOBALINFO]\nx=1\n"), "");
  EXPECT_EQ(f.t.ExtBorders.Left, 11);
  EXPECT_EQ(f.t.ExtBorders.Top, 10);
  EXPECT_EQ(f.t.ExtBorders.Right, 11);
  EXPECT_EQ(f.t.ExtBorders.Bottom, 12);
  EXPECT_EQ(f.t.ExtBorders.Active.Width(), 32);
  EXPECT_EQ(f.t.ExtBorders.Inactive.Width(), 31);
  f.platform.composition = true;
  ASSERT_EQ(f.Build("[GLOBALINFO]\nx=1\n"), "");
  EXPECT_EQ(f.t.ExtBorders.Bottom, 13);

  f.Master(40, 10, {{20, 0}});
  ASSERT_EQ(f.Build("[GLOBALINFO]\nMASTERBITMAP=m.bmp\nFORMOFFSET=2\n"
                    "EXBORDER=^0000,0000,0040,0010,0006,0005,0004,0003,2,0,0,0\n"),
            "");
  EXPECT_EQ(f.t.ExtBorders.Left, 4);
  EXPECT_EQ(f.t.ExtBorders.Top, 3);
  EXPECT_EQ(f.t.ExtBorders.Right, 2);
  EXPECT_EQ(f.t.ExtBorders.Bottom, 1);
  EXPECT_EQ(f.t.ExtBorders.Active.Width(), 20);
  EXPECT_EQ(f.t.ExtBorders.Active.Height(), 10);
  // The second frame, prepared for a layered window: its fuchsia pixel is transparent black.
  EXPECT_EQ(f.t.ExtBorders.Inactive.Row32(0)[0], 0u);
  EXPECT_EQ(f.t.ExtBorders.Inactive.Row32(0)[1], 0xFF808080u);

  // A frame far larger than the master bitmap allocates only what the bitmap holds.
  ASSERT_EQ(f.Build("[GLOBALINFO]\nMASTERBITMAP=m.bmp\n"
                    "EXBORDER=^0030,0000,9999,9999,0006,0005,0004,0003,1,0,0,0\n"),
            "");
  EXPECT_EQ(f.t.ExtBorders.Active.Width(), 10);
  EXPECT_EQ(f.t.ExtBorders.Active.Height(), 10);

  f.settings.extendedBorders = false;
  ASSERT_EQ(f.Build("[GLOBALINFO]\nx=1\n"), "");
  EXPECT_EQ(f.t.ExtBorders.Left + f.t.ExtBorders.Top + f.t.ExtBorders.Bottom, 0);
  EXPECT_TRUE(f.t.ExtBorders.Active.Empty());
}

TEST(SkinTables, TransparentPixelsSurviveHueAndSaturation) {
  Fixture f;
  // A 24-bit master bitmap: fuchsia is loaded with alpha 255 and must stay fuchsia.
  f.fs.Add(std::string(kPath) + "m.bmp", MakeBmp24(3, 1, [](int x, int) -> std::uint32_t {
             return x == 0 ? 0xFF00FFu : x == 1 ? 0xFF0000u : 0x336699u;
           }));
  f.fs.Add(std::string(kPath) + "own.BMP", MakeBmp24(2, 1, [](int x, int) -> std::uint32_t {
             return x == 0 ? 0xFF00FFu : 0xFF0000u;
           }));
  f.settings.hueOffset = 120;
  f.settings.saturation = -50;
  ASSERT_EQ(f.Build("[GLOBALINFO]\nMASTERBITMAP=m.bmp\n[S]\nPIC=!own.BMP!1!0!2\n"), "");
  EXPECT_EQ(f.t.MasterBitmap.Row32(0)[0] & 0xFFFFFFu, 0xFF00FFu);
  const std::uint32_t red = graphics::PixelFromColor(
      graphics::ChangeSaturation(graphics::ChangeHue(0x0000FF, 120), -50), 255);
  EXPECT_EQ(f.t.MasterBitmap.Row32(0)[1], red);
  const graphics::Bitmap& own = *f.I("S", "PIC").Image;
  EXPECT_EQ(own.Row32(0)[0] & 0xFFFFFFu, 0xFF00FFu);
  EXPECT_EQ(own.Row32(0)[1], red);
  // Every image knows the tables that hold it.
  for (const TsMaskData& m : f.t.Images) EXPECT_EQ(m.Owner, &f.t);
}

TEST(SkinTables, CommonSectionMaySetAKeyToMinusOne) {
  Fixture f;
  ASSERT_EQ(f.Build("[EDIT]\nTCLEFT=$0000FF\nTRANSPARENCY=20\nGLOW=3\n",
                    "[EDIT]\nTCLEFT=-1\nTRANSPARENCY=-1\nGLOW=abc\n"),
            "");
  EXPECT_EQ(f.S("EDIT").FontColors[1], -1);
  EXPECT_EQ(f.S("EDIT").Props[0].FontColors[1], -1);
  EXPECT_EQ(f.S("EDIT").Transparency, -1);
  EXPECT_EQ(f.S("EDIT").Glow, 3);  // a malformed value changes nothing
}

TEST(SkinTables, StandardPartCache) {
  Fixture f;
  ASSERT_EQ(
      f.Build(
          "[GLOBALINFO]\nBOXCHECKED=@0000,0000,0004,0004,1,0\nGRIPVERT=@0000,0000,0004,0004,1,0\n"
          "[COMBOBTN]\nBORDERSMASK=@0000,0000,0004,0004,1,0\nPATTERN=~0000,0000,0004,0004,01,0\n"
          "[SCROLLBTNTOP]\nPARENTCLASS=COMBOBTN\n"
          "[TABLEFT]\nx=1\n[WEBBUTTON]\nx=1\n"),
      "");
  const StdPartCache& c = f.t.Cache;
  EXPECT_EQ(c.GlobalInfo, 0);
  EXPECT_EQ(c.CheckBoxes[0], f.t.FindImageExact("GLOBALINFO", "BOXCHECKED"));
  EXPECT_EQ(c.CheckBoxes[1], -1);
  EXPECT_EQ(c.GripVert, f.t.FindImageExact("GLOBALINFO", "GRIPVERT"));
  EXPECT_EQ(c.ComboBtn, f.t.FindSection("COMBOBTN"));
  EXPECT_EQ(c.ComboBtnMask, f.t.FindImageExact("COMBOBTN", "BORDERSMASK"));
  EXPECT_EQ(c.ComboBtnPattern, f.t.FindImageExact("COMBOBTN", "PATTERN"));
  EXPECT_EQ(c.ComboBtnHotPattern, -1);
  EXPECT_EQ(c.ScrollParts[0], f.t.FindSection("SCROLLBTNTOP"));
  EXPECT_EQ(c.ScrollMasks[0], c.ComboBtnMask);  // through the section's own parent chain
  EXPECT_EQ(c.ScrollMasks[1], -1);
  EXPECT_EQ(c.Tabs[2], f.t.FindSection("TABLEFT"));
  EXPECT_EQ(c.WebButton, f.t.FindSection("WEBBUTTON"));
  EXPECT_EQ(c.ScrollBars[0], -1);
}

// The prepared look-ups that build the indices and the cache answer as the tables' own, also
// when a section's images are not one run (common sections add theirs at the end), a name is
// given twice, a section is its own parent or parents form a cycle.
TEST(SkinTables, PreparedLookUpsAnswerAsTheTables) {
  Fixture f;
  f.Master(8, 8);
  ASSERT_EQ(f.Build("[GLOBALINFO]\nMASTERBITMAP=m.bmp\n"
                    "[FORM]\nBORDERSMASK=#(0,0,4,4)\nPATTERN=~0000,0000,0004,0004,01,0\n"
                    "[BUTTON]\nPARENTCLASS=FORM\nGLYPH=#(0,0,2,2)\n"
                    "[SELF]\nPARENTCLASS=SELF\nX=#(0,0,2,2)\n"
                    "[A]\nPARENTCLASS=B\n[B]\nPARENTCLASS=A\nY=#(1,1,3,3)\n"
                    "[EMPTY]\nPARENTCLASS=BUTTON\n",
                    "[FORM]\nBORDERSMASK=#(0,0,2,2)\nHOTPATTERN=#(0,0,2,2)\n"
                    "[BUTTON]\nGLYPH=#(1,1,2,2)\n[NEW]\nPARENTCLASS=button\nZ=#(0,0,3,3)\n"),
            "");
  const SkinTables& t = f.t;
  ASSERT_GT(t.Images.size(), 8u);
  const detail::ImageLookup lookup(t);
  std::vector<std::string> names = {"NOPE", ""};
  std::vector<std::string> keys = {"NOKEY"};
  for (const TsGeneralData& g : t.Sections) names.push_back(g.SectionName);
  for (const TsMaskData& m : t.Images) keys.push_back(m.Key);
  int found = 0;
  for (const std::string& name : names) {
    const int si = t.FindSection(name);
    EXPECT_EQ(lookup.FindSection(name), si) << name;
    for (const std::string& key : keys) {
      EXPECT_EQ(lookup.FindExact(name, key), t.FindImageExact(name, key)) << name << "/" << key;
      EXPECT_EQ(lookup.Find(false, si, name, key), t.FindImage(si, name, key))
          << name << "/" << key;
      EXPECT_EQ(lookup.Find(true, si, name, key), t.FindTexture(si, name, key))
          << name << "/" << key;
      found += t.FindImage(si, name, key) >= 0;
    }
  }
  EXPECT_GT(found, 8);  // the cases do reach images, through parents as well
}

}  // namespace
}  // namespace sapala::skin

namespace sapala::skin {
namespace {

TEST(SkinTables, BuiltInShadowPictures) {
  const BuiltInShadows s = LoadBuiltInShadows();
  struct Case {
    const graphics::Bitmap& pic;
    int size;
    std::uint32_t plateau;
    int centreY;
  };
  const Case cases[] = {{s.Active, 32, 102, 16}, {s.Inactive, 31, 77, 14}};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    ASSERT_EQ(c.pic.Width(), c.size) << "case " << i;
    ASSERT_EQ(c.pic.Height(), c.size) << "case " << i;
    ASSERT_EQ(c.pic.Format(), graphics::PixelFormat::pf32bit);
    std::uint32_t maxAlpha = 0;
    for (int y = 0; y < c.size; ++y) {
      for (int x = 0; x < c.size; ++x) {
        const std::uint32_t px = c.pic.Row32(y)[x];
        EXPECT_EQ(px & 0xFFFFFFu, 0u) << "case " << i << ": black at " << x << "," << y;
        maxAlpha = std::max(maxAlpha, px >> 24);
        if (x == 0 || y == 0 || x == c.size - 1 || y == c.size - 1) {
          EXPECT_EQ(px >> 24, 0u) << "case " << i << ": edge " << x << "," << y;
        }
      }
    }
    EXPECT_EQ(maxAlpha, c.plateau) << "case " << i;
    EXPECT_EQ(c.pic.Row32(c.centreY)[c.size / 2] >> 24, c.plateau) << "case " << i;
  }
  // The inactive plateau sits one pixel higher: its first full row comes before the active's.
  auto firstPlateauRow = [](const graphics::Bitmap& b, std::uint32_t a) {
    for (int y = 0; y < b.Height(); ++y) {
      if (b.Row32(y)[b.Width() / 2] >> 24 == a) return y;
    }
    return -1;
  };
  EXPECT_EQ(firstPlateauRow(s.Inactive, 77) + 1, firstPlateauRow(s.Active, 102));
}

// A packed master bitmap in the plain 32-bit form is taken over from the pack when no other value
// names its file, and copied when one does, so that the other value still finds its picture.
TEST(SkinTables, PackedMasterIsTakenOnlyWhenNothingElseNamesIt) {
  graphics::Bitmap pic = graphics::NewBitmap32(6, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) pic.SetRawPixel(x, y, 0xFF000000u | std::uint32_t(x * 16 + y));
  }
  const Bytes file = codecs::WriteBmp(pic);
  const char* master = "[GLOBALINFO]\nMASTERBITMAP=M.BMP\n";
  const std::string again = std::string(master) + "[S]\nG=!M.BMP!1!0!0\n";
  for (const std::string& text : {std::string(master), again}) {
    const PackEntry entries[] = {{"Options.dat", Bytes(text.begin(), text.end())}, {"M.BMP", file}};
    TlcSkinConvertor pack;
    pack.ReadPacked(WritePacked(entries));
    const SkinText parsed = SkinText::Parse(pack.SkinText());
    SkinSource src;
    src.text = &parsed;
    src.packed = &pack;
    Fixture f;
    ASSERT_NO_THROW(f.t.Build(src, f.settings, BuildEnvironment{f.fs, f.platform, &f.shadows}))
        << text;
    const bool named = text == again;
    EXPECT_EQ(pack.Items()[0].PixelsTaken, !named) << text;
    std::vector<const graphics::Bitmap*> pictures = {&f.t.MasterBitmap};
    if (named) pictures.push_back(f.I("S", "G").Image.get());
    for (const graphics::Bitmap* b : pictures) {
      ASSERT_NE(b, nullptr);
      ASSERT_EQ(b->Width(), 6) << text;
      ASSERT_EQ(b->Height(), 4) << text;
      for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x) ASSERT_EQ(b->PixelWord(x, y), pic.PixelWord(x, y)) << text;
      }
    }
    EXPECT_TRUE(f.t.MasterBitmap.transparent);
  }
}

}  // namespace
}  // namespace sapala::skin
