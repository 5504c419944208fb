// Checked size arithmetic and the scope guard: the edges where sizes from outside data wrap.
#include "core/base/checked.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "core/base/scope_exit.h"

namespace sapala {
namespace {

TEST(Checked, OverflowIsNulloptAtTheExactEdge) {
  constexpr std::size_t kMax = std::numeric_limits<std::size_t>::max();
  EXPECT_EQ(CheckedMul<std::size_t>(kMax / 2, 2), kMax - 1);
  EXPECT_EQ(CheckedMul<std::size_t>(kMax / 2 + 1, 2), std::nullopt);
  EXPECT_EQ(CheckedMul<std::uint32_t>(65536, 65536), std::nullopt);  // 4 GiB of 32-bit sizes
  EXPECT_EQ(CheckedMul<std::uint32_t>(65535, 65537), 0xFFFFFFFFu);
  EXPECT_EQ(CheckedAdd<std::size_t>(kMax, 0), kMax);
  EXPECT_EQ(CheckedAdd<std::size_t>(kMax, 1), std::nullopt);
  EXPECT_EQ(CheckedAdd<int>(std::numeric_limits<int>::max(), 1), std::nullopt);
  EXPECT_EQ(CheckedMul<int>(-46341, 46341), std::nullopt);
  EXPECT_EQ(CheckedMul<int>(-46340, 46340), -2147395600);
}

TEST(ScopeExit, RunsOnReturnAndOnThrowButNotWhenReleased) {
  int runs = 0;
  {
    ScopeExit guard([&] { ++runs; });
  }
  EXPECT_EQ(runs, 1);
  try {
    ScopeExit guard([&] { ++runs; });
    throw 1;
  } catch (int) {
  }
  EXPECT_EQ(runs, 2);
  {
    ScopeExit guard([&] { ++runs; });
    guard.release();
  }
  EXPECT_EQ(runs, 2);
}

}  // namespace
}  // namespace sapala
