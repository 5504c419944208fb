// Window animations: a picture of a form shown in a layered window of its own while the real
// form appears (ShowFormAnimated, synchronous) or after it has gone (StartHideAnimation, stepped
// by the one global TlcHideTimer), the picture of a window with all its children
// (SnapshotWindow), the global animation lock, and the small queries and broadcasts the skinned
// controls share. The step values come from core/skin/animation_steps.h.
//
// Ownership: every layered window and picture made here has exactly one owner. The show
// animation owns its window and pictures for its own duration; the hide animation takes the
// window and the picture it is given and frees them when it ends, when another hide starts, or
// when the timer is freed (ShutDownHideAnimation, at the skin unit's shutdown).
//
// All of it runs on the user-interface thread. Nothing here reports an error: missing skin
// state, a missing window image, missing layered-window support or a time below 12 ms give no
// animation, and the form simply shows or goes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "core/graphics/bitmap.h"
#include "core/skin/animation_steps.h"
#include "core/skin/effects.h"
#include "core/threading/threaded_timer.h"
#include "win/framework/controls.h"
#include "win/framework/handles.h"
#include "win/skin/animated_form.h"
#include "win/skin/broadcast.h"

namespace sapala::win {
class TForm;
}

namespace sapala::win::skin {

using sapala::skin::TlcAnimType;

// --- The animation lock ---
// Set while a show runs and while a hide captures its picture: skinned controls then treat
// themselves as active when deciding whether to hold back painting, so the picture shows them.
bool AnimationLock() noexcept;
// Sets the lock for a scope and puts the previous value back at its end (also when the
// animation fails half-way, so the lock never stays on).
class AnimationLockScope {
 public:
  AnimationLockScope() noexcept;
  ~AnimationLockScope();
  AnimationLockScope(const AnimationLockScope&) = delete;
  AnimationLockScope& operator=(const AnimationLockScope&) = delete;
  // Clears the lock before the end of the scope (the show clears it before the form's redraw).
  void Release() noexcept;

 private:
  bool previous_;
  bool released_ = false;
};

// --- Layered output, observable ---
// One picture handed to UpdateLayeredWindow. Checksum is FNV-1a over the picture's pixel words
// as painted (not premultiplied), row by row.
struct LayeredFrame {
  HWND Window = nullptr;
  int Opacity = 0;
  RECT Bounds{};  // screen rectangle of the window after the update
  std::uint32_t Checksum = 0;
  bool ColorKey = false;                      // the hide animation passes clNone as colour key
  const graphics::Bitmap* Picture = nullptr;  // valid during the report only
};
using LayeredFrameObserver = std::function<void(const LayeredFrame&)>;
// While set, every picture the animations hand to UpdateLayeredWindow is reported here too
// (tests); nothing else changes.
void SetLayeredFrameObserver(LayeredFrameObserver observer);
std::uint32_t PictureChecksum(const graphics::Bitmap& picture) noexcept;
// Reports a picture shown in `window` to the observer, when one is set. The layered output
// calls it for every UpdateLayeredWindow; the skin-change cross-fade for every frame it draws
// into the output window (Opacity: the old look's weight).
void ReportFrame(HWND window, int opacity, const graphics::Bitmap& picture, bool colorKey = false);

// A borderless popup for showing pictures with UpdateLayeredWindow: layered, never activated,
// not skinned by the window-creation hook; with `toolWindow` also kept off the task bar.
Window CreateAnimationWindow(bool toolWindow);
// Shows `picture` in a layered window at `position` (screen) with constant alpha `opacity`;
// false without layered-window support.
bool ShowLayeredPicture(HWND window, const graphics::Bitmap& picture, POINT position, int opacity,
                        bool colorKey = false);

// Draws a 32-bit picture at (x, y) into a device context, pixels as they are.
void DrawPicture(HDC dc, int x, int y, const graphics::Bitmap& picture);

// --- Snapshots ---
// Paints `control` with all its visible children into the 32-bit `bitmap`, the control's
// window rectangle (a windowless control: its bounds) at (x, y). Skinned windows (they answer
// cmdIsSkinned) print themselves with WM_PRINT between setting and clearing their print target;
// windows of our own classes paint through their framework painting; standard controls answer
// WM_PRINT. A hidden child form without a provider gets what its parent shows under it.
// `provider`: the form's provider when `control` is its form (its border window's margins).
void SnapshotWindow(graphics::Bitmap& bitmap, TControl& control, int x, int y,
                    AnimatedForm* provider);

// --- Show and hide ---
// The show animation: the form's picture in a layered window fading in (and, atAero, growing
// from three quarters of the size) over `timeMs`, then the real form put in its place.
// `targetOpacity` 0..255. Synchronous, 12 ms per frame.
void ShowFormAnimated(AnimatedForm& provider, int timeMs, int targetOpacity, TlcAnimType mode);
// The same for a window that is no form (a system dialog): `picture` is the whole window as it
// will look (window-sized, 32-bit, opaque). The caller switched the window's redraw off; it is
// switched on and the window redrawn when the picture stands.
void ShowWindowAnimated(HWND window, const graphics::Bitmap& picture, int timeMs, int targetOpacity,
                        TlcAnimType mode);

// The one global hide animation. It takes the layered window and its picture, shows N + 1
// steps from its worker-timed ticks, and frees both when it ends.
class TlcHideTimer final : public threading::TlcThreadedTimer {
 public:
  explicit TlcHideTimer(threading::UiDispatcher& ui);
  ~TlcHideTimer() override;

