// The skin manager's effect and skinning-rule settings: animation switches and times, glowing,
// the eighteen class-name lists that make foreign control classes skinnable as a standard kind,
// the skinning rules and the menu settings. These objects only hold values; the painting and
// window code acts on them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/skin/skin_colors.h"

namespace sapala::skin {

enum class TlcAnimType { atFading, atAero };

// Base of the animation settings. `Mode` is meaningful only for the kinds that publish it
// (form show/hide, dialog show, skin changing).
struct TlcFormAnimation {
  bool Active = true;
  std::uint16_t Time = 0;  // milliseconds
  TlcAnimType Mode = TlcAnimType::atAero;
};

struct TlcFormShow : TlcFormAnimation {};
struct TlcFormHide : TlcFormAnimation {};
struct TlcDialogShow : TlcFormAnimation {};
struct TlcMinimizing : TlcFormAnimation {
  TlcMinimizing() { Time = 200; }
};
struct TlcPageChange : TlcFormAnimation {};
struct TlcSkinChanging : TlcFormAnimation {
  TlcSkinChanging() {
    Time = 100;
    Mode = TlcAnimType::atFading;
  }
};
struct TlcBlendOnMoving : TlcFormAnimation {
  TlcBlendOnMoving() {
    Active = false;
    Time = 1000;
  }
  std::uint8_t BlendValue = 170;
};

enum TlcBtnEvent : std::uint8_t {
  beMouseEnter = 1 << 0,
  beMouseLeave = 1 << 1,
  beMouseDown = 1 << 2,
  beMouseUp = 1 << 3,
};
using TlcBtnEvents = std::uint8_t;  // set of TlcBtnEvent

struct TlcBtnEffects {
  TlcBtnEvents Events = beMouseEnter | beMouseLeave | beMouseDown | beMouseUp;
};

// Owns its nine settings objects by value: they live and die with it.
struct TlcAnimEffects {
  TlcBlendOnMoving BlendOnMoving;
  TlcBtnEffects Buttons;
  TlcDialogShow DialogShow;
  TlcFormShow FormShow;
  TlcFormHide FormHide;
  TlcFormHide DialogHide;
  TlcMinimizing Minimizing;
  TlcPageChange PageChange;
  TlcSkinChanging SkinChanging;
};

// Whether the platform can show glows. The Win32 side answers from the presence of
// UpdateLayeredWindow, design mode, and WOW64 with desktop composition off.
class GlowPlatform {
 public:
  virtual ~GlowPlatform() = default;
  virtual bool LayeredWindowsAvailable() const = 0;
  virtual bool DesignMode() const = 0;
  // A 32-bit process on 64-bit Windows with the desktop composition switched off.
  virtual bool Wow64WithoutComposition() const = 0;
};

class TlcSkinEffects {
 public:
  explicit TlcSkinEffects(const GlowPlatform* platform = nullptr) : platform_(platform) {}
  void SetPlatform(const GlowPlatform* platform) { platform_ = platform; }

  // The stored value, as streamed.
  bool StoredAllowGlowing() const { return allowGlowing_; }
  void SetAllowGlowing(bool v) { allowGlowing_ = v; }
  // True only when set, layered windows are available (waived in design mode) and the process
  // is not 32-bit on 64-bit Windows with composition off. Without a platform: the stored value
  // is not enough, so False.
  bool AllowGlowing() const;

 private:
  const GlowPlatform* platform_;
  bool allowGlowing_ = true;
};

// Control kinds of the class-name lists, in list-index order.
inline constexpr int kThirdPartyCount = 18;
enum class ThirdPartyKind : int {
  Edit,
  Button,
  BitBtn,
  CheckBox,
  ComboBox,
  Grid,
  GroupBox,
  ListView,
  Panel,
  TreeView,
  wwEdit,
  GridEh,
  VirtualTree,
  PageControl,
  TabControl,
  ToolBar,
  StatusBar,
  SpeedButton
};

// Display name ("Edit", "Button", ...) and property name ("ThirdEdits", ...) of list `index`;
// empty for an index outside 0..17.
std::string_view ThirdPartyDisplayName(int index);
std::string_view ThirdPartyPropertyName(int index);
std::string_view ThirdPartyDefault(int index);
// List indices in the order the properties are published and streamed.
extern const std::array<int, kThirdPartyCount> kThirdPartyStreamOrder;

class ThirdPartyList {
 public:
  ThirdPartyList();  // every property holds its default
  // Index 0..17; an index outside reads an empty string and writes nothing.
  std::string Get(int index) const;
  void Set(int index, std::string value);
  // By property name ("ThirdButtons"); nullopt / false for an unknown name.
  std::optional<std::string> GetByName(std::string_view name) const;
  bool SetByName(std::string_view name, std::string value);

 private:
  std::array<std::string, kThirdPartyCount> values_;
};

// The manager's mirrors of the lists: case-sensitive lists of lines.
class ThirdPartyClassLists {
 public:
  // After construction and after loading: an empty property takes its default, then each list
  // takes its property's text split at line breaks (a blank " " stays one line " ").
  void LoadFrom(ThirdPartyList& props);
  // At destruction: each property takes its list's text back (lines joined by "\r\n").
  void StoreTo(ThirdPartyList& props) const;

  const std::vector<std::string>& Lines(int index) const;
  // True when `className` is a line of list `index` (exact, with case).
  bool Contains(int index, std::string_view className) const;
  // The first list (lowest index) that holds `className`; -1 when none.
  int KindOf(std::string_view className) const;

 private:
  std::array<std::vector<std::string>, kThirdPartyCount> lists_;
};

// Splits text into lines the way a string list reads its text: at "\r\n", "\n" or "\r"; a final
// line break adds no empty line.
std::vector<std::string> SplitLines(std::string_view text);

enum TlcSkinningRule : std::uint8_t {
  srStdForms = 1 << 0,
  srStdDialogs = 1 << 1,
  srThirdParty = 1 << 2,
};
using TlcSkinningRules = std::uint8_t;  // set of TlcSkinningRule
inline constexpr TlcSkinningRules kAllSkinningRules = srStdForms | srStdDialogs | srThirdParty;

// The font of the menus' extra line: a value description the Win32 side turns into a font.
// Assigning copies it, as assigning a font does.
struct TlcFontDesc {
  std::string Name = "Tahoma";
  int Height = -11;  // pixels, negative: character height as for LOGFONT
  TColor Color = graphics::clWindowText;
  bool Bold = false;
  bool Italic = false;
  bool operator==(const TlcFontDesc&) const = default;
};

struct TlcMenuSupport {
  std::string IcoLineSkin;  // becomes "ICOLINE" when empty after loading
  bool UseExtraLine = false;
  int ExtraLineWidth = 32;
  TlcFontDesc ExtraLineFont;  // owned by value
};

}  // namespace sapala::skin
