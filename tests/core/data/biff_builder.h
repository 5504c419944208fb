// Hand-made BIFF streams for the tests: records written byte by byte, so a test can build
// exactly the record sequence (or the damage) it needs.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace sapala::data::testing {

using Bytes = std::vector<std::uint8_t>;

struct B {
  Bytes b;
  B& u8(std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    return *this;
  }
  B& u16(std::uint32_t v) { return u8(v).u8(v >> 8); }
  B& u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
  B& f64(double d) {
    std::uint64_t bits;
    static_assert(sizeof bits == sizeof d);
    __builtin_memcpy(&bits, &d, sizeof d);
    for (int i = 0; i < 8; ++i) u8(static_cast<std::uint32_t>(bits >> (8 * i)) & 0xFF);
    return *this;
  }
  B& raw(const std::string& s) {
    for (char c : s) u8(static_cast<unsigned char>(c));
    return *this;
  }
  B& bytes(const Bytes& x) {
    b.insert(b.end(), x.begin(), x.end());
    return *this;
  }
  // An 8-bit BIFF8 string with a 16-bit length (compressed UTF-16: Latin-1 bytes).
  B& str8(const std::string& latin1) {
    return u16(static_cast<std::uint32_t>(latin1.size())).u8(0).raw(latin1);
  }
  // A 16-bit BIFF8 string from UTF-16 units.
  B& str16(const std::u16string& s) {
    u16(static_cast<std::uint32_t>(s.size())).u8(1);
    for (char16_t c : s) u16(c);
    return *this;
  }
};

inline Bytes Rec(std::uint16_t type, const Bytes& data) {
  B r;
  r.u16(type).u16(static_cast<std::uint32_t>(data.size())).bytes(data);
  return r.b;
}

inline Bytes Bof(std::uint16_t kind, std::uint16_t version = 0x0600) {
  return Rec(0x0809, B().u16(version).u16(kind).u16(0).u16(0).u32(0).u32(0).b);
}
inline Bytes Eof() { return Rec(0x000A, {}); }

// One worksheet named `name` whose substream is `cells` (records between BOF and EOF), after
// globals holding `globals` (records between BOF and the BOUNDSHEET).
inline Bytes Book(const std::string& name, const Bytes& globals, const Bytes& cells,
                  std::uint16_t version = 0x0600) {
  B boundsheet;
  if (version == 0x0600) {
    boundsheet.u32(0).u8(0).u8(0).u8(static_cast<std::uint32_t>(name.size())).u8(0).raw(name);
  } else {
    boundsheet.u32(0).u8(0).u8(0).u8(static_cast<std::uint32_t>(name.size())).raw(name);
  }
  Bytes out = Bof(0x0005, version);
  out.insert(out.end(), globals.begin(), globals.end());
  const std::size_t patch = out.size() + 4;
  const Bytes bs = Rec(0x0085, boundsheet.b);
  out.insert(out.end(), bs.begin(), bs.end());
  const Bytes eof = Eof();
  out.insert(out.end(), eof.begin(), eof.end());
  const std::size_t at = out.size();
  for (int i = 0; i < 4; ++i)
    out[patch + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(at >> (8 * i));
  const Bytes bof = Bof(0x0010, version);
  out.insert(out.end(), bof.begin(), bof.end());
  out.insert(out.end(), cells.begin(), cells.end());
  out.insert(out.end(), eof.begin(), eof.end());
  return out;
}

inline Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

}  // namespace sapala::data::testing
