#pragma once
// Frames leave the renderer as 24-bit BMP files, encoded by FreeImage and put
// in place only when complete (platform::SafeFileWriter).
#include <string>

#include "render/FrameImage.h"

namespace velkor::render {

// False with a message naming the file.
bool WriteFrameBmp(const FrameImage& frame, const std::string& path, std::string& error);

}  // namespace velkor::render
