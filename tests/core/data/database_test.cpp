// Workbook to SQL tables: column naming, empty cells, the headword index that prefix
// searches use, and the read-only state after loading.
#include "core/data/database.h"

#include <gtest/gtest.h>

#include <random>

#include "core/data/error.h"
#include "core/data/query.h"
#include "core/data/search_sql.h"
#include "core/data/workbook_writer.h"

namespace sapala::data {
namespace {

Workbook BookOf(const std::vector<SheetData>& sheets) {
  return ReadWorkbook(WriteWorkbook(sheets));
}

std::vector<std::string> Column(sqlite3* db, const std::string& sql, int col = 0) {
  sqlite3_stmt* raw = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr), SQLITE_OK)
      << sqlite3_errmsg(db);
  SqliteStatement st(raw);
  std::vector<std::string> out;
  while (raw && sqlite3_step(raw) == SQLITE_ROW) {
    const auto* t = sqlite3_column_text(raw, col);
    out.push_back(t ? reinterpret_cast<const char*>(t) : "<null>");
  }
  return out;
}

TEST(Database, ColumnNames) {
  struct Case {
    std::vector<std::string> header, want;
  } cases[] = {
      {{"ID", "warna", "Hanacaraka"}, {"ID", "warna", "Hanacaraka"}},
      {{"", "x", " "}, {"F1", "x", "F3"}},
      {{"a", "A", "a", "a_2"}, {"a", "A_2", "a_3", "a_2_2"}},
      {{"F2", ""}, {"F2", "F2_2"}},
      {{std::string("n\0m", 3)}, {"nm"}},
  };
  int n = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(ColumnNames(c.header), c.want) << "case " << n;
    ++n;
  }
}

TEST(Database, SheetsBecomeTablesWithNullForEmptyCells) {
  const Workbook book = BookOf({
      {"warna",
       {{"ID", "warna", "Hanacaraka"}, {"abang", "merah"}, {"", "", "x"}, {"ijo", "hijau", "y"}}},
      {"Sheet 2", {{"", "b"}, {"1", "2"}}},
      {"empty", {}},
  });
  Database db;
  db.Load(book);
  EXPECT_EQ(Column(db.handle(), "select ID from warna order by rowid"),
            (std::vector<std::string>{"abang", "<null>", "ijo"}));
  EXPECT_EQ(Column(db.handle(), "select Hanacaraka from warna order by rowid"),
            (std::vector<std::string>{"<null>", "x", "y"}));
  EXPECT_EQ(Column(db.handle(), "select F1 || b from [Sheet 2]"), (std::vector<std::string>{"12"}));
  EXPECT_EQ(Column(db.handle(), "select count(*) from sqlite_schema where name='empty'"),
            (std::vector<std::string>{"0"}));
  // Comparisons ignore ASCII case, as the spreadsheet driver's do.
  EXPECT_EQ(Column(db.handle(), "select warna from warna where ID = 'ABANG'"),
            (std::vector<std::string>{"merah"}));
}

TEST(Database, PrefixSearchUsesTheHeadwordIndex) {
  std::vector<std::vector<std::string>> rows{{"ID", "warna"}};
  for (int i = 0; i < 500; ++i) rows.push_back({"w" + std::to_string(i), "m"});
  Database db;
  db.Load(BookOf({{"warna", rows}}));
  const auto plan = [&db](const std::string& sql) {
    std::string all;
    for (const auto& line : Column(db.handle(), "explain query plan " + sql, 3)) all += line + "\n";
    return all;
  };
  const std::string prefix = plan("select*from warna where [ID] like'w12%'");
  EXPECT_NE(prefix.find("SEARCH warna USING INDEX"), std::string::npos) << prefix;
  EXPECT_EQ(Column(db.handle(), "select ID from warna where [ID] like'W12%'").size(), 11u);
  // A pattern that begins with a wildcard cannot use the index; it still answers.
  EXPECT_NE(plan("select*from warna where[ID] like'%12%'").find("SCAN"), std::string::npos);
}

TEST(Database, ReadOnlyAfterLoadAndDuplicateSheetsRefused) {
  Database db;
  db.Load(BookOf({{"warna", {{"ID"}, {"a"}}}}));
  EXPECT_THROW(db.Exec("delete from warna"), DataError);
  EXPECT_EQ(Column(db.handle(), "select count(*) from warna"), (std::vector<std::string>{"1"}));

  Database twice;
  const Workbook book = BookOf({{"warna", {{"ID"}, {"a"}}}, {"WARNA", {{"ID"}, {"b"}}}});
  EXPECT_THROW(twice.Load(book), DataError);
}

