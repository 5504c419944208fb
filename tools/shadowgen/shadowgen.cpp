// shadowgen: draws the built-in window-shadow pictures of extended borders and writes them as
// RGBA PNG files.
//
//   shadowgen OUT_DIR      writes OUT_DIR/lcSHDA.png and OUT_DIR/lcSHDI.png
//
// lcSHDA: 32 x 32, black, alpha rising smoothly from 0 at the edges to a flat plateau of 102 in
// the middle (12 x 12). lcSHDI: 31 x 31, black, plateau 77 (11 x 11), shifted one pixel toward
// the top. The rise is a smoothstep of the distance to the plateau, reaching 0 at every edge.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/codecs/png_writer.h"
#include "core/graphics/bitmap.h"

namespace {

struct Shadow {
  const char* name;
  int size;
  int plateau;        // alpha of the flat middle
  int left, top;      // first column / row of the plateau
  int right, bottom;  // last column / row of the plateau (inclusive)
};

double Smooth(double t) { return t * t * (3 - 2 * t); }

// Black with the alpha of the shadow.
sapala::graphics::Bitmap Draw(const Shadow& s) {
  sapala::graphics::Bitmap b = sapala::graphics::NewBitmap32(s.size, s.size);
  for (int y = 0; y < s.size; ++y) {
    for (int x = 0; x < s.size; ++x) {
      // Progress toward the plateau on each axis: 0 at the picture's edge, 1 on the plateau.
      auto axis = [](int v, int lo, int hi, int last) {
        if (v < lo) return static_cast<double>(v) / lo;
        if (v > hi) return static_cast<double>(last - v) / (last - hi);
        return 1.0;
      };
      const double ax = axis(x, s.left, s.right, s.size - 1);
      const double ay = axis(y, s.top, s.bottom, s.size - 1);
      const double a =
          s.plateau * Smooth(std::clamp(ax, 0.0, 1.0)) * Smooth(std::clamp(ay, 0.0, 1.0));
      b.Row32(y)[x] = static_cast<std::uint32_t>(std::lround(a)) << 24;
    }
  }
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: shadowgen OUT_DIR\n");
    return 2;
  }
  const Shadow shadows[] = {
      {"lcSHDA", 32, 102, 10, 10, 21, 21},
      {"lcSHDI", 31, 77, 10, 9, 20, 19},
  };
  for (const Shadow& s : shadows) {
    const auto png = sapala::codecs::WritePng(Draw(s));
    const std::string path = std::string(argv[1]) + "/" + s.name + ".png";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(png.data(), 1, png.size(), f) != png.size() ||
        std::fclose(f) != 0) {
      std::fprintf(stderr, "shadowgen: cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("%s: %d x %d, plateau %d, %zu bytes\n", path.c_str(), s.size, s.size, s.plateau,
                png.size());
  }
  return 0;
}
