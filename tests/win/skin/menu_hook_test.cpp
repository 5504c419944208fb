// The popup menu window hook on real popups under Wine: each popup window of a skinned menu is
// hooked while it shows and let go when it goes, the skin's removal while a menu is open gives
// the window its procedure and shape back, a popup whose items the painter does not draw keeps
// the system's look, and many openings leave nothing behind.
#include "win/skin/menu_hook.h"

#include <functional>

#include "skin_fixture.h"
#include "core/skin/menu_layout.h"
#include "win/framework/menus.h"
#include "win/skin/skin_menus.h"

namespace sapala::win::testing {
namespace {

class MenuHookTest : public SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    form_ = &AddForm("F",
                     "  object M: TsSkinManager\n    SkinDirectory = '" + AssetSkinFolder() +
                         "'\n    SkinName = 'DiruriZedaz'\n  end\n",
                     true);
    manager_ = &Get<TsSkinManager>(*form_, "M");
    ASSERT_TRUE(manager_->SkinActive());
    painter_ = &manager_->Menus();
  }
  void TearDown() override {
    WhileMenuOpen() = nullptr;
    SkinTest::TearDown();
  }
  TPopupMenu& Menu() {
    auto& menu = form_->Create<TPopupMenu>();
    menu.Items().Add(L"Open");
    menu.Items().Add(L"-");
    menu.Items().Add(L"Close");
    painter_->SetActive(true);
    return menu;
  }
  void Open(std::function<void()> during, const std::function<void()>& open) {
    WhileMenuOpen() = std::move(during);
    ::SetTimer(nullptr, 0, 150, &CloseMenuTick);
    open();
    WhileMenuOpen() = nullptr;
  }

  TRecForm* form_ = nullptr;
  TsSkinManager* manager_ = nullptr;
  skin::TsSkinableMenus* painter_ = nullptr;
};

TEST_F(MenuHookTest, PopupIsHookedWhileItShowsAndFramedFromItsBackground) {
  TPopupMenu& menu = Menu();
  HWND popup = nullptr;
  TlcMnuWnd* hook = nullptr;
  bool hasBackground = false, regionThroughHook = false;
  COLORREF corner = CLR_INVALID, expected = CLR_INVALID;
  Open(
      [&] {
        popup = ShownPopupMenuWindow();
        hook = painter_->PopupHook(popup);
        const auto* b = painter_->BackgroundOf(popup);
        hasBackground = b != nullptr;
        regionThroughHook = hook != nullptr && hook->RegionGiven();
        if (b != nullptr) {
          // The frame around the items is the skin's, not the system's raised edge: a pixel of
          // the frame's middle on the left edge shows the background's pixel.
          const int y = b->bitmap.Height() / 2;
          expected = b->bitmap.Row32(y)[1] & 0xFFFFFF;
          expected = RGB(GetBValue(expected), GetGValue(expected), GetRValue(expected));
          HDC dc = ::GetWindowDC(popup);
          corner = ::GetPixel(dc, 1, y);
          ::ReleaseDC(popup, dc);
        }
      },
      [&] { menu.Popup(100, 100); });
  ASSERT_NE(popup, nullptr);
  EXPECT_NE(hook, nullptr);
  EXPECT_TRUE(hasBackground);
  EXPECT_TRUE(regionThroughHook);
  EXPECT_EQ(corner, expected);
  // The window is gone with the menu, and its hook let it go.
  EXPECT_FALSE(::IsWindow(popup));
  EXPECT_EQ(painter_->PopupHook(popup), nullptr);
}

TEST_F(MenuHookTest, SkinRemovedWhileOpenGivesProcedureAndShapeBack) {
  TPopupMenu& menu = Menu();
  LONG_PTR classProc = 0, hookedProc = 0, afterProc = 0;
  int regionAfter = SIMPLEREGION;
  HANDLE propertyAfter = reinterpret_cast<HANDLE>(1);
  Open(
      [&] {
        HWND popup = ShownPopupMenuWindow();
        classProc = static_cast<LONG_PTR>(::GetClassLongPtrW(popup, GCLP_WNDPROC));
        hookedProc = ::GetWindowLongPtrW(popup, GWLP_WNDPROC);
        manager_->Core().SetActive(false);
        afterProc = ::GetWindowLongPtrW(popup, GWLP_WNDPROC);
        propertyAfter = ::GetPropW(popup, kHookProperty);
        win::Region rgn(::CreateRectRgn(0, 0, 0, 0));
        regionAfter = ::GetWindowRgn(popup, rgn.get());
        // Painted again without a skin: no crash, the items drawn plainly.
        ::RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
      },
      [&] { menu.Popup(100, 100); });
  EXPECT_NE(hookedProc, classProc);
  EXPECT_EQ(afterProc, classProc);
  EXPECT_EQ(propertyAfter, nullptr);
  EXPECT_EQ(regionAfter, ERROR);
  EXPECT_EQ(painter_->PopupHookCount(), 0u);
  // The painter's handlers went with the skin: the next opening is the system's own menu.
  EXPECT_FALSE(menu.Items().Items(0).OnDrawItem);
  HWND again = nullptr;
  Open([&] { again = ShownPopupMenuWindow(); }, [&] { menu.Popup(100, 100); });
  EXPECT_NE(again, nullptr);
  EXPECT_EQ(painter_->PopupHook(again), nullptr);
}

