// The output window laid over a form, and the skin-change cross-fade drawn into it. The frames
// are read through the frame observer (what was drawn into the output window), not the screen.
#include "win/skin/output_window.h"

#include "core/graphics/pixels.h"
#include "skin_fixture.h"
#include "win/skin/animations.h"

namespace sapala::win::testing {
namespace {

class OutputWindowTest : public SkinTest {
 protected:
  void TearDown() override {
    skin::SetLayeredFrameObserver(nullptr);
    skin::ReleaseOutputWindow();
    SkinTest::TearDown();
  }
  static RECT WindowRect(HWND h) {
    RECT r{};
    ::GetWindowRect(h, &r);
    return r;
  }
};

TEST_F(OutputWindowTest, FreezingLaysAnUnpaintedPopupOverTheForm) {
  TRecForm& f = AddForm("F", "", true);
  HWND active = ::GetActiveWindow();
  skin::FreezeUnderOutputWindow(f);
  skin::TOutputWindow* out = skin::OutputWindow();
  ASSERT_NE(out, nullptr);
  const HWND h = out->WindowHandle();
  wchar_t text[32] = {};
  ::GetWindowTextW(h, text, 32);
  EXPECT_STREQ(text, L"lcOutputWindow");
  EXPECT_EQ(out->Tag(), -98);
  EXPECT_EQ(out->Color(), graphics::clFuchsia);
  const LONG_PTR style = ::GetWindowLongPtrW(h, GWL_STYLE);
  EXPECT_EQ(style & ~static_cast<LONG_PTR>(WS_VISIBLE | WS_CLIPSIBLINGS), WS_POPUP);
  EXPECT_EQ(::GetWindow(h, GW_OWNER), f.WindowHandle());
  EXPECT_TRUE(::IsWindowVisible(h));
  EXPECT_EQ(::GetActiveWindow(), active) << "shown without activation";
  const RECT a = WindowRect(h), b = WindowRect(f.WindowHandle());
  EXPECT_TRUE(::EqualRect(&a, &b));
  EXPECT_EQ(::SendMessageW(h, WM_ERASEBKGND, 0, 0), 1);
  EXPECT_EQ(::SendMessageW(h, WM_NCPAINT, 1, 0), 0);
  ASSERT_NE(skin::OutputPicture(), nullptr);
  EXPECT_EQ(skin::OutputPicture()->Width(), b.right - b.left);
  EXPECT_EQ(skin::OutputPicture()->Height(), b.bottom - b.top);

  // Another form of another size: the picture is made at that size.
  TRecForm& g = AddForm("G", "", true);
  g.SetClientSize(300, 90);
  skin::FreezeUnderOutputWindow(g);
  const RECT c = WindowRect(g.WindowHandle());
  ASSERT_NE(c.right - c.left, b.right - b.left);
  EXPECT_EQ(skin::OutputPicture()->Width(), c.right - c.left);
  EXPECT_EQ(skin::OutputPicture()->Height(), c.bottom - c.top);
  EXPECT_EQ(::GetWindow(skin::OutputWindow()->WindowHandle(), GW_OWNER), g.WindowHandle());
  EXPECT_FALSE(::IsWindow(h)) << "the first one went";
}

// Each frame is the old look blended into the new one with the weight of its step; the last
// frame is the new look; then the output window and its picture are gone.
TEST_F(OutputWindowTest, SkinChangeCrossFadesFromTheFrozenLookToTheNewOne) {
  TRecForm& f = AddForm("F", "", true);
  HandleCensus census;
  skin::FreezeUnderOutputWindow(f);
  graphics::Bitmap old = skin::OutputPicture()->Clone();
  f.SetColor(graphics::clRed);  // the "new skin"
  struct Frame {
    int weight;
    std::uint32_t oldPx, newPx, px;
  };
  std::vector<Frame> frames;
  const RECT client = skin::ClientRectInWindow(f.WindowHandle());
  const int x = client.left + 50, y = client.top + 50;
  skin::SetLayeredFrameObserver([&](const skin::LayeredFrame& fr) {
    EXPECT_TRUE(skin::AnimationLock());
    EXPECT_EQ(fr.Window, skin::OutputWindow()->WindowHandle());
    frames.push_back({fr.Opacity, old.PixelWord(x, y), 0, fr.Picture->PixelWord(x, y)});
  });
  skin::SkinChangeAnimated(f, 120);
  const std::vector<int> weights = sapala::skin::SkinChangeWeights(120);
  ASSERT_EQ(frames.size(), weights.size() + 1);
  const std::uint32_t red = frames.back().px;
  EXPECT_EQ(red & 0xFFFFFF, 0xFF0000u) << "the last frame is the new look";
  for (std::size_t i = 0; i < weights.size(); ++i) {
    EXPECT_EQ(frames[i].weight, weights[i]);
    for (int ch = 0; ch < 3; ++ch) {
      const int a = (frames[i].oldPx >> (8 * ch)) & 0xFF, b = (red >> (8 * ch)) & 0xFF;
      const int want = (weights[i] * (a - b) + 256 * b) >> 8;
      EXPECT_EQ(static_cast<int>((frames[i].px >> (8 * ch)) & 0xFF), want)
          << "frame " << i << " channel " << ch;
    }
  }
  EXPECT_EQ(skin::OutputWindow(), nullptr);
  EXPECT_EQ(skin::OutputPicture(), nullptr);
  EXPECT_FALSE(skin::AnimationLock());
  EXPECT_EQ(census.Difference(), "");
}

TEST_F(OutputWindowTest, ShortSkinChangeDrawsOnlyTheNewLook) {
  TRecForm& f = AddForm("F", "", true);
  int frames = 0;
  skin::SetLayeredFrameObserver([&](const skin::LayeredFrame& fr) {
    ++frames;
    EXPECT_EQ(fr.Opacity, 0);
  });
  skin::SkinChangeAnimated(f, 11);
  EXPECT_EQ(frames, 1);
  EXPECT_EQ(skin::OutputWindow(), nullptr);
}

}  // namespace
}  // namespace sapala::win::testing
