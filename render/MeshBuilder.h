#pragma once
// Flat-shaded solids for scenes built in code (the sample car, test models,
// benchmark models): each face gets its own vertices and its own normal.
#include <array>
#include <cstdint>

#include "render/Scene.h"

namespace velkor::render {

using Point = std::array<float, 3>;

// A convex polygon, corners in order; its normal follows the right-hand rule.
void AddFace(Scene& scene, std::initializer_list<Point> corners, uint32_t material);

// A solid from its bottom and top quads (corners counter-clockwise seen from
// above, +Y up): boxes, tapers, wedges.
void AddHexahedron(Scene& scene, const std::array<Point, 4>& bottom, const std::array<Point, 4>& top,
                   uint32_t material);
void AddBox(Scene& scene, Point lo, Point hi, uint32_t material);

// A wheel: a `sides`-sided prism along X, centred on `centre`.
void AddWheel(Scene& scene, Point centre, float radius, float width, int sides, uint32_t material);

uint32_t AddMaterial(Scene& scene, std::array<float, 3> colour, std::array<float, 3> emissive = {0, 0, 0});

}  // namespace velkor::render
