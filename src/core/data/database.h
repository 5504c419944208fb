// The in-memory SQL database that a workbook becomes: each worksheet is a table whose first
// row names the columns and whose other rows are the records, every value text (or NULL for
// an empty cell). Column names and comparisons ignore case, as the spreadsheet driver's do:
// every column is TEXT COLLATE NOCASE, and the first column of each table (the headword in a
// dictionary) carries a NOCASE index, so that "like 'abc%'" searches through the index.
//
// Once loaded the database is made read-only (PRAGMA query_only, and an authorizer that lets
// statements only read: no change, pragma or attach). The workbook file itself is only ever
// read.
#pragma once

#include <string>
#include <string_view>

#include "core/data/sqlite_handle.h"
#include "core/data/workbook.h"

namespace sapala::data {

class Database {
 public:
  Database();  // an empty in-memory database; throws DataError if SQLite cannot make one

  // Adds `sheet` of `book` as a table named after the sheet. Throws DataError (two sheets of
  // one name, a failure of SQLite). A sheet without cells becomes no table.
  void AddSheet(const Workbook& book, const Sheet& sheet);

  // Adds every worksheet of `book`, then makes the database read-only.
  void Load(const Workbook& book);

  void MakeReadOnly();

  sqlite3* handle() const { return db_.get(); }

  // Runs SQL that returns no rows (used while loading and by tests).
  void Exec(std::string_view sql);

 private:
  SqliteDb db_;
};

// Column names for a sheet's header row: the header texts, "F1", "F2", ... for empty ones
// (numbered by position), and a suffix "_2", "_3", ... for names already taken.
std::vector<std::string> ColumnNames(const std::vector<std::string>& header);

// `name` as an SQL identifier in double quotes.
std::string QuoteIdentifier(std::string_view name);

}  // namespace sapala::data
