// System libraries loaded on first use. The program calls some system DLLs only after start-up
// (sounds in winmm, opening a link or splitting an unusual command line in shell32, desktop
// composition in dwmapi): importing them would load them, and everything they import, before
// the first window, so they are looked up by name when first needed instead.
#pragma once

#include <windows.h>

namespace sapala::win {

// A system library loaded for the owner's lifetime (FreeLibrary at its end); a missing library
// or function gives nullptr. Held in function-local statics, it stays loaded until exit.
class OptionalLibrary {
 public:
  explicit OptionalLibrary(const wchar_t* name) noexcept : module_(::LoadLibraryW(name)) {}
  ~OptionalLibrary() {
    if (module_) ::FreeLibrary(module_);
  }
  OptionalLibrary(const OptionalLibrary&) = delete;
  OptionalLibrary& operator=(const OptionalLibrary&) = delete;

  // The function `name` as type Fn (a function pointer type), or nullptr.
  template <typename Fn>
  Fn Find(const char* name) const noexcept {
    return module_ ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module_, name)))
                   : nullptr;
  }

 private:
  HMODULE module_;
};

}  // namespace sapala::win
