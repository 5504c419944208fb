// The provider's painting: the window image composed from the skin (form section, size grip,
// title section and its button bar, icon, caption, caption buttons), the frame strips copied
// from it to the window, one caption button repainted from the clean title picture with its
// glow, and the window region cut from the frame masks' transparent corners.
//
// Only the window image itself is a DIB section (it is copied to the screen); the pictures kept
// beside it and made while painting are heap bitmaps, which cost no GDI object.
#include <algorithm>
#include <vector>

#include "core/graphics/pixels.h"
#include "core/skin/ext_border.h"
#include "core/skin/form_region.h"
#include "core/skin/skin_manager.h"
#include "core/skin/skin_paint.h"
#include "core/skin/title_icon.h"
#include "win/framework/application.h"
#include "win/framework/dib.h"
#include "win/framework/paint.h"
#include "win/skin/glow.h"
#include "win/skin/skin_manager.h"
#include "win/skin/skin_provider.h"

namespace sapala::win {

namespace sk = sapala::skin;
using Picture = graphics::Bitmap;
using graphics::Rect;

// The caption font of the system's non-client metrics, with the default character set.
Font SystemCaptionFont() {
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
    return Font(
        ::CreateFontW(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
  }
  ncm.lfCaptionFont.lfCharSet = DEFAULT_CHARSET;
  return Font(::CreateFontIndirectW(&ncm.lfCaptionFont));
}

Icon IconFromPicture(const Picture& picture) noexcept {
  if (picture.Empty() || picture.Format() != graphics::PixelFormat::pf32bit) return Icon();
  try {
    // The colour bitmap is a DIB section of the picture's pixels (its own when it has one).
    Picture copy;
    HBITMAP color = DibHandle(picture);
    if (!color) {
      copy = graphics::NewBitmap32(picture.Width(), picture.Height());
      graphics::CopyBitmapRect(copy, {0, 0}, picture, picture.Bounds());
      color = DibHandle(copy);
    }
    // An all-zero mask: the colour bitmap's alpha decides what shows.
    const std::vector<std::uint8_t> zeros(
        static_cast<std::size_t>((picture.Width() + 15) / 16 * 2) * picture.Height(), 0);
    Bitmap mask(::CreateBitmap(picture.Width(), picture.Height(), 1, 1, zeros.data()));
    if (!color || !mask) return Icon();
    ICONINFO info{TRUE, 0, 0, mask.get(), color};
    // The icon keeps copies of both bitmaps.
    return Icon(::CreateIconIndirect(&info));
  } catch (...) {
    return Icon();
  }
}

HICON TsSkinProvider::TitleIconOf(int iconHeight) {
  HWND hwnd = form_.WindowHandle();
  // The form's own icon: the one it was given, or its window class's.
  auto icon = reinterpret_cast<HICON>(::SendMessageW(hwnd, WM_GETICON, ICON_SMALL2, 0));
  if (!icon) icon = reinterpret_cast<HICON>(::GetClassLongPtrW(hwnd, GCLP_HICONSM));
  if (!icon) icon = reinterpret_cast<HICON>(::GetClassLongPtrW(hwnd, GCLP_HICON));
  // The application's small icon, when it has one.
  if (TForm* main = Application().MainForm();
      !icon && main && main != &form_ && main->HandleAllocated()) {
    icon =
        reinterpret_cast<HICON>(::SendMessageW(main->WindowHandle(), WM_GETICON, ICON_SMALL2, 0));
  }
  if (icon) return icon;
  // Our own book, drawn at the size the rectangle asks for.
  const int size = sk::BuiltInTitleIconSize(iconHeight);
  if (!builtin_icon_ || builtin_icon_size_ != size) {
    builtin_icon_ = IconFromPicture(sk::BuiltInTitleIconPicture(size));
    builtin_icon_size_ = size;
  }
  // Else the system's shared icon, which is never destroyed.
  return builtin_icon_ ? builtin_icon_.get() : ::LoadIconW(nullptr, IDI_APPLICATION);
}

namespace {}  // namespace

bool TsSkinProvider::SetRegion(HWND hwnd, HRGN region) noexcept {
  return SetSkinnedWindowRegion(hwnd, region);
}

bool SetSkinnedWindowRegion(HWND hwnd, HRGN region) noexcept {
  // Not with SetWindowRgn's own redraw: Wine moves the client area over the whole window on the
  // window-position change that redraw makes. The frame is repainted instead.
  if (!::SetWindowRgn(hwnd, region, FALSE)) return false;
  // Wine leaves the client area over the whole window after a new region; the frame is
  // recomputed only then.
  RECT window{}, client{};
  ::GetWindowRect(hwnd, &window);
  ::GetClientRect(hwnd, &client);
  if (client.right == window.right - window.left && client.bottom == window.bottom - window.top &&
      (::GetWindowLongPtrW(hwnd, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME | WS_BORDER))) {
    ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (::IsWindowVisible(hwnd)) {
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  }
  return true;
}

HBITMAP TsSkinProvider::ImageDib() const noexcept {
  const Picture* cache = SkinData.Cache.get();
  if (!cache || cache->Empty()) return nullptr;
  // The window image is a view of the top-left corner of cache_memory_, at the same places.
  if (!cache_memory_.Empty() && cache->ScanLine(0) == cache_memory_.ScanLine(0)) {
    return DibHandle(cache_memory_);
  }
  return DibHandle(*cache);
}

Picture* TsSkinProvider::ComposedImage() {
  if (!FrameSkinned()) return nullptr;
  RECT wr{};
  ::GetWindowRect(form_.WindowHandle(), &wr);
  if (!SkinData.Cache) SkinData.Cache = std::make_unique<graphics::Bitmap>();
  Picture& cache = *SkinData.Cache;
  const RECT m = BorderMargins();
  if (SkinData.BackgroundDirty || cache.Empty() ||
      cache.Width() != wr.right - wr.left + m.left + m.right ||
      cache.Height() != wr.bottom - wr.top + m.top + m.bottom) {
    Compose();
  }
  return cache.Empty() ? nullptr : &cache;
}

void TsSkinProvider::Compose() {
  TsSkinManager* m = SkinData.SkinManagerOf();
  HWND hwnd = form_.WindowHandle();
  RECT wr{};
  ::GetWindowRect(hwnd, &wr);
  if (!m || wr.right <= wr.left || wr.bottom <= wr.top) return;
  // The new image shows every caption button in its state: a fade under way ends here.
  input_.StopFades();
  const sk::SkinTables& tables = m->Core().Tables;
  // The image is the window, or with extended borders the window inside the border margins.
  const sk::ExtBorderFrame ext =
      sk::ExtBorderFrameOf(wr.right - wr.left, wr.bottom - wr.top,
                           border_form_ ? sk::ExtBorderMargins(tables) : sk::BorderWidths{});
  const int w = std::min(ext.Width, graphics::Bitmap::kMaxDimension);
  const int h = std::min(ext.Height, graphics::Bitmap::kMaxDimension);
  const Rect formRect = ext.Form;
  const int fx = formRect.left, fy = formRect.top;
  Picture& cache = *SkinData.Cache;
  if (cache.Width() != w || cache.Height() != h || cache.ScanLine(0) != cache_memory_.ScanLine(0)) {
    // The image lives in the top-left corner of a DIB kept with some room to spare, so that a
    // window resized a pixel at a time neither makes a new DIB nor touches fresh memory.
    if (cache_memory_.Width() < w || cache_memory_.Height() < h) {
      const int room = graphics::Bitmap::kMaxDimension;
      cache_memory_ = graphics::Bitmap();
      cache_memory_ =
          graphics::NewBitmap32(std::min(room, w + w / 8 + 16), std::min(room, h + h / 8 + 16));
    }
    cache = graphics::Bitmap::Wrap(cache_memory_.ScanLine(0), w, h, cache_memory_.Stride(),
                                   graphics::PixelFormat::pf32bit);
  }
  // What a new image would hold before painting (the form section leaves no pixel unpainted
  // in the skins we know, but a skin without one must not show an older window).
  for (int y = 0; y < h; ++y) std::fill_n(cache.Row32(y), w, 0u);
  UpdateLayout();
  const sk::FrameFormInput f = FrameInput();
  const sk::FrameSkinValues s = SkinValues();
  const int frame = sk::FormFrameWidth(f, Metrics(), s);
  const int caption = sk::CaptionHeight(f, Metrics(), s);
  const int state = form_active_ ? 1 : 0;
  const auto none = sk::ParentBackground::None();

  // The form section over the whole window, then the size grip.
  sk::PaintSection(tables, SkinData.SectionIndex, none, -1, -1, cache, {0, 0}, formRect, state,
                   state);
  const int grip = tables.Cache.GripImage;
  if (GripMode == TsGripMode::gmRightBottom && f.ThickFrame && !f.Zoomed() && grip >= 0) {
    const sk::TsMaskData& g = tables.Images[static_cast<std::size_t>(grip)];
    sk::PaintImageAt(
        cache,
        {formRect.right - frame - sk::FrameWidth(g), formRect.bottom - frame - sk::FrameHeight(g)},
        0, sk::ParentBackground::FromBitmap(&cache, 0, 0), g, true);
  }

  // The title band, and the button bar behind the caption buttons.
  const bool minimizedOther = f.Minimized() && &form_ != Application().MainForm();
  const Rect titleRect = minimizedOther ? formRect
                                        : Rect{fx, fy, formRect.right,
                                               std::min(formRect.bottom, fy + frame + caption)};
  const int title = TitleSection();
  if (caption > 0 && title >= 0) {
    sk::PaintSection(tables, title, none, -1, -1, cache, {0, 0}, titleRect, state, state);
    const bool anyButton = std::any_of(layout_.System.begin(), layout_.System.end(),
                                       [](const auto& b) { return b.Visible; });
    const int bar = tables.FindImage(
        title, tables.Sections[static_cast<std::size_t>(title)].SectionName, "TITLEBAR");
    if (anyButton && bar >= 0) {
      const sk::TsMaskData& img = tables.Images[static_cast<std::size_t>(bar)];
      const Rect r{std::max(fx, formRect.right - layout_.TotalWidth - 2 * sk::FrameWidth(img)), fy,
                   formRect.right, titleRect.bottom};
      sk::PaintBorderMask(cache, r, false, state, img, none);
    }
  }

  // The menu line below the caption, its items drawn by the menu painter.
  PaintMenuLine(cache, frame, caption);
  // With extended borders the outer border or shadow goes around (and over the rim of) the
  // form, whose own pixels are opaque under it.
  if (border_form_) {
    graphics::SetOpacityRect(cache, formRect, 255, false);
    const graphics::Bitmap& shadow =
        state != 0 ? tables.ExtBorders.Active : tables.ExtBorders.Inactive;
    sk::PaintExtBorderRing(cache, shadow, sk::ExtBorderSlices(tables));
    border_picture_stale_ = true;
  }

  // Icon and caption text; GDI leaves its alpha bytes at 0, and the window image is opaque.
  if (caption > 0) {
    PaintTitleTexts(cache, state);
    graphics::SetOpacityRect(cache, titleRect, 255, false);
  }

  // The clean title, then the buttons in their states over it.
  if (caption > 0 && titleRect.bottom > 0) {
    clean_title_ = graphics::NewScratchBitmap32(w, titleRect.bottom);
    graphics::CopyBitmapRect(clean_title_, {0, 0}, cache, Rect{0, 0, w, titleRect.bottom});
    for (const sk::CaptionButtonInfo& b : layout_.System) {
      if (b.Visible) PaintButton(cache, b, input_.Tracker().StateOf(b.HitCode));
    }
    for (std::size_t i = 0; i < layout_.User.size(); ++i) {
      const sk::CaptionButtonInfo& b = layout_.User[i];
      if (b.Visible) PaintButton(cache, b, input_.Tracker().StateOf(b.HitCode));
    }
  } else {
    clean_title_ = Picture();
  }
  SkinData.BackgroundDirty = false;
}

bool TsSkinProvider::TitleTextLookOf(Picture& cache, int state, TitleTextLook& look) {
  TsSkinManager* m = SkinData.SkinManagerOf();
  const int title = TitleSection();
  if (!m || title < 0) return false;
  const sk::SkinTables& tables = m->Core().Tables;
  const sk::TsGeneralData& sec = tables.Sections[static_cast<std::size_t>(title)];
  const sk::FrameFormInput f = FrameInput();
  const sk::FrameSkinValues s = SkinValues();
  look.State = sk::LimitState(sec, state);
  const sk::TsGenState& props = sec.Props[static_cast<std::size_t>(look.State)];
  look.Color = props.FontColors[0];
  look.GlowColor = props.GlowColor;
  look.GlowSize = props.GlowSize;
  look.IconRect = sk::IconRect(f, Metrics(), s);
  look.Icon = !look.IconRect.empty() && TitleIcon.Glyph.Empty()
                  ? TitleIconOf(look.IconRect.height())
                  : nullptr;
  look.CaptionSection = CaptionSection();
  look.Band = sk::CaptionTextBand(f, Metrics(), s, layout_.TotalWidth, look.CaptionSection >= 0);
  look.Text = AddedTitle.ShowMainCaption ? form_.Caption() : std::wstring();
  if (!caption_font_) caption_font_ = SystemCaptionFont();
  look.Font = caption_font_.get();
  if (look.Text != caption_text_ || caption_extent_.cy == 0) {
    MemoryDC dc(::CreateCompatibleDC(nullptr));
    SelectedObject selected(dc.get(), look.Font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc.get(), look.Text.c_str(), static_cast<int>(look.Text.size()), &size);
    caption_text_ = look.Text;
    caption_extent_ = size;
  }
  look.TextSize = caption_extent_;
  const int width = look.TextSize.cx;
  look.Left = sk::CaptionTextLeft(look.Band, std::min<int>(width, look.Band.width()),
                                  CaptionAlignment, false);
  look.TextTop = look.Band.top + (look.Band.height() - look.TextSize.cy) / 2;
  const sk::TitleTextArea area =
      sk::TitleTextPaintArea(look.IconRect, look.Band, look.Left, look.TextTop, look.TextSize.cy,
                             look.Left + width, look.TextSize.cy);
  look.Area = area.Area.intersect(cache.Bounds());
  look.Right = area.Right;
  return true;
}

void TsSkinProvider::PaintTitleTexts(Picture& cache, int state) {
  TitleTextLook look;
  const bool known = TitleTextLookOf(cache, state, look);
  drawn_icon_ = known ? look.Icon : nullptr;
  // A glow reaches past the text's area: that picture is not kept.
  const bool keep = known && TitleIcon.Glyph.Empty() && AddedTitle.Text.empty() &&
                    !look.Area.empty() && look.GlowSize == 0;
  if (keep && title_text_.Valid && title_text_.Look == look &&
      graphics::SameRect(cache, look.Area, title_text_.Under)) {
    graphics::CopyBitmapRect(cache, look.Area.topLeft(), title_text_.Drawn,
                             title_text_.Drawn.Bounds());
    return;
  }
  title_text_.Valid = false;
  if (keep) {
    title_text_.Under = graphics::NewScratchBitmap32(look.Area.width(), look.Area.height());
    graphics::CopyBitmapRect(title_text_.Under, {0, 0}, cache, look.Area);
  }
  HBITMAP section = ImageDib();
  if (!section) return;
  {
    MemoryDC dc(::CreateCompatibleDC(nullptr));
    SelectedObject selected(dc.get(), section);
    const Rect& icon = look.IconRect;
    if (!icon.empty()) {
      if (!TitleIcon.Glyph.Empty()) {
        DrawPicture(dc.get(), icon, TitleIcon.Glyph);
      } else {
        ::DrawIconEx(dc.get(), icon.left, icon.top, look.Icon, icon.width(), icon.height(), 0,
                     nullptr, DI_NORMAL);
      }
    }
    if (known) DrawTitleTexts(dc.get(), cache, look, state);
    ::GdiFlush();
  }
  if (keep) {
    title_text_.Drawn = graphics::NewScratchBitmap32(look.Area.width(), look.Area.height());
    graphics::CopyBitmapRect(title_text_.Drawn, {0, 0}, cache, look.Area);
    title_text_.Look = look;
    title_text_.Valid = true;
  }
}

void TsSkinProvider::DrawTitleTexts(HDC dc, Picture& cache, const TitleTextLook& look, int state) {
  TsSkinManager* m = SkinData.SkinManagerOf();
  if (!m) return;
  const sk::SkinTables& tables = m->Core().Tables;
  const Rect& band = look.Band;
  if (band.width() <= 0 || band.height() <= 0) return;
  const std::wstring& text = look.Text;
  const SIZE size = look.TextSize;
  const int left = look.Left;
  const int textTop = look.TextTop;
  SavedDC saved(dc);
  SelectedObject selected(dc, look.Font);
  if (look.CaptionSection >= 0 && !text.empty()) {
    // The CAPTION section behind the text, over what the title painted there.
    ::GdiFlush();
    const Rect r =
        Rect{left, textTop, left + std::min<int>(size.cx, band.right - left), textTop + size.cy}
            .inflate(4, 2)
            .intersect(cache.Bounds());
    if (!r.empty()) {
      Picture under = graphics::NewScratchBitmap32(r.width(), r.height());
      graphics::CopyBitmapRect(under, {0, 0}, cache, r);
      Picture element = graphics::NewScratchBitmap32(r.width(), r.height());
      sk::PaintSection(tables, look.CaptionSection, sk::ParentBackground::FromBitmap(&under, 0, 0),
                       -1, -1, element, {0, 0}, element.Bounds(), look.State, look.State);
      graphics::CopyBitmapRect(cache, r.topLeft(), element, element.Bounds());
    }
  }
  ::SetBkMode(dc, TRANSPARENT);
  const TColor color = look.Color;
  ::SetTextColor(dc, static_cast<COLORREF>(graphics::ColorToRGB(color)));
  RECT rc{left, band.top, band.right, band.bottom};
  constexpr UINT kFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
  if (look.GlowSize > 0 && !text.empty()) {
    ::GdiFlush();
    title_glow_.Draw(cache, look.State, look.Font, text, Rect{rc.left, rc.top, rc.right, rc.bottom},
                     kFlags, look.GlowColor, look.GlowSize);
  }
  if (!text.empty()) ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, kFlags);
  if (!AddedTitle.Text.empty()) {
    const int after = text.empty() ? left : left + size.cx + 4;
    if (after < band.right) {
      SelectedObject added(dc, AddedTitle.Font.Handle());
      const TColor own = AddedTitle.Font.Color();
      const bool skinColor = own == graphics::clNone || own == graphics::clDefault;
      TColor c = skinColor ? color : own;
      if (!skinColor && state == 0)
        c = graphics::MixColors(graphics::ColorToRGB(c), graphics::ColorToRGB(color), 0.5);
      ::SetTextColor(dc, static_cast<COLORREF>(graphics::ColorToRGB(c)));
      RECT ra{after, band.top, band.right, band.bottom};
      ::DrawTextW(dc, AddedTitle.Text.c_str(), static_cast<int>(AddedTitle.Text.size()), &ra,
                  kFlags);
    }
  }
}

void TsSkinProvider::PaintButton(Picture& cache, const sk::CaptionButtonInfo& b, int state) {
  TsSkinManager* m = SkinData.SkinManagerOf();
  if (!m || b.Rect.empty()) return;
  const Rect r = b.Rect.intersect(cache.Bounds());
  if (r.empty() || clean_title_.Empty()) return;
  const sk::TsMaskData* img = m->Core().Tables.Image(b.ImageIndex);
  // Painted on a piece of the clean title, then put in place: at half strength for a normal
  // button of an inactive form or a disabled button.
  Picture piece = graphics::NewScratchBitmap32(r.width(), r.height());
  graphics::CopyBitmapRect(piece, {0, 0}, clean_title_, r);
  if (img) {
    const int frames = std::max<int>(1, img->FrameCount);
    const int st = std::clamp(state, 0, frames - 1);
    Picture under = graphics::NewScratchBitmap32(piece.Width(), piece.Height());
    graphics::CopyBitmapRect(under, {0, 0}, piece, piece.Bounds());
    sk::PaintImageAt(piece, {b.Rect.left - r.left, b.Rect.top - r.top}, st,
                     sk::ParentBackground::FromBitmap(&under, 0, 0), *img, true);
  }
  const bool userButton = b.HitCode >= sk::kHitUserButton;
  if (userButton) {
    const auto i = static_cast<std::size_t>(b.HitCode - sk::kHitUserButton);
    if (i < TitleButtons.size() && !TitleButtons[i].Glyph.Empty()) {
      const Picture& g = TitleButtons[i].Glyph;
      const int x = (r.width() - g.Width()) / 2, y = (r.height() - g.Height()) / 2;
      if (g.BitsPerPixel() == 32) {
        graphics::BackgroundSource bg;
        graphics::ComposeOver(graphics::RectOfSize(x, y, g.Width(), g.Height()), g.Bounds(), g,
                              false, bg, piece);
      } else {
        graphics::CopyKeyed(piece, graphics::ConvertTo32(g), x, y,
                            g.PixelWord(0, g.Height() - 1) & 0xFFFFFFu);
      }
    }
  }
  const bool dim = state == 0 && (!form_active_ || !b.Enabled);
  if (dim) {
    graphics::BlendRect(cache, piece, 128, r.topLeft(), piece.Bounds());
  } else {
    graphics::CopyBitmapRect(cache, r.topLeft(), piece, piece.Bounds());
  }
}

void TsSkinProvider::PaintFrame(HDC windowDC) {
  Picture* cache = ComposedImage();
  if (!cache || !windowDC) return;
  HBITMAP section = ImageDib();
  if (!section) return;
  HWND hwnd = form_.WindowHandle();
  const sk::FrameFormInput f = FrameInput();
  const sk::FrameSkinValues s = SkinValues();
  RECT client{};
  ::GetClientRect(hwnd, &client);
  ShowBorderPicture();
  RECT wr{};
  ::GetWindowRect(hwnd, &wr);
  const POINT origin = ImageOrigin();
  sk::FrameStripInput in;
  in.Width = wr.right - wr.left;
  in.Height = wr.bottom - wr.top;
  in.ClientHeight = client.bottom;
  in.Frame = sk::FormFrameWidth(f, Metrics(), s);
  in.HasCaption = sk::CaptionHeight(f, Metrics(), s) > 0;
  in.Border = f.Border;
  in.ThickFrame = f.ThickFrame;
  in.NoBorderStyle = form_.GetBorderStyle() == BorderStyle::bsNone;
  in.Minimized = f.Minimized();
  SavedDC saved(windowDC);
  MemoryDC dc(::CreateCompatibleDC(windowDC));
  SelectedObject selected(dc.get(), section);
  for (const Rect& r : sk::FrameCopyStrips(in)) {
    if (r.empty()) continue;
    ::BitBlt(windowDC, r.left, r.top, r.width(), r.height(), dc.get(), r.left + origin.x,
             r.top + origin.y, SRCCOPY);
  }
}

void TsSkinProvider::PaintFrameNow() {
  HWND hwnd = form_.WindowHandle();
  if (!hwnd) return;
  {
    WindowDC dc(hwnd, true);
    PaintFrame(dc.get());
  }
  UpdateRegion();
}

graphics::Bitmap* TsSkinProvider::CaptionImage() {
  Picture* cache = ComposedImage();
  return cache && !clean_title_.Empty() ? cache : nullptr;
}

void TsSkinProvider::PaintCaptionButton(const sk::CaptionButtonInfo& b, int state) {
  if (SkinData.Cache) PaintButton(*SkinData.Cache, b, state);
}

void TsSkinProvider::UpdateRegion() {
  if (!region_changed_) return;
  HWND hwnd = form_.WindowHandle();
  TsSkinManager* m = SkinData.SkinManagerOf();
  if (!hwnd || !m || !FrameSkinned()) return;
  region_changed_ = false;
  RECT wr{};
  ::GetWindowRect(hwnd, &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  const sk::SkinTables& tables = m->Core().Tables;
  const int state = form_active_ ? 1 : 0;
  std::vector<Rect> cuts;
  const bool hasFrame = form_.GetBorderStyle() != BorderStyle::bsNone || CaptionHeight() > 0;
  if (hasFrame) {
    if (const sk::TsMaskData* mask = tables.Image(SkinData.BorderMaskIndex)) {
      cuts = sk::CornerCutRects(*mask, state, Rect{0, 0, w, h}, true, true);
    }
    const int title = TitleSection();
    const int caption = CaptionHeight();
    if (title >= 0 && caption > 0) {
      const int titleMask = tables.FindImage(
          title, tables.Sections[static_cast<std::size_t>(title)].SectionName, "BORDERSMASK");
      if (const sk::TsMaskData* mask = tables.Image(titleMask)) {
        const auto more =
            sk::CornerCutRects(*mask, state, Rect{0, 0, w, FrameWidth() + caption}, true, false);
        cuts.insert(cuts.end(), more.begin(), more.end());
      }
    }
  }
  if (cuts.empty()) {
    if (region_set_) SetRegion(hwnd, nullptr);
    region_set_ = false;
    return;
  }
  Region region(::CreateRectRgn(0, 0, w, h));
  for (const Rect& r : cuts) {
    Region cut(::CreateRectRgn(r.left, r.top, r.right, r.bottom));
    ::CombineRgn(region.get(), region.get(), cut.get(), RGN_DIFF);
  }
  // The window owns the region once it has taken it.
  if (SetRegion(hwnd, region.get())) {
    (void)region.release();
    region_set_ = true;
  }
}

}  // namespace sapala::win
