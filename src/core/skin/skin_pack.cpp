// Packed skin reader and writer; see skin_pack.h for the format and its limits.
#include "core/skin/skin_pack.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/base/byte_reader.h"
#include "core/base/scope_exit.h"
#include "core/skin/file_system.h"
#include "core/skin/skin_error.h"
#include "core/skin/skin_text.h"

namespace sapala::skin {
namespace {

constexpr char kMagic[4] = {'L', 'S', 'z', 'f'};

[[noreturn]] void Truncated(const char*) { throw SkinError("Packed skin is truncated"); }

#if defined(__SSE2__)
constexpr bool kFastAdler32 = true;
#else
constexpr bool kFastAdler32 = false;
#endif

// Inflates one zlib stream starting at `in` (at most `avail` bytes) into exactly `size` bytes.
// Returns the number of input bytes the stream used. `out` is left unfilled at first: a stream
// that gives fewer bytes than `size` is an error, and the caller drops `out` with it.
std::size_t InflateExact(const std::uint8_t* in, std::size_t avail, InflatedBytes& out,
                         std::uint32_t size, const std::string& name) {
  out.resize(size);
  z_stream z{};
  if (inflateInit(&z) != Z_OK) throw SkinError("zlib initialisation failed");
  ScopeExit end([&z] { inflateEnd(&z); });
  // With SSE2 the checksum is computed here, several times faster than zlib's own; zlib still
  // reads the four check bytes at the stream's end.
  const bool ownCheck = kFastAdler32 && inflateValidate(&z, 0) == Z_OK;

  std::size_t used = 0;
  std::size_t produced = 0;
  std::uint8_t spill[1];  // any output past `size` lands here and makes the entry invalid
  int rc = Z_OK;
  while (rc != Z_STREAM_END) {
    const std::size_t inChunk = std::min<std::size_t>(avail - used, 1u << 30);
    z.next_in = const_cast<Bytef*>(in + used);
    z.avail_in = static_cast<uInt>(inChunk);
    bool toSpill = produced == size;
    if (toSpill) {
      z.next_out = spill;
      z.avail_out = sizeof spill;
    } else {
      z.next_out = out.data() + produced;
      z.avail_out = static_cast<uInt>(std::min<std::size_t>(size - produced, 1u << 30));
    }
    const uInt outBefore = z.avail_out;
    rc = inflate(&z, Z_NO_FLUSH);
    used += inChunk - z.avail_in;
    const std::size_t got = outBefore - z.avail_out;
    if (toSpill && got > 0) {
      throw SkinError("Packed skin entry \"" + name + "\" holds more data than its size says");
    }
    produced += got;
    if (rc == Z_STREAM_END) break;
    if (rc == Z_BUF_ERROR || (rc == Z_OK && got == 0 && z.avail_in == 0)) {
      throw SkinError("Packed skin entry \"" + name + "\" is truncated");
    }
    if (rc != Z_OK) {
      throw SkinError(z.msg != nullptr ? z.msg : "zlib inflate error");
    }
  }
  if (produced != size) {
    throw SkinError("Packed skin entry \"" + name + "\" holds less data than its size says");
  }
  if (ownCheck) {
    // The stream ends with the Adler-32 of its data, most significant byte first.
    const std::uint8_t* c = in + used - std::min<std::size_t>(used, 4);
    const std::uint32_t stored = used < 4 ? 0
                                          : static_cast<std::uint32_t>(c[0]) << 24 |
                                                static_cast<std::uint32_t>(c[1]) << 16 |
                                                static_cast<std::uint32_t>(c[2]) << 8 | c[3];
    if (used < 4 || Adler32(1, out) != stored) {
      throw SkinError("Packed skin entry \"" + name + "\" is damaged (checksum)");
    }
  }
  return used;
}

}  // namespace

std::uint32_t Adler32(std::uint32_t adler, std::span<const std::uint8_t> bytes) {
  constexpr std::uint32_t kBase = 65521;
  // Bytes per reduction: the most that keeps both sums under 2^32 (5552), in whole 16-byte steps.
  constexpr std::size_t kBlock = 5552 / 16 * 16;
  std::uint32_t s1 = adler & 0xFFFF;
  std::uint32_t s2 = adler >> 16;
  const std::uint8_t* p = bytes.data();
  std::size_t n = bytes.size();
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  // Weights of the 16 bytes of a step in the second sum: 16 for the first byte down to 1.
  const __m128i wLow = _mm_setr_epi16(16, 15, 14, 13, 12, 11, 10, 9);
  const __m128i wHigh = _mm_setr_epi16(8, 7, 6, 5, 4, 3, 2, 1);
  while (n >= 16) {
    const std::size_t block = std::min(n, kBlock) / 16 * 16;
    const std::size_t steps = block / 16;
    n -= block;
    __m128i sum = zero;       // byte sums (two 64-bit lanes)
    __m128i before = zero;    // the byte sums before each step, added up
    __m128i weighted = zero;  // weighted byte sums (four 32-bit lanes)
    for (std::size_t i = 0; i < steps; ++i, p += 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      before = _mm_add_epi64(before, sum);
      sum = _mm_add_epi64(sum, _mm_sad_epu8(v, zero));
      weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpacklo_epi8(v, zero), wLow));
      weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpackhi_epi8(v, zero), wHigh));
    }
    alignas(16) std::uint64_t s[2], b[2];
    alignas(16) std::uint32_t w[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(s), sum);
    _mm_store_si128(reinterpret_cast<__m128i*>(b), before);
    _mm_store_si128(reinterpret_cast<__m128i*>(w), weighted);
    // Each step adds 16 times the first sum as it stood before the step, plus its weighted bytes.
    const std::uint64_t s2Wide = s2 + std::uint64_t{s1} * block + 16 * (b[0] + b[1]) +
                                 std::uint64_t{w[0]} + w[1] + w[2] + w[3];
    s1 = static_cast<std::uint32_t>((s1 + s[0] + s[1]) % kBase);
    s2 = static_cast<std::uint32_t>(s2Wide % kBase);
  }
