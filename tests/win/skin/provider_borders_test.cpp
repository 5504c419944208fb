// A skinned form's extended borders under Wine — the companion the provider makes and drops,
// the frame it lays out in the larger image, the pictures it hands to UpdateLayeredWindow, and
// how the companion keeps to the form — and the outline drag of ResizeMode rmBorder, driven by
// posted mouse and key messages.
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "core/graphics/pixels.h"
#include "skin_fixture.h"
#include "win/framework/dib.h"
#include "win/skin/animations.h"
#include "win/skin/border_form.h"
#include "win/skin/skin_provider.h"

namespace sapala::win::testing {
namespace {

RECT WindowRect(HWND h) {
  RECT r{};
  ::GetWindowRect(h, &r);
  return r;
}

// Where the client area starts, from the window's top-left corner.
POINT ClientOrigin(HWND h) {
  POINT p{0, 0};
  ::ClientToScreen(h, &p);
  const RECT r = WindowRect(h);
  return {p.x - r.left, p.y - r.top};
}

int CompanionWindows() {
  int n = 0;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND h, LPARAM count) -> BOOL {
        wchar_t name[32] = {};
        ::GetClassNameW(h, name, 32);
        if (std::wstring_view(name) == L"TlcBorderForm") ++*reinterpret_cast<int*>(count);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&n));
  return n;
}

class ProviderBordersTest : public SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    InstallDibSections();
    RegisterSkinProvider();
    host_ = &AddForm("Host", "");
    manager_ = &host_->Create<TsSkinManager>();
    manager_->Core().SetSkinDirectory(AssetSkinFolder());
    manager_->Core().SetSkinName("DiruriZedaz");
    ASSERT_TRUE(manager_->SkinActive());
    skin::SetLayeredFrameObserver([this](const skin::LayeredFrame& f) {
      frames_.push_back({f.Window, f.Opacity, f.Bounds, f.Checksum, f.Picture->Clone()});
    });
  }
  void TearDown() override {
    skin::SetLayeredFrameObserver(nullptr);
    TsSkinProvider::OutlineDragHooks() = {};
    SkinTest::TearDown();
  }
  TRecForm& ShowForm(const std::string& name, const std::string& body = "") {
    TRecForm& f = app_->Create<TRecForm>();
    f.LoadDescription("object " + name +
                      ": TRecForm\n  Left = 100\n  Top = 80\n  Caption = 'Sapala'\n"
                      "  ClientWidth = 300\n  ClientHeight = 160\n" +
                      body + "end\n");
    f.CreateHandle();
    f.Show();
    ::SetForegroundWindow(f.WindowHandle());
    app_->ProcessMessages();
    return f;
  }
  static TsSkinProvider& ProviderOf(TForm& f) {
    TsSkinProvider* p = TsSkinProvider::Of(f.WindowHandle());
    EXPECT_NE(p, nullptr);
    return *p;
  }
  // The last picture handed to `window`.
  const graphics::Bitmap* LastPicture(HWND window) const {
    for (auto i = frames_.rbegin(); i != frames_.rend(); ++i) {
      if (i->window == window) return &i->picture;
    }
    return nullptr;
  }
  static std::uint8_t AlphaAt(const graphics::Bitmap& b, int x, int y) {
    return static_cast<std::uint8_t>(b.Row32(y)[x] >> 24);
  }

  struct Frame {
    HWND window;
    int opacity;
    RECT bounds;
    std::uint32_t checksum;
    graphics::Bitmap picture;
  };
  TRecForm* host_ = nullptr;
  TsSkinManager* manager_ = nullptr;
  std::vector<Frame> frames_;
};

