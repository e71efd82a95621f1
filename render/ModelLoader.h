#pragma once
// Loads a model file into a Scene through the loader helper process
// (velkor-model-loader, see platform::HelperProgram), so that whatever a
// malformed file does to Assimp - crash, hang, exhaust memory - ends as an
// error message here. Everything the helper sends is validated.
#include <string>
#include <vector>

#include "render/Scene.h"

namespace velkor::render {

// The helper's path: beside the running executable, or installed in libexec.
std::string LoaderExecutable();

// False with a message naming `path` and the problem.
bool LoadModel(const std::string& path, Scene& scene, std::string& error);

// The file name patterns the loader reads ("*.3ds", "*.obj", ...), as Assimp
// lists them, asked of the helper once; a few well-known ones when it cannot
// be asked.
const std::vector<std::string>& ModelFilePatterns();

}  // namespace velkor::render
