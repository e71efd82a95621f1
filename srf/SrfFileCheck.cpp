#include "srf/SrfFileCheck.h"

#include <cstring>

#include "common/VbError.h"
#include "platform/Files.h"
#include "srf/SrfRecordIO.h"
#include "srf/modAnimatedSRFFormat.h"

namespace velkor {

std::vector<uint8_t> ReadSRFBytesWithin(const std::string& path, int64_t maxBytes) {
  const std::optional<int64_t> length = platform::FileLength(path);
  if (!length) RaiseSRFReadError(kErrFileNotFound, path, "it is missing or not a regular file");
  if (*length > maxBytes) {
    RaiseSRFReadError(kErrOverflow, path,
                      "it is " + std::to_string(*length) + " bytes long, larger than any SRF file (" +
                          std::to_string(maxBytes) + ")");
  }
  std::vector<uint8_t> bytes = ReadSRFBytes(path);
  // The file may have grown between the size check and the read.
  if (static_cast<int64_t>(bytes.size()) > maxBytes) RaiseSRFReadError(kErrOverflow, path, "it grew while read");
  return bytes;
}

void RequireSRFHeader(const SRFHeader& header, const std::string& path) {
  static constexpr char kSignature[] = "GARMIN BITMAP 01";
  if (std::memcmp(header.Signature.data(), kSignature, header.Signature.size()) != 0) {
    RaiseSRFReadError(kErrInvalidPicture, path, "it does not start with \"GARMIN BITMAP 01\"");
  }
  if (header.ImageCount != kSRFImageCount && header.ImageCount != kASRFImageCount) {
    RaiseSRFReadError(kErrInvalidPicture, path,
                      "its header counts " + std::to_string(header.ImageCount) + " images, not 2 or 4");
  }
}

std::string SRFBytesProblem(const std::vector<uint8_t>& bytes, const std::string& path) {
  try {
    const SRFHeader header = ParseSRFHeader(bytes, path);
    RequireSRFHeader(header, path);
    size_t offset = kSRFHeaderSize;
    for (int number = 1; number <= header.ImageCount; ++number) ParseSRFImage(bytes, offset, number, path);
    if (bytes.size() <= offset) return "Cannot read " + path + ": it ends without a trailer and checksum byte";
    if (bytes.back() != SRFChecksumByte(bytes.data(), bytes.size() - 1)) {
      return "Cannot read " + path + ": its checksum byte does not match its contents";
    }
    return {};
  } catch (const VbError& e) {
    return e.Description();
  }
}

std::string SRFFileProblem(const std::string& path) {
  try {
    return SRFBytesProblem(ReadSRFBytesWithin(path), path);
  } catch (const VbError& e) {
    return e.Description();
  }
}

}  // namespace velkor
