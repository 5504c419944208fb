// ByteReader: the one bounds-checked way to read numbers and byte runs out of a file held in
// memory. It reads sequentially from a position or at absolute offsets; nothing is ever read
// outside the span. A read that would go past the end calls the reader's failure function,
// which must throw (each file format raises its own error with its own message); without one,
// std::out_of_range is thrown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <stdexcept>

#include "core/base/endian.h"

namespace sapala {

class ByteReader {
 public:
  using FailFunction = void (*)(const char* what);

  explicit ByteReader(std::span<const std::uint8_t> data, FailFunction fail = nullptr) noexcept
      : data_(data), fail_(fail) {}

  std::size_t Position() const noexcept { return pos_; }
  std::size_t Size() const noexcept { return data_.size(); }
  std::size_t Remaining() const noexcept { return data_.size() - pos_; }
  bool AtEnd() const noexcept { return pos_ >= data_.size(); }
  // Whether `count` bytes at `at` are all inside.
  bool Has(std::size_t at, std::size_t count) const noexcept {
    return at <= data_.size() && data_.size() - at >= count;
  }

  void Seek(std::size_t pos) {
    Require(pos, 0);
    pos_ = pos;
  }
  void Skip(std::size_t count) {
    Require(pos_, count);
    pos_ += count;
  }

  std::uint8_t U8() { return Take(1)[0]; }
  std::uint16_t Le16() { return LoadLe16(Take(2)); }
  std::uint32_t Le32() { return LoadLe32(Take(4)); }
  std::uint64_t Le64() { return LoadLe64(Take(8)); }
  std::uint16_t Be16() { return LoadBe16(Take(2)); }
  std::uint32_t Be32() { return LoadBe32(Take(4)); }
  // An IEEE double stored little-endian.
  double LeF64() {
    const std::uint64_t bits = Le64();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  std::span<const std::uint8_t> Bytes(std::size_t count) { return {Take(count), count}; }

  // At absolute offsets; the position does not move.
  std::uint8_t U8At(std::size_t at) const { return At(at, 1)[0]; }
  std::uint16_t Le16At(std::size_t at) const { return LoadLe16(At(at, 2)); }
  std::uint32_t Le32At(std::size_t at) const { return LoadLe32(At(at, 4)); }
  std::uint16_t Be16At(std::size_t at) const { return LoadBe16(At(at, 2)); }
  std::uint32_t Be32At(std::size_t at) const { return LoadBe32(At(at, 4)); }
  std::span<const std::uint8_t> BytesAt(std::size_t at, std::size_t count) const {
    return {At(at, count), count};
  }

 private:
  void Require(std::size_t at, std::size_t count) const {
    if (Has(at, count)) return;
    if (fail_) fail_("data ends early");
    throw std::out_of_range("data ends early");
  }
  const std::uint8_t* At(std::size_t at, std::size_t count) const {
    Require(at, count);
    return data_.data() + at;
  }
  const std::uint8_t* Take(std::size_t count) {
    const std::uint8_t* p = At(pos_, count);
    pos_ += count;
    return p;
  }

  std::span<const std::uint8_t> data_;
  FailFunction fail_;
  std::size_t pos_ = 0;
};

}  // namespace sapala
