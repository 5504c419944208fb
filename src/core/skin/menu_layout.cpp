// Rules of skinned popup menus; see menu_layout.h.
#include "core/skin/menu_layout.h"

#include <algorithm>
#include <cmath>

#include "core/graphics/color.h"
#include "core/skin/nine_part.h"
#include "core/skin/skin_paint.h"

namespace sapala::skin {

using graphics::Bitmap;
using graphics::Rect;

MenuItemKind ItemKindOf(std::wstring_view caption) {
  if (caption == L"-") return MenuItemKind::separator;
  if (caption.size() > 1 && caption.front() == L'-' && caption.back() == L'-')
    return MenuItemKind::title;
  return MenuItemKind::normal;
}

std::wstring TitleText(std::wstring_view caption) {
  const auto first = caption.find(L'-');
  if (first == std::wstring_view::npos) return std::wstring(caption);
  const auto second = caption.find(L'-', first + 1);
  if (second == std::wstring_view::npos) return std::wstring(caption.substr(first + 1));
  return std::wstring(caption.substr(first + 1, second - first - 1));
}

std::wstring MeasuredText(MenuItemKind kind, std::wstring_view caption,
                          std::wstring_view shortCut) {
  switch (kind) {
    case MenuItemKind::title:
      return L"-" + std::wstring(caption) + L"-";
    case MenuItemKind::separator:
      return {};
    case MenuItemKind::normal:
      break;
  }
  return std::wstring(caption) + std::wstring(shortCut);
}

MenuSize GlyphSize(MenuSize ownBitmap, MenuSize parentImages, MenuSize menuImages) {
  auto some = [](MenuSize s) { return s.cx > 0 && s.cy > 0; };
  if (some(ownBitmap)) return ownBitmap;
  if (some(parentImages)) return parentImages;
  if (some(menuImages)) return menuImages;
  return {16, 16};
}

MenuSize MeasureMenuItem(const MeasureInput& in, const MenuSpacing& s) {
  MenuSize out;
  out.cx = 2 * in.glyph.cx + in.textWidth + 3 * s.margin + s.spacing;
  if (in.besideExtraLine) out.cx += in.extraLineWidth;
  const int line = static_cast<int>(std::nearbyint(in.letterHeight * 1.25));
  switch (in.kind) {
    case MenuItemKind::separator:
      out.cy = 2;
      break;
    case MenuItemKind::title:
      out.cy = line + 2 * s.margin;
      break;
    case MenuItemKind::normal:
      out.cy = std::max(line, in.glyph.cy) + 2 * s.margin;
      break;
  }
  return out;
}

MenuSize PopupSize(const std::vector<PopupItem>& items, int borderWidth) {
  int width = 0, tallest = 0, columnWidth = 0, columnHeight = 0;
  bool open = false;
  auto closeColumn = [&] {
    if (!open) return;
    width += columnWidth + 12;
    tallest = std::max(tallest, columnHeight);
    columnWidth = columnHeight = 0;
    open = false;
  };
  for (const PopupItem& item : items) {
    if (!item.visible) continue;
    if (item.breakBefore && open) {
      closeColumn();
      width += 4;
    }
    open = true;
    columnWidth = std::max(columnWidth, item.size.cx);
    columnHeight += item.size.cy;
  }
  closeColumn();
  return {width + 2 * borderWidth, tallest + 2 * borderWidth};
}

int MenuSkinBorderWidth(const SkinTables& tables) {
  const TsMaskData* mask = tables.Image(tables.FindImageExact("MAINMENU", "BORDERSMASK"));
  if (mask == nullptr) return 0;
  return mask->BorderWidth > 0 ? mask->BorderWidth : 3;
}

PopupBackgroundLayout LayoutPopupBackground(int width, int height, int skinBorder,
                                            int extraLineWidth, int glyphWidth, bool rightAligned,
                                            const MenuSpacing& s) {
  PopupBackgroundLayout out;
  const int inner = height - 2 * skinBorder;
  if (!rightAligned) {
    out.glyphColumn = graphics::RectOfSize(extraLineWidth + skinBorder, skinBorder,
                                           s.margin + glyphWidth + s.spacing, inner);
  }
  if (extraLineWidth > 0)
    out.extraLine = graphics::RectOfSize(skinBorder, skinBorder, extraLineWidth, inner);
  auto clip = [&](Rect r) { return r.intersect({0, 0, width, height}); };
  out.glyphColumn = clip(out.glyphColumn);
  out.extraLine = clip(out.extraLine);
  return out;
}

Bitmap BuildPopupBackground(const SkinTables& tables, const PopupBackgroundInput& in) {
  if (in.width <= 0 || in.height <= 0) return {};
  Bitmap b = graphics::NewBitmap32(in.width, in.height);
  const Rect all{0, 0, in.width, in.height};
  const int menu = tables.FindSection("MAINMENU");
  if (menu >= 0) {
    PaintElementBackground(tables, menu, ParentBackground::None(), kFuchsia, -1, -1, b, {}, all, 0);
  }
  const int skinBorder = MenuSkinBorderWidth(tables);
  const PopupBackgroundLayout l =
      LayoutPopupBackground(in.width, in.height, skinBorder, in.extraLineWidth, in.glyphWidth,
                            in.rightAligned, in.spacing);
  const auto own = ParentBackground::FromBitmap(&b, 0, 0);
  const int ico = tables.FindSection(in.icoLineSection);
  if (ico >= 0 && !l.glyphColumn.empty()) {
    PaintSection(tables, ico, own, -1, -1, b, l.glyphColumn.topLeft(), l.glyphColumn, 0, 0);
  }
  const TsMaskData* frame = tables.Image(tables.FindImageExact("MAINMENU", "BORDERSMASK"));
  if (frame != nullptr) PaintBorderMask(b, all, false, 0, *frame, ParentBackground::None());
  const int extra = tables.FindSection(in.extraLineSection);
  if (extra >= 0 && !l.extraLine.empty()) {
    PaintSection(tables, extra, own, -1, -1, b, l.extraLine.topLeft(), l.extraLine, 0, 0);
  }
  return b;
}

namespace {

const Bitmap* Pixels(const TsMaskData& m) {
  const Bitmap* b = m.Image ? m.Image.get() : (m.Owner ? &m.Owner->MasterBitmap : nullptr);
  if (b == nullptr || b->Empty() || b->Format() != graphics::PixelFormat::pf32bit) return nullptr;
  return b;
}

// Runs of key pixels of `source` (clipped to the picture) as one-row rectangles at `dest`.
void ScanKeyRuns(const Bitmap& pic, Rect source, graphics::Point dest, std::vector<Rect>& out) {
  const Rect src = source.intersect(pic.Bounds());
  for (int y = src.top; y < src.bottom; ++y) {
    const std::uint32_t* row = pic.Row32(y);
    int x = src.left;
    while (x < src.right) {
      if (!graphics::IsKeyPixel(row[x])) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < src.right && graphics::IsKeyPixel(row[x])) ++x;
      const int dx = dest.x + (start - source.left);
      const int dy = dest.y + (y - source.top);
      out.push_back({dx, dy, dx + (x - start), dy + 1});
    }
  }
}

}  // namespace

