#include "win/skin/app_hook.h"

#include <span>

#include "core/skin/preview_record.h"
#include "win/controls/skin_link.h"
#include "win/framework/application.h"
#include "win/skin/form_motion.h"
#include "win/skin/plug_ins.h"
#include "win/skin/skin_manager.h"

namespace sapala::win::skin {

using sapala::skin::SkinPreviewRecord;

namespace {

// The animation side of the hooked window's provider, when it has one.
AnimatedForm* AnimatedFormOf(TWinControl& window) {
  auto* form = dynamic_cast<TForm*>(&window);
  if (!form || !form->HandleAllocated() || !PlugIns().animatedForm) return nullptr;
  return PlugIns().animatedForm(*form);
}

}  // namespace

TlcAppWindowHook::TlcAppWindowHook(TWinControl& window, TsSkinManager& manager)
    : window_(window), manager_(manager), previous_(std::move(window.WindowProc)) {
  window_.WindowProc = Thunk{this};
}

TlcAppWindowHook::~TlcAppWindowHook() {
  // Someone who hooked the window after us keeps it; we only take ourselves out of the chain.
  if (const Thunk* t = window_.WindowProc.target<Thunk>(); t && t->hook == this) {
    window_.WindowProc = std::move(previous_);
  }
}

void TlcAppWindowHook::WndProc(Message& m) {
  switch (m.Msg) {
    case WM_SYSCOMMAND:
      // A minimize is remembered only while a skin is in force (its animation needs one).
      if ((m.WParam & 0xFFF0) != SC_MINIMIZE || manager_.Core().SkinData().Active) {
        manager_.Core().NoteSystemCommand(static_cast<unsigned>(m.WParam));
      }
      if (MinimizeOrRestore(m)) return;
      break;
    case kSendIconicThumbnail:
    case kSendIconicLivePreview:
      if (AnimatedForm* form = AnimatedFormOf(window_);
          form && AnswerPreviewRequest(*form, m.Msg, m.WParam, m.LParam)) {
        m.Result = 0;
        return;
      }
      break;
    case WM_THEMECHANGED:
      m.Result = 0;
      return;
    case WM_COPYDATA:
      previous_(m);
      CopyData(m);
      return;
    case kAppNotify: {
      TApplication& app = Application();
      const WPARAM wp = MAKEWPARAM(0, cmdAppNotify);
      for (std::size_t i = app.ComponentCount(); i-- > 0;) {
        if (i >= app.ComponentCount()) break;
        auto* form = dynamic_cast<TForm*>(app.Component(i));
        if (form && form->HandleAllocated()) {
          ::SendMessageW(form->WindowHandle(), SM_LUMOCMD, wp, manager_.Id());
        }
      }
      break;
    }
    case kPaintPopupItem:
    case kPaintPopupWindow:
      if (manager_.Core().SkinnedPopups()) {
        if (PlugIns().paintPopup) PlugIns().paintPopup(m.LParam, m.Msg == kPaintPopupWindow);
        m.Result = 0;
        return;
      }
      break;
    default:
      break;
  }
  previous_(m);
}

bool TlcAppWindowHook::MinimizeOrRestore(Message& m) {
  const WPARAM command = m.WParam & 0xFFF0;
  if (command != SC_MINIMIZE && command != SC_RESTORE) return false;
  AnimatedForm* form = AnimatedFormOf(window_);
  if (!form) return false;
  if (command == SC_MINIMIZE) {
    if (!manager_.Core().SkinData().Active || !manager_.Core().AnimEffects.Minimizing.Active ||
        !::IsWindowVisible(form->FormWindow()) || ::IsIconic(form->FormWindow())) {
      return false;
    }
    MinimizeWithAnimation(*form);
  } else {
    if (!WaitsForRestore(*form)) return false;
    RestoreWithAnimation(*form);
  }
  m.Result = 0;
  return true;
}

void TlcAppWindowHook::CopyData(Message& m) {
  const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(m.LParam);
  if (!cds || cds->dwData != SkinPreviewRecord::kCopyDataKind) return;
  m.Result = 0;
  if (inCopyData_ || (cds->cbData != 0 && !cds->lpData)) return;
  const auto record = SkinPreviewRecord::Parse(
      std::span(static_cast<const std::uint8_t*>(cds->lpData), cds->cbData));
  if (!record) return;
  inCopyData_ = true;
  try {
    m.Result = manager_.Core().ApplyPreview(*record);
  } catch (...) {
    inCopyData_ = false;
    throw;
  }
  inCopyData_ = false;
}

}  // namespace sapala::win::skin
