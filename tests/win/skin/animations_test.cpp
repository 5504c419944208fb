// Window animations on real forms under Wine. Xvfb does not composite layered windows, so the
// tests read what was handed to UpdateLayeredWindow (through the frame observer), the windows'
// state and the handle census, never screen pixels.
#include "win/skin/animations.h"

#include <algorithm>
#include <chrono>

#include "core/graphics/pixels.h"
#include "skin_fixture.h"
#include "win/framework/dib.h"

namespace sapala::win::testing {
namespace {

using sapala::skin::TlcAnimType;
using skin::AnimatedForm;
using skin::LayeredFrame;
using skin::TlcAnimEvent;

// A provider of the test's own over a real form: its window image is a plain blue picture of
// the window's size.
class TestProvider : public AnimatedForm {
 public:
  TestProvider(TForm& form, TsSkinManager& manager) : form_(form), manager_(manager) {}
  TForm& Form() noexcept override { return form_; }
  TsSkinManager& Manager() noexcept override { return manager_; }
  HWND FormWindow() const noexcept override { return form_.WindowHandle(); }
  graphics::Bitmap* WindowImage() noexcept override {
    if (!withImage) return nullptr;
    if (border) return &image;
    RECT r{};
    ::GetWindowRect(form_.WindowHandle(), &r);
    if (image.Width() != r.right - r.left || image.Height() != r.bottom - r.top) {
      image = graphics::NewBitmap32(r.right - r.left, r.bottom - r.top);
      graphics::FillBitmapRect(image, image.Bounds(), 0xCC6633);
    }
    return &image;
  }
  void InvalidateWindowImage() noexcept override {}
  unsigned FormState() const noexcept override { return state; }
  void SetFormState(unsigned s) noexcept override { state = s; }
  void AfterAnimation(TlcAnimEvent e) override { events.push_back(e); }
  void ShownAtOpacity(int opacity) noexcept override { shownAt = opacity; }

  // Extended borders: a companion window `margin` pixels larger on every side, with a picture
  // of its own.
  HWND BorderWindow() const noexcept override { return border.get(); }
  RECT BorderMargins() const noexcept override { return {margin, margin, margin, margin}; }
  Window ReleaseBorderWindow() noexcept override { return std::move(border); }
  graphics::Bitmap BorderWindowPicture() override { return borderPicture.Clone(); }
  void BorderWindowRestored() noexcept override { ++restored; }
  void MakeBorder(int m) {
    margin = m;
    RECT r{};
    ::GetWindowRect(form_.WindowHandle(), &r);
    border = skin::CreateAnimationWindow(true);
    ::SetWindowPos(border.get(), nullptr, r.left - m, r.top - m, r.right - r.left + 2 * m,
                   r.bottom - r.top + 2 * m, SWP_NOACTIVATE | SWP_NOZORDER);
    borderPicture = graphics::NewBitmap32(r.right - r.left + 2 * m, r.bottom - r.top + 2 * m);
    graphics::FillBitmapRect(borderPicture, borderPicture.Bounds(), 0x123456);
    image = borderPicture.Clone();  // the cache of a form with extended borders: their size
  }

  bool withImage = true;
  int shownAt = -1;
  int margin = 0, restored = 0;
  Window border;
  graphics::Bitmap borderPicture;
  graphics::Bitmap image;
  unsigned state = 0;
  std::vector<TlcAnimEvent> events;

 private:
  TForm& form_;
  TsSkinManager& manager_;
};

struct Seen {
  LayeredFrame frame;
  bool locked;
  graphics::Bitmap picture;
};

class AnimationsTest : public SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    skin::SetLayeredFrameObserver([this](const LayeredFrame& f) {
      seen_.push_back(
          {f, skin::AnimationLock(), keepPictures_ ? f.Picture->Clone() : graphics::Bitmap()});
    });
  }
  void TearDown() override {
    skin::SetLayeredFrameObserver(nullptr);
    SkinTest::TearDown();
  }
  // Pumps messages until the hide animation has ended (at most 3 s).
  void WaitForHide() {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (skin::HideTimer() && skin::HideTimer()->Running() &&
           std::chrono::steady_clock::now() < until) {
      app_->ProcessMessages();
      ::Sleep(1);
    }
    ASSERT_FALSE(skin::HideTimer() && skin::HideTimer()->Running()) << "the hide did not end";
  }
  // A layered window at (100, 100) and a picture for it, 80 × 64.
  static Window HideWindow() {
    Window w = skin::CreateAnimationWindow(false);
    ::SetWindowPos(w.get(), nullptr, 100, 100, 80, 64, SWP_NOACTIVATE | SWP_NOZORDER);
    return w;
  }
  static graphics::Bitmap HidePicture() {
    graphics::Bitmap b = graphics::NewBitmap32(80, 64);
    graphics::FillBitmapRect(b, b.Bounds(), 0x00FF00);
    return b;
  }
  static RECT WindowRect(HWND h) {
    RECT r{};
    ::GetWindowRect(h, &r);
    return r;
  }

