// What skin loading needs from the platform, asked through one interface that the Win32 side
// implements (message boxes, GetSystemMetrics, the program's folder and command line, DWM) and
// tests fake.
#pragma once

#include <string>
#include <vector>

namespace sapala::skin {

class SkinPlatform {
 public:
  virtual ~SkinPlatform() = default;
  // A plain message box (the version notices).
  virtual void ShowMessage(const std::string& text) = 0;
  // An error message box with an OK button (errors raised while loading a skin).
  virtual void ShowError(const std::string& text) = 0;
  // Folder of the running program, with its trailing separator ("C:\Program Files\Sapala Vova\").
  virtual std::string ProgramFolder() const = 0;
  // The program's command-line arguments, without the program itself.
  virtual std::vector<std::string> CommandLineArguments() const = 0;
  // The sizing-frame width (GetSystemMetrics(SM_CXFRAME)).
  virtual int SizingFrameWidth() const = 0;
  // Desktop composition is on (shadow margins grow by one).
  virtual bool CompositionEnabled() const = 0;
  // The manager lives in a form designer rather than a running program.
  virtual bool DesignMode() const { return false; }
};

}  // namespace sapala::skin
