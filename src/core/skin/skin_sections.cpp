// Building the global values and the section table from the skin text: reading with
// inheritance through "PARENTCLASS", the common-sections merge, the mask and texture indices, and
// the hue and saturation change applied after every load.
#include <algorithm>
#include <array>
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

// The keys a section record is read from. A section's keys are sorted into these slots once,
// and every field read (and every step of inheritance) is then an array look-up.
enum RecordKey : std::uint8_t {
  kParentClass,
  kColor,
  kGiveOwnFont,
  kReservedBoolean,
  kGlow,
  kGlowMargin,
  kFontColor,
  kTcLeft,
  kTcTop,
  kTcRight,
  kTcBottom,
  kTransparency,
  kGradientPercent,
  kImagePercent,
  kGradientData,
  kShowFocus,
  kFadingEnabled,
  kFadingIterations,
  kGlowColorKey,
  kGlowSizeKey,
  kStates,
  kHotColor,
  kHotTransparency,
  kHotGradientPercent,
  kHotGradientData,
  kHotImagePercent,
  kHotFontColor,
  kHotTcLeft,
  kHotTcTop,
  kHotTcRight,
  kHotTcBottom,
  kHotGlowColorKey,
  kHotGlowSizeKey,
  kRecordKeyCount
};

constexpr std::string_view kRecordKeyNames[kRecordKeyCount] = {"PARENTCLASS",
                                                               "COLOR",
                                                               "GIVEOWNFONT",
                                                               "RESERVEDBOOLEAN",
                                                               "GLOW",
                                                               "GLOWMARGIN",
                                                               "FONTCOLOR",
                                                               "TCLEFT",
                                                               "TCTOP",
                                                               "TCRIGHT",
                                                               "TCBOTTOM",
                                                               "TRANSPARENCY",
                                                               "GRADIENTPERCENT",
                                                               "IMAGEPERCENT",
                                                               "GRADIENTDATA",
                                                               "SHOWFOCUS",
                                                               "FADINGENABLED",
                                                               "FADINGITERATIONS",
                                                               "GCOL",
                                                               "GSIZE",
                                                               "STATES",
                                                               "HOTCOLOR",
                                                               "HOTTRANSPARENCY",
                                                               "HOTGRADIENTPERCENT",
                                                               "HOTGRADIENTDATA",
                                                               "HOTIMAGEPERCENT",
                                                               "HOTFONTCOLOR",
                                                               "HOTTCLEFT",
                                                               "HOTTCTOP",
                                                               "HOTTCRIGHT",
                                                               "HOTTCBOTTOM",
                                                               "HGCOL",
                                                               "HGSIZE"};

// The values of the record keys of one section: the first occurrence of each, as Find gives.
class RecordKeys {
 public:
  explicit RecordKeys(const SkinSection& s) {
    static const std::unordered_map<std::string_view, RecordKey> kIds = [] {
      std::unordered_map<std::string_view, RecordKey> ids;
      for (std::uint8_t i = 0; i < kRecordKeyCount; ++i)
        ids.emplace(kRecordKeyNames[i], static_cast<RecordKey>(i));
      return ids;
    }();
    for (const SkinKey& k : s.keys) {
      // Record keys are 4 to 18 characters long; most others are passed over unhashed.
      if (k.name.size() < 4 || k.name.size() > 18) continue;
      const auto it = kIds.find(k.name);
      if (it == kIds.end() || Has(it->second)) continue;
      present_ |= std::uint64_t{1} << it->second;
      values_[it->second] = k.value;
    }
  }

  bool Has(RecordKey k) const { return (present_ >> k & 1) != 0; }
  // The value of `k`; nullopt when the section has no such key.
  std::optional<std::string_view> Find(RecordKey k) const {
    if (!Has(k)) return std::nullopt;
    return values_[k];
  }

 private:
  std::array<std::string_view, kRecordKeyCount> values_{};
  std::uint64_t present_ = 0;
};

// Where the fields of a section record come from: integers (already through ColorToRGB) and texts,
// nullopt when the key gives nothing (so the field keeps its starting value).
class FieldSource {
 public:
  virtual std::optional<std::int32_t> Int(RecordKey key) const = 0;
  virtual std::optional<std::string_view> Text(RecordKey key) const = 0;

  std::optional<bool> Bool(RecordKey key) const {
    auto t = Text(key);
    if (!t) return std::nullopt;
    return *t == "1" || EqualsUpperAscii(*t, "TRUE");
  }

 protected:
  ~FieldSource() = default;
};

