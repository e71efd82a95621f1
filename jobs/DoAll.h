#pragma once
// "Do All": the frames imported into a strip, resized to the device size,
// keyed, sharpened (static icons): the icon an SRF is written from. The one
// chain the window's button and velkor-cli's do-all both run.
#include <memory>
#include <vector>

#include "jobs/Finish.h"
#include "jobs/FrameImport.h"

namespace velkor {

struct DoAllSettings {
  ImportSettings import;
  FinishSettings finish;
  // The window shows the strip and every stage. Where nobody sees it (false),
  // a single resize step reads only two rows and two columns of the strip
  // per device pixel, so only those are kept: the same icon from a few MB
  // instead of a 43 MB strip.
  bool keepStrip = false;
};

struct DoAllOutcome {
  std::unique_ptr<cAlphaDibSection> icon;
};

// The icon; a Failure when the import did not read every frame (an icon
// with a hole is not one to save) or a stage could not make its raster.
// With `lastStage`, a failure after the import leaves there the picture of
// the last stage that completed (the window keeps it as its working image).
Result<DoAllOutcome> DoAll(const DoAllSettings& settings, Progress& progress,
                           std::unique_ptr<cAlphaDibSection>* lastStage = nullptr);

}  // namespace velkor
