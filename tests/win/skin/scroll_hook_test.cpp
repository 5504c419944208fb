// The scroll engine on a real LISTBOX with many lines: the bars' space taken and given back, hit
// tests, arrows, page areas and thumb driven by non-client mouse messages, the keyboard left to
// the list box with the bars following, the repeat timers counted tick by tick, the bar pictures
// painted from the skin's scroll sections, and a thousand hook cycles without a handle left.
#include "win/skin/scroll_hook.h"

#include <utility>
#include <vector>

#include "hook_fixture.h"

namespace sapala::win::testing {
namespace {

// Records the scroll codes the window gets and the engine's timers instead of starting them
// (ticks are then sent by the test, one by one).
class TRecScroll : public TlcScrollWnd {
 public:
  TRecScroll(HWND h, TsSkinManager* m) : TlcScrollWnd(h, m, "", true) {}
  std::vector<int> codes;
  std::vector<std::pair<UINT_PTR, UINT>> timers;

 protected:
  void WndProc(Message& m) override {
    if (m.Msg == WM_VSCROLL) codes.push_back(LOWORD(m.WParam));
    TlcScrollWnd::WndProc(m);
  }
  void SetEngineTimer(UINT_PTR id, UINT ms) noexcept override { timers.emplace_back(id, ms); }
};

class ScrollHookTest : public HookTest {
 protected:
  void SetUp() override {
    HookTest::SetUp();
    manager_->Core().SetCommonSections(
        {"[SCROLLBAR1V]",     "STATES=3", "COLOR=$0000FF", "HOTCOLOR=$000080",
         "[SCROLLBAR2V]",     "STATES=3", "COLOR=$00FF00", "HOTCOLOR=$008000",
         "[SCROLLBTNTOP]",    "STATES=3", "COLOR=$FF0000", "HOTCOLOR=$800000",
         "[SCROLLBTNBOTTOM]", "STATES=3", "COLOR=$FFFF00", "HOTCOLOR=$808000",
         "[SCROLLSLIDERV]",   "STATES=3", "COLOR=$00FFFF", "HOTCOLOR=$008080"});
    ASSERT_GE(manager_->SectionIndex("SCROLLSLIDERV"), 0);
  }
  // A list box of `lines` lines, 100 × `height` pixels.
  HWND List(int lines, int height = 120) {
    HWND h = Child(L"LISTBOX", WS_VSCROLL | WS_BORDER | LBS_NOINTEGRALHEIGHT, 10, 10, 100, height);
    for (int i = 0; i < lines; ++i) {
      const std::wstring text = L"line " + std::to_wstring(i);
      ::SendMessageW(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    return h;
  }
  static int Top(HWND h) { return static_cast<int>(::SendMessageW(h, LB_GETTOPINDEX, 0, 0)); }
  static int ClientWidth(HWND h) {
    RECT r;
    ::GetClientRect(h, &r);
    return r.right;
  }
  // The screen point of window point (x, y).
  static LPARAM At(HWND h, int x, int y) {
    RECT w;
    ::GetWindowRect(h, &w);
    return MAKELPARAM(w.left + x, w.top + y);
  }
  // The middle of the vertical bar across, at `along` on it.
  static int Across(const TlcScrollWnd& s) {
    const RECT r = s.BarRect(1);
    return (r.left + r.right) / 2;
  }
  static LPARAM Client(HWND h, int x, int y) {
    RECT w;
    ::GetWindowRect(h, &w);
    POINT p{w.left + x, w.top + y};
    ::ScreenToClient(h, &p);
    return MAKELPARAM(p.x, p.y);
  }
};

TEST_F(ScrollHookTest, BarsTakeTheirOwnSpaceAndGiveItBack) {
  HWND h = List(50);
  const int plain = ClientWidth(h);
  const int system = ::GetSystemMetrics(SM_CXVSCROLL);
  {
    TRecScroll s(h, manager_);
    s.BarSettings(1).Thickness = system + 13;
    ASSERT_TRUE(s.InstallScroll());
    EXPECT_TRUE(s.Bar(1).Shown);
    EXPECT_FALSE(s.Bar(0).Shown);
    EXPECT_EQ(ClientWidth(h), plain - 13);
    EXPECT_NE(::GetWindowLongPtrW(h, GWL_STYLE) & WS_VSCROLL, 0);  // the style bit survives
    const RECT bar = s.BarRect(1);
    EXPECT_EQ(bar.right - bar.left, system + 13);
    // Also where the system's narrower bar would end: the hit test is the engine's.
    EXPECT_EQ(::SendMessageW(h, WM_NCHITTEST, 0, At(h, bar.right - 3, 40)), HTVSCROLL);
    EXPECT_EQ(::SendMessageW(h, WM_NCHITTEST, 0, At(h, 20, 40)), HTCLIENT);
  }
  EXPECT_EQ(ClientWidth(h), plain);
  // A window narrower than its bar keeps the bar's space for its client area.
  HWND thin = Child(L"LISTBOX", WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 10, 140, 12, 60);
  for (int i = 0; i < 30; ++i)
    ::SendMessageW(thin, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"x"));
  TRecScroll t(thin, manager_);
  ASSERT_TRUE(t.InstallScroll());
  EXPECT_FALSE(t.Bar(1).Shown);
}

TEST_F(ScrollHookTest, ArrowPageAndThumbScrollTheList) {
  HWND h = List(50);
  TRecScroll s(h, manager_);
  ASSERT_TRUE(s.InstallScroll());
  const int x = Across(s);
  auto layout = s.Layout(1);
  const int page = static_cast<int>(s.Bar(1).Info.nPage);
  ASSERT_GT(page, 1);
  ASSERT_TRUE(layout.HasThumb);

  // The last arrow: one line down, then release.
  const int downArrow = layout.Start + layout.Length - layout.Arrow / 2;
  ::SendMessageW(h, WM_NCLBUTTONDOWN, HTVSCROLL, At(h, x, downArrow));
  EXPECT_EQ(::GetCapture(), h);
  EXPECT_EQ(Top(h), 1);
  ::SendMessageW(h, WM_LBUTTONUP, 0, Client(h, x, downArrow));
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(s.codes, (std::vector<int>{SB_LINEDOWN, SB_ENDSCROLL}));
  EXPECT_EQ(s.Bar(1).Info.nPos, 1);  // the bar follows

  // The track below the thumb: one page down.
  layout = s.Layout(1);
  const int below = layout.ThumbStart + layout.ThumbLength + 2;
  ::SendMessageW(h, WM_NCLBUTTONDOWN, HTVSCROLL, At(h, x, below));
  ::SendMessageW(h, WM_LBUTTONUP, 0, Client(h, x, below));
  EXPECT_EQ(Top(h), 1 + page);

  // The thumb dragged to the end of the track and dropped.
  s.codes.clear();
  layout = s.Layout(1);
  const int grab = layout.ThumbStart + 2;
  ::SendMessageW(h, WM_NCLBUTTONDOWN, HTVSCROLL, At(h, x, grab));
  ::SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, Client(h, x, grab + 5));
  ::SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, Client(h, x, layout.Start + layout.Length + 40));
  EXPECT_EQ(Top(h), 50 - page);
  EXPECT_EQ(s.Layout(1).ThumbStart, layout.TrackEnd() - layout.ThumbLength);
  ::SendMessageW(h, WM_LBUTTONUP, 0, Client(h, x, layout.Start + layout.Length + 40));
  ASSERT_GE(s.codes.size(), 3u);
  EXPECT_EQ(s.codes.front(), SB_THUMBTRACK);
  EXPECT_EQ(s.codes[s.codes.size() - 2], SB_THUMBPOSITION);
  EXPECT_EQ(s.codes.back(), SB_ENDSCROLL);
  EXPECT_EQ(Top(h), 50 - page);
  EXPECT_EQ(s.Bar(1).Info.nPos, 50 - page);
}

TEST_F(ScrollHookTest, KeyboardStaysTheListsAndTheBarFollows) {
  HWND h = List(50);
  TRecScroll s(h, manager_);
  ASSERT_TRUE(s.InstallScroll());
  ::SetFocus(h);
  for (int i = 0; i < 3; ++i) ::SendMessageW(h, WM_KEYDOWN, VK_NEXT, 0);
  ASSERT_GT(Top(h), 0);
  SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, 0, 0};
  ::GetScrollInfo(h, SB_VERT, &si);
  EXPECT_EQ(s.Bar(1).Info.nPos, si.nPos);
  EXPECT_EQ(si.nPos, Top(h));
}

