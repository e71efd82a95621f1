#pragma once
// SRF files of an icon: its bytes, and the file written safely beside its
// target.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "jobs/Progress.h"
#include "jobs/Result.h"
#include "raster/cAlphaDibSection.h"
#include "srf/SrfVersion.h"

namespace velkor {

inline constexpr const char* kNoVehicleMessage = "The picture has no vehicle in it: every pixel is transparent.";
inline constexpr const char* kNothingWrittenStatus = "Status: Nothing written...";

// A Failure when `icon` shows nothing in `version` (a key colour that matched
// the whole picture, or frames that were never there): no device should get it.
Result<Done> CheckSrfHasVehicle(const cAlphaDibSection& icon, const SrfVersion& version, Progress& progress);

// "Status: Writing SRF..." or "Status: Writing ASRF...", shown before a save.
std::string SrfWritingStatus(const SrfVersion& version);

// The file's bytes with its checksum byte. The records are cut from the
// bottom rows and left columns of `icon`: a Failure when it is smaller than
// the device size.
Result<std::vector<uint8_t>> EncodeSrf(const cAlphaDibSection& icon, const SrfVersion& version, Progress& progress);

// `icon` as a file of `version` at `path`, written beside it and put in its
// place only when complete, so a failed save never damages an existing file.
Result<Done> WriteSrf(const cAlphaDibSection& icon, const SrfVersion& version, const std::string& path,
                      Progress& progress);

// The picture of a static (or with `animated` an animated) SRF file, with
// the reader's statuses; a Failure naming the file and the problem when it
// cannot be read or is of the other kind.
Result<std::unique_ptr<cAlphaDibSection>> ReadSrf(const std::string& path, bool animated, Progress& progress);

}  // namespace velkor
