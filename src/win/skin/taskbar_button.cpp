#include "win/skin/taskbar_button.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

#include "core/skin/motion_steps.h"
#include "win/framework/library.h"

namespace sapala::win::skin {

namespace {

using sapala::skin::TaskbarButtonRecord;

constexpr UINT kAnswerTimeoutMs = 200;  // a task bar that takes longer is treated as absent

// The task bar's process, opened for reading and writing its memory; closed with the owner.
class ProcessHandle {
 public:
  explicit ProcessHandle(DWORD id) noexcept
      : handle_(::OpenProcess(
            PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
            FALSE, id)) {}
  ~ProcessHandle() {
    if (handle_) ::CloseHandle(handle_);
  }
  ProcessHandle(const ProcessHandle&) = delete;
  ProcessHandle& operator=(const ProcessHandle&) = delete;
  HANDLE get() const noexcept { return handle_; }

 private:
  HANDLE handle_;
};

// A buffer allocated in another process; released there with the owner. The process handle
// must outlive it.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, SIZE_T size) noexcept
      : process_(process),
        address_(
            ::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
  ~RemoteBuffer() {
    if (address_) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  void* get() const noexcept { return address_; }

 private:
  HANDLE process_;
  void* address_;
};

template <typename T>
bool ReadRemote(HANDLE process, const void* address, T& value) noexcept {
  SIZE_T read = 0;
  return address && ::ReadProcessMemory(process, address, &value, sizeof value, &read) &&
         read == sizeof value;
}

bool Ask(HWND window, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR& answer) noexcept {
  return ::SendMessageTimeoutW(window, msg, wp, lp, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerTimeoutMs,
                               &answer) != 0;
}

// Both processes see a TBBUTTON and a window handle with the same layout only when they have
// the same word size.
bool SameWordSize(HANDLE process) noexcept {
  using IsWow64Fn = BOOL(WINAPI*)(HANDLE, BOOL*);
  static const auto isWow64 = reinterpret_cast<IsWow64Fn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
  if (!isWow64) return true;  // no 64-bit Windows under us
  BOOL ours = FALSE, theirs = FALSE;
  if (!isWow64(::GetCurrentProcess(), &ours) || !isWow64(process, &theirs)) return false;
  return ours == theirs;
}

graphics::Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

TaskbarSearch SearchTaskbarButton(HWND appWindow) noexcept {
  TaskbarSearch s;
  HWND tray = ::FindWindowW(L"Shell_TrayWnd", nullptr);
  s.tray = tray != nullptr;
  HWND rebar = tray ? ::FindWindowExW(tray, nullptr, L"ReBarWindow32", nullptr) : nullptr;
  s.rebar = rebar != nullptr;
  HWND taskSwitch = rebar ? ::FindWindowExW(rebar, nullptr, L"MSTaskSwWClass", nullptr) : nullptr;
  s.taskSwitch = taskSwitch != nullptr;
  HWND toolbar =
      taskSwitch ? ::FindWindowExW(taskSwitch, nullptr, L"ToolbarWindow32", nullptr) : nullptr;
  s.toolbar = toolbar != nullptr;
  if (!toolbar || !appWindow) return s;

  DWORD processId = 0;
  ::GetWindowThreadProcessId(toolbar, &processId);
  if (!processId) return s;
  ProcessHandle process(processId);
  if (!process.get() || !SameWordSize(process.get())) return s;
  s.processOpened = true;
  RemoteBuffer buffer(process.get(),
                      sizeof(TBBUTTON) > sizeof(RECT) ? sizeof(TBBUTTON) : sizeof(RECT));
  if (!buffer.get()) return s;

  DWORD_PTR count = 0;
  if (!Ask(toolbar, TB_BUTTONCOUNT, 0, 0, count)) return s;
  s.buttons = count > static_cast<DWORD_PTR>(sapala::skin::kMaxTaskbarButtons)
                  ? sapala::skin::kMaxTaskbarButtons + 1
                  : static_cast<int>(count);
  if (s.buttons > sapala::skin::kMaxTaskbarButtons) return s;

  std::vector<TaskbarButtonRecord> records;
  records.reserve(static_cast<std::size_t>(s.buttons));
  const LPARAM remote = reinterpret_cast<LPARAM>(buffer.get());
  for (int i = 0; i < s.buttons; ++i) {
    DWORD_PTR ok = 0;
    TBBUTTON button{};
    if (!Ask(toolbar, TB_GETBUTTON, static_cast<WPARAM>(i), remote, ok) || !ok ||
        !ReadRemote(process.get(), buffer.get(), button)) {
      return s;
    }
    TaskbarButtonRecord record;
    record.State = button.fsState;
    record.Style = button.fsStyle;
    // The button's data points to the task bar's record of the window, which begins with the
    // window's handle.
    HWND owner = nullptr;
    if (button.dwData &&
        ReadRemote(process.get(), reinterpret_cast<const void*>(button.dwData), owner)) {
      record.Owner = reinterpret_cast<std::uintptr_t>(owner);
    }
    RECT r{};
    if (record.Owner == reinterpret_cast<std::uintptr_t>(appWindow) &&
        Ask(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(i), remote, ok) && ok &&
        ReadRemote(process.get(), buffer.get(), r)) {
      record.Rect = ToRect(r);
    }
    records.push_back(record);
  }
  POINT origin{0, 0};
  ::ClientToScreen(toolbar, &origin);
  RECT screen{0, 0, ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  const graphics::Rect found = sapala::skin::PickTaskbarButton(
      records, reinterpret_cast<std::uintptr_t>(appWindow), {origin.x, origin.y}, ToRect(screen));
  s.button = {found.left, found.top, found.right, found.bottom};
  return s;
}

RECT TaskbarInnerEdgePoint(RECT window) noexcept {
  using sapala::skin::TaskbarEdge;
  using sapala::skin::TaskbarPlace;
  TaskbarPlace place;
  bool known = false;
  // The shell's own answer first; shell32 is looked up only now.
  static const OptionalLibrary shell32(L"shell32.dll");
  using AppBarFn = UINT_PTR(WINAPI*)(DWORD, PAPPBARDATA);
  if (const auto appBar = shell32.Find<AppBarFn>("SHAppBarMessage")) {
    APPBARDATA data{};
    data.cbSize = sizeof data;
    if (appBar(ABM_GETTASKBARPOS, &data) && data.rc.right > data.rc.left &&
        data.rc.bottom > data.rc.top && data.uEdge <= ABE_BOTTOM) {
      const TaskbarEdge edges[] = {TaskbarEdge::Left, TaskbarEdge::Top, TaskbarEdge::Right,
                                   TaskbarEdge::Bottom};
      place = {edges[data.uEdge], ToRect(data.rc)};
      known = true;
    }
  }
  if (!known) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    HMONITOR monitor = ::MonitorFromRect(&window, MONITOR_DEFAULTTONEAREST);
    if (monitor && ::GetMonitorInfoW(monitor, &info)) {
      place = sapala::skin::TaskbarFromWorkArea(ToRect(info.rcMonitor), ToRect(info.rcWork));
    } else {
      const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
      place = {TaskbarEdge::Bottom, {0, h, w, h}};
    }
  }
  const graphics::Rect p = sapala::skin::InnerEdgePoint(place, ToRect(window));
  return {p.left, p.top, p.right, p.bottom};
}

RECT MinimizeTarget(HWND appWindow, RECT window) noexcept {
  const TaskbarSearch s = SearchTaskbarButton(appWindow);
  if (s.button.right > s.button.left && s.button.bottom > s.button.top) return s.button;
  return TaskbarInnerEdgePoint(window);
}

}  // namespace sapala::win::skin
