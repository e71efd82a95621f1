#pragma once
// Reads a model file with Assimp and flattens it into a Scene. Runs only in
// the loader helper process: Assimp may crash or hang on malformed files.
#include <string>

#include "render/Scene.h"

namespace velkor::render {

// False with a reason (without the file name) when the file cannot be read.
bool ImportWithAssimp(const std::string& path, Scene& scene, std::string& error);

// Why a model could not be read when memory ran out: the loader's limit.
std::string MemoryLimitReason();

// Every file name pattern Assimp reads, "*.3ds;*.obj;...".
std::string ImporterExtensions();

}  // namespace velkor::render
