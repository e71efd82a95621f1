#include "render/ModelRender.h"

#include "common/Paths.h"
#include "pipeline/StripLayout.h"
#include "render/ModelLoader.h"

namespace velkor::render {

FrameFolders FoldersFor(const std::string& outDir, bool animated) {
  FrameFolders f{outDir, JoinPath(outDir, "Top"), {}, {}};
  if (animated) {
    f.animation3D = JoinPath(outDir, "Animation");
    f.animation2D = JoinPath(f.animation3D, "Top");
  }
  return f;
}

std::vector<FrameSetPlan> PlanFrameSets(const ModelRenderRequest& r) {
  const std::string version = r.animated ? "1.00" : r.version;
  const StripLayout layout = StripLayoutFor(r.animated, version).value_or(*StripLayoutFor(false, "2.20"));
  const FrameFolders f = FoldersFor(r.outDir, r.animated);
  std::vector<FrameSetPlan> plans = {{f.rotation3D, SetView::Oblique3D, layout.cell3D, false, 1.0f},
                                     {f.rotation2D, SetView::Top2D, layout.cell2D, false, 1.0f}};
  if (r.animated) {
    const bool separate = !r.animationModel.empty();
    const float boost = separate ? 1.0f : kLightsOnBoost;
    plans.push_back({f.animation3D, SetView::Oblique3D, layout.cell3D, separate, boost});
    plans.push_back({f.animation2D, SetView::Top2D, layout.cell2D, separate, boost});
  }
  return plans;
}

bool RenderModel(const ModelRenderRequest& request, const RenderProgress& progress, std::string& error) {
  Scene rotation, animation;
  if (!LoadModel(request.model, rotation, error)) return false;
  const bool separate = request.animated && !request.animationModel.empty();
  if (separate && !LoadModel(request.animationModel, animation, error)) return false;
  if (!RenderFrameSets(rotation, separate ? animation : rotation, PlanFrameSets(request), request.settings,
                       progress, error)) {
    error = "cannot render model " + request.model + ": " + error;
    return false;
  }
  return true;
}

}  // namespace velkor::render
