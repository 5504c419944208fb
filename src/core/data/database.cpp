// Workbook-to-SQLite loading; see database.h.
#include "core/data/database.h"

#include <algorithm>

#include "core/data/error.h"

namespace sapala::data {
namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return out;
}

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
  const int rc = sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                 nullptr);
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
    header[it->col - min_col] = book.Text(*it);
  }
  const std::vector<std::string> names = ColumnNames(header);

  sqlite3_stmt* probe = nullptr;
  const std::string table = QuoteIdentifier(sheet.name);
  const std::string exists = "select 1 from sqlite_schema where type='table' and name=?1 "
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
        const std::string& text = book.Text(*it);
        sqlite3_bind_text(raw, static_cast<int>(it->col - min_col + 1), text.data(),
                          static_cast<int>(text.size()), SQLITE_STATIC);
      }
      if (sqlite3_step(raw) != SQLITE_DONE) {
        throw DataError(std::string("The database engine failed: ") + sqlite3_errmsg(db_.get()));
      }
      sqlite3_reset(raw);
    }
    statement.reset();
    // The index that makes prefix searches on the first column fast.
    Exec("create index " + QuoteIdentifier("index of " + sheet.name) + " on " + table + " (" +
         QuoteIdentifier(names[0]) + " collate nocase)");
    Exec("commit");
  } catch (...) {
    sqlite3_exec(db_.get(), "rollback", nullptr, nullptr, nullptr);
    throw;
  }
}

void Database::Load(const Workbook& book) {
  for (const Sheet& sheet : book.sheets) AddSheet(book, sheet);
  MakeReadOnly();
}

namespace {

// Once loaded, statements may only read: no pragma, attach, or change of any kind.
int ReadOnlyAuthorizer(void*, int action, const char*, const char*, const char*, const char*) {
  switch (action) {
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
