// winprobe: looks at the windows of another program from inside the same Wine session, for the
// scripts that start sapala.exe (make run, end-to-end tests).
//   winprobe wait CLASS [SECONDS]   wait until a visible top-level window of CLASS has painted;
//                                   prints "window L T R B client X Y W H" (screen pixels;
//                                   X Y is the client area's top-left corner)
//   winprobe text CLASS CHILDCLASS  prints the text of the first child window of CHILDCLASS
//   winprobe close CLASS [SECONDS]  ask it to close and wait until it is gone
// Exit code 0 on success, 1 on time-out, 2 on bad usage.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

HWND FindVisible(const wchar_t* cls) {
  HWND hwnd = ::FindWindowW(cls, nullptr);
  return (hwnd && ::IsWindowVisible(hwnd)) ? hwnd : nullptr;
}

bool HasPainted(HWND hwnd) {
  DWORD_PTR result = 0;
  // Answered once the window's thread pumps messages; after that an empty update region means
  // the first WM_PAINT has been handled.
  if (!::SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result)) return false;
  RECT update{};
  return !::GetUpdateRect(hwnd, &update, FALSE);
}

int Wait(const wchar_t* cls, DWORD seconds) {
  const DWORD deadline = ::GetTickCount() + seconds * 1000;
  while (static_cast<LONG>(deadline - ::GetTickCount()) > 0) {
    if (HWND hwnd = FindVisible(cls); hwnd && HasPainted(hwnd)) {
      ::Sleep(300);  // let the last frame reach the screen before anybody takes a picture
      RECT w{}, c{};
      ::GetWindowRect(hwnd, &w);
      ::GetClientRect(hwnd, &c);
      POINT origin{0, 0};
      ::ClientToScreen(hwnd, &origin);
      std::printf("window %ld %ld %ld %ld client %ld %ld %ld %ld\n", w.left, w.top, w.right,
                  w.bottom, origin.x, origin.y, c.right - c.left, c.bottom - c.top);
      return 0;
    }
    ::Sleep(100);
  }
  std::fprintf(stderr, "winprobe: no painted window of that class within %lu s\n",
               static_cast<unsigned long>(seconds));
  return 1;
}

int Text(const wchar_t* cls, const wchar_t* child_cls) {
  HWND hwnd = ::FindWindowW(cls, nullptr);
  HWND child = hwnd ? ::FindWindowExW(hwnd, nullptr, child_cls, nullptr) : nullptr;
  if (!child) {
    std::fprintf(stderr, "winprobe: no such window\n");
    return 1;
  }
  wchar_t text[1024] = {};
  ::SendMessageTimeoutW(child, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, nullptr);
  char utf8[4096] = {};
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
  std::printf("%s\n", utf8);
  return 0;
}

int Close(const wchar_t* cls, DWORD seconds) {
  HWND hwnd = ::FindWindowW(cls, nullptr);
  if (!hwnd) return 0;
  ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
  const DWORD deadline = ::GetTickCount() + seconds * 1000;
  while (static_cast<LONG>(deadline - ::GetTickCount()) > 0) {
    if (!::IsWindow(hwnd)) return 0;
    ::Sleep(100);
  }
  std::fprintf(stderr, "winprobe: the window did not close within %lu s\n",
               static_cast<unsigned long>(seconds));
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: winprobe wait|close CLASS [SECONDS]\n");
    return 2;
  }
  const DWORD seconds = argc > 3 ? static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)) : 30;
  const std::wstring verb = argv[1];
  if (verb == L"wait") return Wait(argv[2], seconds);
  if (verb == L"close") return Close(argv[2], seconds);
  if (verb == L"text" && argc > 3) return Text(argv[2], argv[3]);
  std::fprintf(stderr, "winprobe: unknown verb\n");
  return 2;
}
