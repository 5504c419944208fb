// TSV to dictionary workbook; see dictbuild.h.
#include "dictbuild/dictbuild.h"

#include <stdexcept>

#include "core/script/hanacaraka.h"

namespace sapala::tools {
namespace {

bool ValidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (n == 0 || (n == 2 && b < 0xC2) || i + n > s.size()) return false;
    char32_t cp = n == 1 ? b : b & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
      const auto c = static_cast<unsigned char>(s[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
      return false;
    }
    i += n;
  }
  return true;
}

}  // namespace

std::vector<std::vector<std::string>> ParseDictionaryTsv(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a byte-order mark
  std::vector<std::vector<std::string>> entries;
  std::size_t line_no = 0;
  bool header_seen = false;
  while (!text.empty()) {
    const std::size_t nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
    ++line_no;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    auto fail = [line_no](const std::string& why) {
      throw std::runtime_error("line " + std::to_string(line_no) + ": " + why);
    };
    if (!ValidUtf8(line)) fail("not UTF-8");
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos || line.find('\t', tab + 1) != std::string_view::npos) {
      fail("want two fields separated by one tab");
    }
    for (char c : line) {
      if (static_cast<unsigned char>(c) < 0x20 && c != '\t') fail("control character");
    }
    std::string headword(line.substr(0, tab));
    std::string meaning(line.substr(tab + 1));
    if (!header_seen) {
      if (headword != "ID" || meaning != "warna") fail("the header must be \"ID<TAB>warna\"");
      header_seen = true;
      continue;
    }
    if (headword.empty()) fail("empty headword");
    entries.push_back({std::move(headword), std::move(meaning)});
  }
  if (!header_seen) throw std::runtime_error("no header line \"ID<TAB>warna\"");
  return entries;
}

data::SheetData DictionarySheet(const std::vector<std::vector<std::string>>& entries) {
  data::SheetData sheet;
  sheet.name = "warna";
  sheet.rows.push_back({"ID", "warna", "Hanacaraka"});
  for (const auto& e : entries) {
    sheet.rows.push_back({e.at(0), e.at(1), script::ToHanacaraka(e.at(0))});
  }
  return sheet;
}

}  // namespace sapala::tools
