#include "win/framework/stdctrls.h"

#include "win/framework/dib.h"
#include "win/framework/forms.h"
#include "win/framework/loader.h"

namespace sapala::win {

// ---------------------------------------------------------------- TEdit

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  color_ = graphics::clWindow;
  width_ = 121;
  height_ = 21;
}

void TEdit::CreateParams(struct CreateParams& params) {
  TWinControl::CreateParams(params);
  params.window_class = L"EDIT";
  params.standard_class = true;
  params.style |= ES_AUTOHSCROLL | ES_LEFT;
  if (read_only_) params.style |= ES_READONLY;
  if (border_style_ == EditBorderStyle::bsSingle) params.ex_style |= WS_EX_CLIENTEDGE;
}

void TEdit::CreateWnd() {
  if (max_length_ > 0)
    ::SendMessageW(WindowHandle(), EM_LIMITTEXT, static_cast<WPARAM>(max_length_), 0);
}

std::wstring TEdit::Text() const {
  if (!WindowHandle()) return caption_;
  const int n = ::GetWindowTextLengthW(WindowHandle());
  std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
  s.resize(static_cast<std::size_t>(::GetWindowTextW(WindowHandle(), s.data(), n + 1)));
  return s;
}

void TEdit::SetText(const std::wstring& text) {
  caption_ = text;
  if (WindowHandle()) ::SetWindowTextW(WindowHandle(), text.c_str());
}

HBRUSH TEdit::CtlColor(HDC dc) {
  const COLORREF back = ToColorRef(color_);
  if (!brush_ || brush_color_ != color_) {
    brush_.reset(::CreateSolidBrush(back));
    brush_color_ = color_;
  }
  ::SetTextColor(dc, ToColorRef(font_.Color()));
  ::SetBkColor(dc, back);
  return brush_.get();
}

bool TEdit::ReflectCommand(WORD code) {
  if (code != EN_CHANGE) return false;
  if (OnChange) OnChange(*this);
  return true;
}

bool TEdit::ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) {
  if (name == "BorderStyle") {
    border_style_ = loader.Enum<EditBorderStyle>(
        p, {{"bsNone", EditBorderStyle::bsNone}, {"bsSingle", EditBorderStyle::bsSingle}},
        "border style");
    return true;
  }
  if (name == "ReadOnly") {
    read_only_ = loader.Bool(p);
    return true;
  }
  if (name == "MaxLength") {
    max_length_ = static_cast<int>(loader.Int(p));
    return true;
  }
  if (name == "OnChange") {
    OnChange = loader.Event<TNotifyEvent>(p);
    return true;
  }
  return TWinControl::ReadProperty(name, p, loader);
}

// ---------------------------------------------------------------- TBevel

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
  width_ = 50;
  height_ = 50;
}

void TBevel::Paint(TCanvas& canvas) {
  TColor c1 = graphics::clBtnShadow, c2 = graphics::clBtnHighlight;
  if (style_ == BevelStyle::bsRaised) std::swap(c1, c2);
  // One bevel: c1 along the left and top, c2 along the right and bottom.
  auto bevel_rect = [&](int l, int t, int r, int b) {
    canvas.Pen().SetColor(c1);
    canvas.MoveTo(l, b);
    canvas.LineTo(l, t);
    canvas.LineTo(r, t);
    canvas.Pen().SetColor(c2);
    canvas.MoveTo(r, t);
    canvas.LineTo(r, b);
    canvas.LineTo(l - 1, b);
  };
  auto line = [&](TColor c, int x1, int y1, int x2, int y2) {
    canvas.Pen().SetColor(c);
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
  };
  const int w = width_, h = height_;
  switch (shape_) {
    case BevelShape::bsBox:
      bevel_rect(0, 0, w - 1, h - 1);
      break;
    case BevelShape::bsFrame: {
      const TColor outer = c1;
      c1 = c2;
      bevel_rect(1, 1, w - 1, h - 1);
      c2 = outer;
      c1 = outer;
      bevel_rect(0, 0, w - 2, h - 2);
      break;
    }
    case BevelShape::bsTopLine:
      line(c1, 0, 0, w, 0);
      line(c2, 0, 1, w, 1);
      break;
    case BevelShape::bsBottomLine:
      line(c1, 0, h - 2, w, h - 2);
      line(c2, 0, h - 1, w, h - 1);
      break;
    case BevelShape::bsLeftLine:
      line(c1, 0, 0, 0, h);
      line(c2, 1, 0, 1, h);
      break;
    case BevelShape::bsRightLine:
      line(c1, w - 2, 0, w - 2, h);
      line(c2, w - 1, 0, w - 1, h);
      break;
    case BevelShape::bsSpacer:
      break;
  }
}

