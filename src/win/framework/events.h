// Event types of the framework. Handlers are member functions of a form, bound by name when the
// form's description is applied; the sender is the component that raised the event.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace sapala::win {

class TObject;

enum ShiftState : unsigned {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64
};
enum class MouseButton { mbLeft, mbRight, mbMiddle };

using TNotifyEvent = std::function<void(TObject& sender)>;
using TKeyEvent = std::function<void(TObject& sender, WORD& key, unsigned shift)>;
using TKeyPressEvent = std::function<void(TObject& sender, wchar_t& key)>;
using TMouseEvent =
    std::function<void(TObject& sender, MouseButton button, unsigned shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject& sender, unsigned shift, int x, int y)>;
// The skin manager asks for the extra line of a popup menu: its first item, and the section,
// whether to show the line, its glyph and its text, each of which the handler may change.
using TlcGetExtraLineData = std::function<void(TObject* firstItem, std::string& sectionName,
                                               bool& showLine, HBITMAP& glyph, std::wstring& text)>;

// The shift state now, from the keyboard (for events raised by keys).
unsigned KeyboardShiftState() noexcept;

}  // namespace sapala::win
