#pragma once
// The alpha raster as a picture Qt can paint.
#include <QImage>

#include "raster/cAlphaDibSection.h"

namespace velkor::qt {

// A copy of the raster, rows turned top-down. The fourth byte is ignored:
// the pane shows what a plain block copy would, so every pixel is opaque.
QImage OpaqueImage(const cAlphaDibSection& raster);

}  // namespace velkor::qt
