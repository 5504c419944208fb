// dictquery: rows as TSV with the header first, errors on stderr with a non-zero exit.
#include <gtest/gtest.h>

#include "core/data/workbook_writer.h"
#include "outside_tools.h"
#include "temp_dir.h"

namespace sapala::data {
namespace {

using testing::RunCommand;
using testing::ShellQuote;

TEST(Dictquery, PrintsRowsAndFails) {
  testing::TempDir dir;
  const std::string book =
      dir.Write("sapala.bat", WriteWorkbook({{"warna",
                                              {{"ID", "warna", "Hanacaraka"},
                                               {"abang", "merah", "\xEA\xA6\xB2"},
                                               {"abu", "abu\tabu", ""},
                                               {"ijo", "hijau", "x"}}}}));
  const std::string tool = ShellQuote(SAPALA_DICTQUERY) + " ";
  struct Case {
    std::string args;
    int status;
    std::string out, err;  // err: a part of stderr
  } cases[] = {
      {ShellQuote(book) + " " + ShellQuote("select*from warna where [ID] like'ab%'"), 0,
       "ID\twarna\tHanacaraka\nabang\tmerah\t\xEA\xA6\xB2\nabu\tabu abu\t\n", ""},
      {ShellQuote(book) + " " + ShellQuote("select ID from warna where ID='none'"), 0, "ID\n", ""},
      {ShellQuote(book) + " " + ShellQuote("select * from kamus"), 1, "",
       "dictquery: The table \"kamus\" is not in the dictionary workbook."},
      {ShellQuote(dir.File("missing.bat")) + " " + ShellQuote("select 1"), 1, "", "does not exist"},
      {ShellQuote(book), 2, "", "usage: dictquery WORKBOOK SQL"},
  };
  int n = 0;
  for (const auto& c : cases) {
    const auto r = RunCommand(tool + c.args + " 2>" + ShellQuote(dir.File("err")));
    const auto err = RunCommand("cat " + ShellQuote(dir.File("err")));
    EXPECT_EQ(r.status, c.status) << "case " << n << ": " << err.out;
    EXPECT_EQ(r.out, c.out) << "case " << n;
    EXPECT_NE(err.out.find(c.err), std::string::npos)
        << "case " << n << ": have stderr \"" << err.out << "\"";
    ++n;
  }
}

}  // namespace
}  // namespace sapala::data