TEST_F(ProviderBordersTest, ExtendedBordersComeAndGoWithTheSkinsFrameSizes) {
  TRecForm& f = ShowForm("F");
  HWND hwnd = f.WindowHandle();
  TsSkinProvider& p = ProviderOf(f);
  EXPECT_EQ(p.BorderForm(), nullptr) << "off by default";
  const POINT systemOrigin = ClientOrigin(hwnd);

  manager_->Core().SetExtendedBorders(true);
  app_->ProcessMessages();
  ASSERT_NE(p.BorderForm(), nullptr);
  HWND border = p.BorderWindow();
  // The built-in shadow's margins (no desktop composition here), the skin's frame and title.
  const RECT m = p.BorderMargins();
  EXPECT_EQ(m.left, 11);
  EXPECT_EQ(m.top, 10);
  EXPECT_EQ(m.right, 11);
  EXPECT_EQ(m.bottom, 12);
  EXPECT_EQ(p.FrameWidth(), 4);
  EXPECT_EQ(p.CaptionHeight(), 26);
  const POINT origin = ClientOrigin(hwnd);
  EXPECT_EQ(origin.x, 4);
  EXPECT_EQ(origin.y, 4 + 26);

  // The companion shows the window image, grown by the margins, around and under the form.
  const RECT wr = WindowRect(hwnd);
  const RECT want{wr.left - 11, wr.top - 10, wr.right + 11, wr.bottom + 12};
  const RECT have = WindowRect(border);
  EXPECT_TRUE(::EqualRect(&have, &want));
  EXPECT_TRUE(::IsWindowVisible(border));
  // Under the form once it follows it (Wine's display driver may stack a layered window it has
  // just mapped on top when it syncs with X, whenever that comes).
  p.BorderForm()->Follow();
  EXPECT_EQ(::GetWindow(hwnd, GW_HWNDNEXT), border);
  const graphics::Bitmap* shown = LastPicture(border);
  ASSERT_NE(shown, nullptr);
  graphics::Bitmap* image = p.ComposedImage();
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(skin::PictureChecksum(*shown), skin::PictureChecksum(*image));
  ASSERT_EQ(shown->Width(), want.right - want.left);
  ASSERT_EQ(shown->Height(), want.bottom - want.top);
  // Clear at the outer edge, shadow in the margins, the form itself opaque.
  EXPECT_EQ(AlphaAt(*shown, 0, 0), 0);
  const std::uint8_t shadow = AlphaAt(*shown, 6, shown->Height() / 2);
  EXPECT_GT(shadow, 0);
  EXPECT_LT(shadow, 255);
  EXPECT_EQ(AlphaAt(*shown, 11, 10), 255);
  EXPECT_EQ(AlphaAt(*shown, shown->Width() / 2, shown->Height() / 2), 255);

  // A child asking for its background gets the image with the client's place in it.
  TsBackgroundInfo info;
  ::SendMessageW(hwnd, skin::SM_LUMOCMD, MAKEWPARAM(0, skin::cmdGetBackgroundInfo),
                 reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.Kind, 2);
  EXPECT_EQ(info.Bitmap, image);
  EXPECT_EQ(info.OffsetX, m.left + origin.x);
  EXPECT_EQ(info.OffsetY, m.top + origin.y);

  // The caption buttons are laid out in the image and answered by the form at their place in
  // the window.
  const sapala::skin::CaptionButtonInfo& close = p.Buttons().System[0];
  ASSERT_TRUE(close.Visible);
  EXPECT_GE(close.Rect.top, m.top);
  EXPECT_LE(close.Rect.right, shown->Width() - m.right);
  const int cx = (close.Rect.left + close.Rect.right) / 2 - m.left;
  const int cy = (close.Rect.top + close.Rect.bottom) / 2 - m.top;
  EXPECT_EQ(::SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(wr.left + cx, wr.top + cy)), HTCLOSE);
  // The band around the form sizes it.
  EXPECT_EQ(::SendMessageW(border, WM_NCHITTEST, 0, MAKELPARAM(wr.left - 4, wr.top + 80)), HTLEFT);

  // Switched off: the companion goes and the system's frame sizes are back.
  manager_->Core().SetExtendedBorders(false);
  app_->ProcessMessages();
  EXPECT_EQ(p.BorderForm(), nullptr);
  EXPECT_FALSE(::IsWindow(border));
  const POINT back = ClientOrigin(hwnd);
  EXPECT_EQ(back.x, systemOrigin.x);
  EXPECT_EQ(back.y, systemOrigin.y);
  EXPECT_EQ(p.ComposedImage()->Width(), wr.right - wr.left);
}

