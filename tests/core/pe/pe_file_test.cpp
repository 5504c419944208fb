// The PE reader on program files laid out here byte by byte (both header kinds, long section
// names, imports, delay imports, a version resource), then patched and cut to check that every
// malformed table is refused with PeError and nothing is read out of bounds.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/pe/pe_file.h"

namespace sapala::pe {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}

struct Options {
  bool pe32_plus = true;
  std::vector<std::string> imports = {"KERNEL32.dll", "zlib1.dll"};
  std::vector<std::string> delay_imports;  // old layout (virtual addresses) when pe32_plus is false
  bool debug_section = true;               // ".debug_info", named through the string table
  bool debuglink = false;
  std::uint32_t version_ms = 0x00010002, version_ls = 0x00030004;
  std::string manifest;  // an RT_MANIFEST resource beside the version when not empty
};

// A program file: headers, then sections at 0x400 (0x200 bytes each, at RVA 0x1000 * (i + 1)).
// `at` names file offsets of its parts for the tests that patch them.
struct Built {
  Bytes bytes;
  std::map<std::string, std::size_t> at;
};

Built Build(const Options& o) {
  const std::uint64_t image_base = 0x400000;
  struct Raw {
    std::string name;
    Bytes data;
  };
  std::vector<Raw> sections;
  sections.push_back({".text", Bytes(16, 0xC3)});
  const std::uint32_t idata_rva = 0x2000;
  {  // descriptors, a zero descriptor, then the names
    Bytes d(20 * (o.imports.size() + 1), 0);
    for (std::size_t i = 0; i < o.imports.size(); ++i) {
      Put32(d, 20 * i, 0x2F00);  // lookup table: not followed by the reader
      Put32(d, 20 * i + 12, idata_rva + static_cast<std::uint32_t>(d.size()));
      Put32(d, 20 * i + 16, 0x2F80);
      d.insert(d.end(), o.imports[i].begin(), o.imports[i].end());
      d.push_back(0);
    }
    sections.push_back({".idata", d});
  }
  const std::uint32_t rsrc_rva = 0x3000;
  {
    Bytes r(0x58 + 92, 0);
    Put16(r, 14, 1);            // root: one id entry
    Put32(r, 16, 16);           //   RT_VERSION
    Put32(r, 20, 0x80000018);   //   -> subdirectory at 0x18
    if (!o.manifest.empty()) {  // RT_MANIFEST: directories at 0xC0, 0xD8, data at 0x100
      r.resize(0x100 + o.manifest.size(), 0);
      Put16(r, 14, 2);
      Put32(r, 24, 24);
      Put32(r, 28, 0x800000C0);
      Put16(r, 0xC0 + 14, 1);
      Put32(r, 0xC0 + 16, 1);
      Put32(r, 0xC0 + 20, 0x800000D8);
      Put16(r, 0xD8 + 14, 1);
      Put32(r, 0xD8 + 16, 0x409);
      Put32(r, 0xD8 + 20, 0xF0);
      Put32(r, 0xF0, rsrc_rva + 0x100);
      Put32(r, 0xF4, static_cast<std::uint32_t>(o.manifest.size()));
      std::memcpy(&r[0x100], o.manifest.data(), o.manifest.size());
    }
    Put16(r, 0x18 + 14, 1);
    Put32(r, 0x18 + 16, 1);  // name 1
    Put32(r, 0x18 + 20, 0x80000030);
    Put16(r, 0x30 + 14, 1);
    Put32(r, 0x30 + 16, 0x409);  // language
    Put32(r, 0x30 + 20, 0x48);   // -> data entry
    Put32(r, 0x48, rsrc_rva + 0x58);
    Put32(r, 0x4C, 92);
    Put16(r, 0x58, 92);
    Put16(r, 0x58 + 2, 52);
    const char key[] = "VS_VERSION_INFO";
    for (std::size_t i = 0; i < sizeof key; ++i)
      Put16(r, 0x58 + 6 + 2 * i, static_cast<std::uint8_t>(key[i]));
    Put32(r, 0x58 + 40, 0xFEEF04BD);
    Put32(r, 0x58 + 44, 0x00010000);
    Put32(r, 0x58 + 48, o.version_ms);
    Put32(r, 0x58 + 52, o.version_ls);
    Put32(r, 0x58 + 56, o.version_ms);
    Put32(r, 0x58 + 60, o.version_ls + 1);  // product differs in the build number
    sections.push_back({".rsrc", r});
  }
  const std::uint32_t delay_rva = 0x1000 * static_cast<std::uint32_t>(sections.size() + 1);
  if (!o.delay_imports.empty()) {
    Bytes d(32 * (o.delay_imports.size() + 1), 0);
    for (std::size_t i = 0; i < o.delay_imports.size(); ++i) {
      const std::uint32_t name_rva = delay_rva + static_cast<std::uint32_t>(d.size());
      Put32(d, 32 * i, o.pe32_plus ? 1 : 0);
      Put32(d, 32 * i + 4,
            o.pe32_plus ? name_rva : static_cast<std::uint32_t>(image_base + name_rva));
      d.insert(d.end(), o.delay_imports[i].begin(), o.delay_imports[i].end());
      d.push_back(0);
    }
    sections.push_back({".didat", d});
  }
  if (o.debug_section) sections.push_back({".debug_info", Bytes(8, 0)});
  if (o.debuglink) sections.push_back({".gnu_debuglink", Bytes(16, 0)});

  Built b;
  const std::size_t pe = 0x40, coff = pe + 4, optional = coff + 20;
  const std::size_t optional_size = (o.pe32_plus ? 112 : 96) + 16 * 8;
  const std::size_t table = optional + optional_size;
  const std::size_t first_raw = 0x400;
  b.bytes.assign(first_raw + 0x200 * sections.size(), 0);
  Bytes& f = b.bytes;
  f[0] = 'M';
  f[1] = 'Z';
  Put32(f, 0x3C, pe);
  Put32(f, pe, 0x00004550);
  Put16(f, coff, o.pe32_plus ? kMachineAmd64 : kMachineI386);
  Put16(f, coff + 2, static_cast<std::uint32_t>(sections.size()));
  Put16(f, coff + 16, static_cast<std::uint32_t>(optional_size));
  Put16(f, optional, o.pe32_plus ? 0x20B : 0x10B);
  if (o.pe32_plus) {
    Put32(f, optional + 24, static_cast<std::uint32_t>(image_base));
  } else {
    Put32(f, optional + 28, static_cast<std::uint32_t>(image_base));
  }
  const std::size_t count_at = optional + (o.pe32_plus ? 108 : 92);
  Put32(f, count_at, 16);
  auto directory = [&](int index, std::uint32_t rva, std::uint32_t size) {
    Put32(f, count_at + 4 + 8 * index, rva);
    Put32(f, count_at + 8 + 8 * index, size);
  };
  directory(1, idata_rva, 40);
  directory(2, rsrc_rva, 0x58 + 92);
  if (!o.delay_imports.empty()) directory(13, delay_rva, 64);
  std::string long_names;  // names longer than 8 bytes, as "/offset" into the string table
  for (std::size_t i = 0; i < sections.size(); ++i) {
    const std::size_t h = table + 40 * i;
    std::string name = sections[i].name;
    if (name.size() > 8) {
      long_names += name + '\0';
      name = "/" + std::to_string(4 + long_names.size() - name.size() - 1);
    }
    std::memcpy(&f[h], name.data(), name.size());
    Put32(f, h + 8, static_cast<std::uint32_t>(sections[i].data.size()));
    Put32(f, h + 12, 0x1000 * static_cast<std::uint32_t>(i + 1));
    Put32(f, h + 16, 0x200);
    Put32(f, h + 20, static_cast<std::uint32_t>(first_raw + 0x200 * i));
    std::memcpy(&f[first_raw + 0x200 * i], sections[i].data.data(), sections[i].data.size());
    b.at[sections[i].name] = first_raw + 0x200 * i;
    b.at["header " + sections[i].name] = h;
  }
  // The COFF string table after the last section: its size, then the long names.
  const std::size_t strings = f.size();
  Put32(f, coff + 8, static_cast<std::uint32_t>(strings));
  f.resize(strings + 4 + long_names.size(), 0);
  Put32(f, strings, static_cast<std::uint32_t>(4 + long_names.size()));
  std::memcpy(&f[strings + 4], long_names.data(), long_names.size());
  b.at["pe"] = pe;
  b.at["coff"] = coff;
  b.at["optional"] = optional;
  b.at["strings"] = strings;
  return b;
}

