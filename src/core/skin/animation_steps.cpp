#include "core/skin/animation_steps.h"

#include <algorithm>
#include <cmath>

namespace sapala::skin {

int AnimationStepCount(int timeMs) {
  return timeMs < kAnimationStepMs ? 0 : timeMs / kAnimationStepMs;
}

int RoundHalfEven(double v) {
  // The default floating-point rounding mode rounds to nearest, ties to even.
  return static_cast<int>(std::nearbyint(v));
}

namespace {
graphics::Rect Rounded(double l, double t, double r, double b) {
  return {RoundHalfEven(l), RoundHalfEven(t), RoundHalfEven(r), RoundHalfEven(b)};
}
}  // namespace

ShowAnimationSteps::ShowAnimationSteps(int width, int height, int timeMs, int target,
                                       TlcAnimType mode)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      steps_(AnimationStepCount(timeMs)),
      target_(std::clamp(target, 0, 255)),
      aero_(mode == TlcAnimType::atAero) {
  if (steps_ == 0) return;
  opacityStep_ = static_cast<double>(target_) / steps_;
  if (aero_) {
    dx_ = width_ / (8.0 * steps_);
    dy_ = height_ / (8.0 * steps_);
    left_ = width_ / 8.0;
    top_ = height_ / 8.0;
    right_ = width_ - width_ / 8.0;
    bottom_ = height_ - height_ / 8.0;
  }
}

bool ShowAnimationSteps::Next(AnimationFrame& frame) {
  if (steps_ == 0 || index_ > steps_) return false;
  opacity_ = std::min<double>(target_, opacity_ + opacityStep_);
  frame.Opacity = RoundHalfEven(opacity_);
  frame.Stretched = aero_ && left_ >= 0 && top_ >= 0;
  frame.Rect = frame.Stretched ? Rounded(left_, top_, right_, bottom_)
                               : graphics::Rect{0, 0, width_, height_};
  left_ -= dx_;
  top_ -= dy_;
  right_ += dx_;
  bottom_ += dy_;
  ++index_;
  return true;
}

HideAnimationSteps::HideAnimationSteps(int width, int height, int timeMs, int startOpacity,
                                       TlcAnimType mode)
    : width_(std::max(0, width)),
      height_(std::max(0, height)),
      steps_(AnimationStepCount(timeMs)),
      aero_(mode == TlcAnimType::atAero),
      opacity_(std::clamp(startOpacity, 0, 255)) {
  if (steps_ == 0) return;
  opacityStep_ = opacity_ / steps_;
  if (aero_) {
    dx_ = width_ / (8.0 * steps_);
    dy_ = height_ / (8.0 * steps_);
    right_ = width_;
    bottom_ = height_;
  }
}

bool HideAnimationSteps::Next(AnimationFrame& frame) {
  if (steps_ == 0 || index_ > steps_) return false;
  opacity_ = std::max(0.0, opacity_ - opacityStep_);
  frame.Opacity = RoundHalfEven(opacity_);
  frame.Stretched = aero_ && left_ >= 0 && top_ >= 0;
  frame.Rect = frame.Stretched ? Rounded(left_, top_, right_, bottom_)
                               : graphics::Rect{0, 0, width_, height_};
  left_ += dx_;
  top_ += dy_;
  right_ -= dx_;
  bottom_ -= dy_;
  ++index_;
  return true;
}

std::vector<AnimationFrame> ShowAnimationFrames(int width, int height, int timeMs, int target,
                                                TlcAnimType mode) {
  ShowAnimationSteps steps(width, height, timeMs, target, mode);
  std::vector<AnimationFrame> out;
  for (AnimationFrame f; steps.Next(f);) out.push_back(f);
  return out;
}

std::vector<AnimationFrame> HideAnimationFrames(int width, int height, int timeMs, int startOpacity,
                                                TlcAnimType mode) {
  HideAnimationSteps steps(width, height, timeMs, startOpacity, mode);
  std::vector<AnimationFrame> out;
  for (AnimationFrame f; steps.Next(f);) out.push_back(f);
  return out;
}

std::vector<int> SkinChangeWeights(int timeMs) {
  const int n = AnimationStepCount(timeMs);
  std::vector<int> out;
  if (n == 0) return out;
  int w = 255;
  for (int i = 0; i <= n; ++i) {
    out.push_back(std::max(0, w));
    w -= 255 / n;
  }
  return out;
}

}  // namespace sapala::skin
