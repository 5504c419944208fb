// TCustomLabel: the platform's windowless caption label. It paints on its parent's surface:
// its background when not transparent, then its text laid out by alignment, word wrap and
// vertical layout. Subclasses change how the text is drawn by overriding DoDrawText, which is
// also what measures the text (DT_CALCRECT) for auto size and vertical layout.
#pragma once

#include <string>

#include "win/framework/controls.h"

namespace sapala::win {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout { tlTop, tlCenter, tlBottom };

class TCustomLabel : public TGraphicControl {
 public:
  explicit TCustomLabel(TComponent* owner);

  bool AutoSize() const noexcept { return auto_size_; }
  void SetAutoSize(bool on);
  bool Transparent() const noexcept { return transparent_; }
  void SetTransparent(bool on);
  bool WordWrap() const noexcept { return word_wrap_; }
  void SetWordWrap(bool on);
  bool ShowAccelChar() const noexcept { return show_accel_char_; }
  void SetShowAccelChar(bool on);
  TAlignment Alignment() const noexcept { return alignment_; }
  void SetAlignment(TAlignment a);
  TTextLayout Layout() const noexcept { return layout_; }
  void SetLayout(TTextLayout l);
  TWinControl* FocusControl() const noexcept { return focus_control_; }
  void SetFocusControl(TWinControl* c) noexcept { focus_control_ = c; }
  // The background colour: the parent's while ParentColor holds (the default), else Color.
  TColor EffectiveColor() const noexcept;

  void Paint(TCanvas& canvas) override;
  bool DialogChar(wchar_t ch, unsigned shift) override;
  bool ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) override;
  void Loaded() override;

  // With AutoSize: measures the text on a screen DC and takes its size (the right edge stays
  // put for right-aligned labels). Does nothing while the label is being read.
  void AdjustBounds();

 protected:
  // Draws (or with DT_CALCRECT measures into `rect`) the caption with the label's font.
  virtual void DoDrawText(TCanvas& canvas, RECT& rect, UINT flags);
  // The caption as drawn with `flags`: an empty caption (or a lone accelerator mark) still
  // measures one line high; without ShowAccelChar the flags gain DT_NOPREFIX.
  std::wstring TextToDraw(UINT& flags) const;
  // The disabled look: the text once in the highlight colour one pixel down and right, then in
  // the shadow colour in place.
  static void DrawDisabledText(TCanvas& canvas, RECT& rect, const std::wstring& text, UINT flags);
  void FontChanged() override;
  void CaptionChanged() override;

 private:
  bool auto_size_ = true;
  bool transparent_ = false;
  bool word_wrap_ = false;
  bool show_accel_char_ = true;
  TAlignment alignment_ = TAlignment::taLeftJustify;
  TTextLayout layout_ = TTextLayout::tlTop;
  TWinControl* focus_control_ = nullptr;
};

}  // namespace sapala::win
