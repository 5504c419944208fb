// frame_paint_bench: what the skinned frame costs, each figure against the same window unskinned
// in the same run. (1) First paint: a window of the main window's size and border made, shown
// and run until its first paint is done, then destroyed. (2) One frame repaint while resizing:
// the window made one pixel wider or narrower and its frame painted at once.
// The skinned and the unskinned window take turns, round after round, so that a busy machine
// weighs on both alike; each figure is the median of the rounds.
// Prints one line per measure: "NAME skinned_ms unskinned_ms ratio" (ratio of the medians), then
// the same as RESULT lines for scripts/bench-table.py.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "win/framework/application.h"
#include "win/framework/dib.h"
#include "win/framework/forms.h"
#include "win/framework/stdctrls.h"
#include "win/skin/skin_manager.h"
#include "win/skin/skin_provider.h"

namespace {

using namespace sapala::win;
using Clock = std::chrono::steady_clock;

std::string SkinFolder() {
  std::string path = "Z:" SAPALA_SOURCE_DIR "/assets/skin";
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

TForm& MakeForm(TApplication& app, const char* border) {
  TForm& f = app.Create<TForm>();
  f.SetClassName("TBenchForm");
  f.LoadDescription(std::string("object B: TForm\n  Left = 200\n  Top = 100\n  Caption = 'Sapala'\n"
                                "  ClientWidth = 321\n  ClientHeight = 366\n  BorderStyle = ") +
                    border + "\nend\n");
  f.CreateHandle();
  return f;
}

double FirstPaint(TApplication& app, int rounds) {
  const auto t0 = Clock::now();
  for (int i = 0; i < rounds; ++i) {
    TForm& f = MakeForm(app, "bsSingle");
    f.Show();
    ::SetForegroundWindow(f.WindowHandle());
    ::UpdateWindow(f.WindowHandle());
    app.ProcessMessages();
    app.Extract(&f).reset();
  }
  return std::chrono::duration<double, std::milli>(Clock::now() - t0).count() / rounds;
}

double ResizeRepaint(TApplication& app, int rounds) {
  TForm& f = MakeForm(app, "bsSizeable");
  f.Show();
  ::SetForegroundWindow(f.WindowHandle());
  app.ProcessMessages();
  HWND hwnd = f.WindowHandle();
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  const auto t0 = Clock::now();
  for (int i = 0; i < rounds; ++i) {
    const int w = r.right - r.left + (i % 2);
    ::SetWindowPos(hwnd, nullptr, 0, 0, w, r.bottom - r.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  }
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count() / rounds;
  app.Extract(&f).reset();
  return ms;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n == 0 ? 0 : (n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2);
}

void Report(const char* name, const std::vector<double>& skinned,
            const std::vector<double>& plain) {
  const double a = Median(skinned), b = Median(plain);
  std::printf("%s %.3f %.3f %.2f\n", name, a, b, b > 0 ? a / b : 0.0);
  std::printf("RESULT %s_skinned_ms %.4f\nRESULT %s_plain_ms %.4f\n", name, a, name, b);
}

}  // namespace

int wmain() {
  InstallDibSections();
  RegisterStandardControls();
  RegisterSkinManager();
  RegisterSkinProvider();
  int code = 0;
  {
    TApplication app;
    StartUpSkinUnit();
    TForm& host = MakeForm(app, "bsSingle");
    auto& manager = host.Create<TsSkinManager>();
    manager.Core().SetSkinDirectory(SkinFolder());
    manager.Core().SetSkinName("DiruriZedaz");
    if (!manager.SkinActive()) {
      std::fprintf(stderr, "frame_paint_bench: the skin did not load\n");
      code = 1;
    }
    if (code == 0) {
      constexpr int kRounds = 9;
      std::vector<double> firstSkinned, firstPlain, resizeSkinned, resizePlain;
      FirstPaint(app, 5);  // warm-up
      for (int round = 0; round < kRounds && code == 0; ++round) {
        firstSkinned.push_back(FirstPaint(app, 10));
        resizeSkinned.push_back(ResizeRepaint(app, 60));
        manager.Core().SetActive(false);
        if (round == 0) FirstPaint(app, 5);
        firstPlain.push_back(FirstPaint(app, 10));
        resizePlain.push_back(ResizeRepaint(app, 60));
        manager.Core().SetActive(true);
        if (!manager.SkinActive()) {
          std::fprintf(stderr, "frame_paint_bench: the skin did not come back\n");
          code = 1;
        }
      }
      Report("first_paint", firstSkinned, firstPlain);
      Report("resize_frame_repaint", resizeSkinned, resizePlain);
    }
  }
  ShutDownSkinUnit();
  return code;
}
