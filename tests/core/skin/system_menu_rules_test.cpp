// Visibility and enabling rules of caption buttons and system-menu items, and the rows of the
// skinned system menu built from the platform's menu.
#include "core/skin/system_menu_rules.h"

#include <gtest/gtest.h>

namespace sapala::skin {
namespace {

using BS = TFormBorderStyle;
using WS = TWindowState;

FormRulesInput Rules(BS style, TBorderIcons icons, WS state = WS::wsNormal, bool mdi = false) {
  FormRulesInput f;
  f.BorderStyle = style;
  f.BorderIcons = icons;
  f.WindowState = state;
  f.MdiChild = mdi;
  return f;
}

TEST(SystemMenuRules, SixRules) {
  const TBorderIcons all = biSystemMenu | biMinimize | biMaximize;
  const TBorderIcons minOnly = biSystemMenu | biMinimize;
  struct Case {
    FormRulesInput f;
    // VisibleClose, VisibleMax, VisibleMin, EnabledMax, EnabledMin, EnabledRestore
    bool want[6];
  };
  FormRulesInput noMenu = Rules(BS::bsSizeable, all);
  noMenu.HasSystemMenu = false;
  const Case cases[] = {
      {Rules(BS::bsSizeable, all), {1, 1, 1, 1, 1, 0}},
      {Rules(BS::bsSizeable, all, WS::wsMaximized), {1, 1, 1, 0, 1, 1}},
      {Rules(BS::bsSizeable, all, WS::wsMinimized), {1, 1, 1, 1, 0, 1}},
      {Rules(BS::bsSingle, minOnly), {1, 0, 1, 0, 1, 0}},
      {Rules(BS::bsSingle, minOnly, WS::wsMinimized), {1, 1, 1, 0, 0, 1}},
      {Rules(BS::bsDialog, all), {1, 0, 0, 0, 1, 0}},
      {Rules(BS::bsToolWindow, all), {1, 0, 0, 0, 1, 0}},
      {Rules(BS::bsDialog, all, WS::wsNormal, true), {1, 1, 1, 1, 1, 0}},
      {noMenu, {0, 0, 0, 1, 1, 0}},
  };
  int n = 0;
  for (const Case& c : cases) {
    const bool have[6] = {VisibleClose(c.f), VisibleMax(c.f), VisibleMin(c.f),
                          EnabledMax(c.f),   EnabledMin(c.f), EnabledRestore(c.f)};
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(have[i], c.want[i]) << "case " << n << " rule " << i;
    }
    ++n;
  }
}

const SystemMenuRow* Row(const std::vector<SystemMenuRow>& rows, std::uint32_t tag) {
  for (const SystemMenuRow& r : rows) {
    if (r.Tag == tag) return &r;
  }
  return nullptr;
}

TEST(SystemMenuRules, ItemVisibilityAndEnabling) {
  const TBorderIcons all = biSystemMenu | biMinimize | biMaximize;
  struct Case {
    FormRulesInput f;
    // visible / enabled of restore, move, size, minimize, maximize, close
    bool visible[6], enabled[6];
  };
  const Case cases[] = {
      {Rules(BS::bsSizeable, all), {1, 1, 1, 1, 1, 1}, {0, 1, 1, 1, 1, 1}},
      // A maximized window can be neither moved nor sized.
      {Rules(BS::bsSizeable, all, WS::wsMaximized), {1, 1, 1, 1, 1, 1}, {1, 0, 0, 1, 0, 1}},
      {Rules(BS::bsSizeable, all, WS::wsMinimized), {1, 1, 1, 1, 1, 1}, {1, 1, 0, 0, 1, 1}},
      {Rules(BS::bsSingle, biSystemMenu | biMinimize), {1, 1, 1, 1, 0, 1}, {0, 1, 0, 1, 0, 1}},
      {Rules(BS::bsSingle, biSystemMenu), {0, 1, 1, 0, 0, 1}, {0, 1, 0, 0, 0, 1}},
      {Rules(BS::bsToolWindow, all), {0, 1, 0, 0, 0, 1}, {0, 1, 1, 1, 0, 1}},
      {Rules(BS::bsSizeToolWin, all), {0, 1, 1, 0, 0, 1}, {0, 1, 1, 1, 0, 1}},
      {Rules(BS::bsDialog, all, WS::wsNormal, true), {1, 1, 1, 1, 1, 1}, {0, 1, 1, 1, 1, 1}},
  };
  const std::uint32_t tags[6] = {kScRestore, kScMove, kScSize, kScMinimize, kScMaximize, kScClose};
  int n = 0;
  for (const Case& c : cases) {
    const auto rows = BuildSystemMenuRows(c.f, {});
    ASSERT_EQ(rows.size(), 6u);
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(rows[static_cast<std::size_t>(i)].Tag, tags[i]) << "case " << n;
      EXPECT_EQ(rows[static_cast<std::size_t>(i)].Visible, c.visible[i])
          << "case " << n << " item " << i;
      EXPECT_EQ(rows[static_cast<std::size_t>(i)].Enabled, c.enabled[i])
          << "case " << n << " item " << i;
    }
    ++n;
  }
}

TEST(SystemMenuRules, PlatformItemsCopied) {
  const std::vector<PlatformMenuItem> platform = {
      {kScRestore, L"&Wiwit\tAlt+R", false, false, false},
      {kScMove, L"&Pindhah", false, false, false},
      {0, L"", true, false, false},  // separator
      {kScClose, L"&Tutup\tAlt+F4", false, false, false},
      {0xF100, L"Keyboard", false, false, false},  // the platform's own extra command
      {0, L"", true, false, false},
      {0, L"Untitled", false, false, false},  // no command to post
      {0x0101, L"&About\tF1", false, false, false},
      {0x0102, L"", false, false, true},      // picture item
      {0x0103, L"More", false, true, false},  // submenu
      {0x0104, L"&Log", false, false, false},
  };
  const auto rows = BuildSystemMenuRows(Rules(BS::bsSingle, biSystemMenu | biMinimize), platform);
  std::vector<std::uint32_t> tags;
  for (const auto& r : rows) tags.push_back(r.Tag);
  EXPECT_EQ(tags, (std::vector<std::uint32_t>{kScRestore, kScMove, kScSize, kScMinimize,
                                              kScMaximize, 0x0101, 0x0104, kScClose}));
  EXPECT_EQ(Row(rows, kScRestore)->Caption, L"&Wiwit");
  EXPECT_EQ(Row(rows, kScRestore)->ShortCut, L"Alt+R");
  EXPECT_EQ(Row(rows, kScClose)->Caption, L"&Tutup");
  EXPECT_EQ(Row(rows, kScClose)->ShortCut, L"Alt+F4");
  // Missing in the platform menu: the built-in caption.
  EXPECT_EQ(Row(rows, kScMinimize)->Caption, L"Mi&nimize");
  EXPECT_EQ(Row(rows, 0x0101)->Caption, L"&About");
  EXPECT_EQ(Row(rows, 0x0101)->ShortCut, L"F1");
  EXPECT_TRUE(Row(rows, 0x0101)->Copied);
  EXPECT_EQ(Row(rows, 0x0104)->ShortCut, L"");
}

}  // namespace
}  // namespace sapala::skin
