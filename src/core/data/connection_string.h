// Connection strings of the ADO kind: "key=value" pairs joined by ";". A value may be
// enclosed in double (or single) quotes, doubling the quote to write one inside, so that it
// can hold ";" itself: "Extended Properties" carries a whole ODBC connection string that way.
// Keys are compared without regard to ASCII case and surrounding blanks.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sapala::data {

struct ConnectionString {
  std::vector<std::pair<std::string, std::string>> pairs;  // in order, quotes removed

  // The value of the first pair whose key is `key`.
  std::optional<std::string> Get(std::string_view key) const;
};

// Throws DataError for an unterminated quote or a pair without "=".
ConnectionString ParseConnectionString(std::string_view text);

// The workbook that `text` names: "DBQ" at the top level or inside "Extended Properties".
// Throws DataError when there is none.
std::string WorkbookPathFromConnectionString(std::string_view text);

}  // namespace sapala::data
