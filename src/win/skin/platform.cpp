#include "win/skin/platform.h"

#include <shellapi.h>

#include <memory>

#include "win/framework/application.h"
#include "win/framework/library.h"
#include "win/framework/text.h"

namespace sapala::win::skin {

namespace {

MessageSink& Sink() {
  static MessageSink sink;
  return sink;
}

// The argument array of CommandLineToArgvW, given back with LocalFree.
struct LocalFreeDeleter {
  void operator()(LPWSTR* p) const noexcept { ::LocalFree(p); }
};

void Show(const std::string& text, bool error) {
  if (Sink()) {
    Sink()(text, error);
    return;
  }
  const std::wstring wide = Widen(text);
  ::MessageBoxW(::GetActiveWindow(), wide.c_str(), Application().Title().c_str(),
                error ? (MB_ICONERROR | MB_OK) : MB_OK);
}

}  // namespace

const LayeredWindowApi& LayeredApi() noexcept {
  static const LayeredWindowApi api = [] {
    LayeredWindowApi a;
    if (HMODULE user32 = ::GetModuleHandleW(L"user32.dll")) {
      a.UpdateLayeredWindow = reinterpret_cast<decltype(a.UpdateLayeredWindow)>(
          reinterpret_cast<void*>(::GetProcAddress(user32, "UpdateLayeredWindow")));
      a.SetLayeredWindowAttributes = reinterpret_cast<decltype(a.SetLayeredWindowAttributes)>(
          reinterpret_cast<void*>(::GetProcAddress(user32, "SetLayeredWindowAttributes")));
    }
    return a;
  }();
  return api;
}

bool CompositionEnabled() noexcept {
  static const OptionalLibrary dwm(L"dwmapi.dll");
  const auto fn = dwm.Find<HRESULT(WINAPI*)(BOOL*)>("DwmIsCompositionEnabled");
  BOOL on = FALSE;
  return fn && SUCCEEDED(fn(&on)) && on;
}

namespace {

// uxtheme is loaded only when a window asks about its visual style; the program does not import
// it (with the common-controls manifest it is loaded by the system anyway).
const OptionalLibrary& UxTheme() noexcept {
  static const OptionalLibrary uxtheme(L"uxtheme.dll");
  return uxtheme;
}

}  // namespace

bool ThemesInUse() noexcept {
  using Query = BOOL(WINAPI*)();
  static const Query active = UxTheme().Find<Query>("IsThemeActive");
  static const Query themed = UxTheme().Find<Query>("IsAppThemed");
  return active && themed && active() && themed();
}

bool SetWindowThemeNames(HWND hwnd, const wchar_t* subApp, const wchar_t* idList) noexcept {
  using Set = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  static const Set set = UxTheme().Find<Set>("SetWindowTheme");
  return set && SUCCEEDED(set(hwnd, subApp, idList));
}

void SetMessageSink(MessageSink sink) { Sink() = std::move(sink); }

void Win32SkinPlatform::ShowMessage(const std::string& text) { Show(text, false); }
void Win32SkinPlatform::ShowError(const std::string& text) { Show(text, true); }

std::string Win32SkinPlatform::ProgramFolder() const {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    if (path.size() >= 32768) return std::string();
    path.resize(path.size() * 2);
  }
  const auto slash = path.find_last_of(L"\\/");
  return Narrow(slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1));
}

bool CommandLineHasArguments(std::wstring_view line) noexcept {
  // The program's name ends at the closing quote when it begins with one, else at the first
  // blank; quotes and backslashes inside it have no other meaning.
  std::size_t i = 0;
  if (!line.empty() && line[0] == L'"') {
    const auto close = line.find(L'"', 1);
    i = close == std::wstring_view::npos ? line.size() : close + 1;
  } else {
    while (i < line.size() && line[i] != L' ' && line[i] != L'\t') ++i;
  }
  return line.find_first_not_of(L" \t", i) != std::wstring_view::npos;
}

std::vector<std::string> Win32SkinPlatform::CommandLineArguments() const {
  std::vector<std::string> out;
  const wchar_t* line = ::GetCommandLineW();
  // Without arguments (the usual start) shell32 is not needed, and not loaded.
  if (!line || !CommandLineHasArguments(line)) return out;
  static const OptionalLibrary shell32(L"shell32.dll");
  const auto split = shell32.Find<decltype(&::CommandLineToArgvW)>("CommandLineToArgvW");
  if (!split) return out;
  int count = 0;
  std::unique_ptr<LPWSTR, LocalFreeDeleter> argv(split(line, &count));
  for (int i = 1; argv && i < count; ++i) out.push_back(Narrow(argv.get()[i]));
  return out;
}

int Win32SkinPlatform::SizingFrameWidth() const { return ::GetSystemMetrics(SM_CXFRAME); }

bool Win32SkinPlatform::CompositionEnabled() const { return skin::CompositionEnabled(); }

bool Win32GlowPlatform::LayeredWindowsAvailable() const {
  return LayeredApi().UpdateLayeredWindow != nullptr;
}

bool Win32GlowPlatform::Wow64WithoutComposition() const {
  BOOL wow64 = FALSE;
  return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64 && !skin::CompositionEnabled();
}

}  // namespace sapala::win::skin
