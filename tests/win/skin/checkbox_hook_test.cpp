// The check-box hook on real BUTTON check boxes and radio buttons under the committed skin: the
// glyph of each check state and type painted in the frame of its state (normal, hot, pressed)
// beside the caption, the disabled fade, hovering, redraws after BM_SETCHECK and the control's own
// behaviour kept (a posted click still checks, a radio group still unchecks its neighbour).
#include "win/skin/checkbox_hook.h"

#include "core/graphics/color.h"
#include "core/skin/button_rules.h"
#include "hook_fixture.h"

namespace sapala::win::testing {
namespace {

using sapala::skin::CheckGlyphSlot;

class CheckBoxHookTest : public HookTest {
 protected:
  void SetUp() override {
    HookTest::SetUp();
    // The program's own skin: it has the check and radio glyphs (three frames each).
    manager_->Core().SetSkinDirectory(AssetSkinFolder());
    manager_->Core().SetSkinName("DiruriZedaz");
    ASSERT_TRUE(manager_->SkinActive());
    ASSERT_GE(manager_->SectionIndex("CHECKBOX"), 0);
  }
  const sapala::skin::SkinTables& Tables() { return manager_->Core().Tables; }
  int Slot(CheckGlyphSlot slot) { return Tables().Cache.CheckBoxes[slot]; }

