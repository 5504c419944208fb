#include "win/framework/controls.h"

#include <windowsx.h>

#include <algorithm>

#include "win/framework/application.h"
#include "win/framework/forms.h"
#include "win/framework/loader.h"
#include "win/framework/text.h"

namespace sapala::win {

namespace {

constexpr wchar_t kControlProperty[] = L"SapalaControl";

unsigned MouseShift(WPARAM wp) noexcept {
  unsigned s = 0;
  if (wp & MK_SHIFT) s |= ssShift;
  if (wp & MK_CONTROL) s |= ssCtrl;
  if (wp & MK_LBUTTON) s |= ssLeft;
  if (wp & MK_RBUTTON) s |= ssRight;
  if (wp & MK_MBUTTON) s |= ssMiddle;
  if (::GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

// A mouse button message decoded: which button, pressed or released, double click or not.
struct ButtonMessage {
  bool is_button = false;
  bool down = false;
  bool double_click = false;
  MouseButton button = MouseButton::mbLeft;
};

ButtonMessage DecodeButton(UINT msg) noexcept {
  switch (msg) {
    case WM_LBUTTONDOWN:
      return {true, true, false, MouseButton::mbLeft};
    case WM_LBUTTONDBLCLK:
      return {true, true, true, MouseButton::mbLeft};
    case WM_LBUTTONUP:
      return {true, false, false, MouseButton::mbLeft};
    case WM_RBUTTONDOWN:
      return {true, true, false, MouseButton::mbRight};
    case WM_RBUTTONDBLCLK:
      return {true, true, true, MouseButton::mbRight};
    case WM_RBUTTONUP:
      return {true, false, false, MouseButton::mbRight};
    case WM_MBUTTONDOWN:
      return {true, true, false, MouseButton::mbMiddle};
    case WM_MBUTTONDBLCLK:
      return {true, true, true, MouseButton::mbMiddle};
    case WM_MBUTTONUP:
      return {true, false, false, MouseButton::mbMiddle};
    default:
      return {};
  }
}

bool RegisterOurClass(const std::wstring& name, WNDPROC proc) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  if (::GetClassInfoExW(instance, name.c_str(), &wc)) return true;
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = name.c_str();
  return ::RegisterClassExW(&wc) != 0;
}

}  // namespace

unsigned KeyboardShiftState() noexcept {
  unsigned s = 0;
  if (::GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (::GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (::GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* owner) : TComponent(owner) {
  font_.OnChange = [this] {
    parent_font_ = false;
    FontChanged();
  };
}

TControl::~TControl() {
  if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent_ == parent) return;
  if (parent_) parent_->RemoveControl(this);
  parent_ = parent;
  if (parent_) {
    parent_->InsertControl(this);
    if (parent_font_) {
      auto change = std::move(font_.OnChange);
      font_ = parent_->Font();
      font_.OnChange = std::move(change);
    }
  }
}

TForm* TControl::ParentForm() const noexcept {
  const TControl* c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  Invalidate();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  BoundsChanged();
  Invalidate();
}

void TControl::BoundsChanged() {}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  if (!visible) Invalidate();
  visible_ = visible;
  VisibleChanged();
  if (visible) Invalidate();
}

void TControl::VisibleChanged() {}

bool TControl::Showing() const noexcept {
  for (const TControl* c = this; c; c = c->parent_) {
    if (!c->visible_) return false;
  }
  return true;
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  EnabledChanged();
  Invalidate();
}

void TControl::SetCaption(std::wstring caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  CaptionChanged();
}

void TControl::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  parent_color_ = false;
  Invalidate();
}

void TControl::FontChanged() { Invalidate(); }

void TControl::Invalidate() {
  if (parent_ && parent_->HandleAllocated() && visible_) {
    const RECT r = BoundsRect();
    ::InvalidateRect(parent_->WindowHandle(), &r, FALSE);
  }
}

void TControl::Repaint() {
  Invalidate();
  if (parent_ && parent_->HandleAllocated()) ::UpdateWindow(parent_->WindowHandle());
}

void TControl::MouseDown(MouseButton button, unsigned shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
}
void TControl::MouseMove(unsigned shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(*this, shift, x, y);
}
void TControl::MouseUp(MouseButton button, unsigned shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(*this, button, shift, x, y);
}
void TControl::MouseEnter() {
  mouse_in_ = true;
  if (OnMouseEnter) OnMouseEnter(*this);
}
void TControl::MouseLeave() {
  mouse_in_ = false;
  if (OnMouseLeave) OnMouseLeave(*this);
}
void TControl::Click() {
  if (OnClick) OnClick(*this);
}
bool TControl::DialogChar(wchar_t, unsigned) { return false; }
bool TControl::DialogKey(WORD, unsigned) { return false; }
void TControl::Paint(TCanvas&) {}
void TControl::PaintTo(TCanvas& canvas) {
  if (painter_)
    painter_->PaintControl(*this, canvas);
  else
    Paint(canvas);
}
void TControl::Dispatch(Message&) {}

bool TControl::IsAccel(wchar_t ch) const {
  for (std::size_t i = 0; i + 1 < caption_.size(); ++i) {
    if (caption_[i] != L'&') continue;
    if (caption_[i + 1] == L'&') {
      ++i;
      continue;
    }
    wchar_t a[2] = {caption_[i + 1], 0}, b[2] = {ch, 0};
    ::CharUpperW(a);
    ::CharUpperW(b);
    return a[0] == b[0];
  }
  return false;
}

bool TControl::ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) {
  if (name == "Left") {
    left_ = static_cast<int>(loader.Int(p));
    return true;
  }
  if (name == "Top") {
    top_ = static_cast<int>(loader.Int(p));
    return true;
  }
  if (name == "Width") {
    width_ = static_cast<int>(loader.Int(p));
    return true;
  }
  if (name == "Height") {
    height_ = static_cast<int>(loader.Int(p));
    return true;
  }
  if (name == "Visible") {
    visible_ = loader.Bool(p);
    return true;
  }
  if (name == "Enabled") {
    enabled_ = loader.Bool(p);
    return true;
  }
  if (name == "Caption" || name == "Text") {
    caption_ = loader.String(p);
    return true;
  }
  if (name == "Color") {
    color_ = loader.Color(p);
    parent_color_ = false;
    return true;
  }
  if (name == "ParentFont") {
    parent_font_ = loader.Bool(p);
    return true;
  }
  if (name == "ParentColor") {
    parent_color_ = loader.Bool(p);
    return true;
  }
  if (name.starts_with("Font.")) {
    auto change = std::move(font_.OnChange);  // loading: no change notifications
    loader.ReadFont(font_, name.substr(5), p);
    font_.OnChange = std::move(change);
    parent_font_ = false;
    return true;
  }
  if (name == "OnClick") {
    OnClick = loader.Event<TNotifyEvent>(p);
    return true;
  }
  if (name == "OnMouseDown") {
    OnMouseDown = loader.Event<TMouseEvent>(p);
    return true;
  }
  if (name == "OnMouseUp") {
    OnMouseUp = loader.Event<TMouseEvent>(p);
    return true;
  }
  if (name == "OnMouseMove") {
    OnMouseMove = loader.Event<TMouseMoveEvent>(p);
    return true;
  }
  if (name == "OnMouseEnter") {
    OnMouseEnter = loader.Event<TNotifyEvent>(p);
    return true;
  }
  if (name == "OnMouseLeave") {
    OnMouseLeave = loader.Event<TNotifyEvent>(p);
    return true;
  }
  return TComponent::ReadProperty(name, p, loader);
}

// ---------------------------------------------------------------- TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
  WindowProc = [this](Message& m) { WndProc(m); };
}

