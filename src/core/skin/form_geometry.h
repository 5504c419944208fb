// The geometry of a skinned form's frame: frame width, caption height, icon rectangle, the
// caption-button images chosen from the loaded skin, their sizes and their places right to
// left, and the width they take together. All coordinates are window coordinates of the picture
// being composed (the window, or with extended borders the larger companion picture whose
// margins are given in FrameSkinValues).
#pragma once

#include <array>
#include <vector>

#include "core/graphics/geometry.h"
#include "core/skin/system_menu_rules.h"

namespace sapala::skin {

class SkinTables;

// Hit codes of the caption buttons; a user button i (0-based) is kHitUserButton + i.
inline constexpr int kHitMinButton = 8;
inline constexpr int kHitMaxButton = 9;
inline constexpr int kHitClose = 20;
inline constexpr int kHitHelp = 21;
inline constexpr int kHitMdiClose = 101;
inline constexpr int kHitMdiRestore = 102;
inline constexpr int kHitMdiMinimize = 103;
inline constexpr int kHitUserButton = 1000;
// Button width or height when the skin has no mask for it.
inline constexpr int kDefaultButtonSize = 21;

// The platform's metrics the frame depends on, read once by the window side.
struct FrameMetrics {
  int SizingFrame = 4;    // SM_CXFRAME
  int DialogFrame = 3;    // SM_CXDLGFRAME
  int Caption = 19;       // SM_CYCAPTION
  int SmallCaption = 16;  // SM_CYSMCAPTION
};

// The GLOBALINFO values the frame uses, and the extended-border margins.
struct FrameSkinValues {
  bool ExtendedBorders = false;
  int ExtLeft = 0, ExtTop = 0, ExtRight = 0, ExtBottom = 0;
  int BorderWidth = 4;   // BORDERWIDTH
  int TitleHeight = 30;  // TITLEHEIGHT
  int MaxHeight = 0;     // MAXHEIGHT, 0 = TitleHeight
  int CenterOffset = 0;  // CENTEROFFSET
  int Spacing = 0;       // BISPACE
  int VAlign = 0;        // BIVALIGN
  int Right = 0;         // BIRIGHT
  int Left = 0;          // BILEFT
  int Top = 0;           // BITOP
  int EffectiveMaxHeight() const { return MaxHeight != 0 ? MaxHeight : TitleHeight; }
};
// Reads the values from a loaded skin; margins from its extended-border pictures when
// `extendedBorders` is in effect.
FrameSkinValues ReadFrameSkinValues(const SkinTables& tables, bool extendedBorders);

struct TitleButtonShape {
  bool Visible = true;
  bool Enabled = true;
  int GlyphWidth = 0;  // 0 without a glyph
};

// A form and its window as the frame geometry sees them.
struct FrameFormInput {
  FormRulesInput Rules;
  bool ChildWindow = false;  // the window has a parent
  bool ThickFrame = false;   // WS_THICKFRAME
  bool Border = false;       // WS_BORDER
  bool FullCaption = false;  // both bits of WS_CAPTION
  bool ShowAppIcon = true;
  int TitleIconWidth = 0, TitleIconHeight = 0;  // 0 = automatic
  int Width = 0;                                // of the composed picture
  std::vector<TitleButtonShape> UserButtons;

