// The skinned menu painter on real popup menus under a loaded skin: items measured and drawn
// into their pictures, the popup window's region, the extra line, check marks, and everything
// given back when the skin goes while a menu is open.
#include "win/skin/skin_menus.h"

#include <functional>

#include "skin_fixture.h"
#include "core/graphics/pixels.h"
#include "win/framework/dib.h"
#include "win/framework/menus.h"

namespace sapala::win::testing {
namespace {

using skin::TsSkinableMenus;

struct Drawn {
  int kind = -1;
  int height = 0;
  graphics::Bitmap picture;
};

class SkinMenusTest : public SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    form_ = &AddForm("F",
                     "  object M: TsSkinManager\n    SkinDirectory = '" + AssetSkinFolder() +
                         "'\n    SkinName = 'DiruriZedaz'\n  end\n",
                     true);
    manager_ = &Get<TsSkinManager>(*form_, "M");
    ASSERT_TRUE(manager_->SkinActive());
    // The default manager's own painter serves the popups.
    painter_ = &manager_->Menus();
    painter_->OnDrawItem = [this](TMenuItem& item, HDC, graphics::Bitmap& picture, int kind, UINT,
                                  const RECT& r) {
      drawn_[item.Caption] = Drawn{kind, r.bottom - r.top, picture.Clone()};
    };
  }
  void TearDown() override {
    WhileMenuOpen() = nullptr;
    painter_->OnDrawItem = nullptr;
    SkinTest::TearDown();
  }
  // Opens the menu, runs `during` while it shows, closes it.
  void Open(TPopupMenu& menu, std::function<void()> during = {}) {
    WhileMenuOpen() = std::move(during);
    ::SetTimer(nullptr, 0, 150, &CloseMenuTick);
    menu.Popup(100, 100);
    WhileMenuOpen() = nullptr;
  }
  TPopupMenu& Menu() {
    auto& menu = form_->Create<TPopupMenu>();
    menu.Items().Add(L"Open").ShortCut = L"Ctrl+O";
    menu.Items().Add(L"-");
    menu.Items().Add(L"-Title-");
    auto& radio = menu.Items().Add(L"Radio");
    radio.RadioItem = radio.Checked = true;
    menu.Items().Add(L"Check").Checked = true;
    menu.Items().Add(L"Plain");
    menu.Items().Add(L"Gone").Enabled = false;
    painter_->SetActive(true);
    return menu;
  }
  // True when the two pictures differ anywhere in the column x0..x1.
  static bool Differ(const graphics::Bitmap& a, const graphics::Bitmap& b, int x0, int x1) {
    for (int y = 0; y < std::min(a.Height(), b.Height()); ++y) {
      for (int x = x0; x < x1; ++x) {
        if ((a.Row32(y)[x] & 0xFFFFFF) != (b.Row32(y)[x] & 0xFFFFFF)) return true;
      }
    }
    return false;
  }

  TRecForm* form_ = nullptr;
  TsSkinManager* manager_ = nullptr;
  TsSkinableMenus* painter_ = nullptr;
  std::map<std::wstring, Drawn> drawn_;
};

