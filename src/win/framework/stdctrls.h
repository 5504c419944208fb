// The standard controls the program's forms use: TEdit (the system edit control), TBevel (a
// windowless 3-D frame or line) and TSpeedButton (a windowless flat button with a glyph).
#pragma once

#include "core/graphics/bitmap.h"
#include "win/framework/controls.h"

namespace sapala::win {

enum class EditBorderStyle { bsNone, bsSingle };

class TEdit : public TWinControl {
 public:
  explicit TEdit(TComponent* owner);

  std::wstring Text() const;
  void SetText(const std::wstring& text);
  EditBorderStyle BorderStyle() const noexcept { return border_style_; }
  bool ReadOnly() const noexcept { return read_only_; }

  TNotifyEvent OnChange;

  bool ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) override;
  HBRUSH CtlColor(HDC dc) override;
  bool ReflectCommand(WORD code) override;

 protected:
  void CreateParams(struct CreateParams& params) override;
  void CreateWnd() override;

 private:
  EditBorderStyle border_style_ = EditBorderStyle::bsSingle;
  bool read_only_ = false;
  int max_length_ = 0;
  Brush brush_;
  TColor brush_color_ = graphics::clNone;
};

enum class BevelShape {
  bsBox,
  bsFrame,
  bsTopLine,
  bsBottomLine,
  bsLeftLine,
  bsRightLine,
  bsSpacer
};
enum class BevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
 public:
  explicit TBevel(TComponent* owner);
  BevelShape Shape() const noexcept { return shape_; }
  BevelStyle Style() const noexcept { return style_; }
  void Paint(TCanvas& canvas) override;
  bool ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) override;

 private:
  BevelShape shape_ = BevelShape::bsBox;
  BevelStyle style_ = BevelStyle::bsLowered;
};

enum class ButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

class TSpeedButton : public TGraphicControl {
 public:
  explicit TSpeedButton(TComponent* owner);
  bool Flat() const noexcept { return flat_; }
  ButtonState State() const noexcept { return state_; }
  const graphics::Bitmap& Glyph() const noexcept { return glyph_; }
  // The glyph: its lower-left pixel is the transparent colour.
  void SetGlyph(graphics::Bitmap glyph);

  void Paint(TCanvas& canvas) override;
  void MouseDown(MouseButton button, unsigned shift, int x, int y) override;
  void MouseMove(unsigned shift, int x, int y) override;
  void MouseUp(MouseButton button, unsigned shift, int x, int y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  bool DialogChar(wchar_t ch, unsigned shift) override;
  bool ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) override;

 private:
  bool flat_ = false;
  bool dragging_ = false;
  ButtonState state_ = ButtonState::bsUp;
  graphics::Bitmap glyph_;
};

// Registers the classes of this header for form descriptions.
void RegisterStandardControls();

}  // namespace sapala::win
