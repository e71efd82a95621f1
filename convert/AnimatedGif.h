#pragma once
// The turning icon as an animated GIF anyone can open: the 36 headings of an
// SRF file's 3D set over a map-like background (GIF has no soft alpha),
// looping for ever. Encoded with giflib, the system's library on the desktop
// and the same Debian source compiled into the web page's engine, so both
// make the same file.
#include <cstdint>
#include <string>
#include <vector>

#include "srf/SrfHeadings.h"

namespace velkor {

inline constexpr int kGifFrameTimeMs = 100;  // a full turn in 3.6 s

// The GIF's bytes: each frame over the map (MapBackgroundPixel), quantized to
// a palette of its own of at most 256 colours. Empty when there are no frames
// or they cannot be encoded.
std::vector<uint8_t> EncodeAnimatedGif(const std::vector<HeadingFrame>& frames);

// Writes `frames` as a looping GIF, beside `gifFile` first and renamed over it
// when complete. False with `error` set when it cannot be written.
bool WriteAnimatedGif(const std::vector<HeadingFrame>& frames, const std::string& gifFile, std::string& error);

// LoadSRFHeadings then WriteAnimatedGif; false with `error` set when the SRF
// cannot be read or the GIF written.
bool WriteSRFAsGif(const std::string& srfFile, const std::string& gifFile, std::string& error);

// The background GIFs are drawn on, for a width x height picture: light
// beige land with a grey road across the middle and a dashed centre line.
// R, G, B of pixel (x, y), y counted from the top.
void MapBackgroundPixel(int x, int y, int width, int height, uint8_t rgb[3]);

}  // namespace velkor
