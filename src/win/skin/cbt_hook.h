// The thread's window-creation hook (WH_CBT), installed for the default skin manager while its
// skin is applied. Every top-level window of the thread is offered to it: on creation (by the
// class given to CreateWindow), on first activation, and on destruction (which drops it from the
// hook's list). Windows it decides to skin go to the attach routine, which filters them by the
// skinning rules and hands them to the form provider or the dialog hook (see plug_ins.h).
//
// The hook is an owner: made, it is installed; freed, it is removed and its list forgotten.
#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

#include "core/skin/effects.h"
#include "win/framework/handles.h"

namespace sapala::skin {
class SkinManagerCore;
}

namespace sapala::win::skin {

enum class CreateAction { none, attach, popupMenu };

// What the hook does with a window being created. `windowClass` is the class argument given to
// CreateWindow (an atom or a name), `self` the new window, `mainForm` the main form's window
// (nullptr while it has none) and `hasMainForm` whether the application has a main form yet.
CreateAction ClassifyCreatedWindow(LPCWSTR windowClass, DWORD style, DWORD exStyle, HWND parent,
                                   HWND self, bool hasMainForm, HWND mainForm) noexcept;

class TlcCbtHook {
 public:
  // Installs the hook for the calling thread; `manager` gives the skinning rules and the popup
  // setting and must outlive the hook. Throws when the system refuses the hook.
  explicit TlcCbtHook(const sapala::skin::SkinManagerCore& manager);
  ~TlcCbtHook();
  TlcCbtHook(const TlcCbtHook&) = delete;
  TlcCbtHook& operator=(const TlcCbtHook&) = delete;

  // The windows skinned through this hook (one per provider or dialog hook it attached).
  const std::vector<HWND>& HookedWindows() const noexcept { return hooked_; }
  // The attach routine: skips windows already skinned or listed, bare popups, excluded forms
  // and what the skinning rules leave out; hands the rest to the plug points.
  void Attach(HWND hwnd);

  // The hook of the calling thread, nullptr when none is installed.
  static TlcCbtHook* Current() noexcept;

 private:
  static LRESULT CALLBACK Proc(int code, WPARAM wp, LPARAM lp) noexcept;
  void Handle(int code, WPARAM wp, LPARAM lp);

  const sapala::skin::SkinManagerCore& manager_;
  std::vector<HWND> hooked_;
  TlcCbtHook* previous_;
  Hook hook_;
};

// Form classes never skinned automatically (exact, case-sensitive).
bool IsExcludedFormClass(std::string_view className) noexcept;

}  // namespace sapala::win::skin
