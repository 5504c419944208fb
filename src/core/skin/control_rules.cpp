// Window-free rules of the control skin state; see control_rules.h.
#include "core/skin/control_rules.h"

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

#include "core/graphics/color.h"

namespace sapala::skin {

namespace {

struct Range {
  int from, to;
};

template <class Ranges>
bool InRanges(int kind, const Ranges& ranges) {
  for (const Range& r : ranges) {
    if (kind >= r.from && kind <= r.to) return true;
  }
  return false;
}

}  // namespace

bool IsColorApplyingKind(int kind) {
  return InRanges(kind,
                  std::initializer_list<Range>{{2, 18}, {41, 41}, {76, 84}, {96, 96}, {131, 140}});
}

bool IsHoverInactiveKind(int kind) {
  return InRanges(kind, std::initializer_list<Range>{{19, 19}, {51, 74}, {110, 110}, {141, 161}});
}

bool IsNeverGlowingKind(int kind) {
  return InRanges(kind, std::initializer_list<Range>{{51, 52},
                                                     {54, 54},
                                                     {56, 60},
                                                     {68, 68},
                                                     {73, 74},
                                                     {110, 110},
                                                     {141, 141},
                                                     {143, 143},
                                                     {151, 151},
                                                     {161, 161},
                                                     {226, 226}});
}

std::string_view FallbackSection(std::string_view section) {
  if (section == "COMBOBOX") return "EDIT";
  if (section == "COMBOBTN" || section == "COLHEADER") return "BUTTON";
  return {};
}

std::string DefaultSectionForKind(int kind, std::string_view className) {
  static const std::pair<std::vector<Range>, const char*> kTable[] = {
      {{{2, 8},
        {10, 10},
        {41, 41},
        {76, 76},
        {78, 78},
        {83, 85},
        {96, 96},
        {131, 131},
        {140, 140},
        {227, 227}},
       "EDIT"},
      {{{11, 18}, {81, 82}}, "COMBOBOX"},
      {{{19, 19}}, "BAR"},
      {{{20, 20}}, "BARTITLE"},
      {{{32, 32}, {152, 152}}, "CHECKBOX"},
      {{{33, 33}}, "RADIOBUTTON"},
      {{{51, 51}, {59, 59}, {68, 68}, {73, 73}}, "PANEL"},
      {{{52, 52}, {58, 58}}, "PANEL_LOW"},
      {{{53, 54}, {60, 60}}, "TOOLBAR"},
      {{{56, 56}}, "DRAGBAR"},
      {{{57, 57}}, "TABSHEET"},
      {{{74, 74}, {226, 226}}, "GROUPBOX"},
      {{{75, 75}}, "SPLITTER"},
      {{{92, 92}, {95, 95}}, "SPEEDBUTTON"},
      {{{93, 94}}, "BUTTON"},
      {{{98, 98}}, "TOOLBUTTON"},
      {{{141, 141}, {143, 143}}, "PAGECONTROL"},
      {{{151, 151}}, "STATUSBAR"},
      {{{161, 161}}, "GAUGE"},
      {{{165, 165}}, "TRACKBAR"},
  };
  for (const auto& [ranges, name] : kTable) {
    if (InRanges(kind, ranges)) return name;
  }
  return std::string(className);
}

int BackgroundKindOf(const TsGeneralData& s) {
  int kind = 0;
  if (s.ImagePercent > 0) kind += 4;
  if (s.GradientPercent > 0 && s.Gradient && !s.Gradient->empty()) {
    switch (s.Gradient->front().Mode) {
      case 0:
        kind += 2;
        break;
      case 1:
        kind += 1;
        break;
      case 2:
        kind += 3;
        break;
      default:
        break;
    }
  }
  return kind;
}

int ColorState(const TsGeneralData& section, bool hot) { return hot && section.States > 1 ? 1 : 0; }

TColor EffectiveBackgroundColor(const TsGeneralData* section, bool hot, bool skinnedNotCustom,
                                TColor parentColor, TColor ownColor) {
  if (section == nullptr) return ColorToRGB(ownColor);
  const TsGenState& look = section->Props[static_cast<std::size_t>(ColorState(*section, hot))];
  const int t = look.Transparency;
  const TColor color = ColorToRGB(look.Color);
  if (t >= 100) return ColorToRGB(parentColor);
  if (t > 0) return graphics::MixColors(ColorToRGB(parentColor), color, t / 100.0);
  return skinnedNotCustom ? color : ColorToRGB(ownColor);
}

TColor BackgroundColorAnswer(const TsGeneralData& section, bool hasParent, TColor parentAnswer,
                             TColor parentOwnColor, TColor ownColor) {
  const int t = section.Transparency;
  const TColor c = ColorToRGB(section.Color);
  if (t <= 0) return c;
  TColor p = ColorToRGB(ownColor);
  if (hasParent) {
    p = parentAnswer == kFuchsia ? ColorToRGB(parentOwnColor) : ColorToRGB(parentAnswer);
  }
  if (t >= 100) return p;
  auto ch = [t](int pv, int cv) {
    return static_cast<std::uint8_t>(std::clamp((t * (pv - cv) + 256 * cv) >> 8, 0, 255));
  };
  return graphics::RgbColor(ch(graphics::RedOf(p), graphics::RedOf(c)),
                            ch(graphics::GreenOf(p), graphics::GreenOf(c)),
                            ch(graphics::BlueOf(p), graphics::BlueOf(c)));
}

bool BackgroundIsOwn(const TsGeneralData& s, const TsMaskData* mask, bool hasParentControl,
                     bool parentHasSimpleFlag) {
  if (mask != nullptr &&
      (LeftWidth(*mask) + RightWidth(*mask) > 20 || TopWidth(*mask) + BottomWidth(*mask) > 20)) {
    return true;
  }
  const int t = s.Transparency;
  if (t >= 1 && t <= 99) return true;
  if (t == 100) {
    return (mask != nullptr && mask->DrawMode == 10) || !hasParentControl || !parentHasSimpleFlag;
  }
  if (t == 0) return s.ImagePercent != 0 || s.GradientPercent != 0;
  return false;
}

}  // namespace sapala::skin
