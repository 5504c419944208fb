// The data layer under the program's connection and query components.
//
// A Connection turns a connection string into an open workbook: the "DBQ" entry names the
// file, which is read once (read-only, shared with every other process) and becomes an
// in-memory SQL database, one table per worksheet. A Query runs one SQL text on it and keeps
// a current record that moves first, prior, next and last. Every failure is a DataError whose
// message a user can read.
//
// Rows are fetched on demand, so that a result of 200,000 rows costs no more to open than one
// of ten: Open reads the first rows, the record count is exact (counted by the engine, which
// can use a covering index and copies nothing), and any other row is read when somebody asks
// for it. The query keeps one block of neighbouring rows (at most kBlockRows), read by
// stepping its statement on from where it stands; a row before the block runs the statement
// again from its start. The database never changes once loaded, so every run gives the same
// rows in the same order. A search SQL text that the trigram index can answer (see
// Database::TrigramSearchSql) runs through it.
//
// Ownership: a Query refers to its Connection but does not own it; whichever of the two is
// destroyed first detaches from the other, and closing or destroying the connection closes
// its queries. Neither is thread-safe: both belong to the user-interface thread.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/data/database.h"

namespace sapala::data {

class Query;

class Connection {
 public:
  Connection() = default;
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Parses `connection_string`, reads the workbook it names and loads it. Replaces what was
  // open before (closing its queries). On failure the connection is left closed.
  void Open(std::string_view connection_string);
  // The same, for a workbook given by its path.
  void OpenWorkbook(const std::string& path);
  // The same, for a database already loaded (tests and benchmarks build their own); `name`
  // stands where the workbook path would.
  void OpenDatabase(std::unique_ptr<Database> db, std::string name);
  void Close();

  bool connected() const { return db_ != nullptr; }
  const std::string& workbook_path() const { return path_; }
  // The open database; null when closed.
  Database* database() const { return db_.get(); }

 private:
  friend class Query;
  void CloseQueries();

  std::unique_ptr<Database> db_;
  std::string path_;
  std::set<Query*> queries_;
};

// A field value: empty for a NULL (an empty cell).
using FieldValue = std::optional<std::string>;

class Query {
 public:
  explicit Query(Connection* connection = nullptr);
  ~Query();
  Query(const Query&) = delete;
  Query& operator=(const Query&) = delete;

  void SetConnection(Connection* connection);
  Connection* connection() const { return connection_; }

  // While loading is on (the owning window's description is being applied), replacing the
  // SQL text leaves an open query open; otherwise a new text closes it first.
  void SetLoading(bool loading) { loading_ = loading; }
  bool loading() const { return loading_; }

  void SetSql(std::string sql);
  // Empties the SQL text; like any change of the text this closes the query.
  void ClearSql() { SetSql(std::string()); }
  const std::string& sql() const { return sql_; }

  // Runs the SQL text, reads its first rows and (with Count::kNow) counts them; the first row
  // becomes current. Throws DataError (no connection, no SQL text, bad SQL, a missing table or
  // column, a statement that returns no rows or would change the dictionary, a block of rows
  // over kMaxResultBytes); the query then stays closed. Count::kLater leaves the counting to
  // the first call that needs it, for a query that may be closed again at once.
  enum class Count { kNow, kLater };
  void Open(Count count = Count::kNow);
  void Close();
  bool active() const { return active_; }

  // Navigation, with the flags of the classic data-set model: after Open and First, Bof is
  // true; Next at the last row sets Eof and stays; Prior at the first row sets Bof and stays;
  // an empty result is both Bof and Eof.
  // Moving may need the record count (see RecordCount for its errors).
  void First();
  void Prior();
  void Next();
  void Last();
  bool Bof() const { return bof_; }
  bool Eof() const { return eof_; }
  // 1-based number of the current row; 0 when closed or empty. MoveTo makes row `recno`
  // current (clamped to the rows there are), as a click in a grid does.
  std::size_t RecNo() const { return empty_ ? 0 : current_ + 1; }
  void MoveTo(std::size_t recno);
  // The number of rows, exact; 0 when closed. The first call after Open(Count::kLater)
  // counts, and throws DataError if the engine fails while counting (the query stays open and
  // the next call counts again).
  std::size_t RecordCount() const;
  // The count when it is known (always after Open(Count::kNow)); never throws.
  std::optional<std::size_t> KnownRecordCount() const noexcept;

  std::size_t FieldCount() const { return names_.size(); }
  const std::string& FieldName(std::size_t index) const { return names_.at(index); }
  // Index of the field called `name` (ASCII case ignored); throws DataError if none.
  std::size_t FieldIndex(std::string_view name) const;

  // The field `name` of the current record: empty when there are no rows; DataError when
  // the result has no such field (a closed query has no fields).
  FieldValue FieldByName(std::string_view name) const;
  // Its text, "" for NULL.
  std::string AsString(std::string_view name) const;
  // Any row's field (row is 0-based), read from the engine if it is not at hand: the grids
  // ask only for the rows they show. Throws std::out_of_range for a row or field that is not
  // there, DataError if the engine fails reading the row.
  FieldValue Value(std::size_t row, std::size_t field) const;

  // The text the engine runs for the SQL text (itself, or the trigram index's form of it);
  // empty when closed.
  const std::string& RunningSql() const;

  static constexpr std::size_t kMaxResultBytes = std::size_t{1} << 30;
  static constexpr std::size_t kBlockRows = 1024;  // rows kept at hand at most
  static constexpr std::size_t kReadAhead = 64;    // rows read past the one asked for

 private:
  friend class Connection;
  class Cursor;
  void Detach();

  Connection* connection_ = nullptr;
  std::string sql_;
  bool loading_ = false;
  bool active_ = false;
  std::vector<std::string> names_;
  std::unique_ptr<Cursor> cursor_;  // the running statement and its rows; null when closed
  std::size_t current_ = 0;
  bool empty_ = true;  // no rows (or closed)
  bool bof_ = true;
  bool eof_ = true;
};

// Turns an engine message about `sql` into the words shown to the user.
std::string DescribeSqlError(std::string_view engine_message, std::string_view sql);

}  // namespace sapala::data
