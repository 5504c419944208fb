// The values of the drag fade, the minimize and restore frames, the task-bar fall-back point,
// the choice of the task-bar button, and the preview fit.
#include "core/skin/motion_steps.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace sapala::skin {
namespace {

using graphics::Point;
using graphics::Rect;

TEST(MotionSteps, BlendOnMovingPlan) {
  struct Case {
    int start, time, blendValue;
    bool allow;
    BlendOnMovingPlan want;
  } cases[] = {
      {255, 1000, 170, true, {255, 170, 1}},   // 85 / 83.3 = 1.02
      {255, 1000, 170, false, {255, 255, 0}},  // not allowed: stays opaque
      {255, 12, 170, true, {255, 170, 85}},    // below 13 ms: all at once
      {255, 0, 170, true, {255, 170, 85}},
      {200, 12, 170, true, {200, 170, 30}},    // at once from an AlphaBlend start
      {255, 13, 170, true, {255, 170, 78}},    // 85 / 1.083 = 78.5
      {255, 120, 0, true, {255, 0, 26}},       // 25.5 rounds to even 26
      {255, 120, 30, true, {255, 30, 22}},     // 22.5 rounds to even 22
      {255, 65535, 170, true, {255, 170, 1}},  // 0.016 would never arrive
      {300, 1000, 170, true, {255, 170, 1}},   // start clamped
  };
  for (const Case& c : cases) {
    TlcBlendOnMoving setting;
    setting.Time = static_cast<std::uint16_t>(c.time);
    setting.BlendValue = static_cast<std::uint8_t>(c.blendValue);
    const BlendOnMovingPlan have = PlanBlendOnMoving(c.start, setting, c.allow);
    EXPECT_EQ(have, c.want) << "start " << c.start << " time " << c.time << " value "
                            << c.blendValue << ": have " << have.Start << "/" << have.Target << "/"
                            << have.Step;
  }
}

TEST(MotionSteps, BlendOpacityStopsAtTarget) {
  const BlendOnMovingPlan down{255, 170, 26};
  std::vector<int> seen;
  for (int a = down.Start, i = 0; i < 5; ++i) seen.push_back(a = NextBlendOpacity(down, a));
  EXPECT_EQ(seen, (std::vector<int>{229, 203, 177, 170, 170}));
  const BlendOnMovingPlan up{200, 255, 30};
  seen.clear();
  for (int a = up.Start, i = 0; i < 3; ++i) seen.push_back(a = NextBlendOpacity(up, a));
  EXPECT_EQ(seen, (std::vector<int>{230, 255, 255}));
}

TEST(MotionSteps, MinimizeFramesShrinkIntoTheTarget) {
  const int counts[][2] = {{0, 1}, {14, 1}, {15, 1}, {29, 1}, {30, 2}, {200, 13}, {60, 4}};
  for (const auto& [time, want] : counts) EXPECT_EQ(MinimizeStepCount(time), want) << time;

  // 100 x 60 at the origin into the point (50, 200) in 4 steps: the centre falls by 42.5, each
  // side comes in by 12.5 and 7.5, the opacity falls by round(255 / 3) = 85.
  const Rect start{0, 0, 100, 60}, target{50, 200, 50, 200};
  const std::vector<MinimizeFrame> want = {
      {{12, 50, 88, 95}, 170},
      {{25, 100, 75, 130}, 85},
      {{38, 150, 62, 165}, 0},
      {{50, 200, 50, 200}, 0},
  };
  const auto frames = MinimizeFrames(start, target, 255, 60);
  ASSERT_EQ(frames.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    const Rect& r = frames[i].Rect;
    EXPECT_EQ(frames[i], want[i]) << "frame " << i << ": have {" << r.left << "," << r.top << ","
                                  << r.right << "," << r.bottom << "} " << frames[i].Opacity;
  }
  // A button as the target: the last frame is the button.
  const Rect button{10, 740, 170, 768};
  EXPECT_EQ(MinimizeFrames({100, 100, 500, 400}, button, 255, 200).back().Rect, button);
  // An AlphaBlend form starts lower and never goes below 0.
  const auto faded = MinimizeFrames(start, target, 200, 60);
  ASSERT_EQ(faded.size(), 4u);
  const int fadedOpacity[] = {133, 66, 0, 0};
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(faded[i].Opacity, fadedOpacity[i]) << i;
  // One step: straight into the target.
  const auto one = MinimizeFrames(start, target, 255, 0);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0], (MinimizeFrame{target, 0}));
}

