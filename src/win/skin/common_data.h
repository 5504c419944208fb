// TsCommonData: the skin state of one skinned control (or of a form provider). It binds its
// owner to a section of a skin manager, keeps the indices the section resolves to, the owner's
// 32-bit cache and the flags that say when the cache is stale, gives the section's colours to
// the owner, answers SM_LUMOCMD for it, and starts and stops its glow.
//
// Ownership: made by its owner and freed by it; owns the cache and, through GlowHandle, the
// glow window; never owns the manager or the owner. The owner passes its window messages to
// HandleMessage before its own handling (true: fully answered), and calls the notification
// methods (MouseEnter, MouseLeave, EnabledChanged, VisibleChanged, ShowingChanged) where the
// framework has no message for them. All of it runs on the user-interface thread; nothing here
// throws out of a message.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "core/graphics/bitmap.h"
#include "core/skin/skin_data.h"
#include "core/skin/skin_paint.h"
#include "win/framework/controls.h"
#include "win/framework/loader.h"

namespace sapala::win {

class TsSkinManager;
class TForm;

// What a child learns about what lies under it (cmdGetBackgroundInfo, LParam points here).
struct TsBackgroundInfo {
  graphics::Bitmap* Bitmap = nullptr;  // Kind 2: the picture the child lies on (not owned)
  TColor Color = graphics::clFuchsia;  // Kind 1: a plain colour (RGB)
  int OffsetX = 0, OffsetY = 0;        // the child's top-left in Bitmap
  RECT Rect{};                         // the area asked for, in the child's coordinates
  BYTE Kind = 0;                       // 0 no answer, 1 colour, 2 bitmap
  bool PaintNow = false;               // the callee also paints Rect into DC
  HDC DC = nullptr;
};

enum TsStateFlag : WORD {
  sfSimpleBackground = 0x0001,  // a plain colour, or transparent over a parent that has the bit
  sfPrinting = 0x0200,
  sfUpdating = 0x0800,
};

class TsCommonData {
 public:
  // For a control; `withCache` makes an empty 32-bit cache at once.
  TsCommonData(TControl& owner, bool withCache);
  // For a form provider (`provider` is the owner object, `form` its form).
  TsCommonData(TObject& provider, TForm& form, bool withCache);
  ~TsCommonData();
  TsCommonData(const TsCommonData&) = delete;
  TsCommonData& operator=(const TsCommonData&) = delete;

  // --- Published ---
  bool CustomColor = false;
  bool CustomFont = false;
  TsSkinManager* SkinManager() const noexcept { return skin_manager_; }
  void SetSkinManager(TsSkinManager* manager);
  const std::string& SkinSection() const noexcept { return skin_section_; }
  // Stored upper-cased; an unchanged value does nothing. Re-resolves and re-skins the owner.
  void SetSkinSection(const std::string& section);

  // A stored property by its stream name ("CustomColor", "CustomFont", "SkinManager",
  // "SkinSection"), as the owner publishes it under its own prefix; false for other names.
  bool ReadProperty(std::string_view name, const forms::Property& p, Loader& loader);

  // --- State ---
  int HueShift = 0;
  int SaturationShift = 0;
  int LockCount = 0;
  int GlowHandle = -1;
  bool Suspended = false;
  int BorderMaskIndex = -1;
  int SectionIndex = -1;
  int PatternIndex = -1, HotPatternIndex = -1;
  bool ImmediatePaint = false;
  bool BackgroundDirty = true;
  bool PartlyVisible = true;
  int ControlKind = 0;
  bool Focused = false, Hovered = false;
  WORD StateFlags = 0;
  short BackgroundKind = 0;
  HDC PrintTarget = nullptr;
  // Owners that hold other skinned controls (panels, scroll boxes) and so may have the
  // simple-background flag; set by the owner.
  bool Container = false;
  std::unique_ptr<graphics::Bitmap> Cache;

  TControl* OwnerControl() const noexcept { return owner_control_; }
  TForm* ProviderForm() const noexcept { return provider_form_; }

  // --- Operations ---
  // The explicit manager, else the default one (nullptr when there is none).
  TsSkinManager* SkinManagerOf() const noexcept;
  bool Skinned(bool checkActive = false) const;
  // The resolved section record, nullptr when not skinned.
  const sapala::skin::TsGeneralData* Section() const;
  void UpdateIndexes();
  void ApplyColors(bool repaint);
  void Invalidate();
  void BeginUpdate();
  void EndUpdate(bool repaint);
  void UpdateCacheSize();
  // 1 for the hot look, else 0.
  int ActiveState() const;
  TColor BackgroundColor(int state) const;
  void FillBackgroundInfo(TsBackgroundInfo& info);
  // Recomputes the simple-background flag; with `recurse` the children recompute theirs.
  void UpdateSimpleFlag(bool recurse);
  // The background follows the parent (moving the owner makes the cache stale).
  bool FollowsParent() const;
  // Painting of the owner is held back (Suspended, or the parent's background is stale).
  bool PaintingHeldBack() const;
  // Shows (or hides) the owner's glow by its hover state.
  void UpdateGlow(bool force);
  void HideGlow();

  // The painting inputs of the current section.
  sapala::skin::ElementRef Element() const;
  // Rebuilds the cache in `state` over what the parent shows under the owner; false when the
  // owner is not skinned or has no size.
  bool PaintCache(int state);

  // --- Messages ---
  // SM_LUMOCMD and the window messages of the owner; true when fully answered (m.Result set).
  bool HandleMessage(Message& m);
  void MouseEnter();
  void MouseLeave();
  void EnabledChanged();
  void VisibleChanged(bool visible);
  void ShowingChanged();

  // The SM_LUMOCMD commands answered here; false for the others.
  bool HandleCommand(WORD command, WORD argument, LPARAM lp, LRESULT& result);

 private:
  TWinControl* ParentControl() const noexcept;
  HWND OwnerWindow() const noexcept;
  TColor OwnerColor() const;
  TColor ParentColor() const;
  TColor Adjusted(TColor c) const;
  void ResolveAndNotify();
  void AskParent(TsBackgroundInfo& info) const;
  void RemoveSkin(LPARAM sender);

  TControl* owner_control_ = nullptr;
  TObject* owner_object_ = nullptr;
  TForm* provider_form_ = nullptr;
  TsSkinManager* skin_manager_ = nullptr;
  std::string skin_section_;
};

// The skin state of a control, when it has one (every live TsCommonData registers its owner).
TsCommonData* CommonDataOf(const TControl* control) noexcept;

// Asks `parent` what lies under a child (the cmdGetBackgroundInfo round with its fall-backs).
void AskParentBackground(TWinControl* parent, TsBackgroundInfo& info);

}  // namespace sapala::win
