#include "win/skin/ui_thread.h"

#include <memory>
#include <stdexcept>

#include "win/framework/application.h"

namespace sapala::win::skin {

namespace {

constexpr wchar_t kClassName[] = L"SapalaSkinTicks";
constexpr wchar_t kSelfProperty[] = L"SapalaSkinTicks";

std::unique_ptr<WindowDispatcher>& Current() {
  static std::unique_ptr<WindowDispatcher> current;
  return current;
}

HWND MakeWindow(WNDPROC proc) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  if (!::GetClassInfoExW(instance, kClassName, &wc)) {
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    if (!::RegisterClassExW(&wc))
      throw std::runtime_error("the tick window class could not be registered");
  }
  HWND hwnd = ::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                                nullptr);
  if (!hwnd) throw std::runtime_error("the tick window could not be created");
  return hwnd;
}

}  // namespace

WindowDispatcher::WindowDispatcher()
    : window_(MakeWindow(&WindowDispatcher::Proc)),
      queue_([hwnd = window_.get()] { ::PostMessageW(hwnd, kWakeMessage, 0, 0); }) {
  ::SetPropW(window_.get(), kSelfProperty, this);
}

WindowDispatcher::~WindowDispatcher() {
  queue_.SetTerminating(true);
  if (window_) ::RemovePropW(window_.get(), kSelfProperty);
}

void WindowDispatcher::ProcessPending() {
  if (Application().Terminated()) queue_.SetTerminating(true);
  queue_.ProcessPending();
}

LRESULT CALLBACK WindowDispatcher::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  if (msg == kWakeMessage) {
    if (auto* self = static_cast<WindowDispatcher*>(::GetPropW(hwnd, kSelfProperty))) {
      try {
        self->ProcessPending();
      } catch (...) {
        Application().HandleException(std::current_exception());
      }
    }
    return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

WindowDispatcher* UiThread() noexcept { return Current().get(); }

void CreateUiThread() {
  if (!Current()) Current() = std::make_unique<WindowDispatcher>();
}

void DestroyUiThread() noexcept { Current().reset(); }

}  // namespace sapala::win::skin