TEST_F(SkinMenusTest, OpenPopupIsMeasuredDrawnAndCut) {
  TPopupMenu& menu = Menu();
  HWND popup = nullptr;
  RECT box{};
  int regionKind = ERROR;
  bool cornerCut = false;
  Open(menu, [&] {
    popup = ShownPopupMenuWindow();
    win::Region rgn(::CreateRectRgn(0, 0, 0, 0));
    regionKind = ::GetWindowRgn(popup, rgn.get());
    ::GetRgnBox(rgn.get(), &box);
    cornerCut = !::PtInRegion(rgn.get(), 0, 0);
  });
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(drawn_.size(), 7u);
  // The region is the popup's rectangle less the skin's transparent corners.
  EXPECT_EQ(regionKind, COMPLEXREGION);
  EXPECT_TRUE(cornerCut);
  EXPECT_EQ(painter_->BackgroundCount(), 1u);
  EXPECT_EQ(box.right - box.left,
            painter_->PopupBackground(&menu.Items().Items(0), 0, 0, nullptr)->bitmap.Width());

  EXPECT_EQ(drawn_[L"-"].kind, 1);
  EXPECT_EQ(drawn_[L"-"].height, 2);
  EXPECT_EQ(drawn_[L"-Title-"].kind, 0);
  EXPECT_EQ(drawn_[L"Open"].kind, 2);
  // A checked radio item shows RADIOCHECKED, a checked plain item CHECK: the glyph columns
  // differ from each other and from an item without a mark.
  const int glyphEnd = painter_->Margin + 16;
  EXPECT_TRUE(Differ(drawn_[L"Radio"].picture, drawn_[L"Check"].picture, 0, glyphEnd));
  EXPECT_TRUE(Differ(drawn_[L"Radio"].picture, drawn_[L"Plain"].picture, 0, glyphEnd));
  EXPECT_TRUE(Differ(drawn_[L"Check"].picture, drawn_[L"Plain"].picture, 0, glyphEnd));
  // The disabled item is faded into the background: no pixel keeps the menu's text colour.
  const TColor text =
      manager_->Core()
          .Tables
          .Sections[static_cast<std::size_t>(manager_->Core().Tables.FindSection("MENUITEM"))]
          .FontColors[0];
  auto hasColor = [](const graphics::Bitmap& b, TColor c) {
    const std::uint32_t want = graphics::PixelFromColor(c) & 0xFFFFFF;
    for (int y = 0; y < b.Height(); ++y) {
      for (int x = 0; x < b.Width(); ++x) {
        if ((b.Row32(y)[x] & 0xFFFFFF) == want) return true;
      }
    }
    return false;
  };
  EXPECT_TRUE(hasColor(drawn_[L"Plain"].picture, text));
  EXPECT_FALSE(hasColor(drawn_[L"Gone"].picture, text));
}

TEST_F(SkinMenusTest, ExtraLineExceptForTheSkinChooser) {
  manager_->Core().MenuSupport.UseExtraLine = true;
  std::vector<TMenuItem*> asked;
  manager_->OnGetMenuExtraLineData = [&](TObject* first, std::string&, bool&, HBITMAP&,
                                         std::wstring& text) {
    asked.push_back(static_cast<TMenuItem*>(first));
    text = L"&Sapala";
  };
  auto& plain = form_->Create<TPopupMenu>();
  plain.Items().Add(L"Word");
  auto& chooser = form_->Create<TPopupMenu>();
  auto& first = chooser.Items().Add(L"Word");
  first.Name = "SkinSelectItem";
  WindowDC screen(nullptr);
  int wPlain = 0, hPlain = 0, wChooser = 0, hChooser = 0;
  painter_->MeasureItem(plain.Items().Items(0), screen.get(), wPlain, hPlain);
  EXPECT_EQ(painter_->ExtraLineText(), L"Sapala");
  painter_->MeasureItem(first, screen.get(), wChooser, hChooser);
  EXPECT_EQ(wPlain - wChooser, manager_->Core().MenuSupport.ExtraLineWidth);
  EXPECT_EQ(asked, (std::vector<TMenuItem*>{&plain.Items().Items(0)}));
  EXPECT_TRUE(painter_->PopupBackground(&plain.Items().Items(0), 0, 0, nullptr)->extraLine);
  EXPECT_FALSE(painter_->PopupBackground(&first, 0, 0, nullptr)->extraLine);
}

TEST_F(SkinMenusTest, StaleBackgroundsAreNotReused) {
  // A background is keyed by the popup's first item: a new size builds it again, and the entry
  // of a freed menu is dropped (its item's address may come back as another popup's item).
  auto& menu = form_->Create<TPopupMenu>();
  TMenuItem& first = menu.Items().Add(L"Word");
  auto* b = painter_->PopupBackground(&first, 60, 40, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->bitmap.Width(), 60);
  b = painter_->PopupBackground(&first, 80, 40, nullptr);
  EXPECT_EQ(b->bitmap.Width(), 80);
  EXPECT_EQ(painter_->BackgroundCount(), 1u);
  {
    TPopupMenu gone(nullptr);
    painter_->PopupBackground(&gone.Items().Add(L"Gone"), 30, 20, nullptr);
    EXPECT_EQ(painter_->BackgroundCount(), 2u);
  }
  painter_->PopupBackground(&first, 80, 40, nullptr);
  EXPECT_EQ(painter_->BackgroundCount(), 1u);
}

