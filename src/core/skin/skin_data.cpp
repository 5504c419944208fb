// Skin records: gradient parsing, the Props fill and the width queries; see skin_data.h.
#include "core/skin/skin_data.h"

#include <algorithm>

#include "core/skin/skin_text.h"
#include "core/skin/skin_values.h"

namespace sapala::skin {

TsGradArray ParseGradient(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = text.find(';', pos);
    if (end == std::string_view::npos) end = text.size();
    if (end > pos) words.push_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  auto stops = NewGradArray();
  const std::size_t count = words.size() / 5;
  stops->reserve(count);
  for (std::size_t k = 0; k < count; ++k) {
    auto word = [&](std::size_t i) { return StrToInt(TrimBlanks(words[5 * k + i])); };
    GradientStop s;
    s.Color1 = std::max(0, word(0));
    s.Color2 = std::max(0, word(1));
    s.Percent = static_cast<std::uint8_t>(std::clamp(word(2), 0, 100));
    s.Mode = word(3);
    stops->push_back(s);
  }
  return stops;
}

void TsGeneralData::FillProps() {
  TsGenState& n = Props[0];
  n.Color = Color;
  n.FontColors = FontColors;
  n.GradientPercent = GradientPercent;
  n.GradientData = GradientData;
  n.Gradient = Gradient;
  n.ImagePercent = ImagePercent;
  n.GlowColor = GlowColor;
  n.GlowSize = GlowSize;
  n.Transparency = Transparency;
  if (States < 2) {
    Props[1] = Props[0];
    return;
  }
  TsGenState& h = Props[1];
  h.Color = HotColor;
  h.FontColors = HotFontColors;
  h.GradientPercent = HotGradientPercent;
  h.GradientData = HotGradientData;
  h.Gradient = HotGradient;
  h.ImagePercent = HotImagePercent;
  h.GlowColor = HotGlowColor;
  h.GlowSize = HotGlowSize;
  h.Transparency = HotTransparency;
}

int FrameWidth(const TsMaskData& m) {
  if (m.FrameCount <= 0) return 0;
  return m.Rect.width() / m.FrameCount;
}

int FrameHeight(const TsMaskData& m) {
  if (m.MaskKind < 0) return 0;
  if (m.MaskKind == 0) return m.Rect.height();
  if (m.MaskKind == 1) return m.Rect.height() / 2;
  return m.Rect.height() / (m.MaskKind + 1);
}

namespace {
int FrameWidthAtLeastOne(const TsMaskData& m) {
  return m.Rect.width() / std::max<int>(1, m.FrameCount);
}
}  // namespace

int LeftWidth(const TsMaskData& m) {
  if (m.LeftBorder > 0) return m.LeftBorder;
  if (m.BorderWidth > 0) return m.BorderWidth;
  return FrameWidthAtLeastOne(m);
}

int RightWidth(const TsMaskData& m) {
  if (m.RightBorder > 0) return m.RightBorder;
  if (m.BorderWidth > 0) return m.BorderWidth;
  return FrameWidthAtLeastOne(m);
}

int TopWidth(const TsMaskData& m) {
  if (m.TopBorder > 0) return m.TopBorder;
  if (m.BorderWidth > 0) return m.BorderWidth;
  return FrameHeight(m);
}

int BottomWidth(const TsMaskData& m) {
  if (m.BottomBorder > 0) return m.BottomBorder;
  if (m.BorderWidth > 0) return m.BorderWidth;
  return FrameHeight(m);
}

}  // namespace sapala::skin
