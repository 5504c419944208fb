// Running the outside programs that differential tests compare against (catdoc's xls2csv,
// Debian's python3-xlwt and Spreadsheet::WriteExcel, npm's xlsx), and reading xls2csv's CSV.
#pragma once

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace sapala::data::testing {

struct CommandResult {
  int status = -1;
  std::string out;
};

// Runs `command` through the shell and collects its standard output. Under Windows there is
// no shell with these programs: every command fails, and the tests that need them skip.
inline CommandResult RunCommand(const std::string& command) {
  CommandResult r;
#ifdef _WIN32
  (void)command;
  return r;
#else
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return r;
  std::array<char, 4096> buf;
  std::size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) r.out.append(buf.data(), n);
  const int status = pclose(pipe);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
#endif
}

inline bool Works(const std::string& command) {
  return RunCommand(command + " >/dev/null 2>&1").status == 0;
}

inline std::string ShellQuote(const std::string& s) {
  std::string out = "'";
  for (char c : s) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out.push_back(c);
    }
  }
  return out + "'";
}

// Sheets of rows of fields, as xls2csv prints them: one line per row that has cells,
// sheets ended by a form feed, fields in double quotes with "" for a quote.
using Grid = std::vector<std::vector<std::vector<std::string>>>;

inline Grid ParseXls2Csv(const std::string& text) {
  Grid sheets(1);
  std::vector<std::string> row;
  std::string field;
  bool quoted = false, row_started = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field.push_back('"');
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field.push_back(c);
      }
      continue;
    }
    if (c == '"') {
      quoted = row_started = true;
    } else if (c == ',') {
      row.push_back(std::move(field));
      field.clear();
      row_started = true;
    } else if (c == '\n') {
      row.push_back(std::move(field));
      field.clear();
      sheets.back().push_back(std::move(row));
      row.clear();
      row_started = false;
    } else if (c == '\f') {
      sheets.emplace_back();
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      field.push_back(c);
      row_started = true;
    }
  }
  if (row_started) {
    row.push_back(std::move(field));
    sheets.back().push_back(std::move(row));
  }
  while (!sheets.empty() && sheets.back().empty()) sheets.pop_back();
  return sheets;
}

// Drops empty fields at the ends of rows, so grids from different printers compare.
inline Grid Trimmed(Grid g) {
  for (auto& sheet : g) {
    for (auto& row : sheet) {
      while (!row.empty() && row.back().empty()) row.pop_back();
    }
  }
  return g;
}

// npm's xlsx, installed under the build tree (npm install --prefix build/npm xlsx).
inline std::string FindNpmXlsx() {
  std::vector<std::filesystem::path> places;
  if (const char* dir = std::getenv("SAPALA_NPM_DIR")) places.emplace_back(dir);
  places.emplace_back(std::filesystem::path(SAPALA_BINARY_DIR) / "npm");
  places.emplace_back(std::filesystem::path(SAPALA_SOURCE_DIR) / "build" / "npm");
  for (const auto& p : places) {
    const auto module = p / "node_modules" / "xlsx";
    if (std::filesystem::exists(module / "package.json")) return module.string();
  }
  return {};
}

}  // namespace sapala::data::testing
