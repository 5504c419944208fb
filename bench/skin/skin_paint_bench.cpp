// Element painting speed. A FORM element at 1024 x 768 and a BUTTON at 75 x 25 are painted from
// the test skin (tests/core/skin/data/TestSkin; the form gets the button's border picture through
// a common section, as the test skin's FORM has none) into a cache bitmap. The peer, in the same
// run, copies the same nine pieces of the border picture over the same rectangle row by row
// (memcpy of tiled runs, centre included, nothing else). The counter "ratio" is painting time /
// copy time; the target is at most 2.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "core/graphics/bitmap.h"
#include "core/skin/file_system.h"
#include "core/skin/nine_part.h"
#include "core/skin/skin_manager.h"
#include "core/skin/skin_paint.h"
#include "core/skin/skin_platform.h"

namespace {

using namespace sapala::skin;
using sapala::graphics::Bitmap;
using sapala::graphics::Rect;

class QuietPlatform : public SkinPlatform {
 public:
  void ShowMessage(const std::string&) override {}
  void ShowError(const std::string& t) override { std::fprintf(stderr, "%s\n", t.c_str()); }
  std::string ProgramFolder() const override { return ""; }
  std::vector<std::string> CommandLineArguments() const override { return {}; }
  int SizingFrameWidth() const override { return 4; }
  bool CompositionEnabled() const override { return false; }
};

double ThreadSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

struct Loaded {
  HostFileSystem fs;
  QuietPlatform platform;
  SkinManagerHost host;
  SkinManagerCore m{fs, platform, host};
  Loaded() {
    m.SetActive(false);
    m.SetSkinDirectory(std::string(SAPALA_SOURCE_DIR) + "/tests/core/skin/data");
    m.SetSkinName("TestSkin");
    m.SetCommonSections({"[FORM]", "BORDERSMASK=#(0,0,24,16)(3,1,2,0)"});
    m.SetActive(true);
    if (!m.SkinData().Active || m.Tables.FindSection("FORM") < 0) std::abort();
  }
};

Loaded& Skin() {
  static Loaded l;
  return l;
}

ElementRef Element(const SkinTables& t, const char* section) {
  ElementRef e;
  e.SectionIndex = t.FindSection(section);
  const TsGeneralData& g = t.Sections[static_cast<std::size_t>(e.SectionIndex)];
  e.BorderMaskIndex = g.MaskIndex;
  e.PatternIndex = g.TextureIndex;
  if (e.BorderMaskIndex < 0) std::abort();
  return e;
}

// The peer: the nine pieces of frame 0 of the border picture copied over the whole rectangle,
// tiled, one memcpy per run of each row.
void CopyNinePieces(const SkinTables& t, const TsMaskData& m, Bitmap& dest) {
  const Bitmap& src = m.Image ? *m.Image : t.MasterBitmap;
  const BorderWidths b = FitBorders({LeftWidth(m), TopWidth(m), RightWidth(m), BottomWidth(m)},
                                    dest.Width(), dest.Height());
  const Rect frame{m.Rect.left, m.Rect.top, m.Rect.left + FrameWidth(m),
                   m.Rect.top + FrameHeight(m)};
  NinePartLayout l;
  if (!LayoutNineParts(dest.Bounds(), frame, frame.bottom, b, l)) std::abort();
  for (int p = 0; p < kPieceCount; ++p) {
    const Rect d = l.dest[static_cast<std::size_t>(p)];
    const Rect s = l.source[static_cast<std::size_t>(p)];
    if (d.empty() || s.empty()) continue;
    // Row by row: each destination row takes its source row, tiled across (whole pieces, then
    // one cut piece), without any list or allocation.
    for (int y = d.top; y < d.bottom; ++y) {
      const std::uint32_t* in = src.Row32(s.top + (y - d.top) % s.height()) + s.left;
      std::uint32_t* out = dest.Row32(y);
      for (int x = d.left; x < d.right; x += s.width()) {
        std::memcpy(out + x, in, static_cast<std::size_t>(std::min(s.width(), d.right - x)) * 4);
      }
    }
  }
}

void BM_PaintOverNinePieceCopy(benchmark::State& state, const char* section, int w, int h) {
  Loaded& s = Skin();
  const SkinTables& t = s.m.Tables;
  const ElementRef e = Element(t, section);
  const TsMaskData& mask = t.Images[static_cast<std::size_t>(e.BorderMaskIndex)];
  Bitmap cache = sapala::graphics::NewBitmap32(w, h);
  Bitmap copy = sapala::graphics::NewBitmap32(w, h);
  const ParentBackground parent = ParentBackground::FromColor(0x808080);
  double paint = 0, peer = 0;
  for (auto _ : state) {
    const double t0 = ThreadSeconds();
    PaintElement(t, e, parent, true, cache, {}, cache.Bounds(), 0);
    const double t1 = ThreadSeconds();
    CopyNinePieces(t, mask, copy);
    const double t2 = ThreadSeconds();
    benchmark::DoNotOptimize(cache.Row32(h / 2)[w / 2]);
    benchmark::DoNotOptimize(copy.Row32(h / 2)[w / 2]);
    paint += t1 - t0;
    peer += t2 - t1;
  }
  state.counters["ratio"] = paint / peer;
  state.counters["paint_us"] =
      benchmark::Counter(paint * 1e6 / static_cast<double>(state.iterations()));
  state.counters["copy_us"] =
      benchmark::Counter(peer * 1e6 / static_cast<double>(state.iterations()));
}
BENCHMARK_CAPTURE(BM_PaintOverNinePieceCopy, form_1024x768, "FORM", 1024, 768)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PaintOverNinePieceCopy, button_75x25, "BUTTON", 75, 25)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
