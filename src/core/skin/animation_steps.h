// The step rule of the window animations and the values of every step: opacity and, for aero
// animations, the rectangle the window's picture is stretched into. N = time div 12 steps, one
// every 12 ms; N = 0 means no animation. A show draws N + 1 frames growing from transparent to
// the target opacity (aero: from three quarters of the size, centred, to the full size); a hide
// shows N + 1 steps fading to 0 (aero: each side moves inward by one eighth of the size).
//
// The generators hold real-valued state as the animation does and round half to even only
// when a frame is handed out, so a timer can draw one step per tick.
#pragma once

#include <vector>

#include "core/graphics/geometry.h"
#include "core/skin/effects.h"

namespace sapala::skin {

inline constexpr int kAnimationStepMs = 12;

// time div 12; 0 for a time below 12 ms (or negative).
int AnimationStepCount(int timeMs);

// Rounds half to even (2.5 → 2, 3.5 → 4).
int RoundHalfEven(double v);

struct AnimationFrame {
  int Opacity = 0;  // 0..255, the constant alpha of this step
  // Where the picture is drawn in the layered window. Stretched: the picture is stretched into
  // this rectangle (the rest cleared); otherwise it is copied whole and Rect is the full picture.
  graphics::Rect Rect;
  bool Stretched = false;
  bool operator==(const AnimationFrame&) const = default;
};

class ShowAnimationSteps {
 public:
  // `target` opacity 0..255 (clamped).
  ShowAnimationSteps(int width, int height, int timeMs, int target, TlcAnimType mode);
  int StepCount() const { return steps_; }
  // The next frame; false once all N + 1 frames are out (or at once when N = 0).
  bool Next(AnimationFrame& frame);

 private:
  int width_, height_, steps_, target_, index_ = 0;
  bool aero_;
  double opacity_ = 0, opacityStep_ = 0, dx_ = 0, dy_ = 0;
  double left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
};

class HideAnimationSteps {
 public:
  HideAnimationSteps(int width, int height, int timeMs, int startOpacity, TlcAnimType mode);
  int StepCount() const { return steps_; }
  // The next step; false once StepIndex > StepCount (N + 1 steps shown).
  bool Next(AnimationFrame& frame);

 private:
  int width_, height_, steps_, index_ = 0;
  bool aero_;
  double opacity_, opacityStep_ = 0, dx_ = 0, dy_ = 0;
  double left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;
};

std::vector<AnimationFrame> ShowAnimationFrames(int width, int height, int timeMs, int target,
                                                TlcAnimType mode);
std::vector<AnimationFrame> HideAnimationFrames(int width, int height, int timeMs, int startOpacity,
                                                TlcAnimType mode);

// The weights of the old look in the skin-change cross-fade, one per frame (N + 1 frames):
// 255 falling by 255 div N, never below 0. Empty when N = 0.
std::vector<int> SkinChangeWeights(int timeMs);

}  // namespace sapala::skin
