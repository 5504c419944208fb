// Skin loading speed. The peer is libpng: building the tables of a packed skin (reading the
// pack, inflating every entry, parsing the text, decoding every picture, building sections and
// images) is measured against libpng decoding the same pictures as PNG files; the counter
// "ratio" is build time / libpng time and should stay at or below 1.0. The load time of the
// test skin (tests/core/skin/data/TestSkin) packed into an .lsz file is reported as well.
//
// The bench skin stands in for the program's own skin until that exists: 60 sections in the
// shape of a real skin, a 1024 x 512 master bitmap with "^", "@", "~" and "#" images cut from it,
// and N RGBA PNG pictures of 16 x 16 to 128 x 64 pixels for "!" images: N = 16 is the usual
// make-up of a skin of this engine (most artwork lives in the master bitmap), N = 40 a skin
// made mostly of PNG pictures, where the PNG reader's speed decides the ratio.
#include <benchmark/benchmark.h>
#include <png.h>

#include <ctime>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/codecs/bmp.h"
#include "core/codecs/png_writer.h"
#include "core/skin/effects.h"
#include "core/skin/file_system.h"
#include "core/skin/skin_manager.h"
#include "core/skin/skin_pack.h"
#include "core/skin/skin_platform.h"
#include "core/skin/skin_tables.h"
#include "core/skin/skin_text.h"

namespace {

using namespace sapala::skin;

struct Picture {
  int w, h;
  std::vector<std::uint8_t> rgba;  // top-down
};

// Smooth gradients with one level of dithering noise, like drawn skin artwork.
Picture Paint(int w, int h, std::mt19937& rng, bool alpha) {
  Picture p{w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h * 4)};
  std::uniform_int_distribution<int> noise(-1, 1);  // dithering, as in drawn artwork
  const int base = static_cast<int>(rng() % 200);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      std::uint8_t* px = &p.rgba[(static_cast<std::size_t>(y) * w + x) * 4];
      px[0] = static_cast<std::uint8_t>(std::clamp(base + x * 40 / w + noise(rng), 0, 255));
      px[1] = static_cast<std::uint8_t>(std::clamp(base / 2 + y * 60 / h + noise(rng), 0, 255));
      px[2] = static_cast<std::uint8_t>(std::clamp(220 - base / 3 + noise(rng), 0, 255));
      px[3] = alpha ? static_cast<std::uint8_t>(std::min(255, 64 + (x + y) * 192 / (w + h))) : 255;
    }
  }
  return p;
}

std::vector<std::uint8_t> EncodePng(const Picture& p, bool alpha) {
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  img.width = static_cast<png_uint_32>(p.w);
  img.height = static_cast<png_uint_32>(p.h);
  img.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  std::vector<std::uint8_t> src;
  if (alpha) {
    src = p.rgba;
  } else {
    for (std::size_t i = 0; i < p.rgba.size(); i += 4)
      src.insert(src.end(), &p.rgba[i], &p.rgba[i] + 3);
  }
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&img, nullptr, &size, 0, src.data(), 0, nullptr);
  std::vector<std::uint8_t> out(size);
  if (!png_image_write_to_memory(&img, out.data(), &size, 0, src.data(), 0, nullptr)) std::abort();
  out.resize(size);
  return out;
}

