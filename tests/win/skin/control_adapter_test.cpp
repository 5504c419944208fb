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
#include "win/skin/combo_hook.h"
#include "win/skin/edit_hook.h"
#include "win/skin/groupbox_hook.h"
#include "win/skin/list_hooks.h"
#include "win/skin/bar_hooks.h"
#include "win/skin/panel_hooks.h"
#include "win/skin/tab_hook.h"

#include <commctrl.h>

namespace sapala::win::testing {
namespace {

using sapala::skin::ThirdPartyKind;

// A control object over any standard window class.
class TStdWin : public TWinControl {
 public:
  TStdWin(TComponent* owner, const wchar_t* cls, DWORD style)
      : TWinControl(owner), cls_(cls), style_(style) {}

 protected:
  void CreateParams(struct CreateParams& params) override {
    TWinControl::CreateParams(params);
    params.window_class = cls_;
    params.standard_class = true;
    params.style |= style_;
  }

 private:
  const wchar_t* cls_;
  DWORD style_;
};

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
    core.ThirdParty.Set(static_cast<int>(ThirdPartyKind::BitBtn), "TBitBtn");
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
  TButton& glyph = Button("Glyph", 0, "TBitBtn");
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
  EXPECT_NE(dynamic_cast<TlcBitBtnWnd*>(HookOf(glyph)), nullptr);
  EXPECT_EQ(adapter.Items().size(), 6u);
  // Owned components first, then child controls: each control is offered once a walk.
  EXPECT_EQ(offered,
            (std::vector<std::string>{"Plain", "Refused", "Named", "Check", "Group", "Glyph", ""}));
  adapter.AdaptAll();  // a second walk adds nothing
  EXPECT_EQ(adapter.Items().size(), 6u);
  adapter.Clear();
  EXPECT_EQ(HookOf(plain), nullptr);
}

TEST_F(ControlAdapterTest, ComboListTreeAndGridListsGetTheirHooks) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
  ::InitCommonControlsEx(&icc);
  auto& core = manager_->Core();
  core.ThirdParty.Set(static_cast<int>(ThirdPartyKind::ComboBox), "TComboBox");
  core.ThirdParty.Set(static_cast<int>(ThirdPartyKind::wwEdit), "TwwDBComboBox");
  core.ThirdParty.Set(static_cast<int>(ThirdPartyKind::ListView), "TListView");
  core.ThirdParty.Set(static_cast<int>(ThirdPartyKind::TreeView), "TTreeView");
  core.ThirdParty.Set(static_cast<int>(ThirdPartyKind::Grid), "TStringGrid");
  core.ThirdParty.Set(static_cast<int>(ThirdPartyKind::GridEh), "TDBGridEh");
  core.ThirdParty.Set(static_cast<int>(ThirdPartyKind::VirtualTree), "TVirtualStringTree");
  core.ClassLists.LoadFrom(core.ThirdParty);
  struct Case {
    const char* cls;
    const wchar_t* window;
    DWORD style;
    bool (*right)(TlcMainWnd*);
  } cases[] = {
      {"TComboBox", L"COMBOBOX", CBS_DROPDOWNLIST,
       [](TlcMainWnd* h) { return dynamic_cast<TlcComboBoxWnd*>(h) != nullptr; }},
      {"TwwDBComboBox", L"COMBOBOX", CBS_DROPDOWN,
       [](TlcMainWnd* h) { return dynamic_cast<TlcComboBoxWnd*>(h) != nullptr; }},
      {"TListView", WC_LISTVIEWW, LVS_REPORT,
       [](TlcMainWnd* h) { return dynamic_cast<TlcListViewWnd*>(h) != nullptr; }},
      {"TTreeView", WC_TREEVIEWW, 0,
       [](TlcMainWnd* h) { return dynamic_cast<TlcTreeViewWnd*>(h) != nullptr; }},
      {"TStringGrid", L"LISTBOX", WS_VSCROLL,
       [](TlcMainWnd* h) { return dynamic_cast<TlcGridWnd*>(h) != nullptr; }},
      {"TDBGridEh", L"LISTBOX", WS_VSCROLL,
       [](TlcMainWnd* h) { return dynamic_cast<TlcGridWnd*>(h) != nullptr; }},
      {"TVirtualStringTree", WC_TREEVIEWW, 0,
       [](TlcMainWnd* h) { return dynamic_cast<TlcTreeViewWnd*>(h) != nullptr; }},
  };
  std::vector<TStdWin*> controls;
  for (const Case& k : cases) {
    auto* c = &form_->Create<TStdWin>(k.window, k.style);
    c->SetClassName(k.cls);
    c->SetParent(form_);
    c->SetBounds(10, 10, 120, 80);
    c->Handle();
    controls.push_back(c);
  }
  TlcCtrlAdapter adapter(*form_, manager_);
  adapter.AdaptAll();
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    TlcMainWnd* hook = HookOf(*controls[i]);
    EXPECT_TRUE(hook && cases[i].right(hook)) << cases[i].cls;
  }
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

