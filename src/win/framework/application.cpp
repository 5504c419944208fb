#include "win/framework/application.h"

#include "win/framework/text.h"

namespace sapala::win {

namespace {
TApplication* current = nullptr;
}

TApplication& Application() {
  if (!current) {
    static TApplication fallback;  // for code that runs before a program made its own
  }
  return *current;
}

TApplication::TApplication() : TComponent(nullptr), previous_(current) {
  current = this;
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name = path;
  if (const auto slash = name.find_last_of(L"\\/"); slash != std::wstring::npos)
    name.erase(0, slash + 1);
  if (const auto dot = name.find_last_of(L'.'); dot != std::wstring::npos) name.erase(dot);
  title_ = name;
  UseWindowsSystemColors();
}

TApplication::~TApplication() {
  DestroyComponents();
  // Destroying the main form asked the thread's loop to end. That request belongs to this
  // application: left in the queue, it would end the next one made on the same thread at its
  // first message.
  if (terminated_) {
    MSG msg;
    ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  }
  if (current == this) current = previous_;
}

int TApplication::Run() {
  if (main_form_ && !terminated_) main_form_->Show();
  MSG msg;
  while (!terminated_) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) break;
    Dispatch(msg);
  }
  terminated_ = true;
  return 0;
}

void TApplication::Terminate() noexcept {
  if (!terminated_) {
    terminated_ = true;
    ::PostQuitMessage(0);
  }
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      break;
    }
    Dispatch(msg);
  }
}

bool TApplication::FilterKey(MSG& msg) {
  TWinControl* target = nullptr;
  for (HWND h = msg.hwnd; h && !target; h = ::GetParent(h)) target = TWinControl::FromHandle(h);
  if (!target) return false;
  TForm* form = target->ParentForm();
  if (!form) return false;
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
    const WORD key = static_cast<WORD>(msg.wParam);
    if (target == form || !target->WantsKey(key)) {
      if (form->DialogKey(key, KeyboardShiftState())) return true;
    }
  } else if (msg.message == WM_SYSCHAR) {
    if (form->DialogChar(static_cast<wchar_t>(msg.wParam), KeyboardShiftState() | ssAlt))
      return true;
  }
  return false;
}

void TApplication::Dispatch(MSG& msg) {
  try {
    if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSCHAR) &&
        FilterKey(msg)) {
      return;
    }
  } catch (...) {
    HandleException(std::current_exception());
    return;
  }
  ::TranslateMessage(&msg);
  ::DispatchMessageW(&msg);
}

void TApplication::HandleException(std::exception_ptr e) noexcept {
  std::string message = "An unknown error occurred.";
  try {
    std::rethrow_exception(e);
  } catch (const std::exception& ex) {
    message = ex.what();
  } catch (...) {
  }
  ShowException(message);
}

void TApplication::ShowException(const std::string& message) noexcept {
  try {
    if (OnException) {
      OnException(message);
      return;
    }
    std::wstring text = Widen(message);
    if (!text.empty() && text.back() != L'.') text += L'.';
    HWND owner = ::GetActiveWindow();
    ::MessageBoxW(owner, text.c_str(), title_.c_str(), MB_ICONERROR | MB_OK);
  } catch (...) {
  }
}

}  // namespace sapala::win
