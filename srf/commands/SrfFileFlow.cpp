#include "srf/commands/SrfFileFlow.h"

#include <cerrno>

#include "common/Paths.h"
#include "common/VbError.h"
#include "platform/Files.h"
#include "platform/SystemError.h"
#include "ui/commands/FileDialogs.h"
#include "srf/SrfFile.h"
#include "srf/SrfRaster.h"
#include "srf/SrfRecordIO.h"
#include "srf/modAnimatedSRFFormat.h"
#include "ui/commands/frmMain.h"

namespace velkor {

namespace {

// Named after the working image's BMP (beside the file it came from), else
// in the frame folder, else in the folder of the last file chosen, else in
// the user's home: never the root, which an empty folder joined with the
// name would give.
std::string ProposedSRFName(const frmMain& form) {
  if (!form.LastImageFile.empty()) return PathWithExtension(form.LastImageFile, ".srf");
  std::string folder = form.RotationDir3D;
  if (folder.empty()) folder = GetFolderName(form.Controls.CommonDialog1.FileName);
  if (folder.empty()) folder = platform::HomeFolder();
  return JoinPath(folder, "Temp.srf");
}

}  // namespace

void RunSRFSaveFlow(frmMain& form, const std::string& status, const SrfVersion& version,
                    const std::function<bool(const std::string&)>& write) {
  const std::string before = form.Controls.lblStatus.Caption;
  if (!form.ImageLoaded) {
    form.Failed("there is no image to save");
    return;
  }
  // A key colour that matched the whole picture (or frames that were never
  // there) gives an icon that shows nothing: no device should get it.
  if (SRFPictureIsTransparent(*form.WorkImage, version)) {
    form.ReportError(kNoVehicleMessage);
    form.SetStatus(kNothingWrittenStatus);
    return;
  }
  form.SetStatus(status);
  const std::optional<std::string> path =
      ShowCommonDialog(form, true, "Garmin SRF Files|*.srf", kSaveDialogFlags, ProposedSRFName(form));
  if (path && !path->empty()) {
    write(*path);
    return;
  }
  // Nothing is being written: the line says again what it said before.
  form.SetStatus(before);
}

void ReportSRFWriteError(frmMain& form, const std::string& reason) {
  form.ReportError("An error occured while writing the SRF file!" + (reason.empty() ? std::string() : "\n" + reason));
  form.SetStatus("Status: Error writing SRF FILE!");
}

namespace {

// The bytes, then the checksum byte, beside `path`; renamed over it when all
// are on disk. "" when written, otherwise what failed: the file and the cause.
std::string WriteWithChecksum(frmMain& form, const std::string& path, const std::vector<uint8_t>& body) {
  platform::SafeFileWriter file;
  if (!file.Open(path) || !file.Write(body.data(), body.size())) return platform::CannotWrite(path, file.Error());
  // The checksum covers exactly the bytes just written, so it is summed from
  // memory rather than read back from the file.
  form.SetStatus("Status: Calculating Checksum...");
  const uint8_t checksum = SRFChecksumByte(body.data(), body.size());
  return file.Write(&checksum, 1) && file.Commit() ? std::string() : platform::CannotWrite(path, file.Error());
}

}  // namespace

bool WriteSRFOf(frmMain& form, const std::string& path, const SrfVersion& version, const std::string& doneStatus) {
  // The records are cut from the bottom rows and left columns of the
  // picture; a larger one gives those, a smaller one none.
  const RasterSize device = version.device();
  const cAlphaDibSection& image = *form.WorkImage;
  if (image.Empty() || image.Width() < device.width || image.Height() < device.height) {
    ReportSRFWriteError(form, "The picture is " + std::to_string(image.Width()) + " x " +
                                  std::to_string(image.Height()) + " pixels; " +
                                  (version.animated ? std::string("an animated SRF") : "an SRF version " + std::string(version.text)) +
                                  " needs at least " + std::to_string(device.width) + " x " +
                                  std::to_string(device.height) + " (the device size).");
    return false;
  }
  try {
    const std::optional<std::vector<SRFImage>> images = EncodeSRFImages(*form.WorkImage, version);
    const std::string failure = images ? WriteWithChecksum(form, path, EncodeSRFBody(version, *images)) : "";
    if (!images || !failure.empty()) {
      ReportSRFWriteError(form, failure);
      return false;
    }
  } catch (const std::bad_alloc&) {
    ReportSRFWriteError(form, platform::CannotWrite(path, ENOMEM));
    return false;
  }
  form.SetStatus(doneStatus);
  form.Completed();
  return true;
}

std::optional<SRFReadResult> LoadSRFForReading(frmMain& form, const std::string& path, int count) {
  try {
    const std::vector<uint8_t> bytes = ReadSRFBytes(path);
    const SRFHeader header = ParseSRFHeader(bytes, path);
    // The records of the other kind would be cut at the wrong places.
    const bool animated = count == kASRFImageCount;
    if (header.ImageCount == (animated ? kSRFImageCount : kASRFImageCount)) {
      form.ReportError(path + " is " + DescribeSRFKind(header) + ": use \"" +
                       (animated ? "SRF to PNG" : "Animated SRF to PNG") + "\" for it.");
      form.SetStatus("Status: Error reading SRF FILE!");
      return std::nullopt;
    }
    SRFReadResult result;
    result.images = ParseSRFImages(bytes, count, path);
    result.raster = std::make_unique<cAlphaDibSection>();
    CreateSRFRaster(*result.raster, result.images, path);
    return result;
  } catch (const VbError& e) {
    form.ReportError(e.Description());
  } catch (const std::bad_alloc&) {
    form.ReportError("Cannot read " + path + ": not enough memory for its pictures");
  }
  form.SetStatus("Status: Error reading SRF FILE!");
  return std::nullopt;
}

bool FinishSRFRead(frmMain& form, std::unique_ptr<cAlphaDibSection> raster, const std::string& path) {
  if (!raster) return false;
  form.ReplaceWorkImage(std::move(raster), path);
  form.SetStatus("Status: Done...");
  form.Completed();
  return true;
}

}  // namespace velkor
