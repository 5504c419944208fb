// Packed skin reader and writer; see skin_pack.h for the format and its limits.
#include "core/skin/skin_pack.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/base/byte_reader.h"
#include "core/base/endian.h"
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

// One zlib stream starting at `in` (at most `avail` bytes) that must inflate to exactly `size`
// bytes, read in pieces into memory the caller chooses. Read() fills a piece whole or raises
// SkinError; Finish() checks that the stream ends right after `size` bytes and that its checksum
// holds, and returns the number of input bytes the stream used.
class EntryInflater {
 public:
  EntryInflater(const std::uint8_t* in, std::size_t avail, std::uint32_t size,
                const std::string& name)
      : in_(in), avail_(avail), size_(size), name_(name) {
    if (inflateInit(&z_) != Z_OK) throw SkinError("zlib initialisation failed");
    // With SSE2 the checksum is computed here, several times faster than zlib's own; zlib still
    // reads the four check bytes at the stream's end.
    ownCheck_ = kFastAdler32 && inflateValidate(&z_, 0) == Z_OK;
  }
  ~EntryInflater() { inflateEnd(&z_); }
  EntryInflater(const EntryInflater&) = delete;
  EntryInflater& operator=(const EntryInflater&) = delete;

  std::uint32_t Produced() const { return static_cast<std::uint32_t>(produced_); }

  // The next `n` bytes of the entry into `out`; `n` must not go past `size`.
  void Read(std::uint8_t* out, std::size_t n) {
    std::size_t got = 0;
    while (got < n) {
      if (ended_) Fail("holds less data than its size says");
      got += Step(out + got, n - got);
    }
    produced_ += n;
    if (ownCheck_) adler_ = Adler32(adler_, std::span<const std::uint8_t>(out, n));
  }

  std::size_t Finish() {
    if (produced_ != size_) Fail("holds less data than its size says");
    std::uint8_t spill[1];  // any output past `size` lands here and makes the entry invalid
    while (!ended_) {
      if (Step(spill, sizeof spill) > 0) Fail("holds more data than its size says");
    }
    if (ownCheck_) {
      // The stream ends with the Adler-32 of its data, most significant byte first.
      const std::uint8_t* c = in_ + used_ - std::min<std::size_t>(used_, 4);
      const std::uint32_t stored = used_ < 4 ? 0
                                             : static_cast<std::uint32_t>(c[0]) << 24 |
                                                   static_cast<std::uint32_t>(c[1]) << 16 |
                                                   static_cast<std::uint32_t>(c[2]) << 8 | c[3];
      if (used_ < 4 || adler_ != stored) Fail("is damaged (checksum)");
    }
    return used_;
  }

 private:
  [[noreturn]] void Fail(const char* what) const {
    throw SkinError("Packed skin entry \"" + name_ + "\" " + what);
  }

  // One call of inflate into at most `n` bytes at `out`; returns the bytes it gave.
  std::size_t Step(std::uint8_t* out, std::size_t n) {
    const std::size_t inChunk = std::min<std::size_t>(avail_ - used_, 1u << 30);
    z_.next_in = const_cast<Bytef*>(in_ + used_);
    z_.avail_in = static_cast<uInt>(inChunk);
    z_.next_out = out;
    z_.avail_out = static_cast<uInt>(std::min<std::size_t>(n, 1u << 30));
    const uInt outBefore = z_.avail_out;
    const int rc = inflate(&z_, Z_NO_FLUSH);
    used_ += inChunk - z_.avail_in;
    const std::size_t got = outBefore - z_.avail_out;
    if (rc == Z_STREAM_END) {
      ended_ = true;
    } else if (rc == Z_BUF_ERROR || (rc == Z_OK && got == 0 && z_.avail_in == 0)) {
      Fail("is truncated");
    } else if (rc != Z_OK) {
      throw SkinError(z_.msg != nullptr ? z_.msg : "zlib inflate error");
    }
    return got;
  }

  z_stream z_{};
  const std::uint8_t* in_;
  std::size_t avail_;
  std::size_t used_ = 0;
  std::size_t size_;
  std::size_t produced_ = 0;
  const std::string& name_;
  bool ownCheck_ = false;
  bool ended_ = false;
  std::uint32_t adler_ = 1;
};

// Inflates a whole entry into `out`; returns the input bytes its stream used. `out` is sized
// first and left unfilled: a stream that gives fewer bytes is an error, and `out` is dropped.
std::size_t InflateExact(const std::uint8_t* in, std::size_t avail, InflatedBytes& out,
                         std::uint32_t size, const std::string& name) {
  out.resize(size);
  EntryInflater z(in, avail, size, name);
  z.Read(out.data(), size);
  return z.Finish();
}

