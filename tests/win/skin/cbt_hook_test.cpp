// The thread's window-creation hook: which created windows it looks at, and the attach routine
// that hands forms and dialogs to the provider and dialog plug points by the skinning rules.
#include "win/skin/cbt_hook.h"

#include "skin_fixture.h"
#include "win/skin/plug_ins.h"

namespace sapala::win::testing {
namespace {

using skin::ClassifyCreatedWindow;
using skin::CreateAction;

TEST(CbtHook, CreatedWindowsAreSortedByClassStyleAndParent) {
  const HWND self = reinterpret_cast<HWND>(0x100), other = reinterpret_cast<HWND>(0x200);
  const DWORD st = WS_OVERLAPPEDWINDOW, ex = WS_EX_APPWINDOW;
  struct Case {
    LPCWSTR cls;
    DWORD style, ex;
    HWND parent;
    bool hasMain;
    HWND main;
    CreateAction want;
  } cases[] = {
      {MAKEINTATOM(32770), 0, 0, other, true, other, CreateAction::attach},  // system dialog
      {MAKEINTATOM(0x8000), 0, 0, nullptr, true, other, CreateAction::popupMenu},
      {MAKEINTATOM(0x8001), st, ex, nullptr, false, nullptr, CreateAction::none},  // other atoms
      {L"TPUtilWindow", st, ex, nullptr, false, nullptr, CreateAction::none},
      {L"TForm2", st, ex, nullptr, false, nullptr, CreateAction::attach},  // no main form yet
      {L"TForm2", st, ex, nullptr, true, other, CreateAction::attach},     // another window
      {L"TForm2", st, ex, nullptr, true, self, CreateAction::none},        // the main form
      {L"TForm2", st, ex, nullptr, true, nullptr, CreateAction::none},  // main form has no window
      {L"TForm2", 0, ex, nullptr, false, nullptr, CreateAction::none},
      {L"TForm2", st, 0, nullptr, false, nullptr, CreateAction::none},
      {L"TForm2", st, ex, other, false, nullptr, CreateAction::none},  // a child
  };
  int n = 0;
  for (const Case& c : cases) {
    EXPECT_EQ(ClassifyCreatedWindow(c.cls, c.style, c.ex, c.parent, self, c.hasMain, c.main),
              c.want)
        << "case " << n;
    ++n;
  }
}

class CbtHookTest : public SkinTest {
 protected:
  void TearDown() override {
    skin::PlugIns() = skin::SkinPlugIns{};
    SkinTest::TearDown();
  }
  TsSkinManager& Manager(TForm& f) {
    auto& m = f.Create<TsSkinManager>();
    m.Core().SetSkinDirectory(TestSkinFolder());
    m.Core().SetSkinName("TestSkin");
    return m;
  }
};

TEST_F(CbtHookTest, ActivatedFormsGoToTheProviderByTheRules) {
  TRecForm& a = AddForm("A", "", true);
  auto& m = Manager(a);
  ASSERT_NE(m.CbtHook(), nullptr);
  std::vector<std::string> attached;
  skin::PlugIns().attachForm = [&](TForm& form) {
    attached.push_back(form.Name());
    return true;
  };
  TRecForm& b = AddForm("B", "", true);
  AddForm("C", "  Tag = -98\n", true);                  // excluded by its tag
  m.Core().SkinningRules = sapala::skin::srStdDialogs;  // forms are no longer skinned
  AddForm("D", "", true);
  EXPECT_EQ(attached, (std::vector<std::string>{"B"}));
  ASSERT_EQ(m.CbtHook()->HookedWindows(), (std::vector<HWND>{b.WindowHandle()}));
  // With the forms rule back, activating A (shown before the plug was there) attaches it, and
  // activating B again attaches nothing twice; destroying B's window drops it from the list.
  m.Core().SkinningRules = sapala::skin::kAllSkinningRules;
  ::SetForegroundWindow(a.WindowHandle());
  ::SetForegroundWindow(b.WindowHandle());
  app_->ProcessMessages();
  EXPECT_EQ(attached, (std::vector<std::string>{"B", "A"}));
  b.DestroyHandle();
  EXPECT_EQ(m.CbtHook()->HookedWindows(), (std::vector<HWND>{a.WindowHandle()}));
}

TEST_F(CbtHookTest, SystemDialogsGoToTheDialogHookUnlessTheRulesSayNo) {
  TRecForm& a = AddForm("A", "", true);
  auto& m = Manager(a);
  int dialogs = 0;
  skin::PlugIns().attachDialog = [&](HWND) {
    ++dialogs;
    return true;
  };
  auto make = [] {
    return Window(::CreateWindowExW(0, MAKEINTATOM(32770), L"dialog", WS_POPUP | WS_CAPTION, 0, 0,
                                    50, 50, nullptr, nullptr, ::GetModuleHandleW(nullptr),
                                    nullptr));
  };
  {
    Window dialog = make();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(m.CbtHook()->HookedWindows(), (std::vector<HWND>{dialog.get()}));
  }
  EXPECT_TRUE(m.CbtHook()->HookedWindows().empty());
  m.Core().SkinningRules = sapala::skin::srStdForms;
  Window dialog = make();
  EXPECT_EQ(dialogs, 1);
}

}  // namespace
}  // namespace sapala::win::testing
