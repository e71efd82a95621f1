#include "render/FrameRenderer.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "render/Shading.h"

namespace velkor::render {

namespace {

constexpr int kS = kSamplesPerAxis;
constexpr int kSamplesPerPixel = kS * kS;
constexpr int kSpanWorthwhile = 16;  // samples

uint8_t ToByte(float v) { return static_cast<uint8_t>(std::lround(v * 255.0f)); }

// Twice the signed area of (a, b, p).
double Edge(double ax, double ay, double bx, double by, double px, double py) {
  return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
}

// Narrows [first, last] towards the samples where an edge function that is
// `w` at sample `start` and steps by `d` is not negative, with one sample of
// slack either side: the exact test in the loop has the last word.
bool Span(double w, double d, int start, int& first, int& last) {
  if (d > 0) {
    if (w < 0) first = std::max(first, start + static_cast<int>(std::floor(-w / d)));
  } else if (d < 0) {
    if (w < 0) return false;
    last = std::min(last, start + static_cast<int>(std::ceil(w / -d)));
  } else if (w < 0) {
    return false;
  }
  return first <= last;
}

}  // namespace

void FrameRenderer::Project(const Scene& scene, const FrameView& view) {
  const size_t n = scene.vertices.size();
  x_.resize(n);
  y_.resize(n);
  z_.resize(n);
  n_.resize(n);
  const auto& m = view.rows;
  for (size_t i = 0; i < n; ++i) {
    const Vertex& v = scene.vertices[i];
    const double d[3] = {v.position[0] - view.centre[0], v.position[1] - view.centre[1],
                         v.position[2] - view.centre[2]};
    double q[3];
    for (int r = 0; r < 3; ++r) q[r] = m[r][0] * d[0] + m[r][1] * d[1] + m[r][2] * d[2];
    x_[i] = static_cast<float>((view.half + view.scale * q[0]) * kS);
    y_[i] = static_cast<float>((view.half - view.scale * q[1]) * kS);
    z_[i] = static_cast<float>(q[2]);
    for (int r = 0; r < 3; ++r) {
      n_[i][r] = static_cast<float>(m[r][0] * v.normal[0] + m[r][1] * v.normal[1] + m[r][2] * v.normal[2]);
    }
  }
}

FrameRenderer::Region FrameRenderer::Bounds(int width, int height) const {
  if (x_.empty()) return {};
  const auto [xl, xh] = std::minmax_element(x_.begin(), x_.end());
  const auto [yl, yh] = std::minmax_element(y_.begin(), y_.end());
  auto pixel = [](float samples, float round, int limit) {
    return static_cast<int>(std::clamp(std::floor(samples / kS) + round, 0.0f, static_cast<float>(limit)));
  };
  return {pixel(*xl, 0, width), pixel(*yl, 0, height), pixel(*xh, 1, width), pixel(*yh, 1, height)};
}

void FrameRenderer::DrawTriangle(uint32_t index, const Triangle& t, bool cullBackFace) {
  const uint32_t a = t.vertex[0], b = t.vertex[1], c = t.vertex[2];
  const double ax = x_[a], ay = y_[a], bx = x_[b], by = y_[b], cx = x_[c], cy = y_[c];
  double area = Edge(ax, ay, bx, by, cx, cy);
  if (area == 0 || !std::isfinite(area)) return;
  // Pixel rows run down the picture: counter-clockwise seen by the camera is
  // a negative area here.
  if (cullBackFace && area > 0) return;
  const double sign = area < 0 ? -1 : 1;
  area *= sign;
  // Samples sit at half-integers of the sample grid.
  const int sx0 = std::max(region_.x0 * kS, static_cast<int>(std::ceil(std::min({ax, bx, cx}) - 0.5)));
  const int sy0 = std::max(region_.y0 * kS, static_cast<int>(std::ceil(std::min({ay, by, cy}) - 0.5)));
  const int sx1 = std::min(region_.x1 * kS - 1, static_cast<int>(std::floor(std::max({ax, bx, cx}) - 0.5)));
  const int sy1 = std::min(region_.y1 * kS - 1, static_cast<int>(std::floor(std::max({ay, by, cy}) - 0.5)));
  if (sx0 > sx1 || sy0 > sy1) return;
  const double za = z_[a], zb = z_[b], zc = z_[c];
  // Per-sample steps of the three edge functions along a row.
  const double d0 = -(cy - by) * sign, d1 = -(ay - cy) * sign, d2 = -(by - ay) * sign;
  const double dz = (d0 * za + d1 * zb + d2 * zc) / area;
  for (int sy = sy0; sy <= sy1; ++sy) {
    const double py = sy + 0.5, px = sx0 + 0.5;
    double w0 = Edge(bx, by, cx, cy, px, py) * sign;
    double w1 = Edge(cx, cy, ax, ay, px, py) * sign;
    double w2 = Edge(ax, ay, bx, by, px, py) * sign;
    int first = sx0, last = sx1;
    // Narrow rows are cheaper to test sample by sample than to bound.
    if (sx1 - sx0 > kSpanWorthwhile &&
        (!Span(w0, d0, sx0, first, last) || !Span(w1, d1, sx0, first, last) || !Span(w2, d2, sx0, first, last))) {
      continue;
    }
    const int skip = first - sx0;
    w0 += d0 * skip, w1 += d1 * skip, w2 += d2 * skip;
    double z = (w0 * za + w1 * zb + w2 * zc) / area;
    // From the span's first sample on: a pointer may not step back before
    // the buffers, which begin at the region's first column.
    float* depth = &depth_[SampleIndex(first, sy)];
    uint32_t* id = &id_[SampleIndex(first, sy)];
    for (int sx = first; sx <= last; ++sx, w0 += d0, w1 += d1, w2 += d2, z += dz) {
      if (w0 < 0 || w1 < 0 || w2 < 0) continue;
      const auto zf = static_cast<float>(z);
      if (zf > depth[sx - first]) {
        depth[sx - first] = zf;
        id[sx - first] = index + 1;
      }
    }
  }
}

void FrameRenderer::ResolvePixel(const Scene& scene, int px, int py, std::array<uint8_t, 3> key, float boost,
                                 uint8_t* out) const {
  struct Hit {
    uint32_t id;
    int count;
    float sx, sy;  // sum of sample positions
  };
  Hit hits[kSamplesPerPixel];
  int distinct = 0;
  for (int j = 0; j < kS; ++j) {
    const int sy = py * kS + j;
    for (int i = 0; i < kS; ++i) {
      const int sx = px * kS + i;
      const uint32_t id = id_[SampleIndex(sx, sy)];
      int h = 0;
      while (h < distinct && hits[h].id != id) ++h;
      if (h == distinct) hits[distinct++] = {id, 0, 0, 0};
      ++hits[h].count;
      hits[h].sx += sx + 0.5f;
      hits[h].sy += sy + 0.5f;
    }
  }
  int sum[3] = {0, 0, 0};
  for (int h = 0; h < distinct; ++h) {
    std::array<uint8_t, 3> colour = key;
    if (hits[h].id != 0) {
      const Triangle& t = scene.triangles[hits[h].id - 1];
      const uint32_t a = t.vertex[0], b = t.vertex[1], c = t.vertex[2];
      const double qx = hits[h].sx / hits[h].count, qy = hits[h].sy / hits[h].count;
      // Barycentric weights at the samples' centroid, clamped onto the triangle.
      double w[3] = {Edge(x_[b], y_[b], x_[c], y_[c], qx, qy), Edge(x_[c], y_[c], x_[a], y_[a], qx, qy),
                     Edge(x_[a], y_[a], x_[b], y_[b], qx, qy)};
      const double area = w[0] + w[1] + w[2];
      double total = 0;
      for (double& v : w) total += (v = std::max(0.0, v / area));
      for (double& v : w) v = total > 0 ? v / total : 1.0 / 3;
      SurfacePoint p{};
      const Vertex* vs[3] = {&scene.vertices[a], &scene.vertices[b], &scene.vertices[c]};
      const uint32_t ids[3] = {a, b, c};
      for (int k = 0; k < 3; ++k) {
        const auto wk = static_cast<float>(w[k]);
        for (int r = 0; r < 3; ++r) p.normal[r] += wk * n_[ids[k]][r];
        for (int r = 0; r < 4; ++r) p.vertexColour[r] += wk * vs[k]->colour[r];
        for (int r = 0; r < 2; ++r) p.uv[r] += wk * vs[k]->uv[r];
      }
      const std::array<float, 3> lit = Shade(scene, scene.materials[t.material], p, boost);
      colour = {ToByte(lit[0]), ToByte(lit[1]), ToByte(lit[2])};
    }
    for (int r = 0; r < 3; ++r) sum[r] += colour[r] * hits[h].count;
  }
  for (int r = 0; r < 3; ++r) out[r] = static_cast<uint8_t>((sum[r] + kSamplesPerPixel / 2) / kSamplesPerPixel);
}

FrameImage FrameRenderer::Render(const Scene& scene, const FrameView& view, int cell, std::array<uint8_t, 3> key,
                                 float emissiveBoost) {
  return {cell, RenderRgb(scene, view, cell, cell, key, emissiveBoost)};
}

std::vector<uint8_t> FrameRenderer::RenderRgb(const Scene& scene, const FrameView& view, int width, int height,
                                              std::array<uint8_t, 3> background, float emissiveBoost) {
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
  for (size_t i = 0; i < rgb.size(); i += 3) std::copy(background.begin(), background.end(), rgb.begin() + i);
  Project(scene, view);
  region_ = Bounds(width, height);
  if (region_.x1 <= region_.x0 || region_.y1 <= region_.y0) return rgb;
  stride_ = (region_.x1 - region_.x0) * kS;
  const size_t samples = static_cast<size_t>(stride_) * (region_.y1 - region_.y0) * kS;
  depth_.assign(samples, -std::numeric_limits<float>::infinity());
  id_.assign(samples, 0);
  for (size_t i = 0; i < scene.triangles.size(); ++i) {
    const Triangle& t = scene.triangles[i];
    DrawTriangle(static_cast<uint32_t>(i), t, !scene.materials[t.material].doubleSided);
  }
  for (int py = region_.y0; py < region_.y1; ++py) {
    for (int px = region_.x0; px < region_.x1; ++px) {
      ResolvePixel(scene, px, py, background, emissiveBoost, &rgb[(static_cast<size_t>(py) * width + px) * 3]);
    }
  }
  return rgb;
}

}  // namespace velkor::render
