// The hook base on real windows: it takes the procedure over and gives back exactly what it
// took — when the window dies first, when the hook goes from inside one of its own messages,
// when someone subclassed after it, for a control object's WindowProc — and it answers the
// common commands only from its own manager.
#include "win/skin/hook_base.h"

#include "hook_fixture.h"

namespace sapala::win::testing {
namespace {

// A hook that counts what reaches it and, on WM_USER + 1, removes itself (as cmdRemoveSkin
// does) before passing the message on.
class TCountingHook : public TlcMainWnd {
 public:
  using TlcMainWnd::TlcMainWnd;
  int seen = 0;

 protected:
  void WndProc(Message& m) override {
    ++seen;
    if (m.Msg == WM_USER + 1) {
      ::SendMessageW(hwnd_, skin::SM_LUMOCMD, MAKEWPARAM(0, skin::cmdRemoveSkin), Manager()->Id());
    }
    TlcMainWnd::WndProc(m);
  }
};

// The window procedure of a STATIC that answers WM_USER + 1 with 42 (the "old procedure").
WNDPROC g_static = nullptr;
LRESULT CALLBACK Answering(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_USER + 1) return 42;
  return ::CallWindowProcW(g_static, h, msg, wp, lp);
}
// A later subclasser that forwards to whatever it replaced.
WNDPROC g_under_later = nullptr;
LRESULT CALLBACK Later(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  return ::CallWindowProcW(g_under_later, h, msg, wp, lp);
}

using HookBaseTest = HookTest;

TEST_F(HookBaseTest, ForeignWindowGetsItsProcedureBackInEveryEnding) {
  // 1: removed by its owner; 2: window destroyed first; 3: removed from inside a message.
  for (int ending = 1; ending <= 3; ++ending) {
    HWND h = Child(L"STATIC", 0, 5, 5, 40, 20, L"x");
    g_static = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Answering)));
    auto hook = std::make_unique<TCountingHook>(h, manager_, "PANEL");
    ASSERT_TRUE(hook->Install()) << "ending " << ending;
    EXPECT_NE(ProcOf(h), &Answering);
    EXPECT_EQ(TlcMainWnd::FromWindow(h), hook.get());
    EXPECT_FALSE(TCountingHook(h, manager_, "PANEL").Install()) << "a second hook";
    if (ending == 1) hook->Remove();
    if (ending == 2) {
      ::DestroyWindow(h);
      EXPECT_TRUE(hook->Removed());
      EXPECT_TRUE(hook->WindowDestroyed());
      continue;
    }
    if (ending == 3) {
      // The old procedure still answers the message that removed the hook.
      EXPECT_EQ(::SendMessageW(h, WM_USER + 1, 0, 0), 42);
      EXPECT_TRUE(hook->Removed());
    }
    EXPECT_EQ(ProcOf(h), &Answering) << "ending " << ending;
    EXPECT_EQ(::GetPropW(h, kHookProperty), nullptr) << "ending " << ending;
    const int seen = hook->seen;
    ::SendMessageW(h, WM_USER + 2, 0, 0);
    EXPECT_EQ(hook->seen, seen) << "ending " << ending;
  }
}

TEST_F(HookBaseTest, WindowSubclassedAfterTheHookKeepsItsChain) {
  HWND h = Child(L"STATIC", 0, 5, 5, 40, 20, L"x");
  g_static = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Answering)));
  auto hook = std::make_unique<TCountingHook>(h, manager_, "PANEL");
  ASSERT_TRUE(hook->Install());
  g_under_later = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Later)));
  hook.reset();
  EXPECT_EQ(ProcOf(h), &Later);                         // not taken from the later subclasser
  EXPECT_EQ(::SendMessageW(h, WM_USER + 1, 0, 0), 42);  // and its chain still reaches the old one
  ::DestroyWindow(h);
}

TEST_F(HookBaseTest, ControlObjectGetsItsWindowProcBack) {
  auto owned = std::make_unique<TButton>(nullptr);
  TButton& b = *owned;
  b.SetParent(form_);
  b.SetBounds(10, 10, 80, 24);
  b.SetCaption(L"Ok");
  HWND h = b.Handle();
  int plain = 0;
  auto before = b.WindowProc;
  b.WindowProc = [&plain, before](Message& m) {
    if (m.Msg == WM_USER + 1 || m.Msg == WM_USER + 3) ++plain;
    before(m);
  };
  {
    TCountingHook hook(h, manager_, "BUTTON");
    ASSERT_TRUE(hook.Install());
    EXPECT_EQ(hook.Control(), &b);
    ::SendMessageW(h, WM_USER + 3, 0, 0);
    EXPECT_EQ(plain, 1);  // passed on to the procedure the hook replaced
    EXPECT_GT(hook.seen, 0);
  }
  ::SendMessageW(h, WM_USER + 3, 0, 0);
  EXPECT_EQ(plain, 2);
  {
    // Removed from inside one of its own messages: the call that is running finishes on the
    // procedure the hook took, and the control has it back afterwards.
    TCountingHook hook(h, manager_, "BUTTON");
    ASSERT_TRUE(hook.Install());
    ::SendMessageW(h, WM_USER + 1, 0, 0);
    EXPECT_TRUE(hook.Removed());
    EXPECT_EQ(plain, 3);  // the message that removed the hook still reached the old procedure
    const int seen = hook.seen;
    ::SendMessageW(h, WM_USER + 3, 0, 0);
    EXPECT_EQ(plain, 4);
    EXPECT_EQ(hook.seen, seen);
  }
  // A control destroyed before its hook: the hook lets go of it when the window goes.
  auto hook = std::make_unique<TCountingHook>(h, manager_, "BUTTON");
  ASSERT_TRUE(hook->Install());
  owned.reset();
  EXPECT_TRUE(hook->Removed());
  EXPECT_EQ(hook->Control(), nullptr);
}

TEST_F(HookBaseTest, CommandsOfAnotherManagerAreIgnored) {
  HWND h = Child(L"STATIC", 0, 5, 5, 40, 20, L"x");
  TCountingHook hook(h, manager_, "PANEL");
  ASSERT_TRUE(hook.Install());
  EXPECT_EQ(Cmd(h, skin::cmdIsSkinned), 1);
  Cmd(h, skin::cmdRemoveSkin, 0, 12345);
  EXPECT_TRUE(hook.Installed());
  const char name[] = "BUTTON";
  Cmd(h, skin::cmdSetSection, 0, reinterpret_cast<LPARAM>(name));
  EXPECT_EQ(hook.SectionIndex(), manager_->SectionIndex("BUTTON"));
  ::SendMessageW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"new"));
  EXPECT_EQ(hook.Text(), L"new");
  Cmd(h, skin::cmdRemoveSkin, 0, manager_->Id());
  EXPECT_FALSE(hook.Installed());
}

}  // namespace
}  // namespace sapala::win::testing
