// Text dump of the skin tables; see skin_dump.h.
#include "core/skin/skin_dump.h"

#include <zlib.h>

#include <cstdio>
#include <sstream>

#include "core/skin/skin_values.h"

namespace sapala::skin {
namespace {

std::string Hex(TColor c) {
  char buf[16];
  if (c < 0) {
    std::snprintf(buf, sizeof buf, "%d", c);
  } else {
    std::snprintf(buf, sizeof buf, "$%06X", static_cast<unsigned>(c));
  }
  return buf;
}

std::string Colors(const FontColorArray& a) {
  std::string s;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (i > 0) s += ' ';
    s += Hex(a[i]);
  }
  return s;
}

std::string Stops(const TsGradArray& g) {
  if (!g || g->empty()) return "(none)";
  std::ostringstream o;
  for (std::size_t i = 0; i < g->size(); ++i) {
    const GradientStop& s = (*g)[i];
    o << (i > 0 ? " | " : "") << Hex(s.Color1) << ' ' << Hex(s.Color2) << ' '
      << static_cast<int>(s.Percent) << "% mode " << s.Mode;
  }
  return o.str();
}

std::string Picture(const graphics::Bitmap& b) {
  if (b.Empty()) return "(none)";
  uLong crc = crc32(0, nullptr, 0);
  const std::size_t rowBytes = static_cast<std::size_t>(b.Width()) * b.BitsPerPixel() / 8;
  for (int y = 0; y < b.Height(); ++y) crc = crc32(crc, b.ScanLine(y), static_cast<uInt>(rowBytes));
  char buf[64];
  std::snprintf(buf, sizeof buf, "%d x %d, %d bits, crc %08lX", b.Width(), b.Height(),
                b.BitsPerPixel(), static_cast<unsigned long>(crc));
  return buf;
}

std::string RectText(const graphics::Rect& r) {
  std::ostringstream o;
  o << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom;
  return o.str();
}

void State(std::ostringstream& o, const char* name, const TsGenState& s) {
  o << "  " << name << ".Color = " << Hex(s.Color) << "\n";
  o << "  " << name << ".FontColors = " << Colors(s.FontColors) << "\n";
  o << "  " << name << ".GradientPercent = " << s.GradientPercent << "\n";
  o << "  " << name << ".GradientData = \"" << s.GradientData << "\"\n";
  o << "  " << name << ".Gradient = " << Stops(s.Gradient) << "\n";
  o << "  " << name << ".ImagePercent = " << s.ImagePercent << "\n";
  o << "  " << name << ".GlowColor = " << Hex(s.GlowColor) << "\n";
  o << "  " << name << ".GlowSize = " << static_cast<int>(s.GlowSize) << "\n";
  o << "  " << name << ".Transparency = " << s.Transparency << "\n";
}

}  // namespace

std::string DumpSkinData(const TsSkinData& d) {
  std::ostringstream o;
  o << "[TsSkinData]\n";
  o << "  SkinPath = \"" << d.SkinPath << "\"\n";
  o << "  Active = " << (d.Active ? "True" : "False") << "\n";
  o << "  Version = " << FormatVersion(d.Version) << "\n";
  o << "  Author = \"" << d.Author << "\"\n";
  o << "  Description = \"" << d.Description << "\"\n";
  o << "  Shadow1Color = " << Hex(d.Shadow1Color) << "\n";
  o << "  Shadow1Offset = " << d.Shadow1Offset << "\n";
  o << "  Shadow1Blur = " << d.Shadow1Blur << "\n";
  o << "  Shadow1Transparency = " << d.Shadow1Transparency << "\n";
  o << "  ExtBorderWidth = " << d.ExtBorderWidth << "\n";
  o << "  ExtTitleHeight = " << d.ExtTitleHeight << "\n";
  o << "  ExtMaxHeight = " << d.ExtMaxHeight << "\n";
  o << "  ExtFormOffset = " << d.ExtFormOffset << "\n";
  o << "  ExtAlignOffset = " << d.ExtAlignOffset << "\n";
  o << "  ExtCenterOffset = " << d.ExtCenterOffset << "\n";
  o << "  ExtBorderMode = " << d.ExtBorderMode << "\n";
  o << "  BorderColor = " << Hex(d.BorderColor) << "\n";
  o << "  IconSpacing = " << d.IconSpacing << "\n";
  o << "  IconVAlign = " << d.IconVAlign << "\n";
  o << "  IconRight = " << d.IconRight << "\n";
  o << "  IconLeft = " << d.IconLeft << "\n";
  o << "  IconTop = " << d.IconTop << "\n";
  o << "  IconKeepHue = " << d.IconKeepHue << "\n";
  o << "  CloseGlow = " << d.CloseGlow << ", margin " << d.CloseGlowMargin << "\n";
  o << "  MaxGlow = " << d.MaxGlow << ", margin " << d.MaxGlowMargin << "\n";
  o << "  MinGlow = " << d.MinGlow << ", margin " << d.MinGlowMargin << "\n";
  return o.str();
}

