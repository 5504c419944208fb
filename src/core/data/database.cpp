// Workbook-to-SQLite loading; see database.h.
#include "core/data/database.h"

#include <algorithm>

#include "core/data/error.h"
#include "core/data/search_sql.h"

namespace sapala::data {
namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return out;
}

bool SameName(std::string_view a, std::string_view b) { return Lower(a) == Lower(b); }

}  // namespace

std::string QuoteIdentifier(std::string_view name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

std::vector<std::string> ColumnNames(const std::vector<std::string>& header) {
  std::vector<std::string> names;
  std::vector<std::string> taken;  // lower-case, as SQLite compares identifiers
  names.reserve(header.size());
  for (std::size_t i = 0; i < header.size(); ++i) {
    std::string base = header[i];
    // A NUL cannot be part of an SQL identifier.
    base.erase(std::remove(base.begin(), base.end(), '\0'), base.end());
    if (base.find_first_not_of(" \t") == std::string::npos) base = "F" + std::to_string(i + 1);
    std::string name = base;
    for (int n = 2; std::find(taken.begin(), taken.end(), Lower(name)) != taken.end(); ++n) {
      name = base + "_" + std::to_string(n);
    }
    taken.push_back(Lower(name));
    names.push_back(std::move(name));
  }
  return names;
}

Database::Database() {
  sqlite3* raw = nullptr;
  const int rc =
      sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  db_.reset(raw);
  if (rc != SQLITE_OK) {
    throw DataError(std::string("The database engine cannot start: ") +
                    (raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc)) + ".");
  }
}

void Database::Exec(std::string_view sql) {
  char* message = nullptr;
  const std::string text(sql);
  if (sqlite3_exec(db_.get(), text.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    std::string why = message ? message : sqlite3_errmsg(db_.get());
    sqlite3_free(message);
    throw DataError("The database engine failed: " + why + ".");
  }
}

void Database::AddSheet(const Workbook& book, const Sheet& sheet) {
  if (sheet.cells.empty()) return;
  // Columns span the used range; the first row with cells is the header.
  std::uint32_t min_col = kMaxColumns, max_col = 0;
  for (const Cell& c : sheet.cells) {
    min_col = std::min(min_col, c.col);
    max_col = std::max(max_col, c.col);
  }
  const std::size_t width = max_col - min_col + 1;
  const std::uint32_t header_row = sheet.cells.front().row;
  std::vector<std::string> header(width);
  auto it = sheet.cells.begin();
  for (; it != sheet.cells.end() && it->row == header_row; ++it) {
    header[it->col - min_col] = std::string(book.Text(*it));
  }
  const std::vector<std::string> names = ColumnNames(header);

  sqlite3_stmt* probe = nullptr;
  const std::string table = QuoteIdentifier(sheet.name);
  const std::string exists =
      "select 1 from sqlite_schema where type='table' and name=?1 "
      "collate nocase";
  if (sqlite3_prepare_v2(db_.get(), exists.c_str(), -1, &probe, nullptr) != SQLITE_OK) {
    throw DataError(std::string("The database engine failed: ") + sqlite3_errmsg(db_.get()));
  }
  SqliteStatement probe_owner(probe);
  sqlite3_bind_text(probe, 1, sheet.name.data(), static_cast<int>(sheet.name.size()),
                    SQLITE_TRANSIENT);
  if (sqlite3_step(probe) == SQLITE_ROW) {
    throw DataError("The workbook has two sheets named \"" + sheet.name + "\".");
  }

  std::string create = "create table " + table + " (";
  std::string insert = "insert into " + table + " values (";
  for (std::size_t i = 0; i < width; ++i) {
    if (i) {
      create += ", ";
      insert += ", ";
    }
    create += QuoteIdentifier(names[i]) + " text collate nocase";
    insert += "?" + std::to_string(i + 1);
  }
  create += ")";
  insert += ")";

  Exec("begin");
  try {
    Exec(create);
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_.get(), insert.c_str(), static_cast<int>(insert.size()), &raw,
                           nullptr) != SQLITE_OK) {
      throw DataError(std::string("The database engine failed: ") + sqlite3_errmsg(db_.get()));
    }
    SqliteStatement statement(raw);
    while (it != sheet.cells.end()) {
      const std::uint32_t row = it->row;
      sqlite3_clear_bindings(raw);  // empty cells are NULL
      for (; it != sheet.cells.end() && it->row == row; ++it) {
        const std::string_view text = book.Text(*it);
        sqlite3_bind_text(raw, static_cast<int>(it->col - min_col + 1), text.data(),
                          static_cast<int>(text.size()), SQLITE_STATIC);
      }
      if (sqlite3_step(raw) != SQLITE_DONE) {
        throw DataError(std::string("The database engine failed: ") + sqlite3_errmsg(db_.get()));
      }
      sqlite3_reset(raw);
    }
    statement.reset();
    AddTrigramIndex(sheet.name, names[0]);
    // The index that makes prefix searches on the first column fast.
    Exec("create index " + QuoteIdentifier("index of " + sheet.name) + " on " + table + " (" +
         QuoteIdentifier(names[0]) + " collate nocase)");
    Exec("commit");
  } catch (...) {
    sqlite3_exec(db_.get(), "rollback", nullptr, nullptr, nullptr);
    throw;
  }
}

