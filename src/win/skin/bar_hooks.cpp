// The tool bar and status bar hooks.
#include "win/skin/bar_hooks.h"

#include <commctrl.h>

#include <algorithm>

#include "core/skin/control_layout.h"
#include "win/controls/skin_link.h"
#include "win/skin/hook_paint.h"
#include "win/skin/skin_manager.h"

namespace sapala::win {

namespace sk = sapala::skin;

namespace {

// Bounds on what a bar reports: a bar from another process may say anything.
constexpr int kMaxButtons = 1024;
constexpr int kMaxParts = 256;
constexpr int kMaxText = 1024;

graphics::Rect FromRECT(const RECT& r) noexcept { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

// ---------------------------------------------------------------- tool bar

bool TlcToolBarWnd::Changes(const Message& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
    case TB_SETSTATE:
    case TB_CHECKBUTTON:
    case TB_ENABLEBUTTON:
    case TB_PRESSBUTTON:
    case TB_SETHOTITEM:
      return true;
    default:
      return false;
  }
}

void TlcToolBarWnd::PaintPicture(Canvas& c) {
  FillBehind(c, c.Client);
  PaintPart(c, section_index_, c.Client, 0);
  const int buttonSection = SectionOf("TOOLBUTTON");
  const int dividerSection = SectionOf("DIVIDER");
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_STYLE);
  const bool flat = (style & TBSTYLE_FLAT) != 0;
  const bool list = (style & TBSTYLE_LIST) != 0;
  const int count =
      std::clamp(static_cast<int>(CallPrevious(TB_BUTTONCOUNT, 0, 0)), 0, kMaxButtons);
  const int hot = static_cast<int>(CallPrevious(TB_GETHOTITEM, 0, 0));
  auto images = reinterpret_cast<HIMAGELIST>(CallPrevious(TB_GETIMAGELIST, 0, 0));
  auto hotImages = reinterpret_cast<HIMAGELIST>(CallPrevious(TB_GETHOTIMAGELIST, 0, 0));
  auto disabledImages = reinterpret_cast<HIMAGELIST>(CallPrevious(TB_GETDISABLEDIMAGELIST, 0, 0));
  states_.assign(static_cast<std::size_t>(count), -1);
  for (int i = 0; i < count; ++i) {
    TBBUTTON b{};
    RECT rr{};
    if (!CallPrevious(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b)) ||
        !CallPrevious(TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rr)) ||
        (b.fsState & TBSTATE_HIDDEN)) {
      continue;
    }
    const graphics::Rect r = FromRECT(rr).intersect(c.Client);
    if (r.empty()) continue;
    if (b.fsStyle & BTNS_SEP) {
      // A divider line across the middle of the separator.
      const int mid = r.left + r.width() / 2;
      const graphics::Rect line{mid - 1, r.top + 2, mid + 1, r.bottom - 2};
      if (dividerSection >= 0) {
        PaintPart(c, dividerSection, line, 0);
      } else {
        ::GdiFlush();
        RECT e{line.left, line.top, line.right, line.bottom};
        ::DrawEdge(c.DC, &e, EDGE_ETCHED, BF_LEFT);
      }
      continue;
    }
    const bool enabled = c.Enabled && (b.fsState & TBSTATE_ENABLED);
    const bool pressed = (b.fsState & (TBSTATE_PRESSED | TBSTATE_CHECKED)) != 0;
    const int state = sk::PartState(enabled, pressed, i == hot);
    states_[static_cast<std::size_t>(i)] = state;
    if (state > 0 || !flat) PaintPart(c, buttonSection, r, state);
    const int shift = state == 2 ? 1 : 0;

    // The image: centred, or at the left of a list bar's button.
    HIMAGELIST from = !enabled && disabledImages ? disabledImages
                      : state == 1 && hotImages  ? hotImages
                                                 : images;
    int iw = 0, ih = 0;
    const int image = LOWORD(b.iBitmap);
    const bool hasImage = from && b.iBitmap != I_IMAGENONE &&
                          ::ImageList_GetIconSize(from, &iw, &ih) &&
                          image < ::ImageList_GetImageCount(from);
    wchar_t text[kMaxText] = {};
    const int length =
        static_cast<int>(CallPrevious(TB_GETBUTTONTEXTW, static_cast<WPARAM>(b.idCommand), 0));
    if (length > 0 && length < kMaxText) {
      CallPrevious(TB_GETBUTTONTEXTW, static_cast<WPARAM>(b.idCommand),
                   reinterpret_cast<LPARAM>(text));
      text[kMaxText - 1] = L'\0';
    }
    graphics::Rect textRect = r;
    if (hasImage) {
      ::GdiFlush();
      const bool withText = text[0] != L'\0';
      const int x = list && withText ? r.left + 3 : r.left + (r.width() - iw) / 2;
      const int y = list || !withText ? r.top + (r.height() - ih) / 2 : r.top + 3;
      ::ImageList_Draw(from, image, c.DC, x + shift, y + shift, ILD_TRANSPARENT);
      if (list) {
        textRect.left = x + iw + 2;
      } else {
        textRect.top = y + ih;
      }
    }
    PaintText(c, buttonSection >= 0 ? buttonSection : section_index_, text,
              textRect.offset(shift, shift),
              DT_SINGLELINE | DT_VCENTER | (list ? DT_LEFT : DT_CENTER) | DT_END_ELLIPSIS, state);
  }
}