TEST_F(ProviderBordersTest, TheCompanionFollowsTheFormAndGoesWithIt) {
  manager_->Core().SetExtendedBorders(true);
  TRecForm& f = ShowForm("F");
  HWND hwnd = f.WindowHandle();
  TsSkinProvider& p = ProviderOf(f);
  ASSERT_NE(p.BorderForm(), nullptr);
  HWND border = p.BorderWindow();
  auto around = [&] {
    const RECT r = WindowRect(hwnd);
    const RECT m = p.BorderMargins();
    return RECT{r.left - m.left, r.top - m.top, r.right + m.right, r.bottom + m.bottom};
  };
  struct Step {
    const char* what;
    std::function<void()> act;
    bool visible;
  };
  const Step steps[] = {
      {"moved", [&] { ::SetWindowPos(hwnd, nullptr, 40, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER); },
       true},
      {"sized", [&] { ::SetWindowPos(hwnd, nullptr, 0, 0, 380, 260, SWP_NOMOVE | SWP_NOZORDER); },
       true},
      {"minimized", [&] { ::ShowWindow(hwnd, SW_MINIMIZE); }, false},
      {"restored", [&] { ::ShowWindow(hwnd, SW_RESTORE); }, true},
      {"hidden", [&] { f.Hide(); }, false},
      {"shown", [&] { f.Show(); }, true},
  };
  for (const Step& s : steps) {
    s.act();
    app_->ProcessMessages();
    EXPECT_EQ(::IsWindowVisible(border) != FALSE, s.visible) << s.what;
    if (!s.visible) continue;
    const RECT want = around();
    const RECT have = WindowRect(border);
    EXPECT_TRUE(::EqualRect(&have, &want))
        << s.what << ": have " << have.left << "," << have.top << "," << have.right << ","
        << have.bottom << " want " << want.left << "," << want.top << "," << want.right << ","
        << want.bottom;
    const graphics::Bitmap* shown = LastPicture(border);
    ASSERT_NE(shown, nullptr) << s.what;
    EXPECT_EQ(shown->Width(), want.right - want.left) << s.what;
  }

  // Deactivated, the companion shows the inactive look.
  const std::uint32_t active = skin::PictureChecksum(*LastPicture(border));
  TRecForm& other = ShowForm("Other");
  (void)other;
  EXPECT_FALSE(p.FormActive());
  EXPECT_NE(skin::PictureChecksum(*LastPicture(border)), active);

  app_->Extract(&f).reset();
  EXPECT_FALSE(::IsWindow(border));
}

TEST_F(ProviderBordersTest, OnlyTopLevelFormsWithABorderAndTheirConsentGetACompanion) {
  manager_->Core().SetExtendedBorders(true);
  TRecForm& plain = ShowForm("Plain", "  BorderStyle = bsNone\n");
  const TsSkinProvider* none = TsSkinProvider::Of(plain.WindowHandle());
  EXPECT_TRUE(!none || !none->BorderForm());
  EXPECT_EQ(CompanionWindows(), 0);
  TRecForm& f = ShowForm("F");
  TsSkinProvider& p = ProviderOf(f);
  ASSERT_NE(p.BorderForm(), nullptr);
  // The form declines: gone at the next refresh.
  p.AllowExtBorders = false;
  manager_->RepaintAll(false, false);
  EXPECT_EQ(p.BorderForm(), nullptr);
  p.AllowExtBorders = true;
  manager_->RepaintAll(false, false);
  EXPECT_NE(p.BorderForm(), nullptr);
  // The skin goes and comes back.
  manager_->Core().SetActive(false);
  EXPECT_EQ(p.BorderForm(), nullptr);
  EXPECT_EQ(CompanionWindows(), 0);
  manager_->Core().SetActive(true);
  app_->ProcessMessages();
  EXPECT_NE(p.BorderForm(), nullptr);
  EXPECT_EQ(CompanionWindows(), 1);
}

TEST_F(ProviderBordersTest, FormsAndSkinsComeAndGoWithoutACompanionLeftBehind) {
  manager_->Core().SetExtendedBorders(true);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 100; ++i) {
    TRecForm& f = ShowForm("Cycle");
    ASSERT_NE(ProviderOf(f).BorderForm(), nullptr) << i;
    if (i % 10 == 0) {
      manager_->Core().SetActive(false);
      manager_->Core().SetActive(true);
      app_->ProcessMessages();
      ASSERT_NE(ProviderOf(f).BorderForm(), nullptr) << i;
    }
    app_->Extract(&f).reset();
    ASSERT_EQ(CompanionWindows(), 0) << i;
  }
  std::printf("100 extended-border form cycles with 10 skin switches: %lld ms\n",
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now() - start)
                                         .count()));
}

