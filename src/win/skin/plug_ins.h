// Where the window-skinning pieces that are built on top of the manager plug in: the form
// provider, the dialog hook and the menu painter. Each is empty until its piece registers itself;
// an empty plug point means that kind of window stays as the system draws it.
#pragma once

#include <windows.h>

#include <functional>

namespace sapala::win {
class TForm;
}

namespace sapala::win::skin {

class AnimatedForm;

struct SkinPlugIns {
  // Gives a form of the application a provider of its own (automatic creation); true when one
  // was attached, which puts the form's window into the hook's list.
  std::function<bool(TForm& form)> attachForm;
  // Skins a top-level system dialog; true when a dialog hook was attached.
  std::function<bool(HWND dialog)> attachDialog;
  // A window of the thread is being destroyed (the window-creation hook's notice): what was
  // attached to it through attachDialog lets it go.
  std::function<void(HWND window)> windowDestroyed;
  // A popup menu window is being created while the manager skins popups.
  std::function<void(HWND menuWindow)> hookPopupMenu;
  // The popup menus of the application are hooked again (true) or given back (false).
  std::function<void(bool skinned)> setPopupsSkinned;
  // Posted by the menu painter to the main window: paint a popup menu (item in `what`) or a
  // popup window (its handle in `what`) with the skin.
  std::function<void(LPARAM what, bool isWindow)> paintPopup;
  // The animation side of a form's provider, nullptr when the form has none: the main window's
  // minimize, restore and task-bar preview requests go to it.
  std::function<AnimatedForm*(TForm& form)> animatedForm;
  // A new skin is about to be applied, or the skin is being removed: the menu painter drops
  // what it built for the old one.
  std::function<void()> menuSkinChanged;
  // Runs the platform's system menu (already enabled by the form's rules) at a screen point and
  // returns the chosen command, 0 for none; empty: TrackPopupMenu. Tests record here.
  std::function<UINT(HMENU menu, POINT screen)> trackSystemMenu;
};

SkinPlugIns& PlugIns();

}  // namespace sapala::win::skin
