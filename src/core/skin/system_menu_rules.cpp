#include "core/skin/system_menu_rules.h"

#include <array>

namespace sapala::skin {

bool HasLargeCaption(TFormBorderStyle style) {
  return style == TFormBorderStyle::bsSingle || style == TFormBorderStyle::bsSizeable;
}

bool IsToolWindow(TFormBorderStyle style) {
  return style == TFormBorderStyle::bsToolWindow || style == TFormBorderStyle::bsSizeToolWin;
}

namespace {
bool Minimized(const FormRulesInput& f) { return f.WindowState == TWindowState::wsMinimized; }
bool Maximized(const FormRulesInput& f) { return f.WindowState == TWindowState::wsMaximized; }
bool Has(const FormRulesInput& f, TBorderIcon icon) { return (f.BorderIcons & icon) != 0; }
}  // namespace

bool VisibleClose(const FormRulesInput& f) { return f.HasSystemMenu; }

bool VisibleMax(const FormRulesInput& f) {
  return VisibleClose(f) &&
         (Minimized(f) || f.MdiChild || (HasLargeCaption(f.BorderStyle) && Has(f, biMaximize)));
}

bool VisibleMin(const FormRulesInput& f) {
  return VisibleClose(f) &&
         (Minimized(f) || f.MdiChild || (HasLargeCaption(f.BorderStyle) && Has(f, biMinimize)));
}

bool VisibleHelp(const FormRulesInput& f) { return Has(f, biHelp); }

bool EnabledMax(const FormRulesInput& f) {
  if (f.MdiChild) return Has(f, biMaximize);
  if (Maximized(f) || !HasLargeCaption(f.BorderStyle)) return false;
  return Has(f, biMaximize);
}

bool EnabledMin(const FormRulesInput& f) { return Has(f, biMinimize) && !Minimized(f); }

bool EnabledRestore(const FormRulesInput& f) {
  return (Has(f, biMaximize) && f.WindowState != TWindowState::wsNormal) || Minimized(f);
}

namespace {

struct StockRow {
  std::uint32_t Tag;
  const wchar_t* Text;
};
// Used when the platform menu has no item for the command.
constexpr std::array<StockRow, 6> kStock = {{{kScRestore, L"&Restore"},
                                             {kScMove, L"&Move"},
                                             {kScSize, L"&Size"},
                                             {kScMinimize, L"Mi&nimize"},
                                             {kScMaximize, L"Ma&ximize"},
                                             {kScClose, L"&Close\tAlt+F4"}}};

void SplitAtTab(const std::wstring& text, SystemMenuRow& row) {
  const auto tab = text.find(L'\t');
  row.Caption = text.substr(0, tab);
  row.ShortCut = tab == std::wstring::npos ? std::wstring() : text.substr(tab + 1);
}

SystemMenuRow Stock(std::uint32_t tag, const std::vector<PlatformMenuItem>& platform) {
  SystemMenuRow row;
  row.Tag = tag;
  for (const PlatformMenuItem& item : platform) {
    if (item.Id == tag && !item.Separator && !item.Text.empty()) {
      SplitAtTab(item.Text, row);
      return row;
    }
  }
  for (const StockRow& s : kStock) {
    if (s.Tag == tag) SplitAtTab(s.Text, row);
  }
  return row;
}

}  // namespace

std::vector<SystemMenuRow> BuildSystemMenuRows(const FormRulesInput& f,
                                               const std::vector<PlatformMenuItem>& platform) {
  std::vector<SystemMenuRow> rows;
  const bool large = HasLargeCaption(f.BorderStyle);

  SystemMenuRow restore = Stock(kScRestore, platform);
  restore.Visible = (large && (Has(f, biMaximize) || Has(f, biMinimize))) || f.MdiChild;
  restore.Enabled = EnabledRestore(f);
  rows.push_back(restore);

  SystemMenuRow move = Stock(kScMove, platform);
  move.Enabled = !Maximized(f);
  rows.push_back(move);

  SystemMenuRow size = Stock(kScSize, platform);
  size.Visible =
      (f.BorderStyle != TFormBorderStyle::bsNone && f.BorderStyle != TFormBorderStyle::bsDialog &&
       f.BorderStyle != TFormBorderStyle::bsToolWindow) ||
      f.MdiChild;
  // A maximized or minimized window cannot be sized by the keyboard loop either.
  size.Enabled =
      f.BorderStyle != TFormBorderStyle::bsSingle && f.WindowState == TWindowState::wsNormal;
  rows.push_back(size);

  SystemMenuRow minimize = Stock(kScMinimize, platform);
  minimize.Visible = VisibleMin(f);
  minimize.Enabled = EnabledMin(f);
  rows.push_back(minimize);

  SystemMenuRow maximize = Stock(kScMaximize, platform);
  maximize.Visible = VisibleMax(f);
  maximize.Enabled = EnabledMax(f);
  rows.push_back(maximize);

  for (const PlatformMenuItem& item : platform) {
    if (item.Id == 0 || item.Id >= kScSize || item.Separator || item.HasSubmenu ||
        item.OwnerDrawn || item.Text.empty()) {
      continue;
    }
    SystemMenuRow row;
    row.Tag = item.Id;
    row.Copied = true;
    SplitAtTab(item.Text, row);
    rows.push_back(row);
  }

  SystemMenuRow close = Stock(kScClose, platform);
  close.Visible = VisibleClose(f);
  rows.push_back(close);
  return rows;
}

}  // namespace sapala::skin
