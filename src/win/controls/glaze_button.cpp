#include "win/controls/glaze_button.h"

#include <windowsx.h>
#include <mmsystem.h>

#include <cstdio>

#include "core/codecs/bmp.h"
#include "win/framework/dib.h"
#include "win/framework/forms.h"
#include "win/framework/library.h"
#include "win/framework/loader.h"

namespace sapala::win {

using namespace sapala::controls;

namespace {

constexpr const char* kLayoutNames[] = {"blGlyphLeft", "blGlyphRight", "blGlyphTop",
                                        "blGlyphBottom"};
constexpr const char* kSoundNames[] = {"ssPistol", "ssGame", "ssFire", "ssHealth"};
constexpr unsigned kModifiers = ssShift | ssCtrl | ssAlt;

std::string HexColor(TColor c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%08X", static_cast<unsigned>(c));
  return buf;
}

}  // namespace

TGlazeButton::TGlazeButton(TComponent* owner) : TCustomControl(owner) {
  // In this order: the named scheme sets Gradient, and the three state gradients are then
  // overridden with white without touching the scheme.
  width_ = 75;
  height_ = 25;
  ctl3d_ = true;
  transparent_glyph_ = true;
  gradient_ = false;
  SetTabStop(true);
  spacing_ = 4;
  cancel_ = false;
  default_ = false;
  hot_track_ = true;
  SetColorScheme(TColorScheme::csNeoDesert);
  mouse_held_ = false;
  colors_[kOverColorGrad] = graphics::clWhite;
  colors_[kDownColorGrad] = graphics::clWhite;
  colors_[kDisabledColorGrad] = graphics::clWhite;
}

void TGlazeButton::SetIndexedColor(int slot, TColor color) {
  if (slot < 0 || slot >= kColorSlotCount) return;
  colors_[static_cast<std::size_t>(slot)] = color;
  scheme_ = TColorScheme::csCustom;
  Invalidate();
}

void TGlazeButton::SetColorScheme(TColorScheme scheme) {
  scheme_ = scheme;
  if (scheme != TColorScheme::csCustom) {
    const SchemeColors table = SchemeTable(scheme);
    for (int slot = 0; slot < kColorSlotCount; ++slot) {
      if (table.writes[static_cast<std::size_t>(slot)])
        SetIndexedColor(slot, table.colors[static_cast<std::size_t>(slot)]);
    }
    SetGradient(table.gradient);
  }
  Invalidate();
  scheme_ = scheme;
}

void TGlazeButton::SetDefault(bool on) {
  default_ = on;
  if (!HandleAllocated()) return;
  if (TForm* form = ParentForm()) form->ActiveControlChanged(form->ActiveControl());
}

void TGlazeButton::SetCtl3D(bool on) {
  ctl3d_ = on;
  Invalidate();
}
void TGlazeButton::SetLayout(TButtonLayout layout) {
  layout_ = layout;
  Invalidate();
}
void TGlazeButton::SetSpacing(int spacing) {
  spacing_ = spacing;
  Invalidate();
}
void TGlazeButton::SetTransparentGlyph(bool on) {
  transparent_glyph_ = on;
  Invalidate();
}
void TGlazeButton::SetGradient(bool on) {
  gradient_ = on;
  Invalidate();
}

void TGlazeButton::SetGlyph(const graphics::Bitmap& glyph) {
  glyph_ = glyph.Empty() ? graphics::Bitmap() : graphics::ConvertTo32(glyph);
  Invalidate();
}

void TGlazeButton::FontChanged() {
  TCustomControl::FontChanged();
  Invalidate();
}
void TGlazeButton::CaptionChanged() {
  TCustomControl::CaptionChanged();
  Invalidate();
}
void TGlazeButton::EnabledChanged() {
  TCustomControl::EnabledChanged();
  Invalidate();
}

// ---------------------------------------------------------------- painting

void TGlazeButton::DrawFace(HDC dc) {
  const int w = width_, h = height_;
  const int set = !enabled_ ? kDisabledColorFace : static_cast<int>(state_) * 6;
  const TColor face = colors_[static_cast<std::size_t>(set + kFace)];
  const TColor grad = colors_[static_cast<std::size_t>(set + kGrad)];
  const TColor dark = colors_[static_cast<std::size_t>(set + kDark)];
  const TColor light = colors_[static_cast<std::size_t>(set + kLight)];
  const TColor border = colors_[static_cast<std::size_t>(set + kBorder)];
  const TColor text = colors_[static_cast<std::size_t>(set + kText)];

  TCanvas canvas(dc);
  canvas.Brush().SetStyle(BrushStyle::bsSolid);
  canvas.Brush().SetColor(face);
  canvas.FillRect(RECT{0, 0, w, h});
  if (gradient_ && h > 0) {
    const std::vector<TColor> lines = GradientLineColors(face, grad, h);
    for (int y = 0; y <= h; ++y) {
      canvas.Pen().SetColor(lines[static_cast<std::size_t>(y)]);
      canvas.MoveTo(0, y);
      canvas.LineTo(w - 1, y);
    }
  }

  canvas.Font() = font_;
  canvas.Font().SetColor(text);
  const SIZE extent = caption_.empty() ? SIZE{0, 0} : canvas.TextExtent(caption_);
  const bool down = state_ == VisualState::Down;
  const FaceLayout f = LayoutFace(w, h, extent.cx, extent.cy, !caption_.empty(), glyph_.Width(),
                                  glyph_.Height(), layout_, spacing_, down);
  if (!glyph_.Empty()) {
    DibSurface picture;
    picture.Resize(glyph_.Width(), glyph_.Height());
    // Colour bytes only: GDI's colour-keyed copy compares whole pixel words.
    for (int y = 0; y < glyph_.Height(); ++y) {
      const std::uint32_t* from = glyph_.Row32(y);
      std::uint32_t* to = picture.Pixels().Row32(y);
      for (int x = 0; x < glyph_.Width(); ++x) to[x] = from[x] & 0x00FFFFFFu;
    }
    ::GdiFlush();
    const std::uint32_t key = glyph_.Row32(0)[0];  // the top-left pixel is the transparent colour
    if (transparent_glyph_) {
      ::TransparentBlt(dc, f.glyph_x, f.glyph_y, glyph_.Width(), glyph_.Height(), picture.DC(), 0,
                       0, glyph_.Width(), glyph_.Height(),
                       RGB(key >> 16 & 0xFF, key >> 8 & 0xFF, key & 0xFF));
    } else {
      ::BitBlt(dc, f.glyph_x, f.glyph_y, glyph_.Width(), glyph_.Height(), picture.DC(), 0, 0,
               SRCCOPY);
    }
  }
  if (!caption_.empty()) {
    canvas.Brush().SetStyle(BrushStyle::bsClear);
    RECT r{f.text_x, f.text_y, f.text_x + extent.cx, f.text_y + extent.cy};
    canvas.DrawText(caption_, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
  }

  canvas.Brush().SetStyle(BrushStyle::bsClear);
  canvas.Pen().SetColor(border);
  canvas.Rectangle(RECT{0, 0, w, h});
  if (ctl3d_) {
    canvas.Pen().SetColor(light);
    canvas.MoveTo(1, h - 2);
    canvas.LineTo(1, 1);
    canvas.LineTo(w - 1, 1);
    canvas.Pen().SetColor(dark);
    canvas.MoveTo(w - 2, 1);
    canvas.LineTo(w - 2, h - 2);
    canvas.LineTo(1, h - 2);
  }
  if (focused_) {
    canvas.Pen().SetColor(colors_[kColorFocusRect]);
    canvas.Brush().SetStyle(BrushStyle::bsClear);
    canvas.Rectangle(RECT{3, 3, w - 3, h - 3});
  }
}

void TGlazeButton::PaintWindow(HDC dc, const RECT&) {
  const int w = width_, h = height_;
  if (w <= 0 || h <= 0) return;
  MemoryDC mem(::CreateCompatibleDC(dc));
  Bitmap buffer(::CreateCompatibleBitmap(dc, w, h));
  if (!mem || !buffer) return;
  SelectedObject selected(mem.get(), buffer.get());
  DrawFace(mem.get());
  ::BitBlt(dc, 0, 0, w, h, mem.get(), 0, 0, SRCCOPY);
}

void TGlazeButton::PaintNow() {
  if (!HandleAllocated()) return;
  ::InvalidateRect(WindowHandle(), nullptr, FALSE);
  ::UpdateWindow(WindowHandle());
}

// ---------------------------------------------------------------- behaviour

void TGlazeButton::PlayOwnSound() const {
  // WAVE resources 1..4 of the program, played asynchronously: a new sound cuts off the last.
  // winmm is loaded with the first sound, not at start-up.
  static const OptionalLibrary winmm(L"winmm.dll");
  static const auto play = winmm.Find<decltype(&::PlaySoundW)>("PlaySoundW");
  if (play)
    play(MAKEINTRESOURCEW(1 + static_cast<int>(sound_)), ::GetModuleHandleW(nullptr),
         SND_RESOURCE | SND_ASYNC);
}

void TGlazeButton::Click() {
  if (parent_) {
    if (TForm* form = ParentForm()) form->SetModalResult(modal_result_);
  }
  state_ = VisualState::Normal;
  PaintNow();
  TCustomControl::Click();
}

void TGlazeButton::Hover(bool inside) {
  if (inside == inside_) return;
  inside_ = inside;
  if (inside) {
    if ((ComponentState() & csDesigning) || !hot_track_) return;
    state_ = mouse_held_ ? VisualState::Down : VisualState::Over;
    if (use_sound_) PlayOwnSound();
  } else {
    state_ = VisualState::Normal;
  }
  PaintNow();
}

void TGlazeButton::MouseLeave() {
  TCustomControl::MouseLeave();
  // While the button holds the capture, moves decide whether the pointer is inside.
  if (::GetCapture() != WindowHandle() || !HandleAllocated()) Hover(false);
}

void TGlazeButton::MouseDown(MouseButton button, unsigned shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != MouseButton::mbLeft) return;
  mouse_held_ = true;
  clicked_ = true;
  if (HandleAllocated()) ::SetCapture(WindowHandle());
  state_ = VisualState::Down;
  if (TabStop() && CanFocus() && HandleAllocated() && !Focused()) SetFocus();
  PaintNow();
}

void TGlazeButton::MouseUp(MouseButton button, unsigned shift, int x, int y) {
  if (button == MouseButton::mbLeft) {
    // Decided before the capture goes: losing it clears clicked_.
    const bool click = clicked_ && x >= 0 && y >= 0 && x < width_ && y < height_;
    clicked_ = false;
    if (HandleAllocated() && ::GetCapture() == WindowHandle()) ::ReleaseCapture();
    if (click) Click();
  }
  TCustomControl::MouseUp(button, shift, x, y);
  mouse_held_ = false;
  // The left column and the top row count as outside: the state then stays as it is.
  if (x > 0 && x < width_ && y > 0 && y < height_) {
    state_ = hot_track_ ? VisualState::Over : VisualState::Normal;
  }
  PaintNow();
}

void TGlazeButton::WndProc(Message& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      bool inside = true;  // without capture, a move reaches us only over our window
      if (::GetCapture() == WindowHandle()) {
        const auto [x, y] = m.MousePoint();
        inside = x >= 0 && y >= 0 && x < width_ && y < height_;
      }
      Hover(inside);
      break;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(m.LParam) != WindowHandle()) clicked_ = false;
      break;
    default:
      break;
  }
  TCustomControl::WndProc(m);
}

