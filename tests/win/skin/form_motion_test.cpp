// The motion effects on a real form: the frames and pictures a minimize and a restore hand to
// UpdateLayeredWindow, the layered state around them and around a move, the preview answers,
// and the handle census over many animations.
#include "win/skin/form_motion.h"

#include <optional>

#include "motion_fixture.h"
#include "win/skin/app_hook.h"
#include "win/skin/plug_ins.h"
#include "win/skin/taskbar_button.h"

namespace sapala::win::testing {
namespace {

using namespace std::chrono_literals;
using sapala::skin::MinimizeFrame;

struct Frame {
  RECT rect;
  int opacity;
  int width, height;                   // of the picture handed over
  std::uint32_t topLeft, bottomRight;  // its corner pixels
};

graphics::Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// A picture of four coloured quarters, so a stretched frame shows whether it is the whole
// picture the right way round.
graphics::Bitmap Quarters(int w, int h) {
  graphics::Bitmap b(w, h, graphics::PixelFormat::pf32bit);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const bool right = x >= w / 2, bottom = y >= h / 2;
      b.Row32(y)[x] =
          bottom ? (right ? 0x000000FFu : 0x0000FF00u) : (right ? 0x00FF0000u : 0x00FFFF00u);
    }
  }
  return b;
}

class FormMotionTest : public SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    form_ = &AddForm("F", "", true);
    manager_ = &form_->Create<TsSkinManager>();
    animated_.emplace(*form_, *manager_);
    skin::SetLayeredFrameSink([this](HWND, const graphics::Bitmap& p, RECT r, int opacity) {
      Frame f{r, opacity, p.Width(), p.Height(), 0, 0};
      if (!p.Empty()) {
        f.topLeft = p.Row32(0)[0] & 0xFFFFFFu;
        f.bottomRight = p.Row32(p.Height() - 1)[p.Width() - 1] & 0xFFFFFFu;
      }
      frames_.push_back(f);
    });
  }
  void TearDown() override {
    skin::PlugIns() = skin::SkinPlugIns{};
    skin::SetLayeredFrameSink(nullptr);
    skin::SetMoveTickSink(nullptr);
    skin::EndFormMotion(*animated_);
    animated_.reset();
    SkinTest::TearDown();
  }
  HWND Hwnd() const { return form_->WindowHandle(); }
  bool WaitForMotion() {
    return PumpUntil(
        *app_, [&] { return !skin::MotionRunning(*animated_); }, 3s);
  }
  // The recorded frames (after the first `skip`) against the expected ones.
  void ExpectFrames(const std::vector<MinimizeFrame>& want, std::size_t skip) {
    ASSERT_EQ(frames_.size(), want.size() + skip);
    for (std::size_t i = 0; i < want.size(); ++i) {
      const Frame& have = frames_[i + skip];
      EXPECT_EQ(ToRect(have.rect), want[i].Rect) << "frame " << i;
      EXPECT_EQ(have.opacity, want[i].Opacity) << "frame " << i;
      EXPECT_EQ(have.width, want[i].Rect.width()) << "frame " << i;
      EXPECT_EQ(have.height, want[i].Rect.height()) << "frame " << i;
      if (have.width > 0) {
        EXPECT_EQ(have.topLeft, 0xFFFF00u) << "frame " << i;
        EXPECT_EQ(have.bottomRight, 0x0000FFu) << "frame " << i;
      }
    }
  }

  TRecForm* form_ = nullptr;
  TsSkinManager* manager_ = nullptr;
  std::optional<TestAnimatedForm> animated_;
  std::vector<Frame> frames_;
};

