// Packed skins: round trip, the text entry's name rule, item order and look-up, and every kind of
// damaged header patched byte by byte into a real packed file.
#include "core/skin/skin_pack.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <zlib.h>

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

// The checksum of packed entries agrees with zlib's for every length around the 16-byte steps
// and the reduction blocks, from any starting value, on bytes of all 255s (the largest sums).
TEST(SkinPack, Adler32AgreesWithZlib) {
  std::mt19937 rng(5);
  Bytes random(40000);
  for (auto& v : random) v = static_cast<std::uint8_t>(rng());
  const Bytes ones(40000, 0xFF);
  for (const Bytes* data : {static_cast<const Bytes*>(&random), &ones}) {
    for (std::size_t n :
         {0u, 1u, 15u, 16u, 17u, 31u, 5535u, 5536u, 5537u, 5552u, 5553u, 11088u, 11104u, 40000u}) {
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

}  // namespace
}  // namespace sapala::skin
