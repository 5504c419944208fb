// The skin tables: building them in order, the look-ups, the standard-part cache and the
// extended-border pictures.
#include "core/skin/skin_tables.h"

#include <algorithm>

#include "core/codecs/png.h"
#include "core/skin/builtin_shadows.h"
#include "core/skin/skin_build_detail.h"
#include "core/skin/skin_platform.h"
#include "core/skin/skin_text.h"

namespace sapala::skin {

using graphics::Bitmap;

void SkinTables::Build(const SkinSource& source, const BuildSettings& settings,
                       const BuildEnvironment& env) {
  static const SkinText kEmpty;
  const SkinText& text = source.text != nullptr ? *source.text : kEmpty;
  SkinSource src = source;
  src.text = &text;

  DecodedBytes = 0;
  DecodeBudget = settings.maxDecodedBytes;
  // 1 and 2: pictures first, so the section indices below can point at them.
  detail::LoadImages(*this, src, settings, env);
  detail::LoadPatterns(*this, src, settings, env);
  for (TsMaskData& m : Images) m.Owner = this;
  // 3: global values (with the version notice), sections, common sections, indices, colours.
  detail::ReadGlobals(*this, text, settings, env);
  detail::BuildSections(*this, text);
  if (settings.commonSections != nullptr)
    detail::MergeCommonSections(*this, *settings.commonSections);
  // Names stay as they are from here on: one lookup serves the indices and the cache.
  const detail::ImageLookup lookup(*this);
  detail::ResolveIndices(*this, lookup);
  detail::ChangeHueAndSaturation(*this, settings.hueOffset, settings.saturation);
  // 4
  Cache = detail::StdPartCacheOf(lookup);
  BuildExtBorders(settings.extendedBorders && settings.active, env.platform, env.shadows);
}

void SkinTables::Clear() {
  Images.clear();
  MasterBitmap = Bitmap();
  Patterns.clear();
  Sections.clear();
}

int SkinTables::FindSection(std::string_view name) const {
  for (std::size_t i = 0; i < Sections.size(); ++i) {
    if (Sections[i].SectionName == name) return static_cast<int>(i);
  }
  return -1;
}

int SkinTables::FindIn(Table table, int sectionIndex, std::string_view section,
                       std::string_view key) const {
  // Each step goes one parent up; a chain longer than the table must be a cycle.
  for (std::size_t depth = 0; depth <= Sections.size(); ++depth) {
    if (sectionIndex < 0 || section.empty()) return -1;
    if (table == Table::patterns) {
      if (Patterns.empty()) return -1;
      for (std::size_t i = 0; i < Patterns.size(); ++i) {
        if (Patterns[i].Section == section && Patterns[i].Key == key) return static_cast<int>(i);
      }
    } else {
      for (std::size_t i = 0; i < Images.size(); ++i) {
        const TsMaskData& m = Images[i];
        if (table == Table::textures && m.ImageKind != 1) continue;
        if (m.Section == section && m.Key == key) return static_cast<int>(i);
      }
    }
    if (static_cast<std::size_t>(sectionIndex) >= Sections.size()) return -1;
    const std::string& parent = Sections[static_cast<std::size_t>(sectionIndex)].ParentClass;
    if (parent.empty() || parent == section) return -1;
    const int parentIndex = FindSection(parent);
    if (parentIndex < 0) return -1;
    sectionIndex = parentIndex;
    section = Sections[static_cast<std::size_t>(parentIndex)].SectionName;
  }
  return -1;
}

int SkinTables::FindImage(int sectionIndex, std::string_view section, std::string_view key) const {
  return FindIn(Table::images, sectionIndex, section, key);
}

int SkinTables::FindTexture(int sectionIndex, std::string_view section,
                            std::string_view key) const {
  return FindIn(Table::textures, sectionIndex, section, key);
}

int SkinTables::FindPattern(int sectionIndex, std::string_view section,
                            std::string_view key) const {
  return FindIn(Table::patterns, sectionIndex, section, key);
}

int SkinTables::FindImageExact(std::string_view section, std::string_view key) const {
  for (std::size_t i = 0; i < Images.size(); ++i) {
    if (Images[i].Section == section && Images[i].Key == key) return static_cast<int>(i);
  }
  return -1;
}

const TsMaskData* SkinTables::Image(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= Images.size()) return nullptr;
  return &Images[static_cast<std::size_t>(index)];
}

