#include "pipeline/StripLayout.h"

namespace velkor {

std::optional<StripLayout> StripLayoutFor(bool animated, const std::string& version) {
  if (animated) {
    if (version != "1.00") return std::nullopt;
    // Ten columns beyond the last cell that no frame covers.
    return StripLayout{450, 400, kFramesPerSet * 450 + 10, 2 * (450 + 400)};
  }
  const int32_t cell2D = (version == "1.00" || version == "2.00") ? 400 : 350;
  return StripLayout{400, cell2D, kFramesPerSet * 400, 400 + cell2D};
}

}  // namespace velkor