  std::vector<Seen> seen_;
  bool keepPictures_ = false;
};

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(AnimationsTest, ShowDrawsOneFramePerStepAndThenPutsTheFormInPlace) {
  struct Case {
    int time, target;
    std::size_t frames;  // pictures handed over: the first at 0, N + 1 steps, the last
  } cases[] = {{0, 255, 0}, {11, 255, 0}, {12, 255, 4}, {120, 255, 13}, {120, 200, 13}};
  for (const Case& c : cases) {
    SCOPED_TRACE("time " + std::to_string(c.time) + " target " + std::to_string(c.target));
    TRecForm& f = AddForm("F" + std::to_string(c.time) + "_" + std::to_string(c.target), "");
    TestProvider p(f, app_->Create<TsSkinManager>());
    seen_.clear();
    skin::ShowFormAnimated(p, c.time, c.target, TlcAnimType::atFading);
    ASSERT_EQ(seen_.size(), c.frames);
    EXPECT_TRUE(::IsWindowVisible(f.WindowHandle()));
    EXPECT_EQ(p.state, 0u);
    EXPECT_FALSE(skin::AnimationLock());
    EXPECT_EQ(p.events, std::vector<TlcAnimEvent>{TlcAnimEvent::aeShowing});
    EXPECT_EQ(p.shownAt, c.target);
    if (c.frames == 0) continue;
    EXPECT_EQ(seen_.front().frame.Opacity, 0);
    EXPECT_EQ(seen_.back().frame.Opacity, c.target);
    EXPECT_EQ(seen_[seen_.size() - 2].frame.Opacity, c.target);  // the last step reaches it
    for (const Seen& s : seen_) {
      EXPECT_TRUE(s.locked);
      EXPECT_TRUE(SameRect(s.frame.Bounds, WindowRect(f.WindowHandle())));
      EXPECT_EQ(s.frame.Checksum, seen_.front().frame.Checksum);  // fading: the whole picture
    }
    EXPECT_FALSE(::IsWindow(seen_.front().frame.Window)) << "the layered window is freed";
  }
}

TEST_F(AnimationsTest, ShowWithoutWindowImageOnlyShowsTheForm) {
  TRecForm& f = AddForm("F", "");
  TestProvider p(f, app_->Create<TsSkinManager>());
  p.withImage = false;
  skin::ShowFormAnimated(p, 120, 255, TlcAnimType::atAero);
  EXPECT_TRUE(seen_.empty());
  EXPECT_TRUE(::IsWindowVisible(f.WindowHandle()));
  EXPECT_FALSE(skin::AnimationLock());
}

TEST_F(AnimationsTest, AeroShowStartsAtThreeQuartersCentred) {
  TRecForm& f = AddForm("F", "");
  TestProvider p(f, app_->Create<TsSkinManager>());
  keepPictures_ = true;
  skin::ShowFormAnimated(p, 120, 255, TlcAnimType::atAero);
  ASSERT_EQ(seen_.size(), 13u);
  const graphics::Bitmap& first = seen_[1].picture;  // the first step
  const int w = first.Width(), h = first.Height();
  const int l = sapala::skin::RoundHalfEven(w / 8.0), r = sapala::skin::RoundHalfEven(w - w / 8.0);
  const int t = sapala::skin::RoundHalfEven(h / 8.0), b = sapala::skin::RoundHalfEven(h - h / 8.0);
  auto alpha = [&](int x, int y) { return first.PixelWord(x, y) >> 24; };
  EXPECT_EQ(alpha(l - 1, h / 2), 0u);
  EXPECT_EQ(alpha(l, h / 2), 255u);
  EXPECT_EQ(alpha(r - 1, h / 2), 255u);
  EXPECT_EQ(alpha(r, h / 2), 0u);
  EXPECT_EQ(alpha(w / 2, t - 1), 0u);
  EXPECT_EQ(alpha(w / 2, t), 255u);
  EXPECT_EQ(alpha(w / 2, b - 1), 255u);
  EXPECT_EQ(alpha(w / 2, b), 0u);
  // The last picture is the whole form.
  const graphics::Bitmap& last = seen_.back().picture;
  EXPECT_EQ(last.PixelWord(0, 0) >> 24, 255u);
  EXPECT_EQ(last.PixelWord(w - 1, h - 1) >> 24, 255u);
}

