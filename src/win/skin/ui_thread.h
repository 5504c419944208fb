// How the engine's worker threads (the threaded timers of the animations) reach the
// user-interface thread: each queued call wakes a hidden message-only window with a posted
// message, and that window runs the queue. Modal loops (message boxes, menus, moving or sizing a
// window) dispatch posted messages as the application's own loop does, so ticks are delivered
// inside them too.
#pragma once

#include <windows.h>

#include "core/threading/ui_dispatch.h"
#include "win/framework/handles.h"

namespace sapala::win::skin {

class WindowDispatcher final : public threading::UiDispatcher {
 public:
  // The thread that makes it is the user-interface thread.
  WindowDispatcher();
  ~WindowDispatcher() override;
  WindowDispatcher(const WindowDispatcher&) = delete;
  WindowDispatcher& operator=(const WindowDispatcher&) = delete;

  bool Synchronize(std::function<void()> fn) override { return queue_.Synchronize(std::move(fn)); }
  void ProcessPending() override;
  // Refuses further ticks once the application has begun to end.
  bool Terminating() const override { return queue_.Terminating(); }
  void SetTerminating(bool on) { queue_.SetTerminating(on); }
  HWND WindowHandle() const noexcept { return window_.get(); }

  // The message posted for each queued call.
  static constexpr UINT kWakeMessage = WM_APP + 0x2A1;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;

  Window window_;
  threading::SyncQueue queue_;
};

// The dispatcher of the engine, made by the skin unit's start-up on the user-interface thread
// and freed at its shutdown; nullptr outside that time.
WindowDispatcher* UiThread() noexcept;
void CreateUiThread();
void DestroyUiThread() noexcept;

}  // namespace sapala::win::skin