void Database::AddTrigramIndex(const std::string& table, const std::string& column) {
  // A column that the rowid's names would shadow cannot be matched up by rowid.
  for (const char* shadowed : {"rowid", "_rowid_", "oid"}) {
    if (SameName(column, shadowed)) return;
  }
  const std::string index = table + ":trigrams";
  // detail=none and no column sizes: the index only has to name candidate rows. Creating it
  // fails when the engine lacks FTS5 (or the column name is one FTS5 reserves): then there
  // is no index and searches scan, which gives the same rows.
  const std::string create = "create virtual table " + QuoteIdentifier(index) + " using fts5(" +
                             QuoteIdentifier(column) + ", content=" + QuotedStr(table) +
                             ", content_rowid='rowid', tokenize='trigram', detail=none, "
                             "columnsize=0)";
  if (sqlite3_exec(db_.get(), create.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) return;
  // Rows go in by rowid: FTS5 builds several times faster from ascending rowids than from
  // the order of some other index.
  Exec("insert into " + QuoteIdentifier(index) + " (rowid, " + QuoteIdentifier(column) +
       ") select rowid, " + QuoteIdentifier(column) + " from " + QuoteIdentifier(table) +
       " order by rowid");
  trigram_indexes_.push_back({table, column, index});
}

bool Database::HasTrigramIndex(std::string_view table) const {
  for (const TrigramIndex& t : trigram_indexes_) {
    if (SameName(t.table, table)) return true;
  }
  return false;
}

std::string Database::TrigramSearchSql(std::string_view sql) const {
  const std::optional<std::string> pattern = SearchPattern(sql);
  if (!pattern || !pattern->starts_with('%') || !HasTrigramRun(*pattern)) return {};
  for (const TrigramIndex& t : trigram_indexes_) {
    if (!SameName(t.table, "warna") || !SameName(t.column, "ID")) continue;
    // The index only proposes rows; the LIKE on the table decides (FTS5 folds case beyond
    // ASCII, SQLite's LIKE does not). "rowid in (...)" visits the rows in rowid order, the
    // order of the plain scan.
    const std::string like = QuoteIdentifier(t.column) + " like " + QuotedStr(*pattern);
    return "select * from " + QuoteIdentifier(t.table) + " where rowid in (select rowid from " +
           QuoteIdentifier(t.index) + " where " + like + ") and " + like;
  }
  return {};
}

void Database::Load(const Workbook& book) {
  for (const Sheet& sheet : book.sheets) AddSheet(book, sheet);
  MakeReadOnly();
}

namespace {

// Once loaded, statements may only read: no pragma, attach, or change of any kind.
int ReadOnlyAuthorizer(void*, int action, const char* arg1, const char* arg2, const char*,
                       const char*) {
  switch (action) {
    case SQLITE_PRAGMA:
      // The trigram index asks whether the database changed before it reads its pages.
      return arg1 && std::string_view(arg1) == "data_version" && !arg2 ? SQLITE_OK : SQLITE_DENY;
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_FUNCTION:
    case SQLITE_RECURSIVE:
      return SQLITE_OK;
    default:
      return SQLITE_DENY;
  }
}

}  // namespace

void Database::MakeReadOnly() {
  Exec("pragma query_only = 1");
  sqlite3_set_authorizer(db_.get(), ReadOnlyAuthorizer, nullptr);
}

}  // namespace sapala::data
