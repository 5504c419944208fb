// Size arithmetic on numbers from outside data: the result, or nullopt when it does not fit
// the type. Readers compute every allocation size through these before comparing it with
// their limits.
#pragma once

#include <concepts>
#include <optional>

namespace sapala {

template <std::integral T>
[[nodiscard]] constexpr std::optional<T> CheckedMul(T a, T b) noexcept {
  T out;
  if (__builtin_mul_overflow(a, b, &out)) return std::nullopt;
  return out;
}

template <std::integral T>
[[nodiscard]] constexpr std::optional<T> CheckedAdd(T a, T b) noexcept {
  T out;
  if (__builtin_add_overflow(a, b, &out)) return std::nullopt;
  return out;
}

}  // namespace sapala
