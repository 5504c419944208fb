// The hit-test map of a skinned frame: caption buttons and their rights, sizing borders and
// corners, caption, icon, menu line, grip and client.
#include "core/skin/frame_hit_test.h"

#include <gtest/gtest.h>

#include "core/skin/skin_tables.h"

namespace sapala::skin {
namespace {

using graphics::Rect;

struct Window {
  SkinTables tables;  // no masks: every button 21 × 21
  FrameFormInput form;
  FrameMetrics metrics{4, 3, 19, 16};
  FrameSkinValues skin;
  CaptionButtonLayout layout;
  FrameHitInput in;

  // A 200 × 150 window: frame 4, caption 19; buttons close 175..196, maximize 154..175,
  // minimize 133..154, rows 1..22; icon 4..20 × 4..20.
  Window(TFormBorderStyle style, TBorderIcons icons, TWindowState state) {
    TsGeneralData g;
    g.SectionName = "GLOBALINFO";
    tables.Sections.push_back(g);
    form.Rules.BorderStyle = style;
    form.Rules.BorderIcons = icons;
    form.Rules.WindowState = state;
    form.ThickFrame = true;
    form.FullCaption = true;
    form.Width = 200;
    form.UserButtons = {{true, false, 0}};
    Relayout();
  }
  void Relayout() {
    layout =
        LayoutCaptionButtons(tables, form, metrics, skin, ChooseButtonImages(tables, form.Rules));
    in.Width = form.Width;
    in.Height = 150;
    in.Frame = FormFrameWidth(form, metrics, skin);
    in.Caption = CaptionHeight(form, metrics, skin);
    in.ThickFrame = form.ThickFrame;
    in.Rules = form.Rules;
    in.Icon = IconRect(form, metrics, skin);
    in.Buttons = &layout;
  }
  int At(int x, int y) {
    in.Point = {x, y};
    return FrameHitTest(in);
  }
};

constexpr TBorderIcons kAll = biSystemMenu | biMinimize | biMaximize;

TEST(FrameHitTest, MapOfSizeableWindow) {
  Window w(TFormBorderStyle::bsSizeable, kAll, TWindowState::wsNormal);
  w.in.MenuHeight = 18;
  w.in.Grip = Rect{180, 130, 196, 146};
  struct Case {
    int x, y, want;
  };
  const Case cases[] = {
      {180, 10, 20},  {160, 10, 9},   {140, 10, 8},  {100, 10, 2},  {10, 10, 3},
      {120, 10, 2},  // the disabled user button is caption
      {2, 10, 10},    {196, 50, 11},  {195, 50, 1},  {100, 1, 12},  {1, 1, 13},
      {198, 1, 14},   {100, 146, 15}, {100, 145, 1}, {1, 148, 16},  {199, 149, 17},
      {3, 60, 10},    {4, 60, 1},     {100, 23, 5},  {100, 40, 5},  {100, 41, 1},
      {185, 135, 17}, {180, 130, 17}, {179, 135, 1}, {185, 129, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(w.At(c.x, c.y), c.want) << "point " << c.x << "," << c.y;
  }
}

TEST(FrameHitTest, RightsAndStates) {
  // Maximized: no sizing borders; maximize (restore) still a button.
  Window max(TFormBorderStyle::bsSizeable, kAll, TWindowState::wsMaximized);
  EXPECT_EQ(max.At(1, 1), 2);
  EXPECT_EQ(max.At(100, 148), 1);
  EXPECT_EQ(max.At(160, 10), 9);

  // Minimized without maximize rights: the maximize place is caption, minimize still answers.
  Window min(TFormBorderStyle::bsSingle, biSystemMenu | biMinimize, TWindowState::wsMinimized);
  EXPECT_EQ(min.At(160, 10), 2);
  EXPECT_EQ(min.At(140, 10), 8);

  // With extended borders the companion window answers for the buttons.
  Window ext(TFormBorderStyle::bsSizeable, kAll, TWindowState::wsNormal);
  ext.in.ExtendedBorders = true;
  EXPECT_EQ(ext.At(180, 10), 2);
  EXPECT_EQ(ext.At(1, 60), 1);

  // A maximized MDI child's buttons in the menu line.
  Window mdi(TFormBorderStyle::bsSizeable, kAll, TWindowState::wsNormal);
  mdi.in.MenuHeight = 18;
  mdi.in.MdiChildMaximized = true;
  mdi.in.MdiButtons = {Rect{170, 24, 186, 40}, Rect{150, 24, 166, 40}, Rect{130, 24, 146, 40}};
  EXPECT_EQ(mdi.At(175, 30), 101);
  EXPECT_EQ(mdi.At(155, 30), 102);
  EXPECT_EQ(mdi.At(135, 30), 103);
  EXPECT_EQ(mdi.At(100, 30), 5);
}

TEST(FrameHitTest, CodeClasses) {
  for (int code : {8, 9, 20, 21, 101, 102, 103, 1000, 1100}) {
    EXPECT_TRUE(IsCaptionButtonHit(code)) << code;
  }
  for (int code : {0, 1, 2, 3, 5, 10, 17, 100, 104, 999, 1101}) {
    EXPECT_FALSE(IsCaptionButtonHit(code)) << code;
  }
  for (int code : {0, 1, 2, 5}) EXPECT_TRUE(HitGoesToDefault(code)) << code;
  for (int code : {3, 8, 10, 17, 20}) EXPECT_FALSE(HitGoesToDefault(code)) << code;
}

}  // namespace
}  // namespace sapala::skin
