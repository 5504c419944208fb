// Connection and query: the program's SQL texts run verbatim, the open/close rules of
// replacing and clearing SQL, navigation flags, fields by name, and every failure as a
// DataError with words a user understands.
#include "core/data/query.h"

#include <gtest/gtest.h>

#include <random>

#include "core/base/unique_handle.h"
#include "core/data/error.h"
#include "core/data/search_sql.h"
#include "core/data/workbook_writer.h"
#include "temp_dir.h"

namespace sapala::data {
namespace {

using testing::TempDir;

std::vector<std::vector<std::string>> Dictionary() {
  return {
      {"ID", "warna", "Hanacaraka"},
      {"m\xC3\xA3ng\xC3\xA3n", "makan (ngoko)", "\xEA\xA6\xA9\xEA\xA6\x94\xEA\xA6\xA4\xEA\xA7\x80"},
      {"l\xC3\xA9l\xC3\xA9", "ikan lele", "x"},
      {"gor\xC3\xA8ng", "goreng", "y"},
      {"liwet", "nasi liwet", "z"},
      {"kalih", "dua (krama)", "k"},
      {"Kali", "sungai", "k2"},
      {"k_a", "underscore", "u"},
      {"50%", "persen", "p"}};
}

std::string WorkbookFile(const TempDir& dir) {
  return dir.Write("sapala.bat", WriteWorkbook({{"warna", Dictionary()}}));
}

std::vector<std::string> Ids(const Query& q) {
  std::vector<std::string> out;
  const std::size_t id = q.FieldIndex("ID");
  for (std::size_t r = 0; r < q.RecordCount(); ++r)
    out.push_back(q.Value(r, id).value_or("<null>"));
  std::sort(out.begin(), out.end());  // row order is the engine's; the SQL has no ordering
  return out;
}

std::string ConnectionStringFor(const std::string& path) {
  return "Provider=MSDASQL.1;Password=qovtar;Persist Security Info=True;User ID=admin;"
         "Extended Properties=\"DSN=Excel Files;DBQ=" +
         path + ";DefaultDir=/x;DriverId=1046;MaxBufferSize=2048;PageTimeout=5;\"";
}

TEST(Query, TheProgramsSqlTextsRunVerbatim) {
  TempDir dir;
  Connection c;
  c.Open(ConnectionStringFor(WorkbookFile(dir)));
  ASSERT_TRUE(c.connected());
  Query q(&c);
  struct Case {
    std::string sql;
    std::vector<std::string> want;
  } cases[] = {
      {"select * from warna",
       {"50%", "Kali", "gor\xC3\xA8ng", "k_a", "kalih", "liwet", "l\xC3\xA9l\xC3\xA9",
        "m\xC3\xA3ng\xC3\xA3n"}},
      {"select*from warna",
       {"50%", "Kali", "gor\xC3\xA8ng", "k_a", "kalih", "liwet", "l\xC3\xA9l\xC3\xA9",
        "m\xC3\xA3ng\xC3\xA3n"}},
      {PrefixSearchSql("ka"), {"Kali", "kalih"}},  // ASCII case ignored
      {PrefixSearchSql("l\xC3\xA9"), {"l\xC3\xA9l\xC3\xA9"}},
      {SubstringSearchSql("li"), {"Kali", "kalih", "liwet"}},
      {SubstringSearchSql("\xC3\xA8"), {"gor\xC3\xA8ng"}},
      {PrefixSearchSql("k_"), {"Kali", "k_a", "kalih"}},  // "_" is a wildcard
      {PrefixSearchSql("5%"), {"50%"}},                   // "%" is a wildcard
      {PrefixSearchSql("it's"), {}},
      {PrefixSearchSql(""),
       {"50%", "Kali", "gor\xC3\xA8ng", "k_a", "kalih", "liwet", "l\xC3\xA9l\xC3\xA9",
        "m\xC3\xA3ng\xC3\xA3n"}},
      {"select ID from warna where Hanacaraka = 'K'", {"kalih"}},
  };
  int n = 0;
  for (const auto& cs : cases) {
    q.SetSql(cs.sql);
    q.Open();
    EXPECT_TRUE(q.active()) << "case " << n;
    EXPECT_EQ(Ids(q), cs.want) << "case " << n << ": " << cs.sql;
    ++n;
  }
}

TEST(Query, ReplacingAndClearingSqlClosesExceptWhileLoading) {
  TempDir dir;
  Connection c;
  c.OpenWorkbook(WorkbookFile(dir));
  Query q(&c);
  // While the window's description is applied, a new text leaves the query open.
  q.SetLoading(true);
  q.SetSql("select * from warna");
  q.Open();
  q.SetSql("select*from warna");
  EXPECT_TRUE(q.active());
  EXPECT_EQ(q.RecordCount(), 8u);
  q.SetLoading(false);
  // After loading, replacing the text closes first and empties the result.
  q.SetSql(PrefixSearchSql("l"));
  EXPECT_FALSE(q.active());
  EXPECT_EQ(q.RecordCount(), 0u);
  EXPECT_EQ(q.sql(), "select*from warna where [ID] like'l%'");
  q.Open();
  EXPECT_EQ(q.RecordCount(), 2u);
  q.ClearSql();
  EXPECT_FALSE(q.active());
  EXPECT_EQ(q.sql(), "");
  EXPECT_EQ(q.RecNo(), 0u);
  EXPECT_THROW(q.Open(), DataError);  // nothing to run
  EXPECT_FALSE(q.active());
}

TEST(Query, NavigationFlags) {
  TempDir dir;
  Connection c;
  c.OpenWorkbook(WorkbookFile(dir));
  Query q(&c);
  q.SetSql("select * from warna where ID like 'k%'");  // three rows
  q.Open();
  struct Step {
    const char* op;
    std::size_t recno;
    bool bof, eof;
  } steps[] = {
      {"open", 1, true, false},    {"next", 2, false, false},    {"next", 3, false, false},
      {"next", 3, false, true},    {"prior", 2, false, false},   {"prior", 1, false, false},
      {"prior", 1, true, false},   {"last", 3, false, true},     {"first", 1, true, false},
      {"move 2", 2, false, false}, {"move 99", 3, false, false},
  };
  int n = 0;
  for (const auto& s : steps) {
    const std::string op = s.op;
    if (op == "next") q.Next();
    if (op == "prior") q.Prior();
    if (op == "last") q.Last();
    if (op == "first") q.First();
    if (op == "move 2") q.MoveTo(2);
    if (op == "move 99") q.MoveTo(99);
    EXPECT_EQ(q.RecNo(), s.recno) << "case " << n << " (" << op << ")";
    EXPECT_EQ(q.Bof(), s.bof) << "case " << n << " (" << op << ")";
    EXPECT_EQ(q.Eof(), s.eof) << "case " << n << " (" << op << ")";
    ++n;
  }
  // The fields follow the current record.
  q.MoveTo(1);
  const std::string first = q.AsString("id");
  q.Next();
  EXPECT_NE(q.AsString("ID"), first);

  // An empty result is Bof and Eof at once, and moving changes nothing.
  q.SetSql(PrefixSearchSql("zzz"));
  q.Open();
  q.Next();
  q.Prior();
  q.Last();
  EXPECT_TRUE(q.Bof() && q.Eof());
  EXPECT_EQ(q.RecNo(), 0u);
  EXPECT_EQ(q.FieldByName("warna"), std::nullopt);
}

TEST(Query, FieldsByName) {
  TempDir dir;
  Connection c;
  c.OpenWorkbook(WorkbookFile(dir));
  Query q(&c);
  q.SetSql(PrefixSearchSql("m\xC3\xA3"));
  q.Open();
  ASSERT_EQ(q.RecordCount(), 1u);
  EXPECT_EQ(q.FieldCount(), 3u);
  EXPECT_EQ(q.FieldName(2), "Hanacaraka");
  EXPECT_EQ(q.AsString("WARNA"), "makan (ngoko)");
  EXPECT_EQ(q.FieldByName("hanacaraka"), "\xEA\xA6\xA9\xEA\xA6\x94\xEA\xA6\xA4\xEA\xA7\x80");
  EXPECT_THROW(q.FieldByName("meaning"), DataError);
}

// The message of the DataError that `f` throws.
template <typename F>
std::string ErrorOf(F&& f) {
  try {
    f();
  } catch (const DataError& e) {
    return e.what();
  }
  return "<no error>";
}

TEST(Query, FailuresSayWhatWentWrong) {
  TempDir dir;
  const std::string path = WorkbookFile(dir);
  Connection c;
  c.OpenWorkbook(path);
  Query q(&c);
  struct Case {
    std::string sql, want;  // `want` must appear in the message
  } cases[] = {
      {"select * from kamus", "table \"kamus\" is not in the dictionary workbook"},
      {"select arti from warna", "column \"arti\" is not in the dictionary table"},
      {"selec * from warna", "The SQL command cannot be run: near \"selec\": syntax error"},
      {"select * from warna where ID like 'a", "unrecognized token"},
      {"delete from warna", "read-only"},
      {"drop table warna", "read-only"},
      {"create table t (a)", "read-only"},
      {"select 1; delete from warna", "more than one statement"},
      {std::string("select 1\0 drop", 14), "NUL character"},
      {"   ", "no SQL command"},
      {"-- just a comment", "no SQL command"},
      {"pragma query_only = 0", "read-only"},
  };
  int n = 0;
  for (const auto& cs : cases) {
    q.SetSql(cs.sql);
    const std::string msg = ErrorOf([&q] { q.Open(); });
    EXPECT_NE(msg.find(cs.want), std::string::npos) << "case " << n << ": have \"" << msg << "\"";
    EXPECT_FALSE(q.active()) << "case " << n;
    ++n;
  }
  // The table is untouched by all of that.
  q.SetSql("select*from warna");
  q.Open();
  EXPECT_EQ(q.RecordCount(), 8u);

  // A missing workbook names the file; the connection stays closed.
  Connection missing;
  const std::string msg = ErrorOf([&] { missing.Open(ConnectionStringFor(dir.File("nope.bat"))); });
  EXPECT_NE(msg.find("nope.bat"), std::string::npos) << msg;
  EXPECT_NE(msg.find("does not exist"), std::string::npos) << msg;
  EXPECT_FALSE(missing.connected());
  Query orphan(&missing);
  orphan.SetSql("select*from warna");
  EXPECT_NE(ErrorOf([&] { orphan.Open(); }).find("no open connection"), std::string::npos);

  // A file that is no workbook names the file too.
  const std::string text = dir.Write("text.bat", {'h', 'e', 'l', 'l', 'o'});
  const std::string bad = ErrorOf([&] {
    Connection x;
    x.OpenWorkbook(text);
  });
  EXPECT_NE(bad.find("text.bat"), std::string::npos) << bad;
  EXPECT_NE(bad.find("not an Excel 97-2003 workbook"), std::string::npos) << bad;
}

TEST(Query, ClosingOrDestroyingTheConnectionClosesItsQueries) {
  TempDir dir;
  auto c = std::make_unique<Connection>();
  c->OpenWorkbook(WorkbookFile(dir));
  Query a(c.get()), b(c.get());
  a.SetSql("select*from warna");
  b.SetSql("select*from warna");
  a.Open();
  b.Open();
  c->Close();
  EXPECT_FALSE(a.active());
  EXPECT_THROW(a.Open(), DataError);
  c->OpenWorkbook(dir.File("sapala.bat"));
  a.Open();
  c.reset();  // a query that outlives its connection must not touch it again
  EXPECT_FALSE(a.active());
  EXPECT_EQ(a.connection(), nullptr);
  EXPECT_THROW(a.Open(), DataError);
  {
    Connection c2;
    c2.OpenWorkbook(dir.File("sapala.bat"));
    Query q(&c2);
    q.SetSql("select*from warna");
    q.Open();
  }  // the query goes first here; the connection must not call back into it
}

TEST(Query, TheWorkbookIsNeverWritten) {
  TempDir dir;
  const std::string path = WorkbookFile(dir);
  std::ifstream before_f(path, std::ios::binary);
  const std::string before((std::istreambuf_iterator<char>(before_f)), {});
  {
    Connection c;
    c.OpenWorkbook(path);
    Query q(&c);
    for (const char* sql : {"select*from warna", "delete from warna", "update warna set ID='x'"}) {
      q.SetSql(sql);
      try {
        q.Open();
      } catch (const DataError&) {
      }
    }
  }
  std::ifstream after_f(path, std::ios::binary);
  const std::string after((std::istreambuf_iterator<char>(after_f)), {});
  EXPECT_EQ(before, after);
}

// A connection over an in-memory workbook of `rows` records: ID "w<i>" (every 97th empty),
// a meaning with non-ASCII text, and a third column.
void OpenBig(Connection& c, int rows) {
  std::vector<std::vector<std::string>> data{{"ID", "warna", "Hanacaraka"}};
  for (int i = 0; i < rows; ++i) {
    data.push_back({i % 97 == 5 ? "" : "w" + std::to_string(i),
                    "tegese \xC3\xA9 " + std::to_string(i * 7), std::to_string(i % 13)});
  }
  auto db = std::make_unique<Database>();
  db->Load(ReadWorkbook(WriteWorkbook({{"warna", data}})));
  c.OpenDatabase(std::move(db), "big");
}

// Every row of `sql` read straight from the engine, as the query's Value gives them.
std::vector<std::vector<FieldValue>> AllRows(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* raw = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr), SQLITE_OK)
      << sqlite3_errmsg(db);
  SqliteStatement st(raw);
  std::vector<std::vector<FieldValue>> out;
  while (raw && sqlite3_step(raw) == SQLITE_ROW) {
    out.emplace_back();
    for (int i = 0; i < sqlite3_column_count(raw); ++i) {
      const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(raw, i));
      out.back().push_back(t ? FieldValue(t) : std::nullopt);
    }
  }
  return out;
}

