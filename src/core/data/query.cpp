// Connection and query; see query.h.
#include "core/data/query.h"

#include <cstring>

#include "core/data/connection_string.h"
#include "core/data/error.h"
#include "core/data/file.h"

namespace sapala::data {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::string DescribeSqlError(std::string_view engine_message, std::string_view sql) {
  const std::string msg(engine_message);
  if (StartsWith(msg, "no such table: ")) {
    return "The table \"" + msg.substr(15) + "\" is not in the dictionary workbook.";
  }
  if (StartsWith(msg, "no such column: ")) {
    return "The column \"" + msg.substr(16) + "\" is not in the dictionary table.";
  }
  if (msg.find("readonly") != std::string::npos || msg.find("not authorized") != std::string::npos) {
    return "The dictionary is read-only: an SQL command may only read from it.";
  }
  std::string out = "The SQL command cannot be run: " + msg + ".";
  if (!sql.empty()) out += " Command: " + std::string(sql);
  return out;
}

// ---- Connection ----

Connection::~Connection() {
  CloseQueries();
  for (Query* q : queries_) q->connection_ = nullptr;
}

void Connection::CloseQueries() {
  for (Query* q : queries_) q->Close();
}

void Connection::Open(std::string_view connection_string) {
  OpenWorkbook(WorkbookPathFromConnectionString(connection_string));
}

void Connection::OpenWorkbook(const std::string& path) {
  Close();
  const std::vector<std::uint8_t> bytes = ReadWholeFile(path, kMaxWorkbookBytes);
  Workbook book;
  try {
    book = ReadWorkbook(bytes);
  } catch (const DataError& e) {
    throw DataError("\"" + path + "\": " + e.what());
  }
  auto db = std::make_unique<Database>();
  db->Load(book);
  OpenDatabase(std::move(db), path);
}

void Connection::OpenDatabase(std::unique_ptr<Database> db, std::string name) {
  Close();
  db_ = std::move(db);
  path_ = std::move(name);
}

void Connection::Close() {
  CloseQueries();
  db_.reset();
  path_.clear();
}

// ---- Query ----

Query::Query(Connection* connection) { SetConnection(connection); }

Query::~Query() { Detach(); }

void Query::Detach() {
  if (connection_) connection_->queries_.erase(this);
  connection_ = nullptr;
}

void Query::SetConnection(Connection* connection) {
  if (connection == connection_) return;
  Close();
  Detach();
  connection_ = connection;
  if (connection_) connection_->queries_.insert(this);
}

void Query::SetSql(std::string sql) {
  if (!loading_) Close();
  sql_ = std::move(sql);
}

void Query::Close() {
  active_ = false;
  names_.clear();
  rows_.clear();
  current_ = 0;
  bof_ = eof_ = true;
}

void Query::Open() {
  Close();
  if (!connection_ || !connection_->connected()) {
    throw DataError("The query has no open connection to the dictionary.");
  }
  if (sql_.find_first_not_of(" \t\r\n") == std::string::npos) {
    throw DataError("The query has no SQL command.");
  }
  if (std::memchr(sql_.data(), '\0', sql_.size())) {
    throw DataError("The SQL command contains a NUL character.");
  }
  sqlite3* db = connection_->database()->handle();
  sqlite3_stmt* raw = nullptr;
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(db, sql_.data(), static_cast<int>(sql_.size()), &raw, &tail) !=
      SQLITE_OK) {
    throw DataError(DescribeSqlError(sqlite3_errmsg(db), sql_));
  }
  SqliteStatement statement(raw);
  if (!raw) throw DataError("The query has no SQL command.");
  if (tail && std::string_view(tail).find_first_not_of(" \t\r\n;") != std::string_view::npos) {
    throw DataError("The SQL command holds more than one statement.");
  }
  if (!sqlite3_stmt_readonly(raw)) {
    throw DataError("The dictionary is read-only: an SQL command may only read from it.");
  }
  const int columns = sqlite3_column_count(raw);
  if (columns == 0) throw DataError("The SQL command returns no records.");

  std::vector<std::string> names;
  for (int i = 0; i < columns; ++i) {
    const char* name = sqlite3_column_name(raw, i);
    names.emplace_back(name ? name : "");
  }
  std::vector<std::vector<FieldValue>> rows;
  std::size_t bytes = 0;
  for (;;) {
    const int rc = sqlite3_step(raw);
    if (rc == SQLITE_DONE) break;
    if (rc != SQLITE_ROW) throw DataError(DescribeSqlError(sqlite3_errmsg(db), sql_));
    std::vector<FieldValue> row;
    row.reserve(static_cast<std::size_t>(columns));
    for (int i = 0; i < columns; ++i) {
      if (sqlite3_column_type(raw, i) == SQLITE_NULL) {
        row.emplace_back();
        continue;
      }
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(raw, i));
      const std::size_t len = static_cast<std::size_t>(sqlite3_column_bytes(raw, i));
      row.emplace_back(std::string(text ? text : "", text ? len : 0));
      bytes += len + sizeof(FieldValue);
    }
    bytes += sizeof(row);
    if (bytes > kMaxResultBytes) {
      throw DataError("The SQL command returns more records than can be shown.");
    }
    rows.push_back(std::move(row));
  }
  names_ = std::move(names);
  rows_ = std::move(rows);
  active_ = true;
  First();
}

void Query::First() {
  current_ = 0;
  bof_ = true;
  eof_ = rows_.empty();
}

void Query::Last() {
  current_ = rows_.empty() ? 0 : rows_.size() - 1;
  eof_ = true;
  bof_ = rows_.empty();
}

void Query::Next() {
  if (rows_.empty() || current_ + 1 >= rows_.size()) {
    eof_ = true;
    return;
  }
  ++current_;
  bof_ = eof_ = false;
}

void Query::Prior() {
  if (rows_.empty() || current_ == 0) {
    bof_ = true;
    return;
  }
  --current_;
  bof_ = eof_ = false;
}

void Query::MoveTo(std::size_t recno) {
  if (rows_.empty()) return;
  if (recno < 1) recno = 1;
  if (recno > rows_.size()) recno = rows_.size();
  current_ = recno - 1;
  bof_ = eof_ = false;
}

std::size_t Query::FieldIndex(std::string_view name) const {
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (SameName(names_[i], name)) return i;
  }
  throw DataError("The field \"" + std::string(name) + "\" is not in the query's result.");
}

FieldValue Query::FieldByName(std::string_view name) const {
  const std::size_t index = FieldIndex(name);
  if (rows_.empty()) return std::nullopt;
  return rows_[current_][index];
}

std::string Query::AsString(std::string_view name) const {
  return FieldByName(name).value_or(std::string());
}

const FieldValue& Query::Value(std::size_t row, std::size_t field) const {
  return rows_.at(row).at(field);
}

}  // namespace sapala::data
