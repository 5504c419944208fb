// Packed skin reader and writer; see skin_pack.h for the format and its limits.
#include "core/skin/skin_pack.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "core/skin/file_system.h"
#include "core/skin/skin_error.h"
#include "core/skin/skin_text.h"

namespace sapala::skin {
namespace {

constexpr char kMagic[4] = {'L', 'S', 'z', 'f'};

class Cursor {
 public:
  explicit Cursor(std::span<const std::uint8_t> b) : bytes_(b) {}
  std::size_t Remaining() const { return bytes_.size() - pos_; }
  std::uint32_t U32(const char* what) {
    if (Remaining() < 4) throw SkinError(std::string("Packed skin is truncated (") + what + ")");
    const std::uint8_t* p = bytes_.data() + pos_;
    pos_ += 4;
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
  }
  std::string Text(std::uint32_t n) {
    if (Remaining() < n) throw SkinError("Packed skin is truncated (entry name)");
    std::string s(reinterpret_cast<const char*>(bytes_.data() + pos_), n);
    pos_ += n;
    return s;
  }
  const std::uint8_t* Here() const { return bytes_.data() + pos_; }
  void Skip(std::size_t n) { pos_ += n; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

// Inflates one zlib stream starting at `in` (at most `avail` bytes) into exactly `size` bytes.
// Returns the number of input bytes the stream used.
std::size_t InflateExact(const std::uint8_t* in, std::size_t avail, Bytes& out,
                         std::uint32_t size, const std::string& name) {
  out.assign(size, 0);
  z_stream z{};
  if (inflateInit(&z) != Z_OK) throw SkinError("zlib initialisation failed");
  struct End {
    z_stream* z;
    ~End() { inflateEnd(z); }
  } end{&z};

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
  return used;
}

}  // namespace

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
    Cursor c(source);
    c.Skip(4);
    const std::uint32_t n = c.U32("entry count");
    // Each entry needs at least 4 + 4 bytes of header and a zlib stream of 8 bytes.
    if (n > kMaxEntries || n > c.Remaining() / 16) {
      throw SkinError("Packed skin claims " + std::to_string(n) + " entries");
    }
    std::uint64_t total = 0;
    items_.reserve(n);
    for (std::uint32_t i = 0; i < n; ++i) {
      const std::uint32_t len = c.U32("entry name length");
      if (len > kMaxNameLength) throw SkinError("Packed skin entry name is too long");
      std::string name = c.Text(len);
      const std::uint32_t size = c.U32("entry size");
      const std::uint64_t bound = static_cast<std::uint64_t>(c.Remaining()) * kMaxInflateRatio;
      if (size > kMaxEntryBytes || size > bound || total + size > kMaxTotalBytes) {
        throw SkinError("Packed skin entry \"" + name + "\" claims " + std::to_string(size) +
                        " bytes");
      }
      total += size;
      Bytes data;
      c.Skip(InflateExact(c.Here(), c.Remaining(), data, size, name));
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
    const bool compressed = HasExtensionUpper(e.name, ".PNG") || HasExtensionUpper(e.name, ".JPG") ||
                            HasExtensionUpper(e.name, ".JPEG");
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
