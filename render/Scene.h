#pragma once
// A model flattened for rendering: every node transform applied, triangles
// only, one material per triangle, textures decoded to RGBA. The loader
// helper produces it from a model file; our own sample car builds it in code.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "render/Axes.h"

namespace velkor::render {

struct Vertex {
  std::array<float, 3> position{};
  std::array<float, 3> normal{0, 1, 0};
  std::array<float, 4> colour{1, 1, 1, 1};  // vertex colour, linear 0..1
  std::array<float, 2> uv{};
};

struct Triangle {
  std::array<uint32_t, 3> vertex{};
  uint32_t material = 0;
};

struct Material {
  std::array<float, 4> baseColour{1, 1, 1, 1};
  std::array<float, 3> emissive{};
  int32_t texture = -1;  // index into Scene::textures, -1 for none
  // Single-sided faces (glTF's default) are seen from the side their corners
  // run counter-clockwise only; formats that do not say are double-sided.
  bool doubleSided = true;
};

// Rows top-down, R,G,B,A bytes per texel.
struct Texture {
  uint32_t width = 0, height = 0;
  std::vector<uint8_t> rgba;
};

struct Scene {
  std::vector<Vertex> vertices;
  std::vector<Triangle> triangles;
  std::vector<Material> materials;
  std::vector<Texture> textures;
  // Which way the file says its model stands, where it says so (FBX's axis
  // settings; glTF and COLLADA, which the loader brings to +Y up).
  std::optional<Axis> declaredUp, declaredFront;
};

}  // namespace velkor::render
