// dictbuild: the word-list parser's rules, the sheet it makes, and the real tool's output
// read back by catdoc's xls2csv and by our data layer.
#include "dictbuild/dictbuild.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/data/query.h"
#include "core/data/search_sql.h"
#include "core/script/hanacaraka.h"
#include "outside_tools.h"
#include "temp_dir.h"

namespace sapala::tools {
namespace {

using data::testing::RunCommand;
using data::testing::ShellQuote;
using data::testing::TempDir;

TEST(Dictbuild, ParsesTheWordList) {
  struct Case {
    std::string text;
    std::vector<std::vector<std::string>> want;
  } cases[] = {
      {"ID\twarna\nabang\tmerah\n", {{"abang", "merah"}}},
      {"ID\twarna\r\nabang\tmerah\r\n\r\nijo\thijau", {{"abang", "merah"}, {"ijo", "hijau"}}},
      {"\xEF\xBB\xBFID\twarna\nm\xC3\xA3ng\xC3\xA3n\tmakan (ngoko)\n",
       {{"m\xC3\xA3ng\xC3\xA3n", "makan (ngoko)"}}},
      {"ID\twarna\nx\t\n", {{"x", ""}}},  // a meaning may be empty; a headword may not
      {"ID\twarna\n", {}},
  };
  int n = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(ParseDictionaryTsv(c.text), c.want) << "case " << n;
    ++n;
  }
}

TEST(Dictbuild, RejectsBadWordListsNamingTheLine) {
  struct Case {
    std::string text, want;
  } cases[] = {
      {"", "no header"},
      {"ID\tmeaning\nx\ty\n", "line 1"},
      {"ID\twarna\nabang merah\n", "line 2: want two fields"},
      {"ID\twarna\na\tb\tc\n", "line 2: want two fields"},
      {"ID\twarna\n\tmerah\n", "line 2: empty headword"},
      {"ID\twarna\nok\tfine\nl\xE9l\xE9\tikan\n", "line 3: not UTF-8"},
      {"ID\twarna\na\tb\x01\n", "line 2: control character"},
  };
  int n = 0;
  for (const auto& c : cases) {
    try {
      ParseDictionaryTsv(c.text);
      ADD_FAILURE() << "case " << n << ": have success, want an error with \"" << c.want << "\"";
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(c.want), std::string::npos)
          << "case " << n << ": have \"" << e.what() << "\", want \"" << c.want << "\"";
    }
    ++n;
  }
}