  bool Zoomed() const { return Rules.WindowState == TWindowState::wsMaximized; }
  bool Minimized() const { return Rules.WindowState == TWindowState::wsMinimized; }
};

int FormFrameWidth(const FrameFormInput& f, const FrameMetrics& m, const FrameSkinValues& s);
int SystemCaptionHeight(const FrameFormInput& f, const FrameMetrics& m);
// Set for a zoomed form with extended borders whose maximized title is lower than the system
// caption + 4.
bool TitleBelowSystem(const FrameFormInput& f, const FrameMetrics& m, const FrameSkinValues& s);
int CaptionHeight(const FrameFormInput& f, const FrameMetrics& m, const FrameSkinValues& s);

// Automatic icon size for caption height h: 1 up to 8, 8 up to 16, else 16.
int AutoIconSize(int captionHeight);
bool IconShown(const FrameFormInput& f);
// Empty rectangle when no icon is shown.
graphics::Rect IconRect(const FrameFormInput& f, const FrameMetrics& m, const FrameSkinValues& s);

// Mask indices (into SkinTables::Images, -1 = none) of the caption buttons.
struct CaptionButtonImages {
  int Close = -1, Max = -1, Min = -1, Help = -1;
  bool Aligned = false;  // close, maximize and minimize follow BIVALIGN
  bool HelpAligned = false;
  int Title = -1;  // "TITLEBUTTON", for user buttons
  int MdiMin = -1, MdiRestore = -1, MdiClose = -1;
};
CaptionButtonImages ChooseButtonImages(const SkinTables& tables, const FormRulesInput& f,
                                       bool mdiChildMinimized = false);

struct CaptionButtonInfo {
  int HitCode = 0;
  int ImageIndex = -1;
  bool Visible = false;
  bool Enabled = true;
  bool Aligned = false;
  graphics::Rect Rect;  // empty when not visible
};

struct CaptionButtonLayout {
  // close, maximize, minimize, help
  std::array<CaptionButtonInfo, 4> System;
  std::vector<CaptionButtonInfo> User;  // in collection order, invisible ones included
  int TotalWidth = 0;                   // see TotalButtonsWidth
};

// Places the buttons right to left. A form without a caption shows none.
CaptionButtonLayout LayoutCaptionButtons(const SkinTables& tables, const FrameFormInput& f,
                                         const FrameMetrics& m, const FrameSkinValues& s,
                                         const CaptionButtonImages& images);

// BIRIGHT + each visible system button with its spacing, + 8 with visible user buttons, + each
// of those with its spacing. Bounds the caption text and the TITLEBAR mask.
int TotalButtonsWidth(const CaptionButtonLayout& layout, const FrameFormInput& f,
                      const FrameSkinValues& s);

// Rows of the main-menu line. `ClientTop` and `FirstItemBottom` are screen coordinates of the
// client area's top and of the first menu item's bottom (GetMenuItemRect).
struct MenuLineInput {
  bool HasMenu = false;  // a main menu with items, not merged, not an MDI child or dialog
  bool Minimized = false;
  bool ItemRectKnown = false;
  int ClientTop = 0;
  int FirstItemBottom = 0;
  int MenuMetric = 19;  // SM_CYMENU
};
// The height of one menu row: SM_CYMENU - 1.
int MenuRowHeight(int menuMetric);
// 0 without a menu or when minimized; 1 when the item's place is unknown or it does not lie
// above the client; else every full row between the item's bottom and the client, plus one.
int MenuLineRows(const MenuLineInput& in);

enum class CaptionAlignment { taLeftJustify, taRightJustify, taCenter };

// The band the caption text is drawn in: from after the icon (and the CAPTION section's margin)
// to 12 pixels before the buttons, over the caption rows (from 3 when zoomed without extended
// borders).
graphics::Rect CaptionTextBand(const FrameFormInput& f, const FrameMetrics& m,
                               const FrameSkinValues& s, int totalButtonsWidth,
                               bool hasCaptionSection);
// Left edge of a caption `textWidth` wide in `band`. Right-to-left forms mirror left and right
// alignment. Right alignment falls back to the left edge when the text does not fit.
int CaptionTextLeft(const graphics::Rect& band, int textWidth, CaptionAlignment alignment,
                    bool rightToLeft);

// The part of the title the icon and the caption texts can change, for keeping their picture
// between compositions. The texts' ink stays within their measured run from `textLeft` to
// `textEnd` plus `overhang` (glyphs reaching past their advance; at least the 4 pixels of margin
// the CAPTION section takes around the text), and within 2 rows above and below the text.
// Right is where the texts' look stops depending on the band: the band's right end when the
// texts reach it (an ellipsis or a cut), else the end of their ink, so a band that only grows or
// shrinks beyond the texts leaves the picture as it was.
struct TitleTextArea {
  graphics::Rect Area;
  int Right = 0;
};
TitleTextArea TitleTextPaintArea(const graphics::Rect& icon, const graphics::Rect& band,
                                 int textLeft, int textTop, int textHeight, int textEnd,
                                 int overhang);

// What WM_NCPAINT copies from the cached window image: the four frame strips, in window
// coordinates, in the order of graphics::FrameStrips (top, left, bottom, right).
struct FrameStripInput {
  int Width = 0, Height = 0;  // window
  int ClientHeight = 0;
  int Frame = 0;               // FormFrameWidth
  int FormBorderWidth = 0;     // the form's own BorderWidth property
  int HScrollHeight = 0;       // the form's own horizontal scroll bar when shown, else 0
  bool HasCaption = false;     // CaptionHeight > 0
  bool Border = false;         // WS_BORDER
  bool ThickFrame = false;     // WS_THICKFRAME
  bool NoBorderStyle = false;  // bsNone
  bool Minimized = false;
};
std::array<graphics::Rect, 4> FrameCopyStrips(const FrameStripInput& in);

// Where the client area starts in the window image (left frame + BorderWidth, top frame +
// caption + menu line), as children ask for their background.
graphics::Point ClientOffset(int frame, int formBorderWidth, int caption, int menuHeight);

}  // namespace sapala::skin
