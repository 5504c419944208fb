#include "win/skin/animations.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/graphics/pixels.h"
#include "core/skin/animation_steps.h"
#include "win/controls/skin_link.h"
#include "win/framework/application.h"
#include "win/framework/dib.h"
#include "win/framework/forms.h"
#include "win/skin/common_data.h"
#include "win/skin/glow.h"
#include "win/skin/platform.h"
#include "win/skin/skin_manager.h"
#include "win/skin/ui_thread.h"

namespace sapala::win::skin {

using sapala::skin::AnimationFrame;
using sapala::skin::AnimationStepCount;
using sapala::skin::kAnimationStepMs;

namespace {

bool& LockFlag() noexcept {
  static bool lock = false;
  return lock;
}

LayeredFrameObserver& Observer() {
  static LayeredFrameObserver observer;
  return observer;
}

constexpr wchar_t kAnimationClass[] = L"TlcAnimationForm";

bool RegisterAnimationClass() {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  if (::GetClassInfoExW(instance, kAnimationClass, &wc)) return true;
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &::DefWindowProcW;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kAnimationClass;
  return ::RegisterClassExW(&wc) != 0;
}

LRESULT Command(HWND hwnd, WORD command, LPARAM lp = 0) {
  return ::SendMessageW(hwnd, SM_LUMOCMD, MAKEWPARAM(0, command), lp);
}

// A device context drawing into an engine bitmap for the scope's duration. A bitmap in a DIB
// section is selected directly; any other is copied into a DIB surface and back at the end.
class BitmapDC {
 public:
  explicit BitmapDC(graphics::Bitmap& bitmap) : bitmap_(bitmap) {
    if (HBITMAP section = DibHandle(bitmap)) {
      // A section already selected into another DC cannot be selected here: then copy.
      dc_ = MemoryDC(::CreateCompatibleDC(nullptr));
      if (dc_ && (old_ = ::SelectObject(dc_.get(), section)) != nullptr) return;
      dc_.reset();
    }
    surface_.Resize(bitmap.Width(), bitmap.Height());
    graphics::CopyBitmapRect(surface_.Pixels(), {0, 0}, bitmap, bitmap.Bounds());
    copied_ = true;
  }
  ~BitmapDC() {
    ::GdiFlush();
    if (dc_ && old_) ::SelectObject(dc_.get(), old_);
    if (copied_) graphics::CopyBitmapRect(bitmap_, {0, 0}, surface_.Pixels(), bitmap_.Bounds());
  }
  BitmapDC(const BitmapDC&) = delete;
  BitmapDC& operator=(const BitmapDC&) = delete;
  HDC get() const noexcept { return copied_ ? surface_.DC() : dc_.get(); }

