// startup_bench: the time from starting a program to the first paint of its main window,
// against a minimal window program started the same way, in one warm Wine session.
//   startup_bench PROGRAM CLASS PEER PEERCLASS [RUNS]
// Each run starts the program, waits until a visible top-level window of CLASS has handled its
// first WM_PAINT (its thread answers messages and its update region is empty), asks it to
// close and waits for the process to end; programs and peer alternate. The first run of each
// only warms the session. Prints "RESULT name value" lines: medians in ms.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

double Now() {
  LARGE_INTEGER f, c;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

struct Handle {
  HANDLE h = nullptr;
  ~Handle() {
    if (h) ::CloseHandle(h);
  }
};

HWND Painted(const wchar_t* cls, DWORD pid) {
  for (HWND hwnd = ::FindWindowW(cls, nullptr); hwnd;
       hwnd = ::FindWindowExW(nullptr, hwnd, cls, nullptr)) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    if (owner != pid || !::IsWindowVisible(hwnd)) continue;
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result)) continue;
    RECT update{};
    if (!::GetUpdateRect(hwnd, &update, FALSE)) return hwnd;
  }
  return nullptr;
}

// Milliseconds from CreateProcess to the first paint; negative on failure.
double StartOnce(const std::wstring& program, const wchar_t* cls) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring command = L"\"" + program + L"\"";
  const double t0 = Now();
  if (!::CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &pi)) {
    std::fprintf(stderr, "startup_bench: cannot start the program (error %lu)\n", ::GetLastError());
    return -1;
  }
  Handle process{pi.hProcess}, thread{pi.hThread};
  HWND hwnd = nullptr;
  double t = -1;
  while (Now() - t0 < 60000) {
    if ((hwnd = Painted(cls, pi.dwProcessId))) {
      t = Now() - t0;
      break;
    }
    if (::WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break;
    ::Sleep(1);
  }
  if (hwnd) ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0)
    ::TerminateProcess(pi.hProcess, 1);
  if (t < 0) std::fprintf(stderr, "startup_bench: no painted window of the class\n");
  return t;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: startup_bench PROGRAM CLASS PEER PEERCLASS [RUNS]\n");
    return 2;
  }
  const int runs = argc > 5 ? std::max(1, static_cast<int>(std::wcstol(argv[5], nullptr, 10))) : 7;
  std::vector<double> program, peer;
  for (int i = 0; i <= runs; ++i) {
    const double a = StartOnce(argv[1], argv[2]);
    const double b = StartOnce(argv[3], argv[4]);
    if (a < 0 || b < 0) return 1;
    if (i == 0) continue;  // warming
    program.push_back(a);
    peer.push_back(b);
  }
  std::printf("RESULT startup_program_ms %.1f\n", Median(program));
  std::printf("RESULT startup_peer_ms %.1f\n", Median(peer));
  return 0;
}
