// The part of the skin manager (`TsSkinManager`) that needs no window: its properties and their
// setters, finding a skin (packed file, folder or stored skin), the loading sequence, removing the
// skin, listing the available skins, the version text and the colour queries.
//
// Everything that touches windows — broadcasting SM_LUMOCMD, glows, hooks, animations, the
// repaint — is asked of a SkinManagerHost, which the Win32 manager implements (tests record the
// calls). Message boxes, the program's folder and command line, and system metrics come through
// SkinPlatform; files through FileSystem. All of it runs on the user-interface thread.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/skin/effects.h"
#include "core/skin/preview_record.h"
#include "core/skin/skin_tables.h"
#include "core/skin/stored_skins.h"

namespace sapala::skin {

class FileSystem;
class SkinPlatform;

// The commands the manager broadcasts (the WParam high word of SM_LUMOCMD).
enum SkinCommand : int {
  cmdNewSkin = 1,
  cmdRemoveSkin = 2,
  cmdRefresh = 3,
  cmdRepaintSection = 13,
  cmdBeforeRefresh = 16,
  cmdAppNotify = 18,
};

// The last system command the application window saw (the minimize animation reads it).
enum LastSystemCommand : int { scNone = 0, scRestore = 1, scMinimize = 2 };

class SkinManagerHost {
 public:
  virtual ~SkinManagerHost() = default;
  // The owning form is being read from its description (setters only store or load tables).
  virtual bool FormLoading() const { return false; }
  // Sends `command` to every form, its children and the hooked windows (see the broadcast rules).
  virtual void Broadcast(int /*command*/) {}
  // The skin is being removed (Active := False, a skin not found, a reload that found nothing):
  // the tables are still there and SkinData.Active is already off. The window half sends
  // cmdRemoveSkin to every window so that it draws itself without skin.
  virtual void AnnounceRemoveSkin() { Broadcast(cmdRemoveSkin); }
  virtual void HideGlows() {}
  // Snapshot of the forms for the skin-changing animation (before a new skin is loaded).
  virtual void SnapshotForms() {}
  // Freeze the forms for the skin-changing animation.
  virtual void PrepareAnimation() {}
  // The menu painter measures its border again.
  virtual void MenuSkinChanged() {}
  virtual void InstallHooks() {}
  virtual void UninstallHooks() {}
  // Repaint every form (cmdBeforeRefresh, cmdRefresh, the popup menu, the hooked windows).
  // `prepared`: the skin-changing animation was already prepared by ApplySkin, so the repaint
  // must not prepare it a second time.
  virtual void RepaintAll(bool /*animate*/, bool /*prepared*/) {}
  // SkinnedPopups was switched on at run time on the default manager: hook the popup menus
  // again.
  virtual void RehookPopups() {}
};

class SkinManagerCore {
 public:
  static constexpr const char* kVersion = "7.40";
  static constexpr const char* kDefaultSkinDirectory = "c:\\Skins";

  SkinManagerCore(const FileSystem& fs, SkinPlatform& platform, SkinManagerHost& host,
                  const GlowPlatform* glow = nullptr, const BuiltInShadows* shadows = nullptr);
  ~SkinManagerCore();  // removes the skin, writes the class lists back, gives up being default
  SkinManagerCore(const SkinManagerCore&) = delete;
  SkinManagerCore& operator=(const SkinManagerCore&) = delete;

  // --- Properties ---
  bool Active() const { return active_; }
  void SetActive(bool value);
  const std::string& SkinName() const { return skinName_; }
  void SetSkinName(const std::string& name);  // the loading sequence
  const std::string& SkinDirectory() const { return skinDirectory_; }
  void SetSkinDirectory(const std::string& dir);
  int HueOffset() const { return hueOffset_; }
  void SetHueOffset(int value);
  int Saturation() const { return saturation_; }
  void SetSaturation(int value);
  bool ExtendedBorders() const { return extendedBorders_; }
  void SetExtendedBorders(bool value);
  // ExtendedBorders is set and the platform offers layered windows.
  bool ExtendedBordersInEffect() const;
  const std::vector<std::string>& CommonSections() const { return commonSections_; }
  // Copies the lines with every blank removed from each non-empty line that is not a comment,
  // then reloads the skin by its name.
  void SetCommonSections(const std::vector<std::string>& lines);
  TsStoredSkins& InternalSkins() { return internalSkins_; }
  void SetInternalSkins(const TsStoredSkins& skins) { internalSkins_.Assign(skins); }
  bool IsDefault() const { return defaultManager_ == this; }
  void SetIsDefault(bool value);
  static SkinManagerCore* DefaultManager() { return defaultManager_; }
  std::string SkinInfo() const;  // "7.2", or "N/A" without an active skin
  static std::string Version() { return kVersion; }

  TlcAnimEffects AnimEffects;
  TlcSkinEffects Effects;
  TlcMenuSupport MenuSupport;
  ThirdPartyList ThirdParty;
  ThirdPartyClassLists ClassLists;
  TlcSkinningRules SkinningRules = kAllSkinningRules;
  bool SkinnedPopups() const { return skinnedPopups_; }
  // Stores the value; switching it on at run time on the default manager re-hooks popups.
  void SetSkinnedPopups(bool value);
  std::function<void()> OnBeforeChange;
  std::function<void()> OnAfterChange;

