// The skinned system menu: its items for the main window's shape and a tool window's, captions
// from the platform's menu, WM_SYSCOMMAND on click, the skin chooser, and the Webdings symbols
// the painter draws for its commands.
#include "win/skin/system_menu.h"

#include "skin_fixture.h"
#include "win/framework/text.h"
#include "win/skin/skin_menus.h"

namespace sapala::win::testing {
namespace {

namespace core = sapala::skin;
using skin::TsSystemMenu;

class SystemMenuTest : public SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    form_ = &AddForm("F",
                     "  object M: TsSkinManager\n    SkinDirectory = '" + AssetSkinFolder() +
                         "'\n    SkinName = 'DiruriZedaz'\n  end\n",
                     true);
    manager_ = &Get<TsSkinManager>(*form_, "M");
  }
  // "v" visible, "e" enabled for restore, move, size, minimize, maximize, close.
  static std::string Shape(TsSystemMenu& m) {
    std::string out;
    for (UINT tag : {0xF120u, 0xF010u, 0xF000u, 0xF020u, 0xF030u, 0xF060u}) {
      TMenuItem* i = m.ItemByTag(tag);
      out += i == nullptr ? "??" : std::string(i->Visible ? "v" : "-") + (i->Enabled ? "e" : "-");
      out += ' ';
    }
    return out;
  }
  TRecForm* form_ = nullptr;
  TsSkinManager* manager_ = nullptr;
};

TEST_F(SystemMenuTest, ItemsFollowTheFormsShape) {
  auto& menu = form_->Create<TsSystemMenu>();
  EXPECT_EQ(menu.Name(), "SysMenu");
  core::FormRulesInput main;  // the dictionary's main window
  main.BorderStyle = core::TFormBorderStyle::bsSingle;
  main.BorderIcons = core::biSystemMenu | core::biMinimize;
  menu.Refresh(form_->Handle(), main, nullptr);
  EXPECT_EQ(Shape(menu), "v- ve v- ve -- ve ");
  EXPECT_TRUE(menu.VisibleMin());
  EXPECT_FALSE(menu.VisibleMax());

  core::FormRulesInput tool;  // the examples window
  tool.BorderStyle = core::TFormBorderStyle::bsToolWindow;
  tool.BorderIcons = core::biSystemMenu;
  menu.Refresh(form_->Handle(), tool, nullptr);
  EXPECT_EQ(Shape(menu), "-- ve -e -- -- ve ");  // size hidden, though the rule enables it

  // Captions are the platform's own; hidden items stay out of the built menu, disabled ones
  // are grayed.
  menu.Refresh(form_->Handle(), main, nullptr);
  HMENU sys = ::GetSystemMenu(form_->Handle(), FALSE);
  wchar_t text[64]{};
  ::GetMenuStringW(sys, SC_CLOSE, text, 64, MF_BYCOMMAND);
  std::wstring platform = text;
  EXPECT_EQ(menu.ItemByTag(SC_CLOSE)->Caption, platform.substr(0, platform.find(L'\t')));
  HMENU built = menu.Rebuild();
  EXPECT_EQ(::GetMenuItemCount(built), 5);
  EXPECT_EQ(::GetMenuState(built, menu.ItemByTag(SC_SIZE)->Command(), MF_BYCOMMAND) & MF_GRAYED,
            static_cast<UINT>(MF_GRAYED));
}