TEST_F(FormMotionTest, MinimizeShrinksThePictureIntoTheTargetAndRestoreGrowsItBack) {
  manager_->Core().AnimEffects.Minimizing.Time = 60;  // 4 steps
  animated_->image = Quarters(40, 30);
  RECT start{};
  ::GetWindowRect(Hwnd(), &start);
  const RECT target = skin::MinimizeTarget(::GetAncestor(Hwnd(), GA_ROOTOWNER), start);

  ASSERT_TRUE(skin::StartMinimizeAnimation(*animated_));
  // The form waits, layered and transparent, while its picture moves.
  EXPECT_TRUE(ExStyle(Hwnd()) & WS_EX_LAYERED);
  EXPECT_EQ(LayeredAlpha(Hwnd()), 0);
  ASSERT_TRUE(WaitForMotion());
  ASSERT_FALSE(frames_.empty());
  // First the picture where the window stood, then the four steps.
  EXPECT_EQ(ToRect(frames_[0].rect), ToRect(start));
  EXPECT_EQ(frames_[0].opacity, 255);
  ExpectFrames(sapala::skin::MinimizeFrames(ToRect(start), ToRect(target), 255, 60), 1);
  ::ShowWindow(Hwnd(), SW_MINIMIZE);
  EXPECT_EQ(LayeredAlpha(Hwnd()), 0);

  frames_.clear();
  ::ShowWindow(Hwnd(), SW_RESTORE);
  ASSERT_TRUE(skin::StartRestoreAnimation(*animated_));
  EXPECT_TRUE(ExStyle(Hwnd()) & WS_EX_LAYERED);
  ASSERT_TRUE(WaitForMotion());
  ExpectFrames(sapala::skin::RestoreFrames(ToRect(start), ToRect(target), 255, 60), 0);
  // The form is itself again: not layered, its image stale.
  EXPECT_FALSE(ExStyle(Hwnd()) & WS_EX_LAYERED);
  EXPECT_GE(animated_->invalidations, 1);
  // A second restore has nothing to undo.
  EXPECT_FALSE(skin::StartRestoreAnimation(*animated_));
}

TEST_F(FormMotionTest, WhatDoesNotAnimate) {
  // Minimizing switched off: nothing changes and the caller minimizes as usual.
  manager_->Core().AnimEffects.Minimizing.Active = false;
  EXPECT_FALSE(skin::StartMinimizeAnimation(*animated_));
  EXPECT_FALSE(ExStyle(Hwnd()) & WS_EX_LAYERED);
  // A form that was not minimized by the animation has no restore animation.
  manager_->Core().AnimEffects.Minimizing.Active = true;
  EXPECT_FALSE(skin::StartRestoreAnimation(*animated_));
  EXPECT_TRUE(frames_.empty());
  // Ending the motion of a form minimized this way gives the window back at once.
  ASSERT_TRUE(skin::StartMinimizeAnimation(*animated_));
  EXPECT_EQ(LayeredAlpha(Hwnd()), 0);
  skin::EndFormMotion(*animated_);
  EXPECT_FALSE(ExStyle(Hwnd()) & WS_EX_LAYERED);
  EXPECT_FALSE(skin::MotionRunning(*animated_));
}

TEST_F(FormMotionTest, AlphaBlendFormKeepsItsOwnOpacity) {
  ::SetWindowLongPtrW(Hwnd(), GWL_EXSTYLE, ExStyle(Hwnd()) | WS_EX_LAYERED);
  ::SetLayeredWindowAttributes(Hwnd(), 0, 200, LWA_ALPHA);
  animated_->opacity = 200;
  manager_->Core().AnimEffects.Minimizing.Time = 30;  // 2 steps
  skin::MinimizeWithAnimation(*animated_);
  ASSERT_TRUE(WaitForMotion());
  EXPECT_TRUE(::IsIconic(Hwnd()));
  ASSERT_GE(frames_.size(), 2u);
  EXPECT_EQ(frames_[0].opacity, 200);  // the picture starts at the form's opacity
  skin::RestoreWithAnimation(*animated_);
  ASSERT_TRUE(WaitForMotion());
  EXPECT_FALSE(::IsIconic(Hwnd()));
  EXPECT_TRUE(ExStyle(Hwnd()) & WS_EX_LAYERED);
  EXPECT_EQ(LayeredAlpha(Hwnd()), 200);
}

TEST_F(FormMotionTest, HandleCensusFlatAfterAHundredMinimizeAndRestoreCycles) {
  manager_->Core().AnimEffects.Minimizing.Time = 15;  // 1 step: the census, not the speed
  auto cycle = [&] {
    skin::MinimizeWithAnimation(*animated_);
    ASSERT_TRUE(WaitForMotion());
    skin::RestoreWithAnimation(*animated_);
    ASSERT_TRUE(WaitForMotion());
  };
  cycle();  // the window class and the timer are made once
  const HandleCensus census;
  for (int i = 0; i < 100; ++i) cycle();
  EXPECT_EQ(census.Difference(), "");
  EXPECT_FALSE(ExStyle(Hwnd()) & WS_EX_LAYERED);
  EXPECT_GE(frames_.size(), 200u);
}