TEST_F(AnimationsTest, HideShowsNPlusOneStepsAndFreesWindowAndPicture) {
  struct Case {
    int time;
    TlcAnimType mode;
    std::size_t frames;  // the start picture, then N + 1 steps
  } cases[] = {{0, TlcAnimType::atFading, 0},
               {11, TlcAnimType::atAero, 0},
               {120, TlcAnimType::atFading, 12},
               {120, TlcAnimType::atAero, 12}};
  for (const Case& c : cases) {
    SCOPED_TRACE("time " + std::to_string(c.time));
    seen_.clear();
    Window w = HideWindow();
    const HWND hwnd = w.get();
    skin::StartHideAnimation(std::move(w), HidePicture(), c.time, c.mode, 255);
    if (c.frames == 0) {
      EXPECT_FALSE(::IsWindow(hwnd)) << "no animation: the window goes at once";
      EXPECT_TRUE(seen_.empty());
      continue;
    }
    WaitForHide();
    ASSERT_EQ(seen_.size(), c.frames);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(seen_.front().frame.Opacity, 255);
    EXPECT_EQ(seen_.back().frame.Opacity, 0);
    for (const Seen& s : seen_) {
      EXPECT_TRUE(s.frame.ColorKey);
      EXPECT_EQ(s.frame.Window, hwnd);
    }
    EXPECT_EQ(skin::HideTimer()->StepIndex(), 11);
  }
}

TEST_F(AnimationsTest, AeroHideMovesEverySideInwardByAnEighth) {
  keepPictures_ = true;
  skin::StartHideAnimation(HideWindow(), HidePicture(), 120, TlcAnimType::atAero, 255);
  WaitForHide();
  ASSERT_EQ(seen_.size(), 12u);
  const graphics::Bitmap& last = seen_.back().picture;  // 80 × 64: an eighth is 10 and 8
  auto alpha = [&](int x, int y) { return last.PixelWord(x, y) >> 24; };
  EXPECT_EQ(alpha(9, 32), 0u);
  EXPECT_EQ(alpha(10, 32), 255u);
  EXPECT_EQ(alpha(69, 32), 255u);
  EXPECT_EQ(alpha(70, 32), 0u);
  EXPECT_EQ(alpha(40, 7), 0u);
  EXPECT_EQ(alpha(40, 8), 255u);
  EXPECT_EQ(alpha(40, 55), 255u);
  EXPECT_EQ(alpha(40, 56), 0u);
}

TEST_F(AnimationsTest, ANewHideFreesTheEarlierWindowAtOnce) {
  HandleCensus census;
  Window first = HideWindow();
  const HWND a = first.get();
  skin::StartHideAnimation(std::move(first), HidePicture(), 1200, TlcAnimType::atFading, 255);
  ASSERT_TRUE(::IsWindow(a));
  Window second = HideWindow();
  const HWND b = second.get();
  skin::StartHideAnimation(std::move(second), HidePicture(), 120, TlcAnimType::atFading, 255);
  EXPECT_FALSE(::IsWindow(a));
  EXPECT_TRUE(::IsWindow(b));
  WaitForHide();
  EXPECT_FALSE(::IsWindow(b));
  // A hide without animation ends the running one too.
  Window third = HideWindow();
  const HWND c = third.get();
  skin::StartHideAnimation(std::move(third), HidePicture(), 1200, TlcAnimType::atFading, 255);
  skin::StartHideAnimation(HideWindow(), HidePicture(), 0, TlcAnimType::atFading, 255);
  EXPECT_FALSE(::IsWindow(c));
  EXPECT_FALSE(skin::HideTimer()->Running());
  EXPECT_EQ(census.Difference(), "");
}

