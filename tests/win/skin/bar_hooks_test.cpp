// The tool bar and status bar hooks on real bars: button faces by state (flat normal buttons
// show the bar, checked ones the pressed face, the hot item the hot face), separators as the
// skin's divider, clicks still checking buttons; status parts framed with their text in the
// section's font colour, a centred part, owner-drawn parts handed to the parent over the skin.
#include "win/skin/bar_hooks.h"

#include "control_hook_fixture.h"
#include "win/skin/hook_factory.h"

namespace sapala::win::testing {
namespace {

// What the status bar's parent was asked to draw.
struct DrawItemSeen {
  int count = 0;
  UINT itemID = 0;
  ULONG_PTR itemData = 0;
  RECT rect{};
  bool dc = false;
};
DrawItemSeen seen;

LRESULT CALLBACK HostProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DRAWITEM) {
    const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    ++seen.count;
    seen.itemID = d->itemID;
    seen.itemData = d->itemData;
    seen.rect = d->rcItem;
    seen.dc = d->hDC != nullptr;
    return TRUE;
  }
  return ::DefWindowProcW(h, msg, wp, lp);
}

class BarHooksTest : public ControlHookTest {
 protected:
  void TearDown() override {
    ControlHookTest::TearDown();
    ::UnregisterClassW(L"SapalaBarHost", ::GetModuleHandleW(nullptr));
  }
  static bool Uniform(const graphics::Bitmap* p, const RECT& r, TColor c) {
    return Count(p, r, c) == (r.right - r.left) * (r.bottom - r.top);
  }
};

TEST_F(BarHooksTest, ToolButtonsShowTheirStatesAndClicksStillCheck) {
  HWND h = Child(TOOLBARCLASSNAMEW, TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NORESIZE | CCS_NODIVIDER, 0,
                 0, 400, 30);
  ::SendMessageW(h, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  wchar_t one[] = L"One", two[] = L"Two", three[] = L"Three";
  TBBUTTON buttons[] = {
      {I_IMAGENONE,
       1,
       TBSTATE_ENABLED,
       BTNS_BUTTON | BTNS_AUTOSIZE,
       {},
       0,
       reinterpret_cast<INT_PTR>(one)},
      {8, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, 0},
      {I_IMAGENONE,
       2,
       TBSTATE_ENABLED | TBSTATE_CHECKED,
       BTNS_CHECK | BTNS_AUTOSIZE,
       {},
       0,
       reinterpret_cast<INT_PTR>(two)},
      {I_IMAGENONE, 3, 0, BTNS_BUTTON | BTNS_AUTOSIZE, {}, 0, reinterpret_cast<INT_PTR>(three)},
  };
  ::SendMessageW(h, TB_ADDBUTTONSW, 4, reinterpret_cast<LPARAM>(buttons));
  auto owned = MakeHook(HookKind::toolBar, h, manager_, "");
  auto* hook = dynamic_cast<TlcToolBarWnd*>(owned.get());
  ASSERT_NE(hook, nullptr);
  EXPECT_EQ(hook->Section(), "TOOLBAR");
  ::SendMessageW(h, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
  PaintNow(h);
  EXPECT_EQ(hook->ButtonStates(), (std::vector<int>{0, -1, 2, 0}));
  RECT r[4];
  for (int i = 0; i < 4; ++i) ::SendMessageW(h, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r[i]));
  const graphics::Bitmap* p = hook->CachePicture();
  EXPECT_EQ(At(p, r[0].left + 1, r[0].top + 1), ColorOf("TOOLBAR"));
  EXPECT_EQ(At(p, r[2].left + 1, r[2].top + 1), ColorOf("TOOLBUTTON", true));
  EXPECT_EQ(At(p, Mid(r[1]).x, Mid(r[1]).y), ColorOf("DIVIDER"));
  // Captions in the button section's font colour.
  EXPECT_GT(Count(p, r[0], 0x000000), 0);

  ::SendMessageW(h, TB_SETHOTITEM, 0, 0);
  PaintNow(h);
  EXPECT_EQ(hook->ButtonStates()[0], 1);
  EXPECT_EQ(At(hook->CachePicture(), r[0].left + 1, r[0].top + 1), ColorOf("TOOLBUTTON", true));

  // A click still unchecks the check button; the picture follows.
  const POINT m = Mid(r[2]);
  ::SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(m.x, m.y));
  ::SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(m.x, m.y));
  EXPECT_FALSE(::SendMessageW(h, TB_ISBUTTONCHECKED, 2, 0));
  ::SendMessageW(h, TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
  PaintNow(h);
  EXPECT_EQ(hook->ButtonStates()[2], 0);
}

