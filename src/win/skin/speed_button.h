// TlcSpeedButtonHandler: skins a speed button. A speed button has no window of its own: its
// parent paints it, and hands it its mouse input. The handler becomes the button's painter
// (TControl::SetPainter) and paints it from a skin section into a picture of its own —
// background over what the parent shows, then the glyph and the caption side by side and
// centred, moved by one pixel while pressed, a disabled button faded 40 % into its background —
// which it copies to the parent's canvas. The button keeps its behaviour: hover, press and
// click are its own, and the handler reads its state from it.
//
// Section: "SPEEDBUTTON", or "SPEEDBUTTON_SMALL" for a small button (SpeedButtonSection), unless
// one is given.
//
// Lifetime: owned by the adapter's graphic item (or a test). The handler watches the button's
// end (free notification): a button freed first leaves the handler detached, never dangling.
// Freeing the handler first takes it off the button when the button still has it as painter.
#pragma once

#include <string>

#include "win/framework/dib.h"
#include "win/framework/stdctrls.h"

namespace sapala::win {

class TsSkinManager;

class TlcSpeedButtonHandler final : public TControlPainter, public TFreeListener {
 public:
  // `section` empty: the section by the button's size. `manager` nullptr: the default manager.
  TlcSpeedButtonHandler(TSpeedButton& button, TsSkinManager* manager, std::string section);
  ~TlcSpeedButtonHandler();
  TlcSpeedButtonHandler(const TlcSpeedButtonHandler&) = delete;
  TlcSpeedButtonHandler& operator=(const TlcSpeedButtonHandler&) = delete;

  // Takes over the button's painting and repaints it; false when the button is gone or has a
  // painter already.
  bool Install();
  // Gives the button's painting back (safe twice, and after the button was freed).
  void Remove() noexcept;

  // The button, nullptr once it was freed.
  TSpeedButton* Button() const noexcept { return button_; }
  bool Installed() const noexcept { return installed_; }
  const std::string& Section() const noexcept { return section_; }
  // The state index painted with: 2 pressed (down, or held down), 0 disabled, 1 under the
  // pointer, else 0.
  int State() const noexcept;
  // Rebuilds the picture now; false when there is nothing to paint (no skin, no section, no
  // button, an empty button).
  bool PaintCache();
  graphics::Bitmap* CachePicture() noexcept {
    return cache_.Width() > 0 && cache_.Height() > 0 ? &cache_.Pixels() : nullptr;
  }
  // Where the glyph and the caption went in the last picture (button coordinates).
  RECT GlyphRect() const noexcept { return glyph_rect_; }
  RECT TextRect() const noexcept { return text_rect_; }

  // The section of a button of this size when none is set: a button whose smaller side is
  // under 16 pixels (too small for a standard glyph and its border) is small.
  static const char* SpeedButtonSection(int width, int height) noexcept;

  void PaintControl(TControl& control, TCanvas& canvas) noexcept override;
  void ComponentFreed(TComponent& component) noexcept override;

 private:
  TsSkinManager* Manager() const noexcept;

  TSpeedButton* button_;
  TsSkinManager* manager_;
  std::string section_;
  bool installed_ = false;
  DibSurface cache_;
  RECT glyph_rect_{};
  RECT text_rect_{};
};

}  // namespace sapala::win
