// glyphgen: draws the program's help glyph, an 18 x 19 picture of a blue round help sign with a
// white question mark on a near-white ground (the ground colour, taken from the lower-left
// pixel, is drawn transparent), and writes it as a 24-bit BMP.
// Usage: glyphgen OUT.bmp
#include <cmath>
#include <cstdio>
#include <fstream>

#include "core/codecs/bmp.h"
#include "core/graphics/bitmap.h"

namespace {

using sapala::graphics::Bitmap;

constexpr int kWidth = 18, kHeight = 19;
constexpr double kCx = 9.0, kCy = 9.5, kRadius = 8.4;
constexpr unsigned kGround[3] = {0xF7, 0xF7, 0xF7};  // R, G, B: near-white

// The question mark, 7 x 11, '#' white.
constexpr const char* kMark[] = {
    " ##### ", "##   ##", "##   ##", "    ## ", "   ##  ", "   ##  ",
    "   ##  ", "       ", "   ##  ", "   ##  ", "       ",
};

void Pixel(Bitmap& bmp, int x, int y, double r, double g, double b) {
  auto c = [](double v) {
    return static_cast<std::uint32_t>(std::lround(std::fmin(255.0, std::fmax(0.0, v))));
  };
  bmp.SetRawPixel(x, y, 0xFF000000u | c(r) << 16 | c(g) << 8 | c(b));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: glyphgen OUT.bmp\n");
    return 2;
  }
  Bitmap bmp = sapala::graphics::NewBitmap32(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      // Coverage of the disc by 4 x 4 samples, so its edge is smooth against the ground.
      int inside = 0;
      for (int sy = 0; sy < 4; ++sy) {
        for (int sx = 0; sx < 4; ++sx) {
          const double px = x + (sx + 0.5) / 4, py = y + (sy + 0.5) / 4;
          if (std::hypot(px - kCx, py - kCy) <= kRadius) ++inside;
        }
      }
      const double cover = inside / 16.0;
      // Blue, lighter towards the top left like a lit sphere.
      const double light = std::fmax(0.0, 1.0 - std::hypot(x + 0.5 - 6.0, y + 0.5 - 5.5) / 11.0);
      const double br = 20 + 90 * light, bg = 60 + 110 * light, bb = 170 + 85 * light;
      Pixel(bmp, x, y, kGround[0] + (br - kGround[0]) * cover,
            kGround[1] + (bg - kGround[1]) * cover, kGround[2] + (bb - kGround[2]) * cover);
    }
  }
  for (int my = 0; my < 11; ++my) {
    for (int mx = 0; mx < 7; ++mx) {
      if (kMark[my][mx] == '#') Pixel(bmp, 6 + mx, 4 + my, 255, 255, 255);
    }
  }
  // The lower-left pixel stays ground: it names the transparent colour.
  Pixel(bmp, 0, kHeight - 1, kGround[0], kGround[1], kGround[2]);
  const auto bytes = sapala::codecs::WriteBmp(sapala::graphics::ConvertTo24(bmp));
  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "glyphgen: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
