#pragma once
// A model file in, the window's frame folders out: the rotation sets in OUT
// (3D) and OUT/Top (2D); animated, also the animation sets in OUT/Animation
// and OUT/Animation/Top. Cell sizes are the composite strip's for the mode
// and version. Models are loaded (and refused) before any folder is made.
#include <string>
#include <vector>

#include "render/FrameSets.h"

namespace velkor::render {

struct ModelRenderRequest {
  std::string model;
  std::string animationModel;  // empty: the model with its lights on
  std::string outDir;
  bool animated = false;
  std::string version = "2.20";  // static only; animated is always 1.00
  RenderSettings settings;
};

struct FrameFolders {
  std::string rotation3D, rotation2D, animation3D, animation2D;  // animation ones empty when static
};

FrameFolders FoldersFor(const std::string& outDir, bool animated);
std::vector<FrameSetPlan> PlanFrameSets(const ModelRenderRequest& request);

// False with a message naming the file.
bool RenderModel(const ModelRenderRequest& request, const RenderProgress& progress, std::string& error);

}  // namespace velkor::render