std::vector<std::uint8_t> EncodeBmp24(const Picture& p) {
  const int row = (p.w * 3 + 3) & ~3;
  const std::uint32_t data = static_cast<std::uint32_t>(row * p.h);
  std::vector<std::uint8_t> b(54 + data, 0);
  auto put = [&](std::size_t o, std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) b[o + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put(2, 54 + data, 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, static_cast<std::uint32_t>(p.w), 4);
  put(22, static_cast<std::uint32_t>(p.h), 4);
  put(26, 1, 2);
  put(28, 24, 2);
  put(34, data, 4);
  for (int y = 0; y < p.h; ++y) {
    std::uint8_t* out = &b[54 + static_cast<std::size_t>(p.h - 1 - y) * row];
    for (int x = 0; x < p.w; ++x) {
      const std::uint8_t* px = &p.rgba[(static_cast<std::size_t>(y) * p.w + x) * 4];
      out[3 * x] = px[2];
      out[3 * x + 1] = px[1];
      out[3 * x + 2] = px[0];
    }
  }
  return b;
}

// A four-digit field of the fixed-position image forms.
std::string F4(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d", v);
  return buf;
}

struct BenchSkin {
  Bytes packed;
  std::vector<std::vector<std::uint8_t>> pngs;  // the same pictures for libpng
};

BenchSkin MakeSkin(int pngCount) {
  {
    BenchSkin s;
    std::mt19937 rng(7);
    std::vector<PackEntry> entries;
    const Picture master = Paint(1024, 512, rng, false);
    entries.push_back({"MASTER.BMP", EncodeBmp24(master)});
    s.pngs.push_back(EncodePng(master, false));
    std::string text = "[GLOBALINFO]\nVERSION=7.2\nMASTERBITMAP=MASTER.BMP\nCOLOR=$F0F0F0\n";
    static const char* kSections[] = {"FORM",
                                      "FORMTITLE",
                                      "BUTTON",
                                      "BUTTON_HUGE",
                                      "EDIT",
                                      "COMBOBOX",
                                      "COMBOBTN",
                                      "CHECKBOX",
                                      "RADIOBUTTON",
                                      "GROUPBOX",
                                      "PANEL",
                                      "PANEL_LOW",
                                      "SPEEDBUTTON",
                                      "TOOLBUTTON",
                                      "MENUITEM",
                                      "MAINMENU",
                                      "SELECTION",
                                      "TABTOP",
                                      "TABBOTTOM",
                                      "TABLEFT",
                                      "TABRIGHT",
                                      "PAGECONTROL",
                                      "SCROLLBTNTOP",
                                      "SCROLLBTNBOTTOM",
                                      "SCROLLBTNLEFT",
                                      "SCROLLBTNRIGHT",
                                      "SCROLLSLIDERV",
                                      "SCROLLSLIDERH",
                                      "SCROLLBAR1H",
                                      "SCROLLBAR1V",
                                      "SCROLLBAR2H",
                                      "SCROLLBAR2V",
                                      "STATUSBAR",
                                      "TOOLBAR",
                                      "TRACKBAR",
                                      "GAUGE",
                                      "SPLITTER",
                                      "DIALOG",
                                      "CAPTION",
                                      "TITLEBUTTON",
                                      "UPDOWNBTN",
                                      "WEBBUTTON",
                                      "COLHEADER",
                                      "DIVIDER",
                                      "DRAGBAR",
                                      "EXTRALINE",
                                      "ICOLINE",
                                      "MDIAREA",
                                      "BARTITLE",
                                      "TABSHEET",
                                      "SPEEDBUTTON_SMALL",
                                      "MENULINE",
                                      "DIVIDERV",
                                      "PAGECONTROLBOTTOM",
                                      "PAGECONTROLLEFT",
                                      "PAGECONTROLRIGHT",
                                      "GLYPHS",
                                      "ICONS",
                                      "EXTRA1",
                                      "EXTRA2"};
    int picture = 0;
    for (int i = 0; i < 60; ++i) {
      text += std::string("[") + kSections[i] + "]\n";
      if (i % 3 == 0 && i > 0) text += "PARENTCLASS=" + std::string(kSections[i - 1]) + "\n";
      text += "STATES=4\nCOLOR=$" + std::to_string(100000 + i) + "\nHOTCOLOR=$00" +
              std::to_string(200000 + i) +
              "\nFONTCOLOR=0\nHOTFONTCOLOR=$FFFFFF\n"
              "GRADIENTDATA=16777215;15790320;50;0;0;15790320;14737632;50;0;0\nGRADIENTPERCENT=40\n"
              "HOTGRADIENTDATA=16777215;14737632;100;0;0\nHOTGRADIENTPERCENT=60\nGLOW=3\nGCOL=$"
              "FF8000\n";
      const int x = (i % 16) * 32, y = (i / 16) * 32;
      text += "BORDERSMASK=^" + F4(x) + "," + F4(y) + "," + F4(x + 30) + "," + F4(y + 20) +
              ",0003,0003,0003,0003,3,1,0,0\n";
      text += "PATTERN=~" + F4(x) + "," + F4(128) + "," + F4(x + 32) + "," + F4(160) + ",01,0\n";
      text += "IMGTOPLEFT=@" + F4(x) + "," + F4(200) + "," + F4(x + 8) + "," + F4(208) + ",1,0\n";
      text += "IMGTOPRIGHT=#(" + std::to_string(x) + ",210," + std::to_string(x + 8) +
              ",218)(1,0,2,1)\n";
      if (i < pngCount) {
        const int w = 16 + (i * 7) % 113, h = 16 + (i * 5) % 49;
        const Picture p = Paint(w, h, rng, true);
        const std::string name = "P" + std::to_string(picture++) + ".PNG";
        entries.push_back({name, EncodePng(p, true)});
        s.pngs.push_back(entries.back().data);
        text += "GLYPHMASK=!" + name + "!3!1!0\n";
      }
    }
    entries.insert(entries.begin(), PackEntry{"Options.dat", Bytes(text.begin(), text.end())});
    s.packed = WritePacked(entries);
    return s;
  }
}

const BenchSkin& Skin(int pngCount) {
  static const BenchSkin usual = MakeSkin(16);
  static const BenchSkin pngHeavy = MakeSkin(40);
  return pngCount == 16 ? usual : pngHeavy;
}

class QuietPlatform : public SkinPlatform {
 public:
  void ShowMessage(const std::string&) override {}
  void ShowError(const std::string& t) override { std::fprintf(stderr, "%s\n", t.c_str()); }
  std::string ProgramFolder() const override { return ""; }
  std::vector<std::string> CommandLineArguments() const override { return {}; }
  int SizingFrameWidth() const override { return 4; }
  bool CompositionEnabled() const override { return false; }
};

void BuildFromPack(const Bytes& packed) {
  static const HostFileSystem fs;
  static QuietPlatform platform;
  TlcSkinConvertor pack;
  pack.ReadPacked(packed);
  const SkinText text = SkinText::Parse(pack.SkinText());
  SkinSource src;
  src.text = &text;
  src.packed = &pack;
  SkinTables t;
  t.Build(src, BuildSettings{}, BuildEnvironment{fs, platform, nullptr});
  benchmark::DoNotOptimize(t.Images.data());
  if (t.Images.size() < 240) std::abort();  // the bench skin must really have been built
}

void DecodeWithLibpng(const std::vector<std::vector<std::uint8_t>>& pngs) {
  for (const auto& file : pngs) {
    png_image img{};
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&img, file.data(), file.size())) std::abort();
    img.format = PNG_FORMAT_BGRA;
    std::vector<std::uint8_t> out(PNG_IMAGE_SIZE(img));
    if (!png_image_finish_read(&img, nullptr, out.data(), 0, nullptr)) std::abort();
    benchmark::DoNotOptimize(out.data());
  }
}

