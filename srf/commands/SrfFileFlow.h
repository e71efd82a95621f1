#pragma once
// The steps the static and the animated SRF procedures of the window share:
// the save flow, writing a file with its checksum, and the reader's checks,
// reports and final redraw.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "jobs/SrfFiles.h"
#include "raster/cAlphaDibSection.h"
#include "srf/SrfVersion.h"
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

// The picture of a static or an animated SRF file, read aside (the ReadSrf
// job); none after a message naming the file and the problem.
std::unique_ptr<cAlphaDibSection> ReadSRFPicture(frmMain& form, const std::string& path, bool animated);

// Puts the picture read from `path` in place as the working image and ends
// on "Status: Done..."; false when there is none.
bool FinishSRFRead(frmMain& form, std::unique_ptr<cAlphaDibSection> raster, const std::string& path);

}  // namespace velkor