TEST(PeFile, ReadsBothHeaderKinds) {
  const PeFile x64 = ReadPe(Build({}).bytes);
  EXPECT_EQ(x64.machine, kMachineAmd64);
  EXPECT_TRUE(x64.pe32_plus);
  EXPECT_EQ(x64.imported_dlls, (std::vector<std::string>{"KERNEL32.dll", "zlib1.dll"}));
  ASSERT_TRUE(x64.version);
  EXPECT_EQ(x64.version->file.ToString(), "1.2.3.4");
  EXPECT_EQ(x64.version->product.ToString(), "1.2.3.5");
  ASSERT_NE(x64.FindSection(".debug_info"), nullptr);
  EXPECT_EQ(x64.sections.size(), 4u);

  Options o;
  o.pe32_plus = false;
  o.imports = {"user32.dll"};
  o.delay_imports = {"winmm.dll", "libpng16.dll"};
  o.debug_section = false;
  const PeFile x86 = ReadPe(Build(o).bytes);
  EXPECT_EQ(x86.machine, kMachineI386);
  EXPECT_FALSE(x86.pe32_plus);
  EXPECT_EQ(x86.imported_dlls, (std::vector<std::string>{"user32.dll"}));
  EXPECT_EQ(x86.delay_imported_dlls, (std::vector<std::string>{"winmm.dll", "libpng16.dll"}));
  EXPECT_EQ(x86.version->file.ToString(), "1.2.3.4");
}

