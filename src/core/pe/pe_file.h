// Reading the headers of a Windows program file (PE/COFF, 32- and 64-bit) far enough to check
// a release build before it is shipped: which DLLs it imports (it must start on a clean Windows,
// so only the system's own), which sections it carries (no debug sections, a link to the
// separate symbol file), the fixed part of its version resource and its manifest.
//
// The file is outside data: every offset, size and count is checked against the bytes given,
// and a malformed file raises PeError with the reason; nothing is read out of bounds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sapala::pe {

class PeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Limits on what a program file of ours can hold; a file beyond them is rejected as malformed.
inline constexpr std::size_t kMaxSections = 96;  // the format's own limit
inline constexpr std::size_t kMaxImportedDlls = 1024;
inline constexpr std::size_t kMaxNameLength = 260;
inline constexpr std::size_t kMaxResourceEntries = 4096;  // per resource directory
inline constexpr std::size_t kMaxManifestBytes = 64u << 10;

inline constexpr std::uint16_t kMachineI386 = 0x014C;
inline constexpr std::uint16_t kMachineAmd64 = 0x8664;

struct Section {
  std::string name;  // long names ("/4") resolved through the COFF string table
  std::uint32_t virtual_address = 0;
  std::uint32_t virtual_size = 0;
  std::uint32_t raw_offset = 0;
  std::uint32_t raw_size = 0;
};

// Four parts of a version, as VS_FIXEDFILEINFO stores them: major.minor.patch.build.
struct Version {
  std::uint16_t part[4] = {0, 0, 0, 0};
  std::string ToString() const;  // "1.2.3.4"
  friend bool operator==(const Version&, const Version&) = default;
};

struct VersionInfo {
  Version file;
  Version product;
};

struct PeFile {
  std::uint16_t machine = 0;
  bool pe32_plus = false;  // the 64-bit optional header
  std::vector<Section> sections;
  std::vector<std::string> imported_dlls;        // import table order, as written in the file
  std::vector<std::string> delay_imported_dlls;  // loaded on first call: must exist all the same
  std::optional<VersionInfo> version;            // the first RT_VERSION resource, if any
  std::optional<std::string> manifest;           // the first RT_MANIFEST resource (XML), if any

  const Section* FindSection(std::string_view name) const noexcept;
};

// Parses `bytes` (a whole .exe or .dll). Throws PeError when it is not a PE file or when a
// header, table or name it refers to lies outside the file.
PeFile ReadPe(std::span<const std::uint8_t> bytes);

// The version attribute of the manifest's first <assemblyIdentity> (the program's own; those of
// its dependencies come later), or nothing when it has none.
std::optional<std::string> AssemblyVersion(std::string_view manifest);

// True for the DLLs that every Windows since 7 carries in its system folder (compared without
// regard to case): a program that imports only these starts on a clean system.
bool IsSystemDll(std::string_view name) noexcept;

// What keeps `file` from being shipped: each import that is not a system DLL, each debug
// section (".debug_*", ".zdebug_*") and a missing ".gnu_debuglink". Empty when it is fit.
std::vector<std::string> ReleaseProblems(const PeFile& file);

}  // namespace sapala::pe
