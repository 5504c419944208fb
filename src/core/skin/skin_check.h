// A check of a skin for its authors: is every section and image there that the windows of this
// program paint with, and does every image of the skin resolve to pixels that its own values can
// cut into frames and borders? Used by skindump --check and the skin generator's tests.
#pragma once

#include <string>
#include <vector>

#include "core/skin/skin_tables.h"
#include "core/skin/skin_text.h"

namespace sapala::skin {

// A section that must exist, the values it must give (in its own text or through PARENTCLASS),
// and the images that must resolve: `images` through the section's parent chain (FindImage),
// `exactImages` in the section itself (FindImageExact), `textures` as textures (FindTexture).
struct SectionRequirement {
  std::string section;
  std::vector<std::string> values;
  std::vector<std::string> images;
  std::vector<std::string> exactImages;
  std::vector<std::string> textures;
};

// What the program's windows (frames, title bars, message boxes, system menus, push buttons,
// scroll bars, labels) look up.
const std::vector<SectionRequirement>& ProgramSkinRequirements();

// Why image `index` cannot be painted from, or "" when it can: no picture; a rectangle outside
// its bitmap or empty; a width or height that its frames or mask rows do not divide; borders
// wider or higher than one frame.
std::string ImageProblem(const SkinTables& tables, int index);

// One line per problem ("missing section X", "X: missing image KEY", "X: missing value KEY",
// "image N SECTION/KEY: ..."); empty when the skin passes. `text` is the skin text the tables
// were built from (values are looked up there, following PARENTCLASS).
std::vector<std::string> CheckSkin(const SkinText& text, const SkinTables& tables,
                                   const std::vector<SectionRequirement>& required);

}  // namespace sapala::skin