// ---------------------------------------------------------------- status bar

void TlcStatusBarWnd::PaintPicture(Canvas& c) {
  FillBehind(c, c.Client);
  PaintPart(c, section_index_, c.Client, 0);
  parts_.clear();
  const bool simple = CallPrevious(SB_ISSIMPLE, 0, 0) != 0;
  const int count =
      simple ? 1 : std::clamp(static_cast<int>(CallPrevious(SB_GETPARTS, 0, 0)), 0, kMaxParts);
  const int panel = ImageOf(section_index_, "STATUSPANELMASK");
  const auto* mask = c.Tables.Image(panel);
  for (int i = 0; i < count; ++i) {
    const WPARAM id = simple ? SB_SIMPLEID : static_cast<WPARAM>(i);
    RECT rr{};
    if (simple) {
      rr = {0, 0, c.Client.right, c.Client.bottom};
    } else if (!CallPrevious(SB_GETRECT, id, reinterpret_cast<LPARAM>(&rr))) {
      continue;
    }
    const graphics::Rect r = FromRECT(rr).intersect(c.Client);
    parts_.push_back(rr);
    if (r.empty()) continue;
    if (mask) {
      ::GdiFlush();
      graphics::Bitmap under = c.Picture.Clone();
      sk::PaintBorderMask(c.Picture, r, true, 0, *mask,
                          sk::ParentBackground::FromBitmap(&under, 0, 0));
    } else {
      ::GdiFlush();
      RECT e = rr;
      ::DrawEdge(c.DC, &e, BDR_SUNKENOUTER, BF_RECT);
    }
    const LRESULT info = CallPrevious(SB_GETTEXTLENGTHW, id, 0);
    const int length = LOWORD(info);
    const int type = HIWORD(info);
    if (type & SBT_OWNERDRAW) {
      // The owner paints the part: over the skinned panel, into the picture.
      ::GdiFlush();
      DRAWITEMSTRUCT dis{};
      dis.CtlType = 0;
      dis.CtlID = static_cast<UINT>(::GetDlgCtrlID(hwnd_));
      dis.itemID = static_cast<UINT>(i);
      dis.hwndItem = hwnd_;
      dis.hDC = c.DC;
      dis.rcItem = rr;
      dis.itemData = static_cast<ULONG_PTR>(CallPrevious(SB_GETTEXTW, id, 0));
      SavedDC saved(c.DC);
      if (HWND parent = ::GetParent(hwnd_)) {
        ::SendMessageW(parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
      }
      continue;
    }
    if (length <= 0 || length >= kMaxText) continue;
    wchar_t buffer[kMaxText] = {};
    CallPrevious(SB_GETTEXTW, id, reinterpret_cast<LPARAM>(buffer));
    buffer[kMaxText - 1] = L'\0';
    std::wstring_view text(buffer);
    UINT align = DT_LEFT;
    if (text.starts_with(L"\t\t")) {
      align = DT_RIGHT;
      text.remove_prefix(2);
    } else if (text.starts_with(L"\t")) {
      align = DT_CENTER;
      text.remove_prefix(1);
    }
    PaintText(c, section_index_, text, r.inflate(-4, -1),
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | align, 0);
  }
  if (::GetWindowLongPtrW(hwnd_, GWL_STYLE) & SBARS_SIZEGRIP) {
    const auto* grip = c.Tables.Image(c.Tables.Cache.GripImage);
    if (grip) {
      const int w = sk::FrameWidth(*grip), h = sk::FrameHeight(*grip);
      sk::PaintImageAt(c.Picture, {c.Client.right - w, c.Client.bottom - h}, 0, c.Behind, *grip,
                       true);
    } else {
      ::GdiFlush();
      const int size = ::GetSystemMetrics(SM_CXVSCROLL);
      RECT g{c.Client.right - size, c.Client.bottom - size, c.Client.right, c.Client.bottom};
      ::DrawFrameControl(c.DC, &g, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    }
  }
}

}  // namespace sapala::win
