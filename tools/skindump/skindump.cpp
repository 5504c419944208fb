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
#include "tools/common/skin_tool.h"

namespace {

using namespace sapala::skin;

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

  sapala::tools::SkinTool tool;
  if (!tool.Prepare(skin)) return Usage();
  SkinManagerCore& manager = *tool.manager;
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
  if (!tool.Load("skindump")) return 1;
  if (check) {
    // The skin text again, as the tables were built from it.
    std::string text;
    if (manager.IsPacked()) {
      TlcSkinConvertor packed;
      packed.ReadPackedFile(tool.fs, tool.Source().string());
      text = packed.SkinText();
    } else {
      std::ifstream in(tool.Source(), std::ios::binary);
      std::stringstream all;
      all << in.rdbuf();
      text = all.str();
    }
    const auto problems =
        CheckSkin(SkinText::Parse(text), manager.Tables, ProgramSkinRequirements());
    for (const std::string& line : problems) std::printf("%s\n", line.c_str());
    if (problems.empty()) {
      std::printf("complete (%s): %zu sections, %zu images\n",
                  manager.IsPacked() ? "packed" : "folder", manager.Tables.Sections.size(),
                  manager.Tables.Images.size());
    }
    return problems.empty() && tool.platform.errors == 0 ? 0 : 1;
  }
  std::printf("Skin \"%s\" (%s), SkinInfo %s\n", manager.SkinName().c_str(),
              manager.IsPacked() ? "packed" : "folder", manager.SkinInfo().c_str());
  std::fputs(DumpTables(manager.Tables).c_str(), stdout);
  return tool.platform.errors == 0 ? 0 : 1;
}
