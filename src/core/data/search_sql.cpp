// Search SQL; see search_sql.h.
#include "core/data/search_sql.h"

#include "core/base/utf8.h"

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

std::optional<std::string> SearchPattern(std::string_view sql) {
  std::string_view rest;
  if (sql.starts_with(kPrefixSearchHead)) {
    rest = sql.substr(kPrefixSearchHead.size());
  } else if (sql.starts_with(kSubstringSearchHead)) {
    rest = sql.substr(kSubstringSearchHead.size());
  } else {
    return std::nullopt;
  }
  if (rest.size() < 2 || rest.front() != '\'' || rest.back() != '\'') return std::nullopt;
  std::string pattern;
  for (std::size_t i = 1; i + 1 < rest.size(); ++i) {
    if (rest[i] == '\'') {
      // Inside the literal a quote comes only doubled; a lone one would end it early.
      if (i + 2 >= rest.size() || rest[i + 1] != '\'') return std::nullopt;
      ++i;
    }
    pattern.push_back(rest[i]);
  }
  return pattern;
}

bool HasTrigramRun(std::string_view pattern) {
  int run = 0;
  bool found = false;
  for (std::size_t pos = 0; pos < pattern.size();) {
    const auto cp = DecodeUtf8(pattern, pos);
    if (!cp) return false;
    run = (*cp == U'%' || *cp == U'_') ? 0 : run + 1;
    if (run >= 3) found = true;
  }
  return found;
}

}  // namespace sapala::data
