// skindump: loads a skin through the skin manager's loading sequence and prints its tables.
//
//   skindump [--hue DEGREES] [--saturation PERCENT] [--common FILE] SKIN
//   skindump --check SKIN
//
// SKIN is a skin folder (holding Options.dat) or a packed skin file (".lsz"). Version notices
// and load errors go to standard error; the exit status is 1 when an error was shown or nothing
// was found. --check prints, instead of the tables, every section, value and image this
// program's windows look up that the skin lacks and every image that does not resolve, one per
// line, and "complete" when there is none; the exit status is 1 when there is one.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/skin/file_system.h"
#include "core/skin/skin_check.h"
#include "core/skin/skin_pack.h"
#include "core/skin/skin_text.h"
#include "core/skin/skin_dump.h"
#include "core/skin/skin_manager.h"
#include "core/skin/skin_platform.h"
#include "core/skin/effects.h"

namespace {

using namespace sapala::skin;

class ConsolePlatform : public SkinPlatform {
 public:
  void ShowMessage(const std::string& text) override {
    std::fprintf(stderr, "message: %s\n", text.c_str());
  }
  void ShowError(const std::string& text) override {
    std::fprintf(stderr, "error: %s\n", text.c_str());
    ++errors;
  }
  // Absolute folders are given to the manager, so nothing is prepended.
  std::string ProgramFolder() const override { return ""; }
  std::vector<std::string> CommandLineArguments() const override { return {}; }
  int SizingFrameWidth() const override { return 4; }
  bool CompositionEnabled() const override { return false; }
  int errors = 0;
};

int Usage() {
  std::fprintf(stderr,
               "usage: skindump [--hue DEGREES] [--saturation PERCENT] [--common FILE] SKIN\n"
               "       skindump --check SKIN\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int hue = 0;
  int saturation = 0;
  std::string common;
  std::string skin;
  bool check = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--check") {
      check = true;
      continue;
    }
    if ((a == "--hue" || a == "--saturation" || a == "--common") && i + 1 < argc) {
      const std::string v = argv[++i];
      try {
        if (a == "--hue") hue = std::stoi(v);
        if (a == "--saturation") saturation = std::stoi(v);
      } catch (const std::exception&) {
        return Usage();
      }
      if (a == "--common") common = v;
    } else if (skin.empty() && !a.empty() && a[0] != '-') {
      skin = a;
    } else {
      return Usage();
    }
  }
  if (skin.empty()) return Usage();

  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(skin, ec).lexically_normal();
  if (ec) return Usage();
  if (p.filename().empty()) p = p.parent_path();  // "folder/" given
  const std::string name = p.filename().string();
  const std::string dir = p.parent_path().string();

  HostFileSystem fs;
  ConsolePlatform platform;
  SkinManagerHost host;
  static const BuiltInShadows shadows = LoadBuiltInShadows();
  SkinManagerCore manager(fs, platform, host, nullptr, &shadows);
  manager.SetActive(false);  // settings first, then one load
  manager.SetSkinDirectory(dir);
  manager.SetHueOffset(hue);
  manager.SetSaturation(saturation);
  if (!common.empty()) {
    std::ifstream in(common, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "skindump: cannot read %s\n", common.c_str());
      return 1;
    }
    std::stringstream text;
    text << in.rdbuf();
    std::vector<std::string> lines = SplitLines(text.str());
    manager.SetCommonSections(lines);
  }
  manager.SetSkinName(name);
  manager.SetActive(true);
  if (!manager.Active()) {
    std::fprintf(stderr, "skindump: no skin \"%s\" in %s\n", name.c_str(), dir.c_str());
    return 1;
  }
  if (check) {
    // The skin text again, as the tables were built from it.
    std::string text;
    if (manager.IsPacked()) {
      TlcSkinConvertor packed;
      packed.ReadPackedFile(fs, (p.parent_path() / (manager.SkinName() + ".lsz")).string());
      text = packed.SkinText();
    } else {
      std::ifstream in(p.parent_path() / manager.SkinName() / "Options.dat", std::ios::binary);
      std::stringstream all;
      all << in.rdbuf();
      text = all.str();
    }
    const auto problems = CheckSkin(SkinText::Parse(text), manager.Tables, ProgramSkinRequirements());
    for (const std::string& line : problems) std::printf("%s\n", line.c_str());
    if (problems.empty()) {
      std::printf("complete (%s): %zu sections, %zu images\n", manager.IsPacked() ? "packed" : "folder",
                  manager.Tables.Sections.size(), manager.Tables.Images.size());
    }
    return problems.empty() && platform.errors == 0 ? 0 : 1;
  }
  std::printf("Skin \"%s\" (%s), SkinInfo %s\n", manager.SkinName().c_str(),
              manager.IsPacked() ? "packed" : "folder", manager.SkinInfo().c_str());
  std::fputs(DumpTables(manager.Tables).c_str(), stdout);
  return platform.errors == 0 ? 0 : 1;
}
