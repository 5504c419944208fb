// TForm: a top-level window described by a form description. It owns every component of its
// description, knows its active control, moves the focus along the tab order, and offers dialog
// keys and accelerator characters to its controls. Handlers are registered by name before the
// description is applied.
#pragma once

#include <map>
#include <string>

#include "win/framework/controls.h"
#include "win/framework/loader.h"

namespace sapala::win {

enum class BorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum BorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum class FormPosition {
  poDesigned,
  poDefault,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter
};
enum ModalResult : int {
  mrNone = 0,
  mrOk = 1,
  mrCancel = 2,
  mrAbort = 3,
  mrRetry = 4,
  mrIgnore = 5,
  mrYes = 6,
  mrNo = 7
};

class TMainMenu;

class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;

  // Applies a description (text form) to this form; the description's top object is the form.
  void LoadDescription(std::string_view text);
  // The same from an RCDATA resource of the program, named like the form class ("TFORM1").
  void LoadDescriptionResource(const wchar_t* name);

  void RegisterHandler(std::string name, EventHandler handler);
  const EventHandler* FindHandler(std::string_view name) const;

  BorderStyle GetBorderStyle() const noexcept { return border_style_; }
  unsigned BorderIcons() const noexcept { return border_icons_; }
  FormPosition Position() const noexcept { return position_; }
  int ClientWidth() const noexcept { return client_width_; }
  int ClientHeight() const noexcept { return client_height_; }
  void SetClientSize(int width, int height);

  void Show();
  void Hide();
  // The main form ends the application; any other form is hidden.
  void Close();

  TWinControl* ActiveControl() const noexcept { return active_control_; }
  void SetActiveControl(TWinControl* control);
  void ActiveControlChanged(TWinControl* control) noexcept { active_control_ = control; }
  // Moves the focus to the next (or previous) control in tab order after `current`.
  void SelectNext(TWinControl* current, bool forward);

  int ModalResult() const noexcept { return modal_result_; }
  void SetModalResult(int result) noexcept { modal_result_ = result; }

  // Tab, arrows, Enter and Escape that the focused control does not want.
  bool DialogKey(WORD key, unsigned shift) override;
  // Alt+letter: offered to every control of the form, windowless ones included.
  bool DialogChar(wchar_t ch, unsigned shift) override;

  // The menu bar the form's window shows, nullptr when none. SetMenu needs the window; the
  // menu belongs to its owner, not to the form.
  TMainMenu* Menu() const noexcept;
  void SetMenu(TMainMenu* menu);

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;

  bool ReadProperty(std::string_view name, const forms::Property& p, Loader& loader) override;
  RECT ClientRect() const noexcept override;

 protected:
  void CreateParams(struct CreateParams& params) override;
  void WndProc(Message& m) override;
  void VisibleChanged() override;
  // Runs OnCreate; the application calls it once the form and its windows exist.
  friend class TApplication;
  virtual void DoCreate();

 private:
  std::map<std::string, EventHandler, std::less<>> handlers_;
  BorderStyle border_style_ = BorderStyle::bsSizeable;
  unsigned border_icons_ = biSystemMenu | biMinimize | biMaximize;
  FormPosition position_ = FormPosition::poDesigned;
  int client_width_ = 0, client_height_ = 0;
  TWinControl* active_control_ = nullptr;
  int modal_result_ = mrNone;
};

}  // namespace sapala::win
