// Skinning of system dialogs (class "#32770": message boxes, common dialogs), which the
// application did not build as forms and which no provider serves.
//
// TlcProvider: one per skinned dialog. It hooks the dialog window with TlcDialogWnd and the
// dialog's child windows with the hook their class and style ask for (core/skin/dialog_children.h,
// made by MakeDialogChildHook), and removes all of them when the skin goes or the dialog goes.
// TlcDialogWnd: paints the dialog's frame, title and caption buttons from the "DIALOG" and
// "FORMTITLE" sections with the frame geometry of forms, answers the frame's input as a form's
// provider does, and gives the client area the skin's colour. TlcSystemMenu: the dialog's
// skinned system menu.
//
// Ownership: the providers live in one list of this module, filled by the window-creation hook's
// attach routine (RegisterDialogSkinning plugs it in). A provider is dropped when its dialog is
// destroyed or its hooks were removed with the skin; it is freed only when no hook message is on
// the stack (TlcMainWnd::MessageDepth), since a dialog is often destroyed from inside one of its
// own buttons' messages. ReleaseDialogProviders frees every provider (the skin unit's shutdown).
//
// A dialog "with no parent": a window without WS_CHILD. A message box with an owner window has an
// owner, not a parent (GetParent answers the owner for a popup, GetAncestor(GA_PARENT) the
// desktop), so an owned message box is skinned like an unowned one.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/skin/caption_buttons.h"
#include "core/skin/dialog_children.h"
#include "core/skin/form_geometry.h"
#include "win/framework/handles.h"
#include "win/skin/caption_glow.h"
#include "win/skin/caption_input.h"
#include "win/skin/scroll_hook.h"
#include "win/skin/system_menu.h"

namespace sapala::win {

class TlcProvider;
namespace skin {
class TlcBorderForm;
}

// The six items of a dialog's system menu ("miRestore" … "miClose"); each carries its system
// command in Tag and posts it to the dialog when clicked.
class TlcSystemMenu : public skin::TsCustomSysMenu {
 public:
  TlcSystemMenu();

  bool VisibleClose() const override { return sapala::skin::VisibleClose(rules_); }
  bool VisibleMax() const override { return sapala::skin::VisibleMax(rules_); }
  bool VisibleMin() const override { return sapala::skin::VisibleMin(rules_); }
  bool EnabledMax() const override { return sapala::skin::EnabledMax(rules_); }
  bool EnabledMin() const override { return sapala::skin::EnabledMin(rules_); }
  bool EnabledRestore() const override { return sapala::skin::EnabledRestore(rules_); }

  // Shows, hides, enables and grays the items for the dialog as it is now.
  void Refresh(HWND dialog, const sapala::skin::FormRulesInput& rules);
  TMenuItem* ItemByName(std::string_view name);

 private:
  HWND dialog_ = nullptr;
  sapala::skin::FormRulesInput rules_;
};

class TlcDialogWnd : public TlcScrollWnd, private CaptionInputHost {
 public:
  TlcDialogWnd(HWND dialog, TsSkinManager* manager, TlcProvider& provider);
  ~TlcDialogWnd() override;

  bool FormActive() const noexcept { return active_; }
  // The frame as laid out now (window coordinates).
  int FrameWidth() const noexcept;
  int CaptionHeight() const noexcept;
  const sapala::skin::CaptionButtonLayout& Buttons() noexcept;
  const sapala::skin::CaptionButtonTracker& Tracker() const noexcept { return input_.Tracker(); }
  // The glow over the hot caption button, -1 for none; buttons fading now.
  int ButtonGlow() const noexcept { return input_.Glow(); }
  std::size_t FadingButtons() const noexcept { return input_.Fading(); }
  // The WM_NCHITTEST answer of the skinned frame at a window-relative point.
  int HitTestAt(POINT windowPoint) noexcept;
  // The window image (frame, title, buttons) composed now if stale; nullptr when not skinned.
  graphics::Bitmap* FrameImage() noexcept;
  // The window holds a region this hook gave it.
  bool RegionSet() const noexcept { return region_set_; }
  // The skin's form colour the client area is given (RGB), clNone without a skin.
  TColor FormColor() const noexcept;
  // A solid brush of `color`, kept until the colour changes.
  HBRUSH FormBrush(TColor color) noexcept;
  // The rules of the caption buttons and the system menu, read from the dialog's styles.
  sapala::skin::FormRulesInput Rules() const noexcept;
  TlcSystemMenu* SystemMenu() noexcept { return system_menu_.get(); }
  // The extended-border companion, nullptr while the dialog has none. A dialog keeps the
  // system's frame sizes; the companion shows the skin's outer border or shadow around it.
  skin::TlcBorderForm* BorderForm() const noexcept { return border_.get(); }
  // The companion goes (the dialog is being destroyed or given back).
  void DropBorder() noexcept;

 protected:
  void WndProc(Message& m) override;
  std::string DefaultSection() const override { return "DIALOG"; }
  void SkinChanged() override;
  void Released() noexcept override { input_.Reset(); }

