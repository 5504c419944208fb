// The tab and page control hooks.
#include "win/skin/tab_hook.h"

#include <commctrl.h>

#include <algorithm>

#include "win/controls/skin_link.h"
#include "win/skin/hook_factory.h"
#include "win/skin/skin_manager.h"

namespace sapala::win {

namespace sk = sapala::skin;

namespace {

// How far the selected tab stands out, and the room around an image.
constexpr int kLift = 2;
constexpr int kImageGap = 4;

RECT ToRECT(const graphics::Rect& r) noexcept { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

TlcTabControlWnd::~TlcTabControlWnd() { RemoveChildren(); }

sk::TabSide TlcTabControlWnd::Side() const noexcept {
  return sk::TabSideOfStyle(static_cast<std::uint32_t>(::GetWindowLongPtrW(hwnd_, GWL_STYLE)));
}

int TlcTabControlWnd::TabSection() const noexcept { return SectionOf(sk::TabSectionName(Side())); }

int TlcTabControlWnd::BodySection(sk::TabSide) const noexcept { return section_index_; }

int TlcTabControlWnd::TabAt(POINT p) const noexcept {
  TCHITTESTINFO hit{p, 0};
  return static_cast<int>(const_cast<TlcTabControlWnd*>(this)->CallPrevious(
      TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

void TlcTabControlWnd::HookChildren() {
  HWND arrows = ::FindWindowExW(hwnd_, nullptr, UPDOWN_CLASSW, nullptr);
  if (arrows_ && (arrows_->Removed() || arrows_->Handle() != arrows)) {
    if (!arrows_->Removed()) arrows_->Remove();
    // Freed only once its window no longer runs its messages.
    if (TlcMainWnd::MessageDepth() <= 1) arrows_.reset();
  }
  if (!arrows_ && arrows && !TlcMainWnd::FromWindow(arrows)) {
    // The skin's own section for a tab control's arrows, else the spin's.
    arrows_ =
        MakeHook(HookKind::spin, arrows, manager_, SectionOf("UPDOWNBTN") >= 0 ? "UPDOWNBTN" : "");
  }
}

void TlcTabControlWnd::RemoveChildren() noexcept {
  if (arrows_) arrows_->Remove();
}

bool TlcTabControlWnd::Changes(const Message& m) {
  int hot = hot_;
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      hot = TabAt(m.MousePoint());
      TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, hwnd_, 0};
      ::TrackMouseEvent(&t);
      break;
    }
    case WM_MOUSELEAVE:
      hot = -1;
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case TCM_SETCURSEL:
    case TCM_SETCURFOCUS:
      return true;
    default:
      return false;
  }
  if (hot == hot_) return false;
  hot_ = hot;
  return true;
}

void TlcTabControlWnd::WndProc(Message& m) {
  if (m.Msg == skin::SM_LUMOCMD && HIWORD(m.WParam) == skin::cmdRemoveSkin) {
    TsSkinManager* mgr = Manager();
    if (mgr && m.LParam == mgr->Id()) RemoveChildren();
  }
  TlcPaintedWnd::WndProc(m);
}

void TlcTabControlWnd::PaintPicture(Canvas& c) {
  HookChildren();
  const sk::TabSide side = Side();
  const int tabSection = TabSection();
  const int count = std::max(0, static_cast<int>(CallPrevious(TCM_GETITEMCOUNT, 0, 0)));
  const int selected = static_cast<int>(CallPrevious(TCM_GETCURSEL, 0, 0));
  // Where the rows of tabs end towards the body.
  std::vector<graphics::Rect> items(static_cast<std::size_t>(count));
  int edge = side == sk::TabSide::top || side == sk::TabSide::left ? 0 : INT32_MAX;
  for (int i = 0; i < count; ++i) {
    RECT r{};
    if (!CallPrevious(TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r)))
      continue;
    items[static_cast<std::size_t>(i)] = {r.left, r.top, r.right, r.bottom};
    switch (side) {
      case sk::TabSide::top:
        edge = std::max<int>(edge, r.bottom);
        break;
      case sk::TabSide::bottom:
        edge = std::min<int>(edge, r.top);
        break;
      case sk::TabSide::left:
        edge = std::max<int>(edge, r.right);
        break;
      case sk::TabSide::right:
        edge = std::min<int>(edge, r.left);
        break;
    }
  }
  if (tabSection >= 0) FillBehind(c, c.Client);
  const graphics::Rect body = sk::TabBodyRect(c.Client, side, edge, count > 0);
  body_ = ToRECT(body);
  PaintPart(c, BodySection(side), body, 0);

  tabs_.assign(static_cast<std::size_t>(count), RECT{});
  if (tabSection < 0) return;
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(CallPrevious(TCM_GETIMAGELIST, 0, 0));
  const bool focused = ::GetFocus() == hwnd_;
  // The selected tab last: it lies over its neighbours.
  auto paintTab = [&](int i) {
    const graphics::Rect item = items[static_cast<std::size_t>(i)];
    const bool isSelected = i == selected;
    const graphics::Rect r = sk::TabPaintRect(item, side, isSelected, kLift, c.Client);
    if (r.empty()) return;
    tabs_[static_cast<std::size_t>(i)] = ToRECT(r);
    const int state = sk::PartState(c.Enabled, isSelected, i == hot_);
    PaintPart(c, tabSection, r, state);
    wchar_t text[256] = {};
    TCITEMW tc{};
    tc.mask = TCIF_TEXT | TCIF_IMAGE;
    tc.pszText = text;
    tc.cchTextMax = static_cast<int>(std::size(text));
    if (!CallPrevious(TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tc))) return;
    text[std::size(text) - 1] = L'\0';
    graphics::Rect textRect = r;
    int iw = 0, ih = 0;
    if (images && tc.iImage >= 0 && ::ImageList_GetIconSize(images, &iw, &ih)) {
      const int y = r.top + (r.height() - ih) / 2;
      ::ImageList_Draw(images, tc.iImage, c.DC, r.left + kImageGap, y, ILD_TRANSPARENT);
      textRect.left += kImageGap + iw;
    }
    PaintText(c, tabSection, text, textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE, state);
    if (isSelected && focused) {
      RECT f = ToRECT(r.inflate(-3, -3));
      ::SetTextColor(c.DC, RGB(0, 0, 0));
      ::SetBkColor(c.DC, RGB(255, 255, 255));
      ::DrawFocusRect(c.DC, &f);
    }
  };
  for (int i = 0; i < count; ++i) {
    if (i != selected) paintTab(i);
  }
  if (selected >= 0 && selected < count) paintTab(selected);
}

// ---------------------------------------------------------------- page control

TlcPageControlWnd::~TlcPageControlWnd() { RemoveChildren(); }

int TlcPageControlWnd::BodySection(sk::TabSide side) const noexcept {
  const char* name = "PAGECONTROL";
  switch (side) {
    case sk::TabSide::bottom:
      name = "PAGECONTROLBOTTOM";
      break;
    case sk::TabSide::left:
      name = "PAGECONTROLLEFT";
      break;
    case sk::TabSide::right:
      name = "PAGECONTROLRIGHT";
      break;
    case sk::TabSide::top:
      break;
  }
  const int index = SectionOf(name);
  return index >= 0 ? index : section_index_;
}

void TlcPageControlWnd::HookChildren() {
  TlcTabControlWnd::HookChildren();
  std::erase_if(pages_, [](const auto& p) { return p->Removed() && MessageDepth() <= 1; });
  for (HWND child = ::GetWindow(hwnd_, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (TlcMainWnd::FromWindow(child) || SendLumo(child, skin::cmdIsSkinned) != 0) continue;
    wchar_t cls[32] = {};
    ::GetClassNameW(child, cls, 32);
    if (::lstrcmpiW(cls, UPDOWN_CLASSW) == 0) continue;
    if (auto page = MakeHook(HookKind::page, child, manager_, ""))
      pages_.push_back(std::move(page));
  }
}

void TlcPageControlWnd::RemoveChildren() noexcept {
  TlcTabControlWnd::RemoveChildren();
  for (auto& p : pages_) p->Remove();
}

}  // namespace sapala::win
