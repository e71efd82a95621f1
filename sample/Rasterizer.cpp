#include "sample/Rasterizer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace velkor::sample {

namespace {

uint32_t Pack(Rgb c) { return (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b; }

// Twice the signed area of (a, b, p); positive when p lies left of a->b
// with y pointing down.
float Edge(const ScreenPoint& a, const ScreenPoint& b, float px, float py) {
  return (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
}

// Narrows [from, to] to the steps x where edge + dx * x >= 0, give or take a
// step (the caller tests each sample exactly). False when nothing is left.
bool NarrowSpan(float edge, float dx, int& from, int& to) {
  if (dx == 0) return edge >= 0;
  // Clamped so that a nearly flat edge cannot overflow the conversion.
  const float root = std::clamp(-edge / dx, -1.0f, static_cast<float>(to) + 1.0f);
  if (dx > 0) {
    from = std::max(from, static_cast<int>(std::floor(root)));
  } else {
    to = std::min(to, static_cast<int>(std::ceil(root)));
  }
  return from <= to;
}

}  // namespace

SampleCanvas::SampleCanvas(int width, int height, int samplesPerAxis, Rgb background)
    : width_(width),
      height_(height),
      samples_(samplesPerAxis),
      sampleWidth_(width * samplesPerAxis),
      sampleHeight_(height * samplesPerAxis),
      colour_(static_cast<size_t>(sampleWidth_) * sampleHeight_, Pack(background)),
      depth_(colour_.size(), std::numeric_limits<float>::infinity()) {}

void SampleCanvas::FillTriangle(ScreenPoint a, ScreenPoint b, ScreenPoint c, Rgb colour) {
  Rasterize(a, b, c, Pack(colour), true);
}

void SampleCanvas::PaintTriangle(ScreenPoint a, ScreenPoint b, ScreenPoint c, Rgb colour) {
  Rasterize(a, b, c, Pack(colour), false);
}

void SampleCanvas::PaintPolygon(std::span<const ScreenPoint> points, Rgb colour) {
  for (size_t i = 2; i < points.size(); ++i) PaintTriangle(points[0], points[i - 1], points[i], colour);
}

// Samples sit at the centres of a samples_ x samples_ grid inside each pixel.
// Working in sample units, sample (i, j) is at (i, j) after the shift below.
void SampleCanvas::Rasterize(ScreenPoint a, ScreenPoint b, ScreenPoint c, uint32_t colour,
                             bool depthTest) {
  for (ScreenPoint* p : {&a, &b, &c}) {
    p->x = p->x * samples_ - 0.5f;
    p->y = p->y * samples_ - 0.5f;
  }
  float area = Edge(a, b, c.x, c.y);
  if (area == 0 || !std::isfinite(area)) return;
  if (area < 0) {
    std::swap(b, c);
    area = -area;
  }
  const int x0 = std::max(0, static_cast<int>(std::ceil(std::min({a.x, b.x, c.x}))));
  const int y0 = std::max(0, static_cast<int>(std::ceil(std::min({a.y, b.y, c.y}))));
  const int x1 = std::min(sampleWidth_ - 1, static_cast<int>(std::floor(std::max({a.x, b.x, c.x}))));
  const int y1 = std::min(sampleHeight_ - 1, static_cast<int>(std::floor(std::max({a.y, b.y, c.y}))));
  if (x0 > x1 || y0 > y1) return;

  // Edge functions step linearly across the box; depth is a plane over it.
  const float dxA = -(c.y - b.y), dxB = -(a.y - c.y), dxC = -(b.y - a.y);
  const float dyA = c.x - b.x, dyB = a.x - c.x, dyC = b.x - a.x;
  float rowA = Edge(b, c, x0, y0), rowB = Edge(c, a, x0, y0), rowC = Edge(a, b, x0, y0);
  const float inv = 1.0f / area;
  for (int y = y0; y <= y1; ++y, rowA += dyA, rowB += dyB, rowC += dyC) {
    int from = 0, to = x1 - x0;
    if (!NarrowSpan(rowA, dxA, from, to) || !NarrowSpan(rowB, dxB, from, to) ||
        !NarrowSpan(rowC, dxC, from, to)) {
      continue;
    }
    const size_t row = static_cast<size_t>(y) * sampleWidth_ + x0;
    for (int x = from; x <= to; ++x) {
      const float wa = rowA + dxA * x, wb = rowB + dxB * x, wc = rowC + dxC * x;
      if (wa < 0 || wb < 0 || wc < 0) continue;
      const size_t i = row + x;
      if (depthTest) {
        const float z = (wa * a.depth + wb * b.depth + wc * c.depth) * inv;
        if (z >= depth_[i]) continue;
        depth_[i] = z;
      }
      colour_[i] = colour;
    }
  }
}

RgbImage SampleCanvas::Resolve() const {
  RgbImage img = MakeImage(width_, height_, Rgb{});
  const uint32_t n = static_cast<uint32_t>(samples_ * samples_);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      uint32_t r = 0, g = 0, b = 0;
      for (int sy = 0; sy < samples_; ++sy) {
        const uint32_t* s = colour_.data() + static_cast<size_t>(y * samples_ + sy) * sampleWidth_ + x * samples_;
        for (int sx = 0; sx < samples_; ++sx) {
          r += s[sx] >> 16;
          g += (s[sx] >> 8) & 0xff;
          b += s[sx] & 0xff;
        }
      }
      img.Set(x, y, Rgb{static_cast<uint8_t>((r + n / 2) / n), static_cast<uint8_t>((g + n / 2) / n),
                        static_cast<uint8_t>((b + n / 2) / n)});
    }
  }
  return img;
}

}  // namespace velkor::sample