// The layout of a BMP entry whose rows are inflated straight into a bitmap: a 40-byte info
// header, 32 bits a pixel without compression, a side of at most kMaxDirectSide pixels, and the
// rows ending exactly where the entry does. Any other BMP (and a damaged one) is inflated whole
// and left to the BMP reader, with its own checks and messages.
struct DirectBmp {
  int width = 0;
  int height = 0;
  bool topDown = false;
  std::uint32_t pixelOffset = 0;
};

constexpr std::size_t kBmpHeadBytes = 54;  // file header and 40-byte info header

std::optional<DirectBmp> DirectLayout(const std::uint8_t* head, std::uint32_t size) {
  auto le32 = [head](std::size_t o) {
    return static_cast<std::uint32_t>(head[o]) | static_cast<std::uint32_t>(head[o + 1]) << 8 |
           static_cast<std::uint32_t>(head[o + 2]) << 16 |
           static_cast<std::uint32_t>(head[o + 3]) << 24;
  };
  if (head[0] != 'B' || head[1] != 'M' || le32(14) != 40) return std::nullopt;
  const std::uint32_t bitsAndPlanes = le32(26);  // planes (ignored), then the bit count
  if ((bitsAndPlanes >> 16) != 32 || le32(30) != 0) return std::nullopt;
  const auto width = static_cast<std::int32_t>(le32(18));
  const auto height = static_cast<std::int32_t>(le32(22));
  const std::int64_t rows = height < 0 ? -std::int64_t{height} : height;
  if (width <= 0 || width > TlcSkinConvertor::kMaxDirectSide || rows == 0 ||
      rows > TlcSkinConvertor::kMaxDirectSide) {
    return std::nullopt;
  }
  const std::uint32_t offset = le32(10);
  if (offset < kBmpHeadBytes || offset > size ||
      size - offset !=
          std::uint64_t{4} * static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(rows)) {
    return std::nullopt;
  }
  return DirectBmp{width, static_cast<int>(rows), height < 0, offset};
}

// Inflates a BMP entry. In the direct layout the header bytes go to `head` and the rows straight
// into `pixels`; otherwise the whole file goes to `head`.
std::size_t InflateBmp(const std::uint8_t* in, std::size_t avail, InflatedBytes& head,
                       graphics::Bitmap& pixels, std::uint32_t size, const std::string& name) {
  if (size < kBmpHeadBytes) return InflateExact(in, avail, head, size, name);
  EntryInflater z(in, avail, size, name);
  std::uint8_t first[kBmpHeadBytes];
  z.Read(first, sizeof first);
  const std::optional<DirectBmp> layout = DirectLayout(first, size);
  head.resize(layout ? layout->pixelOffset : size);
  std::memcpy(head.data(), first, sizeof first);
  z.Read(head.data() + sizeof first, head.size() - sizeof first);
  if (!layout) return z.Finish();

  using graphics::Bitmap;
  Bitmap b = Bitmap::ForOverwrite(
      layout->width, layout->height, graphics::PixelFormat::pf32bit,
      layout->topDown ? Bitmap::RowOrder::TopDown : Bitmap::RowOrder::BottomUp);
  const std::size_t row = 4 * static_cast<std::size_t>(layout->width);
  const bool contiguous = static_cast<std::size_t>(std::abs(b.Stride())) == row;
  if (contiguous) {
    // One run of memory: inflate every row at once, then turn the rows round if the bitmap
    // keeps them in the other order than the file.
    const int last = layout->height - 1;
    std::uint8_t* low = b.Stride() > 0 ? b.ScanLine(0) : b.ScanLine(last);
    z.Read(low, row * static_cast<std::size_t>(layout->height));
    if ((b.Stride() > 0) != layout->topDown) {
      UninitVector<std::uint8_t> spare(row);
      for (int y = 0; y < layout->height / 2; ++y) {
        std::memcpy(spare.data(), b.ScanLine(y), row);
        std::memcpy(b.ScanLine(y), b.ScanLine(last - y), row);
        std::memcpy(b.ScanLine(last - y), spare.data(), row);
      }
    }
  } else {
    for (int i = 0; i < layout->height; ++i) {
      z.Read(b.ScanLine(layout->topDown ? i : layout->height - 1 - i), row);
    }
  }
  const std::size_t used = z.Finish();
  pixels = std::move(b);
  return used;
}

}  // namespace

