// TlcBtnWnd: the hook of a standard push button. It paints the button from its skin section
// ("BUTTON" unless set) into the hook's cache — background over what the parent shows, the
// caption centred in the section's font colours, the focus rectangle, a disabled button faded
// 40 % into its background — and copies the cache to the screen. The button's own procedure
// keeps the behaviour (clicks, keys, BM_* messages); its own drawing is suppressed.
#pragma once

#include "win/skin/hook_base.h"

namespace sapala::win {

class TlcBtnWnd : public TlcMainWnd {
 public:
  using TlcMainWnd::TlcMainWnd;
  ~TlcBtnWnd() override;

  // The state index the button paints with: 2 pressed, 0 disabled, 1 focused or hot (or a
  // default push button), else 0.
  int State() const noexcept;
  // Rebuilds the cache now in the current state; false when there is nothing to paint.
  bool PaintCache() override;
  // The caption's rectangle in the last painted picture (client coordinates).
  RECT TextRect() const noexcept { return text_rect_; }
  bool MouseAbove() const noexcept { return mouse_above_; }

 protected:
  void WndProc(Message& m) override;
  std::string DefaultSection() const override { return "BUTTON"; }

 private:
  // Passes `m` on with the window's redraw switched off, so the button's own drawing never
  // reaches the screen, then repaints from the skin.
  void PassQuietly(Message& m) noexcept;
  // The pointer entered (at `at` on the screen; nullptr: where the cursor is now).
  void MouseEnter(const POINT* at) noexcept;
  void MouseLeave() noexcept;
  void HideGlow() noexcept;

  RECT text_rect_{};
  bool mouse_above_ = false;
  int glow_ = -1;
};

}  // namespace sapala::win
