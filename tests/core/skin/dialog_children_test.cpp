// The hook a system dialog's child gets by class and style, and when a new dialog is skinned.
#include "core/skin/dialog_children.h"

#include <gtest/gtest.h>

namespace sapala::skin {
namespace {

using K = DialogHookKind;
constexpr std::uint32_t kEdge = 0x00020000;  // WS_EX_STATICEDGE

TEST(DialogChildren, StaticsByStyle) {
  struct Case {
    std::uint32_t style, exStyle;
    DialogChildHook want;
  };
  const Case cases[] = {
      {0x0, 0, {K::staticText, "CHECKBOX"}},   // SS_LEFT: a message box's text
      {0x80, 0, {K::staticText, "CHECKBOX"}},  // SS_NOPREFIX
      {0x2, 0, {K::staticText, "CHECKBOX"}},   // SS_RIGHT
      {0x3, 0, {K::icon, "CHECKBOX"}},         // SS_ICON: a message box's icon
      {0x3, kEdge, {K::edge, "EDIT"}},
      {0xE, 0, {K::icon, "CHECKBOX"}},  // SS_BITMAP
      {0xE, kEdge, {K::edge, "EDIT"}},
      {0xF, 0, {}},  // owner-drawn bits: no hook, though the icon bits are set
      {0xD, 0, {}},  // SS_OWNERDRAW
      {0x1D, 0, {}},
      {0xD | 0x80, kEdge, {}},
      {0x5, 0, {}},  // SS_GRAYRECT
      {0x6, 0, {}},  // SS_WHITERECT
      {0xB, 0, {}},  // SS_SIMPLE keeps its text, though (style & 3) == 3
      {0x4, 0, {K::staticText, "CHECKBOX"}},
      {0x7, 0, {K::icon, "CHECKBOX"}},  // (style & 3) == 3
  };
  int n = 0;
  for (const Case& c : cases) {
    const DialogChildHook have = ClassifyDialogChild("Static", c.style, c.exStyle, true);
    EXPECT_EQ(have, c.want) << "case " << n << ": style " << std::hex << c.style << ", have kind "
                            << static_cast<int>(have.Kind) << " " << have.Section;
    ++n;
  }
}

TEST(DialogChildren, ButtonsByStyle) {
  const std::pair<std::uint32_t, DialogChildHook> cases[] = {
      {0x0, {K::button, "BUTTON"}},                                        // BS_PUSHBUTTON
      {0x1, {K::button, "BUTTON"}},                                        // BS_DEFPUSHBUTTON
      {0x7, {K::groupBox, "GROUPBOX"}}, {0x2, {K::checkBox, "CHECKBOX"}},  // BS_CHECKBOX
      {0x3, {K::checkBox, "CHECKBOX"}},                                    // BS_AUTOCHECKBOX
      {0x4, {K::checkBox, "CHECKBOX"}},                                    // BS_RADIOBUTTON
      {0x9, {K::checkBox, "CHECKBOX"}},                                    // BS_AUTORADIOBUTTON
      {0x8, {K::button, "BUTTON"}},                                        // BS_USERBUTTON
      {0x10001, {K::button, "BUTTON"}},                                    // with WS_TABSTOP
  };
  for (const auto& [style, want] : cases) {
    EXPECT_EQ(ClassifyDialogChild("BUTTON", style, 0, true), want) << "style " << std::hex << style;
  }
}

TEST(DialogChildren, OtherClassesIgnoreCase) {
  struct Case {
    const char* cls;
    std::uint32_t style;
    bool visible;
    DialogChildHook want;
  };
  const Case cases[] = {
      {"#32770", 0, true, {K::transPanel, "CHECKBOX"}},
      {"TPanel", 0, true, {K::panel, "CHECKBOX"}},
      {"TSilentPaintPanel", 0, true, {K::silentPanel, "GROUPBOX"}},
      {"Edit", 0, true, {K::edit, "EDIT"}},
      {"Edit", 0, false, {}},
      {"ComboBox", 0, true, {K::comboBox, "COMBOBOX"}},
      {"ComboLBox", 0, false, {K::edit, "COMBOBOX"}},
      {"ComboBoxEx32", 0, true, {K::comboBox, "COMBOBOX"}},
      {"ScrollBar", 0x10, true, {K::sizer, "CHECKBOX"}},
      {"ScrollBar", 0x1, true, {}},
      {"SysTabControl32", 0, true, {K::tabControl, "PAGECONTROL"}},
      {"SysTabControl32", 0x2000, true, {}},
      {"SysListView32", 0, true, {K::listView, "EDIT"}},
      {"msctls_updown32", 0, true, {K::spin, "SPEEDBUTTON_SMALL"}},
      {"msctls_trackbar32", 0, true, {K::trackBar, "TRACKBAR"}},
      {"ListBox", 0, true, {K::edit, "EDIT"}},
      {"Link Window", 0, true, {K::link, "CHECKBOX"}},
      {"SysLink", 0, true, {K::link, "CHECKBOX"}},
      {"ToolbarWindow32", 0x200, true, {K::toolBar, "BAR"}},
      {"ToolbarWindow32", 0, true, {K::toolBar, "CHECKBOX"}},
      {"SysTreeView32", 0, true, {K::treeView, "EDIT"}},
      {"SHBrowseForFolder", 0, true, {K::transPanel, "CHECKBOX"}},
      {"RichEdit20W", 0, true, {}},
      {"Statics", 0, true, {}},  // a prefix match is not a match
      {"", 0, true, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClassifyDialogChild(c.cls, c.style, 0, c.visible), c.want) << c.cls;
  }
}

TEST(DialogChildren, NewDialogSkinned) {
  // rules, visible skinned dialogs, tool bar inside → skinned
  const std::tuple<bool, int, bool, bool> cases[] = {
      {false, 0, false, false}, {false, 0, true, false}, {true, 0, false, true},
      {true, 1, false, true},   {true, 2, false, false}, {true, 2, true, true},
  };
  for (const auto& [rules, visible, toolBar, want] : cases) {
    EXPECT_EQ(SkinsNewDialog(rules, visible, toolBar), want)
        << rules << " " << visible << " " << toolBar;
  }
}

}  // namespace
}  // namespace sapala::skin
