// The adapter's walk over a real form: which controls get which hook by the class-name lists,
// what it leaves alone (Tag −98, a class name in another letter case, a window that is skinned
// already, a refusal by OnSkinItem), plain labels, the re-hook after a window died or the skin
// was removed, the re-entry guard and the skinning rule that switches it off.
#include "win/skin/control_adapter.h"

#include "core/skin/effects.h"
#include "hook_fixture.h"
#include "win/framework/label.h"
#include "win/framework/stdctrls.h"
#include "win/skin/button_hook.h"
#include "win/skin/checkbox_hook.h"
#include "win/skin/edit_hook.h"
#include "win/skin/groupbox_hook.h"

namespace sapala::win::testing {
namespace {

using sapala::skin::ThirdPartyKind;

class ControlAdapterTest : public HookTest {
 protected:
  void SetUp() override {
    HookTest::SetUp();
    auto& core = manager_->Core();
    core.ThirdParty.Set(static_cast<int>(ThirdPartyKind::Button), "TButton");
    core.ThirdParty.Set(static_cast<int>(ThirdPartyKind::Edit), "TEdit");
    core.ThirdParty.Set(static_cast<int>(ThirdPartyKind::Panel), "TButton");
    core.ThirdParty.Set(static_cast<int>(ThirdPartyKind::CheckBox), "TCheckBox");
    core.ThirdParty.Set(static_cast<int>(ThirdPartyKind::GroupBox), "TGroupBox");
    core.ClassLists.LoadFrom(core.ThirdParty);
  }
  TButton& Button(const char* name, INT_PTR tag = 0, const char* cls = "TButton") {
    auto& b = form_->Create<TButton>();
    b.SetName(name);
    b.SetClassName(cls);
    b.SetTag(tag);
    b.SetParent(form_);
    b.SetBounds(10, 10, 80, 24);
    b.Handle();
    return b;
  }
  static TlcMainWnd* HookOf(TWinControl& c) { return TlcMainWnd::FromWindow(c.WindowHandle()); }
};

TEST_F(ControlAdapterTest, ListsChooseTheHookAndExclusionsAreKept) {
  TButton& plain = Button("Plain");
  TButton& excluded = Button("Excluded", -98);
  TButton& otherCase = Button("OtherCase", 0, "Tbutton");
  TButton& refused = Button("Refused");
  TButton& named = Button("Named");
  TButton& check = Button("Check", 0, "TCheckBox");
  TButton& group = Button("Group", 0, "TGroupBox");
  TRecWin& skinned = form_->Create<TRecWin>();
  skinned.SetClassName("TButton");
  skinned.skinned = true;
  skinned.SetParent(form_);
  skinned.Handle();
  TEdit& edit = form_->Create<TEdit>();
  edit.SetClassName("TEdit");
  edit.SetParent(form_);
  edit.SetBounds(10, 40, 80, 60);
  edit.Handle();

  TlcCtrlAdapter adapter(*form_, manager_);
  std::vector<std::string> offered;
  adapter.OnSkinItem = [&](TControl& c, bool& canBeAdded, std::string& section) {
    offered.push_back(c.Name());
    EXPECT_TRUE(section.empty());
    if (&c == &refused) canBeAdded = false;
    if (&c == &named) section = "BUTTON_HUGE";
  };
  adapter.AdaptAll();

  // "TButton" is in the button list and in the (later) panel list: the first list wins.
  EXPECT_NE(dynamic_cast<TlcBtnWnd*>(HookOf(plain)), nullptr);
  EXPECT_EQ(HookOf(excluded), nullptr);
  EXPECT_EQ(HookOf(otherCase), nullptr);
  EXPECT_EQ(HookOf(refused), nullptr);
  EXPECT_EQ(HookOf(skinned), nullptr);
  ASSERT_NE(HookOf(named), nullptr);
  EXPECT_EQ(HookOf(named)->Section(), "BUTTON_HUGE");
  EXPECT_NE(dynamic_cast<TlcEditWnd*>(HookOf(edit)), nullptr);
  EXPECT_NE(dynamic_cast<TlcCheckBoxWnd*>(HookOf(check)), nullptr);
  EXPECT_NE(dynamic_cast<TlcGroupBoxWnd*>(HookOf(group)), nullptr);
  EXPECT_EQ(adapter.Items().size(), 5u);
  // Owned components first, then child controls: each control is offered once a walk.
  EXPECT_EQ(offered,
            (std::vector<std::string>{"Plain", "Refused", "Named", "Check", "Group", ""}));
  adapter.AdaptAll();  // a second walk adds nothing
  EXPECT_EQ(adapter.Items().size(), 5u);
  adapter.Clear();
  EXPECT_EQ(HookOf(plain), nullptr);
}

TEST_F(ControlAdapterTest, PlainLabelsTurnTransparentInTheLabelColour) {
  auto& label = form_->Create<TCustomLabel>();
  label.SetParent(form_);
  auto& kept = form_->Create<TCustomLabel>();
  kept.SetParent(form_);
  kept.SetTag(98);
  TlcCtrlAdapter adapter(*form_, manager_);
  adapter.AdaptAll();
  EXPECT_TRUE(label.Transparent());
  EXPECT_EQ(label.Font().Color(), manager_->Core().LabelFontColor());
  EXPECT_FALSE(kept.Transparent());
}

TEST_F(ControlAdapterTest, DeadHooksAreReplacedAtTheNextWalk) {
  TButton& b = Button("B");
  TlcCtrlAdapter adapter(*form_, manager_);
  adapter.AdaptAll();
  ASSERT_NE(HookOf(b), nullptr);
  // The window dies and comes back.
  b.DestroyHandle();
  b.Handle();
  EXPECT_EQ(HookOf(b), nullptr);
  adapter.AdaptAll();
  EXPECT_NE(HookOf(b), nullptr);
  EXPECT_EQ(adapter.Items().size(), 1u);
  // The skin is removed from the hook, then the walk runs again.
  Cmd(b.WindowHandle(), skin::cmdRemoveSkin, 0, manager_->Id());
  EXPECT_EQ(HookOf(b), nullptr);
  adapter.AdaptAll();
  EXPECT_NE(HookOf(b), nullptr);
  EXPECT_EQ(adapter.Items().size(), 1u);
}

TEST_F(ControlAdapterTest, RemovingTheSkinGivesEveryWindowBack) {
  TButton& b = Button("B");
  TEdit& edit = form_->Create<TEdit>();
  edit.SetClassName("TEdit");
  edit.SetParent(form_);
  edit.SetBounds(10, 40, 80, 60);
  edit.Handle();
  ::SetWindowLongPtrW(edit.WindowHandle(), GWL_STYLE,
                      ::GetWindowLongPtrW(edit.WindowHandle(), GWL_STYLE) | WS_VSCROLL);
  ::SetWindowPos(edit.WindowHandle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  RECT plain;
  ::GetClientRect(edit.WindowHandle(), &plain);
  TlcCtrlAdapter adapter(*form_, manager_);
  adapter.AdaptAll();
  ASSERT_EQ(adapter.Items().size(), 2u);
  auto* scroll = dynamic_cast<TlcScrollWnd*>(HookOf(edit));
  ASSERT_NE(scroll, nullptr);
  scroll->BarSettings(1).Thickness = 40;  // so the engine's space differs from the system's
  ::SetWindowPos(edit.WindowHandle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  RECT skinned;
  ::GetClientRect(edit.WindowHandle(), &skinned);
  ASSERT_NE(skinned.right, plain.right);

  manager_->Core().SetActive(false);  // the manager tells every control: cmdRemoveSkin
  EXPECT_EQ(HookOf(b), nullptr);
  EXPECT_EQ(HookOf(edit), nullptr);
  for (const auto& item : adapter.Items()) EXPECT_TRUE(item->Hook->Removed());
  RECT after;
  ::GetClientRect(edit.WindowHandle(), &after);
  EXPECT_EQ(after.right, plain.right);  // the system has the bar's space back
  manager_->Core().SetActive(true);
  adapter.AdaptAll();
  EXPECT_NE(HookOf(b), nullptr);
  EXPECT_NE(HookOf(edit), nullptr);
}

TEST_F(ControlAdapterTest, WalkDoesNotReenterAndFollowsTheSkinningRule) {
  Button("A");
  Button("B");
  TlcCtrlAdapter adapter(*form_, manager_);
  int offers = 0;
  adapter.OnSkinItem = [&](TControl&, bool&, std::string&) {
    ++offers;
    adapter.AdaptAll();  // returns at once
  };
  manager_->Core().SkinningRules = sapala::skin::srStdForms;
  adapter.AdaptAll();
  EXPECT_EQ(offers, 0);
  manager_->Core().SkinningRules = sapala::skin::kAllSkinningRules;
  adapter.AdaptAll();
  EXPECT_EQ(offers, 2);
  EXPECT_EQ(adapter.Items().size(), 2u);
}

}  // namespace
}  // namespace sapala::win::testing