TEST_F(ProviderBordersTest, TheShowAndHideAnimationsPlayInTheCompanion) {
  manager_->Core().SetExtendedBorders(true);
  auto& effects = manager_->Core().AnimEffects;
  effects.FormShow.Time = effects.FormHide.Time = 36;
  effects.FormShow.Mode = effects.FormHide.Mode = sapala::skin::TlcAnimType::atFading;
  TRecForm& f = ShowForm("F");
  TsSkinProvider& p = ProviderOf(f);
  HWND border = p.BorderWindow();
  ASSERT_NE(border, nullptr);
  auto framesOf = [&](HWND w) {
    return std::count_if(frames_.begin(), frames_.end(),
                         [w](const Frame& x) { return x.window == w; });
  };
  EXPECT_GT(framesOf(border), 2) << "the showing fades in the companion";
  EXPECT_TRUE(::IsWindowVisible(border));

  // The hide takes the companion with the last picture and frees it at the end.
  frames_.clear();
  f.Hide();
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  while (skin::HideTimer() && skin::HideTimer()->Running() &&
         std::chrono::steady_clock::now() < until) {
    app_->ProcessMessages();
    ::Sleep(1);
  }
  EXPECT_GT(framesOf(border), 2) << "the hiding fades out in the companion";
  EXPECT_EQ(p.BorderForm(), nullptr);
  EXPECT_FALSE(::IsWindow(border));

  // Shown again, the form has its extended borders again.
  effects.FormShow.Time = effects.FormHide.Time = 0;
  f.Show();
  app_->ProcessMessages();
  ASSERT_NE(p.BorderForm(), nullptr);
  EXPECT_TRUE(::IsWindowVisible(p.BorderWindow()));
  // Its place: around the form.
  const RECT wr = WindowRect(f.WindowHandle()), br = WindowRect(p.BorderWindow());
  const RECT m = p.BorderMargins();
  EXPECT_EQ(br.left, wr.left - m.left);
  EXPECT_EQ(br.bottom, wr.bottom + m.bottom);
}

// --- Outline drag ---

class OutlineDragTest : public ProviderBordersTest {
 protected:
  void SetUp() override {
    ProviderBordersTest::SetUp();
    ::SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &full_drag_, 0);
    ::SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
    TsSkinProvider::OutlineDragHooks().onOutline = [this](const RECT& r) {
      outlines_.push_back(r);
      during_.push_back(WindowRect(form_));
    };
  }
  void TearDown() override {
    ::SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, full_drag_, nullptr, 0);
    ProviderBordersTest::TearDown();
  }
  TRecForm& DragForm() {
    TRecForm& f = ShowForm("F");
    form_ = f.WindowHandle();
    ProviderOf(f).ResizeMode = TsResizeMode::rmBorder;
    return f;
  }
  // A press at a window point, then the posted messages, all run by the drag's own loop.
  void Drag(POINT windowPoint, const std::vector<MSG>& then) {
    const RECT r = WindowRect(form_);
    const LPARAM at = MAKELPARAM(r.left + windowPoint.x, r.top + windowPoint.y);
    const auto code = static_cast<WPARAM>(::SendMessageW(form_, WM_NCHITTEST, 0, at));
    ::PostMessageW(form_, WM_NCLBUTTONDOWN, code, at);
    for (const MSG& m : then) ::PostMessageW(form_, m.message, m.wParam, m.lParam);
    app_->ProcessMessages();
  }
  // A client mouse message at a screen point.
  MSG Mouse(UINT msg, POINT screen) const {
    POINT c = screen;
    ::ScreenToClient(form_, &c);
    return MSG{form_, msg, 0, MAKELPARAM(c.x, c.y), 0, {}};
  }

  HWND form_ = nullptr;
  BOOL full_drag_ = FALSE;
  std::vector<RECT> outlines_, during_;
};