bool TBevel::ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) {
  if (name == "Shape") {
    shape_ = loader.Enum<BevelShape>(p,
                                     {{"bsBox", BevelShape::bsBox},
                                      {"bsFrame", BevelShape::bsFrame},
                                      {"bsTopLine", BevelShape::bsTopLine},
                                      {"bsBottomLine", BevelShape::bsBottomLine},
                                      {"bsLeftLine", BevelShape::bsLeftLine},
                                      {"bsRightLine", BevelShape::bsRightLine},
                                      {"bsSpacer", BevelShape::bsSpacer}},
                                     "bevel shape");
    return true;
  }
  if (name == "Style") {
    style_ = loader.Enum<BevelStyle>(
        p, {{"bsLowered", BevelStyle::bsLowered}, {"bsRaised", BevelStyle::bsRaised}},
        "bevel style");
    return true;
  }
  return TGraphicControl::ReadProperty(name, p, loader);
}

// ---------------------------------------------------------------- TSpeedButton

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
  width_ = 23;
  height_ = 22;
}

void TSpeedButton::SetGlyph(graphics::Bitmap glyph) {
  glyph_ = std::move(glyph);
  if (!glyph_.Empty()) {
    glyph_.transparent = true;
    glyph_.transparentColor =
        graphics::ColorFromPixel(glyph_.PixelWord(0, glyph_.Height() - 1)) & 0xFFFFFF;
  }
  Invalidate();
}

void TSpeedButton::Paint(TCanvas& canvas) {
  RECT r{0, 0, width_, height_};
  const bool down = state_ == ButtonState::bsDown || state_ == ButtonState::bsExclusive;
  if (!flat_) {
    ::DrawFrameControl(canvas.Handle(), &r, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0));
  } else if (enabled_ && (down || mouse_in_)) {
    ::DrawEdge(canvas.Handle(), &r, down ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  }
  if (HBITMAP handle = DibHandle(glyph_)) {
    const int offset = down ? 1 : 0;
    const int x = (width_ - glyph_.Width()) / 2 + offset;
    const int y = (height_ - glyph_.Height()) / 2 + offset;
    canvas.Draw(x, y, handle, glyph_.transparent ? glyph_.transparentColor : graphics::clNone);
  }
  if (!caption_.empty()) {
    canvas.Font().SetColor(enabled_ ? font_.Color() : graphics::clGrayText);
    canvas.DrawText(caption_, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

void TSpeedButton::MouseDown(MouseButton button, unsigned shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button == MouseButton::mbLeft && enabled_) {
    state_ = ButtonState::bsDown;
    dragging_ = true;
    Repaint();
  }
}

void TSpeedButton::MouseMove(unsigned shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!dragging_) return;
  const bool inside = x >= 0 && y >= 0 && x < width_ && y < height_;
  const ButtonState wanted = inside ? ButtonState::bsDown : ButtonState::bsUp;
  if (wanted != state_) {
    state_ = wanted;
    Repaint();
  }
}

void TSpeedButton::MouseUp(MouseButton button, unsigned shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (!dragging_) return;
  dragging_ = false;
  const bool inside = x >= 0 && y >= 0 && x < width_ && y < height_;
  state_ = ButtonState::bsUp;
  Repaint();
  if (inside) Click();
}

// A flat button and a painted-over (skinned) one show the pointer above them.
void TSpeedButton::MouseEnter() {
  TGraphicControl::MouseEnter();
  if (flat_ || Painter()) Repaint();
}

void TSpeedButton::MouseLeave() {
  TGraphicControl::MouseLeave();
  if (flat_ || Painter()) Repaint();
}

bool TSpeedButton::DialogChar(wchar_t ch, unsigned) {
  if (!IsAccel(ch) || !Showing() || !enabled_) return false;
  Click();
  return true;
}

bool TSpeedButton::ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) {
  if (name == "Flat") {
    flat_ = loader.Bool(p);
    return true;
  }
  if (name == "Glyph.Data") {
    const auto& bytes = loader.Bytes(p);
    // The classic stored form: the picture's byte count (4 bytes, little-endian), then the file.
    std::size_t skip = 0;
    if (bytes.size() >= 6 && bytes[4] == 'B' && bytes[5] == 'M') skip = 4;
    SetGlyph(LoadPicture(bytes.data() + skip, bytes.size() - skip));
    return true;
  }
  if (name == "Glyph.Resource") {
    const std::wstring res = loader.String(p);
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(module, res.c_str(), MAKEINTRESOURCEW(10));
    HGLOBAL data = found ? ::LoadResource(module, found) : nullptr;
    const void* bits = data ? ::LockResource(data) : nullptr;
    if (!bits) loader.Fail(p, "the program has no picture resource of that name");
    SetGlyph(LoadPicture(bits, ::SizeofResource(module, found)));
    return true;
  }
  return TGraphicControl::ReadProperty(name, p, loader);
}

void RegisterStandardControls() {
  RegisterComponentClass<TEdit>("TEdit");
  RegisterComponentClass<TBevel>("TBevel");
  RegisterComponentClass<TSpeedButton>("TSpeedButton");
}

}  // namespace sapala::win
