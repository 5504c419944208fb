// The hooks of the static controls of system dialogs: TlcStaticWnd paints a text static (the
// text of a message box) over what its parent shows, in the skin section's font colour;
// TlcIconWnd paints an icon or bitmap static (the icon of a message box) the same way with its
// picture instead of text. Both keep the static's own procedure for everything but painting.
#pragma once

#include "win/skin/hook_base.h"

namespace sapala::win {

class TlcStaticWnd : public TlcMainWnd {
 public:
  using TlcMainWnd::TlcMainWnd;

  // Rebuilds the cache now: parent background, then the content. False when there is nothing
  // to paint (no size, no skin, or nothing to show).
  bool PaintCache() override;
  // The DrawText flags the text is drawn with, from the static's style and extended style.
  static UINT TextFlags(LONG_PTR style, LONG_PTR exStyle) noexcept;

 protected:
  void WndProc(Message& m) override;
  std::string DefaultSection() const override { return "CHECKBOX"; }
  // Draws the content into the cache's DC over the background; false when there is none.
  virtual bool PaintContent(HDC dc, const RECT& client);
  // The static paints itself: its style bit 0x10000 or a static edge.
  bool LeftToItself() const noexcept;

 private:
  void Paint(HDC dc) noexcept;
  void RedrawNow() noexcept;
};

class TlcIconWnd : public TlcStaticWnd {
 public:
  using TlcStaticWnd::TlcStaticWnd;

 protected:
  bool PaintContent(HDC dc, const RECT& client) override;

 private:
  HBITMAP bitmap_ = nullptr;  // the static's image, read once; the static owns it
};

}  // namespace sapala::win