void SkinTables::RefreshStdCache() { Cache = detail::StdPartCacheOf(detail::ImageLookup(*this)); }

namespace detail {

StdPartCache StdPartCacheOf(const ImageLookup& l) {
  StdPartCache c;
  c.GlobalInfo = l.FindSection("GLOBALINFO");
  auto global = [&](const char* key) { return l.Find(false, c.GlobalInfo, "GLOBALINFO", key); };
  static constexpr const char* kChecks[9] = {"BOXCHECKED",   "BOXUNCHECKED",   "BOXGRAYED",
                                             "RADIOCHECKED", "RADIOUNCHECKED", "RADIOGRAYED",
                                             "SMALLCHECKED", "SMALLUNCHECKED", "SMALLGRAYED"};
  for (std::size_t i = 0; i < 9; ++i) c.CheckBoxes[i] = global(kChecks[i]);
  c.ExBorder = global("EXBORDER");
  c.GripImage = global("GRIPIMAGE");
  c.GripHorz = global("GRIPHORZ");
  c.GripVert = global("GRIPVERT");

  c.ComboBtn = l.FindSection("COMBOBTN");
  c.ComboBtnMask = l.FindExact("COMBOBTN", "BORDERSMASK");
  c.ComboBtnPattern = l.Find(true, c.ComboBtn, "COMBOBTN", "PATTERN");
  c.ComboBtnHotPattern = l.Find(true, c.ComboBtn, "COMBOBTN", "HOTPATTERN");
  c.ComboGlyph = l.FindExact("COMBOBOX", "GLYPHMASK");

  static constexpr const char* kTabs[4] = {"TABTOP", "TABBOTTOM", "TABLEFT", "TABRIGHT"};
  for (std::size_t i = 0; i < 4; ++i) {
    c.Tabs[i] = l.FindSection(kTabs[i]);
    c.TabMasks[i] = l.Find(false, c.Tabs[i], kTabs[i], "BORDERSMASK");
  }
  static constexpr const char* kScroll[6] = {"SCROLLBTNTOP",   "SCROLLBTNBOTTOM", "SCROLLBTNLEFT",
                                             "SCROLLBTNRIGHT", "SCROLLSLIDERV",   "SCROLLSLIDERH"};
  for (std::size_t i = 0; i < 6; ++i) {
    c.ScrollParts[i] = l.FindSection(kScroll[i]);
    c.ScrollMasks[i] = l.Find(false, c.ScrollParts[i], kScroll[i], "BORDERSMASK");
    if (c.ScrollParts[i] >= 0)
      c.ScrollGlyphs[i] = l.Find(false, c.ScrollParts[i], kScroll[i], "GLYPHMASK");
    c.ScrollPatterns[i] = l.Find(false, c.ScrollParts[i], kScroll[i], "PATTERN");
    c.ScrollHotPatterns[i] = l.Find(false, c.ScrollParts[i], kScroll[i], "HOTPATTERN");
  }
  static constexpr const char* kBars[4] = {"SCROLLBAR1H", "SCROLLBAR1V", "SCROLLBAR2H",
                                           "SCROLLBAR2V"};
  for (std::size_t i = 0; i < 4; ++i) {
    c.ScrollBars[i] = l.FindSection(kBars[i]);
    c.ScrollBarMasks[i] = l.Find(false, c.ScrollBars[i], kBars[i], "BORDERSMASK");
    c.ScrollBarPatterns[i] = l.Find(false, c.ScrollBars[i], kBars[i], "PATTERN");
    c.ScrollBarHotPatterns[i] = l.Find(false, c.ScrollBars[i], kBars[i], "HOTPATTERN");
  }
  c.WebButton = l.FindSection("WEBBUTTON");
  return c;
}

}  // namespace detail

