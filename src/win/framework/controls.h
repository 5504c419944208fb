// Controls: TControl (a rectangle on a parent, windowless unless a subclass says otherwise),
// TWinControl (owns an HWND; its WindowProc can be replaced and restored by skinning objects),
// TGraphicControl (windowless, painted by its parent in creation order), TCustomControl
// (a window of our own class that paints itself on a canvas).
//
// Windows are created lazily: properties are kept in fields and applied when the handle is
// made (CreateHandle) or at once when it exists.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "win/framework/component.h"
#include "win/framework/events.h"
#include "win/framework/graphics.h"
#include "win/framework/handles.h"

namespace sapala::win {

class TWinControl;
class TForm;

// Mouse pointer shapes by their classic numbers (crDefault: whatever the window class shows).
using TCursor = int;
constexpr TCursor crDefault = 0, crArrow = -2, crIBeam = -4, crHandPoint = -21;

// One window message on its way through a control; Result is what the window procedure returns.
// Defaulted tells whether the default procedure has run for it (DefaultHandler), and
// DefaultResult what it answered: a handler that throws leaves that answer.
struct Message {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result = 0;
  bool Defaulted = false;
  LRESULT DefaultResult = 0;

  // Typed views of the parameters. Mouse messages: the pointer in client pixels (signed, so a
  // captured pointer left of or above the window is negative). Key messages: the virtual key.
  POINT MousePoint() const noexcept {
    return {static_cast<short>(LOWORD(LParam)), static_cast<short>(HIWORD(LParam))};
  }
  WORD VirtualKey() const noexcept { return static_cast<WORD>(WParam); }
};

class TControl;

// Paints a windowless control in the control's place (a skin): while one is set, the control's
// own Paint is not called. The painter belongs to whoever set it, who takes it off again.
class TControlPainter {
 public:
  virtual void PaintControl(TControl& control, TCanvas& canvas) noexcept = 0;

 protected:
  ~TControlPainter() = default;
};

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const noexcept { return parent_; }
  void SetParent(TWinControl* parent);
  // The form this control lies on (itself for a form); nullptr while it has no parent.
  TForm* ParentForm() const noexcept;

  int Left() const noexcept { return left_; }
  int Top() const noexcept { return top_; }
  int Width() const noexcept { return width_; }
  int Height() const noexcept { return height_; }
  RECT BoundsRect() const noexcept { return {left_, top_, left_ + width_, top_ + height_}; }
  virtual RECT ClientRect() const noexcept { return {0, 0, width_, height_}; }
  virtual void SetBounds(int left, int top, int width, int height);

  bool Visible() const noexcept { return visible_; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible and every parent visible.
  bool Showing() const noexcept;
  bool Enabled() const noexcept { return enabled_; }
  virtual void SetEnabled(bool enabled);

  const std::wstring& Caption() const noexcept { return caption_; }
  virtual void SetCaption(std::wstring caption);
  TColor Color() const noexcept { return color_; }
  virtual void SetColor(TColor color);
  TFont& Font() noexcept { return font_; }
  const TFont& Font() const noexcept { return font_; }
  bool ParentFont() const noexcept { return parent_font_; }

  // Marks the control's area for repainting at the next paint message.
  virtual void Invalidate();
  // Repaints now.
  virtual void Repaint();

  TNotifyEvent OnClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  // Mouse input, in client coordinates of this control. Windowed controls get these from their
  // own messages; windowless ones from their parent.
  virtual void MouseDown(MouseButton button, unsigned shift, int x, int y);
  virtual void MouseMove(unsigned shift, int x, int y);
  virtual void MouseUp(MouseButton button, unsigned shift, int x, int y);
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void Click();
  // Alt+letter (or a plain letter for controls that allow it): true when this control took it.
  virtual bool DialogChar(wchar_t ch, unsigned shift);
  // Enter or Escape offered to every control of the form (default and cancel buttons).
  virtual bool DialogKey(WORD key, unsigned shift);
  // Painting of windowless controls: the parent hands its canvas, origin at this control.
  virtual void Paint(TCanvas& canvas);
  // What the parent calls to paint a windowless control: the painter when one is set, else
  // Paint.
  void PaintTo(TCanvas& canvas);
  TControlPainter* Painter() const noexcept { return painter_; }
  void SetPainter(TControlPainter* painter) noexcept { painter_ = painter; }
  // A message handed to the control object directly, without a window in between: windowless
  // controls get the skin engine's notifications this way; windowed controls run it through
  // their WindowProc. The default ignores it (Result stays 0).
  virtual void Dispatch(Message& m);

  bool ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) override;

  bool MouseInControl() const noexcept { return mouse_in_; }
  // The pointer shown over the control; windowless controls get it through their parent.
  TCursor Cursor() const noexcept { return cursor_; }
  void SetCursor(TCursor cursor) noexcept { cursor_ = cursor; }

