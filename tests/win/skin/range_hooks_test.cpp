// The up-down and track bar hooks on real controls: arrows painted in their own states (pressed
// by a click the control takes, hot under the pointer), values still moved by keys and clicks,
// the track bar's thumb where the control keeps it for every position, its ticks at the thumb's
// centre for their values, and the skin's channel.
#include "win/skin/range_hooks.h"

#include "control_hook_fixture.h"
#include "win/skin/hook_factory.h"

namespace sapala::win::testing {
namespace {

class RangeHooksTest : public ControlHookTest {};

TEST_F(RangeHooksTest, SpinArrowsShowTheirStatesAndKeysAndClicksStillCount) {
  HWND h = Child(UPDOWN_CLASSW, UDS_ARROWKEYS, 10, 10, 20, 40);
  ::SendMessageW(h, UDM_SETRANGE32, 0, 10);
  ::SendMessageW(h, UDM_SETPOS32, 0, 5);
  auto owned = MakeHook(HookKind::spin, h, manager_, "");
  auto* hook = dynamic_cast<TlcSpinWnd*>(owned.get());
  ASSERT_NE(hook, nullptr);
  EXPECT_EQ(hook->Section(), "SPEEDBUTTON_SMALL");
  PaintNow(h);
  EXPECT_EQ(hook->FirstState(), 0);
  EXPECT_EQ(hook->SecondState(), 0);
  const TColor normal = ColorOf("SPEEDBUTTON_SMALL"), hot = ColorOf("SPEEDBUTTON_SMALL", true);
  EXPECT_EQ(At(*hook, POINT{1, 1}), normal);
  EXPECT_EQ(At(*hook, POINT{1, 38}), normal);

  // Keys move the value.
  ::SendMessageW(h, WM_KEYDOWN, VK_UP, 0);
  ::SendMessageW(h, WM_KEYUP, VK_UP, 0);
  EXPECT_EQ(::SendMessageW(h, UDM_GETPOS32, 0, 0), 6);

  // The pointer over the lower arrow makes it hot.
  ::SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(10, 30));
  EXPECT_EQ(hook->HotArrow(), 2);
  PaintNow(h);
  EXPECT_EQ(hook->SecondState(), 1);
  EXPECT_EQ(At(*hook, POINT{1, 38}), hot);
  EXPECT_EQ(At(*hook, POINT{1, 1}), normal);

  // A press on the upper arrow: the control counts, the arrow shows pressed until release.
  ::SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
  EXPECT_EQ(hook->PressedArrow(), 1);
  PaintNow(h);
  EXPECT_EQ(hook->FirstState(), 2);
  EXPECT_EQ(At(*hook, POINT{1, 1}), hot);
  ::SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(10, 5));
  EXPECT_EQ(::SendMessageW(h, UDM_GETPOS32, 0, 0), 7);
  EXPECT_EQ(hook->PressedArrow(), 0);
  PaintNow(h);
  EXPECT_EQ(hook->FirstState(), 0);

  // At the top of the range the upper arrow cannot be pressed further: drawn as normal.
  ::SendMessageW(h, UDM_SETPOS32, 0, 10);
  ::SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(10, 5));
  PaintNow(h);
  EXPECT_EQ(hook->FirstState(), 0);
}

TEST_F(RangeHooksTest, TrackThumbLiesWhereTheControlKeepsItAndTicksAtItsCentre) {
  for (const DWORD style : {DWORD{0}, DWORD{TBS_VERT}}) {
    SCOPED_TRACE(style ? "vertical" : "horizontal");
    const bool vertical = style != 0;
    HWND h = Child(TRACKBAR_CLASSW, style | TBS_AUTOTICKS | WS_TABSTOP, 10, 10, vertical ? 40 : 200,
                   vertical ? 200 : 40);
    ::SendMessageW(h, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
    auto owned = MakeHook(HookKind::trackBar, h, manager_, "");
    auto* hook = dynamic_cast<TlcTrackWnd*>(owned.get());
    ASSERT_NE(hook, nullptr);
    ::SendMessageW(h, TBM_SETTICFREQ, 5, 0);
    for (int pos = 0; pos <= 10; ++pos) {
      ::SendMessageW(h, TBM_SETPOS, TRUE, pos);
      PaintNow(h);
      RECT control{};
      ::SendMessageW(h, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&control));
      const RECT mine = hook->ThumbRect();
      EXPECT_TRUE(::EqualRect(&mine, &control))
          << "pos " << pos << ": " << mine.left << "," << mine.top << " want " << control.left
          << "," << control.top;
    }
    // Ticks at 0, 5 and 10, each at the thumb's centre for that value.
    ASSERT_EQ(hook->TickPixels().size(), 3u);
    for (int i = 0; i < 3; ++i) {
      ::SendMessageW(h, TBM_SETPOS, TRUE, i * 5);
      RECT control{};
      ::SendMessageW(h, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&control));
      const int centre =
          vertical ? (control.top + control.bottom) / 2 : (control.left + control.right) / 2;
      EXPECT_NEAR(hook->TickPixels()[static_cast<std::size_t>(i)], centre, 1) << "tick " << i;
    }
    // Background and channel from the skin; the thumb (the skin has no thumb image) is a
    // raised face over the channel.
    ::SendMessageW(h, TBM_SETPOS, TRUE, 0);
    PaintNow(h);
    RECT channel{};
    ::SendMessageW(h, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    // Some systems give a vertical bar's channel as if it lay horizontally.
    if (vertical && channel.right - channel.left > channel.bottom - channel.top)
      channel = {channel.top, channel.left, channel.bottom, channel.right};
    EXPECT_EQ(At(*hook, POINT{3, 3}), ColorOf("TRACKBAR"));
    const POINT inChannel = vertical ? POINT{(channel.left + channel.right) / 2, channel.bottom - 3}
                                     : POINT{channel.right - 3, (channel.top + channel.bottom) / 2};
    EXPECT_EQ(At(*hook, inChannel), ColorOf("SLIDERCHANNEL"));
    EXPECT_NE(At(*hook, Mid(hook->ThumbRect())), ColorOf("SLIDERCHANNEL"));

    // Keys still move the thumb; the picture follows.
    ::SetFocus(h);
    ::SendMessageW(h, WM_KEYDOWN, vertical ? VK_DOWN : VK_RIGHT, 0);
    ::SendMessageW(h, WM_KEYUP, vertical ? VK_DOWN : VK_RIGHT, 0);
    EXPECT_EQ(::SendMessageW(h, TBM_GETPOS, 0, 0), 1);
    PaintNow(h);
    RECT control{};
    ::SendMessageW(h, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&control));
    const RECT mine = hook->ThumbRect();
    EXPECT_TRUE(::EqualRect(&mine, &control));
    ::DestroyWindow(h);
    EXPECT_TRUE(hook->Removed());
  }
}

}  // namespace
}  // namespace sapala::win::testing
