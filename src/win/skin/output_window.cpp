#include "win/skin/output_window.h"

#include <memory>
#include <vector>

#include "core/graphics/pixels.h"
#include "core/skin/animation_steps.h"
#include "win/controls/skin_link.h"
#include "win/framework/dib.h"
#include "win/skin/animations.h"

namespace sapala::win::skin {

namespace {

constexpr INT_PTR kNoSkinTag = -98;

struct OutputState {
  std::unique_ptr<TOutputWindow> window;
  std::unique_ptr<graphics::Bitmap> picture;
};

OutputState& State() {
  static OutputState state;
  return state;
}

RECT WindowRectOf(HWND hwnd) noexcept {
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  return r;
}

// The screen pixels of `r` (alpha 255).
graphics::Bitmap CaptureScreen(RECT r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  graphics::Bitmap out = graphics::NewBitmap32(w, h);
  if (out.Empty()) return out;
  DibSurface surface;
  surface.Resize(w, h);
  {
    WindowDC screen(nullptr);
    ::BitBlt(surface.DC(), 0, 0, w, h, screen.get(), r.left, r.top, SRCCOPY);
    ::GdiFlush();
  }
  graphics::CopyBitmapRect(out, {0, 0}, surface.Pixels(), surface.Pixels().Bounds());
  graphics::SetOpacityRect(out, out.Bounds(), 255, false);
  return out;
}

}  // namespace

// ---------------------------------------------------------------- TOutputWindow

TOutputWindow::TOutputWindow(TWinControl& over) : TCustomControl(nullptr), over_(over) {
  SetClassName("TOutputWindow");
  SetCaption(L"lcOutputWindow");
  SetVisible(false);
  SetColor(graphics::clFuchsia);
  SetTag(kNoSkinTag);
}

void TOutputWindow::CreateParams(struct CreateParams& params) {
  TCustomControl::CreateParams(params);
  if (over_.Parent() && over_.Parent()->HandleAllocated()) {
    params.parent = over_.Parent()->WindowHandle();
    return;
  }
  // A popup over its owner; topmost when the owner is.
  params.style = WS_POPUP;
  params.ex_style = 0;
  params.parent = over_.HandleAllocated() ? over_.WindowHandle() : nullptr;
  if (params.parent && (::GetWindowLongPtrW(params.parent, GWL_EXSTYLE) & WS_EX_TOPMOST))
    params.ex_style |= WS_EX_TOPMOST;
}

void TOutputWindow::WndProc(Message& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;  // what lies under it on the screen stays
      return;
    case WM_NCPAINT:
      m.Result = 0;
      return;
    case WM_PAINT: {
      PaintScope done(WindowHandle());  // validated, nothing drawn
      return;
    }
    default:
      TCustomControl::WndProc(m);
  }
}

// ---------------------------------------------------------------- freezing

TOutputWindow* OutputWindow() noexcept { return State().window.get(); }

const graphics::Bitmap* OutputPicture() noexcept { return State().picture.get(); }

void ReleaseOutputWindow() noexcept {
  State().window.reset();
  State().picture.reset();
}

void FreezeUnderOutputWindow(TWinControl& control) {
  HWND hwnd = control.WindowHandle();
  if (!hwnd) return;
  OutputState& s = State();
  const RECT wr = WindowRectOf(hwnd);
  // One picture at a time, always of this control's size (a picture kept from a control of
  // another size would blend only over the common part).
  s.picture = std::make_unique<graphics::Bitmap>(CaptureScreen(wr));
  if (s.window && (&s.window->Over() != &control || !s.window->HandleAllocated())) {
    s.window.reset();
  }
  if (!s.window) {
    s.window = std::make_unique<TOutputWindow>(control);
    if (control.Parent()) {
      const RECT b = control.BoundsRect();
      s.window->SetBounds(b.left, b.top, b.right - b.left, b.bottom - b.top);
    } else {
      s.window->SetBounds(wr.left, wr.top, wr.right - wr.left, wr.bottom - wr.top);
    }
    s.window->CreateHandle();
  }
  HWND out = s.window->WindowHandle();
  if (control.Parent()) {
    // Next to the control in its parent's child order: directly above it.
    HWND above = ::GetWindow(hwnd, GW_HWNDPREV);
    ::SetWindowPos(out, above && above != out ? above : HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  } else {
    ::SetWindowPos(out, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
}

// ---------------------------------------------------------------- the cross-fade

void SkinChangeAnimated(TWinControl& control, int timeMs) {
  HWND hwnd = control.WindowHandle();
  if (!hwnd) return;
  AnimationLockScope lock;
  OutputState& s = State();
  if (!s.window || &s.window->Over() != &control || !s.picture) FreezeUnderOutputWindow(control);
  if (!s.window || !s.window->HandleAllocated() || !s.picture) {
    ReleaseOutputWindow();
    return;
  }
  HWND out = s.window->WindowHandle();
  const graphics::Bitmap& old = *s.picture;
  graphics::Bitmap fresh = graphics::NewBitmap32(old.Width(), old.Height());
  SnapshotWindow(fresh, control, 0, 0, nullptr);
  graphics::SetOpacityRect(fresh, fresh.Bounds(), 255, false);

  // A skinned window with a shaped frame: the output window takes the same shape.
  if (::SendMessageW(hwnd, SM_LUMOCMD, MAKEWPARAM(0, cmdIsSkinned), 0) != 0) {
    Region shape(::CreateRectRgn(0, 0, 0, 0));
    if (shape && ::GetWindowRgn(hwnd, shape.get()) != ERROR) {
      if (::SetWindowRgn(out, shape.get(), FALSE)) (void)shape.release();  // the system owns it
    }
  }

  const std::vector<int> weights = sapala::skin::SkinChangeWeights(timeMs);
  {
    WindowDC dc(out, true);
    graphics::Bitmap frame = graphics::NewBitmap32(old.Width(), old.Height());
    for (std::size_t i = 0; i < weights.size(); ++i) {
      if (i > 0) ::Sleep(sapala::skin::kAnimationStepMs);
      graphics::BlendBitmaps(frame, old, fresh, static_cast<std::uint8_t>(weights[i]), nullptr);
      DrawPicture(dc.get(), 0, 0, frame);
      ReportFrame(out, weights[i], frame);
    }
    DrawPicture(dc.get(), 0, 0, fresh);
    ReportFrame(out, 0, fresh);
  }
  lock.Release();
  if (control.Visible()) {
    ::SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
    if (LOBYTE(LOWORD(::GetVersion())) > 5) {
      ::RedrawWindow(hwnd, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
  }
  ReleaseOutputWindow();
}

}  // namespace sapala::win::skin