// Rows are read when asked for, in whatever order a grid asks (forward line by line, back
// across blocks, jumps as a thumb drag makes): each must be the row the whole result has
// there, and the count must be exact before any row past the first block was read.
TEST(Query, RowsReadOnDemandAreTheRowsOfTheWholeResult) {
  Connection c;
  OpenBig(c, 5000);
  for (const std::string& sql :
       {std::string("select*from warna"),
        std::string("select ID, warna from warna order by warna desc"), PrefixSearchSql("w1")}) {
    const auto want = AllRows(c.database()->handle(), sql);
    Query q(&c);
    q.SetSql(sql);
    q.Open();
    ASSERT_EQ(q.RecordCount(), want.size()) << sql;
    std::vector<std::size_t> order;
    for (std::size_t r = 0; r < want.size() && r < 1500; ++r) order.push_back(r);  // forward
    for (std::size_t r = want.size(); r-- > want.size() / 2;) order.push_back(r);  // backward
    std::mt19937 rng(16);
    for (int i = 0; i < 300; ++i) order.push_back(rng() % want.size());  // jumps
    for (std::size_t r : order) {
      for (std::size_t f = 0; f < q.FieldCount(); ++f) {
        ASSERT_EQ(q.Value(r, f), want[r][f]) << sql << ": row " << r << " field " << f;
      }
    }
    EXPECT_THROW(q.Value(want.size(), 0), std::out_of_range);
    EXPECT_THROW(q.Value(0, q.FieldCount()), std::out_of_range);
    // The current record follows navigation over rows not yet read.
    q.Last();
    EXPECT_EQ(q.FieldByName(q.FieldName(0)), want.back()[0]) << sql;
    q.MoveTo(want.size() / 3 + 1);
    q.Prior();
    EXPECT_EQ(q.FieldByName(q.FieldName(0)), want[want.size() / 3 - 1][0]) << sql;
  }
}