 private:
  sapala::skin::FrameFormInput FrameInput() const noexcept;
  void Compose();
  void PaintTitleText(HDC dc, int state, const graphics::Rect& band);
  void PaintButton(const sapala::skin::CaptionButtonInfo& b, int state);
  void PaintFrame(HDC windowDC) noexcept;
  void PaintFrameNow() noexcept;
  void UpdateRegion() noexcept;
  void DropRegion() noexcept;
  void InvalidateFrame() noexcept;
  void OpenSystemMenu(POINT screen);
  void EraseBackground(HDC dc);
  // An owner-drawn static child: the dialog's background under it and its text in the skin's
  // static text colour, before its owner draws (owners that draw nothing leave this).
  void PaintOwnerDrawnStatic(const DRAWITEMSTRUCT& item) noexcept;
  // IDCANCEL or IDYES: with the manager's dialog-hide animation on, the dialog's picture fades
  // out in a layered window of its own after the dialog has gone.
  void StartHideAnimation() noexcept;
  // Shown with the manager's dialog-show animation on: the dialog's picture fades in over its
  // place, then the dialog itself is drawn there.
  void AnimateShowing() noexcept;

  // The caption buttons' input (CaptionInput) over the dialog.
  HWND CaptionWindow() const noexcept override { return hwnd_; }
  TsSkinManager* CaptionManager() const noexcept override { return Manager(); }
  bool CaptionShown() const override { return CaptionHeight() != 0; }
  int CaptionHitTest(POINT windowPoint) override { return HitTestAt(windowPoint); }
  sapala::skin::FormRulesInput CaptionRules() const override { return Rules(); }
  const sapala::skin::CaptionButtonInfo* CaptionButton(int hitCode) const override;
  graphics::Bitmap* CaptionImage() override;
  HBITMAP CaptionImageSection() override;
  void PaintCaptionButton(const sapala::skin::CaptionButtonInfo& b, int state) override;
  void RunCaptionCommand(UINT command) override;
  void OpenCaptionMenu(POINT screen) override { OpenSystemMenu(screen); }
  bool CaptionGlows() const override { return !(::GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_CHILD); }
  bool CaptionDoubleClick(int code, POINT screen, Message& m) override;
  // Makes or drops the companion as the manager's extended borders and the dialog's style say.
  void SyncBorder();
  // Hands the companion the frame image inside the border margins, with the ring around it.
  void ShowBorder() noexcept;

  TlcProvider& provider_;
  int title_index_ = -1;
  bool active_ = false;
  bool frame_stale_ = true;
  bool region_changed_ = true;
  bool region_set_ = false;
  bool walked_ = false;
  bool show_pending_ = false;
  sapala::skin::CaptionButtonImages images_;
  sapala::skin::CaptionButtonLayout layout_;
  graphics::Bitmap frame_;
  graphics::Bitmap clean_title_;
  Font caption_font_;
  CaptionGlow title_glow_;
  Brush color_brush_;
  TColor brush_color_ = graphics::clNone;
  std::unique_ptr<TlcSystemMenu> system_menu_;
  std::unique_ptr<skin::TlcBorderForm> border_;
  bool border_stale_ = false;  // the frame was composed since the companion got it
  // Last: its fade timer and glow go before anything it reads.
  CaptionInput input_{*this};
};

// The hook a dialog child gets for a hook kind of the child table; nullptr for kinds without a
// hook yet (they stay as the system draws them). The hook is made, not installed.
std::unique_ptr<TlcMainWnd> MakeDialogChildHook(sapala::skin::DialogHookKind kind, HWND child,
                                                TsSkinManager* manager, std::string section);

class TlcProvider {
 public:
  TlcProvider(HWND dialog, TsSkinManager* manager);
  ~TlcProvider();
  TlcProvider(const TlcProvider&) = delete;
  TlcProvider& operator=(const TlcProvider&) = delete;

  // Hooks the dialog (a hook of a destroyed window left from before is freed), walks its
  // children and asks the dialog to paint itself skinned. False when the dialog could not be
  // hooked.
  bool Attach();
  // Hooks the children that have no hook yet (controls made after attaching): descendants
  // before the window, only windows with WS_CHILD, never one that answers cmdIsSkinned.
  void HookChildren();
  // Gives every window back (safe from inside their messages).
  void RemoveHooks() noexcept;

  HWND Dialog() const noexcept { return dialog_; }
  TlcDialogWnd* DialogHook() const noexcept { return hook_.get(); }
  const std::vector<std::unique_ptr<TlcMainWnd>>& ChildHooks() const noexcept { return children_; }
  bool LeftScrollBar() const noexcept { return left_bar_; }
  // The dialog is gone or its hooks were removed: the provider may be freed.
  bool Finished() const noexcept;

 private:
  void HookChild(HWND child);

  HWND dialog_;
  TsSkinManager* manager_;
  std::unique_ptr<TlcDialogWnd> hook_;
  std::vector<std::unique_ptr<TlcMainWnd>> children_;
  bool left_bar_ = false;
};

namespace skin {

// Plugs the dialog skinning into the window-creation hook (attachDialog, windowDestroyed).
void RegisterDialogSkinning();
// The attach routine: a provider for `dialog` under the default manager when the rules allow.
bool AttachDialog(HWND dialog);
// The provider of a dialog, nullptr when it has none.
TlcProvider* DialogProviderOf(HWND dialog) noexcept;
std::size_t DialogProviderCount() noexcept;
// The skin of the manager `managerId` (its SM_LUMOCMD identity) is being removed: each skinned
// dialog is sent cmdRemoveSkin and gives its windows back.
void RemoveDialogSkins(LPARAM managerId) noexcept;
// Frees every provider now, giving their windows back.
void ReleaseDialogProviders() noexcept;

}  // namespace skin

}  // namespace sapala::win
