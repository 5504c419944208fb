// Real GDI objects through their owners: the counters follow creation and deletion, a leaked
// owner is seen, and scope guards put the DC back as they found it.
#include "win/framework/handles.h"

#include <gtest/gtest.h>

namespace sapala::win {
namespace {

TEST(Handles, LeakedBrushIsCaughtAndFreedBrushIsNot) {
  HandleCensus census;
  auto* leaked = new Brush(::CreateSolidBrush(RGB(1, 2, 3)));
  ASSERT_TRUE(*leaked);
  EXPECT_EQ(census.Difference(), "1 brush");
  // The handle is a live GDI object until its owner goes.
  LOGBRUSH lb{};
  EXPECT_EQ(::GetObjectW(leaked->get(), sizeof lb, &lb), static_cast<int>(sizeof lb));
  EXPECT_EQ(lb.lbColor, RGB(1, 2, 3));
  const HBRUSH raw = leaked->get();
  delete leaked;
  EXPECT_EQ(census.Difference(), "");
  EXPECT_EQ(::GetObjectW(raw, sizeof lb, &lb), 0) << "the owner must have deleted the brush";
}

TEST(Handles, ReleasedHandleBelongsToTheCaller) {
  HandleCensus census;
  Pen pen(::CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
  HPEN raw = pen.release();
  EXPECT_EQ(census.Difference(), "");
  EXPECT_FALSE(pen);
  EXPECT_TRUE(::DeleteObject(raw));
}

TEST(Handles, ScopeGuardsRestoreTheDC) {
  MemoryDC dc(::CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc);
  const HGDIOBJ original = ::GetCurrentObject(dc.get(), OBJ_BRUSH);
  Brush red(::CreateSolidBrush(RGB(255, 0, 0)));
  {
    SelectedObject selected(dc.get(), red.get());
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BRUSH), red.get());
    SavedDC saved(dc.get());
    ::SetTextColor(dc.get(), RGB(9, 9, 9));
  }
  EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_BRUSH), original);
  EXPECT_EQ(::GetTextColor(dc.get()), RGB(0, 0, 0));
}

}  // namespace
}  // namespace sapala::win
