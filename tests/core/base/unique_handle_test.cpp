// The owner closes exactly once, moves keep one owner, and the census sees what is left open.
#include "core/base/unique_handle.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> closed;
void CloseFake(int h) { closed.push_back(h); }
using FakeHandle = sapala::UniqueHandle<int, &CloseFake, sapala::HandleKind::Pen, -1>;

TEST(UniqueHandle, ClosesOnceThroughEveryPath) {
  closed.clear();
  {
    FakeHandle a(1);
    FakeHandle b(std::move(a));  // move: still one owner, nothing closed
    EXPECT_TRUE(closed.empty());
    FakeHandle c(2);
    c = std::move(b);  // assignment closes c's old handle 2
    EXPECT_EQ(closed, std::vector<int>{2});
    c.reset(3);  // reset closes 1
    EXPECT_EQ(closed, (std::vector<int>{2, 1}));
    const int raw = FakeHandle(4).release();  // handed out: not closed by us
    EXPECT_EQ(raw, 4);
    FakeHandle invalid(-1);  // the invalid value is never closed
  }
  EXPECT_EQ(closed, (std::vector<int>{2, 1, 3}));
}

TEST(UniqueHandle, CensusNamesWhatIsStillOpen) {
  sapala::HandleCensus census;
  auto* leaked = new FakeHandle(7);
  EXPECT_EQ(census.Difference(), "1 pen");
  FakeHandle moved(std::move(*leaked));
  EXPECT_EQ(census.Difference(), "1 pen");
  delete leaked;
  EXPECT_EQ(census.Difference(), "1 pen");
  moved.reset();
  EXPECT_EQ(census.Difference(), "");
  (void)FakeHandle(8).release();
  EXPECT_EQ(census.Difference(), "");
}

}  // namespace