TWinControl::~TWinControl() {
  DestroyHandle();
  // Children still pointing here (not owned by us) lose their parent.
  for (TControl* c : controls_) c->parent_ = nullptr;
}

TWinControl* TWinControl::FromHandle(HWND hwnd) noexcept {
  return hwnd ? static_cast<TWinControl*>(::GetPropW(hwnd, kControlProperty)) : nullptr;
}

void TWinControl::InsertControl(TControl* control) { controls_.push_back(control); }

void TWinControl::RemoveControl(TControl* control) {
  if (captured_ == control) captured_ = nullptr;
  if (hover_child_ == control) hover_child_ = nullptr;
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}

void TWinControl::CreateParams(struct CreateParams& params) {
  params.x = left_;
  params.y = top_;
  params.width = width_;
  params.height = height_;
  if (parent_) params.parent = parent_->Handle();
  if (visible_) params.style |= WS_VISIBLE;
  if (!enabled_) params.style |= WS_DISABLED;
  if (tab_stop_) params.style |= WS_TABSTOP;
}

void TCustomControl::CreateParams(struct CreateParams& params) {
  TWinControl::CreateParams(params);
  params.window_class = ClassName().empty() ? L"SapalaControl" : Widen(ClassName());
}

HWND TWinControl::Handle() {
  if (!hwnd_) CreateHandle();
  return hwnd_;
}

