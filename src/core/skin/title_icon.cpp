#include "core/skin/title_icon.h"

#include <algorithm>
#include <cstdint>

namespace sapala::skin {

namespace {

// Colours as pixel words (alpha, red, green, blue).
constexpr std::uint32_t kCover = 0xFF8C2A1Eu;
constexpr std::uint32_t kPage = 0xFFF8F0DCu;
constexpr std::uint32_t kLine = 0xFF5A4A3Au;

struct Box {
  double left, top, right, bottom;
  bool Holds(double x, double y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// The book in a 16 × 16 design grid: a cover under two pages, a spine between them, and four
// lines of writing on each page.
std::uint32_t BookAt(double x, double y) {
  constexpr Box kPages[2] = {{1.5, 2.0, 7.6, 13.0}, {8.4, 2.0, 14.5, 13.0}};
  constexpr Box kSpine{7.6, 2.0, 8.4, 14.0};
  constexpr Box kCoverBox{0.5, 3.0, 15.5, 14.0};
  for (const Box& page : kPages) {
    if (!page.Holds(x, y)) continue;
    for (double line = 4.5; line < 12.0; line += 2.0) {
      if (y >= line && y < line + 0.9 && x >= page.left + 1.0 && x < page.right - 1.0) {
        return kLine;
      }
    }
    return kPage;
  }
  if (kSpine.Holds(x, y) || kCoverBox.Holds(x, y)) return kCover;
  return 0;
}

}  // namespace

int BuiltInTitleIconSize(int iconHeight) { return iconHeight > 16 ? 32 : 16; }

graphics::Bitmap BuiltInTitleIconPicture(int size) {
  const int n = std::clamp(size, 8, 256);
  graphics::Bitmap picture = graphics::NewBitmap32(n, n);
  const double unit = 16.0 / n;
  for (int y = 0; y < n; ++y) {
    std::uint32_t* row = picture.Row32(y);
    for (int x = 0; x < n; ++x) row[x] = BookAt((x + 0.5) * unit, (y + 0.5) * unit);
  }
  return picture;
}

}  // namespace sapala::skin
