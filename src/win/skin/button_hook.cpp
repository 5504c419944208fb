// The push-button hook: state, painting into the cache and the button's messages.
#include "win/skin/button_hook.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/graphics/color.h"
#include "core/skin/skin_text_paint.h"
#include "win/controls/skin_link.h"
#include "win/skin/glow.h"
#include "win/skin/hook_paint.h"
#include "win/skin/skin_manager.h"

namespace sapala::win {

namespace {
constexpr int kGlyphSpacing = 4;  // between a glyph and the caption
}  // namespace

TlcBtnWnd::~TlcBtnWnd() { HideGlow(); }

int TlcBtnWnd::State() const noexcept {
  const LRESULT state = ::SendMessageW(hwnd_, BM_GETSTATE, 0, 0);
  if (state & BST_PUSHED) return 2;
  if (!::IsWindowEnabled(hwnd_)) return 0;
  TsSkinManager* mgr = Manager();
  if (::GetFocus() == hwnd_ || (mgr && mgr->HotControl() == hwnd_)) return 1;
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_STYLE);
  return (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? 1 : 0;
}

bool TlcBtnWnd::PaintCache() {
  const auto* tables = Tables();
  const auto* section = SectionData();
  if (!tables || !section) return false;
  // Painting starts from nothing: parts of the element blend over what the picture holds.
  RECT client;
  graphics::Bitmap* started = StartClientPicture(client);
  if (!started) return false;
  graphics::Bitmap& picture = *started;
  const int state = State();
  if (state == 2) HideGlow();

  // What the parent shows under the button, and where the button lies in it.
  TsBackgroundInfo info;
  const auto bg = ParentBackgroundFor(client, info);
  const POINT origin = OriginInParent();
  sapala::skin::PaintElement(*tables, Element(), bg, true, picture, {origin.x, origin.y},
                             picture.Bounds(), state);

  // The caption, measured as the button would wrap it and centred.
  HDC dc = cache_.DC();
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(hwnd_, WM_GETFONT, 0, 0));
  if (control_) font = control_->Font().Handle();
  SelectedObject selected(dc,
                          font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_STYLE);
  const LONG_PTR exStyle = ::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
  // "&" marks the access key, as on the button's own face ("&Yes" on message boxes); it is
  // hidden while the window's UI state hides access keys.
  UINT flags = DT_EXPANDTABS | DT_CENTER;
  if (::SendMessageW(hwnd_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) flags |= DT_HIDEPREFIX;
  if (!(style & BS_MULTILINE)) flags |= DT_WORDBREAK;
  if (exStyle & WS_EX_RTLREADING) flags |= DT_RTLREADING;
  const SIZE glyph = GlyphSize();
  const int glyphRoom = glyph.cx > 0 ? glyph.cx + (text_.empty() ? 0 : kGlyphSpacing) : 0;
  RECT measured{0, 0, std::max<LONG>(1, client.right - 2 - glyphRoom), 0};
  if (!text_.empty())
    ::DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &measured, flags | DT_CALCRECT);
  const int w = text_.empty() ? 0 : measured.right - measured.left;
  const int h = text_.empty() ? 0 : measured.bottom - measured.top;
  RECT r{(client.right - w - glyphRoom) / 2 + glyphRoom, (client.bottom - h) / 2, 0, 0};
  r.right = r.left + w;
  r.bottom = r.top + h;
  if (state == 2) ::OffsetRect(&r, 1, 1);
  text_rect_ = r;
  const bool enabled = ::IsWindowEnabled(hwnd_) != FALSE;
  glyph_rect_ = {};
  if (glyph.cx > 0 && glyph.cy > 0) {
    const POINT at{r.left - glyphRoom, (client.bottom - glyph.cy) / 2 + (state == 2 ? 1 : 0)};
    glyph_rect_ = {at.x, at.y, at.x + glyph.cx, at.y + glyph.cy};
    PaintGlyph(dc, picture, at, enabled);
  }
  if (!text_.empty()) {
    CacheTextCanvas canvas(dc);
    sapala::skin::SkinnedTextOwner owner;
    owner.Element = Element();
    owner.Skinned = true;
    owner.Cache = &picture;
    sapala::skin::WriteSkinnedText(
        canvas, std::u16string_view(reinterpret_cast<const char16_t*>(text_.data()), text_.size()),
        enabled, state > 0, *tables, owner, flags, {r.left, r.top, r.right, r.bottom});
  }
  const LRESULT bst = ::SendMessageW(hwnd_, BM_GETSTATE, 0, 0);
  if (enabled && (bst & BST_FOCUS) && !text_.empty() && section->ShowFocus) {
    RECT focus = r;
    ::InflateRect(&focus, 1, 1);
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkColor(dc, RGB(255, 255, 255));
    ::DrawFocusRect(dc, &focus);
  }
  FinishClientPicture(enabled, &bg, origin);
  return true;
}

