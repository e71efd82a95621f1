#pragma once
// Checks for SRF files that come from outside the program: files a file
// manager hands to the thumbnailer, files about to be copied to a device.
// Reading is bounded: a file larger than any real SRF is refused by its size
// before a byte of it is read.
#include <cstdint>
#include <string>
#include <vector>

#include "srf/modSRFFileFormat.h"

namespace velkor {

// An animated SRF is about 3 MB; anything far beyond that is not an SRF.
inline constexpr int64_t kMaxSRFFileBytes = int64_t{16} << 20;

// The whole file when it is a regular file of at most `maxBytes`; raises a
// VbError naming the file otherwise (missing, a folder or device, too large).
std::vector<uint8_t> ReadSRFBytesWithin(const std::string& path, int64_t maxBytes = kMaxSRFFileBytes);

// Raises a VbError unless the header starts "GARMIN BITMAP 01" and counts 2
// (static) or 4 (animated) images.
void RequireSRFHeader(const SRFHeader& header, const std::string& path);

// "" when `bytes` (the file `path`) are a complete SRF file whose records all
// read and whose last byte matches the checksum of the bytes before it;
// otherwise why not.
std::string SRFBytesProblem(const std::vector<uint8_t>& bytes, const std::string& path);

// SRFBytesProblem of the file, read with ReadSRFBytesWithin.
std::string SRFFileProblem(const std::string& path);

}  // namespace velkor
