// The static and icon hooks on real STATIC windows of a skinned form: text in the section's font
// colour over the parent's background and repainted when the text changes, an icon drawn at the
// top-left in its own size, nothing for an icon static without a picture, and a static with a
// static edge left to its own painting.
#include "win/skin/static_hooks.h"

#include <algorithm>

#include "skin_fixture.h"
#include "win/controls/skin_link.h"
#include "win/framework/dib.h"

namespace sapala::win::testing {
namespace {

std::string CommittedSkinFolder() {
  std::string path = "Z:" SAPALA_SOURCE_DIR "/assets/skin";
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

// A pixel word of the cache as a TColor (0x00BBGGRR).
TColor ColorAt(const graphics::Bitmap& b, int x, int y) {
  const std::uint32_t w = b.PixelWord(x, y);
  return ((w >> 16) & 0xFF) | (w & 0xFF00) | ((w & 0xFF) << 16);
}

int CountColor(const graphics::Bitmap& b, TColor c, const RECT& in) {
  int n = 0;
  for (int y = in.top; y < std::min<int>(in.bottom, b.Height()); ++y)
    for (int x = in.left; x < std::min<int>(in.right, b.Width()); ++x) n += ColorAt(b, x, y) == c;
  return n;
}

class StaticHooksTest : public SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    InstallDibSections();
    form_ = &AddForm("F", "", true);
    manager_ = &form_->Create<TsSkinManager>();
    manager_->Core().SetSkinDirectory(CommittedSkinFolder());
    manager_->Core().SetSkinName("DiruriZedaz");
    ASSERT_TRUE(manager_->SkinActive());
    const auto& sections = manager_->Core().Tables.Sections;
    const int index = manager_->SectionIndex("CHECKBOX");
    ASSERT_GE(index, 0);
    const auto* s = &sections[static_cast<std::size_t>(index)];
    ASSERT_NE(s, nullptr);
    fontColor_ = graphics::ColorToRGB(s->Props[0].FontColors[0]);
  }
  void TearDown() override {
    for (HWND h : windows_) {
      if (::IsWindow(h)) ::DestroyWindow(h);
    }
    SkinTest::TearDown();
  }
  HWND Static(DWORD style, DWORD exStyle, const wchar_t* text, int w = 120, int h = 40) {
    HWND hwnd = ::CreateWindowExW(exStyle, L"STATIC", text, WS_CHILD | WS_VISIBLE | style, 10, 10,
                                  w, h, form_->WindowHandle(), nullptr, nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr);
    windows_.push_back(hwnd);
    return hwnd;
  }
  TRecForm* form_ = nullptr;
  TsSkinManager* manager_ = nullptr;
  TColor fontColor_ = 0;
  std::vector<HWND> windows_;
};

TEST_F(StaticHooksTest, TextIsDrawnInTheSectionFontColourAndFollowsSetText) {
  HWND h = Static(SS_LEFT, 0, L"Tembung ora ketemu");
  TlcStaticWnd hook(h, manager_, "");
  ASSERT_TRUE(hook.Install());
  EXPECT_EQ(hook.Section(), "CHECKBOX");
  ASSERT_TRUE(hook.PaintCache());
  graphics::Bitmap* p = hook.CachePicture();
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->Width(), 120);
  const RECT all{0, 0, 120, 40};
  // The form is white and the section fully transparent: the corner shows the form.
  EXPECT_EQ(ColorAt(*p, 119, 39), static_cast<TColor>(0xFFFFFF));
  EXPECT_GT(CountColor(*p, fontColor_, all), 20);
  // The text's new value is painted at once, and an empty text leaves only the background.
  ::SetWindowTextW(h, L"");
  EXPECT_TRUE(hook.Text().empty());
  ASSERT_TRUE(hook.PaintCache());
  EXPECT_EQ(CountColor(*hook.CachePicture(), fontColor_, all), 0);
}

TEST_F(StaticHooksTest, IconIsDrawnAtTheTopLeftInItsOwnSize) {
  HWND h = Static(SS_ICON, 0, L"", 80, 60);
  ::SendMessageW(h, STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconW(nullptr, IDI_WARNING)), 0);
  ::SetWindowPos(h, nullptr, 0, 0, 80, 60, SWP_NOMOVE | SWP_NOZORDER);
  TlcIconWnd hook(h, manager_, "");
  ASSERT_TRUE(hook.Install());
  ASSERT_TRUE(hook.PaintCache());
  graphics::Bitmap* p = hook.CachePicture();
  ASSERT_NE(p, nullptr);
  const int icon = ::GetSystemMetrics(SM_CXICON);
  const TColor white = 0xFFFFFF;
  const int size = icon * icon;
  EXPECT_LT(CountColor(*p, white, {0, 0, icon, icon}), size);  // the icon is there
  EXPECT_EQ(CountColor(*p, white, {icon, 0, 80, 60}), (80 - icon) * 60);
  EXPECT_EQ(CountColor(*p, white, {0, icon, icon, 60}), icon * (60 - icon));
}

TEST_F(StaticHooksTest, WhatIsNotOursStaysTheStaticsOwn) {
  // An icon static without an icon or bitmap has nothing to show.
  HWND empty = Static(SS_ICON, 0, L"", 40, 40);
  ::SetWindowPos(empty, nullptr, 0, 0, 40, 40, SWP_NOMOVE | SWP_NOZORDER);
  TlcIconWnd icon(empty, manager_, "");
  ASSERT_TRUE(icon.Install());
  EXPECT_FALSE(icon.PaintCache());
  // A static with a static edge paints itself: a paint leaves the hook's cache untouched.
  HWND edged = Static(SS_LEFT, WS_EX_STATICEDGE, L"framed");
  TlcStaticWnd hook(edged, manager_, "");
  ASSERT_TRUE(hook.Install());
  ::RedrawWindow(edged, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(hook.CachePicture(), nullptr);
  // The same static without the edge is painted by the hook.
  HWND plain = Static(SS_LEFT, 0, L"plain");
  TlcStaticWnd ours(plain, manager_, "");
  ASSERT_TRUE(ours.Install());
  ::RedrawWindow(plain, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_NE(ours.CachePicture(), nullptr);
}

}  // namespace
}  // namespace sapala::win::testing
