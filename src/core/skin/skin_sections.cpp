// Building the global values and the section table from the skin text: reading with
// inheritance through "PARENTCLASS", the common-sections merge, the mask and texture indices, and
// the hue and saturation change applied after every load.
#include <algorithm>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

#include "core/graphics/pixels.h"
#include "core/skin/skin_build_detail.h"
#include "core/skin/skin_error.h"
#include "core/skin/skin_platform.h"
#include "core/skin/skin_text.h"
#include "core/skin/skin_values.h"

namespace sapala::skin::detail {
namespace {

std::int16_t I16(std::int32_t v) { return static_cast<std::int16_t>(v); }

// Where the fields of a section record come from: integers (already through ColorToRGB) and texts,
// nullopt when the key gives nothing (so the field keeps its starting value).
struct FieldSource {
  std::function<std::optional<std::int32_t>(std::string_view)> Int;
  std::function<std::optional<std::string>(std::string_view)> Text;

  std::optional<bool> Bool(std::string_view key) const {
    auto t = Text(key);
    if (!t) return std::nullopt;
    const std::string u = UpperAscii(*t);
    return u == "1" || u == "TRUE";
  }
};

// Reading a section of the skin text with inheritance. Integers: -1 (absent or malformed) asks
// the parent named by "PARENTCLASS" (unless "?" or the section itself), and so on up the chain;
// texts: "?" or absence asks the parent. The chain is cut after as many steps as there are
// sections, so a cycle of sections naming each other ends.
class InheritingReader {
 public:
  // The chain is found once: every field of the section walks it.
  InheritingReader(const SkinText& text, const SkinSection& section) {
    const SkinSection* s = &section;
    const std::size_t limit = text.Sections().size();
    for (std::size_t depth = 0; s != nullptr && depth <= limit; ++depth) {
      chain_.push_back(s);
      auto parent = s->Find("PARENTCLASS");
      if (!parent || *parent == "?" || *parent == s->name) break;
      s = text.FindSection(*parent);
    }
  }

  std::optional<std::int32_t> Int(std::string_view key) const {
    std::optional<std::int32_t> found;
    Walk([&](const SkinSection& s) {
      auto v = s.Find(key);
      const std::int32_t n = v ? StrToIntDef(*v, -1) : -1;
      if (n == -1) return false;
      found = ColorToRGB(n);
      return true;
    });
    return found;
  }

  std::optional<std::string> Text(std::string_view key) const {
    std::optional<std::string> found;
    Walk([&](const SkinSection& s) {
      auto v = s.Find(key);
      if (!v || *v == "?") return false;
      found = std::string(*v);
      return true;
    });
    return found;
  }

  FieldSource Source() const {
    return FieldSource{[this](std::string_view k) { return Int(k); },
                       [this](std::string_view k) { return Text(k); }};
  }

 private:
  template <class Visit>
  void Walk(Visit visit) const {
    for (const SkinSection* s : chain_) {
      if (visit(*s)) return;
    }
  }

