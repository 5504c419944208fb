// What the labels ask of the skin engine, behind one small interface. The skin manager
// component implements SkinManagerLink and registers the process's default manager with
// SetDefaultSkinManager; until it does, DefaultSkinManager() is nullptr and every label takes
// its unskinned path. Skinned parent windows are asked through the engine's message SM_LUMOCMD.
#pragma once

#include <windows.h>

#include <string_view>

#include "core/graphics/bitmap.h"
#include "core/graphics/color.h"

namespace sapala::win {
class TWinControl;
}

namespace sapala::win::skin {

using graphics::TColor;

// The engine's one notification message: WParam = command << 16 | argument, LParam as the
// command says (for commands from a manager: the sending SkinManagerLink*).
constexpr UINT SM_LUMOCMD = 0xA100;
enum SkinCommand : WORD {
  cmdNewSkin = 1,
  cmdRemoveSkin = 2,
  cmdRefresh = 3,
  cmdGetProvider = 4,
  cmdEndSuspend = 6,
  cmdIsSkinned = 7,
  cmdSetSuspended = 8,
  cmdSetImmediatePaint = 9,
  cmdIsBackgroundDirty = 10,
  cmdIsPartlyVisible = 11,
  cmdRepaintSection = 13,
  cmdSetSection = 15,
  cmdBeforeRefresh = 16,
  cmdInvalidateCache = 17,
  cmdAppNotify = 18,
  cmdIsTransparent = 19,
  cmdParentBackgroundChanged = 20,
  cmdGetBackgroundColor = 21,
  cmdSetPartlyVisible = 22,
  cmdControlChanged = 25,
  cmdGetSectionIndex = 26,
  cmdMouseEnter = 29,
  cmdMouseLeave = 30,
  cmdBeginUpdate = 31,
  cmdEndUpdate = 32,
  cmdGetBackgroundInfo = 34,
  cmdParentBackgroundState = 36,
  cmdSetPrintTarget = 38,
  cmdBeforeScroll = 51,
  cmdAfterScroll = 52,
  cmdGetApplication = 60,
  cmdGetClientOffset = 61,
};

class SkinManagerLink {
 public:
  virtual ~SkinManagerLink() = default;

  // A skin is loaded and in force.
  virtual bool SkinActive() const = 0;
  // Index of the section named exactly `name`, -1 when the skin has none.
  virtual int SectionIndex(std::string_view name) const = 0;
  // FONTCOLOR of a section's normal state (fuchsia when unknown).
  virtual TColor SectionFontColor(int section) const = 0;
  virtual int SectionTransparency(int section) const = 0;
  virtual bool SectionGivesOwnFont(int section) const = 0;
  // The manager's form font colour (fuchsia when unknown).
  virtual TColor FormFontColor() const = 0;
  // Font colour n (1..5) of the skin's "GLOBALINFO" section, -1 when it has none.
  virtual TColor GlobalFontColor(int n) const = 0;
  // The skin's SHADOW1COLOR, SHADOW1BLUR (-1: the skin sets no shadow) and SHADOW1OFFSET.
  struct Shadow1 {
    TColor color = 0;
    int blur = -1;
    int offset = 0;
  };
  virtual Shadow1 ShadowSettings() const = 0;
  // Paints section `section` in its normal state over `target` (32-bit, the label's size), with
  // what lies under a control at `offset` in the parent window `parent`.
  virtual void PaintSection(graphics::Bitmap& target, int section, POINT offset, HWND parent) = 0;
};

// The process's default skin manager, nullptr while there is none.
SkinManagerLink* DefaultSkinManager() noexcept;
// Registers (or with nullptr removes) the default manager; the caller keeps it alive meanwhile.
void SetDefaultSkinManager(SkinManagerLink* manager) noexcept;
// The default manager when it exists and its skin is active, else nullptr.
SkinManagerLink* ActiveSkinManager() noexcept;

// The skin section index a skinned parent window answers (cmdGetSectionIndex), -1 otherwise.
int ParentSectionIndex(const TWinControl* parent);
// The colour under a control: a skinned parent's answer to cmdGetBackgroundColor, else the
// parent's Color (as RGB).
TColor ParentBackgroundColor(const TWinControl* parent);

}  // namespace sapala::win::skin