TEST_F(SystemMenuTest, ClickPostsTheSystemCommand) {
  auto& menu = form_->Create<TsSystemMenu>();
  menu.Refresh(form_->Handle(), core::FormRulesInput{}, nullptr);
  MSG drain;
  while (::PeekMessageW(&drain, form_->Handle(), WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE)) {
  }
  TMenuItem* min = menu.ItemByTag(SC_MINIMIZE);
  ASSERT_NE(min, nullptr);
  min->OnClick(*min);
  MSG m{};
  ASSERT_TRUE(::PeekMessageW(&m, form_->Handle(), WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
  EXPECT_EQ(m.wParam, static_cast<WPARAM>(SC_MINIMIZE));
}

TEST_F(SystemMenuTest, SkinChooserListsSkinsAndSetsTheName) {
  auto& menu = form_->Create<TsSystemMenu>();
  menu.Refresh(form_->Handle(), core::FormRulesInput{}, manager_);
  TMenuItem& chooser = menu.Items().Items(0);
  EXPECT_EQ(chooser.Name, "SkinSelectItem");
  ASSERT_GE(chooser.Count(), 1);
  bool current = false;
  for (int i = 0; i < chooser.Count(); ++i) {
    TMenuItem& s = chooser.Items(i);
    EXPECT_EQ(s.Name, "SkinSelectItem" + std::to_string(i));
    EXPECT_TRUE(s.RadioItem);
    EXPECT_EQ(s.Break, i > 0 && i % 20 == 0 ? TMenuBreak::mbBreak : TMenuBreak::mbNone);
    if (s.Caption == L"DiruriZedaz") current = s.Checked;
  }
  EXPECT_TRUE(current);
  // A click sets the manager's skin by the caption without "&".
  TMenuItem& first = chooser.Items(0);
  first.Caption = L"Missing&Skin";
  first.OnClick(first);
  EXPECT_EQ(manager_->Core().SkinName(), "MissingSkin");
}

TEST_F(SystemMenuTest, SkinChooserBreaksAColumnBeforeEveryTwentiethSkin) {
  wchar_t temp[MAX_PATH]{};
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring dir = std::wstring(temp) + L"sapala-menu-skins";
  ::CreateDirectoryW(dir.c_str(), nullptr);
  std::vector<std::wstring> files;
  for (int i = 0; i < 45; ++i) {
    wchar_t name[16];
    swprintf(name, 16, L"\\S%02d.lsz", i);
    files.push_back(dir + name);
    ::CloseHandle(::CreateFileW(files.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  manager_->Core().SetSkinDirectory(Narrow(dir));
  auto& menu = form_->Create<TsSystemMenu>();
  menu.Refresh(form_->Handle(), core::FormRulesInput{}, manager_);
  for (const auto& f : files) ::DeleteFileW(f.c_str());
  ::RemoveDirectoryW(dir.c_str());

  TMenuItem& chooser = menu.Items().Items(0);
  ASSERT_EQ(chooser.Count(), 45);
  std::vector<int> breaks;
  for (int i = 0; i < chooser.Count(); ++i) {
    if (chooser.Items(i).Break == TMenuBreak::mbBreak) breaks.push_back(i);
  }
  EXPECT_EQ(breaks, (std::vector<int>{20, 40}));
  EXPECT_EQ(chooser.Items(20).Caption, L"S20");
}

TEST_F(SystemMenuTest, SkinChooserListsASkinInstalledTwiceOnce) {
  // The same skin as a folder and as a packed file, in either letter case.
  wchar_t temp[MAX_PATH]{};
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring dir = std::wstring(temp) + L"sapala-menu-twice";
  const std::wstring folder = dir + L"\\Batik";
  ::CreateDirectoryW(dir.c_str(), nullptr);
  ::CreateDirectoryW(folder.c_str(), nullptr);
  const std::vector<std::wstring> files{folder + L"\\Options.dat", dir + L"\\Batik.lsz",
                                        dir + L"\\KAWUNG.lsz", dir + L"\\Kawung.skin.lsz"};
  for (const auto& f : files) {
    ::CloseHandle(::CreateFileW(f.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  manager_->Core().SetSkinDirectory(Narrow(dir));
  auto& menu = form_->Create<TsSystemMenu>();
  menu.Refresh(form_->Handle(), core::FormRulesInput{}, manager_);
  for (const auto& f : files) ::DeleteFileW(f.c_str());
  ::RemoveDirectoryW(folder.c_str());
  ::RemoveDirectoryW(dir.c_str());

  TMenuItem& chooser = menu.Items().Items(0);
  ASSERT_EQ(chooser.Count(), 2);
  EXPECT_EQ(chooser.Items(0).Caption, L"Batik");
  EXPECT_EQ(chooser.Items(1).Name, "SkinSelectItem1");
}

TEST_F(SystemMenuTest, SkinnedPopupShowsWebdingsSymbols) {
  skin::TsSkinableMenus& painter = manager_->Menus();
  std::map<INT_PTR, graphics::Bitmap> pictures;
  painter.OnDrawItem = [&](TMenuItem& item, HDC, graphics::Bitmap& picture, int, UINT,
                           const RECT&) {
    pictures[item.Tag] = picture.Clone();
    if (item.Tag == SC_CLOSE) ::EndMenu();
  };
  core::FormRulesInput rules;
  ASSERT_TRUE(skin::OpenSkinnedSystemMenu(*form_, form_->Handle(), {50, 50}, rules, false));
  ASSERT_EQ(pictures.count(SC_CLOSE), 1u);
  ASSERT_EQ(pictures.count(SC_MOVE), 1u);
  // Close carries a symbol in the glyph column, move (no symbol) does not.
  const graphics::Bitmap& close = pictures[SC_CLOSE];
  const graphics::Bitmap& move = pictures[SC_MOVE];
  auto column = [&](const graphics::Bitmap& b) {
    std::vector<std::uint32_t> px;
    // Rows off the popup's frame and the glyph column's edge.
    for (int y = 2; y < b.Height() - 2; ++y) {
      for (int x = painter.Margin; x < painter.Margin + 16; ++x)
        px.push_back(b.Row32(y)[x] & 0xFFFFFF);
    }
    return px;
  };
  EXPECT_NE(column(close), column(move));
  // The same command in a menu that is not the system menu gets no symbol.
  auto& other = form_->Create<TPopupMenu>();
  other.Items().Add(L"Move").Tag = SC_MOVE;
  other.Items().Add(L"Close").Tag = SC_CLOSE;
  painter.SetActive(true);
  pictures.clear();
  other.Popup(50, 50);
  EXPECT_EQ(column(pictures[SC_CLOSE]), column(pictures[SC_MOVE]));
  painter.OnDrawItem = nullptr;
}

}  // namespace
}  // namespace sapala::win::testing
