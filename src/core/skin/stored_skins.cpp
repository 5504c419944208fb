// Stored skins; see stored_skins.h.
#include "core/skin/stored_skins.h"

namespace sapala::skin {

const TsStoredSkin* TsStoredSkins::Find(const std::string& name) const {
  for (const TsStoredSkin& s : items_) {
    if (s.Name == name) return &s;
  }
  return nullptr;
}

}  // namespace sapala::skin
