#include "srf/SrfFileCheck.h"

#include <cstring>

#include "common/VbError.h"
#include "platform/Files.h"
#include "srf/SrfRecordIO.h"
#include "srf/modAnimatedSRFFormat.h"

namespace velkor {

std::vector<uint8_t> ReadSRFBytesWithin(const std::string& path, int64_t maxBytes) {
  platform::InputFile file(path);
  if (!file.IsOpen()) RaiseSRFReadError(kErrFileNotFound, path, file.Problem());
  if (file.Size() > maxBytes) {
    RaiseSRFReadError(kErrOverflow, path,
                      "it is " + std::to_string(file.Size()) + " bytes long, larger than any SRF file (" +
                          std::to_string(maxBytes) + ")");
  }
  return file.ReadAll();  // at most the size checked, should it grow meanwhile
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
    RequireSRFHeader(ParseSRFHeader(bytes, path), path);
    size_t offset = 0;
    ParseSRFImages(bytes, 0, path, &offset);
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
