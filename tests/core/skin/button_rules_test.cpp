// The BUTTON hooks' window-free rules: hook kind by button type, the check glyph shown for each
// type and check state, and where glyph, caption and group frame lie.
#include "core/skin/button_rules.h"

#include <gtest/gtest.h>

namespace sapala::skin {
namespace {

TEST(ButtonRules, HookKindByButtonType) {
  using K = ButtonHookKind;
  const std::pair<std::uint32_t, K> cases[] = {
      {0x0, K::pushButton},
      {0x1, K::pushButton},
      {0x2, K::checkBox},
      {0x3, K::checkBox},
      {0x4, K::checkBox},
      {0x5, K::checkBox},
      {0x6, K::checkBox},
      {0x7, K::groupBox},
      {0x8, K::none},
      {0x9, K::checkBox},
      {0xB, K::none},
      {0xC, K::none},
      {0xD, K::none},
      {0xE, K::none},
      {0xF, K::none},
      // Other style bits do not change the type.
      {0x50010003, K::checkBox},
      {0x2000 | 0x7, K::groupBox},
      {0x10000 | 0x1, K::pushButton},
      // Push-like boxes show their check state as a pressed face.
      {0x1000 | 0x3, K::none},
      {0x1000 | 0x9, K::none},
      {0x1000 | 0x0, K::pushButton},
  };
  for (const auto& [style, want] : cases) {
    EXPECT_EQ(HookKindForButtonStyle(style), want) << "style " << std::hex << style;
  }
}

TEST(ButtonRules, CheckGlyphByTypeAndState) {
  const std::array<int, 9> all = {10, 11, 12, 13, 14, 15, 16, 17, 18};
  std::array<int, 9> noGrayed = all;
  noGrayed[kBoxGrayed] = -1;
  const std::array<int, 9> none = {-1, -1, -1, -1, -1, -1, -1, -1, -1};
  struct Case {
    std::uint32_t style;
    int check;
    const std::array<int, 9>* images;
    int want;
  } cases[] = {
      {0x2, 0, &all, 11},  {0x2, 1, &all, 10},      {0x3, 1, &all, 10}, {0x5, 2, &all, 12},
      {0x6, 2, &all, 12},  {0x5, 2, &noGrayed, 10}, {0x4, 0, &all, 14}, {0x4, 1, &all, 13},
      {0x9, 1, &all, 13},  {0x9, 2, &all, 13},  // a radio button has no third state
      {0x3, 1, &none, -1},
  };
  int n = 0;
  for (const Case& c : cases) {
    EXPECT_EQ(CheckGlyphImage(c.style, c.check, *c.images), c.want) << "case " << n;
    ++n;
  }
}

TEST(ButtonRules, CheckBoxLayout) {
  using R = graphics::Rect;
  struct Case {
    int w, h, gw, gh;
    bool right;
    R glyph, text;
  } cases[] = {
      {100, 20, 13, 13, false, {0, 3, 13, 16}, {17, 0, 100, 20}},
      {100, 20, 13, 13, true, {87, 3, 100, 16}, {0, 0, 83, 20}},
      // A box lower than its glyph: the glyph is centred and sticks out evenly.
      {100, 9, 13, 13, false, {0, -2, 13, 11}, {17, 0, 100, 9}},
      // Narrower than glyph and gap: no room for text, the glyph is cut to the box.
      {10, 20, 13, 13, false, {0, 3, 10, 16}, {10, 0, 10, 20}},
      {0, 0, 13, 13, false, {0, -6, 0, 7}, {0, 0, 0, 0}},
  };
  int n = 0;
  for (const Case& c : cases) {
    const auto l = LayoutCheckBox(c.w, c.h, c.gw, c.gh, c.right, 4);
    EXPECT_EQ(l.Glyph, c.glyph) << "case " << n;
    EXPECT_EQ(l.TextArea, c.text) << "case " << n;
    ++n;
  }
}

TEST(ButtonRules, GroupBoxLayout) {
  using R = graphics::Rect;
  struct Case {
    int w, h, tw, th;
    bool right;
    R frame, caption;
  } cases[] = {
      {200, 100, 50, 14, false, {0, 7, 200, 100}, {8, 0, 58, 14}},
      {200, 100, 50, 14, true, {0, 7, 200, 100}, {142, 0, 192, 14}},
      {200, 100, 0, 14, false, {0, 7, 200, 100}, {}},  // no caption: the line stays
      {200, 100, 0, 0, false, {0, 0, 200, 100}, {}},
      {40, 100, 50, 14, false, {0, 7, 40, 100}, {8, 0, 32, 14}},  // cut to the frame
      {200, 5, 50, 14, false, {0, 5, 200, 5}, {8, 0, 58, 5}},     // lower than its caption
  };
  int n = 0;
  for (const Case& c : cases) {
    const auto l = LayoutGroupBox(c.w, c.h, c.tw, c.th, 8, c.right);
    EXPECT_EQ(l.Frame, c.frame) << "case " << n;
    EXPECT_EQ(l.Caption, c.caption) << "case " << n;
    ++n;
  }
}

}  // namespace
}  // namespace sapala::skin
