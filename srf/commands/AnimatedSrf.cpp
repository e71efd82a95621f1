// The animated SRF file of the window: SaveASRF, WriteASRFFile, ReadASRFFile.
#include <new>

#include "srf/commands/SrfFileFlow.h"
#include "srf/SrfRaster.h"
#include "srf/SrfRecordIO.h"
#include "srf/modAnimatedSRFFormat.h"
#include "ui/commands/frmMain.h"

namespace velkor {

void frmMain::SaveASRF(const std::string& version) {
  RunSRFSaveFlow(*this, "Status: Writing ASRF...",
                 [this, &version](const std::string& path) { return WriteASRFFile(path, version); });
}

bool frmMain::WriteASRFFile(const std::string& path, const std::string& version) {
  const cAlphaDibSection& raster = *WorkImage;
  if (raster.Empty() || raster.Height() < kASRFRows || raster.Width() < kASRF3DWidth) {
    ReportSRFWriteError(*this);
    return false;
  }
  try {
    // Group 1 above group 2, each a 3D band above a 2D band, in the bottom
    // 340 rows of the raster.
    const int32_t top = raster.Height() - kASRFRows;
    const std::vector<SRFImage> images = {
        EncodeSRFImage(raster, top, kASRF3DWidth, kASRF3DHeight),
        EncodeSRFImage(raster, top + kASRF3DHeight, kASRF2DWidth, kASRF2DHeight),
        EncodeSRFImage(raster, top + kASRF3DHeight + kASRF2DHeight, kASRF3DWidth, kASRF3DHeight),
        EncodeSRFImage(raster, top + 2 * kASRF3DHeight + kASRF2DHeight, kASRF2DWidth, kASRF2DHeight)};
    if (!WriteSRFLayout(*this, path, MakeSRFHeader(kASRFImageCount, "1.00"), images, kASRFTrailerLength, 0x00)) {
      return false;
    }
  } catch (const std::bad_alloc&) {
    ReportSRFWriteError(*this);
    return false;
  }
  SetStatus("Status: ASRF version #" + version + " file written....");
  return true;
}

bool frmMain::ReadASRFFile(const std::string& path) {
  SetStatus("Status: Reading ASRF...");
  std::optional<SRFReadResult> read = LoadSRFForReading(*this, path, kASRFImageCount);
  if (!read) return false;
  const std::vector<SRFImage>& images = read->images;
  cAlphaDibSection& raster = *read->raster;
  int32_t top[4] = {0, 0, 0, 0};
  for (int i = 1; i < 4; ++i) top[i] = top[i - 1] + images[i - 1].Height;
  ClearPreview();
  SetStatus("Status: Adding Group 1 RGB...");
  PaintSRFColors(raster, images[0], top[0]);
  PaintSRFColors(raster, images[1], top[1]);
  SetStatus("Status: Adding Group 2 RGB...");
  PaintSRFColors(raster, images[2], top[2]);
  PaintSRFColors(raster, images[3], top[3]);
  SetStatus("Status: Adding Group 1 Alpha...");
  PaintSRFAlpha(raster, images[0], top[0], 255);
  PaintSRFAlpha(raster, images[1], top[1], 255);
  // Right of a narrower group 2 3D strip the picture is left transparent.
  SetStatus("Status: Adding Group 2 Alpha...");
  PaintSRFAlpha(raster, images[2], top[2], 0);
  PaintSRFAlpha(raster, images[3], top[3], 255);
  FinishSRFRead(*this, std::move(read->raster));
  return true;
}

}  // namespace velkor
