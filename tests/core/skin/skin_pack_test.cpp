// Packed skins: round trip, the text entry's name rule, item order and look-up, and every kind of
// damaged header patched byte by byte into a real packed file.
#include "core/skin/skin_pack.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <zlib.h>

#include "core/base/scope_exit.h"
#include "core/codecs/bmp.h"
#include "core/skin/skin_error.h"

namespace sapala::skin {
namespace {

Bytes B(std::string_view s) { return Bytes(s.begin(), s.end()); }

Bytes Sample() {
  const PackEntry entries[] = {
      {"Pic.bmp", B("BMdata")},
      {"options.DAT", B("[GLOBALINFO]\nVERSION=7.2\n")},
      {"glyph.png", B("PNGdata")},
      {"noext", B("")},
  };
  return WritePacked(entries);
}

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

TEST(SkinPack, RoundTripKeepsItemsInFileOrderAndFindsTheTextCaseBlind) {
  TlcSkinConvertor r;
  r.ReadPacked(Sample());
  ASSERT_TRUE(r.HasSkinText());
  EXPECT_EQ(r.SkinText(), "[GLOBALINFO]\nVERSION=7.2\n");
  ASSERT_EQ(r.Count(), 3);
  EXPECT_EQ(r.Items()[0].Name, "Pic.bmp");
  EXPECT_TRUE(r.Items()[0].IsBitmap);
  EXPECT_EQ(r.Items()[1].Name, "glyph.png");
  EXPECT_FALSE(r.Items()[1].IsBitmap);
  EXPECT_EQ(r.Items()[2].Data.size(), 0u);
  // FindItem compares the upper-cased stored name with the name as given.
  ASSERT_NE(r.FindItem("PIC.BMP"), nullptr);
  const auto& data = r.FindItem("PIC.BMP")->Data;
  EXPECT_EQ(Bytes(data.begin(), data.end()), B("BMdata"));
  EXPECT_EQ(r.FindItem("Pic.bmp"), nullptr);
  EXPECT_EQ(r.FindItem("OPTIONS.DAT"), nullptr);  // the text is not an item
  r.Clear();
  EXPECT_EQ(r.Count(), 0);
  EXPECT_FALSE(r.HasSkinText());
}

TEST(SkinPack, ExtensionRule) {
  struct Case {
    const char* name;
    bool bmp;
  };
  const Case cases[] = {{"a.BMP", true},   {"a.bmp", true}, {"a.bmp.png", false},
                        {"a.bmpx", false}, {"bmp", false},  {"dir.bmp\\x", false}};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(HasExtensionUpper(cases[i].name, ".BMP"), cases[i].bmp) << "case " << i;
  }
}

// Offsets in Sample(): magic 0, count 4, first entry: name length 8, name 12..18, size 19.
TEST(SkinPack, DamagedHeadersAreRefusedWithoutLeavingItems) {
  const Bytes good = Sample();
  const std::size_t firstSize = 12 + 7;
  const std::size_t firstStream = firstSize + 4;
  struct Case {
    const char* what;
    std::function<void(Bytes&)> patch;
    const char* message;  // nullptr: any message
  };
  const Case cases[] = {
      {"bad magic", [](Bytes& b) { b[3] = 'F'; }, kNotPackedMessage},
      {"empty file", [](Bytes& b) { b.clear(); }, kNotPackedMessage},
      {"magic only", [](Bytes& b) { b.resize(4); }, nullptr},
      {"huge entry count", [](Bytes& b) { Put32(b, 4, 0xFFFFFFFF); }, nullptr},
      {"count beyond the bytes", [](Bytes& b) { Put32(b, 4, 1000); }, nullptr},
      {"huge name length", [](Bytes& b) { Put32(b, 8, 0x7FFFFFFF); }, nullptr},
      {"name past the end", [](Bytes& b) { Put32(b, 8, static_cast<std::uint32_t>(b.size())); },
       nullptr},
      {"2 GiB claim", [=](Bytes& b) { Put32(b, firstSize, 0x80000000u); }, nullptr},
      {"size one too small", [=](Bytes& b) { Put32(b, firstSize, 5); }, nullptr},
      {"size one too large", [=](Bytes& b) { Put32(b, firstSize, 7); }, nullptr},
      {"stream damaged",
       [=](Bytes& b) {
         b[firstStream + 2] ^= 0xFF;
         b[firstStream + 3] ^= 0xFF;
       },
       nullptr},
      {"zlib header damaged", [=](Bytes& b) { b[firstStream] = 0x00; }, nullptr},
      {"checksum damaged", [](Bytes& b) { b.back() ^= 0x01; }, nullptr},  // the last entry's
      {"file cut inside the last stream", [](Bytes& b) { b.resize(b.size() - 3); }, nullptr},
      {"more entries than present",
       [](Bytes& b) {
         Put32(b, 4, 5);
         b.resize(b.size() + 40, 0);
       },
       nullptr},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Bytes b = good;
    cases[i].patch(b);
    TlcSkinConvertor r;
    try {
      r.ReadPacked(b);
      ADD_FAILURE() << "case " << i << " (" << cases[i].what << "): have success, want an error";
    } catch (const SkinError& e) {
      if (cases[i].message != nullptr) {
        EXPECT_STREQ(e.what(), cases[i].message) << "case " << i << " (" << cases[i].what << ")";
      }
    }
    EXPECT_EQ(r.Count(), 0) << "case " << i << " (" << cases[i].what << ")";
    EXPECT_FALSE(r.HasSkinText()) << "case " << i;
  }
}

// The checksum of packed entries agrees with zlib's for every length around the 32-byte steps
// and the reduction blocks, from any starting value, on bytes of all 255s (the largest sums).
TEST(SkinPack, Adler32AgreesWithZlib) {
  std::mt19937 rng(5);
  Bytes random(40000);
  for (auto& v : random) v = static_cast<std::uint8_t>(rng());
  const Bytes ones(40000, 0xFF);
  for (const Bytes* data : {static_cast<const Bytes*>(&random), &ones}) {
    for (std::size_t n :
         {0u,    1u,    15u,   16u,   17u,   31u,   32u,   33u,   63u,   4095u,  4096u,  4097u,
          4127u, 4128u, 5535u, 5536u, 5537u, 5552u, 5553u, 8192u, 8193u, 11088u, 11104u, 40000u}) {
      for (std::uint32_t start : {1u, 0xFFF0FFF0u, 0x12345678u % 65521u}) {
        const std::uint32_t want =
            static_cast<std::uint32_t>(adler32(start, data->data(), static_cast<uInt>(n)));
        EXPECT_EQ(Adler32(start, std::span(data->data(), n)), want)
            << "n " << n << ", start " << start << (data == &ones ? ", all 255" : "");
      }
    }
  }
}

TEST(SkinPack, LimitsAreCheckedAgainstTheBytesPresent) {
  // A header claiming 64 MiB for a stream of a few bytes is refused before inflating.
  Bytes b = Sample();
  Put32(b, 19, TlcSkinConvertor::kMaxEntryBytes);
  TlcSkinConvertor r;
  EXPECT_THROW(r.ReadPacked(b), SkinError);
}

TEST(SkinPack, APackWithoutTheTextEntryIsInvalid) {
  const PackEntry entries[] = {{"a.bmp", B("x")}};
  TlcSkinConvertor r;
  EXPECT_THROW(r.ReadPacked(WritePacked(entries)), SkinError);
  EXPECT_EQ(r.Count(), 0);
}

TEST(SkinPack, TrailingBytesAfterTheLastEntryAreIgnored) {
  Bytes b = Sample();
  b.push_back(0xAB);
  TlcSkinConvertor r;
  r.ReadPacked(b);
  EXPECT_EQ(r.Count(), 3);
}

TEST(SkinPack, AReaderReusedAfterAFailureStartsEmpty) {
  TlcSkinConvertor r;
  r.ReadPacked(Sample());
  Bytes bad = Sample();
  bad[0] = 'X';
  EXPECT_THROW(r.ReadPacked(bad), SkinError);
  EXPECT_EQ(r.Count(), 0);
  EXPECT_EQ(r.FindItem("PIC.BMP"), nullptr);
}

// --- BMP entries read straight into a bitmap ---

// The pixel word of (x, y), y counted from the top: every pixel differs, alpha included.
std::uint32_t Word(int x, int y) {
  return 0x01000000u * static_cast<std::uint32_t>(y + 7) + 0x100u * static_cast<std::uint32_t>(x) +
         static_cast<std::uint32_t>(y);
}

struct BmpShape {
  int width = 5, height = 3;
  bool topDown = false;
  std::uint32_t header = 40;
  int bits = 32;
  std::uint32_t compression = 0;
  std::size_t gap = 0;    // bytes between the headers and the rows
  std::size_t extra = 0;  // bytes after the rows
};

Bytes MakeBmp(const BmpShape& s) {
  const std::size_t row = (static_cast<std::size_t>(s.width) * s.bits / 8 + 3) & ~std::size_t{3};
  const std::size_t offset = 14 + s.header + s.gap;
  Bytes b(offset + row * static_cast<std::size_t>(s.height) + s.extra, 0x5A);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<std::uint32_t>(b.size()));
  Put32(b, 10, static_cast<std::uint32_t>(offset));
  Put32(b, 14, s.header);
  Put32(b, 18, static_cast<std::uint32_t>(s.width));
  Put32(b, 22, static_cast<std::uint32_t>(s.topDown ? -s.height : s.height));
  Put32(b, 26, 1u | static_cast<std::uint32_t>(s.bits) << 16);
  Put32(b, 30, s.compression);
  for (int i = 0; i < s.height; ++i) {
    const int y = s.topDown ? i : s.height - 1 - i;
    for (int x = 0; x < s.width; ++x) {
      const std::uint32_t w = Word(x, y);
      for (int c = 0; c < s.bits / 8; ++c) {
        b[offset + row * static_cast<std::size_t>(i) +
          static_cast<std::size_t>(x * s.bits / 8 + c)] = static_cast<std::uint8_t>(w >> (8 * c));
      }
    }
  }
  return b;
}

