#include "jobs/SrfFiles.h"

#include <cerrno>

#include "platform/Files.h"
#include "platform/SystemError.h"
#include "srf/SrfFile.h"
#include "srf/SrfPicture.h"
#include "srf/SrfRecordIO.h"
#include "srf/modAnimatedSRFFormat.h"

namespace velkor {

namespace {

Failure WriteError(const std::string& reason) {
  return Failure{"An error occured while writing the SRF file!" + (reason.empty() ? std::string() : "\n" + reason),
                 "Status: Error writing SRF FILE!"};
}

std::string Kind(const SrfVersion& version) {
  return version.animated ? std::string("an animated SRF") : "an SRF version " + std::string(version.text);
}

}  // namespace

Result<Done> CheckSrfHasVehicle(const cAlphaDibSection& icon, const SrfVersion& version, Progress& progress) {
  if (!SRFPictureIsTransparent(icon, version)) return Done{};
  progress.Status(kNothingWrittenStatus);
  return Failure{kNoVehicleMessage, kNothingWrittenStatus};
}

std::string SrfWritingStatus(const SrfVersion& version) {
  return version.animated ? "Status: Writing ASRF..." : "Status: Writing SRF...";
}

Result<std::vector<uint8_t>> EncodeSrf(const cAlphaDibSection& icon, const SrfVersion& version, Progress& progress) {
  const RasterSize device = version.device();
  if (icon.Empty() || icon.Width() < device.width || icon.Height() < device.height) {
    return WriteError("The picture is " + std::to_string(icon.Width()) + " x " + std::to_string(icon.Height()) +
                      " pixels; " + Kind(version) + " needs at least " + std::to_string(device.width) + " x " +
                      std::to_string(device.height) + " (the device size).");
  }
  const std::optional<std::vector<SRFImage>> images = EncodeSRFImages(icon, version);
  if (!images) return WriteError("");
  std::vector<uint8_t> bytes = EncodeSRFBody(version, *images);
  // The checksum covers exactly the bytes before it, so it is summed from
  // memory rather than read back from the file.
  progress.Status("Status: Calculating Checksum...");
  bytes.push_back(SRFChecksumByte(bytes.data(), bytes.size()));
  return bytes;
}

namespace {

Result<Done> WriteFile(const cAlphaDibSection& icon, const SrfVersion& version, const std::string& path,
                       Progress& progress) {
  try {
    const Result<std::vector<uint8_t>> bytes = EncodeSrf(icon, version, progress);
    if (!bytes) return bytes.failure();
    platform::SafeFileWriter file;
    if (!file.Open(path) || !file.Write(bytes->data(), bytes->size()) || !file.Commit()) {
      return WriteError(platform::CannotWrite(path, file.Error()));
    }
  } catch (const std::bad_alloc&) {
    return WriteError(platform::CannotWrite(path, ENOMEM));
  }
  return Done{};
}

}  // namespace

Result<Done> WriteSrf(const cAlphaDibSection& icon, const SrfVersion& version, const std::string& path,
                      Progress& progress) {
  if (Result<Done> written = WriteFile(icon, version, path, progress); !written) {
    progress.Status(written.failure().status);
    return written;
  }
  progress.Status(std::string(version.animated ? "Status: ASRF" : "Status: SRF") + " version #" + version.text +
                  " file written....");
  return Done{};
}

namespace {

Result<std::unique_ptr<cAlphaDibSection>> ReadPicture(const std::string& path, bool animated, Progress& progress) {
  const std::vector<uint8_t> bytes = ReadSRFBytes(path);
  const SRFHeader header = ParseSRFHeader(bytes, path);
  // The records of the other kind would be cut at the wrong places.
  if (header.ImageCount == (animated ? kSRFImageCount : kASRFImageCount)) {
    return Failure{path + " is " + DescribeSRFKind(header) + ": use \"" +
                   (animated ? "SRF to PNG" : "Animated SRF to PNG") + "\" for it."};
  }
  const std::vector<SRFImage> images = ParseSRFImages(bytes, animated ? kASRFImageCount : kSRFImageCount, path);
  auto picture = std::make_unique<cAlphaDibSection>();
  DecodeSRFPicture(*picture, images, path, [&progress, animated](int group, bool alpha) {
    const std::string what = alpha ? "Alpha..." : "RGB...";
    progress.Status(animated ? "Status: Adding Group " + std::to_string(group + 1) + " " + what
                             : "Status: Adding " + what);
  });
  return picture;
}

}  // namespace

Result<std::unique_ptr<cAlphaDibSection>> ReadSrf(const std::string& path, bool animated, Progress& progress) {
  progress.Status(animated ? "Status: Reading ASRF..." : "Status: Reading SRF...");
  Result<std::unique_ptr<cAlphaDibSection>> read =
      Guarded([&] { return ReadPicture(path, animated, progress); },
              "Cannot read " + path + ": not enough memory for its pictures");
  if (!read) {
    Failure failure = read.failure();
    failure.status = "Status: Error reading SRF FILE!";
    progress.Status(failure.status);
    return failure;
  }
  return read;
}

}  // namespace velkor
