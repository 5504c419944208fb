// Host file system for skin loading; see file_system.h.
#include "core/skin/file_system.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace sapala::skin {
namespace {

std::filesystem::path HostPath(const std::string& path) {
#ifdef _WIN32
  std::u8string u8(path.begin(), path.end());
  return std::filesystem::path(u8);
#else
  std::string p = path;
  for (char& c : p) {
    if (c == '\\') c = '/';
  }
  return std::filesystem::path(p);
#endif
}

}  // namespace

bool HostFileSystem::FileExists(const std::string& path) const {
  std::error_code ec;
  return std::filesystem::is_regular_file(HostPath(path), ec);
}

bool HostFileSystem::DirectoryExists(const std::string& path) const {
  std::error_code ec;
  return std::filesystem::is_directory(HostPath(path), ec);
}

std::optional<std::vector<std::uint8_t>> HostFileSystem::ReadFile(const std::string& path,
                                                                  std::size_t maxBytes) const {
  std::error_code ec;
  auto p = HostPath(path);
  if (!std::filesystem::is_regular_file(p, ec)) return std::nullopt;
  std::uintmax_t size = std::filesystem::file_size(p, ec);
  if (ec || size > maxBytes) return std::nullopt;
  std::ifstream in(p, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (size > 0 &&
      !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
    return std::nullopt;
  }
  return bytes;
}

std::vector<DirEntry> HostFileSystem::ListDirectory(const std::string& path) const {
  std::vector<DirEntry> out;
  std::error_code ec;
  std::filesystem::directory_iterator it(HostPath(path), ec);
  if (ec) return out;
  for (const auto& e : it) {
    std::u8string n = e.path().filename().u8string();
    std::error_code ec2;
    out.push_back(DirEntry{std::string(n.begin(), n.end()), e.is_directory(ec2)});
  }
  return out;
}

}  // namespace sapala::skin
