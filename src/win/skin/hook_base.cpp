// The hook base: subclassing, the message chain and the common SM_LUMOCMD protocol.
#include "win/skin/hook_base.h"

#include "core/skin/control_rules.h"
#include "win/controls/skin_link.h"
#include "win/skin/hook_paint.h"
#include "win/skin/platform.h"
#include "win/skin/skin_manager.h"
#include "win/skin/skin_menus.h"

namespace sapala::win {

namespace {

// Holds the procedure a hook replaced when the hook could not give it back because someone
// subclassed the window after it (see FromWindow's callers).
constexpr wchar_t kForwardProperty[] = L"LCSBSC.prev";

thread_local int message_depth = 0;

struct DepthGuard {
  DepthGuard() noexcept { ++message_depth; }
  ~DepthGuard() { --message_depth; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;
};

}  // namespace

// The call a control object's WindowProc is set to. The hook pointer is read once: assigning
// the control's WindowProc from inside the hook (removal) destroys this functor.
struct TlcMainWnd::ControlCall {
  TlcMainWnd* hook;
  void operator()(Message& m) const {
    TlcMainWnd* h = hook;
    h->Handle(m);
  }
};

LRESULT SendLumo(HWND hwnd, WORD command, WORD argument, LPARAM lp) noexcept {
  return hwnd ? ::SendMessageW(hwnd, skin::SM_LUMOCMD, MAKEWPARAM(argument, command), lp) : 0;
}

TlcMainWnd::TlcMainWnd(HWND hwnd, TsSkinManager* manager, std::string section)
    : hwnd_(hwnd), manager_(manager), section_(std::move(section)) {}

TlcMainWnd::~TlcMainWnd() { Remove(); }

TsSkinManager* TlcMainWnd::Manager() const noexcept {
  return manager_ ? manager_ : TsSkinManager::Default();
}

TlcMainWnd* TlcMainWnd::FromWindow(HWND hwnd) noexcept {
  return hwnd ? static_cast<TlcMainWnd*>(::GetPropW(hwnd, kHookProperty)) : nullptr;
}

bool TlcMainWnd::Install() {
  if (installed_ || !::IsWindow(hwnd_) || FromWindow(hwnd_)) return false;
  if (section_.empty()) section_ = DefaultSection();
  if (section_ != "DIALOG") {
    skin::SetWindowThemeNames(hwnd_, L" ", L" ");
    theme_off_ = true;
  }
  ReadText();
  SkinChanged();
  if (!::SetPropW(hwnd_, kHookProperty, this)) return false;
  control_ = TWinControl::FromHandle(hwnd_);
  if (control_) {
    saved_method_ = control_->WindowProc;
    control_->WindowProc = ControlCall{this};
  } else {
    saved_proc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticProc)));
  }
  installed_ = true;
  removed_ = false;
  return true;
}

void TlcMainWnd::Remove() noexcept {
  if (!installed_) return;
  installed_ = false;
  removed_ = true;
  Released();
  if (control_) {
    const auto* ours = control_->WindowProc.target<ControlCall>();
    // A copy: saved_method_ may be running further up this very stack.
    if (ours && ours->hook == this) control_->WindowProc = saved_method_;
    control_ = nullptr;
  } else if (::IsWindow(hwnd_)) {
    const auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd_, GWLP_WNDPROC));
    if (current == &StaticProc) {
      ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved_proc_));
    } else if (saved_proc_) {
      // Someone subclassed after us and will call StaticProc: keep forwarding for them.
      ::SetPropW(hwnd_, kForwardProperty, reinterpret_cast<HANDLE>(saved_proc_));
    }
  }
  if (::IsWindow(hwnd_)) {
    if (FromWindow(hwnd_) == this) ::RemovePropW(hwnd_, kHookProperty);
    if (theme_off_ && !destroyed_) skin::SetWindowThemeNames(hwnd_, nullptr, nullptr);
  }
  theme_off_ = false;
}

LRESULT CALLBACK TlcMainWnd::StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  if (TlcMainWnd* hook = FromWindow(hwnd); hook && hook->installed_ && !hook->control_) {
    Message m{msg, wp, lp};
    hook->Handle(m);
    return m.Result;
  }
  auto forward = reinterpret_cast<WNDPROC>(::GetPropW(hwnd, kForwardProperty));
  if (msg == WM_NCDESTROY) ::RemovePropW(hwnd, kForwardProperty);
  return forward ? ::CallWindowProcW(forward, hwnd, msg, wp, lp)
                 : ::DefWindowProcW(hwnd, msg, wp, lp);
}

// Without an applied skin everything passes straight on, except the removal: the manager
// announces it after its skin went inactive, and its broadcast sends it only to windows that
// still say they are skinned.
bool TlcMainWnd::AlwaysOurs(const Message& m) noexcept {
  if (m.Msg != skin::SM_LUMOCMD) return false;
  const WORD cmd = HIWORD(m.WParam);
  return cmd == skin::cmdRemoveSkin || cmd == skin::cmdIsSkinned;
}

