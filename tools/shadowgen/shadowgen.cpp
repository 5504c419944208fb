// shadowgen: draws the built-in window-shadow pictures of extended borders and writes them as
// RGBA PNG files.
//
//   shadowgen OUT_DIR      writes OUT_DIR/lcSHDA.png and OUT_DIR/lcSHDI.png
//
// lcSHDA: 32 x 32, black, alpha rising smoothly from 0 at the edges to a flat plateau of 102 in
// the middle (12 x 12). lcSHDI: 31 x 31, black, plateau 77 (11 x 11), shifted one pixel toward
// the top. The rise is a smoothstep of the distance to the plateau, reaching 0 at every edge.
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Shadow {
  const char* name;
  int size;
  int plateau;      // alpha of the flat middle
  int left, top;    // first column / row of the plateau
  int right, bottom;  // last column / row of the plateau (inclusive)
};

double Smooth(double t) { return t * t * (3 - 2 * t); }

std::vector<std::uint8_t> Draw(const Shadow& s) {
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(s.size) * s.size * 4, 0);
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
      const double a = s.plateau * Smooth(std::clamp(ax, 0.0, 1.0)) * Smooth(std::clamp(ay, 0.0, 1.0));
      rgba[(static_cast<std::size_t>(y) * s.size + x) * 4 + 3] =
          static_cast<std::uint8_t>(std::lround(a));
    }
  }
  return rgba;
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void Chunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
  Put32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  uLong crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
  Put32(out, static_cast<std::uint32_t>(crc));
}

std::vector<std::uint8_t> EncodePng(int w, int h, const std::vector<std::uint8_t>& rgba) {
  std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> ihdr;
  Put32(ihdr, static_cast<std::uint32_t>(w));
  Put32(ihdr, static_cast<std::uint32_t>(h));
  ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, filter 0, no interlace
  Chunk(out, "IHDR", ihdr);
  std::vector<std::uint8_t> raw;
  for (int y = 0; y < h; ++y) {
    raw.push_back(0);  // filter type None
    raw.insert(raw.end(), rgba.begin() + static_cast<std::ptrdiff_t>(y) * w * 4,
               rgba.begin() + static_cast<std::ptrdiff_t>(y + 1) * w * 4);
  }
  uLongf len = compressBound(static_cast<uLong>(raw.size()));
  std::vector<std::uint8_t> z(len);
  compress2(z.data(), &len, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION);
  z.resize(len);
  Chunk(out, "IDAT", z);
  Chunk(out, "IEND", {});
  return out;
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
    const auto png = EncodePng(s.size, s.size, Draw(s));
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
