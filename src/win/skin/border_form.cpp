#include "win/skin/border_form.h"

#include <algorithm>

#include "win/skin/animations.h"
#include "win/skin/platform.h"

namespace sapala::win::skin {

namespace {

constexpr wchar_t kBorderClass[] = L"TlcBorderForm";
constexpr wchar_t kBorderProp[] = L"SapalaBorderForm";
// A press this close to a corner of the form sizes both edges of that corner.
constexpr int kCornerReach = 16;

bool RegisterBorderClass(WNDPROC proc) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  if (::GetClassInfoExW(instance, kBorderClass, &wc)) return true;
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kBorderClass;
  return ::RegisterClassExW(&wc) != 0;
}

}  // namespace

TlcBorderForm::TlcBorderForm(HWND form) : form_(form) {
  if (!form || !LayeredApi().UpdateLayeredWindow || !RegisterBorderClass(&Proc)) return;
  // The form's owner, not the form: the companion must be able to lie under the form.
  HWND owner = ::GetWindow(form, GW_OWNER);
  window_.reset(::CreateWindowExW(kBorderFormExStyle, kBorderClass, L"", WS_POPUP, 0, 0, 0, 0,
                                  owner, nullptr, ::GetModuleHandleW(nullptr), nullptr));
  if (window_) ::SetPropW(window_.get(), kBorderProp, this);
}

TlcBorderForm::~TlcBorderForm() {
  if (window_) ::RemovePropW(window_.get(), kBorderProp);
}

TlcBorderForm* TlcBorderForm::From(HWND hwnd) noexcept {
  return static_cast<TlcBorderForm*>(::GetPropW(hwnd, kBorderProp));
}

Window TlcBorderForm::Release() noexcept {
  if (window_) ::RemovePropW(window_.get(), kBorderProp);
  shown_ = false;
  return std::move(window_);
}

bool TlcBorderForm::Update(const graphics::Bitmap& picture, RECT margins, int opacity) {
  if (!window_ || picture.Empty()) return false;
  margins_ = margins;
  opacity_ = std::clamp(opacity, 0, 255);
  RECT wr{};
  ::GetWindowRect(form_, &wr);
  const POINT at{wr.left - margins.left, wr.top - margins.top};
  picture_ = picture.Clone();
  const bool done = ShowLayeredPicture(window_.get(), picture_, at, opacity_);
  shown_ = shown_ || done;
  Follow();
  return done;
}

bool TlcBorderForm::Visible() const noexcept { return window_ && ::IsWindowVisible(window_.get()); }

void TlcBorderForm::Hide() noexcept {
  if (window_ && ::IsWindowVisible(window_.get())) {
    ::SetWindowPos(window_.get(), nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                       SWP_NOOWNERZORDER);
  }
}

void TlcBorderForm::Follow() noexcept {
  if (!window_ || !shown_) return;
  if (!::IsWindow(form_) || !::IsWindowVisible(form_) || ::IsIconic(form_) || ::IsZoomed(form_)) {
    Hide();
    return;
  }
  RECT wr{};
  ::GetWindowRect(form_, &wr);
  // Directly under the form in Z-order, without activating either.
  ::SetWindowPos(window_.get(), form_, wr.left - margins_.left, wr.top - margins_.top, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_SHOWWINDOW);
}

LRESULT TlcBorderForm::HitTest(POINT p) const noexcept {
  if (!::IsWindow(form_)) return HTTRANSPARENT;
  const LONG_PTR style = ::GetWindowLongPtrW(form_, GWL_STYLE);
  if (!(style & WS_THICKFRAME) || ::IsZoomed(form_) || ::IsIconic(form_)) return HTTRANSPARENT;
  RECT f{};
  ::GetWindowRect(form_, &f);
  if (::PtInRect(&f, p)) return HTTRANSPARENT;
  const bool left = p.x < f.left + kCornerReach;
  const bool right = p.x >= f.right - kCornerReach;
  const bool top = p.y < f.top + kCornerReach;
  const bool bottom = p.y >= f.bottom - kCornerReach;
  // Outside the form on one side, near a corner along the other: the corner.
  if (p.y < f.top) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
  if (p.y >= f.bottom) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
  if (p.x < f.left) return top ? HTTOPLEFT : bottom ? HTBOTTOMLEFT : HTLEFT;
  return top ? HTTOPRIGHT : bottom ? HTBOTTOMRIGHT : HTRIGHT;
}

LRESULT CALLBACK TlcBorderForm::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  TlcBorderForm* self = From(hwnd);
  switch (msg) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_NCHITTEST:
      if (!self) return HTTRANSPARENT;
      return self->HitTest({static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (self && wp >= HTLEFT && wp <= HTBOTTOMRIGHT) {
        const POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        const int code = static_cast<int>(wp);
        if (self->OnBorderPress && self->OnBorderPress(code, p)) return 0;
        // WMSZ_LEFT .. WMSZ_BOTTOMRIGHT follow HTLEFT .. HTBOTTOMRIGHT in the same order.
        ::SendMessageW(self->form_, WM_SYSCOMMAND, SC_SIZE + static_cast<WPARAM>(code - 9), lp);
        return 0;
      }
      break;
    default:
      break;
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace sapala::win::skin