// Texts that cannot stand inside "select count(*) from (...)" are counted by running them.
TEST(Query, CountsTextsThatCannotBeWrapped) {
  Connection c;
  OpenBig(c, 700);
  struct Case {
    std::string sql;
    std::size_t rows;
  } cases[] = {
      {"select ID from warna /* to the end", 700},
      {"select ID from warna;  ", 700},
      {"select ID from warna -- comment", 700},
      {"explain select ID from warna",
       AllRows(c.database()->handle(), "explain select ID from warna").size()},
  };
  int n = 0;
  for (const auto& cs : cases) {
    for (const auto count : {Query::Count::kNow, Query::Count::kLater}) {
      Query q(&c);
      q.SetSql(cs.sql);
      q.Open(count);
      // A result that ends within the first rows read is counted by reading them.
      EXPECT_EQ(q.KnownRecordCount().has_value(),
                count == Query::Count::kNow || cs.rows <= Query::kReadAhead)
          << "case " << n;
      EXPECT_EQ(q.RecordCount(), cs.rows) << "case " << n << ": " << cs.sql;
    }
    ++n;
  }
}

// An engine error on a row read later is a DataError for that row (and the rows after it,
// which the engine cannot reach); the rows before it still read, also when reading ahead
// from them meets the error.
TEST(Query, AnEngineErrorOnALaterRowFailsThatRowOnly) {
  Connection c;
  OpenBig(c, 3000);
  Query q(&c);
  q.SetSql(
      "select rowid, json(case when rowid = 2500 then '{' else '1' end) from warna order by rowid");
  q.Open(Query::Count::kLater);
  EXPECT_EQ(q.Value(3, 0), "4");
  EXPECT_THROW(q.Value(2499, 1), DataError);
  EXPECT_EQ(q.Value(2498, 0), "2499");  // reading ahead from here meets the bad row
  EXPECT_EQ(q.Value(10, 0), "11");
  EXPECT_THROW(q.Value(2600, 0), DataError);  // the engine cannot step past its error
}

// Connections and statements are counted, so a leak check sees one left open.
TEST(Query, HandlesAreCounted) {
  const long dbs = LiveHandles(HandleKind::Database),
             statements = LiveHandles(HandleKind::Statement);
  {
    Connection c;
    OpenBig(c, 10);
    EXPECT_EQ(LiveHandles(HandleKind::Database), dbs + 1);
    Query a(&c), b(&c);
    a.SetSql("select*from warna");
    b.SetSql("select*from warna");
    a.Open();
    b.Open();
    EXPECT_EQ(LiveHandles(HandleKind::Statement), statements + 2);
    a.Close();
    EXPECT_EQ(LiveHandles(HandleKind::Statement), statements + 1);
    c.Close();  // closes b
    EXPECT_EQ(LiveHandles(HandleKind::Statement), statements);
    EXPECT_EQ(LiveHandles(HandleKind::Database), dbs);
    c.OpenDatabase(std::make_unique<Database>(), "x");
  }
  EXPECT_EQ(LiveHandles(HandleKind::Database), dbs);
}

}  // namespace
}  // namespace sapala::data
