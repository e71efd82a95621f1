#pragma once

#include <string>

#include "sample/RgbImage.h"

namespace velkor::sample {

// The preview background: a stylised sat-nav screen showing a street map,
// the route in a bold colour and a status bar along the top.
inline constexpr int kScreenWidth = 480;
inline constexpr int kScreenHeight = 272;
inline constexpr int kStatusBarHeight = 28;
// Where the vehicle icon sits: an 80 x 80 cell whose top-left is (291, 207).
// It runs past the bottom of the screen; the route starts at its centre.
inline constexpr int kIconCellX = 291;
inline constexpr int kIconCellY = 207;
inline constexpr int kIconCellSize = 80;

inline constexpr Rgb kRouteColour{214, 36, 188};
inline constexpr Rgb kStatusBarColour{26, 30, 38};
inline constexpr Rgb kStatusTextColour{255, 255, 255};
inline constexpr Rgb kLandColour{242, 238, 228};

RgbImage RenderDeviceScreen();

// Renders the screen and writes it as a 24-bit BMP. On failure returns false
// with a message naming the file.
bool WriteDeviceScreen(const std::string& path, std::string& error);

}  // namespace velkor::sample
