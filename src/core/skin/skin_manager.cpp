// The window-free part of the skin manager; see skin_manager.h.
#include "core/skin/skin_manager.h"

#include <algorithm>
#include <exception>

#include "core/skin/file_system.h"
#include "core/skin/skin_error.h"
#include "core/skin/skin_pack.h"
#include "core/skin/skin_platform.h"
#include "core/skin/skin_text.h"
#include "core/skin/skin_values.h"

namespace sapala::skin {

SkinManagerCore* SkinManagerCore::defaultManager_ = nullptr;
bool SkinManagerCore::skinLoading_ = false;
bool SkinManagerCore::skinChanging_ = false;
std::string SkinManagerCore::repaintSection_;
bool SkinManagerCore::repaintPending_ = false;

namespace {

bool StartsWith(const std::string& s, std::string_view p) {
  return s.size() >= p.size() && std::string_view(s).substr(0, p.size()) == p;
}

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// Sets a flag for the length of a scope and restores its previous value.
class FlagScope {
 public:
  FlagScope(bool& flag, bool value) : flag_(flag), old_(flag) { flag_ = value; }
  ~FlagScope() { flag_ = old_; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
  bool old_;
};

}  // namespace

SkinManagerCore::SkinManagerCore(const FileSystem& fs, SkinPlatform& platform,
                                 SkinManagerHost& host, const GlowPlatform* glow,
                                 const BuiltInShadows* shadows)
    : Effects(glow), fs_(fs), platform_(platform), host_(host), glow_(glow), shadows_(shadows) {
  if (defaultManager_ == nullptr) defaultManager_ = this;
  ClassLists.LoadFrom(ThirdParty);
  skinDirectory_ = kDefaultSkinDirectory;
  Tables.SkinData.SkinPath = FolderPart(ResolvedSkinDirectory());
}

SkinManagerCore::~SkinManagerCore() {
  try {
    if (active_) {
      active_ = false;
      RemoveSkin();
    }
  } catch (...) {
    // A host failing while windows go away must not end the program from a destructor.
  }
  if (defaultManager_ == this) defaultManager_ = nullptr;
  ClassLists.StoreTo(ThirdParty);
}

void SkinManagerCore::StartUp(SkinPlatform& platform) {
  for (const std::string& a : platform.CommandLineArguments()) {
    if (LowerAscii(a) == "/lcver") {
      platform.ShowMessage(std::string("LumoControls v") + kVersion);
      return;
    }
  }
}

// --- Folder rules ---

std::string SkinManagerCore::ResolvedSkinDirectory() const {
  const std::string& s = skinDirectory_;
  if (StartsWith(s, "..")) {
    std::string parent = platform_.ProgramFolder();
    if (!parent.empty() && (parent.back() == '\\' || parent.back() == '/')) parent.pop_back();
    while (!parent.empty() && parent.back() != '\\' && parent.back() != '/') parent.pop_back();
    return parent + (s.size() > 3 ? s.substr(3) : std::string());
  }
  if (StartsWith(s, ".\\") || StartsWith(s, "./")) return platform_.ProgramFolder() + s.substr(2);
  if (s.find(':') == std::string::npos && s.find("\\\\") == std::string::npos) {
    return platform_.ProgramFolder() + s;
  }
  return s;
}

std::string SkinManagerCore::FolderPart(const std::string& dir) {
  if (!dir.empty() && dir.back() == '\\') return dir;
  if (!dir.empty() && dir.back() == '/') return dir.substr(0, dir.size() - 1) + "\\";
  if (dir.size() == 1) return dir + ":\\";
  return dir + "\\";
}

// --- Setters ---

void SkinManagerCore::SetSkinDirectory(const std::string& dir) {
  if (dir == skinDirectory_) return;
  skinDirectory_ = dir;
  Tables.SkinData.SkinPath = FolderPart(ResolvedSkinDirectory());
}

void SkinManagerCore::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  if (value) {
    SetSkinName(skinName_);
  } else if (!host_.FormLoading()) {
    RemoveSkin();
    Tables.RefreshStdCache();
  }
}

void SkinManagerCore::SetSkinName(const std::string& name) {
  const std::string old = skinName_;
  skinName_ = name;
  if (!active_) return;
  if (OnBeforeChange) OnBeforeChange();
  if (ExtendedBordersInEffect() && !Updating && AnimEffects.SkinChanging.Active) {
    host_.SnapshotForms();
  }
  {
    FlagScope loading(skinLoading_, true);
    Tables.SkinData.Active = false;
    std::string shortName = skinName_;
    if (shortName.size() > 4 && UpperAscii(shortName.substr(shortName.size() - 4)) == ".LSZ") {
      shortName.resize(shortName.size() - 4);
      skinName_ = shortName;
    }
    const std::string folder = FolderPart(skinDirectory_);
    const std::string packedFile = folder + skinName_ + ".lsz";
    bool packed;
    if (PreviewText) {
      packed = !fs_.DirectoryExists(folder + name) && fs_.FileExists(packedFile);
    } else {
      packed = fs_.FileExists(packedFile);
    }
    bool found = true;
    try {
      if (packed) {
        LoadPacked();
      } else {
        found = LoadFolderOrStored();
      }
    } catch (const std::exception& e) {
      skinName_ = old;
      platform_.ShowError(e.what());
    }
    if (!found) {
      LoseSkin();
    } else if (!Updating) {
      ApplySkin(true);
    }
  }
  if (OnAfterChange) OnAfterChange();
}

void SkinManagerCore::SetHueOffset(int value) {
  if (value == hueOffset_) return;
  hueOffset_ = value;
  if (active_ && !host_.FormLoading()) Reload();
}

void SkinManagerCore::SetSaturation(int value) {
  if (value == saturation_) return;
  saturation_ = value;
  if (active_ && !host_.FormLoading()) Reload();
}

void SkinManagerCore::SetExtendedBorders(bool value) {
  if (value == extendedBorders_) return;
  extendedBorders_ = value;
  if (Tables.SkinData.Active && !host_.FormLoading()) {
    Reload();
  } else {
    Tables.BuildExtBorders(ExtendedBordersInEffect() && active_, platform_, shadows_);
  }
}

void SkinManagerCore::SetCommonSections(const std::vector<std::string>& lines) {
  commonSections_.clear();
  for (const std::string& line : lines) {
    if (line.empty() || line.front() == ';') {
      commonSections_.push_back(line);
      continue;
    }
    std::string stripped;
    for (char c : line) {
      if (c != ' ') stripped.push_back(c);
    }
    commonSections_.push_back(std::move(stripped));
  }
  SetSkinName(skinName_);
}

void SkinManagerCore::SetIsDefault(bool value) {
  if (!value && defaultManager_ != nullptr) return;
  defaultManager_ = this;
  if (active_) {
    ApplySkin(false);
  } else {
    RemoveSkin();
  }
}

bool SkinManagerCore::ExtendedBordersInEffect() const {
  return extendedBorders_ && glow_ != nullptr && glow_->LayeredWindowsAvailable();
}

// --- Loading ---

bool SkinManagerCore::ReloadTables() {
  FlagScope loading(skinLoading_, true);
  try {
    if (fs_.FileExists(FolderPart(skinDirectory_) + skinName_ + ".lsz")) {
      LoadPacked();
      return true;
    }
    return LoadFolderOrStored();
  } catch (const std::exception& e) {
    platform_.ShowError(e.what());
  }
  return true;
}

void SkinManagerCore::Reload() {
  const bool found = ReloadTables();
  if (!found) {
    // The skin's files went away since it was loaded: the old tables must not stay in use.
    LoseSkin();
    return;
  }
  if (!Updating && !host_.FormLoading()) host_.RepaintAll(false, false);
}

void SkinManagerCore::LoseSkin() {
  if (active_) {
    SetActive(false);
  }
  if (host_.FormLoading()) {
    // The setter leaves removal to Loaded while the form is read; nothing was applied to any
    // window yet, but no index may point into tables of a skin that is gone.
    Tables.Clear();
    Tables.RefreshStdCache();
  }
}

void SkinManagerCore::BuildTables(const SkinText* text, TlcSkinConvertor* packed) {
  SkinText common;
  bool hasCommon = false;
  if (!commonSections_.empty()) {
    std::string joined;
    for (const std::string& l : commonSections_) {
      joined += l;
      joined += '\n';
    }
    common = SkinText::Parse(joined);
    hasCommon = !common.Empty();
  }
  SkinSource src;
  src.text = text;
  src.packed = packed;
  src.skinPath = Tables.SkinData.SkinPath;
  BuildSettings settings;
  settings.skinName = skinName_;
  settings.commonSections = hasCommon ? &common : nullptr;
  settings.hueOffset = hueOffset_;
  settings.saturation = saturation_;
  settings.extendedBorders = ExtendedBordersInEffect();
  settings.active = active_;
  Tables.Build(src, settings, BuildEnvironment{fs_, platform_, shadows_});
  tablesBuilt_ = true;
  builtHue_ = hueOffset_;
  builtSaturation_ = saturation_;
}

void SkinManagerCore::LoadPacked() {
  if (!active_) return;
  FlagScope loading(skinLoading_, true);
  TlcSkinConvertor pack;
  pack.ReadPackedFile(fs_, FolderPart(skinDirectory_) + skinName_ + ".lsz");
  isPacked_ = true;
  const SkinText text = SkinText::Parse(pack.SkinText());
  Tables.SkinData.SkinPath = FolderPart(ResolvedSkinDirectory());
  BuildTables(&text, &pack);
  // The text and the packed contents go out of scope here.
}

bool SkinManagerCore::LoadFolderOrStored() {
  if (!active_) return true;
  FlagScope loading(skinLoading_, true);
  Tables.SkinData.SkinPath = FolderPart(ResolvedSkinDirectory()) + skinName_ + "\\";
  const std::string skinFile = Tables.SkinData.SkinPath + "Options.dat";
  if (PreviewText) {
    isPacked_ = false;
    const SkinText text = SkinText::Parse(*PreviewText);
    BuildTables(&text, nullptr);
    return true;
  }
  if (fs_.FileExists(skinFile)) {
    isPacked_ = false;
    auto bytes = fs_.ReadFile(skinFile, SkinText::kMaxTextBytes);
    if (!bytes) throw SkinError("Cannot read skin file \"" + skinFile + "\"");
    const SkinText text = SkinText::Parse(
        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    BuildTables(&text, nullptr);
    return true;
  }
  Tables.SkinData.SkinPath.clear();
  const TsStoredSkin* stored = internalSkins_.Find(skinName_);
  if (stored == nullptr) {
    if (internalSkins_.Count() == 0) return false;  // the caller loses the skin, silently
    stored = &internalSkins_[0];
    skinName_ = stored->Name;
  }
  if (!stored->Data.empty()) {
    isPacked_ = true;
    TlcSkinConvertor pack;
    pack.ReadPacked(stored->Data);
    const SkinText text = SkinText::Parse(pack.SkinText());
    BuildTables(&text, &pack);
  } else {
    isPacked_ = false;
    BuildTables(nullptr, nullptr);
  }
  return true;
}

// --- Applying and removing ---

void SkinManagerCore::Loaded() {
  if (skinDirectory_.empty()) SetSkinDirectory(kDefaultSkinDirectory);
  if (MenuSupport.IcoLineSkin.empty()) MenuSupport.IcoLineSkin = "ICOLINE";
  ClassLists.LoadFrom(ThirdParty);
  if (!active_ || skinName_.empty()) return;
  // A description may set the hue or saturation after the skin's name, whose setter loaded the
  // tables at once: they are built again with the final values before the skin is applied.
  if (tablesBuilt_ && (builtHue_ != hueOffset_ || builtSaturation_ != saturation_) &&
      !ReloadTables()) {
    LoseSkin();
    return;
  }
  ApplySkin(false);
}

void SkinManagerCore::ApplySkin(bool animate) {
  if (host_.FormLoading()) return;
  host_.HideGlows();
  if (animate) host_.PrepareAnimation();
  host_.MenuSkinChanged();
  Tables.SkinData.Active = false;
  {
    FlagScope changing(skinChanging_, true);
    Tables.RefreshStdCache();
    host_.Broadcast(cmdNewSkin);
  }
  Tables.SkinData.Active = true;
  if (IsDefault() && !hooksInstalled_) {
    host_.InstallHooks();
    hooksInstalled_ = true;
  }
  if (animate) host_.RepaintAll(true, true);  // prepared above: once only
}

void SkinManagerCore::RemoveSkin() {
  {
    FlagScope removing(removing_, true);
    host_.HideGlows();
    if (IsDefault() && hooksInstalled_) {
      host_.UninstallHooks();
      hooksInstalled_ = false;
    }
    Tables.SkinData.Active = false;
    host_.AnnounceRemoveSkin();
    Tables.Clear();
  }
}

int SkinManagerCore::ApplyPreview(const SkinPreviewRecord& record) {
  Updating = true;
  PreviewText = record.text;
  SetSkinDirectory(record.folder);
  SetSkinName(record.name);
  Updating = false;
  ApplySkin(false);
  PreviewText.reset();
  return 1;
}

void SkinManagerCore::SetSkinnedPopups(bool value) {
  if (value == skinnedPopups_) return;
  skinnedPopups_ = value;
  if (value && IsDefault() && !platform_.DesignMode()) host_.RehookPopups();
}

void SkinManagerCore::RepaintSection(const std::string& sectionName) {
  repaintSection_ = UpperAscii(sectionName);
  repaintPending_ = true;
  host_.Broadcast(cmdRepaintSection);
  repaintSection_.clear();
}

void SkinManagerCore::NoteSystemCommand(unsigned code) {
  switch (code & 0xFFF0u) {
    case 0xF020u:
      lastSystemCommand_ = scMinimize;
      break;
    case 0xF120u:
      lastSystemCommand_ = scRestore;
      break;
    default:
      lastSystemCommand_ = scNone;
      break;
  }
}

// --- Queries ---

std::string SkinManagerCore::SkinInfo() const {
  if (!Tables.SkinData.Active) return "N/A";
  return FormatVersion(Tables.SkinData.Version);
}

std::string SkinManagerCore::CollectSkinNames(std::vector<std::string>& list, int kinds) const {
  list.clear();
  for (int i = 0; i < internalSkins_.Count(); ++i) list.push_back(internalSkins_[i].Name);
  const std::string dir = ResolvedSkinDirectory();
  if ((kinds == 0 || kinds == 1 || kinds == 2) && fs_.DirectoryExists(dir)) {
    const std::string folder = FolderPart(dir);
    for (const DirEntry& e : fs_.ListDirectory(dir)) {
      if (e.name.empty() || e.name.front() == '.') continue;
      if (e.isDirectory) {
        if ((kinds == 0 || kinds == 2) && fs_.FileExists(folder + e.name + "\\Options.dat")) {
          list.push_back(e.name);
        }
        continue;
      }
      const std::size_t dot = e.name.rfind('.');
      if (dot == std::string::npos || e.name.substr(dot) != ".lsz") continue;
      std::size_t start = e.name.find_first_not_of('.');
      std::size_t end = e.name.find('.', start);
      list.push_back(e.name.substr(start, end - start));
    }
  }
  const std::string first = list.empty() ? std::string() : list.front();
  std::stable_sort(list.begin(), list.end(), [](const std::string& a, const std::string& b) {
    return LowerAscii(a) < LowerAscii(b);
  });
  return first;
}

const TsGeneralData* SkinManagerCore::Section(const char* name) const {
  const int i = Tables.FindSection(name);
  return i < 0 ? nullptr : &Tables.Sections[static_cast<std::size_t>(i)];
}

TColor SkinManagerCore::LabelFontColor() const {
  for (const char* name : {"LABEL", "FORM"}) {
    if (const TsGeneralData* s = Section(name)) {
      const TColor c = s->FontColors[0];
      if (c != kNoColor && c != kFuchsia) return ColorToRGB(c);
    }
  }
  return kFuchsia;
}

TColor SkinManagerCore::FormColor() const {
  const TsGeneralData* g = Section("GLOBALINFO");
  return ColorToRGB(g != nullptr ? g->Color : graphics::clBtnFace);
}

TColor SkinManagerCore::FormFontColor() const {
  const TsGeneralData* g = Section("GLOBALINFO");
  return g != nullptr ? ColorToRGB(g->FontColors[0]) : kFuchsia;
}

TColor SkinManagerCore::FormHotColor() const {
  const TsGeneralData* g = Section("GLOBALINFO");
  return ColorToRGB(g != nullptr ? g->HotColor : graphics::clWindow);
}

TColor SkinManagerCore::EditFontColor() const {
  const TsGeneralData* g = Section("EDIT");
  return ColorToRGB(g != nullptr ? g->Props[0].FontColors[0] : graphics::clWindowText);
}

TColor SkinManagerCore::SelectionColor(bool hot) const {
  if (const TsGeneralData* s = Section("SELECTION")) {
    const TColor c = (hot && s->States > 1) ? s->Props[1].Color : s->Props[0].Color;
    if (c != -1 && c != kFuchsia) return ColorToRGB(c);
  }
  if (const TsGeneralData* m = Section("MENUITEM")) {
    const TColor c = m->HotColor;
    if (c != kFuchsia && c != kWhite && c != -1) return ColorToRGB(c);
  }
  return ColorToRGB(graphics::clHighlight);
}

TColor SkinManagerCore::SelectionFontColor(bool hot) const {
  if (const TsGeneralData* s = Section("SELECTION")) {
    const TColor c = (hot && s->States > 1) ? s->Props[1].FontColors[0] : s->Props[0].FontColors[0];
    if (c != -1 && c != kFuchsia) return ColorToRGB(c);
  }
  if (const TsGeneralData* m = Section("MENUITEM")) {
    const TColor c = m->HotFontColors[0];
    if (c != kFuchsia && c != -1) return ColorToRGB(c);
  }
  return ColorToRGB(graphics::clHighlightText);
}

}  // namespace sapala::skin