 protected:
  virtual void FontChanged();
  virtual void VisibleChanged();
  virtual void BoundsChanged();
  virtual void EnabledChanged() {}
  virtual void CaptionChanged() { Invalidate(); }
  // Whether a character is this control's accelerator ("&Cari" and 'c' or 'C').
  bool IsAccel(wchar_t ch) const;

  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  bool parent_font_ = true;
  bool parent_color_ = false;
  bool mouse_in_ = false;
  TCursor cursor_ = crDefault;
  TControlPainter* painter_ = nullptr;
  std::wstring caption_;
  TColor color_ = graphics::clBtnFace;
  TFont font_;
  friend class TWinControl;
};

class TGraphicControl : public TControl {
 public:
  using TControl::TControl;
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  HWND Handle();  // creates the window when there is none
  HWND WindowHandle() const noexcept { return hwnd_; }
  bool HandleAllocated() const noexcept { return hwnd_ != nullptr; }
  void CreateHandle();
  void DestroyHandle() noexcept;

  // The control's window procedure. Skinning objects may replace it and must put the old one
  // back; by default it is WndProc.
  std::function<void(Message&)> WindowProc;
  virtual void WndProc(Message& m);
  void Dispatch(Message& m) override { WindowProc(m); }
  // What the window does when we do not handle a message: the standard class's procedure for
  // subclassed standard controls, DefWindowProc for our own classes.
  void DefaultHandler(Message& m);

  const std::vector<TControl*>& Controls() const noexcept { return controls_; }
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);

  int TabOrder() const noexcept { return tab_order_; }
  void SetTabOrder(int order);
  bool TabStop() const noexcept { return tab_stop_; }
  void SetTabStop(bool stop) { tab_stop_ = stop; }
  bool CanFocus() const noexcept;
  bool Focused() const noexcept;
  virtual void SetFocus();
  // The windowed children that take part in tab order, sorted by TabOrder, depth first.
  void TabList(std::vector<TWinControl*>& list) const;

  // Whether this control handles a key itself rather than offering it to the form (Tab, Enter,
  // Escape, arrows), by the window's own answer to WM_GETDLGCODE. The key message itself is
  // never handed to the window (see WndProc).
  bool WantsKey(WORD key);

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  void Invalidate() override;
  void Repaint() override;
  void SetBounds(int left, int top, int width, int height) override;
  RECT ClientRect() const noexcept override;
  bool ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) override;

  // Mouse capture of windowless children: the one that got the button down gets the move and
  // up messages until release.
  TControl* MouseCaptureControl() const noexcept { return captured_; }

  // Notifications the parent window receives for this child, handed back to it:
  // WM_CTLCOLOR* (the brush to paint the background with, nullptr for the default) and
  // WM_COMMAND (true when handled).
  virtual HBRUSH CtlColor(HDC) { return nullptr; }
  virtual bool ReflectCommand(WORD) { return false; }

  // The control whose window this is, or nullptr.
  static TWinControl* FromHandle(HWND hwnd) noexcept;

 protected:
  struct CreateParams {
    std::wstring window_class;    // a standard class ("EDIT", "RICHEDIT20W") or our own
    bool standard_class = false;  // created, then subclassed
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD ex_style = 0;
    HWND parent = nullptr;
    int x = 0, y = 0, width = 0, height = 0;
  };
  virtual void CreateParams(CreateParams& params);
  // After the window exists (and its children do): apply what needs a handle.
  virtual void CreateWnd() {}

  virtual void KeyDown(WORD& key, unsigned shift);
  virtual void KeyUp(WORD& key, unsigned shift);
  virtual void KeyPress(wchar_t& key);
  virtual void DoEnter();
  virtual void DoExit();
  // Paints the client area of our own window classes: background, Paint, windowless children.
  virtual void PaintWindow(HDC dc, const RECT& area);
  virtual void PaintBackground(TCanvas& canvas, const RECT& area);
  void PaintControls(HDC dc, const RECT& area);

  void FontChanged() override;
  void VisibleChanged() override;
  void CaptionChanged() override;
  void EnabledChanged() override;

 private:
  static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  void HandleMouseForChildren(Message& m, bool& handled);
  // The topmost visible windowless child at (x, y); disabled ones only with allow_disabled.
  TControl* GraphicChildAt(int x, int y, bool allow_disabled) const noexcept;

  // The window (valid until its WM_NCDESTROY has been handled) and its owner, which counts it
  // among live windows from creation until WM_NCDESTROY, whether that comes from DestroyHandle
  // or from outside (the parent window going).
  HWND hwnd_ = nullptr;
  Window window_owner_;
  WNDPROC original_proc_ = nullptr;  // the standard class's procedure for subclassed windows
  std::vector<TControl*> controls_;
  int tab_order_ = -1;
  bool tab_stop_ = false;
  bool tracking_mouse_ = false;
  TControl* captured_ = nullptr;
  TControl* hover_child_ = nullptr;
};

class TCustomControl : public TWinControl {
 public:
  using TWinControl::TWinControl;

 protected:
  void CreateParams(struct CreateParams& params) override;
};

}  // namespace sapala::win
