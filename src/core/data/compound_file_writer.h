// Writer of OLE2 compound files (version 3, 512-byte sectors) holding streams in the root
// storage: streams under 4096 bytes go to the mini stream, larger ones to regular sectors;
// the FAT grows a DIFAT chain when it needs more than the header's 109 sectors.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sapala::data {

struct CompoundStream {
  std::string name;  // UTF-8, at most 31 UTF-16 units
  std::vector<std::uint8_t> data;
};

// Throws DataError for a name that is too long or streams of the same name.
std::vector<std::uint8_t> WriteCompoundFile(const std::vector<CompoundStream>& streams);

}  // namespace sapala::data
