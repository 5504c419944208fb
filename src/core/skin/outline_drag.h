// The outline drag of a form whose frame moves and sizes by an outline (ResizeMode rmBorder):
// where the outline lies for a cursor position, given the window's rectangle and the cursor
// when the drag began and the hit code that began it. Pure geometry; the window side draws the
// outline and applies the last rectangle on release.
#pragma once

#include "core/graphics/geometry.h"

namespace sapala::skin {

// The caption moves the outline; the eight border codes (10-17) size it from their edges.
bool IsOutlineMoveCode(int hitCode);
bool IsOutlineSizeCode(int hitCode);

struct OutlineDragInput {
  int HitCode = 0;
  graphics::Rect Start;    // window rectangle when the drag began (screen)
  graphics::Point Anchor;  // cursor when the drag began (screen)
  graphics::Point Cursor;  // cursor now (screen)
  // Track size limits; a maximum of 0 or less means none. A minimum below 0 counts as 0.
  int MinWidth = 0, MinHeight = 0;
  int MaxWidth = 0, MaxHeight = 0;
};

// The outline for the cursor now. A move keeps the size; a size moves only the edges the hit
// code names, and an edge that would make the window smaller than the minimum (or larger than
// the maximum) stops there, the opposite edge staying put. Any other hit code gives `Start`.
graphics::Rect OutlineDragRect(const OutlineDragInput& in);

}  // namespace sapala::skin
