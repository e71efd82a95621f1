#pragma once
// The steps the static and the animated SRF procedures of the window share:
// the save flow, writing a file with its checksum, and the reader's checks,
// reports and final redraw.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "raster/cAlphaDibSection.h"
#include "srf/SrfVersion.h"
#include "jobs/SrfFiles.h"
#include "srf/modSRFFileFormat.h"

namespace velkor {

class frmMain;

// SaveSRF and SaveASRF: with a picture loaded that has something to show in
// `version`, its writing status, then the save dialog with the proposed
// name, then `write` with the chosen path.
void RunSRFSaveFlow(frmMain& form, const SrfVersion& version, const std::function<bool(const std::string&)>& write);

// WriteSRFFile and WriteASRFFile: the working image as a file of `version`
// (the WriteSrf job); false after the message when it could not be written.
bool WriteSRFOf(frmMain& form, const std::string& path, const SrfVersion& version);

// The file's first `count` records, checked, and a raster of the picture they
// make; none (after a message naming the file and the problem) when the file
// cannot be read or is of the other kind. The working image is not touched.
struct SRFReadResult {
  std::vector<SRFImage> images;
  std::unique_ptr<cAlphaDibSection> raster;
};
std::optional<SRFReadResult> LoadSRFForReading(frmMain& form, const std::string& path, int count);

// The picture of a static or an animated SRF file, read aside with the
// readers' statuses; none after a message naming the file and the problem.
std::unique_ptr<cAlphaDibSection> ReadStaticSRFPicture(frmMain& form, const std::string& path);
std::unique_ptr<cAlphaDibSection> ReadAnimatedSRFPicture(frmMain& form, const std::string& path);

// Puts the picture read from `path` in place as the working image and ends
// on "Status: Done..."; false when there is none.
bool FinishSRFRead(frmMain& form, std::unique_ptr<cAlphaDibSection> raster, const std::string& path);

}  // namespace velkor
