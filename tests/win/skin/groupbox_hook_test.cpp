// The group-box hook on a real BUTTON group box under the committed skin: the frame half a
// caption line down, the caption on its top line over the parent's background, the parent above
// the frame, and a new caption painted at once.
#include "win/skin/groupbox_hook.h"

#include "hook_fixture.h"

namespace sapala::win::testing {
namespace {

class GroupBoxHookTest : public HookTest {
 protected:
  void SetUp() override {
    HookTest::SetUp();
    manager_->Core().SetSkinDirectory(AssetSkinFolder());
    manager_->Core().SetSkinName("DiruriZedaz");
    ASSERT_TRUE(manager_->SkinActive());
    ASSERT_GE(manager_->SectionIndex("GROUPBOX"), 0);
  }
  static int LineHeight(HWND h) {
    WindowDC dc(h);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(h, WM_GETFONT, 0, 0));
    SelectedObject s(dc.get(),
                     font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc.get(), &tm);
    return tm.tmHeight;
  }
  static std::uint32_t At(TlcGroupBoxWnd& hook, int x, int y) {
    return hook.CachePicture()->PixelWord(x, y) & 0xFFFFFF;
  }
  // Whether any pixel of the row span [x0, x1) at y is not the form's white.
  static bool Painted(TlcGroupBoxWnd& hook, int x0, int x1, int y) {
    for (int x = x0; x < x1; ++x)
      if (At(hook, x, y) != 0xFFFFFF) return true;
    return false;
  }
};

TEST_F(GroupBoxHookTest, FrameBelowTheCaptionLineAndCaptionOverTheParent) {
  struct Case {
    const char* name;
    DWORD style;
    const wchar_t* text;
  } cases[] = {
      {"left", BS_GROUPBOX, L"Search"},
      {"right", BS_GROUPBOX | BS_RIGHT, L"Search"},
      {"no caption", BS_GROUPBOX, L""},
  };
  for (const Case& k : cases) {
    HWND h = Child(L"BUTTON", k.style, 10, 10, 160, 80, k.text);
    TlcGroupBoxWnd hook(h, manager_, "");
    ASSERT_TRUE(hook.Install()) << k.name;
    EXPECT_EQ(hook.Section(), "GROUPBOX");
    ASSERT_TRUE(hook.PaintCache()) << k.name;
    const int line = LineHeight(h);
    const RECT f = hook.FrameRect(), c = hook.CaptionRect();
    EXPECT_EQ(f.top, line / 2) << k.name;
    EXPECT_EQ(f.bottom, 80) << k.name;
    // Above the frame the parent shows, beside the caption too.
    EXPECT_FALSE(Painted(hook, 0, 4, f.top - 1)) << k.name;
    // The frame's border runs along its sides and bottom.
    EXPECT_NE(At(hook, 0, (f.top + f.bottom) / 2), 0xFFFFFFu) << k.name;
    EXPECT_NE(At(hook, 80, 79), 0xFFFFFFu) << k.name;
    if (*k.text) {
      EXPECT_EQ(c.bottom - c.top, line) << k.name;
      EXPECT_EQ(c.top, 0) << k.name;
      if (k.style & BS_RIGHT) {
        EXPECT_EQ(c.right, 160 - 8) << k.name;
      } else {
        EXPECT_EQ(c.left, 8) << k.name;
      }
      // The caption is drawn, and the frame's top line stops short of it.
      bool text = false;
      for (int y = c.top; y < c.bottom; ++y) text = text || Painted(hook, c.left, c.right, y);
      EXPECT_TRUE(text) << k.name;
      EXPECT_EQ(At(hook, c.left - 1, f.top), 0xFFFFFFu) << k.name;
      EXPECT_EQ(At(hook, c.right, f.top), 0xFFFFFFu) << k.name;
      EXPECT_NE(At(hook, (k.style & BS_RIGHT) ? 4 : 156, f.top), 0xFFFFFFu) << k.name;
    } else {
      EXPECT_EQ(c.right - c.left, 0) << k.name;
      EXPECT_NE(At(hook, 12, f.top), 0xFFFFFFu) << k.name;  // an unbroken top line
    }
    ::DestroyWindow(h);
  }
}

TEST_F(GroupBoxHookTest, ANewCaptionIsPaintedAtOnce) {
  HWND h = Child(L"BUTTON", BS_GROUPBOX, 10, 10, 160, 80, L"Ab");
  TlcGroupBoxWnd hook(h, manager_, "");
  ASSERT_TRUE(hook.Install());
  ASSERT_TRUE(hook.PaintCache());
  const int narrow = hook.CaptionRect().right - hook.CaptionRect().left;
  ::SetWindowTextW(h, L"A much longer caption");
  EXPECT_FALSE(hook.Stale());
  EXPECT_GT(hook.CaptionRect().right - hook.CaptionRect().left, narrow);
}

}  // namespace
}  // namespace sapala::win::testing