TEST(PeFile, ReleaseProblemsNameForeignDllsDebugSectionsAndAMissingSymbolLink) {
  Options o;
  o.delay_imports = {"libjpeg-62.dll"};
  EXPECT_EQ(ReleaseProblems(ReadPe(Build(o).bytes)),
            (std::vector<std::string>{"imports zlib1.dll, which is not a system DLL",
                                      "imports libjpeg-62.dll, which is not a system DLL",
                                      "carries the debug section .debug_info",
                                      "has no link to its symbol file (.gnu_debuglink)"}));
  Options fit;
  fit.imports = {"KERNEL32.dll", "msvcrt.dll",   "USER32.DLL",
                 "Gdi32.dll",    "comctl32.dll", "WINMM.dll"};
  fit.debug_section = false;
  fit.debuglink = true;
  EXPECT_EQ(ReleaseProblems(ReadPe(Build(fit).bytes)), std::vector<std::string>{});

  struct Case {
    const char* name;
    bool system;
  } cases[] = {{"KERNEL32.dll", true},     {"msimg32.DLL", true},         {"zlib1.dll", false},
               {"kernel32", false},        {"kernel32.dll.evil", false},  {"", false},
               {"libstdc++-6.dll", false}, {"libwinpthread-1.dll", false}};
  for (const auto& c : cases) EXPECT_EQ(IsSystemDll(c.name), c.system) << "case " << c.name;
}

void ExpectRefused(const Bytes& bytes, const std::string& reason, const char* what) {
  try {
    ReadPe(bytes);
    ADD_FAILURE() << what << ": accepted";
  } catch (const PeError& e) {
    EXPECT_NE(std::string(e.what()).find(reason), std::string::npos)
        << what << ": have \"" << e.what() << "\", want \"" << reason << "\"";
  }
}

TEST(PeFile, ManifestAndItsAssemblyVersion) {
  Options o;
  o.manifest =
      "<?xml version=\"1.0\"?><assembly manifestVersion=\"1.0\">"
      "<assemblyIdentity type=\"win32\" name=\"Sapala\" version=\"0.1.0.0\"/></assembly>";
  const Built built = Build(o);
  const PeFile file = ReadPe(built.bytes);
  ASSERT_TRUE(file.manifest);
  EXPECT_EQ(*file.manifest, o.manifest);
  EXPECT_EQ(file.version->file.ToString(), "1.2.3.4");  // the version resource is still found
  EXPECT_FALSE(ReadPe(Build({}).bytes).manifest);

  Bytes b = built.bytes;
  Put32(b, built.at.at(".rsrc") + 0xF4, 0x20000);
  ExpectRefused(b, "the manifest is too large", "huge manifest");
  Put32(b, built.at.at(".rsrc") + 0xF4, 0x101);
  ExpectRefused(b, "the manifest runs past its section", "manifest past its section");

  struct Case {
    const char* xml;
    const char* version;  // nullptr: none
  } cases[] = {
      {o.manifest.c_str(), "0.1.0.0"},
      {"<assemblyIdentity name='a' version='2.0.0.0'/>", "2.0.0.0"},
      {"<assemblyIdentity myversion=\"9\"\n version=\"3.1.0.0\"/>", "3.1.0.0"},
      {"<assemblyIdentity name=\"a\"/><dependency><assemblyIdentity version=\"6.0.0.0\"/>",
       nullptr},
      {"<assembly><description>no identity</description></assembly>", nullptr},
      {"<assemblyIdentity version=\"1.0", nullptr},
      {"<assemblyIdentity version=1.0/>", nullptr},
  };
  for (const auto& c : cases) {
    const auto have = AssemblyVersion(c.xml);
    if (c.version) {
      EXPECT_EQ(have.value_or("none"), c.version) << "case " << c.xml;
    } else {
      EXPECT_FALSE(have) << "case " << c.xml << ": have " << *have;
    }
  }
}

