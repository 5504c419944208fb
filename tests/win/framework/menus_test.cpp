// Menus built into real HMENUs: what each item property becomes, owner-drawn items and the
// routing of measure and draw requests, and the menu's ownership of what it builds.
#include "win/framework/menus.h"

#include <gtest/gtest.h>

#include "win/framework/application.h"
#include "win/framework/forms.h"

namespace sapala::win {
namespace {

MENUITEMINFOW Info(HMENU menu, int position) {
  MENUITEMINFOW mi{};
  mi.cbSize = sizeof mi;
  mi.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
  ::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &mi);
  return mi;
}

TEST(Menus, ItemPropertiesBecomeMenuFlags) {
  TPopupMenu menu(nullptr);
  auto& radio = menu.Items().Add(L"Radio");
  radio.RadioItem = radio.Checked = true;
  menu.Items().Add(L"Hidden").Visible = false;
  menu.Items().Add(L"-");
  auto& off = menu.Items().Add(L"Off");
  off.Enabled = false;
  off.Default = true;
  auto& column = menu.Items().Add(L"Column");
  column.Break = TMenuBreak::mbBreak;
  column.Add(L"Sub");
  auto& drawn = menu.Items().Add(L"Drawn");
  drawn.OnDrawItem = [](TMenuItem&, HDC, const RECT&, UINT) {};

  HMENU h = menu.Rebuild();
  ASSERT_NE(h, nullptr);
  ASSERT_EQ(::GetMenuItemCount(h), 5);  // the hidden item is left out
  struct Want {
    UINT type, state;
    bool submenu;
  } want[] = {
      {MFT_STRING | MFT_RADIOCHECK, MFS_CHECKED, false},
      {MFT_SEPARATOR, 0, false},
      {MFT_STRING, MFS_DISABLED | MFS_DEFAULT, false},
      {MFT_STRING | MFT_MENUBREAK, 0, true},
      {MFT_OWNERDRAW, 0, false},
  };
  for (int i = 0; i < 5; ++i) {
    const MENUITEMINFOW mi = Info(h, i);
    EXPECT_EQ(mi.fType, want[i].type) << "item " << i;
    EXPECT_EQ(mi.fState & (MFS_CHECKED | MFS_DISABLED | MFS_DEFAULT), want[i].state) << i;
    EXPECT_EQ(mi.hSubMenu != nullptr, want[i].submenu) << i;
    EXPECT_EQ(menu.FindItem(mi.wID), reinterpret_cast<TMenuItem*>(mi.dwItemData)) << i;
  }
  EXPECT_EQ(menu.FindItem(Info(h, 4).wID), &drawn);
  EXPECT_EQ(menu.FindItem(0), nullptr);
  EXPECT_EQ(menu.FindItem(999), nullptr);
}

TEST(Menus, MeasureAndDrawReachTheItemsHandlers) {
  TPopupMenu menu(nullptr);
  menu.Items().Add(L"Plain");
  auto& drawn = menu.Items().Add(L"Drawn");
  UINT drawnState = 0;
  drawn.OnMeasureItem = [](TMenuItem&, HDC, int& w, int& h) {
    w = 77;
    h = 2;
  };
  drawn.OnDrawItem = [&](TMenuItem&, HDC, const RECT&, UINT state) { drawnState = state; };
  menu.Rebuild();

  MEASUREITEMSTRUCT m{};
  m.CtlType = ODT_MENU;
  m.itemID = drawn.Command();
  m.itemData = reinterpret_cast<ULONG_PTR>(&drawn);
  EXPECT_TRUE(menu.Dispatch(WM_MEASUREITEM, reinterpret_cast<LPARAM>(&m)));
  EXPECT_EQ(m.itemWidth, 77u);
  EXPECT_EQ(m.itemHeight, 2u);
  // A request whose data is not the item of that command is not ours (another menu's item).
  m.itemData = 12345;
  EXPECT_FALSE(menu.Dispatch(WM_MEASUREITEM, reinterpret_cast<LPARAM>(&m)));

  DRAWITEMSTRUCT d{};
  d.CtlType = ODT_MENU;
  d.itemID = drawn.Command();
  d.itemData = reinterpret_cast<ULONG_PTR>(&drawn);
  d.itemState = ODS_SELECTED;
  EXPECT_TRUE(menu.Dispatch(WM_DRAWITEM, reinterpret_cast<LPARAM>(&d)));
  EXPECT_EQ(drawnState, static_cast<UINT>(ODS_SELECTED));
  d.CtlType = ODT_BUTTON;
  EXPECT_FALSE(menu.Dispatch(WM_DRAWITEM, reinterpret_cast<LPARAM>(&d)));
}

TEST(Menus, OneOwnerForTheBuiltMenuAndTheLiveList) {
  HandleCensus census;
  {
    TPopupMenu menu(nullptr);
    EXPECT_NE(std::find(TMenu::All().begin(), TMenu::All().end(), &menu), TMenu::All().end());
    menu.Items().Add(L"A").Add(L"Sub");
    HMENU first = menu.Rebuild();
    HMENU second = menu.Rebuild();
    EXPECT_FALSE(::IsMenu(first) && first != second) << "the old menu must be destroyed";
    EXPECT_EQ(census.Difference(), "1 menu");
  }
  EXPECT_EQ(census.Difference(), "");
  EXPECT_TRUE(TMenu::All().empty());
}

TEST(MainMenus, BarCommandsMnemonicsAndOwnership) {
  TApplication app;
  TForm& form = app.Create<TForm>();
  form.CreateHandle();
  HWND hwnd = form.WindowHandle();
  TMainMenu& menu = form.Create<TMainMenu>();
  std::vector<std::wstring> clicked;
  auto click = [&](TMenuItem& i) { clicked.push_back(i.Caption); };
  TMenuItem& file = menu.Items().Add(L"&File");
  file.Add(L"&Open").OnClick = click;
  TMenuItem& off = file.Add(L"&Gone");
  off.OnClick = click;
  off.Enabled = false;
  file.Add(L"Save && E&xit").OnClick = click;
  file.Add(L"&&Amp").OnClick = click;
  // Owner-drawn items: the system finds no mnemonic in them, the menu answers WM_MENUCHAR.
  file.ForEach([](TMenuItem& i) { i.OnDrawItem = [](TMenuItem&, HDC, const RECT&, UINT) {}; });
  form.SetMenu(&menu);
  ASSERT_EQ(::GetMenu(hwnd), menu.Handle());
  EXPECT_EQ(form.Menu(), &menu);
  HMENU popup = ::GetSubMenu(menu.Handle(), 0);
  ASSERT_NE(popup, nullptr);
  struct Case {
    wchar_t key;
    LRESULT want;
  } cases[] = {
      {L'o', MAKELRESULT(0, MNC_EXECUTE)}, {L'O', MAKELRESULT(0, MNC_EXECUTE)},
      {L'x', MAKELRESULT(2, MNC_EXECUTE)},  // "&&" is a plain "&", the mnemonic comes after
      {L'g', MAKELRESULT(0, MNC_IGNORE)},   // disabled
      {L'a', MAKELRESULT(0, MNC_IGNORE)},   // "&&Amp" has none
      {L'q', MAKELRESULT(0, MNC_IGNORE)},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const LRESULT have = ::SendMessageW(hwnd, WM_MENUCHAR, MAKEWPARAM(cases[i].key, MF_POPUP),
                                        reinterpret_cast<LPARAM>(popup));
    EXPECT_EQ(have, cases[i].want) << "case " << i << ": key " << static_cast<char>(cases[i].key);
  }
  // A command of the bar runs its item's OnClick; a disabled item's does not.
  ::SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(file.Items(0).Command(), 0), 0);
  ::SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(off.Command(), 0), 0);
  EXPECT_EQ(clicked, std::vector<std::wstring>{L"&Open"});
  // The window goes first: it must not take the menu with it (the menu frees it itself).
  form.DestroyHandle();
  EXPECT_TRUE(::IsMenu(menu.Handle()));
  EXPECT_EQ(menu.WindowHandle(), nullptr);
}

}  // namespace
}  // namespace sapala::win
