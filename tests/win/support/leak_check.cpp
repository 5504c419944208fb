// Linked into every Windows test executable: a listener that takes a census of our live
// handles before each test and fails the test if any kind changed by its end.
#include <gtest/gtest.h>

#include "core/base/unique_handle.h"

#include <memory>

namespace {

class LeakListener : public testing::EmptyTestEventListener {
 public:
  void OnTestStart(const testing::TestInfo&) override {
    census_ = std::make_unique<sapala::HandleCensus>();
  }
  void OnTestEnd(const testing::TestInfo& info) override {
    if (!census_) return;
    const std::string diff = census_->Difference();
    census_.reset();
    if (!diff.empty()) {
      ADD_FAILURE_AT(info.file(), info.line())
          << "handles left open by " << info.name() << ": " << diff;
    }
  }

 private:
  std::unique_ptr<sapala::HandleCensus> census_;
};

const bool registered = [] {
  testing::UnitTest::GetInstance()->listeners().Append(new LeakListener);
  return true;
}();

}  // namespace
