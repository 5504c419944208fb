#include "core/skin/caption_fade.h"

#include <algorithm>
#include <cstdint>

namespace sapala::skin {

int CaptionFadeSteps(int from, int to, TlcBtnEvents events) {
  if (from == to || to == 2) return 1;
  TlcBtnEvent event = beMouseEnter;
  if (from == 2) {
    event = beMouseUp;
  } else if (to == 0) {
    event = beMouseLeave;
  }
  return (events & event) != 0 ? kCaptionFadeSteps : 1;
}

int CaptionFadeWeight(int step, int steps) {
  if (steps <= 1) return 256;
  const int s = std::clamp(step, 1, steps);
  return 256 * s / steps;
}

void DrawCaptionFadeStep(const graphics::Bitmap& from, const graphics::Bitmap& to, int step,
                         int steps, graphics::Bitmap& out, graphics::Point at) {
  using graphics::PixelFormat;
  if (from.Format() != PixelFormat::pf32bit || to.Format() != PixelFormat::pf32bit ||
      out.Format() != PixelFormat::pf32bit || from.Width() != to.Width() ||
      from.Height() != to.Height()) {
    return;
  }
  const auto w = static_cast<std::uint32_t>(CaptionFadeWeight(step, steps));
  for (int y = 0; y < from.Height(); ++y) {
    const int oy = at.y + y;
    if (oy < 0 || oy >= out.Height()) continue;
    const std::uint32_t* a = from.Row32(y);
    const std::uint32_t* b = to.Row32(y);
    std::uint32_t* d = out.Row32(oy);
    for (int x = 0; x < from.Width(); ++x) {
      const int ox = at.x + x;
      if (ox < 0 || ox >= out.Width()) continue;
      std::uint32_t result = 0;
      for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t ca = a[x] >> shift & 0xFFu;
        const std::uint32_t cb = b[x] >> shift & 0xFFu;
        result |= ((ca * (256 - w) + cb * w) >> 8) << shift;
      }
      d[ox] = result;
    }
  }
}

}  // namespace sapala::skin
