// The size grip, edge static and link hooks: the skin's grip picture in the grip's corner, an
// icon static on the edit section with the section's border over its edge, and a link control's
// plain text and link in their colours, the control keeping its own behaviour.
#include "win/skin/frame_hooks.h"

#include "control_hook_fixture.h"
#include "core/skin/skin_paint.h"
#include "win/skin/hook_factory.h"

namespace sapala::win::testing {
namespace {

class FrameHooksTest : public ControlHookTest {};

TEST_F(FrameHooksTest, GripShowsTheSkinsGripPictureInItsCorner) {
  HWND h = Child(L"SCROLLBAR", SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN, 100, 100, 30, 30);
  auto owned = MakeHook(HookKind::sizer, h, manager_, "");
  auto* hook = dynamic_cast<TlcSizerWnd*>(owned.get());
  ASSERT_NE(hook, nullptr);
  RECT client{};
  ::GetClientRect(h, &client);
  ASSERT_TRUE(hook->PaintCache());
  const RECT g = hook->GripRect();
  EXPECT_EQ(g.right, client.right);
  EXPECT_EQ(g.bottom, client.bottom);
  // The grip's picture, as the skin paints it over the same background.
  const auto& tables = manager_->Core().Tables;
  const auto* image = tables.Image(tables.Cache.GripImage);
  ASSERT_NE(image, nullptr);
  graphics::Bitmap want = graphics::NewBitmap32(client.right, client.bottom);
  const TColor parent = At(hook->CachePicture(), 0, 0);
  for (int y = 0; y < want.Height(); ++y)
    for (int x = 0; x < want.Width(); ++x)
      want.Row32(y)[x] = 0xFF000000u | ((parent & 0xFF) << 16) | (parent & 0xFF00) | (parent >> 16);
  sapala::skin::PaintImageAt(want, {g.left, g.top}, 0,
                             sapala::skin::ParentBackground::FromColor(parent), *image, true);
  int differing = 0;
  for (int y = g.top; y < g.bottom; ++y)
    for (int x = g.left; x < g.right; ++x)
      differing += At(hook->CachePicture(), x, y) != At(&want, x, y);
  EXPECT_EQ(differing, 0);
  EXPECT_LT(Count(hook->CachePicture(), g, parent), (g.right - g.left) * (g.bottom - g.top));
}

TEST_F(FrameHooksTest, EdgeStaticShowsItsIconOnTheSectionAndTheSectionsBorder) {
  HWND h = ::CreateWindowExW(WS_EX_STATICEDGE, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ICON, 10,
                             10, 60, 50, form_->WindowHandle(), nullptr, nullptr, nullptr);
  ASSERT_NE(h, nullptr);
  windows_.push_back(h);
  ::SendMessageW(h, STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconW(nullptr, IDI_APPLICATION)),
                 0);
  ::SetWindowPos(h, nullptr, 0, 0, 60, 50, SWP_NOMOVE | SWP_NOZORDER);  // the icon sized it
  auto owned = MakeHook(HookKind::edge, h, manager_, "");
  auto* hook = dynamic_cast<TlcEdgeWnd*>(owned.get());
  ASSERT_NE(hook, nullptr);
  EXPECT_EQ(hook->Section(), "EDIT");
  ASSERT_TRUE(hook->PaintCache());
  RECT client{};
  ::GetClientRect(h, &client);
  const TColor edit = ColorOf("EDIT");
  // The icon at the top-left, the section elsewhere.
  EXPECT_LT(Count(hook->CachePicture(), RECT{0, 0, 32, 32}, edit), 32 * 32);
  EXPECT_EQ(At(*hook, POINT{client.right - 3, client.bottom - 3}), edit);
  ASSERT_TRUE(hook->PaintFrame());
  RECT window{};
  ::GetWindowRect(h, &window);
  ASSERT_NE(hook->FramePicture(), nullptr);
  EXPECT_EQ(hook->FramePicture()->Width(), window.right - window.left);
}

TEST_F(FrameHooksTest, LinkTextAndLinkInTheirColours) {
  HWND h = Child(WC_LINK, WS_TABSTOP, 10, 10, 240, 24, L"Go <a href=\"x\">there</a> now");
  auto owned = MakeHook(HookKind::link, h, manager_, "");
  auto* hook = dynamic_cast<TlcLinkWnd*>(owned.get());
  ASSERT_NE(hook, nullptr);
  ASSERT_TRUE(hook->PaintCache());
  ASSERT_EQ(hook->LinkRects().size(), 1u);
  const RECT link = hook->LinkRects()[0];
  EXPECT_GT(link.left, 5);
  const auto& s =
      manager_->Core()
          .Tables.Sections[static_cast<std::size_t>(manager_->SectionIndex("CHECKBOX"))];
  const TColor plain = graphics::ColorToRGB(s.FontColors[0]);
  const TColor hot = graphics::ColorToRGB(s.HotFontColors[0]);
  const graphics::Bitmap* p = hook->CachePicture();
  EXPECT_GT(Count(p, link, hot), 0);
  EXPECT_EQ(Count(p, link, plain), 0);
  EXPECT_GT(Count(p, RECT{0, 0, link.left, 24}, plain), 0);
  EXPECT_EQ(Count(p, RECT{0, 0, link.left, 24}, hot), 0);
  // The control's own items are untouched by the painting.
  LITEM item{};
  item.mask = LIF_ITEMINDEX | LIF_URL;
  item.iLink = 0;
  ASSERT_TRUE(::SendMessageW(h, LM_GETITEM, 0, reinterpret_cast<LPARAM>(&item)));
  EXPECT_STREQ(item.szUrl, L"x");
}

}  // namespace
}  // namespace sapala::win::testing
