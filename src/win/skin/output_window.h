// The output window: a window without any painting of its own laid over a form, so that the
// form's screen image stays frozen while the form repaints underneath with a new skin, and the
// skin-change cross-fade from the old look to the new one drawn into it.
//
// One output window and one picture of the frozen screen image exist at a time (made by
// FreezeUnderOutputWindow, freed by SkinChangeAnimated or ReleaseOutputWindow). The output
// window's object is owned here, not by the form: the form only owns its window, so a form that
// goes first takes the window with it and the object notices.
#pragma once

#include <windows.h>

#include "core/graphics/bitmap.h"
#include "win/framework/controls.h"

namespace sapala::win::skin {

class TOutputWindow final : public TCustomControl {
 public:
  // `over`: the control it is laid over (its owner window, or its parent's child when `over`
  // has a parent control).
  explicit TOutputWindow(TWinControl& over);
  TWinControl& Over() const noexcept { return over_; }

 protected:
  void CreateParams(struct CreateParams& params) override;
  void WndProc(Message& m) override;

 private:
  TWinControl& over_;
};

// Copies the control's current screen image into the global picture (made at its window size)
// and shows the global output window at its place without activating it.
void FreezeUnderOutputWindow(TWinControl& control);
// The global output window and picture, nullptr while there are none.
TOutputWindow* OutputWindow() noexcept;
const graphics::Bitmap* OutputPicture() noexcept;
// Frees both.
void ReleaseOutputWindow() noexcept;

// The cross-fade after a skin change, through the output window: the frozen old look (frozen
// now unless it already is) blended into a snapshot of the new look in N + 1 frames 12 ms
// apart, then the control redrawn for real and the output window freed.
void SkinChangeAnimated(TWinControl& control, int timeMs);

}  // namespace sapala::win::skin