void TGlazeButton::KeyDown(WORD& key, unsigned) {
  // Replaces the platform's key handling: OnKeyDown is never raised.
  if (key == VK_SPACE)
    state_ = VisualState::Down;
  else if (key == VK_RETURN)
    Click();
  PaintNow();
}

void TGlazeButton::KeyUp(WORD& key, unsigned) {
  if (key != VK_SPACE) return;
  state_ = VisualState::Normal;
  PaintNow();
  Click();
}

void TGlazeButton::DoEnter() {
  TCustomControl::DoEnter();
  focused_ = true;
  PaintNow();
}

void TGlazeButton::DoExit() {
  TCustomControl::DoExit();
  focused_ = false;
  state_ = VisualState::Normal;
  PaintNow();
}

bool TGlazeButton::DialogKey(WORD key, unsigned shift) {
  if ((shift & kModifiers) != 0 || !CanFocus()) return false;
  if ((key == VK_RETURN && Focused()) || (key == VK_ESCAPE && cancel_)) {
    Click();
    return true;
  }
  // A default button answers Enter alone, and not when another gradient button has the focus
  // (that one clicks itself).
  if (default_ && key == VK_RETURN) {
    const TWinControl* focused = TWinControl::FromHandle(::GetFocus());
    if (focused && focused != this && dynamic_cast<const TGlazeButton*>(focused)) return false;
    Click();
    return true;
  }
  return false;
}

