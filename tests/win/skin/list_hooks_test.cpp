// The list view, header and tree view hooks on real common controls: the column header painted
// from its section item by item (normal, hot under the pointer, pressed, text in the section's
// colour; a skin without the section paints push-button headers), the header given back with
// the list view however the hook ends, and a tree view's keyboard and scroll bars still working.
#include "win/skin/list_hooks.h"

#include <commctrl.h>

#include "hook_fixture.h"
#include "win/skin/hook_factory.h"

namespace sapala::win::testing {
namespace {

std::uint32_t At(const graphics::Bitmap* p, int x, int y) {
  return p && x >= 0 && y >= 0 && x < p->Width() && y < p->Height() ? p->PixelWord(x, y) & 0xFFFFFF
                                                                    : 0xDEADBEEF;
}

class ListHooksTest : public HookTest {
 protected:
  void SetUp() override {
    HookTest::SetUp();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    // Blue, green, red: headers red, hot headers green, their text white.
    manager_->Core().SetCommonSections({"[COLHEADER]", "STATES=3", "COLOR=$0000FF",
                                        "HOTCOLOR=$00FF00", "FONTCOLOR=$FFFFFF",
                                        "HOTFONTCOLOR=$FFFFFF"});
  }
  HWND ListView() {
    HWND h =
        ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT,
                          10, 10, 180, 100, form_->WindowHandle(), nullptr, nullptr, nullptr);
    EXPECT_NE(h, nullptr);
    windows_.push_back(h);
    const wchar_t* names[] = {L"Tembung", L"Teges"};
    for (int i = 0; i < 2; ++i) {
      LVCOLUMNW c{};
      c.mask = LVCF_TEXT | LVCF_WIDTH;
      c.cx = 70;
      c.pszText = const_cast<wchar_t*>(names[i]);
      ::SendMessageW(h, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&c));
    }
    return h;
  }
  static HWND HeaderOf(HWND lv) {
    return reinterpret_cast<HWND>(::SendMessageW(lv, LVM_GETHEADER, 0, 0));
  }
  static RECT ItemRect(HWND header, int i) {
    RECT r{};
    ::SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  static void Repaint(HWND h) {
    ::RedrawWindow(h, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
};

TEST_F(ListHooksTest, HeaderItemsArePaintedFromTheSkinInTheirStates) {
  HWND lv = ListView();
  auto made = MakeHook(HookKind::listView, lv, manager_, "");
  auto* hook = dynamic_cast<TlcListViewWnd*>(made.get());
  ASSERT_NE(hook, nullptr);
  TlcHeaderWnd* header = hook->HeaderHook();
  ASSERT_NE(header, nullptr);
  HWND hh = HeaderOf(lv);
  EXPECT_EQ(header->Handle(), hh);
  Repaint(lv);
  EXPECT_NE(hook->BorderPicture(), nullptr) << "the list view's edge";
  const RECT first = ItemRect(hh, 0), second = ItemRect(hh, 1);
  ASSERT_GT(second.right, first.right);
  // Red items; white text somewhere in each; the empty space right of the items is red too.
  auto count = [&](const RECT& r, std::uint32_t colour) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) n += At(header->CachePicture(), x, y) == colour;
    }
    return n;
  };
  EXPECT_EQ(At(header->CachePicture(), first.left + 2, first.top + 2), 0xFF0000u);
  EXPECT_GT(count(first, 0xFFFFFFu), 10) << "first caption";
  EXPECT_GT(count(second, 0xFFFFFFu), 10) << "second caption";
  EXPECT_EQ(At(header->CachePicture(), second.right + 5, 3), 0xFF0000u) << "after the items";

