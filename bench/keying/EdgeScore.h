#pragma once
// Scores a keyed raster's edges against the true alpha: the edge band is every
// pixel whose true or produced alpha lies strictly between 0 and 255, grown by
// one pixel. Over it, the mean |alpha - true alpha|, and over its visible
// pixels (alpha > 0) the mean key spill of the un-premultiplied colour: how far
// the key's dominant channels stand above the others, 0 when they do not, less
// the spill of the true vehicle colour when it is known (paint near the key's
// hue has spill of its own, which no rule should take out).
#include <algorithm>
#include <cstdint>
#include <vector>

#include "pipeline/KeySpill.h"

namespace velkor::edges {

struct EdgeScores {
  double alphaError = 0;  // 0..255
  double spill = 0;       // 0..255
  size_t band = 0, visible = 0;
};

// `keyed` and `truth` are B, G, R, A pixel memory of the same size; the true
// alpha is read from the truth's first byte of each pixel. `vehicle`, when
// given, is the vehicle's colour premultiplied by the true alpha, laid out as
// `keyed`.
inline EdgeScores ScoreEdges(const uint8_t* keyed, const uint8_t* truth, int32_t width, int32_t height,
                             uint32_t keyColour, const uint8_t* vehicle = nullptr) {
  const auto at = [width](int32_t x, int32_t y) { return 4 * (static_cast<size_t>(y) * width + x); };
  const auto partial = [](uint8_t a) { return a > 0 && a < 255; };
  std::vector<uint8_t> seed(static_cast<size_t>(width) * height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      seed[static_cast<size_t>(y) * width + x] = partial(keyed[at(x, y) + 3]) || partial(truth[at(x, y)]);
  const KeyModel model = ModelOfKey(keyColour);
  EdgeScores s;
  double error = 0, spill = 0;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      bool inBand = false;
      for (int32_t j = std::max(0, y - 1); j <= std::min(height - 1, y + 1) && !inBand; ++j)
        for (int32_t i = std::max(0, x - 1); i <= std::min(width - 1, x + 1) && !inBand; ++i)
          inBand = seed[static_cast<size_t>(j) * width + i] != 0;
      if (!inBand) continue;
      const uint8_t* p = keyed + at(x, y);
      ++s.band;
      error += std::abs(int{p[3]} - int{truth[at(x, y)]});
      if (p[3] == 0) continue;
      ++s.visible;
      const auto straight = [](const uint8_t* q, uint8_t a) {
        const auto channel = [&](int c) { return std::min(255.0f, q[c] * 255.0f / a); };
        return Bgr{channel(0), channel(1), channel(2)};
      };
      const uint8_t trueAlpha = truth[at(x, y)];
      const float own =
          vehicle && trueAlpha ? std::max(0.0f, Spill(model, straight(vehicle + at(x, y), trueAlpha))) : 0;
      spill += std::max(0.0f, Spill(model, straight(p, p[3])) - own);
    }
  }
  s.alphaError = s.band ? error / static_cast<double>(s.band) : 0;
  s.spill = s.visible ? spill / static_cast<double>(s.visible) : 0;
  return s;
}

}  // namespace velkor::edges
