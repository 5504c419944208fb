// The hook factory: each kind makes its own hook class with its default section on a real
// window, the button kinds by style, refusals (no kind, a window that has a hook), and every
// hook giving its window procedure back — after being freed, after its window died first —
// a thousand times without a handle left behind.
#include "win/skin/hook_factory.h"

#include <commctrl.h>

#include "hook_fixture.h"
#include "win/skin/bar_hooks.h"
#include "win/skin/frame_hooks.h"
#include "win/skin/panel_hooks.h"
#include "win/skin/range_hooks.h"
#include "win/skin/tab_hook.h"
#include "win/skin/button_hook.h"
#include "win/skin/checkbox_hook.h"
#include "win/skin/combo_hook.h"
#include "win/skin/edit_hook.h"
#include "win/skin/groupbox_hook.h"
#include "win/skin/list_hooks.h"

namespace sapala::win::testing {
namespace {

class HookFactoryTest : public HookTest {
 protected:
  void SetUp() override {
    HookTest::SetUp();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_LINK_CLASS};
    ::InitCommonControlsEx(&icc);
  }
};

struct KindCase {
  const char* name;
  HookKind kind;
  const wchar_t* cls;
  DWORD style;
  const char* section;
  bool (*isRightClass)(TlcMainWnd*);
};

template <typename T>
bool Is(TlcMainWnd* h) {
  return dynamic_cast<T*>(h) != nullptr;
}

const KindCase kKinds[] = {
    {"button", HookKind::button, L"BUTTON", BS_PUSHBUTTON, "BUTTON", Is<TlcBtnWnd>},
    {"bitmap button", HookKind::bitBtn, L"BUTTON", BS_PUSHBUTTON | BS_BITMAP, "BUTTON",
     Is<TlcBitBtnWnd>},
    {"check box", HookKind::checkBox, L"BUTTON", BS_AUTOCHECKBOX, "CHECKBOX", Is<TlcCheckBoxWnd>},
    {"group box", HookKind::groupBox, L"BUTTON", BS_GROUPBOX, "GROUPBOX", Is<TlcGroupBoxWnd>},
    {"edit", HookKind::edit, L"EDIT", ES_MULTILINE | WS_VSCROLL, "EDIT", Is<TlcEditWnd>},
    {"list box", HookKind::edit, L"LISTBOX", WS_VSCROLL, "EDIT", Is<TlcEditWnd>},
    {"scroll", HookKind::scroll, L"LISTBOX", WS_VSCROLL, "", Is<TlcScrollWnd>},
    {"combo box", HookKind::comboBox, L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, "COMBOBOX",
     Is<TlcComboBoxWnd>},
    {"list view", HookKind::listView, WC_LISTVIEWW, LVS_REPORT, "EDIT", Is<TlcListViewWnd>},
    {"tree view", HookKind::treeView, WC_TREEVIEWW, TVS_HASLINES, "EDIT", Is<TlcTreeViewWnd>},
    {"grid", HookKind::grid, L"LISTBOX", WS_VSCROLL | WS_HSCROLL, "EDIT", Is<TlcGridWnd>},
    {"tab control", HookKind::tabControl, WC_TABCONTROLW, 0, "PAGECONTROL", Is<TlcTabControlWnd>},
    {"page control", HookKind::pageControl, WC_TABCONTROLW, 0, "PAGECONTROL",
     Is<TlcPageControlWnd>},
    {"page", HookKind::page, L"STATIC", 0, "PAGECONTROL", Is<TlcPageWnd>},
    {"spin", HookKind::spin, UPDOWN_CLASSW, 0, "SPEEDBUTTON_SMALL", Is<TlcSpinWnd>},
    {"track bar", HookKind::trackBar, TRACKBAR_CLASSW, TBS_AUTOTICKS, "TRACKBAR", Is<TlcTrackWnd>},
    {"sizer", HookKind::sizer, L"SCROLLBAR", SBS_SIZEGRIP, "CHECKBOX", Is<TlcSizerWnd>},
    {"edge", HookKind::edge, L"STATIC", SS_ICON, "EDIT", Is<TlcEdgeWnd>},
    {"link", HookKind::link, WC_LINK, 0, "CHECKBOX", Is<TlcLinkWnd>},
    {"panel", HookKind::panel, L"STATIC", 0, "PANEL", Is<TlcPanelWnd>},
    {"silent panel", HookKind::silentPanel, L"STATIC", 0, "PANEL", Is<TlcPanelWnd>},
    {"transparent panel", HookKind::transPanel, L"STATIC", 0, "CHECKBOX", Is<TlcTransPanelWnd>},
    {"tool bar", HookKind::toolBar, TOOLBARCLASSNAMEW, CCS_NORESIZE, "TOOLBAR", Is<TlcToolBarWnd>},
    {"status bar", HookKind::statusBar, STATUSCLASSNAMEW, SBARS_SIZEGRIP, "STATUSBAR",
     Is<TlcStatusBarWnd>},
};

TEST_F(HookFactoryTest, EachKindMakesItsHookAndRefusalsAreNull) {
  for (const KindCase& k : kKinds) {
    HWND h = Child(k.cls, k.style, 10, 10, 100, 60, L"Text");
    auto hook = MakeHook(k.kind, h, manager_, "");
    ASSERT_NE(hook, nullptr) << k.name;
    EXPECT_TRUE(k.isRightClass(hook.get())) << k.name;
    EXPECT_EQ(hook->Section(), k.section) << k.name;
    EXPECT_EQ(TlcMainWnd::FromWindow(h), hook.get()) << k.name;
    EXPECT_EQ(MakeHook(k.kind, h, manager_, ""), nullptr) << k.name << ": hooked twice";
    auto named = MakeHook(k.kind, Child(k.cls, k.style, 10, 80, 100, 60), manager_, "PANEL");
    ASSERT_NE(named, nullptr) << k.name;
    EXPECT_EQ(named->Section(), "PANEL") << k.name;
  }
  EXPECT_EQ(MakeHook(HookKind::none, Child(L"BUTTON", 0, 0, 0, 9, 9), manager_, ""), nullptr);
  // Owner-drawn combos are their owner's to draw.
  EXPECT_EQ(MakeHook(HookKind::comboBox,
                     Child(L"COMBOBOX", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, 0, 0, 90, 90),
                     manager_, ""),
            nullptr);
  HWND gone = Child(L"BUTTON", 0, 0, 0, 9, 9);
  ::DestroyWindow(gone);
  EXPECT_EQ(MakeHook(HookKind::button, gone, manager_, ""), nullptr);
}

TEST_F(HookFactoryTest, ButtonStylesChooseTheKind) {
  const std::pair<DWORD, HookKind> cases[] = {
      {BS_PUSHBUTTON, HookKind::button},     {BS_DEFPUSHBUTTON, HookKind::button},
      {BS_AUTOCHECKBOX, HookKind::checkBox}, {BS_3STATE, HookKind::checkBox},
      {BS_RADIOBUTTON, HookKind::checkBox},  {BS_AUTORADIOBUTTON, HookKind::checkBox},
      {BS_GROUPBOX, HookKind::groupBox},     {BS_OWNERDRAW, HookKind::none},
  };
  for (const auto& [style, want] : cases) {
    HWND h = Child(L"BUTTON", style, 10, 10, 100, 20, L"x");
    EXPECT_EQ(ButtonHookKindOf(h), want) << "style " << style;
    ::DestroyWindow(h);
  }
}

TEST_F(HookFactoryTest, EveryHookGivesItsProcedureBackAThousandTimes) {
  for (const KindCase& k : kKinds) {
    HWND h = Child(k.cls, k.style, 10, 10, 100, 60, L"Text");
    const WNDPROC original = ProcOf(h);
    for (int i = 0; i < 1000; ++i) {
      auto hook = MakeHook(k.kind, h, manager_, "");
      ASSERT_NE(hook, nullptr) << k.name << " cycle " << i;
      ASSERT_NE(ProcOf(h), original);
      ::RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    EXPECT_EQ(ProcOf(h), original) << k.name;
    EXPECT_EQ(TlcMainWnd::FromWindow(h), nullptr) << k.name;
    // A window destroyed before its hook: the hook lets go and its end touches nothing.
    auto hook = MakeHook(k.kind, h, manager_, "");
    ASSERT_NE(hook, nullptr);
    ::DestroyWindow(h);
    EXPECT_TRUE(hook->Removed()) << k.name;
  }
  // The leak listener checks the census of our handles at the end of the test.
}

}  // namespace
}  // namespace sapala::win::testing
