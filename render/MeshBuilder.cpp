#include "render/MeshBuilder.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace velkor::render {

namespace {

Point Sub(Point a, Point b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Point Cross(Point a, Point b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

}  // namespace

void AddFace(Scene& scene, std::initializer_list<Point> corners, uint32_t material) {
  const std::vector<Point> c(corners);
  Point n{};
  for (size_t i = 2; i < c.size(); ++i) {
    const Point k = Cross(Sub(c[i - 1], c[0]), Sub(c[i], c[0]));
    for (int a = 0; a < 3; ++a) n[a] += k[a];
  }
  const float len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  if (len > 0) n = {n[0] / len, n[1] / len, n[2] / len};
  const auto base = static_cast<uint32_t>(scene.vertices.size());
  for (const Point& p : c) {
    Vertex v;
    v.position = p;
    v.normal = n;
    scene.vertices.push_back(v);
  }
  for (uint32_t i = 2; i < c.size(); ++i) scene.triangles.push_back({{base, base + i - 1, base + i}, material});
}

void AddHexahedron(Scene& scene, const std::array<Point, 4>& b, const std::array<Point, 4>& t, uint32_t material) {
  AddFace(scene, {b[3], b[2], b[1], b[0]}, material);  // faces down
  AddFace(scene, {t[0], t[1], t[2], t[3]}, material);  // faces up
  for (int i = 0; i < 4; ++i) {
    const int j = (i + 1) % 4;
    AddFace(scene, {b[i], b[j], t[j], t[i]}, material);
  }
}

void AddBox(Scene& scene, Point lo, Point hi, uint32_t material) {
  auto quad = [&](float y) {
    return std::array<Point, 4>{Point{lo[0], y, hi[2]}, Point{hi[0], y, hi[2]}, Point{hi[0], y, lo[2]},
                                Point{lo[0], y, lo[2]}};
  };
  AddHexahedron(scene, quad(lo[1]), quad(hi[1]), material);
}

void AddWheel(Scene& scene, Point centre, float radius, float width, int sides, uint32_t material) {
  std::vector<Point> left, right;
  for (int i = 0; i < sides; ++i) {
    const double a = 2 * std::numbers::pi * (i + 0.5) / sides;
    const auto y = static_cast<float>(centre[1] + radius * std::cos(a));
    const auto z = static_cast<float>(centre[2] + radius * std::sin(a));
    left.push_back({centre[0] - width / 2, y, z});
    right.push_back({centre[0] + width / 2, y, z});
  }
  for (int i = 0; i < sides; ++i) {
    const int j = (i + 1) % sides;
    AddFace(scene, {left[i], left[j], right[j], right[i]}, material);
  }
  for (int i = 2; i < sides; ++i) {
    AddFace(scene, {right[0], right[i - 1], right[i]}, material);
    AddFace(scene, {left[0], left[i], left[i - 1]}, material);
  }
}

uint32_t AddMaterial(Scene& scene, std::array<float, 3> colour, std::array<float, 3> emissive) {
  Material m;
  m.baseColour = {colour[0], colour[1], colour[2], 1};
  m.emissive = emissive;
  scene.materials.push_back(m);
  return static_cast<uint32_t>(scene.materials.size() - 1);
}

}  // namespace velkor::render
