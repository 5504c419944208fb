// Hand-checked transliterations. Expected spellings are written as the names of the Javanese
// characters (Unicode names without "JAVANESE LETTER/VOWEL SIGN/..."), so each row can be read
// against the script's rules without a Javanese font.
#include "core/script/hanacaraka.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <map>
#include <sstream>
#include <string>
#include <string_view>

namespace sapala::script {
namespace {

std::string Utf8(char32_t cp) {
  std::string s;
  if (cp < 0x80) {
    s += static_cast<char>(cp);
  } else if (cp < 0x800) {
    s += static_cast<char>(0xC0 | (cp >> 6));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    s += static_cast<char>(0xE0 | (cp >> 12));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return s;
}

// "KA CAKRA MA" -> the UTF-8 of U+A98F U+A9BF U+A9A9. "_" stands for a blank.
std::string Spell(std::string_view names) {
  static const std::map<std::string, char32_t> kNames = {
      {"HA", 0xA9B2},          {"NA", 0xA9A4},         {"CA", 0xA995},
      {"RA", 0xA9AB},          {"KA", 0xA98F},         {"DA", 0xA9A2},
      {"TA", 0xA9A0},          {"SA", 0xA9B1},         {"WA", 0xA9AE},
      {"LA", 0xA9AD},          {"PA", 0xA9A5},         {"DHA", 0xA99D},
      {"JA", 0xA997},          {"YA", 0xA9AA},         {"NYA", 0xA99A},
      {"MA", 0xA9A9},          {"GA", 0xA992},         {"BA", 0xA9A7},
      {"THA", 0xA99B},         {"NGA", 0xA994},        {"WULU", 0xA9B6},
      {"SUKU", 0xA9B8},        {"TALING", 0xA9BA},     {"TARUNG", 0xA9B4},
      {"PEPET", 0xA9BC},       {"CECAK", 0xA981},      {"LAYAR", 0xA982},
      {"WIGNYAN", 0xA983},     {"PANGKON", 0xA9C0},    {"CAKRA", 0xA9BF},
      {"KERET", 0xA9BD},       {"PENGKAL", 0xA9BE},    {"PANGRANGKEP", 0xA9CF},
      {"PA_CEREK", 0xA989},    {"NGA_LELET", 0xA98A},  {"PADA_PANGKAT", 0xA9C7},
      {"DIGIT_ZERO", 0xA9D0},  {"DIGIT_ONE", 0xA9D1},  {"DIGIT_TWO", 0xA9D2},
      {"DIGIT_SEVEN", 0xA9D7}, {"DIGIT_NINE", 0xA9D9}, {"_", 0x20}};
  std::istringstream in{std::string(names)};
  std::string out;
  std::string name;
  while (in >> name) {
    const auto it = kNames.find(name);
    if (it == kNames.end())
      ADD_FAILURE() << "unknown character name " << name;
    else
      out += Utf8(it->second);
  }
  return out;
}

struct Case {
  const char* latin;
  const char* want;
};

void RunTable(const Case* cases, std::size_t n, bool names) {
  for (std::size_t i = 0; i < n; ++i) {
    const std::string want = names ? Spell(cases[i].want) : std::string(cases[i].want);
    const std::string have = ToHanacaraka(cases[i].latin);
    EXPECT_EQ(have, want) << "case " << i << " (" << cases[i].latin << "): have " << have
                          << ", want " << want << " = " << cases[i].want;
  }
}

// Every example of our script reference, verbatim.
TEST(Hanacaraka, ReferenceExamples) {
  static const Case kCases[] = {
      {"mãngãn", "ꦩꦔꦤ꧀"},  {"iki", "ꦲꦶꦏꦶ"},    {"banyu", "ꦧꦚꦸ"},     {"lélé", "ꦭꦺꦭꦺ"},
      {"ngoko", "ꦔꦺꦴꦏꦺꦴ"}, {"sega", "ꦱꦼꦒ"},   {"abang", "ꦲꦧꦁ"},     {"gorèng", "ꦒꦺꦴꦫꦺꦁ"},
      {"dhahar", "ꦝꦲꦂ"},    {"sugih", "ꦱꦸꦒꦶꦃ"}, {"liwet", "ꦭꦶꦮꦼꦠ꧀"},   {"kanthi", "ꦏꦤ꧀ꦛꦶ"},
      {"mlaku", "ꦩ꧀ꦭꦏꦸ"},   {"krama", "ꦏꦿꦩ"}, {"kreteg", "ꦏꦽꦠꦼꦒ꧀"}, {"kyai", "ꦏꦾꦲꦶ"},
  };
  RunTable(kCases, std::size(kCases), false);
}

// All twenty letters, the vowel signs and the loan letters.
TEST(Hanacaraka, LettersAndVowels) {
  static const Case kCases[] = {
      {"hana", "HA NA"},
      {"caraka", "CA RA KA"},
      {"data", "DA TA"},
      {"sawala", "SA WA LA"},
      {"padhajayanya", "PA DHA JA YA NYA"},
      {"magabathanga", "MA GA BA THA NGA"},
      {"kali", "KA LA WULU"},
      {"kuru", "KA SUKU RA SUKU"},
      {"béda", "BA TALING DA"},
      {"lèrè", "LA TALING RA TALING"},
      {"loro", "LA TALING TARUNG RA TALING TARUNG"},
      {"telu", "TA PEPET LA SUKU"},
      {"mãtã", "MA TA"},
      // Loan letters take the nearest letter.
      {"foto", "PA TALING TARUNG TA TALING TARUNG"},
      {"vas", "WA SA PANGKON"},
      {"zaman", "JA MA NA PANGKON"},
      {"qori", "KA TALING TARUNG RA WULU"},
      {"taxi", "TA KA PANGKON SA WULU"},
  };
  RunTable(kCases, std::size(kCases), true);
}

// Vowels without a consonant before them: at the start of a word and after another vowel.
TEST(Hanacaraka, BareVowels) {
  static const Case kCases[] = {
      {"a", "HA"},
      {"ibu", "HA WULU BA SUKU"},
      {"omah", "HA TALING TARUNG MA WIGNYAN"},
      {"enak", "HA PEPET NA KA PANGKON"},
      {"sae", "SA HA PEPET"},
      {"saé", "SA HA TALING"},
      {"kae", "KA HA PEPET"},
      {"dhaup", "DHA HA SUKU PA PANGKON"},
      {"taun", "TA HA SUKU NA PANGKON"},
      {"kaos", "KA HA TALING TARUNG SA PANGKON"},
  };
  RunTable(kCases, std::size(kCases), true);
}

// Closing consonants: cecak, layar, wignyan after a vowel, pangkon for the others and for ng, r,
// h where no vowel of the word comes before them.
TEST(Hanacaraka, ClosedSyllables) {
  static const Case kCases[] = {
      {"bangsa", "BA CECAK SA"},
      {"pirsa", "PA WULU LAYAR SA"},
      {"bahkan", "BA WIGNYAN KA NA PANGKON"},
      {"tangga", "TA CECAK GA"},
      {"bangkong", "BA CECAK KA TALING TARUNG CECAK"},
      {"kembang", "KA PEPET MA PANGKON BA CECAK"},
      {"anggur", "HA CECAK GA SUKU LAYAR"},
      {"sapi", "SA PA WULU"},
      {"tas", "TA SA PANGKON"},
      // Two closing consonants at the end of a (loan) word.
      {"pers", "PA PEPET LAYAR SA PANGKON"},
      {"tèks", "TA TALING KA PANGKON SA PANGKON"},
      // A word without a vowel.
      {"ng", "NGA PANGKON"},
      {"hm", "HA PANGKON MA PANGKON"},
  };
  RunTable(kCases, std::size(kCases), true);
}

// Clusters: pasangan by pangkon, cakra, keret, pengkal, and word-initial nasal clusters.
TEST(Hanacaraka, Clusters) {
  static const Case kCases[] = {
      {"mbak", "MA PANGKON BA KA PANGKON"},
      {"ndhuk", "NA PANGKON DHA SUKU KA PANGKON"},
      {"nggawa", "NGA PANGKON GA WA"},
      {"nglangi", "NGA PANGKON LA NGA WULU"},
      {"ngrungu", "NGA CAKRA SUKU NGA SUKU"},
      {"mrana", "MA CAKRA NA"},
      {"putra", "PA SUKU TA CAKRA"},
      {"istri", "HA WULU SA PANGKON TA CAKRA WULU"},
      {"ambrol", "HA MA PANGKON BA CAKRA TALING TARUNG LA PANGKON"},
      {"mbrebès", "MA PANGKON BA KERET BA TALING SA PANGKON"},
      {"asrep", "HA SA KERET PA PANGKON"},
      {"satya", "SA TA PENGKAL"},
      {"kyè", "KA PENGKAL TALING"},
      {"swara", "SA PANGKON WA RA"},
      {"klambi", "KA PANGKON LA MA PANGKON BA WULU"},
      // After a vowel, ng/r/h close the syllable rather than join r or y.
      {"arya", "HA LAYAR YA"},
      {"mangrasa", "MA CECAK RA SA"},
      {"sahya", "SA WIGNYAN YA"},
      // Word-initial r + y is a cluster.
      {"rya", "RA PENGKAL"},
  };
  RunTable(kCases, std::size(kCases), true);
}

// Digraphs are read greedily; "ngg" is nga + ga; "nh" is no digraph.
TEST(Hanacaraka, Digraphs) {
  static const Case kCases[] = {
      {"nyanyi", "NYA NYA WULU"},
      {"dhudhuk", "DHA SUKU DHA SUKU KA PANGKON"},
      {"thithik", "THA WULU THA WULU KA PANGKON"},
      {"ngangkat", "NGA CECAK KA TA PANGKON"},
      {"tanha", "TA NA PANGKON HA"},
      {"adhi", "HA DHA WULU"},
  };
  RunTable(kCases, std::size(kCases), true);
}

// The school rules of our script reference: pa cerek and nga lelet for rê and lê (with the
// pasangan and keret where those cannot stand), the glide after i and u, and digits.
TEST(Hanacaraka, SchoolSpelling) {
  static const Case kReference[] = {
      {"rembulan", "ꦉꦩ꧀ꦧꦸꦭꦤ꧀"}, {"lemah", "ꦊꦩꦃ"},       {"sarem", "ꦱꦉꦩ꧀"}, {"gelem", "ꦒꦼꦊꦩ꧀"},
      {"kreteg", "ꦏꦽꦠꦼꦒ꧀"},     {"setasiun", "ꦱꦼꦠꦱꦶꦪꦸꦤ꧀"}, {"buah", "ꦧꦸꦮꦃ"},
  };
  RunTable(kReference, std::size(kReference), false);
  static const Case kCases[] = {
      {"rembug", "PA_CEREK MA PANGKON BA SUKU GA PANGKON"},
      {"lemes", "NGA_LELET MA PEPET SA PANGKON"},
      {"reged", "PA_CEREK GA PEPET DA PANGKON"},
      {"marem", "MA PA_CEREK MA PANGKON"},
      // After a closing sign (cecak, layar, wignyan) the syllable stands as it is.
      {"pangreksa", "PA CECAK PA_CEREK KA PANGKON SA"},
      // After a pangkon: la + pepet as pasangan; r after a consonant is cakra, so keret.
      {"mlebu", "MA PANGKON LA PEPET BA SUKU"},
      {"ambles", "HA MA PANGKON BA PANGKON LA PEPET SA PANGKON"},
      {"ngrembug", "NGA KERET MA PANGKON BA SUKU GA PANGKON"},
      // r and l with other vowels are plain letters: "kelabang" has la, not lê.
      {"lara", "LA RA"},
      {"kelabang", "KA PEPET LA BA CECAK"},
      // Glides: ya after i, wa after u, before every vowel; ha after the other vowels.
      {"piul", "PA WULU YA SUKU LA PANGKON"},
      {"priyé", "PA CAKRA WULU YA TALING"},
      {"dian", "DA WULU YA NA PANGKON"},
      {"ruang", "RA SUKU WA CECAK"},
      {"kaos", "KA HA TALING TARUNG SA PANGKON"},
      // Each half of a compound starts its own word: no glide across the hyphen.
      {"kuru-aking", "KA SUKU RA SUKU HA KA WULU CECAK"},
      // Numbers stand between pada pangkat marks.
      {"1", "PADA_PANGKAT DIGIT_ONE PADA_PANGKAT"},
      {"tanggal 17", "TA CECAK GA LA PANGKON _ PADA_PANGKAT DIGIT_ONE DIGIT_SEVEN PADA_PANGKAT"},
      {"2019 0",
       "PADA_PANGKAT DIGIT_TWO DIGIT_ZERO DIGIT_ONE DIGIT_NINE PADA_PANGKAT _ "
       "PADA_PANGKAT DIGIT_ZERO PADA_PANGKAT"},
  };
  RunTable(kCases, std::size(kCases), true);
}

// Words and hyphens.
TEST(Hanacaraka, WordsAndReduplication) {
  static const Case kCases[] = {
      {"sega liwet", "SA PEPET GA _ LA WULU WA PEPET TA PANGKON"},
      {"iwak  pitik", "HA WULU WA KA PANGKON _ _ PA WULU TA WULU KA PANGKON"},
      {"mlaku-mlaku", "MA PANGKON LA KA SUKU PANGRANGKEP"},
      {"anak-anak", "HA NA KA PANGKON PANGRANGKEP"},
      {"bolak-balik", "BA TALING TARUNG LA KA PANGKON BA LA WULU KA PANGKON"},
      {"undang-undang", "HA SUKU NA PANGKON DA CECAK PANGRANGKEP"},
      // Three equal parts are no two-part reduplication: written out.
      {"a-a-a", "HA HA HA"},
  };
  RunTable(kCases, std::size(kCases), true);
}

// A sample of the word list's own headwords (ã, compounds, reduplication, clusters), each
// spelled out by hand from the rules.
TEST(Hanacaraka, DictionaryHeadwords) {
  static const Case kCases[] = {
      {"kulãnuwun", "KA SUKU LA NA SUKU WA SUKU NA PANGKON"},
      {"ãbdi dãlem", "HA BA PANGKON DA WULU _ DA NGA_LELET MA PANGKON"},
      {"srengéngé", "SA KERET NGA TALING NGA TALING"},
      {"prãjurit", "PA CAKRA JA SUKU RA WULU TA PANGKON"},
      {"tlãpukãn", "TA PANGKON LA PA SUKU KA NA PANGKON"},
      {"wédãng jãhé", "WA TALING DA CECAK _ JA HA TALING"},
      {"pãngãrep-ãrep", "PA NGA PA_CEREK PA PANGKON HA PA_CEREK PA PANGKON"},
      {"nyuwun pirsa", "NYA SUKU WA SUKU NA PANGKON _ PA WULU LAYAR SA"},
      {"mbokmenawa", "MA PANGKON BA TALING TARUNG KA PANGKON MA PEPET NA WA"},
      {"jãbãng bãyi", "JA BA CECAK _ BA YA WULU"},
      {"ngrãmpungãké", "NGA CAKRA MA PANGKON PA SUKU NGA KA TALING"},
      {"dhuwung", "DHA SUKU WA SUKU CECAK"},
      {"sãèstu", "SA HA TALING SA PANGKON TA SUKU"},
      {"ngãpunten", "NGA PA SUKU NA PANGKON TA PEPET NA PANGKON"},
      {"èstri", "HA TALING SA PANGKON TA CAKRA WULU"},
      {"pãndhita", "PA NA PANGKON DHA WULU TA"},
      {"ãli-ãli", "HA LA WULU PANGRANGKEP"},
      {"gãdho-gãdho", "GA DHA TALING TARUNG PANGRANGKEP"},
  };
  RunTable(kCases, std::size(kCases), true);
}

// Case folding, decomposed accents, characters that are not letters, and broken UTF-8.
TEST(Hanacaraka, InputHandling) {
  EXPECT_EQ(ToHanacaraka("MÃNGÃN"), ToHanacaraka("mãngãn"));
  EXPECT_EQ(ToHanacaraka("LÉLÉ"), ToHanacaraka("lélé"));
  EXPECT_EQ(ToHanacaraka("GORÈNG"), ToHanacaraka("gorèng"));
  EXPECT_EQ(ToHanacaraka("le\xCC\x81le\xCC\x81"), ToHanacaraka("lélé"));  // e + U+0301
  EXPECT_EQ(ToHanacaraka("gore\xCC\x80ng"), ToHanacaraka("gorèng"));      // e + U+0300
  EXPECT_EQ(ToHanacaraka("ma\xCC\x83nga\xCC\x83n"), ToHanacaraka("mãngãn"));
  EXPECT_EQ(ToHanacaraka(""), "");
  EXPECT_EQ(ToHanacaraka(", ?"), ", ?");
  // A hyphen not between letters is kept; a non-letter ends a word.
  EXPECT_EQ(ToHanacaraka("-a-"), "-" + Spell("HA") + "-");
  EXPECT_EQ(ToHanacaraka("ab1ab"),
            Spell("HA BA PANGKON PADA_PANGKAT DIGIT_ONE PADA_PANGKAT HA BA PANGKON"));
  // A combining mark that does not make one of our letters is kept as it is.
  EXPECT_EQ(ToHanacaraka("i\xCC\x81"), Spell("HA WULU") + "\xCC\x81");
  // Each malformed byte becomes U+FFFD; what follows is still read.
  const std::string fffd = "\xEF\xBF\xBD";
  static const struct {
    std::string in, want;
  } kBroken[] = {
      {"\xFF"
       "a",
       fffd + Spell("HA")},
      {"a\xC3", Spell("HA") + fffd},                    // truncated
      {"\xC0\xAF", fffd + fffd},                        // overlong '/'
      {"\xED\xA0\x80", fffd + fffd + fffd},             // surrogate
      {"\xF4\x90\x80\x80", fffd + fffd + fffd + fffd},  // beyond U+10FFFF
      {"\xE0\xA4", fffd + fffd},
  };
  for (std::size_t i = 0; i < std::size(kBroken); ++i) {
    EXPECT_EQ(ToHanacaraka(kBroken[i].in), kBroken[i].want) << "case " << i;
  }
  // Characters outside the BMP pass through intact.
  EXPECT_EQ(ToHanacaraka("\xF0\x9F\x98\x80"), "\xF0\x9F\x98\x80");
}

}  // namespace
}  // namespace sapala::script
