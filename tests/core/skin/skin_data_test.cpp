// Gradient text parsing and the sharing of gradient stops between a section and its looks.
#include "core/skin/skin_data.h"

#include <gtest/gtest.h>

#include "core/skin/skin_error.h"

namespace sapala::skin {
namespace {

TEST(SkinData, ParseGradient) {
  struct Case {
    const char* text;
    std::vector<GradientStop> want;
  };
  const Case cases[] = {
      {"", {}},
      {" ", {}},                              // one word of a blank: no stop
      {"1;2;3;4", {}},                        // four words: no stop
      {"1;2;3;4;5;6;7", {{1, 2, 3, 4}}},      // seven words: one stop
      {"1;2;3;4;5;6;7;8;9", {{1, 2, 3, 4}}},  // nine words: still one stop
      {"1;2;3;4;5;6;7;8;9;10", {{1, 2, 3, 4}, {6, 7, 8, 9}}},
      {";;1;;2;3;4;5;", {{1, 2, 3, 4}}},      // empty words are skipped
      {"-1;-2;101;-4;x", {{0, 0, 100, -4}}},  // clamped; the fifth word is never read
      {"$FF; 0x10 ;-3;7;0", {{255, 16, 0, 7}}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(*ParseGradient(cases[i].text), cases[i].want)
        << "case " << i << ": " << cases[i].text;
  }
  EXPECT_THROW(ParseGradient("1;2;x;4;5"), SkinError);
}

TEST(SkinData, PropsShareTheSectionsGradients) {
  TsGeneralData g;
  g.Gradient = ParseGradient("1;2;3;4;5");
  g.HotGradient = ParseGradient("6;7;8;9;10");
  g.Color = 0x10;
  g.HotColor = 0x20;
  g.FillProps();
  EXPECT_EQ(g.Props[0].Gradient.get(), g.Gradient.get());
  EXPECT_EQ(g.Props[1].Gradient.get(), g.HotGradient.get());
  (*g.Gradient)[0].Color1 = 99;  // a change through the section is seen through Props
  EXPECT_EQ((*g.Props[0].Gradient)[0].Color1, 99);
  EXPECT_EQ(g.Props[1].Color, 0x20);
  g.States = 1;
  g.FillProps();
  EXPECT_EQ(g.Props[1].Gradient.get(), g.Gradient.get());
  EXPECT_EQ(g.Props[1].Color, 0x10);
}

}  // namespace
}  // namespace sapala::skin
