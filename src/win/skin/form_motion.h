// A skinned form's motion effects: it fades while the user drags it, it shrinks into its
// task-bar button when minimized and grows back out of it when restored, and it answers the
// task bar's requests for preview pictures. The form provider calls these at its points (its
// WM_NCLBUTTONDOWN on the caption, the application window's minimize and restore, the
// requests 0x323 and 0x326); everything runs on the thread that owns the form.
//
// Ownership: the move timer lives for one move loop. The minimize state of a form (its captured
// picture, the animation window, its timer, the form's layered state) lives from a minimize
// until the matching restore has finished, or until EndFormMotion, which the provider calls
// before its form's window goes. While a form is minimized this way its window is layered at
// opacity 0, so the provider must call StartRestoreAnimation (or EndFormMotion) when it is
// restored.
#pragma once

#include <windows.h>

#include <functional>

#include "core/graphics/bitmap.h"
#include "core/skin/motion_steps.h"
#include "core/threading/threaded_timer.h"
#include "win/skin/animated_form.h"

namespace sapala::win::skin {

// --- Blend on moving ---------------------------------------------------------------------------

// Fades a layered window towards the plan's target while the system's move loop runs; ticks
// every 12 ms on the user-interface thread.
class TlcMoveTimer : public threading::TlcThreadedTimer {
 public:
  TlcMoveTimer(threading::UiDispatcher& ui, HWND window, sapala::skin::BlendOnMovingPlan plan);
  ~TlcMoveTimer() override;
  int Opacity() const noexcept { return opacity_; }

 protected:
  void TimerEvent() override;

 private:
  HWND window_;
  sapala::skin::BlendOnMovingPlan plan_;
  int opacity_;
};

// Runs the system move loop (SC_MOVE + 2 at `cursor`, screen) for the form with the fade
// around it: the window (the extended-border companion when there is one) is made layered at
// the form's opacity and fades towards the manager's BlendValue (255 when `allowBlendOnMoving`
// is false). When the loop returns, the opacity is restored at once: a window that was not
// layered before loses the style, one that was (AlphaBlend) gets the form's opacity again; the
// window image is marked stale and the frame redrawn. The caller marks its form active.
void MoveWithBlend(AnimatedForm& form, bool allowBlendOnMoving, POINT cursor);

// --- Minimize and restore ----------------------------------------------------------------------

// Steps a minimize or restore animation every 15 ms.
class TlcMinTimer : public threading::TlcThreadedTimer {
 public:
  TlcMinTimer(threading::UiDispatcher& ui, std::function<void()> onTick);
  ~TlcMinTimer() override;

 protected:
  void TimerEvent() override;

 private:
  std::function<void()> onTick_;
};

// When the manager's Minimizing animation is active and layered windows exist: captures the
// form's picture (its window image, or a fresh capture of the whole window), makes the form
// layered at opacity 0 and starts shrinking the picture, in an animation window of its own,
// into the application's task-bar button (or the inner-edge point). The caller minimizes the
// window itself. False (nothing changed) when the animation does not run.
bool StartMinimizeAnimation(AnimatedForm& form);
// For a form minimized by StartMinimizeAnimation: runs the same frames backwards, then shows the
// form at its own opacity again. False (nothing changed) for any other form.
bool StartRestoreAnimation(AnimatedForm& form);
// The form was minimized by StartMinimizeAnimation and waits (at opacity 0) for its restore.
bool WaitsForRestore(const AnimatedForm& form) noexcept;
// A minimize or restore animation of the form is stepping now.
bool MotionRunning(const AnimatedForm& form) noexcept;
// Ends what runs for the form at once and gives its window back as it was found.
void EndFormMotion(AnimatedForm& form) noexcept;

// The two above around the system's minimize and restore of the form's window, with the
// system's own minimize animation switched off for the moment. Without an animation they only
// minimize or restore.
void MinimizeWithAnimation(AnimatedForm& form);
void RestoreWithAnimation(AnimatedForm& form);

// --- Task-bar previews ------------------------------------------------------------------------

inline constexpr UINT kSendIconicThumbnail = 0x0323;    // WM_DWMSENDICONICTHUMBNAIL
inline constexpr UINT kSendIconicLivePreview = 0x0326;  // WM_DWMSENDICONICLIVEPREVIEWBITMAP

// The desktop window manager's preview functions, looked up in dwmapi.dll on first use;
// nullptr where the system lacks them.
struct PreviewApi {
  HRESULT(WINAPI* SetIconicThumbnail)(HWND, HBITMAP, DWORD) = nullptr;
  HRESULT(WINAPI* SetIconicLivePreviewBitmap)(HWND, HBITMAP, POINT*, DWORD) = nullptr;
};
const PreviewApi& SystemPreviewApi() noexcept;
// Tests replace the functions for the scope of the object.
class ScopedPreviewApi {
 public:
  explicit ScopedPreviewApi(const PreviewApi& api) noexcept;
  ~ScopedPreviewApi();
  ScopedPreviewApi(const ScopedPreviewApi&) = delete;
  ScopedPreviewApi& operator=(const ScopedPreviewApi&) = delete;

 private:
  const PreviewApi* previous_;
};

// Answers a thumbnail request (lParam: maximum width in the high word, height in the low word)
// with the window image scaled to fit, aspect kept, or a live-preview request with the whole
// window's picture at (0, 0). False — no answer — for other messages, a zero size, no image or
// missing functions.
bool AnswerPreviewRequest(AnimatedForm& form, UINT msg, WPARAM wParam, LPARAM lParam);

// --- Pictures ----------------------------------------------------------------------------------

// The whole window (frame and client) as the window prints itself, opaque; empty on failure.
graphics::Bitmap CaptureWindowImage(HWND window);

// Tests watch every picture the motion effects hand to UpdateLayeredWindow (not premultiplied)
// with its screen rectangle and constant opacity, and every opacity a move tick applies.
using LayeredFrameSink =
    std::function<void(HWND window, const graphics::Bitmap& picture, RECT rect, int opacity)>;
void SetLayeredFrameSink(LayeredFrameSink sink);
using MoveTickSink = std::function<void(HWND window, int opacity)>;
void SetMoveTickSink(MoveTickSink sink);

}  // namespace sapala::win::skin
