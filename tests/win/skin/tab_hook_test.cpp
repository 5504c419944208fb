// The tab and page control hooks on real tab controls under a skin with tab and body sections:
// body and tabs painted in their sections and states, selection by arrow keys and the pointer's
// hot tab followed by the picture, the system's tabs kept where the skin has no section for their
// side, the scroll arrows and pages hooked, and everything given back when the skin goes.
#include "win/skin/tab_hook.h"

#include "control_hook_fixture.h"
#include "win/skin/hook_factory.h"
#include "win/skin/panel_hooks.h"
#include "win/skin/range_hooks.h"

namespace sapala::win::testing {
namespace {

class TabHookTest : public ControlHookTest {
 protected:
  HWND Tabs(DWORD style, int w, int count) {
    HWND h = Child(WC_TABCONTROLW, style | WS_TABSTOP | WS_CLIPCHILDREN, 10, 10, w, 150);
    for (int i = 0; i < count; ++i) {
      std::wstring text = L"Tab " + std::to_wstring(i);
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = text.data();
      ::SendMessageW(h, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    return h;
  }
  // A point inside a painted tab clear of its caption.
  static POINT Inside(const RECT& r) { return {r.left + 2, r.top + 2}; }
};

TEST_F(TabHookTest, TabsAndBodyFollowSelectionKeysAndPointer) {
  HWND h = Tabs(0, 300, 3);
  auto owned = MakeHook(HookKind::tabControl, h, manager_, "");
  auto* hook = dynamic_cast<TlcTabControlWnd*>(owned.get());
  ASSERT_NE(hook, nullptr);
  EXPECT_EQ(hook->Section(), "PAGECONTROL");
  PaintNow(h);
  ASSERT_NE(hook->CachePicture(), nullptr);
  EXPECT_EQ(At(*hook, Mid(hook->BodyRect())), ColorOf("PAGECONTROL"));
  ASSERT_EQ(hook->TabRects().size(), 3u);
  const TColor normal = ColorOf("TABTOP"), selected = ColorOf("TABTOP", true);
  EXPECT_EQ(At(*hook, Inside(hook->TabRects()[0])), selected);
  EXPECT_EQ(At(*hook, Inside(hook->TabRects()[1])), normal);
  // The selected tab stands out over its item and joins the body.
  RECT item{};
  ::SendMessageW(h, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_LT(hook->TabRects()[0].top, item.top);
  EXPECT_EQ(hook->TabRects()[0].bottom, hook->BodyRect().top + 1);
  // Beside the tabs the parent shows.
  EXPECT_EQ(At(*hook, POINT{295, 3}), graphics::ColorToRGB(form_->Color()));

  // Arrow keys still switch tabs; the picture follows.
  ::SetFocus(h);
  ::SendMessageW(h, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(::SendMessageW(h, TCM_GETCURSEL, 0, 0), 1);
  PaintNow(h);
  EXPECT_EQ(At(*hook, Inside(hook->TabRects()[1])), selected);
  EXPECT_EQ(At(*hook, Inside(hook->TabRects()[0])), normal);

  // The pointer's tab is hot until the pointer leaves.
  const POINT over = Mid(hook->TabRects()[2]);
  ::SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(over.x, over.y));
  EXPECT_EQ(hook->HotTab(), 2);
  PaintNow(h);
  EXPECT_EQ(At(*hook, Inside(hook->TabRects()[2])), selected);
  ::SendMessageW(h, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(hook->HotTab(), -1);
  PaintNow(h);
  EXPECT_EQ(At(*hook, Inside(hook->TabRects()[2])), normal);
}

TEST_F(TabHookTest, SidesWithoutASectionKeepTheSystemsTabs) {
  // The skin has no "TABBOTTOM": the control draws its tabs, the body is the skin's.
  HWND h = Tabs(TCS_BOTTOM, 300, 3);
  auto owned = MakeHook(HookKind::tabControl, h, manager_, "");
  auto* hook = dynamic_cast<TlcTabControlWnd*>(owned.get());
  ASSERT_NE(hook, nullptr);
  EXPECT_LT(hook->TabSection(), 0);
  PaintNow(h);
  EXPECT_EQ(At(*hook, Mid(hook->BodyRect())), ColorOf("PAGECONTROL"));
  for (const RECT& r : hook->TabRects()) EXPECT_TRUE(::IsRectEmpty(&r));
  RECT item{};
  ::SendMessageW(h, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_GT(item.top, hook->BodyRect().top);
  // The system's tab, its face and its caption in their colours, is in the picture.
  const TColor text = static_cast<TColor>(::GetSysColor(COLOR_BTNTEXT));
  const TColor face = static_cast<TColor>(::GetSysColor(COLOR_BTNFACE));
  EXPECT_GT(Count(hook->CachePicture(), item, text), 0);
  EXPECT_GT(Count(hook->CachePicture(), item, face), (item.right - item.left) * 2);
}

TEST_F(TabHookTest, ArrowsAndPagesAreHookedAndAllIsGivenBack) {
  HWND h = Tabs(0, 120, 8);  // too narrow: the control shows its scroll arrows
  HWND page = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 40, 60, 40, h,
                                nullptr, nullptr, nullptr);
  ASSERT_NE(page, nullptr);
  const WNDPROC tabProc = ProcOf(h), pageProc = ProcOf(page);
  auto owned = MakeHook(HookKind::pageControl, h, manager_, "");
  auto* hook = dynamic_cast<TlcPageControlWnd*>(owned.get());
  ASSERT_NE(hook, nullptr);
  PaintNow(h);
  HWND arrows = ::FindWindowExW(h, nullptr, UPDOWN_CLASSW, nullptr);
  ASSERT_NE(arrows, nullptr);
  auto* spin = dynamic_cast<TlcSpinWnd*>(hook->ArrowsHook());
  ASSERT_NE(spin, nullptr);
  EXPECT_EQ(spin->Handle(), arrows);
  EXPECT_EQ(spin->Section(), "UPDOWNBTN");
  PaintNow(arrows);
  EXPECT_EQ(At(*spin, POINT{1, 1}), ColorOf("UPDOWNBTN"));
  // The page shows the body through.
  ASSERT_EQ(hook->PageHooks().size(), 1u);
  auto* pageHook = dynamic_cast<TlcPageWnd*>(hook->PageHooks()[0].get());
  ASSERT_NE(pageHook, nullptr);
  PaintNow(page);
  EXPECT_EQ(At(*pageHook, POINT{30, 20}), ColorOf("PAGECONTROL"));

  const WNDPROC arrowsHooked = ProcOf(arrows);
  Cmd(h, skin::cmdRemoveSkin, 0, manager_->Id());
  EXPECT_EQ(ProcOf(h), tabProc);
  EXPECT_EQ(ProcOf(page), pageProc);
  EXPECT_NE(ProcOf(arrows), arrowsHooked);
  EXPECT_EQ(TlcMainWnd::FromWindow(arrows), nullptr);
  EXPECT_TRUE(hook->Removed());
}

}  // namespace
}  // namespace sapala::win::testing
