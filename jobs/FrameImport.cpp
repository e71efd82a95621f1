#include "jobs/FrameImport.h"

#include <exception>

#include "pipeline/FrameLoader.h"
#include "pipeline/StripLayout.h"
#include "platform/FillRectangle.h"
#include "platform/Gdi.h"

namespace velkor {

namespace {

struct FrameSet {
  const char* name;  // as messages name the set
  const char* importStatus;
  const char* missingStatus;
  const char* unreadableStatus;
  bool is3D;
};

constexpr std::array<FrameSet, 4> kFrameSets{{
    {"3D rotation", "Status: Importing and Stitching 3D Images...", "Status: ERROR: 3D Rotation File Not Found...",
     "Status: ERROR: 3D Rotation File Unreadable...", true},
    {"2D rotation", "Status: Importing and Stitching 2D Images...", "Status: ERROR: 2D Rotation File Not Found...",
     "Status: ERROR: 2D Rotation File Unreadable...", false},
    {"3D animation", "Status: Importing and Stitching 3D Anim. Images...",
     "Status: ERROR: 3D Animation File Not Found...", "Status: ERROR: 3D Animation File Unreadable...", true},
    {"2D animation", "Status: Importing and Stitching 2D Anim. Images...",
     "Status: ERROR: 2D Animation File Not Found...", "Status: ERROR: 2D Animation File Unreadable...", false},
}};

size_t SetCount(const ImportSettings& s) { return s.animated ? 4 : 2; }

std::string Unreadable(const FrameSet& set, const std::string& file) {
  return "The " + std::string(set.name) + " frame " + file +
         " cannot be read as a BMP file (not a BMP, or shorter than its header says).";
}

// A rendered frame (RGB rows top-down) as the 24-bit bitmap its BMP file
// would load as.
bool ToDib(const render::FrameImage& image, cDib& dib) {
  if (image.size <= 0 || !dib.Create(image.size, image.size, 24)) return false;
  const size_t stride = (static_cast<size_t>(image.size) * 3 + 3) / 4 * 4;  // rows padded to 4 bytes
  for (int y = 0; y < image.size; ++y) {
    const uint8_t* from = &image.rgb[static_cast<size_t>(y) * image.size * 3];
    uint8_t* to = dib.lpBits() + static_cast<size_t>(y) * stride;  // the bitmap is top-down
    for (int x = 0; x < image.size; ++x, from += 3, to += 3) {
      to[0] = from[2];
      to[1] = from[1];
      to[2] = from[0];
    }
  }
  return true;
}

// The frames in order, from the files (read ahead) or from memory.
class FrameStream {
 public:
  explicit FrameStream(const ImportSettings& s) : memory_(s.frames) {
    if (!memory_) loader_.emplace(FrameFiles(s));
  }
  LoadedFrame Next() {
    if (loader_) return loader_->Next();
    LoadedFrame frame;
    frame.file = "rendered frame " + std::to_string(next_ + 1);
    frame.exists = true;
    render::FrameImage image = std::move(memory_->at(next_++));
    frame.dib = std::make_unique<cDib>();
    frame.readable = ToDib(image, *frame.dib);
    return frame;
  }

