// Owners of SQLite handles. The release calls live here and nowhere else.
#pragma once

#include <sqlite3.h>

#include <memory>

namespace sapala::data {

struct SqliteCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct SqliteFinalizer {
  void operator()(sqlite3_stmt* st) const { sqlite3_finalize(st); }
};

using SqliteDb = std::unique_ptr<sqlite3, SqliteCloser>;
using SqliteStatement = std::unique_ptr<sqlite3_stmt, SqliteFinalizer>;

}  // namespace sapala::data