void TlcBtnWnd::PassQuietly(Message& m) noexcept {
  const bool visible = ::IsWindowVisible(hwnd_) != FALSE;
  if (visible) CallPrevious(WM_SETREDRAW, FALSE, 0);
  CallPrevious(m);
  if (visible) CallPrevious(WM_SETREDRAW, TRUE, 0);
  stale_ = true;
  ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOERASE);
}

void TlcBtnWnd::HideGlow() noexcept {
  if (glow_ >= 0) skin::HideGlow(glow_);
  glow_ = -1;
}

void TlcBtnWnd::MouseEnter(const POINT* at) noexcept {
  TsSkinManager* mgr = Manager();
  POINT p{};
  RECT r{};
  if (at)
    p = *at;
  else
    ::GetCursorPos(&p);
  ::GetWindowRect(hwnd_, &r);
  if (!mgr || mgr->HotControl() != hwnd_ || !::PtInRect(&r, p)) return;
  mouse_above_ = true;
  stale_ = true;
  RepaintNow();
  const auto* s = SectionData();
  if (s && s->Glow > 0 && glow_ < 0 && mgr->Core().Effects.AllowGlowing() &&
      !(::GetKeyState(VK_LBUTTON) < 0)) {
    RECT visible{0, 0, r.right - r.left, r.bottom - r.top};
    glow_ = skin::ShowGlow(r, visible, s->SectionName, mgr, ::GetAncestor(hwnd_, GA_ROOT), 255,
                           s->GlowMargin, "GLOW");
  }
}

void TlcBtnWnd::MouseLeave() noexcept {
  HideGlow();
  mouse_above_ = false;
  stale_ = true;
  RepaintNow();
}

void TlcBtnWnd::WndProc(Message& m) {
  if (AnswerCachePaintMessages(hwnd_, m, [this](HDC dc) { PaintFromCache(dc); })) return;
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (!::IsWindowEnabled(hwnd_)) break;
      PassQuietly(m);
      return;
    case WM_ENABLE:
    case BM_SETSTATE:
    case BM_SETSTYLE:
      PassQuietly(m);
      return;
    case WM_SETTEXT:
      PassQuietly(m);
      ReadText();
      stale_ = true;
      RepaintNow();
      return;
    case WM_SIZE:
      stale_ = true;
      CallPrevious(m);
      return;
    case WM_MOVE: {
      CallPrevious(m);
      const auto* s = SectionData();
      if (s && (s->Props[0].Transparency > 0 || s->Props[1].Transparency > 0)) {
        stale_ = true;
        RepaintNow();
      }
      return;
    }
    case WM_MOUSEHOVER:
      SendLumo(hwnd_, skin::cmdMouseEnter, 0, Manager() ? Manager()->Id() : 0);
      CallPrevious(m);
      return;
    case WM_MOUSEMOVE: {
      CallPrevious(m);
      TsSkinManager* mgr = Manager();
      if (!mgr) return;
      // Where the message says the pointer is: the system's cursor position may lag behind it.
      const POINT p = m.MousePoint();
      RECT r{};
      ::GetClientRect(hwnd_, &r);
      const bool inside = ::PtInRect(&r, p) && ::IsWindowEnabled(hwnd_);
      if (inside && mgr->HotControl() != hwnd_) {
        mgr->SetHotControl(hwnd_);
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, hwnd_, 0};
        ::TrackMouseEvent(&t);
        POINT screen = p;
        ::ClientToScreen(hwnd_, &screen);
        MouseEnter(&screen);
      } else if (!inside && mgr->HotControl() == hwnd_) {
        mgr->SetHotControl(nullptr);
        SendLumo(hwnd_, skin::cmdMouseLeave, 0, mgr->Id());
      }
      return;
    }
    case WM_MOUSELEAVE: {
      CallPrevious(m);
      TsSkinManager* mgr = Manager();
      if (mgr && mgr->HotControl() == hwnd_) {
        mgr->SetHotControl(nullptr);
        SendLumo(hwnd_, skin::cmdMouseLeave, 0, mgr->Id());
      }
      return;
    }
    case skin::SM_LUMOCMD:
      switch (HIWORD(m.WParam)) {
        case skin::cmdMouseEnter:
          MouseEnter(nullptr);
          m.Result = 0;
          return;
        case skin::cmdMouseLeave:
          MouseLeave();
          m.Result = 0;
          return;
        case skin::cmdRemoveSkin:
          HideGlow();
          break;
        default:
          break;
      }
      break;
    default:
      break;
  }
  TlcMainWnd::WndProc(m);
}

