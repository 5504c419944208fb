#include "win/controls/skin_link.h"

#include "win/framework/controls.h"

namespace sapala::win::skin {

namespace {
SkinManagerLink* default_manager = nullptr;

LRESULT Ask(HWND hwnd, WORD command, LPARAM lp) {
  return ::SendMessageW(hwnd, SM_LUMOCMD, MAKEWPARAM(0, command), lp);
}
}  // namespace

SkinManagerLink* DefaultSkinManager() noexcept { return default_manager; }
void SetDefaultSkinManager(SkinManagerLink* manager) noexcept { default_manager = manager; }

SkinManagerLink* ActiveSkinManager() noexcept {
  return default_manager && default_manager->SkinActive() ? default_manager : nullptr;
}

int ParentSectionIndex(const TWinControl* parent) {
  if (!parent || !parent->HandleAllocated()) return -1;
  int index = -1;
  Ask(parent->WindowHandle(), cmdGetSectionIndex, reinterpret_cast<LPARAM>(&index));
  return index;
}

TColor ParentBackgroundColor(const TWinControl* parent) {
  if (!parent) return graphics::ColorToRGB(graphics::clBtnFace);
  if (parent->HandleAllocated() && Ask(parent->WindowHandle(), cmdIsSkinned, 0) == 1) {
    return static_cast<TColor>(Ask(parent->WindowHandle(), cmdGetBackgroundColor, 0));
  }
  return graphics::ColorToRGB(parent->Color());
}

}  // namespace sapala::win::skin
