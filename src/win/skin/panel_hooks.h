// The hooks of windows that only hold other controls:
// - TlcPanelWnd: a panel (the platform's panels, and those of dialogs): its section ("PANEL",
//   or "PANEL_LOW" for a panel with a sunken edge, unless set) over the whole client area, its
//   caption centred in the section's font colours, then the windowless controls lying on it (a
//   panel of a control object), whose plain labels are made transparent in the skin's label
//   colour so that the section shows through them. A silent panel draws no caption (its window
//   text is left as it is).
// - TlcTransPanelWnd: a window that shows what its parent shows (a dialog nested in a dialog,
//   the folder browser's pane), so that the skinned dialog's background runs through it.
// - TlcPageWnd: one page of a page control, which shows the page control's body.
// All three answer their children's background requests with their picture, so hooked
// children paint over the skin.
#pragma once

#include "win/skin/painted_hook.h"

namespace sapala::win {

class TlcPanelWnd : public TlcPaintedWnd {
 public:
  // `silent`: the panel's caption is not drawn.
  TlcPanelWnd(HWND hwnd, TsSkinManager* manager, std::string section, bool silent = false)
      : TlcPaintedWnd(hwnd, manager, std::move(section)), silent_(silent) {}

 protected:
  std::string DefaultSection() const override;
  void PaintPicture(Canvas& c) override;
  void SkinChanged() override;

 private:
  void AdoptLabels();

  bool silent_;
  bool labels_adopted_ = false;
};

class TlcTransPanelWnd : public TlcPaintedWnd {
 public:
  using TlcPaintedWnd::TlcPaintedWnd;

 protected:
  std::string DefaultSection() const override { return "CHECKBOX"; }
  // Shows the parent: it needs no section of its own.
  bool HasLook() const noexcept override { return Tables() != nullptr; }
  void PaintPicture(Canvas& c) override;
};

class TlcPageWnd : public TlcTransPanelWnd {
 public:
  using TlcTransPanelWnd::TlcTransPanelWnd;

 protected:
  std::string DefaultSection() const override { return "PAGECONTROL"; }
};

}  // namespace sapala::win