// A pack of the text and one picture, the picture last or first.
Bytes PackOne(const std::string& name, const Bytes& file, bool pictureFirst = false) {
  const PackEntry text{"Options.dat", B("[GLOBALINFO]\n")};
  const PackEntry picture{name, file};
  const PackEntry entries[] = {pictureFirst ? picture : text, pictureFirst ? text : picture};
  return WritePacked(entries);
}

// Pixel memory laid out as a factory other than the heap may give it: always bottom-up (as DIB
// sections are), or with rows longer than their pixels.
class TestBuffer final : public graphics::PixelBuffer {
 public:
  TestBuffer(std::size_t row, int height, bool bottomUp) : memory_(row * height) {
    stride_ = bottomUp ? -static_cast<std::ptrdiff_t>(row) : static_cast<std::ptrdiff_t>(row);
    row0_ = memory_.data() + (bottomUp ? row * (height - 1) : 0);
  }
  std::uint8_t* Row0() noexcept override { return row0_; }
  std::ptrdiff_t Stride() const noexcept override { return stride_; }

 private:
  std::vector<std::uint8_t> memory_;
  std::uint8_t* row0_;
  std::ptrdiff_t stride_;
};
std::unique_ptr<graphics::PixelBuffer> BottomUpFactory(int w, int h, graphics::PixelFormat f) {
  return std::make_unique<TestBuffer>(graphics::RowBytes(w, f), h, true);
}
std::unique_ptr<graphics::PixelBuffer> PaddedFactory(int w, int h, graphics::PixelFormat f) {
  return std::make_unique<TestBuffer>(graphics::RowBytes(w, f) + 12, h, false);
}

