#include "core/skin/outline_drag.h"

#include <algorithm>

#include "core/skin/frame_hit_test.h"

namespace sapala::skin {

bool IsOutlineMoveCode(int hitCode) { return hitCode == kHitCaption; }
bool IsOutlineSizeCode(int hitCode) { return hitCode >= kHitLeft && hitCode <= kHitBottomRight; }

namespace {

// One axis of a size: the moving edge follows the cursor, the length stays within the limits,
// the other edge stays where it was.
void SizeAxis(int& nearEdge, int& farEdge, bool moveNear, bool moveFar, int delta, int min,
              int max) {
  min = std::max(0, min);
  auto clampLength = [&](int length) {
    length = std::max(length, min);
    if (max > 0) length = std::min(length, std::max(max, min));
    return length;
  };
  if (moveNear) {
    nearEdge = farEdge - clampLength(farEdge - (nearEdge + delta));
  } else if (moveFar) {
    farEdge = nearEdge + clampLength(farEdge + delta - nearEdge);
  }
}

}  // namespace

graphics::Rect OutlineDragRect(const OutlineDragInput& in) {
  graphics::Rect r = in.Start;
  const int dx = in.Cursor.x - in.Anchor.x;
  const int dy = in.Cursor.y - in.Anchor.y;
  if (IsOutlineMoveCode(in.HitCode)) return r.offset(dx, dy);
  if (!IsOutlineSizeCode(in.HitCode)) return r;
  const int c = in.HitCode;
  const bool left = c == kHitLeft || c == kHitTopLeft || c == kHitBottomLeft;
  const bool right = c == kHitRight || c == kHitTopRight || c == kHitBottomRight;
  const bool top = c == kHitTop || c == kHitTopLeft || c == kHitTopRight;
  const bool bottom = c == kHitBottom || c == kHitBottomLeft || c == kHitBottomRight;
  SizeAxis(r.left, r.right, left, right, dx, in.MinWidth, in.MaxWidth);
  SizeAxis(r.top, r.bottom, top, bottom, dy, in.MinHeight, in.MaxHeight);
  return r;
}

}  // namespace sapala::skin
