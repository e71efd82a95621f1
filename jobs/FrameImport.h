#pragma once
// The frame import: the frames of two (static) or four (animated) sets,
// copied side by side into one strip, one band per set.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "jobs/Progress.h"
#include "jobs/Result.h"
#include "pipeline/NumberingScheme.h"
#include "raster/SampledStrip.h"
#include "raster/cAlphaDibSection.h"
#include "raster/cDib.h"
#include "render/FrameImage.h"
#include "srf/SrfVersion.h"

namespace velkor {

struct FrameSource {
  std::string folder, prefix;
};

// Frames already in memory, in import order (36 per set, the sets in the
// order of ImportSettings::sets): the import takes them instead of files,
// releasing each once it is copied.
using FramesInMemory = std::vector<render::FrameImage>;

struct ImportSettings {
  bool animated = false;
  const SrfVersion* version = &NewestStaticSrfVersion();
  NumberingScheme numbering{};
  uint32_t keyColour = 0x00FF00;  // 0x00BBGGRR
  // 3D rotation, 2D rotation, 3D animation, 2D animation.
  std::array<FrameSource, 4> sets;
  FramesInMemory* frames = nullptr;  // taken (and released) frame by frame when given
};

// How an import that did not complete ended.
enum class ImportOutcome { Complete, StripNotCreated, FileMissing, FileUnreadable, Error };

// A stopped import: the problem as the window tells the user (`message`,
// "" when it has none beyond the status), its status, and as the command
// line reports it (`reason`).
struct ImportStop : Failure {
  ImportOutcome outcome = ImportOutcome::Error;
  int imported = 0;  // frames copied before it stopped
};

struct ImportedStrip {
  std::unique_ptr<cAlphaDibSection> strip;  // the whole strip (none when sampled)
  std::unique_ptr<SampledStrip> sampled;    // only what a resample reads
  std::vector<std::string> skipped;         // 2D frames that could not be read: their cells stay key
  std::string skippedProblem;               // the first of them, as the window tells the user
};

// The sets' frames into a strip of the version's layout filled with the key
// colour. With `sampleFor`, the strip keeps only what a resample to that
// size reads (nothing is previewed: there is no strip to show). A missing
// frame or an unreadable 3D frame stops it; an unreadable 2D frame leaves its
// cell key.
Result<ImportedStrip, ImportStop> ImportFrames(const ImportSettings& settings, Progress& progress,
                                               std::optional<RasterSize> sampleFor = std::nullopt);

// The frame files the import reads, in order.
std::vector<std::string> FrameFiles(const ImportSettings& settings);

}  // namespace velkor