std::string DumpTables(const SkinTables& t) {
  std::ostringstream o;
  o << DumpSkinData(t.SkinData);
  o << "[MasterBitmap]\n  " << Picture(t.MasterBitmap) << "\n";
  for (std::size_t i = 0; i < t.Sections.size(); ++i) {
    const TsGeneralData& g = t.Sections[i];
    o << "[Section " << i << " \"" << g.SectionName << "\"]\n";
    o << "  ParentClass = \"" << g.ParentClass << "\"\n";
    o << "  States = " << g.States << "\n";
    o << "  GiveOwnFont = " << g.GiveOwnFont << ", ReservedBoolean = " << g.ReservedBoolean
      << ", ShowFocus = " << g.ShowFocus << "\n";
    o << "  Glow = " << g.Glow << ", GlowMargin = " << g.GlowMargin << "\n";
    o << "  MaskIndex = " << g.MaskIndex << ", CornerIndex = " << g.CornerIndex[0] << ' '
      << g.CornerIndex[1] << ' ' << g.CornerIndex[2] << ' ' << g.CornerIndex[3]
      << ", TextureIndex = " << g.TextureIndex << "\n";
    o << "  Color = " << Hex(g.Color) << ", Transparency = " << g.Transparency << "\n";
    o << "  GradientPercent = " << g.GradientPercent << ", GradientData = \"" << g.GradientData
      << "\"\n";
    o << "  Gradient = " << Stops(g.Gradient) << "\n";
    o << "  ImagePercent = " << g.ImagePercent << "\n";
    o << "  FontColors = " << Colors(g.FontColors) << "\n";
    o << "  HotColor = " << Hex(g.HotColor) << ", HotTransparency = " << g.HotTransparency << "\n";
    o << "  HotGradientPercent = " << g.HotGradientPercent << ", HotGradientData = \""
      << g.HotGradientData << "\"\n";
    o << "  HotGradient = " << Stops(g.HotGradient) << "\n";
    o << "  HotImagePercent = " << g.HotImagePercent << "\n";
    o << "  HotFontColors = " << Colors(g.HotFontColors) << "\n";
    o << "  FadingEnabled = " << g.FadingEnabled << ", FadingIterations = " << g.FadingIterations
      << "\n";
    o << "  GlowColor = " << Hex(g.GlowColor) << ", GlowSize = " << static_cast<int>(g.GlowSize)
      << ", HotGlowColor = " << Hex(g.HotGlowColor)
      << ", HotGlowSize = " << static_cast<int>(g.HotGlowSize) << "\n";
    State(o, "Props[0]", g.Props[0]);
    State(o, "Props[1]", g.Props[1]);
  }
  for (std::size_t i = 0; i < t.Images.size(); ++i) {
    const TsMaskData& m = t.Images[i];
    o << "[Image " << i << " " << m.Section << "/" << m.Key << "]\n";
    o << "  Picture = " << (m.Image ? Picture(*m.Image) : std::string("master bitmap")) << "\n";
    o << "  Rect = " << RectText(m.Rect) << "\n";
    o << "  FrameCount = " << m.FrameCount << ", MaskKind = " << m.MaskKind
      << ", ImageKind = " << static_cast<int>(m.ImageKind) << ", DrawMode = " << m.DrawMode << "\n";
    o << "  BorderWidth = " << m.BorderWidth << ", Borders = " << m.LeftBorder << ' ' << m.TopBorder
      << ' ' << m.RightBorder << ' ' << m.BottomBorder << "\n";
    o << "  Widths = " << LeftWidth(m) << ' ' << TopWidth(m) << ' ' << RightWidth(m) << ' '
      << BottomWidth(m) << ", Frame = " << FrameWidth(m) << " x " << FrameHeight(m) << "\n";
    o << "  TransparentCorners = " << m.TransparentCorners << "\n";
  }
  for (std::size_t i = 0; i < t.Patterns.size(); ++i) {
    const TsPatternData& p = t.Patterns[i];
    o << "[Pattern " << i << " " << p.Section << "/" << p.Key << "]\n";
    o << "  Picture = " << (p.Picture ? Picture(*p.Picture) : std::string("(none)")) << "\n";
  }
  o << "[ExtBorders]\n  Margins = " << t.ExtBorders.Left << ' ' << t.ExtBorders.Top << ' '
    << t.ExtBorders.Right << ' ' << t.ExtBorders.Bottom << "\n";
  o << "  Active = " << Picture(t.ExtBorders.Active) << "\n";
  o << "  Inactive = " << Picture(t.ExtBorders.Inactive) << "\n";
  return o.str();
}

}  // namespace sapala::skin
