// The static SRF file of the window: SaveSRF, WriteSRFFile, ReadSRFFile.
#include <new>

#include "srf/commands/SrfFileFlow.h"
#include "srf/SrfRaster.h"
#include "srf/SrfRecordIO.h"
#include "ui/commands/frmMain.h"

namespace velkor {

namespace {

// Versions "1.00" and "2.00" carry a full-width 2D strip of 80-pixel frames
// and the long trailer; every other text is written as "2.20".
bool HasLargeImage2(const std::string& version) { return version == "1.00" || version == "2.00"; }

std::string StoredVersionText(const std::string& version) {
  if (version == "1.00" || version == "2.00" || version == "2.10") return version;
  return "2.20";
}

}  // namespace

void frmMain::SaveSRF(const std::string& version) {
  RunSRFSaveFlow(*this, "Status: Writing SRF...",
                 [this, &version](const std::string& path) { return WriteSRFFile(path, version); });
}

bool frmMain::WriteSRFFile(const std::string& path, const std::string& version) {
  const bool large = HasLargeImage2(version);
  const int16_t height2 = large ? 80 : 70;
  const int16_t width2 = large ? 2880 : 2520;
  const cAlphaDibSection& raster = *WorkImage;
  if (raster.Empty() || raster.Height() < kSRFImage1Height + height2 || raster.Width() < kSRFImage1Width) {
    ReportSRFWriteError(*this);
    return false;
  }
  try {
    // The images come from the bottom rows, whatever the raster's height.
    const int32_t top = raster.Height() - height2 - kSRFImage1Height;
    const std::vector<SRFImage> images = {
        EncodeSRFImage(raster, top, kSRFImage1Width, kSRFImage1Height),
        EncodeSRFImage(raster, top + kSRFImage1Height, width2, height2)};
    const size_t trailer = large ? kSRFLongTrailer : kSRFShortTrailer;
    if (!WriteSRFLayout(*this, path, MakeSRFHeader(kSRFImageCount, StoredVersionText(version)), images, trailer,
                        0xFF)) {
      return false;
    }
  } catch (const std::bad_alloc&) {
    ReportSRFWriteError(*this);
    return false;
  }
  SetStatus("Status: SRF version #" + version + " file written....");
  return true;
}

bool frmMain::ReadSRFFile(const std::string& path) {
  SetStatus("Status: Reading SRF...");
  std::optional<SRFReadResult> read = LoadSRFForReading(*this, path, kSRFImageCount);
  if (!read) return false;
  const SRFImage& image1 = read->images[0];
  const SRFImage& image2 = read->images[1];
  cAlphaDibSection& raster = *read->raster;
  ClearPreview();
  SetStatus("Status: Adding RGB...");
  PaintSRFColors(raster, image1, 0);
  PaintSRFColors(raster, image2, image1.Height);
  SetStatus("Status: Adding Alpha...");
  PaintSRFAlpha(raster, image1, 0, 255);
  PaintSRFAlpha(raster, image2, image1.Height, 255);
  FinishSRFRead(*this, std::move(read->raster));
  return true;
}

}  // namespace velkor
