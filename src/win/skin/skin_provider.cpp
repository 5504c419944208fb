// The provider's life on its form (attaching, the window procedure, skin changes) and its
// behaviour: hit tests, caption buttons, clicks, the system menu, activation, snapping and the
// SM_LUMOCMD commands. The frame's painting is in provider_paint.cpp.
#include "win/skin/skin_provider.h"

#include <algorithm>
#include <stdexcept>

#include "core/skin/animation_steps.h"
#include "core/skin/preview_record.h"
#include "core/skin/screen_snap.h"
#include "core/skin/skin_manager.h"
#include "core/skin/system_menu_rules.h"
#include "win/framework/application.h"
#include "win/framework/loader.h"
#include "win/framework/menus.h"
#include "win/framework/text.h"
#include "win/skin/animations.h"
#include "win/skin/border_form.h"
#include "win/skin/broadcast.h"
#include "win/skin/control_adapter.h"
#include "win/skin/form_motion.h"
#include "win/skin/glow.h"
#include "win/skin/platform.h"
#include "win/skin/plug_ins.h"
#include "win/skin/skin_manager.h"
#include "win/skin/skin_menus.h"
#include "win/skin/system_menu.h"

namespace sapala::win {

namespace sk = sapala::skin;
using graphics::Rect;

namespace {

constexpr UINT kTaskBarWindowMenu = 0x313;  // the system asks for the window menu (task bar)
constexpr UINT kEditorAnnounce = 0xA400;    // "/lcpreview": tell the skin editor our window
constexpr int kEditorTries = 101;

LRESULT SendCommand(HWND hwnd, WORD command, LPARAM lp = 0) {
  return ::SendMessageW(hwnd, skin::SM_LUMOCMD, MAKEWPARAM(0, command), lp);
}

}  // namespace

// ---------------------------------------------------------------- creation

const sk::FrameMetrics& TsSkinProvider::Metrics() {
  // Read once: the caption heights are process-wide values.
  static const sk::FrameMetrics m{::GetSystemMetrics(SM_CXFRAME), ::GetSystemMetrics(SM_CXDLGFRAME),
                                  ::GetSystemMetrics(SM_CYCAPTION),
                                  ::GetSystemMetrics(SM_CYSMCAPTION)};
  return m;
}

TForm& TsSkinProvider::RequireForm(TComponent* owner) {
  auto* form = dynamic_cast<TForm*>(owner);
  if (!form) throw std::logic_error("TsSkinProvider component may be used with forms only!");
  return *form;
}

TsSkinProvider::TsSkinProvider(TComponent* owner)
    : TComponent(owner), SkinData(*this, RequireForm(owner), true), form_(RequireForm(owner)) {
  SetClassName("TsSkinProvider");
  SkinData.SetSkinSection("FORM");
  // At run time a form already skinned by another provider: an automatic one makes way, an
  // explicit one keeps the form and this one stays inert.
  if (form_.HandleAllocated()) {
    auto* other =
        reinterpret_cast<TsSkinProvider*>(SendCommand(form_.WindowHandle(), skin::cmdGetProvider));
    if (other && other != this) {
      if (other->auto_created_) {
        std::unique_ptr<TComponent> freed = form_.Extract(other);
      } else {
        inert_ = true;
        return;
      }
    }
  }
  Hook();
}

TsSkinProvider::TsSkinProvider(TForm& form, AutoTag)
    : TComponent(&form), SkinData(*this, form, true), form_(form) {
  SetClassName("TsSkinProvider");
  SkinData.SetSkinSection("FORM");
  auto_created_ = true;
  UseGlobalColor = false;
  MakeSkinMenu = false;
  Hook();
}

TsSkinProvider& TsSkinProvider::AttachAutomatic(TForm& form) {
  auto owned = std::unique_ptr<TsSkinProvider>(new TsSkinProvider(form, AutoTag::automatic));
  TsSkinProvider& p = *owned;
  form.Adopt(std::move(owned));
  // The hook attaches a form when it is made or first activated: its frame is painted from the
  // message loop (or by the activation under way), not once more in the look it is leaving.
  p.defer_frame_paint_ = true;
  p.NewSkin();
  p.defer_frame_paint_ = false;
  return p;
}

TsSkinProvider* TsSkinProvider::Of(HWND hwnd) noexcept {
  auto* control = dynamic_cast<TForm*>(TWinControl::FromHandle(hwnd));
  if (!control) return nullptr;
  if (const Thunk* t = control->WindowProc.target<Thunk>()) return t->link->provider;
  return nullptr;
}

TsSkinProvider::~TsSkinProvider() {
  DropBorderForm();
  input_.Reset();
  skin::EndFormMotion(*this);
  adapter_.reset();
  if (!hooked_) return;
  // Give the window back as it was found: the system menu style, no region, the system's frame.
  if (HWND hwnd = form_.WindowHandle()) {
    if (system_menu_) {
      ::SetWindowLongPtrW(hwnd, GWL_STYLE, ::GetWindowLongPtrW(hwnd, GWL_STYLE) | WS_SYSMENU);
    }
    if (region_set_) SetRegion(hwnd, nullptr);
    if (!form_.Destroying()) {
      ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  Unhook();
}

void TsSkinProvider::Hook() {
  link_ = std::make_shared<Link>(Link{this, std::move(form_.WindowProc)});
  form_.WindowProc = Thunk{link_};
  hooked_ = true;
  skin::ProviderForms().push_back(&form_);
  if (form_.HandleAllocated()) {
    system_menu_ = (::GetWindowLongPtrW(form_.WindowHandle(), GWL_STYLE) & WS_SYSMENU) != 0;
    form_active_ = ::GetActiveWindow() == form_.WindowHandle();
  }
}

void TsSkinProvider::Unhook() noexcept {
  std::erase(skin::ProviderForms(), &form_);
  // Someone who subclassed the form after us keeps it; we only take ourselves out of the chain.
  if (!link_) return;
  if (const Thunk* t = form_.WindowProc.target<Thunk>(); t && t->link == link_) {
    form_.WindowProc = std::move(link_->old);
  } else {
    link_->provider = nullptr;
  }
  link_.reset();
  hooked_ = false;
}

void TsSkinProvider::Loaded() {
  TComponent::Loaded();
  if (hooked_ && form_.HandleAllocated()) NewSkin();
}

bool TsSkinProvider::ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) {
  if (name.starts_with("SkinData.")) return SkinData.ReadProperty(name.substr(9), p, loader);
  if (name == "AddedTitle.Text") {
    AddedTitle.Text = loader.String(p);
  } else if (name == "AddedTitle.ShowMainCaption") {
    AddedTitle.ShowMainCaption = loader.Bool(p);
  } else if (name.starts_with("AddedTitle.Font.")) {
    loader.ReadFont(AddedTitle.Font, name.substr(16), p);
  } else if (name == "AllowExtBorders") {
    AllowExtBorders = loader.Bool(p);
  } else if (name == "AllowBlendOnMoving") {
    AllowBlendOnMoving = loader.Bool(p);
  } else if (name == "CaptionAlignment") {
    CaptionAlignment = loader.Enum<sk::CaptionAlignment>(
        p,
        {std::pair{std::string_view("taLeftJustify"), sk::CaptionAlignment::taLeftJustify},
         std::pair{std::string_view("taRightJustify"), sk::CaptionAlignment::taRightJustify},
         std::pair{std::string_view("taCenter"), sk::CaptionAlignment::taCenter}},
        "alignment");
  } else if (name == "DrawNonClientArea") {
    DrawNonClientArea = loader.Bool(p);
  } else if (name == "GripMode") {
    GripMode = loader.Enum<TsGripMode>(p, std::array{"gmNone", "gmRightBottom"}, "grip mode");
  } else if (name == "MakeSkinMenu") {
    MakeSkinMenu = loader.Bool(p);
  } else if (name == "MenuLineSkin") {
    MenuLineSkin = Narrow(loader.String(p));
  } else if (name == "ResizeMode") {
    ResizeMode = loader.Enum<TsResizeMode>(p, std::array{"rmStandard", "rmBorder"}, "resize mode");
  } else if (name == "ScreenSnap") {
    ScreenSnap = loader.Bool(p);
  } else if (name == "SnapBuffer") {
    SnapBuffer = static_cast<int>(std::clamp<std::int64_t>(loader.Int(p), 0, 10000));
  } else if (name == "ShowAppIcon") {
    ShowAppIcon = loader.Bool(p);
  } else if (name == "TitleIcon.Width") {
    TitleIcon.Width = static_cast<int>(std::clamp<std::int64_t>(loader.Int(p), 0, 256));
  } else if (name == "TitleIcon.Height") {
    TitleIcon.Height = static_cast<int>(std::clamp<std::int64_t>(loader.Int(p), 0, 256));
  } else if (name == "TitleSkin") {
    TitleSkin = Narrow(loader.String(p));
  } else if (name == "UseGlobalColor") {
    UseGlobalColor = loader.Bool(p);
  } else if (name == "TitleButtons") {
    const auto* items = std::get_if<forms::Collection>(&p.value);
    if (!items) loader.Fail(p, "TitleButtons is a collection");
    TitleButtons.clear();
    for (const forms::CollectionItem& item : items->items) {
      TsTitleButton b;
      for (const forms::Property& q : item.properties) {
        if (q.name == "Enabled")
          b.Enabled = loader.Bool(q);
        else if (q.name == "Visible")
          b.Visible = loader.Bool(q);
        else if (q.name == "Hint")
          b.Hint = loader.String(q);
        else if (q.name == "Name")
          b.Name = Narrow(loader.String(q));
        else if (q.name == "UseSkinData")
          b.UseSkinData = loader.Bool(q);
        else if (q.name == "OnMouseDown")
          b.OnMouseDown = loader.Event<TMouseEvent>(q);
        else if (q.name == "OnMouseUp")
          b.OnMouseUp = loader.Event<TMouseEvent>(q);
        else
          loader.Fail(q, "unknown title button property " + q.name);
      }
      TitleButtons.push_back(std::move(b));
    }
  } else if (name == "OnAfterAnimation" || name == "OnExtHitTest" || name == "OnSkinItem") {
    // Handlers of these kinds are set in code; a stored name is accepted and not wired.
  } else {
    return TComponent::ReadProperty(name, p, loader);
  }
  return true;
}

// ---------------------------------------------------------------- state

TsSkinManager& TsSkinProvider::Manager() noexcept {
  // The animations ask only while a skin is in force, so there is a manager.
  return *SkinData.SkinManagerOf();
}

bool TsSkinProvider::FrameSkinned() const {
  if (inert_ || !hooked_ || !DrawNonClientArea || !form_.HandleAllocated()) return false;
  if (form_.Destroying() || Destroying() || Application().Destroying()) return false;
  TsSkinManager* m = SkinData.SkinManagerOf();
  return m && !m->Destroying() && m->SkinActive() && SkinData.SectionIndex >= 0;
}

sk::FormRulesInput TsSkinProvider::Rules() const {
  sk::FormRulesInput r;
  r.BorderStyle = static_cast<sk::TFormBorderStyle>(form_.GetBorderStyle());
  r.BorderIcons = static_cast<sk::TBorderIcons>(form_.BorderIcons());
  if (HWND hwnd = form_.WindowHandle()) {
    r.WindowState = ::IsIconic(hwnd)   ? sk::TWindowState::wsMinimized
                    : ::IsZoomed(hwnd) ? sk::TWindowState::wsMaximized
                                       : sk::TWindowState::wsNormal;
    r.HasSystemMenu = system_menu_ || (::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_SYSMENU);
  } else {
    r.HasSystemMenu = form_.BorderIcons() & biSystemMenu;
  }
  return r;
}

sk::FrameFormInput TsSkinProvider::FrameInput() const {
  sk::FrameFormInput f;
  f.Rules = Rules();
  if (HWND hwnd = form_.WindowHandle()) {
    const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
    f.ChildWindow = (style & WS_CHILD) != 0;
    f.ThickFrame = (style & WS_THICKFRAME) != 0;
    f.Border = (style & WS_BORDER) != 0;
    f.FullCaption = (style & WS_CAPTION) == WS_CAPTION;
    RECT wr{};
    ::GetWindowRect(hwnd, &wr);
    // The width of the image the frame is composed in.
    const RECT margins = BorderMargins();
    f.Width = wr.right - wr.left + margins.left + margins.right;
  }
  f.ShowAppIcon = ShowAppIcon;
  f.TitleIconWidth = TitleIcon.Width;
  f.TitleIconHeight = TitleIcon.Height;
  for (const TsTitleButton& b : TitleButtons) {
    f.UserButtons.push_back({b.Visible, b.Enabled, b.Glyph.Empty() ? 0 : b.Glyph.Width()});
  }
  return f;
}

sk::FrameSkinValues TsSkinProvider::SkinValues() const {
  TsSkinManager* m = SkinData.SkinManagerOf();
  // The extended-border margins and sizes apply while the companion window shows them.
  return m ? sk::ReadFrameSkinValues(m->Core().Tables, border_form_ != nullptr)
           : sk::FrameSkinValues{};
}

int TsSkinProvider::FrameWidth() const {
  return sk::FormFrameWidth(FrameInput(), Metrics(), SkinValues());
}

int TsSkinProvider::CaptionHeight() const {
  return sk::CaptionHeight(FrameInput(), Metrics(), SkinValues());
}

Rect TsSkinProvider::IconRect() const {
  return sk::IconRect(FrameInput(), Metrics(), SkinValues());
}

void TsSkinProvider::UpdateLayout() {
  TsSkinManager* m = SkinData.SkinManagerOf();
  if (!m || !m->Core().Active()) {
    layout_ = {};
    return;
  }
  layout_ =
      sk::LayoutCaptionButtons(m->Core().Tables, FrameInput(), Metrics(), SkinValues(), images_);
}

int TsSkinProvider::TitleSection() {
  TsSkinManager* m = SkinData.SkinManagerOf();
  if (!m) return -1;
  if (title_index_ < 0)
    title_index_ = m->Core().Tables.FindSection(TitleSkin.empty() ? "FORMTITLE" : TitleSkin);
  return title_index_;
}

int TsSkinProvider::CaptionSection() {
  TsSkinManager* m = SkinData.SkinManagerOf();
  if (!m) return -1;
  if (caption_index_ < 0) caption_index_ = m->Core().Tables.FindSection("CAPTION");
  return caption_index_;
}

void TsSkinProvider::ApplySystemMenuStyle() {
  HWND hwnd = form_.WindowHandle();
  if (!hwnd) return;
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
  if (!(style & WS_SYSMENU) && !system_menu_) return;
  if (DrawNonClientArea) {
    // The system neither draws nor handles its own caption buttons while we draw ours.
    system_menu_ = true;
    if (style & WS_SYSMENU) ::SetWindowLongPtrW(hwnd, GWL_STYLE, style & ~WS_SYSMENU);
  } else if (!(style & WS_SYSMENU)) {
    ::SetWindowLongPtrW(hwnd, GWL_STYLE, style | WS_SYSMENU);
  }
}

void TsSkinProvider::NewSkin() {
  title_index_ = caption_index_ = -1;
  title_glow_.Clear();
  TsSkinManager* m = SkinData.SkinManagerOf();
  if (!m || !m->Core().Active()) return;
  SkinData.UpdateIndexes();
  if (SkinData.SectionIndex < 0) return;
  TitleSection();
  CaptionSection();
  ApplySystemMenuStyle();
  SyncBorderForm();
  images_ = sk::ChooseButtonImages(m->Core().Tables, Rules());
  UpdateLayout();
  region_changed_ = true;
  InvalidateWindowImage();
  if (HWND hwnd = form_.WindowHandle()) {
    ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateRegion();
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
}

void TsSkinProvider::RemoveSkin() {
  DropBorderForm();
  input_.Reset();
  HWND hwnd = form_.WindowHandle();
  if (hwnd && system_menu_) {
    ::SetWindowLongPtrW(hwnd, GWL_STYLE, ::GetWindowLongPtrW(hwnd, GWL_STYLE) | WS_SYSMENU);
  }
  system_menu_ = false;
  if (hwnd && region_set_) SetRegion(hwnd, nullptr);
  region_set_ = false;
  title_index_ = caption_index_ = -1;
  layout_ = {};
  if (UseGlobalColor && !SkinData.CustomColor) form_.SetColor(graphics::clBtnFace);
  SkinData.Cache = std::make_unique<graphics::Bitmap>();
  cache_memory_ = graphics::Bitmap();
  clean_title_ = graphics::Bitmap();
  title_text_ = {};
  title_glow_.Clear();
  if (hwnd) {
    ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::RedrawWindow(hwnd, nullptr, nullptr,
                   RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
}

graphics::Bitmap* TsSkinProvider::WindowImage() noexcept { return ComposedImage(); }

void TsSkinProvider::InvalidateWindowImage() noexcept {
  SkinData.BackgroundDirty = true;
  menu_rows_ = -1;  // the bar may wrap differently
}

void TsSkinProvider::AfterAnimation(skin::TlcAnimEvent event) {
  if (OnAfterAnimation) OnAfterAnimation(event);
}

const sk::TlcFormAnimation* TsSkinProvider::FormAnimation(bool show) const {
  TsSkinManager* m = SkinData.SkinManagerOf();
  HWND hwnd = form_.WindowHandle();
  if (!m || !hwnd || form_.Parent() || ::IsIconic(hwnd) || skin::AnimationLock()) return nullptr;
  const sk::TlcAnimEffects& a = m->Core().AnimEffects;
  const sk::TlcFormAnimation& s = show ? static_cast<const sk::TlcFormAnimation&>(a.FormShow)
                                       : static_cast<const sk::TlcFormAnimation&>(a.FormHide);
  return s.Active && sk::AnimationStepCount(s.Time) > 0 ? &s : nullptr;
}

bool TsSkinProvider::AnimateShowing() {
  const sk::TlcFormAnimation* show = FormAnimation(true);
  HWND hwnd = form_.WindowHandle();
  if (!show || !FrameSkinned() || !::IsWindowVisible(hwnd)) return false;
  // Redraw off until the animation has shown the picture; it switches redraw on.
  ::SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
  skin::ShowFormAnimated(*this, show->Time, FormOpacity(), show->Mode);
  return true;
}

void TsSkinProvider::StopPendingShow() noexcept {
  if (!show_pending_) return;
  show_pending_ = false;
  form_state_ &= ~static_cast<unsigned>(skin::fsShowing);
}

bool TsSkinProvider::BlendsOnMoving() const {
  HWND hwnd = form_.WindowHandle();
  TsSkinManager* m = SkinData.SkinManagerOf();
  if (!m || !hwnd || ::IsIconic(hwnd) || ::IsZoomed(hwnd) || form_.Parent()) return false;
  const auto& blend = m->Core().AnimEffects.BlendOnMoving;
  BOOL fullDrag = FALSE;
  ::SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &fullDrag, 0);
  return fullDrag && blend.Active && blend.BlendValue != 255 && AllowBlendOnMoving &&
         skin::LayeredApi().UpdateLayeredWindow != nullptr;
}

void TsSkinProvider::Adapt(TControl* control) {
  if (inert_ || !hooked_ || form_.Destroying()) return;
  if (!adapter_) {
    adapter_ = std::make_unique<TlcCtrlAdapter>(form_, SkinData.SkinManagerOf());
    adapter_->OnSkinItem = [this](TControl& item, bool& canBeAdded, std::string& section) {
      if (OnSkinItem) OnSkinItem(&item, canBeAdded, section);
    };
  }
  if (control) {
    adapter_->AdaptControl(*control);
  } else {
    adapter_->AdaptAll();
  }
}

bool TsSkinProvider::AnnounceToEditor(HWND form) {
  for (int i = 0; i < kEditorTries; ++i) {
    HWND editor = ::FindWindowW(nullptr, L"LumoSkins Editor");
    if (!editor) return false;
    DWORD_PTR answer = 0;
    if (::SendMessageTimeoutW(editor, kEditorAnnounce, 3, reinterpret_cast<LPARAM>(form),
                              SMTO_ABORTIFHUNG, 1000, &answer) &&
        answer == 1) {
      return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------- messages

void TsSkinProvider::CallOld(Message& m) {
  if (link_ && link_->old) link_->old(m);
}

void TsSkinProvider::WndProc(Message& m) {
  if (m.Msg == skin::SM_LUMOCMD) {
    if (!HandleCommand(m)) CallOld(m);
    return;
  }
  if (m.Msg == WM_CREATE) {
    // A provider placed on the form before its window existed skins the window once it is made.
    CallOld(m);
    if (hooked_ && !inert_) NewSkin();
    return;
  }
  if (m.Msg == WM_NCDESTROY) {
    // The window goes before the provider: nothing of it is ours to give back any more.
    DropBorderForm();
    input_.Reset();
    skin::EndFormMotion(*this);
    region_set_ = false;
    system_menu_ = false;
    CallOld(m);
    return;
  }
  if (m.Msg == CM_MENUCHANGED) {
    MenuChanged();
    CallOld(m);
    return;
  }
  if (!FrameSkinned() || !HandleFrameMessage(m)) CallOld(m);
}

bool TsSkinProvider::HandleCommand(Message& m) {
  const WORD cmd = HIWORD(m.WParam);
  TsSkinManager* manager = SkinData.SkinManagerOf();
  const bool fromOurs = manager && m.LParam == manager->Id();
  m.Result = 0;
  switch (cmd) {
    case skin::cmdIsSkinned:
      m.Result = 1;
      return true;
    case skin::cmdGetProvider:
      m.Result = reinterpret_cast<LRESULT>(this);
      return true;
    case skin::cmdNewSkin: {
      LRESULT ignored = 0;
      SkinData.HandleCommand(cmd, LOWORD(m.WParam), m.LParam, ignored);
      if (fromOurs) {
        NewSkin();
        adapted_ = false;
      }
      return true;
    }
    case skin::cmdRemoveSkin:
      if (fromOurs) {
        RemoveSkin();
        LRESULT ignored = 0;
        SkinData.HandleCommand(cmd, LOWORD(m.WParam), m.LParam, ignored);
      }
      return true;
    case skin::cmdRefresh:
      if (fromOurs) {
        // A reload (ExtendedBorders switched, hue or saturation changed) may add or drop the
        // extended borders and always brings new pictures.
        SyncBorderForm();
        InvalidateWindowImage();
        Adapt(nullptr);
      }
      return true;
    case skin::cmdControlChanged:
      if (TControl* c = TWinControl::FromHandle(reinterpret_cast<HWND>(m.LParam))) Adapt(c);
      return true;
    case skin::cmdBeforeScroll:
    case skin::cmdAfterScroll:
      if (FrameSkinned() && (SkinData.StateFlags & sfSimpleBackground) == 0) {
        HWND hwnd = form_.WindowHandle();
        if (cmd == skin::cmdBeforeScroll) {
          ::SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
        } else {
          ::SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
          ::RedrawWindow(hwnd, nullptr, nullptr,
                         RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        }
      }
      return true;
    case skin::cmdEndUpdate:
      SkinData.StateFlags &= static_cast<WORD>(~sfUpdating);
      InvalidateWindowImage();
      if (FrameSkinned()) ::SendMessageW(form_.WindowHandle(), WM_NCPAINT, 1, 0);
      return true;
    case skin::cmdGetBackgroundInfo: {
      // LParam points into the sender's memory: taken only from this thread.
      if (!m.LParam || (::InSendMessageEx(nullptr) & ISMEX_SEND)) return true;
      auto& info = *reinterpret_cast<TsBackgroundInfo*>(m.LParam);
      graphics::Bitmap* image = FrameSkinned() ? ComposedImage() : nullptr;
      if (!image) {
        info.Kind = 1;
        info.Color = graphics::ColorToRGB(form_.Color());
        return true;
      }
      // The client's place in the image: with extended borders the window lies at the margins.
      const POINT origin = ImageOrigin();
      const graphics::Point offset =
          sk::ClientOffset(FrameWidth(), 0, CaptionHeight(), MenuLineHeight());
      info.Kind = 2;
      info.Bitmap = image;
      info.OffsetX += offset.x + origin.x;
      info.OffsetY += offset.y + origin.y;
      return true;
    }
    case skin::cmdGetClientOffset: {
      const graphics::Point offset =
          sk::ClientOffset(FrameWidth(), 0, CaptionHeight(), MenuLineHeight());
      m.Result = MAKELONG(offset.x, offset.y);
      return true;
    }
    default: {
      LRESULT result = 0;
      if (!SkinData.HandleCommand(cmd, LOWORD(m.WParam), m.LParam, result)) return false;
      m.Result = result;
      return true;
    }
  }
}

int TsSkinProvider::HitTestAt(POINT p) {
  TsSkinManager* m = SkinData.SkinManagerOf();
  if (!m) return sk::kHitClient;
  const sk::FrameFormInput f = FrameInput();
  const sk::FrameSkinValues s = SkinValues();
  sk::FrameHitInput in;
  in.Point = {p.x, p.y};
  RECT wr{};
  ::GetWindowRect(form_.WindowHandle(), &wr);
  in.Width = wr.right - wr.left;
  in.Height = wr.bottom - wr.top;
  in.Frame = sk::FormFrameWidth(f, Metrics(), s);
  in.Caption = sk::CaptionHeight(f, Metrics(), s);
  in.ThickFrame = f.ThickFrame;
  in.Rules = f.Rules;
  in.Icon = sk::IconRect(f, Metrics(), s);
  in.MenuHeight = MenuLineHeight();
  in.Buttons = &layout_;
  sk::CaptionButtonLayout shifted;
  if (border_form_) {
    // The frame is laid out in the larger image; the form answers in its window's coordinates
    // for its caption and buttons, the companion for the sizing band around it.
    const POINT o = ImageOrigin();
    shifted = layout_;
    for (auto& b : shifted.System) b.Rect = b.Rect.empty() ? b.Rect : b.Rect.offset(-o.x, -o.y);
    for (auto& b : shifted.User) b.Rect = b.Rect.empty() ? b.Rect : b.Rect.offset(-o.x, -o.y);
    in.Buttons = &shifted;
    if (!in.Icon.empty()) in.Icon = in.Icon.offset(-o.x, -o.y);
    in.ThickFrame = false;
  }
  const bool sizeable = f.ThickFrame && !f.Zoomed();
  const int grip = m->Core().Tables.Cache.GripImage;
  if (GripMode == TsGripMode::gmRightBottom && sizeable && grip >= 0) {
    const sk::TsMaskData& g = m->Core().Tables.Images[static_cast<std::size_t>(grip)];
    const int gw = sk::FrameWidth(g), gh = sk::FrameHeight(g);
    in.Grip = Rect{in.Width - in.Frame - gw, in.Height - in.Frame - gh, in.Width - in.Frame,
                   in.Height - in.Frame};
  }
  return sk::FrameHitTest(in);
}

const sk::CaptionButtonInfo* TsSkinProvider::ButtonOf(int code) const {
  for (const sk::CaptionButtonInfo& b : layout_.System) {
    if (b.Visible && b.HitCode == code) return &b;
  }
  for (const sk::CaptionButtonInfo& b : layout_.User) {
    if (b.Visible && b.HitCode == code) return &b;
  }
  return nullptr;
}

void TsSkinProvider::RunCaptionCommand(UINT command) {
  if (command == SC_MINIMIZE || command == SC_RESTORE) {
    region_changed_ = true;
    InvalidateWindowImage();
  }
  PostCaptionCommand(command);
}

void TsSkinProvider::RunUserButton(int index, bool down, POINT screen) {
  if (index < 0 || static_cast<std::size_t>(index) >= TitleButtons.size()) return;
  const TsTitleButton& b = TitleButtons[static_cast<std::size_t>(index)];
  POINT client = screen;
  ::ScreenToClient(form_.WindowHandle(), &client);
  const TMouseEvent& e = down ? b.OnMouseDown : b.OnMouseUp;
  if (e) e(*this, MouseButton::mbLeft, 0, client.x, client.y);
}

POINT TsSkinProvider::SystemMenuPointBelowIcon() const {
  RECT wr{};
  ::GetWindowRect(form_.WindowHandle(), &wr);
  const int frame = FrameWidth();
  const Rect icon = IconRect();
  const int iconHeight = icon.empty() ? 16 : icon.height();
  POINT p{wr.left + frame, wr.top + 2 * frame + iconHeight};
  if (::IsIconic(form_.WindowHandle())) p.y -= 16;
  return p;
}

void TsSkinProvider::PrepareSystemMenu(HMENU menu) const {
  const sk::FormRulesInput r = Rules();
  const bool normal = r.WindowState == sk::TWindowState::wsNormal;
  auto set = [menu](UINT command, bool enabled) {
    ::EnableMenuItem(menu, command, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  };
  set(SC_RESTORE, sk::EnabledRestore(r));
  set(SC_MOVE, r.WindowState != sk::TWindowState::wsMaximized);
  set(SC_SIZE, r.BorderStyle != sk::TFormBorderStyle::bsSingle &&
                   r.WindowState != sk::TWindowState::wsMinimized && normal);
  set(SC_MINIMIZE, sk::EnabledMin(r));
  set(SC_MAXIMIZE, sk::EnabledMax(r));
  set(SC_CLOSE, true);
}

void TsSkinProvider::OpenSystemMenu(POINT screen) {
  HWND hwnd = form_.WindowHandle();
  TsSkinManager* m = SkinData.SkinManagerOf();
  if (!hwnd) return;
  if (m && m->Core().SkinnedPopups() &&
      skin::OpenSkinnedSystemMenu(form_, hwnd, screen, Rules(), MakeSkinMenu)) {
    return;
  }
  // The platform's own menu. It is built only for a window with WS_SYSMENU, which we took off
  // while skinned: the style is given back for the moment, without the frame being repainted.
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
  ::SetWindowLongPtrW(hwnd, GWL_STYLE, (style | WS_SYSMENU) & ~WS_VISIBLE);
  HMENU menu = ::GetSystemMenu(hwnd, FALSE);
  if (menu) PrepareSystemMenu(menu);
  ::SetWindowLongPtrW(hwnd, GWL_STYLE, style);
  if (!menu) return;
  if (skin::PlugIns().trackSystemMenu) {
    const UINT chosen = skin::PlugIns().trackSystemMenu(menu, screen);
    if (chosen) ::PostMessageW(hwnd, WM_SYSCOMMAND, chosen, 0);
    return;
  }
  const BOOL chosen =
      ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, hwnd, nullptr);
  if (chosen) ::PostMessageW(hwnd, WM_SYSCOMMAND, static_cast<WPARAM>(chosen), 0);
}

bool TsSkinProvider::CaptionExtHitTest(Message& m) {
  if (!OnExtHitTest) return false;
  m.Result = HTNOWHERE;
  OnExtHitTest(m);
  return m.Result != HTNOWHERE;
}

bool TsSkinProvider::CaptionFramePress(int code, POINT screen, Message& m) {
  if (code == sk::kHitSysMenu) {
    OpenSystemMenu(SystemMenuPointBelowIcon());
    m.Result = 0;
    return true;
  }
  // rmBorder: an outline follows the mouse instead of the window.
  if (OutlineDrag(code, screen)) {
    m.Result = 0;
    return true;
  }
  if (code == sk::kHitCaption && BlendsOnMoving()) {
    skin::MoveWithBlend(*this, AllowBlendOnMoving, screen);
    form_active_ = true;
    InvalidateWindowImage();
    PaintFrameNow();
    m.Result = 0;
    return true;
  }
  return false;
}

bool TsSkinProvider::CaptionDoubleClick(int code, POINT, Message& m) {
  const sk::CaptionAction a = sk::CaptionDoubleClick(code, Rules());
  if (a != sk::CaptionAction::None) {
    RunCaptionCommand(CaptionSystemCommand(a));
    m.Result = 0;
    return true;
  }
  if (code == sk::kHitCaption || code == sk::kHitSysMenu) {
    m.Result = 0;  // a maximize the form does not allow
    return true;
  }
  return false;
}

bool TsSkinProvider::CaptionGlows() const {
  return !(::GetWindowLongPtrW(form_.WindowHandle(), GWL_STYLE) & WS_CHILD);
}

bool TsSkinProvider::HandleFrameMessage(Message& m) {
  // A context menu of the form is skinned (or given back) by the painter's state first.
  if (m.Msg == WM_CONTEXTMENU) {
    if (TsSkinManager* manager = SkinData.SkinManagerOf()) manager->Menus().SyncMenus();
  }
  if (input_.Handle(m)) return true;
  HWND hwnd = form_.WindowHandle();
  switch (m.Msg) {
    case kTaskBarWindowMenu: {
      POINT p{};
      ::GetCursorPos(&p);
      OpenSystemMenu(p);
      m.Result = 0;
      return true;
    }
    case WM_SYSCOMMAND: {
      const WPARAM command = m.WParam & 0xFFF0;
      if (command == SC_KEYMENU && m.LParam == ' ') {
        if (system_menu_ && form_.GetBorderStyle() != BorderStyle::bsNone) {
          OpenSystemMenu(SystemMenuPointBelowIcon());
          m.Result = 0;
          return true;
        }
        return false;
      }
      CallOld(m);
      if (command == SC_MAXIMIZE || command == SC_RESTORE || command == SC_MINIMIZE ||
          (m.WParam & 0xFFFF) == SC_MOVE + 2) {
        images_ = sk::ChooseButtonImages(SkinData.SkinManagerOf()->Core().Tables, Rules());
        UpdateLayout();
        region_changed_ = true;
        InvalidateWindowImage();
        if (form_.HandleAllocated()) ::SendMessageW(form_.WindowHandle(), WM_NCPAINT, 1, 0);
      }
      return true;
    }
    case WM_NCACTIVATE: {
      const bool active = m.WParam != 0;
      if (active != form_active_) InvalidateWindowImage();
      form_active_ = active;
      // The old procedure keeps the activation logic; lParam -1 keeps it from painting the
      // system's frame over ours.
      Message plain{m.Msg, m.WParam, static_cast<LPARAM>(-1)};
      CallOld(plain);
      m.Result = plain.Result;
      if (!active && input_.Tracker().Current() != 0) input_.ClearHot();
      PaintFrameNow();
      // Activation raises the form's owner group; the companion goes back under the form.
      if (border_form_) border_form_->Follow();
      return true;
    }
    case WM_PRINT: {
      // A picture of the whole window (the animations' snapshots): our frame from the window
      // image, then the client area as the form paints it, moved to its place in the window.
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      if (!dc || (m.LParam & PRF_NONCLIENT) == 0) return false;
      // With extended borders the picture is the whole image, border margins included, with
      // the window at the margins (as the animations show it in the companion's place).
      const POINT image = ImageOrigin();
      if (border_form_) {
        graphics::Bitmap* all = ComposedImage();
        HBITMAP section = all ? ImageDib() : nullptr;
        if (!section) return false;
        MemoryDC mem(::CreateCompatibleDC(dc));
        SelectedObject selected(mem.get(), section);
        ::BitBlt(dc, 0, 0, all->Width(), all->Height(), mem.get(), 0, 0, SRCCOPY);
      } else {
        PaintFrame(dc);
      }
      POINT origin{0, 0};
      ::ClientToScreen(hwnd, &origin);
      RECT wr{};
      ::GetWindowRect(hwnd, &wr);
      SavedDC saved(dc);
      ::OffsetViewportOrgEx(dc, origin.x - wr.left + image.x, origin.y - wr.top + image.y, nullptr);
      Message client{WM_PRINT, m.WParam, m.LParam & ~static_cast<LPARAM>(PRF_NONCLIENT)};
      CallOld(client);
      m.Result = client.Result;
      return true;
    }
    case WM_NCPAINT:
      if (defer_frame_paint_ || (form_state_ & (skin::fsShowing | skin::fsHiding)) ||
          !::IsWindowVisible(hwnd)) {
        m.Result = 0;
        return true;
      }
      PaintFrameNow();
      // The standard controls are hooked when the form first shows its skinned frame.
      if (!adapted_) {
        adapted_ = true;
        Adapt(nullptr);
      }
      m.Result = 0;
      return true;
    case WM_SETTEXT:
    case WM_SETICON:
      // The system paints its own caption on these; ours goes over it at once.
      CallOld(m);
      if (m.Msg == WM_SETICON) title_text_ = {};
      InvalidateWindowImage();
      PaintFrameNow();
      return true;
    case WM_STYLECHANGED:
      if (m.WParam == static_cast<WPARAM>(GWL_STYLE)) {
        UpdateLayout();
        InvalidateWindowImage();
      }
      return false;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      caption_font_.reset();
      caption_extent_ = {};
      title_text_ = {};
      title_glow_.Clear();
      InvalidateWindowImage();
      return false;
    case WM_WINDOWPOSCHANGING: {
      CallOld(m);
      auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam);
      if (wp && !(wp->flags & SWP_NOMOVE) && ScreenSnap && !::IsZoomed(hwnd) &&
          ::IsWindowVisible(hwnd)) {
        MONITORINFO mi{sizeof mi, {}, {}, 0};
        if (::GetMonitorInfoW(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &mi)) {
          RECT wr{};
          ::GetWindowRect(hwnd, &wr);
          const int w = (wp->flags & SWP_NOSIZE) ? wr.right - wr.left : wp->cx;
          const int h = (wp->flags & SWP_NOSIZE) ? wr.bottom - wr.top : wp->cy;
          const Rect work{mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom};
          // The extended border's shadow may hang over the edge.
          const graphics::Point p = sk::SnapToWorkArea({ScreenSnap, SnapBuffer}, {wp->x, wp->y}, w,
                                                       h, work, BorderMargins().left);
          wp->x = p.x;
          wp->y = p.y;
        }
      }
      return true;
    }
    case WM_SHOWWINDOW:
      // Only the form's own showing and hiding (lParam 0), not its owner's minimizing.
      if (m.LParam != 0) return false;
      if (m.WParam && !::IsWindowVisible(hwnd) && FormAnimation(true)) {
        // Shown through the show animation once the window is on the screen (the position
        // change that shows it); no frame is painted before.
        show_pending_ = true;
        form_state_ |= skin::fsShowing;
      } else if (!m.WParam) {
        StopPendingShow();
        if (::IsWindowVisible(hwnd) && !(form_state_ & skin::fsHiding) && FormAnimation(false)) {
          // The picture fades out over the place the window leaves.
          skin::HideFormAnimated(*this);
          AfterAnimation(skin::TlcAnimEvent::aeHiding);
        }
      }
      return false;
    case WM_WINDOWPOSCHANGED: {
      CallOld(m);
      const auto* wp = reinterpret_cast<const WINDOWPOS*>(m.LParam);
      if (wp && (wp->flags & SWP_SHOWWINDOW) && show_pending_) {
        StopPendingShow();
        AnimateShowing();
      }
      // Only a new size needs a new layout, image and region (giving a region changes the
      // frame again, without a new size).
      if (wp && !(wp->flags & SWP_NOSIZE)) {
        UpdateLayout();
        InvalidateWindowImage();
        region_changed_ = true;
        UpdateRegion();
      }
      // The companion keeps to the form: place, Z-order, shown or hidden, minimized. A hide
      // animation took it away with the form's last picture: showing brings a new one.
      if (wp && (wp->flags & SWP_SHOWWINDOW) && !border_form_) SyncBorderForm();
      if (border_form_) border_form_->Follow();
      return true;
    }
    case WM_NCCALCSIZE:
      if (CalcExtendedClient(m)) return true;
      return false;
    default:
      return false;
  }
}

// ---------------------------------------------------------------- registration

void RegisterSkinProvider() {
  RegisterComponentClass<TsSkinProvider>("TsSkinProvider");
  // The main window's minimize, restore and preview requests reach the form's provider.
  skin::PlugIns().animatedForm = [](TForm& form) -> skin::AnimatedForm* {
    return TsSkinProvider::Of(form.WindowHandle());
  };
  skin::PlugIns().attachForm = [](TForm& form) {
    if (TsSkinProvider::Of(form.WindowHandle())) return false;
    TsSkinProvider& p = TsSkinProvider::AttachAutomatic(form);
    // The hook attaches a form on its first activation, while it is being shown: that first
    // showing is animated here.
    p.AnimateShowing();
    // The skin editor's preview: the first provider of the main form announces it.
    static bool announced = false;
    if (!announced && &form == Application().MainForm()) {
      announced = true;
      const auto args = skin::Win32SkinPlatform().CommandLineArguments();
      if (!args.empty() && sk::IsPreviewSwitch(args.front())) {
        TsSkinProvider::AnnounceToEditor(p.FormWindow());
      }
    }
    return true;
  };
}

}  // namespace sapala::win
