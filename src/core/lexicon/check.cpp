// Word-list validation; the rules are listed in check.h.
#include "core/lexicon/check.h"

#include "core/base/utf8.h"
#include "core/lexicon/rules.h"

#include <cstdint>
#include <string>
#include <utility>

namespace sapala::lexicon {
namespace {

constexpr char32_t kBad = 0xFFFFFFFF;

// Strict UTF-8 decoding of one code point at `pos`; kBad (consuming one byte) if malformed.
char32_t Decode(std::string_view s, std::size_t& pos) { return DecodeUtf8(s, pos).value_or(kBad); }

bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

bool IsCombiningOrNfcChanged(char32_t c) {
  if ((c >= 0x300 && c <= 0x36F) || (c >= 0x1AB0 && c <= 0x1AFF) || (c >= 0x1DC0 && c <= 0x1DFF) ||
      (c >= 0x20D0 && c <= 0x20FF) || (c >= 0xFE20 && c <= 0xFE2F)) {
    return true;
  }
  switch (c) {
    case 0x340:
    case 0x341:
    case 0x343:
    case 0x344:
    case 0x374:
    case 0x37E:
    case 0x387:
    case 0x2126:
    case 0x212A:
    case 0x212B:
      return true;
    default:
      return false;
  }
}

bool IsHeadwordLetter(char32_t c) {
  return (c >= 'a' && c <= 'z') || c == 0xE3 || c == 0xE8 || c == 0xE9;
}

// Collation weight of one headword character: primary (base letter), secondary (accent rank).
struct Weight {
  char32_t primary;
  int secondary;
};

Weight WeightOf(char32_t c) {
  switch (c) {
    case 0xE3:
      return {'a', 1};
    case 0xE8:
      return {'e', 1};
    case 0xE9:
      return {'e', 2};
    default:
      return {c, 0};
  }
}

std::vector<char32_t> CodePoints(std::string_view s) {
  std::vector<char32_t> out;
  std::size_t pos = 0;
  while (pos < s.size()) out.push_back(Decode(s, pos));
  return out;
}

std::string Hex(char32_t c) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string h = "U+";
  for (int shift = 12; shift >= 0; shift -= 4) h += kDigits[(c >> shift) & 0xF];
  return h;
}

std::string Quote(std::string_view s) {
  constexpr std::size_t kMax = 60;
  std::string q = "\"";
  q.append(s.substr(0, kMax));
  if (s.size() > kMax) q += "...";
  q += '"';
  return q;
}

}  // namespace

int CompareHeadwords(std::string_view a, std::string_view b) {
  const std::vector<char32_t> ca = CodePoints(a);
  const std::vector<char32_t> cb = CodePoints(b);
  const std::size_t n = ca.size() < cb.size() ? ca.size() : cb.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char32_t pa = WeightOf(ca[i]).primary;
    const char32_t pb = WeightOf(cb[i]).primary;
    if (pa != pb) return pa < pb ? -1 : 1;
  }
  if (ca.size() != cb.size()) return ca.size() < cb.size() ? -1 : 1;
  for (std::size_t i = 0; i < n; ++i) {
    const int sa = WeightOf(ca[i]).secondary;
    const int sb = WeightOf(cb[i]).secondary;
    if (sa != sb) return sa < sb ? -1 : 1;
  }
  return 0;
}

bool IsAllowedHeadword(std::string_view headword) {
  std::size_t pos = 0;
  bool after_letter = false;
  while (pos < headword.size()) {
    const char32_t c = Decode(headword, pos);
    if (IsHeadwordLetter(c)) {
      after_letter = true;
    } else if ((c == '-' || c == ' ') && after_letter) {
      after_letter = false;
    } else {
      return false;
    }
  }
  return after_letter;
}

