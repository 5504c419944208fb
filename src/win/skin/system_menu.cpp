// The skinned system menu; see system_menu.h.
#include "win/skin/system_menu.h"

#include <algorithm>

#include "win/framework/forms.h"
#include "win/framework/text.h"
#include "win/skin/plug_ins.h"
#include "win/skin/skin_manager.h"

namespace sapala::win::skin {

namespace core = sapala::skin;

TsSystemMenu::TsSystemMenu(TComponent* owner) : TsCustomSysMenu(owner) {
  SetName("SysMenu");
  SetClassName("TsSystemMenu");
}

std::vector<core::PlatformMenuItem> ReadPlatformSystemMenu(HWND window) {
  std::vector<core::PlatformMenuItem> out;
  HMENU menu = ::GetSystemMenu(window, FALSE);  // owned by the window
  if (menu == nullptr) return out;
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count && i < 256; ++i) {
    wchar_t text[256]{};
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    mi.dwTypeData = text;
    mi.cch = 255;
    if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mi)) continue;
    core::PlatformMenuItem p;
    p.Id = mi.wID;
    p.Separator = (mi.fType & MFT_SEPARATOR) != 0;
    p.HasSubmenu = mi.hSubMenu != nullptr;
    p.OwnerDrawn = (mi.fType & (MFT_OWNERDRAW | MFT_BITMAP)) != 0;
    if (!p.Separator && !p.OwnerDrawn) p.Text = text;
    out.push_back(std::move(p));
  }
  return out;
}

void TsSystemMenu::Refresh(HWND window, const core::FormRulesInput& rules, TsSkinManager* manager) {
  window_ = window;
  rules_ = rules;
  Items().Clear();
  if (manager != nullptr) {
    TMenuItem& chooser = Items().Add(L"Skins");
    chooser.Name = "SkinSelectItem";
    std::vector<std::string> names;
    manager->Core().CollectSkinNames(names, 0);
    // A skin installed both as a folder and as a packed file is listed once: both entries
    // select the same skin (the packed file is the one loaded). The list is sorted without
    // regard to case, so the two stand side by side.
    names.erase(std::unique(names.begin(), names.end(),
                            [](const std::string& a, const std::string& b) {
                              return ::lstrcmpiA(a.c_str(), b.c_str()) == 0;
                            }),
                names.end());
    for (std::size_t i = 0; i < names.size(); ++i) {
      TMenuItem& skin = chooser.Add(Widen(names[i]));
      skin.Name = "SkinSelectItem" + std::to_string(i);
      skin.RadioItem = true;
      skin.Checked = names[i] == manager->Core().SkinName();
      if (i > 0 && i % 20 == 0) skin.Break = TMenuBreak::mbBreak;
      skin.OnClick = [manager](TMenuItem& it) {
        std::wstring name = it.Caption;
        std::erase(name, L'&');
        manager->Core().SetSkinName(Narrow(name));
      };
    }
    Items().Add(L"-");
  }
  for (const core::SystemMenuRow& row :
       core::BuildSystemMenuRows(rules, ReadPlatformSystemMenu(window))) {
    TMenuItem& item = Items().Add(row.Caption);
    item.ShortCut = row.ShortCut;
    item.Tag = static_cast<INT_PTR>(row.Tag);
    item.Visible = row.Visible;
    item.Enabled = row.Enabled;
    item.OnClick = [this](TMenuItem& it) {
      if (::IsWindow(window_))
        ::PostMessageW(window_, WM_SYSCOMMAND, static_cast<WPARAM>(it.Tag), 0);
    };
  }
}

TMenuItem* TsSystemMenu::ItemByTag(UINT command) {
  for (int i = 0; i < Items().Count(); ++i) {
    if (static_cast<UINT>(Items().Items(i).Tag) == command) return &Items().Items(i);
  }
  return nullptr;
}

bool OpenSkinnedSystemMenu(TForm& form, HWND window, POINT screen,
                           const core::FormRulesInput& rules, bool makeSkinMenu) {
  TsSkinManager* manager = TsSkinManager::Default();
  if (manager == nullptr || !manager->Core().SkinnedPopups()) return false;
  auto* menu = form.Find<TsSystemMenu>("SysMenu");
  if (menu == nullptr) menu = &form.Create<TsSystemMenu>();
  menu->Refresh(window, rules, makeSkinMenu ? manager : nullptr);
  // The new items get the menu painter's handlers.
  if (PlugIns().setPopupsSkinned) PlugIns().setPopupsSkinned(true);
  menu->Popup(screen.x, screen.y);
  return true;
}

}  // namespace sapala::win::skin
