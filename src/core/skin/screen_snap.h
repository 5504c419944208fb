// Snapping a moving form to the edges of its monitor's work area (WM_WINDOWPOSCHANGING).
#pragma once

#include "core/graphics/geometry.h"

namespace sapala::skin {

struct SnapSettings {
  bool ScreenSnap = false;  // off unless the form asks for it
  int SnapBuffer = 10;      // pixels
};

// The new top-left of a form of `width` × `height` proposed at `pos`. Within `SnapBuffer`
// pixels (a distance below it) of the right or bottom edge the form is put on that edge, then
// the same against left and top, which win. `shadow` is the extended-border shadow offset (0
// without extended borders). Unchanged when snapping is off.
graphics::Point SnapToWorkArea(const SnapSettings& settings, graphics::Point pos, int width,
                               int height, const graphics::Rect& workArea, int shadow);

}  // namespace sapala::skin
