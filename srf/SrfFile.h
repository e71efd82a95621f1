#pragma once
// An SRF file from a raster, without the checksum byte: the records of the
// version cut from the raster's bottom rows, then header, records and trailer.
#include <cstdint>
#include <optional>
#include <vector>

#include "raster/cAlphaDibSection.h"
#include "srf/SrfVersion.h"
#include "srf/modSRFFileFormat.h"

namespace velkor {

// The version's records, 3D above 2D (and group 1 above group 2), taken from
// the bottom rows of `raster` whatever its height; none when the raster is
// empty or smaller than the records.
std::optional<std::vector<SRFImage>> EncodeSRFImages(const cAlphaDibSection& raster, const SrfVersion& version);

// True when every pixel those records take from `raster` is written fully
// transparent: an icon with nothing in it. False when the raster is too
// small for them.
bool SRFPictureIsTransparent(const cAlphaDibSection& raster, const SrfVersion& version);

// Header, records and trailer as the file holds them; the checksum byte that
// ends the file is summed from these bytes.
std::vector<uint8_t> EncodeSRFBody(const SrfVersion& version, const std::vector<SRFImage>& images);

}  // namespace velkor
