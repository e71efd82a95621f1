#include "sample/SampleCar.h"

#include "render/MeshBuilder.h"

namespace velkor::sample {

using render::AddBox;
using render::AddHexahedron;
using render::AddMaterial;
using render::AddWheel;
using render::Point;
using render::Scene;

namespace {

constexpr float kHalfWidth = 0.9f, kHalfLength = 2.25f;

void AddBody(Scene& s, uint32_t paint, uint32_t trim) {
  AddBox(s, {-kHalfWidth, 0.30f, -kHalfLength}, {kHalfWidth, 0.82f, kHalfLength}, paint);
  // Bumpers: dark bands round the nose and the tail.
  AddBox(s, {-kHalfWidth - 0.01f, 0.28f, kHalfLength - 0.08f}, {kHalfWidth + 0.01f, 0.44f, kHalfLength + 0.04f}, trim);
  AddBox(s, {-kHalfWidth - 0.01f, 0.28f, -kHalfLength - 0.04f}, {kHalfWidth + 0.01f, 0.44f, -kHalfLength + 0.08f},
         trim);
}

// The glasshouse tapers inwards and leans back: windscreen long and raked,
// rear window short and steep.
void AddCabin(Scene& s, uint32_t glass, uint32_t paint) {
  const float y0 = 0.82f, y1 = 1.40f;
  const float w = kHalfWidth - 0.06f;
  const std::array<Point, 4> bottom = {Point{-w, y0, 0.85f}, Point{w, y0, 0.85f}, Point{w, y0, -1.45f},
                                       Point{-w, y0, -1.45f}};
  const std::array<Point, 4> top = {Point{-0.70f, y1, 0.05f}, Point{0.70f, y1, 0.05f}, Point{0.70f, y1, -1.20f},
                                    Point{-0.70f, y1, -1.20f}};
  AddHexahedron(s, bottom, top, glass);
  AddBox(s, {-0.72f, y1, -1.22f}, {0.72f, y1 + 0.05f, 0.07f}, paint);  // roof
}

void AddLamps(Scene& s, uint32_t head, uint32_t tail) {
  for (float side : {-1.0f, 1.0f}) {
    const float inner = 0.45f * side, outer = 0.85f * side;
    AddBox(s, {std::min(inner, outer), 0.60f, kHalfLength - 0.02f},
           {std::max(inner, outer), 0.76f, kHalfLength + 0.03f}, head);
    AddBox(s, {std::min(inner, outer), 0.58f, -kHalfLength - 0.03f},
           {std::max(inner, outer), 0.74f, -kHalfLength + 0.02f}, tail);
  }
}

}  // namespace

Scene BuildSampleCar() {
  Scene s;
  const uint32_t paint = AddMaterial(s, {0.11f, 0.36f, 0.77f});
  const uint32_t glass = AddMaterial(s, {0.20f, 0.24f, 0.31f});
  const uint32_t trim = AddMaterial(s, {0.17f, 0.18f, 0.20f});
  const uint32_t tyre = AddMaterial(s, {0.09f, 0.09f, 0.10f});
  const uint32_t head = AddMaterial(s, {0.55f, 0.55f, 0.45f}, {0.26f, 0.22f, 0.06f});
  const uint32_t tail = AddMaterial(s, {0.46f, 0.05f, 0.08f}, {0.22f, 0.02f, 0.02f});
  AddBody(s, paint, trim);
  AddCabin(s, glass, paint);
  AddLamps(s, head, tail);
  for (float x : {-0.80f, 0.80f}) {
    for (float z : {-1.40f, 1.40f}) AddWheel(s, {x, 0.34f, z}, 0.34f, 0.26f, 12, tyre);
  }
  return s;
}

}  // namespace velkor::sample
