// The extended-border companion on a plain window: its window state, the pictures it hands to
// UpdateLayeredWindow (Xvfb composites nothing, so they are read through the frame observer),
// how it keeps to the form, and what it answers on its sizing band.
#include "win/skin/border_form.h"

#include <vector>

#include "core/graphics/pixels.h"
#include "skin_fixture.h"
#include "win/skin/animations.h"

namespace sapala::win::testing {
namespace {

// A plain window of its own class that records the system commands it gets (and carries out
// none of them).
std::vector<WPARAM>& Commands() {
  static std::vector<WPARAM> commands;
  return commands;
}

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SYSCOMMAND && (wp & 0xFFF0) == SC_SIZE) {
    Commands().push_back(wp);
    return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

class BorderFormTest : public SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"BorderFormTestWindow";
    ::RegisterClassExW(&wc);
    form_.reset(::CreateWindowExW(0, L"BorderFormTestWindow", L"Form",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 150, 300, 200, nullptr,
                                  nullptr, ::GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(form_);
    Commands().clear();
    skin::SetLayeredFrameObserver([this](const skin::LayeredFrame& f) {
      frames_.push_back({f.Window, f.Opacity, f.Bounds, f.Checksum});
    });
  }
  void TearDown() override {
    skin::SetLayeredFrameObserver(nullptr);
    form_.reset();
    SkinTest::TearDown();
  }
  static RECT WindowRect(HWND h) {
    RECT r{};
    ::GetWindowRect(h, &r);
    return r;
  }
  // A picture the size of the form grown by the margins.
  static graphics::Bitmap PictureFor(HWND form, RECT m) {
    const RECT r = WindowRect(form);
    graphics::Bitmap p = graphics::NewBitmap32(r.right - r.left + m.left + m.right,
                                               r.bottom - r.top + m.top + m.bottom);
    graphics::FillBitmapRect(p, p.Bounds(), 0x00336699);
    graphics::SetOpacityRect(p, p.Bounds(), 90, false);
    return p;
  }
  static RECT Grown(RECT r, RECT m) {
    return {r.left - m.left, r.top - m.top, r.right + m.right, r.bottom + m.bottom};
  }

  struct Frame {
    HWND window;
    int opacity;
    RECT bounds;
    std::uint32_t checksum;
  };
  Window form_;
  std::vector<Frame> frames_;
};

TEST_F(BorderFormTest, ItLiesUnderTheFormAndFollowsItsPlaceAndState) {
  HWND form = form_.get();
  skin::TlcBorderForm border(form);
  HWND h = border.Handle();
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(::GetWindowLongPtrW(h, GWL_EXSTYLE) & skin::kBorderFormExStyle,
            static_cast<LONG_PTR>(skin::kBorderFormExStyle));
  EXPECT_NE(::GetWindow(h, GW_OWNER), form) << "an owned window would lie above the form";
  EXPECT_FALSE(::IsWindowVisible(h)) << "nothing shown before the first picture";
  border.Follow();
  EXPECT_FALSE(::IsWindowVisible(h));

  const RECT m{11, 10, 11, 12};
  const graphics::Bitmap picture = PictureFor(form, m);
  ASSERT_TRUE(border.Update(picture, m, 200));
  ASSERT_EQ(frames_.size(), 1u);
  EXPECT_EQ(frames_[0].window, h);
  EXPECT_EQ(frames_[0].opacity, 200);
  EXPECT_EQ(frames_[0].checksum, skin::PictureChecksum(picture));
  RECT want = Grown(WindowRect(form), m);
  EXPECT_TRUE(::EqualRect(&frames_[0].bounds, &want));
  EXPECT_TRUE(::IsWindowVisible(h));
  EXPECT_EQ(::GetWindow(form, GW_HWNDNEXT), h) << "directly under the form";
  EXPECT_EQ(border.Opacity(), 200);

  struct Step {
    const char* what;
    std::function<void()> act;
    bool visible;
  };
  const Step steps[] = {
      {"moved", [&] { ::SetWindowPos(form, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER); },
       true},
      {"minimized", [&] { ::ShowWindow(form, SW_MINIMIZE); }, false},
      {"restored", [&] { ::ShowWindow(form, SW_RESTORE); }, true},
      {"maximized", [&] { ::ShowWindow(form, SW_MAXIMIZE); }, false},
      {"normal again", [&] { ::ShowWindow(form, SW_RESTORE); }, true},
      {"hidden", [&] { ::ShowWindow(form, SW_HIDE); }, false},
      {"shown", [&] { ::ShowWindow(form, SW_SHOWNA); }, true},
  };
  for (const Step& s : steps) {
    s.act();
    border.Follow();
    EXPECT_EQ(::IsWindowVisible(h) != FALSE, s.visible) << s.what;
    if (!s.visible) continue;
    want = Grown(WindowRect(form), m);
    const RECT have = WindowRect(h);
    EXPECT_TRUE(::EqualRect(&have, &want)) << s.what;
    EXPECT_EQ(::GetWindow(form, GW_HWNDNEXT), h) << s.what;
  }
}

TEST_F(BorderFormTest, ItsBandSizesASizeableFormAndLetsEverythingElseThrough) {
  HWND form = form_.get();
  skin::TlcBorderForm border(form);
  const RECT m{11, 10, 11, 12};
  ASSERT_TRUE(border.Update(PictureFor(form, m), m, 255));
  const RECT f = WindowRect(form);
  const int cx = (f.left + f.right) / 2, cy = (f.top + f.bottom) / 2;
  struct Case {
    POINT at;
    LRESULT want;
  };
  const Case cases[] = {
      {{cx, cy}, HTTRANSPARENT},
      {{f.left - 5, cy}, HTLEFT},
      {{f.right + 4, cy}, HTRIGHT},
      {{cx, f.top - 3}, HTTOP},
      {{cx, f.bottom + 6}, HTBOTTOM},
      {{f.left - 5, f.top - 5}, HTTOPLEFT},
      {{f.left + 3, f.top - 2}, HTTOPLEFT},  // beside the corner counts as the corner
      {{f.right + 2, f.bottom - 4}, HTBOTTOMRIGHT},
      {{f.right + 2, f.top + 5}, HTTOPRIGHT},
      {{f.left - 2, f.bottom + 2}, HTBOTTOMLEFT},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const LRESULT have =
        ::SendMessageW(border.Handle(), WM_NCHITTEST, 0, MAKELPARAM(cases[i].at.x, cases[i].at.y));
    EXPECT_EQ(have, cases[i].want) << "case " << i;
  }

  // A press on the band: the form gets the size command of that edge.
  const LPARAM left = MAKELPARAM(f.left - 5, cy);
  ::SendMessageW(border.Handle(), WM_NCLBUTTONDOWN, HTLEFT, left);
  ::SendMessageW(border.Handle(), WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, left);
  EXPECT_EQ(Commands(), (std::vector<WPARAM>{SC_SIZE + WMSZ_LEFT, SC_SIZE + WMSZ_BOTTOMRIGHT}));
  // A handler that takes the press: the form gets nothing.
  std::vector<int> taken;
  border.OnBorderPress = [&](int code, POINT) {
    taken.push_back(code);
    return true;
  };
  ::SendMessageW(border.Handle(), WM_NCLBUTTONDOWN, HTTOP, left);
  EXPECT_EQ(taken, std::vector<int>{HTTOP});
  EXPECT_EQ(Commands().size(), 2u);

  // A form that cannot be sized lets the mouse through everywhere.
  ::SetWindowLongPtrW(form, GWL_STYLE, ::GetWindowLongPtrW(form, GWL_STYLE) & ~WS_THICKFRAME);
  EXPECT_EQ(::SendMessageW(border.Handle(), WM_NCHITTEST, 0, left), HTTRANSPARENT);

  // Given away, the window no longer answers for the form and lives on its own.
  Window released = border.Release();
  ASSERT_TRUE(released);
  EXPECT_EQ(border.Handle(), nullptr);
  ::SetWindowLongPtrW(form, GWL_STYLE, ::GetWindowLongPtrW(form, GWL_STYLE) | WS_THICKFRAME);
  EXPECT_EQ(::SendMessageW(released.get(), WM_NCHITTEST, 0, left), HTTRANSPARENT);
  border.Follow();  // nothing to follow with
  EXPECT_TRUE(::IsWindow(released.get()));
}

}  // namespace
}  // namespace sapala::win::testing