// ---------------------------------------------------------------- TlcBitBtnWnd

HANDLE TlcBitBtnWnd::Image(UINT& kind) const noexcept {
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_STYLE);
  const UINT first = (style & BS_ICON) ? IMAGE_ICON : IMAGE_BITMAP;
  const UINT second = first == IMAGE_ICON ? IMAGE_BITMAP : IMAGE_ICON;
  for (UINT k : {first, second}) {
    if (auto image = reinterpret_cast<HANDLE>(::SendMessageW(hwnd_, BM_GETIMAGE, k, 0))) {
      kind = k;
      return image;
    }
  }
  return nullptr;
}

SIZE TlcBitBtnWnd::GlyphSize() const noexcept {
  UINT kind = 0;
  HANDLE image = Image(kind);
  if (!image) return {0, 0};
  if (kind == IMAGE_BITMAP) {
    BITMAP bm{};
    if (!::GetObjectW(image, sizeof bm, &bm)) return {0, 0};
    return {bm.bmWidth, bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight};
  }
  ICONINFO info{};
  if (!::GetIconInfo(static_cast<HICON>(image), &info)) return {0, 0};
  // GetIconInfo hands out copies of the icon's bitmaps: ours to free.
  Bitmap color(info.hbmColor), mask(info.hbmMask);
  BITMAP bm{};
  if (color && ::GetObjectW(color.get(), sizeof bm, &bm)) return {bm.bmWidth, bm.bmHeight};
  if (mask && ::GetObjectW(mask.get(), sizeof bm, &bm)) return {bm.bmWidth, bm.bmHeight / 2};
  return {0, 0};
}

void TlcBitBtnWnd::PaintGlyph(HDC dc, graphics::Bitmap& picture, POINT at, bool enabled) noexcept {
  UINT kind = 0;
  HANDLE image = Image(kind);
  const SIZE size = GlyphSize();
  if (!image || size.cx <= 0 || size.cy <= 0) return;
  // The face under the glyph, kept for the disabled fade.
  const RECT area{std::max<LONG>(0, at.x), std::max<LONG>(0, at.y),
                  std::min<LONG>(picture.Width(), at.x + size.cx),
                  std::min<LONG>(picture.Height(), at.y + size.cy)};
  std::vector<std::uint32_t> face;
  ::GdiFlush();
  if (!enabled) {
    for (LONG y = area.top; y < area.bottom; ++y)
      for (LONG x = area.left; x < area.right; ++x) face.push_back(picture.PixelWord(x, y));
  }
  if (kind == IMAGE_BITMAP) {
    MemoryDC source(::CreateCompatibleDC(dc));
    if (!source) return;
    SelectedObject selected(source.get(), image);
    ::BitBlt(dc, at.x, at.y, size.cx, size.cy, source.get(), 0, 0, SRCCOPY);
  } else {
    ::DrawIconEx(dc, at.x, at.y, static_cast<HICON>(image), size.cx, size.cy, 0, nullptr,
                 DI_NORMAL);
  }
  ::GdiFlush();
  if (enabled) return;
  std::size_t i = 0;
  for (LONG y = area.top; y < area.bottom; ++y) {
    std::uint32_t* row = picture.Row32(y);
    for (LONG x = area.left; x < area.right; ++x, ++i) {
      const std::uint32_t a = row[x], b = face[i];
      std::uint32_t mixed = 0;
      for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        mixed |= ((ca + cb) >> 1) << shift;
      }
      row[x] = mixed | (a & 0xFF000000u);
    }
  }
}

}  // namespace sapala::win
