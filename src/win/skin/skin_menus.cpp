// The skinned menu painter; see skin_menus.h.
#include "win/skin/skin_menus.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "core/graphics/pixels.h"
#include "core/skin/skin_paint.h"
#include "win/controls/skin_link.h"
#include "win/framework/handles.h"
#include "win/skin/app_hook.h"
#include "win/skin/menu_hook.h"
#include "win/skin/plug_ins.h"
#include "win/skin/skin_manager.h"
#include "win/skin/skin_provider.h"

namespace sapala::win::skin {

namespace core = sapala::skin;
using graphics::Bitmap;
using graphics::Rect;

namespace {

constexpr int kCmdIsPopupSkinned = 8;  // the popup hook answers non-zero when it paints itself
constexpr int kCmdPrepareRegion = 14;  // the popup hook gets ready for a region of ours
constexpr wchar_t kDefaultExtraText[] = L"Use OnGetExtraLineData event";

void CopyToDC(HDC dc, int x, int y, const Bitmap& bitmap, Rect src) noexcept {
  CopyPictureToDC(dc, x, y, bitmap, src);
}

// A 32-bit top-down DIB section with a memory DC: GDI text and the core's pixel work on the
// same memory.
struct Surface {
  win::Bitmap bitmap;
  win::MemoryDC dc;
  std::optional<SelectedObject> selection;
  Bitmap view;

  bool Make(int w, int h) {
    if (w <= 0 || h <= 0) return false;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap = win::Bitmap(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    dc = win::MemoryDC(::CreateCompatibleDC(nullptr));
    if (!bitmap || !dc || bits == nullptr) return false;
    selection.emplace(dc.get(), bitmap.get());
    view =
        Bitmap::Wrap(static_cast<std::uint8_t*>(bits), w, h, w * 4, graphics::PixelFormat::pf32bit);
    return true;
  }
  ~Surface() {
    view = Bitmap();
    selection.reset();
  }
};

bool FontFromLog(const LOGFONTW& lf, win::Font& holder) {
  holder = win::Font(::CreateFontIndirectW(&lf));
  return static_cast<bool>(holder);
}

SIZE TextSize(HDC dc, HFONT font, const std::wstring& text) {
  SelectedObject sel(dc, font);
  RECT r{0, 0, 0, 0};
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  return {r.right - r.left, r.bottom - r.top};
}

// The first item of the popup an item belongs to.
TMenuItem* FirstOf(TMenuItem& item) {
  TMenuItem* parent = item.Parent();
  if (parent == nullptr || parent->Count() == 0) return &item;
  return &parent->Items(0);
}

bool StartsColumn(const TMenuItem& item) { return item.Break != TMenuBreak::mbNone; }

// True when no visible item of the popup up to and including `item` starts a new column.
bool InFirstColumn(TMenuItem& item) {
  TMenuItem* parent = item.Parent();
  if (parent == nullptr) return true;
  for (int i = 0; i < parent->Count(); ++i) {
    TMenuItem& it = parent->Items(i);
    if (it.Visible && StartsColumn(it) && i > 0) return false;
    if (&it == &item) break;
  }
  return true;
}

}  // namespace

void CopyPictureToDC(HDC dc, int x, int y, const Bitmap& bitmap, Rect src) noexcept {
  src = src.intersect(bitmap.Bounds());
  if (src.empty() || bitmap.Format() != graphics::PixelFormat::pf32bit) return;
  try {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(src.width()) *
                                      static_cast<std::size_t>(src.height()));
    for (int row = 0; row < src.height(); ++row) {
      std::memcpy(&pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(src.width())],
                  bitmap.Row32(src.top + row) + src.left,
                  static_cast<std::size_t>(src.width()) * 4);
    }
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = src.width();
    bi.bmiHeader.biHeight = -src.height();
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    ::SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(src.width()), static_cast<DWORD>(src.height()),
                        0, 0, 0, static_cast<UINT>(src.height()), pixels.data(), &bi,
                        DIB_RGB_COLORS);
  } catch (...) {
  }
}

// ---------------------------------------------------------------- life

TsSkinableMenus::TsSkinableMenus(TsSkinManager& manager) : manager_(manager) {}

TsSkinableMenus::~TsSkinableMenus() {
  ReleasePopups();
  popup_hooks_.clear();
  SkinChanged();
  for (TMenu* menu : TMenu::All()) menu->Items().ForEach([this](TMenuItem& i) { Detach(i); });
}

bool TsSkinableMenus::SkinActive() const {
  return manager_.Core().SkinData().Active && manager_.Core().Active();
}

int TsSkinableMenus::SkinBorderWidth() {
  if (skin_border_ < 0) skin_border_ = core::MenuSkinBorderWidth(manager_.Core().Tables);
  return skin_border_;
}