void TWinControl::CreateHandle() {
  if (hwnd_) return;
  struct CreateParams params;
  CreateParams(params);
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (params.standard_class) {
    hwnd_ = ::CreateWindowExW(params.ex_style, params.window_class.c_str(), caption_.c_str(),
                              params.style, params.x, params.y, params.width, params.height,
                              params.parent, nullptr, instance, nullptr);
    if (!hwnd_) throw std::runtime_error("a window could not be created");
    window_owner_.reset(hwnd_);
    ::SetPropW(hwnd_, kControlProperty, this);
    original_proc_ = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWinControl::StaticWndProc)));
  } else {
    if (!RegisterOurClass(params.window_class, &TWinControl::StaticWndProc)) {
      throw std::runtime_error("a window class could not be registered");
    }
    // WM_NCCREATE binds the window to this object (lpCreateParams).
    ::CreateWindowExW(params.ex_style, params.window_class.c_str(), caption_.c_str(), params.style,
                      params.x, params.y, params.width, params.height, params.parent, nullptr,
                      instance, this);
    if (!hwnd_) throw std::runtime_error("a window could not be created");
  }
  ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), FALSE);
  // Children are made in creation order and each goes on top: a later sibling lies above an
  // earlier one where they overlap.
  if (params.parent)
    ::SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  for (TControl* c : controls_) {
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->CreateHandle();
  }
  CreateWnd();
}

void TWinControl::DestroyHandle() noexcept {
  // DestroyWindow; WM_NCDESTROY, on its way, puts the class procedure back and clears hwnd_.
  window_owner_.reset();
  hwnd_ = nullptr;
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  TWinControl* self = FromHandle(hwnd);
  if (!self && msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    self = static_cast<TWinControl*>(cs->lpCreateParams);
    if (self) {
      self->hwnd_ = hwnd;
      self->window_owner_.reset(hwnd);
      ::SetPropW(hwnd, kControlProperty, self);
    }
  }
  if (!self) return ::DefWindowProcW(hwnd, msg, wp, lp);

  Message m{msg, wp, lp, 0, false, 0};
  try {
    self->WindowProc(m);
  } catch (...) {
    Application().HandleException(std::current_exception());
    // The window answers what the default procedure answers (0 would mean "nowhere" to a hit
    // test and "no keys wanted" to WM_GETDLGCODE); it runs now if it has not run yet.
    if (!m.Defaulted) {
      Message plain{msg, wp, lp, 0, false, 0};
      self->DefaultHandler(plain);
      m.DefaultResult = plain.Result;
    }
    m.Result = m.DefaultResult;
  }
  if (msg == WM_NCDESTROY) {
    ::RemovePropW(hwnd, kControlProperty);
    if (self->original_proc_) {
      // Put the class procedure back only if the window still points to ours.
      if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) ==
          &TWinControl::StaticWndProc) {
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->original_proc_));
      }
      self->original_proc_ = nullptr;
    }
    // Destroyed from outside (with its parent, say) the window is gone, not ours to close any
    // more; destroyed by DestroyHandle, the owner has let go of it already.
    (void)self->window_owner_.release();
    self->hwnd_ = nullptr;
  }
  return m.Result;
}

void TWinControl::DefaultHandler(Message& m) {
  if (!hwnd_) return;
  m.Result = original_proc_ ? ::CallWindowProcW(original_proc_, hwnd_, m.Msg, m.WParam, m.LParam)
                            : ::DefWindowProcW(hwnd_, m.Msg, m.WParam, m.LParam);
  m.Defaulted = true;
  m.DefaultResult = m.Result;
}

