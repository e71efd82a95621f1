#pragma once
// Frames leave the renderer as 24-bit BMP files, encoded by the image codec.
// They are written into a folder out of sight (platform::StagedFolder), which
// syncs them to disk together and puts them in place only when all are
// complete.
#include <string>

#include "render/FrameImage.h"

namespace velkor::render {

// False with a message naming the file.
bool WriteFrameBmp(const FrameImage& frame, const std::string& path, std::string& error);

}  // namespace velkor::render
