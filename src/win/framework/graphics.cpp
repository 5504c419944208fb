#include "win/framework/graphics.h"

namespace sapala::win {

namespace {

class WindowsColors final : public graphics::SystemColorTable {
 public:
  TColor SysColor(int index) const override { return static_cast<TColor>(::GetSysColor(index)); }
};

}  // namespace

COLORREF ToColorRef(TColor color) noexcept {
  if (color == graphics::clNone || color == graphics::clDefault) return RGB(0, 0, 0);
  if (graphics::IsSystemColor(color)) return ::GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color) & 0x00FFFFFFu;
}

void UseWindowsSystemColors() noexcept {
  static const WindowsColors table;
  graphics::SetSystemColorTable(&table);
}

// --- TFont ---

TFont::TFont() = default;
TFont::TFont(const TFont& other)
    : name_(other.name_),
      height_(other.height_),
      style_(other.style_),
      charset_(other.charset_),
      pitch_(other.pitch_),
      color_(other.color_) {}

TFont& TFont::operator=(const TFont& other) {
  if (this != &other) {
    name_ = other.name_;
    height_ = other.height_;
    style_ = other.style_;
    charset_ = other.charset_;
    pitch_ = other.pitch_;
    color_ = other.color_;
    Changed();
  }
  return *this;
}

int TFont::Size() const noexcept { return -::MulDiv(height_, 72, 96); }

void TFont::SetName(std::wstring name) {
  if (name != name_) {
    name_ = std::move(name);
    Changed();
  }
}
void TFont::SetHeight(int height) {
  if (height != height_) {
    height_ = height;
    Changed();
  }
}
void TFont::SetSize(int points) { SetHeight(-::MulDiv(points, 96, 72)); }
void TFont::SetStyle(unsigned style) {
  if (style != style_) {
    style_ = style;
    Changed();
  }
}
void TFont::SetCharset(int charset) {
  if (charset != charset_) {
    charset_ = charset;
    Changed();
  }
}
void TFont::SetPitch(FontPitch pitch) {
  if (pitch != pitch_) {
    pitch_ = pitch;
    Changed();
  }
}
void TFont::SetColor(TColor color) {
  if (color != color_) {
    color_ = color;
    Changed();
  }
}

void TFont::Changed() {
  handle_.reset();
  if (OnChange) OnChange();
}

HFONT TFont::Handle() const {
  if (!handle_) {
    LOGFONTW lf{};
    lf.lfHeight = height_;
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) ? TRUE : FALSE;
    lf.lfUnderline = (style_ & fsUnderline) ? TRUE : FALSE;
    lf.lfStrikeOut = (style_ & fsStrikeOut) ? TRUE : FALSE;
    lf.lfCharSet = static_cast<BYTE>(charset_);
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = pitch_ == FontPitch::fpFixed      ? FIXED_PITCH
                          : pitch_ == FontPitch::fpVariable ? VARIABLE_PITCH
                                                            : DEFAULT_PITCH;
    lstrcpynW(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
    handle_.reset(::CreateFontIndirectW(&lf));
  }
  return handle_.get();
}

// --- TBrush, TPen ---

void TBrush::SetColor(TColor color) {
  if (color != color_) {
    color_ = color;
    handle_.reset();
  }
}
void TBrush::SetStyle(BrushStyle style) {
  if (style != style_) {
    style_ = style;
    handle_.reset();
  }
}

HBRUSH TBrush::Handle() const {
  if (style_ == BrushStyle::bsClear) return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
  if (!handle_) handle_.reset(::CreateSolidBrush(ToColorRef(color_)));
  return handle_.get();
}

void TPen::SetColor(TColor color) {
  if (color != color_) {
    color_ = color;
    handle_.reset();
  }
}
void TPen::SetWidth(int width) {
  if (width != width_) {
    width_ = width;
    handle_.reset();
  }
}

HPEN TPen::Handle() const {
  if (!handle_) handle_.reset(::CreatePen(PS_SOLID, width_, ToColorRef(color_)));
  return handle_.get();
}

// --- TCanvas ---

TCanvas::TCanvas(HDC dc) noexcept : dc_(dc), saved_(::SaveDC(dc)) {}

TCanvas::~TCanvas() {
  // Our font, brush and pen go with this object: put the DC's own back first.
  if (saved_) ::RestoreDC(dc_, saved_);
}

void TCanvas::SelectFont() {
  ::SelectObject(dc_, font_.Handle());
  ::SetTextColor(dc_, ToColorRef(font_.Color()));
}
void TCanvas::SelectBrush() { ::SelectObject(dc_, brush_.Handle()); }
void TCanvas::SelectPen() { ::SelectObject(dc_, pen_.Handle()); }

void TCanvas::FillRect(const RECT& r) { ::FillRect(dc_, &r, brush_.Handle()); }
void TCanvas::FrameRect(const RECT& r) { ::FrameRect(dc_, &r, brush_.Handle()); }

void TCanvas::Rectangle(const RECT& r) {
  SelectBrush();
  SelectPen();
  ::Rectangle(dc_, r.left, r.top, r.right, r.bottom);
}

void TCanvas::MoveTo(int x, int y) { ::MoveToEx(dc_, x, y, nullptr); }
void TCanvas::LineTo(int x, int y) {
  SelectPen();
  ::LineTo(dc_, x, y);
}

void TCanvas::TextOut(int x, int y, std::wstring_view text) {
  SelectFont();
  ::SetBkMode(dc_, brush_.Style() == BrushStyle::bsClear ? TRANSPARENT : OPAQUE);
  ::SetBkColor(dc_, ToColorRef(brush_.Color()));
  ::TextOutW(dc_, x, y, text.data(), static_cast<int>(text.size()));
}

SIZE TCanvas::TextExtent(std::wstring_view text) {
  SelectFont();
  SIZE s{};
  ::GetTextExtentPoint32W(dc_, text.data(), static_cast<int>(text.size()), &s);
  return s;
}

int TCanvas::DrawText(std::wstring_view text, RECT& r, UINT format) {
  SelectFont();
  ::SetBkMode(dc_, TRANSPARENT);
  return ::DrawTextW(dc_, text.data(), static_cast<int>(text.size()), &r, format);
}

void TCanvas::Draw(int x, int y, HBITMAP bitmap, TColor transparent) {
  BITMAP bm{};
  if (!bitmap || !::GetObjectW(bitmap, sizeof bm, &bm)) return;
  MemoryDC src(::CreateCompatibleDC(dc_));
  SelectedObject selected(src.get(), bitmap);
  if (transparent == graphics::clNone) {
    ::BitBlt(dc_, x, y, bm.bmWidth, bm.bmHeight, src.get(), 0, 0, SRCCOPY);
  } else {
    ::TransparentBlt(dc_, x, y, bm.bmWidth, bm.bmHeight, src.get(), 0, 0, bm.bmWidth, bm.bmHeight,
                     ToColorRef(transparent));
  }
}

}  // namespace sapala::win
