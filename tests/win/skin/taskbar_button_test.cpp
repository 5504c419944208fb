// The task-bar search as it goes on this system, and its fall-back point.
#include "win/skin/taskbar_button.h"

#include "core/skin/motion_steps.h"
#include "motion_fixture.h"

namespace sapala::win::testing {
namespace {

graphics::Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

TEST_F(SkinTest, TaskbarSearchFallsBackToTheInnerEdge) {
  TRecForm& f = AddForm("F", "", true);
  HWND app = ::GetAncestor(f.WindowHandle(), GA_ROOTOWNER);
  const skin::TaskbarSearch s = skin::SearchTaskbarButton(app);
  // Say what the search met on this system.
  std::printf("task bar: tray %d rebar %d task switch %d tool bar %d process %d buttons %d\n",
              s.tray, s.rebar, s.taskSwitch, s.toolbar, s.processOpened, s.buttons);
  RECT window{};
  ::GetWindowRect(f.WindowHandle(), &window);
  const RECT target = skin::MinimizeTarget(app, window);
  if (s.button.right > s.button.left) {
    EXPECT_EQ(ToRect(target), ToRect(s.button));
    return;
  }
  // No button: a point on the inner edge of the task bar, level with the window's centre.
  const RECT point = skin::TaskbarInnerEdgePoint(window);
  EXPECT_EQ(ToRect(target), ToRect(point));
  EXPECT_EQ(point.left, point.right);
  EXPECT_EQ(point.top, point.bottom);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromRect(&window, MONITOR_DEFAULTTONEAREST), &info));
  std::printf("monitor {%ld,%ld,%ld,%ld} work area {%ld,%ld,%ld,%ld} point (%ld,%ld)\n",
              info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom,
              info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom, point.left,
              point.top);
  const auto place = sapala::skin::TaskbarFromWorkArea(ToRect(info.rcMonitor), ToRect(info.rcWork));
  const bool horizontal = place.Edge == sapala::skin::TaskbarEdge::Top ||
                          place.Edge == sapala::skin::TaskbarEdge::Bottom;
  if (horizontal) {
    EXPECT_EQ(point.left, window.left + (window.right - window.left) / 2);
  } else {
    EXPECT_EQ(point.top, window.top + (window.bottom - window.top) / 2);
  }
  // A window that does not exist has no button.
  const skin::TaskbarSearch none = skin::SearchTaskbarButton(nullptr);
  EXPECT_EQ(none.button.right - none.button.left, 0);
}

}  // namespace
}  // namespace sapala::win::testing
