#pragma once
// The animated SRF file: the static file's header and image record, four
// records (group 1 and group 2, each a 3D and a 2D strip of 36 frames plus two
// spare columns) and a 160-byte trailer whose last byte is 0.
#include <cstddef>
#include <cstdint>

#include "srf/modSRFFileFormat.h"

namespace velkor {

inline constexpr int32_t kASRFImageCount = 4;
inline constexpr int32_t kASRF3DWidth = 3242;  // 36 * 90 + 2
inline constexpr int32_t kASRF3DHeight = 90;
inline constexpr int32_t kASRF2DWidth = 2882;  // 36 * 80 + 2
inline constexpr int32_t kASRF2DHeight = 80;
inline constexpr int32_t kASRFRows = 2 * (kASRF3DHeight + kASRF2DHeight);  // 340
inline constexpr size_t kASRFTrailerLength = 160;

}  // namespace velkor