void BM_BuildTablesOfPackedSkin(benchmark::State& state) {
  const BenchSkin& s = Skin(static_cast<int>(state.range(0)));
  for (auto _ : state) BuildFromPack(s.packed);
  state.counters["pack_bytes"] = static_cast<double>(s.packed.size());
}
BENCHMARK(BM_BuildTablesOfPackedSkin)->Arg(16)->Arg(40)->Unit(benchmark::kMillisecond);

void BM_LibpngDecodeSamePictures(benchmark::State& state) {
  const BenchSkin& s = Skin(static_cast<int>(state.range(0)));
  for (auto _ : state) DecodeWithLibpng(s.pngs);
  state.counters["pictures"] = static_cast<double>(s.pngs.size());
}
BENCHMARK(BM_LibpngDecodeSamePictures)->Arg(16)->Arg(40)->Unit(benchmark::kMillisecond);

// This thread's CPU time in seconds: the machine is shared, so wall time would measure the
// neighbours as much as the code.
double ThreadSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Both in one run, alternating, so the ratio compares like with like.
void BM_TablesOverLibpngRatio(benchmark::State& state) {
  const BenchSkin& s = Skin(static_cast<int>(state.range(0)));
  double build = 0, peer = 0;
  for (auto _ : state) {
    const double t0 = ThreadSeconds();
    BuildFromPack(s.packed);
    const double t1 = ThreadSeconds();
    DecodeWithLibpng(s.pngs);
    const double t2 = ThreadSeconds();
    build += t1 - t0;
    peer += t2 - t1;
  }
  state.counters["ratio"] = build / peer;
}
BENCHMARK(BM_TablesOverLibpngRatio)->Arg(16)->Arg(40)->Unit(benchmark::kMillisecond);