TControl* TWinControl::GraphicChildAt(int x, int y, bool allow_disabled) const noexcept {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (dynamic_cast<TWinControl*>(c) || !c->Visible() || (!allow_disabled && !c->Enabled()))
      continue;
    const RECT r = c->BoundsRect();
    const POINT pt{x, y};
    if (::PtInRect(&r, pt)) return c;
  }
  return nullptr;
}

void TWinControl::HandleMouseForChildren(Message& m, bool& handled) {
  const auto [x, y] = m.MousePoint();
  const unsigned shift = MouseShift(m.WParam);
  if (m.Msg == WM_MOUSEMOVE) {
    // Entering and leaving are told whatever the child's enabled state; clicks and moves go
    // to enabled children only.
    TControl* under = GraphicChildAt(x, y, /*allow_disabled=*/true);
    if (under != hover_child_) {
      if (hover_child_) hover_child_->MouseLeave();
      hover_child_ = under;
      if (hover_child_) hover_child_->MouseEnter();
    }
  }
  TControl* target = captured_ ? captured_ : GraphicChildAt(x, y, false);
  if (!target) return;
  const int cx = x - target->Left(), cy = y - target->Top();
  if (m.Msg == WM_MOUSEMOVE) {
    handled = true;
    target->MouseMove(shift, cx, cy);
    return;
  }
  const ButtonMessage b = DecodeButton(m.Msg);
  if (!b.is_button) return;
  handled = true;
  if (b.button == MouseButton::mbLeft) {
    // The left button captures: the child gets the moves and the release wherever they are.
    if (b.down) {
      captured_ = target;
      ::SetCapture(hwnd_);
    } else {
      captured_ = nullptr;
      if (::GetCapture() == hwnd_) ::ReleaseCapture();
    }
  }
  if (b.down)
    target->MouseDown(b.button, shift | (b.double_click ? static_cast<unsigned>(ssDouble) : 0u), cx,
                      cy);
  else
    target->MouseUp(b.button, shift, cx, cy);
}

