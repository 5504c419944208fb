// The control hooks' shared painting helpers.
#include "win/skin/hook_paint.h"

#include <algorithm>

#include "core/graphics/color.h"
#include "win/framework/handles.h"

namespace sapala::win {

namespace {

// Pixel words are B, G, R, A in memory; colours are 0x00BBGGRR.
TColor WordToColor(std::uint32_t w) noexcept {
  return ((w >> 16) & 0xFF) | (w & 0xFF00) | ((w & 0xFF) << 16);
}
std::uint32_t ColorToWord(TColor c) noexcept {
  return 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// The colour the parent shows under picture pixel (x, y).
TColor Under(const sapala::skin::ParentBackground& bg, POINT offset, int x, int y) noexcept {
  if (bg.IsBitmap && bg.Bitmap) {
    const int bx = x + offset.x + bg.OffsetX, by = y + offset.y + bg.OffsetY;
    if (bx >= 0 && by >= 0 && bx < bg.Bitmap->Width() && by < bg.Bitmap->Height())
      return WordToColor(bg.Bitmap->PixelWord(bx, by));
  }
  return graphics::ColorToRGB(bg.Color);  // a system colour as the colour it stands for
}

}  // namespace

void CacheTextCanvas::DrawText(std::u16string_view text, const graphics::Rect& rect,
                               unsigned format, TColor color, const graphics::Rect& clip) {
  SavedDC saved(dc_);
  ::IntersectClipRect(dc_, clip.left, clip.top, clip.right, clip.bottom);
  ::SetBkMode(dc_, TRANSPARENT);
  ::SetTextColor(dc_, ToColorRef(graphics::ColorToRGB(color)));
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  ::DrawTextW(dc_, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()), &r,
              format);
}

int CacheTextCanvas::TextWidth(std::u16string_view text) {
  SIZE size{};
  ::GetTextExtentPoint32W(dc_, reinterpret_cast<const wchar_t*>(text.data()),
                          static_cast<int>(text.size()), &size);
  return size.cx;
}

void ClearPicture(graphics::Bitmap& picture) noexcept {
  for (int y = 0; y < picture.Height(); ++y) {
    std::uint32_t* row = picture.Row32(y);
    std::fill(row, row + picture.Width(), 0u);
  }
}

void MakeOpaque(graphics::Bitmap& picture) noexcept {
  for (int y = 0; y < picture.Height(); ++y) {
    std::uint32_t* row = picture.Row32(y);
    for (int x = 0; x < picture.Width(); ++x) row[x] |= 0xFF000000u;
  }
}

void FillFromParent(graphics::Bitmap& picture, const graphics::Rect& rect,
                    const sapala::skin::ParentBackground& bg, POINT offset) noexcept {
  const int left = std::max(0, rect.left), top = std::max(0, rect.top);
  const int right = std::min(picture.Width(), rect.right);
  const int bottom = std::min(picture.Height(), rect.bottom);
  for (int y = top; y < bottom; ++y) {
    std::uint32_t* row = picture.Row32(y);
    for (int x = left; x < right; ++x) row[x] = ColorToWord(Under(bg, offset, x, y));
  }
}

void FadeInto(graphics::Bitmap& picture, const sapala::skin::ParentBackground& bg, POINT offset,
              int percent) noexcept {
  const double keep = (100 - percent) / 100.0;
  for (int y = 0; y < picture.Height(); ++y) {
    std::uint32_t* row = picture.Row32(y);
    for (int x = 0; x < picture.Width(); ++x) {
      const TColor mixed = graphics::MixColors(WordToColor(row[x]), Under(bg, offset, x, y), keep);
      row[x] = ColorToWord(mixed);
    }
  }
}

}  // namespace sapala::win