  std::vector<const SkinSection*> chain_;  // the section, its parent, and so on up
};

// Reading one common section without inheritance: a present key replaces the starting value,
// and a key written as -1 sets -1 (a common section may take away an outline colour or a
// parent's value); a malformed value is ignored.
FieldSource PlainSource(const SkinSection& s) {
  return FieldSource{[&s](std::string_view k) -> std::optional<std::int32_t> {
                       auto v = s.Find(k);
                       if (!v) return std::nullopt;
                       const std::optional<std::int32_t> n = ParseInt(TrimBlanks(*v));
                       if (!n) return std::nullopt;
                       if (*n == -1) return -1;
                       return ColorToRGB(*n);
                     },
                     [&s](std::string_view k) -> std::optional<std::string> {
                       auto v = s.Find(k);
                       if (!v || *v == "?") return std::nullopt;
                       return std::string(*v);
                     }};
}

template <class T>
void Set(T& field, const std::optional<std::int32_t>& v) {
  if (v) field = static_cast<T>(*v);
}

void ReadFontColors(FontColorArray& colors, const FieldSource& src, const char* const keys[5]) {
  for (int i = 0; i < 5; ++i) Set(colors[static_cast<std::size_t>(i)], src.Int(keys[i]));
}

constexpr const char* kFontKeys[5] = {"FONTCOLOR", "TCLEFT", "TCTOP", "TCRIGHT", "TCBOTTOM"};
constexpr const char* kHotFontKeys[5] = {"HOTFONTCOLOR", "HOTTCLEFT", "HOTTCTOP", "HOTTCRIGHT",
                                         "HOTTCBOTTOM"};

void ClearHotFields(TsGeneralData& g) {
  g.HotColor = 0;
  g.HotTransparency = 0;
  g.HotGradientPercent = 0;
  g.HotGradientData.clear();
  g.HotGradient = NewGradArray();
  g.HotImagePercent = 0;
  g.HotFontColors = {0, 0, 0, 0, 0};
  g.HotGlowColor = 0;
  g.HotGlowSize = 0;
}

void ReadHotFields(TsGeneralData& g, const FieldSource& src) {
  Set(g.HotColor, src.Int("HOTCOLOR"));
  Set(g.HotTransparency, src.Int("HOTTRANSPARENCY"));
  Set(g.HotGradientPercent, src.Int("HOTGRADIENTPERCENT"));
  if (auto t = src.Text("HOTGRADIENTDATA")) {
    g.HotGradientData = *t;
    g.HotGradient = ParseGradient(g.HotGradientData);
  }
  Set(g.HotImagePercent, src.Int("HOTIMAGEPERCENT"));
  ReadFontColors(g.HotFontColors, src, kHotFontKeys);
  Set(g.HotGlowColor, src.Int("HGCOL"));
  Set(g.HotGlowSize, src.Int("HGSIZE"));
}

// The normal-state fields and flags of a section, in the order the table is built.
void ReadNormalFields(TsGeneralData& g, const FieldSource& src) {
  Set(g.Color, src.Int("COLOR"));
  if (auto b = src.Bool("GIVEOWNFONT")) g.GiveOwnFont = *b;
  if (auto b = src.Bool("RESERVEDBOOLEAN")) g.ReservedBoolean = *b;
  Set(g.Glow, src.Int("GLOW"));
  Set(g.GlowMargin, src.Int("GLOWMARGIN"));
  ReadFontColors(g.FontColors, src, kFontKeys);
  Set(g.Transparency, src.Int("TRANSPARENCY"));
  Set(g.GradientPercent, src.Int("GRADIENTPERCENT"));
  Set(g.ImagePercent, src.Int("IMAGEPERCENT"));
  if (auto t = src.Text("GRADIENTDATA")) {
    g.GradientData = *t;
    g.Gradient = ParseGradient(g.GradientData);
  }
  if (auto b = src.Bool("SHOWFOCUS")) g.ShowFocus = *b;
  if (auto b = src.Bool("FADINGENABLED")) g.FadingEnabled = *b;
  Set(g.FadingIterations, src.Int("FADINGITERATIONS"));
  Set(g.GlowColor, src.Int("GCOL"));
  Set(g.GlowSize, src.Int("GSIZE"));
}

void ForceGradientPercents(TsGeneralData& g) {
  if (g.GradientData.size() < 2) g.GradientPercent = 0;
  if (g.HotGradientData.size() < 2) g.HotGradientPercent = 0;
}

// Copies a record with gradient arrays of its own (a copy must never share stops with the record
// it came from, or a hue change would reach the stops twice).
TsGeneralData DetachedCopy(const TsGeneralData& from) {
  TsGeneralData g = from;
  g.Gradient = std::make_shared<std::vector<GradientStop>>(*from.Gradient);
  g.HotGradient = std::make_shared<std::vector<GradientStop>>(*from.HotGradient);
  g.FillProps();
  return g;
}

std::int16_t StrictI16(const SkinSection* s, std::string_view key, std::string_view fallback) {
  std::string_view text = fallback;
  if (s != nullptr) {
    if (auto v = s->Find(key)) text = *v;
  }
  return I16(StrToInt(text));
}

std::int32_t PlainInt(const SkinSection* s, std::string_view key, std::int32_t fallback) {
  if (s == nullptr) return fallback;
  auto v = s->Find(key);
  return v ? StrToIntDef(*v, fallback) : fallback;
}

bool HasArgument(const SkinPlatform& p, std::string_view lower) {
  for (const std::string& a : p.CommandLineArguments()) {
    std::string l = a;
    for (char& c : l) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    if (l == lower) return true;
  }
  return false;
}

}  // namespace

void ReadGlobals(SkinTables& t, const SkinText& text, const BuildSettings& settings,
                 const BuildEnvironment& env) {
  const SkinSection* g = text.FindSection("GLOBALINFO");
  TsSkinData& d = t.SkinData;
  const std::string path = d.SkinPath;
  const bool active = d.Active;
  d = TsSkinData{};
  d.SkinPath = path;
  d.Active = active;
  if (g != nullptr) {
    if (auto v = g->Find("VERSION")) d.Version = ParseReal(*v).value_or(0);
    if (auto v = g->Find("AUTHOR")) d.Author = std::string(*v);
    if (auto v = g->Find("DESCRIPTION")) d.Description = std::string(*v);
  }
  d.Shadow1Color = PlainInt(g, "SHADOW1COLOR", 0);
  d.Shadow1Offset = StrictI16(g, "SHADOW1OFFSET", "0");
  d.Shadow1Blur = StrictI16(g, "SHADOW1BLUR", "-1");
  d.Shadow1Transparency = StrictI16(g, "SHADOW1TRANSPARENCY", "0");
  d.ExtBorderWidth = I16(PlainInt(g, "BORDERWIDTH", 4));
  d.ExtTitleHeight = I16(PlainInt(g, "TITLEHEIGHT", 30));
  d.ExtMaxHeight = I16(PlainInt(g, "MAXHEIGHT", 0));
  if (d.ExtMaxHeight == 0) d.ExtMaxHeight = d.ExtTitleHeight;
  d.ExtFormOffset = I16(PlainInt(g, "FORMOFFSET", env.platform.SizingFrameWidth()));
  d.ExtAlignOffset = I16(PlainInt(g, "ALIGNOFFSET", 0));
  d.ExtCenterOffset = I16(PlainInt(g, "CENTEROFFSET", 0));
  d.ExtBorderMode = I16(PlainInt(g, "BORDERMODE", 0));
  d.BorderColor = PlainInt(g, "BORDERCOLOR", 0);
  d.IconSpacing = I16(PlainInt(g, "BISPACE", 0));
  d.IconVAlign = I16(PlainInt(g, "BIVALIGN", 0));
  d.IconRight = I16(PlainInt(g, "BIRIGHT", 0));
  d.IconLeft = I16(PlainInt(g, "BILEFT", 0));
  d.IconTop = I16(PlainInt(g, "BITOP", 0));
  d.IconKeepHue = I16(PlainInt(g, "BIKEEPHUE", 0));
  d.CloseGlow = StrictI16(g, "BICONCLOSEGLOW", "0");
  d.CloseGlowMargin = StrictI16(g, "BICONCLOSEGLOWMARGIN", "0");
  d.MaxGlow = StrictI16(g, "BICONMAXGLOW", "0");
  d.MaxGlowMargin = StrictI16(g, "BICONMAXGLOWMARGIN", "0");
  d.MinGlow = StrictI16(g, "BICONMINGLOW", "0");
  d.MinGlowMargin = StrictI16(g, "BICONMINGLOWMARGIN", "0");

  // Version notices.
  if (d.Version >= 7 && d.Version > 7.99) {
    env.platform.ShowMessage(
        "This version of the skin have not complete support by used LumoControls package "
        "release.\r\nComponents must be updated up to latest version for using this skin.");
  } else if (d.Version < 7 && (env.platform.DesignMode() || HasArgument(env.platform, "/lctest"))) {
    env.platform.ShowMessage(
        "You are using an old version of the \"" + settings.skinName +
        "\" skin. Please, update a skins to latest or link with the LumoControls support for "
        "upgrading of existing skin.\r\n\r\nThis notification occurs in design-time only for "
        "your information and will not occur in real-time.");
  }
}

void BuildSections(SkinTables& t, const SkinText& text) {
  t.Sections.clear();
  if (text.Sections().size() > static_cast<std::size_t>(SkinTables::kMaxSections)) {
    throw SkinError("The skin has too many sections");
  }
  t.Sections.reserve(text.Sections().size());
  for (const SkinSection& s : text.Sections()) {
    InheritingReader reader(text, s);
    const FieldSource src = reader.Source();
    TsGeneralData g;
    g.SectionName = s.name;
    if (auto p = s.Find("PARENTCLASS")) g.ParentClass = std::string(*p);
    ReadNormalFields(g, src);
    Set(g.States, src.Int("STATES"));
    if (g.States < 2) {
      ClearHotFields(g);
    } else {
      ReadHotFields(g, src);
    }
    ForceGradientPercents(g);
    g.FillProps();
    t.Sections.push_back(std::move(g));
  }
}

void MergeCommonSections(SkinTables& t, const SkinText& common) {
  for (const SkinSection& cs : common.Sections()) {
    const FieldSource src = PlainSource(cs);
    int index = t.FindSection(cs.name);
    if (index < 0) {
      if (t.Sections.size() >= static_cast<std::size_t>(SkinTables::kMaxSections)) {
        throw SkinError("The skin has too many sections");
      }
      const std::string parent = UpperAscii(cs.Find("PARENTCLASS").value_or("-1"));
      const TsGeneralData* from = nullptr;
      for (const TsGeneralData& g : t.Sections) {
        if (UpperAscii(g.SectionName) == parent) {
          from = &g;
          break;
        }
      }
      TsGeneralData g;
      if (from != nullptr) {
        g = DetachedCopy(*from);
      } else {
        g.States = 3;
      }
      g.SectionName = cs.name;
      t.Sections.push_back(std::move(g));
      index = static_cast<int>(t.Sections.size()) - 1;
    }
    TsGeneralData& g = t.Sections[static_cast<std::size_t>(index)];
    if (auto p = src.Text("PARENTCLASS")) g.ParentClass = *p;
    ReadNormalFields(g, src);
    Set(g.States, src.Int("STATES"));
    ReadHotFields(g, src);
    ForceGradientPercents(g);
    g.FillProps();
  }
}

namespace {

// The look-ups of SkinTables::FindImage and FindTexture prepared for resolving every section's
// indices at once: the images of each section name in table order (the images of a section are
// made one after another, so a name is hashed once per run), and the first section of each name.
// The views point into the tables, which stay as they are while the indices are resolved.
class ImageLookup {
 public:
  explicit ImageLookup(const SkinTables& t) : t_(t) {
    for (std::size_t i = 0; i < t.Sections.size(); ++i)
      sections_.emplace(t.Sections[i].SectionName, static_cast<int>(i));
    std::vector<int>* run = nullptr;
    std::string_view runName;
    for (std::size_t i = 0; i < t.Images.size(); ++i) {
      const std::string& section = t.Images[i].Section;
      if (run == nullptr || section != runName) {
        run = &images_[section];
        runName = section;
      }
      run->push_back(static_cast<int>(i));
    }
  }

