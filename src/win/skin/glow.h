// Glows: a soft halo around a control (or a title-bar button) while the mouse is over it. Each
// glow is a window of its own — borderless, layered with per-pixel alpha, click-through and
// never activated — placed just outside the control and showing the section's glow image
// painted in nine parts around the control's size (the picture comes from the core).
//
// Glows live in one table of this thread and are addressed by their index there; a hidden glow
// leaves an empty slot, and the table only grows until it is cleared. Nothing here reports an
// error: a missing glow image, missing layered-window support or a bad handle give no glow.
#pragma once

#include <windows.h>

#include <string>

#include "core/graphics/bitmap.h"
#include "win/framework/handles.h"

namespace sapala::win {
class TsSkinManager;
}

namespace sapala::win::skin {

// The extended styles of a glow window: layered, click-through, tool window, not activated.
constexpr DWORD kGlowExStyle =
    WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
static_assert(kGlowExStyle == 0x080800A0);

class TlcGlowEffect {
 public:
  TlcGlowEffect(TsSkinManager& manager, int maskIndex, int margin);
  // The window goes with the effect.
  ~TlcGlowEffect();
  TlcGlowEffect(const TlcGlowEffect&) = delete;
  TlcGlowEffect& operator=(const TlcGlowEffect&) = delete;

  // Builds the picture for `controlRect` (screen) and its visible part `visibleRect` (control
  // coordinates), makes the window behind the host's predecessor in Z-order (at the top of the
  // topmost band for a topmost host) and shows it. False when there is nothing to show.
  bool Show(RECT controlRect, RECT visibleRect, HWND host);

  HWND WindowHandle() const noexcept { return window_.get(); }
  int MaskIndex() const noexcept { return mask_index_; }
  int Margin() const noexcept { return margin_; }
  // The picture as painted (not premultiplied), kept while the glow shows.
  const graphics::Bitmap& Picture() const noexcept { return picture_; }

 private:
  TsSkinManager& manager_;
  int mask_index_;
  int margin_;
  graphics::Bitmap picture_;
  Window window_;
};

// A copy of a 32-bit picture with its colours multiplied by its alpha, in a DIB section, as
// UpdateLayeredWindow takes it; the picture itself stays as it is.
Bitmap PremultipliedSection(const graphics::Bitmap& picture);

// The glow of `sectionName` (its image `imageName` + "0") around a control; returns the handle
// or -1. `manager` nullptr: the default manager. `opacity` is the blend's constant alpha.
int ShowGlow(RECT controlRect, RECT visibleRect, const std::string& sectionName,
             TsSkinManager* manager, HWND host, int opacity, int margin,
             const std::string& imageName);
// Frees the glow of `handle`; out-of-range handles and empty slots are ignored.
void HideGlow(int handle) noexcept;
// Frees every glow and empties the table. `restoreWindows` is accepted for the callers that
// end an animation; glow windows have a class of their own, so there is no procedure to restore.
void ClearGlows(bool restoreWindows) noexcept;
// The glow of a handle, nullptr for an empty slot or a bad handle (tests and diagnostics).
const TlcGlowEffect* GlowOf(int handle) noexcept;
// Slots in the table, empty ones included.
int GlowSlots() noexcept;

}  // namespace sapala::win::skin
