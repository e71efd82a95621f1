#pragma once
// Heading frames as FreeImage bitmaps, for the thumbnails of SRF files.
#include <FreeImage.h>

#include "srf/SrfHeadings.h"

namespace velkor {

// A 32-bit bitmap of the frame, colours still premultiplied; null when it
// cannot be allocated. The caller unloads it.
FIBITMAP* HeadingToBitmap(const HeadingFrame& frame);

// Divides a 32-bit bitmap's colours by their alpha, as PNG files store them.
void UnpremultiplyBitmap(FIBITMAP* bitmap);

}  // namespace velkor
