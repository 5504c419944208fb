// The dictionary workbook from its reviewable source: a UTF-8 TSV whose first line is the
// header "ID<TAB>warna" and whose other lines are headword and meaning. The workbook has one
// sheet "warna" with the columns ID, warna and Hanacaraka, the last made from the headword by
// the Latin-to-Javanese-script transliterator.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/data/workbook_writer.h"

namespace sapala::tools {

// Parses the TSV. Accepts LF or CRLF line ends and a final line without one; skips blank
// lines. Throws std::runtime_error naming the line for a wrong header, a line without
// exactly two fields, an empty headword, text that is not UTF-8 or a control character.
std::vector<std::vector<std::string>> ParseDictionaryTsv(std::string_view text);

// The sheet "warna": header row, then each entry with its Hanacaraka.
data::SheetData DictionarySheet(const std::vector<std::vector<std::string>>& entries);

}  // namespace sapala::tools