TEST_F(ScrollHookTest, ArrowRepeatsAfter300MsThenEvery55WhileThePointerStaysOnIt) {
  HWND h = List(50);
  TRecScroll s(h, manager_);
  ASSERT_TRUE(s.InstallScroll());
  const int x = Across(s);
  const auto layout = s.Layout(1);
  const int arrow = layout.Start + layout.Length - layout.Arrow / 2;
  ::SendMessageW(h, WM_NCLBUTTONDOWN, HTVSCROLL, At(h, x, arrow));
  using T = std::vector<std::pair<UINT_PTR, UINT>>;
  EXPECT_EQ(Top(h), 1);  // once at once
  EXPECT_EQ(s.timers, (T{{0xFFFD, 300}}));
  ::SendMessageW(h, WM_TIMER, 0xFFFD, 0);
  EXPECT_EQ(Top(h), 2);  // again when the first timer fires
  EXPECT_EQ(s.timers, (T{{0xFFFD, 300}, {0xFFFD, 0}, {0xFFFE, 55}}));
  for (int i = 0; i < 3; ++i) ::SendMessageW(h, WM_TIMER, 0xFFFE, 0);
  EXPECT_EQ(Top(h), 5);  // then at every tick of the 55 ms timer
  ::SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, Client(h, 20, 40));  // off the arrow: no scrolling
  ::SendMessageW(h, WM_TIMER, 0xFFFE, 0);
  EXPECT_EQ(Top(h), 5);
  ::SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, Client(h, x, arrow));
  ::SendMessageW(h, WM_TIMER, 0xFFFE, 0);
  EXPECT_EQ(Top(h), 6);
  // Capture taken away ends the press: no tick scrolls any more and the timers are stopped.
  ::SetCapture(form_->WindowHandle());
  ::ReleaseCapture();
  ::SendMessageW(h, WM_TIMER, 0xFFFE, 0);
  EXPECT_EQ(Top(h), 6);
  EXPECT_EQ(s.timers.back(), (std::pair<UINT_PTR, UINT>{0xFFFE, 0}));
}

