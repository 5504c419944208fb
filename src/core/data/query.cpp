// Connection and query; see query.h.
#include "core/data/query.h"

#include <cctype>
#include <cstring>
#include <stdexcept>

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
  if (msg.find("readonly") != std::string::npos ||
      msg.find("not authorized") != std::string::npos) {
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

// The running statement and the block of rows read from it.
class Query::Cursor {
 public:
  Cursor(sqlite3* db, SqliteStatement statement, std::string sql, std::string shown_sql)
      : db_(db),
        statement_(std::move(statement)),
        sql_(std::move(sql)),
        shown_sql_(std::move(shown_sql)),
        columns_(sqlite3_column_count(statement_.get())) {}

  const std::string& sql() const noexcept { return sql_; }
  const std::optional<std::size_t>& count() const noexcept { return count_; }

  // Row `row`, read from the engine if needed; null when the result has no such row.
  const std::vector<FieldValue>* Row(std::size_t row) {
    if (row >= first_ && row - first_ < rows_.size()) return &rows_[row - first_];
    if (count_ && row >= *count_) return nullptr;
    const std::size_t end = first_ + rows_.size();
    try {
      if (row >= end && row - end < kBlockRows && next_ == end && !broken_) {
        // Just past the block: read on from where the statement stands.
      } else {
        // Elsewhere: a new block. Moving back, the block ends just after the row asked for,
        // so that stepping back through the rows runs the statement again only once a block.
        const std::size_t start =
            row < first_
                ? (row + kReadAhead + 1 > kBlockRows ? row + kReadAhead + 1 - kBlockRows : 0)
                : (row > kReadAhead ? row - kReadAhead : 0);
        rows_.clear();
        bytes_ = 0;
        if (start < next_ || broken_) Restart();
        while (next_ < start && Step(false)) {
        }
        first_ = next_;
      }
      while (next_ <= row + kReadAhead && Step(true)) {
      }
    } catch (const DataError&) {
      if (row >= first_ && row - first_ < rows_.size()) {
        // The row asked for is in; reading ahead stopped at a row the engine cannot give,
        // which fails when it is asked for itself.
        broken_ = true;
      } else {
        Restart();
        rows_.clear();
        first_ = 0;
        bytes_ = 0;
        throw;
      }
    }
    if (rows_.size() > kBlockRows) {
      const std::size_t drop = rows_.size() - kBlockRows;
      for (std::size_t i = 0; i < drop; ++i) bytes_ -= RowBytes(rows_[i]);
      rows_.erase(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(drop));
      first_ += drop;
    }
    if (row >= first_ && row - first_ < rows_.size()) return &rows_[row - first_];
    return nullptr;
  }

  // Counts the rows: by the engine's count(*) over the statement (which reads no columns it
  // does not need and may use a covering index), or, where the text cannot be wrapped so, by
  // running it again to its end.
  std::size_t Count() {
    if (count_) return *count_;
    std::string body = sql_;
    while (!body.empty() &&
           (body.back() == ';' || std::isspace(static_cast<unsigned char>(body.back())))) {
      body.pop_back();
    }
    // The line break ends a comment at the end of the text.
    const std::string wrapped = "select count(*) from (\n" + body + "\n)";
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_, wrapped.c_str(), static_cast<int>(wrapped.size()), &raw, nullptr) ==
            SQLITE_OK &&
        raw) {
      SqliteStatement counter(raw);
      const int rc = sqlite3_step(raw);
      if (rc == SQLITE_ROW) {
        count_ = static_cast<std::size_t>(sqlite3_column_int64(raw, 0));
        return *count_;
      }
      throw DataError(DescribeSqlError(sqlite3_errmsg(db_), shown_sql_));
    }
    std::size_t n = 0;
    sqlite3_stmt* again = nullptr;
    if (sqlite3_prepare_v2(db_, sql_.c_str(), static_cast<int>(sql_.size()), &again, nullptr) !=
        SQLITE_OK) {
      throw DataError(DescribeSqlError(sqlite3_errmsg(db_), shown_sql_));
    }
    SqliteStatement counter(again);
    for (;;) {
      const int rc = sqlite3_step(again);
      if (rc == SQLITE_DONE) break;
      if (rc != SQLITE_ROW) throw DataError(DescribeSqlError(sqlite3_errmsg(db_), shown_sql_));
      ++n;
    }
    count_ = n;
    return n;
  }

 private:
  static std::size_t RowBytes(const std::vector<FieldValue>& row) {
    std::size_t n = sizeof row;
    for (const FieldValue& v : row) n += sizeof v + (v ? v->size() : 0);
    return n;
  }

  void Restart() {
    sqlite3_reset(statement_.get());
    next_ = 0;
    done_ = false;
    broken_ = false;
  }

  // Steps to the next row, keeping it at the end of the block when `keep`; false at the end.
  bool Step(bool keep) {
    if (done_) return false;
    sqlite3_stmt* st = statement_.get();
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_DONE) {
      done_ = true;
      count_ = next_;
      return false;
    }
    if (rc != SQLITE_ROW) {
      broken_ = true;  // the statement must run again from its start before it steps on
      throw DataError(DescribeSqlError(sqlite3_errmsg(db_), shown_sql_));
    }
    ++next_;
    if (!keep) return true;
    std::vector<FieldValue> row;
    row.reserve(static_cast<std::size_t>(columns_));
    for (int i = 0; i < columns_; ++i) {
      if (sqlite3_column_type(st, i) == SQLITE_NULL) {
        row.emplace_back();
        continue;
      }
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
      const std::size_t len = static_cast<std::size_t>(sqlite3_column_bytes(st, i));
      row.emplace_back(std::string(text ? text : "", text ? len : 0));
    }
    bytes_ += RowBytes(row);
    if (bytes_ > kMaxResultBytes) {
      bytes_ -= RowBytes(row);
      broken_ = true;
      throw DataError("The SQL command returns more records than can be shown.");
    }
    rows_.push_back(std::move(row));
    return true;
  }

  sqlite3* db_;
  SqliteStatement statement_;
  std::string sql_;        // what runs
  std::string shown_sql_;  // what the user's SQL text says, for messages
  int columns_;
  std::size_t next_ = 0;  // the row the next step gives
  bool done_ = false;     // the statement has given its last row
  bool broken_ = false;   // the last step failed
  std::optional<std::size_t> count_;
  std::size_t first_ = 0;  // the block: rows first_ .. first_ + rows_.size() - 1
  std::vector<std::vector<FieldValue>> rows_;
  std::size_t bytes_ = 0;
};

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
  cursor_.reset();
  current_ = 0;
  empty_ = bof_ = eof_ = true;
}