// Plain 32-bit BMP entries come out as ready pictures, pixel for pixel what the BMP reader gives,
// whatever the row order of the file and of the memory; the entry's file is given back whole.
// Every other BMP is left to the BMP reader untouched.
TEST(SkinPack, PlainBmpEntriesAreReadIntoBitmaps) {
  struct Case {
    const char* what;
    BmpShape shape;
    bool direct;
  };
  const int tall = TlcSkinConvertor::kMaxDirectSide + 1;
  const Case cases[] = {
      {"bottom-up", {}, true},
      {"top-down", {.topDown = true}, true},
      {"odd size, bottom-up", {.width = 7, .height = 8}, true},
      {"gap before the rows", {.gap = 6}, true},
      {"bytes after the rows", {.extra = 4}, false},
      {"24 bits", {.bits = 24}, false},
      {"channel masks", {.compression = 3, .gap = 12}, false},
      {"108-byte header", {.header = 108}, false},
      {"zero width", {.width = 0}, false},
      {"taller than read directly", {.width = 1, .height = tall}, false},
  };
  const graphics::PixelBufferFactory factories[] = {nullptr, &BottomUpFactory, &PaddedFactory};
  ScopeExit heap([] { graphics::SetPixelBufferFactory(nullptr); });
  for (const auto factory : factories) {
    graphics::SetPixelBufferFactory(factory);
    for (const Case& c : cases) {
      const std::string at =
          std::string(c.what) + (factory == nullptr          ? ", heap"
                                 : factory == &PaddedFactory ? ", padded rows"
                                                             : ", bottom-up memory");
      const Bytes file = MakeBmp(c.shape);
      TlcSkinConvertor r;
      r.ReadPacked(PackOne("P.BMP", file));
      const TlcImageItem& item = r.Items().at(0);
      EXPECT_EQ(EntryFileBytes(item), file) << at;
      if (!c.direct) {
        EXPECT_TRUE(item.Pixels.Empty()) << at;
        EXPECT_EQ(Bytes(item.Data.begin(), item.Data.end()), file) << at;
        continue;
      }
      EXPECT_EQ(item.Data.size(), 54 + c.shape.gap) << at;
      const graphics::Bitmap want = codecs::ReadBmp(file);
      ASSERT_EQ(item.Pixels.Width(), want.Width()) << at;
      ASSERT_EQ(item.Pixels.Height(), want.Height()) << at;
      ASSERT_EQ(item.Pixels.Format(), graphics::PixelFormat::pf32bit) << at;
      for (int y = 0; y < want.Height(); ++y) {
        for (int x = 0; x < want.Width(); ++x) {
          ASSERT_EQ(item.Pixels.PixelWord(x, y), Word(x, y)) << at << " at " << x << "," << y;
        }
      }
    }
  }
}

