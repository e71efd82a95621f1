#include "jobs/Conversions.h"

#include "common/Paths.h"
#include "common/VbError.h"
#include "convert/PngFiles.h"
#include "jobs/SrfFiles.h"
#include "platform/Files.h"
#include "platform/SystemError.h"

namespace velkor {

namespace {

std::string LastErrorSuffix() {
  const int error = platform::GetLastError();
  return error == 0 ? std::string() : ": " + platform::ApiErrorText(error);
}

std::string SizeText(const cAlphaDibSection& image) {
  return std::to_string(image.Width()) + " x " + std::to_string(image.Height());
}

Failure Reported(Progress& progress, std::string message, std::string status) {
  progress.Status(status);
  return Failure{std::move(message), std::move(status)};
}

Result<Done> WriteBmp(cAlphaDibSection& picture, const std::string& bmpPath, Progress& progress) {
  progress.Status("Status: Writing 32-bit BMP...");
  platform::SetLastError(0);
  std::string reason;
  try {
    if (picture.SavePicture(bmpPath)) return Done{};
    reason = LastErrorSuffix();
  } catch (const VbError& e) {
    reason = ": " + e.Description();
  }
  return Reported(progress, "Cannot write the BMP file " + bmpPath + reason, "Status: Error writing BMP file!");
}

}  // namespace

Result<std::unique_ptr<cAlphaDibSection>> ReadPng(const std::string& path, Progress& progress) {
  std::string problem;
  std::unique_ptr<cAlphaDibSection> image = ReadPngFile(path, problem);
  if (!image) return Reported(progress, "Cannot read " + path + ": " + problem, "Status: Error reading PNG file!");
  return image;
}

Result<const SrfVersion*> SrfVersionOfPng(const cAlphaDibSection& picture, const std::string& path, bool animated,
                                          Progress& progress) {
  const RasterSize size{picture.Width(), picture.Height()};
  const SrfVersion* version = SrfVersionForPicture(size, animated);
  if (!version) {
    const bool otherKind = SrfVersionForPicture(size, !animated) != nullptr;
    return Reported(
        progress,
        "Cannot convert " + path + ": the PNG is " + SizeText(picture) + " pixels; " +
            (animated ? "an animated SRF picture is " : "a static SRF picture is ") + SrfPictureSizesText(animated) +
            "." +
            (otherKind ? std::string(" Use \"") + (animated ? "PNG to SRF" : "PNG to Animated SRF") + "\" for this one."
                       : std::string()),
        kNothingWrittenStatus);
  }
  if (Result<Done> shows = CheckSrfHasVehicle(picture, *version, progress); !shows) return shows.failure();
  return version;
}

std::string PngNameFor(const std::string& bmpPath) { return PathWithExtension(bmpPath, ".png"); }

Result<Done> SavePngPair(cAlphaDibSection& picture, const std::string& bmpPath, Progress& progress) {
  if (Result<Done> bmp = WriteBmp(picture, bmpPath, progress); !bmp) return bmp;
  progress.Status("Status: Converting 32-bit BMP to PNG...");
  const std::string pngPath = PngNameFor(bmpPath);
  // From the raster just written, not from decoding the BMP again.
  const BmpToPng written = ConvertRasterToPng(picture, pngPath);
  if (written == BmpToPng::BmpUnreadable) {
    return Reported(progress, "Cannot convert " + bmpPath + " to PNG: FreeImage cannot read it",
                    "Status: Error writing PNG file!");
  }
  if (written == BmpToPng::PngNotWritten) {
    return Reported(progress, "Cannot write the PNG file " + pngPath + LastErrorSuffix(),
                    "Status: Error writing PNG file!");
  }
  progress.Status("Status: Idle...");
  return Done{};
}

Result<Done> SrfToPng(const std::string& srfPath, const std::string& bmpPath, bool animated, Progress& progress) {
  Result<std::unique_ptr<cAlphaDibSection>> picture = ReadSrf(srfPath, animated, progress);
  if (!picture) return picture.failure();
  progress.Status("Status: Saving to tBMP...");
  if (Result<Done> saved = SavePngPair(**picture, bmpPath, progress); !saved) return saved;
  progress.Status("Status: Done...");
  return Done{};
}

Result<const SrfVersion*> PngToSrf(const std::string& pngPath, const std::string& srfPath, bool animated,
                                   Progress& progress) {
  const Result<std::unique_ptr<cAlphaDibSection>> picture = ReadPng(pngPath, progress);
  if (!picture) return picture.failure();
  const Result<const SrfVersion*> version = SrfVersionOfPng(**picture, pngPath, animated, progress);
  if (!version) return version;
  progress.Status(SrfWritingStatus(**version));
  if (Result<Done> written = WriteSrf(**picture, **version, srfPath, progress); !written) return written.failure();
  return version;
}

}  // namespace velkor