// The whole loading sequence of the packed test skin from a file: file read, pack, tables.
void BM_LoadPackedTestSkin(benchmark::State& state) {
  const HostFileSystem fs;
  const std::string src = std::string(SAPALA_SOURCE_DIR) + "/tests/core/skin/data/TestSkin";
  const auto dir = std::filesystem::temp_directory_path() / "sapala_skin_bench";
  std::filesystem::create_directories(dir);
  const Bytes packed = WritePacked(CollectFolder(fs, src));
  std::ofstream(dir / "TestSkin.lsz", std::ios::binary)
      .write(reinterpret_cast<const char*>(packed.data()),
             static_cast<std::streamsize>(packed.size()));
  QuietPlatform platform;
  SkinManagerHost host;
  SkinManagerCore m(fs, platform, host);
  m.SetActive(false);
  m.SetSkinDirectory(dir.string());
  m.SetSkinName("TestSkin");  // stored only while inactive
  for (auto _ : state) {
    m.SetActive(true);  // loads by the stored name
    if (!m.IsPacked() || m.Tables.Patterns.size() != 1) std::abort();
    m.SetActive(false);
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_LoadPackedTestSkin)->Unit(benchmark::kMillisecond);

// The program's own skin, DiruriZedaz (assets/skin), loaded from its packed file by the whole
// loading sequence, against libpng decoding the same pictures: its two PNG pictures, and its
// master bitmap (a BMP file) written as a PNG file. "ratio" = load time / libpng time.
void BM_DiruriZedazOverLibpngRatio(benchmark::State& state) {
  const HostFileSystem fs;
  const std::string dir = std::string(SAPALA_SOURCE_DIR) + "/assets/skin";
  TlcSkinConvertor pack;
  pack.ReadPackedFile(fs, dir + "/DiruriZedaz.lsz");
  std::vector<std::vector<std::uint8_t>> pngs;
  for (const TlcImageItem& item : pack.Items()) {
    pngs.push_back(item.IsBitmap
                       ? sapala::codecs::WritePng(sapala::codecs::ReadBmp(EntryFileBytes(item)))
                       : std::vector<std::uint8_t>(item.Data.begin(), item.Data.end()));
  }
  QuietPlatform platform;
  SkinManagerHost host;
  SkinManagerCore m(fs, platform, host);
  m.SetActive(false);
  m.SetSkinDirectory(dir);
  m.SetSkinName("DiruriZedaz");
  double load = 0, peer = 0;
  for (auto _ : state) {
    const double t0 = ThreadSeconds();
    m.SetActive(true);
    const double t1 = ThreadSeconds();
    if (!m.IsPacked() || m.Tables.Sections.size() < 30) std::abort();
    m.SetActive(false);
    const double t2 = ThreadSeconds();
    DecodeWithLibpng(pngs);
    const double t3 = ThreadSeconds();
    load += t1 - t0;
    peer += t3 - t2;
  }
  state.counters["load_ms"] = benchmark::Counter(load * 1000, benchmark::Counter::kAvgIterations);
  state.counters["ratio"] = load / peer;
}
BENCHMARK(BM_DiruriZedazOverLibpngRatio)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
