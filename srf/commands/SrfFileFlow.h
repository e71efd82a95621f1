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
#include "srf/modSRFFileFormat.h"

namespace velkor {

class frmMain;

// SaveSRF and SaveASRF: `status`, then (with a picture loaded) the save dialog
// with the proposed name, then `write` with the chosen path.
void RunSRFSaveFlow(frmMain& form, const std::string& status,
                    const std::function<bool(const std::string&)>& write);

// The working image as a file of `version`, written beside `path` and put in
// its place only when complete, then `doneStatus`. Shows the write error
// (and returns false) when the image is too small or the file cannot be made.
bool WriteSRFOf(frmMain& form, const std::string& path, const SrfVersion& version, const std::string& doneStatus);

// The message box and status of a failed write.
void ReportSRFWriteError(frmMain& form, const std::string& reason = {});

// The file's first `count` records, checked, and a raster of the picture they
// make; none (after a message naming the file and the problem) when the file
// cannot be read. The working image is not touched.
struct SRFReadResult {
  std::vector<SRFImage> images;
  std::unique_ptr<cAlphaDibSection> raster;
};
std::optional<SRFReadResult> LoadSRFForReading(frmMain& form, const std::string& path, int count);

// Puts the decoded raster in place as the working image, redraws the preview
// and ends on "Status: Done...".
void FinishSRFRead(frmMain& form, std::unique_ptr<cAlphaDibSection> raster);

}  // namespace velkor
