// Effect settings: defaults after construction, the glowing condition, and the class-name lists
// with their index mapping and blank-versus-empty rule.
#include "core/skin/effects.h"

#include <gtest/gtest.h>

namespace sapala::skin {
namespace {

TEST(Effects, AnimationDefaults) {
  TlcAnimEffects a;
  struct Case {
    const char* name;
    const TlcFormAnimation& anim;
    bool active;
    int time;
    TlcAnimType mode;
  };
  const Case cases[] = {
      {"FormShow", a.FormShow, true, 0, TlcAnimType::atAero},
      {"FormHide", a.FormHide, true, 0, TlcAnimType::atAero},
      {"DialogHide", a.DialogHide, true, 0, TlcAnimType::atAero},
      {"DialogShow", a.DialogShow, true, 0, TlcAnimType::atAero},
      {"Minimizing", a.Minimizing, true, 200, TlcAnimType::atAero},
      {"PageChange", a.PageChange, true, 0, TlcAnimType::atAero},
      {"SkinChanging", a.SkinChanging, true, 100, TlcAnimType::atFading},
      {"BlendOnMoving", a.BlendOnMoving, false, 1000, TlcAnimType::atAero},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.anim.Active, c.active) << c.name;
    EXPECT_EQ(c.anim.Time, c.time) << c.name;
    EXPECT_EQ(c.anim.Mode, c.mode) << c.name;
  }
  EXPECT_EQ(a.BlendOnMoving.BlendValue, 170);
  EXPECT_EQ(a.Buttons.Events, beMouseEnter | beMouseLeave | beMouseDown | beMouseUp);
  TlcMenuSupport m;
  EXPECT_EQ(m.IcoLineSkin, "");
  EXPECT_FALSE(m.UseExtraLine);
  EXPECT_EQ(m.ExtraLineWidth, 32);
}

struct FakeGlow : GlowPlatform {
  bool layered = true, design = false, wow = false;
  bool LayeredWindowsAvailable() const override { return layered; }
  bool DesignMode() const override { return design; }
  bool Wow64WithoutComposition() const override { return wow; }
};

TEST(Effects, AllowGlowingNeedsLayeredWindows) {
  struct Case {
    bool stored, layered, design, wow, want;
  };
  const Case cases[] = {
      {true, true, false, false, true},   {false, true, false, false, false},
      {true, false, false, false, false},  // no layered windows
      {true, false, true, false, true},    // design mode waives it
      {true, true, false, true, false},    // 32-bit on 64-bit with composition off
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    FakeGlow p;
    p.layered = cases[i].layered;
    p.design = cases[i].design;
    p.wow = cases[i].wow;
    TlcSkinEffects e(&p);
    EXPECT_TRUE(e.StoredAllowGlowing());
    e.SetAllowGlowing(cases[i].stored);
    EXPECT_EQ(e.AllowGlowing(), cases[i].want) << "case " << i;
  }
  EXPECT_FALSE(TlcSkinEffects().AllowGlowing());
}

TEST(Effects, ThirdPartyIndexMappingAndStreamOrder) {
  ThirdPartyList l;
  EXPECT_EQ(l.Get(1), "TButton");
  EXPECT_EQ(l.Get(0), " ");
  EXPECT_EQ(l.Get(18), "");
  EXPECT_EQ(l.Get(-1), "");
  l.Set(18, "x");  // ignored
  EXPECT_EQ(ThirdPartyPropertyName(4), "ThirdComboBoxes");
  EXPECT_EQ(ThirdPartyDisplayName(4), "ComboBox");
  EXPECT_EQ(ThirdPartyPropertyName(11), "ThirdGridEh");
  EXPECT_EQ(ThirdPartyDisplayName(12), "VirtualTree");
  ASSERT_TRUE(l.SetByName("ThirdGrids", "TDBGrid"));
  EXPECT_EQ(l.Get(5), "TDBGrid");
  EXPECT_FALSE(l.SetByName("ThirdNothing", "x"));
  // The streaming order is a permutation of all eighteen indices.
  std::array<int, kThirdPartyCount> seen{};
  for (int i : kThirdPartyStreamOrder) ++seen[static_cast<std::size_t>(i)];
  for (int n : seen) EXPECT_EQ(n, 1);
  EXPECT_EQ(ThirdPartyPropertyName(kThirdPartyStreamOrder[4]), "ThirdGroupBoxes");
}

TEST(Effects, ClassListsBlankVersusEmpty) {
  ThirdPartyList props;
  props.Set(1, "TButton\r\nTMyButton");
  props.Set(0, "");         // empty: takes its default " "
  props.Set(5, "TGrid\n");  // a final line break adds no empty line
  ThirdPartyClassLists lists;
  lists.LoadFrom(props);
  EXPECT_EQ(props.Get(0), " ");
  EXPECT_EQ(lists.Lines(0), std::vector<std::string>{" "});
  EXPECT_TRUE(lists.Contains(1, "TButton"));
  EXPECT_TRUE(lists.Contains(1, "TMyButton"));
  EXPECT_FALSE(lists.Contains(1, "tbutton"));  // case-sensitive
  EXPECT_EQ(lists.KindOf("TMyButton"), 1);
  EXPECT_EQ(lists.KindOf("TGrid"), 5);
  EXPECT_EQ(lists.KindOf(""), -1);
  EXPECT_EQ(lists.KindOf("TEdit"), -1);
  EXPECT_EQ(lists.Lines(5).size(), 1u);
  // Writing back and reading again gives the same lists.
  ThirdPartyList back;
  lists.StoreTo(back);
  ThirdPartyClassLists again;
  again.LoadFrom(back);
  for (int i = 0; i < kThirdPartyCount; ++i) EXPECT_EQ(again.Lines(i), lists.Lines(i)) << i;
}

}  // namespace
}  // namespace sapala::skin
