// Step counts and per-step values of the show, hide and skin-change animations.
#include "core/skin/animation_steps.h"

#include <gtest/gtest.h>

namespace sapala::skin {
namespace {

using graphics::Rect;

TEST(AnimationSteps, StepRule) {
  const int cases[][2] = {{0, 0},  {11, 0},   {12, 1}, {23, 1},
                          {24, 2}, {120, 10}, {-5, 0}, {65535, 5461}};
  for (const auto& [time, want] : cases) EXPECT_EQ(AnimationStepCount(time), want) << time;
  for (int time : {0, 5, 11}) {
    EXPECT_TRUE(ShowAnimationFrames(100, 80, time, 255, TlcAnimType::atFading).empty());
    EXPECT_TRUE(HideAnimationFrames(100, 80, time, 255, TlcAnimType::atAero).empty());
    EXPECT_TRUE(SkinChangeWeights(time).empty());
  }
  const double halves[][2] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.6, 3}};
  for (const auto& [v, want] : halves) EXPECT_EQ(RoundHalfEven(v), want) << v;
}

TEST(AnimationSteps, FadingShowAndHide) {
  const auto show = ShowAnimationFrames(100, 80, 120, 255, TlcAnimType::atFading);
  ASSERT_EQ(show.size(), 11u);
  // 25.5 per step, rounded half to even.
  const int showOpacity[] = {26, 51, 76, 102, 128, 153, 178, 204, 230, 255, 255};
  for (std::size_t i = 0; i < show.size(); ++i) {
    EXPECT_EQ(show[i].Opacity, showOpacity[i]) << "frame " << i;
    EXPECT_FALSE(show[i].Stretched) << "frame " << i;
    EXPECT_EQ(show[i].Rect, (Rect{0, 0, 100, 80})) << "frame " << i;
  }
  const auto hide = HideAnimationFrames(100, 80, 120, 255, TlcAnimType::atFading);
  ASSERT_EQ(hide.size(), 11u);
  const int hideOpacity[] = {230, 204, 178, 153, 128, 102, 76, 51, 26, 0, 0};
  for (std::size_t i = 0; i < hide.size(); ++i) {
    EXPECT_EQ(hide[i].Opacity, hideOpacity[i]) << "step " << i;
  }
  // A lower target is never passed.
  for (const auto& f : ShowAnimationFrames(10, 10, 36, 100, TlcAnimType::atFading)) {
    EXPECT_LE(f.Opacity, 100);
  }
}

TEST(AnimationSteps, AeroShowGrowsFromThreeQuarters) {
  const auto show = ShowAnimationFrames(160, 96, 48, 200, TlcAnimType::atAero);
  ASSERT_EQ(show.size(), 5u);
  // Starts centred at three quarters (20 and 12 in from each side), 5 and 3 per step.
  const Rect want[] = {
      {20, 12, 140, 84}, {15, 9, 145, 87}, {10, 6, 150, 90}, {5, 3, 155, 93}, {0, 0, 160, 96}};
  for (std::size_t i = 0; i < show.size(); ++i) {
    EXPECT_EQ(show[i].Rect, want[i]) << "frame " << i;
    EXPECT_TRUE(show[i].Stretched) << "frame " << i;
  }
  EXPECT_EQ(show.back().Opacity, 200);
}

TEST(AnimationSteps, AeroHideShrinksByAnEighth) {
  const auto hide = HideAnimationFrames(160, 96, 48, 255, TlcAnimType::atAero);
  ASSERT_EQ(hide.size(), 5u);
  EXPECT_EQ(hide.front().Rect, (Rect{0, 0, 160, 96}));
  EXPECT_EQ(hide[1].Rect, (Rect{5, 3, 155, 93}));
  EXPECT_EQ(hide.back().Rect, (Rect{20, 12, 140, 84}));
  for (const auto& f : hide) EXPECT_TRUE(f.Stretched);
  EXPECT_EQ(hide.back().Opacity, 0);

  // The step generator is what a timer drives: N + 1 steps, then done.
  HideAnimationSteps steps(160, 96, 120, 255, TlcAnimType::atAero);
  EXPECT_EQ(steps.StepCount(), 10);
  int shown = 0;
  for (AnimationFrame f; steps.Next(f);) ++shown;
  EXPECT_EQ(shown, 11);
  AnimationFrame f;
  EXPECT_FALSE(steps.Next(f));
}

TEST(AnimationSteps, SkinChangeWeights) {
  EXPECT_EQ(SkinChangeWeights(120),
            (std::vector<int>{255, 230, 205, 180, 155, 130, 105, 80, 55, 30, 5}));
  EXPECT_EQ(SkinChangeWeights(12), (std::vector<int>{255, 0}));
  // 255 div 200 = 1: the last frame keeps what the whole-number step leaves.
  const auto slow = SkinChangeWeights(2400);
  ASSERT_EQ(slow.size(), 201u);
  EXPECT_EQ(slow.back(), 55);
}

}  // namespace
}  // namespace sapala::skin