int TlcMainWnd::MessageDepth() noexcept { return message_depth; }

void TlcMainWnd::Handle(Message& m) noexcept {
  const DepthGuard depth;
  try {
    if (m.Msg == WM_DESTROY || m.Msg == WM_NCDESTROY) {
      HandleDestroy(m);
    } else if (!Active() && !AlwaysOurs(m)) {
      CallPrevious(m);
    } else {
      WndProc(m);
    }
  } catch (...) {
    // Painting and bookkeeping never unwind into the system's frames.
  }
}

void TlcMainWnd::HandleDestroy(Message& m) noexcept {
  CallPrevious(m);
  // After WM_NCDESTROY the window is gone whatever the old procedure answered, so the hook goes
  // with it; after WM_DESTROY only when the procedure let it (answer 0).
  if (m.Msg == WM_NCDESTROY || m.Result == 0) {
    destroyed_ = true;
    Remove();
  }
}

void TlcMainWnd::CallPrevious(Message& m) noexcept {
  if (saved_method_) {
    saved_method_(m);
  } else if (saved_proc_) {
    m.Result = ::CallWindowProcW(saved_proc_, hwnd_, m.Msg, m.WParam, m.LParam);
  } else {
    m.Result = 0;
  }
}

LRESULT TlcMainWnd::CallPrevious(UINT msg, WPARAM wp, LPARAM lp) noexcept {
  Message m{msg, wp, lp};
  CallPrevious(m);
  return m.Result;
}

bool TlcMainWnd::Active() const noexcept {
  TsSkinManager* mgr = Manager();
  return mgr && mgr->SkinActive();
}

const sapala::skin::SkinTables* TlcMainWnd::Tables() const noexcept {
  TsSkinManager* mgr = Manager();
  return mgr ? &mgr->Core().Tables : nullptr;
}

const sapala::skin::TsGeneralData* TlcMainWnd::SectionData() const noexcept {
  const auto* t = Tables();
  if (!t || section_index_ < 0 || section_index_ >= static_cast<int>(t->Sections.size()))
    return nullptr;
  return &t->Sections[static_cast<std::size_t>(section_index_)];
}

sapala::skin::ElementRef TlcMainWnd::Element() const noexcept {
  sapala::skin::ElementRef e;
  e.SectionIndex = section_index_;
  e.BorderMaskIndex = mask_index_;
  return e;
}

int TlcMainWnd::SectionIndexOf(std::string_view name) const noexcept {
  TsSkinManager* mgr = Manager();
  if (!mgr || !mgr->SkinActive() || name.empty()) return -1;
  const int index = mgr->SectionIndex(name);
  if (index >= 0) return index;
  const std::string_view fallback = sapala::skin::FallbackSection(name);
  return fallback.empty() ? -1 : mgr->SectionIndex(fallback);
}

void TlcMainWnd::SkinChanged() {
  section_index_ = SectionIndexOf(section_);
  const auto* s = SectionData();
  mask_index_ = s ? s->MaskIndex : -1;
  stale_ = true;
}

void TlcMainWnd::ReadText() {
  const int n = ::GetWindowTextLengthW(hwnd_);
  text_.assign(static_cast<std::size_t>(n > 0 ? n : 0) + 1, L'\0');
  const int got = ::GetWindowTextW(hwnd_, text_.data(), n + 1);
  text_.resize(static_cast<std::size_t>(got > 0 ? got : 0));
}

void TlcMainWnd::RepaintNow() noexcept {
  if (::IsWindowVisible(hwnd_)) {
    ::RedrawWindow(hwnd_, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_NOCHILDREN);
  }
}

sapala::skin::ParentBackground TlcMainWnd::ParentBackgroundFor(const RECT& area,
                                                               TsBackgroundInfo& info) {
  HWND parent = ::GetParent(hwnd_);
  info = TsBackgroundInfo{};
  info.Rect = area;
  if (parent) SendLumo(parent, skin::cmdGetBackgroundInfo, 0, reinterpret_cast<LPARAM>(&info));
  if (info.Kind == 2 && info.Bitmap) {
    return sapala::skin::ParentBackground::FromBitmap(info.Bitmap, info.OffsetX, info.OffsetY);
  }
  if (info.Kind == 1 && info.Color != graphics::clFuchsia) {
    return sapala::skin::ParentBackground::FromColor(info.Color);
  }
  if (TWinControl* p = TWinControl::FromHandle(parent)) {
    return sapala::skin::ParentBackground::FromColor(graphics::ColorToRGB(p->Color()));
  }
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  return sapala::skin::ParentBackground::FromColor(static_cast<TColor>(face));
}

POINT TlcMainWnd::OriginInParent() const noexcept {
  POINT origin{0, 0};
  if (HWND parent = ::GetParent(hwnd_)) ::MapWindowPoints(hwnd_, parent, &origin, 1);
  return origin;
}

