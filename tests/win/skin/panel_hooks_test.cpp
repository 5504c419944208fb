// The panel hooks: a panel of a control object painted in its section with its caption, its
// plain labels turned transparent in the skin's label colour and painted over the section; a
// silent panel without caption; a transparent panel showing exactly what its parent shows.
#include "win/skin/panel_hooks.h"

#include "control_hook_fixture.h"
#include "win/framework/label.h"
#include "win/skin/hook_factory.h"

namespace sapala::win::testing {
namespace {

class PanelHooksTest : public ControlHookTest {};

TEST_F(PanelHooksTest, PanelPaintsItsSectionCaptionAndLabels) {
  TRecWin& panel = form_->Create<TRecWin>();
  panel.SetParent(form_);
  panel.SetBounds(10, 10, 200, 100);
  panel.Handle();
  auto& label = form_->Create<TCustomLabel>();
  label.SetParent(&panel);
  label.SetBounds(5, 5, 80, 20);
  label.SetCaption(L"Label");
  ASSERT_FALSE(label.Transparent());
  auto owned = MakeHook(HookKind::panel, panel.WindowHandle(), manager_, "");
  ASSERT_NE(owned, nullptr);
  EXPECT_EQ(owned->Section(), "PANEL");
  auto* hook = dynamic_cast<TlcPanelWnd*>(owned.get());
  ASSERT_TRUE(hook->PaintCache());
  EXPECT_TRUE(label.Transparent());
  const TColor labelColor = manager_->Core().LabelFontColor();
  EXPECT_EQ(graphics::ColorToRGB(label.Font().Color()), graphics::ColorToRGB(labelColor));
  // The section under the label, the label's text in its colour over it.
  const graphics::Bitmap* p = hook->CachePicture();
  const TColor section = At(p, 150, 80);
  EXPECT_EQ(At(p, 84, 6), section);
  EXPECT_GT(Count(p, RECT{5, 5, 85, 25}, graphics::ColorToRGB(labelColor)), 0);
}

TEST_F(PanelHooksTest, SilentPanelsDrawNoCaptionAndTransparentPanelsShowTheirParent) {
  const TColor font = graphics::ColorToRGB(
      manager_->Core()
          .Tables.Sections[static_cast<std::size_t>(manager_->SectionIndex("CHECKBOX"))]
          .FontColors[0]);
  HWND loud = Child(L"STATIC", 0, 10, 10, 160, 60, L"Caption");
  HWND silent = Child(L"STATIC", 0, 10, 80, 160, 60, L"Caption");
  auto a = MakeHook(HookKind::panel, loud, manager_, "CHECKBOX");
  auto b = MakeHook(HookKind::silentPanel, silent, manager_, "CHECKBOX");
  ASSERT_TRUE(dynamic_cast<TlcPanelWnd*>(a.get())->PaintCache());
  ASSERT_TRUE(dynamic_cast<TlcPanelWnd*>(b.get())->PaintCache());
  const RECT all{0, 0, 160, 60};
  EXPECT_GT(Count(a->CachePicture(), all, font), 0);
  EXPECT_EQ(Count(b->CachePicture(), all, font), 0);
  EXPECT_EQ(Count(b->CachePicture(), all, ColorOf("CHECKBOX")), 160 * 60);
  wchar_t text[16] = {};
  ::GetWindowTextW(silent, text, 16);
  EXPECT_STREQ(text, L"Caption");  // left as it is

  // A window inside the loud panel shows the panel's picture under it, pixel for pixel.
  HWND inner = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 20, 15, 100, 30, loud,
                                 nullptr, nullptr, nullptr);
  auto c = MakeHook(HookKind::transPanel, inner, manager_, "");
  ASSERT_TRUE(dynamic_cast<TlcTransPanelWnd*>(c.get())->PaintCache());
  for (int y = 0; y < 30; y += 7)
    for (int x = 0; x < 100; x += 9)
      ASSERT_EQ(At(c->CachePicture(), x, y), At(a->CachePicture(), x + 20, y + 15))
          << x << "," << y;
}

TEST_F(PanelHooksTest, APageKeepsTheLabelsLyingOnIt) {
  TRecWin& page = form_->Create<TRecWin>();
  page.SetParent(form_);
  page.SetBounds(10, 10, 200, 100);
  page.Handle();
  auto& label = form_->Create<TCustomLabel>();
  label.SetParent(&page);
  label.SetBounds(5, 5, 80, 20);
  label.SetCaption(L"Label");
  label.SetTransparent(true);
  label.Font().SetColor(0x0000C0);
  auto owned = MakeHook(HookKind::page, page.WindowHandle(), manager_, "");
  auto* hook = dynamic_cast<TlcPageWnd*>(owned.get());
  ASSERT_NE(hook, nullptr);
  ASSERT_TRUE(hook->PaintCache());
  EXPECT_GT(Count(hook->CachePicture(), RECT{5, 5, 85, 25}, 0x0000C0), 0);
  EXPECT_EQ(Count(hook->CachePicture(), RECT{100, 40, 200, 100}, 0x0000C0), 0);
}

}  // namespace
}  // namespace sapala::win::testing
