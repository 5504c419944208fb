// The dictionary's main window as it stands before the component framework: the frame the real
// form will have (client 321 x 366, single border, system menu and minimise box only, centred,
// empty caption). The window class is named after the form class, "TForm1".
#pragma once

#include <windows.h>

namespace sapala::app {

inline constexpr wchar_t kMainWindowClass[] = L"TForm1";
inline constexpr int kMainClientWidth = 321;
inline constexpr int kMainClientHeight = 366;

// Registers the window class (once per process) and creates the main window, hidden.
// Returns nullptr on failure (GetLastError tells why). The caller owns the window.
HWND CreateMainWindow(HINSTANCE instance) noexcept;

// Runs the message loop until the main window is destroyed; returns the exit code.
int RunMessageLoop() noexcept;

}  // namespace sapala::app
