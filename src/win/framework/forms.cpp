#include "win/framework/forms.h"

#include <algorithm>

#include "win/framework/application.h"
#include "win/framework/menus.h"
#include "win/framework/text.h"

namespace sapala::win {

TForm::TForm(TComponent* owner) : TWinControl(owner) {
  visible_ = false;
  font_.SetName(L"MS Sans Serif");
  font_.SetHeight(-11);
}

TForm::~TForm() {
  // Components go first, while the form's window still exists for them to leave.
  DestroyComponents();
  DestroyHandle();
}

void TForm::LoadDescription(std::string_view text) {
  Loader loader(*this);
  loader.Apply(forms::ParseFormDescription(text));
}

void TForm::LoadDescriptionResource(const wchar_t* name) {
  HMODULE module = ::GetModuleHandleW(nullptr);
  HRSRC res = ::FindResourceW(module, name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  HGLOBAL data = res ? ::LoadResource(module, res) : nullptr;
  const void* bytes = data ? ::LockResource(data) : nullptr;
  if (!bytes)
    throw LoadError("the description of " + Narrow(name) + " is missing from the program");
  LoadDescription(std::string_view(static_cast<const char*>(bytes), ::SizeofResource(module, res)));
}

void TForm::RegisterHandler(std::string name, EventHandler handler) {
  handlers_[std::move(name)] = std::move(handler);
}

const EventHandler* TForm::FindHandler(std::string_view name) const {
  const auto it = handlers_.find(name);
  return it == handlers_.end() ? nullptr : &it->second;
}

bool TForm::ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) {
  if (name == "BorderStyle") {
    border_style_ = loader.Enum<BorderStyle>(p,
                                             {{"bsNone", BorderStyle::bsNone},
                                              {"bsSingle", BorderStyle::bsSingle},
                                              {"bsSizeable", BorderStyle::bsSizeable},
                                              {"bsDialog", BorderStyle::bsDialog},
                                              {"bsToolWindow", BorderStyle::bsToolWindow},
                                              {"bsSizeToolWin", BorderStyle::bsSizeToolWin}},
                                             "border style");
    return true;
  }
  if (name == "BorderIcons") {
    border_icons_ = 0;
    for (const auto& m : loader.Set(p)) {
      if (m == "biSystemMenu")
        border_icons_ |= biSystemMenu;
      else if (m == "biMinimize")
        border_icons_ |= biMinimize;
      else if (m == "biMaximize")
        border_icons_ |= biMaximize;
      else if (m == "biHelp")
        border_icons_ |= biHelp;
      else
        loader.Fail(p, "unknown border icon " + m);
    }
    return true;
  }
  if (name == "Position") {
    position_ = loader.Enum<FormPosition>(p,
                                          {{"poDesigned", FormPosition::poDesigned},
                                           {"poDefault", FormPosition::poDefault},
                                           {"poDefaultPosOnly", FormPosition::poDefault},
                                           {"poDefaultSizeOnly", FormPosition::poDefault},
                                           {"poScreenCenter", FormPosition::poScreenCenter},
                                           {"poDesktopCenter", FormPosition::poDesktopCenter},
                                           {"poMainFormCenter", FormPosition::poMainFormCenter},
                                           {"poOwnerFormCenter", FormPosition::poMainFormCenter}},
                                          "position");
    return true;
  }
  if (name == "ClientWidth") {
    client_width_ = static_cast<int>(loader.Int(p));
    return true;
  }
  if (name == "ClientHeight") {
    client_height_ = static_cast<int>(loader.Int(p));
    return true;
  }
  if (name == "ActiveControl") {
    loader.Defer(
        [this, &loader, p] { active_control_ = dynamic_cast<TWinControl*>(loader.Reference(p)); });
    return true;
  }
  if (name == "OnCreate") {
    OnCreate = loader.Event<TNotifyEvent>(p);
    return true;
  }
  if (name == "OnShow") {
    OnShow = loader.Event<TNotifyEvent>(p);
    return true;
  }
  if (name == "OnHide") {
    OnHide = loader.Event<TNotifyEvent>(p);
    return true;
  }
  // Settings of the designer that have no meaning at run time here.
  if (name == "PixelsPerInch" || name == "TextHeight" || name == "OldCreateOrder" ||
      name == "Scaled" || name == "FormStyle" || name == "WindowState") {
    return true;
  }
  if (name == "Visible") {
    visible_ = loader.Bool(p);
    return true;
  }
  return TWinControl::ReadProperty(name, p, loader);
}

void TForm::CreateParams(struct CreateParams& params) {
  params.window_class = Widen(ClassName().empty() ? std::string("TForm") : ClassName());
  params.parent = nullptr;
  DWORD style = WS_CLIPCHILDREN;
  DWORD ex = 0;
  switch (border_style_) {
    case BorderStyle::bsNone:
      style |= WS_POPUP;
      break;
    case BorderStyle::bsSingle:
      style |= WS_CAPTION | WS_BORDER;
      break;
    case BorderStyle::bsSizeable:
      style |= WS_CAPTION | WS_THICKFRAME;
      break;
    case BorderStyle::bsDialog:
      style |= WS_POPUP | WS_CAPTION;
      ex |= WS_EX_DLGMODALFRAME;
      break;
    case BorderStyle::bsToolWindow:
      style |= WS_CAPTION;
      ex |= WS_EX_TOOLWINDOW;
      break;
    case BorderStyle::bsSizeToolWin:
      style |= WS_CAPTION | WS_THICKFRAME;
      ex |= WS_EX_TOOLWINDOW;
      break;
  }
  if (border_style_ != BorderStyle::bsNone && (border_icons_ & biSystemMenu)) {
    style |= WS_SYSMENU;
    const bool tool =
        border_style_ == BorderStyle::bsToolWindow || border_style_ == BorderStyle::bsSizeToolWin;
    if (!tool && border_style_ != BorderStyle::bsDialog) {
      if (border_icons_ & biMinimize) style |= WS_MINIMIZEBOX;
      if (border_icons_ & biMaximize) style |= WS_MAXIMIZEBOX;
    }
  }
  params.style = style;
  params.ex_style = ex;
  int w = width_, h = height_;
  if (client_width_ > 0 || client_height_ > 0) {
    RECT r{0, 0, client_width_ > 0 ? client_width_ : width_,
           client_height_ > 0 ? client_height_ : height_};
    ::AdjustWindowRectEx(&r, style, FALSE, ex);
    w = r.right - r.left;
    h = r.bottom - r.top;
  }
  int x = left_, y = top_;
  if (position_ == FormPosition::poScreenCenter || position_ == FormPosition::poDesktopCenter ||
      (position_ == FormPosition::poMainFormCenter && !Application().MainForm())) {
    x = (::GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    y = (::GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  } else if (position_ == FormPosition::poMainFormCenter) {
    const TForm* main = Application().MainForm();
    x = main->Left() + (main->Width() - w) / 2;
    y = main->Top() + (main->Height() - h) / 2;
  } else if (position_ == FormPosition::poDefault) {
    x = y = static_cast<int>(CW_USEDEFAULT);
  }
  left_ = x;
  top_ = y;
  width_ = w;
  height_ = h;
  params.x = x;
  params.y = y;
  params.width = w;
  params.height = h;
}

RECT TForm::ClientRect() const noexcept {
  RECT r{0, 0, client_width_, client_height_};
  if (WindowHandle()) ::GetClientRect(WindowHandle(), &r);
  return r;
}

void TForm::SetClientSize(int width, int height) {
  client_width_ = width;
  client_height_ = height;
  if (!WindowHandle()) return;
  RECT r{0, 0, width, height};
  ::AdjustWindowRectEx(&r, static_cast<DWORD>(::GetWindowLongPtrW(WindowHandle(), GWL_STYLE)),
                       FALSE, static_cast<DWORD>(::GetWindowLongPtrW(WindowHandle(), GWL_EXSTYLE)));
  SetBounds(left_, top_, r.right - r.left, r.bottom - r.top);
}

void TForm::Show() {
  SetVisible(true);
  if (WindowHandle()) ::SetForegroundWindow(WindowHandle());
}

void TForm::Hide() { SetVisible(false); }

void TForm::VisibleChanged() {
  HWND hwnd = Handle();
  if (visible_) {
    ::ShowWindow(hwnd, SW_SHOW);
    TWinControl* target = active_control_;
    if (!target || !target->CanFocus()) {
      std::vector<TWinControl*> tabs;
      TabList(tabs);
      target = nullptr;
      for (TWinControl* c : tabs) {
        if (c->CanFocus()) {
          target = c;
          break;
        }
      }
    }
    if (target) ::SetFocus(target->Handle());
    if (OnShow) OnShow(*this);
  } else {
    ::ShowWindow(hwnd, SW_HIDE);
    if (OnHide) OnHide(*this);
  }
}

void TForm::Close() {
  if (Application().MainForm() == this) {
    Application().Terminate();
    Hide();
  } else {
    Hide();
  }
}

void TForm::SetActiveControl(TWinControl* control) {
  active_control_ = control;
  if (control && visible_ && WindowHandle() && control->CanFocus()) ::SetFocus(control->Handle());
}

void TForm::SelectNext(TWinControl* current, bool forward) {
  std::vector<TWinControl*> tabs;
  TabList(tabs);
  if (tabs.empty()) return;
  const auto n = static_cast<std::ptrdiff_t>(tabs.size());
  std::ptrdiff_t i = std::find(tabs.begin(), tabs.end(), current) - tabs.begin();
  if (i == n) i = forward ? -1 : 0;
  for (std::ptrdiff_t step = 0; step < n; ++step) {
    i = forward ? (i + 1) % n : (i - 1 + n) % n;
    if (tabs[static_cast<std::size_t>(i)]->CanFocus()) {
      tabs[static_cast<std::size_t>(i)]->SetFocus();
      return;
    }
  }
}

namespace {
bool OfferDialogKey(TWinControl& parent, WORD key, unsigned shift) {
  for (TControl* c : parent.Controls()) {
    if (!c->Visible() || !c->Enabled()) continue;
    if (c->DialogKey(key, shift)) return true;
    if (auto* w = dynamic_cast<TWinControl*>(c); w && OfferDialogKey(*w, key, shift)) return true;
  }
  return false;
}
bool OfferDialogChar(TWinControl& parent, wchar_t ch, unsigned shift) {
  for (TControl* c : parent.Controls()) {
    if (!c->Visible() || !c->Enabled()) continue;
    if (c->DialogChar(ch, shift)) return true;
    if (auto* w = dynamic_cast<TWinControl*>(c); w && OfferDialogChar(*w, ch, shift)) return true;
  }
  return false;
}
}  // namespace

bool TForm::DialogKey(WORD key, unsigned shift) {
  switch (key) {
    case VK_TAB:
      if (shift & (ssCtrl | ssAlt)) return false;
      SelectNext(active_control_, !(shift & ssShift));
      return true;
    case VK_LEFT:
    case VK_UP:
      if (!active_control_) return false;
      SelectNext(active_control_, false);
      return true;
    case VK_RIGHT:
    case VK_DOWN:
      if (!active_control_) return false;
      SelectNext(active_control_, true);
      return true;
    case VK_RETURN:
    case VK_ESCAPE:
      return OfferDialogKey(*this, key, shift);
    default:
      return false;
  }
}

bool TForm::DialogChar(wchar_t ch, unsigned shift) { return OfferDialogChar(*this, ch, shift); }

TMainMenu* TForm::Menu() const noexcept { return TMainMenu::Of(WindowHandle()); }

void TForm::SetMenu(TMainMenu* menu) {
  if (TMainMenu* old = Menu(); old && old != menu) old->AttachTo(nullptr);
  if (menu) menu->AttachTo(WindowHandle());
}

void TForm::WndProc(Message& m) {
  switch (m.Msg) {
    case WM_COMMAND:
      // A menu command (no control, notification 0) of the form's menu bar.
      if (m.LParam == 0 && HIWORD(m.WParam) == 0) {
        if (TMainMenu* menu = Menu(); menu && menu->Click(LOWORD(m.WParam))) {
          m.Result = 0;
          return;
        }
      }
      break;
    case WM_MENUCHAR:
      if (TMainMenu* menu = Menu();
          menu && menu->MenuChar(reinterpret_cast<HMENU>(m.LParam),
                                 static_cast<wchar_t>(LOWORD(m.WParam)), m.Result)) {
        return;
      }
      break;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      // Owner-drawn items of the menu bar and its popups (wParam 0: from a menu).
      if (m.WParam == 0) {
        if (TMainMenu* menu = Menu(); menu && menu->Dispatch(m.Msg, m.LParam)) {
          m.Result = TRUE;
          return;
        }
      }
      break;
    case WM_CLOSE:
      Close();
      return;
    case WM_ACTIVATE:
      DefaultHandler(m);
      if (LOWORD(m.WParam) != WA_INACTIVE && active_control_ && active_control_->CanFocus()) {
        ::SetFocus(active_control_->Handle());
      }
      return;
    case WM_SETFOCUS:
      // The form itself has nothing to type into: pass the focus on.
      if (active_control_ && active_control_->CanFocus()) {
        ::SetFocus(active_control_->Handle());
        return;
      }
      break;
    case WM_NEXTDLGCTL:
      // What the dialog manager does for a control that asks for the next one: move the focus
      // to the given control (LOWORD(lParam) set) or along the tab order.
      if (LOWORD(m.LParam)) {
        if (TWinControl* c = FromHandle(reinterpret_cast<HWND>(m.WParam)); c && c->CanFocus())
          c->SetFocus();
      } else {
        SelectNext(active_control_, m.WParam == 0);
      }
      return;
    case WM_DESTROY:
      // A window frees the menu it shows; ours stays with its owner.
      if (TMainMenu* menu = Menu()) menu->AttachTo(nullptr);
      if (Application().MainForm() == this) Application().Terminate();
      break;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

void TForm::DoCreate() {
  if (OnCreate) OnCreate(*this);
}

}  // namespace sapala::win
