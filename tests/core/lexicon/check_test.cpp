// Word-list checks: a valid file passes; each broken rule is reported on the right line.
#include "core/lexicon/check.h"
#include "core/lexicon/rules.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

namespace sapala::lexicon {
namespace {

const std::string kHeader = "ID\twarna\n";

TEST(LexiconCheck, ValidFilePasses) {
  const std::string file = kHeader +
                           "ãbãng\tmerah\n"
                           "mãngãn\tmakan\n"
                           "sega\tnasi\n"
                           "sega liwet\tnasi liwet\n"
                           "segara\tlaut\n"
                           "tãhu-tãhu\ttiba-tiba, \xE2\x80\x9Ctahu-tahu\xE2\x80\x9D\n";
  const CheckResult r = CheckTsv(file);
  for (const Issue& issue : r.issues) ADD_FAILURE() << issue.line << ": " << issue.message;
  ASSERT_EQ(r.entries.size(), 6u);
  EXPECT_EQ(r.entries[1].headword, "mãngãn");
  EXPECT_EQ(r.entries[1].meaning, "makan");
  EXPECT_EQ(r.entries[1].line, 3u);
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
      {kHeader + "abang\tm\xC0\xAF\n", 2, "invalid UTF-8"},       // overlong
      {kHeader + "abang\t\xED\xA0\x80\n", 2, "invalid UTF-8"},    // surrogate
      {kHeader + "le\xCC\x81le\xCC\x81\tikan lele\n", 2, "NFC"},  // decomposed é
      {kHeader + "abang\t\xE2\x84\xAB\n", 2, "NFC"},              // Angstrom sign
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
      {kHeader + "abang\tmerah\nabang\tmerah lagi\n", 3,
       "duplicate headword \"abang\" (first on line 2)"},
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
    for (const Issue& issue : r.issues)
      have += std::to_string(issue.line) + ": " + issue.message + "; ";
    EXPECT_TRUE(found) << "case " << i << ": have [" << have << "], want line " << kCases[i].line
                       << " with \"" << kCases[i].message_part << "\"";
  }
}

// Many rows force the entries vector to reallocate while the order check looks back.
TEST(LexiconCheck, LongFileOrderCheck) {
  std::string file = kHeader;
  // Every a is written ã: in a closed last syllable the a/ã rule wants it.
  auto letter = [](char c) { return c == 'a' ? std::string("\xC3\xA3") : std::string(1, c); };
  for (char a = 'a'; a <= 'z'; ++a) {
    for (char b = 'a'; b <= 'z'; ++b) file += letter(a) + letter(b) + "k\tkata\n";
  }
  for (const Issue& issue : CheckTsv(file).issues)
    ADD_FAILURE() << issue.line << ": " << issue.message;
  file += "\xC3\xA3\xC3\xA3k\tkata\n";
  const CheckResult r = CheckTsv(file);
  ASSERT_EQ(r.issues.size(), 1u);
  EXPECT_EQ(r.issues[0].line, 26u * 26u + 2u);
}

TEST(LexiconCheck, DictionaryOrder) {
  static const struct {
    const char* a;
    const char* b;
  } kAscending[] = {
      {"a", "ã"},
      {"ã", "ab"},
      {"mangan", "mãngãn"},
      {"mãngãn", "manuk"},
      {"e", "è"},
      {"è", "é"},
      {"lélé", "lemah"},
      {"sega", "sega liwet"},
      {"sega liwet", "segara"},
      {"bolak-balik", "bolang"},
      {"ora", "orak"},
      {"kãnã", "kanca"},
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

// Spelling and register rules over whole lists (rules.h).
namespace sapala::lexicon {
namespace {

// A word list of `rows` (only the rule under test is looked at, so order does not matter).
std::string File(std::initializer_list<const char*> rows) {
  std::string file = "ID\twarna\n";
  for (const char* row : rows) file += std::string(row) + "\n";
  return file;
}

// The messages of the issues of `rule`, joined for the failure text.
std::vector<std::string> IssuesOf(const std::string& file, const std::string& rule) {
  std::vector<std::string> out;
  for (const Issue& issue : CheckTsv(file).issues) {
    if (issue.rule == rule) out.push_back(std::to_string(issue.line) + ": " + issue.message);
  }
  return out;
}

std::string Join(const std::vector<std::string>& v) {
  std::string s;
  for (const auto& m : v) s += m + "; ";
  return s;
}

TEST(LexiconRules, AOpenOrRounded) {
  // Valid: [ɔ] in the last open syllable and the one before it, [a] elsewhere; each word of a
  // compound on its own; the listed interjection keeps its [a].
  const std::string good = File({"ãkãsia\takasia", "kanca\tteman", "lhã\tnah", "mãngãn\tmakan",
                                 "sega liwet\tnasi liwet", "segara\tlaut", "utawa\tatau"});
  EXPECT_EQ(Join(IssuesOf(good, "a")), "");
  static const struct {
    const char* row;
    const char* want;
  } kBad[] = {
      {"mangan\tmakan", "want \"mãngãn\""},
      {"sãga\tnasi", "want \"saga\""},
      {"kãnca\tteman", "want \"kanca\""},
      {"segãra\tlaut", "want \"segara\""},
      {"sega lawet\tnasi liwet", "\"lawet\" in \"sega lawet\""},
  };
  for (const auto& c : kBad) {
    const std::vector<std::string> have = IssuesOf(File({c.row}), "a");
    ASSERT_EQ(have.size(), 1u) << c.row << ": " << Join(have);
    EXPECT_NE(have[0].find(c.want), std::string::npos) << have[0];
  }
}

TEST(LexiconRules, DerivedFormsKeepTheirRootsVowels) {
  // Agreeing forms: prefix, suffix, nasal, reduplication; é and è may alternate; a homograph
  // root that agrees is enough.
  const std::string good =
      File({"dhéwé\tsendiri", "dhèwèké\tdia", "ndhèrèk\tikut", "ndhèrèkãké\tmengantarkan",
            "énggãl\tcepat", "énggãl-énggãl\tcepat-cepat", "kèri\ttertinggal", "keri\tgeli",
            "kekeri\tpaling belakang", "pitãkèn\tpertanyaan", "tãkèn\tbertanya"});
  EXPECT_EQ(Join(IssuesOf(good, "derived")), "");
  static const struct {
    std::initializer_list<const char*> rows;
    const char* want;
  } kBad[] = {
      {{"pitãken\tpertanyaan", "tãkèn\tbertanya"}, "\"pitãken\" in \"pitãken\""},
      {{"ndhèrèk\tikut", "ndherekãké\tmengantarkan"}, "root \"ndhèrèk\""},
      {{"énggãl\tcepat", "enggãl-enggãl\tcepat-cepat"}, "\"enggãl\" in \"enggãl-enggãl\""},
      {{"nyèlèhãké\tmeletakkan", "selèh\tletak"}, "root \"selèh\""},      // nasal s -> ny
      {{"cèlèng\tbabi hutan", "celengãn\ttabungan"}, "root \"cèlèng\""},  // suffix only
  };
  for (const auto& c : kBad) {
    const std::vector<std::string> have = IssuesOf(File(c.rows), "derived");
    ASSERT_EQ(have.size(), 1u) << Join(have);
    EXPECT_NE(have[0].find(c.want), std::string::npos) << have[0];
  }
  // A nasal does not follow a prefix: se + medi is not se- + wedi.
  EXPECT_EQ(Join(IssuesOf(File({"semèdi\tbersemadi", "wedi\ttakut"}), "derived")), "");
}

TEST(LexiconRules, IFinalRootsTakeOpenE) {
  const std::string good = File({"bãli\tkembali", "bãlèn\tkembali lagi", "mbãlèni\tmengulangi",
                                 "nãlèni\tmengikat", "tãli\ttali"});
  EXPECT_EQ(Join(IssuesOf(good, "i-final")), "");
  static const char* const kBad[][2] = {
      {"nãleni\tmengikat", "tãli\ttali"},  // t -> n and -i
      {"mbãléni\tmengulangi", "bãli\tkembali"},
      {"bãlen\tkembali lagi", "bãli\tkembali"},  // -an
  };
  for (const auto& rows : kBad) {
    const std::vector<std::string> have = IssuesOf(File({rows[0], rows[1]}), "i-final");
    ASSERT_EQ(have.size(), 1u) << rows[0] << ": " << Join(have);
    EXPECT_NE(have[0].find("-èni/-èn"), std::string::npos) << have[0];
  }
}

TEST(LexiconRules, RegisterPartners) {
  const std::string good = File({
      "ãku\taku (ngoko) · krama: kula · krama andhap: dãlem",
      "dãlem\tsaya (krama andhap) · ngoko: ãku · krama: kula",
      "dhãhãr\tmakan (krama inggil) · ngoko: mãngãn · krama: nedha",
      "kula\tsaya (krama) · ngoko: ãku · krama andhap: dãlem",
      "mãngãn\tmakan (ngoko) · krama: nedha · krama inggil: dhãhãr",
      "nedha\tmakan (krama) · ngoko: mãngãn · krama inggil: dhãhãr",
      "sega\tnasi",
  });
  EXPECT_EQ(Join(IssuesOf(good, "register")), "");
  static const struct {
    std::initializer_list<const char*> rows;
    const char* want;
  } kBad[] = {
      {{"nedha\tmakan (krama) · ngoko: mãngãn"}, "partner \"mãngãn\" is not a headword"},
      {{"mãngãn\tmakan · krama: nedha", "nedha\tmakan (krama) · ngoko: mãngãn"},
       "named as ngoko but tagged (no level)"},
      {{"mãngãn\tmakan (ngoko) · krama: nedha", "nedha\tmakan (krama) · ngoko: mãngãn, pãngãn",
        "pãngãn\tmakanan (ngoko) · krama: tedhãn"},
       "partner \"pãngãn\" does not name it back as krama"},
      {{"mãngãn\tmakan (ngoko) · krama: nedha", "nedha\tmakan (krama inggil)"}, "names no partner"},
      {{"dhãhãr\tmakan (krama inggil) · krama: nedha",
        "nedha\tmakan (krama) · krama inggil: dhãhãr"},
       "tagged (krama inggil) but names no ngoko partner"},
      {{"mãngãn\tmakan (ngoko) · krama inggil: dhãhãr · krama: nedha"}, "not in the order"},
      {{"mãngãn\tmakan (ngoko) · halus: nedha"}, "partner text \"halus: nedha\""},
      {{"mãngãn\tmakan (ngoko) · ngoko: mãngãn"}, "names itself"},
  };
  for (const auto& c : kBad) {
    const std::vector<std::string> have = IssuesOf(File(c.rows), "register");
    bool found = false;
    for (const auto& m : have) found = found || m.find(c.want) != std::string::npos;
    EXPECT_TRUE(found) << "want \"" << c.want << "\" in: " << Join(have);
  }
  EXPECT_EQ(RegisterOf("makan (krama inggil) · ngoko: mãngãn"), "krama inggil");
  EXPECT_EQ(RegisterOf("anak (kecil)"), "");
  EXPECT_EQ(RegisterOf("(ngoko)"), "");
}

}  // namespace
}  // namespace sapala::lexicon
