// Fuzz target for the workbook reader: any bytes either read as a workbook or fail with
// DataError; a workbook that reads is loaded into the database and queried, as the program
// does with the dictionary.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/data/database.h"
#include "core/data/error.h"
#include "core/data/workbook.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const sapala::data::Workbook book = sapala::data::ReadWorkbook(std::span(data, size));
    sapala::data::Database db;
    db.Load(book);
    for (const auto& sheet : book.sheets) {
      sqlite3_stmt* raw = nullptr;
      const std::string sql =
          "select * from " + sapala::data::QuoteIdentifier(sheet.name) + " where 1 like 'a%'";
      if (sqlite3_prepare_v2(db.handle(), sql.c_str(), -1, &raw, nullptr) == SQLITE_OK) {
        sapala::data::SqliteStatement st(raw);
        while (sqlite3_step(raw) == SQLITE_ROW) {
        }
      }
    }
  } catch (const sapala::data::DataError&) {
  }
  return 0;
}