 private:
  FramesInMemory* memory_;
  size_t next_ = 0;
  std::optional<FrameLoader> loader_;
};

// The strip being filled: the whole of it, or only what a resample reads.
struct Strip {
  ImportedStrip result;
  bool Create(const StripLayout& layout, std::optional<RasterSize> sampleFor) {
    if (sampleFor) {
      result.sampled = std::make_unique<SampledStrip>();
      return result.sampled->Create(layout.width, layout.height, sampleFor->width, sampleFor->height);
    }
    result.strip = std::make_unique<cAlphaDibSection>();
    return result.strip->Create(layout.width, layout.height);
  }
  // A frame of another size than its cell is copied at its own size; the
  // strip clips it.
  void Copy(const cDib& frame, int32_t left, int32_t top) {
    if (result.sampled) {
      result.sampled->Copy(*frame.hDIB(), left, top);
    } else {
      gdi::BitBlt(result.strip->hDC(), left, top, frame.Width(), frame.Height(), frame.hDIBDC(), 0, 0, gdi::SRCCOPY);
    }
  }
};

ImportStop Stop(ImportOutcome outcome, int imported, std::string message, std::string status, std::string reason) {
  ImportStop stop;
  stop.message = std::move(message);
  stop.status = std::move(status);
  stop.outcome = outcome;
  stop.imported = imported;
  stop.reason = std::move(reason);
  return stop;
}

}  // namespace

std::vector<std::string> FrameFiles(const ImportSettings& s) {
  std::vector<std::string> names;
  for (size_t set = 0; set < SetCount(s); ++set) {
    for (int i = 0; i < kFramesPerSet; ++i)
      names.push_back(FrameFileName(s.sets[set].folder, s.sets[set].prefix, s.numbering, i));
  }
  return names;
}

Result<ImportedStrip, ImportStop> ImportFrames(const ImportSettings& s, Progress& progress,
                                               std::optional<RasterSize> sampleFor) {
  const std::optional<StripLayout> layout = StripLayoutFor(s.animated, s.version->text);
  progress.Status("Status: Creating green screen...");
  Strip strip;
  if (!layout || !strip.Create(*layout, sampleFor)) {
    const char* status = "Status: Error Creating Composite Image!!";
    progress.Status(status);
    return Stop(ImportOutcome::StripNotCreated, 0, "", status, status);
  }
  progress.Yield();
  // All of it is background until a frame covers it: a pixel left out would
  // be keyed as an opaque black line in the icon.
  if (strip.result.sampled) {
    strip.result.sampled->Fill(0, 0, layout->width, layout->height, s.keyColour);
  } else {
    FillRectangle(strip.result.strip->hDC(), 0, 0, layout->width, layout->height, s.keyColour);
    progress.Picture(*strip.result.strip);
  }
  progress.Yield();

  int imported = 0;
  try {
    // Every decision below is taken here, frame by frame, in order.
    FrameStream frames(s);
    for (size_t set = 0; set < SetCount(s); ++set) {
      const FrameSet& fs = kFrameSets[set];
      const int32_t cell = fs.is3D ? layout->cell3D : layout->cell2D;
      progress.Status(fs.importStatus);
      for (int i = 0; i < kFramesPerSet; ++i) {
        LoadedFrame frame = frames.Next();
        const std::string& file = frame.file;
        if (!frame.exists) {
          progress.Status(fs.missingStatus);
          return Stop(ImportOutcome::FileMissing, imported,
                      set == 0 && i == 0 ? "There are no frames to import: the first 3D rotation frame " + file +
                                               " does not exist. Choose the folder and prefix of your frames."
                                         : "The " + std::string(fs.name) + " frame " + file + " does not exist.",
                      fs.missingStatus, std::string(fs.missingStatus) + " (" + file + ")");
        }
        if (frame.readable) {
          strip.Copy(*frame.dib, i * cell, BandTop(*layout, static_cast<int>(set)));
          ++imported;
          continue;
        }
        // A 3D frame that cannot be read ends the import; a 2D one leaves
        // its cell in the background colour (Do All then stops on it).
        if (fs.is3D) {
          progress.Status(fs.unreadableStatus);
          return Stop(ImportOutcome::FileUnreadable, imported, Unreadable(fs, file), fs.unreadableStatus,
                      "frame file cannot be read as a BMP: " + file);
        }
        if (strip.result.skipped.empty()) strip.result.skippedProblem = Unreadable(fs, file);
        strip.result.skipped.push_back(file);
        progress.Warning("frame cannot be read as a BMP, its cell stays background: " + file);
      }
    }
  } catch (const std::exception&) {
    const char* status = "Status: Error occured while importing files!";
    progress.Status(status);
    return Stop(ImportOutcome::Error, imported, "", status, status);
  }
  progress.Status("Status: Copying to Picture Box...");
  progress.Status("Status: Idle");
  return std::move(strip.result);
}

}  // namespace velkor
