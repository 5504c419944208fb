// TGlazeButton: an owner-drawn push button with four colour sets (normal, mouse over, pressed,
// disabled), an optional vertical gradient, a 3-D edge, a glyph and a centred caption. It
// follows the mouse, takes the focus, answers Space, Enter, Escape (with Cancel) and its
// accelerator, can play one of the program's four sounds when the mouse enters, and hands its
// ModalResult to its form on every click. Every state change repaints at once, each repaint
// drawing the whole face into one off-screen bitmap copied in a single blit.
#pragma once

#include <array>

#include "core/controls/glaze.h"
#include "core/graphics/bitmap.h"
#include "win/framework/controls.h"

namespace sapala::win {

using controls::TButtonLayout;
using controls::TColorScheme;

enum class TSoundScheme { ssPistol, ssGame, ssFire, ssHealth };

class TGlazeButton : public TCustomControl {
 public:
  enum class VisualState { Normal = 0, Over = 1, Down = 2 };

  explicit TGlazeButton(TComponent* owner);

  // The 25 colours by slot (controls::ColorSlot); setting one turns the scheme to csCustom.
  TColor IndexedColor(int slot) const noexcept { return colors_[static_cast<std::size_t>(slot)]; }
  void SetIndexedColor(int slot, TColor color);
  TColorScheme ColorScheme() const noexcept { return scheme_; }
  void SetColorScheme(TColorScheme scheme);

  bool Ctl3D() const noexcept { return ctl3d_; }
  void SetCtl3D(bool on);
  TButtonLayout Layout() const noexcept { return layout_; }
  void SetLayout(TButtonLayout layout);
  const graphics::Bitmap& Glyph() const noexcept { return glyph_; }
  // Copies the picture.
  void SetGlyph(const graphics::Bitmap& glyph);
  int Spacing() const noexcept { return spacing_; }
  void SetSpacing(int spacing);
  bool TransparentGlyph() const noexcept { return transparent_glyph_; }
  void SetTransparentGlyph(bool on);
  bool Gradient() const noexcept { return gradient_; }
  void SetGradient(bool on);
  bool HotTrack() const noexcept { return hot_track_; }
  void SetHotTrack(bool on) noexcept { hot_track_ = on; }
  bool Cancel() const noexcept { return cancel_; }
  void SetCancel(bool on) noexcept { cancel_ = on; }
  bool Default() const noexcept { return default_; }
  // Stores; with a window on a form, the form hears that the focus changed (so that what it
  // knows of default buttons is refreshed).
  void SetDefault(bool on);
  int ModalResult() const noexcept { return modal_result_; }
  void SetModalResult(int result) noexcept { modal_result_ = result; }
  bool UseSound() const noexcept { return use_sound_; }
  void SetUseSound(bool on) noexcept { use_sound_ = on; }
  TSoundScheme Sound() const noexcept { return sound_; }
  void SetSound(TSoundScheme sound) noexcept { sound_ = sound; }

  VisualState State() const noexcept { return state_; }
  bool MouseHeld() const noexcept { return mouse_held_; }
  bool HasFocusFlag() const noexcept { return focused_; }

  // Draws the whole button (W × H at the origin) on `dc`, as every repaint does.
  void DrawFace(HDC dc);
  // The stored description of the button's own properties, in stored order: the 25 colours,
  // ColorScheme, Ctl3D, Layout, Glyph, Spacing, TransparentGlyph, Gradient, HotTrack, then
  // Cancel, Default, ModalResult, UseSound and Sound only when they are not False or 0.
  std::vector<std::pair<std::string, std::string>> StoredProperties() const;

  void Click() override;
  bool DialogKey(WORD key, unsigned shift) override;
  bool DialogChar(wchar_t ch, unsigned shift) override;
  void MouseDown(MouseButton button, unsigned shift, int x, int y) override;
  void MouseUp(MouseButton button, unsigned shift, int x, int y) override;
  void MouseLeave() override;
  bool ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) override;

 protected:
  void WndProc(Message& m) override;
  void PaintWindow(HDC dc, const RECT& area) override;
  void KeyDown(WORD& key, unsigned shift) override;
  void KeyUp(WORD& key, unsigned shift) override;
  void DoEnter() override;
  void DoExit() override;
  void FontChanged() override;
  void CaptionChanged() override;
  void EnabledChanged() override;

 private:
  // Repaints now rather than at the next paint message.
  void PaintNow();
  void Hover(bool inside);
  void PlayOwnSound() const;

  std::array<TColor, controls::kColorSlotCount> colors_{};
  TColorScheme scheme_ = TColorScheme::csNeoDesert;
  bool ctl3d_ = true;
  TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
  graphics::Bitmap glyph_;
  int spacing_ = 4;
  bool transparent_glyph_ = true;
  bool gradient_ = false;
  bool hot_track_ = true;
  bool cancel_ = false;
  bool default_ = false;
  int modal_result_ = 0;
  bool use_sound_ = false;
  TSoundScheme sound_ = TSoundScheme::ssPistol;

  VisualState state_ = VisualState::Normal;
  bool mouse_held_ = false;
  bool focused_ = false;
  bool inside_ = false;   // the pointer is over the button (as far as hover is concerned)
  bool clicked_ = false;  // the left button went down here: a release inside clicks
};

// Registers TGlazeButton for form descriptions.
void RegisterGlazeButton();

}  // namespace sapala::win
