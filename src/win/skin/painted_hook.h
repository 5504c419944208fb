// TlcPaintedWnd: the common base of the hooks that paint a whole common control into the hook's
// cache (tab and page controls, pages and panels, up-down controls, track bars, tool and status
// bars, edge statics, links). Each paint rebuilds the picture from the control's current state:
// these controls change their look from inside (keys, timers, their own hit testing) and only
// tell by invalidating themselves.
//
// The painting contract of a derived hook: PaintPicture draws into a picture of the client size
// that holds nothing yet, or, when SystemUnder() is true, the control's own drawing (its
// procedure painted into the cache DC first, so elements the skin lacks keep the system's
// look). Afterwards the picture is made opaque, a disabled control is faded 40 % into what its
// parent shows, and the picture is copied to the window.
//
// When the skin has no section for the hook, the control keeps the system's look: every
// painting message goes to its own procedure. Behaviour (mouse, keys, the control's messages)
// always stays with the control's procedure.
#pragma once

#include <string_view>

#include "core/skin/skin_paint.h"
#include "win/skin/hook_base.h"

namespace sapala::win {

class TlcPaintedWnd : public TlcMainWnd {
 public:
  using TlcMainWnd::TlcMainWnd;

  // Rebuilds the cache now; false when the hook leaves the painting to the control (no section,
  // no size).
  bool PaintCache() override;
  // Whether the hook paints the control now (it has its section in the applied skin).
  bool Painting() const noexcept { return Active() && HasLook(); }

 protected:
  // What a derived hook paints with.
  struct Canvas {
    graphics::Bitmap& Picture;
    HDC DC;  // the cache's DC, the control's font selected
    graphics::Rect Client;
    const sapala::skin::SkinTables& Tables;
    sapala::skin::ParentBackground Behind;  // what the parent shows, offset to this control
    bool Enabled;
  };

  void WndProc(Message& m) override;
  virtual void PaintPicture(Canvas& c) = 0;
  // Whether the applied skin has what the hook paints with (by default its section).
  virtual bool HasLook() const noexcept { return SectionData() != nullptr; }
  // The control paints into the cache before PaintPicture.
  virtual bool SystemUnder() const noexcept { return false; }
  // Called with each message after the control's procedure handled it: true when the picture
  // must be painted again (hot part changed and the like).
  virtual bool Changes(const Message&) { return false; }

  // Helpers for PaintPicture.
  // Section `section` (index in the tables; -1 draws nothing) in `state` over `rect`, its
  // border mask included, over what lies under the rect now (the picture, or the parent where
  // the picture is still empty).
  void PaintPart(Canvas& c, int section, graphics::Rect rect, int state) const noexcept;
  // What the parent shows, copied into `rect` of the picture.
  void FillBehind(Canvas& c, graphics::Rect rect) const noexcept;
  // Text in a section's font colours (state > 0: hot colours).
  void PaintText(Canvas& c, int section, std::wstring_view text, graphics::Rect rect, UINT format,
                 int state) const noexcept;
  // The section index of `name` in the applied skin, -1 when it has none.
  int SectionOf(std::string_view name) const noexcept;
  // The image `key` of section `section` (its parents searched too), -1 when there is none.
  int ImageOf(int section, std::string_view key) const noexcept;
  HFONT FontOf() const noexcept;
  // Makes the picture up to date and copies it to `dc`.
  void Paint(HDC dc) noexcept;
  void Invalidate() noexcept { ::InvalidateRect(hwnd_, nullptr, FALSE); }
  // Where the pointer is in client coordinates, when it is over the window.
  bool PointerInside(POINT& p) const noexcept;
};

}  // namespace sapala::win
