#include "sample/SampleFrames.h"

#include <filesystem>

#include "common/Paths.h"
#include "pipeline/StripLayout.h"
#include "render/FrameSets.h"
#include "render/GltfWriter.h"
#include "render/ModelLoader.h"
#include "sample/SampleCar.h"

namespace velkor::sample {

using namespace render;

namespace {

std::vector<FrameSetPlan> SamplePlans(const std::string& dir) {
  const StripLayout still = *StripLayoutFor(false, NewestStaticSrfVersion().text);
  const StripLayout animated = *StripLayoutFor(true, AnimatedSrfVersion().text);
  return {
      {JoinPath(dir, "Rotation"), SetView::Oblique3D, still.cell3D, false, 1.0f},
      {JoinPath(dir, "Rotation/Top"), SetView::Top2D, still.cell2D, false, 1.0f},
      {JoinPath(dir, "Animated/Rotation"), SetView::Oblique3D, animated.cell3D, false, 1.0f},
      {JoinPath(dir, "Animated/Rotation/Top"), SetView::Top2D, animated.cell2D, false, 1.0f},
      {JoinPath(dir, "Animated/Animation"), SetView::Oblique3D, animated.cell3D, false, kLightsOnBoost},
      {JoinPath(dir, "Animated/Animation/Top"), SetView::Top2D, animated.cell2D, false, kLightsOnBoost},
  };
}

}  // namespace

bool WriteSampleFrames(const std::string& dir, std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  const std::string model = JoinPath(dir, kSampleModelName);
  Scene scene;
  if (!WriteGlb(BuildSampleCar(), model, error) || !LoadModel(model, scene, error)) return false;
  RenderSettings settings;
  settings.prefix = kSamplePrefix;
  return RenderFrameSets(scene, scene, SamplePlans(dir), settings, {}, error);
}

}  // namespace velkor::sample