// The region the popup window should have under the manager's skin now: its rectangle less the
// corners the skin's menu border leaves transparent; none (an empty owner) when the skin has no
// menu border.
win::Region ExpectedRegion(TsSkinManager& manager, HWND popup) {
  if (manager.Core().Tables.FindImageExact("MAINMENU", "BORDERSMASK") < 0) return win::Region();
  RECT wr{};
  ::GetWindowRect(popup, &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  win::Region region(::CreateRectRgn(0, 0, w, h));
  auto cuts = sapala::skin::PopupBorderCutouts(manager.Core().Tables, w, h);
  if (cuts.empty()) cuts.push_back({0, 0, 1, 1});
  for (const auto& c : cuts) {
    win::Region hole(::CreateRectRgn(c.left, c.top, c.right, c.bottom));
    ::CombineRgn(region.get(), region.get(), hole.get(), RGN_DIFF);
  }
  return region;
}

TEST_F(MenuHookTest, RegionFollowsTheSkinWhileOpen) {
  TPopupMenu& menu = Menu();
  win::Region first(::CreateRectRgn(0, 0, 0, 0)), second(::CreateRectRgn(0, 0, 0, 0));
  bool firstAsSkin = false, secondAsSkin = false;
  TlcMnuWnd* hookAfter = nullptr;
  Open(
      [&] {
        HWND popup = ShownPopupMenuWindow();
        ::GetWindowRgn(popup, first.get());
        firstAsSkin = ::EqualRgn(first.get(), ExpectedRegion(*manager_, popup).get());
        // Another skin while the menu shows: the popup is painted and cut again by it (this one
        // has no menu border: the old cut must go).
        manager_->Core().SetSkinDirectory(TestSkinFolder());
        manager_->Core().SetSkinName("TestSkin");
        ::RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        const int kind = ::GetWindowRgn(popup, second.get());
        const win::Region expected = ExpectedRegion(*manager_, popup);
        secondAsSkin = expected ? ::EqualRgn(second.get(), expected.get()) : kind == ERROR;
        hookAfter = painter_->PopupHook(popup);
      },
      [&] { menu.Popup(100, 100); });
  EXPECT_TRUE(firstAsSkin);
  EXPECT_TRUE(secondAsSkin);
  EXPECT_NE(hookAfter, nullptr);  // a new skin keeps the hook
}

TEST_F(MenuHookTest, ContextMenuOfAHookedControlIsSkinnedBeforeItOpens) {
  // A popup menu made after the painter went active has no handlers until a hooked control (or
  // a skinned form) is asked for its context menu.
  TEdit& edit = form_->Create<TEdit>();
  edit.SetParent(form_);
  edit.CreateHandle();
  TlcMainWnd hook(edit.WindowHandle(), manager_, "EDIT");
  ASSERT_TRUE(hook.Install());
  painter_->SetActive(true);
  auto& late = form_->Create<TPopupMenu>();
  late.Items().Add(L"Late");
  EXPECT_FALSE(late.Items().Items(0).OnDrawItem);
  Open([] {},
       [&] { ::SendMessageW(edit.WindowHandle(), WM_CONTEXTMENU, 0, MAKELPARAM(120, 120)); });
  EXPECT_TRUE(late.Items().Items(0).OnDrawItem);
  // Without popups skinned the same request takes the handlers back.
  manager_->Core().SetSkinnedPopups(false);
  Open([] {},
       [&] { ::SendMessageW(edit.WindowHandle(), WM_CONTEXTMENU, 0, MAKELPARAM(120, 120)); });
  EXPECT_FALSE(late.Items().Items(0).OnDrawItem);
}

TEST_F(MenuHookTest, SystemEditMenuKeepsTheSystemLook) {
  // The edit control's own menu (Undo, Cut, Copy, Paste, Delete, Select All) is built and drawn
  // by the system: its popup is hooked but has no background, no region and no skinned frame.
  TEdit& edit = form_->Create<TEdit>();
  edit.SetParent(form_);
  edit.CreateHandle();
  HWND popup = nullptr;
  bool hooked = false, background = true;
  int region = SIMPLEREGION;
  int items = 0;
  Open(
      [&] {
        popup = ShownPopupMenuWindow();
        hooked = painter_->PopupHook(popup) != nullptr;
        background = painter_->BackgroundOf(popup) != nullptr;
        win::Region rgn(::CreateRectRgn(0, 0, 0, 0));
        region = ::GetWindowRgn(popup, rgn.get());
        items = ::GetMenuItemCount(reinterpret_cast<HMENU>(::SendMessageW(popup, 0x01E1, 0, 0)));
      },
      [&] { ::SendMessageW(edit.WindowHandle(), WM_CONTEXTMENU, 0, MAKELPARAM(120, 120)); });
  ASSERT_NE(popup, nullptr);
  EXPECT_GE(items, 6);
  EXPECT_TRUE(hooked);
  EXPECT_FALSE(background);
  EXPECT_EQ(region, ERROR);
}

TEST_F(MenuHookTest, TwoHundredOpeningsLeaveNoHookOrHandle) {
  TPopupMenu& menu = Menu();
  int opened = 0;
  std::size_t most = 0;
  painter_->OnDrawItem = [&](TMenuItem& item, HDC, graphics::Bitmap&, int, UINT, const RECT&) {
    if (&item == &menu.Items().Items(2)) {
      ++opened;
      most = std::max(most, painter_->PopupHookCount());
      ::EndMenu();
    }
  };
  for (int i = 0; i < 200; ++i) menu.Popup(100 + i % 40, 100);
  painter_->OnDrawItem = nullptr;
  EXPECT_EQ(opened, 200);
  // At most the hook of the popup that shows and the one of the popup just closed.
  EXPECT_LE(most, 2u);
  EXPECT_EQ(painter_->BackgroundCount(), 1u);
  // The census of the leak listener checks the handles.
}

}  // namespace
}  // namespace sapala::win::testing
