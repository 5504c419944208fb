#include "win/skin/skin_manager.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "core/skin/animation_steps.h"
#include "core/skin/skin_paint.h"
#include "core/skin/skin_tables.h"
#include "win/framework/application.h"
#include "win/framework/forms.h"
#include "win/framework/loader.h"
#include "win/framework/text.h"
#include "win/skin/animations.h"
#include "win/skin/app_hook.h"
#include "win/skin/broadcast.h"
#include "win/skin/cbt_hook.h"
#include "win/skin/dialog_hook.h"
#include "win/skin/common_data.h"
#include "win/skin/glow.h"
#include "win/skin/output_window.h"
#include "win/skin/skin_menus.h"
#include "win/skin/plug_ins.h"
#include "win/skin/ui_thread.h"

namespace sapala::win {

using sapala::skin::SkinManagerCore;
using sapala::skin::TsGeneralData;

namespace {

// The built-in shadows, decoded by the unit's start-up; nullptr before it and after shutdown.
std::unique_ptr<sapala::skin::BuiltInShadows>& Shadows() {
  static std::unique_ptr<sapala::skin::BuiltInShadows> shadows;
  return shadows;
}

// Animation settings by their stream names ("FormShow.Time").
sapala::skin::TlcFormAnimation* Animation(sapala::skin::TlcAnimEffects& a, std::string_view name) {
  if (name == "BlendOnMoving") return &a.BlendOnMoving;
  if (name == "DialogShow") return &a.DialogShow;
  if (name == "FormShow") return &a.FormShow;
  if (name == "FormHide") return &a.FormHide;
  if (name == "DialogHide") return &a.DialogHide;
  if (name == "Minimizing") return &a.Minimizing;
  if (name == "PageChange") return &a.PageChange;
  if (name == "SkinChanging") return &a.SkinChanging;
  return nullptr;
}

// Whether a kind of animation publishes its Mode.
bool PublishesMode(std::string_view name) {
  return name == "FormShow" || name == "FormHide" || name == "DialogHide" || name == "DialogShow" ||
         name == "SkinChanging";
}

bool ReadAnimation(sapala::skin::TlcAnimEffects& a, std::string_view name, const forms::Property& p,
                   Loader& loader) {
  if (name == "Buttons.Events") {
    sapala::skin::TlcBtnEvents events = 0;
    for (const std::string& m : loader.Set(p)) {
      if (m == "beMouseEnter")
        events |= sapala::skin::beMouseEnter;
      else if (m == "beMouseLeave")
        events |= sapala::skin::beMouseLeave;
      else if (m == "beMouseDown")
        events |= sapala::skin::beMouseDown;
      else if (m == "beMouseUp")
        events |= sapala::skin::beMouseUp;
      else
        loader.Fail(p, "unknown button event " + m);
    }
    a.Buttons.Events = events;
    return true;
  }
  const auto dot = name.find('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view kind = name.substr(0, dot), field = name.substr(dot + 1);
  sapala::skin::TlcFormAnimation* anim = Animation(a, kind);
  if (!anim) return false;
  if (field == "Active") {
    anim->Active = loader.Bool(p);
    return true;
  }
  if (field == "Time") {
    const auto v = loader.Int(p);
    if (v < 0 || v > 0xFFFF) loader.Fail(p, "a time from 0 to 65535 ms is expected");
    anim->Time = static_cast<std::uint16_t>(v);
    return true;
  }
  if (field == "Mode" && PublishesMode(kind)) {
    const std::string v = loader.Ident(p);
    if (v == "atFading")
      anim->Mode = sapala::skin::TlcAnimType::atFading;
    else if (v == "atAero")
      anim->Mode = sapala::skin::TlcAnimType::atAero;
    else
      loader.Fail(p, "unknown animation mode " + v);
    return true;
  }
  if (field == "BlendValue" && kind == "BlendOnMoving") {
    const auto v = loader.Int(p);
    if (v < 0 || v > 255) loader.Fail(p, "a value from 0 to 255 is expected");
    a.BlendOnMoving.BlendValue = static_cast<std::uint8_t>(v);
    return true;
  }
  return false;
}

void ReadStoredSkins(sapala::skin::TsStoredSkins& skins, const forms::Property& p, Loader& loader) {
  const auto* c = std::get_if<forms::Collection>(&p.value);
  if (!c) loader.Fail(p, "a collection is expected");
  skins.Clear();
  for (const forms::CollectionItem& item : c->items) {
    sapala::skin::TsStoredSkin& s = skins.Add();
    for (const forms::Property& q : item.properties) {
      if (q.name == "Name")
        s.Name = Narrow(loader.String(q));
      else if (q.name == "Data")
        s.Data = loader.Bytes(q);
      else if (q.name == "Author")
        s.Author = Narrow(loader.String(q));
      else if (q.name == "Description")
        s.Description = Narrow(loader.String(q));
      else if (q.name == "Shadow1Color")
        s.Shadow1Color = loader.Color(q);
      else if (q.name == "Shadow1Offset")
        s.Shadow1Offset = static_cast<std::int32_t>(loader.Int(q));
      else if (q.name == "Shadow1Blur")
        s.Shadow1Blur = static_cast<std::int32_t>(loader.Int(q));
      else if (q.name == "Shadow1Transparency")
        s.Shadow1Transparency = static_cast<std::int32_t>(loader.Int(q));
      else if (q.name == "BorderColor")
        s.BorderColor = loader.Color(q);
      else if (q.name == "Version") {
        if (const auto* d = std::get_if<double>(&q.value))
          s.Version = *d;
        else
          s.Version = static_cast<double>(loader.Int(q));
      } else
        loader.Fail(q, "no such property of a stored skin");
    }
  }
}

}  // namespace

// ---------------------------------------------------------------- unit start-up

void StartUpSkinUnit() {
  if (Shadows()) return;
  // The message's name is registered as the engine always did; its number is the fixed 0xA100.
  ::RegisterWindowMessageW(L"SM_LUMOCMD");
  Shadows() = std::make_unique<sapala::skin::BuiltInShadows>(sapala::skin::LoadBuiltInShadows());
  skin::LayeredApi();
  skin::CreateUiThread();
  skin::Win32SkinPlatform platform;
  SkinManagerCore::StartUp(platform);
}

void ShutDownSkinUnit() noexcept {
  // The dialog providers give back what they still hold.
  skin::ReleaseDialogProviders();
  // The hide animation's timer ticks through the tick window: it goes first.
  skin::ShutDownHideAnimation();
  skin::ReleaseOutputWindow();
  skin::DestroyUiThread();
  Shadows().reset();
}

// ---------------------------------------------------------------- TsSkinManager

TsSkinManager::TsSkinManager(TComponent* owner)
    : TComponent(owner),
      core_(new SkinManagerCore(fs_, platform_, static_cast<sapala::skin::SkinManagerHost&>(*this),
                                &glow_platform_, Shadows().get())) {
  extra_line_font_.SetName(L"Tahoma");
  menus_ = std::make_unique<skin::TsSkinableMenus>(*this);
  if (core_->IsDefault()) {
    skin::SetDefaultSkinManager(this);
    skin::InstallMenuPlugIns(*menus_);
    HookMainWindow();
  }
}

TsSkinManager::~TsSkinManager() {
  app_hook_.reset();
  // The core removes the skin first (cmdRemoveSkin reaches every window while this is still
  // the labels' default manager), then writes the class lists back.
  core_.reset();
  cbt_hook_.reset();
  if (skin::DefaultSkinManager() == this) {
    skin::ClearMenuPlugIns();
    skin::SetDefaultSkinManager(nullptr);
  }
  menus_.reset();
}

LPARAM TsSkinManager::Id() const noexcept {
  return reinterpret_cast<LPARAM>(static_cast<const skin::SkinManagerLink*>(this));
}

TsSkinManager* TsSkinManager::Default() noexcept {
  return dynamic_cast<TsSkinManager*>(skin::DefaultSkinManager());
}

void TsSkinManager::HookMainWindow() {
  TForm* target = Application().MainForm();
  // While the first form is still being made it is not the main form yet, but it will be.
  if (!target) target = dynamic_cast<TForm*>(Owner());
  if (target) app_hook_ = std::make_unique<skin::TlcAppWindowHook>(*target, *this);
}

const TsGeneralData* TsSkinManager::Section(int index) const {
  const auto& sections = core_->Tables.Sections;
  if (index < 0 || static_cast<std::size_t>(index) >= sections.size()) return nullptr;
  return &sections[static_cast<std::size_t>(index)];
}

// ---------------------------------------------------------------- windows

bool TsSkinManager::FormLoading() const { return Loading() || (Owner() && Owner()->Loading()); }

void TsSkinManager::Broadcast(int command) {
  static const std::vector<HWND> none;
  skin::BroadcastToAll(Application(), skin::ProviderForms(),
                       cbt_hook_ ? cbt_hook_->HookedWindows() : none,
                       skin::Lumo{skin::SM_LUMOCMD, MAKEWPARAM(0, command), Id()});
}

void TsSkinManager::RepaintAll(bool animate, bool prepared) {
  if (animate && !prepared) PrepareAnimation();
  if (!(ComponentState() & csDesigning)) Broadcast(skin::cmdBeforeRefresh);
  Broadcast(skin::cmdRefresh);
  if (animate) PlaySkinChange();
  if (!cbt_hook_) return;
  for (HWND hwnd : std::vector<HWND>(cbt_hook_->HookedWindows())) {
    if (::IsWindowVisible(hwnd)) {
      ::RedrawWindow(hwnd, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
  }
}

void TsSkinManager::PrepareAnimation() {
  const auto& settings = core_->AnimEffects.SkinChanging;
  if ((ComponentState() & csDesigning) || !core_->IsDefault() || !settings.Active ||
      sapala::skin::AnimationStepCount(settings.Time) == 0) {
    return;
  }
  for (TForm* form : skin::ProviderForms()) {
    HWND hwnd = form->WindowHandle();
    if (!hwnd || form->Parent() || !::IsWindowVisible(hwnd) || ::IsIconic(hwnd)) continue;
    if (std::find(animating_.begin(), animating_.end(), form) != animating_.end()) continue;
    // The old look is kept on the screen: the first form is frozen under the output window
    // now, the others keep their pixels while their redraw is off and are frozen in turn.
    if (animating_.empty()) skin::FreezeUnderOutputWindow(*form);
    animating_.push_back(form);
    ::SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
  }
}

void TsSkinManager::PlaySkinChange() {
  const int time = core_->AnimEffects.SkinChanging.Time;
  for (TForm* form : std::exchange(animating_, {})) {
    // A form freed meanwhile has left the providers' list.
    const auto& forms = skin::ProviderForms();
    if (std::find(forms.begin(), forms.end(), form) == forms.end() || form->Destroying()) continue;
    skin::SkinChangeAnimated(*form, time);
  }
  skin::ReleaseOutputWindow();
}

void TsSkinManager::HideGlows() { skin::ClearGlows(false); }

void TsSkinManager::InstallHooks() {
  if (cbt_hook_) return;
  try {
    cbt_hook_ = std::make_unique<skin::TlcCbtHook>(*core_);
  } catch (const std::exception&) {
    // Without the hook new windows are simply not skinned automatically.
  }
  menus_->SetActive(core_->SkinnedPopups());
}

void TsSkinManager::UninstallHooks() { cbt_hook_.reset(); }

void TsSkinManager::MenuSkinChanged() {
  if (skin::PlugIns().menuSkinChanged) skin::PlugIns().menuSkinChanged();
}

void TsSkinManager::AnnounceRemoveSkin() {
  if (skin::PlugIns().menuSkinChanged) skin::PlugIns().menuSkinChanged();
  // Without a skin the menus are the system's again: popup windows let go, the painter's
  // handlers taken back (the next skin's hooks give them again).
  menus_->ReleasePopups();
  menus_->SetActive(false);
  // The window-creation hook and its list are gone by now: the skinned system dialogs are told
  // through their own list.
  skin::RemoveDialogSkins(Id());
  Broadcast(sapala::skin::cmdRemoveSkin);
}

void TsSkinManager::RehookPopups() {
  if (skin::PlugIns().setPopupsSkinned) skin::PlugIns().setPopupsSkinned(true);
}

// ---------------------------------------------------------------- description

bool TsSkinManager::ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) {
  SkinManagerCore& c = *core_;
  if (name == "Active") {
    c.SetActive(loader.Bool(p));
    return true;
  }
  if (name == "SkinDirectory") {
    c.SetSkinDirectory(Narrow(loader.String(p)));
    return true;
  }
  if (name == "SkinName") {
    c.SetSkinName(Narrow(loader.String(p)));
    return true;
  }
  if (name == "SkinInfo" || name == "Version") return true;  // read-only: writing does nothing
  if (name == "HueOffset") {
    c.SetHueOffset(static_cast<int>(loader.Int(p)));
    return true;
  }
  if (name == "Saturation") {
    c.SetSaturation(static_cast<int>(loader.Int(p)));
    return true;
  }
  if (name == "ExtendedBorders") {
    c.SetExtendedBorders(loader.Bool(p));
    return true;
  }
  if (name == "IsDefault") {
    c.SetIsDefault(loader.Bool(p));
    return true;
  }
  if (name == "SkinnedPopups") {
    c.SetSkinnedPopups(loader.Bool(p));
    return true;
  }
  if (name == "Effects.AllowGlowing") {
    c.Effects.SetAllowGlowing(loader.Bool(p));
    return true;
  }
  if (name == "SkinningRules") {
    sapala::skin::TlcSkinningRules rules = 0;
    for (const std::string& m : loader.Set(p)) {
      if (m == "srStdForms")
        rules |= sapala::skin::srStdForms;
      else if (m == "srStdDialogs")
        rules |= sapala::skin::srStdDialogs;
      else if (m == "srThirdParty")
        rules |= sapala::skin::srThirdParty;
      else
        loader.Fail(p, "unknown skinning rule " + m);
    }
    c.SkinningRules = rules;
    return true;
  }
  if (name == "CommonSections.Strings") {
    const auto* list = std::get_if<forms::StringList>(&p.value);
    if (!list) loader.Fail(p, "a list of strings is expected");
    c.SetCommonSections(list->items);
    return true;
  }
  if (name == "InternalSkins") {
    sapala::skin::TsStoredSkins skins;
    ReadStoredSkins(skins, p, loader);
    c.SetInternalSkins(skins);
    return true;
  }
  if (name.starts_with("AnimEffects.")) {
    if (ReadAnimation(c.AnimEffects, name.substr(12), p, loader)) return true;
    return false;
  }
  if (name.starts_with("ThirdParty.")) {
    return c.ThirdParty.SetByName(name.substr(11), Narrow(loader.String(p)));
  }
  if (name == "MenuSupport.IcoLineSkin") {
    c.MenuSupport.IcoLineSkin = Narrow(loader.String(p));
    return true;
  }
  if (name == "MenuSupport.UseExtraLine") {
    c.MenuSupport.UseExtraLine = loader.Bool(p);
    return true;
  }
  if (name == "MenuSupport.ExtraLineWidth") {
    c.MenuSupport.ExtraLineWidth = static_cast<int>(loader.Int(p));
    return true;
  }
  if (name.starts_with("MenuSupport.ExtraLineFont.")) {
    loader.ReadFont(extra_line_font_, name.substr(26), p);
    return true;
  }
  if (name == "OnBeforeChange" || name == "OnAfterChange") {
    TNotifyEvent handler = loader.Event<TNotifyEvent>(p);
    auto call = [this, handler] { handler(*this); };
    (name == "OnBeforeChange" ? c.OnBeforeChange : c.OnAfterChange) = call;
    return true;
  }
  if (name == "OnGetMenuExtraLineData") {
    OnGetMenuExtraLineData = loader.Event<TlcGetExtraLineData>(p);
    return true;
  }
  return TComponent::ReadProperty(name, p, loader);
}

void TsSkinManager::Loaded() {
  TComponent::Loaded();
  sapala::skin::TlcFontDesc& f = core_->MenuSupport.ExtraLineFont;
  f.Name = Narrow(extra_line_font_.Name());
  f.Height = extra_line_font_.Height();
  f.Color = extra_line_font_.Color();
  f.Bold = (extra_line_font_.Style() & fsBold) != 0;
  f.Italic = (extra_line_font_.Style() & fsItalic) != 0;
  core_->Loaded();
}

// ---------------------------------------------------------------- SkinManagerLink

bool TsSkinManager::SkinActive() const { return core_->SkinData().Active; }

int TsSkinManager::SectionIndex(std::string_view name) const {
  return core_->Tables.FindSection(name);
}

TColor TsSkinManager::SectionFontColor(int section) const {
  const TsGeneralData* s = Section(section);
  return s ? graphics::ColorToRGB(s->Props[0].FontColors[0]) : graphics::clFuchsia;
}

int TsSkinManager::SectionTransparency(int section) const {
  const TsGeneralData* s = Section(section);
  return s ? s->Transparency : 0;
}

bool TsSkinManager::SectionGivesOwnFont(int section) const {
  const TsGeneralData* s = Section(section);
  return s && s->GiveOwnFont;
}

TColor TsSkinManager::FormFontColor() const { return core_->FormFontColor(); }

TColor TsSkinManager::GlobalFontColor(int n) const {
  const TsGeneralData* s = Section(core_->Tables.FindSection("GLOBALINFO"));
  if (!s || n < 1 || n > 5) return -1;
  const TColor c = s->FontColors[static_cast<std::size_t>(n - 1)];
  return c == -1 ? -1 : graphics::ColorToRGB(c);
}

TsSkinManager::Shadow1 TsSkinManager::ShadowSettings() const {
  const auto& d = core_->SkinData();
  return Shadow1{graphics::ColorToRGB(d.Shadow1Color), d.Shadow1Blur, d.Shadow1Offset};
}

void TsSkinManager::PaintSection(graphics::Bitmap& target, int section, POINT offset, HWND parent) {
  if (!Section(section) || target.Empty()) return;
  // What lies under the label: the parent's answer, as for any skinned child.
  TsBackgroundInfo info;
  info.Rect = RECT{0, 0, target.Width(), target.Height()};
  AskParentBackground(TWinControl::FromHandle(parent), info);
  const auto bg =
      info.Kind == 2 && info.Bitmap
          ? sapala::skin::ParentBackground::FromBitmap(info.Bitmap, info.OffsetX, info.OffsetY)
          : sapala::skin::ParentBackground::FromColor(info.Color);
  sapala::skin::PaintSection(core_->Tables, section, bg, -1, -1, target,
                             graphics::Point{offset.x, offset.y}, target.Bounds(), 0, 0);
}

void RegisterSkinManager() { RegisterComponentClass<TsSkinManager>("TsSkinManager"); }

}  // namespace sapala::win
