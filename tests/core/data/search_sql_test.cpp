// Search SQL: the exact texts, the quoting rule, and the property that no search text can
// leave the quoted pattern (checked with SQLite's own parser).
#include "core/data/search_sql.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <random>

#include "core/data/sqlite_handle.h"

namespace sapala::data {
namespace {

TEST(SearchSql, ExactTexts) {
  struct Case {
    std::string text, prefix, substring;
  } cases[] = {
      {"abc", "select*from warna where [ID] like'abc%'", "select*from warna where[ID] like'%abc%'"},
      {"", "select*from warna where [ID] like'%'", "select*from warna where[ID] like'%%'"},
      {"a'b", "select*from warna where [ID] like'a''b%'",
       "select*from warna where[ID] like'%a''b%'"},
      {"''", "select*from warna where [ID] like'''''%'",
       "select*from warna where[ID] like'%''''%'"},
      {"5%_", "select*from warna where [ID] like'5%_%'", "select*from warna where[ID] like'%5%_%'"},
      {"m\xC3\xA3ng", "select*from warna where [ID] like'm\xC3\xA3ng%'",
       "select*from warna where[ID] like'%m\xC3\xA3ng%'"},
  };
  int n = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(PrefixSearchSql(c.text), c.prefix) << "case " << n;
    EXPECT_EQ(SubstringSearchSql(c.text), c.substring) << "case " << n;
    ++n;
  }
}

// For random texts full of quotes and SQL punctuation: each search text parses as one
// statement whose literal, read back by the engine, is exactly the pattern.
TEST(SearchSql, NoTextLeavesTheQuotedPattern) {
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(":memory:", &raw), SQLITE_OK);
  SqliteDb db(raw);
  ASSERT_EQ(sqlite3_exec(raw, "create table warna (ID text)", nullptr, nullptr, nullptr),
            SQLITE_OK);
  std::mt19937 rng(20261208);
  // Characters that matter to SQL, plus ordinary and non-ASCII bytes (no NUL: the window
  // side cannot produce one, and a NUL ends SQLite's text anyway).
  const std::string alphabet = "'\"%_;-/*[]\\() \t\r\nab\xC3\xA3\xE9";
  for (int i = 0; i < 20000; ++i) {
    std::string text;
    const int len = static_cast<int>(rng() % 12);
    for (int k = 0; k < len; ++k) text.push_back(alphabet[rng() % alphabet.size()]);
    for (const auto& [sql, pattern] : {std::pair{PrefixSearchSql(text), text + "%"},
                                       std::pair{SubstringSearchSql(text), "%" + text + "%"}}) {
      // The whole text is one statement...
      sqlite3_stmt* st = nullptr;
      const char* tail = nullptr;
      ASSERT_EQ(sqlite3_prepare_v2(raw, sql.c_str(), static_cast<int>(sql.size()), &st, &tail),
                SQLITE_OK)
          << "case " << i << ": " << sql;
      SqliteStatement owner(st);
      EXPECT_EQ(std::string(tail), "") << "case " << i << ": " << sql;
      // ...whose literal, read back by the engine, is exactly the pattern.
      const std::string probe = "select " + sql.substr(sql.find('\''));
      sqlite3_stmt* lit = nullptr;
      ASSERT_EQ(sqlite3_prepare_v2(raw, probe.c_str(), -1, &lit, &tail), SQLITE_OK) << probe;
      SqliteStatement lit_owner(lit);
      EXPECT_EQ(std::string(tail), "");
      ASSERT_EQ(sqlite3_step(lit), SQLITE_ROW);
      EXPECT_EQ(reinterpret_cast<const char*>(sqlite3_column_text(lit, 0)), pattern)
          << "case " << i;
      // Reading the pattern back out of the text gives what the engine reads.
      EXPECT_EQ(SearchPattern(sql), pattern) << "case " << i << ": " << sql;
    }
  }
}

// Only the two search texts themselves give a pattern: anything else runs as written.
TEST(SearchSql, PatternOnlyFromASearchText) {
  const char* others[] = {
      "select*from warna",
      "select*from warna where [ID] like'ab%' or 1=1",  // more after the literal
      "select*from warna where [ID] like'a'b%'",        // a lone quote ends it early
      "select*from warna where [ID] like'ab%'--'",
      "select*from warna where [ID] like 'ab%'",  // another blank: not ours
      "select*from warna where [ID] like'",
      "select * from warna where [ID] like'ab%'",
  };
  int n = 0;
  for (const char* sql : others) {
    EXPECT_EQ(SearchPattern(sql), std::nullopt) << "case " << n << ": " << sql;
    ++n;
  }
}

TEST(SearchSql, TrigramRunsCountCharactersBetweenWildcards) {
  struct Case {
    const char* pattern;
    bool want;
  } cases[] = {
      {"%abc%", true},
      {"%ab%", false},
      {"%a_c%", false},
      {"%ab%cd%", false},
      {"abc", true},
      {"%ab%cde", true},
      {"%'''%", true},
      {"%", false},
      {"%\xC3\xA3\xC3\xA9%", false},  // two characters in four bytes
      {"%\xC3\xA3\xC3\xA9n%", true},  // three characters
      {"%ab\xC3%", false},            // malformed UTF-8
  };
  int n = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(HasTrigramRun(c.pattern), c.want) << "case " << n << ": " << c.pattern;
    ++n;
  }
}

}  // namespace
}  // namespace sapala::data
