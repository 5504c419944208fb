// PE/COFF headers, import tables and the version resource. Offsets are computed in 64 bits and
// every read goes through Reader, which checks it against the file's size first.
#include "core/pe/pe_file.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

namespace sapala::pe {
namespace detail {

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t size() const noexcept { return bytes_.size(); }

  bool Has(std::uint64_t offset, std::uint64_t length) const noexcept {
    return offset <= bytes_.size() && length <= bytes_.size() - offset;
  }
  void Need(std::uint64_t offset, std::uint64_t length, const char* what) const {
    if (!Has(offset, length)) throw PeError(std::string(what) + " lies outside the file");
  }
  std::uint8_t U8(std::uint64_t offset, const char* what) const {
    Need(offset, 1, what);
    return bytes_[offset];
  }
  std::uint16_t U16(std::uint64_t offset, const char* what) const {
    Need(offset, 2, what);
    return static_cast<std::uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
  }
  std::uint32_t U32(std::uint64_t offset, const char* what) const {
    Need(offset, 4, what);
    return static_cast<std::uint32_t>(bytes_[offset]) |
           static_cast<std::uint32_t>(bytes_[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes_[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes_[offset + 3]) << 24;
  }
  std::uint64_t U64(std::uint64_t offset, const char* what) const {
    return U32(offset, what) | static_cast<std::uint64_t>(U32(offset + 4, what)) << 32;
  }
  // A NUL-terminated name of at most kMaxNameLength bytes that ends before `limit`.
  std::string Name(std::uint64_t offset, std::uint64_t limit, const char* what) const {
    limit = std::min<std::uint64_t>(limit, bytes_.size());
    std::string s;
    for (std::uint64_t i = offset; i < limit; ++i) {
      if (bytes_[i] == 0) return s;
      if (s.size() == kMaxNameLength) break;
      s.push_back(static_cast<char>(bytes_[i]));
    }
    throw PeError(std::string(what) + " is not a terminated name within its section");
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

struct Image {
  const Reader& file;
  const std::vector<Section>& sections;
  std::uint64_t image_base = 0;

  // The file offset of `rva` and the end of the raw data of the section that holds it.
  struct Place {
    std::uint64_t offset;
    std::uint64_t end;
  };
  Place Locate(std::uint64_t rva, const char* what) const {
    for (const Section& s : sections) {
      const std::uint64_t extent = s.virtual_size ? s.virtual_size : s.raw_size;
      if (rva >= s.virtual_address && rva - s.virtual_address < extent) {
        const std::uint64_t delta = rva - s.virtual_address;
        if (delta >= s.raw_size) break;  // in the zero-filled tail: not stored in the file
        const std::uint64_t end = static_cast<std::uint64_t>(s.raw_offset) + s.raw_size;
        if (end > file.size()) break;
        return {s.raw_offset + delta, end};
      }
    }
    throw PeError(std::string(what) + " points outside every section's data");
  }
  std::uint32_t U32(std::uint64_t rva, const char* what) const {
    const Place p = Locate(rva, what);
    if (p.end - p.offset < 4) throw PeError(std::string(what) + " crosses the end of its section");
    return file.U32(p.offset, what);
  }
  std::string Name(std::uint64_t rva, const char* what) const {
    const Place p = Locate(rva, what);
    return file.Name(p.offset, p.end, what);
  }
};

constexpr std::uint32_t kImportDirectory = 1;
constexpr std::uint32_t kResourceDirectory = 2;
constexpr std::uint32_t kDelayImportDirectory = 13;
constexpr std::uint32_t kRtVersion = 16;
constexpr std::uint32_t kRtManifest = 24;
constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BD;

struct Directory {
  std::uint32_t rva = 0, size = 0;
};

std::vector<std::string> ReadImports(const Image& image, Directory dir) {
  std::vector<std::string> dlls;
  if (dir.rva == 0) return dlls;
  for (std::uint64_t at = dir.rva;; at += 20) {
    const std::uint32_t lookup = image.U32(at, "an import descriptor");
    const std::uint32_t name = image.U32(at + 12, "an import descriptor");
    const std::uint32_t thunks = image.U32(at + 16, "an import descriptor");
    if (lookup == 0 && name == 0 && thunks == 0) return dlls;
    if (dlls.size() == kMaxImportedDlls) throw PeError("the import table has no end");
    dlls.push_back(image.Name(name, "an imported DLL's name"));
  }
}

std::vector<std::string> ReadDelayImports(const Image& image, Directory dir) {
  std::vector<std::string> dlls;
  if (dir.rva == 0) return dlls;
  for (std::uint64_t at = dir.rva;; at += 32) {
    const std::uint32_t attributes = image.U32(at, "a delay-import descriptor");
    const std::uint32_t name = image.U32(at + 4, "a delay-import descriptor");
    if (attributes == 0 && name == 0) return dlls;
    if (dlls.size() == kMaxImportedDlls) throw PeError("the delay-import table has no end");
    // Attribute bit 0 clear: the old layout, whose addresses are virtual addresses.
    std::uint64_t rva = name;
    if ((attributes & 1) == 0) {
      if (name < image.image_base)
        throw PeError("a delay-imported DLL's name lies below the image");
      rva = name - image.image_base;
    }
    dlls.push_back(image.Name(rva, "a delay-imported DLL's name"));
  }
}

// The first entry of the resource directory at `dir_offset` (relative to the resource root)
// whose id is `id`, or its first entry at all when `id` is empty. Answers the entry's
// OffsetToData, or nothing when the directory has no such entry.
std::optional<std::uint32_t> ResourceEntry(const Image& image, std::uint64_t root,
                                           std::uint64_t dir_offset,
                                           std::optional<std::uint32_t> id) {
  const std::uint64_t dir = root + dir_offset;
  const std::uint32_t counts = image.U32(dir + 12, "a resource directory");
  const std::uint32_t named = counts & 0xFFFF, ids = counts >> 16;
  if (named + ids > kMaxResourceEntries) throw PeError("a resource directory has too many entries");
  for (std::uint32_t i = 0; i < named + ids; ++i) {
    const std::uint64_t entry = dir + 16 + 8ull * i;
    const std::uint32_t name = image.U32(entry, "a resource directory entry");
    const std::uint32_t data = image.U32(entry + 4, "a resource directory entry");
    if (!id || (i >= named && (name & 0x80000000u) == 0 && name == *id)) return data;
  }
  return std::nullopt;
}

// The data of the first resource of `type` (its first name, its first language): the file
// offset, the bytes the section holds from there and the size the entry declares.
struct Resource {
  std::uint64_t offset, available, size;
};
std::optional<Resource> FindResource(const Image& image, Directory dir, std::uint32_t type_id,
                                     const std::string& what) {
  if (dir.rva == 0) return std::nullopt;
  const std::uint64_t root = dir.rva;
  constexpr std::uint32_t kSubdirectory = 0x80000000u;
  // Type, then name, then language: two subdirectories and a data entry, so no cycle can form.
  auto type = ResourceEntry(image, root, 0, type_id);
  if (!type) return std::nullopt;
  if (!(*type & kSubdirectory)) throw PeError("the " + what + " resource type is not a directory");
  auto name = ResourceEntry(image, root, *type & ~kSubdirectory, std::nullopt);
  if (!name) return std::nullopt;
  if (!(*name & kSubdirectory)) throw PeError("the " + what + " resource name is not a directory");
  auto language = ResourceEntry(image, root, *name & ~kSubdirectory, std::nullopt);
  if (!language) return std::nullopt;
  if (*language & kSubdirectory)
    throw PeError("the " + what + " resource has a directory too many");
  const std::uint32_t data_rva = image.U32(root + *language, "a resource entry");
  const std::uint32_t data_size = image.U32(root + *language + 4, "a resource entry");
  const auto place = image.Locate(data_rva, "a resource's data");
  return Resource{place.offset, place.end - place.offset, data_size};
}

std::optional<std::string> ReadManifest(const Image& image, const Reader& file, Directory dir) {
  const auto manifest = FindResource(image, dir, kRtManifest, "manifest");
  if (!manifest) return std::nullopt;
  if (manifest->size > kMaxManifestBytes) throw PeError("the manifest is too large");
  if (manifest->size > manifest->available) throw PeError("the manifest runs past its section");
  std::string text(manifest->size, '\0');
  for (std::uint64_t i = 0; i < manifest->size; ++i)
    text[i] = static_cast<char>(file.U8(manifest->offset + i, "the manifest"));
  return text;
}

std::optional<VersionInfo> ReadVersion(const Image& image, const Reader& file, Directory dir) {
  const auto resource = FindResource(image, dir, kRtVersion, "version");
  if (!resource) return std::nullopt;
  const std::uint64_t data_size = resource->size;

  // VS_VERSIONINFO: length, value length, type, L"VS_VERSION_INFO", padding, VS_FIXEDFILEINFO.
  constexpr std::uint64_t kFixedOffset = 40, kFixedSize = 52;
  if (data_size < kFixedOffset + kFixedSize || resource->available < kFixedOffset + kFixedSize)
    throw PeError("the version resource is too short");
  const std::uint64_t at = resource->offset;
  static constexpr char kKey[] = "VS_VERSION_INFO";
  for (std::size_t i = 0; i < sizeof kKey; ++i) {
    if (file.U16(at + 6 + 2 * i, "the version resource") != static_cast<unsigned char>(kKey[i]))
      throw PeError("the version resource does not begin with VS_VERSION_INFO");
  }
  if (file.U16(at + 2, "the version resource") < kFixedSize ||
      file.U32(at + kFixedOffset, "the version resource") != kFixedFileInfoSignature)
    throw PeError("the version resource has no fixed file information");
  auto version = [&](std::uint64_t offset) {
    const std::uint32_t ms = file.U32(at + offset, "the version resource");
    const std::uint32_t ls = file.U32(at + offset + 4, "the version resource");
    return Version{{static_cast<std::uint16_t>(ms >> 16), static_cast<std::uint16_t>(ms),
                    static_cast<std::uint16_t>(ls >> 16), static_cast<std::uint16_t>(ls)}};
  };
  return VersionInfo{version(kFixedOffset + 8), version(kFixedOffset + 16)};
}

std::string SectionName(const Reader& file, std::uint64_t header, std::uint64_t string_table) {
  char raw[9] = {};
  for (int i = 0; i < 8; ++i) raw[i] = static_cast<char>(file.U8(header + i, "a section header"));
  std::string name(raw);
  // "/123": the name is at offset 123 of the COFF string table (names longer than 8 bytes).
  if (name.size() > 1 && name[0] == '/' &&
      std::all_of(name.begin() + 1, name.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    if (string_table == 0) throw PeError("a long section name without a string table");
    const std::uint32_t table_size = file.U32(string_table, "the COFF string table");
    const std::uint64_t offset = std::stoul(name.substr(1));
    if (offset < 4 || offset >= table_size)
      throw PeError("a section name outside the string table");
    return file.Name(string_table + offset, string_table + table_size, "a long section name");
  }
  return name;
}

}  // namespace detail

std::string Version::ToString() const {
  return std::to_string(part[0]) + "." + std::to_string(part[1]) + "." + std::to_string(part[2]) +
         "." + std::to_string(part[3]);
}

const Section* PeFile::FindSection(std::string_view name) const noexcept {
  for (const Section& s : sections)
    if (s.name == name) return &s;
  return nullptr;
}

PeFile ReadPe(std::span<const std::uint8_t> bytes) {
  const detail::Reader file(bytes);
  if (!file.Has(0, 64) || bytes[0] != 'M' || bytes[1] != 'Z')
    throw PeError("not a program file (no MZ header)");
  const std::uint64_t pe = file.U32(0x3C, "the PE header");
  if (file.U32(pe, "the PE header") != 0x00004550) throw PeError("not a PE file (no PE signature)");

  PeFile result;
  const std::uint64_t coff = pe + 4;
  result.machine = file.U16(coff, "the COFF header");
  const std::uint16_t section_count = file.U16(coff + 2, "the COFF header");
  const std::uint32_t symbols = file.U32(coff + 8, "the COFF header");
  const std::uint32_t symbol_count = file.U32(coff + 12, "the COFF header");
  const std::uint16_t optional_size = file.U16(coff + 16, "the COFF header");
  if (section_count > kMaxSections) throw PeError("too many sections");

  const std::uint64_t optional = coff + 20;
  file.Need(optional, optional_size, "the optional header");
  const std::uint16_t magic = file.U16(optional, "the optional header");
  if (magic != 0x10B && magic != 0x20B) throw PeError("unknown optional header kind");
  result.pe32_plus = magic == 0x20B;
  const std::uint64_t count_at = result.pe32_plus ? 108 : 92;
  if (optional_size < count_at + 4) throw PeError("the optional header is too short");
  const std::uint64_t image_base = result.pe32_plus
                                       ? file.U64(optional + 24, "the optional header")
                                       : file.U32(optional + 28, "the optional header");
  const std::uint32_t directory_count = file.U32(optional + count_at, "the optional header");
  auto directory = [&](std::uint32_t index) {
    detail::Directory d;
    const std::uint64_t at = count_at + 4 + 8ull * index;
    if (index < directory_count && at + 8 <= optional_size) {
      d.rva = file.U32(optional + at, "a data directory");
      d.size = file.U32(optional + at + 4, "a data directory");
    }
    return d;
  };

  // The string table follows the symbol table (18 bytes a symbol); it holds long section names.
  std::uint64_t string_table = 0;
  if (symbols != 0) {
    string_table = symbols + 18ull * symbol_count;
    file.Need(string_table, 4, "the COFF string table");
  }
  const std::uint64_t headers = optional + optional_size;
  file.Need(headers, 40ull * section_count, "the section table");
  for (std::uint16_t i = 0; i < section_count; ++i) {
    const std::uint64_t h = headers + 40ull * i;
    Section s;
    s.name = detail::SectionName(file, h, string_table);
    s.virtual_size = file.U32(h + 8, "a section header");
    s.virtual_address = file.U32(h + 12, "a section header");
    s.raw_size = file.U32(h + 16, "a section header");
    s.raw_offset = file.U32(h + 20, "a section header");
    result.sections.push_back(std::move(s));
  }

  const detail::Image image{file, result.sections, image_base};
  result.imported_dlls = detail::ReadImports(image, directory(detail::kImportDirectory));
  result.delay_imported_dlls =
      detail::ReadDelayImports(image, directory(detail::kDelayImportDirectory));
  result.version = detail::ReadVersion(image, file, directory(detail::kResourceDirectory));
  result.manifest = detail::ReadManifest(image, file, directory(detail::kResourceDirectory));
  return result;
}

std::optional<std::string> AssemblyVersion(std::string_view manifest) {
  const auto open = manifest.find("<assemblyIdentity");
  if (open == std::string_view::npos) return std::nullopt;
  const auto close = manifest.find('>', open);
  const std::string_view tag =
      manifest.substr(open, close == std::string_view::npos ? close : close - open);
  for (std::size_t at = tag.find("version="); at != std::string_view::npos;
       at = tag.find("version=", at + 1)) {
    const char before = tag[at - 1];  // "version" as a whole attribute name, not its tail
    if (before != ' ' && before != '\t' && before != '\r' && before != '\n') continue;
    const std::size_t value = at + 8;
    if (value >= tag.size() || (tag[value] != '"' && tag[value] != '\'')) return std::nullopt;
    const std::size_t end = tag.find(tag[value], value + 1);
    if (end == std::string_view::npos) return std::nullopt;
    return std::string(tag.substr(value + 1, end - value - 1));
  }
  return std::nullopt;
}

bool IsSystemDll(std::string_view name) noexcept {
  static constexpr std::array<std::string_view, 22> kSystem = {
      "kernel32.dll", "user32.dll",   "gdi32.dll",    "comctl32.dll", "comdlg32.dll", "msimg32.dll",
      "shell32.dll",  "shlwapi.dll",  "winmm.dll",    "msvcrt.dll",   "advapi32.dll", "ole32.dll",
      "oleaut32.dll", "uxtheme.dll",  "version.dll",  "imm32.dll",    "ws2_32.dll",   "dwmapi.dll",
      "usp10.dll",    "riched20.dll", "msftedit.dll", "ntdll.dll"};
  std::string lower(name.substr(0, kMaxNameLength));
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return std::find(kSystem.begin(), kSystem.end(), lower) != kSystem.end();
}

std::vector<std::string> ReleaseProblems(const PeFile& file) {
  std::vector<std::string> problems;
  for (const auto* list : {&file.imported_dlls, &file.delay_imported_dlls})
    for (const std::string& dll : *list)
      if (!IsSystemDll(dll)) problems.push_back("imports " + dll + ", which is not a system DLL");
  for (const Section& s : file.sections)
    if (s.name.starts_with(".debug_") || s.name.starts_with(".zdebug_"))
      problems.push_back("carries the debug section " + s.name);
  if (!file.FindSection(".gnu_debuglink"))
    problems.push_back("has no link to its symbol file (.gnu_debuglink)");
  return problems;
}

}  // namespace sapala::pe