  // The glyph image `image` in frame `frame` over the form's white, as the hook's picture
  // should show it inside its glyph rectangle.
  graphics::Bitmap Reference(int image, int frame) {
    const auto* m = Tables().Image(image);
    graphics::Bitmap out(sapala::skin::FrameWidth(*m), sapala::skin::FrameHeight(*m),
                         graphics::PixelFormat::pf32bit);
    for (int y = 0; y < out.Height(); ++y)
      for (int x = 0; x < out.Width(); ++x) out.Row32(y)[x] = 0xFFFFFFFFu;
    sapala::skin::PaintImageAt(out, {0, 0}, frame,
                               sapala::skin::ParentBackground::FromColor(0xFFFFFF), *m, true);
    return out;
  }
  // Whether the hook's picture shows `reference` at the glyph rectangle.
  static bool ShowsGlyph(TlcCheckBoxWnd& hook, const graphics::Bitmap& reference) {
    const graphics::Bitmap* p = hook.CachePicture();
    const RECT g = hook.GlyphRect();
    if (!p || g.right - g.left != reference.Width() || g.bottom - g.top != reference.Height())
      return false;
    for (int y = 0; y < reference.Height(); ++y)
      for (int x = 0; x < reference.Width(); ++x)
        if ((p->PixelWord(g.left + x, g.top + y) & 0xFFFFFF) !=
            (reference.PixelWord(x, y) & 0xFFFFFF))
          return false;
    return true;
  }
  static std::vector<std::uint32_t> Pixels(TlcCheckBoxWnd& hook) {
    std::vector<std::uint32_t> out;
    const graphics::Bitmap* p = hook.CachePicture();
    for (int y = 0; p && y < p->Height(); ++y)
      for (int x = 0; x < p->Width(); ++x) out.push_back(p->PixelWord(x, y) & 0xFFFFFF);
    return out;
  }
};

TEST_F(CheckBoxHookTest, EachTypeAndCheckStateShowsItsGlyphInTheFrameOfItsState) {
  struct Case {
    const char* name;
    DWORD style;
    WPARAM check;
    CheckGlyphSlot slot;
  } cases[] = {
      {"unchecked", BS_AUTOCHECKBOX, BST_UNCHECKED, sapala::skin::kBoxUnchecked},
      {"checked", BS_AUTOCHECKBOX, BST_CHECKED, sapala::skin::kBoxChecked},
      {"grayed", BS_AUTO3STATE, BST_INDETERMINATE, sapala::skin::kBoxGrayed},
      {"plain check box", BS_CHECKBOX, BST_CHECKED, sapala::skin::kBoxChecked},
      {"radio", BS_AUTORADIOBUTTON, BST_UNCHECKED, sapala::skin::kRadioUnchecked},
      {"radio checked", BS_RADIOBUTTON, BST_CHECKED, sapala::skin::kRadioChecked},
  };
  std::vector<std::vector<std::uint32_t>> pictures;
  for (const Case& k : cases) {
    HWND h = Child(L"BUTTON", k.style, 10, 10, 120, 20, L"Option");
    TlcCheckBoxWnd hook(h, manager_, "");
    ASSERT_TRUE(hook.Install()) << k.name;
    EXPECT_EQ(hook.Section(), "CHECKBOX");
    ::SendMessageW(h, BM_SETCHECK, k.check, 0);
    ASSERT_GE(Slot(k.slot), 0) << k.name;
    EXPECT_EQ(hook.GlyphImage(), Slot(k.slot)) << k.name;
    ASSERT_TRUE(hook.PaintCache());
    EXPECT_TRUE(ShowsGlyph(hook, Reference(Slot(k.slot), 0))) << k.name << ": normal";
    // The caption lies beside the glyph, not over it.
    EXPECT_GE(hook.TextRect().left, hook.GlyphRect().right) << k.name;
    pictures.push_back(Pixels(hook));
    manager_->SetHotControl(h);
    ASSERT_TRUE(hook.PaintCache());
    EXPECT_TRUE(ShowsGlyph(hook, Reference(Slot(k.slot), 1))) << k.name << ": hot";
    ::SendMessageW(h, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(hook.State(), 2) << k.name;
    EXPECT_FALSE(hook.Stale()) << k.name << ": BM_SETSTATE repaints at once";
    EXPECT_TRUE(ShowsGlyph(hook, Reference(Slot(k.slot), 2))) << k.name << ": pressed";
    manager_->SetHotControl(nullptr);
    ::DestroyWindow(h);
  }
  // Unchecked, checked, grayed and the two radio glyphs are five different pictures.
  for (std::size_t i : {0u, 1u, 2u, 4u}) {
    for (std::size_t j : {0u, 1u, 2u, 4u, 5u}) {
      if (j > i) {
        EXPECT_NE(pictures[i], pictures[j]) << cases[i].name << " / " << cases[j].name;
      }
    }
  }
}

TEST_F(CheckBoxHookTest, GlyphGoesRightWithLeftTextAndDisabledFadesIntoTheParent) {
  HWND h = Child(L"BUTTON", BS_AUTOCHECKBOX | BS_LEFTTEXT, 10, 10, 120, 20, L"Option");
  TlcCheckBoxWnd hook(h, manager_, "");
  ASSERT_TRUE(hook.Install());
  ASSERT_TRUE(hook.PaintCache());
  EXPECT_EQ(hook.GlyphRect().right, 120);
  EXPECT_LE(hook.TextRect().right, hook.GlyphRect().left);
  const auto enabled = Pixels(hook);
  const RECT g = hook.GlyphRect();
  ::EnableWindow(h, FALSE);  // repaints at once
  EXPECT_EQ(hook.State(), 0);
  const auto disabled = Pixels(hook);
  ASSERT_EQ(enabled.size(), disabled.size());
  // The glyph fades 40 % into the form's white; the caption takes the disabled colour as well.
  for (int y = g.top; y < g.bottom; ++y) {
    for (int x = g.left; x < g.right; ++x) {
      const std::size_t i = static_cast<std::size_t>(y * 120 + x);
      const std::uint32_t e = enabled[i];
      const TColor mine = ((e >> 16) & 0xFF) | (e & 0xFF00) | ((e & 0xFF) << 16);
      const TColor want = graphics::MixColors(mine, 0xFFFFFF, 0.6);
      const std::uint32_t w = ((want & 0xFF) << 16) | (want & 0xFF00) | ((want >> 16) & 0xFF);
      ASSERT_EQ(disabled[i], w) << x << "," << y;
    }
  }
  EXPECT_NE(enabled, disabled);
}

TEST_F(CheckBoxHookTest, ClicksKeepTheControlsOwnBehaviourAndRepaint) {
  HWND box = Child(L"BUTTON", BS_AUTOCHECKBOX, 10, 10, 120, 20, L"Box");
  HWND r1 = Child(L"BUTTON", BS_AUTORADIOBUTTON | WS_GROUP, 10, 40, 120, 20, L"One");
  HWND r2 = Child(L"BUTTON", BS_AUTORADIOBUTTON, 10, 60, 120, 20, L"Two");
  TlcCheckBoxWnd a(box, manager_, ""), b(r1, manager_, ""), c(r2, manager_, "");
  ASSERT_TRUE(a.Install());
  ASSERT_TRUE(b.Install());
  ASSERT_TRUE(c.Install());
  ::SendMessageW(r1, BM_SETCHECK, BST_CHECKED, 0);
  auto click = [&](HWND h) {
    ::PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump();
  };
  click(box);
  EXPECT_EQ(::SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  ASSERT_TRUE(a.PaintCache());
  EXPECT_TRUE(ShowsGlyph(a, Reference(Slot(sapala::skin::kBoxChecked), 1)));  // focused
  EXPECT_TRUE(a.FocusShown());
  click(box);
  EXPECT_EQ(::SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  click(r2);
  EXPECT_EQ(::SendMessageW(r2, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(::SendMessageW(r1, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  // The neighbour was unchecked through BM_SETCHECK: its picture followed at once.
  EXPECT_FALSE(b.Stale());
  EXPECT_TRUE(ShowsGlyph(b, Reference(Slot(sapala::skin::kRadioUnchecked), 0)));
  // The pointer makes a box hot (the hot glyph frame at once); leaving clears it.
  ::SetFocus(form_->WindowHandle());
  ::SendMessageW(r1, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(manager_->HotControl(), r1);
  EXPECT_TRUE(ShowsGlyph(b, Reference(Slot(sapala::skin::kRadioUnchecked), 1)));
  ::SendMessageW(r1, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(manager_->HotControl(), nullptr);
  EXPECT_TRUE(ShowsGlyph(b, Reference(Slot(sapala::skin::kRadioUnchecked), 0)));
  // A new caption is read and painted.
  ::SetWindowTextW(r2, L"Second");
  EXPECT_EQ(c.Text(), L"Second");
  EXPECT_FALSE(c.Stale());
}

}  // namespace
}  // namespace sapala::win::testing