void TWinControl::WndProc(Message& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      if (!original_proc_) {
        m.Result = 1;
        return;
      }
      break;
    case WM_PAINT:
      if (!original_proc_) {
        PaintScope ps(hwnd_);
        PaintWindow(ps.dc(), ps.area());
        return;
      }
      break;
    case WM_PRINTCLIENT:
      if (!original_proc_) {
        RECT r = ClientRect();
        PaintWindow(reinterpret_cast<HDC>(m.WParam), r);
        return;
      }
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      WORD key = m.VirtualKey();
      KeyDown(key, KeyboardShiftState());
      if (key == 0) return;
      m.WParam = key;
      break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      WORD key = m.VirtualKey();
      KeyUp(key, KeyboardShiftState());
      if (key == 0) return;
      m.WParam = key;
      break;
    }
    case WM_CHAR: {
      wchar_t key = static_cast<wchar_t>(m.WParam);
      KeyPress(key);  // before the control applies the character
      if (key == 0) return;
      m.WParam = key;
      break;
    }
    case WM_SETFOCUS:
      DefaultHandler(m);
      DoEnter();
      return;
    case WM_KILLFOCUS:
      DefaultHandler(m);
      DoExit();
      return;
    case WM_MOUSEMOVE:
      if (!tracking_mouse_) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd_, 0};
        tracking_mouse_ = ::TrackMouseEvent(&tme) != FALSE;
        MouseEnter();
      }
      [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP: {
      bool handled = false;
      HandleMouseForChildren(m, handled);
      if (handled) return;
      const auto [x, y] = m.MousePoint();
      const unsigned shift = MouseShift(m.WParam);
      const ButtonMessage b = DecodeButton(m.Msg);
      if (m.Msg == WM_MOUSEMOVE)
        MouseMove(shift, x, y);
      else if (b.down)
        MouseDown(b.button, shift | (b.double_click ? static_cast<unsigned>(ssDouble) : 0u), x, y);
      else
        MouseUp(b.button, shift, x, y);
      break;
    }
    case WM_MOUSELEAVE:
      tracking_mouse_ = false;
      if (hover_child_) {
        hover_child_->MouseLeave();
        hover_child_ = nullptr;
      }
      MouseLeave();
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
      if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(m.LParam));
          child && child != this) {
        if (HBRUSH brush = child->CtlColor(reinterpret_cast<HDC>(m.WParam))) {
          m.Result = reinterpret_cast<LRESULT>(brush);
          return;
        }
      }
      break;
    case WM_COMMAND:
      if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(m.LParam));
          child && child != this) {
        if (child->ReflectCommand(HIWORD(m.WParam))) return;
      }
      break;
    case WM_SETCURSOR:
      // Over a windowless child (or this control) with a pointer of its own: show that one.
      if (reinterpret_cast<HWND>(m.WParam) == hwnd_ && LOWORD(m.LParam) == HTCLIENT) {
        POINT pt;
        ::GetCursorPos(&pt);
        ::ScreenToClient(hwnd_, &pt);
        const TControl* over = GraphicChildAt(pt.x, pt.y, false);
        const TCursor cursor = over && over->Cursor() != crDefault ? over->Cursor() : cursor_;
        if (cursor != crDefault) {
          const wchar_t* shape = cursor == crHandPoint ? IDC_HAND
                                 : cursor == crIBeam   ? IDC_IBEAM
                                                       : IDC_ARROW;
          ::SetCursor(::LoadCursorW(nullptr, shape));
          m.Result = TRUE;
          return;
        }
      }
      break;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(m.LParam) != hwnd_) captured_ = nullptr;
      break;
    case WM_GETDLGCODE:
      if (original_proc_) {
        // A standard class is asked without the key message: handed one, a rich edit switches
        // into dialog mode and posts WM_CLOSE to its parent on Escape (which would end the
        // program) and WM_NEXTDLGCTL on Tab.
        m.LParam = 0;
        DefaultHandler(m);
        // Tab always moves the focus on through the form's tab order; a class that wants all
        // keys (multi-line edits) keeps Enter and Escape.
        m.Result &= ~static_cast<LRESULT>(DLGC_WANTTAB);
        return;
      }
      break;
    default:
      break;
  }
  DefaultHandler(m);
}

void TWinControl::PaintBackground(TCanvas& canvas, const RECT& area) {
  canvas.Brush().SetColor(color_);
  canvas.FillRect(area);
}

void TWinControl::PaintWindow(HDC dc, const RECT& area) {
  // Into a back buffer first, then one copy to the screen: no flicker of half-drawn frames.
  const RECT client = ClientRect();
  const int w = std::max<int>(1, client.right), h = std::max<int>(1, client.bottom);
  MemoryDC mem(::CreateCompatibleDC(dc));
  Bitmap buffer(::CreateCompatibleBitmap(dc, w, h));
  if (!mem || !buffer) return;
  {
    SelectedObject selected(mem.get(), buffer.get());
    {
      TCanvas canvas(mem.get());
      canvas.Font() = font_;
      PaintBackground(canvas, client);
      Paint(canvas);
    }
    PaintControls(mem.get(), area);
    ::BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, mem.get(),
             area.left, area.top, SRCCOPY);
  }
}

void TWinControl::PaintControls(HDC dc, const RECT& area) {
  for (TControl* c : controls_) {
    if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
    const RECT bounds = c->BoundsRect();
    RECT visible;
    if (!::IntersectRect(&visible, &bounds, &area)) continue;
    SavedDC saved(dc);
    ::IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
    ::SetViewportOrgEx(dc, bounds.left, bounds.top, nullptr);
    TCanvas canvas(dc);
    canvas.Font() = c->Font();
    c->PaintTo(canvas);
  }
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (hwnd_)
    ::SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  BoundsChanged();
}

RECT TWinControl::ClientRect() const noexcept {
  RECT r{0, 0, width_, height_};
  if (hwnd_) ::GetClientRect(hwnd_, &r);
  return r;
}

