// The static SRF file of the window: SaveSRF, WriteSRFFile, ReadSRFFile.
#include "srf/commands/SrfFileFlow.h"
#include "srf/SrfRaster.h"
#include "srf/SrfRecordIO.h"
#include "ui/commands/frmMain.h"

namespace velkor {

void frmMain::SaveSRF(const std::string& version) {
  RunSRFSaveFlow(*this, StaticSrfVersion(version),
                 [this, &version](const std::string& path) { return WriteSRFFile(path, version); });
}

bool frmMain::WriteSRFFile(const std::string& path, const std::string& version) {
  return WriteSRFOf(*this, path, StaticSrfVersion(version));
}

std::unique_ptr<cAlphaDibSection> ReadStaticSRFPicture(frmMain& form, const std::string& path) {
  form.SetStatus("Status: Reading SRF...");
  std::optional<SRFReadResult> read = LoadSRFForReading(form, path, kSRFImageCount);
  if (!read) return nullptr;
  const SRFImage& image1 = read->images[0];
  const SRFImage& image2 = read->images[1];
  cAlphaDibSection& raster = *read->raster;
  form.ClearPreview();
  form.SetStatus("Status: Adding RGB...");
  PaintSRFColors(raster, image1, 0);
  PaintSRFColors(raster, image2, image1.Height);
  form.SetStatus("Status: Adding Alpha...");
  PaintSRFAlpha(raster, image1, 0, 255);
  PaintSRFAlpha(raster, image2, image1.Height, 255);
  return std::move(read->raster);
}

bool frmMain::ReadSRFFile(const std::string& path) { return FinishSRFRead(*this, ReadStaticSRFPicture(*this, path), path); }

}  // namespace velkor
