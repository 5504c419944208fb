// The list view, header, tree view and grid hooks.
#include "win/skin/list_hooks.h"

#include <commctrl.h>

#include "win/controls/skin_link.h"
#include "win/skin/hook_paint.h"
#include "win/skin/skin_manager.h"

namespace sapala::win {

namespace {

// A header holds at most this many items worth painting (outside data: a foreign header).
constexpr LRESULT kMaxHeaderItems = 4096;

}  // namespace

// ---------------------------------------------------------------- header

int TlcHeaderWnd::ItemAt(POINT p) const noexcept {
  HDHITTESTINFO hit{};
  hit.pt = p;
  const auto item =
      static_cast<int>(::SendMessageW(hwnd_, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  return item >= 0 && (hit.flags & (HHT_ONHEADER | HHT_ONDIVIDER | HHT_ONDIVOPEN)) ? item : -1;
}

bool TlcHeaderWnd::PaintCache() {
  const auto* tables = Tables();
  if (!tables || !SectionData()) return false;
  RECT client;
  graphics::Bitmap* started = StartClientPicture(client);
  if (!started) return false;
  graphics::Bitmap& picture = *started;
  TsBackgroundInfo info;
  const auto bg = ParentBackgroundFor(client, info);
  const POINT origin = OriginInParent();
  const graphics::Point offset{origin.x, origin.y};
  sapala::skin::PaintElement(*tables, Element(), bg, true, picture, offset, picture.Bounds(), 0);

  HDC dc = cache_.DC();
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(hwnd_, WM_GETFONT, 0, 0));
  SelectedObject selected(dc,
                          font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
  LRESULT count = ::SendMessageW(hwnd_, HDM_GETITEMCOUNT, 0, 0);
  if (count > kMaxHeaderItems) count = kMaxHeaderItems;
  for (int i = 0; i < count; ++i) {
    RECT r{};
    if (!::SendMessageW(hwnd_, HDM_GETITEMRECT, static_cast<WPARAM>(i),
                        reinterpret_cast<LPARAM>(&r))) {
      continue;
    }
    RECT item{};
    if (!::IntersectRect(&item, &r, &client)) continue;
    const int state = i == pressed_item_ ? 2 : i == hot_item_ ? 1 : 0;
    sapala::skin::PaintElement(*tables, Element(), bg, true, picture, offset,
                               {item.left, item.top, item.right, item.bottom}, state);
    wchar_t text[260] = {};
    HDITEMW hd{};
    hd.mask = HDI_TEXT | HDI_FORMAT;
    hd.pszText = text;
    hd.cchTextMax = 259;
    if (!::SendMessageW(hwnd_, HDM_GETITEMW, static_cast<WPARAM>(i),
                        reinterpret_cast<LPARAM>(&hd)) ||
        !(hd.fmt & HDF_STRING) || !hd.pszText) {
      continue;
    }
    const std::wstring caption(hd.pszText, ::wcsnlen(hd.pszText, 259));
    if (caption.empty()) continue;
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    if ((hd.fmt & HDF_JUSTIFYMASK) == HDF_CENTER) flags |= DT_CENTER;
    if ((hd.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT) flags |= DT_RIGHT;
    const int shift = state == 2 ? 1 : 0;
    CacheTextCanvas canvas(dc);
    sapala::skin::SkinnedTextOwner owner;
    owner.Element = Element();
    owner.Skinned = true;
    owner.Cache = &picture;
    sapala::skin::WriteSkinnedText(
        canvas, AsU16(caption), ::IsWindowEnabled(hwnd_) != FALSE, state > 0, *tables, owner, flags,
        {item.left + 6 + shift, item.top + shift, item.right - 6 + shift, item.bottom});
  }
  FinishClientPicture();
  return true;
}

void TlcHeaderWnd::SetHotItem(int item) noexcept {
  if (item == hot_item_) return;
  if (hot_item_ < 0) {
    TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, hwnd_, 0};
    ::TrackMouseEvent(&t);
  }
  hot_item_ = item;
  stale_ = true;
  RepaintNow();
}

void TlcHeaderWnd::WndProc(Message& m) {
  // The client area is the hook's; a border the window may have stays the system's to draw.
  if (m.Msg == WM_NCPAINT) {
    CallPrevious(m);
    return;
  }
  if (AnswerCachePaintMessages(hwnd_, m, [this](HDC dc) { PaintFromCache(dc); })) return;
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      TlcMainWnd::WndProc(m);
      SetHotItem(ItemAt(m.MousePoint()));
      if (pressed_item_ >= 0) RepaintNow();  // a column being sized or dragged
      return;
    case WM_MOUSELEAVE:
      CallPrevious(m);
      SetHotItem(-1);
      return;
    case WM_LBUTTONDOWN:
      pressed_item_ = ItemAt(m.MousePoint());
      CallPrevious(m);
      stale_ = true;
      RepaintNow();
      return;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      pressed_item_ = -1;
      CallPrevious(m);
      stale_ = true;
      RepaintNow();
      return;
    case WM_SIZE:
    case WM_SETFONT:
    case WM_ENABLE:
    case HDM_INSERTITEMW:
    case HDM_INSERTITEMA:
    case HDM_DELETEITEM:
    case HDM_SETITEMW:
    case HDM_SETITEMA:
    case HDM_SETORDERARRAY:
    case HDM_LAYOUT:
      CallPrevious(m);
      stale_ = true;
      ::InvalidateRect(hwnd_, nullptr, FALSE);
      return;
    default:
      break;
  }
  TlcMainWnd::WndProc(m);
}

// ---------------------------------------------------------------- list view

TlcListViewWnd::~TlcListViewWnd() { header_.reset(); }

bool TlcListViewWnd::InstallListView() {
  if (!InstallScroll()) return false;
  HookHeader();
  return true;
}

void TlcListViewWnd::Remove() noexcept {
  if (header_) header_->Remove();
  TlcEditWnd::Remove();
}

void TlcListViewWnd::HookHeader() {
  if (header_ && !header_->Removed()) return;
  HWND header = reinterpret_cast<HWND>(::SendMessageW(hwnd_, LVM_GETHEADER, 0, 0));
  if (!header || ::GetParent(header) != hwnd_ || SendLumo(header, skin::cmdIsSkinned) != 0) return;
  auto hook = std::make_unique<TlcHeaderWnd>(header, manager_, "");
  if (hook->Install()) header_ = std::move(hook);
}

void TlcListViewWnd::WndProc(Message& m) {
  TlcEditWnd::WndProc(m);
  if (!Installed()) return;
  switch (m.Msg) {
    case WM_STYLECHANGED:
    case LVM_SETVIEW:
    case LVM_INSERTCOLUMNW:
    case LVM_INSERTCOLUMNA:
      // The header is made when the list view first needs one.
      HookHeader();
      return;
    case skin::SM_LUMOCMD:
      if (HIWORD(m.WParam) == skin::cmdNewSkin) HookHeader();
      return;
    default:
      return;
  }
}

}  // namespace sapala::win
