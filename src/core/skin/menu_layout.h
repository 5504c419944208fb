// The window-free rules of skinned popup menus: what kind an item is by its caption, how big its
// glyph and the item are, how big a popup is, where the glyph column and the extra line lie, the
// pieces of an item's picture, and the popup's background picture and the corners cut out of its
// window region.
//
// Sizes are pixels. Item rectangles are in the popup's client coordinates; the background covers
// the whole popup window, so a client point lies at (x + border, y + border) in it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/graphics/bitmap.h"
#include "core/graphics/geometry.h"
#include "core/skin/skin_tables.h"

namespace sapala::skin {

enum class MenuItemKind { title = 0, separator = 1, normal = 2 };

// "-" alone is a separator; a longer caption that begins and ends with "-" is a title; anything
// else is a normal item.
MenuItemKind ItemKindOf(std::wstring_view caption);
// The text a title shows: what lies between its first pair of "-" ("-Files-" -> "Files").
std::wstring TitleText(std::wstring_view caption);
// The text an item is measured with: titles "-" + caption + "-", separators nothing, normal
// items their caption followed by their shortcut text.
std::wstring MeasuredText(MenuItemKind kind, std::wstring_view caption, std::wstring_view shortCut);

struct MenuSize {
  int cx = 0;
  int cy = 0;
  friend constexpr bool operator==(const MenuSize&, const MenuSize&) = default;
};

// The glyph of an item: its own bitmap's size when it has one; else the images of its parent
// item's sub-menu, else those of its menu; else 16 × 16. A size of 0 × 0 means "none".
MenuSize GlyphSize(MenuSize ownBitmap, MenuSize parentImages, MenuSize menuImages);

// The painter's spacing settings.
struct MenuSpacing {
  int margin = 2;       // inner margin of an item
  int spacing = 8;      // gap between the glyph column and the caption
  int borderWidth = 3;  // width of the popup window's frame
};

// One item as measuring sees it.
struct MeasureInput {
  MenuItemKind kind = MenuItemKind::normal;
  int textWidth = 0;       // MeasuredText in the item's font, one line, tabs expanded
  int letterHeight = 0;    // height of "W" in that font
  MenuSize glyph{16, 16};  // GlyphSize
  // The popup shows an extra line and no item up to this one starts a new column.
  bool besideExtraLine = false;
  int extraLineWidth = 32;
};

// Width = 2 × glyph width + text width + 3 × margin + spacing (+ the extra line's width beside
// it). Height: separator 2; title round(1.25 × letter height) + 2 × margin; normal the larger
// of that and the glyph height, + 2 × margin.
MenuSize MeasureMenuItem(const MeasureInput& in, const MenuSpacing& spacing);

// One item of a popup for the popup size: its measured size, whether it shows, whether it
// starts a new column.
struct PopupItem {
  MenuSize size;
  bool visible = true;
  bool breakBefore = false;
};
// The size of a popup when its window cannot be asked, over the visible items: the sum over the
// columns of (the widest item + 12), plus 4 per column break, plus 2 × border width; height the
// tallest column plus 2 × border width.
MenuSize PopupSize(const std::vector<PopupItem>& items, int borderWidth);

// The width of the skin's popup frame: the border width of "MAINMENU"'s "BORDERSMASK" (3 when
// that is 0 or less); 0 when the skin has no such image.
int MenuSkinBorderWidth(const SkinTables& tables);

// Where the parts of a popup's background go.
struct PopupBackgroundLayout {
  graphics::Rect glyphColumn;  // empty when not painted (right-aligned popups)
  graphics::Rect extraLine;    // empty when the popup shows no extra line
};
// `extraLineWidth` 0 = no extra line. The glyph column is margin + glyph + spacing wide, as
// high as the popup minus twice the skin's frame, right of the extra line.
PopupBackgroundLayout LayoutPopupBackground(int width, int height, int skinBorder,
                                            int extraLineWidth, int glyphWidth, bool rightAligned,
                                            const MenuSpacing& spacing);

// What the background picture is made of.
struct PopupBackgroundInput {
  int width = 0;
  int height = 0;
  int glyphWidth = 16;
  bool rightAligned = false;
  int extraLineWidth = 0;  // 0: no extra line
  std::string icoLineSection = "ICOLINE";
  std::string extraLineSection = "EXTRALINE";
  MenuSpacing spacing;
};
// A 32-bit picture of the whole popup window: section "MAINMENU", the glyph column, the frame
// from "MAINMENU"'s "BORDERSMASK" and the extra-line section (its glyph and text are drawn by
// the caller). Missing sections and images are left out; an empty size gives an empty bitmap.
graphics::Bitmap BuildPopupBackground(const SkinTables& tables, const PopupBackgroundInput& in);

// The transparent pixels of the corners of "MAINMENU"'s border mask, along the top and the
// bottom edge of a popup of width × height, as one-row rectangles (runs of key pixels). These
// are cut out of the popup window's region.
std::vector<graphics::Rect> PopupBorderCutouts(const SkinTables& tables, int width, int height);

// The line of a separator, in item coordinates (item left at 0): from extra line + margin +
// spacing, but at least 2 pixels right of the glyph column, to the width minus 2 × margin −
// spacing; one pixel high in the middle of the item.
graphics::Rect SeparatorLine(int itemWidth, int itemHeight, int extraLine, int glyphColumnRight,
                             const MenuSpacing& spacing);

// A top item of a main menu's bar: its caption's width (without "&"), its own bitmap's width
// (0: none), the width of the menu's images (0: no images), whether the item shows one of them.
struct BarItemInput {
  int captionWidth = 0;
  int bitmapWidth = 0;
  int imagesWidth = 0;
  bool hasImage = false;
  bool vistaOrLater = true;
  int menuBarHeight = 19;  // the system's menu-bar height
};
// Height: the bar's height − 1. Width: the caption + the glyph: bitmap + 6; or with images:
// image + 4 (Vista and later, item without image), image (Vista and later, with image), image
// + 6 (earlier systems, with image), nothing (earlier systems, without image).
MenuSize MeasureBarItem(const BarItemInput& in);

// The Webdings symbol shown for a system-menu command (0 for other commands): minimize "0",
// maximize "1", close "r", restore "2".
wchar_t SystemMenuSymbol(unsigned tag);

}  // namespace sapala::skin
