// The size grip, edge static and link hooks.
#include "win/skin/frame_hooks.h"

#include <commctrl.h>

#include <algorithm>

#include "core/skin/control_layout.h"
#include "win/controls/skin_link.h"
#include "win/skin/hook_paint.h"
#include "win/skin/skin_manager.h"

namespace sapala::win {

namespace sk = sapala::skin;

// ---------------------------------------------------------------- size grip

bool TlcSizerWnd::HasLook() const noexcept {
  const auto* t = Tables();
  return t && t->Image(t->Cache.GripImage) != nullptr;
}

void TlcSizerWnd::PaintPicture(Canvas& c) {
  FillBehind(c, c.Client);
  const auto* grip = c.Tables.Image(c.Tables.Cache.GripImage);
  if (!grip) return;
  const int w = sk::FrameWidth(*grip), h = sk::FrameHeight(*grip);
  const graphics::Point at{c.Client.right - w, c.Client.bottom - h};
  grip_ = {at.x, at.y, at.x + w, at.y + h};
  sk::PaintImageAt(c.Picture, at, 0, c.Behind, *grip, true);
}

// ---------------------------------------------------------------- edge static

void TlcEdgeWnd::PaintPicture(Canvas& c) {
  // The section's background only: its border goes over the window's edge.
  FillBehind(c, c.Client);
  sk::PaintElementBackground(c.Tables, section_index_, c.Behind, graphics::clFuchsia, -1, -1,
                             c.Picture, {0, 0}, c.Client, 0);
  ::GdiFlush();
  if (auto icon = reinterpret_cast<HICON>(CallPrevious(STM_GETICON, 0, 0))) {
    ::DrawIconEx(c.DC, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    return;
  }
  // The static owns its bitmap.
  auto bitmap = reinterpret_cast<HBITMAP>(CallPrevious(STM_GETIMAGE, IMAGE_BITMAP, 0));
  BITMAP bm{};
  if (!bitmap || !::GetObjectW(bitmap, sizeof bm, &bm)) return;
  MemoryDC source(::CreateCompatibleDC(c.DC));
  if (!source) return;
  SelectedObject selected(source.get(), bitmap);
  ::BitBlt(c.DC, 0, 0, std::min<int>(bm.bmWidth, c.Client.right),
           std::min<int>(bm.bmHeight, c.Client.bottom), source.get(), 0, 0, SRCCOPY);
}

bool TlcEdgeWnd::PaintFrame() noexcept {
  const auto* tables = Tables();
  if (!tables || !Painting()) return false;
  RECT window{}, client{};
  ::GetWindowRect(hwnd_, &window);
  ::GetClientRect(hwnd_, &client);
  ::MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&client), 2);
  ::OffsetRect(&client, -window.left, -window.top);
  const int w = window.right - window.left, h = window.bottom - window.top;
  if (w <= 0 || h <= 0) return false;
  try {
    frame_.Resize(w, h);
  } catch (...) {
    return false;
  }
  graphics::Bitmap& picture = frame_.Pixels();
  ClearPicture(picture);
  TsBackgroundInfo info;
  auto behind = ParentBackgroundFor(RECT{0, 0, w, h}, info);
  POINT origin{window.left, window.top};
  if (HWND parent = ::GetParent(hwnd_)) ::ScreenToClient(parent, &origin);
  behind.OffsetX += origin.x;
  behind.OffsetY += origin.y;
  FillFromParent(picture, picture.Bounds(), behind, POINT{0, 0});
  sk::PaintElement(*tables, Element(), behind, true, picture, {0, 0}, picture.Bounds(), 0);
  MakeOpaque(picture);
  WindowDC dc(hwnd_, true);
  if (!dc.get()) return false;
  SavedDC saved(dc.get());
  ::ExcludeClipRect(dc.get(), client.left, client.top, client.right, client.bottom);
  ::BitBlt(dc.get(), 0, 0, w, h, frame_.DC(), 0, 0, SRCCOPY);
  return true;
}

