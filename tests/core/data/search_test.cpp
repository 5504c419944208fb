// The search steps: an empty field runs the query once and leaves it closed and empty;
// otherwise the query is left open on the matches; a failing query propagates its error.
#include "core/data/search.h"

#include <gtest/gtest.h>

#include "core/data/error.h"
#include "core/data/workbook_writer.h"
#include "temp_dir.h"

namespace sapala::data {
namespace {

TEST(Search, StepsLeaveTheQueryAsTheWindowExpects) {
  testing::TempDir dir;
  const std::string good = dir.Write(
      "good.bat",
      WriteWorkbook(
          {{"warna",
            {{"ID", "warna"}, {"abang", "merah"}, {"kabar", "berita"}, {"ijo", "hijau"}}}}));
  const std::string wrong = dir.Write("wrong.bat", WriteWorkbook({{"kamus", {{"ID"}, {"a"}}}}));
  Connection c;
  c.OpenWorkbook(good);
  Query q(&c);
  std::string field;
  int reads = 0;
  const FieldText text = [&] {
    ++reads;
    return field;
  };
  struct Case {
    std::string field;
    bool substring;
    bool active;
    std::size_t rows;
    std::string sql;
  } cases[] = {
      {"ab", false, true, 1, "select*from warna where [ID] like'ab%'"},
      {"ab", true, true, 2, "select*from warna where[ID] like'%ab%'"},
      {"", false, false, 0, ""},
      {"", true, false, 0, ""},
      {"zz", true, true, 0, "select*from warna where[ID] like'%zz%'"},
  };
  int n = 0;
  for (const auto& cs : cases) {
    field = cs.field;
    reads = 0;
    cs.substring ? SubstringSearch(q, text) : PrefixSearch(q, text);
    EXPECT_EQ(q.active(), cs.active) << "case " << n;
    EXPECT_EQ(q.RecordCount(), cs.rows) << "case " << n;
    EXPECT_EQ(q.sql(), cs.sql) << "case " << n;
    EXPECT_EQ(reads, 2) << "case " << n << ": the field is read before and after the query";
    ++n;
  }
  // An empty field still runs the query once: against a workbook without the table, the
  // error comes through and the query stays closed.
  c.OpenWorkbook(wrong);
  field.clear();
  EXPECT_THROW(PrefixSearch(q, text), DataError);
  EXPECT_FALSE(q.active());
  EXPECT_THROW(SubstringSearch(q, text), DataError);
}

}  // namespace
}  // namespace sapala::data