#endif
  while (n > 0) {
    const std::size_t block = std::min(n, kBlock);
    n -= block;
    for (std::size_t i = 0; i < block; ++i) {
      s1 += *p++;
      s2 += s1;
    }
    s1 %= kBase;
    s2 %= kBase;
  }
  return s2 << 16 | s1;
}

bool HasExtensionUpper(std::string_view name, std::string_view extUpper) {
  std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  std::size_t sep = name.find_last_of("\\/:");
  if (sep != std::string_view::npos && sep > dot) return false;
  return UpperAscii(name.substr(dot)) == extUpper;
}

void TlcSkinConvertor::Clear() {
  items_.clear();
  items_.shrink_to_fit();
  skinText_.clear();
  skinText_.shrink_to_fit();
  hasSkinText_ = false;
}

void TlcSkinConvertor::ReadPackedFile(const FileSystem& fs, const std::string& fileName) {
  if (!fs.FileExists(fileName)) return;
  auto bytes = fs.ReadFile(fileName, kMaxFileBytes);
  if (!bytes) throw SkinError("Cannot read packed skin file \"" + fileName + "\"");
  ReadPacked(*bytes);
  // The source bytes go out of scope here: only the inflated entries are kept.
}

void TlcSkinConvertor::ReadPacked(std::span<const std::uint8_t> source) {
  Clear();
  try {
    if (source.size() < 4 || std::memcmp(source.data(), kMagic, 4) != 0) {
      throw SkinError(kNotPackedMessage);
    }
    ByteReader c(source, Truncated);
    c.Skip(4);
    const std::uint32_t n = c.Le32();
    // Each entry needs at least 4 + 4 bytes of header and a zlib stream of 8 bytes.
    if (n > kMaxEntries || n > c.Remaining() / 16) {
      throw SkinError("Packed skin claims " + std::to_string(n) + " entries");
    }
    std::uint64_t total = 0;
    items_.reserve(n);
    for (std::uint32_t i = 0; i < n; ++i) {
      const std::uint32_t len = c.Le32();
      if (len > kMaxNameLength) throw SkinError("Packed skin entry name is too long");
      const auto nameBytes = c.Bytes(len);
      std::string name(nameBytes.begin(), nameBytes.end());
      const std::uint32_t size = c.Le32();
      const std::uint64_t bound = static_cast<std::uint64_t>(c.Remaining()) * kMaxInflateRatio;
      if (size > kMaxEntryBytes || size > bound || total + size > kMaxTotalBytes) {
        throw SkinError("Packed skin entry \"" + name + "\" claims " + std::to_string(size) +
                        " bytes");
      }
      total += size;
      InflatedBytes data;
      c.Skip(InflateExact(source.data() + c.Position(), c.Remaining(), data, size, name));
      if (UpperAscii(name) == "OPTIONS.DAT") {
        skinText_.assign(data.begin(), data.end());
        hasSkinText_ = true;
      } else {
        TlcImageItem item;
        item.IsBitmap = HasExtensionUpper(name, ".BMP");
        item.Name = std::move(name);
        item.Data = std::move(data);
        items_.push_back(std::move(item));
      }
    }
    if (!hasSkinText_) throw SkinError("Packed skin has no \"Options.dat\" entry");
  } catch (...) {
    Clear();
    throw;
  }
}

