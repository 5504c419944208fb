// The one UTF-8 rule: what is decoded, what is replaced and how many replacements a broken
// sequence gives, the same through every entry point (code points, UTF-16 both ways).
#include "core/base/utf8.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sapala {
namespace {

// Decodes all of `s` with DecodeUtf8, U+FFFD for each failure.
std::u32string DecodeAll(std::string_view s) {
  std::u32string out;
  for (std::size_t pos = 0; pos < s.size();) out.push_back(DecodeUtf8(s, pos).value_or(0xFFFD));
  return out;
}

TEST(Utf8, EachByteOfABrokenSequenceIsOneReplacement) {
  struct Case {
    std::string in;
    std::u32string want;
  } cases[] = {
      {"m\xC3\xA3ng\xC3\xA3n", U"m\u00E3ng\u00E3n"},
      {"\xEA\xA6\xA7\xEA\xA6\xBA", U"\uA9A7\uA9BA"},  // Javanese script
      {"\xF0\x9F\x98\x80", U"\U0001F600"},
      {"\xF4\x8F\xBF\xBF", U"\U0010FFFF"},                // the last code point
      {"\xC3", U"\uFFFD"},                                // truncated at the end
      {"\xE2\x82z", U"\uFFFD\uFFFDz"},                    // truncated before a letter
      {"\xC0\xAF", U"\uFFFD\uFFFD"},                      // overlong
      {"\xE0\x80\xAF", U"\uFFFD\uFFFD\uFFFD"},            // overlong, three bytes
      {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},            // an encoded surrogate
      {"\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
      {"a\x80z", U"a\uFFFDz"},                            // stray continuation byte
      {"\xFF\xFE", U"\uFFFD\uFFFD"},                      // bytes that never begin anything
  };
  int n = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeAll(c.in), c.want) << "case " << n;
    // UTF-16 follows the same rule, unit for code point below U+10000.
    std::u16string want16;
    for (char32_t cp : c.want) {
      if (cp < 0x10000) {
        want16.push_back(static_cast<char16_t>(cp));
      } else {
        want16.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
        want16.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
      }
    }
    EXPECT_EQ(Utf8ToUtf16(c.in), want16) << "case " << n;
    ++n;
  }
}

TEST(Utf8, Utf16ToUtf8PairsSurrogatesAndReplacesLoneOnes) {
  struct Case {
    std::u16string in;
    std::string want;
  } cases[] = {
      {u"\uA980\uA9A9", "\xEA\xA6\x80\xEA\xA6\xA9"},
      {u"\U0001F600", "\xF0\x9F\x98\x80"},
      {std::u16string{0xD83D, u'A'},
       "\xEF\xBF\xBD"
       "A"},                                                         // high surrogate alone
      {std::u16string{0xDE00, 0xD83D}, "\xEF\xBF\xBD\xEF\xBF\xBD"},  // low, then high at the end
      {u"", ""},
  };
  int n = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(Utf16ToUtf8(c.in), c.want) << "case " << n;
    ++n;
  }
}

TEST(Utf8, EncoderRoundTripsAndReplacesWhatIsNoCodePoint) {
  for (char32_t cp : {0x0u, 0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xFFFFu, 0x10000u, 0x10FFFFu}) {
    std::string s;
    AppendUtf8(s, cp);
    std::size_t pos = 0;
    EXPECT_EQ(DecodeUtf8(s, pos), cp) << "case U+" << std::hex << static_cast<std::uint32_t>(cp);
    EXPECT_EQ(pos, s.size());
  }
  for (char32_t cp : {0xD800u, 0xDFFFu, 0x110000u}) {
    std::string s;
    AppendUtf8(s, cp);
    EXPECT_EQ(s, "\xEF\xBF\xBD") << "case U+" << std::hex << static_cast<std::uint32_t>(cp);
  }
}

}  // namespace
}  // namespace sapala
