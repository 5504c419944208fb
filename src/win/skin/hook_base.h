// TlcMainWnd: the base of the hooks that skin standard windows the engine did not make (push
// buttons, scrollable windows, the controls of system dialogs). A hook takes over its window's
// procedure, answers the engine's SM_LUMOCMD protocol and the messages it paints for, and passes
// every other message on to the procedure it replaced.
//
// Subclassing: a window owned by a control object (TWinControl) gets its WindowProc replaced by
// a call into the hook; any other window gets GWLP_WNDPROC replaced by one static procedure that
// finds the hook through the window property "LCSBSC". On removal the old procedure goes back
// only when the window still points to the hook; when someone subclassed the window after us,
// our static procedure stays in their chain and forwards to the procedure we replaced (kept in a
// second property) so their chain still works.
//
// Ownership and lifetime: a hook is owned by whoever made it (an adapter item, the dialog
// skinning, a test) and never frees itself. It unhooks itself when its window is destroyed or the
// skin is removed (cmdRemoveSkin), possibly from inside one of its own messages: the object stays
// valid until its owner frees it, and Removed() tells the owner that it may. Freeing a hook
// that is still attached removes it first. Everything runs on the window's thread; window
// procedures never throw.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/skin/skin_data.h"
#include "core/skin/skin_paint.h"
#include "win/framework/controls.h"
#include "win/framework/dib.h"
#include "win/skin/common_data.h"

namespace sapala::win {

class TsSkinManager;

// The window property that holds a window's hook.
inline constexpr wchar_t kHookProperty[] = L"LCSBSC";

class TlcMainWnd {
 public:
  // `section` empty: the hook's default section (DefaultSection). `manager` nullptr: the
  // default manager. The window is not touched until Install.
  TlcMainWnd(HWND hwnd, TsSkinManager* manager, std::string section);
  virtual ~TlcMainWnd();
  TlcMainWnd(const TlcMainWnd&) = delete;
  TlcMainWnd& operator=(const TlcMainWnd&) = delete;

  // Takes the window over (visual style off, property set, procedure replaced). False when
  // the window is gone or already has a hook.
  bool Install();
  // Gives the window back (see the file comment). Safe to call twice and from inside a message.
  virtual void Remove() noexcept;

  // The hook of a window, nullptr when it has none.
  static TlcMainWnd* FromWindow(HWND hwnd) noexcept;
  // How many hook messages are being handled on this thread now. An owner that frees hooks of
  // windows it does not control waits until this is 0: a hook may be on the stack of the message
  // that destroyed its window.
  static int MessageDepth() noexcept;

  HWND Handle() const noexcept { return hwnd_; }
  TsSkinManager* Manager() const noexcept;
  // The control object that owns the window, when there is one.
  TWinControl* Control() const noexcept { return control_; }
  bool Installed() const noexcept { return installed_; }
  // The window was destroyed or the hook removed: the owner may free it (and hook again later).
  bool Removed() const noexcept { return removed_; }
  bool WindowDestroyed() const noexcept { return destroyed_; }
  const std::string& Section() const noexcept { return section_; }
  int SectionIndex() const noexcept { return section_index_; }
  const std::wstring& Text() const noexcept { return text_; }
  bool Stale() const noexcept { return stale_; }
  bool Suspended() const noexcept { return suspended_; }

  // Draws the cache's picture; false when there is nothing to show (the window keeps what it
  // shows). Hooks that paint from their cache override it.
  virtual bool PaintCache() { return false; }
  // The hook's picture of its window (client size), rebuilt when stale.
  graphics::Bitmap* CachePicture() noexcept {
    return cache_.Width() > 0 && cache_.Height() > 0 ? &cache_.Pixels() : nullptr;
  }

 protected:
  // The message handler of the hook; the default answers the common protocol.
  virtual void WndProc(Message& m);
  // The section a hook uses when it was made without one.
  virtual std::string DefaultSection() const { return {}; }
  // The index of a section of the applied skin; a section the skin lacks is looked up under its
  // fallback name (a combo box as an edit, ...). -1 when neither is there or no skin is applied.
  int SectionIndexOf(std::string_view name) const noexcept;
  // The skin changed or the section was set: indices re-read.
  virtual void SkinChanged();
  // The hook let go of its window (removed, or the window destroyed): drop what belongs to the
  // window, such as its timers. Called from Remove, so from a derived destructor too.
  virtual void Released() noexcept {}
  // Repaints the whole window now (frame included).
  void RepaintNow() noexcept;
  // The previous procedure for `m`.
  void CallPrevious(Message& m) noexcept;
  // The previous procedure for a message the hook makes up.
  LRESULT CallPrevious(UINT msg, WPARAM wp, LPARAM lp) noexcept;
  // The manager's skin is applied and this hook is to paint.
  bool Active() const noexcept;
  const sapala::skin::SkinTables* Tables() const noexcept;
  const sapala::skin::TsGeneralData* SectionData() const noexcept;
  sapala::skin::ElementRef Element() const noexcept;
  // What the parent window shows under this window's client rectangle `area` (client
  // coordinates): its answer to cmdGetBackgroundInfo, else its colour. The bitmap, if any,
  // belongs to the parent and is valid until it repaints.
  sapala::skin::ParentBackground ParentBackgroundFor(const RECT& area, TsBackgroundInfo& info);
  // The window's top-left corner in its parent's client coordinates ((0, 0) without a parent).
  POINT OriginInParent() const noexcept;
  void ReadText();

  // --- Hooks that draw their client area into the cache ---
  // Starts a new picture: the cache sized to the client area (`client` receives it) and every
  // pixel cleared, so that parts of an element blend over nothing. nullptr for an empty client.
  graphics::Bitmap* StartClientPicture(RECT& client);
  // Ends a picture GDI drew into: flushed, made opaque, and for a disabled control (`enabled`
  // false) faded 40 % into `bg` (at `origin` in the background's coordinates); no longer stale.
  void FinishClientPicture(bool enabled = true, const sapala::skin::ParentBackground* bg = nullptr,
                           POINT origin = {0, 0}) noexcept;
  // WM_PAINT from the cache: the picture drawn first when stale or never drawn, then copied to
  // `dc` at (0, 0). Never throws: a picture that failed leaves the window as it was.
  void PaintFromCache(HDC dc) noexcept;
  // The cache copied to `dc` at (0, 0) as it is.
  void CopyCacheTo(HDC dc) const noexcept;

  HWND hwnd_;
  TsSkinManager* manager_;
  TWinControl* control_ = nullptr;
  std::string section_;
  int section_index_ = -1;
  int mask_index_ = -1;
  std::wstring text_;
  bool stale_ = true;
  bool suspended_ = false;
  DibSurface cache_;  // the client area's picture, with a DC for text

 private:
  struct ControlCall;
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  void Handle(Message& m) noexcept;
  static bool AlwaysOurs(const Message& m) noexcept;
  void HandleDestroy(Message& m) noexcept;
  bool HandleCommand(Message& m);
  void FillBackgroundInfo(TsBackgroundInfo& info);

  std::function<void(Message&)> saved_method_;
  WNDPROC saved_proc_ = nullptr;
  bool installed_ = false;
  bool removed_ = false;
  bool destroyed_ = false;
  bool theme_off_ = false;
};

// Sends SM_LUMOCMD `command` with `argument` and `lp` to a window.
LRESULT SendLumo(HWND hwnd, WORD command, WORD argument = 0, LPARAM lp = 0) noexcept;

}  // namespace sapala::win