// Reading a section of the skin text with inheritance. Integers: -1 (absent or malformed) asks
// the parent named by "PARENTCLASS" (unless "?" or the section itself), and so on up the chain;
// texts: "?" or absence asks the parent. The chain is cut after as many steps as there are
// sections, so a cycle of sections naming each other ends. `keys` holds the record keys of every
// section of `text`, by position.
class InheritingReader final : public FieldSource {
 public:
  // The chain is found once: every field of the section walks it.
  InheritingReader(const SkinText& text, const std::vector<RecordKeys>& keys, std::size_t index) {
    const std::size_t limit = text.Sections().size();
    const SkinSection* first = text.Sections().data();
    const SkinSection* s = first + index;
    for (std::size_t depth = 0; s != nullptr && depth <= limit; ++depth) {
      const RecordKeys& k = keys[static_cast<std::size_t>(s - first)];
      chain_.push_back(&k);
      auto parent = k.Find(kParentClass);
      if (!parent || *parent == "?" || *parent == s->name) break;
      s = text.FindSection(*parent);
    }
  }

  std::optional<std::int32_t> Int(RecordKey key) const override {
    for (const RecordKeys* s : chain_) {
      auto v = s->Find(key);
      const std::int32_t n = v ? StrToIntDef(*v, -1) : -1;
      if (n != -1) return ColorToRGB(n);
    }
    return std::nullopt;
  }

  std::optional<std::string_view> Text(RecordKey key) const override {
    for (const RecordKeys* s : chain_) {
      auto v = s->Find(key);
      if (v && *v != "?") return v;
    }
    return std::nullopt;
  }

 private:
  std::vector<const RecordKeys*> chain_;  // the section, its parent, and so on up
};

// Reading one common section without inheritance: a present key replaces the starting value,
// and a key written as -1 sets -1 (a common section may take away an outline colour or a
// parent's value); a malformed value is ignored.
class PlainSource final : public FieldSource {
 public:
  explicit PlainSource(const SkinSection& s) : keys_(s) {}

  std::optional<std::int32_t> Int(RecordKey key) const override {
    auto v = keys_.Find(key);
    if (!v) return std::nullopt;
    const std::optional<std::int32_t> n = ParseInt(TrimBlanks(*v));
    if (!n) return std::nullopt;
    if (*n == -1) return -1;
    return ColorToRGB(*n);
  }

  std::optional<std::string_view> Text(RecordKey key) const override {
    auto v = keys_.Find(key);
    if (!v || *v == "?") return std::nullopt;
    return v;
  }

 private:
  RecordKeys keys_;
};

template <class T>
void Set(T& field, const std::optional<std::int32_t>& v) {
  if (v) field = static_cast<T>(*v);
}

void ReadFontColors(FontColorArray& colors, const FieldSource& src, const RecordKey keys[5]) {
  for (int i = 0; i < 5; ++i) Set(colors[static_cast<std::size_t>(i)], src.Int(keys[i]));
}

constexpr RecordKey kFontKeys[5] = {kFontColor, kTcLeft, kTcTop, kTcRight, kTcBottom};
constexpr RecordKey kHotFontKeys[5] = {kHotFontColor, kHotTcLeft, kHotTcTop, kHotTcRight,
                                       kHotTcBottom};

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
  Set(g.HotColor, src.Int(kHotColor));
  Set(g.HotTransparency, src.Int(kHotTransparency));
  Set(g.HotGradientPercent, src.Int(kHotGradientPercent));
  if (auto t = src.Text(kHotGradientData)) {
    g.HotGradientData = std::string(*t);
    g.HotGradient = ParseGradient(g.HotGradientData);
  }
  Set(g.HotImagePercent, src.Int(kHotImagePercent));
  ReadFontColors(g.HotFontColors, src, kHotFontKeys);
  Set(g.HotGlowColor, src.Int(kHotGlowColorKey));
  Set(g.HotGlowSize, src.Int(kHotGlowSizeKey));
}

// The normal-state fields and flags of a section, in the order the table is built.
void ReadNormalFields(TsGeneralData& g, const FieldSource& src) {
  Set(g.Color, src.Int(kColor));
  if (auto b = src.Bool(kGiveOwnFont)) g.GiveOwnFont = *b;
  if (auto b = src.Bool(kReservedBoolean)) g.ReservedBoolean = *b;
  Set(g.Glow, src.Int(kGlow));
  Set(g.GlowMargin, src.Int(kGlowMargin));
  ReadFontColors(g.FontColors, src, kFontKeys);
  Set(g.Transparency, src.Int(kTransparency));
  Set(g.GradientPercent, src.Int(kGradientPercent));
  Set(g.ImagePercent, src.Int(kImagePercent));
  if (auto t = src.Text(kGradientData)) {
    g.GradientData = std::string(*t);
    g.Gradient = ParseGradient(g.GradientData);
  }
  if (auto b = src.Bool(kShowFocus)) g.ShowFocus = *b;
  if (auto b = src.Bool(kFadingEnabled)) g.FadingEnabled = *b;
  Set(g.FadingIterations, src.Int(kFadingIterations));
  Set(g.GlowColor, src.Int(kGlowColorKey));
  Set(g.GlowSize, src.Int(kGlowSizeKey));
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
  std::vector<RecordKeys> keys;
  keys.reserve(text.Sections().size());
  for (const SkinSection& s : text.Sections()) keys.emplace_back(s);
  for (std::size_t i = 0; i < text.Sections().size(); ++i) {
    const SkinSection& s = text.Sections()[i];
    const InheritingReader src(text, keys, i);
    TsGeneralData g;
    g.SectionName = s.name;
    if (auto p = keys[i].Find(kParentClass)) g.ParentClass = std::string(*p);
    ReadNormalFields(g, src);
    Set(g.States, src.Int(kStates));
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
    const PlainSource src(cs);
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
    if (auto p = src.Text(kParentClass)) g.ParentClass = std::string(*p);
    ReadNormalFields(g, src);
    Set(g.States, src.Int(kStates));
    ReadHotFields(g, src);
    ForceGradientPercents(g);
    g.FillProps();
  }
}

