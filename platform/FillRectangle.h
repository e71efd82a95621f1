#pragma once
#include <cstdint>

#include "platform/GdiTypes.h"

namespace velkor {

// Sets the pixels of columns left..right-1 and rows top..bottom-1 to one
// colour (0x00BBGGRR), outline and inside, with a one-pixel pen and a brush of
// that colour; the context's own pen and brush are put back afterwards.
void FillRectangle(gdi::HDC lhDC, int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t color);

}  // namespace velkor
