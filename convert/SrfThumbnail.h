#pragma once
// The picture file managers show for an SRF file: the vehicle at heading 0
// on a transparent background, as a PNG.
#include <string>

namespace velkor {

inline constexpr int kMaxThumbnailSize = 1024;

// The side of the square thumbnail for a frame of `frameSize` pixels when
// `requested` is asked for: smaller frames are enlarged by whole steps (so
// their pixels stay crisp), larger ones shrunk to fit; never above `requested`.
int ThumbnailSide(int frameSize, int requested);

// Writes the PNG (replaced only when complete); false with `error` set, and
// no file written, when the SRF cannot be read or `size` is outside
// 1..kMaxThumbnailSize.
bool WriteSRFThumbnail(const std::string& srfFile, const std::string& pngFile, int size, std::string& error);

}  // namespace velkor
