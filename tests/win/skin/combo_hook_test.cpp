// The combo-box hook on real COMBOBOX windows: the face and the drop button painted from the skin
// in every state (and from the edit's section in a skin without a combo section), the drop-down
// list hooked with the combo, the keyboard and the mouse still the combo's own inside a dialog
// (Alt+Down, F4 and a click drop the list, arrows and Enter choose, Escape closes the list and
// not the dialog), and the procedures of combo and list given back however the hook ends.
#include "win/skin/combo_hook.h"

#include <commctrl.h>

#include <algorithm>

#include "hook_fixture.h"
#include "win/skin/dialog_hook.h"
#include "win/skin/hook_factory.h"

namespace sapala::win::testing {
namespace {

constexpr int kComboId = 100;

std::uint32_t At(const graphics::Bitmap* p, int x, int y) {
  return p && x >= 0 && y >= 0 && x < p->Width() && y < p->Height() ? p->PixelWord(x, y) & 0xFFFFFF
                                                                    : 0xDEADBEEF;
}

HWND ListOf(HWND combo) {
  COMBOBOXINFO ci{};
  ci.cbSize = sizeof ci;
  return ::GetComboBoxInfo(combo, &ci) ? ci.hwndList : nullptr;
}

class ComboHookTest : public HookTest {
 protected:
  void SetUp() override {
    HookTest::SetUp();
    // Colours written blue, green, red: face red, hot face green; button blue, hot button cyan.
    manager_->Core().SetCommonSections({"[COMBOBOX]", "STATES=2", "COLOR=$0000FF",
                                        "HOTCOLOR=$00FF00", "[COMBOBTN]", "STATES=3",
                                        "COLOR=$FF0000", "HOTCOLOR=$FFFF00"});
    ASSERT_GE(manager_->SectionIndex("COMBOBOX"), 0);
  }
  HWND Combo(HWND parent, DWORD type, int x = 10, int y = 10) {
    HWND h =
        ::CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | type, x, y, 150,
                          120, parent, reinterpret_cast<HMENU>(kComboId), nullptr, nullptr);
    EXPECT_NE(h, nullptr);
    windows_.push_back(h);
    for (const wchar_t* item : {L"abang", L"biru", L"cemeng", L"dhadhu", L"ijo"}) {
      ::SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    return h;
  }
  std::unique_ptr<TlcComboBoxWnd> Hook(HWND combo) {
    auto hook = std::make_unique<TlcComboBoxWnd>(combo, manager_, "");
    EXPECT_TRUE(hook->InstallCombo());
    return hook;
  }
  static void Repaint(HWND h) {
    ::RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
};

TEST_F(ComboHookTest, FaceAndDropButtonFollowTheirStates) {
  struct Case {
    const char* name;
    DWORD type;
  } cases[] = {{"drop-down list", CBS_DROPDOWNLIST}, {"drop-down", CBS_DROPDOWN}};
  for (const Case& k : cases) {
    HWND h = Combo(form_->WindowHandle(), k.type);
    auto hook = Hook(h);
    Repaint(h);
    const graphics::Bitmap* p = hook->CachePicture();
    ASSERT_NE(p, nullptr) << k.name;
    RECT client{};
    ::GetClientRect(h, &client);
    EXPECT_EQ(p->Width(), client.right) << k.name;
    const RECT b = hook->ButtonRect();
    ASSERT_FALSE(::IsRectEmpty(&b)) << k.name;
    const int bx = (b.left + b.right) / 2, by = (b.top + b.bottom) / 2;
    EXPECT_EQ(At(p, 1, client.bottom / 2), 0xFF0000u) << k.name << ": face";
    // The button's border mask covers its middle: its states are told apart by the picture.
    const std::uint32_t normal = At(p, bx, by);
    EXPECT_NE(normal, 0xFF0000u) << k.name << ": button";
    EXPECT_EQ(hook->ButtonState(), 0) << k.name;

    ::SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(bx, by));
    EXPECT_EQ(hook->ButtonState(), 1) << k.name;
    EXPECT_EQ(At(hook->CachePicture(), 1, client.bottom / 2), 0x00FF00u) << k.name << ": hot";
    const std::uint32_t hot = At(hook->CachePicture(), bx, by);
    EXPECT_NE(hot, normal) << k.name << ": hot button";
    ::SendMessageW(h, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(At(hook->CachePicture(), bx, by), normal) << k.name << ": pointer gone";

    ::SendMessageW(h, CB_SHOWDROPDOWN, TRUE, 0);
    EXPECT_EQ(hook->ButtonState(), 2) << k.name << ": dropped";
    EXPECT_NE(At(hook->CachePicture(), bx, by), normal) << k.name << ": dropped button";
    ::SendMessageW(h, CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_EQ(hook->ButtonState(), 0) << k.name << ": closed";
    EXPECT_EQ(At(hook->CachePicture(), bx, by), normal) << k.name << ": closed button";

    // Disabled: normal state, faded 40 % into the form's white.
    ::EnableWindow(h, FALSE);
    const std::uint32_t faded = At(hook->CachePicture(), bx, by);
    EXPECT_EQ(hook->ButtonState(), 0) << k.name;
    for (int shift : {0, 8, 16}) {
      const int want = (((normal >> shift) & 0xFF) * 60 + 255 * 40) / 100;
      EXPECT_NEAR(static_cast<int>((faded >> shift) & 0xFF), want, 2)
          << k.name << ": disabled, channel at bit " << shift;
    }
    ::DestroyWindow(h);
  }
}

TEST_F(ComboHookTest, ChosenItemIsDrawnAndFollowsTheSelection) {
  HWND h = Combo(form_->WindowHandle(), CBS_DROPDOWNLIST);
  auto hook = Hook(h);
  Repaint(h);
  COMBOBOXINFO ci{};
  ci.cbSize = sizeof ci;
  ASSERT_TRUE(::GetComboBoxInfo(h, &ci));
  auto inkIn = [&](const RECT& r) {
    int ink = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) ink += At(hook->CachePicture(), x, y) != 0xFF0000u;
    }
    return ink;
  };
  EXPECT_EQ(inkIn(ci.rcItem), 0) << "nothing chosen";
  ::SendMessageW(h, CB_SETCURSEL, 2, 0);
  const int chosen = inkIn(ci.rcItem);
  EXPECT_GT(chosen, 10) << "the item's text";
  ::SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  EXPECT_EQ(inkIn(ci.rcItem), 0) << "selection cleared";
}

TEST_F(ComboHookTest, ASkinWithoutComboSectionsPaintsTheComboAsAnEdit) {
  manager_->Core().SetCommonSections({});
  ASSERT_LT(manager_->SectionIndex("COMBOBOX"), 0);
  HWND h = Combo(form_->WindowHandle(), CBS_DROPDOWNLIST);
  auto hook = Hook(h);
  EXPECT_EQ(hook->Section(), "COMBOBOX");
  EXPECT_EQ(hook->SectionIndex(), manager_->SectionIndex("EDIT"));
  EXPECT_EQ(hook->ButtonSectionIndex(), manager_->SectionIndex("COMBOBTN"));
  Repaint(h);
  RECT client{};
  ::GetClientRect(h, &client);
  // The test skin's edit is white inside its border.
  EXPECT_EQ(At(hook->CachePicture(), client.right / 3, client.bottom / 2), 0xFFFFFFu);
  ASSERT_NE(hook->ListHook(), nullptr);
  EXPECT_EQ(hook->ListHook()->SectionIndex(), manager_->SectionIndex("EDIT"));
}

TEST_F(ComboHookTest, TheCommittedSkinHasAComboButNoDropButton) {
  manager_->Core().SetCommonSections({});
  manager_->Core().SetSkinDirectory(AssetSkinFolder());
  manager_->Core().SetSkinName("DiruriZedaz");
  ASSERT_TRUE(manager_->SkinActive());
  ASSERT_LT(manager_->SectionIndex("COMBOBTN"), 0);
  HWND h = Combo(form_->WindowHandle(), CBS_DROPDOWNLIST);
  auto hook = Hook(h);
  EXPECT_EQ(hook->SectionIndex(), manager_->SectionIndex("COMBOBOX"));
  EXPECT_GE(hook->SectionIndex(), 0);
  EXPECT_EQ(hook->ButtonSectionIndex(), manager_->SectionIndex("BUTTON"));
  Repaint(h);
  // The push button standing in shows an arrow in its font colour.
  const auto& button =
      manager_->Core().Tables.Sections[static_cast<std::size_t>(manager_->SectionIndex("BUTTON"))];
  const TColor ink = graphics::ColorToRGB(button.Props[0].FontColors[0]);
  const std::uint32_t want = ((ink & 0xFF) << 16) | (ink & 0xFF00) | ((ink >> 16) & 0xFF);
  const RECT b = hook->ButtonRect();
  EXPECT_EQ(At(hook->CachePicture(), (b.left + b.right) / 2, (b.top + b.bottom) / 2), want);
}

TEST_F(ComboHookTest, DropDownListIsHookedAndEveryProcedureGoesBack) {
  struct Case {
    const char* name;
    int ending;  // 0 hook freed, 1 combo destroyed first, 2 skin removed while dropped
  } cases[] = {{"freed", 0}, {"destroyed first", 1}, {"skin removed while dropped", 2}};
  for (const Case& k : cases) {
    HWND h = Combo(form_->WindowHandle(), CBS_DROPDOWNLIST);
    HWND list = ListOf(h);
    ASSERT_NE(list, nullptr);
    const WNDPROC comboProc = ProcOf(h), listProc = ProcOf(list);
    auto hook = Hook(h);
    ASSERT_NE(hook->ListHook(), nullptr) << k.name;
    EXPECT_EQ(hook->ListHook()->Handle(), list);
    EXPECT_EQ(hook->ListHook()->Section(), "COMBOBOX");
    EXPECT_NE(ProcOf(list), listProc) << k.name;
    EXPECT_EQ(Cmd(list, skin::cmdIsSkinned), 1) << k.name;
    switch (k.ending) {
      case 0:
        hook.reset();
        EXPECT_EQ(ProcOf(h), comboProc) << k.name;
        EXPECT_EQ(ProcOf(list), listProc) << k.name;
        EXPECT_EQ(Cmd(list, skin::cmdIsSkinned), 0) << k.name;
        break;
      case 1:
        ::DestroyWindow(h);
        EXPECT_TRUE(hook->Removed()) << k.name;
        EXPECT_TRUE(hook->ListHook()->Removed()) << k.name;
        hook.reset();
        break;
      case 2:
        ::SendMessageW(h, CB_SHOWDROPDOWN, TRUE, 0);
        ASSERT_TRUE(::IsWindowVisible(list)) << k.name;
        // What the manager sends to every skinned window when its skin goes.
        Cmd(h, skin::cmdRemoveSkin, 0, manager_->Id());
        EXPECT_TRUE(hook->Removed()) << k.name;
        EXPECT_EQ(ProcOf(h), comboProc) << k.name;
        EXPECT_EQ(ProcOf(list), listProc) << k.name;
        ::SendMessageW(h, WM_KEYDOWN, VK_ESCAPE, 1);
        EXPECT_FALSE(::IsWindowVisible(list)) << k.name << ": the list still closes";
        break;
    }
    if (::IsWindow(h)) ::DestroyWindow(h);
  }
}

TEST_F(ComboHookTest, DroppedListScrollsByItsSkinnedBar) {
  HWND h = Combo(form_->WindowHandle(), CBS_DROPDOWNLIST | WS_VSCROLL);
  for (int i = 0; i < 30; ++i) {
    const std::wstring item = L"tembung " + std::to_wstring(i);
    ::SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  auto hook = Hook(h);
  HWND list = ListOf(h);
  ::SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(140, 8));
  ::SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(140, 8));
  Pump();
  ASSERT_TRUE(hook->Dropped());
  TlcEditWnd* lh = hook->ListHook();
  ASSERT_NE(lh, nullptr);
  ASSERT_TRUE(lh->Bar(1).Shown);
  // The pointer goes down on the bar's lower arrow: the list holds the mouse and gets it first.
  const RECT bar = lh->BarRect(1);
  RECT wr{};
  ::GetWindowRect(list, &wr);
  POINT p{wr.left + (bar.left + bar.right) / 2, wr.top + bar.bottom - 4};
  ::ScreenToClient(list, &p);
  const LRESULT top = ::SendMessageW(list, LB_GETTOPINDEX, 0, 0);
  ::SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  Pump();
  ::SendMessageW(::GetCapture() ? ::GetCapture() : list, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  Pump();
  EXPECT_EQ(::SendMessageW(list, LB_GETTOPINDEX, 0, 0), top + 1);
  EXPECT_TRUE(hook->Dropped()) << "the list stays open";
  EXPECT_EQ(lh->Bar(1).Info.nPos, top + 1);
  ::SendMessageW(h, CB_SHOWDROPDOWN, FALSE, 0);
}

// A modeless dialog run by its own loop (IsDialogMessage, as a modal loop would), skinned by a
// provider, holding a drop-down list combo and a drop-down combo.
class ComboDialogTest : public ComboHookTest {
 protected:
  struct Template {
    DLGTEMPLATE dlg;
    WORD menu, cls, title;
  };
  void SetUp() override {
    ComboHookTest::SetUp();
    manager_->Core().SetCommonSections({"[COMBOBOX]", "STATES=2", "COLOR=$0000FF",
                                        "HOTCOLOR=$00FF00", "[DIALOG]", "COLOR=$80C0E0"});
    static const Template t{
        {WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 0, 0, 40, 40, 180, 120}, 0, 0, 0};
    dialog_ = ::CreateDialogIndirectParamW(nullptr, &t.dlg, nullptr, &DialogProc, 0);
    ASSERT_NE(dialog_, nullptr);
    list_combo_ = Combo(dialog_, CBS_DROPDOWNLIST);
    edit_combo_ = Combo(dialog_, CBS_DROPDOWN, 10, 50);
    edit_ =
        ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"maos", WS_CHILD | WS_VISIBLE | ES_READONLY,
                          10, 80, 100, 22, dialog_, nullptr, nullptr, nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_USEREX_CLASSES};
    ::InitCommonControlsEx(&icc);
    extended_ = ::CreateWindowExW(0, WC_COMBOBOXEXW, L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST,
                                  100, 80, 70, 100, dialog_, nullptr, nullptr, nullptr);
    ASSERT_NE(extended_, nullptr);
    provider_ = std::make_unique<TlcProvider>(dialog_, manager_);
    ASSERT_TRUE(provider_->Attach());
    ::SetForegroundWindow(dialog_);
    commands_().clear();
    Pump();
  }
  void TearDown() override {
    provider_.reset();
    if (::IsWindow(dialog_)) ::DestroyWindow(dialog_);
    ComboHookTest::TearDown();
  }
  static std::vector<WORD>& commands_() {
    static std::vector<WORD> c;
    return c;
  }
  static INT_PTR CALLBACK DialogProc(HWND, UINT msg, WPARAM wp, LPARAM) {
    if (msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) {
      commands_().push_back(LOWORD(wp));
      return TRUE;
    }
    return msg == WM_INITDIALOG;
  }
  // A key as the keyboard gives it, through the dialog's loop.
  void Key(UINT msg, WPARAM vk, LPARAM lp = 1) {
    HWND focus = ::GetFocus();
    ASSERT_NE(focus, nullptr);
    ::PostMessageW(focus, msg, vk, lp);
    Pump();
  }
  void Pump() {
    MSG m;
    while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      if (!::IsDialogMessageW(dialog_, &m)) {
        ::TranslateMessage(&m);
        ::DispatchMessageW(&m);
      }
    }
  }
  TlcComboBoxWnd* HookOf(HWND h) {
    return dynamic_cast<TlcComboBoxWnd*>(TlcMainWnd::FromWindow(h));
  }