// A ready picture taken out of the pack leaves the entry's header only: asking for the file
// again is an error, not a file without rows.
TEST(SkinPack, TakingAPictureLeavesNoHalfFile) {
  TlcSkinConvertor r;
  r.ReadPacked(PackOne("P.BMP", MakeBmp({})));
  EXPECT_TRUE(r.TakePixels("P.bmp").Empty());  // names compare upper-cased
  const graphics::Bitmap b = r.TakePixels("P.BMP");
  EXPECT_EQ(b.Width(), 5);
  EXPECT_EQ(b.PixelWord(4, 2), Word(4, 2));
  EXPECT_TRUE(r.TakePixels("P.BMP").Empty());
  EXPECT_THROW(EntryFileBytes(r.Items()[0]), SkinError);
}

// The stream of a BMP read straight into a bitmap is held to its stated size and checksum as any
// other entry is.
TEST(SkinPack, DamagedPlainBmpEntriesAreRefused) {
  const Bytes file = MakeBmp({.width = 40, .height = 30});
  const std::size_t sizeField = 8 + 4 + 5;  // the picture's stated size when it comes first
  auto packed = [&](const Bytes& f) { return PackOne("P.BMP", f); };
  auto packedFirst = [&](const Bytes& f) { return PackOne("P.BMP", f, true); };
  struct Case {
    const char* what;
    std::function<Bytes()> make;
    const char* message;
  };
  const Case cases[] = {
      {"checksum damaged",
       [&] {
         Bytes b = packed(file);
         b.back() ^= 0x01;
         return b;
       },
       "Packed skin entry \"P.BMP\" is damaged (checksum)"},
      {"cut inside the rows",
       [&] {
         Bytes b = packed(file);
         b.resize(b.size() - 40);
         return b;
       },
       "Packed skin entry \"P.BMP\" is truncated"},
      {"stream longer than the rows",
       [&] {
         Bytes longer = file;
         longer.insert(longer.end(), 4, 0);
         Bytes b = packedFirst(longer);
         Put32(b, sizeField, static_cast<std::uint32_t>(file.size()));
         return b;
       },
       "Packed skin entry \"P.BMP\" holds more data than its size says"},
      {"stream shorter than the rows",
       [&] {
         Bytes shorter(file.begin(), file.end() - 4);
         Bytes b = packedFirst(shorter);
         Put32(b, sizeField, static_cast<std::uint32_t>(file.size()));
         return b;
       },
       "Packed skin entry \"P.BMP\" holds less data than its size says"},
  };
  for (const Case& c : cases) {
    TlcSkinConvertor r;
    try {
      r.ReadPacked(c.make());
      ADD_FAILURE() << c.what << ": have success, want an error";
    } catch (const SkinError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.what;
    }
    EXPECT_EQ(r.Count(), 0) << c.what;
  }
}

}  // namespace
}  // namespace sapala::skin
