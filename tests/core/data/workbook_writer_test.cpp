// BIFF8 writer: what it writes reads back the same through our reader and through catdoc's
// xls2csv (an independent reader), with shared strings split over CONTINUE records; sheets
// over BIFF8's limits are refused.
#include "core/data/workbook_writer.h"

#include <gtest/gtest.h>

#include "core/data/error.h"
#include "core/data/text.h"
#include "core/data/workbook.h"
#include "outside_tools.h"
#include "temp_dir.h"

namespace sapala::data {
namespace {

using testing::TempDir;

std::vector<SheetData> Sample() {
  std::string wide_long;  // 16-bit text far longer than one record
  for (int i = 0; i < 6000; ++i) AppendUtf8(wide_long, 0xA984 + static_cast<char32_t>(i % 40));
  std::vector<std::vector<std::string>> rows{{"ID", "warna", "Hanacaraka"}};
  for (int i = 0; i < 2500; ++i) {
    // Narrow and wide strings alternate so that record boundaries fall on both kinds.
    rows.push_back({"tembung" + std::to_string(i),
                    i % 2 ? "arti" + std::to_string(i) : "\xC3\xA9" + std::to_string(i),
                    "\xEA\xA6\xA7" + std::to_string(i)});
  }
  rows.push_back({"long", std::string(20000, 'q'), wide_long});
  rows.push_back({"same", "arti1", ""});  // a repeated string, and an empty cell
  return {{"warna", rows}, {"S\xC3\xA9", {{"a"}, {"", "b"}}}};
}

std::vector<std::vector<std::vector<std::string>>> AsGrid(const std::vector<SheetData>& sheets) {
  std::vector<std::vector<std::vector<std::string>>> g;
  for (const auto& s : sheets) {
    g.emplace_back();
    for (const auto& row : s.rows) {
      g.back().push_back(row);
      while (!g.back().back().empty() && g.back().back().back().empty()) g.back().back().pop_back();
    }
  }
  return g;
}

std::vector<std::vector<std::vector<std::string>>> ReadBack(const Workbook& book) {
  std::vector<std::vector<std::vector<std::string>>> g;
  for (const auto& sheet : book.sheets) {
    g.emplace_back();
    for (const Cell& c : sheet.cells) {
      if (g.back().size() <= c.row) g.back().resize(c.row + 1);
      auto& row = g.back()[c.row];
      if (row.size() <= c.col) row.resize(c.col + 1);
      row[c.col] = book.Text(c);
    }
  }
  return g;
}

TEST(WorkbookWriter, ReadsBackWithAndWithoutSharedStrings) {
  const auto sheets = Sample();
  for (bool sst : {true, false}) {
    auto use = sheets;
    if (!sst) use[0].rows.resize(use[0].rows.size() - 2);  // a LABEL record holds at most 8 KiB
    const Workbook book = ReadWorkbook(WriteWorkbook(use, {sst}));
    ASSERT_EQ(book.sheets.size(), 2u);
    EXPECT_EQ(book.sheets[1].name, "S\xC3\xA9");
    EXPECT_EQ(ReadBack(book), AsGrid(use)) << (sst ? "shared strings" : "LABEL records");
  }
}

TEST(WorkbookWriter, CatdocReadsWhatWeWrite) {
  if (!testing::Works("command -v xls2csv")) {
    GTEST_SKIP() << "catdoc's xls2csv is not installed (apt-get install catdoc)";
  }
  TempDir dir;
  const auto sheets = Sample();
  const std::string path = dir.Write("ours.xls", WriteWorkbook(sheets));
  const auto csv = testing::RunCommand("xls2csv -d utf-8 " + testing::ShellQuote(path));
  ASSERT_EQ(csv.status, 0);
  const auto have = testing::Trimmed(testing::ParseXls2Csv(csv.out));
  const auto want = AsGrid(sheets);
  ASSERT_EQ(have.size(), want.size());
  for (std::size_t s = 0; s < want.size(); ++s) {
    ASSERT_EQ(have[s].size(), want[s].size()) << "sheet " << s;
    for (std::size_t r = 0; r < want[s].size(); ++r) {
      EXPECT_EQ(have[s][r], want[s][r]) << "sheet " << s << " row " << r;
    }
  }
}

TEST(WorkbookWriter, RefusesWhatBiff8CannotHold) {
  struct Case {
    std::string what;
    std::vector<SheetData> sheets;
  } cases[] = {
      {"65,537 rows", {{"s", std::vector<std::vector<std::string>>(65537, {"x"})}}},
      {"257 columns", {{"s", {std::vector<std::string>(257, "x")}}}},
      {"empty sheet name", {{"", {{"x"}}}}},
      {"32-character sheet name", {{std::string(32, 'n'), {{"x"}}}}},
      {"32,768-character cell", {{"s", {{std::string(32768, 'x')}}}}},
  };
  for (const auto& c : cases) EXPECT_THROW(WriteWorkbook(c.sheets), DataError) << c.what;
  // The largest sheet BIFF8 holds is written.
  const auto most = WriteWorkbook({{"s", std::vector<std::vector<std::string>>(65536, {"x"})}});
  EXPECT_EQ(ReadWorkbook(most).sheets.at(0).cells.size(), 65536u);
}

}  // namespace
}  // namespace sapala::data
