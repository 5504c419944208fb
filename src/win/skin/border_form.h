// TlcBorderForm: the companion window that shows a skinned form's extended borders — the
// form's frame with the skin's outer border or shadow around it — as a per-pixel-alpha layered
// window lying directly under the form and exceeding it by the border margins.
//
// The companion is a top-level popup of its own: layered, a tool window (no task-bar button),
// never activated. It is not owned by the form, since an owned window always lies above its
// owner; it shares the form's owner instead, so it stays above whatever the form stays above.
// The form's provider drives it: it hands over each new picture, and calls Follow whenever the
// form moved, was sized, changed its Z-order or was shown, hidden, minimized or restored.
//
// Input: the companion lets the mouse fall through to what lies under it, except on the margin
// band around a sizeable form, where it answers the sizing codes and hands a press there to the
// form (OnBorderPress; without a handler the form gets the system's size command).
//
// Ownership: the provider owns the companion; the window goes with it, or is handed to an
// animation by Release. Everything runs on the user-interface thread; nothing here throws.
#pragma once

#include <windows.h>

#include <functional>

#include "core/graphics/bitmap.h"
#include "win/framework/handles.h"

namespace sapala::win::skin {

// Layered, tool window, not activated.
constexpr DWORD kBorderFormExStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;

class TlcBorderForm {
 public:
  // A hidden companion for `form`. Check Handle(): no window without layered-window support.
  explicit TlcBorderForm(HWND form);
  ~TlcBorderForm();
  TlcBorderForm(const TlcBorderForm&) = delete;
  TlcBorderForm& operator=(const TlcBorderForm&) = delete;

  HWND Handle() const noexcept { return window_.get(); }
  HWND FormWindow() const noexcept { return form_; }
  // The margins by which the companion exceeds the form's window rectangle.
  RECT Margins() const noexcept { return margins_; }

  // Shows `picture` (32-bit, colours not premultiplied; the form's window rectangle lies at
  // `margins` inside it) with constant alpha `opacity`, placed around the form, then follows
  // the form (Follow). False when the picture could not be handed to the system.
  bool Update(const graphics::Bitmap& picture, RECT margins, int opacity);
  // Places the companion around the form's window rectangle, directly under the form, and
  // shows it while the form is visible, not minimized and not maximized (hides it otherwise).
  // Does nothing before the first picture.
  void Follow() noexcept;
  void Hide() noexcept;
  bool Visible() const noexcept;

  // The picture last handed over (as given, not premultiplied) and its constant alpha.
  const graphics::Bitmap& Picture() const noexcept { return picture_; }
  int Opacity() const noexcept { return opacity_; }

  // Gives the window up (an animation takes it over): it answers nothing of the form's any more
  // and is no longer moved or destroyed by this object.
  Window Release() noexcept;

  // A press on the sizing band: the hit code (10-17) and the screen point. Returns true when it
  // handled the press; otherwise the form gets SC_SIZE for that edge.
  std::function<bool(int hitCode, POINT screen)> OnBorderPress;

  // The hit code at a screen point: a sizing code on the margin band of a sizeable form
  // (WS_THICKFRAME, not maximized), HTTRANSPARENT anywhere else.
  LRESULT HitTest(POINT screen) const noexcept;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  static TlcBorderForm* From(HWND hwnd) noexcept;

  HWND form_;
  Window window_;
  RECT margins_{};
  graphics::Bitmap picture_;
  int opacity_ = 255;
  bool shown_ = false;  // a picture was handed over
};

}  // namespace sapala::win::skin
