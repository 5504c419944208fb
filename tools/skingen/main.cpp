// skingen: draws the skin "DiruriZedaz" and writes it as a skin folder and as a packed skin.
//
//   skingen OUT_DIR    writes OUT_DIR/DiruriZedaz/ (Options.dat, MASTER.BMP, the PNG pictures)
//                      and OUT_DIR/DiruriZedaz.lsz
//
// The committed skin under assets/skin is this tool's output; a test regenerates and compares.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/skin/skin_pack.h"
#include "tools/skingen/diruri.h"

namespace {

void WriteFile(const std::filesystem::path& path, const sapala::skin::Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: skingen OUT_DIR\n");
    return 2;
  }
  try {
    using namespace sapala;
    skingen::SkinWriter writer(256);
    skingen::DrawDiruriZedaz(writer);
    const auto files = writer.Files();
    const std::filesystem::path out = argv[1];
    const std::filesystem::path folder = out / skingen::kSkinName;
    std::filesystem::create_directories(folder);
    for (const skin::PackEntry& f : files) WriteFile(folder / f.name, f.data);
    const skin::Bytes packed = skin::WritePacked(files);
    skin::TlcSkinConvertor check;  // read back before writing: never leave an unreadable file
    check.ReadPacked(packed);
    WriteFile(out / (std::string(skingen::kSkinName) + ".lsz"), packed);
    const auto master = writer.Master();
    std::printf("%s: %zu files, master %d x %d, packed %zu bytes\n", skingen::kSkinName,
                files.size(), master.Width(), master.Height(), packed.size());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skingen: %s\n", e.what());
    return 1;
  }
}
