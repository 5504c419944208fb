// Reader of OLE2 compound files ("structured storage"), the container of Excel 97-2003
// workbooks: header, FAT with its DIFAT, directory, mini FAT and mini stream.
//
// The reader works on bytes already in memory and never trusts them: every sector number is
// range-checked, every chain is followed at most once per sector (a loop is an error), and
// sizes are checked against the file before anything is allocated. Failures throw DataError.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace sapala::data {

class CompoundFile {
 public:
  // Parses the header, FAT and directory of `file`. The bytes must outlive this object.
  explicit CompoundFile(std::span<const std::uint8_t> file);

  struct Entry {
    std::string name;       // UTF-8
    std::uint8_t type = 0;  // 1 storage, 2 stream, 5 root
    std::uint32_t left = 0, right = 0, child = 0;
    std::uint32_t start = 0;
    std::uint64_t size = 0;
  };

  const std::vector<Entry>& entries() const { return entries_; }

  // Index of the stream called `name` (compared without regard to ASCII case) among the
  // children of the root storage, or -1.
  int FindRootStream(std::string_view name) const;

  // The whole content of stream entry `index`.
  std::vector<std::uint8_t> ReadStream(int index) const;

 private:
  std::vector<std::uint32_t> Chain(std::uint32_t start, const std::vector<std::uint32_t>& fat,
                                   const char* what) const;
  // Sector n as far as the file holds it (the last one may be short)...
  std::span<const std::uint8_t> Sector(std::uint32_t n) const;
  // ...or whole, as the FAT, DIFAT, directory and mini FAT need it.
  std::span<const std::uint8_t> WholeSector(std::uint32_t n) const;
  std::vector<std::uint8_t> ReadChain(std::uint32_t start, std::uint64_t size) const;

  std::span<const std::uint8_t> file_;
  std::size_t sector_size_ = 512;
  std::size_t mini_sector_size_ = 64;
  std::uint32_t mini_cutoff_ = 4096;
  std::uint32_t sector_count_ = 0;  // sectors that start inside the file
  std::vector<std::uint32_t> fat_;
  std::vector<std::uint32_t> mini_fat_;
  std::vector<std::uint8_t> mini_stream_;
  std::vector<Entry> entries_;
};

}  // namespace sapala::data
