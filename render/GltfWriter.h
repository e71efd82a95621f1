#pragma once
// Writes a Scene as glTF 2.0: one node, one mesh, one primitive per material,
// positions, normals, vertex colours and texture coordinates in one binary
// buffer, textures as embedded PNGs. Our own output only: reading models is
// Assimp's job.
#include <cstdint>
#include <string>
#include <vector>

#include "render/Scene.h"

namespace velkor::render {

// The binary .glb form, as bytes.
std::vector<uint8_t> GlbBytes(const Scene& scene);

// False with a message naming the file. WriteGltf writes PATH (JSON) and the
// buffer beside it as PATH's stem + ".bin".
bool WriteGlb(const Scene& scene, const std::string& path, std::string& error);
bool WriteGltf(const Scene& scene, const std::string& path, std::string& error);

}  // namespace velkor::render