// A standard common control owned by a control object, of the window class `Class`.
template <const wchar_t* Class>
class TCommonCtl : public TWinControl {
 public:
  explicit TCommonCtl(TComponent* owner) : TWinControl(owner) {}

 protected:
  void CreateParams(struct CreateParams& params) override {
    TWinControl::CreateParams(params);
    params.window_class = Class;
    params.standard_class = true;
    params.style |= CCS_NORESIZE;
  }
};
constexpr wchar_t kTabClass[] = L"SysTabControl32";
constexpr wchar_t kToolClass[] = L"ToolbarWindow32";
constexpr wchar_t kStatusClass[] = L"msctls_statusbar32";
constexpr wchar_t kPanelClass[] = L"STATIC";

TEST_F(ControlAdapterTest, PagesTabsBarsAndPanelsGetTheirHooks) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);
  auto& core = manager_->Core();
  core.ThirdParty.Set(static_cast<int>(ThirdPartyKind::Panel), "TPanel");
  core.ThirdParty.Set(static_cast<int>(ThirdPartyKind::PageControl), "TPageControl");
  core.ThirdParty.Set(static_cast<int>(ThirdPartyKind::TabControl), "TTabControl");
  core.ThirdParty.Set(static_cast<int>(ThirdPartyKind::ToolBar), "TToolBar");
  core.ThirdParty.Set(static_cast<int>(ThirdPartyKind::StatusBar), "TStatusBar");
  core.ClassLists.LoadFrom(core.ThirdParty);
  auto make = [&]<const wchar_t * Class>(const char* cls, int top) -> TWinControl& {
    auto& c = form_->Create<TCommonCtl<Class>>();
    c.SetClassName(cls);
    c.SetParent(form_);
    c.SetBounds(10, top, 200, 30);
    c.Handle();
    return c;
  };
  TWinControl& pages = make.template operator()<kTabClass>("TPageControl", 10);
  TWinControl& tabs = make.template operator()<kTabClass>("TTabControl", 45);
  TWinControl& tools = make.template operator()<kToolClass>("TToolBar", 80);
  TWinControl& status = make.template operator()<kStatusClass>("TStatusBar", 115);
  TWinControl& panel = make.template operator()<kPanelClass>("TPanel", 150);
  TlcCtrlAdapter adapter(*form_, manager_);
  adapter.AdaptAll();
  EXPECT_NE(dynamic_cast<TlcPageControlWnd*>(HookOf(pages)), nullptr);
  auto* tab = dynamic_cast<TlcTabControlWnd*>(HookOf(tabs));
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(dynamic_cast<TlcPageControlWnd*>(tab), nullptr);
  EXPECT_NE(dynamic_cast<TlcToolBarWnd*>(HookOf(tools)), nullptr);
  EXPECT_NE(dynamic_cast<TlcStatusBarWnd*>(HookOf(status)), nullptr);
  EXPECT_NE(dynamic_cast<TlcPanelWnd*>(HookOf(panel)), nullptr);
  EXPECT_EQ(adapter.Items().size(), 5u);
  adapter.Clear();
  EXPECT_EQ(HookOf(tools), nullptr);
}

}  // namespace
}  // namespace sapala::win::testing