TEST_F(OutlineDragTest, TheCaptionMovesAnOutlineAndTheWindowFollowsOnceOnRelease) {
  DragForm();
  const RECT start = WindowRect(form_);
  const POINT press{start.left + 60, start.top + 10};
  Drag({60, 10}, {Mouse(WM_MOUSEMOVE, {press.x + 15, press.y + 5}),
                  Mouse(WM_MOUSEMOVE, {press.x + 40, press.y - 20}),
                  Mouse(WM_LBUTTONUP, {press.x + 40, press.y - 20})});
  ASSERT_EQ(outlines_.size(), 3u);
  const RECT second{start.left + 15, start.top + 5, start.right + 15, start.bottom + 5};
  EXPECT_TRUE(::EqualRect(&outlines_[0], &start));
  EXPECT_TRUE(::EqualRect(&outlines_[1], &second));
  for (const RECT& r : during_) EXPECT_TRUE(::EqualRect(&r, &start)) << "moved while dragging";
  const RECT end = WindowRect(form_);
  const RECT want{start.left + 40, start.top - 20, start.right + 40, start.bottom - 20};
  EXPECT_TRUE(::EqualRect(&end, &want));
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(OutlineDragTest, EscapeCancelsAndAReleaseOutsideTheWindowEndsTheDrag) {
  DragForm();
  const RECT start = WindowRect(form_);
  const POINT press{start.left + 60, start.top + 10};
  MSG escape{form_, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
  Drag({60, 10}, {Mouse(WM_MOUSEMOVE, {press.x + 30, press.y + 30}), escape,
                  Mouse(WM_LBUTTONUP, {press.x + 30, press.y + 30})});
  RECT now = WindowRect(form_);
  EXPECT_TRUE(::EqualRect(&now, &start)) << "cancelled";
  EXPECT_EQ(::GetCapture(), nullptr);

  // Released over the frame of nothing in particular (a non-client release far away).
  outlines_.clear();
  const POINT away{press.x + 200, press.y + 150};
  Drag({60, 10}, {MSG{form_, WM_NCLBUTTONUP, HTNOWHERE, MAKELPARAM(away.x, away.y), 0, {}}});
  now = WindowRect(form_);
  const RECT want{start.left + 200, start.top + 150, start.right + 200, start.bottom + 150};
  EXPECT_TRUE(::EqualRect(&now, &want));
}

TEST_F(OutlineDragTest, ABorderSizesFromItsEdgeAndNeverBelowTheTrackMinimum) {
  DragForm();
  const RECT start = WindowRect(form_);
  const int w = start.right - start.left, h = start.bottom - start.top;
  // The right border, dragged 50 pixels out.
  const POINT right{start.right - 1, start.top + h / 2};
  Drag({w - 1, h / 2}, {Mouse(WM_MOUSEMOVE, {right.x + 50, right.y + 9}),
                        Mouse(WM_LBUTTONUP, {right.x + 50, right.y + 9})});
  RECT now = WindowRect(form_);
  EXPECT_EQ(now.left, start.left);
  EXPECT_EQ(now.top, start.top);
  EXPECT_EQ(now.bottom, start.bottom);
  EXPECT_EQ(now.right, start.right + 50);
  // The left border dragged far past the right one: the window keeps its minimum width.
  const RECT before = now;
  const POINT left{before.left, before.top + h / 2};
  Drag({0, h / 2}, {Mouse(WM_MOUSEMOVE, {left.x + 2000, left.y}),
                    Mouse(WM_LBUTTONUP, {left.x + 2000, left.y})});
  now = WindowRect(form_);
  EXPECT_EQ(now.right, before.right);
  EXPECT_EQ(now.right - now.left, ::GetSystemMetrics(SM_CXMINTRACK));
}

}  // namespace
}  // namespace sapala::win::testing

namespace sapala::win::testing {
namespace {

// With extended borders the band around the form is the companion's: a press there sizes the
// form by the outline as well.
TEST_F(OutlineDragTest, TheCompanionsBandSizesByTheOutlineToo) {
  manager_->Core().SetExtendedBorders(true);
  DragForm();
  TsSkinProvider& p = *TsSkinProvider::Of(form_);
  ASSERT_NE(p.BorderWindow(), nullptr);
  const RECT start = WindowRect(form_);
  const POINT band{start.left + 40, start.bottom + 5};
  ASSERT_EQ(::SendMessageW(p.BorderWindow(), WM_NCHITTEST, 0, MAKELPARAM(band.x, band.y)),
            HTBOTTOM);
  ::PostMessageW(form_, Mouse(WM_MOUSEMOVE, {band.x, band.y + 30}).message, 0,
                 Mouse(WM_MOUSEMOVE, {band.x, band.y + 30}).lParam);
  ::PostMessageW(form_, WM_LBUTTONUP, 0, Mouse(WM_LBUTTONUP, {band.x, band.y + 30}).lParam);
  ::SendMessageW(p.BorderWindow(), WM_NCLBUTTONDOWN, HTBOTTOM, MAKELPARAM(band.x, band.y));
  EXPECT_FALSE(outlines_.empty());
  const RECT now = WindowRect(form_);
  EXPECT_EQ(now.top, start.top);
  EXPECT_EQ(now.bottom, start.bottom + 30);
}

}  // namespace
}  // namespace sapala::win::testing
