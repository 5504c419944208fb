// The real word list, assets/dictionary/sapala.tsv: it passes every check, is large enough, holds
// the examples-window words, and every headword is fully written in Javanese script.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "core/base/utf8.h"
#include "core/lexicon/check.h"
#include "core/script/hanacaraka.h"

namespace sapala::lexicon {
namespace {

const std::string kPath = std::string(SAPALA_SOURCE_DIR) + "/assets/dictionary/sapala.tsv";

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct WordMeaning {
  const char* headword;
  const char* meaning_part;
};

// Each headword is in the list and its meaning names the given part.
void ExpectMeanings(std::initializer_list<WordMeaning> words) {
  const CheckResult r = CheckTsv(ReadAll(kPath));
  std::map<std::string, std::string> meaning;
  for (const Entry& e : r.entries) meaning[e.headword] = e.meaning;
  for (const auto& w : words) {
    const auto it = meaning.find(w.headword);
    if (it == meaning.end()) {
      ADD_FAILURE() << "missing headword " << w.headword;
    } else {
      EXPECT_NE(it->second.find(w.meaning_part), std::string::npos)
          << w.headword << ": have \"" << it->second << "\", want it to name \"" << w.meaning_part
          << "\"";
    }
  }
}

TEST(SapalaTsv, PassesChecksAndIsLargeEnough) {
  const std::string file = ReadAll(kPath);
  ASSERT_FALSE(file.empty()) << kPath;
  const CheckResult r = CheckTsv(file);
  for (const Issue& issue : r.issues)
    ADD_FAILURE() << kPath << ":" << issue.line << ": " << issue.message;
  EXPECT_GE(r.entries.size(), 4500u);
}

TEST(SapalaTsv, HoldsTheExamplesWindowWords) {
  ExpectMeanings({
      {"mãngãn", "makan (ngoko)"},
      {"nedha", "makan (krama)"},
      {"sega", "nasi"},
      {"liwet", "nasi liwet"},
      {"lélé", "lele"},
      {"gorèng", "goreng"},
  });
}

// Words a reviewer found missing, with their speech-level partners where they have them.
TEST(SapalaTsv, HoldsTheEverydayWordsAndTheirPartners) {
  ExpectMeanings({
      {"methuk", "krama: mãpãg"},
      {"gumujeng", "(krama) · ngoko: ngguyu"},
      {"jãmbon", "merah jambu"},
      {"bubrãh", "rusak"},
      {"ãwèh", "krama andhap: cãos"},
      {"jãwi", "ngoko: jawa"},
      {"sithik", "krama: sekedhik"},
      {"kepiyé", "krama: kãdos pundi"},
      {"percaya", "(ngoko) · krama: pitãdos"},
      {"mãtur", "(krama andhap)"},
  });
}

TEST(SapalaTsv, EveryHeadwordIsWrittenInJavaneseScript) {
  const CheckResult r = CheckTsv(ReadAll(kPath));
  std::size_t failures = 0;
  for (const Entry& e : r.entries) {
    const std::string script = script::ToHanacaraka(e.headword);
    bool ok = !script.empty();
    for (std::size_t pos = 0; pos < script.size();) {
      const auto c = DecodeUtf8(script, pos);
      if (!c || (*c != ' ' && !(*c >= 0xA980 && *c <= 0xA9DF))) ok = false;
    }
    if (!ok && ++failures <= 20) {
      ADD_FAILURE() << e.headword << " -> " << script << ": not wholly Javanese script";
    }
  }
  EXPECT_EQ(failures, 0u);
}

// A second opinion on normalisation from Python's unicodedata, when Python is there.
TEST(SapalaTsv, IsNfcByPython) {
  if (std::system("python3 -c 'import unicodedata' >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "python3 is not installed";
  }
  const std::string command =
      "python3 -c \"import sys, unicodedata; "
      "t = open(sys.argv[1], encoding='utf-8').read(); "
      "sys.exit(0 if unicodedata.is_normalized('NFC', t) else 1)\" '" +
      kPath + "'";
  EXPECT_EQ(std::system(command.c_str()), 0) << kPath << " is not in NFC";
}

// Every word of every headword, accents removed, must be in the Javanese word list that Debian's
// tesseract-ocr-jav ships (a check of spelling, not a source of words). The few real words that
// list lacks are named here.
TEST(SapalaTsv, SpellingsAreAttested) {
  const std::string traineddata = "/usr/share/tesseract-ocr/5/tessdata/jav.traineddata";
  if (!std::filesystem::exists(traineddata) ||
      std::system(
          "command -v combine_tessdata >/dev/null && command -v dawg2wordlist >/dev/null") != 0) {
    GTEST_SKIP() << "needs Debian's tesseract-ocr and tesseract-ocr-jav";
  }
  const std::filesystem::path dir = std::filesystem::path(SAPALA_BINARY_DIR) / "tesseract-jav";
  std::filesystem::create_directories(dir);
  const std::string prefix = (dir / "jav.").string();
  const std::string words_path = (dir / "words.txt").string();
  const std::string command = "combine_tessdata -u '" + traineddata + "' '" + prefix +
                              "' >/dev/null 2>&1 && dawg2wordlist '" + prefix +
                              "lstm-unicharset' '" + prefix + "lstm-word-dawg' '" + words_path +
                              "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;

  auto fold = [](std::string s) {
    // ã é è of our spelling, and ê, the pepet mark of the tesseract list.
    static const struct {
      const char* from;
      const char* to;
    } kFold[] = {{"\xC3\xA3", "a"}, {"\xC3\xA9", "e"}, {"\xC3\xA8", "e"}, {"\xC3\xAA", "e"},
                 {"\xC3\x83", "a"}, {"\xC3\x89", "e"}, {"\xC3\x88", "e"}, {"\xC3\x8A", "e"}};
    for (const auto& f : kFold) {
      for (std::size_t at = s.find(f.from); at != std::string::npos; at = s.find(f.from, at)) {
        s.replace(at, 2, f.to);
      }
    }
    for (char& c : s) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
  };
  std::set<std::string> attested;
  std::istringstream words(ReadAll(words_path));
  for (std::string w; std::getline(words, w);) attested.insert(fold(w));
  ASSERT_GT(attested.size(), 10000u)
      << "word list extracted from " << traineddata << " is too small";

  static const std::set<std::string> kKnownMissing = {"nyetrika", "sothil", "unyeng"};
  const CheckResult r = CheckTsv(ReadAll(kPath));
  for (const Entry& e : r.entries) {
    std::string parts = fold(e.headword);
    for (char& c : parts) {
      if (c == '-') c = ' ';
    }
    std::istringstream in(parts);
    for (std::string part; in >> part;) {
      if (!attested.count(part) && !kKnownMissing.count(part)) {
        ADD_FAILURE() << e.headword << ": \"" << part
                      << "\" is not in the tesseract-ocr-jav word list";
      }
    }
  }
}

}  // namespace
}  // namespace sapala::lexicon
