// TsSkinManager: the non-visual component that owns the process's skin. It wraps the
// window-free SkinManagerCore (finding and loading skins, the tables, the colour queries) and
// does for it everything that touches windows: the SM_LUMOCMD broadcast to every form and
// control, the thread's window-creation hook, the hook on the application's main window, the
// repaint of every window, and the answers the labels ask through SkinManagerLink.
//
// The first manager made is the default manager: controls and forms that name no manager use
// it, and only it installs the hooks. Its LParam in broadcasts is Id() (the SkinManagerLink
// address the labels compare with).
//
// The unit's start-up (StartUpSkinUnit) runs once before any form exists: it loads the built-in
// shadow pictures, looks up the optional system functions, makes the tick window of the
// threaded timers and shows the engine's version for "/lcver"; ShutDownSkinUnit undoes it.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/skin/file_system.h"
#include "core/skin/skin_manager.h"
#include "win/controls/skin_link.h"
#include "win/framework/events.h"
#include "win/framework/component.h"
#include "win/framework/graphics.h"
#include "win/skin/platform.h"

namespace sapala::win {
class TForm;

namespace skin {
class TlcCbtHook;
class TlcAppWindowHook;
class TsSkinableMenus;
}  // namespace skin

class TsSkinManager : public TComponent,
                      public skin::SkinManagerLink,
                      private sapala::skin::SkinManagerHost {
 public:
  explicit TsSkinManager(TComponent* owner);
  ~TsSkinManager() override;

  sapala::skin::SkinManagerCore& Core() noexcept { return *core_; }
  const sapala::skin::SkinManagerCore& Core() const noexcept { return *core_; }

  // The value broadcasts carry in LParam (compared, never dereferenced, by receivers).
  LPARAM Id() const noexcept;
  // The default manager, nullptr when there is none.
  static TsSkinManager* Default() noexcept;

  // --- Properties with window effects (the rest are the core's) ---
  // Asked by the menu painter for each popup's extra line; stored descriptions name a handler
  // of the form ("OnGetMenuExtraLineData = Form1GetExtraLine").
  TlcGetExtraLineData OnGetMenuExtraLineData;

  // The window under the mouse that a skinned control or hook reported last (nullptr: none,
  // also once that window is gone: a destroyed window must not read as hot, nor a later window
  // that happens to get its handle).
  HWND HotControl() const noexcept {
    return hot_control_ && ::IsWindow(hot_control_) ? hot_control_ : nullptr;
  }
  void SetHotControl(HWND hwnd) noexcept { hot_control_ = hwnd; }
  // Broadcasts `command` (SM_LUMOCMD, WParam command << 16, LParam Id()) in the stated order.
  void Broadcast(int command) override;
  // cmdBeforeRefresh, cmdRefresh, then every visible window the hook skinned is redrawn.
  void RepaintAll(bool animate, bool prepared = false) override;
  // The window-creation hook, while installed (default manager with an applied skin).
  skin::TlcCbtHook* CbtHook() const noexcept { return cbt_hook_.get(); }
  skin::TlcAppWindowHook* AppWindowHook() const noexcept { return app_hook_.get(); }
  // The menu painter (one per manager; the default manager's serves the popups of the process).
  skin::TsSkinableMenus& Menus() noexcept { return *menus_; }

  // --- Component ---
  bool ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) override;
  void Loaded() override;

  // --- SkinManagerLink ---
  bool SkinActive() const override;
  int SectionIndex(std::string_view name) const override;
  TColor SectionFontColor(int section) const override;
  int SectionTransparency(int section) const override;
  bool SectionGivesOwnFont(int section) const override;
  TColor FormFontColor() const override;
  TColor GlobalFontColor(int n) const override;
  Shadow1 ShadowSettings() const override;
  void PaintSection(graphics::Bitmap& target, int section, POINT offset, HWND parent) override;

 private:
  // --- SkinManagerHost ---
  bool FormLoading() const override;
  void HideGlows() override;
  void SnapshotForms() override {}
  // The skin-change cross-fade of the provider forms: their old look frozen and their redraw
  // switched off before the new skin goes out, the cross-fade played after the refresh.
  void PrepareAnimation() override;
  void PlaySkinChange();
  void MenuSkinChanged() override;
  void AnnounceRemoveSkin() override;
  void InstallHooks() override;
  void UninstallHooks() override;
  void RehookPopups() override;

  void HookMainWindow();
  const sapala::skin::TsGeneralData* Section(int index) const;

  sapala::skin::HostFileSystem fs_;
  skin::Win32SkinPlatform platform_;
  skin::Win32GlowPlatform glow_platform_;
  TFont extra_line_font_;
  std::unique_ptr<sapala::skin::SkinManagerCore> core_;
  std::unique_ptr<skin::TlcCbtHook> cbt_hook_;
  std::unique_ptr<skin::TlcAppWindowHook> app_hook_;
  std::unique_ptr<skin::TsSkinableMenus> menus_;
  HWND hot_control_ = nullptr;
  std::vector<TForm*> animating_;  // forms frozen for the skin-change animation (not owned)
};

// Module start-up and shutdown of the skin engine (see above). Start-up is idempotent.
void StartUpSkinUnit();
void ShutDownSkinUnit() noexcept;

// Registers TsSkinManager for form descriptions.
void RegisterSkinManager();

}  // namespace sapala::win