void TsSkinableMenus::SkinChanged() noexcept {
  skin_border_ = -1;
  backgrounds_.clear();
  for (HWND w : regioned_) {
    if (::IsWindow(w)) ::SetWindowRgn(w, nullptr, ::IsWindowVisible(w));
  }
  regioned_.clear();
  paint_pending_ = false;
  // Open popups are drawn again once the new skin is in force (the paint is posted).
  for (const auto& hook : popup_hooks_) {
    if (!hook->Removed() && ::IsWindowVisible(hook->Handle())) {
      ::RedrawWindow(hook->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
    }
  }
}

// ---------------------------------------------------------------- handlers

bool TsSkinableMenus::IsBarItem(const TMenuItem& item) const noexcept {
  const TMenu* menu = item.GetParentMenu();
  return dynamic_cast<const TMainMenu*>(menu) != nullptr && item.Parent() == &menu->Items();
}

void TsSkinableMenus::Attach(TMenuItem& item) {
  if (item.OnMeasureItem || item.OnDrawItem) return;  // the item draws itself
  if (IsBarItem(item)) {
    item.OnMeasureItem = [this](TMenuItem& i, HDC dc, int& w, int& h) {
      MeasureBarItem(i, dc, w, h);
    };
    item.OnDrawItem = [this](TMenuItem& i, HDC dc, const RECT& r, UINT s) {
      DrawBarItemOfWindow(i, dc, r, s);
    };
  } else {
    item.OnMeasureItem = [this](TMenuItem& i, HDC dc, int& w, int& h) { MeasureItem(i, dc, w, h); };
    item.OnDrawItem = [this](TMenuItem& i, HDC dc, const RECT& r, UINT s) {
      DrawItem(i, dc, r, s);
    };
  }
  item.HandlerOwner = this;
}

void TsSkinableMenus::Detach(TMenuItem& item) {
  if (!Owns(item)) return;
  item.OnMeasureItem = nullptr;
  item.OnDrawItem = nullptr;
  item.HandlerOwner = nullptr;
}

void TsSkinableMenus::SetActive(bool value) {
  active_ = value;
  SyncMenus();
}

void TsSkinableMenus::SyncMenus() {
  if ((manager_.ComponentState() & csDesigning) != 0) return;
  const bool attach = active_ && manager_.Core().SkinnedPopups();
  for (TMenu* menu : std::vector<TMenu*>(TMenu::All())) {
    if (menu->Destroying()) continue;
    bool changed = false;
    menu->Items().ForEach([&](TMenuItem& i) {
      const bool had = Owns(i);
      attach ? Attach(i) : Detach(i);
      changed = changed || had != Owns(i);
    });
    // A bar shows its items' owner-drawing only once it is built again; a popup is built
    // every time it opens. A main menu whose items are gone keeps the bar it has.
    auto* main = dynamic_cast<TMainMenu*>(menu);
    if (changed && main != nullptr && main->WindowHandle() != nullptr &&
        main->Items().Count() > 0) {
      main->Changed();
    }
  }
}

// ---------------------------------------------------------------- backgrounds

bool TsSkinableMenus::Alive(const Background& b) const {
  // An entry is keyed by an item: it is good only while that item is still the first item of
  // a live menu (a freed item's address may come back as another popup's item).
  const auto& all = TMenu::All();
  if (std::find(all.begin(), all.end(), b.menu) == all.end()) return false;
  bool found = false;
  b.menu->Items().ForEach([&](TMenuItem& i) { found = found || &i == b.firstItem; });
  return found;
}

const TsSkinableMenus::Background* TsSkinableMenus::BackgroundOf(HWND window) {
  return window != nullptr ? Find(nullptr, window) : nullptr;
}

TsSkinableMenus::Background* TsSkinableMenus::Find(const TMenuItem* firstItem, HWND window) {
  std::erase_if(backgrounds_, [this](const auto& b) { return !Alive(*b); });
  for (auto& b : backgrounds_) {
    if ((firstItem != nullptr && b->firstItem == firstItem) ||
        (firstItem == nullptr && window != nullptr && b->window == window)) {
      return b.get();
    }
  }
  return nullptr;
}

void TsSkinableMenus::AskExtraLine(Background& b) {
  b.extraLine = false;
  if (b.firstItem == nullptr || b.firstItem->Name == "SkinSelectItem") return;
  extra_line_section_ = "EXTRALINE";
  extra_line_glyph_ = nullptr;
  extra_line_text_ = kDefaultExtraText;
  bool show = true;
  if (manager_.OnGetMenuExtraLineData) {
    manager_.OnGetMenuExtraLineData(b.firstItem, extra_line_section_, show, extra_line_glyph_,
                                    extra_line_text_);
  }
  std::erase(extra_line_text_, L'&');
  if (!show) extra_line_glyph_ = nullptr;
  b.extraLine = true;
}

TsSkinableMenus::Background* TsSkinableMenus::PopupBackground(TMenuItem* firstItem, int width,
                                                              int height, HWND window) {
  Background* b = Find(firstItem, window);
  if (b == nullptr) {
    if (firstItem == nullptr) return nullptr;
    auto entry = std::make_unique<Background>();
    entry->firstItem = firstItem;
    entry->menu = firstItem->GetParentMenu();
    if (!(manager_.ComponentState() & csDesigning) != 0) AskExtraLine(*entry);
    backgrounds_.push_back(std::move(entry));
    b = backgrounds_.back().get();
  }
  if (window != nullptr) b->window = window;
  if (width <= 0 || height <= 0) return b;
  // Built again when the popup's size changed since (items added, hidden or renamed).
  if (b->bitmap.Width() == width && b->bitmap.Height() == height) return b;
  const auto& support = manager_.Core().MenuSupport;
  core::PopupBackgroundInput in;
  in.width = width;
  in.height = height;
  in.glyphWidth = b->glyphWidth;
  in.rightAligned = window != nullptr && (::GetWindowLongW(window, GWL_EXSTYLE) & 0x1000) != 0;
  in.extraLineWidth = support.UseExtraLine && b->extraLine ? support.ExtraLineWidth : 0;
  in.icoLineSection = support.IcoLineSkin.empty() ? "ICOLINE" : support.IcoLineSkin;
  in.extraLineSection = extra_line_section_;
  in.spacing = {Margin, Spacing, BorderWidth};
  b->bitmap = core::BuildPopupBackground(manager_.Core().Tables, in);
  if (in.extraLineWidth > 0) PaintExtraLine(*b);
  if (window != nullptr) ApplyRegion(window, *b);
  return b;
}

void TsSkinableMenus::PaintExtraLine(Background& b) {
  const auto& support = manager_.Core().MenuSupport;
  const int border = SkinBorderWidth();
  const int columnW = support.ExtraLineWidth;
  const int bottom = b.bitmap.Height() - border;
  Surface s;
  if (!s.Make(b.bitmap.Width(), b.bitmap.Height())) return;
  graphics::CopyBitmapRect(s.view, {0, 0}, b.bitmap, b.bitmap.Bounds());
  int textEnd = bottom - 12;
  if (extra_line_glyph_ != nullptr) {
    BITMAP info{};
    ::GetObjectW(extra_line_glyph_, sizeof info, &info);
    win::MemoryDC glyphDC(::CreateCompatibleDC(s.dc.get()));
    if (glyphDC) {
      SelectedObject sel(glyphDC.get(), extra_line_glyph_);
      ::BitBlt(s.dc.get(), border + (columnW - info.bmWidth) / 2, bottom - 12 - info.bmHeight,
               info.bmWidth, info.bmHeight, glyphDC.get(), 0, 0, SRCCOPY);
    }
    textEnd = bottom - info.bmHeight - 20;
  }
  LOGFONTW lf{};
  const std::wstring face(support.ExtraLineFont.Name.begin(), support.ExtraLineFont.Name.end());
  wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  lf.lfHeight = support.ExtraLineFont.Height;
  lf.lfWeight = support.ExtraLineFont.Bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = support.ExtraLineFont.Italic ? 1 : 0;
  lf.lfEscapement = lf.lfOrientation = -2700;  // reads upwards
  win::Font font;
  if (!FontFromLog(lf, font)) return;
  const SIZE extent = TextSize(s.dc.get(), font.get(), extra_line_text_);
  const int section = manager_.Core().Tables.FindSection(extra_line_section_);
  TColor color = graphics::clWindowText;
  if (section >= 0)
    color = manager_.Core().Tables.Sections[static_cast<std::size_t>(section)].FontColors[0];
  SelectedObject sel(s.dc.get(), font.get());
  ::SetBkMode(s.dc.get(), TRANSPARENT);
  ::SetTextColor(s.dc.get(), ToColorRef(color));
  ::TextOutW(s.dc.get(), border + (columnW - extent.cy) / 2, textEnd, extra_line_text_.c_str(),
             static_cast<int>(extra_line_text_.size()));
  ::GdiFlush();
  graphics::CopyBitmapRect(b.bitmap, {0, 0}, s.view, s.view.Bounds());
}

void TsSkinableMenus::ApplyRegion(HWND window, const Background& b) {
  if (applying_region_ || window == nullptr || b.bitmap.Empty()) return;
  if (manager_.Core().Tables.FindImageExact("MAINMENU", "BORDERSMASK") < 0) return;
  applying_region_ = true;
  if (::SendMessageW(window, SM_LUMOCMD, MAKEWPARAM(0, kCmdIsPopupSkinned), 0) == 0) {
    ::SendMessageW(window, SM_LUMOCMD, MAKEWPARAM(0, kCmdPrepareRegion), 0);
    const auto cutouts =
        core::PopupBorderCutouts(manager_.Core().Tables, b.bitmap.Width(), b.bitmap.Height());
    win::Region region(::CreateRectRgn(0, 0, b.bitmap.Width(), b.bitmap.Height()));
    if (region) {
      std::vector<Rect> cut = cutouts;
      if (cut.empty()) cut.push_back({0, 0, 1, 1});
      for (const Rect& r : cut) {
        win::Region hole(::CreateRectRgn(r.left, r.top, r.right, r.bottom));
        if (hole) ::CombineRgn(region.get(), region.get(), hole.get(), RGN_DIFF);
      }
      // The window owns the region once SetWindowRgn accepts it.
      if (::SetWindowRgn(window, region.get(), ::IsWindowVisible(window))) {
        (void)region.release();
        if (std::find(regioned_.begin(), regioned_.end(), window) == regioned_.end())
          regioned_.push_back(window);
      }
    }
  }
  applying_region_ = false;
}

// ---------------------------------------------------------------- measuring

HFONT TsSkinableMenus::ItemFont(const TMenuItem& item, win::Font& holder) const {
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
  LOGFONTW lf = ncm.lfMenuFont;
  if (item.Default) lf.lfWeight = FW_BOLD;
  return FontFromLog(lf, holder) ? holder.get()
                                 : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

core::MenuSize TsSkinableMenus::Glyph(const TMenuItem& item) const {
  core::MenuSize own;
  if (item.Bitmap() != nullptr) {
    BITMAP info{};
    if (::GetObjectW(item.Bitmap(), sizeof info, &info)) own = {info.bmWidth, info.bmHeight};
  }
  return core::GlyphSize(own, {}, {});
}

void TsSkinableMenus::MeasureItem(TMenuItem& item, HDC dc, int& width, int& height) {
  if (item.Destroying()) return;
  TMenuItem* first = FirstOf(item);
  Background* b = PopupBackground(first, 0, 0, nullptr);
  win::Font font;
  const HFONT f = ItemFont(item, font);
  const auto kind = core::ItemKindOf(item.Caption);
  core::MeasureInput in;
  in.kind = kind;
  in.textWidth = TextSize(dc, f, core::MeasuredText(kind, item.Caption, item.ShortCut)).cx;
  in.letterHeight = TextSize(dc, f, L"W").cy;
  in.glyph = Glyph(item);
  if (b != nullptr) b->glyphWidth = std::max(b->glyphWidth, in.glyph.cx);
  const auto& support = manager_.Core().MenuSupport;
  in.besideExtraLine = b != nullptr && b->extraLine && support.UseExtraLine && InFirstColumn(item);
  in.extraLineWidth = support.ExtraLineWidth;
  const core::MenuSize size = core::MeasureMenuItem(in, {Margin, Spacing, BorderWidth});
  width = size.cx;
  height = size.cy;
}

// ---------------------------------------------------------------- drawing

void TsSkinableMenus::DrawFrameStrips(HWND window, const Background& b, bool first,
                                      bool last) noexcept {
  RECT wr{}, cr{};
  ::GetWindowRect(window, &wr);
  ::GetClientRect(window, &cr);
  POINT origin{0, 0};
  ::ClientToScreen(window, &origin);
  const int ox = origin.x - wr.left, oy = origin.y - wr.top;
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  WindowDC dc(window, true);
  if (dc.get() == nullptr) return;
  if (first) {
    CopyToDC(dc.get(), 0, 0, b.bitmap, {0, 0, w, oy});
    CopyToDC(dc.get(), 0, 0, b.bitmap, {0, 0, ox, h});
  }
  if (last) {
    const int bottom = oy + cr.bottom, right = ox + cr.right;
    CopyToDC(dc.get(), 0, bottom, b.bitmap, {0, bottom, w, h});
    CopyToDC(dc.get(), right, 0, b.bitmap, {right, 0, w, h});
  }
}

void TsSkinableMenus::DrawItem(TMenuItem& item, HDC dc, const RECT& rect, UINT state) noexcept {
  if (!SkinActive()) return;
  try {
    auto& tables = manager_.Core().Tables;
    const auto& support = manager_.Core().MenuSupport;
    TMenuItem* parent = item.Parent();
    TMenuItem* first = FirstOf(item);

    // Hover left behind on a control under the popup.
    if (HWND hot = manager_.HotControl()) {
      manager_.SetHotControl(nullptr);
      ::SendMessageW(hot, WM_MOUSELEAVE, 0, 0);
    }

    HWND window = ::WindowFromDC(dc);
    if (window != nullptr && std::find(popups_.begin(), popups_.end(), window) == popups_.end()) {
      wchar_t cls[16]{};
      ::GetClassNameW(window, cls, 16);
      if (std::wcscmp(cls, L"#32768") != 0) window = nullptr;
    }
    const LONG exStyle = window != nullptr ? ::GetWindowLongW(window, GWL_EXSTYLE) : 0;
    const bool rtlReading = (exStyle & 0x2000) != 0;
    const bool rightAligned = (exStyle & 0x1000) != 0;
    int width = 0, height = 0;
    if (window != nullptr) {
      RECT wr{};
      ::GetWindowRect(window, &wr);
      width = wr.right - wr.left;
      height = wr.bottom - wr.top;
    } else if (parent != nullptr) {
      std::vector<core::PopupItem> items;
      WindowDC screen(nullptr);
      for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem& it = parent->Items(i);
        int w = 0, h = 0;
        MeasureItem(it, screen.get(), w, h);
        items.push_back({{w, h}, it.Visible, StartsColumn(it)});
      }
      const auto size = core::PopupSize(items, BorderWidth);
      width = size.cx;
      height = size.cy;
    }
    Background* bg = PopupBackground(first, width, height, window);
    if (bg == nullptr || bg->bitmap.Empty()) return;
    const Bitmap& back = bg->bitmap;

    // Which visible item is this: the frame is refreshed with the first and the last.
    int firstVisible = -1, lastVisible = -1, index = -1;
    if (parent != nullptr) {
      for (int i = 0; i < parent->Count(); ++i) {
        if (!parent->Items(i).Visible) continue;
        if (firstVisible < 0) firstVisible = i;
        lastVisible = i;
        if (&parent->Items(i) == &item) index = i;
      }
    }
    const bool isFirst = index == firstVisible, isLast = index == lastVisible;
    POINT clientOffset{BorderWidth, BorderWidth};
    if (window != nullptr) {
      RECT wr{};
      ::GetWindowRect(window, &wr);
      POINT o{0, 0};
      ::ClientToScreen(window, &o);
      clientOffset = {o.x - wr.left, o.y - wr.top};
      if (isFirst || isLast) DrawFrameStrips(window, *bg, isFirst, isLast);
    } else if (!paint_pending_ && manager_.AppWindowHook() != nullptr) {
      paint_pending_ = true;
      ::PostMessageW(manager_.AppWindowHook()->Window().Handle(), TlcAppWindowHook::kPaintPopupItem,
                     0, reinterpret_cast<LPARAM>(&item));
    }

    const bool firstColumn = InFirstColumn(item);
    const int extraW =
        (support.UseExtraLine && bg->extraLine && firstColumn) ? support.ExtraLineWidth : 0;
    const Rect itemRect{rect.left + extraW, rect.top, rect.right, rect.bottom};
    if (itemRect.empty()) return;
    const int bx = itemRect.left + clientOffset.x, by = itemRect.top + clientOffset.y;
    Surface s;
    if (!s.Make(itemRect.width(), itemRect.height())) return;
    Bitmap& pic = s.view;
    graphics::CopyBitmapRect(pic, {0, 0}, back,
                             graphics::RectOfSize(bx, by, pic.Width(), pic.Height()));
    const auto kind = core::ItemKindOf(item.Caption);
    const int glyphW = bg->glyphWidth;
    const int glyphColumn = Margin + glyphW + Spacing;
    const bool enabled = item.Enabled && !(state & (ODS_DISABLED | ODS_GRAYED));
    const bool selected = (state & ODS_SELECTED) != 0;
    const auto own = core::ParentBackground::FromBitmap(&back, 0, 0);

    if (kind == core::MenuItemKind::separator) {
      const int dividerSection = tables.FindSection("DIVIDERV");
      const auto* divider =
          tables.Image(tables.FindImage(dividerSection, "DIVIDERV", "BORDERSMASK"));
      const Rect line = core::SeparatorLine(pic.Width(), pic.Height(), 0, glyphColumn,
                                            {Margin, Spacing, BorderWidth});
      if (!line.empty()) {
        if (divider != nullptr) {
          core::PaintBorderMask(pic, {line.left, 0, line.right, pic.Height()}, false, 0, *divider,
                                core::ParentBackground::None());
        } else {
          TColor color = tables.SkinData.BorderColor;
          if ((color & 0xFFFFFF) == 0xFF00FF) color = graphics::clBtnShadow;
          graphics::FillBitmapRect(pic, line, graphics::ColorToRGB(color));
        }
      }
    } else if (kind == core::MenuItemKind::title) {
      const int toolbar = tables.FindSection("TOOLBAR");
      if (toolbar >= 0)
        core::PaintSection(tables, toolbar, own, -1, -1, pic, {bx, by}, pic.Bounds(), 0, 0);
      ::GdiFlush();
      SelectedObject sel(s.dc.get(), CaptionFont.Handle());
      ::SetBkMode(s.dc.get(), TRANSPARENT);
      ::SetTextColor(s.dc.get(), ToColorRef(CaptionFont.Color()));
      RECT r{0, 0, pic.Width(), pic.Height()};
      const std::wstring text = core::TitleText(item.Caption);
      ::DrawTextW(s.dc.get(), text.c_str(), static_cast<int>(text.size()), &r,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    } else {
      // a. the background below the last item of a column
      TMenuItem* next = nullptr;
      if (parent != nullptr && index >= 0) {
        for (int i = index + 1; i < parent->Count() && next == nullptr; ++i) {
          if (parent->Items(i).Visible) next = &parent->Items(i);
        }
      }
      const bool columnEnd = (next != nullptr && StartsColumn(*next)) || isLast;
      if (columnEnd && window != nullptr) {
        const int below = rect.bottom, limit = height - clientOffset.y - 6;
        if (limit - below > 0) {
          WindowDC wdc(window);
          HDC target = dc != nullptr ? dc : wdc.get();
          CopyToDC(target, rect.left, below, back,
                   graphics::RectOfSize(rect.left + clientOffset.x, below + clientOffset.y,
                                        rect.right - rect.left, limit - below));
        }
      }
      if (StartsColumn(item) && rect.left >= 4) {
        CopyToDC(dc, rect.left - 4, 0, back,
                 graphics::RectOfSize(rect.left - 4 + clientOffset.x, clientOffset.y, 4,
                                      std::max(height - 6, 0)));
      }
      // b. the item's state background
      const int itemSection = tables.FindSection("MENUITEM");
      const int itemState = selected && enabled ? 1 : 0;
      if (itemSection >= 0) {
        core::PaintSection(tables, itemSection, own, -1, -1, pic, {bx, by}, pic.Bounds(), itemState,
                           itemState);
      }
      // c. check mark without a glyph of its own
      if (item.Checked && item.Bitmap() == nullptr) {
        const int gi = tables.FindSection("GLOBALINFO");
        int image = item.RadioItem ? tables.FindImage(gi, "GLOBALINFO", "RADIOCHECKED") : -1;
        if (image < 0) image = tables.FindImage(gi, "GLOBALINFO", "CHECK");
        if (image < 0) image = tables.FindImage(gi, "GLOBALINFO", "BOXCHECKED");
        if (const auto* mark = tables.Image(image)) {
          const int mw = core::FrameWidth(*mark), mh = core::FrameHeight(*mark);
          const int x = rtlReading ? pic.Width() - Margin - mw : Margin;
          const Bitmap under = pic.Clone();
          core::PaintImageAt(pic, {x, (pic.Height() - mh) / 2}, 0,
                             core::ParentBackground::FromBitmap(&under, 0, 0), *mark, true);
        }
      }
      ::GdiFlush();
      const HDC sdc = s.dc.get();
      ::SetBkMode(sdc, TRANSPARENT);
      // d. glyph: a system-menu symbol or the item's bitmap
      const TMenu* menu = item.GetParentMenu();
      const wchar_t symbol = core::SystemMenuSymbol(static_cast<unsigned>(item.Tag));
      if (item.Bitmap() != nullptr) {
        BITMAP info{};
        ::GetObjectW(item.Bitmap(), sizeof info, &info);
        win::MemoryDC gdc(::CreateCompatibleDC(sdc));
        if (gdc) {
          SelectedObject sel(gdc.get(), item.Bitmap());
          const int x = rtlReading ? pic.Width() - Margin - info.bmWidth : Margin;
          const int y = (pic.Height() - info.bmHeight) / 2;
          if (info.bmBitsPixel == 32) {
            BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            ::AlphaBlend(sdc, x, y, info.bmWidth, info.bmHeight, gdc.get(), 0, 0, info.bmWidth,
                         info.bmHeight, bf);
          } else {
            ::BitBlt(sdc, x, y, info.bmWidth, info.bmHeight, gdc.get(), 0, 0, SRCCOPY);
          }
        }
      } else if (menu != nullptr && menu->Name() == "SysMenu" && symbol != 0) {
        LOGFONTW lf{};
        wcscpy(lf.lfFaceName, L"Webdings");
        lf.lfHeight = -MulDiv(10, ::GetDeviceCaps(sdc, LOGPIXELSY), 72);
        lf.lfCharSet = SYMBOL_CHARSET;
        win::Font wd;
        if (FontFromLog(lf, wd)) {
          SelectedObject sel(sdc, wd.get());
          // A Webdings without the symbol (Wine's has only a few): Marlett puts the same
          // command symbols on the same letters.
          win::Font marlett;
          std::optional<SelectedObject> fallback;
          WORD glyph = 0;
          if (::GetGlyphIndicesW(sdc, &symbol, 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS) == 1 &&
              glyph == 0xFFFF) {
            wcscpy(lf.lfFaceName, L"Marlett");
            if (FontFromLog(lf, marlett)) fallback.emplace(sdc, marlett.get());
          }
          ::SetTextColor(
              sdc,
              ToColorRef(itemSection >= 0 ? tables.Sections[static_cast<std::size_t>(itemSection)]
                                                .Props[static_cast<std::size_t>(itemState)]
                                                .FontColors[0]
                                          : graphics::clMenuText));
          RECT r{Margin, 0, Margin + glyphW, pic.Height()};
          if (rtlReading)
            r = {pic.Width() - Margin - glyphW, 0, pic.Width() - Margin, pic.Height()};
          ::DrawTextW(sdc, &symbol, 1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
      }
      // e. caption and f. shortcut
      win::Font font;
      SelectedObject sel(sdc, ItemFont(item, font));
      TColor textColor = graphics::clMenuText;
      if (itemSection >= 0) {
        const auto& sec = tables.Sections[static_cast<std::size_t>(itemSection)];
        textColor =
            sec.Props[static_cast<std::size_t>(core::LimitState(sec, itemState))].FontColors[0];
      }
      ::SetTextColor(sdc, ToColorRef(textColor));
      std::wstring caption = item.Caption;
      UINT format = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_NOCLIP;
      if (!caption.empty() && caption.front() == L'\b') {
        caption = caption.substr(1) + L"      ";
        format |= DT_RIGHT;
      } else if (Alignment == TAlignment::taRightJustify) {
        format |= DT_RIGHT;
      } else if (Alignment == TAlignment::taCenter) {
        format |= DT_CENTER;
      }
      if (rtlReading) format |= DT_RIGHT | DT_RTLREADING;
      if (state & ODS_NOACCEL) format |= DT_HIDEPREFIX;
      RECT tr{glyphColumn, 0, pic.Width() - Margin, pic.Height()};
      if (rightAligned || rtlReading) tr = {Margin, 0, pic.Width() - glyphColumn, pic.Height()};
      ::DrawTextW(sdc, caption.c_str(), static_cast<int>(caption.size()), &tr, format);
      if (!item.ShortCut.empty()) {
        RECT sr{glyphColumn, 0, pic.Width() - 8, pic.Height()};
        ::DrawTextW(sdc, item.ShortCut.c_str(), static_cast<int>(item.ShortCut.size()), &sr,
                    DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
      }
      ::GdiFlush();
      // h. disabled: blended into the background
      if (!enabled) {
        Bitmap under = graphics::NewBitmap32(pic.Width(), pic.Height());
        graphics::CopyBitmapRect(under, {0, 0}, back,
                                 graphics::RectOfSize(bx, by, pic.Width(), pic.Height()));
        graphics::BlendBitmaps(pic, pic, under, 102, nullptr);
      }
    }
    ::GdiFlush();
    // g. the application's look at the picture
    if (OnDrawItem) {
      const RECT local{0, 0, pic.Width(), pic.Height()};
      OnDrawItem(item, s.dc.get(), pic, static_cast<int>(kind), state, local);
      ::GdiFlush();
    }
    // i. to the menu
    ::BitBlt(dc, itemRect.left, itemRect.top, pic.Width(), pic.Height(), s.dc.get(), 0, 0, SRCCOPY);
    if (extraW > 0 && index == firstVisible) {
      CopyToDC(dc, rect.left, 0, back,
               graphics::RectOfSize(clientOffset.x + rect.left, clientOffset.y, extraW,
                                    std::max<int>(height - 2 * clientOffset.y, 0)));
    }
  } catch (...) {
    // Painting never throws into the menu loop.
  }
}

void TsSkinableMenus::DrawBarItem(TMenuItem& item, HDC dc, const RECT& rect, UINT state,
                                  const Bitmap& menuLine, POINT offset) noexcept {
  if (!SkinActive() || menuLine.Empty()) return;
  try {
    auto& tables = manager_.Core().Tables;
    Surface s;
    if (!s.Make(rect.right - rect.left, rect.bottom - rect.top)) return;
    Bitmap& pic = s.view;
    const Rect at = graphics::RectOfSize(offset.x, offset.y, pic.Width(), pic.Height());
    graphics::CopyBitmapRect(pic, {0, 0}, menuLine, at);
    const bool enabled = item.Enabled && !(state & (ODS_DISABLED | ODS_GRAYED));
    const int hot = enabled && (state & (ODS_SELECTED | ODS_HOTLIGHT)) != 0 ? 1 : 0;
    const int itemSection = tables.FindSection("MENUITEM");
    if (itemSection >= 0) {
      core::PaintSection(tables, itemSection, core::ParentBackground::FromBitmap(&menuLine, 0, 0),
                         -1, -1, pic, {offset.x, offset.y}, pic.Bounds(), hot, hot);
    }
    ::GdiFlush();
    const HDC sdc = s.dc.get();
    const bool rtl = (::GetWindowLongW(::WindowFromDC(dc), GWL_EXSTYLE) & 0x2000) != 0;
    int textLeft = 0, textRight = pic.Width();
    if (item.Bitmap() != nullptr) {
      BITMAP info{};
      ::GetObjectW(item.Bitmap(), sizeof info, &info);
      win::MemoryDC gdc(::CreateCompatibleDC(sdc));
      if (gdc) {
        SelectedObject sel(gdc.get(), item.Bitmap());
        const int x = rtl ? pic.Width() - 3 - info.bmWidth : 3;
        ::BitBlt(sdc, x, (pic.Height() - info.bmHeight) / 2, info.bmWidth, info.bmHeight, gdc.get(),
                 0, 0, SRCCOPY);
      }
      if (rtl) {
        textRight -= info.bmWidth + 6;
      } else {
        textLeft += info.bmWidth + 6;
      }
    }
    win::Font font;
    SelectedObject sel(sdc, ItemFont(item, font));
    TColor color = graphics::clMenuText;
    const int line = tables.FindSection("MENULINE");
    if (line >= 0) {
      const auto& sec = tables.Sections[static_cast<std::size_t>(line)];
      color = sec.Props[static_cast<std::size_t>(core::LimitState(sec, hot))].FontColors[0];
    }
    ::SetBkMode(sdc, TRANSPARENT);
    ::SetTextColor(sdc, ToColorRef(color));
    RECT tr{textLeft, 0, textRight, pic.Height()};
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
    if (state & ODS_NOACCEL) format |= DT_HIDEPREFIX;
    if (rtl) format |= DT_RTLREADING;
    ::DrawTextW(sdc, item.Caption.c_str(), static_cast<int>(item.Caption.size()), &tr, format);
    ::GdiFlush();
    if (OnDrawItem) {
      const RECT local{0, 0, pic.Width(), pic.Height()};
      OnDrawItem(item, sdc, pic, 3, state, local);
      ::GdiFlush();
    }
    if (!enabled) {
      Bitmap under = graphics::NewBitmap32(pic.Width(), pic.Height());
      graphics::CopyBitmapRect(under, {0, 0}, menuLine, at);
      graphics::BlendBitmaps(pic, pic, under, 102, nullptr);
    }
    ::BitBlt(dc, rect.left, rect.top, pic.Width(), pic.Height(), sdc, 0, 0, SRCCOPY);
  } catch (...) {
  }
}

void TsSkinableMenus::MeasureBarItem(TMenuItem& item, HDC dc, int& width, int& height) {
  if (item.Destroying()) return;
  win::Font font;
  core::BarItemInput in;
  in.captionWidth = TextSize(dc, ItemFont(item, font), item.Caption).cx;  // "&" not counted
  if (item.Bitmap() != nullptr) {
    BITMAP info{};
    if (::GetObjectW(item.Bitmap(), sizeof info, &info)) in.bitmapWidth = info.bmWidth;
  }
  in.menuBarHeight = ::GetSystemMetrics(SM_CYMENU);
  const core::MenuSize size = core::MeasureBarItem(in);
  width = size.cx;
  height = size.cy;
}

void TsSkinableMenus::DrawBarItemOfWindow(TMenuItem& item, HDC dc, const RECT& rect,
                                          UINT state) noexcept {
  try {
    const auto* main = dynamic_cast<const TMainMenu*>(item.GetParentMenu());
    TsSkinProvider* provider = main != nullptr ? TsSkinProvider::Of(main->WindowHandle()) : nullptr;
    const Bitmap* line = provider != nullptr ? provider->MenuLineImage() : nullptr;
    if (SkinActive() && line != nullptr && !line->Empty()) {
      const POINT origin = provider->MenuLineOrigin();
      DrawBarItem(item, dc, rect, state, *line, {rect.left - origin.x, rect.top - origin.y});
      return;
    }
    // No skinned menu line to draw over: the system's look.
    DrawPlainMenuItem(item, dc, rect, state);
  } catch (...) {
  }
}

// ---------------------------------------------------------------- hook side

void TsSkinableMenus::FreeReleasedHooks() noexcept {
  // A hook may be on the stack of the message that let its window go: freed only from outside
  // every hook message.
  if (TlcMainWnd::MessageDepth() != 0) return;
  std::erase_if(popup_hooks_, [](const auto& h) { return h->Removed(); });
}

void TsSkinableMenus::HookPopupWindow(HWND window) {
  std::erase_if(popups_, [](HWND w) { return !::IsWindow(w); });
  popups_.push_back(window);
  FreeReleasedHooks();
  if (PopupHook(window) != nullptr) return;
  auto hook = std::make_unique<TlcMnuWnd>(window, &manager_, *this);
  if (hook->InstallScroll()) popup_hooks_.push_back(std::move(hook));
}

void TsSkinableMenus::ReleasePopups() noexcept {
  for (const auto& hook : popup_hooks_) hook->Remove();
  popups_.clear();
  FreeReleasedHooks();
}

TlcMnuWnd* TsSkinableMenus::PopupHook(HWND window) const noexcept {
  for (const auto& hook : popup_hooks_) {
    if (!hook->Removed() && hook->Handle() == window) return hook.get();
  }
  return nullptr;
}

void TsSkinableMenus::PaintPopup(LPARAM what, bool isWindow) noexcept {
  paint_pending_ = false;
  try {
    if (!SkinActive()) return;
    if (isWindow) {
      if (Background* b = Find(nullptr, reinterpret_cast<HWND>(what))) {
        ApplyRegion(b->window, *b);
        ::RedrawWindow(b->window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
      }
      return;
    }
    // An item of a popup whose window was not known while it was drawn: the popup windows the
    // hook announced that are still showing get the background of the item's popup. Entries of
    // freed menus go first: their items must not be touched.
    std::erase_if(backgrounds_, [this](const auto& b) { return !Alive(*b); });
    for (auto& b : backgrounds_) {
      if (reinterpret_cast<LPARAM>(b->firstItem) != what && b->firstItem->Parent() != nullptr) {
        const TMenuItem* p = b->firstItem->Parent();
        bool holds = false;
        for (int i = 0; i < p->Count(); ++i)
          holds = holds || reinterpret_cast<LPARAM>(&p->Items(i)) == what;
        if (!holds) continue;
      }
      for (HWND w : popups_) {
        if (!::IsWindow(w) || !::IsWindowVisible(w)) continue;
        RECT wr{};
        ::GetWindowRect(w, &wr);
        if (wr.right - wr.left == b->bitmap.Width() && wr.bottom - wr.top == b->bitmap.Height()) {
          b->window = w;
          ApplyRegion(w, *b);
          ::RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
        }
      }
      return;
    }
  } catch (...) {
  }
}

void InstallMenuPlugIns(TsSkinableMenus& menus) {
  auto& p = PlugIns();
  p.hookPopupMenu = [&menus](HWND w) { menus.HookPopupWindow(w); };
  p.setPopupsSkinned = [&menus](bool skinned) { menus.SetActive(skinned); };
  p.paintPopup = [&menus](LPARAM what, bool isWindow) { menus.PaintPopup(what, isWindow); };
  p.menuSkinChanged = [&menus] { menus.SkinChanged(); };
}

void ClearMenuPlugIns() noexcept {
  auto& p = PlugIns();
  p.hookPopupMenu = nullptr;
  p.setPopupsSkinned = nullptr;
  p.paintPopup = nullptr;
  p.menuSkinChanged = nullptr;
}

}  // namespace sapala::win::skin
