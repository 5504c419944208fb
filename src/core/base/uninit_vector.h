// Vectors of plain values that are not zero-filled when they grow, for buffers a reader fills
// completely right after sizing them (a zlib stream inflated into exactly its stated size): the
// zero fill of std::vector would be written over at once, and for a picture of a few hundred
// kilobytes it costs as much as a pass of the reader. Everything else about them is
// std::vector. A buffer that may be read before every element is written must not be one.
#pragma once

#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace sapala {

// Value-initialisation without arguments becomes default-initialisation: for trivial types,
// nothing is written.
template <class T>
class DefaultInitAllocator : public std::allocator<T> {
 public:
  using value_type = T;
  DefaultInitAllocator() noexcept = default;
  template <class U>
  DefaultInitAllocator(const DefaultInitAllocator<U>&) noexcept {}

  template <class U>
  void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    std::construct_at(p, std::forward<Args>(args)...);
  }

  friend bool operator==(const DefaultInitAllocator&, const DefaultInitAllocator&) noexcept {
    return true;
  }
};

template <class T>
using UninitVector = std::vector<T, DefaultInitAllocator<T>>;

}  // namespace sapala
