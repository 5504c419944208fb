// Effect and skinning-rule settings; see effects.h.
#include "core/skin/effects.h"

#include <algorithm>

namespace sapala::skin {
namespace {

struct ThirdPartyInfo {
  std::string_view display;
  std::string_view property;
  std::string_view fallback;
};

constexpr std::array<ThirdPartyInfo, kThirdPartyCount> kInfo = {{
    {"Edit", "ThirdEdits", " "},
    {"Button", "ThirdButtons", "TButton"},
    {"BitBtn", "ThirdBitBtns", " "},
    {"CheckBox", "ThirdCheckBoxes", " "},
    {"ComboBox", "ThirdComboBoxes", " "},
    {"Grid", "ThirdGrids", " "},
    {"GroupBox", "ThirdGroupBoxes", " "},
    {"ListView", "ThirdListViews", " "},
    {"Panel", "ThirdPanels", " "},
    {"TreeView", "ThirdTreeViews", " "},
    {"wwEdit", "ThirdWWEdits", " "},
    {"GridEh", "ThirdGridEh", " "},
    {"VirtualTree", "ThirdVirtualTrees", " "},
    {"PageControl", "ThirdPageControl", " "},
    {"TabControl", "ThirdTabControl", " "},
    {"ToolBar", "ThirdToolBar", " "},
    {"StatusBar", "ThirdStatusBar", " "},
    {"SpeedButton", "ThirdSpeedButton", " "},
}};

bool ValidIndex(int i) { return i >= 0 && i < kThirdPartyCount; }

}  // namespace

const std::array<int, kThirdPartyCount> kThirdPartyStreamOrder = {
    0, 1, 2, 3, 6, 7, 8, 5, 9, 4, 10, 12, 11, 13, 14, 15, 16, 17};

bool TlcSkinEffects::AllowGlowing() const {
  if (!allowGlowing_ || platform_ == nullptr) return false;
  if (!platform_->DesignMode() && !platform_->LayeredWindowsAvailable()) return false;
  return !platform_->Wow64WithoutComposition();
}

std::string_view ThirdPartyDisplayName(int index) {
  return ValidIndex(index) ? kInfo[static_cast<std::size_t>(index)].display : std::string_view();
}
std::string_view ThirdPartyPropertyName(int index) {
  return ValidIndex(index) ? kInfo[static_cast<std::size_t>(index)].property : std::string_view();
}
std::string_view ThirdPartyDefault(int index) {
  return ValidIndex(index) ? kInfo[static_cast<std::size_t>(index)].fallback : std::string_view();
}

ThirdPartyList::ThirdPartyList() {
  for (int i = 0; i < kThirdPartyCount; ++i)
    values_[static_cast<std::size_t>(i)] = ThirdPartyDefault(i);
}

std::string ThirdPartyList::Get(int index) const {
  return ValidIndex(index) ? values_[static_cast<std::size_t>(index)] : std::string();
}

void ThirdPartyList::Set(int index, std::string value) {
  if (ValidIndex(index)) values_[static_cast<std::size_t>(index)] = std::move(value);
}

std::optional<std::string> ThirdPartyList::GetByName(std::string_view name) const {
  for (int i = 0; i < kThirdPartyCount; ++i) {
    if (kInfo[static_cast<std::size_t>(i)].property == name) return Get(i);
  }
  return std::nullopt;
}

bool ThirdPartyList::SetByName(std::string_view name, std::string value) {
  for (int i = 0; i < kThirdPartyCount; ++i) {
    if (kInfo[static_cast<std::size_t>(i)].property == name) {
      Set(i, std::move(value));
      return true;
    }
  }
  return false;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) {
      out.emplace_back(text.substr(pos));
      break;
    }
    out.emplace_back(text.substr(pos, end - pos));
    pos = end + 1;
    if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
  }
  return out;
}

void ThirdPartyClassLists::LoadFrom(ThirdPartyList& props) {
  for (int i = 0; i < kThirdPartyCount; ++i) {
    if (props.Get(i).empty()) props.Set(i, std::string(ThirdPartyDefault(i)));
    lists_[static_cast<std::size_t>(i)] = SplitLines(props.Get(i));
  }
}

void ThirdPartyClassLists::StoreTo(ThirdPartyList& props) const {
  for (int i = 0; i < kThirdPartyCount; ++i) {
    std::string text;
    for (const std::string& line : lists_[static_cast<std::size_t>(i)]) {
      text += line;
      text += "\r\n";
    }
    props.Set(i, std::move(text));
  }
}

const std::vector<std::string>& ThirdPartyClassLists::Lines(int index) const {
  static const std::vector<std::string> kEmpty;
  return ValidIndex(index) ? lists_[static_cast<std::size_t>(index)] : kEmpty;
}

bool ThirdPartyClassLists::Contains(int index, std::string_view className) const {
  const auto& lines = Lines(index);
  return std::find(lines.begin(), lines.end(), className) != lines.end();
}

int ThirdPartyClassLists::KindOf(std::string_view className) const {
  for (int i = 0; i < kThirdPartyCount; ++i) {
    if (Contains(i, className)) return i;
  }
  return -1;
}

}  // namespace sapala::skin