bool TGlazeButton::DialogChar(wchar_t ch, unsigned) {
  if (!IsAccel(ch) || !enabled_) return false;
  Click();
  return true;
}

// ---------------------------------------------------------------- stored form

std::vector<std::pair<std::string, std::string>> TGlazeButton::StoredProperties() const {
  std::vector<std::pair<std::string, std::string>> out;
  for (int slot = 0; slot < kColorSlotCount; ++slot) {
    out.emplace_back(kColorSlotNames[static_cast<std::size_t>(slot)],
                     HexColor(colors_[static_cast<std::size_t>(slot)]));
  }
  auto boolean = [](bool b) { return std::string(b ? "True" : "False"); };
  out.emplace_back("ColorScheme", kSchemeNames[static_cast<std::size_t>(scheme_)]);
  out.emplace_back("Ctl3D", boolean(ctl3d_));
  out.emplace_back("Layout", kLayoutNames[static_cast<int>(layout_)]);
  // The picture as stored: its byte count (4 bytes, little-endian), then a BMP file; {} for none.
  std::string glyph = "{";
  if (!glyph_.Empty()) {
    const std::vector<std::uint8_t> file = codecs::WriteBmp(glyph_);
    std::vector<std::uint8_t> data;
    for (int i = 0; i < 4; ++i) data.push_back(static_cast<std::uint8_t>(file.size() >> (8 * i)));
    data.insert(data.end(), file.begin(), file.end());
    static const char kHex[] = "0123456789ABCDEF";
    for (std::uint8_t b : data) {
      glyph += kHex[b >> 4];
      glyph += kHex[b & 15];
    }
  }
  out.emplace_back("Glyph.Data", glyph + "}");
  out.emplace_back("Spacing", std::to_string(spacing_));
  out.emplace_back("TransparentGlyph", boolean(transparent_glyph_));
  out.emplace_back("Gradient", boolean(gradient_));
  out.emplace_back("HotTrack", boolean(hot_track_));
  if (cancel_) out.emplace_back("Cancel", "True");
  if (default_) out.emplace_back("Default", "True");
  if (modal_result_ != 0) out.emplace_back("ModalResult", std::to_string(modal_result_));
  if (use_sound_) out.emplace_back("UseSound", "True");
  if (sound_ != TSoundScheme::ssPistol)
    out.emplace_back("Sound", kSoundNames[static_cast<int>(sound_)]);
  return out;
}

