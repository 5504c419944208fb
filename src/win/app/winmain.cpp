// Program entry: the application object, the main window, the hidden examples window, the
// message loop. An error while the main window is being made (a missing or broken workbook)
// is shown in an error box and ends the program with exit code 1.
#include <windows.h>
#include <commctrl.h>

#include "win/app/unit1.h"
#include "win/app/unit2.h"
#include "win/framework/application.h"
#include "win/framework/dib.h"
#include "win/skin/skin_manager.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);
  sapala::win::InstallDibSections();
  sapala::app::RegisterProgramClasses();

  int code = 1;
  {
    sapala::win::TApplication application;
    // The skin unit starts before the first form and stops after the last one is gone.
    sapala::win::StartUpSkinUnit();
    bool made = false;
    try {
      sapala::app::Form1 = &application.CreateForm<sapala::app::TForm1>();
      sapala::app::Form2 = &application.CreateForm<sapala::app::TForm2>();
      made = true;
    } catch (...) {
      application.HandleException(std::current_exception());
    }
    if (made) code = application.Run();
  }
  sapala::win::ShutDownSkinUnit();
  return code;
}
