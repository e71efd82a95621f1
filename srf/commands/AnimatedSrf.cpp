// The animated SRF file of the window: SaveASRF, WriteASRFFile, ReadASRFFile.
#include "srf/commands/SrfFileFlow.h"
#include "srf/SrfRaster.h"
#include "srf/SrfRecordIO.h"
#include "srf/modAnimatedSRFFormat.h"
#include "ui/commands/frmMain.h"

namespace velkor {

void frmMain::SaveASRF(const std::string& version) {
  RunSRFSaveFlow(*this, AnimatedSrfVersion(),
                 [this, &version](const std::string& path) { return WriteASRFFile(path, version); });
}

// The animated file has one version, "1.00", whatever the caller names.
bool frmMain::WriteASRFFile(const std::string& path, const std::string& /*version*/) {
  return WriteSRFOf(*this, path, AnimatedSrfVersion());
}

std::unique_ptr<cAlphaDibSection> ReadAnimatedSRFPicture(frmMain& form, const std::string& path) {
  form.SetStatus("Status: Reading ASRF...");
  std::optional<SRFReadResult> read = LoadSRFForReading(form, path, kASRFImageCount);
  if (!read) return nullptr;
  const std::vector<SRFImage>& images = read->images;
  cAlphaDibSection& raster = *read->raster;
  int32_t top[4] = {0, 0, 0, 0};
  for (int i = 1; i < 4; ++i) top[i] = top[i - 1] + images[i - 1].Height;
  form.ClearPreview();
  form.SetStatus("Status: Adding Group 1 RGB...");
  PaintSRFColors(raster, images[0], top[0]);
  PaintSRFColors(raster, images[1], top[1]);
  form.SetStatus("Status: Adding Group 2 RGB...");
  PaintSRFColors(raster, images[2], top[2]);
  PaintSRFColors(raster, images[3], top[3]);
  form.SetStatus("Status: Adding Group 1 Alpha...");
  PaintSRFAlpha(raster, images[0], top[0], 255);
  PaintSRFAlpha(raster, images[1], top[1], 255);
  // Right of a narrower group 2 3D strip the picture is left transparent.
  form.SetStatus("Status: Adding Group 2 Alpha...");
  PaintSRFAlpha(raster, images[2], top[2], 0);
  PaintSRFAlpha(raster, images[3], top[3], 255);
  return std::move(read->raster);
}

bool frmMain::ReadASRFFile(const std::string& path) {
  return FinishSRFRead(*this, ReadAnimatedSRFPicture(*this, path), path);
}

}  // namespace velkor
