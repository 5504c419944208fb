// Frame geometry of skinned forms: frame width and caption height for every border style, the
// icon rectangle, the choice of caption-button images and their places right to left.
#include "core/skin/form_geometry.h"

#include <gtest/gtest.h>

#include "core/skin/skin_tables.h"

namespace sapala::skin {
namespace {

using graphics::Rect;
using BS = TFormBorderStyle;

// Distinct metrics so that each source of a value shows in the results.
constexpr FrameMetrics kMetrics{/*SizingFrame*/ 4, /*DialogFrame*/ 3, /*Caption*/ 19,
                                /*SmallCaption*/ 15};

FrameFormInput Form(BS style, TWindowState state = TWindowState::wsNormal) {
  FrameFormInput f;
  f.Rules.BorderStyle = style;
  f.Rules.WindowState = state;
  f.FullCaption = style != BS::bsNone;
  f.ThickFrame = style == BS::bsSizeable || style == BS::bsSizeToolWin;
  f.Border = style != BS::bsNone && !f.ThickFrame;
  f.Width = 300;
  return f;
}

// A GLOBALINFO mask of `frames` frames of w × h (image above mask).
void AddMask(SkinTables& t, const char* key, int w, int h, int frames = 3) {
  TsMaskData m;
  m.Section = "GLOBALINFO";
  m.Key = key;
  m.FrameCount = static_cast<std::int16_t>(frames);
  m.MaskKind = 1;
  m.Rect = {0, 0, w * frames, h * 2};
  t.Images.push_back(m);
}

SkinTables Skin(bool smallSet = true) {
  SkinTables t;
  TsGeneralData g;
  g.SectionName = "GLOBALINFO";
  t.Sections.push_back(g);
  AddMask(t, "BICONCLOSE", 30, 18);
  AddMask(t, "BICONMAX", 26, 18);
  AddMask(t, "BICONNORM", 27, 18);
  AddMask(t, "BICONMIN", 25, 18);
  AddMask(t, "BICONHELP", 24, 18);
  if (smallSet) {
    AddMask(t, "SICONCLOSE", 14, 13);
    AddMask(t, "SICONMAX", 13, 13);
    AddMask(t, "SICONMIN", 12, 13);
  }
  return t;
}

std::string KeyOf(const SkinTables& t, int index) {
  return index < 0 ? "-" : t.Images[static_cast<std::size_t>(index)].Key;
}

TEST(FormGeometry, FrameAndCaptionForEveryBorderStyle) {
  struct Case {
    FrameFormInput form;
    bool ext;
    int titleHeight, maxHeight;
    int frame, caption;
    bool below;
  };
  auto minimized = [](BS s) { return Form(s, TWindowState::wsMinimized); };
  FrameFormInput noCaptionBits = Form(BS::bsSingle);
  noCaptionBits.FullCaption = false;
  FrameFormInput child = Form(BS::bsNone);
  child.ChildWindow = true;
  child.FullCaption = true;
  const Case cases[] = {
      {Form(BS::bsSizeable), false, 30, 0, 4, 19, false},
      {Form(BS::bsSingle), false, 30, 0, 3, 19, false},
      {Form(BS::bsDialog), false, 30, 0, 3, 19, false},
      {Form(BS::bsToolWindow), false, 30, 0, 3, 15, false},
      {Form(BS::bsSizeToolWin), false, 30, 0, 4, 15, false},
      {minimized(BS::bsSizeToolWin), false, 30, 0, 4, 19, false},  // minimized: full caption
      {Form(BS::bsNone), false, 30, 0, 0, 0, false},
      {minimized(BS::bsNone), false, 30, 0, 0, 19, false},
      {noCaptionBits, false, 30, 0, 3, 0, false},
      {child, false, 30, 0, 0, 19, false},
      {Form(BS::bsSizeable), true, 30, 0, 5, 30, false},  // extended: BORDERWIDTH, TITLEHEIGHT
      {Form(BS::bsSizeable), true, 18, 0, 5, 18, false},
      {Form(BS::bsSizeable, TWindowState::wsMaximized), true, 18, 0, 5, 23, true},
      {Form(BS::bsSizeable, TWindowState::wsMaximized), true, 18, 23, 5, 18, false},
      {Form(BS::bsSizeable, TWindowState::wsMaximized), true, 30, 22, 5, 30, true},
      {Form(BS::bsSizeable, TWindowState::wsMaximized), false, 18, 0, 4, 19, false},
  };
  int n = 0;
  for (const Case& c : cases) {
    FrameSkinValues s;
    s.ExtendedBorders = c.ext;
    s.BorderWidth = 5;
    s.TitleHeight = c.titleHeight;
    s.MaxHeight = c.maxHeight;
    EXPECT_EQ(FormFrameWidth(c.form, kMetrics, s), c.frame) << "case " << n;
    EXPECT_EQ(CaptionHeight(c.form, kMetrics, s), c.caption) << "case " << n;
    EXPECT_EQ(TitleBelowSystem(c.form, kMetrics, s), c.below) << "case " << n;
    ++n;
  }
}

TEST(FormGeometry, IconRectangle) {
  const int autoSizes[][2] = {{0, 1}, {8, 1}, {9, 8}, {16, 8}, {17, 16}, {40, 16}};
  for (const auto& [h, want] : autoSizes) EXPECT_EQ(AutoIconSize(h), want) << "height " << h;

  FrameSkinValues s;
  s.Left = 2;
  // Frame 4, caption 19: band 2..23, a 16-pixel icon centred in it.
  EXPECT_EQ(IconRect(Form(BS::bsSizeable), kMetrics, s), (Rect{6, 4, 22, 20}));
  // Frame 3, caption 16: an automatic icon of 8 × 8.
  FrameMetrics short16 = kMetrics;
  short16.Caption = 16;
  EXPECT_EQ(IconRect(Form(BS::bsSingle), short16, s), (Rect{5, 6, 13, 14}));
  FrameFormInput sized = Form(BS::bsSingle);
  sized.TitleIconWidth = 20;
  sized.TitleIconHeight = 12;
  EXPECT_EQ(IconRect(sized, kMetrics, s), (Rect{5, 5, 25, 17}));

  FrameFormInput noIcon = Form(BS::bsSingle);
  noIcon.ShowAppIcon = false;
  FrameFormInput noMenu = Form(BS::bsSingle);
  noMenu.Rules.HasSystemMenu = false;
  for (const FrameFormInput& f :
       {Form(BS::bsDialog), Form(BS::bsToolWindow), Form(BS::bsNone), noIcon, noMenu}) {
    EXPECT_TRUE(IconRect(f, kMetrics, s).empty());
  }
}

TEST(FormGeometry, ButtonImages) {
  struct Case {
    BS style;
    TWindowState state;
    TBorderIcons icons;
    bool smallSet, alone;
    const char *close, *max, *min;
    bool aligned;
  };
  const TBorderIcons all = biSystemMenu | biMinimize | biMaximize;
  const Case cases[] = {
      {BS::bsSizeable, TWindowState::wsNormal, all, true, false, "BICONCLOSE", "BICONMAX",
       "BICONMIN", true},
      {BS::bsSizeable, TWindowState::wsMaximized, all, true, false, "BICONCLOSE", "BICONNORM",
       "BICONMIN", true},
      {BS::bsSingle, TWindowState::wsNormal, biSystemMenu, true, true, "BICLOSEALONE", "BICONMAX",
       "BICONMIN", true},
      {BS::bsSingle, TWindowState::wsNormal, all, true, true, "BICONCLOSE", "BICONMAX", "BICONMIN",
       true},
      {BS::bsToolWindow, TWindowState::wsNormal, all, true, false, "SICONCLOSE", "SICONMAX",
       "SICONMIN", false},
      {BS::bsDialog, TWindowState::wsNormal, all, true, false, "SICONCLOSE", "SICONMAX", "SICONMIN",
       false},
      // No small close image: the large set, aligned.
      {BS::bsToolWindow, TWindowState::wsNormal, all, false, false, "BICONCLOSE", "BICONMAX",
       "BICONMIN", true},
  };
  int n = 0;
  for (const Case& c : cases) {
    SkinTables t = Skin(c.smallSet);
    if (c.alone) AddMask(t, "BICLOSEALONE", 40, 18);
    FormRulesInput f;
    f.BorderStyle = c.style;
    f.WindowState = c.state;
    f.BorderIcons = c.icons;
    const CaptionButtonImages im = ChooseButtonImages(t, f);
    EXPECT_EQ(KeyOf(t, im.Close), c.close) << "case " << n;
    EXPECT_EQ(KeyOf(t, im.Max), c.max) << "case " << n;
    EXPECT_EQ(KeyOf(t, im.Min), c.min) << "case " << n;
    EXPECT_EQ(im.Aligned, c.aligned) << "case " << n;
    EXPECT_EQ(KeyOf(t, im.Help), "BICONHELP") << "case " << n;
    ++n;
  }
}

struct Placed {
  bool close, max, min;
  Rect closeRect, maxRect, minRect;
};

Placed Place(const SkinTables& t, const FrameFormInput& f, const FrameSkinValues& s) {
  const CaptionButtonLayout l =
      LayoutCaptionButtons(t, f, kMetrics, s, ChooseButtonImages(t, f.Rules));
  return {l.System[0].Visible, l.System[1].Visible, l.System[2].Visible,
          l.System[0].Rect,    l.System[1].Rect,    l.System[2].Rect};
}

TEST(FormGeometry, ButtonsRightToLeft) {
  const SkinTables t = Skin();
  FrameSkinValues s;
  s.Right = 5;
  s.Spacing = 2;
  // Sizeable, 300 wide, frame 4, caption 19, buttons 18 high: top (4 + 19 - 18) / 2 = 2.
  Placed p = Place(t, Form(BS::bsSizeable), s);
  EXPECT_TRUE(p.close && p.max && p.min);
  EXPECT_EQ(p.closeRect, (Rect{261, 2, 291, 20}));
  EXPECT_EQ(p.maxRect, (Rect{233, 2, 259, 20}));
  EXPECT_EQ(p.minRect, (Rect{206, 2, 231, 20}));

  // bsSingle with minimize only: minimize directly left of close, BISPACE between.
  FrameFormInput minOnly = Form(BS::bsSingle);
  minOnly.Rules.BorderIcons = biSystemMenu | biMinimize;
  p = Place(t, minOnly, s);
  EXPECT_TRUE(p.close && !p.max && p.min);
  EXPECT_EQ(p.closeRect, (Rect{262, 2, 292, 20}));
  EXPECT_EQ(p.minRect, (Rect{235, 2, 260, 20}));

  // Tool window: only close, small image, no spacing, centred in the small caption.
  p = Place(t, Form(BS::bsToolWindow), s);
  EXPECT_TRUE(p.close && !p.max && !p.min);
  EXPECT_EQ(p.closeRect, (Rect{278, 2, 292, 15}));

  // Tool window without small images: large close, aligned at the top with BIVALIGN 1.
  s.VAlign = 1;
  p = Place(Skin(false), Form(BS::bsToolWindow), s);
  EXPECT_EQ(p.closeRect, (Rect{262, 0, 292, 18}));
  // Zoomed aligned buttons sit 3 pixels down.
  p = Place(t, Form(BS::bsSizeable, TWindowState::wsMaximized), s);
  EXPECT_EQ(p.closeRect.top, 3);
  EXPECT_EQ(p.maxRect.width(), 27);  // restore image while maximized

  // A dialog with help: small close, help from the large set, no spacing between them.
  FrameFormInput help = Form(BS::bsDialog);
  help.Rules.BorderIcons = biSystemMenu | biHelp;
  const CaptionButtonLayout l =
      LayoutCaptionButtons(t, help, kMetrics, s, ChooseButtonImages(t, help.Rules));
  EXPECT_EQ(l.System[0].Rect, (Rect{278, 4, 292, 17}));
  EXPECT_EQ(l.System[3].Rect, (Rect{254, 4, 278, 17}));

  // No border: no caption, no buttons.
  p = Place(t, Form(BS::bsNone), s);
  EXPECT_FALSE(p.close || p.max || p.min);
}

TEST(FormGeometry, ButtonsOfLowHeightMoveDownOnLargeForms) {
  SkinTables t;
  TsGeneralData g;
  g.SectionName = "GLOBALINFO";
  t.Sections.push_back(g);
  AddMask(t, "BICONCLOSE", 16, 14);
  FrameFormInput f = Form(BS::bsSingle);
  f.Rules.BorderIcons = biSystemMenu;
  // (3 + 19 - 14) / 2 = 4, + 2 for a large-image form with buttons below 16 pixels.
  EXPECT_EQ(Place(t, f, FrameSkinValues{}).closeRect, (Rect{281, 6, 297, 20}));
}

TEST(FormGeometry, UserButtonsAndTotalWidth) {
  SkinTables t;  // no masks at all: every button 21 × 21
  TsGeneralData g;
  g.SectionName = "GLOBALINFO";
  t.Sections.push_back(g);
  FrameFormInput f = Form(BS::bsSingle);
  f.Rules.BorderIcons = biSystemMenu;
  f.UserButtons = {{true, true, 0}, {false, true, 0}, {true, false, 30}};
  FrameSkinValues s;
  s.Right = 1;
  s.Spacing = 3;
  const CaptionButtonLayout l =
      LayoutCaptionButtons(t, f, kMetrics, s, ChooseButtonImages(t, f.Rules));
  // close: right = 300 - 1 - 3 = 296.
  EXPECT_EQ(l.System[0].Rect, (Rect{275, 0, 296, 21}));
  ASSERT_EQ(l.User.size(), 3u);
  // 8 more before the first user button; a missing TITLEBUTTON still gives 21.
  EXPECT_EQ(l.User[0].Rect, (Rect{243, 0, 264, 21}));
  EXPECT_EQ(l.User[0].HitCode, 1000);
  EXPECT_FALSE(l.User[1].Visible);
  EXPECT_TRUE(l.User[1].Rect.empty());
  // A 30-pixel glyph makes the button 32 wide; disabled buttons are still laid out.
  EXPECT_EQ(l.User[2].Rect, (Rect{208, 0, 240, 21}));
  EXPECT_EQ(l.User[2].HitCode, 1002);
  EXPECT_FALSE(l.User[2].Enabled);
  // 1 + (21 + 3) + 8 + (21 + 3) + (32 + 3)
  EXPECT_EQ(l.TotalWidth, 92);
  EXPECT_EQ(TotalButtonsWidth(l, f, s), 92);
}

TEST(FormGeometry, MenuLineRows) {
  struct Case {
    bool menu, minimized, known;
    int clientTop, itemBottom, want;
  };
  const Case cases[] = {
      {false, false, true, 118, 100, 0}, {true, true, true, 118, 100, 0},
      {true, false, false, 118, 100, 1}, {true, false, true, 100, 100, 1},
      {true, false, true, 117, 100, 1},  {true, false, true, 118, 100, 2},
      {true, false, true, 136, 100, 3},
  };
  int n = 0;
  for (const Case& c : cases) {
    MenuLineInput in{c.menu, c.minimized, c.known, c.clientTop, c.itemBottom, 19};
    EXPECT_EQ(MenuLineRows(in), c.want) << "case " << n;
    ++n;
  }
  EXPECT_EQ(MenuRowHeight(19), 18);
}

TEST(FormGeometry, CaptionTextPlace) {
  FrameSkinValues s;
  s.Left = 2;
  // Frame 4 + BILEFT 2 + 4 + a 16-pixel icon; 12 before 90 pixels of buttons.
  EXPECT_EQ(CaptionTextBand(Form(BS::bsSizeable), kMetrics, s, 90, false), (Rect{26, 4, 198, 23}));
  EXPECT_EQ(CaptionTextBand(Form(BS::bsSizeable), kMetrics, s, 90, true).left, 28);
  EXPECT_EQ(CaptionTextBand(Form(BS::bsToolWindow), kMetrics, s, 30, false), (Rect{9, 3, 258, 18}));
  EXPECT_EQ(
      CaptionTextBand(Form(BS::bsSizeable, TWindowState::wsMaximized), kMetrics, s, 90, false).top,
      3);

  const Rect band{26, 4, 198, 23};
  using CA = CaptionAlignment;
  struct Case {
    int width;
    CA align;
    bool rtl;
    int want;
  };
  const Case cases[] = {
      {50, CA::taLeftJustify, false, 26},   {50, CA::taRightJustify, false, 148},
      {200, CA::taRightJustify, false, 26}, {50, CA::taCenter, false, 85},
      {200, CA::taCenter, false, 26},       {50, CA::taLeftJustify, true, 148},
      {50, CA::taRightJustify, true, 26},   {50, CA::taCenter, true, 85},
  };
  int n = 0;
  for (const Case& c : cases) {
    EXPECT_EQ(CaptionTextLeft(band, c.width, c.align, c.rtl), c.want) << "case " << n;
    ++n;
  }
}

TEST(FormGeometry, TitleTextPaintArea) {
  const Rect icon{7, 5, 23, 21};
  const Rect band{28, 4, 198, 23};
  struct Case {
    Rect band;
    int left, top, height, end, overhang;
    Rect wantArea;
    int wantRight;
  };
  const Case cases[] = {
      // A caption that fits: the area ends with its ink, wherever the band ends.
      {band, 28, 6, 15, 80, 15, {7, 4, 95, 23}, 95},
      {Rect{28, 4, 400, 23}, 28, 6, 15, 80, 15, {7, 4, 95, 23}, 95},
      // A caption the band cuts: the band's end shapes it.
      {Rect{28, 4, 60, 23}, 28, 6, 15, 80, 15, {7, 4, 60, 23}, 60},
      // The CAPTION section's margin: 4 to the left, 2 above and below a text taller than the
      // band, and at least 4 past the text however small the overhang.
      {Rect{40, 8, 198, 20}, 40, 7, 15, 90, 0, {7, 5, 94, 24}, 94},
  };
  int n = 0;
  for (const Case& c : cases) {
    const TitleTextArea a =
        TitleTextPaintArea(icon, c.band, c.left, c.top, c.height, c.end, c.overhang);
    EXPECT_EQ(a.Area, c.wantArea) << "case " << n;
    EXPECT_EQ(a.Right, c.wantRight) << "case " << n;
    ++n;
  }
  // Without an icon only the text's part.
  EXPECT_EQ(TitleTextPaintArea({}, band, 28, 6, 15, 80, 15).Area, (Rect{24, 4, 95, 23}));
}

TEST(FormGeometry, FrameCopyStrips) {
  struct Case {
    FrameStripInput in;
    int top, side;
  };
  auto sizeable = [](int client, int borderWidth, int hscroll) {
    FrameStripInput in;
    in.Width = 300;
    in.Height = 200;
    in.ClientHeight = client;
    in.Frame = 4;
    in.FormBorderWidth = borderWidth;
    in.HScrollHeight = hscroll;
    in.HasCaption = true;
    in.ThickFrame = true;
    return in;
  };
  FrameStripInput minimized = sizeable(0, 0, 0);
  minimized.Height = 24;
  minimized.Minimized = true;
  FrameStripInput bare = sizeable(200, 0, 0);
  bare.Frame = 0;
  bare.HasCaption = false;
  bare.ThickFrame = false;
  FrameStripInput thickOnly = sizeable(192, 0, 0);
  thickOnly.HasCaption = false;
  thickOnly.NoBorderStyle = true;
  FrameStripInput borderOnly = sizeable(194, 0, 0);  // WS_BORDER without a caption
  borderOnly.Frame = 3;
  borderOnly.HasCaption = false;
  borderOnly.ThickFrame = false;
  borderOnly.Border = true;
  const Case cases[] = {
      {sizeable(173, 0, 0), 23, 4},
      {sizeable(169, 2, 0), 25, 6},
      {sizeable(156, 0, 17), 23, 4},
      {minimized, 24, 4},
      {bare, 0, 0},
      {thickOnly, 7, 7},
      {borderOnly, 3, 3},
  };
  int n = 0;
  for (const Case& c : cases) {
    const auto strips = FrameCopyStrips(c.in);
    EXPECT_EQ(strips,
              graphics::FrameStrips({0, 0, c.in.Width, c.in.Height}, c.side, c.top, c.side, c.side))
        << "case " << n << ": have top " << strips[0].height() << " side " << strips[1].width();
    ++n;
  }
  EXPECT_EQ(ClientOffset(4, 2, 19, 18), (graphics::Point{6, 41}));
}

}  // namespace
}  // namespace sapala::skin
