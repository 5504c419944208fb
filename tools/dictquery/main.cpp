// dictquery WORKBOOK SQL: runs one SQL text on a workbook through the data layer and prints
// the result as tab-separated UTF-8, the field names first. NULL prints as an empty field;
// tabs and line breaks inside a value print as blanks so each record stays one line.
// On failure the message goes to stderr and the exit status is 1 (2 for wrong usage).
#include <cstdio>
#include <exception>
#include <string>

#include "core/data/error.h"
#include "core/data/query.h"

namespace {

void PrintField(const std::string& s) {
  for (char c : s) std::fputc(c == '\t' || c == '\n' || c == '\r' ? ' ' : c, stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: dictquery WORKBOOK SQL\n");
    return 2;
  }
  try {
    sapala::data::Connection connection;
    connection.OpenWorkbook(argv[1]);
    sapala::data::Query query(&connection);
    query.SetSql(argv[2]);
    query.Open();
    for (std::size_t i = 0; i < query.FieldCount(); ++i) {
      if (i) std::fputc('\t', stdout);
      PrintField(query.FieldName(i));
    }
    std::fputc('\n', stdout);
    for (std::size_t r = 0; r < query.RecordCount(); ++r) {
      for (std::size_t i = 0; i < query.FieldCount(); ++i) {
        if (i) std::fputc('\t', stdout);
        PrintField(query.Value(r, i).value_or(std::string()));
      }
      std::fputc('\n', stdout);
    }
    if (std::fflush(stdout) != 0) {
      std::fprintf(stderr, "dictquery: cannot write the output\n");
      return 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "dictquery: %s\n", e.what());
    return 1;
  }
  return 0;
}