  HWND dialog_ = nullptr, list_combo_ = nullptr, edit_combo_ = nullptr, edit_ = nullptr;
  HWND extended_ = nullptr;
  std::unique_ptr<TlcProvider> provider_;
};

TEST_F(ComboDialogTest, DialogChildrenGetTheirHooks) {
  ASSERT_NE(HookOf(list_combo_), nullptr);
  ASSERT_NE(HookOf(edit_combo_), nullptr);
  EXPECT_NE(HookOf(list_combo_)->ListHook(), nullptr);
  // The extended combo has its hook; the combo inside it is owner-drawn by it and stays its own.
  EXPECT_NE(HookOf(extended_), nullptr);
  HWND inside = reinterpret_cast<HWND>(::SendMessageW(extended_, CBEM_GETCOMBOCONTROL, 0, 0));
  ASSERT_NE(inside, nullptr);
  EXPECT_NE(::GetWindowLongPtrW(inside, GWL_STYLE) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE),
            0);
  EXPECT_EQ(TlcMainWnd::FromWindow(inside), nullptr);
  // The edit inside the drop-down combo and the read-only field are edits in dialog mode.
  COMBOBOXINFO ci{};
  ci.cbSize = sizeof ci;
  ASSERT_TRUE(::GetComboBoxInfo(edit_combo_, &ci));
  auto* inner = dynamic_cast<TlcEditWnd*>(TlcMainWnd::FromWindow(ci.hwndItem));
  ASSERT_NE(inner, nullptr);
  EXPECT_TRUE(inner->DialogMode());
  auto* field = dynamic_cast<TlcEditWnd*>(TlcMainWnd::FromWindow(edit_));
  ASSERT_NE(field, nullptr);
  EXPECT_TRUE(field->DialogMode());
  // The read-only field shows the dialog's skinned colour, not the system's face.
  const TColor form = provider_->DialogHook()->FormColor();
  ASSERT_NE(form, graphics::clNone);
  WindowDC dc(edit_);
  auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(dialog_, WM_CTLCOLORSTATIC,
                                                       reinterpret_cast<WPARAM>(dc.get()),
                                                       reinterpret_cast<LPARAM>(edit_)));
  LOGBRUSH lb{};
  ASSERT_TRUE(brush && ::GetObjectW(brush, sizeof lb, &lb));
  EXPECT_EQ(lb.lbColor, static_cast<COLORREF>(form & 0xFFFFFF));
  EXPECT_EQ(::GetBkColor(dc.get()), static_cast<COLORREF>(form & 0xFFFFFF));
}

