// The fade of a caption button from the picture of its old state to the picture of its new
// one: how many steps a change takes, and the picture of each step. The window side keeps the
// two pictures and a timer, and draws one step per tick into the window image.
//
// A change towards pressed is drawn at once (1 step); any other change fades over
// kCaptionFadeSteps steps when the manager's button events animate that kind of change, else
// it too is drawn at once.
#pragma once

#include "core/graphics/bitmap.h"
#include "core/graphics/geometry.h"
#include "core/skin/effects.h"

namespace sapala::skin {

inline constexpr int kCaptionFadeSteps = 10;
inline constexpr int kCaptionFadeIntervalMs = 12;

// Steps of a change from state `from` to state `to` (0 normal, 1 hot, 2 pressed) under the
// button events `events`; 1 means drawn at once. Normal → hot is a mouse enter, hot → normal a
// mouse leave, pressed → anything a mouse up.
int CaptionFadeSteps(int from, int to, TlcBtnEvents events);

// The weight of the new picture at `step` of `steps`, 0..256 (256 at the last step). A step
// outside 1..steps is clamped into it.
int CaptionFadeWeight(int step, int steps);

// Step `step` of `steps` of the fade from `from` to `to` (32-bit pictures of one size) written
// into `out` at `at`: every channel, alpha included, is (old × (256 − w) + new × w) >> 8.
// Pixels that would fall outside `out` are skipped; pictures of different sizes draw nothing.
void DrawCaptionFadeStep(const graphics::Bitmap& from, const graphics::Bitmap& to, int step,
                         int steps, graphics::Bitmap& out, graphics::Point at);

}  // namespace sapala::skin
