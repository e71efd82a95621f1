#pragma once

#include <string_view>

#include "sample/RgbImage.h"

namespace velkor::sample {

// A tiny 5 x 7 bitmap font for status read-outs: digits, ':', '.', ' ',
// 'k', 'm' and 'N'. Other characters advance like a space.
inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;

// Width in pixels of `text` at `scale` pixels per font dot, one dot apart.
int TextWidth(std::string_view text, int scale);

// Draws `text` with its top-left corner at (x, y); dots outside the picture
// are dropped.
void DrawText(RgbImage& img, int x, int y, std::string_view text, int scale, Rgb colour);

}  // namespace velkor::sample