TEST_F(AnimationsTest, WhileTheApplicationEndsTheHideRunsAtOnce) {
  app_->Terminate();
  Window w = HideWindow();
  const HWND hwnd = w.get();
  skin::StartHideAnimation(std::move(w), HidePicture(), 120, TlcAnimType::atFading, 255);
  EXPECT_EQ(seen_.size(), 12u);
  EXPECT_FALSE(::IsWindow(hwnd));
  MSG m;
  ::PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

TEST_F(AnimationsTest, HideFormCapturesTheWindowImageAtTheFormsPlace) {
  TRecForm& f = AddForm("F", "", true);
  auto& manager = app_->Create<TsSkinManager>();
  manager.Core().AnimEffects.FormHide.Time = 36;
  manager.Core().AnimEffects.FormHide.Mode = TlcAnimType::atFading;
  TestProvider p(f, manager);
  skin::HideFormAnimated(p);
  EXPECT_FALSE(skin::AnimationLock());
  WaitForHide();
  ASSERT_EQ(seen_.size(), 5u);
  EXPECT_TRUE(seen_.front().locked) << "the capture runs under the lock";
  EXPECT_TRUE(SameRect(seen_.front().frame.Bounds, WindowRect(f.WindowHandle())));
  EXPECT_EQ(seen_.front().frame.Checksum, skin::PictureChecksum(p.image));
}

// With extended borders the border window shows the animation: the show borrows it at the
// form's place widened by the margins and hands it back; the hide takes it over with its picture.
TEST_F(AnimationsTest, ExtendedBordersLendTheirWindow) {
  TRecForm& f = AddForm("F", "", true);
  auto& manager = app_->Create<TsSkinManager>();
  manager.Core().AnimEffects.FormHide.Time = 24;
  TestProvider p(f, manager);
  p.MakeBorder(7);
  const HWND border = p.BorderWindow();
  RECT want = WindowRect(f.WindowHandle());
  ::InflateRect(&want, 7, 7);

  skin::ShowFormAnimated(p, 24, 255, TlcAnimType::atFading);
  ASSERT_EQ(seen_.size(), 5u);
  for (const Seen& s : seen_) {
    EXPECT_EQ(s.frame.Window, border);
    EXPECT_TRUE(SameRect(s.frame.Bounds, want));
  }
  EXPECT_TRUE(::IsWindow(border)) << "the provider keeps its border window";
  EXPECT_EQ(p.restored, 1);

  seen_.clear();
  skin::HideFormAnimated(p);
  EXPECT_EQ(p.BorderWindow(), nullptr) << "taken over by the hide";
  WaitForHide();
  ASSERT_EQ(seen_.size(), 4u);
  EXPECT_EQ(seen_.front().frame.Window, border);
  EXPECT_EQ(seen_.front().frame.Checksum, skin::PictureChecksum(p.borderPicture));
  EXPECT_FALSE(::IsWindow(border));
}

TEST_F(AnimationsTest, HundredShowHideCyclesLeaveNoHandle) {
  TRecForm& f = AddForm("F", "", true);
  auto& manager = app_->Create<TsSkinManager>();
  manager.Core().AnimEffects.FormHide.Time = 12;
  TestProvider p(f, manager);
  p.WindowImage();
  HandleCensus census;
  for (int i = 0; i < 100; ++i) {
    skin::ShowFormAnimated(p, 12, 255, TlcAnimType::atAero);
    skin::HideFormAnimated(p);
    WaitForHide();
  }
  // A hide still running when the engine stops is freed with it.
  skin::HideFormAnimated(p);
  skin::ShutDownHideAnimation();
  EXPECT_EQ(census.Difference(), "");
  EXPECT_EQ(seen_.size(), 100u * (4 + 3) + 2);
}

// A snapshot has every window's pixels at its place: the form's client area, a child, the
// child's own child, and a skinned child that prints itself between print-target commands.
TEST_F(AnimationsTest, SnapshotPutsChildrenAtTheirPlaces) {
  TRecForm& f = AddForm("F", R"(  object Outer: TRecWin
    Left = 10
    Top = 20
    Width = 100
    Height = 60
    Color = clRed
    object Inner: TRecWin
      Left = 30
      Top = 10
      Width = 20
      Height = 20
      Color = clBlue
    end
  end
  object Printed: TRecWin
    Left = 150
    Top = 50
    Width = 30
    Height = 30
    Color = clLime
    Skinned = True
  end
)",
                        true);
  const RECT wr = WindowRect(f.WindowHandle());
  const int w = wr.right - wr.left + 10, h = wr.bottom - wr.top + 10;
  // Into heap memory, into a DIB section (selected directly), and of a form whose redraw is
  // off (as while a skin change or a show takes its picture).
  for (int run = 0; run < 3; ++run) {
    const bool section = run == 1;
    SCOPED_TRACE(run);
    if (run == 2) ::SendMessageW(f.WindowHandle(), WM_SETREDRAW, FALSE, 0);
    graphics::Bitmap b =
        section ? graphics::Bitmap::Adopt(MakeDibBuffer(w, h, graphics::PixelFormat::pf32bit), w, h,
                                          graphics::PixelFormat::pf32bit)
                : graphics::NewBitmap32(w, h);
    ASSERT_EQ(DibHandle(b) != nullptr, section);
    Log().clear();
    skin::SnapshotWindow(b, f, 5, 5, nullptr);
    const RECT c = skin::ClientRectInWindow(f.WindowHandle());
    auto rgb = [&](int x, int y) { return b.PixelWord(5 + c.left + x, 5 + c.top + y) & 0xFFFFFF; };
    struct Probe {
      int x, y;
      std::uint32_t want;  // 0xRRGGBB
    } probes[] = {{2, 2, 0xFFFFFF},    {12, 22, 0xFF0000},  {45, 35, 0x0000FF},
                  {39, 29, 0xFF0000},  {61, 31, 0xFF0000},  {109, 79, 0xFF0000},
                  {110, 80, 0xFFFFFF}, {165, 65, 0x00FF00}, {195, 115, 0xFFFFFF}};
    for (std::size_t i = 0; i < std::size(probes); ++i) {
      EXPECT_EQ(rgb(probes[i].x, probes[i].y), probes[i].want)
          << "case " << i << " at " << probes[i].x << "," << probes[i].y;
    }
    EXPECT_EQ(b.PixelWord(2, 2), 0u) << "outside the window nothing is drawn";
    EXPECT_EQ(Log(), (std::vector<std::string>{"Printed:38", "Printed:38"}));
  }
  ::SendMessageW(f.WindowHandle(), WM_SETREDRAW, TRUE, 0);
}