TEST_F(ScrollHookTest, BarIsPaintedFromTheScrollSections) {
  HWND h = List(50);
  TRecScroll s(h, manager_);
  ASSERT_TRUE(s.InstallScroll());
  s.PaintBars();
  const graphics::Bitmap* pic = s.BarPicture(1);
  ASSERT_NE(pic, nullptr);
  const auto layout = s.Layout(1);
  const RECT bar = s.BarRect(1);
  const int x = (bar.right - bar.left) / 2;
  auto at = [&](int along) { return pic->PixelWord(x, along - bar.top) & 0xFFFFFF; };
  // Pixel words are 0x00RRGGBB; the skin wrote $BBGGRR.
  EXPECT_EQ(at(layout.Start + 2), 0x0000FFu);                            // top arrow
  EXPECT_EQ(at(layout.Start + layout.Length - 2), 0x00FFFFu);            // bottom arrow
  EXPECT_EQ(at(layout.ThumbStart + 1), 0xFFFF00u);                       // thumb
  EXPECT_EQ(at(layout.ThumbStart + layout.ThumbLength + 2), 0x00FF00u);  // second track part
  // A pressed arrow shows its pressed state.
  const int arrow = layout.Start + layout.Length - layout.Arrow / 2;
  ::SendMessageW(h, WM_NCLBUTTONDOWN, HTVSCROLL, At(h, (bar.left + bar.right) / 2, arrow));
  EXPECT_EQ(at(layout.Start + layout.Length - 2), 0x008080u);
  ::SendMessageW(h, WM_LBUTTONUP, 0, 0);
}

TEST_F(ScrollHookTest, CornerShowsTheGripOnlyAtTheFormsClientCorner) {
  // The test skin has no grip: lend it the close icon's picture as one.
  auto& tables = manager_->Core().Tables;
  sapala::skin::TsMaskData image = tables.Images[static_cast<std::size_t>(
      tables.FindImage(tables.FindSection("GLOBALINFO"), "GLOBALINFO", "BICONCLOSE"))];
  image.FrameCount = 1;
  image.Rect.right = image.Rect.left + 16;
  tables.Images.push_back(image);
  tables.Cache.GripImage = static_cast<int>(tables.Images.size()) - 1;
  const DWORD style = WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT;
  HWND inner = Child(L"LISTBOX", style, 10, 10, 80, 80);
  HWND corner = Child(L"LISTBOX", style, 100, 40, 100, 80);  // the form's client is 200 × 120
  for (HWND h : {inner, corner}) {
    ::SendMessageW(h, LB_SETHORIZONTALEXTENT, 400, 0);
    for (int i = 0; i < 40; ++i)
      ::SendMessageW(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"a rather long line of text"));
  }
  TRecScroll a(inner, manager_), b(corner, manager_);
  ASSERT_TRUE(a.InstallScroll());
  ASSERT_TRUE(b.InstallScroll());
  ASSERT_TRUE(a.Bar(0).Shown && a.Bar(1).Shown && b.Bar(0).Shown && b.Bar(1).Shown);
  a.PaintBars();
  b.PaintBars();
  EXPECT_EQ(a.CornerPicture(), nullptr);
  const graphics::Bitmap* grip = b.CornerPicture();
  ASSERT_NE(grip, nullptr);
  // The grip's frame lies in the bottom-right: it is not all the form's white there.
  bool drawn = false;
  for (int y = grip->Height() - 8; y < grip->Height(); ++y)
    for (int x = grip->Width() - 8; x < grip->Width(); ++x)
      drawn = drawn || (grip->PixelWord(x, y) & 0xFFFFFF) != 0xFFFFFF;
  EXPECT_TRUE(drawn);
  EXPECT_EQ(grip->PixelWord(0, 0) & 0xFFFFFF, 0xFFFFFFu);  // the rest is the parent's colour
  EXPECT_EQ(::SendMessageW(corner, WM_NCHITTEST, 0, At(corner, 95, 75)), HTBOTTOMRIGHT);
}

TEST_F(ScrollHookTest, AThousandHookCyclesLeaveNoHandle) {
  HWND h = List(50);
  const auto original = ProcOf(h);
  for (int i = 0; i < 1000; ++i) {
    TRecScroll s(h, manager_);
    ASSERT_TRUE(s.InstallScroll());
    s.PaintBars();
  }
  EXPECT_EQ(ProcOf(h), original);
}

}  // namespace
}  // namespace sapala::win::testing
