// Connection string parsing; see connection_string.h.
#include "core/data/connection_string.h"

#include "core/data/error.h"

namespace sapala::data {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool SameKey(std::string_view a, std::string_view b) {
  a = Trim(a);
  b = Trim(b);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> ConnectionString::Get(std::string_view key) const {
  for (const auto& [k, v] : pairs) {
    if (SameKey(k, key)) return v;
  }
  return std::nullopt;
}

ConnectionString ParseConnectionString(std::string_view text) {
  ConnectionString out;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t eq = text.find('=', i);
    const std::size_t semi = text.find(';', i);
    if (eq == std::string_view::npos || (semi != std::string_view::npos && semi < eq)) {
      // A piece without "=": blanks between separators are allowed, anything else is not.
      const std::size_t end = semi == std::string_view::npos ? text.size() : semi;
      if (!Trim(text.substr(i, end - i)).empty()) {
        throw DataError("The connection string is not valid: \"" +
                        std::string(Trim(text.substr(i, end - i))) + "\" has no value.");
      }
      i = end + 1;
      continue;
    }
    std::string key(Trim(text.substr(i, eq - i)));
    std::size_t j = eq + 1;
    while (j < text.size() && (text[j] == ' ' || text[j] == '\t')) ++j;
    std::string value;
    if (j < text.size() && (text[j] == '"' || text[j] == '\'')) {
      const char quote = text[j++];
      for (;;) {
        if (j >= text.size()) {
          throw DataError("The connection string is not valid: the value of \"" + key +
                          "\" has no closing quote.");
        }
        if (text[j] == quote) {
          if (j + 1 < text.size() && text[j + 1] == quote) {
            value.push_back(quote);
            j += 2;
            continue;
          }
          ++j;
          break;
        }
        value.push_back(text[j++]);
      }
      while (j < text.size() && text[j] != ';') {
        if (text[j] != ' ' && text[j] != '\t') {
          throw DataError(
              "The connection string is not valid: text after the quoted value "
              "of \"" +
              key + "\".");
        }
        ++j;
      }
    } else {
      const std::size_t end = text.find(';', j);
      value = std::string(
          Trim(text.substr(j, (end == std::string_view::npos ? text.size() : end) - j)));
      j = end == std::string_view::npos ? text.size() : end;
    }
    out.pairs.emplace_back(std::move(key), std::move(value));
    i = j + 1;
  }
  return out;
}

std::string WorkbookPathFromConnectionString(std::string_view text) {
  const ConnectionString cs = ParseConnectionString(text);
  if (auto dbq = cs.Get("DBQ"); dbq && !dbq->empty()) return *dbq;
  if (auto ext = cs.Get("Extended Properties")) {
    const ConnectionString inner = ParseConnectionString(*ext);
    if (auto dbq = inner.Get("DBQ"); dbq && !dbq->empty()) return *dbq;
  }
  throw DataError("The connection string names no workbook (no DBQ entry).");
}

}  // namespace sapala::data
