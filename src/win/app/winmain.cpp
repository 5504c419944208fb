// Program entry: create the main window, show it, run the message loop.
#include <windows.h>
#include <commctrl.h>

#include "win/app/main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);
  HWND main = sapala::app::CreateMainWindow(instance);
  if (!main) {
    ::MessageBoxW(nullptr, L"The main window could not be created.", L"Sapala Bahasa Vova",
                  MB_ICONERROR | MB_OK);
    return 1;
  }
  ::ShowWindow(main, show);
  ::UpdateWindow(main);
  return sapala::app::RunMessageLoop();
}
