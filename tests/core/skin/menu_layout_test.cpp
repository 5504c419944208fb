// Popup menu rules: item kinds, measuring, popup sizes, the background picture and the corners
// cut out of the popup's region.
#include "core/skin/menu_layout.h"

#include <gtest/gtest.h>

#include "core/graphics/color.h"
#include "paint_test_support.h"

namespace sapala::skin {
namespace {

using graphics::Rect;
using testing::AddImage;
using testing::ReadGrid;
using Grid = std::vector<std::string>;

TEST(MenuItemKinds, ByCaption) {
  struct Case {
    std::wstring caption;
    MenuItemKind kind;
    std::wstring title;
  } cases[] = {
      {L"-", MenuItemKind::separator, L""},
      {L"--", MenuItemKind::title, L""},
      {L"-Files-", MenuItemKind::title, L"Files"},
      {L"-a-b-", MenuItemKind::title, L"a"},
      {L"-Open", MenuItemKind::normal, L"Open"},
      {L"Open-", MenuItemKind::normal, L"Open"},
      {L"", MenuItemKind::normal, L""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ItemKindOf(c.caption), c.kind) << std::string(c.caption.begin(), c.caption.end());
    if (c.kind == MenuItemKind::title) {
      EXPECT_EQ(TitleText(c.caption), c.title);
    }
  }
  EXPECT_EQ(MeasuredText(MenuItemKind::title, L"-T-", L"x"), L"--T--");
  EXPECT_EQ(MeasuredText(MenuItemKind::separator, L"-", L"x"), L"");
  EXPECT_EQ(MeasuredText(MenuItemKind::normal, L"Open", L"Ctrl+O"), L"OpenCtrl+O");
}

TEST(MenuItemKinds, GlyphSizeTakesTheFirstKnownSource) {
  EXPECT_EQ(GlyphSize({20, 10}, {24, 24}, {32, 32}), (MenuSize{20, 10}));
  EXPECT_EQ(GlyphSize({}, {24, 24}, {32, 32}), (MenuSize{24, 24}));
  EXPECT_EQ(GlyphSize({}, {}, {32, 32}), (MenuSize{32, 32}));
  EXPECT_EQ(GlyphSize({}, {}, {}), (MenuSize{16, 16}));
}

TEST(MeasureMenuItem, WidthAndHeightRules) {
  const MenuSpacing s;  // margin 2, spacing 8
  struct Case {
    MeasureInput in;
    MenuSize want;
  } cases[] = {
      // 2 * 16 + 50 + 6 + 8; round(13 * 1.25) = 16 (16.25), + 4
      {{MenuItemKind::normal, 50, 13, {16, 16}, false, 32}, {96, 20}},
      // 1.25 * 10 = 12.5 rounds to even 12
      {{MenuItemKind::title, 50, 10, {16, 16}, false, 32}, {96, 16}},
      // a tall glyph wins over the text line
      {{MenuItemKind::normal, 10, 13, {24, 30}, false, 32}, {72, 34}},
      // the extra line widens an item beside it only
      {{MenuItemKind::normal, 50, 13, {16, 16}, true, 32}, {128, 20}},
      // a title ignores the glyph height
      {{MenuItemKind::title, 40, 13, {16, 40}, false, 32}, {86, 20}},
      // a separator is 2 high whatever its font and glyph
      {{MenuItemKind::separator, 0, 13, {16, 40}, false, 32}, {46, 2}},
  };
  int n = 0;
  for (const Case& c : cases) {
    EXPECT_EQ(MeasureMenuItem(c.in, s), c.want) << "case " << n;
    ++n;
  }
}

TEST(PopupSize, ColumnsBreaksAndHiddenItems) {
  struct Case {
    std::vector<PopupItem> items;
    MenuSize want;
  } cases[] = {
      {{}, {6, 6}},
      {{{{50, 20}}, {{70, 20}}, {{90, 20}, false}}, {70 + 12 + 6, 40 + 6}},
      // second column starts at the break: (70 + 12) + 4 + (30 + 12), tallest column 40
      {{{{50, 20}}, {{70, 20}}, {{30, 10}, true, true}}, {82 + 4 + 42 + 6, 46}},
      // a break on a hidden item does not start a column; a break on the first item neither
      {{{{50, 20}, true, true}, {{30, 10}, false, true}, {{70, 20}}}, {88, 46}},
  };
  int n = 0;
  for (const Case& c : cases) {
    EXPECT_EQ(PopupSize(c.items, 3), c.want) << "case " << n;
    ++n;
  }
}

TEST(PopupBackground, GlyphColumnAndExtraLinePlaces) {
  const MenuSpacing s;
  PopupBackgroundLayout l = LayoutPopupBackground(100, 60, 3, 0, 16, false, s);
  EXPECT_EQ(l.glyphColumn, (Rect{3, 3, 3 + 26, 57}));
  EXPECT_TRUE(l.extraLine.empty());
  l = LayoutPopupBackground(100, 60, 3, 32, 16, false, s);
  EXPECT_EQ(l.extraLine, (Rect{3, 3, 35, 57}));
  EXPECT_EQ(l.glyphColumn, (Rect{35, 3, 61, 57}));
  l = LayoutPopupBackground(100, 60, 3, 0, 16, true, s);
  EXPECT_TRUE(l.glyphColumn.empty());
}

// A skin with a menu colour 'm', a glyph column 'i', an extra line 'e' and a 4 × 4 frame of 'b'
// (1 pixel wide) whose top-left and bottom-right corner pixels are transparent.
SkinTables MenuSkin(int borderWidth) {
  SkinTables t;
  auto section = [&](const std::string& name, char c) {
    TsGeneralData g;
    g.SectionName = name;
    g.Color = graphics::ColorFromPixel(testing::GridPixel(c)) & 0xFFFFFF;
    g.States = 1;
    g.FillProps();
    t.Sections.push_back(g);
  };
  section("MAINMENU", 'm');
  section("ICOLINE", 'i');
  section("EXTRALINE", 'e');
  const int mask = AddImage(t, {".bbb", "bbbb", "bbbb", "bbb."}, 1, 0, {1, 1, 1, 1}, 1, 0,
                            "MAINMENU", "BORDERSMASK");
  t.Images[static_cast<std::size_t>(mask)].BorderWidth = static_cast<std::int16_t>(borderWidth);
  return t;
}

TEST(PopupBackground, SectionsColumnAndFrame) {
  const SkinTables t = MenuSkin(1);
  PopupBackgroundInput in;
  in.width = 16;
  in.height = 5;
  in.glyphWidth = 2;
  in.spacing.margin = 1;
  in.spacing.spacing = 1;
  in.extraLineWidth = 3;
  const graphics::Bitmap b = BuildPopupBackground(t, in);
  // Frame outermost (corners keep what was under their transparent pixels), extra line from
  // x = 1, glyph column (1 + 2 + 1 wide) right of it, the menu colour after that.
  EXPECT_EQ(ReadGrid(b), (Grid{"mbbbbbbbbbbbbbbb", "beeeiiiimmmmmmmb", "beeeiiiimmmmmmmb",
                               "beeeiiiimmmmmmmb", "bbbbbbbbbbbbbbbm"}));
  in.extraLineWidth = 0;
  in.rightAligned = true;
  EXPECT_EQ(ReadGrid(BuildPopupBackground(t, in))[1], "bmmmmmmmmmmmmmmb");
  EXPECT_TRUE(BuildPopupBackground(SkinTables{}, in).Width() == 16);
  in.width = 0;
  EXPECT_TRUE(BuildPopupBackground(t, in).Empty());
}

TEST(PopupBackground, SkinBorderWidthAndCutouts) {
  EXPECT_EQ(MenuSkinBorderWidth(MenuSkin(2)), 2);
  EXPECT_EQ(MenuSkinBorderWidth(MenuSkin(0)), 3);
  EXPECT_EQ(MenuSkinBorderWidth(SkinTables{}), 0);

  const SkinTables t = MenuSkin(1);
  EXPECT_EQ(PopupBorderCutouts(t, 10, 8), (std::vector<Rect>{{0, 0, 1, 1}, {9, 7, 10, 8}}));
  EXPECT_TRUE(PopupBorderCutouts(SkinTables{}, 10, 8).empty());

  // Wider transparent runs in a 2-pixel frame become one rectangle per row.
  SkinTables w;
  AddImage(w, {"..bb..", ".bbbb.", "bbbbbb", "bbbbbb", "bbbbbb", "bbbbbb"}, 1, 0, {2, 2, 2, 2}, 1,
           0, "MAINMENU", "BORDERSMASK");
  EXPECT_EQ(PopupBorderCutouts(w, 20, 9),
            (std::vector<Rect>{{0, 0, 2, 1}, {0, 1, 1, 2}, {18, 0, 20, 1}, {19, 1, 20, 2}}));
}

TEST(SeparatorLine, StaysRightOfTheGlyphColumn) {
  const MenuSpacing s;
  EXPECT_EQ(SeparatorLine(100, 2, 0, 3, s), (Rect{10, 1, 88, 2}));
  EXPECT_EQ(SeparatorLine(100, 2, 0, 29, s), (Rect{31, 1, 88, 2}));
  EXPECT_EQ(SeparatorLine(100, 2, 32, 0, s), (Rect{42, 1, 88, 2}));
  EXPECT_TRUE(SeparatorLine(20, 2, 0, 29, s).empty());
}

TEST(MeasureBarItem, GlyphAllowanceBySource) {
  struct Case {
    BarItemInput in;
    int width;
  } cases[] = {
      {{40, 0, 0, false, true, 19}, 40},   // caption only
      {{40, 12, 16, true, true, 19}, 58},  // an own bitmap wins over images: + 6
      {{40, 0, 16, false, true, 19}, 60},  // Vista, images, none for this item: + 4
      {{40, 0, 16, true, true, 19}, 56},   // Vista, with image
      {{40, 0, 16, true, false, 19}, 62},  // earlier, with image: + 6
      {{40, 0, 16, false, false, 19}, 40},
  };
  int n = 0;
  for (const Case& c : cases) {
    EXPECT_EQ(MeasureBarItem(c.in), (MenuSize{c.width, 18})) << "case " << n;
    ++n;
  }
}

TEST(SystemMenuSymbol, WebdingsLettersByCommand) {
  const std::pair<unsigned, wchar_t> cases[] = {{0xF020, L'0'}, {0xF030, L'1'}, {0xF060, L'r'},
                                                {0xF120, L'2'}, {0xF010, 0},    {0xF000, 0}};
  for (auto [tag, symbol] : cases) EXPECT_EQ(SystemMenuSymbol(tag), symbol) << tag;
}

}  // namespace
}  // namespace sapala::skin
