// The renderer's reader of the model loader's output: whatever bytes a
// misbehaving loader sends, the decoder refuses or accepts them without
// reading out of bounds, and an accepted scene is internally consistent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "FuzzSupport.h"
#include "render/MeshBuilder.h"
#include "render/SceneCodec.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  velkor::render::Scene box;
  const uint32_t m = velkor::render::AddMaterial(box, {0.5f, 0.5f, 0.5f}, {0.1f, 0, 0});
  velkor::render::AddBox(box, {-1, 0, -2}, {1, 1, 2}, m);
  velkor::render::Scene textured = box;
  textured.materials[0].texture = 0;
  textured.textures.push_back({2, 2, std::vector<uint8_t>(16, 200)});
  velkor::fuzz::MaybeWriteSeeds({velkor::render::EncodeScene(box), velkor::render::EncodeScene(textured)});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  velkor::render::Scene scene;
  std::string error;
  if (!velkor::render::DecodeScene(data, size, scene, error)) return 0;
  for (const velkor::render::Triangle& t : scene.triangles) {
    for (uint32_t v : t.vertex) {
      if (v >= scene.vertices.size()) std::abort();
    }
    if (t.material >= scene.materials.size()) std::abort();
  }
  // A decoded scene encodes back to the very same bytes.
  if (velkor::render::EncodeScene(scene) != std::vector<uint8_t>(data, data + size)) std::abort();
  return 0;
}
