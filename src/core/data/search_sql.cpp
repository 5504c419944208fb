// Search SQL; see search_sql.h.
#include "core/data/search_sql.h"

namespace sapala::data {

std::string QuotedStr(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out.push_back('\'');
  for (char c : text) {
    if (c == '\'') out.push_back('\'');
    out.push_back(c);
  }
  out.push_back('\'');
  return out;
}

std::string PrefixSearchSql(std::string_view text) {
  std::string pattern(text);
  pattern += '%';
  return std::string(kPrefixSearchHead) + QuotedStr(pattern);
}

std::string SubstringSearchSql(std::string_view text) {
  std::string pattern = "%";
  pattern += text;
  pattern += '%';
  return std::string(kSubstringSearchHead) + QuotedStr(pattern);
}

}  // namespace sapala::data