TEST_F(SkinMenusTest, SkinRemovedWhileOpenGivesEverythingBack) {
  TPopupMenu& menu = Menu();
  int before = ERROR, after = NULLREGION;
  std::size_t backgrounds = 99;
  Open(menu, [&] {
    HWND popup = ShownPopupMenuWindow();
    win::Region rgn(::CreateRectRgn(0, 0, 0, 0));
    before = ::GetWindowRgn(popup, rgn.get());
    manager_->Core().SetActive(false);
    after = ::GetWindowRgn(popup, rgn.get());
    backgrounds = painter_->BackgroundCount();
    drawn_.clear();
    ::RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  });
  EXPECT_EQ(before, COMPLEXREGION);
  EXPECT_EQ(after, ERROR);  // no region any more
  EXPECT_EQ(backgrounds, 0u);
  EXPECT_TRUE(drawn_.empty());  // nothing is painted without a skin
  // Switched off, the painter takes its handlers back; the application's own stay.
  int own = 0;
  menu.Items().Items(0).OnDrawItem = [&](TMenuItem&, HDC, const RECT&, UINT) { ++own; };
  menu.Items().Items(0).HandlerOwner = nullptr;
  painter_->SetActive(false);
  EXPECT_FALSE(menu.Items().Items(1).OnDrawItem);
  EXPECT_TRUE(menu.Items().Items(0).OnDrawItem);
}

TEST_F(SkinMenusTest, BarItemDrawsOverTheMenuLine) {
  graphics::Bitmap line = graphics::NewBitmap32(120, 18);
  graphics::FillBitmapRect(line, line.Bounds(), 0x00C08040);
  auto& menu = form_->Create<TPopupMenu>();
  TMenuItem& item = menu.Items().Add(L"&File");
  auto draw = [&](UINT state) {
    DibSurface target;
    target.Resize(60, 18);
    drawn_.clear();
    painter_->DrawBarItem(item, target.DC(), {0, 0, 60, 18}, state, line, {30, 0});
    std::vector<std::uint32_t> px;
    for (int y = 0; y < 18; ++y) {
      for (int x = 0; x < 60; ++x) px.push_back(target.Pixels().Row32(y)[x] & 0xFFFFFF);
    }
    return px;
  };
  const auto normal = draw(0);
  EXPECT_EQ(drawn_[L"&File"].kind, 3);
  // The item's see-through section shows the menu line; the hot look and the disabled fade
  // change the item.
  const std::uint32_t lineColor = line.Row32(0)[0] & 0xFFFFFF;
  EXPECT_GT(std::count(normal.begin(), normal.end(), lineColor), 300);
  EXPECT_NE(draw(ODS_SELECTED), normal);
  item.Enabled = false;
  EXPECT_NE(draw(0), normal);
  EXPECT_EQ(draw(ODS_SELECTED), draw(0));  // a disabled item never looks hot
  manager_->Core().SetActive(false);
  EXPECT_EQ(draw(0), std::vector<std::uint32_t>(60 * 18, 0u));  // nothing without a skin
}

TEST_F(SkinMenusTest, ThousandOpeningsLeaveNoHandles) {
  TPopupMenu& menu = Menu();
  int opened = 0;
  painter_->OnDrawItem = [&](TMenuItem& item, HDC, graphics::Bitmap&, int, UINT, const RECT&) {
    if (&item == &menu.Items().Items(6)) {
      ++opened;
      ::EndMenu();
    }
  };
  for (int i = 0; i < 1000; ++i) menu.Popup(100 + i % 50, 100);
  EXPECT_EQ(opened, 1000);
  EXPECT_EQ(painter_->BackgroundCount(), 1u);
  // The census of the leak listener checks that nothing is left open.
}

}  // namespace
}  // namespace sapala::win::testing
