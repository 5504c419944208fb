#include "win/skin/common_data.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

#include "core/skin/control_rules.h"
#include "win/controls/skin_link.h"
#include "win/framework/application.h"
#include "win/framework/dib.h"
#include "win/framework/forms.h"
#include "win/framework/label.h"
#include "win/framework/text.h"
#include "win/skin/broadcast.h"
#include "win/skin/animations.h"
#include "win/skin/glow.h"
#include "win/skin/platform.h"
#include "win/skin/skin_manager.h"

namespace sapala::win {

namespace rules = sapala::skin;
using sapala::skin::TsGeneralData;
using skin::SM_LUMOCMD;

namespace {

std::unordered_map<const TControl*, TsCommonData*>& Registry() {
  static std::unordered_map<const TControl*, TsCommonData*> registry;
  return registry;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

LRESULT Send(HWND hwnd, WORD command, LPARAM lp = 0, WORD argument = 0) {
  return hwnd ? ::SendMessageW(hwnd, SM_LUMOCMD, MAKEWPARAM(argument, command), lp) : 0;
}

bool IsSkinnedWindow(HWND hwnd) { return Send(hwnd, skin::cmdIsSkinned) == 1; }

HWND WindowOf(const TControl* c) {
  auto* w = dynamic_cast<const TWinControl*>(c);
  return w && w->HandleAllocated() ? w->WindowHandle() : nullptr;
}

// Kinds whose owners are edit fields (their default section is "EDIT").
bool IsEditKind(int kind) { return rules::DefaultSectionForKind(kind, "") == "EDIT"; }

// Kinds that show a glow on hover (not the never-glowing ones, not the buttons 92-94).
bool GlowingKind(int kind) { return !rules::IsNeverGlowingKind(kind) && (kind < 92 || kind > 94); }

}  // namespace

TsCommonData* CommonDataOf(const TControl* control) noexcept {
  const auto it = Registry().find(control);
  return it == Registry().end() ? nullptr : it->second;
}

TsCommonData::TsCommonData(TControl& owner, bool withCache)
    : owner_control_(&owner), owner_object_(&owner) {
  if (withCache) Cache = std::make_unique<graphics::Bitmap>();
  Registry()[&owner] = this;
}

TsCommonData::TsCommonData(TObject& provider, TForm& form, bool withCache)
    : owner_object_(&provider), provider_form_(&form) {
  if (withCache) Cache = std::make_unique<graphics::Bitmap>();
}

TsCommonData::~TsCommonData() {
  HideGlow();
  if (owner_control_) Registry().erase(owner_control_);
  SectionIndex = BorderMaskIndex = PatternIndex = HotPatternIndex = -1;
}

// ---------------------------------------------------------------- binding

TsSkinManager* TsCommonData::SkinManagerOf() const noexcept {
  return skin_manager_ ? skin_manager_ : TsSkinManager::Default();
}

const TsGeneralData* TsCommonData::Section() const {
  TsSkinManager* m = SkinManagerOf();
  if (!m || SectionIndex < 0) return nullptr;
  const auto& sections = m->Core().Tables.Sections;
  return static_cast<std::size_t>(SectionIndex) < sections.size()
             ? &sections[static_cast<std::size_t>(SectionIndex)]
             : nullptr;
}

bool TsCommonData::Skinned(bool checkActive) const {
  TsSkinManager* m = SkinManagerOf();
  if (!m || m->Destroying() || !Section()) return false;
  if (owner_control_ && owner_control_->Destroying()) return false;
  return !checkActive || m->SkinActive();
}

void TsCommonData::SetSkinSection(const std::string& section) {
  const std::string upper = Upper(section);
  if (upper == skin_section_) return;
  skin_section_ = upper;
  ResolveAndNotify();
}

void TsCommonData::SetSkinManager(TsSkinManager* manager) {
  if (manager == skin_manager_) return;
  skin_manager_ = manager;
  ResolveAndNotify();
}

bool TsCommonData::ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) {
  if (name == "CustomColor") {
    CustomColor = loader.Bool(p);
    return true;
  }
  if (name == "CustomFont") {
    CustomFont = loader.Bool(p);
    return true;
  }
  if (name == "SkinSection") {
    SetSkinSection(Narrow(loader.String(p)));
    return true;
  }
  if (name == "SkinManager") {
    // The manager may be described after its user: resolved once every component exists.
    loader.Defer([this, &loader, &p] {
      auto* m = dynamic_cast<TsSkinManager*>(loader.Reference(p));
      if (!m) loader.Fail(p, "not a skin manager");
      SetSkinManager(m);
    });
    return true;
  }
  return false;
}

void TsCommonData::ResolveAndNotify() {
  UpdateIndexes();
  TControl* c = owner_control_;
  if (!c || c->Loading() || (c->ComponentState() & csReading) || c->Destroying() || !c->Parent())
    return;
  TsSkinManager* m = SkinManagerOf();
  Message msg{SM_LUMOCMD, MAKEWPARAM(0, Skinned() ? skin::cmdRefresh : skin::cmdRemoveSkin),
              m ? m->Id() : 0};
  if (HWND hwnd = WindowOf(c)) {
    ::SendMessageW(hwnd, msg.Msg, msg.WParam, msg.LParam);
  } else {
    c->Dispatch(msg);
  }
}

void TsCommonData::UpdateIndexes() {
  if (owner_control_ && (owner_control_->ComponentState() & csDesigning)) {
    SectionIndex = -1;
    return;
  }
  BackgroundDirty = true;
  TsSkinManager* m = SkinManagerOf();
  const std::string name =
      !skin_section_.empty() ? skin_section_
      : owner_control_ ? rules::DefaultSectionForKind(ControlKind, owner_control_->ClassName())
                       : std::string("FORM");
  SectionIndex = m && m->Core().Active() ? m->Core().Tables.FindSection(name) : -1;
  StateFlags = 0;
  const TsGeneralData* s = Section();
  BackgroundKind = static_cast<short>(s ? rules::BackgroundKindOf(*s) : 0);
  if (s) {
    const auto& t = m->Core().Tables;
    BorderMaskIndex = s->MaskIndex;
    PatternIndex = t.FindTexture(SectionIndex, s->SectionName, "PATTERN");
    HotPatternIndex = t.FindTexture(SectionIndex, s->SectionName, "HOTPATTERN");
    UpdateSimpleFlag(false);
  } else {
    SectionIndex = -1;
    BorderMaskIndex = PatternIndex = HotPatternIndex = -1;
  }
}

// ---------------------------------------------------------------- colours

TColor TsCommonData::Adjusted(TColor c) const {
  return graphics::ShiftedColor(graphics::ColorToRGB(c), HueShift, SaturationShift);
}

TColor TsCommonData::OwnerColor() const {
  if (owner_control_) return graphics::ColorToRGB(owner_control_->Color());
  if (provider_form_) return graphics::ColorToRGB(provider_form_->Color());
  return graphics::ColorToRGB(graphics::clBtnFace);
}

TWinControl* TsCommonData::ParentControl() const noexcept {
  return owner_control_ ? owner_control_->Parent() : nullptr;
}

HWND TsCommonData::OwnerWindow() const noexcept {
  if (provider_form_)
    return provider_form_->HandleAllocated() ? provider_form_->WindowHandle() : nullptr;
  return WindowOf(owner_control_);
}

TColor TsCommonData::ParentColor() const {
  TWinControl* p = ParentControl();
  if (!p) {
    if (owner_control_) return graphics::clFuchsia;
    return graphics::ColorToRGB(graphics::clBtnFace);
  }
  if (p->HandleAllocated() && IsSkinnedWindow(p->WindowHandle())) {
    const TColor answer = static_cast<TColor>(
        Send(p->WindowHandle(), skin::cmdGetBackgroundColor, graphics::clFuchsia));
    return graphics::ColorToRGB(answer);
  }
  return graphics::ColorToRGB(p->Color());
}

void TsCommonData::ApplyColors(bool repaint) {
  if (!Skinned() || !rules::IsColorApplyingKind(ControlKind) || !owner_control_) return;
  const TsGeneralData& s = *Section();
  if (!CustomColor) {
    const TColor c = Adjusted(s.Color);
    if (c != owner_control_->Color()) owner_control_->SetColor(c);
  }
  if (!CustomFont) {
    const TColor c = Adjusted(s.Props[0].FontColors[0]);
    if (c != owner_control_->Font().Color()) owner_control_->Font().SetColor(c);
  }
  if (repaint) Invalidate();
}

TColor TsCommonData::BackgroundColor(int state) const {
  const TsGeneralData* s = Section();
  const bool skinnedNotCustom = s && !CustomColor;
  TColor parent = ParentColor();
  if (!owner_control_ && !provider_form_) parent = graphics::ColorToRGB(graphics::clBtnFace);
  return rules::EffectiveBackgroundColor(s, state == 1, skinnedNotCustom, parent, OwnerColor());
}

// ---------------------------------------------------------------- repainting

void TsCommonData::Invalidate() {
  if (provider_form_) {
    BackgroundDirty = true;
    if (HWND hwnd = OwnerWindow()) {
      ::RedrawWindow(hwnd, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    return;
  }
  TControl* c = owner_control_;
  if (!c || c->Loading() || c->Destroying()) return;
  BackgroundDirty = true;
  if (!c->Parent() || (c->ComponentState() & csReading)) return;
  auto* w = dynamic_cast<TWinControl*>(c);
  if (!w) {
    c->Repaint();
  } else if (w->HandleAllocated()) {
    ::RedrawWindow(w->WindowHandle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

void TsCommonData::BeginUpdate() {
  ++LockCount;
  Suspended = true;
  StateFlags |= sfUpdating;
  if (HWND hwnd = OwnerWindow()) {
    Send(hwnd, skin::cmdBeginUpdate);
  } else if (owner_control_) {
    Message m{SM_LUMOCMD, MAKEWPARAM(0, skin::cmdBeginUpdate), 0};
    owner_control_->Dispatch(m);
  }
}

void TsCommonData::EndUpdate(bool repaint) {
  if (LockCount > 0) --LockCount;
  Suspended = false;
  StateFlags &= static_cast<WORD>(~sfUpdating);
  if (LockCount != 0) return;
  if (HWND hwnd = OwnerWindow()) {
    Send(hwnd, skin::cmdEndUpdate);
  } else if (owner_control_) {
    Message m{SM_LUMOCMD, MAKEWPARAM(0, skin::cmdEndUpdate), 0};
    owner_control_->Dispatch(m);
  }
  if (repaint) Invalidate();
}

void TsCommonData::UpdateCacheSize() {
  int w = 0, h = 0;
  if (owner_control_) {
    w = owner_control_->Width();
    h = owner_control_->Height();
  } else if (provider_form_) {
    w = provider_form_->Width();
    h = provider_form_->Height();
  }
  w = std::clamp(w, 0, graphics::Bitmap::kMaxDimension);
  h = std::clamp(h, 0, graphics::Bitmap::kMaxDimension);
  if (Cache && Cache->Width() == w && Cache->Height() == h &&
      (Cache->Empty() || Cache->Format() == graphics::PixelFormat::pf32bit)) {
    return;
  }
  Cache = std::make_unique<graphics::Bitmap>(w, h, graphics::PixelFormat::pf32bit);
  BackgroundDirty = true;
}

int TsCommonData::ActiveState() const {
  const TControl* c = owner_control_;
  if (!c || c->Destroying() || (c->ComponentState() & csDesigning) || !c->Enabled()) return 0;
  if (Focused) return 1;
  if (auto* w = dynamic_cast<const TWinControl*>(c); w && w->Focused()) return Container ? 0 : 1;
  return Hovered && !rules::IsHoverInactiveKind(ControlKind) ? 1 : 0;
}

// ---------------------------------------------------------------- background answers

void TsCommonData::UpdateSimpleFlag(bool recurse) {
  StateFlags &= static_cast<WORD>(~sfSimpleBackground);
  const TsGeneralData* s = Section();
  if (s && (Container || provider_form_)) {
    TsSkinManager* m = SkinManagerOf();
    const sapala::skin::TsMaskData* mask = m->Core().Tables.Image(BorderMaskIndex);
    TWinControl* parent = ParentControl();
    bool parentSimple = false;
    if (parent && parent->HandleAllocated()) {
      parentSimple =
          (Send(parent->WindowHandle(), skin::cmdParentBackgroundState) & sfSimpleBackground) != 0;
    }
    if (provider_form_) {
      const bool child =
          OwnerWindow() && (::GetWindowLongPtrW(OwnerWindow(), GWL_STYLE) & WS_CHILD);
      if (!rules::BackgroundIsOwn(*s, mask, false, false) && !child)
        StateFlags |= sfSimpleBackground;
    } else if (!rules::BackgroundIsOwn(*s, mask, parent != nullptr, parentSimple)) {
      StateFlags |= sfSimpleBackground;
    }
  }
  if (!recurse) return;
  auto* w = dynamic_cast<TWinControl*>(owner_control_ ? owner_control_ : provider_form_);
  if (!w) return;
  for (std::size_t i = 0; i < w->Controls().size(); ++i) {
    TControl& child = *w->Controls()[i];
    if (!child.Destroying()) {
      skin::Deliver(child,
                    skin::Lumo{SM_LUMOCMD, MAKEWPARAM(0, skin::cmdParentBackgroundState), 1});
    }
  }
}

bool TsCommonData::FollowsParent() const {
  if (ImmediatePaint || !Skinned() || !owner_control_ || !owner_control_->Enabled()) return true;
  if (Section()->Transparency <= 0) return false;
  TWinControl* p = ParentControl();
  return p && p->HandleAllocated() && Send(p->WindowHandle(), skin::cmdIsTransparent) != 0;
}

bool TsCommonData::PaintingHeldBack() const {
  TsSkinManager* m = SkinManagerOf();
  if (!m || (m->ComponentState() & csDesigning)) return false;
  // While an animation takes its picture every control counts as active.
  if ((StateFlags & sfSimpleBackground) && ActiveState() == 0 && !skin::AnimationLock())
    return Suspended;
  if (owner_control_ && owner_control_->Destroying()) return Suspended;
  if (Suspended) return true;
  HWND parent = nullptr;
  if (TWinControl* p = ParentControl(); p && p->HandleAllocated()) parent = p->WindowHandle();
  return parent && Send(parent, skin::cmdIsBackgroundDirty) != 0;
}

void TsCommonData::FillBackgroundInfo(TsBackgroundInfo& info) {
  const TsGeneralData* s = Section();
  if (!s || CustomColor) {
    info.Kind = 1;
    info.Color = OwnerColor();
    return;
  }
  const int t = s->Props[0].Transparency, g = s->Props[0].GradientPercent;
  const bool haveCache = Cache && !Cache->Empty();
  if (t == 100) {
    if ((StateFlags & sfSimpleBackground) || !haveCache || BackgroundDirty) {
      TWinControl* parent = ParentControl();
      if (!parent) {
        TsSkinManager* m = TsSkinManager::Default();
        info.Kind = 1;
        info.Color = m ? m->Core().FormColor() : graphics::ColorToRGB(graphics::clBtnFace);
        return;
      }
      AskParentBackground(parent, info);
      info.OffsetX += owner_control_->Left();
      info.OffsetY += owner_control_->Top();
      return;
    }
    info.Kind = 2;
    info.Bitmap = Cache.get();
    info.OffsetX = info.OffsetY = 0;
  } else if (t > 0) {
    if (haveCache) {
      info.Kind = 2;
      info.Bitmap = Cache.get();
      info.OffsetX = info.OffsetY = 0;
    } else {
      info.Kind = 1;
      info.Color = graphics::clFuchsia;
    }
  } else if (g <= 0 && s->Props[0].ImagePercent < 1) {
    info.Kind = 1;
    info.Color = BackgroundColor(0);
    info.Bitmap = Cache.get();
    if (info.PaintNow && info.DC) {
      Brush brush(::CreateSolidBrush(ToColorRef(info.Color)));
      ::FillRect(info.DC, &info.Rect, brush.get());
    }
    return;
  } else {
    TsSkinManager* m = SkinManagerOf();
    info.Color = m ? m->Core().FormColor() : graphics::clFuchsia;
    if (haveCache) {
      info.Kind = 2;
      info.Bitmap = Cache.get();
      info.OffsetX = info.OffsetY = 0;
    } else {
      info.Kind = 1;
      info.Color = graphics::clFuchsia;
    }
  }
  if (info.PaintNow && info.Kind == 2 && info.DC && haveCache) {
    if (HBITMAP dib = DibHandle(*Cache)) {
      MemoryDC mem(::CreateCompatibleDC(info.DC));
      SelectedObject selected(mem.get(), dib);
      const RECT& r = info.Rect;
      ::BitBlt(info.DC, r.left, r.top, r.right - r.left, r.bottom - r.top, mem.get(),
               r.left + info.OffsetX, r.top + info.OffsetY, SRCCOPY);
    }
  }
}

void AskParentBackground(TWinControl* parent, TsBackgroundInfo& info) {
  const bool paintNow = info.PaintNow;
  info.Kind = 0;
  if (!parent) {
    info.Kind = 1;
    info.Color = graphics::clFuchsia;
    return;
  }
  HWND hwnd = parent->HandleAllocated() ? parent->WindowHandle() : nullptr;
  if (hwnd) Send(hwnd, skin::cmdGetBackgroundInfo, reinterpret_cast<LPARAM>(&info));
  if (info.Kind != 0) return;
  if (paintNow && hwnd && info.DC) {
    SavedDC saved(info.DC);
    POINT old;
    ::OffsetViewportOrgEx(info.DC, -info.OffsetX, -info.OffsetY, &old);
    RECT r = info.Rect;
    ::OffsetRect(&r, info.OffsetX, info.OffsetY);
    ::IntersectClipRect(info.DC, r.left, r.top, r.right, r.bottom);
    ::SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(info.DC), 0);
    ::SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(info.DC), PRF_CLIENT);
    info.Kind = 1;
    info.Color = graphics::clFuchsia;
    return;
  }
  const LRESULT answer =
      hwnd && IsSkinnedWindow(hwnd) ? Send(hwnd, skin::cmdGetBackgroundColor) : 0;
  info.Kind = 1;
  info.Color = answer != 0 ? graphics::ColorToRGB(static_cast<TColor>(answer))
                           : graphics::ColorToRGB(parent->Color());
  if (paintNow && info.DC) {
    Brush brush(::CreateSolidBrush(ToColorRef(info.Color)));
    ::FillRect(info.DC, &info.Rect, brush.get());
  }
}

void TsCommonData::AskParent(TsBackgroundInfo& info) const {
  AskParentBackground(ParentControl(), info);
}

// ---------------------------------------------------------------- painting

sapala::skin::ElementRef TsCommonData::Element() const {
  sapala::skin::ElementRef e;
  e.SectionIndex = SectionIndex;
  e.BorderMaskIndex = BorderMaskIndex;
  e.PatternIndex = PatternIndex;
  e.HotPatternIndex = HotPatternIndex;
  e.ColorOverride = CustomColor ? OwnerColor() : graphics::clFuchsia;
  e.HueShift = HueShift;
  e.SaturationShift = SaturationShift;
  return e;
}

bool TsCommonData::PaintCache(int state) {
  if (!Skinned()) return false;
  UpdateCacheSize();
  if (!Cache || Cache->Empty()) return false;
  TsBackgroundInfo info;
  info.Rect = RECT{0, 0, Cache->Width(), Cache->Height()};
  AskParent(info);
  sapala::skin::ParentBackground bg =
      info.Kind == 2 && info.Bitmap
          ? sapala::skin::ParentBackground::FromBitmap(info.Bitmap, info.OffsetX, info.OffsetY)
          : sapala::skin::ParentBackground::FromColor(info.Color);
  const graphics::Point offset{owner_control_ ? owner_control_->Left() : 0,
                               owner_control_ ? owner_control_->Top() : 0};
  sapala::skin::PaintElement(SkinManagerOf()->Core().Tables, Element(), bg, true, *Cache, offset,
                             graphics::Rect{0, 0, Cache->Width(), Cache->Height()}, state);
  BackgroundDirty = false;
  return true;
}

// ---------------------------------------------------------------- glow

void TsCommonData::HideGlow() {
  if (GlowHandle >= 0) skin::HideGlow(GlowHandle);
  GlowHandle = -1;
}

void TsCommonData::UpdateGlow(bool force) {
  TsSkinManager* m = SkinManagerOf();
  const TsGeneralData* s = Section();
  if (!m || !s || !m->Core().Effects.AllowGlowing() || s->Glow < 1 || !owner_control_) return;
  const bool buttonDown = (::GetKeyState(VK_LBUTTON) < 0) && owner_control_->MouseInControl();
  if (!Hovered || buttonDown || (force && GlowHandle >= 0)) {
    HideGlow();
    return;
  }
  if (GlowHandle >= 0) return;
  // The control on the screen, and the part of it that is visible.
  RECT screen{}, visible{};
  TWinControl* parent = owner_control_->Parent();
  if (HWND hwnd = WindowOf(owner_control_)) {
    ::GetWindowRect(hwnd, &screen);
    WindowDC dc(hwnd);
    ::GetClipBox(dc.get(), &visible);
  } else if (parent && parent->HandleAllocated()) {
    const RECT b = owner_control_->BoundsRect();
    POINT tl{b.left, b.top};
    ::ClientToScreen(parent->WindowHandle(), &tl);
    screen = RECT{tl.x, tl.y, tl.x + (b.right - b.left), tl.y + (b.bottom - b.top)};
    RECT client, shown;
    ::GetClientRect(parent->WindowHandle(), &client);
    ::IntersectRect(&shown, &client, &b);
    visible =
        RECT{shown.left - b.left, shown.top - b.top, shown.right - b.left, shown.bottom - b.top};
  } else {
    return;
  }
  TForm* form = owner_control_->ParentForm();
  HWND host = form && form->HandleAllocated() ? form->WindowHandle() : nullptr;
  GlowHandle = skin::ShowGlow(screen, visible, s->SectionName, m, host, 255, s->GlowMargin, "GLOW");
}

// ---------------------------------------------------------------- messages

void TsCommonData::RemoveSkin(LPARAM sender) {
  TsSkinManager* m = SkinManagerOf();
  if (!m || sender != m->Id()) return;
  if (skin_manager_ && skin_manager_->Destroying()) skin_manager_ = nullptr;
  SectionIndex = BorderMaskIndex = PatternIndex = HotPatternIndex = -1;
  Suspended = true;
  if (Cache) Cache = std::make_unique<graphics::Bitmap>();
  HideGlow();
  TControl* c = owner_control_;
  if (!c) return;
  if (IsEditKind(ControlKind)) {
    if (!CustomColor) c->SetColor(graphics::clWindow);
    if (!CustomFont) c->Font().SetColor(graphics::clWindowText);
    if (HWND hwnd = WindowOf(c)) ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
  } else if (auto* w = dynamic_cast<TWinControl*>(c)) {
    for (TControl* child : w->Controls()) {
      if (auto* label = dynamic_cast<TCustomLabel*>(child))
        label->Font().SetColor(graphics::clWindowText);
    }
  }
}

bool TsCommonData::HandleCommand(WORD command, WORD argument, LPARAM lp, LRESULT& result) {
  TsSkinManager* m = SkinManagerOf();
  const bool fromOurs = m && lp == m->Id();
  result = 0;
  switch (command) {
    case skin::cmdNewSkin:
      if (fromOurs) {
        sapala::skin::SkinManagerCore::ClearRepaintPending();
        UpdateIndexes();
        UpdateSimpleFlag(false);
      }
      return true;
    case skin::cmdRemoveSkin:
      RemoveSkin(lp);
      return true;
    case skin::cmdRefresh:
      if (fromOurs) {
        BackgroundDirty = true;
        Suspended = false;
        ApplyColors(true);
        UpdateSimpleFlag(false);
      }
      return true;
    case skin::cmdIsSkinned:
      result = 1;
      return true;
    case skin::cmdSetSuspended:
      Suspended = argument == 1;
      return true;
    case skin::cmdSetImmediatePaint:
      ImmediatePaint = argument == 1;
      return true;
    case skin::cmdIsBackgroundDirty:
      result = (BackgroundDirty || Suspended) ? 1 : 0;
      return true;
    case skin::cmdIsPartlyVisible:
      result = PartlyVisible ? 1 : 0;
      return true;
    case skin::cmdRepaintSection: {
      const std::string& name = sapala::skin::SkinManagerCore::RepaintSectionName();
      if (!name.empty() && skin_section_ == name) {
        sapala::skin::SkinManagerCore::ClearRepaintPending();
        Invalidate();
      }
      return true;
    }
    case skin::cmdSetSection:
      if (lp) SetSkinSection(reinterpret_cast<const char*>(lp));
      return true;
    case skin::cmdInvalidateCache:
      BackgroundDirty = true;
      return true;
    case skin::cmdIsTransparent:
      if (const TsGeneralData* s = Section()) {
        TWinControl* p = ParentControl();
        if (s->Transparency == 100 && p) {
          result =
              p->HandleAllocated() ? (Send(p->WindowHandle(), skin::cmdIsTransparent) & 0x7F) : 0;
        } else {
          result = (s->GradientPercent + s->ImagePercent > 0 || FollowsParent()) ? 1 : 0;
        }
      }
      return true;
    case skin::cmdParentBackgroundChanged: {
      const bool follows = FollowsParent();
      BackgroundDirty = BackgroundDirty || follows;
      HWND hwnd = OwnerWindow();
      if (hwnd && argument == 1) {
        ::RedrawWindow(hwnd, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_NOERASE | RDW_NOINTERNALPAINT | RDW_ALLCHILDREN);
      }
      if (follows) {
        if (auto* w = dynamic_cast<TWinControl*>(owner_control_)) {
          for (std::size_t i = 0; i < w->Controls().size(); ++i) {
            TControl& child = *w->Controls()[i];
            if (!child.Destroying()) {
              skin::Deliver(child, skin::Lumo{SM_LUMOCMD,
                                              MAKEWPARAM(0, skin::cmdParentBackgroundChanged), 0});
            }
          }
        }
      }
      return true;
    }
    case skin::cmdGetBackgroundColor:
      if (owner_control_ || provider_form_) {
        const TsGeneralData* s = Section();
        if (!s) {
          result = static_cast<LRESULT>(OwnerColor());
        } else {
          TWinControl* p = ParentControl();
          TColor answer = graphics::clFuchsia;
          if (p && p->HandleAllocated() && IsSkinnedWindow(p->WindowHandle())) {
            answer = static_cast<TColor>(
                Send(p->WindowHandle(), skin::cmdGetBackgroundColor, graphics::clFuchsia));
          }
          result = static_cast<LRESULT>(rules::BackgroundColorAnswer(
              *s, p != nullptr, answer, p ? graphics::ColorToRGB(p->Color()) : graphics::clFuchsia,
              OwnerColor()));
        }
      }
      return true;
    case skin::cmdSetPartlyVisible:
      PartlyVisible = true;
      return true;
    case skin::cmdGetSectionIndex:
      if (lp) *reinterpret_cast<int*>(lp) = SectionIndex;
      return true;
    case skin::cmdGetBackgroundInfo:
      if (lp) FillBackgroundInfo(*reinterpret_cast<TsBackgroundInfo*>(lp));
      return true;
    case skin::cmdParentBackgroundState:
      if (lp == 1) {
        UpdateSimpleFlag(true);
      } else {
        result = StateFlags;
      }
      return true;
    case skin::cmdSetPrintTarget:
      PrintTarget = reinterpret_cast<HDC>(lp);
      if (lp)
        StateFlags |= sfPrinting;
      else
        StateFlags &= static_cast<WORD>(~sfPrinting);
      return true;
    case skin::cmdGetApplication:
      result = reinterpret_cast<LRESULT>(&Application());
      return true;
    default:
      return false;
  }
}

bool TsCommonData::HandleMessage(Message& m) {
  if (m.Msg == SM_LUMOCMD) {
    // Commands whose LParam points into the sender's memory are taken only from this thread:
    // a message sent from another thread or process would have us write through its value.
    const WORD cmd = HIWORD(m.WParam);
    const bool pointer = cmd == skin::cmdSetSection || cmd == skin::cmdGetSectionIndex ||
                         cmd == skin::cmdGetBackgroundInfo;
    if (pointer && m.LParam != 0 && (::InSendMessageEx(nullptr) & ISMEX_SEND)) {
      m.Result = 0;
      return true;
    }
    LRESULT result = 0;
    if (!HandleCommand(HIWORD(m.WParam), LOWORD(m.WParam), m.LParam, result)) return false;
    m.Result = result;
    // Broadcast notices are the owner's business too; queries are answered here.
    return cmd != skin::cmdNewSkin && cmd != skin::cmdRemoveSkin && cmd != skin::cmdRefresh;
  }
  TControl* c = owner_control_;
  switch (m.Msg) {
    case WM_MOVE:
      if (FollowsParent()) {
        BackgroundDirty = true;
        if (c)
          skin::Deliver(*c,
                        skin::Lumo{SM_LUMOCMD, MAKEWPARAM(1, skin::cmdParentBackgroundChanged), 0});
        HideGlow();
      }
      return false;
    case WM_SIZE:
      if (const TsGeneralData* s = Skinned() ? Section() : nullptr) {
        BackgroundDirty = true;
        if (auto* w = dynamic_cast<TWinControl*>(c); w && s->GradientPercent > 0) {
          for (std::size_t i = 0; i < w->Controls().size(); ++i) {
            TControl& child = *w->Controls()[i];
            if (!child.Destroying()) {
              skin::Deliver(child, skin::Lumo{SM_LUMOCMD,
                                              MAKEWPARAM(1, skin::cmdParentBackgroundChanged), 0});
            }
          }
        }
        HideGlow();
      }
      return false;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      BackgroundDirty = true;
      Focused = m.Msg == WM_SETFOCUS;
      const TsGeneralData* s = Section();
      HWND hwnd = OwnerWindow();
      if (hwnd && s && Skinned() && rules::IsColorApplyingKind(ControlKind) && s->States > 1 &&
          (Focused || (c && c->Showing()))) {
        ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
      }
      return false;
    }
    case WM_UPDATEUISTATE:
      if (Skinned()) {
        m.Result = 1;
        return true;
      }
      // Unskinned, the control draws with the system's visual style again: a hook may have
      // switched it off while the skin was on.
      if (HWND hwnd = OwnerWindow(); hwnd && skin::ThemesInUse()) {
        skin::SetWindowThemeNames(hwnd, nullptr, nullptr);
      }
      return false;
    case WM_PARENTNOTIFY:
      if (LOWORD(m.WParam) == WM_CREATE && c) {
        if (TForm* form = c->ParentForm(); form && form->HandleAllocated()) {
          Send(form->WindowHandle(), skin::cmdControlChanged, m.LParam);
        }
      }
      return false;
    default:
      return false;
  }
}

void TsCommonData::EnabledChanged() {
  Hovered = false;
  Focused = false;
  if (owner_control_ && !owner_control_->Enabled()) HideGlow();
}

void TsCommonData::VisibleChanged(bool visible) {
  if (visible) {
    Suspended = false;
    BackgroundDirty = true;
  } else if (Cache) {
    Cache = std::make_unique<graphics::Bitmap>();
  }
}

void TsCommonData::ShowingChanged() {
  if (owner_control_ && owner_control_->Visible()) {
    UpdateIndexes();
    ApplyColors(false);
  }
}

void TsCommonData::MouseEnter() {
  TControl* c = owner_control_;
  if (!c || (c->ComponentState() & csDesigning) || !Skinned()) return;
  if (TWinControl* parent = c->Parent()) {
    for (TControl* sibling : parent->Controls()) {
      TsCommonData* other = sibling != c ? CommonDataOf(sibling) : nullptr;
      if (other && other->Hovered) other->MouseLeave();
    }
  }
  Hovered = true;
  if (TsSkinManager* m = SkinManagerOf()) {
    HWND hwnd = WindowOf(c);
    if (!hwnd && c->Parent() && c->Parent()->HandleAllocated()) hwnd = c->Parent()->WindowHandle();
    m->SetHotControl(hwnd);
  }
  if (GlowingKind(ControlKind)) UpdateGlow(false);
  const TsGeneralData* s = Section();
  if (rules::IsColorApplyingKind(ControlKind) && s && s->States > 1) {
    BackgroundDirty = true;
    if (HWND hwnd = OwnerWindow()) ::SendMessageW(hwnd, WM_NCPAINT, 1, 0);
  }
}

void TsCommonData::MouseLeave() {
  Hovered = false;
  if (GlowingKind(ControlKind)) {
    GlowHandle = -1;
    skin::ClearGlows(false);
  }
  const TsGeneralData* s = Section();
  TControl* c = owner_control_;
  if (c && c->Visible() && rules::IsColorApplyingKind(ControlKind) && s && s->States > 1) {
    BackgroundDirty = true;
    if (HWND hwnd = OwnerWindow()) ::SendMessageW(hwnd, WM_NCPAINT, 1, 0);
  }
}

}  // namespace sapala::win
