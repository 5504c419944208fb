// The bounds-checked byte reader and the endian loads under it: byte order, positions, and
// every read that would leave the span failing through the reader's own failure function.
#include "core/base/byte_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sapala {
namespace {

struct Failed {
  std::string what;
};
[[noreturn]] void Fail(const char* what) { throw Failed{what}; }

const std::vector<std::uint8_t> kBytes = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09};

TEST(ByteReader, ByteOrderAndPosition) {
  ByteReader r(kBytes, Fail);
  EXPECT_EQ(r.U8(), 0x01);
  EXPECT_EQ(r.Le16(), 0x0302);
  EXPECT_EQ(r.Be16(), 0x0405);
  EXPECT_EQ(r.Position(), 5u);
  EXPECT_EQ(r.Le32At(0), 0x04030201u);
  EXPECT_EQ(r.Be32At(0), 0x01020304u);
  EXPECT_EQ(r.Position(), 5u) << "reads at an offset leave the position";
  EXPECT_EQ(r.Be32(), 0x06070809u);
  EXPECT_TRUE(r.AtEnd());
  r.Seek(1);
  EXPECT_EQ(r.Le64(), 0x0908070605040302u);
  std::vector<std::uint8_t> out(4);
  StoreBe32(out.data(), 0x0A0B0C0D);
  EXPECT_EQ(LoadLe32(out.data()), 0x0D0C0B0Au);
  AppendLe16(out, 0xBEEF);
  EXPECT_EQ(LoadLe16(out.data() + 4), 0xBEEF);
}

TEST(ByteReader, EveryReadPastTheEndFails) {
  const std::span<const std::uint8_t> all(kBytes);
  for (std::size_t size = 0; size <= kBytes.size(); ++size) {
    ByteReader r(all.first(size), Fail);
    // Exactly the reads that fit succeed; the others fail and leave the position alone.
    auto fits = [&](std::size_t at, std::size_t n) { return at <= size && size - at >= n; };
    EXPECT_EQ(!fits(0, 4),
              [&] {
                try {
                  r.Le32At(0);
                  return false;
                } catch (const Failed&) {
                  return true;
                }
              }())
        << "case size " << size;
    try {
      r.Seek(size);
      EXPECT_TRUE(r.AtEnd());
      r.U8();
      ADD_FAILURE() << "case size " << size << ": a byte past the end";
    } catch (const Failed& f) {
      EXPECT_EQ(r.Position(), size);
      EXPECT_FALSE(f.what.empty());
    }
    EXPECT_THROW(r.Seek(size + 1), Failed) << "case size " << size;
    EXPECT_THROW(r.BytesAt(1, std::size_t(-1)), Failed)
        << "case size " << size << ": a count that wraps";
    EXPECT_EQ(r.Has(size, 0), true);
    EXPECT_EQ(r.Has(size + 1, 0), false);
  }
  // Without a failure function: std::out_of_range.
  ByteReader plain(std::span<const std::uint8_t>(kBytes).first(3));
  EXPECT_THROW(plain.Le32(), std::out_of_range);
}

}  // namespace
}  // namespace sapala
