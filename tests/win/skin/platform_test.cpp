// The command line is split with shell32 only when it holds more than the program's name: a
// line that has arguments must never be taken for one without (its switches would be lost).
// Each case is also split by CommandLineToArgvW itself, which must agree.
#include "win/skin/platform.h"

#include <gtest/gtest.h>
#include <shellapi.h>

namespace sapala::win::skin {
namespace {

TEST(CommandLineTest, ArgumentsAreFoundWhereTheSystemFindsThem) {
  struct Case {
    const wchar_t* line;
    bool arguments;
  } cases[] = {
      {L"sapala.exe", false},
      {L"\"C:\\Program Files\\Sapala Vova\\sapala.exe\"", false},
      {L"\"C:\\Program Files\\Sapala Vova\\sapala.exe\"  \t", false},
      {L"sapala.exe ", false},
      {L"\"C:\\Program Files\\Sapala Vova\\sapala.exe\" /lctest", true},
      {L"\"C:\\Program Files\\Sapala Vova\\sapala.exe\"/lcver",
       true},                                    // no blank needed after the quote
      {L"C:\\Program Files\\sapala.exe", true},  // unquoted: "Files\\sapala.exe" is an argument
      {L"sapala.exe\t/lcpreview", true},
      {L"sapala.exe \"\"", true},  // one empty argument
      {L"\"sapala.exe", false},    // the name runs to the end
  };
  int n = 0;
  for (const Case& c : cases) {
    EXPECT_EQ(CommandLineHasArguments(c.line), c.arguments) << "case " << n;
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(c.line, &count);
    ASSERT_NE(argv, nullptr) << "case " << n;
    ::LocalFree(argv);
    EXPECT_EQ(count > 1, c.arguments)
        << "case " << n << ": the system sees " << count << " arguments";
    ++n;
  }
}

}  // namespace
}  // namespace sapala::win::skin
