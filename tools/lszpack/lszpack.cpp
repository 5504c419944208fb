// lszpack: packs a skin folder into a packed skin (".lsz"), lists a packed skin, extracts one
// entry. Refuses damaged input with the reader's message.
//
//   lszpack pack FOLDER OUT.lsz       Options.dat first, then the folder's files by name
//   lszpack list FILE.lsz             one line per entry: inflated size and name
//   lszpack extract FILE.lsz NAME OUT  NAME compared upper-cased ("OPTIONS.DAT" is the text)
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>

#include "core/skin/file_system.h"
#include "core/skin/skin_error.h"
#include "core/skin/skin_pack.h"
#include "core/skin/skin_text.h"

namespace {

using namespace sapala::skin;

int Usage() {
  std::fprintf(stderr,
               "usage: lszpack pack FOLDER OUT.lsz\n"
               "       lszpack list FILE.lsz\n"
               "       lszpack extract FILE.lsz NAME OUTFILE\n");
  return 2;
}

void WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw SkinError("Cannot write \"" + path + "\"");
}

TlcSkinConvertor Read(const HostFileSystem& fs, const std::string& path) {
  if (!fs.FileExists(path)) throw SkinError("No such file: \"" + path + "\"");
  TlcSkinConvertor r;
  r.ReadPackedFile(fs, path);
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string cmd = argv[1];
  HostFileSystem fs;
  try {
    if (cmd == "pack" && argc == 4) {
      const auto entries = CollectFolder(fs, argv[2]);
      const Bytes packed = WritePacked(entries);
      // Read it back before writing, so a packer fault never leaves an unreadable file.
      TlcSkinConvertor check;
      check.ReadPacked(packed);
      WriteFile(argv[3], packed);
      std::printf("%zu files, %zu bytes\n", entries.size(), packed.size());
      return 0;
    }
    if (cmd == "list" && argc == 3) {
      const TlcSkinConvertor r = Read(fs, argv[2]);
      std::printf("%10zu  Options.dat\n", r.SkinText().size());
      for (const TlcImageItem& item : r.Items()) {
        std::printf("%10zu  %s\n", EntryFileBytes(item).size(), item.Name.c_str());
      }
      return 0;
    }
    if (cmd == "extract" && argc == 5) {
      const TlcSkinConvertor r = Read(fs, argv[2]);
      const std::string name = UpperAscii(argv[3]);
      if (name == "OPTIONS.DAT") {
        WriteFile(argv[4], Bytes(r.SkinText().begin(), r.SkinText().end()));
        return 0;
      }
      const TlcImageItem* item = r.FindItem(name);
      if (item == nullptr) throw SkinError(std::string("No entry named \"") + argv[3] + "\"");
      WriteFile(argv[4], EntryFileBytes(*item));
      return 0;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "lszpack: %s\n", e.what());
    return 1;
  }
  return Usage();
}
