#include "core/skin/motion_steps.h"

#include <algorithm>
#include <cstdint>

#include "core/skin/animation_steps.h"

namespace sapala::skin {

using graphics::Point;
using graphics::Rect;

BlendOnMovingPlan PlanBlendOnMoving(int startOpacity, const TlcBlendOnMoving& setting,
                                    bool allowBlendOnMoving) {
  BlendOnMovingPlan plan;
  plan.Start = std::clamp(startOpacity, 0, 255);
  plan.Target = allowBlendOnMoving ? int{setting.BlendValue} : 255;
  const int difference =
      plan.Start > plan.Target ? plan.Start - plan.Target : plan.Target - plan.Start;
  if (difference == 0) return plan;
  if (setting.Time < 13) {
    plan.Step = difference;
  } else {
    const double ticks = setting.Time / static_cast<double>(kMoveTimerIntervalMs);
    plan.Step = RoundHalfEven((255 - plan.Target) / ticks);
  }
  // Without this a long Time (or a target of 255 from an AlphaBlend start) would never move.
  plan.Step = std::max(plan.Step, 1);
  return plan;
}

int NextBlendOpacity(const BlendOnMovingPlan& plan, int current) {
  if (current > plan.Target) return std::max(plan.Target, current - plan.Step);
  return std::min(plan.Target, current + plan.Step);
}

int MinimizeStepCount(int timeMs) { return std::max(timeMs / kMinTimerIntervalMs, 1); }

std::vector<MinimizeFrame> MinimizeFrames(Rect start, Rect target, int startOpacity, int timeMs) {
  const int n = MinimizeStepCount(timeMs);
  startOpacity = std::clamp(startOpacity, 0, 255);
  const double scx = (start.left + start.right) / 2.0, scy = (start.top + start.bottom) / 2.0;
  const double tcx = (target.left + target.right) / 2.0, tcy = (target.top + target.bottom) / 2.0;
  const double dcx = (tcx - scx) / n, dcy = (tcy - scy) / n;
  const double dw = (start.width() - target.width()) / (2.0 * n);
  const double dh = (start.height() - target.height()) / (2.0 * n);
  const int opacityStep = RoundHalfEven(startOpacity / static_cast<double>(std::max(1, n - 1)));

  std::vector<MinimizeFrame> frames;
  frames.reserve(static_cast<std::size_t>(n));
  double cx = scx, cy = scy, halfW = start.width() / 2.0, halfH = start.height() / 2.0;
  int opacity = startOpacity;
  for (int k = 1; k <= n; ++k) {
    cx += dcx;
    cy += dcy;
    halfW -= dw;
    halfH -= dh;
    opacity = std::max(0, opacity - opacityStep);
    frames.push_back({Rect{RoundHalfEven(cx - halfW), RoundHalfEven(cy - halfH),
                           RoundHalfEven(cx + halfW), RoundHalfEven(cy + halfH)},
                      opacity});
  }
  return frames;
}

std::vector<MinimizeFrame> RestoreFrames(Rect start, Rect target, int startOpacity, int timeMs) {
  std::vector<MinimizeFrame> frames = MinimizeFrames(start, target, startOpacity, timeMs);
  std::reverse(frames.begin(), frames.end());
  return frames;
}

TaskbarPlace TaskbarFromWorkArea(Rect monitor, Rect workArea) {
  struct Strip {
    TaskbarEdge edge;
    int size;
    Rect bar;
  };
  const Strip strips[] = {
      {TaskbarEdge::Bottom,
       monitor.bottom - workArea.bottom,
       {monitor.left, workArea.bottom, monitor.right, monitor.bottom}},
      {TaskbarEdge::Left,
       workArea.left - monitor.left,
       {monitor.left, monitor.top, workArea.left, monitor.bottom}},
      {TaskbarEdge::Top,
       workArea.top - monitor.top,
       {monitor.left, monitor.top, monitor.right, workArea.top}},
      {TaskbarEdge::Right,
       monitor.right - workArea.right,
       {workArea.right, monitor.top, monitor.right, monitor.bottom}},
  };
  const Strip* best = &strips[0];
  for (const Strip& s : strips) {
    if (s.size > best->size) best = &s;
  }
  if (best->size <= 0) {
    return {TaskbarEdge::Bottom, Rect{monitor.left, monitor.bottom, monitor.right, monitor.bottom}};
  }
  return {best->edge, best->bar};
}

Rect InnerEdgePoint(const TaskbarPlace& bar, Rect window) {
  const int cx = window.left + window.width() / 2;
  const int cy = window.top + window.height() / 2;
  Point p;
  switch (bar.Edge) {
    case TaskbarEdge::Left:
      p = {bar.Bar.right, cy};
      break;
    case TaskbarEdge::Top:
      p = {cx, bar.Bar.bottom};
      break;
    case TaskbarEdge::Right:
      p = {bar.Bar.left, cy};
      break;
    case TaskbarEdge::Bottom:
      p = {cx, bar.Bar.top};
      break;
  }
  return {p.x, p.y, p.x, p.y};
}

Rect PickTaskbarButton(std::span<const TaskbarButtonRecord> buttons, std::uintptr_t owner,
                       Point toolbarOrigin, Rect screen) {
  if (owner == 0) return {};
  for (const TaskbarButtonRecord& b : buttons) {
    if ((b.State & kButtonStateHidden) || (b.Style & kButtonStyleSeparator)) continue;
    if (b.Owner != owner) continue;
    const Rect r = b.Rect;
    if (r.empty() || r.width() > screen.width() || r.height() > screen.height()) return {};
    // Checked arithmetic: the offsets come from another process.
    const std::int64_t l = std::int64_t{r.left} + toolbarOrigin.x;
    const std::int64_t t = std::int64_t{r.top} + toolbarOrigin.y;
    const std::int64_t rr = std::int64_t{r.right} + toolbarOrigin.x;
    const std::int64_t bb = std::int64_t{r.bottom} + toolbarOrigin.y;
    constexpr std::int64_t kLimit = 1 << 20;
    if (l < -kLimit || t < -kLimit || rr > kLimit || bb > kLimit) return {};
    return {static_cast<int>(l), static_cast<int>(t), static_cast<int>(rr), static_cast<int>(bb)};
  }
  return {};
}

FitSize FitKeepingAspect(int width, int height, int maxWidth, int maxHeight) {
  if (width <= 0 || height <= 0 || maxWidth <= 0 || maxHeight <= 0) return {};
  // Wider than the box (by aspect): the width takes the limit.
  if (std::int64_t{width} * maxHeight >= std::int64_t{height} * maxWidth) {
    const int h = RoundHalfEven(static_cast<double>(height) * maxWidth / width);
    return {maxWidth, std::clamp(h, 1, maxHeight)};
  }
  const int w = RoundHalfEven(static_cast<double>(width) * maxHeight / height);
  return {std::clamp(w, 1, maxWidth), maxHeight};
}

}  // namespace sapala::skin
