// The animated SRF file of the window: SaveASRF, WriteASRFFile, ReadASRFFile.
#include "srf/commands/SrfFileFlow.h"
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

bool frmMain::ReadASRFFile(const std::string& path) {
  return FinishSRFRead(*this, ReadSRFPicture(*this, path, true), path);
}

}  // namespace velkor
