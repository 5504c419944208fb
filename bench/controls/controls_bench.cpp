// The effect label's shadow against the engine's own Gaussian blur, on the main window's title
// box (241 × 38, a synthetic text mask): one paint's stamp-and-blur grid (4 passes) and
// composition, and BlurGray8 at radius 4 over the same mask as the peer. Also one gradient
// button face's line colours.
#include <benchmark/benchmark.h>

#include "core/controls/glaze.h"
#include "core/controls/label_shadow.h"
#include "core/graphics/effects.h"

namespace {

using namespace sapala;

// Vertical strokes 2 px wide every 7 px across rows 10..27: about the ink of a caption.
graphics::Bitmap TitleMask() {
  graphics::Bitmap m = graphics::NewBitmap32(241, 38);
  for (int y = 10; y < 28; ++y)
    for (int x = 3; x < 236; ++x)
      if (x % 7 < 2) m.Row32(y)[x] = 0xFFFFFFFF;
  return m;
}

void BM_LabelShadow(benchmark::State& state) {
  graphics::Bitmap mask = TitleMask();
  graphics::Bitmap work = graphics::NewBitmap32(241, 38);
  controls::ShadowGrid grid;
  for (auto _ : state) {
    grid.Build(mask, 4);
    controls::ComposeShadow(work, grid, 0x000080, false, 0xF0F0F0);
    benchmark::DoNotOptimize(work.Row32(0));
  }
}
BENCHMARK(BM_LabelShadow);

void BM_PeerGaussianBlur(benchmark::State& state) {
  graphics::Bitmap mask = TitleMask();
  graphics::Bitmap gray(241, 38, graphics::PixelFormat::pf8bit);
  for (auto _ : state) {
    state.PauseTiming();
    for (int y = 0; y < 38; ++y)
      for (int x = 0; x < 241; ++x)
        gray.ScanLine(y)[x] = static_cast<std::uint8_t>(mask.Row32(y)[x]);
    state.ResumeTiming();
    graphics::BlurGray8(gray, 4.0);
    benchmark::DoNotOptimize(gray.ScanLine(0));
  }
}
BENCHMARK(BM_PeerGaussianBlur);

void BM_GradientLines(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(controls::GradientLineColors(0xDDF9E8, 0x5EDF8E, 25));
}
BENCHMARK(BM_GradientLines);

}  // namespace

BENCHMARK_MAIN();
