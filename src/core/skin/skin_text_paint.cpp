// Skinned text through a canvas; see skin_text_paint.h.
#include "core/skin/skin_text_paint.h"

#include <algorithm>

#include "core/graphics/effects.h"

namespace sapala::skin {

using graphics::Rect;

namespace {

const TsGeneralData* SectionAt(const SkinTables& t, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= t.Sections.size()) return nullptr;
  return &t.Sections[static_cast<std::size_t>(index)];
}

// The four outlines (left, up, right, down), then the text itself with DT_NOCLIP.
template <class Adjust>
void DrawOutlined(SkinTextCanvas& canvas, std::u16string_view text, const FontColorArray& colors,
                  unsigned format, Rect rect, Adjust adjust) {
  static constexpr int kDx[4] = {-1, 0, 1, 0};
  static constexpr int kDy[4] = {0, -1, 0, 1};
  for (std::size_t i = 1; i < 5; ++i) {
    if (colors[i] == kNoColor) continue;
    canvas.DrawText(text, rect.offset(kDx[i - 1], kDy[i - 1]), format, adjust(colors[i]), rect);
  }
  canvas.DrawText(text, rect, format | kDtNoClip, adjust(colors[0]), rect);
}

// The section that gives the text its colours: the control's own, or for check boxes, radio
// buttons, group boxes and graphic controls following their parent's font over a transparent
// look, the first ancestor section that gives its own font.
int FontSection(const SkinTables& t, const SkinnedTextOwner& owner, bool hot) {
  const int own = owner.Element.SectionIndex;
  const TsGeneralData* g = SectionAt(t, own);
  if (g == nullptr) return own;
  const bool followsParent = owner.ControlKind == 32 || owner.ControlKind == 33 ||
                             owner.ControlKind == 74 || owner.FollowsParentFont;
  if (!followsParent || !owner.AncestorSection || g->Props[hot ? 1 : 0].Transparency <= 0) {
    return own;
  }
  // Each step goes one ancestor up; the chain of windows is finite but the callback is not
  // ours, so the walk is bounded.
  for (int level = 0; level < 64; ++level) {
    const int index = owner.AncestorSection(level);
    const TsGeneralData* a = SectionAt(t, index);
    if (a == nullptr) break;
    if (a->GiveOwnFont) return index;
    if (a->Transparency <= 50) break;
  }
  return own;
}

TColor FormColorOf(const SkinTables& t) {
  const int gi = t.FindSection("GLOBALINFO");
  return ColorToRGB(gi >= 0 ? t.Sections[static_cast<std::size_t>(gi)].Color : graphics::clBtnFace);
}

}  // namespace

void WriteSkinnedText(SkinTextCanvas& canvas, std::u16string_view text, bool enabled, bool hot,
                      const SkinTables& tables, const SkinnedTextOwner& owner, unsigned format,
                      Rect rect) {
  try {
    if (text.empty()) return;
    const bool underline = hot && owner.Element.SectionIndex >= 0 &&
                           owner.Element.SectionIndex == tables.Cache.WebButton;
    if (underline) canvas.SetUnderline(true);
    const TsGeneralData* own = SectionAt(tables, owner.Element.SectionIndex);
    if (owner.Skinned && !owner.CustomFont && own != nullptr) {
      const int hue = owner.Element.HueShift, sat = owner.Element.SaturationShift;
      auto adjust = [&](TColor c) { return graphics::ShiftedColor(ColorToRGB(c), hue, sat); };
      const std::size_t state = hot ? 1 : 0;
      const TsGeneralData& g = *SectionAt(tables, FontSection(tables, owner, hot));
      const TsGenState& look = g.Props[state];
      const TsGenState& ownLook = own->Props[state];
      if (owner.Cache != nullptr && ownLook.GlowSize > 0) {
        if (graphics::TextPainter* mask = canvas.MaskPainter()) {
          graphics::Bitmap once;  // without a kept mask the blur is made for this call only
          graphics::DrawGlowText(*owner.Cache, text, rect,
                                 owner.GlowMaskCache != nullptr ? *owner.GlowMaskCache : once,
                                 adjust(ownLook.GlowColor), ownLook.GlowSize, 15, format, *mask);
        }
      }
      if (!enabled) {
        canvas.DrawText(
            text, rect, format,
            adjust(graphics::MixColors(ColorToRGB(look.FontColors[0]), FormColorOf(tables), 0.4)),
            rect);
      } else {
        DrawOutlined(canvas, text, look.FontColors, format, rect, adjust);
      }
    } else if (enabled) {
      canvas.DrawText(text, rect, format, ColorToRGB(graphics::clWindowText), rect);
    } else {
      canvas.DrawText(text, rect.offset(1, 1), format, ColorToRGB(graphics::clBtnHighlight), rect);
      canvas.DrawText(text, rect, format, ColorToRGB(graphics::clBtnShadow), rect);
    }
    if (underline) canvas.SetUnderline(false);
  } catch (...) {
    // Painting never raises.
  }
}

void WriteSectionText(SkinTextCanvas& canvas, std::u16string_view text, bool enabled,
                      const SkinTables& tables, bool hot, int sectionIndex, unsigned format,
                      Rect rect) {
  try {
    const TsGeneralData* g = SectionAt(tables, sectionIndex);
    if (text.empty() || g == nullptr) return;
    const TsGenState& look = g->Props[hot ? 1 : 0];
    auto plain = [](TColor c) { return ColorToRGB(c); };
    if (!enabled) {
      canvas.DrawText(
          text, rect, format,
          graphics::MixColors(ColorToRGB(look.FontColors[0]), ColorToRGB(look.Color), 0.4), rect);
    } else {
      DrawOutlined(canvas, text, look.FontColors, format, rect, plain);
    }
  } catch (...) {
  }
}

std::u16string ShortenText(SkinTextCanvas& canvas, std::u16string_view text, int maxWidth) {
  std::u16string s(text);
  if (canvas.TextWidth(s) <= maxWidth) return s;
  const std::u16string dots = u"...";
  while (!s.empty() && canvas.TextWidth(s + dots) > maxWidth) {
    s.pop_back();
    // Never leave half of a surrogate pair behind.
    if (!s.empty() && s.back() >= 0xD800 && s.back() <= 0xDBFF) s.pop_back();
  }
  return s + dots;
}

}  // namespace sapala::skin
