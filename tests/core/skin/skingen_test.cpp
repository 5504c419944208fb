// The skin generator: the value texts it writes read back through the skin loader field for
// field, and the skin it draws loads (folder and packed) complete, with the geometry the title
// bar and the window region rely on.
#include <gtest/gtest.h>

#include <memory>

#include "core/codecs/bmp.h"
#include "core/skin/skin_check.h"
#include "core/skin/skin_text.h"
#include "skin_test_support.h"
#include "tools/skingen/diruri.h"
#include "tools/skingen/skin_writer.h"

namespace sapala::skingen {
namespace {

using graphics::Rect;
using skin::testing::FakePlatform;
using skin::testing::MakeBmp24;
using skin::testing::MemoryFileSystem;
using skin::testing::RecordingHost;

constexpr const char* kDir = "C:\\Skins";

struct Loaded {
  MemoryFileSystem fs;
  FakePlatform platform;
  RecordingHost host;
  std::unique_ptr<skin::SkinManagerCore> m;

  void Load(const std::string& name) {
    m = std::make_unique<skin::SkinManagerCore>(fs, platform, host);
    m->SetSkinDirectory(kDir);
    m->SetSkinName(name);
  }
  const skin::TsMaskData& Image(const char* section, const char* key) {
    const int i = m->Tables.FindImageExact(section, key);
    EXPECT_GE(i, 0) << section << "/" << key;
    return m->Tables.Images.at(static_cast<std::size_t>(std::max(i, 0)));
  }
};

TEST(SkinGen, ValueTextsReadBackFieldForField) {
  Loaded f;
  f.fs.Add(std::string(kDir) + "\\T\\m.bmp",
           MakeBmp24(2000, 1200, [](int, int) { return 0x808080u; }));
  const std::string text =
      "[GLOBALINFO]\nMASTERBITMAP=m.bmp\nVERSION=7.2\n[S]\n"
      "AT=" +
      FormatAt(Rect{1234, 56, 1987, 1111}, 7, 1) + "\n" +
      "CARET=" + FormatCaret(Rect{12, 345, 1800, 1098}, {11, 22, 33, 44}, 6, 2, 5, 9) + "\n" +
      "TILDE=" + FormatTilde(Rect{3, 4, 1005, 1006}, 10, 0) + "\n" +
      "COLOR=" + FormatColor(Hex(0x123456)) + "\n" + "GRADIENTDATA=" +
      FormatGradient(
          {{Hex(0x010203), Hex(0x0A0B0C), 40, 1}, {Hex(0xFF0000), Hex(0x00FF00), 60, 1}}) +
      "\nGRADIENTPERCENT=100\n";
  f.fs.Add(std::string(kDir) + "\\T\\Options.dat", text);
  f.Load("T");
  ASSERT_TRUE(f.platform.errors.empty()) << f.platform.errors.front();

  const skin::TsMaskData& at = f.Image("S", "AT");
  EXPECT_EQ(at.Rect, (Rect{1234, 56, 1987, 1111}));
  EXPECT_EQ(at.FrameCount, 7);
  EXPECT_EQ(at.MaskKind, 1);
  const skin::TsMaskData& caret = f.Image("S", "CARET");
  EXPECT_EQ(caret.Rect, (Rect{12, 345, 1800, 1098}));
  EXPECT_EQ(caret.LeftBorder, 11);
  EXPECT_EQ(caret.TopBorder, 22);
  EXPECT_EQ(caret.RightBorder, 33);
  EXPECT_EQ(caret.BottomBorder, 44);
  EXPECT_EQ(caret.FrameCount, 6);
  EXPECT_EQ(caret.MaskKind, 2);
  EXPECT_EQ(caret.DrawMode, 4);  // 5 with bit 0 cleared: below 7.4 the middle is not 1 × 1
  EXPECT_EQ(caret.BorderWidth, 9);
  const skin::TsMaskData& tilde = f.Image("S", "TILDE");
  EXPECT_EQ(tilde.Rect, (Rect{3, 4, 1005, 1006}));
  EXPECT_EQ(tilde.DrawMode, 10);
  EXPECT_EQ(tilde.ImageKind, 1);

  const skin::TsGeneralData& s =
      f.m->Tables.Sections.at(static_cast<std::size_t>(f.m->Tables.FindSection("S")));
  EXPECT_EQ(s.Color, graphics::RgbColor(0x12, 0x34, 0x56));
  ASSERT_TRUE(s.Gradient);
  const auto& stops = *s.Gradient;
  ASSERT_EQ(stops.size(), 2u);
  EXPECT_EQ(stops[0].Color1, graphics::RgbColor(1, 2, 3));
  EXPECT_EQ(stops[0].Color2, graphics::RgbColor(10, 11, 12));
  EXPECT_EQ(stops[0].Percent, 40);
  EXPECT_EQ(stops[1].Color2, graphics::RgbColor(0, 255, 0));
  EXPECT_EQ(stops[1].Mode, 1);

  // A value that does not fit its fixed-width field is refused, not written shifted.
  EXPECT_THROW(FormatAt(Rect{0, 0, 10000, 1}, 1, 0), std::out_of_range);
  EXPECT_THROW(FormatCaret(Rect{0, 0, 1, 1}, {}, 10, 0, 0, 0), std::out_of_range);
}

std::vector<skin::PackEntry> Draw() {
  SkinWriter w(256);
  DrawDiruriZedaz(w);
  return w.Files();
}

TEST(SkinGen, DiruriZedazLoadsCompleteFromItsFolderAndPacked) {
  const auto files = Draw();
  for (const bool packed : {false, true}) {
    SCOPED_TRACE(packed ? "packed" : "folder");
    Loaded f;
    if (packed) {
      f.fs.Add(std::string(kDir) + "\\DiruriZedaz.lsz", skin::WritePacked(files));
    } else {
      for (const skin::PackEntry& e : files)
        f.fs.Add(std::string(kDir) + "\\DiruriZedaz\\" + e.name, e.data);
    }
    f.Load(kSkinName);
    ASSERT_EQ(f.m->IsPacked(), packed);
    EXPECT_TRUE(f.platform.errors.empty());
    EXPECT_TRUE(f.platform.messages.empty());  // 7.2 loads without a version notice
    EXPECT_EQ(f.m->SkinInfo(), "7.2");
    const auto text =
        skin::SkinText::Parse(std::string(files[0].data.begin(), files[0].data.end()));
    EXPECT_EQ(skin::CheckSkin(text, f.m->Tables, skin::ProgramSkinRequirements()),
              std::vector<std::string>{});

    // Every caption button of a set has the close button's height (the layout takes that for
    // all), and fits the 22-pixel title band of frame 3 + caption 19 inside its outline.
    for (const char* set : {"BICON", "SICON"}) {
      const int h = skin::FrameHeight(f.Image("GLOBALINFO", (std::string(set) + "CLOSE").c_str()));
      EXPECT_LE(h, 18) << set;
      for (const char* kind : {"MAX", "NORM", "MIN", "HELP"}) {
        EXPECT_EQ(skin::FrameHeight(f.Image("GLOBALINFO", (std::string(set) + kind).c_str())), h)
            << set << kind;
      }
    }
    // The window region is cut along the key pixels of the frame's and the title's masks.
    EXPECT_EQ(f.Image("FORM", "BORDERSMASK").TransparentCorners, 1);
    EXPECT_EQ(f.Image("FORMTITLE", "BORDERSMASK").TransparentCorners, 1);
    EXPECT_EQ(f.Image("MAINMENU", "BORDERSMASK").BorderWidth, 3);
  }
}

TEST(SkinGen, MasterBitmapKeysAndMasks) {
  const auto files = Draw();
  ASSERT_EQ(files[1].name, SkinWriter::kMasterName);
  const graphics::Bitmap master = codecs::ReadBmp(files[1].data);
  ASSERT_EQ(master.Format(), graphics::PixelFormat::pf32bit);
  int keys = 0;
  for (int y = 0; y < master.Height(); ++y) {
    for (int x = 0; x < master.Width(); ++x) {
      const std::uint32_t v = master.PixelWord(x, y);
      if ((v & 0xFFFFFFu) == 0xFF00FFu) {
        ASSERT_EQ(v, graphics::kKeyPixel) << x << "," << y;  // the key word, alpha 0
        ++keys;
      } else {
        ASSERT_EQ(v >> 24, 0xFFu) << x << "," << y;
      }
    }
  }
  EXPECT_GT(keys, 0);
  // The caption close button: its mask row is grey, and fully covered glyph pixels take the
  // picture (mask 0) while the plate's corners keep what lies under them (mask 255).
  skin::SkinText text =
      skin::SkinText::Parse(std::string(files[0].data.begin(), files[0].data.end()));
  const std::string v(*text.Read("GLOBALINFO", "BICONCLOSE"));
  const int left = std::stoi(v.substr(1, 4)), top = std::stoi(v.substr(6, 4));
  const int frameH = (std::stoi(v.substr(16, 4)) - top) / 2;
  const std::uint32_t corner = master.PixelWord(left, top + frameH);
  const std::uint32_t centre = master.PixelWord(left + 9, top + 8 + frameH);
  EXPECT_EQ(corner & 0xFFFFFFu, 0xFFFFFFu);
  EXPECT_EQ(centre & 0xFFFFFFu, 0u);
}

}  // namespace
}  // namespace sapala::skingen
