// Skin text syntax: trimming, comments, sections, keys without values, first occurrence wins.
#include "core/skin/skin_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/skin/skin_error.h"

namespace sapala::skin {
namespace {

TEST(SkinText, SyntaxOfSectionsAndKeys) {
  const SkinText t = SkinText::Parse(
      "ORPHAN=1\r\n"
      "  [ GLOBALINFO ]  \r\n"
      "; a comment\n"
      "\tVERSION = 7.2\t\n"
      "\n"
      "BARE KEY\n"
      "A=b=c\n"
      "VERSION=8\n"
      "[Button]\r"
      "Color=$FF\r"
      "[]\n"
      "x=1\n");
  ASSERT_EQ(t.Sections().size(), 3u);
  EXPECT_EQ(t.Sections()[0].name, "GLOBALINFO");
  EXPECT_EQ(t.Sections()[1].name, "Button");
  EXPECT_EQ(t.Sections()[2].name, "");
  struct Case {
    const char* section;
    const char* key;
    std::optional<std::string_view> want;
  };
  const Case cases[] = {
      {"GLOBALINFO", "VERSION", "7.2"},        // first occurrence, trimmed
      {"GLOBALINFO", "BARE KEY", ""},          // a key without a value
      {"GLOBALINFO", "A", "b=c"},              // split at the first "="
      {"GLOBALINFO", "ORPHAN", std::nullopt},  // lines before the first section are ignored
      {"Button", "Color", "$FF"},
      {"BUTTON", "Color", std::nullopt},  // section names match with case
      {"Button", "COLOR", std::nullopt},  // key names too
      {"", "x", "1"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    auto have = t.Read(cases[i].section, cases[i].key);
    EXPECT_EQ(have, cases[i].want)
        << "case " << i << ": [" << cases[i].section << "] " << cases[i].key;
  }
}

TEST(SkinText, RepeatedSectionAddsToTheFirst) {
  const SkinText t = SkinText::Parse("[A]\nk=1\n[B]\n[A]\nk=2\nm=3\n");
  ASSERT_EQ(t.Sections().size(), 2u);
  EXPECT_EQ(t.Read("A", "k"), "1");
  EXPECT_EQ(t.Read("A", "m"), "3");
}

TEST(SkinText, CommentAndBracketRules) {
  // ";" only at the start of the trimmed line; "[" needs a closing "]" at the very end.
  const SkinText t = SkinText::Parse("[S]\n  ;skip=1\nk=a;b\n[not a section\nv=[x]\n");
  ASSERT_EQ(t.Sections().size(), 1u);
  EXPECT_EQ(t.Read("S", ";skip"), std::nullopt);
  EXPECT_EQ(t.Read("S", "k"), "a;b");
  EXPECT_EQ(t.Read("S", "[not a section"), "");
  EXPECT_EQ(t.Read("S", "v"), "[x]");
}

TEST(SkinText, ByteOrderMarkDoesNotHideTheFirstSection) {
  const SkinText t = SkinText::Parse("\xEF\xBB\xBF[GLOBALINFO]\r\nVERSION=7.2\r\n");
  EXPECT_EQ(t.Read("GLOBALINFO", "VERSION"), "7.2");
}

// Names and values stay readable after the text they were parsed from is overwritten, and in a
// copy after the original is gone.
TEST(SkinText, KeysOutliveTheParsedTextAndTheOriginal) {
  std::string source = "[FORM]\nCOLOR=$E2F1F7\nBORDERSMASK=^0079,0132,0093,0146\n[EDIT]\nX\n";
  std::optional<SkinText> original = SkinText::Parse(source);
  source.assign(source.size(), '#');
  const SkinText copy = *original;
  original.reset();
  EXPECT_EQ(copy.Read("FORM", "COLOR"), "$E2F1F7");
  EXPECT_EQ(copy.Read("FORM", "BORDERSMASK"), "^0079,0132,0093,0146");
  ASSERT_NE(copy.FindSection("EDIT"), nullptr);
  ASSERT_EQ(copy.FindSection("EDIT")->keys.size(), 1u);
  EXPECT_EQ(copy.FindSection("EDIT")->keys[0].name, "X");
  EXPECT_EQ(copy.Sections().size(), 2u);
}

TEST(SkinText, EmptyAndOversizedInput) {
  EXPECT_TRUE(SkinText::Parse("").Empty());
  EXPECT_TRUE(SkinText::Parse("\r\n\r\n;only comments\n").Empty());
  std::string huge(SkinText::kMaxTextBytes + 1, 'x');
  EXPECT_THROW(SkinText::Parse(huge), SkinError);
}

}  // namespace
}  // namespace sapala::skin
