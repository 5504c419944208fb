// The main window's frame, sized from its client area and centred on the screen.
#include "win/app/main_window.h"

namespace sapala::app {

namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_BORDER | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = 0;

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  switch (msg) {
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcW(hwnd, msg, wp, lp);
  }
}

bool RegisterMainClass(HINSTANCE instance) noexcept {
  WNDCLASSEXW wc{};
  if (::GetClassInfoExW(instance, kMainWindowClass, &wc)) return true;
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &MainWindowProc;
  wc.hInstance = instance;
  wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kMainWindowClass;
  return ::RegisterClassExW(&wc) != 0;
}

}  // namespace

HWND CreateMainWindow(HINSTANCE instance) noexcept {
  if (!RegisterMainClass(instance)) return nullptr;
  RECT frame{0, 0, kMainClientWidth, kMainClientHeight};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  return ::CreateWindowExW(kExStyle, kMainWindowClass, L"", kStyle, left, top, width, height,
                           nullptr, nullptr, instance, nullptr);
}

int RunMessageLoop() noexcept {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace sapala::app
