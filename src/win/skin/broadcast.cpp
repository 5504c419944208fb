#include "win/skin/broadcast.h"

#include <algorithm>

#include "win/controls/skin_link.h"

namespace sapala::win::skin {

namespace {

bool AnswersSkinned(TWinControl& control) {
  if (!control.HandleAllocated()) return false;
  return ::SendMessageW(control.WindowHandle(), SM_LUMOCMD, MAKEWPARAM(0, cmdIsSkinned), 0) != 0;
}

}  // namespace

std::vector<TForm*>& ProviderForms() {
  static std::vector<TForm*> forms;
  return forms;
}

LRESULT Deliver(TControl& control, const Lumo& m) {
  if (auto* w = dynamic_cast<TWinControl*>(&control); w && w->HandleAllocated()) {
    return ::SendMessageW(w->WindowHandle(), m.msg, m.wp, m.lp);
  }
  Message message{m.msg, m.wp, m.lp, 0};
  control.Dispatch(message);
  return message.Result;
}

bool BroadcastToChildren(TWinControl& parent, const Lumo& m) {
  for (std::size_t i = 0; i < parent.Controls().size(); ++i) {
    TControl& child = *parent.Controls()[i];
    if (child.Destroying()) return false;
    auto* windowed = dynamic_cast<TWinControl*>(&child);
    if (!windowed || !windowed->HandleAllocated()) {
      Deliver(child, m);
    } else if (AnswersSkinned(*windowed)) {
      ::SendMessageW(windowed->WindowHandle(), m.msg, m.wp, m.lp);
    } else if (!BroadcastToChildren(*windowed, m)) {
      return false;
    }
  }
  return true;
}

void BroadcastToAll(TComponent& application, const std::vector<TForm*>& providerForms,
                    const std::vector<HWND>& hookedWindows, const Lumo& m) {
  for (std::size_t i = application.ComponentCount(); i-- > 0;) {
    // Forms freed by a handler meanwhile end this step.
    if (i >= application.ComponentCount()) break;
    auto* form = dynamic_cast<TForm*>(application.Component(i));
    if (!form || form->Destroying() || form->Loading() || AnswersSkinned(*form)) continue;
    Deliver(*form, m);
    BroadcastToChildren(*form, m);
  }
  // Copies: a handler may add or remove providers and hooked windows.
  for (TForm* form : std::vector<TForm*>(providerForms)) {
    // A form whose provider left meanwhile may be gone as well.
    if (std::find(providerForms.begin(), providerForms.end(), form) == providerForms.end())
      continue;
    if (form->Destroying()) continue;
    Deliver(*form, m);
    BroadcastToChildren(*form, m);
  }
  for (HWND hwnd : std::vector<HWND>(hookedWindows)) {
    if (::IsWindowVisible(hwnd)) ::SendMessageW(hwnd, m.msg, m.wp, m.lp);
  }
}

}  // namespace sapala::win::skin