graphics::Bitmap* TlcMainWnd::StartClientPicture(RECT& client) {
  client = RECT{};
  ::GetClientRect(hwnd_, &client);
  if (client.right <= 0 || client.bottom <= 0) return nullptr;
  cache_.Resize(client.right, client.bottom);
  graphics::Bitmap& picture = cache_.Pixels();
  ClearPicture(picture);
  return &picture;
}

void TlcMainWnd::FinishClientPicture(bool enabled, const sapala::skin::ParentBackground* bg,
                                     POINT origin) noexcept {
  ::GdiFlush();
  graphics::Bitmap& picture = cache_.Pixels();
  MakeOpaque(picture);
  if (!enabled && bg) FadeInto(picture, *bg, origin, 40);
  stale_ = false;
}

void TlcMainWnd::PaintFromCache(HDC dc) noexcept {
  try {
    if (stale_ || cache_.Width() == 0) PaintCache();
  } catch (...) {
    return;
  }
  CopyCacheTo(dc);
}

void TlcMainWnd::CopyCacheTo(HDC dc) const noexcept {
  if (cache_.DC()) ::BitBlt(dc, 0, 0, cache_.Width(), cache_.Height(), cache_.DC(), 0, 0, SRCCOPY);
}

void TlcMainWnd::FillBackgroundInfo(TsBackgroundInfo& info) {
  if (cache_.Width() > 0 && cache_.Height() > 0 && !stale_) {
    info.Kind = 2;
    info.Bitmap = &cache_.Pixels();
    info.OffsetX = info.OffsetY = 0;
    return;
  }
  info.Kind = 1;
  const auto* s = SectionData();
  info.Color = s ? graphics::ColorToRGB(s->Props[0].Color)
                 : static_cast<TColor>(::GetSysColor(COLOR_BTNFACE));
}

bool TlcMainWnd::HandleCommand(Message& m) {
  const WORD cmd = HIWORD(m.WParam);
  TsSkinManager* mgr = Manager();
  const bool fromOurs = mgr && m.LParam == mgr->Id();
  // Commands whose LParam points into the sender's memory are taken only from this thread.
  const bool pointer = cmd == skin::cmdSetSection || cmd == skin::cmdGetBackgroundInfo;
  if (pointer && (m.LParam == 0 || (::InSendMessageEx(nullptr) & ISMEX_SEND))) {
    m.Result = 0;
    return true;
  }
  m.Result = 0;
  switch (cmd) {
    case skin::cmdNewSkin:
      if (fromOurs) {
        SkinChanged();
        RepaintNow();
      }
      return true;
    case skin::cmdRemoveSkin:
      if (fromOurs) Remove();
      return true;
    case skin::cmdRefresh:
      if (fromOurs) {
        stale_ = true;
        RepaintNow();
      }
      return true;
    case skin::cmdEndSuspend: {
      suspended_ = false;
      HWND parent = ::GetParent(hwnd_);
      suspended_ = parent && SendLumo(parent, skin::cmdIsBackgroundDirty) != 0 &&
                   SendLumo(parent, skin::cmdIsSkinned) != 0;
      if (!suspended_) {
        stale_ = true;
        ::RedrawWindow(hwnd_, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
      }
      return true;
    }
    case skin::cmdIsSkinned:
      m.Result = 1;
      return true;
    case skin::cmdIsBackgroundDirty:
      m.Result = suspended_ ? 1 : 0;
      return true;
    case skin::cmdSetSection:
      section_ = reinterpret_cast<const char*>(m.LParam);
      SkinChanged();
      RepaintNow();
      return true;
    case skin::cmdGetBackgroundInfo:
      FillBackgroundInfo(*reinterpret_cast<TsBackgroundInfo*>(m.LParam));
      return true;
    default:
      return false;
  }
}

void TlcMainWnd::WndProc(Message& m) {
  switch (m.Msg) {
    case skin::SM_LUMOCMD:
      if (!HandleCommand(m)) CallPrevious(m);
      return;
    case WM_SIZE:
      stale_ = true;
      CallPrevious(m);
      return;
    case WM_SETTEXT:
      CallPrevious(m);
      ReadText();
      return;
    case WM_MOUSEMOVE:
      if (TsSkinManager* mgr = Manager()) mgr->SetHotControl(hwnd_);
      CallPrevious(m);
      return;
    case WM_CONTEXTMENU:
      // The menu about to open is skinned (or given back) by the painter's current state.
      if (TsSkinManager* mgr = Manager()) mgr->Menus().SyncMenus();
      CallPrevious(m);
      return;
    case WM_PRINT: {
      Message paint{WM_PAINT, m.WParam, 0};
      WndProc(paint);
      m.Result = 0;
      return;
    }
    case WM_UPDATEUISTATE:
      m.Result = 0;
      return;
    default:
      CallPrevious(m);
  }
}

}  // namespace sapala::win
