// The benchmark dictionary: the benchmark workbook's sheets (50,000 records each; a sheet of
// the format holds at most 65,536 rows) joined into one sheet "warna" and loaded exactly as
// the program loads a workbook's sheet, with its headword and trigram indexes. Shared by the
// native data benchmark and the Windows keystroke benchmark.
#pragma once

#include <memory>
#include <string>

#include "core/data/database.h"
#include "core/data/file.h"
#include "core/data/workbook.h"

namespace sapala::bench {

inline std::unique_ptr<data::Database> LoadBenchBook(const std::string& path) {
  data::Workbook book = data::ReadWorkbook(data::ReadWholeFile(path, data::kMaxWorkbookBytes));
  data::Sheet all;
  all.name = "warna";
  std::uint32_t offset = 0;
  for (const data::Sheet& s : book.sheets) {
    if (s.cells.empty()) continue;
    for (const data::Cell& c : s.cells) {
      if (offset > 0 && c.row == s.cells.front().row) continue;  // later sheets' header rows
      all.cells.push_back(data::Cell{c.row + offset, c.col, c.text});
    }
    offset += s.cells.back().row + 1;
  }
  auto db = std::make_unique<data::Database>();
  db->AddSheet(book, all);
  db->MakeReadOnly();
  return db;
}

}  // namespace sapala::bench