  // As FindImage (textures false) and FindTexture (true): up the parent chain, at most as many
  // steps as there are sections.
  int Find(bool textures, int sectionIndex, std::string_view section, std::string_view key) const {
    for (std::size_t depth = 0; depth <= t_.Sections.size(); ++depth) {
      if (sectionIndex < 0 || section.empty()) return -1;
      if (const auto it = images_.find(section); it != images_.end()) {
        for (const int i : it->second) {
          const TsMaskData& m = t_.Images[static_cast<std::size_t>(i)];
          if ((!textures || m.ImageKind == 1) && m.Key == key) return i;
        }
      }
      if (static_cast<std::size_t>(sectionIndex) >= t_.Sections.size()) return -1;
      const std::string& parent = t_.Sections[static_cast<std::size_t>(sectionIndex)].ParentClass;
      if (parent.empty() || parent == section) return -1;
      const auto p = sections_.find(std::string_view(parent));
      if (p == sections_.end()) return -1;
      sectionIndex = p->second;
      section = t_.Sections[static_cast<std::size_t>(sectionIndex)].SectionName;
    }
    return -1;
  }

 private:
  const SkinTables& t_;
  std::unordered_map<std::string_view, int> sections_;
  std::unordered_map<std::string_view, std::vector<int>> images_;
};

}  // namespace

void ResolveIndices(SkinTables& t) {
  static constexpr const char* kCorners[4] = {"IMGTOPLEFT", "IMGTOPRIGHT", "IMGBTMLEFT",
                                              "IMGBTMRIGHT"};
  const ImageLookup lookup(t);
  for (std::size_t i = 0; i < t.Sections.size(); ++i) {
    TsGeneralData& g = t.Sections[i];
    if (g.SectionName == "GLOBALINFO") continue;
    const int si = static_cast<int>(i);
    g.MaskIndex = lookup.Find(false, si, g.SectionName, "BORDERSMASK");
    for (int c = 0; c < 4; ++c) {
      g.CornerIndex[static_cast<std::size_t>(c)] =
          lookup.Find(false, si, g.SectionName, kCorners[c]);
    }
    g.TextureIndex = lookup.Find(true, si, g.SectionName, "PATTERN");
  }
}

namespace {

void ShiftColor(TColor& c, const std::function<TColor(TColor)>& f) { c = f(c); }
void ShiftUnlessNone(TColor& c, const std::function<TColor(TColor)>& f) {
  if (c != -1) c = f(c);
}

// Applies `f` to every colour that hue and saturation changes reach.
void ShiftAllColors(SkinTables& t, const std::function<TColor(TColor)>& f) {
  for (TsGeneralData& g : t.Sections) {
    ShiftColor(g.Color, f);
    ShiftColor(g.HotColor, f);
    ShiftColor(g.GlowColor, f);
    ShiftColor(g.HotGlowColor, f);
    for (TColor& c : g.FontColors) ShiftUnlessNone(c, f);
    for (TColor& c : g.HotFontColors) ShiftUnlessNone(c, f);
    // Gradient arrays are shared with the Props entries: shifting them here shifts both.
    for (const TsGradArray* grad : {&g.Gradient, &g.HotGradient}) {
      if (!*grad) continue;
      for (GradientStop& s : **grad) {
        s.Color1 = f(s.Color1);
        s.Color2 = f(s.Color2);
      }
    }
    for (TsGenState& p : g.Props) {
      ShiftUnlessNone(p.Color, f);
      for (TColor& c : p.FontColors) ShiftUnlessNone(c, f);
      ShiftUnlessNone(p.GlowColor, f);
    }
  }
  ShiftColor(t.SkinData.Shadow1Color, f);
  ShiftColor(t.SkinData.BorderColor, f);
}

// Pixels of `r` (clipped to the bitmap) copied out of / back into a 32-bit bitmap.
struct SavedPiece {
  graphics::Rect rect;
  std::vector<std::uint32_t> pixels;
};

SavedPiece SavePiece(const graphics::Bitmap& b, graphics::Rect r) {
  SavedPiece p{r.intersect(b.Bounds()), {}};
  for (int y = p.rect.top; y < p.rect.bottom; ++y) {
    const std::uint32_t* row = b.Row32(y);
    p.pixels.insert(p.pixels.end(), row + p.rect.left, row + p.rect.right);
  }
  return p;
}

void RestorePiece(graphics::Bitmap& b, const SavedPiece& p) {
  std::size_t i = 0;
  for (int y = p.rect.top; y < p.rect.bottom; ++y) {
    std::uint32_t* row = b.Row32(y);
    for (int x = p.rect.left; x < p.rect.right; ++x) row[x] = p.pixels[i++];
  }
}

}  // namespace

void ChangeHueAndSaturation(SkinTables& t, int hueOffset, int saturation) {
  if (hueOffset != 0) {
    std::vector<bool> kept(t.Images.size(), false);
    std::vector<SavedPiece> pieces;
    const int gi = t.FindSection("GLOBALINFO");
    if (t.SkinData.IconKeepHue != 0 && gi >= 0) {
      std::vector<std::string> keys = {"BICONCLOSE", "SICONCLOSE"};
      if (t.SkinData.IconKeepHue == 1) {
        for (const char* k : {"BICONMAX", "BICONMIN", "BICONNORM", "BICONHELP", "SICONMAX",
                              "SICONMIN", "SICONNORM"}) {
          keys.emplace_back(k);
        }
      }
      for (const std::string& key : keys) {
        const int i = t.FindImage(gi, "GLOBALINFO", key);
        if (i < 0) continue;
        const TsMaskData& m = t.Images[static_cast<std::size_t>(i)];
        if (!m.Image) {
          if (!t.MasterBitmap.Empty()) pieces.push_back(SavePiece(t.MasterBitmap, m.Rect));
          continue;
        }
        kept[static_cast<std::size_t>(i)] = true;
        const int glow = t.FindImage(gi, "GLOBALINFO", key + "GLOW0");
        if (glow >= 0 && t.Images[static_cast<std::size_t>(glow)].Image) {
          kept[static_cast<std::size_t>(glow)] = true;
        }
      }
    }
    if (!t.MasterBitmap.Empty()) graphics::ChangeBitmapHue(&t.MasterBitmap, hueOffset);
    for (const SavedPiece& p : pieces) RestorePiece(t.MasterBitmap, p);
    // One picture may back several images only through the master bitmap, never through Image.
    for (std::size_t i = 0; i < t.Images.size(); ++i) {
      if (t.Images[i].Image && !kept[i])
        graphics::ChangeBitmapHue(t.Images[i].Image.get(), hueOffset);
    }
    ShiftAllColors(t, [hueOffset](TColor c) { return graphics::ChangeHue(c, hueOffset); });
  }
  const int s = saturation % 101;
  if (s != 0) {
    if (!t.MasterBitmap.Empty()) graphics::ChangeBitmapSaturation(&t.MasterBitmap, s);
    for (TsMaskData& m : t.Images) {
      if (m.Image) graphics::ChangeBitmapSaturation(m.Image.get(), s);
    }
    ShiftAllColors(t, [s](TColor c) { return graphics::ChangeSaturation(c, s); });
  }
}

}  // namespace sapala::skin::detail
