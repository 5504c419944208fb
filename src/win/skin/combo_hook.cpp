// The combo-box hook: the skinned face, the drop button and the drop-down list's hook.
#include "win/skin/combo_hook.h"

#include <algorithm>

#include "win/controls/skin_link.h"
#include "win/skin/hook_paint.h"
#include "win/skin/skin_manager.h"

namespace sapala::win {

namespace {

DWORD StyleOf(HWND hwnd) noexcept {
  return static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_STYLE));
}

// Messages after which the system combo may have drawn over the hook's picture.
bool MayDrawItself(UINT msg) noexcept {
  switch (msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETFONT:
    case WM_SETTEXT:
    case WM_COMMAND:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
    case WM_MOUSEWHEEL:
    case WM_CAPTURECHANGED:
    case CB_SETCURSEL:
    case CB_SELECTSTRING:
    case CB_SHOWDROPDOWN:
    case CB_RESETCONTENT:
    case CB_DELETESTRING:
    case CB_SETITEMHEIGHT:
      return true;
    default:
      return false;
  }
}

// A filled arrow pointing down, centred in `r`, 7 pixels wide at most.
void DrawDropArrow(graphics::Bitmap& picture, const RECT& r, TColor color) noexcept {
  const int width = std::min(7, static_cast<int>(r.right - r.left) - 4) | 1;
  if (width < 3) return;
  const int half = width / 2;
  const int cx = (r.left + r.right) / 2, top = (r.top + r.bottom) / 2 - half / 2;
  const std::uint32_t word =
      0xFF000000u | ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
  for (int row = 0; row <= half; ++row) {
    const int y = top + row;
    if (y < 0 || y >= picture.Height()) continue;
    std::uint32_t* line = picture.Row32(y);
    for (int x = cx - (half - row); x <= cx + (half - row); ++x) {
      if (x >= 0 && x < picture.Width()) line[x] = word;
    }
  }
}

}  // namespace

bool ComboIsHookable(HWND hwnd) noexcept {
  return (StyleOf(hwnd) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) == 0;
}

TlcComboBoxWnd::~TlcComboBoxWnd() { list_.reset(); }

bool TlcComboBoxWnd::InstallCombo() {
  if (!Install()) return false;
  HookList();
  return true;
}

void TlcComboBoxWnd::HookList() {
  if (list_) return;
  COMBOBOXINFO ci{};
  ci.cbSize = sizeof ci;
  if (!::GetComboBoxInfo(hwnd_, &ci) || !ci.hwndList || ci.hwndList == hwnd_) return;
  // A simple combo's list is an ordinary child the dialog walk meets; a list someone else
  // already skins is left to them.
  if ((StyleOf(hwnd_) & 3) == CBS_SIMPLE || SendLumo(ci.hwndList, skin::cmdIsSkinned) != 0) return;
  auto list = std::make_unique<TlcEditWnd>(ci.hwndList, manager_, section_, true);
  if (list->InstallScroll()) list_ = std::move(list);
}

void TlcComboBoxWnd::Remove() noexcept {
  if (list_) list_->Remove();
  TlcMainWnd::Remove();
}

void TlcComboBoxWnd::SkinChanged() {
  TlcMainWnd::SkinChanged();
  button_index_ = SectionIndexOf("COMBOBTN");
  TsSkinManager* mgr = Manager();
  button_fallback_ = button_index_ >= 0 && mgr && mgr->SectionIndex("COMBOBTN") < 0;
}

