// The in-memory SQL database that a workbook becomes: each worksheet is a table whose first
// row names the columns and whose other rows are the records, every value text (or NULL for
// an empty cell). Column names and comparisons ignore case, as the spreadsheet driver's do:
// every column is TEXT COLLATE NOCASE, and the first column of each table (the headword in a
// dictionary) carries a NOCASE index, so that "like 'abc%'" searches through the index.
//
// Beside each table, when the engine has FTS5, a trigram index of the first column (an
// external-content FTS5 table "<sheet>:trigrams"; no sheet name of a real workbook holds a
// colon). The search for headwords containing a text ("like '%...%'", which no b-tree index
// can serve) looks candidates up there and then applies the LIKE itself to the table's rows,
// so it gives exactly the rows of the plain scan, in the same (rowid) order. Without FTS5 the
// database has no such index and every search scans.
//
// Once loaded the database is made read-only (PRAGMA query_only, and an authorizer that lets
// statements only read: no change, pragma or attach). The workbook file itself is only ever
// read.
#pragma once

#include <string>
#include <string_view>
#include <vector>

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

  // Whether `table` has a trigram index of its first column.
  bool HasTrigramIndex(std::string_view table) const;

  // For one of the word search's SQL texts whose pattern begins with a wildcard and holds
  // three characters in a row without one, SQL that answers through the trigram index with
  // the same rows in the same order; "" for every other text (it runs as it stands).
  std::string TrigramSearchSql(std::string_view sql) const;

 private:
  struct TrigramIndex {
    std::string table;   // as the sheet names it
    std::string column;  // the table's first column
    std::string index;   // the FTS5 table
  };
  void AddTrigramIndex(const std::string& table, const std::string& column);

  SqliteDb db_;
  std::vector<TrigramIndex> trigram_indexes_;
};

// Column names for a sheet's header row: the header texts, "F1", "F2", ... for empty ones
// (numbered by position), and a suffix "_2", "_3", ... for names already taken.
std::vector<std::string> ColumnNames(const std::vector<std::string>& header);

// `name` as an SQL identifier in double quotes.
std::string QuoteIdentifier(std::string_view name);

}  // namespace sapala::data
