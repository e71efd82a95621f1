#pragma once
// The stages that make an icon of a strip: resize to the device size, key
// (the alpha channel), sharpen. Each works on the caller's picture and leaves
// it as it was when it fails.
#include <memory>

#include "jobs/Progress.h"
#include "jobs/Result.h"
#include "pipeline/KeyColourAlpha.h"
#include "raster/cAlphaDibSection.h"
#include "srf/SrfVersion.h"

namespace velkor {

struct FinishSettings {
  bool resize = true;       // "Resize to work with Garmin"
  bool stepSample = false;  // through larger sizes first
  int steps = 1;            // 1..3 (0: none selected)
  KeyingParameters keying;
};

// `picture` resampled to `device` (through the steps); unchanged when
// resizing is off or the picture is empty.
Result<Done> ResizeToDevice(std::unique_ptr<cAlphaDibSection>& picture, RasterSize device,
                            const FinishSettings& settings, Progress& progress);
// The alpha channel from the key colour, row by row with the progress bar.
// The rows keyed before a failure stay keyed.
Result<Done> KeyPicture(cAlphaDibSection& picture, const KeyingParameters& keying, Progress& progress);
// "Resize" then "key": Alpha+Resize.
Result<Done> ResizeAndKey(std::unique_ptr<cAlphaDibSection>& picture, RasterSize device, const FinishSettings& settings,
                          Progress& progress);
// The unsharp mask over `picture`.
Result<Done> Sharpen(std::unique_ptr<cAlphaDibSection>& picture, Progress& progress);

}  // namespace velkor
