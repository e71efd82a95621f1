#pragma once
// What a model may claim before we refuse it. Downloaded models are hostile
// input: every count the loader reports is checked against these before
// anything is allocated for it.
#include <cstdint>

namespace velkor::render {

inline constexpr uint64_t kMaxTriangles = 2'000'000;
inline constexpr uint64_t kMaxVertices = 3 * kMaxTriangles;
inline constexpr uint64_t kMaxMaterials = 65'536;
inline constexpr uint64_t kMaxTextures = 1'024;
inline constexpr uint64_t kMaxTexturePixels = 16ull << 20;       // per texture
inline constexpr uint64_t kMaxTotalTexturePixels = 64ull << 20;  // all textures together
// The loader helper's address-space limit and wall-clock limit.
inline constexpr uint64_t kLoaderMemoryBytes = 3ull << 30;
inline constexpr int kLoaderTimeoutSeconds = 20;

}  // namespace velkor::render
