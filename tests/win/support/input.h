// Keyboard input for Windows tests: a key pressed and released through the application's loop,
// as the window system would post it, with an optional modifier held in the keyboard state.
#pragma once

#include <windows.h>

#include "win/framework/application.h"

namespace sapala::win::testing {

inline void PressKey(TApplication& app, HWND to, WORD vk, BYTE modifier = 0) {
  BYTE state[256] = {};
  if (modifier) state[modifier] = 0x80;
  ::SetKeyboardState(state);
  ::PostMessageW(to, WM_KEYDOWN, vk, 1);
  ::PostMessageW(to, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001));
  app.ProcessMessages();
  state[modifier] = 0;
  ::SetKeyboardState(state);
}

}  // namespace sapala::win::testing
