#include "pipeline/StripLayout.h"

namespace velkor {

std::optional<StripLayout> StripLayoutFor(bool animated, const std::string& version) {
  if (animated && version != AnimatedSrfVersion().text) return std::nullopt;
  const SrfVersion& v = animated ? AnimatedSrfVersion() : StaticSrfVersion(version);
  const RasterSize strip = v.strip();
  return StripLayout{v.cell3D, v.cell2D, strip.width, strip.height};
}

int32_t BandTop(const StripLayout& layout, int set) {
  const int32_t tops[4] = {0, layout.cell3D, layout.cell3D + layout.cell2D, 2 * layout.cell3D + layout.cell2D};
  return tops[set];
}

}  // namespace velkor
