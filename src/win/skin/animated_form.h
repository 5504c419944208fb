// What the window animations (appearing, disappearing, skin change, moving, minimizing) ask of
// a skinned form. The form provider implements it; the animations never know the provider's
// class, so they can be tested with a form of the test's own.
//
// Ownership: the form owns its provider and the provider owns its window image; an animation
// borrows both for its own duration only, except where a function says it takes a picture.
#pragma once

#include <windows.h>

#include "core/graphics/bitmap.h"
#include "core/skin/effects.h"
#include "win/framework/handles.h"

namespace sapala::win {
class TForm;
class TsSkinManager;
}  // namespace sapala::win

namespace sapala::win::skin {

// After which animation OnAfterAnimation is raised.
enum class TlcAnimEvent { aeShowing, aeHiding, aeSkinChanging };

// The provider's form-state bits the animations set and read.
enum TlcFormState : unsigned {
  fsShowing = 1,          // a show animation runs: no frame painting meanwhile
  fsHiding = 2,           // a hide animation runs
  fsCapturedForHide = 4,  // the window image was taken for the hide already
  fsRegionChanging = 8,
};

class AnimatedForm {
 public:
  virtual ~AnimatedForm() = default;

  virtual TForm& Form() noexcept = 0;
  virtual TsSkinManager& Manager() noexcept = 0;
  // The form's window (nullptr before it exists).
  virtual HWND FormWindow() const noexcept = 0;

  // The cached image of the whole window, its frame composed first when stale (the client
  // part holds what was last painted there); nullptr when the form has no skin state.
  virtual graphics::Bitmap* WindowImage() noexcept = 0;
  // Marks the window image stale; the next frame paint composes it again.
  virtual void InvalidateWindowImage() noexcept = 0;

  virtual unsigned FormState() const noexcept = 0;
  virtual void SetFormState(unsigned state) noexcept = 0;

  // The companion window that shows extended borders, nullptr without them; its margins
  // around the form's window rectangle.
  virtual HWND BorderWindow() const noexcept { return nullptr; }
  virtual RECT BorderMargins() const noexcept { return {}; }
  // The hide animation takes the border window over: the provider gives it up (its owner
  // window and window procedure put back) and forgets it; an empty owner keeps it.
  virtual Window ReleaseBorderWindow() noexcept { return Window(); }
  // The picture the border window shows (frame, shadow and client), for the hide animation.
  virtual graphics::Bitmap BorderWindowPicture() { return graphics::Bitmap(); }
  // The show animation borrowed the border window (region removed, other pictures shown) and
  // hands it back: the provider restores its region and picture.
  virtual void BorderWindowRestored() noexcept {}

  // The opacity the form shows at: its AlphaBlendValue when AlphaBlend is on, else 255.
  virtual int FormOpacity() const noexcept { return 255; }
  // A show animation ended at `opacity`: a form with AlphaBlend takes it as AlphaBlendValue.
  virtual void ShownAtOpacity(int /*opacity*/) noexcept {}

  // Raises the provider's OnAfterAnimation.
  virtual void AfterAnimation(TlcAnimEvent event) = 0;
};

}  // namespace sapala::win::skin
