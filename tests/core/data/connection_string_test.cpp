// Connection strings: the program's own string, quoting, and the ways a string can be wrong.
#include "core/data/connection_string.h"

#include <gtest/gtest.h>

#include "core/data/error.h"

namespace sapala::data {
namespace {

// The main window's connection string, as stored in its description.
constexpr const char* kProgramConnection =
    "Provider=MSDASQL.1;Password=qovtar;Persist Security Info=True;User ID=admin;"
    "Extended Properties=\"DSN=Excel Files;DBQ=C:\\Program Files\\Sapala Vova\\sapala.bat;"
    "DefaultDir=C:\\Program Files\\Sapala Vova;DriverId=1046;MaxBufferSize=2048;"
    "PageTimeout=5;\"";

TEST(ConnectionString, TheProgramsOwnString) {
  const ConnectionString cs = ParseConnectionString(kProgramConnection);
  ASSERT_EQ(cs.pairs.size(), 5u);
  EXPECT_EQ(cs.pairs[0], (std::pair<std::string, std::string>{"Provider", "MSDASQL.1"}));
  EXPECT_EQ(cs.Get("password"), "qovtar");
  EXPECT_EQ(cs.Get(" USER id "), "admin");
  EXPECT_EQ(cs.Get("Extended Properties").value().substr(0, 19), "DSN=Excel Files;DBQ");
  EXPECT_EQ(WorkbookPathFromConnectionString(kProgramConnection),
            "C:\\Program Files\\Sapala Vova\\sapala.bat");
}

TEST(ConnectionString, WorkbookPaths) {
  struct Case {
    std::string text, want;
  } cases[] = {
      {"DBQ=/tmp/a.xls", "/tmp/a.xls"},
      {"Driver={x};dbq = /tmp/b c.xls ;", "/tmp/b c.xls"},
      {"Extended Properties='DBQ=/tmp/q.xls;DSN=x'", "/tmp/q.xls"},
      {"DBQ=\"/tmp/semi;colon.xls\"", "/tmp/semi;colon.xls"},
      {"DBQ=\"/tmp/say \"\"hi\"\".xls\"", "/tmp/say \"hi\".xls"},
      {"Extended Properties=\"DBQ=\"\"/tmp/x;y.xls\"\"\"", "/tmp/x;y.xls"},
      {"DBQ=/top.xls;Extended Properties=\"DBQ=/inner.xls\"", "/top.xls"},
      {";;DBQ=/a.xls;;", "/a.xls"},
  };
  int n = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(WorkbookPathFromConnectionString(c.text), c.want) << "case " << n;
    ++n;
  }
}

TEST(ConnectionString, Errors) {
  const char* cases[] = {
      "",                                    // no workbook
      "Provider=MSDASQL.1;User ID=admin",    // no workbook
      "DBQ=",                                // empty workbook
      "Extended Properties=\"DSN=x;DBQ=/a",  // unterminated quote
      "DBQ=\"/a.xls\" junk",                 // text after a quoted value
      "Provider=x;garbage;DBQ=/a.xls",       // a piece without "="
  };
  int n = 0;
  for (const char* c : cases) {
    EXPECT_THROW(WorkbookPathFromConnectionString(c), DataError) << "case " << n;
    ++n;
  }
}

}  // namespace
}  // namespace sapala::data
