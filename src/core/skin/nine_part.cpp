// Nine-part rectangles, tiling runs and rectangle lists; see nine_part.h.
#include "core/skin/nine_part.h"

#include <algorithm>

namespace sapala::skin {

using graphics::Rect;

namespace {

// One axis of FitBorders: the far side loses the odd pixel.
void FitAxis(int& nearSide, int& farSide, int size) {
  if (size >= nearSide + farSide) return;
  const int excess = nearSide + farSide - size;
  const int d = excess / 2;
  nearSide = std::max(nearSide - d, 0);
  farSide = farSide - d - (excess % 2 != 0 ? 1 : 0);
  farSide = std::max(farSide, 0);
  // Very unequal borders (one near 0) still exceed the size after the symmetric cut; the pieces
  // would then reach outside the element. Keep them inside: the near side first, the far side
  // gets what is left.
  nearSide = std::min(nearSide, size);
  farSide = std::min(farSide, size - nearSide);
}

}  // namespace

BorderWidths FitBorders(BorderWidths b, int width, int height) {
  FitAxis(b.left, b.right, width);
  FitAxis(b.top, b.bottom, height);
  return b;
}

bool LayoutNineParts(Rect dest, Rect frame, int sourceBottom, BorderWidths b, NinePartLayout& out) {
  const int fw = frame.width();
  const int fh = frame.height();
  const int cw = fw - b.left - b.right;
  const int ch = fh - b.top - b.bottom;
  if (cw < 0 || ch < 0) return false;
  const int sx = frame.left, sy = frame.top;
  const int sRight = sx + fw - b.right;  // first column of the right border in the source
  const int sBottom = sourceBottom - b.bottom;
  const int dRight = dest.right - b.right;
  const int dBottom = dest.bottom - b.bottom;
  const int dInL = dest.left + b.left, dInT = dest.top + b.top;

  auto& d = out.dest;
  auto& s = out.source;
  d[kPieceTopLeft] = {dest.left, dest.top, dInL, dInT};
  s[kPieceTopLeft] = {sx, sy, sx + b.left, sy + b.top};
  d[kPieceLeft] = {dest.left, dInT, dInL, dBottom};
  s[kPieceLeft] = {sx, sy + b.top, sx + b.left, sy + b.top + ch};
  d[kPieceTop] = {dInL, dest.top, dRight, dInT};
  s[kPieceTop] = {sx + b.left, sy, sx + b.left + cw, sy + b.top};
  d[kPieceBottomLeft] = {dest.left, dBottom, dInL, dest.bottom};
  s[kPieceBottomLeft] = {sx, sBottom, sx + b.left, sourceBottom};
  d[kPieceBottom] = {dInL, dBottom, dRight, dest.bottom};
  s[kPieceBottom] = {sx + b.left, sBottom, sx + b.left + cw, sourceBottom};
  d[kPieceBottomRight] = {dRight, dBottom, dest.right, dest.bottom};
  s[kPieceBottomRight] = {sRight, sBottom, sx + fw, sourceBottom};
  d[kPieceTopRight] = {dRight, dest.top, dest.right, dInT};
  s[kPieceTopRight] = {sRight, sy, sx + fw, sy + b.top};
  d[kPieceRight] = {dRight, dInT, dest.right, dBottom};
  s[kPieceRight] = {sRight, sy + b.top, sx + fw, sy + b.top + ch};
  d[kPieceCenter] = {dInL, dInT, dRight, dBottom};
  s[kPieceCenter] = {sx + b.left, sy + b.top, sx + b.left + cw, sy + b.top + ch};
  return true;
}

std::vector<TileRun> TileRuns(int from, int to, int piece) {
  std::vector<TileRun> runs;
  if (piece <= 0 || to <= from) return runs;
  int pos = from;
  while (pos < to - piece) {
    runs.push_back({pos, piece});
    pos += piece;
  }
  if (to - pos > 0) runs.push_back({pos, to - pos});
  return runs;
}

std::vector<TileRun> WholeTileRuns(int from, int to, int piece) {
  std::vector<TileRun> runs;
  if (piece <= 0) return runs;
  for (int pos = from; pos <= to - piece; pos += piece) runs.push_back({pos, piece});
  return runs;
}

Rect TextureCoverage(int mode, Rect r, int texW, int texH) {
  if (texW <= 0 || texH <= 0 || r.empty()) return {};
  switch (mode) {
    case 0:
    case 1:
      return r;
    case 2:
    case 4:
      return Rect{r.left, r.top, r.right, std::min(r.bottom, r.top + texH)};
    case 3:
    case 5:
      return Rect{r.left, r.top, std::min(r.right, r.left + texW), r.bottom};
    case 6:
      return Rect{r.left, std::max(r.top, r.bottom - texH), r.right, r.bottom};
    case 7:
    case 8:
    case 9:
      return Rect{std::max(r.left, r.right - texW), r.top, r.right, r.bottom};
    case 10: {
      const int rows = r.height() / texH;
      return rows > 0 ? Rect{r.left, r.top, r.right, r.top + rows * texH} : Rect{};
    }
    default:
      return {};
  }
}

std::vector<Rect> RectsAround(Rect clip, const std::vector<Rect>& excluded) {
  std::vector<Rect> out;
  if (clip.empty()) return out;
  // Horizontal bands between every top and bottom edge inside the clip; in each band the
  // columns not covered by an excluded rect that spans the band.
  std::vector<int> ys = {clip.top, clip.bottom};
  std::vector<Rect> cut;
  for (const Rect& e : excluded) {
    const Rect c = e.intersect(clip);
    if (c.empty()) continue;
    cut.push_back(c);
    ys.push_back(c.top);
    ys.push_back(c.bottom);
  }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  for (std::size_t i = 0; i + 1 < ys.size(); ++i) {
    const int top = ys[i], bottom = ys[i + 1];
    std::vector<std::pair<int, int>> spans;
    for (const Rect& c : cut) {
      if (c.top <= top && c.bottom >= bottom) spans.emplace_back(c.left, c.right);
    }
    std::sort(spans.begin(), spans.end());
    int x = clip.left;
    for (auto [l, r] : spans) {
      if (l > x) out.push_back({x, top, l, bottom});
      x = std::max(x, r);
    }
    if (x < clip.right) out.push_back({x, top, clip.right, bottom});
  }
  return out;
}

std::vector<Rect> GroupBoxFrameParts(Rect box, int captionHeight, int left, int right, int bottom) {
  std::vector<Rect> parts;
  auto add = [&](Rect r) {
    r = r.intersect(box);
    if (!r.empty()) parts.push_back(r);
  };
  const int capBottom = box.top + std::max(captionHeight, 0);
  add({box.left, box.top, box.right, capBottom});
  add({box.left, capBottom, box.left + std::max(left, 0), box.bottom});
  add({box.right - std::max(right, 0), capBottom, box.right, box.bottom});
  add({box.left, box.bottom - std::max(bottom, 0), box.right, box.bottom});
  return parts;
}

}  // namespace sapala::skin