TEST_F(FormMotionTest, BlendOnMovingFadesDuringTheMoveLoopAndRestoresAfter) {
  auto& blend = manager_->Core().AnimEffects.BlendOnMoving;
  blend.Active = true;
  blend.Time = 120;  // step 26 towards 0
  blend.BlendValue = 0;
  struct Case {
    bool layeredBefore;
    int ownOpacity;
    std::vector<int> ticks;
  } cases[] = {{false, 255, {229, 203, 177}}, {true, 200, {174, 148, 122}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ownOpacity);
    if (c.layeredBefore) {
      ::SetWindowLongPtrW(Hwnd(), GWL_EXSTYLE, ExStyle(Hwnd()) | WS_EX_LAYERED);
      ::SetLayeredWindowAttributes(Hwnd(), 0, static_cast<BYTE>(c.ownOpacity), LWA_ALPHA);
    }
    animated_->opacity = c.ownOpacity;
    animated_->invalidations = 0;
    std::vector<int> seen;
    std::vector<bool> layered;
    skin::SetMoveTickSink([&](HWND w, int opacity) {
      seen.push_back(LayeredAlpha(w));
      layered.push_back((ExStyle(w) & WS_EX_LAYERED) != 0);
      EXPECT_EQ(opacity, seen.back());
      if (seen.size() == 3) ::PostMessageW(w, WM_LBUTTONUP, 0, 0);  // ends the move loop
    });
    RECT r{};
    ::GetWindowRect(Hwnd(), &r);
    skin::MoveWithBlend(*animated_, true, {r.left + 40, r.top + 8});
    EXPECT_EQ(seen, c.ticks);
    EXPECT_EQ(layered, std::vector<bool>(c.ticks.size(), true));
    EXPECT_EQ(((ExStyle(Hwnd()) & WS_EX_LAYERED) != 0), c.layeredBefore);
    if (c.layeredBefore) {
      EXPECT_EQ(LayeredAlpha(Hwnd()), c.ownOpacity);
    }
    EXPECT_EQ(animated_->invalidations, 1);
  }
}

// Preview functions that record the sizes of the pictures they are given.
struct PreviewLog {
  static inline std::vector<std::string> calls;
  static std::string Size(HBITMAP b) {
    BITMAP info{};
    ::GetObjectW(b, sizeof info, &info);
    return std::to_string(info.bmWidth) + "x" + std::to_string(std::abs(info.bmHeight));
  }
  static HRESULT WINAPI Thumbnail(HWND, HBITMAP b, DWORD) {
    calls.push_back("thumb " + Size(b));
    return S_OK;
  }
  static HRESULT WINAPI Live(HWND, HBITMAP b, POINT* at, DWORD) {
    calls.push_back("live " + Size(b) + " at " + std::to_string(at->x) + "," +
                    std::to_string(at->y));
    return S_OK;
  }
};

