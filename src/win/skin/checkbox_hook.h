// TlcCheckBoxWnd: the hook of a standard check box or radio button (a BUTTON of type check box,
// three-state box or radio button). It paints the control into the hook's cache from its skin
// section ("CHECKBOX" unless set): what the parent shows, the skin's check glyph for the check
// state ("BOXCHECKED", "BOXUNCHECKED", "BOXGRAYED", "RADIOCHECKED", "RADIOUNCHECKED" of the
// skin's global images; frame 0 normal, 1 hot, 2 pressed where the image has them), the caption
// beside it in the section's font colours, the focus rectangle around the caption, and a disabled
// control faded 40 % into its background. The button's own procedure keeps the behaviour (clicks,
// keys, BM_* messages, automatic checking and radio groups); its own drawing is suppressed.
#pragma once

#include "win/skin/hook_base.h"

namespace sapala::win {

class TlcCheckBoxWnd : public TlcMainWnd {
 public:
  using TlcMainWnd::TlcMainWnd;

  // The frame of the glyph: 2 pressed, 1 hot (the manager's hot control) or focused, else 0;
  // 0 when disabled.
  int State() const noexcept;
  // The skin image index of the glyph shown now, -1 when the skin has none.
  int GlyphImage() const noexcept;
  // Rebuilds the cache now in the current state; false when there is nothing to paint.
  bool PaintCache() override;
  // Where the glyph and the caption lie in the last painted picture (client coordinates).
  RECT GlyphRect() const noexcept { return glyph_rect_; }
  RECT TextRect() const noexcept { return text_rect_; }
  bool FocusShown() const noexcept { return focus_shown_; }

 protected:
  void WndProc(Message& m) override;
  std::string DefaultSection() const override { return "CHECKBOX"; }

 private:
  // Passes `m` on with redraw switched off (the button's own drawing never reaches the screen),
  // then repaints from the skin.
  void PassQuietly(Message& m, bool rereadText = false) noexcept;
  void SetHot(bool hot) noexcept;

  RECT glyph_rect_{};
  RECT text_rect_{};
  bool focus_shown_ = false;
};

}  // namespace sapala::win