// Every row of `sql` (all columns, "<null>" for NULL) in the engine's order.
std::vector<std::string> Rows(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* raw = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr), SQLITE_OK)
      << sqlite3_errmsg(db);
  SqliteStatement st(raw);
  std::vector<std::string> out;
  while (raw && sqlite3_step(raw) == SQLITE_ROW) {
    std::string row;
    for (int i = 0; i < sqlite3_column_count(raw); ++i) {
      const auto* t = sqlite3_column_text(raw, i);
      row += (t ? reinterpret_cast<const char*>(t) : "<null>") + std::string("|");
    }
    out.push_back(row);
  }
  return out;
}

// The substring search through the trigram index against the plain scan, on random texts
// made of the characters that could tell them apart: wildcards, quotes, letters whose case
// only SQLite's LIKE ignores (ASCII) or only FTS5 folds (beyond ASCII), one and two
// characters. Same rows, same order, every time; and the index must really be used.
TEST(Database, TrigramSearchGivesThePlainScansRowsInItsOrder) {
  const std::vector<std::string> pieces = {
      "a",        "ng",       "k", "K", "e", "\xC3\xA9", "\xC3\x89", "\xC3\xA8",
      "\xC3\xA3", "\xC3\x83", "'", "%", "_", " ",        "ba",       "NG"};
  std::mt19937 rng(1016);
  auto text = [&](int max_pieces) {
    std::string t;
    const int n = 1 + static_cast<int>(rng() % static_cast<unsigned>(max_pieces));
    for (int i = 0; i < n; ++i) t += pieces[rng() % pieces.size()];
    return t;
  };
  std::vector<std::vector<std::string>> rows{{"ID", "warna", "Hanacaraka"}};
  for (int i = 0; i < 3000; ++i)
    rows.push_back({i % 50 == 7 ? "" : text(7), "m" + std::to_string(i), "x"});
  Connection c;
  auto owned = std::make_unique<Database>();
  owned->Load(BookOf({{"warna", rows}}));
  ASSERT_TRUE(owned->HasTrigramIndex("WARNA"));
  sqlite3* handle = owned->handle();
  c.OpenDatabase(std::move(owned), "t");
  Query q(&c);
  int through_index = 0;
  for (int i = 0; i < 1500; ++i) {
    const std::string t = text(4);
    for (const std::string& sql : {SubstringSearchSql(t), PrefixSearchSql("%" + t)}) {
      q.SetSql(sql);
      q.Open();
      std::vector<std::string> have;
      for (std::size_t r = 0; r < q.RecordCount(); ++r) {
        std::string row;
        for (std::size_t f = 0; f < q.FieldCount(); ++f)
          row += q.Value(r, f).value_or("<null>") + "|";
        have.push_back(row);
      }
      ASSERT_EQ(have, Rows(handle, sql))
          << "case " << i << ": " << sql << "\nran: " << q.RunningSql();
      if (q.RunningSql() != sql) ++through_index;
    }
  }
  EXPECT_GT(through_index, 500) << "too few texts went through the index to prove anything";
}

TEST(Database, OnlySearchTextsWithAThreeCharacterRunUseTheTrigramIndex) {
  Database db;
  db.Load(BookOf({{"warna", {{"ID"}, {"abc"}}}, {"kamus", {{"ID"}, {"abc"}}}}));
  ASSERT_TRUE(db.HasTrigramIndex("kamus"));
  struct Case {
    std::string sql;
    bool indexed;
  } cases[] = {
      {SubstringSearchSql("abc"), true},
      {PrefixSearchSql("%abc"), true},
      {SubstringSearchSql("ab"), false},  // two characters: no trigram to look up
      {SubstringSearchSql("a_c"), false},
      {PrefixSearchSql("abc"), false},  // a prefix: the b-tree index serves it
      {"select*from kamus where[ID] like'%abc%'", false},
      {"select * from warna where ID like '%abc%'", false},
  };
  int n = 0;
  for (const auto& cs : cases) {
    EXPECT_EQ(!db.TrigramSearchSql(cs.sql).empty(), cs.indexed) << "case " << n << ": " << cs.sql;
    ++n;
  }
}

}  // namespace
}  // namespace sapala::data