void TlcEdgeWnd::WndProc(Message& m) {
  if (m.Msg == WM_NCPAINT && Painting()) {
    PaintFrame();
    m.Result = 0;
    return;
  }
  TlcPaintedWnd::WndProc(m);
}

// ---------------------------------------------------------------- link

bool TlcLinkWnd::Changes(const Message& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case LM_SETITEM:
      return true;
    default:
      return false;
  }
}

void TlcLinkWnd::PaintPicture(Canvas& c) {
  FillBehind(c, c.Client);
  links_.clear();
  const auto runs = sk::SplitLinkMarkup(AsU16(text_));
  const int section = section_index_;
  LOGFONTW lf{};
  ::GetObjectW(FontOf(), sizeof lf, &lf);
  lf.lfUnderline = TRUE;
  Font underlined(::CreateFontIndirectW(&lf));
  TEXTMETRICW tm{};
  ::GetTextMetricsW(c.DC, &tm);
  // Runs go left to right and wrap at the client width between words.
  int x = 0, y = 0;
  int link = 0;
  const bool focused = ::GetFocus() == hwnd_;
  for (const auto& run : runs) {
    std::optional<SelectedObject> font;
    if (run.Link && underlined) font.emplace(c.DC, underlined.get());
    RECT linkRect{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    std::u16string_view rest = run.Text;
    while (!rest.empty()) {
      if (rest.front() == u'\n') {
        x = 0;
        y += tm.tmHeight;
        rest.remove_prefix(1);
        continue;
      }
      // As many characters as fit on this line, broken after a space where possible.
      int fit = 0;
      SIZE size{};
      ::GetTextExtentExPointW(c.DC, reinterpret_cast<const wchar_t*>(rest.data()),
                              static_cast<int>(std::min<std::size_t>(rest.size(), 4096)),
                              std::max(0, c.Client.right - x), &fit, nullptr, &size);
      std::size_t take = static_cast<std::size_t>(std::max(fit, 0));
      const std::size_t newline = rest.find(u'\n');
      take = std::min(take, newline);
      if (take < rest.size() && take > 0) {
        const std::size_t space = rest.substr(0, take).rfind(u' ');
        if (space != std::u16string_view::npos && rest[take] != u' ') take = space + 1;
      }
      if (take == 0) {
        if (x > 0) {  // the next word starts a new line
          x = 0;
          y += tm.tmHeight;
          continue;
        }
        take = 1;  // a line too narrow for one character shows it anyway
      }
      const std::u16string_view piece = rest.substr(0, take);
      const int width = CacheTextCanvas(c.DC).TextWidth(piece);
      const graphics::Rect r{x, y, x + width, y + tm.tmHeight};
      PaintText(c, section,
                std::wstring_view(reinterpret_cast<const wchar_t*>(piece.data()), piece.size()), r,
                DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP, run.Link ? 1 : 0);
      if (run.Link) {
        linkRect.left = std::min<LONG>(linkRect.left, r.left);
        linkRect.top = std::min<LONG>(linkRect.top, r.top);
        linkRect.right = std::max<LONG>(linkRect.right, r.right);
        linkRect.bottom = std::max<LONG>(linkRect.bottom, r.bottom);
      }
      x += width;
      rest.remove_prefix(take);
    }
    if (!run.Link) continue;
    links_.push_back(linkRect.left <= linkRect.right ? linkRect : RECT{});
    LITEM item{};
    item.mask = LIF_ITEMINDEX | LIF_STATE;
    item.iLink = link++;
    item.stateMask = LIS_FOCUSED;
    if (focused && CallPrevious(LM_GETITEM, 0, reinterpret_cast<LPARAM>(&item)) &&
        (item.state & LIS_FOCUSED) && linkRect.left <= linkRect.right) {
      ::SetTextColor(c.DC, RGB(0, 0, 0));
      ::SetBkColor(c.DC, RGB(255, 255, 255));
      ::DrawFocusRect(c.DC, &linkRect);
    }
  }
}

}  // namespace sapala::win