TEST_F(BarHooksTest, StatusPartsTextOwnerDrawnPartsAndGrip) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = &HostProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"SapalaBarHost";
  ASSERT_TRUE(::RegisterClassW(&wc));
  HWND host = Child(L"SapalaBarHost", 0, 0, 0, 400, 100);
  HWND h = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0,
                             0, 0, host, nullptr, nullptr, nullptr);
  ASSERT_NE(h, nullptr);
  int edges[] = {120, 240, -1};
  ::SendMessageW(h, WM_SIZE, 0, 0);  // the bar takes its parent's width
  ::SendMessageW(h, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
  ::SendMessageW(h, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"Ready"));
  ::SendMessageW(h, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(L"\tMid"));
  ::SendMessageW(h, SB_SETTEXTW, 2 | SBT_OWNERDRAW, 1234);
  auto owned = MakeHook(HookKind::statusBar, h, manager_, "");
  auto* hook = dynamic_cast<TlcStatusBarWnd*>(owned.get());
  ASSERT_NE(hook, nullptr);
  seen = {};
  ASSERT_TRUE(hook->PaintCache());
  ASSERT_EQ(hook->PartRects().size(), 3u);
  const graphics::Bitmap* p = hook->CachePicture();
  const RECT part0 = hook->PartRects()[0], part1 = hook->PartRects()[1];
  EXPECT_EQ(At(p, part0.left + 3, part0.top + 2), ColorOf("STATUSBAR"));
  const TColor font = graphics::ColorToRGB(
      manager_->Core()
          .Tables.Sections[static_cast<std::size_t>(manager_->SectionIndex("STATUSBAR"))]
          .FontColors[0]);
  EXPECT_GT(Count(p, part0, font), 0);
  // The centred caption starts well inside its part.
  int first = part1.right;
  for (int x = part1.left; x < part1.right; ++x) {
    if (Count(p, RECT{x, part1.top, x + 1, part1.bottom}, font) > 0) {
      first = x;
      break;
    }
  }
  EXPECT_GT(first, part1.left + 30);
  EXPECT_LT(first, part1.right - 30);
  // The owner was asked to draw its part, with its data and place.
  EXPECT_EQ(seen.count, 1);
  EXPECT_EQ(seen.itemID, 2u);
  EXPECT_EQ(seen.itemData, 1234u);
  EXPECT_TRUE(seen.dc);
  EXPECT_TRUE(::EqualRect(&seen.rect, &hook->PartRects()[2]));
  // The grip is the skin's picture, not the bar's colour.
  RECT client{};
  ::GetClientRect(h, &client);
  const RECT grip{client.right - 16, client.bottom - 16, client.right, client.bottom};
  EXPECT_FALSE(Uniform(p, grip, ColorOf("STATUSBAR")));
  ::DestroyWindow(h);
}

TEST_F(BarHooksTest, ButtonImagesComeFromTheBarsImageList) {
  HWND h = Child(TOOLBARCLASSNAMEW, TBSTYLE_FLAT | CCS_NORESIZE | CCS_NODIVIDER, 0, 0, 200, 40);
  ::SendMessageW(h, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  // One 16 × 16 image, all red.
  HIMAGELIST images = ::ImageList_Create(16, 16, ILC_COLOR32, 1, 0);
  ASSERT_NE(images, nullptr);
  {
    std::vector<std::uint32_t> red(16 * 16, 0xFFFF0000u);
    Bitmap picture(::CreateBitmap(16, 16, 1, 32, red.data()));
    ASSERT_EQ(::ImageList_Add(images, picture.get(), nullptr), 0);
  }
  ::SendMessageW(h, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  TBBUTTON button{0, 1, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0};
  ::SendMessageW(h, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
  auto owned = MakeHook(HookKind::toolBar, h, manager_, "");
  auto* hook = dynamic_cast<TlcToolBarWnd*>(owned.get());
  ASSERT_NE(hook, nullptr);
  ASSERT_TRUE(hook->PaintCache());
  RECT r{};
  ::SendMessageW(h, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(Count(hook->CachePicture(), r, 0x0000FF), 16 * 16);
  owned.reset();
  ::DestroyWindow(h);
  ::ImageList_Destroy(images);
}

}  // namespace
}  // namespace sapala::win::testing
