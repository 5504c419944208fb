// Integer and real conversions of skin values.
#include "core/skin/skin_values.h"

#include <gtest/gtest.h>

#include <clocale>

#include "core/skin/skin_error.h"

namespace sapala::skin {
namespace {

TEST(SkinValues, ParseInt) {
  struct Case {
    const char* text;
    std::optional<std::int32_t> want;
  };
  const Case cases[] = {
      {"0", 0},
      {"42", 42},
      {"-16777201", -16777201},
      {"+7", 7},
      {"$FF00FF", 0xFF00FF},
      {"0xff00ff", 0xFF00FF},
      {"0XFF00FF", 0xFF00FF},
      {"$FFFFFFFF", -1},
      {"$0000000000FF", 0xFF},  // leading zeros past eight digits are harmless
      {"$1FFFFFFFF", std::nullopt},
      {"-$10", -16},
      {"2147483647", 2147483647},
      {"2147483648", std::nullopt},
      {"-2147483648", INT32_MIN},
      {"", std::nullopt},
      {"$", std::nullopt},
      {"0x", std::nullopt},
      {"12a", std::nullopt},
      {" 12", std::nullopt},
      {"1.5", std::nullopt},
      {"0010", 10},
      {"--5", std::nullopt},  // one sign only
      {"+-5", std::nullopt},
      {"-$-5", std::nullopt},
      {"$00000000", 0},
      {"99999999999999999999", std::nullopt},
      {"$fG", std::nullopt},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(ParseInt(cases[i].text), cases[i].want) << "case " << i << ": " << cases[i].text;
  }
}

TEST(SkinValues, StrictAndLenientConversions) {
  EXPECT_EQ(StrToInt("$10"), 16);
  try {
    StrToInt("abc");
    FAIL() << "no error for a non-number";
  } catch (const SkinError& e) {
    EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
  }
  EXPECT_EQ(StrToIntDef("abc", -1), -1);
  EXPECT_EQ(StrToIntDef("", 4), 4);
  EXPECT_EQ(StrToIntDef("9", 4), 9);
}

TEST(SkinValues, VersionsUseAPointWhateverTheLocale) {
  // A locale with a decimal comma must change neither reading nor formatting.
  const char* had = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = had != nullptr ? had : "C";
  bool comma = false;
  for (const char* name :
       {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "German_Germany.1252"}) {
    if (std::setlocale(LC_NUMERIC, name) && std::localeconv()->decimal_point[0] == ',') {
      comma = true;
      break;
    }
  }
  if (!comma) {
    std::setlocale(LC_NUMERIC, saved.c_str());
    GTEST_SKIP() << "no locale with a decimal comma is installed";
  }
  EXPECT_EQ(ParseReal("7.2"), 7.2);
  EXPECT_EQ(ParseReal("7,2"), std::nullopt);
  EXPECT_EQ(FormatVersion(7.2), "7.2");
  EXPECT_EQ(FormatVersion(7), "7");
  EXPECT_EQ(FormatVersion(6.35), "6.35");
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(ParseReal("+7.40"), 7.4);
  EXPECT_EQ(ParseReal(""), std::nullopt);
}

}  // namespace
}  // namespace sapala::skin
