#pragma once
// The clean edges rule over pixel memory: every pixel loses exactly the part
// of it that is key colour, and keeps the rest as premultiplied colour with
// that part's complement as alpha. No window, no progress: a pure function.
#include <cstdint>

#include "pipeline/KeySpill.h"

namespace velkor {

// Keys memory rows [firstRow, lastRow) of `source` into the same rows of
// `destination`. Both hold width x height pixels B, G, R, A, 4 * width bytes
// a row; the source is read (up to two rows beyond the range) and never
// written, so it must not be the destination.
void CleanEdgeKeyRows(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                      uint32_t keyColour, int32_t firstRow, int32_t lastRow);

// The alpha of the pixel at (x, row): its own estimate, refined from the
// vehicle colours next to it when it is an edge pixel.
float CleanEdgeAlpha(const KeyModel& model, const uint8_t* source, int32_t width, int32_t height, int32_t x,
                     int32_t row);

// The pixel's premultiplied colour and alpha for `alpha`: C - (1 - a) K, each
// channel rounded (ties to even) and kept within 0..alpha.
void WriteKeyedPixel(const KeyModel& model, const uint8_t* in, float alpha, uint8_t* out);

}  // namespace velkor
