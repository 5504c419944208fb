// Skinned text: a control's caption drawn in its section's font colours, with the outline
// colours of the section, dimmed when disabled, with a glow when the section asks for one, and
// a text shortened to a width with "...".
//
// Fonts and text layout belong to the platform: the core draws through SkinTextCanvas, which
// the Win32 half implements over a device context (DrawTextW) and native tests fake. Drawing
// never throws.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/graphics/bitmap.h"
#include "core/graphics/color.h"
#include "core/graphics/geometry.h"
#include "core/graphics/text.h"
#include "core/skin/skin_paint.h"
#include "core/skin/skin_tables.h"

namespace sapala::skin {

// DrawText flags the text painting adds or relies on (the Windows DT_* values).
inline constexpr unsigned kDtNoClip = 0x0100;

class SkinTextCanvas {
 public:
  virtual ~SkinTextCanvas() = default;
  // Draws `text` in `color` (RGB) with the canvas' current font, transparent background, laid
  // out in `rect` by the DT_* flags of `format`, nothing outside `clip`.
  virtual void DrawText(std::u16string_view text, const graphics::Rect& rect, unsigned format,
                        TColor color, const graphics::Rect& clip) = 0;
  // Width in pixels of `text` on one line in the current font.
  virtual int TextWidth(std::u16string_view text) = 0;
  // Underlines the current font (hot web buttons) until set back.
  virtual void SetUnderline(bool on) = 0;
  // Draws black text into an 8-bit grey mask for glowing text; null when the canvas cannot.
  virtual graphics::TextPainter* MaskPainter() { return nullptr; }
};

// What the text painting needs of the control that owns the text.
struct SkinnedTextOwner {
  ElementRef Element;       // section, hue and saturation shift
  bool Skinned = false;     // the control is skinned (TsCommonData::Skinned)
  bool CustomFont = false;  // the control keeps its own font colour
  int ControlKind = 0;      // TsCommonData::ControlKind
  // A graphic control whose font follows its parent's and which has a parent.
  bool FollowsParentFont = false;
  graphics::Bitmap* Cache = nullptr;  // the control's cache (glow target), or none
  // The 8-bit glow mask kept between paints (DrawGlowText reuses it while the size matches);
  // none: the mask is made for each call.
  graphics::Bitmap* GlowMaskCache = nullptr;
  // Section index of the ancestor `level` steps up (0 = the parent): -1 when that ancestor is
  // not skinned, -2 when there is no such ancestor. May be empty (no parent chain).
  std::function<int(int level)> AncestorSection;
};

// The caption of a control. Skinned and not CustomFont: the outline colours of
// Props[hot].FontColors that are not −1 one pixel off toward their side, then the main colour
// with DT_NOCLIP added; disabled: once in MixColors(font colour, form colour, 0.4); every colour
// shifted by the control's hue and saturation. A glow (Props[hot].GlowSize > 0) is drawn into the
// owner's cache first. Not skinned: plain, or embossed in the button highlight and shadow
// colours when disabled. Clipped to `rect`.
void WriteSkinnedText(SkinTextCanvas& canvas, std::u16string_view text, bool enabled, bool hot,
                      const SkinTables& tables, const SkinnedTextOwner& owner, unsigned format,
                      graphics::Rect rect);

// The same for a bare section index: no glow, no parent chain, no hue shift; disabled text in
// MixColors(FontColors[0], Color, 0.4).
void WriteSectionText(SkinTextCanvas& canvas, std::u16string_view text, bool enabled,
                      const SkinTables& tables, bool hot, int sectionIndex, unsigned format,
                      graphics::Rect rect);

// `text` cut from its end until text + "..." is at most `maxWidth` pixels wide, then "..."
// appended; unchanged when it already fits.
std::u16string ShortenText(SkinTextCanvas& canvas, std::u16string_view text, int maxWidth);

}  // namespace sapala::skin
