#include "core/skin/screen_snap.h"

#include <cstdlib>

namespace sapala::skin {

graphics::Point SnapToWorkArea(const SnapSettings& settings, graphics::Point pos, int width,
                               int height, const graphics::Rect& workArea, int shadow) {
  if (!settings.ScreenSnap) return pos;
  const int buffer = settings.SnapBuffer;
  // 64-bit differences: positions and sizes come from window messages.
  auto near = [buffer](long long a, long long b) { return std::llabs(a - b) < buffer; };
  if (near(static_cast<long long>(pos.x) + width + shadow, workArea.right)) {
    pos.x = workArea.right - width - shadow;
  }
  if (near(static_cast<long long>(pos.y) + height + shadow, workArea.bottom)) {
    pos.y = workArea.bottom - height - shadow;
  }
  if (near(static_cast<long long>(pos.x) - shadow, workArea.left)) pos.x = workArea.left + shadow;
  if (near(static_cast<long long>(pos.y) - shadow, workArea.top)) pos.y = workArea.top + shadow;
  return pos;
}

}  // namespace sapala::skin