TEST(PeFile, RefusesPatchedTables) {
  const Built good = Build({});
  const std::size_t idata = good.at.at(".idata"), rsrc = good.at.at(".rsrc");
  struct Patch {
    const char* what;
    std::size_t at;
    std::uint32_t value;
    int width;
    const char* reason;
  } patches[] = {
      {"no MZ", 0, 'X', 1, "no MZ header"},
      {"PE header beyond the file", 0x3C, 0x7FFFFFF0, 4, "the PE header lies outside the file"},
      {"PE header offset overflows", 0x3C, 0xFFFFFFFF, 4, "outside the file"},
      {"no PE signature", good.at.at("pe"), 0x4551, 4, "no PE signature"},
      {"too many sections", good.at.at("coff") + 2, 97, 2, "too many sections"},
      {"section table beyond the file", good.at.at("coff") + 2, 90, 2,
       "the section table lies outside"},
      {"optional header kind", good.at.at("optional"), 0x107, 2, "unknown optional header kind"},
      {"optional header too short", good.at.at("coff") + 16, 100, 2, "too short"},
      {"import name RVA in no section", idata + 12, 0x90000, 4, "points outside every section"},
      {"zero descriptor filled in", idata + 40, 0x2F00, 4, "points outside every section"},
      {"long name beyond the string table", good.at.at("header .debug_info") + 1, 0x3939, 2,
       "outside the string table"},
      {"string table beyond the file", good.at.at("coff") + 8, 0xFFFFFF00, 4,
       "string table lies outside"},
      {"resource entry count", rsrc + 14, 0xFFFF, 2, "too many entries"},
      {"resource type is data", rsrc + 20, 0x18, 4, "is not a directory"},
      {"resource language is a directory", rsrc + 0x30 + 20, 0x80000048, 4, "a directory too many"},
      {"version data too short", rsrc + 0x4C, 91, 4, "too short"},
      {"version data beyond its section", rsrc + 0x48, 0x3000 + 0x1F0, 4, "points outside"},
      {"version key", rsrc + 0x58 + 6, 'W', 2, "does not begin with VS_VERSION_INFO"},
      {"fixed info signature", rsrc + 0x58 + 40, 0xFEEF04BE, 4, "no fixed file information"},
  };
  for (const auto& p : patches) {
    Bytes b = good.bytes;
    if (p.width == 1) b[p.at] = static_cast<std::uint8_t>(p.value);
    if (p.width == 2) Put16(b, p.at, p.value);
    if (p.width == 4) Put32(b, p.at, p.value);
    ExpectRefused(b, p.reason, p.what);
  }

  // An import name that runs to the end of its section's data without a NUL.
  Bytes b = good.bytes;
  std::memset(&b[idata + 20 * 3], 'a', 0x200 - 20 * 3);
  ExpectRefused(b, "not a terminated name", "unterminated import name");
}

// Every prefix of a valid file is refused or read; under the sanitizers this shows that no
// read goes past the bytes given.
TEST(PeFile, EveryCutIsRefusedOrRead) {
  for (bool plus : {true, false}) {
    Options o;
    o.pe32_plus = plus;
    o.delay_imports = {"winmm.dll"};
    o.manifest = "<assemblyIdentity version=\"1.0.0.0\"/>";
    const Bytes full = Build(o).bytes;
    for (std::size_t n = 0; n < full.size(); ++n) {
      const Bytes cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
      try {
        ReadPe(cut);
      } catch (const PeError&) {
      }
    }
  }
}

}  // namespace
}  // namespace sapala::pe
