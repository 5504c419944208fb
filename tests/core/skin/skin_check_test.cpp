// The skin check: what a skin lacks of a requirement list, values found through PARENTCLASS,
// and images whose geometry cannot be painted from.
#include "core/skin/skin_check.h"

#include <gtest/gtest.h>

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
  SkinText text;

  Fixture() {
    fs.Add(std::string(kPath) + "m.bmp", MakeBmp24(64, 32, [](int, int) { return 0x808080u; }));
  }
  std::vector<std::string> Check(const std::string& skin,
                                 const std::vector<SectionRequirement>& required) {
    text = SkinText::Parse("[GLOBALINFO]\nMASTERBITMAP=m.bmp\nVERSION=7.2\n" + skin);
    SkinSource src;
    src.text = &text;
    src.skinPath = kPath;
    BuildSettings settings;
    settings.skinName = "T";
    t.Build(src, settings, BuildEnvironment{fs, platform, &shadows});
    return CheckSkin(text, t, required);
  }
};

TEST(SkinCheck, ReportsMissingSectionsValuesAndImages) {
  Fixture f;
  const std::vector<SectionRequirement> required = {
      {"BUTTON", {"COLOR", "FONTCOLOR"}, {"BORDERSMASK"}, {"GLOW0"}, {}},
      {"CHILD", {"COLOR"}, {"BORDERSMASK"}, {"GLOW0"}, {"PATTERN"}},
      {"ABSENT", {}, {}, {}, {}},
  };
  const auto problems = f.Check(
      "[BUTTON]\nCOLOR=$FFFFFF\nFONTCOLOR=?\nBORDERSMASK=^0000,0000,0012,0012,0002,0002,0002,0002,"
      "1,1,0,0\n"
      "GLOW0=@0012,0000,0024,0006,1,0\n"
      "[CHILD]\nPARENTCLASS=BUTTON\nPATTERN=~0000,0012,0010,0022,00,0\n",
      required);
  // CHILD inherits COLOR and BORDERSMASK, but the glow is looked up in the section itself.
  const std::vector<std::string> want = {"BUTTON: missing value FONTCOLOR",
                                         "CHILD: missing image GLOW0", "missing section ABSENT"};
  EXPECT_EQ(problems, want);
}

TEST(SkinCheck, ParentCycleEndsTheValueSearch) {
  Fixture f;
  const auto problems =
      f.Check("[A]\nPARENTCLASS=B\n[B]\nPARENTCLASS=A\n", {{"A", {"COLOR"}, {}, {}, {}}});
  EXPECT_EQ(problems, std::vector<std::string>{"A: missing value COLOR"});
}

TEST(SkinCheck, ImagesThatCannotBePaintedFrom) {
  Fixture f;
  const auto problems = f.Check(
      "[S]\n"
      "FINE=^0000,0000,0030,0020,0004,0004,0004,0004,3,1,0,0\n"
      "OUTSIDE=@0060,0000,0070,0010,1,0\n"
      "FRAMES=@0000,0000,0010,0010,3,0\n"
      "ROWS=@0000,0000,0010,0009,1,1\n"
      "WIDE=^0000,0000,0030,0020,0006,0002,0005,0002,3,1,0,0\n"
      "HIGH=^0000,0000,0030,0020,0002,0006,0002,0005,3,1,0,0\n"
      "EMPTY=@0010,0010,0010,0020,1,0\n",
      {});
  const std::vector<std::string> want = {
      "image 1 S/OUTSIDE: its rectangle lies outside its bitmap",
      "image 2 S/FRAMES: its width is not a whole number of frames",
      "image 3 S/ROWS: its height is not a whole number of rows",
      "image 4 S/WIDE: its borders are wider than a frame",
      "image 5 S/HIGH: its borders are higher than a frame",
      "image 6 S/EMPTY: its rectangle is empty",
  };
  EXPECT_EQ(problems, want);
}

TEST(SkinCheck, ImagesOfASkinWithoutMasterBitmap) {
  Fixture f;
  f.fs = MemoryFileSystem();  // MASTERBITMAP names a file that is not there
  const auto problems = f.Check("[S]\nA=@0000,0000,0010,0010,1,0\n", {});
  EXPECT_EQ(problems, std::vector<std::string>{"image 0 S/A: the skin has no master bitmap"});
}

}  // namespace
}  // namespace sapala::skin
