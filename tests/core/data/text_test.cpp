// Text conversions: the code-page tables where they differ from Latin-1, surrogates, and
// broken input that must come out as valid text.
#include "core/data/text.h"

#include <gtest/gtest.h>

#include <vector>

namespace sapala::data {
namespace {

TEST(Text, Cp1252AndLatin1DifferOnlyIn0x80To0x9F) {
  struct Case {
    std::string in, cp1252, latin1;
  } cases[] = {
      {"abc", "abc", "abc"},
      {"\xE3", "\xC3\xA3", "\xC3\xA3"},                      // ã
      {"\xE9\xE8", "\xC3\xA9\xC3\xA8", "\xC3\xA9\xC3\xA8"},  // é è
      {"\x80", "\xE2\x82\xAC", "\xC2\x80"},                  // euro sign vs C1 control
      {"\x92", "\xE2\x80\x99", "\xC2\x92"},                  // right single quote
      {"\x81", "\xC2\x81", "\xC2\x81"},                      // undefined in 1252: kept as C1
      {"\x9F", "\xC5\xB8", "\xC2\x9F"},                      // Ÿ
  };
  int n = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(Cp1252ToUtf8(c.in), c.cp1252) << "case " << n;
    EXPECT_EQ(Latin1ToUtf8(c.in), c.latin1) << "case " << n;
    ++n;
  }
}

TEST(Text, Utf16SurrogatesAndStrayUnits) {
  struct Case {
    std::vector<std::uint8_t> in;
    std::string want;
  } cases[] = {
      {{0x80, 0xA9, 0xA9, 0xA9}, "\xEA\xA6\x80\xEA\xA6\xA9"},  // Javanese script
      {{0x3D, 0xD8, 0x00, 0xDE}, "\xF0\x9F\x98\x80"},          // a surrogate pair
      {{0x3D, 0xD8, 0x41, 0x00},
       "\xEF\xBF\xBD"
       "A"},                           // high surrogate alone
      {{0x00, 0xDE}, "\xEF\xBF\xBD"},  // low surrogate alone
      {{0x41, 0x00, 0x42}, "A"},       // odd trailing byte
  };
  int n = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(Utf16LeToUtf8(c.in), c.want) << "case " << n;
    ++n;
  }
}

TEST(Text, RoundTripThroughUtf16) {
  const std::string s = "l\xC3\xA9l\xC3\xA9 \xEA\xA6\xA7\xEA\xA6\xBA \xF0\x9F\x98\x80";
  const std::u16string u = Utf8ToUtf16(s);
  std::vector<std::uint8_t> le;
  for (char16_t c : u) {
    le.push_back(static_cast<std::uint8_t>(c));
    le.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  EXPECT_EQ(Utf16LeToUtf8(le), s);
}

}  // namespace
}  // namespace sapala::data
