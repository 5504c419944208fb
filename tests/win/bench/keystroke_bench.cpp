// keystroke_bench: the time from a key in the search field to both lists repainted, in the real
// main window under the real message loop.
//   keystroke_bench DICTIONARY [BENCHBOOK]
// The window opens over DICTIONARY (the installed 2,309-row workbook) and types a fixed list of
// words, each followed by Enter: that run is the peer. With BENCHBOOK (the 200,000-row
// benchmark workbook, its sheets joined into one table "warna" as the data benchmark does),
// the same keys are typed again over it. Also measured there: the process's private bytes
// with the benchmark dictionary open, against the size of the workbook file.
// Prints one "RESULT name value" line per figure (times in ms, sizes in bytes).
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../../../bench/support/bench_book.h"
#include "core/data/search.h"
#include "core/data/search_sql.h"
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
  text.replace(start, end - start,
               "    ConnectionString = 'Extended Properties=\"DBQ=" + workbook + ";\"'\n");
  return text;
}

double Now() {
  LARGE_INTEGER f, c;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

// Private bytes; Wine leaves PrivateUsage at 0 and reports the pagefile usage (the process's
// committed private memory) instead.
double PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  pmc.cb = sizeof pmc;
  ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc),
                         sizeof pmc);
  std::fprintf(stderr, "memory: private %zu pagefile %zu working set %zu\n",
               static_cast<std::size_t>(pmc.PrivateUsage),
               static_cast<std::size_t>(pmc.PagefileUsage),
               static_cast<std::size_t>(pmc.WorkingSetSize));
  return static_cast<double>(pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage);
}

struct Times {
  std::vector<double> keys, enters;
};

// Types every word a letter at a time into an emptied field, then Enter; three rounds.
Times Type(win::TApplication& application) {
  HWND edit = app::Form1->Edit1->WindowHandle();
  HWND grid1 = app::Form1->DBGrid1->WindowHandle();
  HWND grid2 = app::Form1->DBGrid2->WindowHandle();
  const wchar_t* words[] = {L"kembang", L"sega",  L"banyu",  L"ngomong",
                            L"turu",    L"abang", L"lawang", L"pitik"};
  auto press = [&](UINT msg, WPARAM w) {
    const double t0 = Now();
    ::PostMessageW(edit, msg, w, 1);
    application.ProcessMessages();
    ::UpdateWindow(grid1);
    ::UpdateWindow(grid2);
    ::GdiFlush();
    return Now() - t0;
  };
  Times t;
  for (int round = 0; round < 3; ++round) {
    for (const wchar_t* word : words) {
      app::Form1->Edit1->SetText(L"");
      for (const wchar_t* p = word; *p; ++p) t.keys.push_back(press(WM_CHAR, *p));
      t.enters.push_back(press(WM_CHAR, VK_RETURN));
    }
  }
  std::sort(t.keys.begin(), t.keys.end());
  std::sort(t.enters.begin(), t.enters.end());
  return t;
}

void Report(const char* run, const Times& t) {
  auto at = [](const std::vector<double>& v, double q) {
    return v[static_cast<std::size_t>(q * static_cast<double>(v.size() - 1) + 0.5)];
  };
  std::printf("RESULT %s_keys_median_ms %.2f\n", run, at(t.keys, 0.5));
  std::printf("RESULT %s_keys_p90_ms %.2f\n", run, at(t.keys, 0.9));
  std::printf("RESULT %s_keys_max_ms %.2f\n", run, t.keys.back());
  std::printf("RESULT %s_enter_median_ms %.2f\n", run, at(t.enters, 0.5));
  std::printf("RESULT %s_enter_max_ms %.2f\n", run, t.enters.back());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: keystroke_bench DICTIONARY [BENCHBOOK]\n");
    return 2;
  }
  win::InstallDibSections();
  app::RegisterProgramClasses();
  win::TApplication application;
  try {
    const std::string workbook = win::Narrow(argv[1]);
    // Where start-up goes: the workbook alone, then the windows built and shown.
    const double s_start = Now();
    {
      data::Connection alone;
      alone.OpenWorkbook(workbook);
    }
    const double t_workbook = Now();
    app::Form1 = &application.CreateForm<app::TForm1>(Description(workbook));
    const double t_form1 = Now();
    app::Form2 = &application.CreateForm<app::TForm2>();
    const double t_form2 = Now();
    app::Form1->Show();
    application.ProcessMessages();
    ::UpdateWindow(app::Form1->WindowHandle());
    const double t_shown = Now();
    std::printf("RESULT startup_workbook_ms %.1f\n", t_workbook - s_start);
    std::printf("RESULT startup_form1_ms %.1f\n", t_form1 - t_workbook);
    std::printf("RESULT startup_form2_ms %.1f\n", t_form2 - t_form1);
    std::printf("RESULT startup_show_ms %.1f\n", t_shown - t_form2);
    Report("dictionary", Type(application));
    if (argc > 2) {
      const std::string bench = win::Narrow(argv[2]);
      app::Form1->ADOQuery1->ClearSql();
      app::Form1->ADOQuery2->ClearSql();
      app::Form1->ADOConnection1->Core().Close();  // the installed dictionary goes first
      const double before = PrivateBytes();
      const double t0 = Now();
      app::Form1->ADOConnection1->Core().OpenDatabase(bench::LoadBenchBook(bench), bench);
      const double load_ms = Now() - t0;
      const double after = PrivateBytes();
      {
        data::Query count(&app::Form1->ADOConnection1->Core());
        count.SetSql("select count(*) from warna");
        count.Open();
        std::printf("RESULT bench_rows %s\n", count.Value(0, 0).value_or("0").c_str());
      }
      std::printf("RESULT bench_load_ms %.1f\n", load_ms);
      std::printf("RESULT bench_private_bytes %.0f\n", after);
      std::printf("RESULT bench_private_bytes_added %.0f\n", after - before);
      std::printf("RESULT bench_workbook_bytes %.0f\n",
                  static_cast<double>(std::filesystem::file_size(std::filesystem::path(argv[2]))));
      Report("bench", Type(application));
      // Where a key's time goes: the data layer alone (a query of its own, opened and
      // counted), and the same with the controls told (no painting).
      std::vector<double> core, told;
      data::Query own(&app::Form1->ADOConnection1->Core());
      for (const char* word :
           {"kembang", "sega", "banyu", "ngomong", "turu", "abang", "lawang", "pitik"}) {
        for (std::size_t n = 1; word[n - 1]; ++n) {
          const std::string text(word, n);
          double s0 = Now();
          own.SetSql(data::PrefixSearchSql(text));
          own.Open();
          core.push_back(Now() - s0);
          s0 = Now();
          app::Form1->ADOQuery1->Run(
              [&](data::Query& q) { data::PrefixSearch(q, [&] { return text; }); });
          told.push_back(Now() - s0);
        }
      }
      std::sort(core.begin(), core.end());
      std::sort(told.begin(), told.end());
      std::printf("RESULT bench_prefix_core_median_ms %.2f\n", core[core.size() / 2]);
      std::printf("RESULT bench_prefix_told_median_ms %.2f\n", told[told.size() / 2]);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "keystroke_bench: %s\n", e.what());
    return 1;
  }
  return 0;
}
