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
  // The glyph's rectangle in the last painted picture; empty without a glyph.
  RECT GlyphRect() const noexcept { return glyph_rect_; }
  bool MouseAbove() const noexcept { return mouse_above_; }

 protected:
  void WndProc(Message& m) override;
  std::string DefaultSection() const override { return "BUTTON"; }
  // A glyph shown left of the caption (the pair centred): its size, {0, 0} for none, and its
  // drawing at `at` into the cache's DC. A plain push button has none.
  virtual SIZE GlyphSize() const noexcept { return {0, 0}; }
  virtual void PaintGlyph(HDC, graphics::Bitmap&, POINT, bool) noexcept {}

 private:
  // Passes `m` on with the window's redraw switched off, so the button's own drawing never
  // reaches the screen, then repaints from the skin.
  void PassQuietly(Message& m) noexcept;
  // The pointer entered (at `at` on the screen; nullptr: where the cursor is now).
  void MouseEnter(const POINT* at) noexcept;
  void MouseLeave() noexcept;
  void HideGlow() noexcept;

  RECT text_rect_{};
  RECT glyph_rect_{};
  bool mouse_above_ = false;
  int glow_ = -1;
};

// TlcBitBtnWnd: a push button with a glyph, the image the button holds (BM_GETIMAGE): the
// bitmap of a BS_BITMAP button, the icon of a BS_ICON one; a button with neither style shows
// whichever image the button answers (version 6 common controls keep one). The glyph stands left of
// the caption, the pair centred; a disabled button's glyph is faded half into the face before the
// whole button fades. The image belongs to the button; the hook only reads it.
class TlcBitBtnWnd : public TlcBtnWnd {
 public:
  using TlcBtnWnd::TlcBtnWnd;

 protected:
  SIZE GlyphSize() const noexcept override;
  void PaintGlyph(HDC dc, graphics::Bitmap& picture, POINT at, bool enabled) noexcept override;

 private:
  // The button's image and its kind (IMAGE_BITMAP or IMAGE_ICON); nullptr when it has none.
  HANDLE Image(UINT& kind) const noexcept;
};

}  // namespace sapala::win