  const LPARAM overSecond =
      MAKELPARAM((second.left + second.right) / 2, (second.top + second.bottom) / 2);
  ::SendMessageW(hh, WM_MOUSEMOVE, 0, overSecond);
  EXPECT_EQ(header->HotItem(), 1);
  EXPECT_EQ(At(header->CachePicture(), second.left + 2, second.top + 2), 0x00FF00u) << "hot";
  EXPECT_EQ(At(header->CachePicture(), first.left + 2, first.top + 2), 0xFF0000u) << "not hot";
  ::SendMessageW(hh, WM_LBUTTONDOWN, MK_LBUTTON, overSecond);
  EXPECT_EQ(header->PressedItem(), 1);
  ::SendMessageW(hh, WM_LBUTTONUP, 0, overSecond);
  EXPECT_EQ(header->PressedItem(), -1);
  ::SendMessageW(hh, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(header->HotItem(), -1);
  EXPECT_EQ(At(header->CachePicture(), second.left + 2, second.top + 2), 0xFF0000u) << "left";
}

TEST_F(ListHooksTest, WithoutAHeaderSectionHeadersArePushButtons) {
  manager_->Core().SetCommonSections({});
  ASSERT_LT(manager_->SectionIndex("COLHEADER"), 0);
  HWND lv = ListView();
  auto made = MakeHook(HookKind::listView, lv, manager_, "");
  auto* hook = dynamic_cast<TlcListViewWnd*>(made.get());
  ASSERT_NE(hook, nullptr);
  ASSERT_NE(hook->HeaderHook(), nullptr);
  EXPECT_EQ(hook->HeaderHook()->SectionIndex(), manager_->SectionIndex("BUTTON"));
}

TEST_F(ListHooksTest, HeaderProcedureGoesBackWithTheListView) {
  struct Case {
    const char* name;
    int ending;  // 0 hook freed, 1 skin removed, 2 list view destroyed first
  } cases[] = {{"freed", 0}, {"skin removed", 1}, {"destroyed first", 2}};
  for (const Case& k : cases) {
    HWND lv = ListView();
    HWND hh = HeaderOf(lv);
    const WNDPROC lvProc = ProcOf(lv), headerProc = ProcOf(hh);
    auto made = MakeHook(HookKind::listView, lv, manager_, "");
    auto* hook = dynamic_cast<TlcListViewWnd*>(made.get());
    ASSERT_NE(hook, nullptr);
    ASSERT_NE(ProcOf(hh), headerProc) << k.name;
    switch (k.ending) {
      case 0:
        made.reset();
        break;
      case 1:
        Cmd(lv, skin::cmdRemoveSkin, 0, manager_->Id());
        EXPECT_TRUE(hook->Removed()) << k.name;
        break;
      case 2:
        ::DestroyWindow(lv);
        EXPECT_TRUE(hook->Removed()) << k.name;
        EXPECT_TRUE(hook->HeaderHook()->Removed()) << k.name;
        continue;
    }
    EXPECT_EQ(ProcOf(lv), lvProc) << k.name;
    EXPECT_EQ(ProcOf(hh), headerProc) << k.name;
    EXPECT_EQ(TlcMainWnd::FromWindow(hh), nullptr) << k.name;
    ::DestroyWindow(lv);
  }
}

TEST_F(ListHooksTest, TreeViewKeepsItsKeyboardAndTheEngineTakesItsBar) {
  HWND tv = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                              WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_SHOWSELALWAYS, 10, 10, 150,
                              90, form_->WindowHandle(), nullptr, nullptr, nullptr);
  ASSERT_NE(tv, nullptr);
  windows_.push_back(tv);
  for (int i = 0; i < 30; ++i) {
    const std::wstring text = L"tembung " + std::to_wstring(i);
    TVINSERTSTRUCTW ins{};
    ins.hParent = TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT;
    ins.item.pszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(tv, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins));
  }
  auto made = MakeHook(HookKind::treeView, tv, manager_, "");
  auto* hook = dynamic_cast<TlcTreeViewWnd*>(made.get());
  ASSERT_NE(hook, nullptr);
  EXPECT_EQ(hook->Section(), "EDIT");
  EXPECT_TRUE(hook->Bar(1).Shown);
  auto first = reinterpret_cast<HTREEITEM>(::SendMessageW(tv, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  ::SendMessageW(tv, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(first));
  ::SetFocus(tv);
  for (int i = 0; i < 20; ++i) ::SendMessageW(tv, WM_KEYDOWN, VK_DOWN, 1);
  auto caret = reinterpret_cast<HTREEITEM>(::SendMessageW(tv, TVM_GETNEXTITEM, TVGN_CARET, 0));
  wchar_t text[32] = {};
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = caret;
  item.pszText = text;
  item.cchTextMax = 32;
  ::SendMessageW(tv, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(text, L"tembung 20");
  // The tree scrolled to keep the caret in sight, and the engine's bar followed.
  EXPECT_GT(hook->Bar(1).Info.nPos, 0);
  EXPECT_EQ(hook->Bar(1).Info.nPos, ::GetScrollPos(tv, SB_VERT));
}

}  // namespace
}  // namespace sapala::win::testing
