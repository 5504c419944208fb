// winprobe: looks at the windows of another program from inside the same Wine session, for the
// scripts that start sapala.exe (make run, end-to-end tests).
//   winprobe wait CLASS [SECONDS]   wait until a visible top-level window of CLASS has painted;
//                                   prints "window L T R B client X Y W H" (screen pixels;
//                                   X Y is the client area's top-left corner)
//   winprobe text CLASS CHILDCLASS  prints the text of the first child window of CHILDCLASS
//   winprobe texts CLASS CHILDCLASS every child window of CHILDCLASS, one a line:
//                                   "LEFT TOP VISIBLE TEXT" (client pixels of the top window)
//   winprobe focus CLASS            the window with the keyboard focus in CLASS's thread:
//                                   "CHILDCLASS LEFT TOP"
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
  ::SendMessageTimeoutW(child, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, nullptr);
  char utf8[4096] = {};
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
  std::printf("%s\n", utf8);
  return 0;
}

std::string Utf8(const wchar_t* text) {
  char utf8[4096] = {};
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
  return utf8;
}

POINT OriginIn(HWND top, HWND child) {
  RECT r{};
  ::GetWindowRect(child, &r);
  POINT p{r.left, r.top};
  ::ScreenToClient(top, &p);
  return p;
}

struct TextsWalk {
  HWND top;
  const wchar_t* cls;
};

BOOL CALLBACK PrintText(HWND child, LPARAM lp) {
  const auto& w = *reinterpret_cast<const TextsWalk*>(lp);
  wchar_t name[256] = {};
  ::GetClassNameW(child, name, 256);
  if (::lstrcmpiW(name, w.cls) != 0) return TRUE;
  wchar_t text[1024] = {};
  ::SendMessageTimeoutW(child, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        2000, nullptr);
  const POINT p = OriginIn(w.top, child);
  std::printf("%ld %ld %d %s\n", p.x, p.y, ::IsWindowVisible(child) ? 1 : 0, Utf8(text).c_str());
  return TRUE;
}

int Texts(const wchar_t* cls, const wchar_t* child_cls) {
  HWND hwnd = ::FindWindowW(cls, nullptr);
  if (!hwnd) {
    std::fprintf(stderr, "winprobe: no such window\n");
    return 1;
  }
  TextsWalk walk{hwnd, child_cls};
  ::EnumChildWindows(hwnd, &PrintText, reinterpret_cast<LPARAM>(&walk));
  return 0;
}

int Focus(const wchar_t* cls) {
  HWND hwnd = ::FindWindowW(cls, nullptr);
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!hwnd || !::GetGUIThreadInfo(::GetWindowThreadProcessId(hwnd, nullptr), &info) ||
      !info.hwndFocus) {
    std::fprintf(stderr, "winprobe: no focused window\n");
    return 1;
  }
  wchar_t name[256] = {};
  ::GetClassNameW(info.hwndFocus, name, 256);
  const POINT p = OriginIn(hwnd, info.hwndFocus);
  std::printf("%s %ld %ld\n", Utf8(name).c_str(), p.x, p.y);
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
  if (verb == L"texts" && argc > 3) return Texts(argv[2], argv[3]);
  if (verb == L"focus") return Focus(argv[2]);
  std::fprintf(stderr, "winprobe: unknown verb\n");
  return 2;
}
