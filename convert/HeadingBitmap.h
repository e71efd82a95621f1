#pragma once
// Heading frames as FreeImage bitmaps, for the pictures made from an SRF file
// outside the device: thumbnails and animated GIFs.
#include <FreeImage.h>

#include "srf/SrfHeadings.h"

namespace velkor {

// A 32-bit bitmap of the frame, colours still premultiplied; null when it
// cannot be allocated. The caller unloads it.
FIBITMAP* HeadingToBitmap(const HeadingFrame& frame);

// Divides a 32-bit bitmap's colours by their alpha, as PNG files store them.
void UnpremultiplyBitmap(FIBITMAP* bitmap);

// A 24-bit bitmap of the frame over the map-like background of
// MapBackgroundPixel; null when it cannot be allocated.
FIBITMAP* HeadingOverMap(const HeadingFrame& frame);

// The background GIFs are drawn on, for a width x height picture: light
// beige land with a grey road across the middle and a dashed centre line.
// R, G, B of pixel (x, y), y counted from the top.
void MapBackgroundPixel(int x, int y, int width, int height, uint8_t rgb[3]);

}  // namespace velkor
