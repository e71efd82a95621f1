#pragma once
// The turning icon as an animated GIF anyone can open: the 36 headings of an
// SRF file's 3D set over a map-like background (GIF has no soft alpha),
// looping for ever.
#include <string>
#include <vector>

#include "srf/SrfHeadings.h"

namespace velkor {

inline constexpr int kGifFrameTimeMs = 100;  // a full turn in 3.6 s

// Writes `frames` as a looping GIF, beside `gifFile` first and renamed over it
// when complete. False with `error` set when it cannot be written.
bool WriteAnimatedGif(const std::vector<HeadingFrame>& frames, const std::string& gifFile, std::string& error);

// LoadSRFHeadings then WriteAnimatedGif; false with `error` set when the SRF
// cannot be read or the GIF written.
bool WriteSRFAsGif(const std::string& srfFile, const std::string& gifFile, std::string& error);

}  // namespace velkor
