// Owners for the Win32 handles we create (see core/base/unique_handle.h for the counting rule),
// and scope guards that undo a state change at the end of a scope: a selected GDI object, a
// saved DC, a window DC borrowed with GetDC, a paint cycle.
#pragma once

#include <windows.h>

#include "core/base/unique_handle.h"

namespace sapala::win {

namespace detail {
inline void CloseGdiObject(HGDIOBJ h) noexcept { ::DeleteObject(h); }
inline void CloseDC(HDC h) noexcept { ::DeleteDC(h); }
inline void CloseIcon(HICON h) noexcept { ::DestroyIcon(h); }
inline void CloseCursor(HCURSOR h) noexcept { ::DestroyCursor(h); }
inline void CloseMenu(HMENU h) noexcept { ::DestroyMenu(h); }
inline void CloseHook(HHOOK h) noexcept { ::UnhookWindowsHookEx(h); }
inline void DestroyOwnedWindow(HWND h) noexcept { ::DestroyWindow(h); }
}  // namespace detail

using Brush = UniqueHandle<HBRUSH, &detail::CloseGdiObject, HandleKind::Brush>;
using Pen = UniqueHandle<HPEN, &detail::CloseGdiObject, HandleKind::Pen>;
using Font = UniqueHandle<HFONT, &detail::CloseGdiObject, HandleKind::Font>;
using Bitmap = UniqueHandle<HBITMAP, &detail::CloseGdiObject, HandleKind::Bitmap>;
using Region = UniqueHandle<HRGN, &detail::CloseGdiObject, HandleKind::Region>;
using MemoryDC = UniqueHandle<HDC, &detail::CloseDC, HandleKind::DC>;  // CreateCompatibleDC
using Icon = UniqueHandle<HICON, &detail::CloseIcon, HandleKind::Icon>;
using Cursor = UniqueHandle<HCURSOR, &detail::CloseCursor, HandleKind::Cursor>;
using Menu = UniqueHandle<HMENU, &detail::CloseMenu, HandleKind::Menu>;
using Hook = UniqueHandle<HHOOK, &detail::CloseHook, HandleKind::Hook>;
using Window = UniqueHandle<HWND, &detail::DestroyOwnedWindow, HandleKind::Window>;

// Selects an object into a DC and selects the previous one back at the end of the scope.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(::SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (old_ && old_ != HGDI_ERROR) ::SelectObject(dc_, old_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// SaveDC now, RestoreDC at the end of the scope.
class SavedDC {
 public:
  explicit SavedDC(HDC dc) noexcept : dc_(dc), id_(::SaveDC(dc)) {}
  ~SavedDC() {
    if (id_) ::RestoreDC(dc_, id_);
  }
  SavedDC(const SavedDC&) = delete;
  SavedDC& operator=(const SavedDC&) = delete;

 private:
  HDC dc_;
  int id_;
};

// A window's DC borrowed with GetDC (or GetWindowDC) and given back with ReleaseDC.
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd, bool whole_window = false) noexcept
      : hwnd_(hwnd), dc_(whole_window ? ::GetWindowDC(hwnd) : ::GetDC(hwnd)) {
    if (dc_) sapala::detail::CountHandle(HandleKind::DC, +1);
  }
  ~WindowDC() {
    if (dc_) {
      ::ReleaseDC(hwnd_, dc_);
      sapala::detail::CountHandle(HandleKind::DC, -1);
    }
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const noexcept { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// BeginPaint / EndPaint.
class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) noexcept : hwnd_(hwnd) { ::BeginPaint(hwnd, &ps_); }
  ~PaintScope() { ::EndPaint(hwnd_, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const noexcept { return ps_.hdc; }
  const RECT& area() const noexcept { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
};

}  // namespace sapala::win