  // --- State ---
  SkinTables Tables;
  TsSkinData& SkinData() { return Tables.SkinData; }
  const TsSkinData& SkinData() const { return Tables.SkinData; }
  bool IsPacked() const { return isPacked_; }
  bool Updating = false;
  bool Removing() const { return removing_; }
  // Skin text handed over by a skin editor; while set it replaces the folder's Options.dat.
  std::optional<std::string> PreviewText;
  static bool SkinLoading() { return skinLoading_; }
  static bool SkinChanging() { return skinChanging_; }

  // Module start-up, once per process before any form exists: shows "LumoControls v7.40" when
  // one of the command-line arguments, lower-cased, is "/lcver". The Win32 side also loads the
  // built-in shadow pictures then (LoadBuiltInShadows).
  static void StartUp(SkinPlatform& platform);

  // --- Operations ---
  // After the owning form has been read: defaults for empty settings, the class lists, and the
  // skin applied to the windows without animation.
  void Loaded();
  void ApplySkin(bool animate);
  void UpdateSkin(bool animate) {
    if (active_) ApplySkin(animate);
  }
  void RemoveSkin();
  // A skin editor's preview: loads the record's text as skin `name` in `folder` with Updating set,
  // then applies it without the skin-changing animation. Returns the answer to WM_COPYDATA (1).
  int ApplyPreview(const SkinPreviewRecord& record);
  // Fills `list` with the available skin names (kinds: 0 all, 1 packed files, 2 folders and
  // packed files, other: stored skins only), sorted; returns the first name found.
  std::string CollectSkinNames(std::vector<std::string>& list, int kinds) const;

  // The skin folder with relative settings resolved against the program's folder.
  std::string ResolvedSkinDirectory() const;
  // `dir` with one trailing backslash, as file names are formed from the skin folder.
  static std::string FolderPart(const std::string& dir);

  // Labels of a skinned form: the skin's label colour, the first font colour of a "LABEL"
  // section; without one the FORM section's first font colour; without either fuchsia (no
  // colour known).
  TColor LabelFontColor() const;

  // Asks every window skinned with `sectionName` to repaint: publishes the upper-cased name and
  // sets the repaint flag, broadcasts cmdRepaintSection, then clears the name. Receivers compare
  // their section with RepaintSectionName() and clear the flag (as cmdNewSkin does).
  void RepaintSection(const std::string& sectionName);
  static const std::string& RepaintSectionName() { return repaintSection_; }
  static bool RepaintPending() { return repaintPending_; }
  static void ClearRepaintPending() { repaintPending_ = false; }

  // Remembers the last system command of the application window (SC_RESTORE 0xF120 restore,
  // SC_MINIMIZE 0xF020 minimize, any other none); `code` is WParam with the low four bits
  // masked off by the caller or not (they are ignored here).
  void NoteSystemCommand(unsigned code);
  int LastSystemCommand() const { return lastSystemCommand_; }

  // Colour queries (RGB values).
  TColor FormColor() const;
  TColor FormFontColor() const;
  TColor FormHotColor() const;
  TColor EditFontColor() const;
  TColor SelectionColor(bool hot) const;
  TColor SelectionFontColor(bool hot) const;

 private:
  void LoadSkin();  // packed file, or folder / stored skin
  void LoadPacked();
  // Returns false when no skin of that name exists anywhere (no error: the skin is lost).
  bool LoadFolderOrStored();
  // The skin was not found: Active := False through its setter (the skin is removed, the
  // standard-part cache refreshed, the windows told).
  void LoseSkin();
  void BuildTables(const SkinText* text, TlcSkinConvertor* packed);
  void Reload();  // the same source again (hue, saturation, borders)
  // Loads the tables from the same source again; false when the skin is not found any more.
  bool ReloadTables();
  const TsGeneralData* Section(const char* name) const;

  const FileSystem& fs_;
  SkinPlatform& platform_;
  SkinManagerHost& host_;
  const GlowPlatform* glow_;
  const BuiltInShadows* shadows_;

  bool active_ = true;
  std::string skinName_;
  // The hue and saturation the tables were last built with.
  bool tablesBuilt_ = false;
  int builtHue_ = 0, builtSaturation_ = 0;
  std::string skinDirectory_;
  int hueOffset_ = 0;
  int saturation_ = 0;
  bool extendedBorders_ = false;
  std::vector<std::string> commonSections_;
  TsStoredSkins internalSkins_;
  bool isPacked_ = false;
  bool removing_ = false;
  bool hooksInstalled_ = false;
  bool skinnedPopups_ = true;
  int lastSystemCommand_ = scNone;

  static SkinManagerCore* defaultManager_;
  static bool skinLoading_;
  static bool skinChanging_;
  static std::string repaintSection_;
  static bool repaintPending_;
};

}  // namespace sapala::skin
