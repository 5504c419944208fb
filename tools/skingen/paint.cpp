// Canvas drawing and the conversions to stored pictures.
#include "tools/skingen/paint.h"

#include <algorithm>
#include <cmath>

namespace sapala::skingen {
namespace {

constexpr int kSamples = 4;

std::uint8_t Byte(float v) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

std::uint32_t Word(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  // A drawn pixel must never read as the key colour.
  if (r == 255 && g == 0 && b == 255) g = 1;
  return 0xFF000000u | std::uint32_t{r} << 16 | std::uint32_t{g} << 8 | b;
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Sdf RoundRect(float x0, float y0, float x1, float y1, float radius) {
  const float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  const float r = std::min({radius, (x1 - x0) / 2, (y1 - y0) / 2});
  const float hx = (x1 - x0) / 2 - r, hy = (y1 - y0) / 2 - r;
  return [=](float x, float y) {
    const float qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
    const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - r;
  };
}

Sdf Circle(float cx, float cy, float r) {
  return [=](float x, float y) { return std::hypot(x - cx, y - cy) - r; };
}

Sdf Capsule(float ax, float ay, float bx, float by, float hw) {
  return [=](float x, float y) {
    const float dx = bx - ax, dy = by - ay;
    const float len2 = dx * dx + dy * dy;
    float t = len2 > 0 ? ((x - ax) * dx + (y - ay) * dy) / len2 : 0;
    t = std::clamp(t, 0.0f, 1.0f);
    return std::hypot(x - (ax + t * dx), y - (ay + t * dy)) - hw;
  };
}

Sdf Ellipse(float cx, float cy, float a, float b, float angle) {
  const float c = std::cos(angle), s = std::sin(angle);
  return [=](float x, float y) {
    const float u = (x - cx) * c + (y - cy) * s;
    const float v = -(x - cx) * s + (y - cy) * c;
    const float k = std::sqrt((u / a) * (u / a) + (v / b) * (v / b));
    return (k - 1) * std::min(a, b);
  };
}

Sdf Union(Sdf a, Sdf b) {
  return [=](float x, float y) { return std::min(a(x, y), b(x, y)); };
}
Sdf Minus(Sdf a, Sdf b) {
  return [=](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}
Sdf Inset(Sdf a, float by) {
  return [=](float x, float y) { return a(x, y) + by; };
}
Sdf Outline(Sdf a, float width) { return Minus(a, Inset(a, width)); }

Paint Solid(Rgb c) {
  return [=](float, float) { return c; };
}
Paint VGrad(float y0, Rgb c0, float y1, Rgb c1) {
  return [=](float, float y) {
    const float t = y1 != y0 ? std::clamp((y - y0) / (y1 - y0), 0.0f, 1.0f) : 0.0f;
    return Mix(c0, c1, t);
  };
}
Paint HGrad(float x0, Rgb c0, float x1, Rgb c1) {
  return [=](float x, float) {
    const float t = x1 != x0 ? std::clamp((x - x0) / (x1 - x0), 0.0f, 1.0f) : 0.0f;
    return Mix(c0, c1, t);
  };
}

float Coverage(const Sdf& shape, int x, int y) {
  int inside = 0;
  for (int j = 0; j < kSamples; ++j) {
    for (int i = 0; i < kSamples; ++i) {
      const float sx = static_cast<float>(x) + (static_cast<float>(i) + 0.5f) / kSamples;
      const float sy = static_cast<float>(y) + (static_cast<float>(j) + 0.5f) / kSamples;
      if (shape(sx, sy) < 0) ++inside;
    }
  }
  return static_cast<float>(inside) / (kSamples * kSamples);
}

Canvas::Canvas(int width, int height)
    : w_(width),
      h_(height),
      px_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)),
      key_(px_.size(), false) {}

void Canvas::DrawAlpha(const std::function<float(float, float)>& alpha, const Paint& paint) {
  for (int y = 0; y < h_; ++y) {
    for (int x = 0; x < w_; ++x) {
      const float cx = static_cast<float>(x) + 0.5f, cy = static_cast<float>(y) + 0.5f;
      const float a = std::clamp(alpha(cx, cy), 0.0f, 1.0f);
      if (a <= 0) continue;
      const Rgb c = paint(cx, cy);
      Px& p = px_[Index(x, y)];
      p.r = c.r * a + p.r * (1 - a);
      p.g = c.g * a + p.g * (1 - a);
      p.b = c.b * a + p.b * (1 - a);
      p.a = a + p.a * (1 - a);
      key_[Index(x, y)] = false;
    }
  }
}

void Canvas::Draw(const Sdf& shape, const Paint& paint, float opacity) {
  DrawAlpha(
      [&](float cx, float cy) {
        return Coverage(shape, static_cast<int>(cx), static_cast<int>(cy)) * opacity;
      },
      paint);
}

void Canvas::SetKey(int x, int y, bool key) {
  if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
  key_[Index(x, y)] = key;
  if (key) px_[Index(x, y)] = Px{};
}

void Canvas::KeyOutside(const Sdf& shape) {
  for (int y = 0; y < h_; ++y) {
    for (int x = 0; x < w_; ++x) {
      if (Coverage(shape, x, y) < 0.5f) SetKey(x, y);
    }
  }
}

Rgb Canvas::Color(int x, int y) const {
  const Px& p = px_[Index(x, y)];
  if (p.a <= 0) return {};
  return {p.r / p.a, p.g / p.a, p.b / p.a};
}

void Canvas::CopyTo(Canvas& dest, int x, int y) const {
  for (int j = 0; j < h_; ++j) {
    for (int i = 0; i < w_; ++i) {
      const int dx = x + i, dy = y + j;
      if (dx < 0 || dy < 0 || dx >= dest.w_ || dy >= dest.h_) continue;
      dest.px_[dest.Index(dx, dy)] = px_[Index(i, j)];
      dest.key_[dest.Index(dx, dy)] = key_[Index(i, j)];
    }
  }
}

Canvas Canvas::Transposed() const {
  Canvas t(h_, w_);
  for (int y = 0; y < h_; ++y) {
    for (int x = 0; x < w_; ++x) {
      t.px_[t.Index(y, x)] = px_[Index(x, y)];
      t.key_[t.Index(y, x)] = key_[Index(x, y)];
    }
  }
  return t;
}

graphics::Bitmap ToPictureAndMask(const Canvas& c) {
  graphics::Bitmap out = graphics::NewBitmap32(c.Width(), 2 * c.Height());
  for (int y = 0; y < c.Height(); ++y) {
    std::uint32_t* pic = out.Row32(y);
    std::uint32_t* mask = out.Row32(y + c.Height());
    for (int x = 0; x < c.Width(); ++x) {
      if (c.IsKey(x, y)) {
        pic[x] = graphics::kKeyPixel;
        mask[x] = Word(255, 255, 255);
        continue;
      }
      const Rgb col = c.Color(x, y);
      pic[x] = Word(Byte(col.r), Byte(col.g), Byte(col.b));
      const std::uint8_t m = Byte(std::min(255.0f, 256.0f * (1.0f - c.Alpha(x, y))));
      mask[x] = Word(m, m, m);
    }
  }
  return out;
}

graphics::Bitmap ToOpaque(const Canvas& c, Rgb base) {
  graphics::Bitmap out = graphics::NewBitmap32(c.Width(), c.Height());
  for (int y = 0; y < c.Height(); ++y) {
    std::uint32_t* row = out.Row32(y);
    for (int x = 0; x < c.Width(); ++x) {
      if (c.IsKey(x, y)) {
        row[x] = graphics::kKeyPixel;
        continue;
      }
      const Rgb col = Mix(base, c.Color(x, y), c.Alpha(x, y));
      row[x] = Word(Byte(col.r), Byte(col.g), Byte(col.b));
    }
  }
  return out;
}

graphics::Bitmap ToRgba(const Canvas& c) {
  graphics::Bitmap out = graphics::NewBitmap32(c.Width(), c.Height());
  for (int y = 0; y < c.Height(); ++y) {
    std::uint32_t* row = out.Row32(y);
    for (int x = 0; x < c.Width(); ++x) {
      const std::uint8_t a = Byte(c.Alpha(x, y) * 255.0f);
      if (a == 0 || c.IsKey(x, y)) {
        row[x] = 0;
        continue;
      }
      const Rgb col = c.Color(x, y);
      row[x] = std::uint32_t{a} << 24 | std::uint32_t{Byte(col.r)} << 16 |
               std::uint32_t{Byte(col.g)} << 8 | Byte(col.b);
    }
  }
  return out;
}

}  // namespace sapala::skingen
