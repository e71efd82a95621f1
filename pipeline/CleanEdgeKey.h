#pragma once
// The clean edges rule over pixel memory: every pixel of the boundary between
// the vehicle and the background loses exactly the part of it that is key
// colour, and keeps the rest as premultiplied colour with that part's
// complement as alpha; every other pixel keeps its colour and is opaque. No
// window, no progress: a pure function.
#include <cstdint>

#include "pipeline/KeyBand.h"
#include "pipeline/KeySpill.h"

namespace velkor {

class CleanEdgeKeyer {
 public:
  // Reads the whole of `source`: width x height pixels B, G, R, A, 4 * width
  // bytes a row. It is read again by KeyRow and must neither change nor be
  // the destination.
  CleanEdgeKeyer(const uint8_t* source, int32_t width, int32_t height, uint32_t keyColour);

  // Keys memory row `row` of the source into the same row of `destination`
  // (laid out as the source).
  void KeyRow(int32_t row, uint8_t* destination) const;

  // The alpha of the pixel at (x, row).
  float Alpha(int32_t x, int32_t row) const;

 private:
  float NeighbourAlpha(int32_t x, int32_t row, const Bgr& fromKey, float fallback, int32_t radius) const;
  const uint8_t* At(int32_t x, int32_t row) const { return source_ + (static_cast<int64_t>(row) * width_ + x) * 4; }

  const uint8_t* source_;
  int32_t width_, height_;
  KeyModel model_;
  PixelClasses classes_;
};

// The pixel's premultiplied colour and alpha for `alpha`: C - (1 - a) K, each
// channel rounded (ties to even) and kept within 0..alpha.
void WriteKeyedPixel(const KeyModel& model, const uint8_t* in, float alpha, uint8_t* out);

}  // namespace velkor
