// Free notification: a listener hears of a component's end once, also when it registered twice,
// not after it unregistered, and a component freed by its owner tells its own listeners.
#include "win/framework/component.h"

#include <gtest/gtest.h>

#include <vector>

namespace sapala::win {
namespace {

struct Listener final : TFreeListener {
  std::vector<TComponent*> freed;
  void ComponentFreed(TComponent& c) noexcept override { freed.push_back(&c); }
};

TEST(FreeNotification, ListenersHearOfTheEndOnceUnlessTheyLeft) {
  Listener twice, left, other;
  TComponent* owned = nullptr;
  {
    TComponent owner(nullptr);
    TComponent& child = owner.Create<TComponent>();
    owned = &child;
    child.FreeNotification(&twice);
    child.FreeNotification(&twice);
    child.FreeNotification(&left);
    child.RemoveFreeNotification(&left);
    owner.FreeNotification(&other);
  }
  EXPECT_EQ(twice.freed, std::vector<TComponent*>{owned});
  EXPECT_TRUE(left.freed.empty());
  EXPECT_EQ(other.freed.size(), 1u);
}

}  // namespace
}  // namespace sapala::win
