#pragma once
// The composite strip's geometry: one band per frame set, 36 square cells per
// band, at five times the device file's pixel size.
#include <cstdint>
#include <optional>
#include <string>

#include "srf/SrfVersion.h"

namespace velkor {

struct StripLayout {
  int32_t cell3D = 0;  // S: cell edge of the 3D sets
  int32_t cell2D = 0;  // D: cell edge of the 2D sets
  int32_t width = 0;
  int32_t height = 0;
};

// The working image's size when no command chose another (Load Image into an
// empty image, the viewer's canvas): the 2.20 strip.
inline constexpr RasterSize kCanvasSize{14400, 750};

// Static: 400/400 for "1.00" and "2.00", 400/350 otherwise, strip 36 S by
// S + D. Animated: only "1.00", 450/400, strip 36 S + 10 by 2 (S + D); any
// other version gives none.
std::optional<StripLayout> StripLayoutFor(bool animated, const std::string& version);

// Top picture row of set `set`'s band: 3D rotation, 2D rotation, 3D
// animation, 2D animation, stacked in this order.
int32_t BandTop(const StripLayout& layout, int set);

}  // namespace velkor
