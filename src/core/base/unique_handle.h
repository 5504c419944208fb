// One owner for every handle: UniqueHandle<T, Close, Kind> holds a handle of type T from the
// moment it is created and calls Close on it exactly once. Each kind keeps a count of live
// handles, so tests can prove that a piece of code leaves no brush, bitmap or statement behind
// (Wine's GetGuiResources always answers 0, so the system cannot tell us).
//
// Counting rule: a handle counts as live from adoption (constructor or reset with a valid value)
// until it is closed by its owner or handed out with release(); whoever takes a released handle
// owns it from then on.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <string>
#include <utility>

namespace sapala {

enum class HandleKind : std::size_t {
  Brush,
  Pen,
  Font,
  Bitmap,
  Region,
  DC,
  Icon,
  Cursor,
  Menu,
  Hook,
  Window,
  Database,
  Statement,
  Count
};

const char* HandleKindName(HandleKind kind) noexcept;

namespace detail {
inline std::array<std::atomic<long>, static_cast<std::size_t>(HandleKind::Count)>&
LiveCounters() noexcept {
  static std::array<std::atomic<long>, static_cast<std::size_t>(HandleKind::Count)> counters{};
  return counters;
}
inline void CountHandle(HandleKind kind, long delta) noexcept {
  LiveCounters()[static_cast<std::size_t>(kind)].fetch_add(delta, std::memory_order_relaxed);
}
}  // namespace detail

inline long LiveHandles(HandleKind kind) noexcept {
  return detail::LiveCounters()[static_cast<std::size_t>(kind)].load(std::memory_order_relaxed);
}

// A snapshot of every kind's live count; Difference() names what changed since, e.g.
// "1 brush, -1 font", or "" when nothing did.
class HandleCensus {
 public:
  HandleCensus() noexcept;
  std::string Difference() const;

 private:
  std::array<long, static_cast<std::size_t>(HandleKind::Count)> counts_{};
};

template <typename T, auto Close, HandleKind Kind, T Invalid = T{}>
class UniqueHandle {
 public:
  using handle_type = T;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(T handle) noexcept : handle_(handle) {
    if (handle_ != Invalid) detail::CountHandle(Kind, +1);
  }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Invalid)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, Invalid);  // the count moves with the handle
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  T get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Invalid; }

  // Closes the current handle (if any) and adopts the new one.
  void reset(T handle = Invalid) noexcept {
    if (handle != Invalid) detail::CountHandle(Kind, +1);
    T old = std::exchange(handle_, handle);
    if (old != Invalid) {
      Close(old);
      detail::CountHandle(Kind, -1);
    }
  }

  // Hands the handle out; the caller owns it now and it no longer counts as ours.
  [[nodiscard]] T release() noexcept {
    T old = std::exchange(handle_, Invalid);
    if (old != Invalid) detail::CountHandle(Kind, -1);
    return old;
  }

 private:
  T handle_ = Invalid;
};

}  // namespace sapala
