#include "win/framework/paint.h"

#include <cstring>

#include "core/graphics/pixels.h"
#include "win/framework/dib.h"
#include "win/framework/graphics.h"
#include "win/framework/handles.h"

namespace sapala::win {

using graphics::Rect;

void PaintSolidRect(HDC dc, const Rect& rect, graphics::TColor color) noexcept {
  if (rect.empty()) return;
  SavedDC saved(dc);
  Brush brush(::CreateSolidBrush(ToColorRef(graphics::ColorToRGB(color))));
  const RECT r{rect.left, rect.top, rect.right, rect.bottom};
  ::FillRect(dc, &r, brush.get());
}

void PaintSolidFrame(HDC dc, const Rect& rect, int left, int top, int right, int bottom,
                     graphics::TColor color) noexcept {
  for (const Rect& strip : graphics::FrameStrips(rect, left, top, right, bottom)) {
    PaintSolidRect(dc, strip, color);
  }
}

namespace {

// A copy of `source` in a fresh DIB section (so GDI can draw into or from it), or an empty
// bitmap when it cannot be made.
graphics::Bitmap AsDib(const graphics::Bitmap& source) {
  if (DibHandle(source)) return graphics::Bitmap();
  InstallDibSections();
  graphics::Bitmap copy = graphics::CloneBitmapShape(source);
  for (int y = 0; y < source.Height(); ++y) {
    std::memcpy(copy.ScanLine(y), source.ScanLine(y),
                static_cast<std::size_t>(graphics::RowBytes(source.Width(), source.Format())));
  }
  return copy;
}

}  // namespace

void GdiTextPainter::PaintText(graphics::Bitmap& target, std::u16string_view text, const Rect& rect,
                               unsigned format) {
  if (target.Format() != graphics::PixelFormat::pf8bit || target.Empty()) return;
  graphics::Bitmap temp = AsDib(target);
  graphics::Bitmap& canvas = temp.Empty() ? target : temp;
  HBITMAP handle = DibHandle(canvas);
  if (!handle) return;
  {
    MemoryDC dc(::CreateCompatibleDC(nullptr));
    SelectedObject bitmap(dc.get(), handle);
    SelectedObject font(dc.get(), font_);
    ::SetBkMode(dc.get(), TRANSPARENT);
    ::SetTextColor(dc.get(), RGB(0, 0, 0));
    RECT r{rect.left, rect.top, rect.right, rect.bottom};
    ::DrawTextW(dc.get(), reinterpret_cast<const wchar_t*>(text.data()),
                static_cast<int>(text.size()), &r, format);
    ::GdiFlush();
  }
  if (&canvas != &target) {
    for (int y = 0; y < target.Height(); ++y) {
      std::memcpy(target.ScanLine(y), canvas.ScanLine(y),
                  static_cast<std::size_t>(graphics::RowBytes(target.Width(), target.Format())));
    }
  }
}

void DrawPicture(HDC dc, const Rect& rect, const graphics::Bitmap& picture) noexcept {
  try {
    if (rect.empty() || picture.Empty()) return;
    graphics::Bitmap owned = AsDib(picture);
    const graphics::Bitmap& source = owned.Empty() ? picture : owned;
    HBITMAP source_handle = DibHandle(source);
    if (!source_handle) return;
    MemoryDC source_dc(::CreateCompatibleDC(dc));
    SelectedObject source_selected(source_dc.get(), source_handle);
    const int w = rect.width(), h = rect.height();
    if (picture.Format() != graphics::PixelFormat::pf32bit) {
      SavedDC saved(dc);
      ::SetStretchBltMode(dc, COLORONCOLOR);
      ::StretchBlt(dc, rect.left, rect.top, w, h, source_dc.get(), 0, 0, source.Width(),
                   source.Height(), SRCCOPY);
      return;
    }
    InstallDibSections();
    // What is on the DC now, to blend over.
    graphics::Bitmap back = graphics::NewBitmap32(w, h);
    MemoryDC back_dc(::CreateCompatibleDC(dc));
    SelectedObject back_selected(back_dc.get(), DibHandle(back));
    ::BitBlt(back_dc.get(), 0, 0, w, h, dc, rect.left, rect.top, SRCCOPY);
    ::GdiFlush();
    if (w == source.Width() && h == source.Height()) {
      graphics::ComposeOver({0, 0, w, h}, source.Bounds(), source, false, {}, back);
    } else {
      graphics::Bitmap colours = graphics::NewBitmap32(w, h);
      {
        MemoryDC colour_dc(::CreateCompatibleDC(dc));
        SelectedObject selected(colour_dc.get(), DibHandle(colours));
        ::SetStretchBltMode(colour_dc.get(), COLORONCOLOR);
        ::StretchBlt(colour_dc.get(), 0, 0, w, h, source_dc.get(), 0, 0, source.Width(),
                     source.Height(), SRCCOPY);
      }
      graphics::Bitmap alpha = graphics::ExtractAlpha(source);
      graphics::Bitmap alpha_dib = AsDib(alpha);
      const graphics::Bitmap& alpha_src = alpha_dib.Empty() ? alpha : alpha_dib;
      graphics::Bitmap stretched_alpha(w, h, graphics::PixelFormat::pf8bit);
      stretched_alpha.Palette() = alpha_src.Palette();
      {
        MemoryDC from(::CreateCompatibleDC(dc));
        SelectedObject from_selected(from.get(), DibHandle(alpha_src));
        MemoryDC to(::CreateCompatibleDC(dc));
        SelectedObject to_selected(to.get(), DibHandle(stretched_alpha));
        ::SetStretchBltMode(to.get(), HALFTONE);
        ::SetBrushOrgEx(to.get(), 0, 0, nullptr);
        ::StretchBlt(to.get(), 0, 0, w, h, from.get(), 0, 0, source.Width(), source.Height(),
                     SRCCOPY);
      }
      ::GdiFlush();
      graphics::ReplaceAlpha(colours, stretched_alpha);
      graphics::ComposeOver({0, 0, w, h}, colours.Bounds(), colours, false, {}, back);
    }
    ::BitBlt(dc, rect.left, rect.top, w, h, back_dc.get(), 0, 0, SRCCOPY);
  } catch (...) {
    // Painting never raises: an allocation failure or a bad picture draws nothing.
  }
}

}  // namespace sapala::win
