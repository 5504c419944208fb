// The skin check: required sections, values and images, and every image's geometry.
#include "core/skin/skin_check.h"

#include <set>

namespace sapala::skin {
namespace {

// A value of `section`, or of the sections its PARENTCLASS chain names ("?" counts as absent).
bool HasValue(const SkinText& text, const std::string& section, const std::string& key) {
  std::set<std::string> seen;
  std::string name = section;
  while (seen.insert(name).second) {
    const SkinSection* s = text.FindSection(name);
    if (s == nullptr) return false;
    if (auto v = s->Find(key); v && *v != "?") return true;
    auto parent = s->Find("PARENTCLASS");
    if (!parent || parent->empty() || *parent == "?") return false;
    name = std::string(*parent);
  }
  return false;
}

std::string Describe(const TsMaskData& m, int index) {
  return "image " + std::to_string(index) + " " + m.Section + "/" + m.Key;
}

}  // namespace

const std::vector<SectionRequirement>& ProgramSkinRequirements() {
  static const std::vector<SectionRequirement> kRequired = [] {
    std::vector<std::string> globalImages = {"TITLEBUTTON", "BOXCHECKED",   "BOXUNCHECKED",
                                             "BOXGRAYED",   "RADIOCHECKED", "RADIOUNCHECKED",
                                             "RADIOGRAYED", "SMALLCHECKED", "SMALLUNCHECKED",
                                             "SMALLGRAYED", "GRIPIMAGE"};
    for (const char* icon :
         {"BICONCLOSE", "BICLOSEALONE", "BICONMAX", "BICONNORM", "BICONMIN", "BICONHELP",
          "SICONCLOSE", "SICONMAX", "SICONNORM", "SICONMIN", "SICONHELP"}) {
      globalImages.push_back(icon);
      globalImages.push_back(std::string(icon) + "GLOW0");
    }
    std::vector<SectionRequirement> r;
    r.push_back({"GLOBALINFO",
                 {"VERSION",
                  "MASTERBITMAP",
                  "COLOR",
                  "FONTCOLOR",
                  "TCLEFT",
                  "TCTOP",
                  "TCBOTTOM",
                  "HOTCOLOR",
                  "SHADOW1COLOR",
                  "SHADOW1OFFSET",
                  "SHADOW1BLUR",
                  "BORDERWIDTH",
                  "TITLEHEIGHT",
                  "BORDERCOLOR",
                  "BISPACE",
                  "BIVALIGN",
                  "BIRIGHT",
                  "BILEFT",
                  "BITOP",
                  "BICONCLOSEGLOW",
                  "BICONCLOSEGLOWMARGIN",
                  "BICONMAXGLOW",
                  "BICONMAXGLOWMARGIN",
                  "BICONMINGLOW",
                  "BICONMINGLOWMARGIN"},
                 {},
                 globalImages,
                 {}});
    const std::vector<std::string> painted = {"COLOR", "FONTCOLOR"};
    r.push_back({"FORM", painted, {"BORDERSMASK"}, {}, {}});
    r.push_back({"DIALOG", painted, {"BORDERSMASK"}, {}, {}});
    r.push_back({"FORMTITLE",
                 {"COLOR", "FONTCOLOR", "HOTFONTCOLOR"},
                 {"BORDERSMASK", "TITLEBAR"},
                 {},
                 {"PATTERN", "HOTPATTERN"}});
    r.push_back({"CAPTION", {"COLOR"}, {}, {}, {}});
    r.push_back({"BUTTON",
                 {"COLOR", "FONTCOLOR", "HOTFONTCOLOR", "GLOW", "GLOWMARGIN"},
                 {"BORDERSMASK"},
                 {"GLOW0"},
                 {}});
    r.push_back({"CHECKBOX", painted, {}, {}, {}});
    r.push_back({"EDIT", painted, {"BORDERSMASK"}, {}, {}});
    r.push_back({"MAINMENU", painted, {}, {"BORDERSMASK"}, {}});
    r.push_back({"MENUITEM", {"COLOR", "FONTCOLOR", "HOTCOLOR", "HOTFONTCOLOR"}, {}, {}, {}});
    r.push_back({"MENULINE", painted, {}, {}, {}});
    r.push_back({"ICOLINE", {"COLOR"}, {}, {}, {}});
    r.push_back({"DIVIDERV", {}, {}, {"BORDERSMASK"}, {}});
    r.push_back({"SELECTION", {"COLOR", "FONTCOLOR", "HOTCOLOR", "HOTFONTCOLOR"}, {}, {}, {}});
    r.push_back({"TOOLBAR", painted, {}, {}, {}});
    r.push_back({"SPEEDBUTTON_SMALL", painted, {"BORDERSMASK"}, {}, {}});
    r.push_back({"EXTRALINE", painted, {}, {}, {}});
    r.push_back({"GROUPBOX", painted, {"BORDERSMASK"}, {}, {}});
    r.push_back({"PANEL", painted, {}, {}, {}});
    r.push_back({"WEBBUTTON", {"FONTCOLOR", "HOTFONTCOLOR"}, {}, {}, {}});
    for (const char* bar : {"SCROLLBAR1H", "SCROLLBAR1V", "SCROLLBAR2H", "SCROLLBAR2V"}) {
      r.push_back({bar, {"COLOR"}, {}, {"BORDERSMASK"}, {}});
    }
    for (const char* button :
         {"SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT"}) {
      r.push_back({button, {"COLOR"}, {}, {"BORDERSMASK", "GLYPHMASK"}, {}});
    }
    for (const char* slider : {"SCROLLSLIDERH", "SCROLLSLIDERV"}) {
      r.push_back({slider, {"COLOR"}, {}, {"BORDERSMASK"}, {}});
    }
    return r;
  }();
  return kRequired;
}

std::string ImageProblem(const SkinTables& tables, int index) {
  const TsMaskData* m = tables.Image(index);
  if (m == nullptr) return "no such image";
  const graphics::Bitmap& bitmap = m->Image ? *m->Image : tables.MasterBitmap;
  if (bitmap.Empty()) return m->Image ? "its picture is empty" : "the skin has no master bitmap";
  const graphics::Rect& r = m->Rect;
  if (r.empty()) return "its rectangle is empty";
  if (r.left < 0 || r.top < 0 || r.right > bitmap.Width() || r.bottom > bitmap.Height()) {
    return "its rectangle lies outside its bitmap";
  }
  if (m->ImageKind == 1) return "";  // a texture is its whole rectangle
  const int frames = m->FrameCount > 0 ? m->FrameCount : 1;
  const int rows = m->MaskKind + 1;
  if (rows < 1) return "it has no rows";
  if (r.width() % frames != 0) return "its width is not a whole number of frames";
  if (r.height() % rows != 0) return "its height is not a whole number of rows";
  if (m->ImageKind != 0) return "";
  if (LeftWidth(*m) + RightWidth(*m) > FrameWidth(*m)) return "its borders are wider than a frame";
  if (TopWidth(*m) + BottomWidth(*m) > FrameHeight(*m))
    return "its borders are higher than a frame";
  return "";
}

std::vector<std::string> CheckSkin(const SkinText& text, const SkinTables& tables,
                                   const std::vector<SectionRequirement>& required) {
  std::vector<std::string> problems;
  for (const SectionRequirement& req : required) {
    const int index = tables.FindSection(req.section);
    if (index < 0) {
      problems.push_back("missing section " + req.section);
      continue;
    }
    for (const std::string& key : req.values) {
      if (!HasValue(text, req.section, key))
        problems.push_back(req.section + ": missing value " + key);
    }
    for (const std::string& key : req.images) {
      if (tables.FindImage(index, req.section, key) < 0) {
        problems.push_back(req.section + ": missing image " + key);
      }
    }
    for (const std::string& key : req.exactImages) {
      if (tables.FindImageExact(req.section, key) < 0) {
        problems.push_back(req.section + ": missing image " + key);
      }
    }
    for (const std::string& key : req.textures) {
      if (tables.FindTexture(index, req.section, key) < 0) {
        problems.push_back(req.section + ": missing texture " + key);
      }
    }
  }
  for (int i = 0; i < static_cast<int>(tables.Images.size()); ++i) {
    const std::string why = ImageProblem(tables, i);
    if (!why.empty())
      problems.push_back(Describe(tables.Images[static_cast<std::size_t>(i)], i) + ": " + why);
  }
  return problems;
}

}  // namespace sapala::skin
