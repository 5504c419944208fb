// GDI drawing objects in the classic shape: TFont, TBrush and TPen describe what to draw with and
// create their GDI object on first use (the object is theirs until a property changes or they go);
// TCanvas draws on a DC it does not own, selecting its font, brush and pen only while it draws.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "core/graphics/color.h"
#include "win/framework/handles.h"

namespace sapala::win {

using graphics::TColor;

// A colour for GDI: system colours through GetSysColor; clNone and clDefault are not colours and
// give black (callers test for them first).
COLORREF ToColorRef(TColor color) noexcept;

// Installs GetSysColor as the system colour table behind the core's ColorToRGB.
void UseWindowsSystemColors() noexcept;

enum FontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
enum class FontPitch { fpDefault, fpVariable, fpFixed };

class TFont {
 public:
  TFont();
  TFont(const TFont& other);
  TFont& operator=(const TFont& other);

  const std::wstring& Name() const noexcept { return name_; }
  int Height() const noexcept { return height_; }  // < 0: character height in pixels
  int Size() const noexcept;                       // points at 96 dpi
  unsigned Style() const noexcept { return style_; }
  int Charset() const noexcept { return charset_; }
  FontPitch Pitch() const noexcept { return pitch_; }
  TColor Color() const noexcept { return color_; }

  void SetName(std::wstring name);
  void SetHeight(int height);
  void SetSize(int points);
  void SetStyle(unsigned style);
  void SetCharset(int charset);
  void SetPitch(FontPitch pitch);
  void SetColor(TColor color);

  // The GDI font, created on first use and owned by this object until a property changes.
  HFONT Handle() const;

  std::function<void()> OnChange;

 private:
  void Changed();

  std::wstring name_ = L"MS Sans Serif";
  int height_ = -11;
  unsigned style_ = 0;
  int charset_ = DEFAULT_CHARSET;
  FontPitch pitch_ = FontPitch::fpDefault;
  TColor color_ = graphics::clWindowText;
  mutable Font handle_;
};

enum class BrushStyle { bsSolid, bsClear };

class TBrush {
 public:
  TColor Color() const noexcept { return color_; }
  BrushStyle Style() const noexcept { return style_; }
  void SetColor(TColor color);
  void SetStyle(BrushStyle style);
  HBRUSH Handle() const;

 private:
  TColor color_ = graphics::clWhite;
  BrushStyle style_ = BrushStyle::bsSolid;
  mutable Brush handle_;
};

class TPen {
 public:
  TColor Color() const noexcept { return color_; }
  int Width() const noexcept { return width_; }
  void SetColor(TColor color);
  void SetWidth(int width);
  HPEN Handle() const;

 private:
  TColor color_ = graphics::clBlack;
  int width_ = 1;
  mutable Pen handle_;
};

class TCanvas {
 public:
  explicit TCanvas(HDC dc) noexcept;
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  HDC Handle() const noexcept { return dc_; }
  TFont& Font() noexcept { return font_; }
  TBrush& Brush() noexcept { return brush_; }
  TPen& Pen() noexcept { return pen_; }

  void FillRect(const RECT& r);
  void FrameRect(const RECT& r);
  void Rectangle(const RECT& r);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void TextOut(int x, int y, std::wstring_view text);
  SIZE TextExtent(std::wstring_view text);
  int TextWidth(std::wstring_view text) { return TextExtent(text).cx; }
  int TextHeight(std::wstring_view text) { return TextExtent(text).cy; }
  // DrawTextW with the font's colour and a transparent background; `format` takes DT_* flags
  // (without DT_NOPREFIX an '&' marks the next character as an accelerator and "&&" is one '&').
  int DrawText(std::wstring_view text, RECT& r, UINT format);
  // Draws a bitmap at (x, y); pixels of `transparent` colour are left out when it is not clNone.
  void Draw(int x, int y, HBITMAP bitmap, TColor transparent = graphics::clNone);

 private:
  void SelectFont();
  void SelectBrush();
  void SelectPen();

  HDC dc_;
  int saved_;
  TFont font_;
  TBrush brush_;
  TPen pen_;
};

}  // namespace sapala::win
