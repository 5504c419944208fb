// The push-button hook on a real standard BUTTON: the state table, the picture painted for
// each state and copied to the screen, the disabled fade into the parent's background, the
// caption's measuring, hovering, the glyph of bitmap and icon buttons, and a thousand hook
// cycles that leave no handle behind.
#include "win/skin/button_hook.h"

#include "core/graphics/color.h"
#include "hook_fixture.h"
#include "win/framework/text.h"

namespace sapala::win::testing {
namespace {

class ButtonHookTest : public HookTest {
 protected:
  std::vector<std::uint32_t> Pixels(TlcBtnWnd& hook) {
    std::vector<std::uint32_t> out;
    graphics::Bitmap* p = hook.CachePicture();
    if (!p) return out;
    for (int y = 0; y < p->Height(); ++y)
      for (int x = 0; x < p->Width(); ++x) out.push_back(p->PixelWord(x, y) & 0xFFFFFF);
    return out;
  }
};

TEST_F(ButtonHookTest, StateTable) {
  struct Case {
    const char* name;
    DWORD style;
    bool disabled, focused, hot, pressed;
    int want;
  } cases[] = {
      {"plain", BS_PUSHBUTTON, false, false, false, false, 0},
      {"default", BS_DEFPUSHBUTTON, false, false, false, false, 1},
      {"focused", BS_PUSHBUTTON, false, true, false, false, 1},
      {"hot", BS_PUSHBUTTON, false, false, true, false, 1},
      {"pressed", BS_PUSHBUTTON, false, false, true, true, 2},
      {"disabled", BS_PUSHBUTTON, true, false, false, false, 0},
      {"disabled default", BS_DEFPUSHBUTTON, true, false, true, false, 0},
  };
  for (const Case& k : cases) {
    HWND h = Child(L"BUTTON", k.style, 10, 10, 80, 24, L"Ok");
    TlcBtnWnd hook(h, manager_, "");
    ASSERT_TRUE(hook.Install());
    EXPECT_EQ(hook.Section(), "BUTTON");
    if (k.disabled) ::EnableWindow(h, FALSE);
    if (k.focused) ::SetFocus(h);
    manager_->SetHotControl(k.hot ? h : nullptr);
    if (k.pressed) ::SendMessageW(h, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(hook.State(), k.want) << k.name;
    manager_->SetHotControl(nullptr);
    ::SetFocus(form_->WindowHandle());
    ::DestroyWindow(h);
  }
}

TEST_F(ButtonHookTest, EachStatePaintsItsOwnPictureAndThePaintCopiesIt) {
  HWND h = Child(L"BUTTON", BS_PUSHBUTTON, 10, 10, 80, 24, L"Ok");
  TlcBtnWnd hook(h, manager_, "");
  ASSERT_TRUE(hook.Install());
  ASSERT_TRUE(hook.PaintCache());
  const auto normal = Pixels(hook);
  manager_->SetHotControl(h);
  ASSERT_TRUE(hook.PaintCache());
  const auto hot = Pixels(hook);
  const RECT up = hook.TextRect();
  ::SendMessageW(h, BM_SETSTATE, TRUE, 0);  // repaints at once
  EXPECT_FALSE(hook.Stale());
  const auto pressed = Pixels(hook);
  EXPECT_NE(normal, hot);
  EXPECT_NE(hot, pressed);
  // The caption moves by one pixel when pressed.
  EXPECT_EQ(hook.TextRect().left, up.left + 1);
  EXPECT_EQ(hook.TextRect().top, up.top + 1);
  // What WM_PRINT draws is the cache.
  DibSurface surface;
  surface.Resize(80, 24);
  ::SendMessageW(h, WM_PRINT, reinterpret_cast<WPARAM>(surface.DC()), PRF_CLIENT);
  ::GdiFlush();
  for (int y = 0; y < 24; y += 5) {
    for (int x = 0; x < 80; x += 7) {
      ASSERT_EQ(surface.Pixels().PixelWord(x, y) & 0xFFFFFF,
                pressed[static_cast<std::size_t>(y * 80 + x)])
          << x << "," << y;
    }
  }
  manager_->SetHotControl(nullptr);
}

TEST_F(ButtonHookTest, DisabledButtonFades40PercentIntoItsBackground) {
  HWND h = Child(L"BUTTON", BS_PUSHBUTTON, 10, 10, 60, 20, L"");
  TlcBtnWnd hook(h, manager_, "");
  ASSERT_TRUE(hook.Install());
  ASSERT_TRUE(hook.PaintCache());
  const auto enabled = Pixels(hook);
  ::EnableWindow(h, FALSE);  // repaints at once
  EXPECT_EQ(hook.State(), 0);
  const auto disabled = Pixels(hook);
  ASSERT_EQ(enabled.size(), disabled.size());
  const TColor white = 0xFFFFFF;  // the form's colour
  for (std::size_t i = 0; i < enabled.size(); ++i) {
    const std::uint32_t e = enabled[i];
    const TColor mine = ((e >> 16) & 0xFF) | (e & 0xFF00) | ((e & 0xFF) << 16);
    const TColor want = graphics::MixColors(mine, white, 0.6);
    const std::uint32_t w = ((want & 0xFF) << 16) | (want & 0xFF00) | ((want >> 16) & 0xFF);
    ASSERT_EQ(disabled[i], w) << "pixel " << i;
  }
}

TEST_F(ButtonHookTest, MultiLineButtonsMeasureWithoutWordBreaks) {
  const wchar_t* caption = L"one two three four five";
  HWND single = Child(L"BUTTON", BS_PUSHBUTTON, 10, 10, 60, 60, caption);
  HWND multi = Child(L"BUTTON", BS_PUSHBUTTON | BS_MULTILINE, 10, 80, 60, 60, caption);
  TlcBtnWnd a(single, manager_, ""), b(multi, manager_, "");
  ASSERT_TRUE(a.Install());
  ASSERT_TRUE(b.Install());
  ASSERT_TRUE(a.PaintCache());
  ASSERT_TRUE(b.PaintCache());
  const RECT wrapped = a.TextRect(), oneLine = b.TextRect();
  EXPECT_GT(wrapped.bottom - wrapped.top, oneLine.bottom - oneLine.top);
  EXPECT_GT(oneLine.right - oneLine.left, 60);  // not wrapped: wider than the button
}

// A push button's "&" marks its access key (message boxes say "&Yes"): it is not drawn.
TEST_F(ButtonHookTest, AmpersandsMarkTheAccessKeyAsTheButtonShowsIt) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {{L"&Yes", L"Yes"},
                                                             {L"Ca&ncel", L"Cancel"}};
  for (const auto& [caption, shown] : cases) {
    HWND a = Child(L"BUTTON", BS_PUSHBUTTON, 10, 10, 90, 24, caption);
    HWND b = Child(L"BUTTON", BS_PUSHBUTTON, 10, 40, 90, 24, shown);
    TlcBtnWnd ha(a, manager_, ""), hb(b, manager_, "");
    ASSERT_TRUE(ha.Install());
    ASSERT_TRUE(hb.Install());
    ASSERT_TRUE(ha.PaintCache());
    ASSERT_TRUE(hb.PaintCache());
    const RECT ra = ha.TextRect(), rb = hb.TextRect();
    EXPECT_EQ(ra.right - ra.left, rb.right - rb.left) << "caption " << Narrow(caption);
  }
}

TEST_F(ButtonHookTest, MouseMakesTheButtonHotAndLeavingClearsIt) {
  HWND h = Child(L"BUTTON", BS_PUSHBUTTON, 10, 10, 80, 24, L"Ok");
  TlcBtnWnd hook(h, manager_, "");
  ASSERT_TRUE(hook.Install());
  ::SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(manager_->HotControl(), h);
  EXPECT_TRUE(hook.MouseAbove());
  EXPECT_EQ(hook.State(), 1);
  ::SendMessageW(h, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(manager_->HotControl(), nullptr);
  EXPECT_FALSE(hook.MouseAbove());
  // A move that finds the pointer outside (the button holds the mouse) clears it too.
  ::SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(manager_->HotControl(), h);
  ::SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-5, 30));
  EXPECT_EQ(manager_->HotControl(), nullptr);
  EXPECT_FALSE(hook.MouseAbove());
}

// A bitmap of one colour (0x00BBGGRR), owned by the caller.
Bitmap SolidBitmap(int w, int h, TColor color) {
  HDC screen = ::GetDC(nullptr);
  Bitmap bitmap(::CreateCompatibleBitmap(screen, w, h));
  ::ReleaseDC(nullptr, screen);
  MemoryDC dc(::CreateCompatibleDC(nullptr));
  {
    SelectedObject selected(dc.get(), bitmap.get());
    Brush brush(::CreateSolidBrush(color));
    RECT r{0, 0, w, h};
    ::FillRect(dc.get(), &r, brush.get());
  }
  return bitmap;
}

TColor Rgb(std::uint32_t word) {
  return ((word >> 16) & 0xFF) | (word & 0xFF00) | ((word & 0xFF) << 16);
}

TEST_F(ButtonHookTest, BitmapButtonsShowTheirGlyphLeftOfTheCaption) {
  const TColor red = 0x0000FF;
  Bitmap glyph = SolidBitmap(16, 16, red);
  struct Case {
    const char* name;
    DWORD style;
    const wchar_t* caption;
  } cases[] = {{"BS_BITMAP with caption", BS_BITMAP, L"Cari"}, {"BS_BITMAP alone", BS_BITMAP, L""}};
  for (const Case& k : cases) {
    HWND h = Child(L"BUTTON", BS_PUSHBUTTON | k.style, 10, 10, 100, 30, k.caption);
    ::SendMessageW(h, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(glyph.get()));
    TlcBitBtnWnd hook(h, manager_, "");
    ASSERT_TRUE(hook.Install());
    ASSERT_TRUE(hook.PaintCache());
    const RECT g = hook.GlyphRect(), t = hook.TextRect();
    EXPECT_EQ(g.right - g.left, 16) << k.name;
    EXPECT_EQ(g.bottom - g.top, 16) << k.name;
    const auto* p = hook.CachePicture();
    EXPECT_EQ(Rgb(p->PixelWord((g.left + g.right) / 2, (g.top + g.bottom) / 2)), red) << k.name;
    // The pair is centred (±1): as much room left of the glyph as right of the caption.
    const int right = *k.caption ? t.right : g.right;
    EXPECT_LE(std::abs(g.left - (100 - right)), 1) << k.name;
    if (*k.caption) {
      EXPECT_LT(g.right, t.left) << k.name;
    }
    ::DestroyWindow(h);
  }
}

TEST_F(ButtonHookTest, DisabledGlyphFadesHalfIntoTheFaceBeforeTheButtonFades) {
  const TColor red = 0x0000FF;
  Bitmap glyph = SolidBitmap(16, 16, red);
  // The face where the glyph will be, from the same button without one.
  HWND plain = Child(L"BUTTON", BS_PUSHBUTTON, 10, 10, 60, 30, L"");
  TlcBtnWnd plainHook(plain, manager_, "");
  ASSERT_TRUE(plainHook.Install());
  ASSERT_TRUE(plainHook.PaintCache());
  const std::uint32_t face = plainHook.CachePicture()->PixelWord(30, 15);
  ::DestroyWindow(plain);

  HWND h = Child(L"BUTTON", BS_PUSHBUTTON | BS_BITMAP, 10, 10, 60, 30, L"");
  ::SendMessageW(h, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(glyph.get()));
  TlcBitBtnWnd hook(h, manager_, "");
  ASSERT_TRUE(hook.Install());
  ::EnableWindow(h, FALSE);  // repaints at once
  std::uint32_t half = 0;
  for (int shift = 0; shift < 24; shift += 8)
    half |= ((((0x00FF0000u >> shift) & 0xFF) + ((face >> shift) & 0xFF)) >> 1) << shift;
  const TColor white = 0xFFFFFF;  // the form's colour
  EXPECT_EQ(Rgb(hook.CachePicture()->PixelWord(30, 15)),
            graphics::MixColors(Rgb(half), white, 0.6));
  ::DestroyWindow(h);
}

TEST_F(ButtonHookTest, IconButtonsShowTheirIcon) {
  HWND h = Child(L"BUTTON", BS_PUSHBUTTON | BS_ICON, 10, 10, 100, 40, L"");
  HICON icon = ::LoadIconW(nullptr, IDI_APPLICATION);  // shared: not freed
  ::SendMessageW(h, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  TlcBitBtnWnd hook(h, manager_, "");
  ASSERT_TRUE(hook.Install());
  ASSERT_TRUE(hook.PaintCache());
  const RECT g = hook.GlyphRect();
  EXPECT_EQ(g.right - g.left, ::GetSystemMetrics(SM_CXICON));
  EXPECT_EQ(g.bottom - g.top, ::GetSystemMetrics(SM_CYICON));
  ::DestroyWindow(h);
}

TEST_F(ButtonHookTest, AThousandHookCyclesLeaveNoHandle) {
  HWND h = Child(L"BUTTON", BS_PUSHBUTTON, 10, 10, 80, 24, L"Ok");
  const auto original = ProcOf(h);
  for (int i = 0; i < 1000; ++i) {
    TlcBtnWnd hook(h, manager_, "");
    ASSERT_TRUE(hook.Install());
    ::SendMessageW(h, WM_PRINTCLIENT, 0, 0);
    ASSERT_TRUE(hook.PaintCache());
  }
  EXPECT_EQ(ProcOf(h), original);
  // The leak listener checks the census of our handles at the end of the test.
}

}  // namespace
}  // namespace sapala::win::testing
