// TlcCtrlAdapter: attaches hooks to the standard controls of one form by the manager's
// class-name lists, and makes the form's plain labels transparent in the skin's label colour.
//
// The form's provider owns one adapter and runs AdaptAll when it first paints and after every
// skin change; AdaptControl offers a single control (one that was just made). The walk runs only
// while the manager's skin is applied and its SkinningRules hold srThirdParty; a walk started
// from inside a walk (an OnSkinItem handler, a message a hook sends) returns at once.
//
// A control qualifies when its Tag is not −98, its window exists and does not already answer
// cmdIsSkinned, and its class name is a line of one of the lists (exact, with case; the first
// list that holds it decides the hook). The provider's OnSkinItem may refuse it or name its
// section. Each hooked control has one item; the item owns the hook. A hook that let its window
// go (the window was destroyed, or the skin removed) is dropped at the next walk, and its
// control, when it still has a window, is hooked again.
//
// Speed buttons (windowless) whose class name stands in any of the lists get a graphic item
// instead: a TlcSpeedButtonHandler that paints them from "SPEEDBUTTON" (or "SPEEDBUTTON_SMALL"
// for small ones). The handler notices when its button is freed; such an item is dropped at the
// next walk.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "win/framework/controls.h"
#include "win/skin/hook_base.h"
#include "win/skin/speed_button.h"

namespace sapala::win {

class TForm;
class TsSkinManager;

// One control that got a hook.
struct TlcAdapterItem {
  TWinControl* Control = nullptr;  // not owned; valid while Hook is attached
  HWND Window = nullptr;
  std::string Section;
  int ListIndex = -1;  // the class-name list that named the control
  std::unique_ptr<TlcMainWnd> Hook;
};

// One windowless control that got a handler.
struct TlcGraphItem {
  TControl* Control = nullptr;  // not owned; compared only, the handler knows if it is alive
  std::string Section;
  std::unique_ptr<TlcSpeedButtonHandler> Handler;
};

class TlcCtrlAdapter {
 public:
  // (control, can be added, section): the handler may refuse the control or set its section.
  using SkinItemEvent =
      std::function<void(TControl& item, bool& canBeAdded, std::string& skinSection)>;

  // `manager` nullptr: the default manager.
  TlcCtrlAdapter(TForm& form, TsSkinManager* manager);
  ~TlcCtrlAdapter();
  TlcCtrlAdapter(const TlcCtrlAdapter&) = delete;
  TlcCtrlAdapter& operator=(const TlcCtrlAdapter&) = delete;

  SkinItemEvent OnSkinItem;

  void AdaptAll();
  void AdaptControl(TControl& control);
  // Frees every item (each hook gives its window back).
  void Clear() noexcept;

  const std::vector<std::unique_ptr<TlcAdapterItem>>& Items() const noexcept { return items_; }
  const std::vector<std::unique_ptr<TlcGraphItem>>& GraphItems() const noexcept {
    return graph_items_;
  }
  // The item of a control, nullptr when it has none.
  TlcAdapterItem* ItemOf(const TControl& control) const noexcept;
  TlcGraphItem* GraphItemOf(const TControl& control) const noexcept;

  // Whether the lists at `listIndex` have a hook class here (the others are left unskinned).
  static bool ListHasHook(int listIndex) noexcept;

 private:
  TsSkinManager* Manager() const noexcept;
  bool Enabled() const noexcept;
  void Visit(TControl& control, bool owned);
  void VisitChildren(TWinControl& parent);
  void DropDeadItems() noexcept;
  void AdaptSpeedButton(TSpeedButton& button);

  TForm& form_;
  TsSkinManager* manager_;
  std::vector<std::unique_ptr<TlcAdapterItem>> items_;
  std::vector<std::unique_ptr<TlcGraphItem>> graph_items_;
  std::vector<const TControl*> visited_;  // during a walk
  bool adapting_ = false;
};

}  // namespace sapala::win
