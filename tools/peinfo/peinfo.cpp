// peinfo: what a Windows program file imports, which sections it carries and its version.
//   peinfo FILE...                               prints each file's machine, sections, imports
//                                                and version
//   peinfo --release [--version X.Y.Z] FILE...   checks that each file is fit to ship: imports
//                                                only system DLLs, carries no debug sections,
//                                                links its symbol file, and (with --version)
//                                                has file and product version X.Y.Z.0, and
//                                                its manifest (if any) the same version
// Exit status: 0 when every file was read (and passed the checks), 1 otherwise, 2 on wrong usage.
#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/pe/pe_file.h"

namespace {

constexpr std::size_t kMaxFileBytes = 512u << 20;

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) throw std::runtime_error("cannot open the file");
  const auto size = static_cast<std::size_t>(in.tellg());
  if (size > kMaxFileBytes) throw std::runtime_error("the file is too large");
  std::vector<std::uint8_t> bytes(size);
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
    throw std::runtime_error("cannot read the file");
  return bytes;
}

const char* MachineName(std::uint16_t machine) {
  switch (machine) {
    case sapala::pe::kMachineI386:
      return "i386";
    case sapala::pe::kMachineAmd64:
      return "amd64";
    default:
      return "other";
  }
}

void Print(const std::string& path, const sapala::pe::PeFile& pe) {
  std::printf("%s: %s, %s\n", path.c_str(), MachineName(pe.machine),
              pe.pe32_plus ? "PE32+" : "PE32");
  for (const auto& s : pe.sections)
    std::printf("  section %-16s %10u bytes\n", s.name.c_str(), static_cast<unsigned>(s.raw_size));
  for (const auto& dll : pe.imported_dlls) std::printf("  imports %s\n", dll.c_str());
  for (const auto& dll : pe.delay_imported_dlls) std::printf("  delay-imports %s\n", dll.c_str());
  if (pe.version)
    std::printf("  version file %s product %s\n", pe.version->file.ToString().c_str(),
                pe.version->product.ToString().c_str());
  if (pe.manifest)
    std::printf("  manifest version %s\n",
                sapala::pe::AssemblyVersion(*pe.manifest).value_or("none").c_str());
}

}  // namespace

int main(int argc, char** argv) {
  bool release = false;
  std::string want_version;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--release") {
      release = true;
    } else if (arg == "--version" && i + 1 < argc) {
      want_version = std::string(argv[++i]) + ".0";
    } else if (arg.starts_with("--")) {
      files.clear();
      break;
    } else {
      files.push_back(arg);
    }
  }
  if (files.empty() || (!want_version.empty() && !release)) {
    std::fprintf(stderr,
                 "usage: peinfo FILE...\n       peinfo --release [--version X.Y.Z] FILE...\n");
    return 2;
  }
  int status = 0;
  for (const auto& path : files) {
    try {
      const auto pe = sapala::pe::ReadPe(ReadFile(path));
      if (!release) {
        Print(path, pe);
        continue;
      }
      auto problems = sapala::pe::ReleaseProblems(pe);
      if (!want_version.empty()) {
        const std::string have = pe.version ? pe.version->file.ToString() : "none";
        const std::string have_product = pe.version ? pe.version->product.ToString() : "none";
        if (have != want_version || have_product != want_version)
          problems.push_back("has version " + have + " (product " + have_product + "), want " +
                             want_version);
        if (pe.manifest) {
          const std::string manifest = sapala::pe::AssemblyVersion(*pe.manifest).value_or("none");
          if (manifest != want_version)
            problems.push_back("has manifest version " + manifest + ", want " + want_version);
        }
      }
      for (const auto& p : problems) std::printf("%s: %s\n", path.c_str(), p.c_str());
      if (problems.empty()) {
        std::printf("%s: fit to ship (%s, imports", path.c_str(), MachineName(pe.machine));
        for (const auto& dll : pe.imported_dlls) std::printf(" %s", dll.c_str());
        std::printf(")\n");
      } else {
        status = 1;
      }
    } catch (const std::exception& e) {
      std::fprintf(stderr, "peinfo: %s: %s\n", path.c_str(), e.what());
      status = 1;
    }
  }
  return status;
}
