// Compound file reader: files from our writer (regular sectors, mini stream, DIFAT) read
// back exactly, and damaged files patched byte by byte fail with DataError, never a crash
// or a hang.
#include "core/data/compound_file.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/data/compound_file_writer.h"
#include "core/data/error.h"

namespace sapala::data {
namespace {

std::vector<std::uint8_t> Pattern(std::size_t n, std::uint8_t seed) {
  std::vector<std::uint8_t> v(n);
  for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>(i * 31 + seed + (i >> 9));
  return v;
}

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint32_t Get32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
         (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

TEST(CompoundFile, StreamsOfEverySizeReadBack) {
  // 0 bytes, mini-stream sizes on and off the 64-byte grid, the 4096 cutoff on both sides,
  // and a stream big enough (over 109 FAT sectors' worth) to need DIFAT sectors.
  const std::size_t sizes[] = {0, 1, 64, 100, 4095, 4096, 5000, 7 * 1024 * 1024 + 3};
  std::vector<CompoundStream> streams;
  int n = 0;
  for (std::size_t size : sizes) {
    streams.push_back({"s" + std::to_string(n), Pattern(size, static_cast<std::uint8_t>(n))});
    ++n;
  }
  streams.push_back({"Workbook", Pattern(300, 7)});
  const auto file = WriteCompoundFile(streams);
  ASSERT_GT(Get32(file, 0x48), 0u) << "the test must exercise DIFAT sectors";
  const CompoundFile cf(file);
  for (std::size_t i = 0; i < streams.size(); ++i) {
    const int index = cf.FindRootStream(streams[i].name);
    ASSERT_GE(index, 0) << "case " << i << ": stream " << streams[i].name << " not found";
    EXPECT_EQ(cf.ReadStream(index), streams[i].data) << "case " << i;
  }
  EXPECT_EQ(cf.FindRootStream("WORKBOOK"), cf.FindRootStream("Workbook")) << "ASCII case";
  EXPECT_EQ(cf.FindRootStream("Book"), -1);
}

// A file with one 5000-byte stream (regular sectors) and one 100-byte stream (mini stream).
std::vector<std::uint8_t> SmallFile() {
  return WriteCompoundFile({{"Workbook", Pattern(5000, 1)}, {"Mini", Pattern(100, 2)}});
}

void ExpectRejected(const std::vector<std::uint8_t>& file, const std::string& what) {
  try {
    const CompoundFile cf(file);
    for (const char* name : {"Workbook", "Mini"}) {
      const int i = cf.FindRootStream(name);
      if (i >= 0) cf.ReadStream(i);
    }
    ADD_FAILURE() << what << ": have success, want DataError";
  } catch (const DataError&) {
  }
}

TEST(CompoundFile, DamagedFilesFailCleanly) {
  const auto good = SmallFile();
  {
    const CompoundFile cf(good);  // the base of the cases below is sound
    EXPECT_EQ(cf.ReadStream(cf.FindRootStream("Mini")), Pattern(100, 2));
  }
  const std::uint32_t dir = Get32(good, 0x30);
  const std::uint32_t fat0 = Get32(good, 0x4C);
  const std::size_t dir_at = (dir + 1) * 512;
  const std::size_t fat_at = (fat0 + 1) * 512;
  struct Case {
    std::string what;
    std::function<void(std::vector<std::uint8_t>&)> patch;
  } cases[] = {
      {"wrong signature", [](auto& f) { f[0] = 0xD1; }},
      {"too short", [](auto& f) { f.resize(100); }},
      {"bad byte order", [](auto& f) { f[0x1C] = 0; }},
      {"sector shift 20", [](auto& f) { f[0x1E] = 20; }},
      {"mini sector shift 0", [](auto& f) { f[0x20] = 0; }},
      {"FAT count lies", [](auto& f) { Put32(f, 0x2C, 0x7FFFFFFF); }},
      {"FAT sector out of range", [](auto& f) { Put32(f, 0x4C, 999999); }},
      {"directory start out of range", [](auto& f) { Put32(f, 0x30, 123456); }},
      {"directory chain loops", [dir, fat_at](auto& f) { Put32(f, fat_at + 4 * dir, dir); }},
      {"stream chain loops",
       [dir_at](auto& f) {
         // The Workbook stream's first sector points at itself.
         for (std::size_t e = 0; e < 4; ++e) {
           if (f[dir_at + 128 * e] == 'W') {
             const std::uint32_t start = Get32(f, dir_at + 128 * e + 0x74);
             const std::uint32_t fat = Get32(f, 0x4C);
             Put32(f, (fat + 1) * 512 + 4 * start, start);
           }
         }
       }},
      {"stream larger than the file",
       [dir_at](auto& f) {
         for (std::size_t e = 0; e < 4; ++e) {
           if (f[dir_at + 128 * e] == 'W') Put32(f, dir_at + 128 * e + 0x78, 0x7FFFFFF0);
         }
       }},
      {"stream longer than its chain",
       [dir_at](auto& f) {
         for (std::size_t e = 0; e < 4; ++e) {
           if (f[dir_at + 128 * e] == 'W') Put32(f, dir_at + 128 * e + 0x78, 5000 + 2048);
         }
       }},
      {"mini stream chain out of range",
       [dir_at](auto& f) {
         for (std::size_t e = 0; e < 4; ++e) {
           if (f[dir_at + 128 * e] == 'M') Put32(f, dir_at + 128 * e + 0x74, 5000);
         }
       }},
      {"root entry is not a root", [dir_at](auto& f) { f[dir_at + 0x42] = 1; }},
      {"truncated in the middle", [](auto& f) { f.resize(f.size() / 2); }},
      {"FAT sector cut short (it is the last one)", [](auto& f) { f.resize(f.size() - 100); }},
      {"DIFAT count lies",
       [](auto& f) {
         Put32(f, 0x2C, 200);
         Put32(f, 0x48, 3);
         Put32(f, 0x44, 0);
       }},
  };
  for (const auto& c : cases) {
    auto file = good;
    c.patch(file);
    ExpectRejected(file, c.what);
  }
}

TEST(CompoundFile, DirectoryLinksThatLoopDoNotHang) {
  auto file = SmallFile();
  const std::size_t dir_at = (Get32(file, 0x30) + 1) * 512;
  // Every stream entry's left and right links point back at entry 1.
  for (std::size_t e = 1; e < 3; ++e) {
    Put32(file, dir_at + 128 * e + 0x44, 1);
    Put32(file, dir_at + 128 * e + 0x48, 1);
  }
  const CompoundFile cf(file);
  EXPECT_EQ(cf.FindRootStream("NoSuchStream"), -1);
}

}  // namespace
}  // namespace sapala::data