CheckResult CheckTsv(std::string_view file) {
  CheckResult result;
  auto issue = [&](std::size_t line, std::string message) {
    result.issues.push_back({line, std::move(message)});
  };
  if (file.empty()) {
    issue(0, "empty file: want the header \"ID\\twarna\"");
    return result;
  }
  if (file.substr(0, 3) == "\xEF\xBB\xBF") issue(1, "byte-order mark at the start of the file");
  if (file.back() != '\n') issue(0, "the last line does not end in LF");

  std::size_t line_no = 0;
  std::size_t start = 0;
  std::size_t previous = 0;  // index into result.entries of the last well-formed row, plus one
  std::size_t previous_line = 0;
  while (start < file.size()) {
    ++line_no;
    std::size_t end = file.find('\n', start);
    if (end == std::string_view::npos) end = file.size();
    const std::string_view line = file.substr(start, end - start);
    start = end + 1;

    // Characters of the whole line: UTF-8, controls, NFC.
    bool line_ok = true;
    bool utf8_ok = true;
    std::size_t tabs = 0;
    for (std::size_t pos = 0; pos < line.size();) {
      const std::size_t at = pos;
      const char32_t c = Decode(line, pos);
      if (c == kBad) {
        issue(line_no, "invalid UTF-8 at byte " + std::to_string(at + 1) + " of the line");
        utf8_ok = false;
        break;
      }
      if (c == '\t') {
        ++tabs;
      } else if (IsControl(c)) {
        issue(line_no, "control character " + Hex(c) + " in the line");
        line_ok = false;
      } else if (IsCombiningOrNfcChanged(c)) {
        issue(line_no, "combining mark or character changed by NFC: not normalised text");
        line_ok = false;
      }
    }
    if (!utf8_ok) continue;
    if (tabs != 1) {
      issue(line_no,
            "want two fields separated by one TAB, have " + std::to_string(tabs) + " TABs");
      continue;
    }
    const std::size_t tab = line.find('\t');
    const std::string_view headword = line.substr(0, tab);
    const std::string_view meaning = line.substr(tab + 1);
    if (line_no == 1) {
      if (headword != "ID" || meaning != "warna") {
        issue(1, "want the header \"ID\\twarna\", have " + Quote(line));
      }
      continue;
    }
    result.entries.push_back({std::string(headword), std::string(meaning), line_no});
    if (!line_ok) continue;

    if (headword.empty()) {
      issue(line_no, "empty headword");
    } else if (!IsAllowedHeadword(headword)) {
      issue(line_no, "headword " + Quote(headword) +
                         " has characters other than a-z, ã, é, è and single inner hyphens "
                         "or blanks");
    }
    if (meaning.empty()) {
      issue(line_no, "empty meaning for " + Quote(headword));
    } else if (meaning.front() == ' ' || meaning.back() == ' ') {
      issue(line_no, "meaning of " + Quote(headword) + " begins or ends with a blank");
    }
    const Entry& current = result.entries.back();
    if (previous != 0) {
      const std::string& before = result.entries[previous - 1].headword;
      const int order = CompareHeadwords(before, current.headword);
      if (order == 0) {
        issue(line_no, "duplicate headword " + Quote(headword) + " (first on line " +
                           std::to_string(previous_line) + ")");
      } else if (order > 0) {
        issue(line_no, "headword " + Quote(headword) + " is out of order: it sorts before " +
                           Quote(before) + " on line " + std::to_string(previous_line));
      }
    }
    // An index, not a pointer: the vector reallocates as it grows.
    previous = result.entries.size();
    previous_line = line_no;
  }
  if (line_no == 0) issue(0, "no header line");
  // The rules over all rows, on the rows whose headword is well formed.
  std::vector<Entry> readable;
  for (const Entry& e : result.entries) {
    if (IsAllowedHeadword(e.headword)) readable.push_back(e);
  }
  for (auto&& more : {CheckSpelling(readable), CheckRegisters(readable)}) {
    result.issues.insert(result.issues.end(), more.begin(), more.end());
  }
  return result;
}

}  // namespace sapala::lexicon
