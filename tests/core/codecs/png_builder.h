// Test helpers: build PNG files chunk by chunk (to patch real files and to make the cases that
// no encoder writes on purpose), run outside programs, read files.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace sapala::testing {

using Bytes = std::vector<std::uint8_t>;

inline void PutBe32(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v >> 24));
  out.push_back(static_cast<std::uint8_t>(v >> 16));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v));
}

inline Bytes Chunk(const std::string& type, const Bytes& data) {
  Bytes out;
  PutBe32(out, static_cast<std::uint32_t>(data.size()));
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  uLong crc = crc32(0L, Z_NULL, 0);
  crc = crc32(crc, reinterpret_cast<const Bytef*>(type.data()), 4);
  if (!data.empty()) crc = crc32(crc, data.data(), static_cast<uInt>(data.size()));
  PutBe32(out, static_cast<std::uint32_t>(crc));
  return out;
}

inline Bytes Ihdr(std::uint32_t w, std::uint32_t h, int depth, int colorType, int interlace = 0,
                  int compression = 0) {
  Bytes d;
  PutBe32(d, w);
  PutBe32(d, h);
  d.push_back(static_cast<std::uint8_t>(depth));
  d.push_back(static_cast<std::uint8_t>(colorType));
  d.push_back(static_cast<std::uint8_t>(compression));
  d.push_back(0);
  d.push_back(static_cast<std::uint8_t>(interlace));
  return Chunk("IHDR", d);
}

inline Bytes Deflate(const Bytes& raw) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes out(size);
  compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9);
  out.resize(size);
  return out;
}

inline Bytes Signature() { return {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A}; }

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// A complete PNG: signature, IHDR, the extra chunks, one IDAT of `filtered` rows, IEND.
inline Bytes SimplePng(const Bytes& ihdr, const Bytes& filtered, const Bytes& extra = {}) {
  return Concat({Signature(), ihdr, extra, Chunk("IDAT", Deflate(filtered)), Chunk("IEND", {})});
}

// Chunk boundaries of a PNG file: offset of each chunk's length field and its type.
struct ChunkPos {
  std::size_t offset;
  std::string type;
  std::uint32_t length;
};
inline std::vector<ChunkPos> ListChunks(const Bytes& png) {
  std::vector<ChunkPos> out;
  std::size_t pos = 8;
  while (pos + 8 <= png.size()) {
    const std::uint32_t len = std::uint32_t{png[pos]} << 24 | std::uint32_t{png[pos + 1]} << 16 |
                              std::uint32_t{png[pos + 2]} << 8 | png[pos + 3];
    out.push_back({pos,
                   std::string(png.begin() + static_cast<long>(pos) + 4,
                               png.begin() + static_cast<long>(pos) + 8),
                   len});
    pos += 12 + std::size_t{len};
  }
  return out;
}

// Inserts `chunk` before the first chunk of type `before`, dropping existing chunks of the
// same type as `chunk`.
inline Bytes InsertChunk(const Bytes& png, const Bytes& chunk, const std::string& before) {
  const std::string type(chunk.begin() + 4, chunk.begin() + 8);
  Bytes out(png.begin(), png.begin() + 8);
  bool inserted = false;
  for (const ChunkPos& c : ListChunks(png)) {
    if (!inserted && c.type == before) {
      out.insert(out.end(), chunk.begin(), chunk.end());
      inserted = true;
    }
    if (c.type == type) continue;
    out.insert(out.end(), png.begin() + static_cast<long>(c.offset),
               png.begin() + static_cast<long>(c.offset + 12 + c.length));
  }
  return out;
}

inline Bytes ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::filesystem::path& path, const Bytes& data) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

// Full path of an outside program, or empty when it is not installed. The programs are Debian
// ones run through the shell: a Windows build (under Wine) has none of them.
inline std::string FindProgram(const std::string& name,
                               const std::vector<std::string>& preferred = {}) {
#ifdef _WIN32
  (void)name;
  (void)preferred;
  return {};
#endif
  for (const std::string& p : preferred) {
    if (std::filesystem::exists(p)) return p;
  }
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    const std::size_t end = dirs.find(':', start);
    const std::string dir =
        dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!dir.empty() && std::filesystem::exists(std::filesystem::path(dir) / name)) {
      return (std::filesystem::path(dir) / name).string();
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return {};
}

inline int Run(const std::string& command) { return std::system(command.c_str()); }

// A fresh directory under the build tree, removed at the end of the scope.
class TempDir {
 public:
  explicit TempDir(const std::string& name) {
    path_ = std::filesystem::temp_directory_path() /
            ("sapala-" + name + "-" + std::to_string(std::random_device{}()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace sapala::testing