bool TGlazeButton::ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) {
  for (int slot = 0; slot < kColorSlotCount; ++slot) {
    if (name == kColorSlotNames[static_cast<std::size_t>(slot)]) {
      SetIndexedColor(slot, loader.Color(p));
      return true;
    }
  }
  if (name == "ColorScheme") {
    SetColorScheme(loader.Enum<TColorScheme>(p, kSchemeNames, "colour scheme"));
    return true;
  }
  if (name == "Ctl3D") {
    SetCtl3D(loader.Bool(p));
    return true;
  }
  if (name == "Layout") {
    SetLayout(loader.Enum<TButtonLayout>(p, kLayoutNames, "button layout"));
    return true;
  }
  if (name == "Spacing") {
    SetSpacing(static_cast<int>(loader.Int(p)));
    return true;
  }
  if (name == "TransparentGlyph") {
    SetTransparentGlyph(loader.Bool(p));
    return true;
  }
  if (name == "Gradient") {
    SetGradient(loader.Bool(p));
    return true;
  }
  if (name == "HotTrack") {
    hot_track_ = loader.Bool(p);
    return true;
  }
  if (name == "Cancel") {
    cancel_ = loader.Bool(p);
    return true;
  }
  if (name == "Default") {
    default_ = loader.Bool(p);
    return true;
  }
  if (name == "UseSound") {
    use_sound_ = loader.Bool(p);
    return true;
  }
  if (name == "Sound") {
    sound_ = loader.Enum<TSoundScheme>(p, kSoundNames, "sound");
    return true;
  }
  if (name == "ModalResult") {
    if (std::get_if<std::int64_t>(&p.value)) {
      modal_result_ = static_cast<int>(loader.Int(p));
      return true;
    }
    static const char* const results[] = {"mrNone",  "mrOk",     "mrCancel", "mrAbort",
                                          "mrRetry", "mrIgnore", "mrYes",    "mrNo"};
    modal_result_ = loader.Enum<int>(p, results, "modal result");
    return true;
  }
  if (name == "Glyph.Data") {
    const auto& bytes = loader.Bytes(p);
    // The stored form: the picture's byte count (4 bytes, little-endian), then the file.
    std::size_t skip = 0;
    if (bytes.size() >= 6 && bytes[4] == 'B' && bytes[5] == 'M') skip = 4;
    SetGlyph(bytes.empty() ? graphics::Bitmap()
                           : LoadPicture(bytes.data() + skip, bytes.size() - skip));
    return true;
  }
  return TCustomControl::ReadProperty(name, p, loader);
}

void RegisterGlazeButton() { RegisterComponentClass<TGlazeButton>("TGlazeButton"); }

}  // namespace sapala::win
