#pragma once
#include <string>

namespace velkor {

// The file prefix of the frames in `folder`: the name of the first BMP file
// the folder listing gives, cut before its first '.', less the digits at its
// end ("car0000.bmp" gives "car", "view.5.bmp" "view", "0001.bmp" ""). The
// empty text when the folder holds no BMP file.
std::string GuessPrefix(const std::string& folder);

}  // namespace velkor
