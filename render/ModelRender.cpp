#include "render/ModelRender.h"

#include <filesystem>

#include "common/Paths.h"
#include "pipeline/StripLayout.h"
#include "platform/StagedFolder.h"
#include "render/ModelLoader.h"

namespace velkor::render {

RenderSettings SettingsFor(const RenderOptions& o, const ModelAxes& axes) {
  RenderSettings s;
  s.rig = {axes.up, axes.front, o.elevation, o.fill};
  s.keyRgb = o.keyRgb;
  s.prefix = o.prefix;
  s.numbering = SchemeFromText(o.numbers);
  return s;
}

FrameFolders FoldersFor(const std::string& outDir, bool animated) {
  std::string folder = outDir;  // as typed, perhaps with a separator at its end
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  FrameFolders f{folder, JoinPath(folder, "Top"), {}, {}};
  if (animated) {
    f.animation3D = JoinPath(outDir, "Animation");
    f.animation2D = JoinPath(f.animation3D, "Top");
  }
  return f;
}

std::vector<FrameSetPlan> PlanFrameSets(const RenderOptions& o) {
  const SrfVersion& version = o.animated ? AnimatedSrfVersion() : *o.version;
  const StripLayout layout = *StripLayoutFor(o.animated, version.text);
  const FrameFolders f = FoldersFor(o.outDir, o.animated);
  std::vector<FrameSetPlan> plans = {{f.rotation3D, SetView::Oblique3D, layout.cell3D, false, 1.0f},
                                     {f.rotation2D, SetView::Top2D, layout.cell2D, false, 1.0f}};
  if (o.animated) {
    const bool separate = !o.animationModel.empty();
    const float boost = separate ? 1.0f : kLightsOnBoost;
    plans.push_back({f.animation3D, SetView::Oblique3D, layout.cell3D, separate, boost});
    plans.push_back({f.animation2D, SetView::Top2D, layout.cell2D, separate, boost});
  }
  return plans;
}

std::vector<std::string> FrameFiles(const RenderOptions& o) {
  std::vector<std::string> files;
  for (const FrameSetPlan& plan : PlanFrameSets(o)) {
    for (int k = 0; k < kFramesPerSet; ++k)
      files.push_back(FrameFileName(plan.folder, o.prefix, SchemeFromText(o.numbers), k));
  }
  return files;
}

std::vector<std::string> ExistingFrameFiles(const RenderOptions& o) {
  std::vector<std::string> existing;
  for (const std::string& file : FrameFiles(o)) {
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(file, ec))) existing.push_back(file);
  }
  return existing;
}

bool RenderScene(const Scene& rotation, const RenderOptions& o, const RenderProgress& progress, std::string& error) {
  Scene animation;
  const bool separate = o.animated && !o.animationModel.empty();
  if (separate && !LoadModel(o.animationModel, animation, error)) return false;
  std::vector<FrameSetPlan> plans = PlanFrameSets(o);
  platform::StagedFolder staged;
  bool ok = staged.Open(o.outDir, error);
  for (FrameSetPlan& plan : plans) plan.folder = staged.StagedPath(plan.folder);
  ok = ok && RenderFrameSets(rotation, separate ? animation : rotation, plans,
                             SettingsFor(o, ChooseAxes(rotation, o.up, o.front)), progress, error);
  ok = ok && staged.Commit(error);
  if (ok) return true;
  // A frame that could not be written is named where it was meant to go.
  const std::string hidden = staged.StagedPath(o.outDir);
  if (const size_t at = error.find(hidden); at != std::string::npos) error.replace(at, hidden.size(), o.outDir);
  error = "cannot render model " + o.model + ": " + error;
  return false;
}

bool RenderModel(const RenderOptions& options, const RenderProgress& progress, ModelAxes& axes, std::string& error) {
  Scene scene;
  if (!LoadModel(options.model, scene, error)) return false;
  axes = ChooseAxes(scene, options.up, options.front);
  RenderOptions chosen = options;
  chosen.up = axes.up;
  chosen.front = axes.front;
  return RenderScene(scene, chosen, progress, error);
}

bool RenderModelFrames(const RenderOptions& options, const RenderProgress& progress, ModelAxes& axes,
                       std::vector<FrameImage>& frames, std::string& error) {
  Scene scene, animation;
  if (!LoadModel(options.model, scene, error)) return false;
  axes = ChooseAxes(scene, options.up, options.front);
  const bool separate = options.animated && !options.animationModel.empty();
  if (separate && !LoadModel(options.animationModel, animation, error)) return false;
  if (RenderFrameSets(scene, separate ? animation : scene, PlanFrameSets(options), SettingsFor(options, axes), progress,
                      error, &frames)) {
    return true;
  }
  error = "cannot render model " + options.model + ": " + error;
  return false;
}

}  // namespace velkor::render