void Query::Open(Count count) {
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
  // The text as checked, up to the end of its one statement.
  std::string run(sql_, 0, tail ? static_cast<std::size_t>(tail - sql_.data()) : sql_.size());
  const std::string faster = connection_->database()->TrigramSearchSql(sql_);
  if (!faster.empty()) {
    sqlite3_stmt* fast = nullptr;
    if (sqlite3_prepare_v2(db, faster.c_str(), static_cast<int>(faster.size()), &fast, nullptr) ==
            SQLITE_OK &&
        fast) {
      statement.reset(fast);
      run = faster;
    }
  }
  auto cursor = std::make_unique<Cursor>(db, std::move(statement), std::move(run), sql_);
  const bool empty = cursor->Row(0) == nullptr;
  if (count == Count::kNow) cursor->Count();
  names_ = std::move(names);
  cursor_ = std::move(cursor);
  empty_ = empty;
  active_ = true;
  First();
}

std::size_t Query::RecordCount() const { return cursor_ ? cursor_->Count() : 0; }

std::optional<std::size_t> Query::KnownRecordCount() const noexcept {
  if (!cursor_) return 0;
  return cursor_->count();
}

const std::string& Query::RunningSql() const {
  static const std::string none;
  return cursor_ ? cursor_->sql() : none;
}

void Query::First() {
  current_ = 0;
  bof_ = true;
  eof_ = empty_;
}

void Query::Last() {
  current_ = empty_ ? 0 : RecordCount() - 1;
  eof_ = true;
  bof_ = empty_;
}

void Query::Next() {
  if (empty_ || current_ + 1 >= RecordCount()) {
    eof_ = true;
    return;
  }
  ++current_;
  bof_ = eof_ = false;
}

void Query::Prior() {
  if (empty_ || current_ == 0) {
    bof_ = true;
    return;
  }
  --current_;
  bof_ = eof_ = false;
}

void Query::MoveTo(std::size_t recno) {
  if (empty_) return;
  const std::size_t count = RecordCount();
  if (recno < 1) recno = 1;
  if (recno > count) recno = count;
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
  if (empty_) return std::nullopt;
  return Value(current_, index);
}

std::string Query::AsString(std::string_view name) const {
  return FieldByName(name).value_or(std::string());
}

FieldValue Query::Value(std::size_t row, std::size_t field) const {
  if (!cursor_ || field >= names_.size()) throw std::out_of_range("Query::Value: no such field");
  const std::vector<FieldValue>* r = cursor_->Row(row);
  if (!r) throw std::out_of_range("Query::Value: no such row");
  return (*r)[field];
}

}  // namespace sapala::data
