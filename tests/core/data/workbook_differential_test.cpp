// Workbooks written at test time by software nobody here wrote — Debian's python3-xlwt and
// Spreadsheet::WriteExcel, npm's xlsx with and without a shared string table — read by our
// reader and compared with catdoc's xls2csv: the cells of every sheet, and the rows the data
// layer's SQL returns. Each test skips, saying why, when a program is missing.
#include <gtest/gtest.h>

#include <fstream>
#include <variant>

#include "core/data/file.h"
#include "core/data/query.h"
#include "core/data/text.h"
#include "core/data/workbook.h"
#include "outside_tools.h"
#include "temp_dir.h"

namespace sapala::data {
namespace {

using testing::Grid;
using testing::RunCommand;
using testing::ShellQuote;
using testing::TempDir;
using testing::Works;

using Value = std::variant<std::monostate, std::string, double>;  // no cell, text, number
struct Sheet_ {
  std::string name;
  std::vector<std::vector<Value>> rows;
};

std::string U(char32_t cp) {
  std::string s;
  AppendUtf8(s, cp);
  return s;
}

// Accented Latin, Javanese script, quotes, commas, numbers, empty cells, and enough strings
// (one of them very long and of mixed width) that the shared string table runs through
// several CONTINUE records.
std::vector<Sheet_> TestBook() {
  const std::string ma = "m\xC3\xA3ng\xC3\xA3n";
  const std::string jav = U(0xA9A9) + U(0xA994) + U(0xA9A4) + U(0xA9C0);
  std::string long_text;
  for (int i = 0; i < 3000; ++i) long_text += (i % 3 == 2) ? U(0xA9B2) : (i % 3 ? "\xC3\xA9" : "a");
  Sheet_ warna{"warna", {{"ID", "warna", "Hanacaraka", "Angka"}}};
  warna.rows.push_back({ma, "makan (ngoko)", jav, 1.0});
  warna.rows.push_back({"l\xC3\xA9l\xC3\xA9", "ikan \"lele\", goreng", U(0xA9AD) + U(0xA9BA), 2.5});
  warna.rows.push_back({"gor\xC3\xA8ng", "it's", U(0xA992), -3.0});
  warna.rows.push_back({"s\xC3\xAAg\xC3\xA3", {}, U(0xA9B1), 0.25});
  warna.rows.push_back({"panjang", long_text, "x", 1234567.0});
  for (int i = 0; i < 400; ++i) {
    warna.rows.push_back({"tembung" + std::to_string(i), "arti \xC3\xA8 " + std::to_string(i * 7),
                          U(0xA98F + static_cast<char32_t>(i % 30)) + std::to_string(i),
                          static_cast<double>(i)});
  }
  Sheet_ second{"Kapindho", {{"A", {}, "C"}, {}, {{}, "b", {}, 42.0}, {"\xEA\xA6\x84"}}};
  return {warna, second};
}

std::string Json(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (b < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", b);
      out += buf;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// The book as JSON: cells are null, {"s": text} or {"n": number}.
std::string Json(const std::vector<Sheet_>& book) {
  std::string out = "[";
  for (std::size_t s = 0; s < book.size(); ++s) {
    out += (s ? "," : "") + std::string("{\"name\":") + Json(book[s].name) + ",\"rows\":[";
    for (std::size_t r = 0; r < book[s].rows.size(); ++r) {
      out += r ? ",[" : "[";
      for (std::size_t c = 0; c < book[s].rows[r].size(); ++c) {
        if (c) out += ",";
        const Value& v = book[s].rows[r][c];
        if (std::holds_alternative<std::monostate>(v)) {
          out += "null";
        } else if (const auto* t = std::get_if<std::string>(&v)) {
          out += "{\"s\":" + Json(*t) + "}";
        } else {
          char buf[64];
          std::snprintf(buf, sizeof buf, "{\"n\":%.17g}", std::get<double>(v));
          out += buf;
        }
      }
      out += "]";
    }
    out += "]}";
  }
  return out + "]";
}

// Every sheet's cells as rows of fields from column 0, only rows that have cells: the shape
// in which xls2csv prints them.
Grid OurGrid(const Workbook& book) {
  Grid g;
  for (const auto& sheet : book.sheets) {
    g.emplace_back();
    std::uint32_t row = 0xFFFFFFFF;
    for (const Cell& c : sheet.cells) {
      if (c.row != row) {
        g.back().emplace_back();
        row = c.row;
      }
      auto& fields = g.back().back();
      if (fields.size() <= c.col) fields.resize(c.col + 1);
      fields[c.col] = book.Text(c);
    }
  }
  return testing::Trimmed(g);
}

// The rows "select * from <sheet>" returns: the field names, then the records.
std::vector<std::vector<std::string>> QueryRows(const std::string& path, const std::string& sheet) {
  Connection c;
  c.OpenWorkbook(path);
  Query q(&c);
  q.SetSql("select * from [" + sheet + "]");
  q.Open();
  std::vector<std::vector<std::string>> rows(1);
  for (std::size_t i = 0; i < q.FieldCount(); ++i) rows[0].push_back(q.FieldName(i));
  for (std::size_t r = 0; r < q.RecordCount(); ++r) {
    rows.emplace_back();
    for (std::size_t i = 0; i < q.FieldCount(); ++i)
      rows.back().push_back(q.Value(r, i).value_or(""));
    while (!rows.back().empty() && rows.back().back().empty()) rows.back().pop_back();
  }
  return rows;
}

// `whole_long_text`: the writer keeps the 3000-character cell (npm's xlsx cuts BIFF8 text at
// 255 characters; catdoc and we then agree on the cut text).
void Compare(const std::string& path, const std::string& writer, bool whole_long_text = true) {
  const auto csv = RunCommand("xls2csv -d utf-8 " + ShellQuote(path));
  ASSERT_EQ(csv.status, 0) << writer << ": xls2csv failed";
  const Grid want = testing::Trimmed(testing::ParseXls2Csv(csv.out));
  const std::vector<std::uint8_t> bytes = ReadWholeFile(path, kMaxWorkbookBytes);
  const Grid have = OurGrid(ReadWorkbook(bytes));
  ASSERT_EQ(have.size(), want.size()) << writer << ": sheet count";
  for (std::size_t s = 0; s < want.size(); ++s) {
    ASSERT_EQ(have[s].size(), want[s].size()) << writer << ": sheet " << s << " row count";
    for (std::size_t r = 0; r < want[s].size(); ++r) {
      EXPECT_EQ(have[s][r], want[s][r]) << writer << ": sheet " << s << " row " << r;
    }
  }
  // The first sheet is a table whose first row names the columns; its rows are catdoc's.
  const auto rows = QueryRows(path, "warna");
  EXPECT_EQ(rows, want[0]) << writer << ": the rows of select * from warna";
  // The long, mixed-width string crossed record boundaries intact.
  if (whole_long_text) {
    EXPECT_EQ(rows.at(5).at(1).size(), 1000u + 1000u * 2 + 1000u * 3) << writer;
  }
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

bool HaveXls2Csv() { return Works("command -v xls2csv"); }

TEST(WorkbookDifferential, PythonXlwt) {
  if (!HaveXls2Csv()) GTEST_SKIP() << "catdoc's xls2csv is not installed (apt-get install catdoc)";
  if (!Works("/usr/bin/python3 -c 'import xlwt'")) {
    GTEST_SKIP() << "Debian's python3-xlwt is not installed (apt-get install python3-xlwt)";
  }
  TempDir dir;
  WriteText(dir.File("book.json"), Json(TestBook()));
  WriteText(dir.File("write.py"), R"(
import json, sys, xlwt
data = json.load(open(sys.argv[1], encoding='utf-8'))
wb = xlwt.Workbook(encoding='utf-8')
for sheet in data:
    ws = wb.add_sheet(sheet['name'])
    for r, row in enumerate(sheet['rows']):
        for c, v in enumerate(row):
            if v is not None:
                ws.write(r, c, v['n'] if 'n' in v else v['s'])
wb.save(sys.argv[2])
)");
  const auto r = RunCommand("/usr/bin/python3 " + ShellQuote(dir.File("write.py")) + " " +
                            ShellQuote(dir.File("book.json")) + " " +
                            ShellQuote(dir.File("xlwt.xls")) + " 2>&1");
  ASSERT_EQ(r.status, 0) << r.out;
  Compare(dir.File("xlwt.xls"), "xlwt");
}

TEST(WorkbookDifferential, PerlSpreadsheetWriteExcel) {
  if (!HaveXls2Csv()) GTEST_SKIP() << "catdoc's xls2csv is not installed (apt-get install catdoc)";
  if (!Works("perl -MSpreadsheet::WriteExcel -e 1")) {
    GTEST_SKIP() << "Spreadsheet::WriteExcel is not installed "
                    "(apt-get install libspreadsheet-writeexcel-perl)";
  }
  TempDir dir;
  WriteText(dir.File("book.json"), Json(TestBook()));
  WriteText(dir.File("write.pl"), R"(
use strict; use warnings; use JSON::PP; use Spreadsheet::WriteExcel;
open(my $f, '<:raw', $ARGV[0]) or die; local $/; my $data = JSON::PP->new->utf8->decode(<$f>);
my $wb = Spreadsheet::WriteExcel->new($ARGV[1]) or die;
for my $sheet (@$data) {
  my $ws = $wb->add_worksheet($sheet->{name});
  my $r = 0;
  for my $row (@{$sheet->{rows}}) {
    my $c = 0;
    for my $v (@$row) {
      if (defined $v) {
        if (exists $v->{n}) { $ws->write_number($r, $c, $v->{n}); }
        else { $ws->write_string($r, $c, $v->{s}); }
      }
      $c++;
    }
    $r++;
  }
}
$wb->close() or die;
)");
  const auto r = RunCommand("perl " + ShellQuote(dir.File("write.pl")) + " " +
                            ShellQuote(dir.File("book.json")) + " " +
                            ShellQuote(dir.File("perl.xls")) + " 2>&1");
  ASSERT_EQ(r.status, 0) << r.out;
  Compare(dir.File("perl.xls"), "Spreadsheet::WriteExcel");
}

TEST(WorkbookDifferential, NpmXlsxWithAndWithoutSharedStrings) {
  if (!HaveXls2Csv()) GTEST_SKIP() << "catdoc's xls2csv is not installed (apt-get install catdoc)";
  if (!Works("command -v node")) GTEST_SKIP() << "node is not installed";
  const std::string xlsx = testing::FindNpmXlsx();
  if (xlsx.empty()) {
    GTEST_SKIP() << "npm's xlsx is not installed under the build tree "
                    "(npm install --prefix build/npm xlsx)";
  }
  TempDir dir;
  WriteText(dir.File("book.json"), Json(TestBook()));
  WriteText(dir.File("write.js"), R"(
const fs = require('fs');
const X = require(process.argv[2]);
const data = JSON.parse(fs.readFileSync(process.argv[3], 'utf8'));
const wb = X.utils.book_new();
for (const s of data) {
  const aoa = s.rows.map(r => r.map(v => v === null ? null : ('n' in v ? v.n : v.s)));
  X.utils.book_append_sheet(wb, X.utils.aoa_to_sheet(aoa), s.name);
}
X.writeFile(wb, process.argv[4], {bookType: 'biff8', bookSST: process.argv[5] === 'sst'});
)");
  for (const char* mode : {"sst", "nosst"}) {
    const std::string out = dir.File(std::string("xlsx-") + mode + ".xls");
    const auto r = RunCommand("node " + ShellQuote(dir.File("write.js")) + " " + ShellQuote(xlsx) +
                              " " + ShellQuote(dir.File("book.json")) + " " + ShellQuote(out) +
                              " " + mode + " 2>&1");
    ASSERT_EQ(r.status, 0) << r.out;
    Compare(out, std::string("xlsx ") + mode, false);
  }
}

}  // namespace
}  // namespace sapala::data
