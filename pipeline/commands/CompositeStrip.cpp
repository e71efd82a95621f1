// The frame import: the frames of two (static) or four (animated) sets,
// copied side by side into one strip in the working image, one band per set.
#include <array>
#include <exception>

#include "platform/FillRectangle.h"
#include "common/Paths.h"
#include "pipeline/FrameLoader.h"
#include "pipeline/NumberingScheme.h"
#include "pipeline/StripLayout.h"
#include "platform/Files.h"
#include "platform/Gdi.h"
#include "raster/SampledStrip.h"
#include "raster/cDib.h"
#include "ui/commands/frmMain.h"

namespace velkor {

namespace {

struct FrameSet {
  const char* name;  // as messages name the set
  const char* importStatus;
  const char* missingStatus;
  const char* unreadableStatus;
  bool is3D;
  int item;  // 1: rotation boxes, 2: animation boxes
};

constexpr std::array<FrameSet, 4> kFrameSets{{
    {"3D rotation", "Status: Importing and Stitching 3D Images...", "Status: ERROR: 3D Rotation File Not Found...",
     "Status: ERROR: 3D Rotation File Unreadable...", true, 1},
    {"2D rotation", "Status: Importing and Stitching 2D Images...", "Status: ERROR: 2D Rotation File Not Found...",
     "Status: ERROR: 2D Rotation File Unreadable...", false, 1},
    {"3D animation", "Status: Importing and Stitching 3D Anim. Images...",
     "Status: ERROR: 3D Animation File Not Found...", "Status: ERROR: 3D Animation File Unreadable...", true, 2},
    {"2D animation", "Status: Importing and Stitching 2D Anim. Images...",
     "Status: ERROR: 2D Animation File Not Found...", "Status: ERROR: 2D Animation File Unreadable...", false, 2},
}};

enum class FrameResult { Copied, Unreadable, Missing };

// Copies one frame unscaled into the strip at (left, top), then releases it. A
// frame of another size than its cell is copied at its own size; the strip
// clips it.
FrameResult ImportFrame(cAlphaDibSection& strip, SampledStrip* sampled, LoadedFrame& frame, int32_t left,
                        int32_t top) {
  if (!frame.exists) return FrameResult::Missing;
  if (!frame.readable) return FrameResult::Unreadable;
  if (sampled) {
    sampled->Copy(*frame.dib->hDIB(), left, top);
  } else {
    gdi::BitBlt(strip.hDC(), left, top, frame.dib->Width(), frame.dib->Height(), frame.dib->hDIBDC(), 0, 0,
                gdi::SRCCOPY);
  }
  frame.dib.reset();
  return FrameResult::Copied;
}

}  // namespace

void frmMain::BuildCompositeImage(const std::string& version) { ImportFrames(version, nullptr, {}); }

bool frmMain::BuildSampledStrip(const std::string& version, SampledStrip& sampled, RasterSize target) {
  ImportFrames(version, &sampled, target);
  return LastImport != ImportOutcome::StripNotCreated;
}

// The strip is made aside and replaces the working image only when the
// import completes. With `sampled`, it is made there instead, keeping only
// what a resample to `target` reads; nothing is previewed, as there is no
// strip to show, and the caller puts its resampled picture in place.
// Statuses and outcomes are the same either way.
void frmMain::ImportFrames(const std::string& version, SampledStrip* sampled, RasterSize target) {
  EndViewer();
  ImportWarnings.clear();
  ImportFailure.clear();
  ImportProblem.clear();
  SkippedFrame.clear();
  ImportedFrames = 0;
  const auto stop = [this](ImportOutcome outcome, const std::string& reason) {
    LastImport = outcome;
    ImportFailure = reason;
    Failed(reason);
    RedrawPreview();  // the working image as it was
  };
  const std::optional<StripLayout> layout = StripLayoutFor(AnimatedMode, version);

  std::array<std::string, 4> folders, prefixes;
  for (size_t set = 0; set < kFrameSets.size(); ++set) {
    const FrameSet& s = kFrameSets[set];
    folders[set] = Trim((s.is3D ? Controls.txtWorkDir : Controls.txt2DWorkDir)[s.item].Text);
    prefixes[set] = Trim((s.is3D ? Controls.txt3DPrefix : Controls.txt2DPrefix)[s.item].Text);
  }
  RotationDir3D = folders[0];
  RotationDir2D = folders[1];
  AnimationDir3D = folders[2];
  AnimationDir2D = folders[3];

  SetStatus("Status: Creating green screen...");
  auto strip = std::make_unique<cAlphaDibSection>();
  const auto create = [&] {
    return sampled ? sampled->Create(layout->width, layout->height, target.width, target.height)
                   : strip->Create(layout->width, layout->height);
  };
  if (!layout || !create()) {
    SetStatus("Status: Error Creating Composite Image!!");
    stop(ImportOutcome::StripNotCreated, "Status: Error Creating Composite Image!!");
    return;
  }
  view_.DoEvents();
  // All of it is background until a frame covers it: a pixel left out would
  // be keyed as an opaque black line in the icon.
  if (sampled) {
    sampled->Fill(0, 0, layout->width, layout->height, KeyColor);
  } else {
    FillRectangle(strip->hDC(), 0, 0, layout->width, layout->height, KeyColor);
    DrawPreview(*strip);
  }
  view_.DoEvents();

  const NumberingScheme scheme = SchemeFromText(Controls.cmbNumbers.Text);
  const size_t setCount = AnimatedMode ? 4 : 2;
  try {
    std::vector<std::string> names;
    for (size_t set = 0; set < setCount; ++set) {
      for (int i = 0; i < kFramesPerSet; ++i) names.push_back(FrameFileName(folders[set], prefixes[set], scheme, i));
    }
    // Two workers read the files ahead; every decision below is taken here,
    // frame by frame, in order.
    FrameLoader loader(std::move(names));
    for (size_t set = 0; set < setCount; ++set) {
      const FrameSet& s = kFrameSets[set];
      const int32_t cell = s.is3D ? layout->cell3D : layout->cell2D;
      SetStatus(s.importStatus);
      for (int i = 0; i < kFramesPerSet; ++i) {
        LoadedFrame frame = loader.Next();
        const FrameResult result =
            ImportFrame(*strip, sampled, frame, i * cell, BandTop(*layout, static_cast<int>(set)));
        if (result == FrameResult::Copied) {
          ++ImportedFrames;
          continue;
        }
        const std::string& file = frame.file;
        ImportWarnings.push_back(file);
        if (result == FrameResult::Missing) {
          SetStatus(s.missingStatus);
          stop(ImportOutcome::FileMissing, std::string(s.missingStatus) + " (" + file + ")");
          ImportProblem = set == 0 && i == 0
                              ? "There are no frames to import: the first 3D rotation frame " + file +
                                    " does not exist. Choose the folder and prefix of your frames."
                              : "The " + std::string(s.name) + " frame " + file + " does not exist.";
          return;
        }
        // A 3D frame that cannot be read ends the import; a 2D one leaves
        // its cell in the background colour (Do All then stops on it).
        if (!s.is3D && SkippedFrame.empty()) {
          SkippedFrame = "The " + std::string(s.name) + " frame " + file +
                         " cannot be read as a BMP file (not a BMP, or shorter than its header says).";
        }
        if (s.is3D) {
          SetStatus(s.unreadableStatus);
          stop(ImportOutcome::FileUnreadable, "frame file cannot be read as a BMP: " + file);
          ImportProblem = "The " + std::string(s.name) + " frame " + file +
                          " cannot be read as a BMP file (not a BMP, or shorter than its header says).";
          return;
        }
      }
    }
    SetStatus("Status: Copying to Picture Box...");
    if (!sampled) ReplaceWorkImage(std::move(strip), IconNameForFrames(folders[0], prefixes[0]));
    SetStatus("Status: Idle");
    LastImport = ImportOutcome::Complete;
    Completed();
  } catch (const std::exception&) {
    ReportError("An error occured while importing files");
    SetStatus("Status: Error occured while importing files!");
    stop(ImportOutcome::Error, "Status: Error occured while importing files!");
  }
}

}  // namespace velkor
