// winprobe: looks at the windows of another program from inside the same Wine session, for the
// scripts that start sapala.exe (make run, end-to-end tests).
//   winprobe wait CLASS [SECONDS]   wait until a visible top-level window of CLASS has painted;
//                                   prints "window L T R B client W H"
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
      std::printf("window %ld %ld %ld %ld client %ld %ld\n", w.left, w.top, w.right, w.bottom,
                  c.right - c.left, c.bottom - c.top);
      return 0;
    }
    ::Sleep(100);
  }
  std::fprintf(stderr, "winprobe: no painted window of that class within %lu s\n",
               static_cast<unsigned long>(seconds));
  return 1;
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
  std::fprintf(stderr, "winprobe: unknown verb\n");
  return 2;
}
