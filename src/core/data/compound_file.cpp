// OLE2 compound file reader; see compound_file.h.
#include "core/data/compound_file.h"

#include <algorithm>
#include <cstring>

#include "core/base/byte_reader.h"
#include "core/data/error.h"
#include "core/data/text.h"

namespace sapala::data {
namespace {

constexpr std::uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr std::uint32_t kMaxRegular = 0xFFFFFFFA;  // sector numbers above are markers
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFree = 0xFFFFFFFF;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr std::size_t kEntrySize = 128;

[[noreturn]] void Fail(const std::string& what) {
  throw DataError("The workbook file is damaged or not an Excel 97-2003 workbook (" + what + ").");
}

// Little-endian fields at `at` of `b`; a field beyond the end is a damaged file.
void ReadPastEnd(const char*) { Fail("a field lies beyond its sector"); }
std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at) {
  return ByteReader(b, ReadPastEnd).Le16At(at);
}
std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
  return ByteReader(b, ReadPastEnd).Le32At(at);
}

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

CompoundFile::CompoundFile(std::span<const std::uint8_t> file) : file_(file) {
  if (file_.size() < 512 || std::memcmp(file_.data(), kSignature, 8) != 0) {
    throw DataError(
        "The workbook file is not an Excel 97-2003 workbook (no compound file "
        "signature).");
  }
  if (U16(file_, 0x1C) != 0xFFFE) Fail("byte order mark");
  const unsigned shift = U16(file_, 0x1E);
  const unsigned mini_shift = U16(file_, 0x20);
  if (shift != 9 && shift != 12) Fail("sector size");
  if (mini_shift != 6) Fail("mini sector size");
  sector_size_ = std::size_t{1} << shift;
  mini_sector_size_ = std::size_t{1} << mini_shift;
  if (file_.size() < sector_size_) Fail("truncated header");
  // Sector n starts at (n + 1) * sector size; count those that begin inside the file.
  const std::uint64_t whole = file_.size() / sector_size_;
  const std::uint64_t sectors = whole - 1 + (file_.size() % sector_size_ ? 1 : 0);
  sector_count_ = static_cast<std::uint32_t>(std::min<std::uint64_t>(sectors, kMaxRegular));

  const std::uint32_t fat_sectors = U32(file_, 0x2C);
  const std::uint32_t dir_start = U32(file_, 0x30);
  mini_cutoff_ = U32(file_, 0x38);
  const std::uint32_t mini_fat_start = U32(file_, 0x3C);
  const std::uint32_t mini_fat_sectors = U32(file_, 0x40);
  std::uint32_t difat_next = U32(file_, 0x44);
  const std::uint32_t difat_sectors = U32(file_, 0x48);
  if (mini_cutoff_ != 4096) Fail("mini stream cutoff");
  // Every FAT sector lies in the file, so a count above the sector count is a lie.
  if (fat_sectors > sector_count_) Fail("FAT sector count");
  if (difat_sectors > sector_count_) Fail("DIFAT sector count");

  // The FAT's sector list: 109 entries in the header, then the DIFAT chain.
  std::vector<std::uint32_t> fat_list;
  fat_list.reserve(fat_sectors);
  for (std::size_t i = 0; i < 109 && fat_list.size() < fat_sectors; ++i) {
    fat_list.push_back(U32(file_, 0x4C + 4 * i));
  }
  std::vector<bool> seen_difat(sector_count_, false);
  const std::size_t per_difat = sector_size_ / 4 - 1;
  for (std::uint32_t n = 0; fat_list.size() < fat_sectors; ++n) {
    if (n >= difat_sectors || difat_next >= sector_count_) Fail("DIFAT chain");
    if (seen_difat[difat_next]) Fail("DIFAT chain loops");
    seen_difat[difat_next] = true;
    const auto sec = WholeSector(difat_next);
    for (std::size_t i = 0; i < per_difat && fat_list.size() < fat_sectors; ++i) {
      fat_list.push_back(U32(sec, 4 * i));
    }
    difat_next = U32(sec, 4 * per_difat);
  }
  fat_.reserve(fat_list.size() * (sector_size_ / 4));
  for (std::uint32_t s : fat_list) {
    if (s >= sector_count_) Fail("FAT sector out of range");
    const auto sec = WholeSector(s);
    for (std::size_t i = 0; i < sector_size_ / 4; ++i) fat_.push_back(U32(sec, 4 * i));
  }

  // Directory.
  const auto dir_chain = Chain(dir_start, fat_, "directory");
  entries_.reserve(dir_chain.size() * (sector_size_ / kEntrySize));
  for (std::uint32_t s : dir_chain) {
    const auto sec = WholeSector(s);
    for (std::size_t off = 0; off + kEntrySize <= sector_size_; off += kEntrySize) {
      const auto e = sec.subspan(off, kEntrySize);
      Entry entry;
      const std::size_t name_bytes = std::min<std::size_t>(U16(e, 0x40), 64);
      const std::size_t units = name_bytes >= 2 ? name_bytes / 2 - 1 : 0;  // minus the NUL
      entry.name = Utf16LeToUtf8(e.subspan(0, units * 2));
      entry.type = e[0x42];
      entry.left = U32(e, 0x44);
      entry.right = U32(e, 0x48);
      entry.child = U32(e, 0x4C);
      entry.start = U32(e, 0x74);
      entry.size = U32(e, 0x78);
      // Version 3 files keep only 32 bits of size; the high half may hold junk there.
      if (shift == 12) entry.size |= static_cast<std::uint64_t>(U32(e, 0x7C)) << 32;
      entries_.push_back(std::move(entry));
    }
  }
  if (entries_.empty() || entries_[0].type != 5) Fail("no root entry");

  // Mini FAT and the mini stream (the root entry's data), needed only for small streams.
  if (mini_fat_sectors > 0 && mini_fat_start != kEndOfChain) {
    if (mini_fat_sectors > sector_count_) Fail("mini FAT sector count");
    for (std::uint32_t s : Chain(mini_fat_start, fat_, "mini FAT")) {
      const auto sec = WholeSector(s);
      for (std::size_t i = 0; i < sector_size_ / 4; ++i) mini_fat_.push_back(U32(sec, 4 * i));
    }
    const Entry& root = entries_[0];
    if (root.size > file_.size()) Fail("mini stream size");
    mini_stream_ = ReadChain(root.start, root.size);
  }
}