std::uint32_t Adler32(std::uint32_t adler, std::span<const std::uint8_t> bytes) {
  constexpr std::uint32_t kBase = 65521;
  // Bytes per reduction of the plain loop: the most that keeps both sums under 2^32.
  constexpr std::size_t kBlock = 5552;
  std::uint32_t s1 = adler & 0xFFFF;
  std::uint32_t s2 = adler >> 16;
  const std::uint8_t* p = bytes.data();
  std::size_t n = bytes.size();
#if defined(__SSE2__)
  // Steps of 32 bytes. Each step adds its byte sum (two SADs) to the first sum; the second sum
  // gets 32 times the first sum as it stood before the step, plus the step's bytes weighted
  // 32 for the first down to 1 for the last. The bytes are added up per position in 16-bit
  // lanes and weighted once a block: 128 steps keep every lane under 2^15, as the signed
  // multiply-add needs.
  constexpr std::size_t kSteps = 128;
  const __m128i zero = _mm_setzero_si128();
  const __m128i w0 = _mm_setr_epi16(32, 31, 30, 29, 28, 27, 26, 25);
  const __m128i w1 = _mm_setr_epi16(24, 23, 22, 21, 20, 19, 18, 17);
  const __m128i w2 = _mm_setr_epi16(16, 15, 14, 13, 12, 11, 10, 9);
  const __m128i w3 = _mm_setr_epi16(8, 7, 6, 5, 4, 3, 2, 1);
  while (n >= 32) {
    const std::size_t steps = std::min(n / 32, kSteps);
    n -= steps * 32;
    __m128i sum = zero;                                  // byte sums (two 64-bit lanes)
    __m128i before = zero;                               // the byte sums before each step, added up
    __m128i c0 = zero, c1 = zero, c2 = zero, c3 = zero;  // bytes by position, 16-bit lanes
    for (std::size_t i = 0; i < steps; ++i, p += 32) {
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
      before = _mm_add_epi64(before, sum);
      sum = _mm_add_epi64(sum, _mm_add_epi64(_mm_sad_epu8(a, zero), _mm_sad_epu8(b, zero)));
      c0 = _mm_add_epi16(c0, _mm_unpacklo_epi8(a, zero));
      c1 = _mm_add_epi16(c1, _mm_unpackhi_epi8(a, zero));
      c2 = _mm_add_epi16(c2, _mm_unpacklo_epi8(b, zero));
      c3 = _mm_add_epi16(c3, _mm_unpackhi_epi8(b, zero));
    }
    const __m128i weighted =
        _mm_add_epi32(_mm_add_epi32(_mm_madd_epi16(c0, w0), _mm_madd_epi16(c1, w1)),
                      _mm_add_epi32(_mm_madd_epi16(c2, w2), _mm_madd_epi16(c3, w3)));
    alignas(16) std::uint64_t s[2], b[2];
    alignas(16) std::uint32_t w[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(s), sum);
    _mm_store_si128(reinterpret_cast<__m128i*>(b), before);
    _mm_store_si128(reinterpret_cast<__m128i*>(w), weighted);
    const std::uint64_t s2Wide = s2 + std::uint64_t{s1} * (32 * steps) + 32 * (b[0] + b[1]) +
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
  return EqualsUpperAscii(name.substr(dot), extUpper);
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
      graphics::Bitmap pixels;
      const std::uint8_t* stream = source.data() + c.Position();
      const bool bmp = HasExtensionUpper(name, ".BMP");
      c.Skip(bmp ? InflateBmp(stream, c.Remaining(), data, pixels, size, name)
                 : InflateExact(stream, c.Remaining(), data, size, name));
      if (EqualsUpperAscii(name, "OPTIONS.DAT")) {
        skinText_.assign(data.begin(), data.end());
        hasSkinText_ = true;
      } else {
        TlcImageItem item;
        item.IsBitmap = bmp;
        item.Name = std::move(name);
        item.Data = std::move(data);
        item.Pixels = std::move(pixels);
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
    if (EqualsUpperAscii(item.Name, name)) return &item;
  }
  return nullptr;
}

graphics::Bitmap TlcSkinConvertor::TakePixels(std::string_view name) {
  for (TlcImageItem& item : items_) {
    if (!EqualsUpperAscii(item.Name, name)) continue;
    if (item.Pixels.Empty()) return {};
    item.PixelsTaken = true;
    return std::move(item.Pixels);
  }
  return {};
}

Bytes EntryFileBytes(const TlcImageItem& item) {
  if (item.PixelsTaken) throw SkinError("The picture of \"" + item.Name + "\" was taken");
  Bytes out(item.Data.begin(), item.Data.end());
  const graphics::Bitmap& b = item.Pixels;
  if (b.Empty()) return out;
  const bool topDown = static_cast<std::int32_t>(LoadLe32(item.Data.data() + 22)) < 0;
  const std::size_t row = 4 * static_cast<std::size_t>(b.Width());
  out.reserve(out.size() + row * static_cast<std::size_t>(b.Height()));
  for (int i = 0; i < b.Height(); ++i) {
    const std::uint8_t* r = b.ScanLine(topDown ? i : b.Height() - 1 - i);
    out.insert(out.end(), r, r + row);
  }
  return out;
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
