#include "win/skin/cbt_hook.h"

#include <algorithm>
#include <stdexcept>

#include "core/skin/skin_manager.h"
#include "win/controls/skin_link.h"
#include "win/framework/application.h"
#include "win/skin/plug_ins.h"

namespace sapala::win::skin {

namespace {

// One hook per thread; only the user-interface thread installs one.
thread_local TlcCbtHook* current = nullptr;

constexpr ATOM kDialogAtom = 32770;      // "#32770", system dialogs
constexpr ATOM kPopupMenuAtom = 0x8000;  // "#32768", popup menus
constexpr INT_PTR kNoSkinTag = -98;

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[256] = {};
  const int n = ::GetClassNameW(hwnd, name, 256);
  return std::wstring(name, n > 0 ? static_cast<std::size_t>(n) : 0);
}

bool HasParent(HWND hwnd) { return (::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) != 0; }

}  // namespace

SkinPlugIns& PlugIns() {
  static SkinPlugIns plugIns;
  return plugIns;
}

bool IsExcludedFormClass(std::string_view className) noexcept {
  return className == "TApplication" || className == "TfcPopup";
}

CreateAction ClassifyCreatedWindow(LPCWSTR windowClass, DWORD style, DWORD exStyle, HWND parent,
                                   HWND self, bool hasMainForm, HWND mainForm) noexcept {
  if (IS_INTRESOURCE(windowClass)) {
    const ATOM atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(windowClass));
    if (atom == kDialogAtom) return CreateAction::attach;
    if (atom == kPopupMenuAtom) return CreateAction::popupMenu;
    return CreateAction::none;
  }
  if (!windowClass || std::wstring_view(windowClass) == L"TPUtilWindow") return CreateAction::none;
  if (style == 0 || exStyle == 0 || parent != nullptr) return CreateAction::none;
  if (!hasMainForm || (mainForm != nullptr && self != mainForm)) return CreateAction::attach;
  return CreateAction::none;
}

TlcCbtHook::TlcCbtHook(const sapala::skin::SkinManagerCore& manager)
    : manager_(manager), previous_(current) {
  current = this;
  hook_.reset(::SetWindowsHookExW(WH_CBT, &TlcCbtHook::Proc, nullptr, ::GetCurrentThreadId()));
  if (!hook_) {
    current = previous_;
    throw std::runtime_error("the window-creation hook could not be installed");
  }
}

TlcCbtHook::~TlcCbtHook() {
  hook_.reset();
  if (current == this) current = previous_;
}

TlcCbtHook* TlcCbtHook::Current() noexcept { return current; }

LRESULT CALLBACK TlcCbtHook::Proc(int code, WPARAM wp, LPARAM lp) noexcept {
  const LRESULT next = ::CallNextHookEx(nullptr, code, wp, lp);
  if (code >= 0 && current) {
    try {
      current->Handle(code, wp, lp);
    } catch (...) {
      // A window being created or activated must not fail because skinning it did.
    }
  }
  return next;
}

void TlcCbtHook::Handle(int code, WPARAM wp, LPARAM lp) {
  if (Application().Destroying()) return;
  HWND hwnd = reinterpret_cast<HWND>(wp);
  switch (code) {
    case HCBT_ACTIVATE:
      Attach(hwnd);
      break;
    case HCBT_DESTROYWND:
      if (PlugIns().windowDestroyed) PlugIns().windowDestroyed(hwnd);
      std::erase_if(hooked_, [hwnd](HWND h) { return h == hwnd || !::IsWindow(h); });
      break;
    case HCBT_CREATEWND: {
      const CREATESTRUCTW* cs = reinterpret_cast<const CBT_CREATEWNDW*>(lp)->lpcs;
      TForm* main = Application().MainForm();
      switch (ClassifyCreatedWindow(cs->lpszClass, static_cast<DWORD>(cs->style), cs->dwExStyle,
                                    cs->hwndParent, hwnd, main != nullptr,
                                    main ? main->WindowHandle() : nullptr)) {
        case CreateAction::attach:
          Attach(hwnd);
          break;
        case CreateAction::popupMenu:
          if (manager_.SkinnedPopups() && PlugIns().hookPopupMenu) PlugIns().hookPopupMenu(hwnd);
          break;
        case CreateAction::none:
          break;
      }
      break;
    }
    default:
      break;
  }
}

void TlcCbtHook::Attach(HWND hwnd) {
  if (!hwnd) return;
  if (::SendMessageW(hwnd, SM_LUMOCMD, MAKEWPARAM(0, cmdIsSkinned), 0) != 0) return;
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
  if ((style & WS_POPUP) && !(style & WS_BORDER)) return;
  if (std::find(hooked_.begin(), hooked_.end(), hwnd) != hooked_.end()) return;
  const auto rules = manager_.SkinningRules;
  auto* form = dynamic_cast<TForm*>(TWinControl::FromHandle(hwnd));
  if (!form) {
    if (ClassOf(hwnd) == L"#32770" && !HasParent(hwnd) && (rules & sapala::skin::srStdDialogs) &&
        PlugIns().attachDialog && PlugIns().attachDialog(hwnd)) {
      hooked_.push_back(hwnd);
    }
    return;
  }
  if (form->Loading()) return;
  if ((form->Tag() & kNoSkinTag) == kNoSkinTag) return;
  if (IsExcludedFormClass(form->ClassName())) return;
  const bool messageForm = form->ClassName() == "TMessageForm";
  if (!(rules & (messageForm ? sapala::skin::srStdDialogs : sapala::skin::srStdForms))) return;
  if (PlugIns().attachForm && PlugIns().attachForm(*form)) hooked_.push_back(hwnd);
}

}  // namespace sapala::win::skin