namespace {

// A copy of the part of `r` that lies inside `source`, as a new 32-bit picture. The rectangle
// comes from the skin text, so only what the source really holds is allocated: a frame claiming
// 9999 x 9999 pixels of a small master bitmap costs nothing beyond the bitmap itself.
Bitmap CopyFrame(const Bitmap& source, graphics::Rect r) {
  const graphics::Rect in = r.intersect(source.Bounds());
  if (in.empty() || source.Format() != graphics::PixelFormat::pf32bit) return Bitmap();
  Bitmap out = graphics::NewBitmap32(in.width(), in.height());
  for (int y = in.top; y < in.bottom; ++y) {
    const std::uint32_t* from = source.Row32(y);
    std::copy(from + in.left, from + in.right, out.Row32(y - in.top));
  }
  return out;
}

}  // namespace

void SkinTables::BuildExtBorders(bool inEffect, const SkinPlatform& platform,
                                 const BuiltInShadows* shadows) {
  ExtBorders = ExtBorderPictures{};
  if (!inEffect) return;
  if (const TsMaskData* m = Image(Cache.ExBorder)) {
    const int off = SkinData.ExtFormOffset;
    if (SkinData.ExtBorderMode != 0) {
      ExtBorders.Left = ExtBorders.Top = ExtBorders.Right = ExtBorders.Bottom = off;
    } else {
      ExtBorders.Left = LeftWidth(*m) - off;
      ExtBorders.Top = TopWidth(*m) - off;
      ExtBorders.Right = RightWidth(*m) - off;
      ExtBorders.Bottom = BottomWidth(*m) - off;
    }
    const Bitmap& pic = m->Image ? *m->Image : MasterBitmap;
    const int fw = FrameWidth(*m);
    const int fh = FrameHeight(*m);
    const graphics::Rect first = graphics::RectOfSize(m->Rect.left, m->Rect.top, fw, fh);
    ExtBorders.Active = CopyFrame(pic, first);
    ExtBorders.Inactive =
        m->FrameCount == 1 ? CopyFrame(pic, first) : CopyFrame(pic, first.offset(fw, 0));
  } else {
    const int grow = platform.CompositionEnabled() ? 1 : 0;
    ExtBorders.Left = 11 + grow;
    ExtBorders.Top = 10 + grow;
    ExtBorders.Right = 11 + grow;
    ExtBorders.Bottom = 12 + grow;
    if (shadows != nullptr) {
      ExtBorders.Active = shadows->Active.Clone();
      ExtBorders.Inactive = shadows->Inactive.Clone();
    }
  }
  // The skin's own pictures and the built-in ones alike are prepared for alpha blending as every
  // PNG picture of the skin (see skin_images.cpp); the window side premultiplies when it hands
  // them to UpdateLayeredWindow.
  for (Bitmap* pic : {&ExtBorders.Active, &ExtBorders.Inactive}) {
    codecs::ClearTransparentWhite(*pic);
    // The pictures go to a layered window, where only alpha cuts out: a key pixel of the skin's
    // own picture (a rectangle of a 24-bit master bitmap) becomes transparent black.
    if (pic->Format() != graphics::PixelFormat::pf32bit) continue;
    for (int y = 0; y < pic->Height(); ++y) {
      std::uint32_t* row = pic->Row32(y);
      for (int x = 0; x < pic->Width(); ++x) {
        if (graphics::IsKeyPixel(row[x])) row[x] = 0;
      }
    }
  }
}

BuiltInShadows LoadBuiltInShadows() {
  BuiltInShadows s;
  s.Active = graphics::ConvertTo32(codecs::ReadPng(BuiltInShadowActivePng()));
  s.Inactive = graphics::ConvertTo32(codecs::ReadPng(BuiltInShadowInactivePng()));
  return s;
}

}  // namespace sapala::skin
