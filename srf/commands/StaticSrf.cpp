// The static SRF file of the window: SaveSRF, WriteSRFFile, ReadSRFFile.
#include "srf/commands/SrfFileFlow.h"
#include "ui/commands/frmMain.h"

namespace velkor {

void frmMain::SaveSRF(const std::string& version) {
  RunSRFSaveFlow(*this, StaticSrfVersion(version),
                 [this, &version](const std::string& path) { return WriteSRFFile(path, version); });
}

bool frmMain::WriteSRFFile(const std::string& path, const std::string& version) {
  return WriteSRFOf(*this, path, StaticSrfVersion(version));
}

bool frmMain::ReadSRFFile(const std::string& path) {
  return FinishSRFRead(*this, ReadSRFPicture(*this, path, false), path);
}

}  // namespace velkor