void TWinControl::Invalidate() {
  if (hwnd_) ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void TWinControl::Repaint() {
  if (hwnd_) {
    ::InvalidateRect(hwnd_, nullptr, TRUE);
    ::UpdateWindow(hwnd_);
  }
}

void TWinControl::FontChanged() {
  if (hwnd_) ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), TRUE);
  for (TControl* c : controls_) {
    if (c->parent_font_) {
      auto change = std::move(c->font_.OnChange);
      c->font_ = font_;
      c->font_.OnChange = std::move(change);
      c->FontChanged();
    }
  }
  Invalidate();
}

void TWinControl::VisibleChanged() {
  if (hwnd_) ::ShowWindow(hwnd_, visible_ ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::CaptionChanged() {
  if (hwnd_) ::SetWindowTextW(hwnd_, caption_.c_str());
}

void TWinControl::EnabledChanged() {
  if (hwnd_) ::EnableWindow(hwnd_, enabled_);
}

void TWinControl::SetTabOrder(int order) { tab_order_ = order; }

bool TWinControl::CanFocus() const noexcept {
  for (const TControl* c = this; c; c = c->Parent()) {
    if (!c->Visible() || !c->Enabled()) return false;
  }
  return true;
}

bool TWinControl::Focused() const noexcept { return hwnd_ && ::GetFocus() == hwnd_; }

void TWinControl::SetFocus() {
  if (!CanFocus()) throw std::runtime_error("Cannot focus a disabled or invisible window");
  ::SetFocus(Handle());
}

void TWinControl::TabList(std::vector<TWinControl*>& list) const {
  std::vector<TWinControl*> children;
  for (TControl* c : controls_) {
    if (auto* w = dynamic_cast<TWinControl*>(c)) children.push_back(w);
  }
  std::stable_sort(
      children.begin(), children.end(),
      [](const TWinControl* a, const TWinControl* b) { return a->TabOrder() < b->TabOrder(); });
  for (TWinControl* w : children) {
    if (w->TabStop()) list.push_back(w);
    w->TabList(list);
  }
}

bool TWinControl::WantsKey(WORD key) {
  LRESULT mask;
  switch (key) {
    case VK_TAB:
      mask = DLGC_WANTTAB;
      break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      mask = DLGC_WANTARROWS;
      break;
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_EXECUTE:
    case VK_CANCEL:
      mask = DLGC_WANTALLKEYS;
      break;
    default:
      return true;
  }
  if (!hwnd_) return false;
  // Only the key's own flag counts: DLGC_WANTALLKEYS (the same bit as DLGC_WANTMESSAGE) takes
  // Enter and Escape, not Tab or the arrows.
  const LRESULT code = ::SendMessageW(hwnd_, WM_GETDLGCODE, key, 0);
  return (code & mask) != 0;
}

void TWinControl::KeyDown(WORD& key, unsigned shift) {
  if (OnKeyDown) OnKeyDown(*this, key, shift);
}
void TWinControl::KeyUp(WORD& key, unsigned shift) {
  if (OnKeyUp) OnKeyUp(*this, key, shift);
}
void TWinControl::KeyPress(wchar_t& key) {
  if (OnKeyPress) OnKeyPress(*this, key);
}
void TWinControl::DoEnter() {
  if (TForm* form = ParentForm(); form && form != this) form->ActiveControlChanged(this);
  if (OnEnter) OnEnter(*this);
}
void TWinControl::DoExit() {
  if (OnExit) OnExit(*this);
}

bool TWinControl::ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) {
  if (name == "TabOrder") {
    tab_order_ = static_cast<int>(loader.Int(p));
    return true;
  }
  if (name == "TabStop") {
    tab_stop_ = loader.Bool(p);
    return true;
  }
  if (name == "OnKeyDown") {
    OnKeyDown = loader.Event<TKeyEvent>(p);
    return true;
  }
  if (name == "OnKeyUp") {
    OnKeyUp = loader.Event<TKeyEvent>(p);
    return true;
  }
  if (name == "OnKeyPress") {
    OnKeyPress = loader.Event<TKeyPressEvent>(p);
    return true;
  }
  if (name == "OnEnter") {
    OnEnter = loader.Event<TNotifyEvent>(p);
    return true;
  }
  if (name == "OnExit") {
    OnExit = loader.Event<TNotifyEvent>(p);
    return true;
  }
  return TControl::ReadProperty(name, p, loader);
}

}  // namespace sapala::win