ImageLookup::ImageLookup(const SkinTables& t) : t_(t) {
  names_.reserve(t.Sections.size() + 16);
  for (std::size_t i = 0; i < t.Sections.size(); ++i) {
    Name& n = names_[t.Sections[i].SectionName];
    if (n.section < 0) n.section = static_cast<int>(i);
  }
  // The images grouped by section name, each group in table order: counted, then placed.
  Name* run = nullptr;
  std::string_view runName;
  for (const TsMaskData& m : t.Images) {
    if (run == nullptr || m.Section != runName) {
      run = &names_[m.Section];
      runName = m.Section;
    }
    ++run->count;
  }
  int next = 0;
  for (auto& [name, n] : names_) {
    n.first = next;
    next += n.count;
    n.count = 0;
  }
  order_.resize(t.Images.size());
  run = nullptr;
  for (std::size_t i = 0; i < t.Images.size(); ++i) {
    const std::string& section = t.Images[i].Section;
    if (run == nullptr || section != runName) {
      run = &names_.find(std::string_view(section))->second;
      runName = section;
    }
    order_[static_cast<std::size_t>(run->first + run->count++)] = static_cast<int>(i);
  }
  // Each section's own images and its parent's index, for walking parent chains unhashed.
  bySection_.resize(t.Sections.size());
  for (std::size_t i = 0; i < t.Sections.size(); ++i) {
    const TsGeneralData& g = t.Sections[i];
    const Name& n = names_.find(std::string_view(g.SectionName))->second;
    const std::string& parent = g.ParentClass;
    const int p = parent.empty() || parent == g.SectionName ? -1 : FindSection(parent);
    bySection_[i] = Section{n.first, n.count, p};
  }
}

std::span<const int> ImageLookup::ImagesOf(std::string_view section) const {
  const auto it = names_.find(section);
  if (it == names_.end()) return {};
  return std::span<const int>(order_).subspan(static_cast<std::size_t>(it->second.first),
                                              static_cast<std::size_t>(it->second.count));
}

int ImageLookup::FindSection(std::string_view name) const {
  const auto it = names_.find(name);
  return it == names_.end() ? -1 : it->second.section;
}

int ImageLookup::FindExact(std::string_view section, std::string_view key) const {
  for (const int i : ImagesOf(section)) {
    if (t_.Images[static_cast<std::size_t>(i)].Key == key) return i;
  }
  return -1;
}

int ImageLookup::Find(bool textures, int sectionIndex, std::string_view section,
                      std::string_view key) const {
  for (std::size_t depth = 0; depth <= t_.Sections.size(); ++depth) {
    if (sectionIndex < 0 || section.empty()) return -1;
    const auto index = static_cast<std::size_t>(sectionIndex);
    // The section's own name (as every step up the chain gives): its images are at hand.
    const bool own = index < bySection_.size() && t_.Sections[index].SectionName == section;
    const std::span<const int> images = own ? std::span<const int>(order_).subspan(
                                                  static_cast<std::size_t>(bySection_[index].first),
                                                  static_cast<std::size_t>(bySection_[index].count))
                                            : ImagesOf(section);
    for (const int i : images) {
      const TsMaskData& m = t_.Images[static_cast<std::size_t>(i)];
      if ((!textures || m.ImageKind == 1) && m.Key == key) return i;
    }
    if (index >= t_.Sections.size()) return -1;
    const std::string& parent = t_.Sections[index].ParentClass;
    if (parent.empty() || parent == section) return -1;
    sectionIndex = own ? bySection_[index].parent : FindSection(parent);
    if (sectionIndex < 0) return -1;
    section = t_.Sections[static_cast<std::size_t>(sectionIndex)].SectionName;
  }
  return -1;
}

void ResolveIndices(SkinTables& t, const ImageLookup& lookup) {
  static constexpr const char* kCorners[4] = {"IMGTOPLEFT", "IMGTOPRIGHT", "IMGBTMLEFT",
                                              "IMGBTMRIGHT"};
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
