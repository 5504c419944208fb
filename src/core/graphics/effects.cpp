// Gaussian blur of 8-bit masks, glowing text and the filtered resampler.
#include "core/graphics/effects.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "core/graphics/errors.h"

namespace sapala::graphics {

namespace {

// The kept taps of the blur kernel, w[0] being the centre (k = 0) and w[k] = w[-k].
std::vector<float> BlurKernel(double radius) {
  float w[201];
  double sum = 0;
  for (int i = 0; i <= 200; ++i) {
    const double t = (i - 100) / radius;
    w[i] = static_cast<float>(std::exp(-t * t / 2));
    sum += w[i];
  }
  for (float& v : w) v = static_cast<float>(v / sum);
  int j = 100;
  double tail = 0;
  while (tail < 1.0 / 510 && j > 1) {
    tail += 2.0 * w[100 + j];
    --j;
  }
  double kept = 0;
  for (int i = 100 - j; i <= 100 + j; ++i) kept += w[i];
  std::vector<float> taps(static_cast<std::size_t>(j) + 1);
  for (int k = 0; k <= j; ++k)
    taps[static_cast<std::size_t>(k)] = static_cast<float>(w[100 + k] / kept);
  // Single-precision taps rarely add up to exactly 1; nudge the centre up until they reach it,
  // so that truncating the sums keeps a uniform area at its level (white stays 255).
  auto total = [&taps] {
    double t = taps[0];
    for (std::size_t k = 1; k < taps.size(); ++k) t += 2.0 * taps[k];
    return t;
  };
  while (total() < 1.0) taps[0] = std::nextafter(taps[0], 2.0f);
  return taps;
}

// One pass over n samples spaced `step` bytes apart: out[i] = Σ w[k] × in[clamp(i − k)].
void BlurLine(const std::uint8_t* in, std::uint8_t* out, int n, std::ptrdiff_t step,
              const std::vector<float>& taps, std::vector<std::uint8_t>& line) {
  const int j = static_cast<int>(taps.size()) - 1;
  line.resize(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) line[static_cast<std::size_t>(i)] = in[i * step];
  const std::uint8_t* src = line.data();
  for (int i = 0; i < n; ++i) {
    double s = taps[0] * double(src[i]);
    if (i - j >= 0 && i + j < n) {
      for (int k = 1; k <= j; ++k)
        s += taps[static_cast<std::size_t>(k)] * double(src[i - k] + src[i + k]);
    } else {
      for (int k = 1; k <= j; ++k) {
        const int a = std::clamp(i - k, 0, n - 1), b = std::clamp(i + k, 0, n - 1);
        s += taps[static_cast<std::size_t>(k)] * double(src[a] + src[b]);
      }
    }
    out[i * step] = static_cast<std::uint8_t>(std::clamp(s, 0.0, 255.0));
  }
}

}  // namespace

void BlurGray8(Bitmap& bitmap, double radius) {
  if (bitmap.Empty() || bitmap.Format() != PixelFormat::pf8bit || !(radius > 0)) return;
  const std::vector<float> taps = BlurKernel(radius);
  std::vector<std::uint8_t> line;
  for (int y = 0; y < bitmap.Height(); ++y) {
    BlurLine(bitmap.ScanLine(y), bitmap.ScanLine(y), bitmap.Width(), 1, taps, line);
  }
  // Columns: whole rows at a time (the same sums in the same order as BlurLine, but over
  // contiguous memory), from a copy of the row-blurred picture.
  const int w = bitmap.Width(), h = bitmap.Height();
  const int j = static_cast<int>(taps.size()) - 1;
  std::vector<std::uint8_t> copy(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  for (int y = 0; y < h; ++y)
    std::memcpy(copy.data() + static_cast<std::size_t>(y) * w, bitmap.ScanLine(y),
                static_cast<std::size_t>(w));
  std::vector<double> acc(static_cast<std::size_t>(w));
  auto rowOf = [&](int y) {
    return copy.data() + static_cast<std::size_t>(std::clamp(y, 0, h - 1)) * w;
  };
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* centre = rowOf(y);
    const double t0 = taps[0];
    for (int x = 0; x < w; ++x) acc[static_cast<std::size_t>(x)] = t0 * double(centre[x]);
    for (int k = 1; k <= j; ++k) {
      const std::uint8_t* a = rowOf(y - k);
      const std::uint8_t* b = rowOf(y + k);
      const double tk = taps[static_cast<std::size_t>(k)];
      for (int x = 0; x < w; ++x) acc[static_cast<std::size_t>(x)] += tk * double(a[x] + b[x]);
    }
    std::uint8_t* out = bitmap.ScanLine(y);
    for (int x = 0; x < w; ++x)
      out[x] = static_cast<std::uint8_t>(std::clamp(acc[static_cast<std::size_t>(x)], 0.0, 255.0));
  }
}

void DrawGlowText(Bitmap& dest, std::u16string_view text, Rect rect, Bitmap& cache, TColor color,
                  int radius, unsigned sides, unsigned format, TextPainter& painter) {
  if (dest.Empty() || dest.Format() != PixelFormat::pf32bit || rect.empty() || radius < 0) return;
  // Painting never raises: a glow too large for any bitmap (a damaged glow size in a skin)
  // draws nothing.
  constexpr std::int64_t kMaxGlowPixels = std::int64_t{1} << 24;
  const std::int64_t workW = std::int64_t{rect.width()} + 2 * (std::int64_t{radius} + 4);
  const std::int64_t workH = std::int64_t{rect.height()} + 2 * (std::int64_t{radius} + 4);
  if (workW > Bitmap::kMaxDimension || workH > Bitmap::kMaxDimension ||
      workW * workH > kMaxGlowPixels)
    return;
  const int grow = radius + 4;
  const Rect work = rect.inflate(grow, grow);
  if (cache.Format() != PixelFormat::pf8bit || cache.Width() != work.width() ||
      cache.Height() != work.height()) {
    cache = Bitmap(work.width(), work.height(), PixelFormat::pf8bit);
    cache.Palette().resize(256);
    for (std::uint32_t i = 0; i < 256; ++i) cache.Palette()[i] = i * 0x010101u;
    for (int y = 0; y < cache.Height(); ++y)
      std::memset(cache.ScanLine(y), 255, static_cast<std::size_t>(cache.Width()));
    const Rect textRect = RectOfSize(grow, grow, rect.width(), rect.height());
    constexpr int kMoves[4][2] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
    for (int bit = 0; bit < 4; ++bit) {
      if (sides & (1u << bit))
        painter.PaintText(cache, text, textRect.offset(kMoves[bit][0], kMoves[bit][1]), format);
    }
    painter.PaintText(cache, text, textRect, format);
    BlurGray8(cache, radius);
  }
  const TColor c = ColorToRGB(color);
  const int cc[3] = {BlueOf(c), GreenOf(c), RedOf(c)};
  for (int y = 0; y < cache.Height(); ++y) {
    const int ty = rect.top + y - grow;
    if (ty < 0 || ty >= dest.Height()) continue;
    const std::uint8_t* m = cache.ScanLine(y);
    std::uint32_t* d = dest.Row32(ty);
    for (int x = 0; x < cache.Width(); ++x) {
      const int tx = rect.left + x - grow;
      if (m[x] >= 255 || tx < 0 || tx >= dest.Width()) continue;
      const int mv = m[x];
      const std::uint32_t w = d[tx];
      std::uint32_t out = 0;
      for (int i = 0; i < 3; ++i) {
        const int ch = static_cast<int>(w >> (8 * i) & 0xFF);
        out |= static_cast<std::uint32_t>(cc[i] + (ch - cc[i]) * mv / 255) << (8 * i);
      }
      const int a = static_cast<int>(w >> 24);
      out |= static_cast<std::uint32_t>(a + (255 - mv) * (255 - a) / 255) << 24;
      d[tx] = out;
    }
  }
}

namespace {

struct FilterDef {
  double support;
  double (*value)(double v);  // v: signed, scaled distance
};

double BoxFilter(double v) { return (v > -0.5 && v <= 0.5) ? 1.0 : 0.0; }
double TriangleFilter(double v) {
  const double x = std::abs(v);
  return x < 1.0 ? 1.0 - x : 0.0;
}
double HermiteFilter(double v) {
  const double x = std::abs(v);
  return x < 1.0 ? x * x * (2 * x - 3) + 1 : 0.0;
}
double BellFilter(double v) {
  const double x = std::abs(v);
  if (x < 0.5) return 0.75 - x * x;
  if (x < 1.5) return (x - 1.5) * (x - 1.5) / 2;
  return 0.0;
}
double SplineFilter(double v) {
  const double x = std::abs(v);
  if (x < 1.0) return x * x * (x / 2 - 1) + 2.0 / 3;
  if (x < 2.0) return (2 - x) * (2 - x) * (2 - x) / 6;
  return 0.0;
}
double Lanczos3Filter(double v) {
  const double x = std::abs(v);
  if (x == 0) return 1.0;
  if (x < 3.0) return std::sin(std::numbers::pi * x) * std::sin(x) / (std::numbers::pi * x * x);
  return 0.0;
}
double MitchellFilter(double v) {
  const double x = std::abs(v);
  if (x < 1.0) return x * x * (7 * x / 6 - 2) + 8.0 / 9;
  if (x < 2.0) return x * x * (-7 * x / 18 + 2) - 10 * x / 3 + 16.0 / 9;
  return 0.0;
}

constexpr FilterDef kFilters[7] = {
    {0.51, BoxFilter},   {1.0, TriangleFilter}, {1.0, HermiteFilter}, {1.5, BellFilter},
    {2.0, SplineFilter}, {3.0, Lanczos3Filter}, {2.0, MitchellFilter}};

struct Contributor {
  int index;
  int weight;  // 16.16 fixed point
};
struct Contributions {
  std::vector<int> start;  // per output position: first entry in `list`
  std::vector<Contributor> list;
};

Contributions MakeContributions(int n, int m, const FilterDef& filter) {
  Contributions c;
  c.start.resize(static_cast<std::size_t>(m) + 1);
  const double s = m < n ? static_cast<double>(m) / n : 1.0;
  const double f = filter.support / s;
  for (int i = 0; i < m; ++i) {
    c.start[static_cast<std::size_t>(i)] = static_cast<int>(c.list.size());
    const double centre = static_cast<double>(n) * i / m;
    const int from = static_cast<int>(std::floor(centre - f));
    const int to = static_cast<int>(std::ceil(centre + f));
    for (int j = from; j <= to; ++j) {
      const double weight = filter.value((centre - j) * s) * s;
      if (weight == 0) continue;
      int k = j < 0 ? -j : (j >= n ? 2 * n - j - 1 : j);
      k = std::clamp(k, 0, n - 1);  // a mirror of a very wide filter can still fall outside
      c.list.push_back({k, static_cast<int>(RoundEven(weight * 65536))});
    }
  }
  c.start[static_cast<std::size_t>(m)] = static_cast<int>(c.list.size());
  return c;
}

// Sums fit 32 bits: a channel is at most 255 and the absolute weights of one output sample add
// up to a few times 65536 for every filter (their integrals are small), far below 2^31 / 255.
inline std::uint8_t ResampleClamp(std::int32_t sum) {
  if (sum < 0) return 0;
  if (sum >= 0xFF0001) return 255;
  return static_cast<std::uint8_t>(sum >> 16);
}

template <int Bytes>
void HorizontalPass(const Bitmap& src, Bitmap& dst, const Contributions& c) {
  for (int y = 0; y < src.Height(); ++y) {
    const std::uint8_t* in = src.ScanLine(y);
    std::uint8_t* out = dst.ScanLine(y);
    for (int i = 0; i < dst.Width(); ++i) {
      std::int32_t sum[Bytes] = {};
      for (int e = c.start[static_cast<std::size_t>(i)];
           e < c.start[static_cast<std::size_t>(i) + 1]; ++e) {
        const Contributor& k = c.list[static_cast<std::size_t>(e)];
        const std::uint8_t* p = in + static_cast<std::ptrdiff_t>(k.index) * Bytes;
        for (int b = 0; b < Bytes; ++b) sum[b] += k.weight * p[b];
      }
      for (int b = 0; b < Bytes; ++b) out[i * Bytes + b] = ResampleClamp(sum[b]);
    }
  }
}

template <int Bytes>
void VerticalPass(const Bitmap& src, Bitmap& dst, const Contributions& c) {
  const std::size_t rowBytes = static_cast<std::size_t>(dst.Width()) * Bytes;
  std::vector<std::int32_t> sums(rowBytes);
  for (int i = 0; i < dst.Height(); ++i) {
    std::fill(sums.begin(), sums.end(), 0);
    for (int e = c.start[static_cast<std::size_t>(i)]; e < c.start[static_cast<std::size_t>(i) + 1];
         ++e) {
      const Contributor& k = c.list[static_cast<std::size_t>(e)];
      const std::uint8_t* in = src.ScanLine(k.index);
      const std::int32_t w = k.weight;
      for (std::size_t b = 0; b < rowBytes; ++b) sums[b] += w * in[b];
    }
    std::uint8_t* out = dst.ScanLine(i);
    for (std::size_t b = 0; b < rowBytes; ++b) out[b] = ResampleClamp(sums[b]);
  }
}

}  // namespace

void Resample(const Bitmap& source, Bitmap& dest, int width, int filter, int height) {
  if (height == 0 || width == 0) return;
  if (width < 0 || height < 0) throw std::invalid_argument("Resample: negative size");
  if (filter < 0 || filter > 6) throw std::invalid_argument("Resample: unknown filter");
  if (source.Width() < 2 || source.Height() < 2) throw EGraphicError("Source bitmap is too small");
  if (&source == &dest) {
    if (width == source.Width() && height == source.Height()) return;
    const Bitmap copy = source.Clone();
    Resample(copy, dest, width, filter, height);
    return;
  }
  if (width == source.Width() && height == source.Height()) {
    dest = source.Clone();  // equal sizes copy the source as it is, palette pictures included
    return;
  }
  const bool is32 = source.Format() == PixelFormat::pf32bit;
  const PixelFormat format = is32 ? PixelFormat::pf32bit : PixelFormat::pf24bit;
  Bitmap converted;
  const Bitmap* src = &source;
  if (!is32 && source.Format() != PixelFormat::pf24bit) {
    converted = ConvertTo24(source);
    src = &converted;
  }
  Bitmap work(width, src->Height(), format);
  Bitmap out(width, height, format);
  const FilterDef& f = kFilters[filter];
  const Contributions horizontal = MakeContributions(src->Width(), width, f);
  const Contributions vertical = MakeContributions(src->Height(), height, f);
  if (is32) {
    HorizontalPass<4>(*src, work, horizontal);
    VerticalPass<4>(work, out, vertical);
  } else {
    HorizontalPass<3>(*src, work, horizontal);
    VerticalPass<3>(work, out, vertical);
  }
  dest = std::move(out);
}

}  // namespace sapala::graphics
