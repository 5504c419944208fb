// The main window under the real window manager: its client size, frame and place.
#include "win/app/main_window.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "win/framework/handles.h"

namespace sapala::app {
namespace {

TEST(MainWindow, HasTheFormsFrameClientSizeAndPlace) {
  win::Window window(CreateMainWindow(::GetModuleHandleW(nullptr)));
  ASSERT_TRUE(window) << "CreateMainWindow failed, error " << ::GetLastError();
  ::ShowWindow(window.get(), SW_SHOWNORMAL);

  RECT client{};
  ASSERT_TRUE(::GetClientRect(window.get(), &client));
  EXPECT_EQ(client.right - client.left, 321);
  EXPECT_EQ(client.bottom - client.top, 366);

  const LONG_PTR style = ::GetWindowLongPtrW(window.get(), GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX) << "no maximise box";
  EXPECT_FALSE(style & WS_THICKFRAME) << "single border: not resizable";

  wchar_t caption[8] = L"x";
  EXPECT_EQ(::GetWindowTextW(window.get(), caption, 8), 0);

  RECT frame{};
  ASSERT_TRUE(::GetWindowRect(window.get(), &frame));
  const int screen_w = ::GetSystemMetrics(SM_CXSCREEN);
  const int screen_h = ::GetSystemMetrics(SM_CYSCREEN);
  EXPECT_LE(std::abs(frame.left - (screen_w - frame.right)), 1) << "centred horizontally";
  EXPECT_LE(std::abs(frame.top - (screen_h - frame.bottom)), 1) << "centred vertically";
}

}  // namespace
}  // namespace sapala::app
