// The edit hook on real EDIT and LISTBOX windows: the border painted from the section over the
// window's edge in the normal, the focused and the hot state, typing left to the control, and the
// scroll bars of a multi-line edit taken over by the engine and following the text.
#include "win/skin/edit_hook.h"

#include "hook_fixture.h"

namespace sapala::win::testing {
namespace {

class EditHookTest : public HookTest {
 protected:
  void SetUp() override {
    HookTest::SetUp();
    manager_->Core().SetCommonSections(
        {"[EDGETEST]", "STATES=2", "COLOR=$0000FF", "HOTCOLOR=$00FF00", "[SCROLLBAR1V]",
         "COLOR=$0000FF", "[SCROLLBAR2V]", "COLOR=$00FF00", "[SCROLLSLIDERV]", "COLOR=$00FFFF"});
    ASSERT_GE(manager_->SectionIndex("EDGETEST"), 0);
  }
  HWND Edit(DWORD style, const wchar_t* text = L"") {
    HWND h = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", text, WS_CHILD | WS_VISIBLE | style, 10,
                               10, 120, 60, form_->WindowHandle(), nullptr, nullptr, nullptr);
    EXPECT_NE(h, nullptr);
    windows_.push_back(h);
    return h;
  }
  static void RedrawFrame(HWND h) {
    ::RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  }
  static std::uint32_t At(const graphics::Bitmap* p, int x, int y) {
    return p ? p->PixelWord(x, y) & 0xFFFFFF : 0xDEADBEEF;
  }
};

TEST_F(EditHookTest, BorderComesFromTheSectionAndFollowsTheFocus) {
  struct Case {
    const char* name;
    const wchar_t* cls;
    DWORD style;
  } cases[] = {
      {"edit", L"EDIT", ES_AUTOHSCROLL},
      {"memo", L"EDIT", ES_MULTILINE | WS_VSCROLL},
      {"list box", L"LISTBOX", LBS_NOTIFY | WS_VSCROLL},
  };
  for (const Case& k : cases) {
    HWND h = ::CreateWindowExW(WS_EX_CLIENTEDGE, k.cls, L"", WS_CHILD | WS_VISIBLE | k.style, 10,
                               10, 120, 60, form_->WindowHandle(), nullptr, nullptr, nullptr);
    ASSERT_NE(h, nullptr);
    windows_.push_back(h);
    TlcEditWnd hook(h, manager_, "EDGETEST", true);
    ASSERT_TRUE(hook.InstallScroll()) << k.name;
    RedrawFrame(h);
    const graphics::Bitmap* p = hook.BorderPicture();
    ASSERT_NE(p, nullptr) << k.name;
    RECT wr{};
    ::GetWindowRect(h, &wr);
    EXPECT_EQ(p->Width(), wr.right - wr.left);
    EXPECT_EQ(p->Height(), wr.bottom - wr.top);
    // $0000FF is red (blue, green, red), as a pixel word 0xRRGGBB.
    EXPECT_EQ(At(p, 0, 0), 0xFF0000u) << k.name;
    EXPECT_EQ(At(p, 1, 30), 0xFF0000u) << k.name;
    ::SetFocus(h);
    EXPECT_EQ(hook.State(), 1);
    EXPECT_EQ(At(hook.BorderPicture(), 0, 0), 0x00FF00u) << k.name << ": focused";
    ::SetFocus(form_->WindowHandle());
    EXPECT_EQ(At(hook.BorderPicture(), 0, 0), 0xFF0000u) << k.name << ": focus gone";
    ::SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(At(hook.BorderPicture(), 0, 0), 0x00FF00u) << k.name << ": pointer over";
    ::SendMessageW(h, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(At(hook.BorderPicture(), 0, 0), 0xFF0000u) << k.name << ": pointer gone";
    ::DestroyWindow(h);
  }
}

TEST_F(EditHookTest, TypingStaysTheEditsOwn) {
  HWND h = Edit(ES_AUTOHSCROLL);
  TlcEditWnd hook(h, manager_, "", true);
  ASSERT_TRUE(hook.InstallScroll());
  EXPECT_EQ(hook.Section(), "EDIT");
  ::SetFocus(h);
  for (wchar_t ch : std::wstring(L"kawung")) ::PostMessageW(h, WM_CHAR, ch, 1);
  Pump();
  ::PostMessageW(h, WM_CHAR, VK_BACK, 1);
  Pump();
  wchar_t text[32]{};
  ::GetWindowTextW(h, text, 32);
  EXPECT_STREQ(text, L"kawun");
}

TEST_F(EditHookTest, MemoScrollBarsAreTheEnginesAndFollowTheText) {
  std::wstring lines;
  for (int i = 0; i < 40; ++i) lines += L"line " + std::to_wstring(i) + L"\r\n";
  HWND h = Edit(ES_MULTILINE | WS_VSCROLL | ES_AUTOVSCROLL, lines.c_str());
  RECT plain{};
  ::GetClientRect(h, &plain);
  TlcEditWnd hook(h, manager_, "", true);
  hook.BarSettings(1).Thickness = 30;  // so the engine's bar is told from the system's
  ASSERT_TRUE(hook.InstallScroll());
  RECT skinned{};
  ::GetClientRect(h, &skinned);
  EXPECT_TRUE(hook.Bar(1).Shown);
  EXPECT_EQ(skinned.right, plain.right + ::GetSystemMetrics(SM_CXVSCROLL) - 30);
  RedrawFrame(h);
  const graphics::Bitmap* bar = hook.BarPicture(1);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->Width(), 30);
  EXPECT_EQ(hook.Bar(1).Info.nPos, 0);
  ::SendMessageW(h, EM_LINESCROLL, 0, 10);
  EXPECT_EQ(hook.Bar(1).Info.nPos, 10);
  // The keyboard moves the caret and the bar follows.
  ::SetFocus(h);
  ::SendMessageW(h, WM_KEYDOWN, VK_PRIOR, 1);
  ::SendMessageW(h, WM_KEYDOWN, VK_PRIOR, 1);
  ::SendMessageW(h, WM_KEYDOWN, VK_PRIOR, 1);
  EXPECT_EQ(hook.Bar(1).Info.nPos,
            static_cast<int>(::SendMessageW(h, EM_GETFIRSTVISIBLELINE, 0, 0)));
}

}  // namespace
}  // namespace sapala::win::testing
