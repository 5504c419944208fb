// Throughput of the pixel primitives: BlendRect and Resample in output megapixels per second
// (items_per_second), BlurGray8 in milliseconds per megapixel (the time of one 1-Mpix run).
#include <benchmark/benchmark.h>

#include <cstring>

#include "core/graphics/effects.h"
#include "core/graphics/pixels.h"

namespace {

using sapala::graphics::Bitmap;

Bitmap Noise32(int w, int h, std::uint32_t seed) {
  Bitmap b = sapala::graphics::NewBitmap32(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      seed = seed * 1664525u + 1013904223u;
      b.Row32(y)[x] = seed;
    }
  }
  return b;
}

void BM_BlendRect(benchmark::State& state) {
  Bitmap dest = Noise32(1024, 1024, 1);
  const Bitmap source = Noise32(1024, 1024, 2);
  for (auto _ : state) {
    sapala::graphics::BlendRect(dest, source, 128, {0, 0}, {0, 0, 1024, 1024});
    benchmark::DoNotOptimize(dest.ScanLine(0));
  }
  state.SetItemsProcessed(state.iterations() * 1024 * 1024);
}
BENCHMARK(BM_BlendRect)->Unit(benchmark::kMillisecond);

void BM_Resample(benchmark::State& state) {
  const int filter = static_cast<int>(state.range(0));
  const int outW = static_cast<int>(state.range(1)), outH = static_cast<int>(state.range(2));
  const Bitmap source = Noise32(1024, 768, 3);
  Bitmap dest;
  for (auto _ : state) {
    sapala::graphics::Resample(source, dest, outW, filter, outH);
    benchmark::DoNotOptimize(dest.ScanLine(0));
  }
  state.SetItemsProcessed(state.iterations() * outW * outH);
}
// Filters 5 (Lanczos-like) and 6 (Mitchell): shrinking 1024 × 768 to 640 × 480 and growing it
// to 1600 × 1200.
BENCHMARK(BM_Resample)
    ->Args({5, 640, 480})
    ->Args({5, 1600, 1200})
    ->Args({6, 640, 480})
    ->Args({6, 1600, 1200})
    ->Unit(benchmark::kMillisecond);

void BM_BlurGray8(benchmark::State& state) {
  Bitmap mask(1024, 1024, sapala::graphics::PixelFormat::pf8bit);
  for (int y = 0; y < 1024; ++y) {
    for (int x = 0; x < 1024; ++x) mask.ScanLine(y)[x] = static_cast<std::uint8_t>((x ^ y) & 0xFF);
  }
  for (auto _ : state) {
    sapala::graphics::BlurGray8(mask, static_cast<double>(state.range(0)));
    benchmark::DoNotOptimize(mask.ScanLine(0));
  }
  state.SetItemsProcessed(state.iterations() * 1024 * 1024);
}
BENCHMARK(BM_BlurGray8)->Arg(2)->Arg(5)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
