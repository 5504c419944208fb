// Compound file writer; see compound_file_writer.h.
#include "core/data/compound_file_writer.h"

#include <algorithm>
#include <functional>

#include "core/data/error.h"
#include "core/data/text.h"

namespace sapala::data {
namespace {

constexpr std::size_t kSector = 512;
constexpr std::size_t kMiniSector = 64;
constexpr std::size_t kCutoff = 4096;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFree = 0xFFFFFFFF;
constexpr std::uint32_t kFatSect = 0xFFFFFFFD;
constexpr std::uint32_t kDifSect = 0xFFFFFFFC;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;

void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::size_t SectorsFor(std::size_t bytes, std::size_t unit) { return (bytes + unit - 1) / unit; }

struct DirEntry {
  std::u16string name;
  std::uint8_t type = 0;
  std::uint32_t left = kNoStream, right = kNoStream, child = kNoStream;
  std::uint32_t start = kEndOfChain;
  std::uint32_t size = 0;
};

// Directory order: shorter names first, then by upper-cased UTF-16 units.
bool DirLess(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return a.size() < b.size();
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto up = [](char16_t c) {
      return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
    };
    if (up(a[i]) != up(b[i])) return up(a[i]) < up(b[i]);
  }
  return false;
}

}  // namespace

std::vector<std::uint8_t> WriteCompoundFile(const std::vector<CompoundStream>& streams) {
  std::vector<DirEntry> dir(1);
  dir[0].name = u"Root Entry";
  dir[0].type = 5;
  for (const auto& s : streams) {
    DirEntry e;
    e.name = Utf8ToUtf16(s.name);
    if (e.name.empty() || e.name.size() > 31) {
      throw DataError("A compound file stream name must have 1 to 31 characters.");
    }
    for (const auto& other : dir) {
      if (!DirLess(e.name, other.name) && !DirLess(other.name, e.name) && other.type == 2) {
        throw DataError("Two compound file streams have the same name.");
      }
    }
    if (s.data.size() > 0x7FFFFFFF) throw DataError("A compound file stream is too large.");
    e.type = 2;
    e.size = static_cast<std::uint32_t>(s.data.size());
    dir.push_back(std::move(e));
  }

  // Sector plan: regular streams, mini stream, mini FAT, directory, FAT, DIFAT.
  std::vector<std::uint32_t> fat;
  auto chain = [&fat](std::size_t count) -> std::uint32_t {
    if (count == 0) return kEndOfChain;
    const auto first = static_cast<std::uint32_t>(fat.size());
    for (std::size_t i = 0; i + 1 < count; ++i)
      fat.push_back(static_cast<std::uint32_t>(fat.size() + 1));
    fat.push_back(kEndOfChain);
    return first;
  };
  std::vector<std::uint8_t> mini_stream;
  std::vector<std::uint32_t> mini_fat;
  for (std::size_t i = 0; i < streams.size(); ++i) {
    const auto& data = streams[i].data;
    if (data.size() >= kCutoff) {
      dir[i + 1].start = chain(SectorsFor(data.size(), kSector));
    } else if (!data.empty()) {
      const std::size_t n = SectorsFor(data.size(), kMiniSector);
      dir[i + 1].start = static_cast<std::uint32_t>(mini_fat.size());
      for (std::size_t k = 0; k + 1 < n; ++k)
        mini_fat.push_back(static_cast<std::uint32_t>(mini_fat.size() + 1));
      mini_fat.push_back(kEndOfChain);
      mini_stream.insert(mini_stream.end(), data.begin(), data.end());
      mini_stream.resize(mini_fat.size() * kMiniSector, 0);
    }
  }
  dir[0].size = static_cast<std::uint32_t>(mini_stream.size());
  dir[0].start = chain(SectorsFor(mini_stream.size(), kSector));
  const std::size_t mini_fat_sectors = SectorsFor(mini_fat.size() * 4, kSector);
  const std::uint32_t mini_fat_start = chain(mini_fat_sectors);
  const std::size_t dir_sectors = SectorsFor(dir.size() * 128, kSector);
  const std::uint32_t dir_start = chain(dir_sectors);

  // FAT sectors cover every sector including themselves and the DIFAT's.
  std::size_t fat_sectors = 0, difat_sectors = 0;
  for (;;) {
    const std::size_t total = fat.size() + fat_sectors + difat_sectors;
    const std::size_t need_fat = SectorsFor(total, kSector / 4);
    const std::size_t need_difat = need_fat > 109 ? SectorsFor(need_fat - 109, kSector / 4 - 1) : 0;
    if (need_fat == fat_sectors && need_difat == difat_sectors) break;
    fat_sectors = need_fat;
    difat_sectors = need_difat;
  }
  const auto fat_first = static_cast<std::uint32_t>(fat.size());
  for (std::size_t i = 0; i < fat_sectors; ++i) fat.push_back(kFatSect);
  const auto difat_first = static_cast<std::uint32_t>(fat.size());
  for (std::size_t i = 0; i < difat_sectors; ++i) fat.push_back(kDifSect);
  const std::size_t sector_count = fat.size();
  fat.resize(fat_sectors * (kSector / 4), kFree);

  // Directory tree: the streams hang under the root as a balanced tree in directory order.
  std::vector<std::uint32_t> order;
  for (std::uint32_t i = 1; i < dir.size(); ++i) order.push_back(i);
  std::sort(order.begin(), order.end(),
            [&dir](std::uint32_t a, std::uint32_t b) { return DirLess(dir[a].name, dir[b].name); });
  std::function<std::uint32_t(std::size_t, std::size_t)> build = [&](std::size_t lo,
                                                                     std::size_t hi) {
    if (lo >= hi) return kNoStream;
    const std::size_t mid = (lo + hi) / 2;
    const std::uint32_t node = order[mid];
    dir[node].left = build(lo, mid);
    dir[node].right = build(mid + 1, hi);
    return node;
  };
  dir[0].child = build(0, order.size());

  std::vector<std::uint8_t> out((1 + sector_count) * kSector, 0);
  // Header.
  const std::uint8_t sig[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  std::copy(sig, sig + 8, out.begin());
  Put16(out, 0x18, 0x003E);
  Put16(out, 0x1A, 0x0003);
  Put16(out, 0x1C, 0xFFFE);
  Put16(out, 0x1E, 9);
  Put16(out, 0x20, 6);
  Put32(out, 0x2C, static_cast<std::uint32_t>(fat_sectors));
  Put32(out, 0x30, dir_start);
  Put32(out, 0x38, kCutoff);
  Put32(out, 0x3C, mini_fat_sectors ? mini_fat_start : kEndOfChain);
  Put32(out, 0x40, static_cast<std::uint32_t>(mini_fat_sectors));
  Put32(out, 0x44, difat_sectors ? difat_first : kEndOfChain);
  Put32(out, 0x48, static_cast<std::uint32_t>(difat_sectors));
  for (std::size_t i = 0; i < 109; ++i) {
    Put32(out, 0x4C + 4 * i, i < fat_sectors ? fat_first + static_cast<std::uint32_t>(i) : kFree);
  }
  auto sector_at = [](std::uint32_t n) { return (static_cast<std::size_t>(n) + 1) * kSector; };
  // Stream data.
  for (std::size_t i = 0; i < streams.size(); ++i) {
    const auto& data = streams[i].data;
    if (data.size() >= kCutoff) {
      std::copy(data.begin(), data.end(),
                out.begin() + static_cast<std::ptrdiff_t>(sector_at(dir[i + 1].start)));
    }
  }
  if (!mini_stream.empty()) {
    std::copy(mini_stream.begin(), mini_stream.end(),
              out.begin() + static_cast<std::ptrdiff_t>(sector_at(dir[0].start)));
  }
  if (mini_fat_sectors) {
    std::vector<std::uint32_t> padded = mini_fat;
    padded.resize(mini_fat_sectors * (kSector / 4), kFree);
    for (std::size_t i = 0; i < padded.size(); ++i)
      Put32(out, sector_at(mini_fat_start) + 4 * i, padded[i]);
  }
  // Directory entries, and empty ones filling the last sector.
  for (std::size_t i = 0; i < dir_sectors * (kSector / 128); ++i) {
    const std::size_t at = sector_at(dir_start) + 128 * i;
    if (i >= dir.size()) {
      Put32(out, at + 0x44, kNoStream);
      Put32(out, at + 0x48, kNoStream);
      Put32(out, at + 0x4C, kNoStream);
      continue;
    }
    const DirEntry& e = dir[i];
    for (std::size_t k = 0; k < e.name.size(); ++k) Put16(out, at + 2 * k, e.name[k]);
    Put16(out, at + 0x40, static_cast<std::uint32_t>((e.name.size() + 1) * 2));
    out[at + 0x42] = e.type;
    out[at + 0x43] = 1;  // black
    Put32(out, at + 0x44, e.left);
    Put32(out, at + 0x48, e.right);
    Put32(out, at + 0x4C, e.child);
    Put32(out, at + 0x74, e.size ? e.start : (e.type == 5 ? kEndOfChain : 0));
    Put32(out, at + 0x78, e.size);
  }
  for (std::size_t i = 0; i < fat.size(); ++i) {
    Put32(out,
          sector_at(fat_first + static_cast<std::uint32_t>(i / (kSector / 4))) +
              4 * (i % (kSector / 4)),
          fat[i]);
  }
  // DIFAT: 127 FAT sector numbers per sector, then the next DIFAT sector.
  for (std::size_t d = 0; d < difat_sectors; ++d) {
    const std::size_t at = sector_at(difat_first + static_cast<std::uint32_t>(d));
    for (std::size_t k = 0; k < kSector / 4 - 1; ++k) {
      const std::size_t index = 109 + d * (kSector / 4 - 1) + k;
      Put32(out, at + 4 * k,
            index < fat_sectors ? fat_first + static_cast<std::uint32_t>(index) : kFree);
    }
    Put32(out, at + kSector - 4,
          d + 1 < difat_sectors ? difat_first + static_cast<std::uint32_t>(d + 1) : kEndOfChain);
  }
  return out;
}

}  // namespace sapala::data
