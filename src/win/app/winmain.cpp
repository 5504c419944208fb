// Program entry: the application object, the main window, the hidden examples window, the
// message loop. An error while the main window is being made (a missing or broken workbook)
// is shown in an error box and ends the program with exit code 1.
#include <windows.h>
#include <commctrl.h>

#include "win/app/unit1.h"
#include "win/app/unit2.h"
#include "win/framework/application.h"
#include "win/framework/dib.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);
  sapala::win::InstallDibSections();
  sapala::app::RegisterProgramClasses();

  sapala::win::TApplication application;
  try {
    sapala::app::Form1 = &application.CreateForm<sapala::app::TForm1>();
    sapala::app::Form2 = &application.CreateForm<sapala::app::TForm2>();
  } catch (...) {
    application.HandleException(std::current_exception());
    return 1;
  }
  return application.Run();
}