TEST(Dictbuild, TheToolsWorkbookReadsBack) {
  TempDir dir;
  const std::string tsv = dir.File("words.tsv");
  std::ofstream(tsv, std::ios::binary)
      << "ID\twarna\nm\xC3\xA3ng\xC3\xA3n\tmakan (ngoko)\nnedha\tmakan (krama)\n"
         "l\xC3\xA9l\xC3\xA9\tikan lele\ngor\xC3\xA8ng\tgoreng, \"digoreng\"\nliwet\tnasi liwet\n";
  const std::string bat = dir.File("sapala.bat");
  const auto run = RunCommand(ShellQuote(SAPALA_DICTBUILD) + " " + ShellQuote(tsv) + " " +
                              ShellQuote(bat) + " 2>&1");
  ASSERT_EQ(run.status, 0) << run.out;

  const std::vector<std::vector<std::string>> want = {
      {"ID", "warna", "Hanacaraka"},
      {"m\xC3\xA3ng\xC3\xA3n", "makan (ngoko)", script::ToHanacaraka("m\xC3\xA3ng\xC3\xA3n")},
      {"nedha", "makan (krama)", script::ToHanacaraka("nedha")},
      {"l\xC3\xA9l\xC3\xA9", "ikan lele", script::ToHanacaraka("l\xC3\xA9l\xC3\xA9")},
      {"gor\xC3\xA8ng", "goreng, \"digoreng\"", script::ToHanacaraka("gor\xC3\xA8ng")},
      {"liwet", "nasi liwet", script::ToHanacaraka("liwet")},
  };
  if (data::testing::Works("command -v xls2csv")) {
    const auto csv = RunCommand("xls2csv -d utf-8 " + ShellQuote(bat));
    ASSERT_EQ(csv.status, 0);
    const auto sheets = data::testing::ParseXls2Csv(csv.out);
    ASSERT_EQ(sheets.size(), 1u);
    EXPECT_EQ(sheets[0], want) << "catdoc's reading";
  } else {
    std::printf("catdoc's xls2csv is not installed: only our own reader checks the workbook\n");
  }
  data::Connection c;
  c.OpenWorkbook(bat);
  data::Query q(&c);
  q.SetSql(data::PrefixSearchSql("l\xC3\xA9"));
  q.Open();
  ASSERT_EQ(q.RecordCount(), 1u);
  EXPECT_EQ(q.AsString("Hanacaraka"), want[3][2]);
  EXPECT_EQ(want[3][2].substr(0, 3), "\xEA\xA6\xAD") << "the script column holds Javanese script";

  // A bad word list leaves no workbook behind and says which line is wrong.
  std::ofstream(tsv, std::ios::binary | std::ios::trunc) << "ID\twarna\nbroken line\n";
  const std::string bad = dir.File("bad.bat");
  const auto fail = RunCommand(ShellQuote(SAPALA_DICTBUILD) + " " + ShellQuote(tsv) + " " +
                               ShellQuote(bad) + " 2>&1");
  EXPECT_NE(fail.status, 0);
  EXPECT_NE(fail.out.find("line 2"), std::string::npos) << fail.out;
  EXPECT_FALSE(std::ifstream(bad).good());
}

TEST(Dictbuild, TheDictionaryWordListBuildsAndReadsBack) {
  const std::string tsv = std::string(SAPALA_SOURCE_DIR) + "/assets/dictionary/sapala.tsv";
  std::ifstream in(tsv, std::ios::binary);
  if (!in) GTEST_SKIP() << "no word list at " << tsv;
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  const auto entries = ParseDictionaryTsv(text);
  ASSERT_GE(entries.size(), 2000u);
  TempDir dir;
  const std::string bat = dir.File("sapala.bat");
  const auto run = RunCommand(ShellQuote(SAPALA_DICTBUILD) + " " + ShellQuote(tsv) + " " +
                              ShellQuote(bat) + " 2>&1");
  ASSERT_EQ(run.status, 0) << run.out;

  // Every row, as the program's queries see it: "select * from warna" in workbook order.
  data::Connection c;
  c.OpenWorkbook(bat);
  data::Query q(&c);
  q.SetSql("select * from warna");
  q.Open();
  ASSERT_EQ(q.RecordCount(), entries.size());
  for (std::size_t r = 0; r < entries.size(); ++r) {
    ASSERT_EQ(q.Value(r, 0).value_or(""), entries[r][0]) << "row " << r;
    ASSERT_EQ(q.Value(r, 1).value_or(""), entries[r][1]) << "row " << r;
    ASSERT_EQ(q.Value(r, 2).value_or(""), script::ToHanacaraka(entries[r][0])) << "row " << r;
  }
  if (data::testing::Works("command -v xls2csv")) {
    const auto csv = RunCommand("xls2csv -d utf-8 " + ShellQuote(bat));
    ASSERT_EQ(csv.status, 0);
    const auto sheets = data::testing::ParseXls2Csv(csv.out);
    ASSERT_EQ(sheets.size(), 1u);
    ASSERT_EQ(sheets[0].size(), entries.size() + 1);
    for (std::size_t r = 0; r < entries.size(); ++r) {
      const std::vector<std::string> want = {entries[r][0], entries[r][1],
                                             script::ToHanacaraka(entries[r][0])};
      ASSERT_EQ(sheets[0][r + 1], want) << "catdoc, row " << r + 1;
    }
  }
}

}  // namespace
}  // namespace sapala::tools
