// What every whole-control hook shares: without its section in the skin the control keeps its own
// painting; a disabled control fades 40 % into what its parent shows; the picture reaches a DC
// handed in with WM_PRINTCLIENT; removing the skin gives the window procedure back.
#include "win/skin/painted_hook.h"

#include <algorithm>

#include "control_hook_fixture.h"
#include "win/skin/hook_factory.h"

namespace sapala::win::testing {
namespace {

class PaintedHookTest : public ControlHookTest {
 protected:
  HWND Spin() {
    HWND h = Child(UPDOWN_CLASSW, UDS_ARROWKEYS, 10, 10, 20, 40);
    ::SendMessageW(h, UDM_SETRANGE32, 0, 10);
    ::SendMessageW(h, UDM_SETPOS32, 0, 5);
    return h;
  }
  // What the window draws into a cleared 20 × 40 picture handed in with WM_PRINTCLIENT, as
  // 0x00BBGGRR colours.
  static std::vector<TColor> PrintClient(HWND h) {
    std::vector<TColor> out;
    MemoryDC dc(::CreateCompatibleDC(nullptr));
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 20, -40, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    Bitmap dib(::CreateDIBSection(dc.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib) return out;
    SelectedObject selected(dc.get(), dib.get());
    ::SendMessageW(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    ::GdiFlush();
    const auto* px = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < 20 * 40; ++i) {
      const std::uint32_t w = px[i];
      out.push_back(((w >> 16) & 0xFF) | (w & 0xFF00) | ((w & 0xFF) << 16));
    }
    return out;
  }
};

TEST_F(PaintedHookTest, WithoutItsSectionTheControlPaintsItself) {
  HWND h = Spin();
  auto owned = MakeHook(HookKind::spin, h, manager_, "NOSUCHSECTION");
  auto* hook = dynamic_cast<TlcPaintedWnd*>(owned.get());
  ASSERT_NE(hook, nullptr);
  EXPECT_EQ(hook->SectionIndex(), -1);
  EXPECT_FALSE(hook->Painting());
  PaintNow(h);
  EXPECT_FALSE(hook->PaintCache());
  EXPECT_EQ(hook->CachePicture(), nullptr);
  EXPECT_EQ(Cmd(h, skin::cmdIsSkinned), 1);
  // The control's own drawing (its face) reaches a DC it is asked to paint.
  const auto printed = PrintClient(h);
  const TColor face = static_cast<TColor>(::GetSysColor(COLOR_BTNFACE));
  EXPECT_GT(std::count(printed.begin(), printed.end(), face), 100);
  ::SendMessageW(h, WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(::SendMessageW(h, UDM_GETPOS32, 0, 0), 6);
}

TEST_F(PaintedHookTest, DisabledFadesIntoTheParentAndPrintClientGetsThePicture) {
  HWND h = Spin();
  const WNDPROC original = ProcOf(h);
  auto owned = MakeHook(HookKind::spin, h, manager_, "");
  auto* hook = dynamic_cast<TlcPaintedWnd*>(owned.get());
  ASSERT_NE(hook, nullptr);
  PaintNow(h);
  const TColor normal = ColorOf("SPEEDBUTTON_SMALL");
  EXPECT_EQ(At(*hook, POINT{1, 1}), normal);
  ::EnableWindow(h, FALSE);
  PaintNow(h);
  const TColor parent = graphics::ColorToRGB(form_->Color());
  EXPECT_EQ(At(*hook, POINT{1, 1}), graphics::MixColors(normal, parent, 0.6));

  // The picture, drawn into a DC the caller brings.
  const auto printed = PrintClient(h);
  ASSERT_EQ(printed.size(), 800u);
  EXPECT_EQ(printed[1 * 20 + 1], At(*hook, POINT{1, 1}));

  Cmd(h, skin::cmdRemoveSkin, 0, manager_->Id());
  EXPECT_TRUE(hook->Removed());
  EXPECT_EQ(ProcOf(h), original);
}

}  // namespace
}  // namespace sapala::win::testing
