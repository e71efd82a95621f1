#pragma once
// A model file in, the window's frame folders out: the rotation sets in OUT
// (3D) and OUT/Top (2D); animated, also the animation sets in OUT/Animation
// and OUT/Animation/Top. Cell sizes are the composite strip's for the mode
// and version. Models are loaded (and refused) before anything is written;
// the frames are rendered out of sight and put in place only once every
// frame of every set is written, so a failure leaves OUT as it was.
#include <string>
#include <vector>

#include "render/AxisGuess.h"
#include "render/FrameSets.h"
#include "render/RenderOptions.h"

namespace velkor::render {

struct FrameFolders {
  std::string rotation3D, rotation2D, animation3D, animation2D;  // animation ones empty when static
};

FrameFolders FoldersFor(const std::string& outDir, bool animated);
std::vector<FrameSetPlan> PlanFrameSets(const RenderOptions& options);
// What every frame of the sets is rendered with: the options' camera, key
// colour, prefix and numbering with these axes.
RenderSettings SettingsFor(const RenderOptions& options, const ModelAxes& axes);
// Every frame file the render writes, and those of them that exist already.
std::vector<std::string> FrameFiles(const RenderOptions& options);
std::vector<std::string> ExistingFrameFiles(const RenderOptions& options);

// Renders `rotation`, the model loaded from options.model, with the axes the
// options give (the others guessed); the animation model is loaded when
// named. False with a message naming the file.
bool RenderScene(const Scene& rotation, const RenderOptions& options, const RenderProgress& progress,
                 std::string& error);

// Loads the model and renders it; `axes` says which axes were used.
bool RenderModel(const RenderOptions& options, const RenderProgress& progress, ModelAxes& axes, std::string& error);

// The same frames kept in memory, set after set in PlanFrameSets' order:
// nothing is written (options.outDir is not used).
bool RenderModelFrames(const RenderOptions& options, const RenderProgress& progress, ModelAxes& axes,
                       std::vector<FrameImage>& frames, std::string& error);

}  // namespace velkor::render
