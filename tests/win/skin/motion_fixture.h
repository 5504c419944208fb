// A skinned form as the motion effects see it, over a real TForm: the test decides the window
// image and the form's opacity and counts how often the image was marked stale.
#pragma once

#include <chrono>

#include "skin_fixture.h"
#include "win/skin/animated_form.h"

namespace sapala::win::testing {

class TestAnimatedForm final : public skin::AnimatedForm {
 public:
  TestAnimatedForm(TForm& form, TsSkinManager& manager) : form_(form), manager_(manager) {}
  TForm& Form() noexcept override { return form_; }
  TsSkinManager& Manager() noexcept override { return manager_; }
  HWND FormWindow() const noexcept override { return form_.WindowHandle(); }
  graphics::Bitmap* WindowImage() noexcept override { return image.Empty() ? nullptr : &image; }
  void InvalidateWindowImage() noexcept override { ++invalidations; }
  unsigned FormState() const noexcept override { return state; }
  void SetFormState(unsigned s) noexcept override { state = s; }
  int FormOpacity() const noexcept override { return opacity; }
  void AfterAnimation(skin::TlcAnimEvent) override {}

  graphics::Bitmap image;
  int opacity = 255;
  int invalidations = 0;
  unsigned state = 0;

 private:
  TForm& form_;
  TsSkinManager& manager_;
};

// Runs the application's messages until `done` answers true or `limit` has passed.
template <typename Done>
bool PumpUntil(TApplication& app, Done done, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    app.ProcessMessages();
  }
  return true;
}

inline LONG_PTR ExStyle(HWND w) { return ::GetWindowLongPtrW(w, GWL_EXSTYLE); }

inline int LayeredAlpha(HWND w) {
  BYTE alpha = 0;
  DWORD flags = 0;
  COLORREF key = 0;
  if (!::GetLayeredWindowAttributes(w, &key, &alpha, &flags) || !(flags & LWA_ALPHA)) return -1;
  return alpha;
}

}  // namespace sapala::win::testing