const TlcImageItem* TlcSkinConvertor::FindItem(std::string_view name) const {
  for (const TlcImageItem& item : items_) {
    if (UpperAscii(item.Name) == name) return &item;
  }
  return nullptr;
}

std::vector<PackEntry> CollectFolder(const FileSystem& fs, const std::string& folder) {
  std::string dir = folder;
  if (!dir.empty() && dir.back() != '\\' && dir.back() != '/') dir += '\\';
  std::vector<DirEntry> list = fs.ListDirectory(folder);
  std::sort(list.begin(), list.end(),
            [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
  std::vector<PackEntry> out;
  bool hasText = false;
  for (const DirEntry& e : list) {
    if (e.isDirectory) continue;
    auto bytes = fs.ReadFile(dir + e.name, TlcSkinConvertor::kMaxEntryBytes);
    if (!bytes) throw SkinError("Cannot read \"" + dir + e.name + "\"");
    PackEntry entry{e.name, std::move(*bytes)};
    if (UpperAscii(e.name) == "OPTIONS.DAT" && !hasText) {
      hasText = true;
      out.insert(out.begin(), std::move(entry));
    } else {
      out.push_back(std::move(entry));
    }
  }
  if (!hasText) throw SkinError("\"" + folder + "\" holds no \"Options.dat\"");
  return out;
}

Bytes WritePacked(std::span<const PackEntry> entries) {
  if (entries.size() > TlcSkinConvertor::kMaxEntries) throw SkinError("Too many files to pack");
  Bytes out(kMagic, kMagic + 4);
  auto put32 = [&out](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  put32(static_cast<std::uint32_t>(entries.size()));
  std::uint64_t total = 0;
  for (const PackEntry& e : entries) {
    if (e.name.size() > TlcSkinConvertor::kMaxNameLength) {
      throw SkinError("File name too long to pack: " + e.name);
    }
    if (e.data.size() > TlcSkinConvertor::kMaxEntryBytes ||
        (total += e.data.size()) > TlcSkinConvertor::kMaxTotalBytes) {
      throw SkinError("File too large to pack: " + e.name);
    }
    put32(static_cast<std::uint32_t>(e.name.size()));
    out.insert(out.end(), e.name.begin(), e.name.end());
    put32(static_cast<std::uint32_t>(e.data.size()));
    // PNG and JPEG data is compressed already: stored blocks keep the pack as small and make
    // loading it cheaper (one inflate of the picture instead of two).
    const bool compressed = HasExtensionUpper(e.name, ".PNG") ||
                            HasExtensionUpper(e.name, ".JPG") || HasExtensionUpper(e.name, ".JPEG");
    uLongf len = compressBound(static_cast<uLong>(e.data.size()));
    Bytes z(len);
    if (compress2(z.data(), &len, e.data.data(), static_cast<uLong>(e.data.size()),
                  compressed ? Z_NO_COMPRESSION : Z_BEST_COMPRESSION) != Z_OK) {
      throw SkinError("zlib compression failed for " + e.name);
    }
    out.insert(out.end(), z.begin(), z.begin() + static_cast<std::ptrdiff_t>(len));
  }
  return out;
}

}  // namespace sapala::skin
