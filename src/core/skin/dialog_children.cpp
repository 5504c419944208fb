#include "core/skin/dialog_children.h"

#include <cctype>
#include <string>

namespace sapala::skin {

namespace {

constexpr std::uint32_t kStaticEdge = 0x00020000;  // WS_EX_STATICEDGE

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// Owner-drawn statics, the grey and white rectangles and simple text statics keep their own
// painting. This is decided before the icon test: SS_SIMPLE (11) and SS_OWNERDRAW (13) share the
// icon's low bits, and an icon hook on a simple static would paint its text away.
DialogChildHook StaticHook(std::uint32_t style, std::uint32_t exStyle) {
  const std::uint32_t type = style & 0x1F;
  if ((style & 0xD) == 0xD || type == 5 || type == 6 || type == 11) return {};
  if ((style & 3) == 3 || (style & 0xE) == 0xE) {
    if (exStyle & kStaticEdge) return {DialogHookKind::edge, "EDIT"};
    return {DialogHookKind::icon, "CHECKBOX"};
  }
  return {DialogHookKind::staticText, "CHECKBOX"};
}

DialogChildHook ButtonHook(std::uint32_t style) {
  if ((style & 7) == 7) return {DialogHookKind::groupBox, "GROUPBOX"};
  if ((style & 3) == 3 || (style & 2) || (style & 5) == 5 || (style & 9) == 9 || (style & 4))
    return {DialogHookKind::checkBox, "CHECKBOX"};
  return {DialogHookKind::button, "BUTTON"};
}

}  // namespace

DialogChildHook ClassifyDialogChild(std::string_view cls, std::uint32_t style,
                                    std::uint32_t exStyle, bool visible) {
  using K = DialogHookKind;
  if (SameText(cls, "static")) return StaticHook(style, exStyle);
  if (SameText(cls, "button")) return ButtonHook(style);
  if (SameText(cls, "#32770")) return {K::transPanel, "CHECKBOX"};
  if (SameText(cls, "tpanel")) return {K::panel, "CHECKBOX"};
  if (SameText(cls, "tsilentpaintpanel")) return {K::silentPanel, "GROUPBOX"};
  if (SameText(cls, "edit")) return visible ? DialogChildHook{K::edit, "EDIT"} : DialogChildHook{};
  if (SameText(cls, "combobox")) return {K::comboBox, "COMBOBOX"};
  if (SameText(cls, "combolbox")) return {K::edit, "COMBOBOX"};
  if (SameText(cls, "comboboxex32")) return {K::comboBox, "COMBOBOX"};
  if (SameText(cls, "scrollbar")) {
    return (style & 0x10) ? DialogChildHook{K::sizer, "CHECKBOX"} : DialogChildHook{};
  }
  if (SameText(cls, "systabcontrol32")) {
    return (style & 0x2000) ? DialogChildHook{} : DialogChildHook{K::tabControl, "PAGECONTROL"};
  }
  if (SameText(cls, "syslistview32")) return {K::listView, "EDIT"};
  if (SameText(cls, "msctls_updown32")) return {K::spin, "SPEEDBUTTON_SMALL"};
  if (SameText(cls, "msctls_trackbar32")) return {K::trackBar, "TRACKBAR"};
  if (SameText(cls, "listbox")) return {K::edit, "EDIT"};
  if (SameText(cls, "link window") || SameText(cls, "syslink")) return {K::link, "CHECKBOX"};
  if (SameText(cls, "toolbarwindow32")) {
    return {K::toolBar, (style & 0x200) ? std::string_view("BAR") : std::string_view("CHECKBOX")};
  }
  if (SameText(cls, "systreeview32")) return {K::treeView, "EDIT"};
  if (SameText(cls, "shbrowseforfolder")) return {K::transPanel, "CHECKBOX"};
  return {};
}

bool SkinsNewDialog(bool rulesCoverDialogs, int visibleSkinnedDialogs, bool hasToolBarDescendant) {
  if (!rulesCoverDialogs) return false;
  return visibleSkinnedDialogs <= 1 || hasToolBarDescendant;
}

}  // namespace sapala::skin
