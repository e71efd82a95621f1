#pragma once
// Textures for the flattened scene, decoded through FreeImage: embedded
// (compressed bytes or raw texels) or a file beside the model.
#include <cstdint>
#include <string>

#include "render/Scene.h"

struct aiTexture;

namespace velkor::render {

bool DecodeEmbeddedTexture(const aiTexture& texture, Texture& out, std::string& error);
bool DecodeTextureFile(const std::string& path, Texture& out, std::string& error);

}  // namespace velkor::render