TEST_F(ComboDialogTest, KeyboardDropsChoosesAndEscapeClosesOnlyTheList) {
  struct Case {
    const char* name;
    HWND* combo;
  } cases[] = {{"drop-down list", &list_combo_}, {"drop-down", &edit_combo_}};
  for (const Case& k : cases) {
    HWND h = *k.combo;
    TlcComboBoxWnd* hook = HookOf(h);
    ASSERT_NE(hook, nullptr) << k.name;
    ::SetFocus(h);
    ::SendMessageW(h, CB_SETCURSEL, 0, 0);
    Key(WM_SYSKEYDOWN, VK_DOWN, 0x20000001);  // Alt+Down
    EXPECT_TRUE(hook->Dropped()) << k.name << ": Alt+Down";
    EXPECT_EQ(hook->ButtonState(), 2) << k.name;
    Key(WM_KEYDOWN, VK_DOWN);
    Key(WM_KEYDOWN, VK_DOWN);
    Key(WM_KEYDOWN, VK_RETURN);
    EXPECT_FALSE(hook->Dropped()) << k.name << ": Enter closes";
    EXPECT_EQ(::SendMessageW(h, CB_GETCURSEL, 0, 0), 2) << k.name << ": two down";
    EXPECT_NE(hook->ButtonState(), 2) << k.name;
    Key(WM_KEYDOWN, VK_F4);
    EXPECT_TRUE(hook->Dropped()) << k.name << ": F4";
    Key(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_FALSE(hook->Dropped()) << k.name << ": Escape closes the list";
    EXPECT_TRUE(commands_().empty()) << k.name << ": ... and not the dialog";
    EXPECT_TRUE(::IsWindow(dialog_));
    // With the list closed, Escape is the dialog's again.
    Key(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(commands_(), std::vector<WORD>{IDCANCEL}) << k.name;
    commands_().clear();
  }
}

TEST_F(ComboDialogTest, ClickDropsAndClickChooses) {
  TlcComboBoxWnd* hook = HookOf(list_combo_);
  ASSERT_NE(hook, nullptr);
  Repaint(list_combo_);
  const RECT b = hook->ButtonRect();
  const LPARAM at = MAKELPARAM((b.left + b.right) / 2, (b.top + b.bottom) / 2);
  ::SendMessageW(list_combo_, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::SendMessageW(list_combo_, WM_LBUTTONUP, 0, at);
  Pump();
  ASSERT_TRUE(hook->Dropped());
  EXPECT_EQ(hook->ButtonState(), 2);
  HWND list = ListOf(list_combo_);
  RECT item{};
  ASSERT_NE(::SendMessageW(list, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&item)), LB_ERR);
  const LPARAM on = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  ::SendMessageW(list, WM_MOUSEMOVE, 0, on);
  ::SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, on);
  ::SendMessageW(list, WM_LBUTTONUP, 0, on);
  Pump();
  EXPECT_FALSE(hook->Dropped());
  EXPECT_EQ(::SendMessageW(list_combo_, CB_GETCURSEL, 0, 0), 3);
  EXPECT_TRUE(commands_().empty());
}

TEST_F(ComboDialogTest, RemovingTheSkinGivesTheDialogsWindowsBack) {
  HWND list = ListOf(list_combo_);
  ASSERT_EQ(Cmd(list, skin::cmdIsSkinned), 1);
  ::SendMessageW(list_combo_, CB_SHOWDROPDOWN, TRUE, 0);
  provider_->RemoveHooks();
  for (HWND h : {list_combo_, edit_combo_, edit_, list}) {
    EXPECT_EQ(TlcMainWnd::FromWindow(h), nullptr);
    EXPECT_EQ(Cmd(h, skin::cmdIsSkinned), 0);
  }
  ::SendMessageW(list_combo_, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_FALSE(::IsWindowVisible(list));
}

}  // namespace
}  // namespace sapala::win::testing
