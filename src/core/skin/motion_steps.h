// The values behind a skinned form's motion effects, free of windows so they can be checked in
// tables: the fade while a form is dragged, the frames of the minimize and restore animation
// towards the form's task-bar button (or a point on the task bar's inner edge when the button
// cannot be found), the choice of that button among what the task bar reports, and the size of
// a preview picture that keeps the window's aspect.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/graphics/geometry.h"
#include "core/skin/effects.h"

namespace sapala::skin {

// --- Blend on moving -------------------------------------------------------------------------

inline constexpr int kMoveTimerIntervalMs = 12;

// Opacities of a dragged form: it starts at `Start` and steps towards `Target` by `Step` per
// timer tick, never past it.
struct BlendOnMovingPlan {
  int Start = 255;
  int Target = 255;
  int Step = 0;  // > 0 whenever Start differs from Target
  bool operator==(const BlendOnMovingPlan&) const = default;
};

// `startOpacity`: the form's AlphaBlendValue when AlphaBlend is on, else 255. The target is the
// setting's BlendValue, or 255 when the form does not allow blending. The step is
// round((255 - target) / (Time / 12)), the whole difference when Time < 13, and at least 1 so a
// long Time still reaches the target.
BlendOnMovingPlan PlanBlendOnMoving(int startOpacity, const TlcBlendOnMoving& setting,
                                    bool allowBlendOnMoving);
// The opacity after one more tick from `current`.
int NextBlendOpacity(const BlendOnMovingPlan& plan, int current);

// --- Minimize and restore --------------------------------------------------------------------

inline constexpr int kMinTimerIntervalMs = 15;

// max(Time / 15, 1).
int MinimizeStepCount(int timeMs);

struct MinimizeFrame {
  graphics::Rect Rect;  // screen rectangle the window picture is stretched into
  int Opacity = 0;      // constant alpha 0..255
  bool operator==(const MinimizeFrame&) const = default;
};

// The n frames of a minimize from `start` (at `startOpacity`) into `target` (often a point of
// zero size). Frame k (1..n) has the centre moved k/n of the way and each side drawn in by
// k * (start size - target size) / (2n); its opacity is startOpacity lowered k times by
// round(startOpacity / max(1, n - 1)), not below 0. Values are kept as reals and rounded half
// to even only when a frame is made. The last frame is the target rectangle.
std::vector<MinimizeFrame> MinimizeFrames(graphics::Rect start, graphics::Rect target,
                                          int startOpacity, int timeMs);
// A restore: the same frames in reverse order, ending one step short of the window; the
// window itself is shown at its own opacity afterwards.
std::vector<MinimizeFrame> RestoreFrames(graphics::Rect start, graphics::Rect target,
                                         int startOpacity, int timeMs);

// --- Where the window goes when it is minimized ------------------------------------------------

enum class TaskbarEdge { Left, Top, Right, Bottom };

struct TaskbarPlace {
  TaskbarEdge Edge = TaskbarEdge::Bottom;
  graphics::Rect Bar;  // the task bar's rectangle (screen)
  bool operator==(const TaskbarPlace&) const = default;
};

// The task bar's edge and rectangle from a monitor and its work area: the side where the work
// area leaves the widest strip of the monitor. A work area that fills the monitor gives the
// bottom edge and an empty bar along the monitor's bottom.
TaskbarPlace TaskbarFromWorkArea(graphics::Rect monitor, graphics::Rect workArea);

// The zero-size rectangle on the bar's inner edge level with the window's centre: left bar →
// (its right, centre y); top → (centre x, its bottom); right → (its left, centre y); bottom →
// (centre x, its top).
graphics::Rect InnerEdgePoint(const TaskbarPlace& bar, graphics::Rect window);

// One button of the task bar's tool bar as read from the task bar's process.
struct TaskbarButtonRecord {
  std::uint8_t State = 0;    // TBSTATE_* bits
  std::uint8_t Style = 0;    // BTNS_* bits
  std::uintptr_t Owner = 0;  // the window the button stands for
  graphics::Rect Rect;       // relative to the tool bar's client area
};

inline constexpr std::uint8_t kButtonStateHidden = 0x08;     // TBSTATE_HIDDEN
inline constexpr std::uint8_t kButtonStyleSeparator = 0x01;  // BTNS_SEP
// Most buttons read from a task bar; a larger count is not believed.
inline constexpr int kMaxTaskbarButtons = 1024;

// The screen rectangle of the first button that is neither hidden nor a separator and stands
// for `owner`, offset by `toolbarOrigin`; an empty rectangle when there is none or the button's
// rectangle is not a plausible button (empty, or larger than `screen`).
graphics::Rect PickTaskbarButton(std::span<const TaskbarButtonRecord> buttons, std::uintptr_t owner,
                                 graphics::Point toolbarOrigin, graphics::Rect screen);

// --- Previews ----------------------------------------------------------------------------------

struct FitSize {
  int Width = 0;
  int Height = 0;
  bool operator==(const FitSize&) const = default;
};

// The largest size of a `width` x `height` picture's aspect that fits `maxWidth` x `maxHeight`:
// one side takes the limit, the other is computed and rounded (at least 1). {0, 0} when any
// input is not positive.
FitSize FitKeepingAspect(int width, int height, int maxWidth, int maxHeight);

}  // namespace sapala::skin
