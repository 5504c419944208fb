// Delivery of the engine's message SM_LUMOCMD from a skin manager to every window of the
// process, in a fixed order:
//   1. the application's forms, last created first, that are not being destroyed or loaded and
//      do not answer cmdIsSkinned with 1 (a form with a provider gets it in step 2): the form's
//      window, then its children;
//   2. the forms that have a form provider: the window, then its children;
//   3. the visible windows the window-creation hook skinned.
// Children are walked in order, the child count read again at every step (a handler may add
// or remove controls): a child being destroyed ends the whole walk; a windowless child (or one
// whose window is not made yet) gets the message handed to its object directly; a windowed
// child that answers cmdIsSkinned gets the message sent to its window (and passes it on
// itself); any other windowed child is skipped but the walk goes on into its own children.
#pragma once

#include <windows.h>

#include <vector>

#include "win/framework/application.h"
#include "win/framework/controls.h"
#include "win/framework/forms.h"

namespace sapala::win::skin {

struct Lumo {
  UINT msg;
  WPARAM wp;
  LPARAM lp;
};

// Sends (or, without a window, hands) `m` to one control; the answer.
LRESULT Deliver(TControl& control, const Lumo& m);
// The child walk below `parent`; false when a child being destroyed ended it.
bool BroadcastToChildren(TWinControl& parent, const Lumo& m);
// The whole broadcast.
void BroadcastToAll(TComponent& application, const std::vector<TForm*>& providerForms,
                    const std::vector<HWND>& hookedWindows, const Lumo& m);

// The forms that have a form provider (providers add and remove themselves).
std::vector<TForm*>& ProviderForms();

}  // namespace sapala::win::skin
