// keystroke_bench: the time from a key in the search field to both lists repainted, in the real
// main window under the real message loop, over a workbook given on the command line.
//   keystroke_bench DICTIONARY [BENCHBOOK SHEET...]
// The window opens over DICTIONARY. With a benchmark workbook, its sheets are then joined into
// one table "warna" that the window searches instead (the benchmark workbook spreads its
// 200,000 rows over sheets of 50,000; one sheet of the format holds at most 65,536 rows).
// Prints the median and the 90th percentile over the keystrokes of a fixed list of words.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "core/data/database.h"
#include "core/data/file.h"
#include "core/data/workbook.h"
#include "win/app/unit1.h"
#include "win/app/unit2.h"
#include "win/framework/application.h"
#include "win/framework/dib.h"
#include "win/framework/text.h"

using namespace sapala;

namespace {

std::string Description(const std::string& workbook) {
  std::ifstream in(SAPALA_SOURCE_DIR "/src/win/app/forms/Unit1.dfm", std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  std::string text = s.str();
  const auto start = text.find("    ConnectionString =");
  const auto end = text.find("    LoginPrompt", start);
  text.replace(start, end - start, "    ConnectionString = 'Extended Properties=\"DBQ=" + workbook + ";\"'\n");
  return text;
}

double Now() {
  LARGE_INTEGER f, c;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: keystroke_bench DICTIONARY [BENCHBOOK SHEET...]\n");
    return 2;
  }
  win::InstallDibSections();
  app::RegisterProgramClasses();
  win::TApplication application;
  try {
    const std::string workbook = win::Narrow(argv[1]);
    app::Form1 = &application.CreateForm<app::TForm1>(Description(workbook));
    app::Form2 = &application.CreateForm<app::TForm2>();
    std::size_t rows = 0;
    if (argc > 3) {
      const std::string bench = win::Narrow(argv[2]);
      auto book = data::ReadWorkbook(data::ReadWholeFile(bench, std::size_t{1} << 28));
      auto db = std::make_unique<data::Database>();
      std::string join = "create table warna as ";
      for (int i = 3; i < argc; ++i) {
        const std::string name = win::Narrow(argv[i]);
        for (const auto& sheet : book.sheets) {
          if (sheet.name == name) db->AddSheet(book, sheet);
        }
        if (i > 3) join += " union all ";
        join += "select * from " + data::QuoteIdentifier(name);
      }
      db->Exec(join);
      db->Exec("create index warna_id on warna(ID collate nocase)");
      db->MakeReadOnly();
      app::Form1->ADOConnection1->Core().OpenDatabase(std::move(db), bench);
    }
    app::Form1->Show();
    application.ProcessMessages();
    {
      data::Query count(&app::Form1->ADOConnection1->Core());
      count.SetSql("select count(*) from warna");
      count.Open();
      rows = std::stoul(count.Value(0, 0).value_or("0"));
    }
    HWND edit = app::Form1->Edit1->WindowHandle();
    HWND grid1 = app::Form1->DBGrid1->WindowHandle();
    HWND grid2 = app::Form1->DBGrid2->WindowHandle();
    const wchar_t* words[] = {L"kembang", L"sega", L"banyu", L"ngomong", L"turu", L"abang", L"lawang", L"pitik"};
    std::vector<double> times;
    for (int round = 0; round < 3; ++round) {
      for (const wchar_t* word : words) {
        app::Form1->Edit1->SetText(L"");
        for (const wchar_t* p = word; *p; ++p) {
          const double t0 = Now();
          ::PostMessageW(edit, WM_CHAR, *p, 1);
          application.ProcessMessages();
          ::UpdateWindow(grid1);
          ::UpdateWindow(grid2);
          ::GdiFlush();
          times.push_back(Now() - t0);
        }
        const double t0 = Now();
        ::PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
        application.ProcessMessages();
        ::UpdateWindow(grid1);
        ::UpdateWindow(grid2);
        ::GdiFlush();
        times.push_back(Now() - t0);
      }
    }
    std::sort(times.begin(), times.end());
    std::printf("rows %zu keystrokes %zu median %.2f ms p90 %.2f ms max %.2f ms\n", rows, times.size(),
                times[times.size() / 2], times[times.size() * 9 / 10], times.back());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "keystroke_bench: %s\n", e.what());
    return 1;
  }
  return 0;
}