TEST(MotionSteps, RestoreIsTheMinimizeBackwards) {
  const Rect start{100, 100, 400, 300}, target{250, 738, 250, 738};
  auto minimize = MinimizeFrames(start, target, 230, 200);
  const auto restore = RestoreFrames(start, target, 230, 200);
  std::reverse(minimize.begin(), minimize.end());
  EXPECT_EQ(restore, minimize);
  ASSERT_FALSE(restore.empty());
  EXPECT_EQ(restore.front().Rect, target);
  EXPECT_LT(restore.back().Rect.width(), start.width());
  EXPECT_GT(restore.back().Opacity, restore.front().Opacity);
}

TEST(MotionSteps, TaskbarEdgeAndInnerEdgePoint) {
  const Rect monitor{0, 0, 1024, 768};
  const Rect window{100, 100, 300, 200};  // centre (200, 150)
  struct Case {
    Rect work;
    TaskbarPlace place;
    Rect point;
  } cases[] = {
      {{40, 0, 1024, 768}, {TaskbarEdge::Left, {0, 0, 40, 768}}, {40, 150, 40, 150}},
      {{0, 30, 1024, 768}, {TaskbarEdge::Top, {0, 0, 1024, 30}}, {200, 30, 200, 30}},
      {{0, 0, 984, 768}, {TaskbarEdge::Right, {984, 0, 1024, 768}}, {984, 150, 984, 150}},
      {{0, 0, 1024, 738}, {TaskbarEdge::Bottom, {0, 738, 1024, 768}}, {200, 738, 200, 738}},
      // No task bar at all: the monitor's bottom edge.
      {{0, 0, 1024, 768}, {TaskbarEdge::Bottom, {0, 768, 1024, 768}}, {200, 768, 200, 768}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const TaskbarPlace have = TaskbarFromWorkArea(monitor, cases[i].work);
    EXPECT_EQ(have, cases[i].place) << "case " << i << ": edge " << static_cast<int>(have.Edge);
    EXPECT_EQ(InnerEdgePoint(cases[i].place, window), cases[i].point) << "case " << i;
  }
  // A second monitor right of the first.
  EXPECT_EQ(TaskbarFromWorkArea({1024, 0, 2048, 768}, {1024, 0, 2048, 728}),
            (TaskbarPlace{TaskbarEdge::Bottom, {1024, 728, 2048, 768}}));
}

TEST(MotionSteps, PickTaskbarButton) {
  constexpr std::uintptr_t app = 0x1234, other = 0x5678;
  const Rect screen{0, 0, 1024, 768};
  const Point origin{10, 740};
  using B = TaskbarButtonRecord;
  const B sep{0, kButtonStyleSeparator, app, {0, 0, 8, 28}};
  const B hidden{kButtonStateHidden, 0, app, {0, 0, 160, 28}};
  const B foreign{0, 0, other, {0, 0, 160, 28}};
  const B mine{0, 0, app, {160, 0, 320, 28}};
  const B mineToo{0, 0, app, {320, 0, 480, 28}};
  const B huge{0, 0, app, {0, 0, 5000, 28}};
  const B flat{0, 0, app, {0, 0, 0, 28}};
  struct Case {
    std::vector<B> buttons;
    std::uintptr_t owner;
    Rect want;
  } cases[] = {
      {{sep, hidden, foreign, mine, mineToo}, app, {170, 740, 330, 768}},
      {{foreign}, app, {}},
      {{mine}, 0, {}},
      {{huge, mine}, app, {}},
      {{flat, mine}, app, {}},
      {{}, app, {}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Rect have = PickTaskbarButton(cases[i].buttons, cases[i].owner, origin, screen);
    EXPECT_EQ(have, cases[i].want) << "case " << i << ": have {" << have.left << "," << have.top
                                   << "," << have.right << "," << have.bottom << "}";
  }
}

TEST(MotionSteps, FitKeepingAspect) {
  struct Case {
    int w, h, maxW, maxH;
    FitSize want;
  } cases[] = {
      {200, 100, 100, 100, {100, 50}},
      {100, 200, 100, 100, {50, 100}},
      {300, 200, 200, 200, {200, 133}},
      {4, 3, 10, 10, {10, 8}},  // 7.5 rounds to even 8
      {4, 1, 10, 10, {10, 2}},  // 2.5 rounds to even 2
      {1000, 1, 10, 10, {10, 1}},
      {50, 50, 200, 100, {100, 100}},
      {0, 50, 100, 100, {}},
      {100, 100, 0, 50, {}},
      {100, 100, 50, -1, {}},
  };
  for (const Case& c : cases) {
    const FitSize have = FitKeepingAspect(c.w, c.h, c.maxW, c.maxH);
    EXPECT_EQ(have, c.want) << c.w << "x" << c.h << " in " << c.maxW << "x" << c.maxH << ": have "
                            << have.Width << "x" << have.Height;
  }
}

}  // namespace
}  // namespace sapala::skin
