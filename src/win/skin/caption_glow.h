// The glow drawn behind a caption text (the titles of forms and dialogs) when the title section
// gives the state a glow size.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <string_view>

#include "core/graphics/bitmap.h"
#include "core/graphics/color.h"
#include "core/graphics/geometry.h"

namespace sapala::win {

// One blurred picture per state (inactive 0, active 1), kept between compositions while the
// text, font and place stay the same, and dropped by Clear (a new skin, new system metrics).
class CaptionGlow {
 public:
  // Tints `image` around `text` (laid out in `rect` by the DrawText `flags` in `font`) towards
  // `color`, `size` pixels out; nothing when `size` is 0. The text itself is drawn afterwards.
  void Draw(graphics::Bitmap& image, int state, HFONT font, std::wstring_view text,
            const graphics::Rect& rect, unsigned flags, graphics::TColor color, int size) noexcept;
  void Clear() noexcept { pictures_ = {}; }
  // The blurred picture of a state, empty when none was made (tests).
  const graphics::Bitmap& Picture(int state) const noexcept {
    return pictures_[state != 0 ? 1 : 0].Mask;
  }

 private:
  struct Kept {
    std::wstring Text;
    HFONT Font = nullptr;
    int Width = 0, Height = 0, Size = 0;
    unsigned Flags = 0;
    graphics::Bitmap Mask;
  };
  std::array<Kept, 2> pictures_;
};

}  // namespace sapala::win
