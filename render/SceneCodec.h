#pragma once
// The flattened scene as bytes: what the loader helper writes to its pipe and
// the renderer reads back. Little-endian, fixed-size records:
//   "VKSC" u32 version=2, u32 vertices, u32 triangles, u32 materials, u32 textures
//   vertices  × 12 f32 (position 3, normal 3, colour 4, uv 2)
//   triangles × 4 u32  (three vertex indices, material)
//   materials × (8 f32: base colour 4, emissive 3, texture as i32 bits; u32 flags: 1 single-sided)
//   textures  × (u32 width, u32 height, width·height·4 bytes RGBA)
//   u32 declared up, u32 declared front (0..5 as render::Axis, 0xFFFFFFFF none)
// The decoder trusts nothing: counts within SceneLimits, every number finite,
// every index in range, lengths exact.
#include <cstdint>
#include <string>
#include <vector>

#include "render/Scene.h"

namespace velkor::render {

std::vector<uint8_t> EncodeScene(const Scene& scene);

// False with a reason (without the file name) when the bytes are not a
// valid scene; `scene` is then unspecified.
bool DecodeScene(const uint8_t* data, size_t size, Scene& scene, std::string& error);

}  // namespace velkor::render