bool TlcComboBoxWnd::Dropped() const noexcept {
  return ::SendMessageW(hwnd_, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

TlcComboBoxWnd::Look TlcComboBoxWnd::CurrentLook() const noexcept {
  HWND focus = ::GetFocus();
  TsSkinManager* mgr = Manager();
  return Look{Dropped(), focus && (focus == hwnd_ || ::IsChild(hwnd_, focus)),
              mgr && mgr->HotControl() == hwnd_, ::IsWindowEnabled(hwnd_) != FALSE,
              ::SendMessageW(hwnd_, CB_GETCURSEL, 0, 0)};
}

int TlcComboBoxWnd::State() const noexcept {
  const Look look = CurrentLook();
  if (!look.enabled) return 0;
  return look.focused || look.hot || look.dropped ? 1 : 0;
}

int TlcComboBoxWnd::ButtonState() const noexcept {
  const Look look = CurrentLook();
  if (!look.enabled) return 0;
  if (look.dropped) return 2;
  return look.focused || look.hot ? 1 : 0;
}

bool TlcComboBoxWnd::PaintCache() {
  const auto* tables = Tables();
  if (!tables || !SectionData()) return false;
  RECT client;
  graphics::Bitmap* started = StartClientPicture(client);
  if (!started) return false;
  graphics::Bitmap& picture = *started;
  const bool enabled = ::IsWindowEnabled(hwnd_) != FALSE;

  TsBackgroundInfo info;
  const auto bg = ParentBackgroundFor(client, info);
  const POINT origin = OriginInParent();
  sapala::skin::PaintElement(*tables, Element(), bg, true, picture, {origin.x, origin.y},
                             picture.Bounds(), State());

  COMBOBOXINFO ci{};
  ci.cbSize = sizeof ci;
  const bool haveInfo = ::GetComboBoxInfo(hwnd_, &ci) != FALSE;
  button_rect_ = {};
  if (haveInfo && ci.stateButton != STATE_SYSTEM_INVISIBLE && !::IsRectEmpty(&ci.rcButton)) {
    RECT b{};
    ::IntersectRect(&b, &ci.rcButton, &client);
    button_rect_ = b;
    sapala::skin::ElementRef button;
    button.SectionIndex = button_index_;
    const auto* bs = button_index_ >= 0 && button_index_ < static_cast<int>(tables->Sections.size())
                         ? &tables->Sections[static_cast<std::size_t>(button_index_)]
                         : nullptr;
    button.BorderMaskIndex = bs ? bs->MaskIndex : -1;
    if (bs && !::IsRectEmpty(&b)) {
      const int state = ButtonState();
      sapala::skin::PaintElement(*tables, button, bg, true, picture, {origin.x, origin.y},
                                 {b.left, b.top, b.right, b.bottom}, state);
      // A skin's own drop button carries its arrow; a push button standing in for it does not.
      if (button_fallback_) {
        const auto& props = bs->Props[sapala::skin::LimitState(*bs, state) > 0 ? 1 : 0];
        DrawDropArrow(picture, b, graphics::ColorToRGB(props.FontColors[0]));
      }
    }
  }

  // The chosen item of a drop-down list combo; other kinds show it in their edit.
  if (haveInfo && (StyleOf(hwnd_) & 3) == CBS_DROPDOWNLIST && !::IsRectEmpty(&ci.rcItem)) {
    std::wstring item;
    const LRESULT sel = ::SendMessageW(hwnd_, CB_GETCURSEL, 0, 0);
    if (sel >= 0) {
      const LRESULT n = ::SendMessageW(hwnd_, CB_GETLBTEXTLEN, static_cast<WPARAM>(sel), 0);
      if (n > 0 && n < 0x10000) {
        item.assign(static_cast<std::size_t>(n) + 1, L'\0');
        const LRESULT got = ::SendMessageW(hwnd_, CB_GETLBTEXT, static_cast<WPARAM>(sel),
                                           reinterpret_cast<LPARAM>(item.data()));
        item.resize(got > 0 && got <= n ? static_cast<std::size_t>(got) : 0);
      }
    }
    HDC dc = cache_.DC();
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    SelectedObject selected(dc,
                            font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
    RECT r = ci.rcItem;
    const UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    const Look look = CurrentLook();
    if (look.focused && !look.dropped && enabled) {
      FillFromParent(picture, {r.left, r.top, r.right, r.bottom},
                     sapala::skin::ParentBackground::FromColor(
                         static_cast<TColor>(::GetSysColor(COLOR_HIGHLIGHT))),
                     {0, 0});
      ::GdiFlush();
      RECT t = r;
      t.left += 2;
      ::SetBkMode(dc, TRANSPARENT);
      ::SetTextColor(dc, ::GetSysColor(COLOR_HIGHLIGHTTEXT));
      ::DrawTextW(dc, item.c_str(), static_cast<int>(item.size()), &t, flags);
      ::SetTextColor(dc, RGB(0, 0, 0));
      ::SetBkColor(dc, RGB(255, 255, 255));
      ::DrawFocusRect(dc, &r);
    } else if (!item.empty()) {
      CacheTextCanvas canvas(dc);
      sapala::skin::SkinnedTextOwner owner;
      owner.Element = Element();
      owner.Skinned = true;
      owner.Cache = &picture;
      sapala::skin::WriteSkinnedText(canvas, AsU16(item), enabled, State() > 0, *tables, owner,
                                     flags, {r.left + 2, r.top, r.right, r.bottom});
    }
  }
  FinishClientPicture(enabled, &bg, origin);
  return true;
}

void TlcComboBoxWnd::Paint(HDC dc) noexcept {
  try {
    if (stale_ || cache_.Width() == 0) PaintCache();
  } catch (...) {
    return;
  }
  if (!cache_.DC()) return;
  SavedDC saved(dc);
  // The edit of a drop-down combo and the other child windows draw themselves.
  for (HWND c = ::GetWindow(hwnd_, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(c)) continue;
    RECT r{};
    ::GetWindowRect(c, &r);
    ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
    ::ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  }
  CopyCacheTo(dc);
}

void TlcComboBoxWnd::SetHot(bool hot) noexcept {
  TsSkinManager* mgr = Manager();
  if (!mgr || (mgr->HotControl() == hwnd_) == hot) return;
  mgr->SetHotControl(hot ? hwnd_ : nullptr);
  if (hot) {
    TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, hwnd_, 0};
    ::TrackMouseEvent(&t);
  }
}

void TlcComboBoxWnd::WndProc(Message& m) {
  // The client area is the hook's; a border the window may have stays the system's to draw.
  if (m.Msg == WM_NCPAINT) {
    CallPrevious(m);
    return;
  }
  if (AnswerCachePaintMessages(hwnd_, m, [this](HDC dc) { Paint(dc); })) return;
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      const Look before = CurrentLook();
      CallPrevious(m);
      RECT r{};
      ::GetClientRect(hwnd_, &r);
      SetHot(::PtInRect(&r, m.MousePoint()) && ::IsWindowEnabled(hwnd_));
      if (!(CurrentLook() == before) || ::GetCapture() == hwnd_) {
        stale_ = true;
        RepaintNow();
      }
      return;
    }
    case WM_MOUSELEAVE:
      CallPrevious(m);
      SetHot(false);
      stale_ = true;
      RepaintNow();
      return;
    case WM_SIZE:
    case WM_MOVE:
      CallPrevious(m);
      stale_ = true;
      RepaintNow();
      return;
    case skin::SM_LUMOCMD:
      TlcMainWnd::WndProc(m);
      // A list made by the combo after the skin came (or freed with the last skin) is taken now.
      if (HIWORD(m.WParam) == skin::cmdNewSkin && Installed()) HookList();
      return;
    default:
      break;
  }
  if (!MayDrawItself(m.Msg)) {
    TlcMainWnd::WndProc(m);
    return;
  }
  TlcMainWnd::WndProc(m);
  if (Installed()) {
    stale_ = true;
    RepaintNow();
  }
}

}  // namespace sapala::win
