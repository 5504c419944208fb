// ScopeExit: runs a function when the scope ends, by return or by exception, unless it was
// released first. For clean-up that has no owner type of its own (a C library's end call).
#pragma once

#include <utility>

namespace sapala {

template <typename F>
class [[nodiscard]] ScopeExit {
 public:
  explicit ScopeExit(F f) noexcept : f_(std::move(f)) {}
  ~ScopeExit() {
    if (armed_) f_();
  }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;
  // The function will not run.
  void release() noexcept { armed_ = false; }

 private:
  F f_;
  bool armed_ = true;
};

}  // namespace sapala
