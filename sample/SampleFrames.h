#pragma once
// The sample vehicle's model file and its frame sets, made at build time by
// `velkor-cli sample-frames DIR`:
//   car.glb                   the model, written by our glTF writer
//   Rotation/                 3D, 400 px        Rotation/Top/             2D, 350 px
//   Animated/Rotation/        3D, 450 px        Animated/Rotation/Top/    2D, 400 px
//   Animated/Animation/       3D, 450 px, lights on
//   Animated/Animation/Top/   2D, 400 px, lights on
// each holding car0000.bmp .. car0035.bmp. The frames are rendered from the
// written file, read back through the model loader like any user's model.
#include <string>

namespace velkor::sample {

inline constexpr const char* kSamplePrefix = "car";
inline constexpr const char* kSampleModelName = "car.glb";

// False with a message naming the file or folder.
bool WriteSampleFrames(const std::string& dir, std::string& error);

}  // namespace velkor::sample
