// Validation of the dictionary's word list, assets/dictionary/sapala.tsv: a UTF-8 text file with
// the header line "ID<TAB>warna" and then one line per headword, "<headword><TAB><meaning>", every
// line ending in LF. Used by tools/lexcheck and by whatever builds the workbook from the list.
//
// Rules checked (each broken rule is one Issue with its 1-based line number; line 0 is the file):
//  * the bytes are valid UTF-8 without a byte-order mark, and every line ends in LF;
//  * no control characters (C0 incl. CR, DEL, C1) other than the one TAB between the two fields;
//  * text is in NFC, checked conservatively: combining marks and the few characters that NFC
//    always replaces (U+0340, U+0341, U+0343, U+0344, U+0374, U+037E, U+0387, U+2126, U+212A,
//    U+212B) are refused outright — our text has no use for them;
//  * a headword uses only a-z, ã, é, è, with single hyphens or single blanks between letters;
//  * a meaning is not empty and has no blank at either end;
//  * headwords are sorted by CompareHeadwords and appear once each;
//  * the spelling and register rules of rules.h hold.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sapala::lexicon {

struct Entry {
  std::string headword;
  std::string meaning;
  std::size_t line = 0;  // 1-based line of the file
};

struct Issue {
  std::size_t line = 0;
  std::string message;
  std::string rule = "format";  // "format", or the rule of rules.h: "a", "derived", "i-final",
                                // "register"
};

struct CheckResult {
  std::vector<Entry> entries;  // the rows that could be split into two fields, in file order
  std::vector<Issue> issues;   // empty when the file is valid
};

// Checks the whole file. Never throws on any input (other than std::bad_alloc).
CheckResult CheckTsv(std::string_view file);

// Dictionary order: letters compared with ã as a and é, è as e, then, between spellings that are
// equal that way, the plain letter first (a < ã, e < è < é); blank and hyphen come before every
// letter, so a compound follows its first word. Returns <0, 0 or >0 like strcmp.
int CompareHeadwords(std::string_view a, std::string_view b);

// True if `headword` uses only the letters, hyphens and blanks allowed above.
bool IsAllowedHeadword(std::string_view headword);

}  // namespace sapala::lexicon
