// Window-free rules of the control skin state: kind tables, background kind, colour answers and
// the own-background test behind the simple-background flag.
#include "core/skin/control_rules.h"

#include <gtest/gtest.h>

namespace sapala::skin {
namespace {

TEST(ControlRules, DefaultSectionsAndKindSets) {
  const std::pair<int, const char*> cases[] = {
      {2, "EDIT"},         {8, "EDIT"},       {9, "TMyClass"},    {10, "EDIT"},
      {11, "COMBOBOX"},    {82, "COMBOBOX"},  {83, "EDIT"},       {85, "EDIT"},
      {19, "BAR"},         {20, "BARTITLE"},  {32, "CHECKBOX"},   {152, "CHECKBOX"},
      {33, "RADIOBUTTON"}, {59, "PANEL"},     {58, "PANEL_LOW"},  {54, "TOOLBAR"},
      {56, "DRAGBAR"},     {57, "TABSHEET"},  {226, "GROUPBOX"},  {75, "SPLITTER"},
      {95, "SPEEDBUTTON"}, {94, "BUTTON"},    {98, "TOOLBUTTON"}, {143, "PAGECONTROL"},
      {151, "STATUSBAR"},  {161, "GAUGE"},    {165, "TRACKBAR"},  {227, "EDIT"},
      {0, "TMyClass"},     {255, "TMyClass"},
  };
  for (const auto& [kind, want] : cases) {
    EXPECT_EQ(DefaultSectionForKind(kind, "TMyClass"), want) << "kind " << kind;
  }
  EXPECT_TRUE(IsColorApplyingKind(2));
  EXPECT_TRUE(IsColorApplyingKind(140));
  EXPECT_FALSE(IsColorApplyingKind(19));
  EXPECT_TRUE(IsHoverInactiveKind(74));
  EXPECT_FALSE(IsHoverInactiveKind(75));
  EXPECT_TRUE(IsNeverGlowingKind(226));
  EXPECT_FALSE(IsNeverGlowingKind(53));
  EXPECT_FALSE(IsNeverGlowingKind(93));
}

TsGeneralData Section(TColor color, int transparency) {
  TsGeneralData g;
  g.Color = color;
  g.Transparency = transparency;
  g.States = 1;
  g.FillProps();
  return g;
}

TEST(ControlRules, FallbackSections) {
  const std::pair<const char*, const char*> cases[] = {
      {"COMBOBOX", "EDIT"}, {"COMBOBTN", "BUTTON"}, {"COLHEADER", "BUTTON"},
      {"combobox", ""},     {"EDIT", ""},           {"BUTTON", ""},
  };
  for (const auto& [section, want] : cases) {
    EXPECT_EQ(FallbackSection(section), want) << section;
  }
}

TEST(ControlRules, BackgroundKindAndColourAnswers) {
  TsGeneralData g = Section(0x102030, 0);
  EXPECT_EQ(BackgroundKindOf(g), 0);
  g.ImagePercent = 10;
  g.GradientPercent = 20;
  g.Gradient->push_back({1, 2, 50, 2});
  EXPECT_EQ(BackgroundKindOf(g), 7);
  (*g.Gradient)[0].Mode = 1;
  EXPECT_EQ(BackgroundKindOf(g), 5);

  const TsGeneralData t40 = Section(0x000000, 40);
  // (t × (p − c) + 256 × c) >> 8 per channel: 40 × 200 >> 8 = 31.
  EXPECT_EQ(BackgroundColorAnswer(t40, true, 0xC8C8C8, 0, 0x777777), 0x1F1F1F);
  // A fuchsia answer of the parent becomes the parent's own colour.
  EXPECT_EQ(BackgroundColorAnswer(Section(0x123456, 100), true, kFuchsia, 0x0A0B0C, 0), 0x0A0B0C);
  EXPECT_EQ(BackgroundColorAnswer(Section(0x123456, 100), false, 0, 0, 0x777777), 0x777777);
  EXPECT_EQ(BackgroundColorAnswer(Section(0x123456, 0), true, 0xFFFFFF, 0, 0), 0x123456);

  EXPECT_EQ(EffectiveBackgroundColor(&t40, false, true, 0xC8C8C8, 0),
            graphics::MixColors(0xC8C8C8, 0x000000, 0.4));
  const TsGeneralData opaque = Section(0x123456, 0);
  EXPECT_EQ(EffectiveBackgroundColor(&opaque, false, true, 0, 0x777777), 0x123456);
  EXPECT_EQ(EffectiveBackgroundColor(&opaque, false, false, 0, 0x777777), 0x777777);
}

TEST(ControlRules, OwnBackground) {
  TsMaskData wide;
  wide.LeftBorder = 11;
  wide.RightBorder = 10;
  wide.TopBorder = wide.BottomBorder = 1;
  TsMaskData narrow = wide;
  narrow.RightBorder = 9;
  const TsGeneralData plain = Section(0, 0);
  EXPECT_TRUE(BackgroundIsOwn(plain, &wide, true, true));  // 21 > 20
  EXPECT_FALSE(BackgroundIsOwn(plain, &narrow, true, true));
  EXPECT_FALSE(BackgroundIsOwn(plain, nullptr, false, false));
  EXPECT_TRUE(BackgroundIsOwn(Section(0, 50), nullptr, true, true));
  const TsGeneralData clear = Section(0, 100);
  EXPECT_FALSE(BackgroundIsOwn(clear, nullptr, true, true));  // over a simple parent
  EXPECT_TRUE(BackgroundIsOwn(clear, nullptr, true, false));
  EXPECT_TRUE(BackgroundIsOwn(clear, nullptr, false, true));
  narrow.DrawMode = 10;
  EXPECT_TRUE(BackgroundIsOwn(clear, &narrow, true, true));
}

}  // namespace
}  // namespace sapala::skin
