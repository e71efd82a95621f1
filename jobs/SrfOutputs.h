#pragma once
// A finished SRF taken out of the program: a turning GIF, a thumbnail; and
// the bundled assets the program is built with.
#include <string>

#include "jobs/Progress.h"
#include "jobs/Result.h"

namespace velkor {

// The 36 headings of the SRF's 3D set as a looping animated GIF.
Result<Done> WriteGif(const std::string& srfPath, const std::string& gifPath, Progress& progress);
// A PNG of the vehicle at heading 0, at most `size` pixels across.
Result<Done> WriteThumbnail(const std::string& srfPath, const std::string& pngPath, int size);
// The sample vehicle's frame sets in `folder`; the device screen picture.
Result<Done> MakeSampleFrames(const std::string& folder);
Result<Done> MakeDeviceScreen(const std::string& bmpPath);

}  // namespace velkor
