#pragma once
// Moving pixels between the alpha raster and SRF records. Records count rows
// from the top of the picture; the raster stores them bottom-up, so picture
// row y is memory row Height - 1 - y.
#include <cstdint>
#include <string>
#include <vector>

#include "raster/cAlphaDibSection.h"
#include "srf/modSRFFileFormat.h"

namespace velkor {

// A W x H record from picture rows top..top + H - 1, columns 0..W - 1 of the
// raster, which must hold them.
SRFImage EncodeSRFImage(const cAlphaDibSection& raster, int32_t top, int16_t width, int16_t height);

// The picture the readers rebuild: as wide as the wider of the first two
// records, as tall as all records together. Re-creates `raster` at that size;
// raises a VbError naming `path` when the size is not one the records can
// fill or the raster cannot be made.
void CreateSRFRaster(cAlphaDibSection& raster, const std::vector<SRFImage>& images, const std::string& path);

// Colour of the record into picture rows top..top + H - 1, every raster
// column: decoded inside the record's width, white beyond it. The alpha byte
// is left 0, as SetPixel leaves it.
void PaintSRFColors(cAlphaDibSection& raster, const SRFImage& image, int32_t top);

// Alpha of the same rows: decoded inside the record's width, `alphaBeyond`
// to the right of it. The record's codes must have been checked.
void PaintSRFAlpha(cAlphaDibSection& raster, const SRFImage& image, int32_t top, uint8_t alphaBeyond);

}  // namespace velkor