TEST_F(FormMotionTest, PreviewRequests) {
  const skin::PreviewApi fake{&PreviewLog::Thumbnail, &PreviewLog::Live};
  const skin::ScopedPreviewApi scoped(fake);
  PreviewLog::calls.clear();
  RECT r{};
  ::GetWindowRect(Hwnd(), &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const auto size = [](int mw, int mh) { return static_cast<LPARAM>(MAKELONG(mh, mw)); };
  // No window image yet: no answer.
  EXPECT_FALSE(
      skin::AnswerPreviewRequest(*animated_, skin::kSendIconicThumbnail, 0, size(100, 100)));
  animated_->image = Quarters(200, 100);
  // Zero sizes: no answer.
  EXPECT_FALSE(skin::AnswerPreviewRequest(*animated_, skin::kSendIconicThumbnail, 0, size(0, 100)));
  EXPECT_FALSE(skin::AnswerPreviewRequest(*animated_, skin::kSendIconicThumbnail, 0, size(100, 0)));
  EXPECT_TRUE(PreviewLog::calls.empty());
  // The cache fitted into 100 x 100, then a fresh picture of the whole window the same way.
  ASSERT_TRUE(
      skin::AnswerPreviewRequest(*animated_, skin::kSendIconicThumbnail, 0, size(100, 100)));
  const auto fresh = sapala::skin::FitKeepingAspect(w, h, 100, 100);
  ASSERT_EQ(PreviewLog::calls.size(), 2u);
  EXPECT_EQ(PreviewLog::calls[0], "thumb 100x50");
  EXPECT_EQ(PreviewLog::calls[1],
            "thumb " + std::to_string(fresh.Width) + "x" + std::to_string(fresh.Height));
  // The live preview: the whole window at (0, 0).
  PreviewLog::calls.clear();
  ASSERT_TRUE(skin::AnswerPreviewRequest(*animated_, skin::kSendIconicLivePreview, 0, 0));
  EXPECT_EQ(PreviewLog::calls, std::vector<std::string>{"live " + std::to_string(w) + "x" +
                                                        std::to_string(h) + " at 0,0"});
  // Other messages, and a system without the functions, get no answer.
  EXPECT_FALSE(skin::AnswerPreviewRequest(*animated_, WM_PAINT, 0, size(100, 100)));
  const skin::PreviewApi none{};
  const skin::ScopedPreviewApi without(none);
  EXPECT_FALSE(
      skin::AnswerPreviewRequest(*animated_, skin::kSendIconicThumbnail, 0, size(100, 100)));
  EXPECT_FALSE(skin::AnswerPreviewRequest(*animated_, skin::kSendIconicLivePreview, 0, 0));
}

TEST_F(FormMotionTest, TheMainWindowsMinimizeRestoreAndPreviewsGoThroughItsProvider) {
  manager_->Core().SetSkinDirectory(TestSkinFolder());
  manager_->Core().SetSkinName("TestSkin");
  ASSERT_NE(manager_->AppWindowHook(), nullptr);
  manager_->Core().AnimEffects.Minimizing.Time = 30;
  const skin::PreviewApi fake{&PreviewLog::Thumbnail, &PreviewLog::Live};
  const skin::ScopedPreviewApi scoped(fake);
  PreviewLog::calls.clear();
  animated_->image = Quarters(200, 100);
  // Without a provider the system does it all.
  ::SendMessageW(Hwnd(), skin::kSendIconicThumbnail, 0, MAKELONG(100, 100));
  EXPECT_TRUE(PreviewLog::calls.empty());
  ::SendMessageW(Hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(::IsIconic(Hwnd()));
  EXPECT_TRUE(frames_.empty());
  ::SendMessageW(Hwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_FALSE(::IsIconic(Hwnd()));

  skin::PlugIns().animatedForm = [&](TForm& f) -> skin::AnimatedForm* {
    return &f == form_ ? &*animated_ : nullptr;
  };
  ::SendMessageW(Hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(::IsIconic(Hwnd()));
  EXPECT_TRUE(skin::WaitsForRestore(*animated_));
  EXPECT_EQ(LayeredAlpha(Hwnd()), 0);
  ASSERT_TRUE(WaitForMotion());
  EXPECT_EQ(frames_.size(), 3u);  // where the window stood, then 2 steps
  ::SendMessageW(Hwnd(), skin::kSendIconicThumbnail, 0, MAKELONG(100, 100));
  EXPECT_FALSE(PreviewLog::calls.empty());
  frames_.clear();
  ::SendMessageW(Hwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(::IsIconic(Hwnd()));
  ASSERT_TRUE(WaitForMotion());
  EXPECT_EQ(frames_.size(), 2u);
  EXPECT_FALSE(skin::WaitsForRestore(*animated_));
  EXPECT_FALSE(ExStyle(Hwnd()) & WS_EX_LAYERED);
}

TEST_F(FormMotionTest, CaptureTakesTheWholeWindowOpaque) {
  RECT r{};
  ::GetWindowRect(Hwnd(), &r);
  const graphics::Bitmap p = skin::CaptureWindowImage(Hwnd());
  ASSERT_EQ(p.Width(), r.right - r.left);
  ASSERT_EQ(p.Height(), r.bottom - r.top);
  // The client is white (the form's colour); every pixel is opaque.
  RECT client{};
  ::GetClientRect(Hwnd(), &client);
  POINT c{client.right / 2, client.bottom / 2};
  ::ClientToScreen(Hwnd(), &c);
  EXPECT_EQ(p.Row32(c.y - r.top)[c.x - r.left], 0xFFFFFFFFu);
  EXPECT_EQ(p.Row32(0)[0] >> 24, 0xFFu);
  EXPECT_TRUE(skin::CaptureWindowImage(nullptr).Empty());
}

}  // namespace
}  // namespace sapala::win::testing