 private:
  graphics::Bitmap& bitmap_;
  DibSurface surface_;
  MemoryDC dc_;
  HGDIOBJ old_ = nullptr;
  bool copied_ = false;
};

RECT WindowRectOf(HWND hwnd) noexcept {
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  return r;
}

void PrintWindowed(HDC dc, TWinControl& control) {
  HWND hwnd = control.WindowHandle();
  if (Command(hwnd, cmdIsSkinned) != 0) {
    // A skinned window draws its whole window rectangle at the DC's origin.
    Command(hwnd, cmdSetPrintTarget, reinterpret_cast<LPARAM>(dc));
    ::SendMessageW(hwnd, WM_PRINT, reinterpret_cast<WPARAM>(dc),
                   PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    Command(hwnd, cmdSetPrintTarget, 0);
    return;
  }
  // The frame at the window's origin, the client area at its place inside.
  const RECT window = WindowRectOf(hwnd);
  const RECT client = ClientRectInWindow(hwnd);
  if (client.left != 0 || client.top != 0 || client.right != window.right - window.left ||
      client.bottom != window.bottom - window.top) {
    ::SendMessageW(hwnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT);
  }
  SavedDC saved(dc);
  ::OffsetViewportOrgEx(dc, client.left, client.top, nullptr);
  ::IntersectClipRect(dc, 0, 0, client.right - client.left, client.bottom - client.top);
  ::SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  ::SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
}

void SnapshotInto(HDC dc, TControl& control, int x, int y, AnimatedForm* provider) {
  auto* windowed = dynamic_cast<TWinControl*>(&control);
  auto* form = dynamic_cast<TForm*>(&control);
  const int w = control.Width(), h = control.Height();

  // A hidden form on a parent control shows what the parent shows under it.
  if (form && !provider && form->Parent() && !form->Visible()) {
    TsBackgroundInfo info;
    info.Rect = {0, 0, w, h};
    AskParentBackground(form->Parent(), info);
    if (info.Kind == 2 && info.Bitmap) {
      graphics::Bitmap part = graphics::NewBitmap32(w, h);
      graphics::CopyBitmapRect(part, {0, 0}, *info.Bitmap,
                               {info.OffsetX, info.OffsetY, info.OffsetX + w, info.OffsetY + h});
      DrawPicture(dc, x, y, part);
    } else {
      Brush brush(::CreateSolidBrush(static_cast<COLORREF>(graphics::ColorToRGB(info.Color))));
      RECT r{x, y, x + w, y + h};
      ::FillRect(dc, &r, brush.get());
    }
    return;
  }

  SavedDC saved(dc);
  RECT window{0, 0, w, h};
  if (windowed && windowed->HandleAllocated()) {
    const RECT wr = WindowRectOf(windowed->WindowHandle());
    window = {0, 0, wr.right - wr.left, wr.bottom - wr.top};
  }
  if (!provider || !provider->BorderWindow())
    ::IntersectClipRect(dc, x, y, x + window.right, y + window.bottom);
  ::OffsetViewportOrgEx(dc, x, y, nullptr);

  if (!windowed) {
    Message set{SM_LUMOCMD, MAKEWPARAM(0, cmdSetPrintTarget), reinterpret_cast<LPARAM>(dc)};
    control.Dispatch(set);
    Message print{WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND};
    control.Dispatch(print);
    if (print.Result == 0) {
      // Not answered: the control paints as its parent would paint it.
      TCanvas canvas(dc);
      canvas.Font() = control.Font();
      control.PaintTo(canvas);
    }
    Message clear{SM_LUMOCMD, MAKEWPARAM(0, cmdSetPrintTarget), 0};
    control.Dispatch(clear);
    return;
  }
  if (!windowed->HandleAllocated()) return;

  PrintWindowed(dc, *windowed);
  const RECT client = ClientRectInWindow(windowed->WindowHandle());
  for (std::size_t i = 0; i < windowed->Controls().size(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(windowed->Controls()[i]);
    // The child's own visibility: its form may have its redraw off (and so look hidden)
    // while an animation takes its picture.
    if (!child || !child->HandleAllocated() ||
        !(::GetWindowLongPtrW(child->WindowHandle(), GWL_STYLE) & WS_VISIBLE)) {
      continue;
    }
    // Children lie in the client area; a window moves its children with its scroll position,
    // which the child's window rectangle already tells.
    const RECT cr = WindowRectOf(child->WindowHandle());
    POINT at{cr.left, cr.top};
    ::ScreenToClient(windowed->WindowHandle(), &at);
    SnapshotInto(dc, *child, client.left + at.x, client.top + at.y, nullptr);
  }
}

Window MakeLayeredAt(RECT r, bool toolWindow) {
  Window w = CreateAnimationWindow(toolWindow);
  if (w) {
    ::SetWindowPos(w.get(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOREDRAW);
  }
  return w;
}

std::unique_ptr<TlcHideTimer>& GlobalHideTimer() {
  static std::unique_ptr<TlcHideTimer> timer;
  return timer;
}

void ClearBitmap(graphics::Bitmap& b) {
  for (int y = 0; y < b.Height(); ++y) std::memset(b.ScanLine(y), 0, std::size_t{4} * b.Width());
}

}  // namespace

// ---------------------------------------------------------------- lock

bool AnimationLock() noexcept { return LockFlag(); }

AnimationLockScope::AnimationLockScope() noexcept : previous_(LockFlag()) { LockFlag() = true; }

AnimationLockScope::~AnimationLockScope() { Release(); }

void AnimationLockScope::Release() noexcept {
  if (released_) return;
  released_ = true;
  LockFlag() = previous_;
}

// ---------------------------------------------------------------- layered output

void SetLayeredFrameObserver(LayeredFrameObserver observer) { Observer() = std::move(observer); }

std::uint32_t PictureChecksum(const graphics::Bitmap& picture) noexcept {
  std::uint32_t h = 2166136261u;
  if (picture.Format() != graphics::PixelFormat::pf32bit) return h;
  for (int y = 0; y < picture.Height(); ++y) {
    const std::uint32_t* row = picture.Row32(y);
    for (int x = 0; x < picture.Width(); ++x) {
      for (int k = 0; k < 4; ++k) {
        h ^= (row[x] >> (8 * k)) & 0xFF;
        h *= 16777619u;
      }
    }
  }
  return h;
}

Window CreateAnimationWindow(bool toolWindow) {
  if (!RegisterAnimationClass()) return Window();
  DWORD ex = WS_EX_LAYERED | WS_EX_NOACTIVATE | (toolWindow ? WS_EX_TOOLWINDOW : 0);
  return Window(::CreateWindowExW(ex, kAnimationClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr));
}

bool ShowLayeredPicture(HWND window, const graphics::Bitmap& picture, POINT position, int opacity,
                        bool colorKey) {
  const auto& api = LayeredApi();
  if (!api.UpdateLayeredWindow || !window || picture.Empty()) return false;
  Bitmap section = PremultipliedSection(picture);
  if (!section) return false;
  bool done = false;
  {
    WindowDC screen(nullptr);
    MemoryDC mem(::CreateCompatibleDC(screen.get()));
    if (!mem) return false;
    SelectedObject selected(mem.get(), section.get());
    POINT src{0, 0};
    SIZE size{picture.Width(), picture.Height()};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(std::clamp(opacity, 0, 255)),
                        AC_SRC_ALPHA};
    done = api.UpdateLayeredWindow(window, screen.get(), &position, &size, mem.get(), &src,
                                   colorKey ? static_cast<COLORREF>(graphics::clNone) : 0, &blend,
                                   ULW_ALPHA) != FALSE;
  }
  ReportFrame(window, std::clamp(opacity, 0, 255), picture, colorKey);
  return done;
}

void ReportFrame(HWND window, int opacity, const graphics::Bitmap& picture, bool colorKey) {
  if (!Observer()) return;
  LayeredFrame f;
  f.Window = window;
  f.Opacity = opacity;
  f.Bounds = WindowRectOf(window);
  f.Checksum = PictureChecksum(picture);
  f.ColorKey = colorKey;
  f.Picture = &picture;
  Observer()(f);
}

// ---------------------------------------------------------------- snapshots

void DrawPicture(HDC dc, int x, int y, const graphics::Bitmap& picture) {
  if (picture.Empty() || picture.Format() != graphics::PixelFormat::pf32bit) return;
  const int w = picture.Width(), h = picture.Height();
  graphics::Bitmap copy;
  const graphics::Bitmap* p = &picture;
  const std::ptrdiff_t stride = picture.Stride();
  if (stride != std::ptrdiff_t{4} * w && stride != -std::ptrdiff_t{4} * w) {
    copy = picture.Clone();
    p = &copy;
  }
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  const void* bits;
  if (p->Stride() > 0) {
    bi.bmiHeader.biHeight = -h;  // top-down rows from row 0
    bits = p->ScanLine(0);
  } else {
    bi.bmiHeader.biHeight = h;  // bottom-up rows: the last row lies lowest in memory
    bits = p->ScanLine(h - 1);
  }
  ::SetDIBitsToDevice(dc, x, y, w, h, 0, 0, 0, h, bits, &bi, DIB_RGB_COLORS);
}

void SnapshotWindow(graphics::Bitmap& bitmap, TControl& control, int x, int y,
                    AnimatedForm* provider) {
  if (bitmap.Empty() || bitmap.Format() != graphics::PixelFormat::pf32bit) return;
  {
    BitmapDC dc(bitmap);
    if (!dc.get()) return;
    SnapshotInto(dc.get(), control, x, y, provider);
  }
  if (provider && provider->BorderWindow()) {
    // The border window's picture keeps its own alpha; the form's client area is opaque.
    const RECT m = provider->BorderMargins();
    const RECT c = ClientRectInWindow(provider->FormWindow());
    graphics::SetOpacityRect(
        bitmap,
        {x + m.left + c.left, y + m.top + c.top, x + m.left + c.right, y + m.top + c.bottom}, 255,
        false);
  }
}

// ---------------------------------------------------------------- show

namespace {

// Shows `picture` in `layered` at `pos` (screen), placed in Z-order right above `window`, step
// by step from transparent to `target`, and then whole at `target`.
void PlayShowSteps(HWND window, HWND layered, const graphics::Bitmap& picture, POINT pos,
                   int timeMs, int target, TlcAnimType mode) {
  const int w = picture.Width(), h = picture.Height();
  HWND after = HWND_TOP;
  if (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) {
    after = HWND_TOPMOST;
  } else if (HWND prev = ::GetWindow(window, GW_HWNDPREV); prev && prev != layered) {
    after = prev;
  }
  ::SetWindowPos(layered, after, pos.x, pos.y, w, h, SWP_NOACTIVATE);
  ShowLayeredPicture(layered, picture, pos, 0);
  ::ShowWindow(layered, SW_SHOWNOACTIVATE);

  sapala::skin::ShowAnimationSteps steps(w, h, timeMs, target, mode);
  graphics::Bitmap frame = graphics::NewBitmap32(w, h);
  bool copied = false;
  for (AnimationFrame f; steps.Next(f);) {
    if (f.Stretched) {
      graphics::StretchBitmapRect(frame, f.Rect, picture, picture.Bounds());
      copied = false;
    } else if (!copied) {
      graphics::CopyBitmapRect(frame, {0, 0}, picture, picture.Bounds());
      copied = true;
    }
    ShowLayeredPicture(layered, frame, pos, f.Opacity);
    ::Sleep(kAnimationStepMs);
  }
  ShowLayeredPicture(layered, picture, pos, target);
}

}  // namespace

void ShowWindowAnimated(HWND window, const graphics::Bitmap& picture, int timeMs, int targetOpacity,
                        TlcAnimType mode) {
  if (!window) return;
  const int target = std::clamp(targetOpacity, 0, 255);
  AnimationLockScope lock;
  Window own;
  if (!picture.Empty() && AnimationStepCount(timeMs) > 0 && LayeredApi().UpdateLayeredWindow) {
    own = CreateAnimationWindow(true);
    if (own) {
      const RECT wr = WindowRectOf(window);
      PlayShowSteps(window, own.get(), picture, {wr.left, wr.top}, timeMs, target, mode);
      ::SetWindowPos(window, own.get(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  ::SendMessageW(window, WM_SETREDRAW, TRUE, 0);
  lock.Release();
  ::RedrawWindow(window, nullptr, nullptr,
                 RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  if (own) {
    ::SetWindowPos(own.get(), window, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void ShowFormAnimated(AnimatedForm& provider, int timeMs, int targetOpacity, TlcAnimType mode) {
  HWND form = provider.FormWindow();
  if (!form) return;
  const int target = std::clamp(targetOpacity, 0, 255);
  AnimationLockScope lock;
  provider.SetFormState(provider.FormState() | fsShowing);
  graphics::Bitmap* cache = provider.WindowImage();
  const bool animate = cache && !cache->Empty() && AnimationStepCount(timeMs) > 0 &&
                       LayeredApi().UpdateLayeredWindow;

  HWND layered = nullptr;
  Window own;
  HWND border = provider.BorderWindow();
  if (animate) {
    const int w = cache->Width(), h = cache->Height();
    const RECT wr = WindowRectOf(form);
    const RECT m = border ? provider.BorderMargins() : RECT{};
    const POINT pos{wr.left - m.left, wr.top - m.top};
    if (border) {
      layered = border;
      ::SetWindowRgn(border, nullptr, FALSE);
    } else {
      own = CreateAnimationWindow(true);
      layered = own.get();
    }
    if (layered) {
      graphics::Bitmap picture = graphics::NewBitmap32(w, h);
      SnapshotWindow(picture, provider.Form(), 0, 0, &provider);
      if (!border) graphics::SetOpacityRect(picture, picture.Bounds(), 255, false);
      PlayShowSteps(form, layered, picture, pos, timeMs, target, mode);
    }
  }

  provider.SetFormState(provider.FormState() & ~static_cast<unsigned>(fsShowing));
  provider.ShownAtOpacity(target);
  if (layered) {
    ::SetWindowPos(form, layered, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  ::SendMessageW(form, WM_SETREDRAW, TRUE, 0);
  lock.Release();
  ::RedrawWindow(form, nullptr, nullptr,
                 RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  if (layered) {
    ::SetWindowPos(layered, form, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (layered == border) provider.BorderWindowRestored();
  }
  own.reset();
  provider.AfterAnimation(TlcAnimEvent::aeShowing);
}

// ---------------------------------------------------------------- hide

TlcHideTimer::TlcHideTimer(threading::UiDispatcher& ui) : TlcThreadedTimer(ui, nullptr, true) {}

TlcHideTimer::~TlcHideTimer() {
  StopTimer();  // no tick may reach the members being freed below
  Abort();
}

void TlcHideTimer::Abort() noexcept {
  SetEnabled(false);
  window_.reset();
  source_ = graphics::Bitmap();
  frame_ = graphics::Bitmap();
  steps_.reset();
}

void TlcHideTimer::Start(Window window, graphics::Bitmap picture, int timeMs, TlcAnimType mode,
                         int startOpacity, bool runAtOnce) {
  Abort();
  if (!window || picture.Empty() || AnimationStepCount(timeMs) == 0 ||
      !LayeredApi().UpdateLayeredWindow) {
    return;  // `window` and `picture` go at the end of this scope
  }
  window_ = std::move(window);
  source_ = std::move(picture);
  const int w = source_.Width(), h = source_.Height();
  const int start = std::clamp(startOpacity, 0, 255);
  steps_ = std::make_unique<sapala::skin::HideAnimationSteps>(w, h, timeMs, start, mode);
  stepCount_ = steps_->StepCount();
  stepIndex_ = 0;
  copied_ = false;
  const RECT r = WindowRectOf(window_.get());
  position_ = {r.left, r.top};

  HWND hwnd = window_.get();
  ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE,
                      ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED | WS_EX_NOACTIVATE);
  ShowLayeredPicture(hwnd, source_, position_, start, true);
  ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  ::SetWindowPos(hwnd, HWND_TOPMOST, position_.x, position_.y, w, h,
                 SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOCOPYBITS | SWP_NOREDRAW);
  frame_ = graphics::NewBitmap32(w, h);

  if (runAtOnce) {
    while (Step()) ::Sleep(kAnimationStepMs);
    return;
  }
  if (Step()) {
    SetInterval(kAnimationStepMs);
    SetEnabled(true);
  }
}

void TlcHideTimer::TimerEvent() { Step(); }

bool TlcHideTimer::Step() {
  if (!window_ || !steps_) return false;
  AnimationFrame f;
  if (!steps_->Next(f)) {
    SetEnabled(false);
    SetInterval(0xFFFF);
    window_.reset();
    source_ = graphics::Bitmap();
    frame_ = graphics::Bitmap();
    steps_.reset();
    return false;
  }
  if (f.Stretched) {
    ClearBitmap(frame_);
    graphics::StretchBitmapRect(frame_, f.Rect, source_, source_.Bounds());
    copied_ = false;
  } else if (!copied_) {
    graphics::CopyBitmapRect(frame_, {0, 0}, source_, source_.Bounds());
    copied_ = true;
  }
  ShowLayeredPicture(window_.get(), frame_, position_, f.Opacity, true);
  ++stepIndex_;
  return true;
}

TlcHideTimer* HideTimer() noexcept { return GlobalHideTimer().get(); }

void ShutDownHideAnimation() noexcept { GlobalHideTimer().reset(); }

void StartHideAnimation(Window window, graphics::Bitmap picture, int timeMs, TlcAnimType mode,
                        int startOpacity) {
  if (TlcHideTimer* running = HideTimer()) running->Abort();
  if (AnimationStepCount(timeMs) == 0 || !window) return;  // both freed here
  WindowDispatcher* ui = UiThread();
  if (!ui) return;  // the engine is not started: nothing can step the animation
  auto& timer = GlobalHideTimer();
  if (!timer) timer = std::make_unique<TlcHideTimer>(*ui);
  const bool atOnce = Application().Terminated() || ui->Terminating();
  timer->Start(std::move(window), std::move(picture), timeMs, mode, startOpacity, atOnce);
}

void HideFormAnimated(AnimatedForm& provider) {
  ClearGlows(true);
  HWND form = provider.FormWindow();
  graphics::Bitmap* cache = provider.WindowImage();
  if (!form || !cache || cache->Empty()) return;
  AnimationLockScope lock;
  Window layered;
  graphics::Bitmap picture;
  if (provider.BorderWindow()) {
    layered = provider.ReleaseBorderWindow();
    if (layered) picture = provider.BorderWindowPicture();
  }
  if (!layered || picture.Empty()) {
    layered = MakeLayeredAt(WindowRectOf(form), false);
    picture = cache->Clone();
    graphics::SetOpacityRect(picture, picture.Bounds(), 255, false);
  }
  const auto& settings = provider.Manager().Core().AnimEffects.FormHide;
  StartHideAnimation(std::move(layered), std::move(picture), settings.Time, settings.Mode, 255);
}

// ---------------------------------------------------------------- queries

TForm* ParentFormOf(TComponent* component) noexcept {
  for (TComponent* c = component; c; c = c->Owner()) {
    if (auto* form = dynamic_cast<TForm*>(c)) return form;
  }
  return nullptr;
}

bool CanPaint(const TControl& control) {
  const TsCommonData* data = CommonDataOf(&control);
  return !data || !data->PaintingHeldBack();
}

LRESULT SendLumoCommand(TControl& control, WORD command, LPARAM lp) {
  if (control.Destroying()) return 0;
  const WPARAM wp = MAKEWPARAM(0, command);
  if (auto* w = dynamic_cast<TWinControl*>(&control)) {
    return w->HandleAllocated() ? ::SendMessageW(w->WindowHandle(), SM_LUMOCMD, wp, lp) : 0;
  }
  Message m{SM_LUMOCMD, wp, lp};
  control.Dispatch(m);
  return m.Result;
}

HWND TopLevelWindowOf(HWND window) noexcept {
  if (!window || !::IsWindow(window)) return nullptr;
  HWND root = ::GetAncestor(window, GA_ROOT);
  return root ? root : window;
}

RECT ClientRectInWindow(HWND window) noexcept {
  RECT wr{}, cr{};
  if (!window || !::GetWindowRect(window, &wr) || !::GetClientRect(window, &cr)) return {};
  POINT origin{0, 0};
  ::ClientToScreen(window, &origin);
  const int dx = origin.x - wr.left, dy = origin.y - wr.top;
  return {dx, dy, dx + cr.right, dy + cr.bottom};
}

void BroadcastToChildWindows(HWND window, const Lumo& m) {
  std::vector<HWND> children;
  for (HWND c = ::GetWindow(window, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
    children.push_back(c);
  for (HWND c : children) {
    // A handler may have destroyed or moved a later sibling meanwhile.
    if (::IsWindow(c) && ::GetAncestor(c, GA_PARENT) == window)
      ::SendMessageW(c, m.msg, m.wp, m.lp);
  }
}

}  // namespace sapala::win::skin
