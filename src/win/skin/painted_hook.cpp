// The base of the hooks that paint a whole common control.
#include "win/skin/painted_hook.h"

#include <algorithm>

#include "win/controls/skin_link.h"
#include "win/skin/hook_paint.h"
#include "win/skin/skin_manager.h"

namespace sapala::win {

namespace sk = sapala::skin;

int TlcPaintedWnd::SectionOf(std::string_view name) const noexcept {
  const auto* t = Tables();
  return t && Active() ? t->FindSection(name) : -1;
}

int TlcPaintedWnd::ImageOf(int section, std::string_view key) const noexcept {
  const auto* t = Tables();
  if (!t || section < 0 || section >= static_cast<int>(t->Sections.size())) return -1;
  return t->FindImage(section, t->Sections[static_cast<std::size_t>(section)].SectionName, key);
}

HFONT TlcPaintedWnd::FontOf() const noexcept {
  if (control_) return control_->Font().Handle();
  auto font = reinterpret_cast<HFONT>(::SendMessageW(hwnd_, WM_GETFONT, 0, 0));
  return font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

bool TlcPaintedWnd::PointerInside(POINT& p) const noexcept {
  if (!::GetCursorPos(&p) || ::WindowFromPoint(p) != hwnd_) return false;
  ::ScreenToClient(hwnd_, &p);
  return true;
}

void TlcPaintedWnd::FillBehind(Canvas& c, graphics::Rect rect) const noexcept {
  ::GdiFlush();
  FillFromParent(c.Picture, rect, c.Behind, POINT{0, 0});
}

void TlcPaintedWnd::PaintPart(Canvas& c, int section, graphics::Rect rect,
                              int state) const noexcept {
  rect = rect.intersect(c.Picture.Bounds());
  if (section < 0 || rect.empty()) return;
  ::GdiFlush();  // what GDI drew so far is in the pixels
  try {
    // A part's transparent pixels show what was painted under it so far.
    graphics::Bitmap under = graphics::NewBitmap32(rect.width(), rect.height());
    for (int y = 0; y < rect.height(); ++y) {
      const std::uint32_t* from = c.Picture.Row32(rect.top + y) + rect.left;
      std::copy(from, from + rect.width(), under.Row32(y));
    }
    sk::ElementRef e;
    e.SectionIndex = section;
    e.BorderMaskIndex = c.Tables.Sections[static_cast<std::size_t>(section)].MaskIndex;
    const auto bg = sk::ParentBackground::FromBitmap(&under, -rect.left, -rect.top);
    sk::PaintElement(c.Tables, e, bg, true, c.Picture, {0, 0}, rect, state);
  } catch (...) {
    // Painting never raises: a part that could not be painted stays as it was.
  }
}

void TlcPaintedWnd::PaintText(Canvas& c, int section, std::wstring_view text, graphics::Rect rect,
                              UINT format, int state) const noexcept {
  if (text.empty() || rect.empty()) return;
  try {
    CacheTextCanvas canvas(c.DC);
    const std::u16string_view t(reinterpret_cast<const char16_t*>(text.data()), text.size());
    if (section >= 0) {
      sk::WriteSectionText(canvas, t, c.Enabled, c.Tables, state > 0, section, format, rect);
    } else {
      canvas.DrawText(t, rect, format, static_cast<TColor>(::GetSysColor(COLOR_BTNTEXT)), rect);
    }
  } catch (...) {
  }
}

bool TlcPaintedWnd::PaintCache() {
  const auto* tables = Tables();
  if (!tables || !Painting()) return false;
  RECT client;
  graphics::Bitmap* started = StartClientPicture(client);
  if (!started) return false;
  graphics::Bitmap& picture = *started;
  HDC dc = cache_.DC();
  if (SystemUnder()) {
    // The control draws itself first; its visual style is off, so this is its classic look.
    SavedDC saved(dc);
    CallPrevious(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    ::GdiFlush();
    MakeOpaque(picture);
  }
  TsBackgroundInfo info;
  auto behind = ParentBackgroundFor(client, info);
  const POINT origin = OriginInParent();
  behind.OffsetX += origin.x;
  behind.OffsetY += origin.y;
  const bool enabled = ::IsWindowEnabled(hwnd_) != FALSE;
  {
    SelectedObject font(dc, FontOf());
    SavedDC saved(dc);
    Canvas c{picture, dc, {0, 0, client.right, client.bottom}, *tables, behind, enabled};
    PaintPicture(c);
    ::GdiFlush();
  }
  FinishClientPicture(enabled, &behind);
  return true;
}

void TlcPaintedWnd::Paint(HDC dc) noexcept {
  // Drawn anew every time: what lies under it may have changed without a message.
  try {
    if (!PaintCache()) return;
  } catch (...) {
    return;
  }
  CopyCacheTo(dc);
}

void TlcPaintedWnd::WndProc(Message& m) {
  if (Painting()) {
    if (m.Msg == WM_NCPAINT) {
      // The frame (a static or client edge) stays the system's.
      CallPrevious(m);
      return;
    }
    if (AnswerCachePaintMessages(hwnd_, m, [this](HDC dc) { Paint(dc); })) return;
  }
  switch (m.Msg) {
    case WM_ENABLE:
    case WM_MOVE:
      CallPrevious(m);
      Invalidate();
      return;
    default:
      break;
  }
  TlcMainWnd::WndProc(m);
  if (Painting() && Changes(m)) Invalidate();
}

}  // namespace sapala::win
