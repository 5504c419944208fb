// The panel, transparent panel and page hooks.
#include "win/skin/panel_hooks.h"

#include "win/controls/skin_link.h"
#include "win/controls/slabel.h"
#include "win/framework/label.h"
#include "win/skin/skin_manager.h"

namespace sapala::win {

namespace {

// The windowless controls lying on `owner` (labels and the like), as the control itself would
// paint them: its own painting is replaced by the hook's.
void PaintWindowless(TWinControl* owner, HDC dc) {
  if (!owner) return;
  ::GdiFlush();
  for (TControl* child : owner->Controls()) {
    if (dynamic_cast<TWinControl*>(child) || !child->Visible()) continue;
    const RECT bounds = child->BoundsRect();
    SavedDC saved(dc);
    ::IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
    ::SetViewportOrgEx(dc, bounds.left, bounds.top, nullptr);
    TCanvas canvas(dc);
    canvas.Font() = child->Font();
    child->PaintTo(canvas);
  }
}

}  // namespace

std::string TlcPanelWnd::DefaultSection() const {
  const LONG_PTR ex = ::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
  return (ex & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)) ? "PANEL_LOW" : "PANEL";
}

void TlcPanelWnd::SkinChanged() {
  TlcPaintedWnd::SkinChanged();
  labels_adopted_ = false;
}

void TlcPanelWnd::AdoptLabels() {
  // Plain labels on the panel show the skin through, in its label colour.
  TsSkinManager* mgr = Manager();
  if (labels_adopted_ || !control_ || !mgr) return;
  labels_adopted_ = true;
  for (TControl* child : control_->Controls()) {
    auto* label = dynamic_cast<TCustomLabel*>(child);
    if (!label || dynamic_cast<TsCustomLabel*>(label)) continue;
    label->SetTransparent(true);
    label->Font().SetColor(mgr->Core().LabelFontColor());
  }
}

void TlcPanelWnd::PaintPicture(Canvas& c) {
  AdoptLabels();
  FillBehind(c, c.Client);
  PaintPart(c, section_index_, c.Client, 0);
  if (!silent_) {
    PaintText(c, section_index_, text_, c.Client.inflate(-2, -2),
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, 0);
  }
  PaintWindowless(control_, c.DC);
}

void TlcTransPanelWnd::PaintPicture(Canvas& c) {
  FillBehind(c, c.Client);
  PaintWindowless(control_, c.DC);
}

}  // namespace sapala::win
