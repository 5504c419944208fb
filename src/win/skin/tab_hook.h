// TlcTabControlWnd: the hook of a standard tab control. The body is painted with the hook's
// section ("PAGECONTROL" unless set), each tab with the skin's tab section for the side the tabs
// stand on ("TABTOP", "TABBOTTOM", "TABLEFT", "TABRIGHT"; state 2 selected, 1 under the pointer,
// 0 else), with its image and caption; the selected tab stands out and joins the body. Without a
// tab section the control's own tabs stay under the skinned body. The scroll arrows a single-line
// control shows when its tabs do not fit (an up-down child) get a spin hook with "UPDOWNBTN".
//
// TlcPageControlWnd: the same for the platform's page controls: the body section follows the
// side ("PAGECONTROL", "PAGECONTROLBOTTOM", "PAGECONTROLLEFT", "PAGECONTROLRIGHT", the first when
// the skin lacks the others), and its pages (its other windowed children) get page hooks that
// show the body through.
//
// Selection, keys and clicks stay with the control. Both hooks own the hooks they give to the
// control's children and remove them with themselves.
#pragma once

#include <memory>
#include <vector>

#include "core/skin/control_layout.h"
#include "win/skin/painted_hook.h"

namespace sapala::win {

class TlcTabControlWnd : public TlcPaintedWnd {
 public:
  using TlcPaintedWnd::TlcPaintedWnd;
  ~TlcTabControlWnd() override;

  // The tab under the pointer, -1 for none.
  int HotTab() const noexcept { return hot_; }
  // What the last paint drew: the body and the painted rectangle of each visible tab
  // (client coordinates; empty for a tab out of sight or when the tabs stay the system's).
  RECT BodyRect() const noexcept { return body_; }
  const std::vector<RECT>& TabRects() const noexcept { return tabs_; }
  int TabSection() const noexcept;
  // The hook of the scroll arrows, nullptr while the control shows none.
  TlcMainWnd* ArrowsHook() const noexcept { return arrows_.get(); }

 protected:
  std::string DefaultSection() const override { return "PAGECONTROL"; }
  void WndProc(Message& m) override;
  void PaintPicture(Canvas& c) override;
  bool SystemUnder() const noexcept override { return TabSection() < 0; }
  bool Changes(const Message& m) override;
  // The section the body is painted with for tabs on `side`.
  virtual int BodySection(sapala::skin::TabSide side) const noexcept;
  // Hooks the control's windowed children that need one (the arrows).
  virtual void HookChildren();
  // Gives back what HookChildren took.
  virtual void RemoveChildren() noexcept;

 private:
  sapala::skin::TabSide Side() const noexcept;
  int TabAt(POINT p) const noexcept;

  std::unique_ptr<TlcMainWnd> arrows_;
  int hot_ = -1;
  RECT body_{};
  std::vector<RECT> tabs_;
};

class TlcPageControlWnd : public TlcTabControlWnd {
 public:
  using TlcTabControlWnd::TlcTabControlWnd;
  ~TlcPageControlWnd() override;

  const std::vector<std::unique_ptr<TlcMainWnd>>& PageHooks() const noexcept { return pages_; }

 protected:
  int BodySection(sapala::skin::TabSide side) const noexcept override;
  void HookChildren() override;
  void RemoveChildren() noexcept override;

 private:
  std::vector<std::unique_ptr<TlcMainWnd>> pages_;
};

}  // namespace sapala::win
