// A text dump of loaded skin tables: the global values, every section's fields and every image's
// fields, one "name = value" line each, for skin authors (skindump) and for tests that compare two
// loads. Colours are written as six hexadecimal digits in the order blue, green, red ($BBGGRR);
// pictures as their size and a CRC-32 of their pixels.
#pragma once

#include <string>

#include "core/skin/skin_tables.h"

namespace sapala::skin {

std::string DumpSkinData(const TsSkinData& d);
std::string DumpTables(const SkinTables& t);

}  // namespace sapala::skin
