#pragma once

#include <string>

#include "sample/RgbImage.h"

namespace velkor::sample {

// Oblique3D: seen from above and behind, as a sat-nav shows its 3D map.
// Top2D: seen straight from above.
enum class View { Oblique3D, Top2D };

// Frame files are named prefix + four-digit frame number + ".bmp".
inline constexpr const char* kSamplePrefix = "car";
inline constexpr int kSampleFrameCount = 36;
inline constexpr int kSampleHeadingStep = 10;  // degrees between frames

// The bundled car on the key colour, size x size pixels. Heading 0 points up
// the picture (north); larger headings turn the car clockwise. Any integer
// heading is accepted (370 is 10). A size below 1 gives an empty picture.
RgbImage RenderVehicle(View view, int size, int headingDegrees, bool lightsOn);

// Writes the whole set of sample frames under `dir`, creating folders:
//   Rotation/                 3D,  400 px, lights off
//   Rotation/Top/             top, 350 px, lights off
//   Animated/Rotation/        3D,  450 px, lights off
//   Animated/Rotation/Top/    top, 400 px, lights off
//   Animated/Animation/       3D,  450 px, lights on
//   Animated/Animation/Top/   top, 400 px, lights on
// each holding car0000.bmp .. car0035.bmp, frame i at heading 10 * i.
// On failure returns false with a message naming the file or folder.
bool WriteSampleFrames(const std::string& dir, std::string& error);

}  // namespace velkor::sample
