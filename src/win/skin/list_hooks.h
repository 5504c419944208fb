// The hooks of the list-like common controls: list views with their column header, tree views
// and grids. Each is an edit-like hook (TlcEditWnd): the window's edge is painted from its
// section ("EDIT" unless set) and its standard scroll bars by the scroll engine; items, selection,
// editing and the keyboard stay the control's own.
//
// TlcHeaderWnd paints a column header (SysHeader32) from "COLHEADER" (a skin without it paints
// the headers as push buttons): each item in the normal state, or hot while the pointer is over
// it, or pressed while it is held, with its text in the section's font colours and its own
// alignment; the space right of the last item in the normal state. Dragging and sizing the
// columns stay the header's own.
//
// TlcListViewWnd hooks the header of a report-view list view itself (the header is its child
// and owned by it: given back with the list view's hook), also a header the list view makes
// later when it is switched to report view.
#pragma once

#include <memory>

#include "win/skin/edit_hook.h"

namespace sapala::win {

class TlcHeaderWnd : public TlcMainWnd {
 public:
  using TlcMainWnd::TlcMainWnd;

  // The item under the pointer (−1 for none) and the item held down (−1 for none).
  int HotItem() const noexcept { return hot_item_; }
  int PressedItem() const noexcept { return pressed_item_; }
  // Rebuilds the cache now; false when there is nothing to paint with.
  bool PaintCache() override;

 protected:
  void WndProc(Message& m) override;
  std::string DefaultSection() const override { return "COLHEADER"; }

 private:
  int ItemAt(POINT p) const noexcept;
  void SetHotItem(int item) noexcept;

  int hot_item_ = -1;
  int pressed_item_ = -1;
};

class TlcListViewWnd : public TlcEditWnd {
 public:
  using TlcEditWnd::TlcEditWnd;
  ~TlcListViewWnd() override;

  // InstallScroll, then the header's hook.
  bool InstallListView();
  void Remove() noexcept override;
  TlcHeaderWnd* HeaderHook() const noexcept { return header_.get(); }

 protected:
  void WndProc(Message& m) override;

 private:
  void HookHeader();
  std::unique_ptr<TlcHeaderWnd> header_;
};

class TlcTreeViewWnd : public TlcEditWnd {
 public:
  using TlcEditWnd::TlcEditWnd;
};

// A grid: any window of a class named in the grid list. The platform's grids keep their cell
// colours; the hook skins the edge and the bars.
class TlcGridWnd : public TlcEditWnd {
 public:
  using TlcEditWnd::TlcEditWnd;
};

}  // namespace sapala::win