std::vector<Rect> PopupBorderCutouts(const SkinTables& tables, int width, int height) {
  std::vector<Rect> out;
  const TsMaskData* m = tables.Image(tables.FindImageExact("MAINMENU", "BORDERSMASK"));
  if (m == nullptr || width <= 0 || height <= 0) return out;
  const Bitmap* pic = Pixels(*m);
  if (pic == nullptr) return out;
  const int fw = FrameWidth(*m);
  const int fh = FrameHeight(*m);
  const BorderWidths b =
      FitBorders({LeftWidth(*m), TopWidth(*m), RightWidth(*m), BottomWidth(*m)}, width, height);
  const int fx = m->Rect.left, fy = m->Rect.top;
  // Top edge: the two upper corners; bottom edge: the two lower ones.
  ScanKeyRuns(*pic, graphics::RectOfSize(fx, fy, b.left, b.top), {0, 0}, out);
  ScanKeyRuns(*pic, graphics::RectOfSize(fx + fw - b.right, fy, b.right, b.top),
              {width - b.right, 0}, out);
  ScanKeyRuns(*pic, graphics::RectOfSize(fx, fy + fh - b.bottom, b.left, b.bottom),
              {0, height - b.bottom}, out);
  ScanKeyRuns(*pic, graphics::RectOfSize(fx + fw - b.right, fy + fh - b.bottom, b.right, b.bottom),
              {width - b.right, height - b.bottom}, out);
  return out;
}

Rect SeparatorLine(int itemWidth, int itemHeight, int extraLine, int glyphColumnRight,
                   const MenuSpacing& s) {
  const int left = std::max(extraLine + s.margin + s.spacing, glyphColumnRight + 2);
  const int right = itemWidth - 2 * s.margin - s.spacing;
  const int y = itemHeight / 2;
  if (right <= left) return {};
  return {left, y, right, y + 1};
}

MenuSize MeasureBarItem(const BarItemInput& in) {
  int glyph = 0;
  if (in.bitmapWidth > 0) {
    glyph = in.bitmapWidth + 6;
  } else if (in.imagesWidth > 0) {
    if (in.vistaOrLater) {
      glyph = in.hasImage ? in.imagesWidth : in.imagesWidth + 4;
    } else if (in.hasImage) {
      glyph = in.imagesWidth + 6;
    }
  }
  return {in.captionWidth + glyph, in.menuBarHeight - 1};
}

wchar_t SystemMenuSymbol(unsigned tag) {
  switch (tag) {
    case 0xF020:
      return L'0';
    case 0xF030:
      return L'1';
    case 0xF060:
      return L'r';
    case 0xF120:
      return L'2';
    default:
      return 0;
  }
}

}  // namespace sapala::skin
