// File access for skin loading. Paths are written the Windows way ("C:\Skins\Name\Options.dat");
// the implementation maps them to the host. Tests substitute their own file system.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sapala::skin {

struct DirEntry {
  std::string name;
  bool isDirectory = false;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual bool FileExists(const std::string& path) const = 0;
  virtual bool DirectoryExists(const std::string& path) const = 0;
  // The whole file; nullopt when it cannot be read or is larger than `maxBytes`.
  virtual std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path,
                                                            std::size_t maxBytes) const = 0;
  // Entries of a folder (no "." or ".."); empty when the folder cannot be read.
  virtual std::vector<DirEntry> ListDirectory(const std::string& path) const = 0;
};

// The host's file system through std::filesystem. Paths are UTF-8; on hosts other than Windows
// each "\" becomes "/" (a drive prefix such as "C:" is not translated).
class HostFileSystem final : public FileSystem {
 public:
  bool FileExists(const std::string& path) const override;
  bool DirectoryExists(const std::string& path) const override;
  std::optional<std::vector<std::uint8_t>> ReadFile(const std::string& path,
                                                    std::size_t maxBytes) const override;
  std::vector<DirEntry> ListDirectory(const std::string& path) const override;
};

}  // namespace sapala::skin
