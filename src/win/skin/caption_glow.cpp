// One blurred caption glow per state, made again only when the text or its place changes.
#include "win/skin/caption_glow.h"

#include "core/graphics/effects.h"
#include "win/framework/paint.h"

namespace sapala::win {

using graphics::Rect;

void CaptionGlow::Draw(graphics::Bitmap& image, int state, HFONT font, std::wstring_view text,
                       const Rect& rect, unsigned flags, graphics::TColor color,
                       int size) noexcept {
  if (size <= 0 || text.empty() || rect.empty()) return;
  Kept& k = pictures_[state != 0 ? 1 : 0];
  // The blur is kept for the same text in the same place; anything else makes it anew.
  if (k.Text != text || k.Font != font || k.Width != rect.width() || k.Height != rect.height() ||
      k.Size != size || k.Flags != flags) {
    k = Kept{};
    try {
      k.Text = text;
    } catch (...) {
      return;
    }
    k.Font = font;
    k.Width = rect.width();
    k.Height = rect.height();
    k.Size = size;
    k.Flags = flags;
  }
  try {
    GdiTextPainter painter(font);
    const std::u16string u16(text.begin(), text.end());
    // Every side, then in place: the halo stands evenly around the letters.
    graphics::DrawGlowText(image, u16, rect, k.Mask, color, size, 15, flags, painter);
  } catch (...) {
    k = Kept{};
  }
}

}  // namespace sapala::win
