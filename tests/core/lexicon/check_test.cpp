// Word-list checks: a valid file passes; each broken rule is reported on the right line.
#include "core/lexicon/check.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

namespace sapala::lexicon {
namespace {

const std::string kHeader = "ID\twarna\n";

TEST(LexiconCheck, ValidFilePasses) {
  const std::string file = kHeader +
                           "abang\tmerah\n"
                           "mãngãn\tmakan (ngoko)\n"
                           "sega\tnasi (ngoko)\n"
                           "sega liwet\tnasi liwet\n"
                           "segara\tlaut\n"
                           "tahu-tahu\ttiba-tiba, \xE2\x80\x9Ctahu-tahu\xE2\x80\x9D\n";
  const CheckResult r = CheckTsv(file);
  for (const Issue& issue : r.issues) ADD_FAILURE() << issue.line << ": " << issue.message;
  ASSERT_EQ(r.entries.size(), 6u);
  EXPECT_EQ(r.entries[1].headword, "mãngãn");
  EXPECT_EQ(r.entries[1].meaning, "makan (ngoko)");
}

TEST(LexiconCheck, BrokenFilesAreReported) {
  static const struct {
    std::string file;
    std::size_t line;
    const char* message_part;
  } kCases[] = {
      {"", 0, "empty file"},
      {"ID\tarti\nabang\tmerah\n", 1, "header"},
      {"\xEF\xBB\xBFID\twarna\n", 1, "byte-order mark"},
      {kHeader + "abang\tmerah", 0, "does not end in LF"},
      {kHeader + "abang\tmerah\r\n", 2, "control character U+000D"},
      {kHeader + "abang\tme\x01rah\n", 2, "control character U+0001"},
      {kHeader + "abang\tme\xC2\x85rah\n", 2, "control character U+0085"},
      {kHeader + "abang\tmerah\t\n", 2, "have 2 TABs"},
      {kHeader + "abang merah\n", 2, "have 0 TABs"},
      {kHeader + "abang\tme\xC3rah\n", 2, "invalid UTF-8 at byte 9"},
      {kHeader + "abang\tm\xC0\xAF\n", 2, "invalid UTF-8"},          // overlong
      {kHeader + "abang\t\xED\xA0\x80\n", 2, "invalid UTF-8"},       // surrogate
      {kHeader + "le\xCC\x81le\xCC\x81\tikan lele\n", 2, "NFC"},      // decomposed é
      {kHeader + "abang\t\xE2\x84\xAB\n", 2, "NFC"},                  // Angstrom sign
      {kHeader + "Abang\tmerah\n", 2, "characters other than"},
      {kHeader + "abang2\tmerah\n", 2, "characters other than"},
      {kHeader + "ab\xC3\xA2ng\tmerah\n", 2, "characters other than"},  // â
      {kHeader + "-abang\tmerah\n", 2, "characters other than"},
      {kHeader + "abang-\tmerah\n", 2, "characters other than"},
      {kHeader + "aba  ng\tmerah\n", 2, "characters other than"},
      {kHeader + "aba- ng\tmerah\n", 2, "characters other than"},
      {kHeader + "\tmerah\n", 2, "empty headword"},
      {kHeader + "abang\t\n", 2, "empty meaning"},
      {kHeader + "abang\t merah\n", 2, "blank"},
      {kHeader + "abang\tmerah \n", 2, "blank"},
      {kHeader + "\n", 2, "have 0 TABs"},
      {kHeader + "abang\tmerah\nabang\tmerah lagi\n", 3, "duplicate headword \"abang\" (first on line 2)"},
      {kHeader + "sega\tnasi\nabang\tmerah\n", 3, "out of order"},
      {kHeader + "mãngãn\tmakan\nmangan\tmakan\n", 3, "out of order"},
      {kHeader + "segara\tlaut\nsega liwet\tnasi\n", 3, "out of order"},
  };
  for (std::size_t i = 0; i < std::size(kCases); ++i) {
    const CheckResult r = CheckTsv(kCases[i].file);
    bool found = false;
    for (const Issue& issue : r.issues) {
      if (issue.line == kCases[i].line &&
          issue.message.find(kCases[i].message_part) != std::string::npos) {
        found = true;
      }
    }
    std::string have;
    for (const Issue& issue : r.issues) have += std::to_string(issue.line) + ": " + issue.message + "; ";
    EXPECT_TRUE(found) << "case " << i << ": have [" << have << "], want line " << kCases[i].line
                       << " with \"" << kCases[i].message_part << "\"";
  }
}

// Many rows force the entries vector to reallocate while the order check looks back.
TEST(LexiconCheck, LongFileOrderCheck) {
  std::string file = kHeader;
  for (char a = 'a'; a <= 'z'; ++a) {
    for (char b = 'a'; b <= 'z'; ++b) file += std::string{a, b, 'k'} + "\tkata\n";
  }
  EXPECT_TRUE(CheckTsv(file).issues.empty());
  file += "aak\tkata\n";
  const CheckResult r = CheckTsv(file);
  ASSERT_EQ(r.issues.size(), 1u);
  EXPECT_EQ(r.issues[0].line, 26u * 26u + 2u);
}

TEST(LexiconCheck, DictionaryOrder) {
  static const struct {
    const char* a;
    const char* b;
  } kAscending[] = {
      {"a", "ã"},           {"ã", "ab"},          {"mangan", "mãngãn"},
      {"mãngãn", "manuk"},  {"e", "è"},           {"è", "é"},
      {"lélé", "lemah"},    {"sega", "sega liwet"}, {"sega liwet", "segara"},
      {"bolak-balik", "bolang"}, {"ora", "orak"},  {"kãnã", "kanca"},
  };
  for (std::size_t i = 0; i < std::size(kAscending); ++i) {
    EXPECT_LT(CompareHeadwords(kAscending[i].a, kAscending[i].b), 0)
        << "case " << i << ": want " << kAscending[i].a << " < " << kAscending[i].b;
    EXPECT_GT(CompareHeadwords(kAscending[i].b, kAscending[i].a), 0) << "case " << i;
  }
  EXPECT_EQ(CompareHeadwords("gorèng", "gorèng"), 0);
}

}  // namespace
}  // namespace sapala::lexicon
