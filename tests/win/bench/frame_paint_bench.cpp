// frame_paint_bench: what the skinned frame costs, each figure against the same window unskinned
// in the same run. (1) First paint: a window of the main window's size and border made, shown
// and run until its first paint is done, then destroyed. (2) One frame repaint while resizing:
// the window made one pixel wider or narrower and its frame painted at once.
// Prints one line per measure: "NAME skinned_ms unskinned_ms ratio".
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

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
      FirstPaint(app, 5);  // warm-up
      const double firstSkinned = FirstPaint(app, 60);
      const double resizeSkinned = ResizeRepaint(app, 300);
      manager.Core().SetActive(false);
      FirstPaint(app, 5);
      const double firstPlain = FirstPaint(app, 60);
      const double resizePlain = ResizeRepaint(app, 300);
      std::printf("first_paint %.3f %.3f %.2f\n", firstSkinned, firstPlain,
                  firstSkinned / firstPlain);
      std::printf("resize_frame_repaint %.3f %.3f %.2f\n", resizeSkinned, resizePlain,
                  resizeSkinned / resizePlain);
    }
  }
  ShutDownSkinUnit();
  return code;
}
