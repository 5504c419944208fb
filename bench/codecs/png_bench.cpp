// PNG decoding: our reader against libpng's simplified API (to BGRA) on the same files, made
// at start-up by ImageMagick. Prints each file's time ratio (ours ÷ libpng) and their
// geometric mean after the benchmark table; "ours32" adds the widening of palette, grey and
// RGB pictures to 32 bits, which libpng's BGRA output includes.
#include <benchmark/benchmark.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "core/codecs/png.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct CorpusFile {
  std::string name;
  Bytes data;
};

std::vector<CorpusFile> MakeCorpus(const std::filesystem::path& dir) {
  const char* preferred = "/usr/bin/convert-im6.q16";
  const std::string convert = std::filesystem::exists(preferred) ? preferred : "convert";
  const std::string src = (dir / "src.png").string();
  if (std::system(
          (convert +
           " -seed 9 -size 640x480 plasma:red-blue \\( -size 640x480 gradient:white-black \\) "
           "-alpha off -compose CopyOpacity -composite " +
           src + " >/dev/null 2>&1")
              .c_str()) != 0) {
    return {};
  }
  const std::string ex = " -define png:exclude-chunks=date,time,tEXt,zTXt,cHRM,sRGB,bKGD,gAMA ";
  const std::vector<std::pair<std::string, std::string>> kinds = {
      {"rgb8", "-alpha off -depth 8 -define png:color-type=2"},
      {"rgba8", "-depth 8 -define png:color-type=6"},
      {"rgba8-interlaced", "-depth 8 -define png:color-type=6 -interlace PNG"},
      {"rgb16", "-alpha off -depth 16 -define png:color-type=2"},
      {"grey8", "-alpha off -colorspace Gray -depth 8 -define png:color-type=0"},
      {"palette8", "-alpha off -depth 8 +dither -colors 200 -define png:color-type=3"},
      {"palette4", "-alpha off -depth 8 +dither -colors 16 -define png:color-type=3"},
      {"grey-alpha8", "-colorspace Gray -depth 8 -define png:color-type=4"},
  };
  std::vector<CorpusFile> corpus;
  for (const auto& [name, options] : kinds) {
    const std::string out = (dir / (name + ".png")).string();
    if (std::system(
            (convert + " " + src + " " + options + ex + out + " >/dev/null 2>&1").c_str()) != 0)
      continue;
    std::ifstream in(out, std::ios::binary);
    corpus.push_back(
        {name, Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())});
  }
  return corpus;
}

void Ours(benchmark::State& state, const Bytes* data) {
  for (auto _ : state) {
    sapala::graphics::Bitmap b = sapala::codecs::ReadPng(*data);
    benchmark::DoNotOptimize(b.ScanLine(0));
  }
}

// The output buffer is made anew for every picture, as our reader makes its bitmap.
// Ours and then widened to 32 bits, the same output as libpng's BGRA.
void Ours32(benchmark::State& state, const Bytes* data) {
  for (auto _ : state) {
    sapala::graphics::Bitmap b = sapala::codecs::ReadPng(*data);
    if (b.Format() != sapala::graphics::PixelFormat::pf32bit) b = sapala::graphics::ConvertTo32(b);
    benchmark::DoNotOptimize(b.ScanLine(0));
  }
}

void Libpng(benchmark::State& state, const Bytes* data) {
  for (auto _ : state) {
    Bytes pixels;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data->data(), data->size())) {
      state.SkipWithError("libpng refused the file");
      return;
    }
    image.format = PNG_FORMAT_BGRA;
    pixels.resize(PNG_IMAGE_SIZE(image));
    png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
    benchmark::DoNotOptimize(pixels.data());
  }
}

// Keeps the CPU time per iteration of every run, by name (CPU rather than wall time: the
// machine is shared and wall times swing with its load).
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> times;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.run_type == Run::RT_Iteration && r.iterations > 0) {
        times[r.benchmark_name()] = r.cpu_accumulated_time / static_cast<double>(r.iterations);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "sapala-png-bench";
  std::filesystem::create_directories(dir);
  static std::vector<CorpusFile> corpus = MakeCorpus(dir);
  if (corpus.empty()) {
    std::fprintf(stderr, "png_bench: ImageMagick's convert is needed to make the corpus\n");
    return 0;
  }
  for (const CorpusFile& f : corpus) {
    benchmark::RegisterBenchmark(("ours/" + f.name).c_str(), Ours, &f.data)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("ours32/" + f.name).c_str(), Ours32, &f.data)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("libpng/" + f.name).c_str(), Libpng, &f.data)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  double logSum = 0, logSum32 = 0;
  int n = 0;
  std::printf("\n%-20s %12s %12s %12s %8s %8s\n", "file", "ours cpu ms", "ours32 ms", "libpng ms",
              "ratio", "ratio32");
  for (const CorpusFile& f : corpus) {
    const auto a = reporter.times.find("ours/" + f.name),
               a32 = reporter.times.find("ours32/" + f.name),
               b = reporter.times.find("libpng/" + f.name);
    if (a == reporter.times.end() || a32 == reporter.times.end() || b == reporter.times.end() ||
        b->second <= 0)
      continue;
    const double ratio = a->second / b->second, ratio32 = a32->second / b->second;
    std::printf("%-20s %12.3f %12.3f %12.3f %8.3f %8.3f\n", f.name.c_str(), a->second * 1e3,
                a32->second * 1e3, b->second * 1e3, ratio, ratio32);
    logSum += std::log(ratio);
    logSum32 += std::log(ratio32);
    ++n;
  }
  if (n > 0) {
    std::printf("geometric mean of ours / libpng over %d files: %.3f\n", n, std::exp(logSum / n));
    std::printf("geometric mean of ours widened to 32 bits / libpng: %.3f\n",
                std::exp(logSum32 / n));
  }
  std::filesystem::remove_all(dir);
  return 0;
}
