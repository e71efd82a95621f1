#include "render/Shading.h"

#include <algorithm>
#include <cmath>

namespace velkor::render {

namespace {

constexpr float kAmbient = 0.34f, kKey = 0.62f, kFill = 0.24f;

std::array<float, 3> Normalised(std::array<float, 3> v) {
  const float len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (!(len > 0)) return {0, 0, 1};
  return {v[0] / len, v[1] / len, v[2] / len};
}

const std::array<float, 3> kKeyDirection = Normalised({-0.45f, 0.55f, 0.70f});
const std::array<float, 3> kFillDirection = Normalised({0.70f, -0.10f, 0.50f});

float Dot(const std::array<float, 3>& a, const std::array<float, 3>& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

float Wrap(float t) { return t - std::floor(t); }

// Bilinear, repeating; v counts up from the bottom row as Assimp delivers it.
std::array<float, 3> SampleTexture(const Texture& t, std::array<float, 2> uv) {
  const float fx = Wrap(uv[0]) * static_cast<float>(t.width) - 0.5f;
  const float fy = (1.0f - Wrap(uv[1])) * static_cast<float>(t.height) - 0.5f;
  const float x0f = std::floor(fx), y0f = std::floor(fy);
  const float ax = fx - x0f, ay = fy - y0f;
  auto texel = [&t](int64_t x, int64_t y, int c) {
    const int64_t w = t.width, h = t.height;
    x = ((x % w) + w) % w;
    y = ((y % h) + h) % h;
    return t.rgba[static_cast<size_t>((y * w + x) * 4 + c)] / 255.0f;
  };
  const auto x0 = static_cast<int64_t>(x0f), y0 = static_cast<int64_t>(y0f);
  std::array<float, 3> out{};
  for (int c = 0; c < 3; ++c) {
    const float top = texel(x0, y0, c) * (1 - ax) + texel(x0 + 1, y0, c) * ax;
    const float bottom = texel(x0, y0 + 1, c) * (1 - ax) + texel(x0 + 1, y0 + 1, c) * ax;
    out[c] = top * (1 - ay) + bottom * ay;
  }
  return out;
}

}  // namespace

std::array<float, 3> Shade(const Scene& scene, const Material& material, const SurfacePoint& point,
                           float emissiveBoost) {
  std::array<float, 3> n = Normalised(point.normal);
  if (n[2] < 0) n = {-n[0], -n[1], -n[2]};
  const float light =
      kAmbient + kKey * std::max(0.0f, Dot(n, kKeyDirection)) + kFill * std::max(0.0f, Dot(n, kFillDirection));
  std::array<float, 3> albedo{};
  for (int c = 0; c < 3; ++c) albedo[c] = material.baseColour[c] * point.vertexColour[c];
  if (material.texture >= 0) {
    const std::array<float, 3> texel = SampleTexture(scene.textures[static_cast<size_t>(material.texture)], point.uv);
    for (int c = 0; c < 3; ++c) albedo[c] *= texel[c];
  }
  std::array<float, 3> out{};
  for (int c = 0; c < 3; ++c) {
    out[c] = std::clamp(albedo[c] * light + material.emissive[c] * emissiveBoost, 0.0f, 1.0f);
  }
  return out;
}

}  // namespace velkor::render