std::span<const std::uint8_t> CompoundFile::Sector(std::uint32_t n) const {
  const std::size_t begin = (static_cast<std::size_t>(n) + 1) * sector_size_;
  // Writers may leave the last sector short; what is missing reads as absent, and the
  // callers check stream sizes against what they got.
  const std::size_t end = std::min(begin + sector_size_, file_.size());
  if (begin >= end) Fail("sector beyond the end of the file");
  return file_.subspan(begin, end - begin);
}

std::span<const std::uint8_t> CompoundFile::WholeSector(std::uint32_t n) const {
  const auto sec = Sector(n);
  if (sec.size() != sector_size_) Fail("table sector cut short by the end of the file");
  return sec;
}

std::vector<std::uint32_t> CompoundFile::Chain(std::uint32_t start,
                                               const std::vector<std::uint32_t>& fat,
                                               const char* what) const {
  std::vector<std::uint32_t> chain;
  std::vector<bool> seen(fat.size(), false);
  for (std::uint32_t s = start; s != kEndOfChain;) {
    if (s >= fat.size()) Fail(std::string(what) + " chain out of range");
    if (seen[s]) Fail(std::string(what) + " chain loops");
    seen[s] = true;
    chain.push_back(s);
    s = fat[s];
    if (s == kFree) Fail(std::string(what) + " chain runs into a free sector");
  }
  return chain;
}

std::vector<std::uint8_t> CompoundFile::ReadChain(std::uint32_t start, std::uint64_t size) const {
  std::vector<std::uint8_t> out;
  out.reserve(static_cast<std::size_t>(size));
  for (std::uint32_t s : Chain(start, fat_, "stream")) {
    if (out.size() >= size) break;
    if (s >= sector_count_) Fail("stream sector out of range");
    const auto sec = Sector(s);
    const std::size_t take = std::min<std::size_t>(sec.size(), size - out.size());
    out.insert(out.end(), sec.begin(), sec.begin() + static_cast<std::ptrdiff_t>(take));
  }
  if (out.size() != size) Fail("stream shorter than its size");
  return out;
}

int CompoundFile::FindRootStream(std::string_view name) const {
  // Walk the root's child tree iteratively; each entry is visited at most once, so a
  // directory whose links loop cannot hang us.
  std::vector<bool> seen(entries_.size(), false);
  std::vector<std::uint32_t> todo{entries_[0].child};
  while (!todo.empty()) {
    const std::uint32_t i = todo.back();
    todo.pop_back();
    if (i == kNoStream || i >= entries_.size() || seen[i]) continue;
    seen[i] = true;
    const Entry& e = entries_[i];
    if (e.type == 2 && EqualsAsciiNoCase(e.name, name)) return static_cast<int>(i);
    todo.push_back(e.left);
    todo.push_back(e.right);
  }
  return -1;
}

std::vector<std::uint8_t> CompoundFile::ReadStream(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) Fail("no such stream");
  const Entry& e = entries_[static_cast<std::size_t>(index)];
  if (e.size > file_.size()) Fail("stream larger than the file");
  if (e.size == 0) return {};
  if (e.size >= mini_cutoff_) return ReadChain(e.start, e.size);
  // Small streams live in the mini stream, in 64-byte mini sectors chained by the mini FAT.
  std::vector<std::uint8_t> out;
  out.reserve(static_cast<std::size_t>(e.size));
  for (std::uint32_t s : Chain(e.start, mini_fat_, "mini stream")) {
    if (out.size() >= e.size) break;
    const std::size_t begin = static_cast<std::size_t>(s) * mini_sector_size_;
    if (begin >= mini_stream_.size()) Fail("mini sector out of range");
    const std::size_t take = std::min({mini_sector_size_, mini_stream_.size() - begin,
                                       static_cast<std::size_t>(e.size) - out.size()});
    out.insert(out.end(), mini_stream_.begin() + static_cast<std::ptrdiff_t>(begin),
               mini_stream_.begin() + static_cast<std::ptrdiff_t>(begin + take));
  }
  if (out.size() != e.size) Fail("stream shorter than its size");
  return out;
}

}  // namespace sapala::data
