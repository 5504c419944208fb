// Reading a whole file for the data layer: opened read-only, with sharing for every other
// process (they may read, write or delete it meanwhile), and never written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sapala::data {

// Reads the file at `path` (UTF-8; on Windows a Windows path such as
// "C:\Program Files\Sapala Vova\sapala.bat", opened through the wide API). Throws DataError
// naming the file when it cannot be opened or read, or is larger than `max_bytes`.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path, std::size_t max_bytes);

}  // namespace sapala::data