TEST_F(AnimationsTest, SmallQueries) {
  TRecForm& f = AddForm("F", R"(  object Outer: TRecWin
    Left = 10
    Top = 20
    Width = 100
    Height = 60
    object Inner: TRecWin
      Width = 20
      Height = 20
    end
  end
  object Dot: TRecDot
    Width = 5
    Height = 5
  end
)");
  auto& outer = Get<TRecWin>(f, "Outer");
  auto& inner = Get<TRecWin>(f, "Inner");
  EXPECT_EQ(skin::ParentFormOf(&inner), &f);
  EXPECT_EQ(skin::ParentFormOf(app_.get()), nullptr);
  EXPECT_EQ(skin::TopLevelWindowOf(inner.WindowHandle()), f.WindowHandle());
  EXPECT_EQ(skin::TopLevelWindowOf(f.WindowHandle()), f.WindowHandle());

  const RECT c = skin::ClientRectInWindow(f.WindowHandle());
  POINT origin{0, 0};
  ::ClientToScreen(f.WindowHandle(), &origin);
  const RECT wr = WindowRect(f.WindowHandle());
  EXPECT_EQ(c.left, origin.x - wr.left);
  EXPECT_EQ(c.top, origin.y - wr.top);
  EXPECT_EQ(c.right - c.left, 200);
  EXPECT_EQ(c.bottom - c.top, 120);

  Log().clear();
  skin::SendLumoCommand(inner, skin::cmdRefresh, 0);
  skin::SendLumoCommand(Get<TRecDot>(f, "Dot"), skin::cmdRefresh, 0);
  skin::BroadcastToChildWindows(f.WindowHandle(),
                                skin::Lumo{skin::SM_LUMOCMD, MAKEWPARAM(0, skin::cmdNewSkin), 0});
  EXPECT_EQ(Log(), (std::vector<std::string>{"Inner:3", "Dot:3", "Outer:1"}))
      << "grandchildren are not sent to";
  outer.DestroyHandle();
  EXPECT_EQ(skin::SendLumoCommand(outer, skin::cmdIsSkinned, 0), 0);
}

}  // namespace
}  // namespace sapala::win::testing
