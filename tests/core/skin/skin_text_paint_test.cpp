// Skinned text through a recording canvas: outline order and offsets, the main colour with
// DT_NOCLIP, disabled and unskinned looks, hue shift, the web button's underline, the parent
// chain of check boxes, and shortening.
#include "core/skin/skin_text_paint.h"

#include <gtest/gtest.h>

#include <sstream>

namespace sapala::skin {
namespace {

using graphics::Rect;

class RecordingCanvas : public SkinTextCanvas {
 public:
  void DrawText(std::u16string_view, const Rect& rect, unsigned format, TColor color,
                const Rect& clip) override {
    std::ostringstream s;
    s << rect.left << "," << rect.top << " " << std::hex << color << std::dec
      << ((format & kDtNoClip) ? " noclip" : "") << (clip == clip_ ? "" : " badclip");
    calls.push_back(s.str());
  }
  int TextWidth(std::u16string_view text) override { return 7 * static_cast<int>(text.size()); }
  void SetUnderline(bool on) override { calls.push_back(on ? "underline" : "plain"); }
  std::vector<std::string> calls;
  Rect clip_{10, 20, 60, 40};
};

struct Skin {
  SkinTables t;
  int Add(const std::string& name, FontColorArray fonts, int transparency = 0) {
    TsGeneralData g;
    g.SectionName = name;
    g.Color = 0x808080;
    g.FontColors = fonts;
    g.Transparency = transparency;
    g.States = 1;
    g.FillProps();
    t.Sections.push_back(g);
    return static_cast<int>(t.Sections.size()) - 1;
  }
};

const Rect kRect{10, 20, 60, 40};

TEST(SkinnedText, OutlinesThenTheMainColour) {
  Skin s;
  SkinnedTextOwner o;
  o.Element.SectionIndex = s.Add("BUTTON", {0x000011, 0x000022, -1, 0x000044, 0x000055});
  o.Skinned = true;
  RecordingCanvas c;
  WriteSkinnedText(c, u"Cari", true, false, s.t, o, 0, kRect);
  EXPECT_EQ(c.calls,
            (std::vector<std::string>{"9,20 22", "11,20 44", "10,21 55", "10,20 11 noclip"}));
  // Disabled: once, 40 % font colour over the form colour (no GLOBALINFO: button face).
  c.calls.clear();
  WriteSkinnedText(c, u"Cari", false, false, s.t, o, 0, kRect);
  ASSERT_EQ(c.calls.size(), 1u);
  std::ostringstream want;
  want << "10,20 " << std::hex
       << graphics::MixColors(0x000011, graphics::ColorToRGB(graphics::clBtnFace), 0.4);
  EXPECT_EQ(c.calls[0], want.str());
  // Hue shift applies to every colour.
  c.calls.clear();
  o.Element.HueShift = 120;
  WriteSkinnedText(c, u"Cari", true, false, s.t, o, 0, kRect);
  std::ostringstream shifted;
  shifted << "10,20 " << std::hex << graphics::ChangeHue(0x000011, 120) << " noclip";
  EXPECT_EQ(c.calls.back(), shifted.str());
  // No text: nothing at all.
  c.calls.clear();
  WriteSkinnedText(c, u"", true, false, s.t, o, 0, kRect);
  EXPECT_TRUE(c.calls.empty());
}

TEST(SkinnedText, UnskinnedAndCustomFontLooks) {
  Skin s;
  SkinnedTextOwner o;
  o.Element.SectionIndex = s.Add("BUTTON", {0x000011, -1, -1, -1, -1});
  RecordingCanvas c;
  WriteSkinnedText(c, u"x", false, false, s.t, o, 0, kRect);  // not skinned, disabled: embossed
  std::ostringstream want1, want2;
  want1 << "11,21 " << std::hex << graphics::ColorToRGB(graphics::clBtnHighlight);
  want2 << "10,20 " << std::hex << graphics::ColorToRGB(graphics::clBtnShadow);
  EXPECT_EQ(c.calls, (std::vector<std::string>{want1.str(), want2.str()}));
  c.calls.clear();
  o.Skinned = true;
  o.CustomFont = true;
  WriteSkinnedText(c, u"x", true, false, s.t, o, 0, kRect);
  ASSERT_EQ(c.calls.size(), 1u);
  EXPECT_EQ(c.calls[0].find(" noclip"), std::string::npos);  // plain, the control's own font
}

TEST(SkinnedText, HotWebButtonIsUnderlinedAndCheckBoxesTakeTheirParentsFont) {
  Skin s;
  const int web = s.Add("WEBBUTTON", {0x000011, -1, -1, -1, -1});
  s.t.RefreshStdCache();
  SkinnedTextOwner o;
  o.Element.SectionIndex = web;
  o.Skinned = true;
  RecordingCanvas c;
  WriteSkinnedText(c, u"x", true, true, s.t, o, 0, kRect);
  EXPECT_EQ(c.calls.front(), "underline");
  EXPECT_EQ(c.calls.back(), "plain");

  // A transparent check box over a transparent panel inside a group box that gives its font.
  const int check = s.Add("CHECKBOX", {0x000001, -1, -1, -1, -1}, 100);
  const int panel = s.Add("PANEL", {0x000002, -1, -1, -1, -1}, 60);
  const int group = s.Add("GROUPBOX", {0x000003, -1, -1, -1, -1});
  s.t.Sections[group].GiveOwnFont = true;
  o.Element.SectionIndex = check;
  o.ControlKind = 32;
  std::vector<int> chain = {panel, group};
  o.AncestorSection = [&](int level) {
    return level < static_cast<int>(chain.size()) ? chain[static_cast<std::size_t>(level)] : -2;
  };
  c.calls.clear();
  WriteSkinnedText(c, u"x", true, false, s.t, o, 0, kRect);
  EXPECT_EQ(c.calls.back(), "10,20 3 noclip");
  // An opaque ancestor on the way stops the walk: the control's own colour.
  s.t.Sections[panel].Transparency = 10;
  c.calls.clear();
  WriteSkinnedText(c, u"x", true, false, s.t, o, 0, kRect);
  EXPECT_EQ(c.calls.back(), "10,20 1 noclip");
}

// Marks the text rectangle's top-left pixel black in the glow mask.
class DotPainter : public graphics::TextPainter {
 public:
  void PaintText(graphics::Bitmap& target, std::u16string_view, const Rect& rect,
                 unsigned) override {
    if (rect.left >= 0 && rect.top >= 0 && rect.left < target.Width() &&
        rect.top < target.Height()) {
      target.ScanLine(rect.top)[rect.left] = 0;
    }
  }
};

class GlowCanvas : public RecordingCanvas {
 public:
  graphics::TextPainter* MaskPainter() override { return &dots; }
  DotPainter dots;
};

TEST(SkinnedText, GlowIsDrawnIntoTheOwnersCache) {
  Skin s;
  SkinnedTextOwner o;
  o.Element.SectionIndex = s.Add("LABEL", {0x000011, -1, -1, -1, -1});
  s.t.Sections[0].Props[0].GlowSize = 2;
  s.t.Sections[0].Props[0].GlowColor = 0x0000FF;  // red
  o.Skinned = true;
  graphics::Bitmap cache = graphics::NewBitmap32(80, 60);
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 80; ++x) cache.Row32(y)[x] = 0xFF000000u;  // opaque black
  }
  o.Cache = &cache;
  GlowCanvas c;
  WriteSkinnedText(c, u"x", true, false, s.t, o, 0, kRect);
  // Around the text's top-left the cache turned toward red; far away it did not.
  EXPECT_GT(cache.Row32(kRect.top)[kRect.left] >> 16 & 0xFF, 0u);
  EXPECT_EQ(cache.Row32(kRect.top)[kRect.left] & 0xFFFF, 0u);
  EXPECT_EQ(cache.Row32(55)[75], 0xFF000000u);
  EXPECT_EQ(c.calls.back(), "10,20 11 noclip");  // the text itself still follows
}

TEST(SkinnedText, SectionTextAndShortening) {
  Skin s;
  const int i = s.Add("MENUITEM", {0x000011, -1, 0x000033, -1, -1});
  RecordingCanvas c;
  WriteSectionText(c, u"x", true, s.t, false, i, 0, kRect);
  EXPECT_EQ(c.calls, (std::vector<std::string>{"10,19 33", "10,20 11 noclip"}));
  c.calls.clear();
  WriteSectionText(c, u"x", false, s.t, false, i, 0, kRect);
  std::ostringstream want;
  want << "10,20 " << std::hex << graphics::MixColors(0x000011, 0x808080, 0.4);
  EXPECT_EQ(c.calls, std::vector<std::string>{want.str()});

  EXPECT_EQ(ShortenText(c, u"abcdef", 42), u"abcdef");  // fits
  EXPECT_EQ(ShortenText(c, u"abcdef", 41), u"ab...");   // 5 characters of 7 pixels
  EXPECT_EQ(ShortenText(c, u"abcdef", 3), u"...");
}

}  // namespace
}  // namespace sapala::skin
