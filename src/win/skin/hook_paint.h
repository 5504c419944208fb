// Painting helpers shared by the control hooks: skinned text drawn with GDI into a hook's
// cache, the cache made opaque after GDI drew into it, what the parent shows copied under a
// part of the cache, and the disabled fade. All of them work on the hook's own pixels only and
// never throw.
#pragma once

#include <windows.h>

#include <string>

#include "core/graphics/bitmap.h"
#include "core/graphics/color.h"
#include "core/skin/skin_paint.h"
#include "core/skin/skin_text_paint.h"
#include "win/framework/controls.h"
#include "win/framework/handles.h"

namespace sapala::win {

using graphics::TColor;

// Skinned text drawn with GDI into a memory DC (the cache's), in the font selected there.
class CacheTextCanvas final : public sapala::skin::SkinTextCanvas {
 public:
  explicit CacheTextCanvas(HDC dc) noexcept : dc_(dc) {}
  void DrawText(std::u16string_view text, const graphics::Rect& rect, unsigned format, TColor color,
                const graphics::Rect& clip) override;
  int TextWidth(std::u16string_view text) override;
  void SetUnderline(bool) override {}

 private:
  HDC dc_;
};

inline std::u16string_view AsU16(const std::wstring& text) noexcept {
  return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

// The painting messages of a hook that draws its whole client area from its cache: erasing, the
// frame and UI-state changes are answered 1 without drawing; WM_PAINT (into the DC it brings, else
// between BeginPaint and EndPaint) and WM_PRINTCLIENT call `paint(dc)`. True when `m` was one.
template <class PaintFn>
bool AnswerCachePaintMessages(HWND hwnd, Message& m, PaintFn&& paint) noexcept {
  switch (m.Msg) {
    case WM_ERASEBKGND:
    case WM_NCPAINT:
    case WM_UPDATEUISTATE:
      m.Result = 1;
      return true;
    case WM_PAINT:
      if (m.WParam) {
        paint(reinterpret_cast<HDC>(m.WParam));
      } else {
        PaintScope ps(hwnd);
        paint(ps.dc());
      }
      m.Result = 0;
      return true;
    case WM_PRINTCLIENT:
      paint(reinterpret_cast<HDC>(m.WParam));
      m.Result = 0;
      return true;
    default:
      return false;
  }
}

// Every pixel of `picture` set to 0 (nothing painted yet).
void ClearPicture(graphics::Bitmap& picture) noexcept;
// GDI leaves the alpha bytes of what it drew at 0: every pixel made opaque.
void MakeOpaque(graphics::Bitmap& picture) noexcept;
// What lies under `rect` of the picture (picture coordinates): the parent's bitmap at
// `offset` + the background's own offset, else its colour.
void FillFromParent(graphics::Bitmap& picture, const graphics::Rect& rect,
                    const sapala::skin::ParentBackground& bg, POINT offset) noexcept;
// Every pixel of `picture` moved `percent` of the way towards what lies under it.
void FadeInto(graphics::Bitmap& picture, const sapala::skin::ParentBackground& bg, POINT offset,
              int percent) noexcept;

}  // namespace sapala::win
