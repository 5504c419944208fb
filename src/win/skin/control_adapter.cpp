// The adapter's walk over a form's controls.
#include "win/skin/control_adapter.h"

#include <algorithm>

#include "core/skin/effects.h"
#include "win/controls/skin_link.h"
#include "win/controls/slabel.h"
#include "win/framework/forms.h"
#include "win/framework/label.h"
#include "win/skin/hook_factory.h"
#include "win/skin/skin_manager.h"

namespace sapala::win {

namespace {

using sapala::skin::ThirdPartyKind;

constexpr INT_PTR kExcludedTag = -98;
constexpr INT_PTR kKeptLabelTag = 98;

int ListIndex(ThirdPartyKind kind) { return static_cast<int>(kind); }

// The hook kind of the controls named in list `listIndex`; none when that kind has none yet.
// The combo edits of the WW list are combo boxes to the hooks.
HookKind HookKindOfList(int listIndex) noexcept {
  switch (static_cast<ThirdPartyKind>(listIndex)) {
    case ThirdPartyKind::Button:
      return HookKind::button;
    case ThirdPartyKind::BitBtn:
      return HookKind::bitBtn;
    case ThirdPartyKind::CheckBox:
      return HookKind::checkBox;
    case ThirdPartyKind::GroupBox:
      return HookKind::groupBox;
    case ThirdPartyKind::Edit:
      return HookKind::edit;
    case ThirdPartyKind::ComboBox:
    case ThirdPartyKind::wwEdit:
      return HookKind::comboBox;
    // The grids and trees of the GridEh and VirtualTree lists are grids and trees to the hooks:
    // their extra colours and headers are reached only through properties by name, which our
    // controls do not publish.
    case ThirdPartyKind::Grid:
    case ThirdPartyKind::GridEh:
      return HookKind::grid;
    case ThirdPartyKind::ListView:
      return HookKind::listView;
    case ThirdPartyKind::TreeView:
    case ThirdPartyKind::VirtualTree:
      return HookKind::treeView;
    case ThirdPartyKind::Panel:
      return HookKind::panel;
    case ThirdPartyKind::PageControl:
      return HookKind::pageControl;
    case ThirdPartyKind::TabControl:
      return HookKind::tabControl;
    case ThirdPartyKind::ToolBar:
      return HookKind::toolBar;
    case ThirdPartyKind::StatusBar:
      return HookKind::statusBar;
    default:
      return HookKind::none;
  }
}

}  // namespace

TlcCtrlAdapter::TlcCtrlAdapter(TForm& form, TsSkinManager* manager)
    : form_(form), manager_(manager) {}

TlcCtrlAdapter::~TlcCtrlAdapter() { Clear(); }

bool TlcCtrlAdapter::ListHasHook(int listIndex) noexcept {
  return HookKindOfList(listIndex) != HookKind::none;
}

TsSkinManager* TlcCtrlAdapter::Manager() const noexcept {
  return manager_ ? manager_ : TsSkinManager::Default();
}

bool TlcCtrlAdapter::Enabled() const noexcept {
  TsSkinManager* m = Manager();
  return m && m->SkinActive() && (m->Core().SkinningRules & sapala::skin::srThirdParty);
}

void TlcCtrlAdapter::Clear() noexcept {
  items_.clear();
  graph_items_.clear();
}

TlcAdapterItem* TlcCtrlAdapter::ItemOf(const TControl& control) const noexcept {
  for (const auto& item : items_) {
    if (item->Control == &control) return item.get();
  }
  return nullptr;
}

TlcGraphItem* TlcCtrlAdapter::GraphItemOf(const TControl& control) const noexcept {
  for (const auto& item : graph_items_) {
    // A freed button's address may be taken by a new control: only live handlers count.
    if (item->Control == &control && item->Handler->Button()) return item.get();
  }
  return nullptr;
}

void TlcCtrlAdapter::DropDeadItems() noexcept {
  std::erase_if(graph_items_, [](const auto& item) { return !item->Handler->Button(); });
  // A removed hook no longer touches its control, so the item can go whether or not the
  // control still exists; a control that does is found again by the walk.
  std::erase_if(items_, [](const auto& item) { return !item->Hook || item->Hook->Removed(); });
}

void TlcCtrlAdapter::AdaptAll() {
  if (adapting_ || !Enabled()) return;
  adapting_ = true;
  try {
    DropDeadItems();
    visited_.clear();
    for (std::size_t i = 0; i < form_.ComponentCount(); ++i) {
      if (auto* c = dynamic_cast<TControl*>(form_.Component(i))) Visit(*c, true);
    }
    VisitChildren(form_);
  } catch (...) {
    adapting_ = false;
    visited_.clear();
    throw;
  }
  adapting_ = false;
  visited_.clear();
}

void TlcCtrlAdapter::AdaptControl(TControl& control) {
  if (adapting_ || !Enabled()) return;
  adapting_ = true;
  try {
    DropDeadItems();
    visited_.clear();
    Visit(control, control.Owner() == &form_);
  } catch (...) {
    adapting_ = false;
    throw;
  }
  adapting_ = false;
}

void TlcCtrlAdapter::VisitChildren(TWinControl& parent) {
  // A copy: an OnSkinItem handler may add or remove controls.
  const std::vector<TControl*> children = parent.Controls();
  for (TControl* c : children) {
    Visit(*c, false);
    auto* w = dynamic_cast<TWinControl*>(c);
    if (w && w->HandleAllocated() && w->Parent()) VisitChildren(*w);
  }
}

void TlcCtrlAdapter::Visit(TControl& control, bool owned) {
  // A control both owned by the form and lying on it is met twice: the first meeting decides.
  if (std::find(visited_.begin(), visited_.end(), &control) != visited_.end()) return;
  visited_.push_back(&control);
  if (control.Tag() == kExcludedTag) return;
  TsSkinManager* m = Manager();
  if (auto* label = dynamic_cast<TCustomLabel*>(&control)) {
    if (!dynamic_cast<TsCustomLabel*>(label) && !(owned && label->Tag() == kKeptLabelTag)) {
      label->SetTransparent(true);
      label->Font().SetColor(m->Core().LabelFontColor());
    }
    return;
  }
  if (auto* button = dynamic_cast<TSpeedButton*>(&control)) {
    AdaptSpeedButton(*button);
    return;
  }
  auto* w = dynamic_cast<TWinControl*>(&control);
  if (!w || !w->HandleAllocated() || ItemOf(control)) return;
  const int list = m->Core().ClassLists.KindOf(control.ClassName());
  if (list < 0 || list == ListIndex(ThirdPartyKind::SpeedButton)) return;
  HWND hwnd = w->WindowHandle();
  if (SendLumo(hwnd, skin::cmdIsSkinned) == 1) return;
  bool canBeAdded = true;
  std::string section;
  if (OnSkinItem) OnSkinItem(control, canBeAdded, section);
  if (!canBeAdded || !w->HandleAllocated() || ItemOf(control)) return;
  auto item = std::make_unique<TlcAdapterItem>();
  item->Control = w;
  item->Window = hwnd;
  item->Section = section;
  item->ListIndex = list;
  item->Hook = MakeHook(HookKindOfList(list), hwnd, manager_, section);
  if (item->Hook) items_.push_back(std::move(item));
}

void TlcCtrlAdapter::AdaptSpeedButton(TSpeedButton& button) {
  TsSkinManager* m = Manager();
  if (GraphItemOf(button) || m->Core().ClassLists.KindOf(button.ClassName()) < 0) return;
  bool canBeAdded = true;
  std::string section = TlcSpeedButtonHandler::SpeedButtonSection(button.Width(), button.Height());
  if (OnSkinItem) OnSkinItem(button, canBeAdded, section);
  if (!canBeAdded || GraphItemOf(button)) return;
  auto item = std::make_unique<TlcGraphItem>();
  item->Control = &button;
  item->Section = section;
  item->Handler = std::make_unique<TlcSpeedButtonHandler>(button, manager_, section);
  if (item->Handler->Install()) graph_items_.push_back(std::move(item));
}

}  // namespace sapala::win