  // Frees the animation still running (window and pictures) and starts this one.
  void Start(Window window, graphics::Bitmap picture, int timeMs, TlcAnimType mode,
             int startOpacity, bool runAtOnce);
  // Frees the window and pictures of the animation that runs, at once.
  void Abort() noexcept;
  bool Running() const noexcept { return static_cast<bool>(window_); }
  HWND WindowHandle() const noexcept { return window_.get(); }
  int StepIndex() const noexcept { return stepIndex_; }
  int StepCount() const noexcept { return stepCount_; }

 protected:
  void TimerEvent() override;

 private:
  bool Step();  // false once the animation has ended

  Window window_;
  graphics::Bitmap source_, frame_;
  std::unique_ptr<sapala::skin::HideAnimationSteps> steps_;
  int stepIndex_ = 0, stepCount_ = 0;
  bool copied_ = false;  // the frame holds the source picture unchanged
  POINT position_{};
};

// Starts the hide animation on `window` showing `picture`, taking both. A time below 12 ms frees
// them at once; when the application is terminating (or the engine's tick thread is gone) every
// step runs now, 12 ms apart.
void StartHideAnimation(Window window, graphics::Bitmap picture, int timeMs, TlcAnimType mode,
                        int startOpacity);
// The global timer, nullptr before the first hide.
TlcHideTimer* HideTimer() noexcept;
// Frees the timer and whatever its animation still holds (the skin unit's shutdown).
void ShutDownHideAnimation() noexcept;

// Captures the form (its manager's FormHide settings) and starts the hide animation at opacity
// 255. The form itself is hidden by the caller afterwards.
void HideFormAnimated(AnimatedForm& provider);

// --- Queries and broadcasts ---
// The first owner of `component` (itself included) that is a form; nullptr when none is.
TForm* ParentFormOf(TComponent* component) noexcept;
// Whether the control may paint now (its skin state does not hold painting back); controls
// without skin state always may.
bool CanPaint(const TControl& control);
// SM_LUMOCMD with `command` in the high word of WParam: sent to a windowed control's window
// (0 without a window or while it is being destroyed), handed to a windowless one directly.
LRESULT SendLumoCommand(TControl& control, WORD command, LPARAM lp);
// The top-level window above `window` (itself when it has no parent).
HWND TopLevelWindowOf(HWND window) noexcept;
// The client rectangle of `window` in window coordinates (empty for a bad handle).
RECT ClientRectInWindow(HWND window) noexcept;
// Sends `m` to each direct child window of `window` (grandchildren are skipped).
void BroadcastToChildWindows(HWND window, const Lumo& m);

}  // namespace sapala::win::skin
