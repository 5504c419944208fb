// TApplication: the program's forms and its message loop. The first form created is the main
// form; the loop ends when it closes. Before a key message is dispatched, the focused control's
// form gets the dialog keys the control does not want, and Alt+letter goes to the form's
// accelerators. An exception that escapes a handler is shown in a message box and the loop goes on.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

#include "win/framework/component.h"
#include "win/framework/forms.h"

namespace sapala::win {

class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;

  template <typename T, typename... Args>
  T& CreateForm(Args&&... args) {
    T& form = Create<T>(std::forward<Args>(args)...);
    if (!main_form_) main_form_ = &form;
    form.CreateHandle();
    form.DoCreate();
    return form;
  }

  TForm* MainForm() const noexcept { return main_form_; }
  const std::wstring& Title() const noexcept { return title_; }
  void SetTitle(std::wstring title) { title_ = std::move(title); }

  // Shows the main form and runs the message loop until Terminate; returns the exit code.
  int Run();
  void Terminate() noexcept;
  bool Terminated() const noexcept { return terminated_; }
  // Handles every message waiting now (tests and long operations).
  void ProcessMessages();
  // One message through the dialog-key filters and to its window.
  void Dispatch(MSG& msg);

  // Shows the message of the exception in a box (or hands it to OnException when set).
  void HandleException(std::exception_ptr e) noexcept;
  void ShowException(const std::string& message) noexcept;
  std::function<void(const std::string& message)> OnException;

 private:
  bool FilterKey(MSG& msg);

  TApplication* previous_;
  TForm* main_form_ = nullptr;
  std::wstring title_;
  bool terminated_ = false;
};

// The running application (the one most recently created and not yet freed).
TApplication& Application();

}  // namespace sapala::win
