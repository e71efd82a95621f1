#include "srf/commands/SrfFileFlow.h"

#include "common/Paths.h"
#include "common/VbError.h"
#include "platform/Files.h"
#include "ui/commands/FileDialogs.h"
#include "srf/SrfRaster.h"
#include "srf/SrfRecordIO.h"
#include "ui/commands/frmMain.h"

namespace velkor {

namespace {

std::string ProposedSRFName(const frmMain& form) {
  if (!form.LastImageFile.empty()) {
    return GetFolderName(form.LastImageFile) + kPathSeparator + GetBaseName(form.LastImageFile) + ".srf";
  }
  return JoinPath(form.RotationDir3D, "Temp.srf");
}

std::vector<uint8_t> EncodeLayout(const SRFHeader& header, const std::vector<SRFImage>& images,
                                  size_t trailerLength, uint8_t lastTrailerByte) {
  size_t size = kSRFHeaderSize + trailerLength;
  for (const SRFImage& image : images) size += kSRFImageHeadSize + kSRFColorHeadSize + 3 * image.AlphaData.size();
  std::vector<uint8_t> body;
  body.reserve(size + 1);
  AppendSRFHeader(body, header);
  for (const SRFImage& image : images) AppendSRFImage(body, image);
  body.insert(body.end(), trailerLength, 0xFF);
  if (trailerLength > 0) body.back() = lastTrailerByte;
  return body;
}

}  // namespace

void RunSRFSaveFlow(frmMain& form, const std::string& status,
                    const std::function<bool(const std::string&)>& write) {
  form.SetStatus(status);
  if (!form.ImageLoaded) return;
  const std::optional<std::string> path =
      ShowCommonDialog(form, true, "Garmin SRF Files|*.srf", kSaveDialogFlags, ProposedSRFName(form));
  if (path && !path->empty()) write(*path);
}

void ReportSRFWriteError(frmMain& form) {
  form.View().MessageBox("An error occured while writing the SRF file!");
  form.SetStatus("Status: Error writing SRF FILE!");
}

bool WriteSRFLayout(frmMain& form, const std::string& path, const SRFHeader& header,
                    const std::vector<SRFImage>& images, size_t trailerLength, uint8_t lastTrailerByte) {
  const std::vector<uint8_t> body = EncodeLayout(header, images, trailerLength, lastTrailerByte);
  platform::SafeFileWriter file;
  if (!file.Open(path) || !file.Write(body.data(), body.size())) {
    ReportSRFWriteError(form);
    return false;
  }
  // The checksum covers exactly the bytes just written, so it is summed from
  // memory rather than read back from the file.
  form.SetStatus("Status: Calculating Checksum...");
  const uint8_t checksum = SRFChecksumByte(body.data(), body.size());
  if (!file.Write(&checksum, 1) || !file.Commit()) {
    ReportSRFWriteError(form);
    return false;
  }
  return true;
}

std::optional<SRFReadResult> LoadSRFForReading(frmMain& form, const std::string& path, int count) {
  try {
    SRFReadResult result;
    result.images = ParseSRFImages(ReadSRFBytes(path), count, path);
    result.raster = std::make_unique<cAlphaDibSection>();
    CreateSRFRaster(*result.raster, result.images, path);
    return result;
  } catch (const VbError& e) {
    form.View().MessageBox(e.Description());
  } catch (const std::bad_alloc&) {
    form.View().MessageBox("Cannot read " + path + ": not enough memory for its pictures");
  }
  form.SetStatus("Status: Error reading SRF FILE!");
  return std::nullopt;
}

void FinishSRFRead(frmMain& form, std::unique_ptr<cAlphaDibSection> raster) {
  form.WorkImage = std::move(raster);
  form.ImageLoaded = true;
  form.DrawPreview(form.WorkImage->hDC());
  form.View().PreviewChanged();
  form.SetStatus("Status: Done...");
}

}  // namespace velkor
