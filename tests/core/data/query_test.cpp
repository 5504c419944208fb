// Connection and query: the program's SQL texts run verbatim, the open/close rules of
// replacing and clearing SQL, navigation flags, fields by name, and every failure as a
// DataError with words a user understands.
#include "core/data/query.h"

#include <gtest/gtest.h>

#include "core/data/error.h"
#include "core/data/search_sql.h"
#include "core/data/workbook_writer.h"
#include "temp_dir.h"

namespace sapala::data {
namespace {

using testing::TempDir;

std::vector<std::vector<std::string>> Dictionary() {
  return {{"ID", "warna", "Hanacaraka"},
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
  for (std::size_t r = 0; r < q.RecordCount(); ++r) out.push_back(q.Value(r, id).value_or("<null>"));
  std::sort(out.begin(), out.end());  // row order is the engine's; the SQL has no ordering
  return out;
}

std::string ConnectionStringFor(const std::string& path) {
  return "Provider=MSDASQL.1;Password=qovtar;Persist Security Info=True;User ID=admin;"
         "Extended Properties=\"DSN=Excel Files;DBQ=" + path +
         ";DefaultDir=/x;DriverId=1046;MaxBufferSize=2048;PageTimeout=5;\"";
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
      {"select * from warna", {"50%", "Kali", "gor\xC3\xA8ng", "k_a", "kalih", "liwet", "l\xC3\xA9l\xC3\xA9", "m\xC3\xA3ng\xC3\xA3n"}},
      {"select*from warna", {"50%", "Kali", "gor\xC3\xA8ng", "k_a", "kalih", "liwet", "l\xC3\xA9l\xC3\xA9", "m\xC3\xA3ng\xC3\xA3n"}},
      {PrefixSearchSql("ka"), {"Kali", "kalih"}},          // ASCII case ignored
      {PrefixSearchSql("l\xC3\xA9"), {"l\xC3\xA9l\xC3\xA9"}},
      {SubstringSearchSql("li"), {"Kali", "kalih", "liwet"}},
      {SubstringSearchSql("\xC3\xA8"), {"gor\xC3\xA8ng"}},
      {PrefixSearchSql("k_"), {"Kali", "k_a", "kalih"}},   // "_" is a wildcard
      {PrefixSearchSql("5%"), {"50%"}},                    // "%" is a wildcard
      {PrefixSearchSql("it's"), {}},
      {PrefixSearchSql(""), {"50%", "Kali", "gor\xC3\xA8ng", "k_a", "kalih", "liwet", "l\xC3\xA9l\xC3\xA9", "m\xC3\xA3ng\xC3\xA3n"}},
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
      {"open", 1, true, false},  {"next", 2, false, false}, {"next", 3, false, false},
      {"next", 3, false, true},  {"prior", 2, false, false}, {"prior", 1, false, false},
      {"prior", 1, true, false}, {"last", 3, false, true},   {"first", 1, true, false},
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
  const std::string bad = ErrorOf([&] { Connection x; x.OpenWorkbook(text); });
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

}  // namespace
}  // namespace sapala::data
