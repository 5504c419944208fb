#include "win/framework/label.h"

#include "win/framework/loader.h"

namespace sapala::win {

namespace {
UINT AlignmentFlag(TAlignment a) {
  return a == TAlignment::taRightJustify ? DT_RIGHT
         : a == TAlignment::taCenter     ? DT_CENTER
                                         : DT_LEFT;
}
}  // namespace

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
  width_ = 65;
  height_ = 17;
  parent_color_ = true;
}

TColor TCustomLabel::EffectiveColor() const noexcept {
  return parent_color_ && parent_ ? parent_->Color() : color_;
}

void TCustomLabel::SetAutoSize(bool on) {
  if (on == auto_size_) return;
  auto_size_ = on;
  AdjustBounds();
}
void TCustomLabel::SetTransparent(bool on) {
  if (on == transparent_) return;
  transparent_ = on;
  Invalidate();
}
void TCustomLabel::SetWordWrap(bool on) {
  if (on == word_wrap_) return;
  word_wrap_ = on;
  AdjustBounds();
  Invalidate();
}
void TCustomLabel::SetShowAccelChar(bool on) {
  if (on == show_accel_char_) return;
  show_accel_char_ = on;
  Invalidate();
}
void TCustomLabel::SetAlignment(TAlignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  Invalidate();
}
void TCustomLabel::SetLayout(TTextLayout l) {
  if (l == layout_) return;
  layout_ = l;
  Invalidate();
}

std::wstring TCustomLabel::TextToDraw(UINT& flags) const {
  std::wstring text = caption_;
  if ((flags & DT_CALCRECT) && (text.empty() || (show_accel_char_ && text == L"&"))) text += L' ';
  if (!show_accel_char_) flags |= DT_NOPREFIX;
  return text;
}

void TCustomLabel::DrawDisabledText(TCanvas& canvas, RECT& rect, const std::wstring& text,
                                    UINT flags) {
  ::OffsetRect(&rect, 1, 1);
  canvas.Font().SetColor(graphics::clBtnHighlight);
  canvas.DrawText(text, rect, flags);
  ::OffsetRect(&rect, -1, -1);
  canvas.Font().SetColor(graphics::clBtnShadow);
  canvas.DrawText(text, rect, flags);
}

void TCustomLabel::DoDrawText(TCanvas& canvas, RECT& rect, UINT flags) {
  const std::wstring text = TextToDraw(flags);
  canvas.Font() = font_;
  if (!enabled_) {
    DrawDisabledText(canvas, rect, text, flags);
  } else {
    canvas.DrawText(text, rect, flags);
  }
}

void TCustomLabel::Paint(TCanvas& canvas) {
  RECT r{0, 0, width_, height_};
  if (!transparent_) {
    canvas.Brush().SetStyle(BrushStyle::bsSolid);
    canvas.Brush().SetColor(EffectiveColor());
    canvas.FillRect(r);
  }
  canvas.Brush().SetStyle(BrushStyle::bsClear);
  const UINT style = DT_EXPANDTABS | (word_wrap_ ? DT_WORDBREAK : 0) | AlignmentFlag(alignment_);
  if (layout_ != TTextLayout::tlTop) {
    RECT calc = r;
    DoDrawText(canvas, calc, style | DT_CALCRECT);
    const int offset =
        layout_ == TTextLayout::tlBottom ? height_ - calc.bottom : (height_ - calc.bottom) / 2;
    ::OffsetRect(&r, 0, offset);
  }
  DoDrawText(canvas, r, style);
}

void TCustomLabel::AdjustBounds() {
  if ((ComponentState() & csReading) || !auto_size_) return;
  RECT r{0, 0, width_, height_};
  {
    WindowDC screen(nullptr);
    if (!screen.get()) return;
    TCanvas canvas(screen.get());
    DoDrawText(canvas, r, DT_EXPANDTABS | DT_CALCRECT | (word_wrap_ ? DT_WORDBREAK : 0));
  }
  int x = left_;
  if (alignment_ == TAlignment::taRightJustify) x += width_ - r.right;
  SetBounds(x, top_, r.right, r.bottom);
}

void TCustomLabel::FontChanged() {
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::CaptionChanged() {
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

bool TCustomLabel::DialogChar(wchar_t ch, unsigned) {
  if (!focus_control_ || !enabled_ || !show_accel_char_ || !IsAccel(ch)) return false;
  if (focus_control_->CanFocus()) focus_control_->SetFocus();
  return true;
}

bool TCustomLabel::ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) {
  if (name == "AutoSize") {
    auto_size_ = loader.Bool(p);
    return true;
  }
  if (name == "Transparent") {
    transparent_ = loader.Bool(p);
    return true;
  }
  if (name == "WordWrap") {
    word_wrap_ = loader.Bool(p);
    return true;
  }
  if (name == "ShowAccelChar") {
    show_accel_char_ = loader.Bool(p);
    return true;
  }
  if (name == "Alignment") {
    alignment_ = loader.Enum<TAlignment>(p,
                                         {{"taLeftJustify", TAlignment::taLeftJustify},
                                          {"taRightJustify", TAlignment::taRightJustify},
                                          {"taCenter", TAlignment::taCenter}},
                                         "alignment");
    return true;
  }
  if (name == "Layout") {
    layout_ = loader.Enum<TTextLayout>(p,
                                       {{"tlTop", TTextLayout::tlTop},
                                        {"tlCenter", TTextLayout::tlCenter},
                                        {"tlBottom", TTextLayout::tlBottom}},
                                       "text layout");
    return true;
  }
  if (name == "FocusControl") {
    loader.Defer(
        [this, &loader, p] { focus_control_ = dynamic_cast<TWinControl*>(loader.Reference(p)); });
    return true;
  }
  return TGraphicControl::ReadProperty(name, p, loader);
}

}  // namespace sapala::win
